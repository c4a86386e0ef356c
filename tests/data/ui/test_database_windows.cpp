#include "CommandSweep.h"
#include "NextModal.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "app/ui/TfrmConfig.h"
#include "app/ui/TfrmDatabaseMove.h"
#include "app/ui/TfrmDatabaseUnreachable.h"
#include "base/IniFile.h"
#include "bills/BillStore.h"
#include "data/DatabaseChoice.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kGuardMs = 60000; // a guard against a hang, far beyond a local server's answer

template<class T>
T *child(QWidget *window, const char *name)
{
    T *w = window->findChild<T *>(QString::fromLatin1(name));
    EXPECT_TRUE(w) << name;
    return w;
}

void click(QWidget *window, const char *name)
{
    auto *button = child<QAbstractButton>(window, name);
    ASSERT_TRUE(button && button->isVisible() && button->isEnabled()) << name;
    // A radio button takes clicks on its circle and its caption, not on the room beside them.
    const bool radio = qobject_cast<QRadioButton *>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      radio ? QPoint(6, button->height() / 2) : button->rect().center());
}

void type(QWidget *window, const char *name, const QString &text)
{
    auto *edit = child<QLineEdit>(window, name);
    ASSERT_TRUE(edit && edit->isEnabled()) << name;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // Chinese arrives from the input method as committed text, the rest as key presses.
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClicks(edit, QString(c));
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(edit, &commit);
    }
}

void typePort(QWidget *window, int port)
{
    auto *spin = child<QSpinBox>(window, "edtPort");
    ASSERT_TRUE(spin);
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(port));
    QTest::keyClick(spin, Qt::Key_Tab);
}

QString labelText(QWidget *window, const char *name)
{
    auto *label = child<QLabel>(window, name);
    return label ? label->text() : QString();
}

// The server as Config.ini keeps it for a workstation that works on its own file: the fields
// start from it, and its schema keeps what a case writes apart from everything else.
void keepServerOnRecord(TestHome &home, const ServerAddress &server,
                        const char *kind = "本机数据库")
{
    IniFile ini(home.path() + u"Config.ini");
    const QString section = QStringLiteral("Database");
    ini.writeString(section, "Kind", QString::fromUtf8(kind));
    ini.writeString(section, "Host", server.host);
    ini.writeInteger(section, "Port", server.port);
    ini.writeString(section, "Name", server.database);
    ini.writeString(section, "User", server.user);
    ini.writeString(section, "Schema", server.schema);
    ASSERT_TRUE(ini.flush());
}

