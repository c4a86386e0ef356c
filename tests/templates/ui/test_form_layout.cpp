#include "../TemplateRows.h"
#include "base/IniFile.h"
#include "templates/ui/FormLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// A bill form in miniature: fields of every kind on a panel inside the form.
struct MiniForm
{
    MiniForm()
    {
        panel->setObjectName("panelImgBg");
        for (QWidget *w : std::initializer_list<QWidget *>{skr, site, address, box, date})
            w->setParent(panel);
        skr->setObjectName("zdSKR");
        site->setObjectName("cbDestSite");
        site->setEditable(true);
        address->setObjectName("zdSkrDZ");
        box->setObjectName("defCheck0");
        date->setObjectName("SelDate");
        form.resize(400, 300);
        form.show();
    }
    QWidget form;
    QWidget *panel = new QWidget(&form);
    QLineEdit *skr = new QLineEdit;
    QComboBox *site = new QComboBox;
    QPlainTextEdit *address = new QPlainTextEdit;
    QCheckBox *box = new QCheckBox;
    QDateEdit *date = new QDateEdit;
};

} // namespace

class FormLayoutTest : public TemplateRows
{
protected:
    void SetUp() override
    {
        TemplateRows::SetUp();
        addTemplate(7, "快递单", "甲");
        int ord = 0;
        for (const char *name :
             {"ZDSKR", "CBDESTSITE", "ZDSKRDZ", "DEFCHECK0", "SELDATE", "ZDNOTONFORM"})
            addDictItem("快递单", name, ++ord);
        addItem(7, "zdskr", 10, 20, 120, 22, 1, "单击我或红圈选择收件人...:)");
        addItem(7, "CBDESTSITE", 15, 50, 80, 22, 1, "北京");
        addItem(7, "ZDSKRDZ", 5, 80, 200, 44, 1, "地址");
        addItem(7, "DEFCHECK0", 30, 140, 60, 20, 1, "0");
        addItem(7, "ZDNOTONFORM", 1, 1, 1, 1, 1);
        // SELDATE has no row: a field missing from the cache is hidden.
    }
};

TEST_F(FormLayoutTest, LaysOutEveryKindOfFieldByNameWithoutRegardToCase)
{
    MiniForm f;
    std::unique_ptr<IniFile> cache = catalogue().OpenCheckInif(7);
    FormLayout::setFormControlsPosition(catalogue(), 7, "快递单", &f.form, cache.get());

    EXPECT_EQ(f.skr->geometry(), QRect(10, 20, 120, 22));
    EXPECT_TRUE(f.skr->isVisible());
    EXPECT_EQ(f.skr->text(), QStringLiteral("单击我或红圈选择收件人...:)"));
    EXPECT_EQ(f.site->currentText(), QStringLiteral("北京"));
    EXPECT_EQ(f.address->toPlainText(), QStringLiteral("地址"));
    EXPECT_TRUE(f.box->isChecked()) << "any stored default ticks a check box, even \"0\"";
    EXPECT_TRUE(f.box->isVisible());
    EXPECT_FALSE(f.date->isVisible());
    EXPECT_TRUE(home.ui.shown.isEmpty()) << "a field not on the form is skipped silently";
}

TEST_F(FormLayoutTest, OneFieldRestoredAfterBeingHidden)
{
    MiniForm f;
    std::unique_ptr<IniFile> cache = catalogue().OpenCheckInif(7);
    f.address->hide();
    f.address->setPlainText("用户输入");
    exec("update CKControl set InitValue = null where CtlName = 'ZDSKRDZ'");
    ASSERT_TRUE(catalogue().buildCheckIniFile(7));
    cache->reload();
    FormLayout::setFormCtlPositionFromIni("ZDSKRDZ", cache.get(), &f.form);
    EXPECT_TRUE(f.address->isVisible());
    EXPECT_EQ(f.address->geometry(), QRect(5, 80, 200, 44));
    EXPECT_EQ(f.address->toPlainText(), QStringLiteral("用户输入")) << "no default, text kept";

    FormLayout::setFormCtlPositionFromIni("zdskrdz", nullptr, &f.form);
    FormLayout::setFormCtlPositionFromIni("nothing", cache.get(), &f.form);
    EXPECT_TRUE(f.address->isVisible());
}
