#include "TestHome.h"
#include "users/Users.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

void addUser(TestHome &home, const QString &name, const QString &password, const QString &role)
{
    QSqlQuery q = home.db().query();
    q.prepare("insert into UserTable (UserName, Passwd, RoleName) values (?, ?, ?)");
    q.addBindValue(name);
    q.addBindValue(Users::passwordDigest(password));
    q.addBindValue(role);
    ASSERT_TRUE(q.exec());
}

} // namespace

TEST(Passwords, DigestIsLowercaseMd5OverGbkAndEmptyStaysEmpty)
{
    EXPECT_EQ(Users::passwordDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Users::passwordDigest(""), "");
    // GBK bytes C3 DC C2 EB, not the UTF-8 ones.
    EXPECT_EQ(
        Users::passwordDigest("密码"),
        QCryptographicHash::hash(QByteArray("\xC3\xDC\xC2\xEB"), QCryptographicHash::Md5).toHex());
    EXPECT_TRUE(Users::sameDigest("0a1b", "0a1b"));
    EXPECT_FALSE(Users::sameDigest("0a1b", "0a1c"));
    EXPECT_FALSE(Users::sameDigest("0a1b", "0a1b0"));
    EXPECT_FALSE(Users::sameDigest("", "0"));
}

TEST(Login, NeedsExactlyOneRowWithNameAndDigest)
{
    TestHome home;
    addUser(home, "张三", "abc", "录单员");
    addUser(home, "空密码", "", "管理员");
    addUser(home, "双份", "x", "管理员");
    addUser(home, "双份", "x", "管理员");
    addUser(home, "O'Neil", "it's", "录单员");
    Users users(home.db());
    const struct
    {
        const char *name;
        const char *password;
        Users::Login result;
        const char *role;
    } cases[] = {
        {"张三", "abc", Users::Login::Ok, "录单员"},
        {" 张三 ", "  abc ", Users::Login::Ok, "录单员"},
        {"张三", "abd", Users::Login::Refused, ""},
        {"张三", "", Users::Login::Refused, ""},
        {"空密码", "", Users::Login::Ok, "管理员"},
        {"空密码", "x", Users::Login::Refused, ""},
        {"双份", "x", Users::Login::Refused, ""},
        {"无此人", "", Users::Login::Refused, ""},
        {"O'Neil", "it's", Users::Login::Ok, "录单员"},
    };
    for (const auto &c : cases) {
        QString role = "stale";
        EXPECT_EQ(users.login(c.name, c.password, &role), c.result) << c.name << c.password;
        EXPECT_EQ(role, QString::fromUtf8(c.role)) << c.name;
    }
    // The MD5 row that logged in now holds a salted hash of the same password.
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select Passwd from UserTable where UserName = '张三'") && q.next());
    EXPECT_TRUE(Users::isSaltedHash(q.value(0).toString())) << q.value(0).toString().toStdString();
    EXPECT_TRUE(Users::passwordMatches(q.value(0).toString(), "abc"));
    ASSERT_TRUE(q.exec("select Passwd from UserTable where UserName = '空密码'") && q.next());
    EXPECT_EQ(q.value(0).toString(), "");
}

TEST(Passwords, NewOnesAreSaltedSlowHashesToldApartFromMd5)
{
    const QString hash = Users::passwordHash("密码");
    const QStringList parts = hash.split('$');
    ASSERT_EQ(parts.size(), 4) << hash.toStdString();
    EXPECT_EQ(parts[0], "pbkdf2-sha256");
    EXPECT_GE(parts[1].toInt(), 100000);
    EXPECT_EQ(QByteArray::fromBase64(parts[2].toLatin1()).size(), 16);
    EXPECT_EQ(QByteArray::fromBase64(parts[3].toLatin1()).size(), 32);
    EXPECT_NE(Users::passwordHash("密码"), hash); // a fresh salt every time
    EXPECT_EQ(Users::passwordHash(""), "");

    // PBKDF2-HMAC-SHA256 test vector (RFC 7914, section 11): "passwd", salt "salt", 1 round.
    // Its first 32 bytes, 55 ac 04 6e ..., in base64.
    EXPECT_TRUE(Users::passwordMatches(
        "pbkdf2-sha256$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=", "passwd"));
    const struct
    {
        QString stored;
        const char *password;
        bool matches;
    } cases[] = {
        {hash, "密码", true},
        {hash, "密码 ", false},
        {hash, "", false},
        {Users::passwordDigest("abc"), "abc", true},
        {Users::passwordDigest("abc"), "abd", false},
        {"", "", true},
        {"", "x", false},
        {"pbkdf2-sha256$abc$c2FsdA==$AAAA", "passwd", false},
        {"pbkdf2-sha256$999999999$c2FsdA==$AAAA", "passwd", false},
        {"pbkdf2-sha256$1$c2FsdA==", "passwd", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Users::passwordMatches(c.stored, c.password), c.matches)
            << c.stored.toStdString() << " / " << c.password;
}

TEST(Passwords, ChangeStoresASaltedHashAndAWrongLoginUpgradesNothing)
{
    TestHome home;
    addUser(home, "张三", "abc", "录单员");
    Users users(home.db());
    QString role;
    EXPECT_EQ(users.login("张三", "wrong", &role), Users::Login::Refused);
    auto stored = [&] {
        QSqlQuery q = home.db().query();
        return q.exec("select Passwd from UserTable where UserName = '张三'") && q.next()
                   ? q.value(0).toString()
                   : QString();
    };
    EXPECT_EQ(stored(), Users::passwordDigest("abc"));

    QString error;
    ASSERT_EQ(users.changePassword("张三", "abc", " new1 ", &error), Users::Change::Ok);
    EXPECT_TRUE(Users::isSaltedHash(stored()));
    EXPECT_EQ(users.login("张三", "new1", &role), Users::Login::Ok);
    EXPECT_EQ(users.changePassword("张三", "abc", "x", &error), Users::Change::WrongOldPassword);
    ASSERT_EQ(users.changePassword("张三", "new1", "", &error), Users::Change::Ok);
    EXPECT_EQ(stored(), "");
}

TEST(Login, ShippedDatabaseHasAnOperatorWithARole)
{
    TestHome home;
    QString role;
    EXPECT_EQ(Users(home.db()).login("admin", "", &role), Users::Login::Ok);
    EXPECT_EQ(role, "管理员");
}
