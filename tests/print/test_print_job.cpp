#include "PrintFixture.h"
#include "print/PrintJob.h"

namespace {

PrintJob::ValueOf values(const QHash<QString, QString> &byName)
{
    return [byName](const QString &name) { return byName.value(name.toUpper()); };
}

} // namespace

class PrintJobTest : public PrintFixture
{
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        addTemplate(kTemplate, 15, -20);
        addItem(kTemplate, "ZDSKR", 300, 200);
        addItem(kTemplate, "ZDMEMO", 300, 400);
        addItem(kTemplate, "DEFCHECK0", 100, 100);
        // Only our own dictionary, whatever the shipped one holds.
        exec("delete from NameDict", {});
        for (const char *kind : {"快递单", "承兑汇票"}) {
            addDictItem(kind, "ZDSKR", "", 900);
            addDictItem(kind, "ZDMEMO", "TEXT", 901);
            addDictItem(kind, "DEFCHECK0", "checkbox", 902);
            addDictItem(kind, "IMG", "IMAGE", 903);
        }
    }

    QStringList printed() const
    {
        QStringList texts;
        for (const auto &t : device->texts)
            texts << t.text;
        return texts;
    }
};

TEST_F(PrintJobTest, OneBillPrintsEveryFilledItemInOrder)
{
    PrintJob job(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(job.PrintPrepare(kTemplate));
    EXPECT_EQ(job.Xmove, 15);
    EXPECT_EQ(job.Ymove, -20);
    ASSERT_TRUE(job.PrinterTransBegin(1));
    ASSERT_TRUE(job.SendCheckToPrinter(values({{"ZDSKR", "王五"},
                                               {"ZDMEMO", "第一行\r\n第二行"},
                                               {"DEFCHECK0", "√"},
                                               {"IMG", "picture"}})));
    ASSERT_TRUE(job.PrinterTransEnd());
    EXPECT_EQ(printed(), QStringList({"王五", "第一行", "第二行", "√"}));
    EXPECT_EQ(device->calls, QStringList({"page:230x127:portrait", "copies:1", "begin", "end"}));
    EXPECT_FALSE(engine().context().printReady);
    EXPECT_TRUE(home.ui.shown.isEmpty());
}

TEST_F(PrintJobTest, PromptAndUncheckedBoxesNeverPrint)
{
    PrintJob job(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    job.SendCheckToPrinter(values({{"ZDSKR", "单击我或红圈选择收件人...:)"}, {"DEFCHECK0", ""}}));
    EXPECT_TRUE(printed().isEmpty());
    // The prompt text in another item is a value like any other.
    ASSERT_TRUE(job.SendCheckToPrinter(values(
        {{"ZDSKR", "王五"}, {"ZDMEMO", "单击我或红圈选择收件人...:)"}, {"DEFCHECK0", "√"}})));
    EXPECT_EQ(printed(), QStringList({"王五", "单击我或红圈选择收件人...:)", "√"}));
}

TEST_F(PrintJobTest, CopiesAreLimitedPerKind)
{
    const struct
    {
        BillKind kind;
        int asked;
        int copies;
    } cases[] = {
        {BillKind::ExpressSlip, 0, 1},       {BillKind::ExpressSlip, 1, 1},
        {BillKind::ExpressSlip, 51, 50},     {BillKind::AcceptanceDraft, 0, 1},
        {BillKind::AcceptanceDraft, 51, 51},
    };
    for (const auto &c : cases) {
        device->calls.clear();
        PrintJob job(engine(), c.kind);
        ASSERT_TRUE(job.PrintPrepare(kTemplate));
        ASSERT_TRUE(job.PrinterTransBegin(c.asked));
        EXPECT_TRUE(device->calls.contains(u"copies:" + QString::number(c.copies))) << c.asked;
        job.PrinterTransEnd();
    }
}

TEST_F(PrintJobTest, BatchOfThreeStartsTwoNewPages)
{
    PrintJob job(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(0));
    const QStringList receivers{"甲", "乙", "丙"};
    for (int i = 0; i < receivers.size(); ++i) {
        ASSERT_TRUE(job.SendCheckToPrinter(values({{"ZDSKR", receivers[i]}})));
        if (i + 1 < receivers.size()) {
            ASSERT_TRUE(job.NewCheckPage());
        }
    }
    ASSERT_TRUE(job.PrinterTransEnd());
    EXPECT_EQ(device->count("newPage"), 2);
    EXPECT_EQ(printed(), receivers);
}

TEST_F(PrintJobTest, EachJobReadsTheTemplateAfresh)
{
    auto printReceiverOnce = [&] {
        device->texts.clear();
        PrintJob job(engine(), BillKind::ExpressSlip);
        EXPECT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1) &&
                    job.SendCheckToPrinter(values({{"ZDSKR", "王五"}})) && job.PrinterTransEnd());
        return device->texts.isEmpty() ? -1 : device->texts.front().x;
    };
    const int before = printReceiverOnce();
    // Moved by 10 mm between two jobs, as the designer or the calibration would.
    exec("update CKControl set CtlX = CtlX + 100 where CheckTypeID = :id", {{"id", kTemplate}});
    EXPECT_GT(printReceiverOnce(), before);
}

