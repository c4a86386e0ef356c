#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "users/Users.h"
#include "users/ui/TfrmModifyPassword.h"
#include "users/ui/TfrmUserLogin.h"
#include "users/ui/TfrmUserManage.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
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

QString passwordOf(TestHome &home, const QString &name)
{
    QSqlQuery q = home.db().query();
    q.prepare("select Passwd from UserTable where UserName = ?");
    q.addBindValue(name);
    return q.exec() && q.next() ? q.value(0).toString() : "<none>";
}

} // namespace

TEST(LoginWindow, LogsInOrSaysWhatIsWrong)
{
    TestHome home;
    addUser(home, "张三", "abc", "录单员");
    TfrmUserLogin login(home.services());
    auto *names = login.findChild<QComboBox *>("cbUserName");
    auto *password = login.findChild<QLineEdit *>("edtPasswd");
    EXPECT_EQ(names->currentText(), "admin");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    names->setEditText(" ");
    login.login();
    EXPECT_EQ(home.ui.last().text, "请选择正确的用户名~");
    names->setEditText("张三");
    password->setText("abd");
    Q_EMIT password->returnPressed();
    EXPECT_EQ(home.ui.last().text, "用户名或密码输入错误~");
    EXPECT_EQ(login.result(), QDialog::Rejected);
    password->setText(" abc ");
    login.findChild<QPushButton *>("btLogin")->click();
    EXPECT_EQ(login.userName, "张三");
    EXPECT_EQ(login.userRole, "录单员");
    EXPECT_TRUE(password->text().isEmpty());
    EXPECT_EQ(login.result(), QDialog::Accepted);
}

// The login on the first clock tick: an operator without a role ends the program.
TEST(LoginWindow, FrameEndsWithoutARoleOnTheFirstTick)
{
    TestHome home;
    addUser(home, "无角色", "", "");
    home.settings().setConfigByname("进入系统需验证", "yes");
    Tfm_Main frame(home.services());
    frame.LoadSysParam();
    ASSERT_TRUE(frame.menuItem("mNeedLogin")->isChecked());
    frame.show();
    // The clock's first tick shows the login modally; answer it when it is up.
    NextModal answer([](QWidget *modal) {
        auto *login = qobject_cast<TfrmUserLogin *>(modal);
        ASSERT_TRUE(login) << modal->metaObject()->className();
        QComboBox *name = login->findChild<QComboBox *>("cbUserName");
        name->setEditText("无角色");
        QTest::mouseClick(login->findChild<QPushButton *>("btLogin"), Qt::LeftButton);
    });
    // A guard only: the first tick comes after a second.
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.isHidden(); }, 60000));
    EXPECT_EQ(frame.CurrentUserName, "无角色");
    EXPECT_TRUE(frame.CurrentUserRole.isEmpty());
    EXPECT_TRUE(frame.isHidden());
    QCoreApplication::processEvents(); // the quit it asked for, with no loop to end
}

