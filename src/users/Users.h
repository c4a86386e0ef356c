#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// Operators of UserTable: login, password digests and the list's changes.
//
// New and changed passwords are stored as salted PBKDF2-SHA256 hashes, written as
// "pbkdf2-sha256$iterations$salt$hash" (base64), so they cannot be mistaken for the bare MD5
// digests that user tables of existing installations hold. Such a digest still logs in and is
// replaced by a salted hash at that login. A password is never logged, shown or stored in
// clear, and hashes are compared in constant time.
class Users
{
public:
    explicit Users(Database &db);

    static const QStringList &roles();
    // Whether an operator of this role may run administrative commands.
    static bool mayAdminister(const QString &role);
    // 32 lowercase hexadecimal digits over the password's GBK bytes; empty for an empty one.
    static QString passwordDigest(const QString &password);
    static bool sameDigest(const QString &a, const QString &b);
    // The salted hash stored for a new or changed password; empty for an empty one.
    static QString passwordHash(const QString &password);
    // Whether `password` is the one `stored` was made from, salted hash or MD5 digest.
    static bool passwordMatches(const QString &stored, const QString &password);
    static bool isSaltedHash(const QString &stored);

    enum class Login { Ok, Refused, Failed };
    // Exactly one row must match the trimmed name and the trimmed password. A matching MD5
    // digest is replaced by a salted hash.
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
    // How many rows of `name` hold `password`.
    bool matchingRows(const QString &name, const QString &password, int *count,
                      QString *error) const;
    void upgradeLegacyDigest(int id, const QString &password) const;

    Database &m_db;
};