TEST_F(PrintJobTest, LandscapeTemplateFeedsTheFormSideways)
{
    addTemplate(902, 0, 0, "1", 2100, 990);
    PrintJob job(engine(), BillKind::AcceptanceDraft);
    ASSERT_TRUE(job.PrintPrepare(902));
    EXPECT_EQ(device->calls.value(0), QStringLiteral("page:210x99:landscape"));
}

TEST_F(PrintJobTest, DraftSetsMoneyCodeAndCellWidth)
{
    addItem(kTemplate, "ZDQY", 1500, 200);
    addItem(kTemplate, "ZDBY", 1530, 200);
    PrintJob job(engine(), BillKind::AcceptanceDraft);
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    job.SendCheckToPrinter(values({}), "USD");
    EXPECT_EQ(engine().context().moneyCode, QStringLiteral("USD"));
    EXPECT_EQ(engine().context().cellWidth, 30);

    // The express slip leaves them alone.
    PrintJob slip(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(slip.PrintPrepare(kTemplate) && slip.PrinterTransBegin(1));
    slip.SendCheckToPrinter(values({}), QStringLiteral("￥"));
    EXPECT_EQ(engine().context().moneyCode, QStringLiteral("USD"));
}

TEST_F(PrintJobTest, PreparationRefusals)
{
    PrintJob job(engine(), BillKind::ExpressSlip);
    EXPECT_FALSE(job.PrintPrepare(999));
    EXPECT_EQ(home.ui.last().text,
              QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！"));
    EXPECT_EQ(home.ui.last().caption, QStringLiteral("提示"));

    device->installed.clear();
    engine().refreshPrinters();
    EXPECT_FALSE(job.PrintPrepare(kTemplate));
    EXPECT_EQ(home.ui.last().text, QStringLiteral("你需要安装打印机才能打印！"));

    device->installed = {"P"};
    engine().refreshPrinters();
    home.db().close();
    EXPECT_FALSE(job.PrintPrepare(kTemplate));
    EXPECT_EQ(home.ui.last().text, QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！"));

    // Not prepared: every later step does nothing.
    EXPECT_FALSE(job.PrinterTransBegin(1));
    EXPECT_FALSE(job.SendCheckToPrinter(values({{"ZDSKR", "x"}})));
    EXPECT_FALSE(job.PrinterTransEnd());
    EXPECT_TRUE(device->calls.isEmpty());
}

TEST_F(PrintJobTest, CancelledSetupDialogPrintsNothingAndSaysNothing)
{
    home.settings().setConfigByname("打印前弹出打印机设置", "yes");
    device->setupAnswer = PrintDevice::SetupResult::Cancelled;
    PrintJob job(engine(), BillKind::ExpressSlip);
    EXPECT_FALSE(job.PrintPrepare(kTemplate));
    EXPECT_FALSE(job.PrinterTransBegin(1));
    EXPECT_FALSE(job.SendCheckToPrinter(values({{"ZDSKR", "x"}})));
    EXPECT_FALSE(job.PrinterTransEnd());
    EXPECT_EQ(device->count("setup"), 1);
    EXPECT_EQ(device->count("begin"), 0);
    EXPECT_TRUE(device->texts.isEmpty());
    EXPECT_TRUE(home.ui.shown.isEmpty());

    device->setupAnswer = PrintDevice::SetupResult::Accepted;
    ASSERT_TRUE(job.PrintPrepare(kTemplate));
    EXPECT_TRUE(job.PrinterTransBegin(1) && job.SendCheckToPrinter(values({{"ZDSKR", "x"}})) &&
                job.PrinterTransEnd());
    EXPECT_EQ(printed(), QStringList{"x"});
}

TEST_F(PrintJobTest, PrinterFailingMidBatchAbortsTheDocument)
{
    PrintJob job(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    ASSERT_TRUE(job.SendCheckToPrinter(values({{"ZDSKR", "甲"}})));
    device->failing << "newPage";
    EXPECT_FALSE(job.NewCheckPage());
    EXPECT_EQ(home.ui.last().text, QStringLiteral("打印出错，请检查打印机是否可用！"));
    EXPECT_FALSE(job.SendCheckToPrinter(values({{"ZDSKR", "乙"}})));
    EXPECT_FALSE(job.PrinterTransEnd());
    EXPECT_EQ(device->count("abort"), 1);
    EXPECT_EQ(device->count("end"), 0);
    EXPECT_EQ(home.ui.shown.size(), 1);

    // Drawing that fails is one printer error, not a message per item.
    device->failing = {"draw"};
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    EXPECT_FALSE(job.SendCheckToPrinter(values({{"ZDSKR", "丙"}, {"ZDMEMO", "丁"}})));
    EXPECT_EQ(home.ui.shown.size(), 2);
    EXPECT_EQ(device->count("abort"), 2);

    // A document the printer refuses at the end is not reported as printed.
    device->failing = {"end"};
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    EXPECT_FALSE(job.PrinterTransEnd());
    EXPECT_EQ(home.ui.last().text, QStringLiteral("打印出错，请检查打印机是否可用！"));
}

TEST_F(PrintJobTest, FormClosedMidJobAbortsItsDocument)
{
    {
        PrintJob job(engine(), BillKind::ExpressSlip);
        ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    }
    EXPECT_EQ(device->count("abort"), 1);
}

TEST_F(PrintJobTest, DefaultPrinterIsChosenByNameWithoutRegardToCase)
{
    engine().setDefaultPrinter("bill PRINTER");
    EXPECT_EQ(device->selected, QStringLiteral("Bill Printer"));
    EXPECT_EQ(engine().selectedPrinter(), QStringLiteral("Bill Printer"));

    // Unknown name, or none stored with two printers installed: the choice stays.
    engine().setDefaultPrinter("Nowhere");
    engine().setDefaultPrinter("  ");
    EXPECT_EQ(device->count("select:Bill Printer"), 1);
    EXPECT_EQ(device->calls.size(), 1);

    home.settings().setConfigByname("DefaultPrinter", "office laser");
    engine().setDefaultPrinter("");
    EXPECT_EQ(device->selected, QStringLiteral("Office Laser"));
}

TEST_F(PrintJobTest, PrinterSetupCommand)
{
    device->setupAnswer = PrintDevice::SetupResult::Failed;
    EXPECT_FALSE(engine().PrinterConfigClick());
    EXPECT_EQ(home.ui.last().text,
              QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"));

    device->setupAnswer = PrintDevice::SetupResult::Accepted;
    EXPECT_TRUE(engine().PrinterConfigClick());
    EXPECT_TRUE(engine().context().printReady);

    device->installed.clear();
    engine().refreshPrinters();
    EXPECT_FALSE(engine().PrinterConfigClick());
    EXPECT_EQ(home.ui.last().text,
              QStringLiteral(
                  "没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，请重新打开软件！"));
    EXPECT_EQ(device->count("setup"), 2);
}