// Until the login on the first tick succeeds, neither the frame nor the bill form opened at
// start-up takes a key.
TEST(LoginWindow, NothingTakesInputBeforeTheLogin)
{
    TestHome home;
    home.settings().setConfigByname("进入系统需验证", "yes");
    Tfm_Main frame(home.services());
    frame.show();
    frame.openAcceptanceDraft();
    TfmCheckCDHP *form = TfmCheckCDHP::instance();
    ASSERT_TRUE(form);
    auto *bankNumber = form->findChild<QLineEdit *>("zdOutBankNO");
    ASSERT_TRUE(bankNumber && bankNumber->isVisible());
    QTest::keyClicks(bankNumber, "123");
    QTest::keyClick(&frame, Qt::Key_F1);
    EXPECT_TRUE(bankNumber->text().isEmpty());
    EXPECT_TRUE(home.ui.opened.isEmpty()); // F1 opens the help page once the frame is usable

    {
        NextModal answer([](QWidget *modal) {
            ASSERT_TRUE(qobject_cast<TfrmUserLogin *>(modal));
            ASSERT_TRUE(modal->isEnabled());
            auto *names = modal->findChild<QComboBox *>("cbUserName");
            names->setEditText("admin");
            QTest::mouseClick(modal->findChild<QPushButton *>("btLogin"), Qt::LeftButton);
        });
        while (!answer.answered() && frame.ClockTicks < 3)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(frame.CurrentUserRole, "管理员");
    ASSERT_TRUE(frame.isVisible());
    bankNumber->setFocus();
    QTest::keyClicks(bankNumber, "123");
    EXPECT_EQ(bankNumber->text(), "123");
    form->close();
}

TEST(UserList, ResetsDeletesAndChangesPasswords)
{
    TestHome home;
    addUser(home, "张三", "abc", "录单员");
    addUser(home, "李四", "xyz", "管理员");
    TfrmUserManage list(home.services());
    auto *grid = list.findChild<QTableView *>("DBGrid1");
    auto click = [&](const char *name) { list.findChild<QPushButton *>(name)->click(); };
    click("btResetPassword");
    EXPECT_EQ(home.ui.last().text, "没有选中任何重置的用户");

    auto selectUser = [&](const QString &name) {
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (grid->model()->index(r, 1).data().toString() == name)
                grid->selectRow(r);
    };
    selectUser("张三");
    home.ui.answer(Ui::Answer::Yes);
    click("btResetPassword");
    EXPECT_EQ(home.ui.last().text, "1个用户密码重置成功！");
    EXPECT_EQ(passwordOf(home, "张三"), "");
    EXPECT_EQ(passwordOf(home, "李四"), Users::passwordDigest("xyz"));

    selectUser("李四");
    click("btDelSel"); // answered No
    EXPECT_EQ(passwordOf(home, "李四"), Users::passwordDigest("xyz"));
    selectUser("李四");
    home.ui.answer(Ui::Answer::Yes);
    click("btDelSel");
    EXPECT_EQ(home.ui.last().text, "1个用户删除成功！");
    EXPECT_EQ(passwordOf(home, "李四"), "<none>");

    click("btAdd");
    list.findChild<QLineEdit *>("dbName")->setText("王五");
    EXPECT_TRUE(list.submit());
    EXPECT_EQ(passwordOf(home, "王五"), "");

    TfrmModifyPassword change(home.services());
    change.setUserName("张三");
    auto set = [&](const char *name, const QString &text) {
        change.findChild<QLineEdit *>(name)->setText(text);
    };
    set("lePassword1", "new1");
    set("lePassword2", "new2");
    change.modify();
    EXPECT_EQ(home.ui.last().text, "密码两次输入不一致！");
    set("edtOldPwd", "wrong");
    set("lePassword2", " new1 ");
    change.modify();
    EXPECT_EQ(home.ui.last().caption, "密码错误");
    EXPECT_TRUE(change.findChild<QLineEdit *>("edtOldPwd")->text().isEmpty());
    change.modify(); // the old password is empty now, as reset
    EXPECT_EQ(home.ui.last().text, "密码修改成功,请牢记新密码。");
    EXPECT_TRUE(Users::isSaltedHash(passwordOf(home, "张三")));
    EXPECT_TRUE(Users::passwordMatches(passwordOf(home, "张三"), "new1"));
    change.modify();
    EXPECT_EQ(home.ui.last().text, "密码两次输入不一致！");
}

TEST(UserList, WithTheLoginOnTheLastOperatorWithARoleStays)
{
    TestHome home;
    home.db().query().exec("delete from UserTable");
    addUser(home, "张三", "abc", "录单员");
    addUser(home, "李四", "xyz", "管理员");
    addUser(home, "王五", "", "");
    home.settings().setConfigByname("进入系统需验证", "yes");
    TfrmUserManage list(home.services());
    auto *grid = list.findChild<QTableView *>("DBGrid1");
    auto select = [&](const QStringList &names) {
        grid->clearSelection();
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (names.contains(grid->model()->index(r, 1).data().toString()))
                grid->selectionModel()->select(grid->model()->index(r, 1),
                                               QItemSelectionModel::Select |
                                                   QItemSelectionModel::Rows);
    };
    auto remove = [&](const QStringList &names) {
        select(names);
        home.ui.answer(Ui::Answer::Yes);
        QTest::mouseClick(list.findChild<QPushButton *>("btDelSel"), Qt::LeftButton);
    };

    remove({"张三", "李四"}); // both role holders at once
    EXPECT_TRUE(home.ui.last().text.contains("最后一个有角色的操作员"))
        << home.ui.last().text.toStdString();
    EXPECT_EQ(passwordOf(home, "张三"), Users::passwordDigest("abc"));
    EXPECT_EQ(passwordOf(home, "李四"), Users::passwordDigest("xyz"));

    remove({"李四", "王五"}); // 张三 can still log in
    EXPECT_EQ(home.ui.last().text, "2个用户删除成功！");
    remove({"张三"});
    EXPECT_TRUE(home.ui.last().text.contains("最后一个有角色的操作员"));
    EXPECT_EQ(passwordOf(home, "张三"), Users::passwordDigest("abc"));

    // Without the login nobody is locked out: the last operator may go.
    home.settings().setConfigByname("进入系统需验证", "no");
    remove({"张三"});
    EXPECT_EQ(home.ui.last().text, "1个用户删除成功！");
    EXPECT_EQ(passwordOf(home, "张三"), "<none>");
}
