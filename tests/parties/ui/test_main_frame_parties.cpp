#include "NextModal.h"
#include "TestHome.h"
#include "app/ui/Tfm_Main.h"

#include <gtest/gtest.h>

namespace {

// Triggers a menu item that opens a modal dialog and answers the dialog's object name.
QString openedBy(Tfm_Main &frame, const char *item)
{
    QString opened;
    NextModal dialog([&](QWidget *window) { opened = window->objectName(); });
    frame.menuItem(QString::fromLatin1(item))->trigger();
    return opened;
}

} // namespace

TEST(MainFrameParties, CodeTableItemsOpenTheirDialogs)
{
    TestHome home;
    Tfm_Main frame(home.services());
    frame.show();
    EXPECT_EQ(openedBy(frame, "BaseSet"), QStringLiteral("fm_DMConfig"));
    EXPECT_EQ(openedBy(frame, "MenuSsSet"), QStringLiteral("frmSsSet"));
    EXPECT_EQ(openedBy(frame, "N21"), QStringLiteral("frmCom"));
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST(MainFrameParties, DefaultDrawerIsLoadedOnlyWhenTheOptionIsOn)
{
    TestHome home;
    TPerson drawer;
    drawer.FullName = QStringLiteral("本公司");
    drawer.Group = TPerson::kDefaultDrawerGroup;
    ASSERT_TRUE(home.services().parties().Save(drawer).isEmpty());
    {
        Tfm_Main frame(home.services());
        EXPECT_FALSE(home.services().parties().DefaultDrawer());
    }
    home.settings().setConfigByname("启用默认出票人", "yes");
    Tfm_Main frame(home.services());
    ASSERT_TRUE(home.services().parties().DefaultDrawer());
    EXPECT_EQ(home.services().parties().DefaultDrawer()->FullName, QStringLiteral("本公司"));
}
