#include "FakeBillHost.h"
#include "TestHome.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"
#include "data/Parties.h"
#include "services/AppServices.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A bill form on its own, with a stand-in for the main frame under it.
template<typename Form>
struct HostedForm
{
    TestHome home;
    FakeBillHost host{home.services()};
    std::unique_ptr<Form> form;

    HostedForm()
    {
        form = std::make_unique<Form>(host);
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    void click(const char *name)
    {
        auto *b = form->template findChild<QToolButton *>(QString::fromLatin1(name));
        ASSERT_TRUE(b && b->isVisible() && b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

struct Command
{
    const char *button;
    const char *asked; // what the form asks of the frame
};

template<typename Form>
void expectCommands(std::initializer_list<Command> commands)
{
    for (const Command &c : commands) {
        HostedForm<Form> f;
        ASSERT_TRUE(f.form->isVisible());
        f.click(c.button);
        EXPECT_EQ(f.host.asked.join(u',').toStdString(), c.asked) << c.button;
    }
}

} // namespace

TEST(FormHost, ToolBarButtonsAskTheFrameForItsWindows)
{
    expectCommands<TfmCheckKDD>({{"btPaste", "addressRecognition"},
                                 {"btOpenCheck", "menu:mKDDSearch"},
                                 {"btDesign", "menu:nDesign"},
                                 {"btMoveXY", "menu:mTemplateProperty"}});
    expectCommands<TfmCheckCDHP>({{"btMultiPrintS", "draftBatch"},
                                  {"btOpenCheck", "menu:mCDHPSearch"},
                                  {"btDesign", "menu:nDesign"},
                                  {"btMoveXY", "menu:mTemplateProperty"}});
}

TEST(FormHost, TheFrameKnowsTheFormsTemplateUntilItCloses)
{
    HostedForm<TfmCheckCDHP> f;
    ASSERT_TRUE(f.form->hasTemplate());
    EXPECT_GT(f.form->currentTemplate(), 0);
    EXPECT_EQ(f.host.currentCheckTypeId(), f.form->currentTemplate());
    f.host.setCurrentCheckTypeId(0);
    f.click("btMoveXY"); // the offset window opens on the form's template
    EXPECT_EQ(f.host.currentCheckTypeId(), f.form->currentTemplate());
    f.form->close();
    EXPECT_EQ(f.host.currentCheckTypeId(), -1);
}

TEST(FormHost, TheDefaultDrawerFillsTheDraftOnlyWhenTheFrameSaysSo)
{
    for (bool defaultDrawer : {true, false}) {
        TestHome home;
        Parties &parties = home.services().parties();
        TPerson drawer;
        drawer.FullName = QStringLiteral("默认出票单位");
        drawer.AcountType = TPerson::kOwnUnit;
        ASSERT_TRUE(parties.Save(drawer).isEmpty());
        ASSERT_TRUE(
            parties.setDefaultDrawer(parties.FindByFullName(drawer.FullName)->ID).isEmpty());
        parties.holdDefaultDrawer(true);
        FakeBillHost host(home.services());
        host.defaultDrawer = defaultDrawer;
        TfmCheckCDHP form(host);
        EXPECT_EQ(form.fieldText("zdOutComp"), defaultDrawer ? drawer.FullName : QString())
            << defaultDrawer;
    }
}
