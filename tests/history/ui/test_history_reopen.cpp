#include "CommandSweep.h"
#include "TestHome.h"
#include "app/ui/PictureMdiArea.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"

#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace sweep;

namespace {

void click(QWidget *window, const char *name)
{
    auto *b = window->findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_TRUE(b && b->isVisible() && b->isEnabled()) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

// A bill saved in its form comes back, through its kind's history menu item, in the same
// kind of form with its values.
TEST(HistoryReopen, ASavedBillReopensInItsOwnForm)
{
    struct Case
    {
        const char *form;    // the menu item that opens the form
        const char *history; // the history menu item
        const char *window;  // the history window's class
        const char *field;
        bool draft;
    };
    for (const Case &c : {Case{"m_new_cdhp", "mCDHPSearch", "TfmSearch_CDHP", "zdInComp", true},
                          Case{"m_new_kdd", "mKDDSearch", "TfmSearch_KDD", "zdSKR", false}}) {
        SCOPED_TRACE(c.history);
        TestHome home;
        Tfm_Main frame(home.services());
        frame.findChild<QTimer *>("TimerSystem")->stop();
        frame.show();
        auto form = [&]() -> BillForm * {
            return c.draft ? static_cast<BillForm *>(TfmCheckCDHP::instance())
                           : static_cast<BillForm *>(TfmCheckKDD::instance());
        };
        frame.menuItem(c.form)->trigger();
        ASSERT_TRUE(form());
        form()->setFieldText(c.field, QStringLiteral("重开单位"));
        if (!c.draft)
            form()->setFieldText("zdSKRLXR", QStringLiteral("李四"));
        click(form(), "btSaveCheck");
        const int saved = form()->billId();
        ASSERT_GT(saved, 0);
        click(form(), "btClose");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(form());

        frame.menuItem(c.history)->trigger();
        QWidget *history = shownWindowOf(c.window);
        ASSERT_TRUE(mapped(history));
        click(history, "btAll");
        auto *grid = history->findChild<QTableView *>("DBGrid1");
        ASSERT_GE(grid->model()->rowCount(), 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 1)).center());
        click(history, "btOpenView");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        ASSERT_TRUE(form()) << "not reopened in its own form";
        EXPECT_TRUE(form()->isVisible());
        EXPECT_EQ(frame.mdiArea()->subWindowList().size(), 1);
        EXPECT_EQ(form()->billId(), saved);
        EXPECT_EQ(form()->fieldText(c.field), QStringLiteral("重开单位"));
    }
}
