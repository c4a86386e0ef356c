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
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select Passwd from UserTable where UserName = '张三'") && q.next());
    EXPECT_EQ(q.value(0).toString(), "900150983cd24fb0d6963f7d28e17f72");
    ASSERT_TRUE(q.exec("select Passwd from UserTable where UserName = '空密码'") && q.next());
    EXPECT_EQ(q.value(0).toString(), "");
}

TEST(Login, ShippedDatabaseHasAnOperatorWithARole)
{
    TestHome home;
    QString role;
    EXPECT_EQ(Users(home.db()).login("admin", "", &role), Users::Login::Ok);
    EXPECT_EQ(role, "管理员");
}