DatabaseChoice choiceOf(TestHome &home)
{
    return DatabaseChoice::read(IniFile(home.path() + u"Config.ini"), DataHome(home.path()));
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(DatabaseOptions, TheSharedDatabaseIsTestedAndSavedForTheNextStartWithoutItsPassword)
{
    NEEDS_TEST_SERVER();
    TestHome home(TestHome::Engine::LocalFile);
    ServerSchema schema;
    ServerAddress onRecord;
    onRecord.schema = schema.address().schema;
    keepServerOnRecord(home, onRecord);
    home.restart();
    const ServerAddress server = TestHome::testServer();
    const QString password = QStringLiteral("pa'ss 密码");

    TfrmConfig dialog(home.services());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(child<QRadioButton>(&dialog, "rbLocalDatabase")->isChecked());
    EXPECT_FALSE(child<QLineEdit>(&dialog, "edtHost")->isEnabled());
    click(&dialog, "rbSharedDatabase");
    EXPECT_TRUE(labelText(&dialog, "lbDatabaseNote").contains("下次启动程序时生效"));

    // A server that does not answer first, then the real one.
    QTemporaryDir nowhere;
    type(&dialog, "edtHost", nowhere.path());
    type(&dialog, "edtDatabase", server.database);
    type(&dialog, "edtUser", server.user);
    click(&dialog, "btTestConnection");
    auto *test = child<QPushButton>(&dialog, "btTestConnection");
    ASSERT_TRUE(QTest::qWaitFor([&] { return test->isEnabled(); }, kGuardMs));
    EXPECT_TRUE(labelText(&dialog, "lbConnectionAnswer").contains("无法连接共享数据库"))
        << labelText(&dialog, "lbConnectionAnswer").toStdString();

    type(&dialog, "edtHost", server.host);
    typePort(&dialog, server.port);
    type(&dialog, "edtPassword", password);
    click(&dialog, "btTestConnection");
    ASSERT_TRUE(QTest::qWaitFor([&] { return test->isEnabled(); }, kGuardMs));
    EXPECT_TRUE(labelText(&dialog, "lbConnectionAnswer").contains("连接成功"))
        << labelText(&dialog, "lbConnectionAnswer").toStdString();
    EXPECT_TRUE(labelText(&dialog, "lbConnectionAnswer").contains("数据库是空的"));

    click(&dialog, "btSave");
    EXPECT_TRUE(home.ui.last().text.startsWith("设置保存成功！"));
    EXPECT_TRUE(home.ui.last().text.contains("下次启动程序时生效"));
    // Saved for the next start; this run keeps its file.
    EXPECT_EQ(home.db().backend(), Database::Backend::Sqlite);
    const DatabaseChoice saved = choiceOf(home);
    EXPECT_EQ(saved.kind, DatabaseChoice::Kind::Shared);
    EXPECT_EQ(saved.server.host, server.host);
    EXPECT_EQ(saved.server.password, password);
    const QByteArray secret = password.toUtf8();
    EXPECT_FALSE(fileBytes(home.path() + u"Config.ini").contains(secret));
    EXPECT_FALSE(fileBytes(home.path() + u"Debug.ini").contains(secret));
    EXPECT_EQ(QFile::permissions(DatabaseChoice::passwordPath(DataHome(home.path()))) &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());

    AppServices &next = home.restart();
    EXPECT_EQ(next.database().backend(), Database::Backend::Postgres);
    // The empty schema was given the tables and seed data on the way.
    EXPECT_EQ(next.database().status(), Database::Status::Created);
    EXPECT_TRUE(next.startupProblem().isEmpty()) << next.startupProblem().toStdString();
}

TEST(DatabaseOptions, SharedWithoutADatabaseNameIsNotSaved)
{
    TestHome home(TestHome::Engine::LocalFile);
    TfrmConfig dialog(home.services());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    click(&dialog, "rbSharedDatabase");
    type(&dialog, "edtHost", "db.office");
    click(&dialog, "btSave");
    EXPECT_EQ(home.ui.last().text, QStringLiteral("请填写共享数据库的数据库名。"));
    EXPECT_EQ(choiceOf(home).kind, DatabaseChoice::Kind::Local);
}

// At start-up the server does not answer: the clerk can try again until it does, or go on
// with the workstation's own file.
TEST(DatabaseAtStart, RetryReachesTheServerOnceItAnswers)
{
    NEEDS_TEST_SERVER();
    const ServerAddress server = TestHome::testServer();
    ASSERT_TRUE(server.host.startsWith(u'/')) << "the test server is reached over its socket";
    TestHome home(TestHome::Engine::LocalFile);
    ServerSchema schema;
    QTemporaryDir socketDir;
    ServerAddress behindLink = schema.address();
    behindLink.host = socketDir.path();
    keepServerOnRecord(home, behindLink, "共享数据库");
    AppServices &services = home.restart();
    ASSERT_EQ(services.database().status(), Database::Status::Unreachable);

    TfrmDatabaseUnreachable dialog(services);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(labelText(&dialog, "lbProblem").contains("无法连接共享数据库"));
    auto *retry = child<QPushButton>(&dialog, "btRetry");
    click(&dialog, "btRetry");
    ASSERT_TRUE(QTest::qWaitFor([&] { return retry->isEnabled(); }, kGuardMs));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(labelText(&dialog, "lbProblem").contains("无法连接共享数据库"));

    // The server comes up where the workstation looks for it.
    const QString socket = QStringLiteral("/.s.PGSQL.%1").arg(server.port);
    ASSERT_TRUE(QFile::link(server.host + socket, socketDir.path() + socket));
    click(&dialog, "btRetry");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, kGuardMs));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(services.database().backend(), Database::Backend::Postgres);
    EXPECT_TRUE(services.database().isOpen());
}

