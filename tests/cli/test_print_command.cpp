#include "../print/PrintBox.h"
#include "TestHome.h"
#include "bills/BillStore.h"
#include "cli/PrintCommand.h"
#include "cli/ReprintCommand.h"
#include "print/PrintOffset.h"
#include "templates/Catalogue.h"
#include "templates/TemplateModel.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRectF>
#include <QSqlQuery>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

// Saved by LibreOffice: three drafts under the titles 编号, 出票日期, 汇票到期日, 金额, 收款单位,
// 出票人全称, outbankaddr, "收款人 全称", an empty title and 分组.
const QString kDrafts = QStringLiteral(LANYAN_SOURCE_DIR "/tests/batch/ui/fixtures/drafts.xlsx");
constexpr int kSlipTemplate = 1;  // the shipped express slip
constexpr int kDraftTemplate = 3; // the shipped acceptance draft

struct Command
{
    TestHome home;
    QString out, err;

    int print(PrintRequest request)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        PrintCommand command(home.services(), o, e);
        return command.run(request);
    }
    PrintRequest toPdf(int templateId, const QString &values, const char *pdf = "out.pdf")
    {
        PrintRequest r;
        r.templateText = QString::number(templateId);
        r.valuesFile = values;
        r.pdf = home.path() + QString::fromLatin1(pdf);
        r.json = true;
        return r;
    }
    QString writeCsv(const char *name, const QString &text)
    {
        const QString path = home.path() + QString::fromLatin1(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        return path;
    }
    int count(const char *sql)
    {
        QSqlQuery q = home.db().query();
        return q.exec(QString::fromUtf8(sql)) && q.next() ? q.value(0).toInt() : -1;
    }
    QJsonObject summary() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }

    // The item's printed box on the paper, as the template's numbers give it.
    QRectF printBox(int templateId, const char *item)
    {
        return ::printBox(home.services().catalogue(), templateId, item);
    }
};

} // namespace

