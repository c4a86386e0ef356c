#include "../../templates/PackageFile.h"
#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "templates/ui/TfrmBillImportExport.h"
#include "users/Users.h"
#include "users/ui/TfrmUserLogin.h"

#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Far beyond the clock's first tick, a second after the frame was made: a guard, not a limit.
constexpr int kGuardMs = 30000;

QString writePackage(const QString &path)
{
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray picture;
    QBuffer buffer(&picture);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    PackageFile p(path);
    p.createTables();
    p.addTemplate(7, "快递单（中国银行）", picture, {{"TypeFirstName", "快递单"}});
    p.addItem(7, "ZDSKR");
    return path;
}

QStringList items(QWidget *window, const char *list)
{
    QStringList all;
    auto *w = window->findChild<QListWidget *>(list);
    for (int i = 0; w && i < w->count(); ++i)
        all << w->item(i)->text();
    return all;
}

} // namespace

// `lanyan 中国银行.lyb`: the frame comes up, then the import window over it with the package
// listed, its template ready to import, as a double click on the file in the desktop does.
TEST(StartPackage, ImportWindowShowsThePackageAndImportsIt)
{
    TestHome home;
    const QString path = writePackage(home.path() + "中国银行.lyb");
    Tfm_Main frame(home.services());
    frame.importAtStart(path);
    frame.show();
    NextModal answer([&](QWidget *modal) {
        ASSERT_TRUE(qobject_cast<TfrmBillImportExport *>(modal))
            << modal->metaObject()->className();
        EXPECT_TRUE(modal->isVisible());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !items(modal, "lstImpSel").isEmpty(); }, kGuardMs));
        EXPECT_EQ(modal->findChild<QLineEdit *>("edtImportBillsFile")->text(), path);
        EXPECT_EQ(items(modal, "lstImpSel"), QStringList{"快递单（中国银行）"});
        QTest::mouseClick(modal->findChild<QPushButton *>("btImport"), Qt::LeftButton);
        EXPECT_EQ(home.ui.last().text, "导入结束，成功导入单据1个!");
        QTest::mouseClick(modal->findChild<QPushButton *>("btImpClose"), Qt::LeftButton);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.answered(); }, kGuardMs));
    EXPECT_TRUE(
        home.services().catalogue().loadCheckTypeLastNameList("快递单").contains("中国银行"));
    EXPECT_TRUE(frame.isVisible());
}

// A file that is not a package, or one gone since the desktop passed it, gets the import's own
// message in the import window, and nothing is listed.
TEST(StartPackage, AFileThatIsNoPackageIsRefusedWithAMessage)
{
    const struct
    {
        const char *file;
        const char *message;
    } cases[] = {
        {"notes.txt", "请选择标准的岚砚票据包，例如：中国银行进账单.lyb"},
        {"gone.lyb", ":),数据包访问异常！"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        TestHome home;
        QFile notes(home.path() + "notes.txt");
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("not a package");
        notes.close();
        Tfm_Main frame(home.services());
        frame.importAtStart(home.path() + c.file);
        frame.show();
        NextModal answer([&](QWidget *modal) {
            ASSERT_TRUE(qobject_cast<TfrmBillImportExport *>(modal));
            ASSERT_TRUE(QTest::qWaitFor([&] { return !home.ui.shown.isEmpty(); }, kGuardMs));
            EXPECT_TRUE(home.ui.last().text.startsWith(QString::fromUtf8(c.message)))
                << home.ui.last().text.toStdString();
            EXPECT_TRUE(items(modal, "lstImpFrom").isEmpty());
            EXPECT_FALSE(modal->findChild<QPushButton *>("btImport")->isEnabled());
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return answer.answered(); }, kGuardMs));
    }
}

// Where the program asks for a login, the package waits for it: an operator without a role
// never reaches the import, one with a role gets it after logging in.
TEST(StartPackage, TheImportComesOnlyAfterASuccessfulLogin)
{
    const struct
    {
        const char *role;
        bool imports;
    } cases[] = {{"", false}, {"录单员", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.role);
        TestHome home;
        QSqlQuery q = home.db().query();
        q.prepare("insert into UserTable (UserName, Passwd, RoleName) values (?, ?, ?)");
        q.addBindValue("张三");
        q.addBindValue(Users::passwordDigest(""));
        q.addBindValue(QString::fromUtf8(c.role));
        ASSERT_TRUE(q.exec());
        home.settings().setConfigByname("进入系统需验证", "yes");
        const QString path = writePackage(home.path() + "中国银行.lyb");
        Tfm_Main frame(home.services());
        frame.LoadSysParam();
        frame.importAtStart(path);
        frame.show();

        bool loggedIn = false;
        bool importBeforeLogin = false;
        bool importShown = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *login = qobject_cast<TfrmUserLogin *>(modal); login && !loggedIn) {
                loggedIn = true;
                login->findChild<QComboBox *>("cbUserName")->setEditText("张三");
                QTest::mouseClick(login->findChild<QPushButton *>("btLogin"), Qt::LeftButton);
            } else if (auto *import = qobject_cast<TfrmBillImportExport *>(modal)) {
                importBeforeLogin = !loggedIn;
                importShown = true;
                import->close();
            }
        });
        watch.start(10);
        ASSERT_TRUE(QTest::qWaitFor([&] { return importShown || frame.isHidden(); }, kGuardMs));
        QCoreApplication::processEvents(); // the quit a refused login asks for
        EXPECT_TRUE(loggedIn);
        EXPECT_FALSE(importBeforeLogin);
        EXPECT_EQ(importShown, c.imports);
        EXPECT_EQ(frame.isVisible(), c.imports);
    }
}
