#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "templates/ui/TfrmCheckTypeMng.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace {

// Every template's identifier and state, to see that opening and closing changes none.
QStringList templateStates(Database &db)
{
    QSqlQuery q = db.query();
    q.exec(QStringLiteral("select CheckTypeID, Visiable, IsDefault, IsCommon from ckTypeTable "
                          "order by CheckTypeID"));
    QStringList states;
    while (q.next())
        states << QStringLiteral("%1 %2 %3 %4")
                      .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                           q.value(3).toString());
    return states;
}

} // namespace

// The toolbar button, the menu item and the forms' "配置常用模板" tab each show the window,
// listing the templates, and closing it leaves every template as it was.
TEST(TemplateManagementEntryPoints, EachOpensTheWindowVisiblyAndClosingChangesNothing)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    QApplication::setActiveWindow(&frame);
    frame.openAcceptanceDraft();
    TfmCheckCDHP *form = TfmCheckCDHP::instance();
    ASSERT_TRUE(form);
    const QStringList before = templateStates(home.db());
    ASSERT_FALSE(before.isEmpty());

    auto *tabs = form->findChild<QTabBar *>("tbcCheckTypeName");
    ASSERT_TRUE(tabs);
    int commonTab = -1;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == QStringLiteral("配置常用模板"))
            commonTab = i;
    ASSERT_GE(commonTab, 0);

    const std::pair<const char *, std::function<void()>> entries[] = {
        {"toolbar",
         [&] { QTest::mouseClick(frame.findChild<QToolButton *>("ToolButton2"), Qt::LeftButton); }},
        {"menu", [&] { frame.menuItem("nTempManage")->trigger(); }},
        {"form tab",
         [&] { QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(commonTab).center()); }},
    };
    for (const auto &[entry, open] : entries) {
        SCOPED_TRACE(entry);
        bool seen = false;
        NextModal answer([&](QWidget *modal) {
            auto *window = qobject_cast<TfrmCheckTypeMng *>(modal);
            ASSERT_TRUE(window);
            seen = true;
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("模板管理")));
            auto *grid = window->findChild<QTableView *>("DBGrid1");
            ASSERT_TRUE(grid);
            EXPECT_TRUE(grid->isVisible());
            EXPECT_GT(grid->model()->rowCount(), 0);
            // Select every row, as a clerk might before closing.
            grid->selectAll();
            QTest::mouseClick(window->findChild<QPushButton *>("btClose"), Qt::LeftButton);
        });
        open();
        QTest::qWait(0);
        EXPECT_TRUE(seen);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(templateStates(home.db()), before);
    }
}