TEST(PrintCommand, DraftsFromASpreadsheetPrintInTheirBoxesAndAreOnRecord)
{
    Command c;
    ASSERT_EQ(c.print(c.toPdf(kDraftTemplate, kDrafts)), PrintCommand::Done) << c.err.toStdString();
    const QJsonObject summary = c.summary();
    EXPECT_EQ(summary["printed"].toInt(), 3);
    EXPECT_EQ(summary["run"].toInt(), 1);
    EXPECT_TRUE(summary["skipped"].toArray().isEmpty());

    const auto pages = readPdfWords(c.home.path() + "out.pdf");
    ASSERT_EQ(pages.size(), 3u);
    const QRectF capital = c.printBox(kDraftTemplate, "ZDJEDX");
    const QRectF payee = c.printBox(kDraftTemplate, "ZDINCOMP");
    const struct
    {
        const char *payee;
        const char *capital;
    } expected[]{{"北京远景贸易", "人民币壹仟贰佰叁拾肆元伍角整"},
                 {"上海百川实业", "人民币伍仟陆佰柒拾捌元整"},
                 {"广州南方物流", "人民币贰仟叁佰肆拾伍元陆角整"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(printedIn(pages[i], payee, QString::fromUtf8(expected[i].payee))) << i;
        EXPECT_TRUE(printedIn(pages[i], capital, QString::fromUtf8(expected[i].capital))) << i;
    }
    // The rows are the batch list's, and the run is the batch windows' record.
    EXPECT_EQ(c.count("SELECT COUNT(*) FROM MultiPrintCDHP"), 3);
    EXPECT_EQ(c.count("SELECT COUNT(*) FROM BatchRunTable"), 1);

    PrintRequest resume = c.toPdf(kDraftTemplate, kDrafts, "resume.pdf");
    resume.fromRow = 3;
    ASSERT_EQ(c.print(resume), PrintCommand::Done) << c.err.toStdString();
    const auto resumed = readPdfWords(c.home.path() + "resume.pdf");
    ASSERT_EQ(resumed.size(), 2u);
    EXPECT_TRUE(printedIn(resumed[0], payee, QStringLiteral("上海百川实业")));
    EXPECT_EQ(c.summary()["run"].toInt(), 2);
}

TEST(PrintCommand, SlipRowsThatCannotPrintAreSkippedWithTheirReason)
{
    Command c;
    // Found by its name as the form's drop-down shows it, as well as by its number.
    // The receiver's name box holds 80 characters: a longer one must not print cut short.
    const QString tooLong = QString(81, u'长');
    const QString csv = c.writeCsv("slips.csv", u"全称,联系人,地址,市\n"
                                                u"北京远景贸易,张三,朝阳区一号,北京\n" +
                                                    tooLong +
                                                    u",王五,某地,某市\n"
                                                    u"上海百川实业,李四,浦东新区二号,上海\n");
    PrintRequest request = c.toPdf(kSlipTemplate, csv);
    request.templateText = QStringLiteral("飞燕速递");
    ASSERT_EQ(c.print(request), PrintCommand::Done) << c.err.toStdString();
    EXPECT_EQ(c.summary()["printed"].toInt(), 2);
    const QJsonArray skipped = c.summary()["skipped"].toArray();
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_TRUE(skipped[0].toString().contains(QStringLiteral("全称太长，快递单上放不下")))
        << skipped[0].toString().toStdString();
    const auto pages = readPdfWords(c.home.path() + "out.pdf");
    ASSERT_EQ(pages.size(), 2u);
    const QRectF receiver = c.printBox(kSlipTemplate, "ZDSKR");
    EXPECT_TRUE(printedIn(pages[0], receiver, QStringLiteral("北京远景贸易")));
    EXPECT_TRUE(printedIn(pages[1], receiver, QStringLiteral("上海百川实业")));
    EXPECT_TRUE(printedIn(pages[1], c.printBox(kSlipTemplate, "ZDSKRLXR"), "李四"));

    // Without --json the reason is told on standard error, in words.
    request.json = false;
    ASSERT_EQ(c.print(request), PrintCommand::Done) << c.err.toStdString();
    EXPECT_TRUE(c.err.contains(QStringLiteral("跳过：")) &&
                c.err.contains(QStringLiteral("全称太长，快递单上放不下")))
        << c.err.toStdString();
}

TEST(PrintCommand, BadInputPrintsAndRecordsNothing)
{
    Command c;
    const QString noReceiver = c.writeCsv("goods.csv", QStringLiteral("件数,重量\n1,2\n"));
    struct Case
    {
        const char *what;
        std::function<void(PrintRequest &)> change;
        int exit;
        const char *message;
    };
    const Case cases[]{
        {"unknown template", [](PrintRequest &r) { r.templateText = "没有的模板"; },
         PrintCommand::BadInput, "没有这个模板：没有的模板"},
        {"unknown number", [](PrintRequest &r) { r.templateText = "999"; }, PrintCommand::BadInput,
         "没有这个模板：999"},
        {"missing file", [&](PrintRequest &r) { r.valuesFile = c.home.path() + "none.xlsx"; },
         PrintCommand::BadInput, "none.xlsx"},
        {"no receiver column", [&](PrintRequest &r) { r.valuesFile = noReceiver; },
         PrintCommand::BadInput, "没有收件人的列"},
        {"no such sheet", [](PrintRequest &r) { r.sheet = 5; }, PrintCommand::BadInput,
         "没有第 5 个工作表"},
        {"queue gone",
         [](PrintRequest &r) {
             r.pdf.clear();
             r.printer = "没有的打印机";
         },
         PrintCommand::PrinterRefused, "没有这台打印机：没有的打印机"},
        {"kind mismatch",
         [](PrintRequest &r) {
             r.valuesFile.clear();
             r.bill = "cdhp:1";
         },
         PrintCommand::BadInput, "票据与模板的种类不同"},
        {"no such bill",
         [](PrintRequest &r) {
             r.valuesFile.clear();
             r.bill = "kdd:4711";
         },
         PrintCommand::BadInput, "kdd:4711"},
    };
    for (const Case &k : cases) {
        PrintRequest r = c.toPdf(kSlipTemplate, kDrafts);
        k.change(r);
        EXPECT_EQ(c.print(r), k.exit) << k.what;
        EXPECT_TRUE(c.err.contains(QString::fromUtf8(k.message)))
            << k.what << ": " << c.err.toStdString();
        EXPECT_FALSE(QFile::exists(r.pdf)) << k.what;
        EXPECT_EQ(c.summary()["exit"].toInt(), k.exit) << k.what;
        EXPECT_EQ(c.summary()["printed"].toInt(), 0) << k.what;
    }
    EXPECT_EQ(c.count("SELECT COUNT(*) FROM BatchRunTable"), 0);
    EXPECT_EQ(c.count("SELECT COUNT(*) FROM ReceiverList"), 0);
}

TEST(PrintCommand, AStoredDraftPrintsAsItsFormShowsIt)
{
    Command c;
    BillStore store(c.home.db(), QStringLiteral("DataCDHPTable"));
    const BillStore::SaveResult saved = store.save(
        -1, {{"收款人全称", "杭州西湖茶叶"}, {"金额", "88.00"}, {"出票日期", "2023-11-07"}});
    ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
    PrintRequest r = c.toPdf(kDraftTemplate, {});
    r.bill = QStringLiteral("cdhp:%1").arg(saved.billId);
    ASSERT_EQ(c.print(r), PrintCommand::Done) << c.err.toStdString();
    const auto pages = readPdfWords(r.pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(printedIn(pages[0], c.printBox(kDraftTemplate, "ZDINCOMP"), "杭州西湖茶叶"));
    EXPECT_TRUE(printedIn(pages[0], c.printBox(kDraftTemplate, "ZDJEDX"), "人民币捌拾捌元整"));
    // Capital dates, as the draft form writes them by default.
    EXPECT_TRUE(printedIn(pages[0], c.printBox(kDraftTemplate, "ZDRI"), "零柒"));
}

// A draft printed from the command line keeps the template version it printed with: moved by
// the whole-slip offset since, it reprints where it first printed, or where today's template
// puts it when asked. A bill never printed before prints with today's template and keeps it.
TEST(ReprintCommand, DraftKeepsTheOffsetItFirstPrintedWith)
{
    Command c;
    const auto t = c.home.services().catalogue().loadTemplate(kDraftTemplate);
    ASSERT_TRUE(t);
    const BillStore::SaveResult saved = BillStore(c.home.db(), QStringLiteral("DataCDHPTable"))
                                            .save(-1, {{"模板种类", t->typeDescribe},
                                                       {"收款人全称", "北京远景贸易"},
                                                       {"金额", "1234.5"},
                                                       {"出票日期", "2026-12-01"}});
    ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
    const QString bill = u"cdhp:" + QString::number(saved.billId);
    const QRectF first = c.printBox(kDraftTemplate, "ZDINCOMP");

    QString err;
    const auto reprint = [&](const char *pdf, bool todayTemplate) {
        ReprintRequest r;
        r.bill = bill;
        r.pdf = c.home.path() + QString::fromLatin1(pdf);
        r.todayTemplate = todayTemplate;
        r.json = true;
        c.out.clear();
        err.clear();
        QTextStream o(&c.out), e(&err);
        EXPECT_EQ(ReprintCommand(c.home.services(), o, e).run(r), PrintCommand::Done)
            << err.toStdString();
        const auto pages = readPdfWords(r.pdf);
        return pages.size() == 1 ? pages.front() : PdfPage{};
    };
    // Saved without printing: today's template, which it then keeps.
    EXPECT_TRUE(printedIn(reprint("never.pdf", false), first, "北京远景贸易"));
    EXPECT_EQ(c.summary()["template"].toString(), "today");
    EXPECT_TRUE(err.startsWith(QStringLiteral("这张承兑汇票没有第一次打印时的模板记录")))
        << err.toStdString();

    PrintOffset offset(c.home.db());
    OffsetSettings moved = offset.loadByName(t->typeName)->settings;
    moved.xMove += 150;
    moved.yMove -= 80;
    QString error;
    ASSERT_EQ(offset.save(kDraftTemplate, moved, &error), PrintOffset::SaveResult::Changed);
    const QRectF today = c.printBox(kDraftTemplate, "ZDINCOMP");
    ASSERT_FALSE(today.intersects(first));

    EXPECT_TRUE(printedIn(reprint("first.pdf", false), first, "北京远景贸易"));
    EXPECT_EQ(c.summary()["template"].toString(), "first");
    EXPECT_TRUE(printedIn(reprint("today.pdf", true), today, "北京远景贸易"));
    EXPECT_EQ(c.summary()["template"].toString(), "today");
}

TEST(ReprintCommand, BadBillsSayWhatIsWrongAndPrintNothing)
{
    Command c;
    for (const char *bill : {"kdd:999", "kdd:x", "cdhp:", "abc:1", "kdd:1:2"}) {
        ReprintRequest r;
        r.bill = QString::fromLatin1(bill);
        r.pdf = c.home.path() + "bad.pdf";
        r.json = true;
        c.out.clear();
        QString err;
        QTextStream o(&c.out), e(&err);
        EXPECT_EQ(ReprintCommand(c.home.services(), o, e).run(r), PrintCommand::BadInput) << bill;
        EXPECT_FALSE(err.isEmpty()) << bill;
        EXPECT_EQ(c.summary()["printed"].toInt(), 0) << bill;
        EXPECT_FALSE(QFile::exists(r.pdf)) << bill;
    }
}
