#include "users/Users.h"

#include "base/Gbk.h"
#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QSqlError>

namespace {

const QString kSaltedMark = QStringLiteral("pbkdf2-sha256");
// Slow enough to make guessing from a stolen database costly, quick enough for one login.
constexpr int kIterations = 120000;
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, Gbk::encode(password),
                                              salt, iterations, kHashBytes);
}

} // namespace

Users::Users(Database &db)
    : m_db(db)
{}

const QStringList &Users::roles()
{
    static const QStringList list{"管理员", "订单处理员", "录单员"};
    return list;
}

bool Users::mayAdminister(const QString &role)
{
    return role == roles().first();
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

QString Users::passwordHash(const QString &password)
{
    if (password.isEmpty())
        return {};
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    return QStringList{kSaltedMark, QString::number(kIterations),
                       QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(derive(password, salt, kIterations).toBase64())}
        .join(u'$');
}

bool Users::isSaltedHash(const QString &stored)
{
    return stored.startsWith(kSaltedMark + u'$');
}

bool Users::passwordMatches(const QString &stored, const QString &password)
{
    if (!isSaltedHash(stored))
        return sameDigest(stored, passwordDigest(password));
    const QStringList parts = stored.split(u'$');
    bool numeric = false;
    const int iterations = parts.size() == 4 ? parts[1].toInt(&numeric) : 0;
    // A damaged row never matches, and never makes a login take forever.
    if (!numeric || iterations < 1 || iterations > 10 * kIterations)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QString hash = QString::fromLatin1(derive(password, salt, iterations).toBase64());
    return !password.isEmpty() && sameDigest(hash, parts[3]);
}

bool Users::matchingRows(const QString &name, const QString &password, int *count,
                         QString *error) const
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("select Passwd from UserTable where UserName = ?"), {name})) {
        *error = q.lastError().text();
        return false;
    }
    *count = 0;
    while (q.next())
        *count += passwordMatches(q.value(0).toString(), password);
    return true;
}

void Users::upgradeLegacyDigest(int id, const QString &password) const
{
    // The login stands even when the row cannot be rewritten; the next login tries again.
    QSqlQuery q = m_db.query();
    execBound(q, QStringLiteral("update UserTable set Passwd = ? where ID = ?"),
              {passwordHash(password), id});
}

Users::Login Users::login(const QString &name, const QString &password, QString *role) const
{
    const QString user = name.trimmed();
    const QString typed = password.trimmed();
    QSqlQuery q = m_db.query();
    if (!execBound(q,
                   QStringLiteral("select ID, Passwd, RoleName from UserTable where UserName = ?"),
                   {user}))
        return Login::Failed;
    int matches = 0;
    int matchedId = 0;
    QString matchedStored;
    while (q.next())
        if (passwordMatches(q.value(1).toString(), typed)) {
            ++matches;
            matchedId = q.value(0).toInt();
            matchedStored = q.value(1).toString();
            *role = q.value(2).toString();
        }
    q.finish();
    if (matches != 1) {
        role->clear();
        return Login::Refused;
    }
    if (!matchedStored.isEmpty() && !isSaltedHash(matchedStored))
        upgradeLegacyDigest(matchedId, typed);
    return Login::Ok;
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
    if (!matchingRows(name, oldPassword, &matches, error))
        return Change::Failed;
    if (matches == 0)
        return Change::WrongOldPassword;
    QSqlQuery q = m_db.query();
    if (!execBound(q, QStringLiteral("update UserTable set Passwd = ? where UserName = ?"),
                   {passwordHash(newPassword.trimmed()), name})) {
        *error = q.lastError().text();
        return Change::Failed;
    }
    return Change::Ok;
}
