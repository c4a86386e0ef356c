#include "CommandSweep.h"
#include "RecordingPrintDevice.h"
#include "TestHome.h"
#include "app/ui/PictureMdiArea.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"
#include "print/PrintEngine.h"

#include <QSqlQuery>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>
#include <set>

using namespace sweep;

namespace {

struct Button
{
    const char *name;
    Effect effect;
    bool blank = false; // pressed on an empty bill, which closes without a question
};

// The frame on a seeded home with one bill form open; prints go to a recording device.
class FormSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = sweep::shownFrame(home, device);
        ASSERT_TRUE(mapped(frame.get()));
    }

    int storedBills(const char *table)
    {
        QSqlQuery q = home.db().query();
        q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table));
        return q.next() ? q.value(0).toInt() : -1;
    }

    // Presses each button of the form's tool bar on a form opened by `open` and filled by
    // `fill`; every button of the bar has its row.
    void sweep(const char *openItem, const char *table, const std::function<BillForm *()> &form,
               const std::function<void(BillForm &)> &fill, const std::vector<Button> &rows)
    {
        frame->menuItem(openItem)->trigger();
        ASSERT_TRUE(form());
        std::set<QString> named;
        for (const Button &b : rows)
            named.insert(QString::fromLatin1(b.name));
        for (QToolButton *b :
             form()->findChild<QToolBar *>("toolBarCheck")->findChildren<QToolButton *>()) {
            if (!b->objectName().startsWith("qt_")) {
                EXPECT_TRUE(named.count(b->objectName()))
                    << "no row for " << b->objectName().toStdString();
            }
        }

        for (const Button &row : rows) {
            // A fresh form for each button, as a user who starts again; the question about a
            // filled bill is answered No.
            frame->mdiArea()->closeAllSubWindows();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            frame->menuItem(openItem)->trigger();
            BillForm *open = form();
            ASSERT_TRUE(open) << row.name;
            if (!row.blank)
                fill(*open);
            auto *button = open->findChild<QToolButton *>(QString::fromLatin1(row.name));
            ASSERT_TRUE(button) << row.name;
            if (row.effect.kind == Effect::Kind::Hidden) {
                EXPECT_FALSE(button->isVisible()) << row.name;
                continue;
            }
            if (row.effect.kind == Effect::Kind::Disabled) {
                EXPECT_FALSE(button->isEnabled()) << row.name;
                continue;
            }
            ASSERT_TRUE(button->isVisible() && button->isEnabled()) << row.name;
            printsBefore = device->count("end");
            billsBefore = storedBills(table);
            expectEffect(row.name, home.ui, row.effect,
                         [&] { QTest::mouseClick(button, Qt::LeftButton); });
        }
    }

    bool printed() const { return device->count("end") > printsBefore; }
    bool storedOne(const char *table) { return storedBills(table) > billsBefore; }

    TestHome home;
    RecordingPrintDevice *device = nullptr;
    std::unique_ptr<Tfm_Main> frame;
    int printsBefore = 0;
    int billsBefore = 0;
};

bool closed(const std::function<BillForm *()> &form)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !form();
}

} // namespace

TEST_F(FormSweep, EveryButtonOfTheExpressSlipBar)
{
    const auto form = [] { return static_cast<BillForm *>(TfmCheckKDD::instance()); };
    const auto fill = [](BillForm &f) {
        f.setFieldText("zdSKR", QStringLiteral("收件单位"));
        f.setFieldText("zdSKRLXR", QStringLiteral("李四"));
        f.setFieldText("zdHKR", QStringLiteral("岚砚办公用品公司"));
    };
    sweep("m_new_kdd", "DataKDDTable", form, fill,
          {
              {"btPosition", state([&] {
                   return form()->findChild<QToolButton *>("btPosition")->text() == u"上";
               })},
              {"btDesign", modal("TfmCheckDesign")},
              {"btSaveSKRen", modal("Tfrm_PersonInfo")},
              {"btPaste", modal("TfrmMatchAddr")},
              {"btOpenCheck", window("TfmSearch_KDD")},
              {"btNewCheck", state([&] { return form()->fieldText("zdSKR").isEmpty(); })},
              {"btSaveAs", disabled()},
              {"btSaveCheck", message(QStringLiteral("新快递单保存成功！ "))},
              {"btPrint1", state([&] { return printed(); })},
              {"btPrintAndSave", state([&] { return printed() && storedOne("DataKDDTable"); })},
              {"btMultiPrintS", hidden()},
              {"btMultiPrintF", hidden()},
              {"btClose", state([&] { return closed(form); }), true},
              {"btMoveXY", modal("TfrmPrintOffset")},
          });
}

TEST_F(FormSweep, EveryButtonOfTheAcceptanceDraftBar)
{
    const auto form = [] { return static_cast<BillForm *>(TfmCheckCDHP::instance()); };
    const auto fill = [](BillForm &f) {
        f.setFieldText("zdInComp", QStringLiteral("收款单位"));
        f.setFieldText("zdOutComp", QStringLiteral("出票单位"));
    };
    sweep("m_new_cdhp", "DataCDHPTable", form, fill,
          {
              {"btUpOrDown", state([&] {
                   return form()->findChild<QToolButton *>("btUpOrDown")->text() == u"上";
               })},
              {"btMoveXY", modal("TfrmPrintOffset")},
              {"btDesign", modal("TfmCheckDesign")},
              {"btSaveSKRen", modal("Tfrm_PersonInfo")},
              {"btOpenCheck", window("TfmSearch_CDHP")},
              {"btNewCheck", state([&] { return form()->fieldText("zdInComp").isEmpty(); })},
              {"btSaveAs", disabled()},
              {"btSaveCheck", message(QStringLiteral("新承兑汇票保存成功！ "))},
              {"btPrint1", state([&] { return printed(); })},
              {"btPrintAndSave", state([&] { return printed() && storedOne("DataCDHPTable"); })},
              {"btMultiPrintS", window("TfrmMutiPrintCDHP")},
              {"btMultiPrintF", prompt()},
              {"btClose", state([&] { return closed(form); }), true},
          });
}