TEST(DatabaseAtStart, SwitchingBackOpensTheLocalFileAndKeepsTheServerOnRecord)
{
    TestHome home(TestHome::Engine::LocalFile);
    QTemporaryDir nowhere;
    ServerAddress dead{nowhere.path(), 5432, "lanyan", "clerk", "secret", ""};
    keepServerOnRecord(home, dead, "共享数据库");
    AppServices &services = home.restart();
    ASSERT_EQ(services.database().status(), Database::Status::Unreachable);

    TfrmDatabaseUnreachable dialog(services);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    click(&dialog, "btUseLocal");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(services.database().backend(), Database::Backend::Sqlite);
    EXPECT_TRUE(services.database().isOpen());
    // The seeded file is there to work with.
    EXPECT_GT(services.database().CountTableAllRows("ckTypeTable", home.ui), 0);
    const DatabaseChoice now = choiceOf(home);
    EXPECT_EQ(now.kind, DatabaseChoice::Kind::Local);
    EXPECT_EQ(now.server.host, nowhere.path());
    EXPECT_EQ(home.restart().database().backend(), Database::Backend::Sqlite);
}

TEST(DatabaseAtStart, QuitEndsWithoutOpeningAnything)
{
    TestHome home(TestHome::Engine::LocalFile);
    QTemporaryDir nowhere;
    keepServerOnRecord(home, {nowhere.path(), 5432, "lanyan", "clerk", "", ""}, "共享数据库");
    AppServices &services = home.restart();
    TfrmDatabaseUnreachable dialog(services);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    click(&dialog, "btQuit");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(services.database().isOpen());
    EXPECT_EQ(choiceOf(home).kind, DatabaseChoice::Kind::Shared);
}

TEST(DatabaseMoveWindow, TheToolsMenuMovesTheHomeWithProgressAndSwitchesForTheNextStart)
{
    NEEDS_TEST_SERVER();
    TestHome home(TestHome::Engine::LocalFile);
    BillStore slips(home.db(), QStringLiteral("DataKDDTable"));
    for (const char *receiver : {"深圳市飞鸿贸易有限公司", "宁波甬兴机械有限公司"})
        ASSERT_TRUE(slips.save(0, {{"收件单位", QString::fromUtf8(receiver)}}).error.isEmpty());
    ServerSchema target;
    keepServerOnRecord(home, target.address());
    RecordingPrintDevice *device = nullptr;
    std::unique_ptr<Tfm_Main> frame = sweep::shownFrame(home, device);

    int total = 0;
    NextModal answer([&](QWidget *window) {
        ASSERT_TRUE(qobject_cast<TfrmDatabaseMove *>(window));
        EXPECT_EQ(child<QLineEdit>(window, "edtDatabase")->text(), target.address().database);
        click(window, "btStartMove");
        auto *start = child<QPushButton>(window, "btStartMove");
        EXPECT_FALSE(start->isEnabled());
        ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }, kGuardMs));
        EXPECT_TRUE(labelText(window, "lbMoveState").startsWith("迁移完成"))
            << labelText(window, "lbMoveState").toStdString();
        auto *bar = child<QProgressBar>(window, "pbMove");
        total = bar->maximum();
        EXPECT_EQ(bar->value(), total);
        click(window, "btClose");
    });
    frame->menuItem(QStringLiteral("mMoveDatabase"))->trigger();
    EXPECT_TRUE(answer.answered());
    EXPECT_GT(total, 2);
    EXPECT_TRUE(home.ui.last().text.startsWith("迁移完成"));
    EXPECT_EQ(choiceOf(home).kind, DatabaseChoice::Kind::Shared);
    frame.reset();

    AppServices &next = home.restart();
    ASSERT_EQ(next.database().backend(), Database::Backend::Postgres);
    QSqlQuery q = next.database().query();
    ASSERT_TRUE(q.exec("SELECT count(*) FROM DataKDDTable") && q.next());
    EXPECT_EQ(q.value(0).toInt(), 2);
}
