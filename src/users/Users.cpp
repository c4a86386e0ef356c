#include "users/Users.h"

#include "base/Gbk.h"
#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QCryptographicHash>
#include <QSqlError>

Users::Users(Database &db)
    : m_db(db)
{}

const QStringList &Users::roles()
{
    static const QStringList list{"管理员", "订单处理员", "录单员"};
    return list;
}

QString Users::passwordDigest(const QString &password)
{
    if (password.isEmpty())
        return {};
    return QString::fromLatin1(
        QCryptographicHash::hash(Gbk::encode(password), QCryptographicHash::Md5).toHex());
}

bool Users::sameDigest(const QString &a, const QString &b)
{
    const QByteArray x = a.toLatin1();
    const QByteArray y = b.toLatin1();
    // Every byte is looked at whatever differs, so the time taken tells nothing.
    unsigned difference = unsigned(x.size() ^ y.size());
    for (qsizetype i = 0; i < std::max(x.size(), y.size()); ++i)
        difference |= unsigned(uchar(i < x.size() ? x[i] : 0) ^ uchar(i < y.size() ? y[i] : 0));
    return difference == 0;
}

bool Users::matchingRows(const QString &name, const QString &digest, int *count,
                         QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("select Passwd from UserTable where UserName = ?"), {name})) {
        *error = q.lastError().text();
        return false;
    }
    *count = 0;
    while (q.next())
        *count += sameDigest(q.value(0).toString(), digest);
    return true;
}

Users::Login Users::login(const QString &name, const QString &password, QString *role) const
{
    const QString user = name.trimmed();
    const QString digest = passwordDigest(password.trimmed());
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("select Passwd, RoleName from UserTable where UserName = ?"),
                   {user}))
        return Login::Failed;
    int matches = 0;
    while (q.next())
        if (sameDigest(q.value(0).toString(), digest)) {
            ++matches;
            *role = q.value(1).toString();
        }
    if (matches == 1)
        return Login::Ok;
    role->clear();
    return Login::Refused;
}

bool Users::userNames(QStringList *names) const
{
    names->clear();
    QSqlQuery q = m_db.query();
    if (!q.exec(QStringLiteral("select distinct UserName from UserTable where trim(UserName) <> '' "
                               "order by UserName")))
        return false;
    while (q.next())
        names->append(q.value(0).toString());
    return true;
}

namespace {

bool forEachId(Database &db, const QString &sql, const QList<int> &ids, QString *error)
{
    return db.inTransaction([&] {
        QSqlQuery q = db.query();
        for (int id : ids)
            if (!execBound(q, sql, {id})) {
                *error = q.lastError().text();
                return false;
            }
        return true;
    });
}

} // namespace

bool Users::deleteUsers(const QList<int> &ids, QString *error)
{
    return forEachId(m_db, QStringLiteral("delete from UserTable where ID = ?"), ids, error);
}

int Users::operatorsWithRoleLeft(const QList<int> &without) const
{
    QSqlQuery q = m_db.query();
    if (!q.exec(
            QStringLiteral("select ID from UserTable where trim(coalesce(RoleName, '')) <> ''")))
        return -1;
    int left = 0;
    while (q.next())
        left += without.contains(q.value(0).toInt()) ? 0 : 1;
    return left;
}

bool Users::resetPasswords(const QList<int> &ids, QString *error)
{
    return forEachId(m_db, QStringLiteral("update UserTable set Passwd = '' where ID = ?"), ids,
                     error);
}

Users::Change Users::changePassword(const QString &name, const QString &oldPassword,
                                    const QString &newPassword, QString *error)
{
    int matches = 0;
    if (!matchingRows(name, passwordDigest(oldPassword), &matches, error))
        return Change::Failed;
    if (matches == 0)
        return Change::WrongOldPassword;
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("update UserTable set Passwd = ? where UserName = ?"),
                   {passwordDigest(newPassword.trimmed()), name})) {
        *error = q.lastError().text();
        return Change::Failed;
    }
    return Change::Ok;
}
