#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// Operators of UserTable: login, password digests and the list's changes.
//
// Passwords are stored as MD5 digests because user tables of existing installations hold
// them that way; MD5 is kept for that compatibility only. A password is never logged, shown
// or stored in clear, and digests are compared in constant time.
class Users
{
public:
    explicit Users(Database &db);

    static const QStringList &roles();
    // 32 lowercase hexadecimal digits over the password's GBK bytes; empty for an empty one.
    static QString passwordDigest(const QString &password);
    static bool sameDigest(const QString &a, const QString &b);

    enum class Login { Ok, Refused, Failed };
    // Exactly one row must match the trimmed name and the trimmed password.
    Login login(const QString &name, const QString &password, QString *role) const;

    // Distinct non-blank names, in name order; false when the table cannot be read.
    bool userNames(QStringList *names) const;

    bool deleteUsers(const QList<int> &ids, QString *error);
    // How many operators with a role would be left without these rows; -1 when the table
    // cannot be read. With the login required, none left means nobody can start the program.
    int operatorsWithRoleLeft(const QList<int> &without) const;
    bool resetPasswords(const QList<int> &ids, QString *error);

    enum class Change { Ok, WrongOldPassword, Failed };
    // The old password is taken as typed, the new one trimmed.
    Change changePassword(const QString &name, const QString &oldPassword,
                          const QString &newPassword, QString *error);

private:
    // How many rows of `name` hold `digest`.
    bool matchingRows(const QString &name, const QString &digest, int *count, QString *error) const;

    Database &m_db;
};
