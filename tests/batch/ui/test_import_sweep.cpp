#include "CommandSweep.h"
#include "TestHome.h"
#include "batch/ui/TfrmImport.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sweep;

namespace {

// Saved by LibreOffice: five receivers, one without name, contact or phone.
const QString kReceivers =
    QStringLiteral(LANYAN_SOURCE_DIR "/tests/batch/ui/fixtures/receivers.xls");

int storedParties(TestHome &home)
{
    QSqlQuery q = home.db().query();
    q.exec("SELECT COUNT(*) FROM CKPersonalInfoTable");
    return q.next() ? q.value(0).toInt() : -1;
}

} // namespace

// The address book import, as the address book's "Excel导入" opens it.
TEST(ImportSweep, EveryCommandOfTheImportWindow)
{
    TestHome home;
    QTemporaryDir dir;
    // Several chunks, so that "中止导入" lands between two of them.
    const QString many = dir.filePath("many.csv");
    {
        QFile csv(many);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("联系人,电话\n");
        for (int i = 0; i < 3500; ++i)
            csv.write("人" + QByteArray::number(i) + "," + QByteArray::number(10000 + i) + "\n");
    }
    auto window = std::make_unique<TfrmImport>(home.services(), ImportScenario::AddressBook);
    window->show();
    ASSERT_TRUE(mapped(window.get()));
    window->findChild<QCheckBox *>("ckReadLog")->setChecked(false);
    auto idle = [&] { return QTest::qWaitFor([&] { return !window->isBusy(); }, 60000); };
    int before = 0;
    auto count = [&] { before = storedParties(home); };

    const std::vector<Row> rows = {
        // Cancelled: nothing is read.
        {"btBrowse", file()},
        {"btStart", disabled()},
        {"btStopIt", disabled()},
        {"btLog", disabled()},
        {"btColumnCfg", modal("TfrmImportColumnCfg")},
        {"btBrowse", state([&] {
             return idle() && window->findChild<QLineEdit *>("ed_file")->text() == kReceivers;
         }),
         [&] { home.ui.answerFile(kReceivers); }},
        // One of the five rows names nobody, one repeats the first.
        {"btStart",
         message(QStringLiteral("导入结束，共有 3 条导入成功"),
                 [&] { return idle() && storedParties(home) == before + 3; }),
         count},
        {"btLog", url()},
        {"btBrowse", state([&] { return idle(); }), [&] { home.ui.answerFile(many); }},
        // Asked between two chunks, and stopped there.
        {"btStopIt",
         message(QStringLiteral("需要中止导出操作吗？"),
                 [&] {
                     return idle() && storedParties(home) > before &&
                            storedParties(home) < before + 3500;
                 }),
         [&] {
             count();
             QTest::mouseClick(window->findChild<QPushButton *>("btStart"), Qt::LeftButton);
             auto *bar = window->findChild<QProgressBar *>("ProgressBar1");
             EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() > 0; }, 60000));
             home.ui.answer(Ui::Answer::Yes);
         }},
        {"btHidden", state([&] { return !window->isVisible(); })},
    };
    expectARowForEveryCommand(window.get(), rows);
    // The format hint is a link beside the file.
    expectEffect("Label25", home.ui, message(QStringLiteral("Excel/csv格式要求")), [&] {
        QTest::mouseClick(window->findChild<QWidget *>("Label25"), Qt::LeftButton);
    });
    pressRows([&] { return window.get(); }, home.ui, rows);
}
