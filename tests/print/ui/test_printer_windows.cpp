#include "../PrintFixture.h"
#include "RefusingTrigger.h"
#include "app/ui/Tfm_Main.h"
#include "print/ui/BillPrintJob.h"
#include "print/ui/ControlValue.h"
#include "print/ui/TfmLockPrinter.h"
#include "print/ui/TfrmPrintOffset.h"
#include "print/ui/TfrmPrinterParam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace {

template<class W>
W *field(QWidget *parent, const char *name)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

class PrinterWindows : public PrintFixture
{};

TEST_F(PrinterWindows, ControlValuesOfTheBillFields)
{
    QWidget form;
    auto *panel = field<QWidget>(&form, "panelImgBg");
    field<QLineEdit>(panel, "zdSKR")->setText("张三");
    field<QPlainTextEdit>(panel, "zdAddr")->setPlainText("第一行\n第二行");
    auto *combo = field<QComboBox>(panel, "zdWP");
    combo->addItems({"文件", "样品"});
    combo->setCurrentIndex(1);
    field<QLabel>(panel, "zdLabel")->setText("标签");
    field<QCheckBox>(panel, "DEFCHECK0")->setChecked(true);
    field<QCheckBox>(panel, "DEFCHECK1");
    auto *hidden = field<QLineEdit>(panel, "zdHidden");
    hidden->setText("隐藏");
    hidden->hide();
    field<QLineEdit>(&form, "zdOutside")->setText("面板外");
    field<QSlider>(panel, "zdOdd");

    const struct
    {
        const char *name;
        QString value;
    } cases[] = {
        {"ZDSKR", "张三"},  {"zdAddr", "第一行\n第二行"},
        {"zdWP", "样品"},   {"zdLabel", "标签"},
        {"DEFCHECK0", "√"}, {"DEFCHECK1", ""},
        {"zdHidden", ""},   {"zdOutside", "面板外"},
        {"zdMissing", ""},  {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(getControlValue(panel, c.name, home.ui), c.value) << c.name;
    EXPECT_TRUE(home.ui.shown.isEmpty());
    EXPECT_EQ(getControlValue(panel, "zdOdd", home.ui), QString());
    EXPECT_EQ(home.ui.shown.size(), 1);
}

TEST_F(PrinterWindows, FormJobNeedsATemplateAndNeverPrintsThePrompt)
{
    addTemplate(kTemplate, 0, 0);
    addItem(kTemplate, "ZDSKR", 300, 200);
    exec("delete from NameDict", {});
    addDictItem("快递单", "ZDSKR", "TEXT", 1);
    QWidget form;
    auto *panel = field<QWidget>(&form, "panelImgBg");
    auto *receiver = field<QLineEdit>(panel, "zdSKR");
    receiver->setText("单击我或红圈选择收件人...:)");
    auto *templates = field<QComboBox>(&form, "cbFirstTypeName");
    templates->hide();

    BillPrintJob job(home.services(), BillKind::ExpressSlip, panel, templates);
    EXPECT_FALSE(job.PrintPrepare(kTemplate));
    EXPECT_EQ(home.ui.last().text, QStringLiteral("请选择快递单的类型!"));
    EXPECT_FALSE(templates->isHidden());

    templates->addItem("测试模板");
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    job.SendCheckToPrinter();
    EXPECT_TRUE(receiver->text().isEmpty());
    EXPECT_TRUE(device->texts.isEmpty());
    receiver->setText("李四");
    job.SendCheckToPrinter();
    EXPECT_TRUE(job.PrinterTransEnd());
    ASSERT_EQ(device->texts.size(), 1);
    EXPECT_EQ(device->texts[0].text, QStringLiteral("李四"));
}

TEST_F(PrinterWindows, LockWindowStoresTheBillPrinter)
{
    home.settings().setConfigByname("DefaultPrinter", "Office Laser");
    TfmLockPrinter lock(home.services());
    auto *printers = lock.findChild<QComboBox *>("cbPrinters");
    auto *lockButton = lock.findChild<QPushButton *>("btLock");
    EXPECT_EQ(printers->currentText(), QStringLiteral("Office Laser"));
    EXPECT_TRUE(lockButton->isEnabled());

    printers->setCurrentText("Bill Printer");
    lockButton->click();
    EXPECT_EQ(home.settings().getConfigByname("DefaultPrinter"), QStringLiteral("Bill Printer"));
    EXPECT_EQ(device->selected, QStringLiteral("Bill Printer"));
    EXPECT_EQ(home.ui.last().text, QStringLiteral("默认票据打印机设置成功！"));

    device->installed.clear();
    engine().refreshPrinters();
    TfmLockPrinter none(home.services());
    EXPECT_EQ(home.ui.last().text,
              QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！"));
    EXPECT_FALSE(none.findChild<QPushButton *>("btShiPei")->isEnabled());
    EXPECT_FALSE(none.findChild<QPushButton *>("btLock")->isEnabled());
    none.adaptPrinter();
    EXPECT_EQ(home.ui.last().text, QStringLiteral("请选择要固定的票据打印机！"));
}

TEST_F(PrinterWindows, PresetsComeOnlyFromACalibratedTemplate)
{
    addTemplate(kTemplate, 35, -15, "1");
    exec("update ckTypeTable set Visiable = '启用' where CheckTypeID = :id", {{"id", kTemplate}});
    {
        TfrmPrinterParam param(home.services(), "Bill Printer");
        auto *presets = param.findChild<QComboBox *>("cb_PrintersWeKnow");
        ASSERT_EQ(presets->count(), 1);
        EXPECT_EQ(presets->itemText(0), QStringLiteral("没有预选打印机配置"));
        auto *x = param.findChild<QSpinBox *>("edtUX");
        x->setValue(12);
        presets->activated(0);
        EXPECT_EQ(x->value(), 12); // the placeholder hands over nothing
    }

    TfrmPrintOffset offset(home.services());
    offset.setCheckTypeId(kTemplate);
    offset.show();
    home.ui.answerValue("24针平推,82列");
    offset.findChild<QPushButton *>("btSavePreset")->click();
    EXPECT_EQ(home.ui.last().text, QStringLiteral("型号名称不能含有逗号！"));
    home.ui.answerValue("24针平推");
    offset.findChild<QPushButton *>("btSavePreset")->click();
    EXPECT_EQ(home.ui.last().text, QStringLiteral("已存为打印机预置参数：24针平推"));

    TfrmPrinterParam param(home.services(), "Bill Printer");
    auto *presets = param.findChild<QComboBox *>("cb_PrintersWeKnow");
    ASSERT_EQ(presets->count(), 1);
    EXPECT_EQ(presets->itemText(0), QStringLiteral("24针平推"));
    EXPECT_EQ(param.findChild<QLineEdit *>("edtOX")->text(), QStringLiteral("35"));
    EXPECT_EQ(param.findChild<QLineEdit *>("edtOY")->text(), QStringLiteral("-15"));
    EXPECT_EQ(param.findChild<QComboBox *>("cbODirection")->currentText(), QStringLiteral("横向"));
    presets->activated(0);
    EXPECT_EQ(param.findChild<QSpinBox *>("edtUX")->value(), 35);
}

TEST_F(PrinterWindows, FailedApplyIsNeverFollowedBySuccess)
{
    addTemplate(kTemplate, 0, 0);
    ASSERT_TRUE((RefusingTrigger{"no_update",
                                 "UPDATE",
                                 "ckTypeTable",
                                 {},
                                 RefusingTrigger::Drops::Statement,
                                 "database is locked"}
                     .install(home.db())));
    TfrmPrinterParam param(home.services(), "Bill Printer");
    param.findChild<QLineEdit *>("edtUPrinter")->setText("我的24针");
    home.ui.answer(Ui::Answer::Yes);
    param.btApplyClick();
    EXPECT_TRUE(home.ui.texts().filter("应用单据失败！！").size() == 1);
    EXPECT_FALSE(home.ui.texts().contains("配置修改成功！"));
}

TEST_F(PrinterWindows, ApplyingChangesEveryTemplateAndIsRememberedPerWorkstation)
{
    addTemplate(kTemplate, 0, 0);
    addTemplate(902, 100, 100, "0");
    {
        TfrmPrinterParam param(home.services(), "Bill Printer");
        EXPECT_FALSE(param.findChild<QComboBox *>("cb_PrintersClient")->isEnabled());
        EXPECT_EQ(param.findChild<QComboBox *>("cb_PrintersClient")->currentText(),
                  QStringLiteral("Bill Printer"));
        param.findChild<QLineEdit *>("edtUPrinter")->setText("我的24针");
        param.findChild<QSpinBox *>("edtUX")->setValue(15);
        param.findChild<QSpinBox *>("edtUY")->setValue(-20);
        auto *direction = param.findChild<QComboBox *>("cbUDirection");

        direction->setCurrentText("斜向");
        home.ui.answer(Ui::Answer::Yes);
        param.btApplyClick();
        EXPECT_EQ(home.ui.last().text, QStringLiteral("非法的打印方向参数！"));

        direction->setCurrentText("横向");
        home.ui.answer(Ui::Answer::Yes);
        param.btApplyClick();
        EXPECT_TRUE(home.ui.texts().contains("应用单据成功！"));
        EXPECT_EQ(home.ui.last().text, QStringLiteral("配置修改成功！"));
    }
    QSqlQuery q = home.db().query();
    ASSERT_TRUE(q.exec("select XMove, YMove, HVPrint from ckTypeTable where CheckTypeID in (901, "
                       "902)"));
    int rows = 0;
    while (q.next()) {
        ++rows;
        EXPECT_EQ(q.value(0).toInt(), 15);
        EXPECT_EQ(q.value(1).toInt(), -20);
        EXPECT_EQ(q.value(2).toString(), QStringLiteral("1"));
    }
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(device->selected, QStringLiteral("Bill Printer"));

    home.restart();
    TfrmPrinterParam again(home.services());
    EXPECT_EQ(again.findChild<QLineEdit *>("edtUPrinter")->text(), QStringLiteral("我的24针"));
    EXPECT_EQ(again.findChild<QSpinBox *>("edtUX")->value(), 15);
    EXPECT_EQ(again.findChild<QSpinBox *>("edtUY")->value(), -20);
    EXPECT_EQ(again.findChild<QComboBox *>("cbUDirection")->currentText(), QStringLiteral("横向"));

    // Templates already changed, but without a model name nothing is remembered.
    again.findChild<QLineEdit *>("edtUPrinter")->clear();
    home.ui.answer(Ui::Answer::Yes);
    again.btApplyClick();
    EXPECT_EQ(home.ui.last().text, QStringLiteral("请输入适配打印机类型名！"));
}

TEST_F(PrinterWindows, MainFrameLocksTheStoredPrinterAtStartAndOpensTheSetupDialog)
{
    home.settings().setConfigByname("DefaultPrinter", "bill printer");
    Tfm_Main frame(home.services());
    EXPECT_EQ(device->selected, QStringLiteral("Bill Printer"));
    frame.menuItem("PrinterConfig")->trigger();
    EXPECT_EQ(device->count("setup"), 1);
}
