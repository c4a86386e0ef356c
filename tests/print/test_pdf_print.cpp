#include "PdfWords.h"
#include "PrintFixture.h"
#include "print/PdfPrint.h"
#include "print/PrintText.h"

#include <QFile>
#include <algorithm>

namespace {

constexpr int kPdfDpi = 1200;

// Where the engine's formula puts an item's top-left corner on a PDF page, in millimetres:
// the rounded device pixel of the position, x moved right by twice the average width of a
// 宋体 of `size` points (half its pixel size).
QPointF expectedMm(int x, int y, int size)
{
    const int average = qRound(size * kPdfDpi / 72.0) / 2;
    const int px = PrintText::deviceCoordinate(x, kPdfDpi) + 2 * average;
    const int py = PrintText::deviceCoordinate(y, kPdfDpi);
    return QPointF(px, py) * 25.4 / kPdfDpi;
}

} // namespace

class PdfPrint : public PrintFixture
{
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        exec("delete from NameDict", {});
        addDictItem("快递单", "ZDSKR", "TEXT", 1);
        addDictItem("快递单", "ZDJE", "TEXT", 2);
        addItem(kTemplate, "ZDSKR", 300, 200, {{"CtlFontSize", 12}});
        addItem(kTemplate, "ZDJE", 600, 800, {{"FitParam", "50"}});
    }

    QString pdfPath() const { return home.path() + "bill.pdf"; }

    bool printOne(const QString &receiver, const QString &amount)
    {
        BillValues bill;
        bill.set("zdSKR", receiver);
        bill.set("zdJE", amount);
        return printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::ExpressSlip,
                               kTemplate, {bill}, pdfPath());
    }
};

TEST_F(PdfPrint, ItemsLandWhereTheFormulaSaysOnTheTemplatesPaper)
{
    addTemplate(kTemplate, 15, -20);
    ASSERT_TRUE(printOne(QStringLiteral("张三丰"), "789"));
    const auto pages = readPdfWords(pdfPath());
    ASSERT_EQ(pages.size(), 1u) << "pdftotext could not read " << pdfPath().toStdString();
    EXPECT_NEAR(pages[0].sizeMm.width(), 230.0, 0.2);
    EXPECT_NEAR(pages[0].sizeMm.height(), 127.0, 0.2);

    ASSERT_EQ(pages[0].words.size(), 4u);
    const PdfWord &receiver = pages[0].words[0];
    EXPECT_EQ(receiver.text, QStringLiteral("张三丰"));
    const QPointF at = expectedMm(315, 180, 12);
    EXPECT_NEAR(receiver.x, at.x(), 0.2);
    EXPECT_NEAR(receiver.y, at.y(), 0.2);
    // 31.5 mm plus two average widths of a 12 point face, 18 mm down.
    EXPECT_NEAR(receiver.x, 31.5 + 2 * 6 * 25.4 / 72, 0.2);
    EXPECT_NEAR(receiver.y, 18.0, 0.2);

    for (int i = 0; i < 3; ++i) {
        const PdfWord &digit = pages[0].words[1 + i];
        EXPECT_EQ(digit.text, QString::number(7 + i));
        EXPECT_NEAR(digit.x, expectedMm(615 + 50 * i, 780, 10).x(), 0.2);
        EXPECT_NEAR(digit.y, expectedMm(615, 780, 10).y(), 0.2);
    }
    // The last cell: 61.5 mm and two 5 mm pitches, plus two widths of a 10 point face.
    EXPECT_NEAR(pages[0].words[3].x, 71.5 + 2 * 5 * 25.4 / 72, 0.2);
    EXPECT_NEAR(pages[0].words[3].y, 78.0, 0.2);
}

TEST_F(PdfPrint, LandscapeFormKeepsItsOwnPaperAndPositions)
{
    addTemplate(kTemplate, 0, 0, "1", 2100, 990);
    ASSERT_TRUE(printOne("Receiver", ""));
    const auto pages = readPdfWords(pdfPath());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].sizeMm.width(), 210.0, 0.2);
    EXPECT_NEAR(pages[0].sizeMm.height(), 99.0, 0.2);
    ASSERT_EQ(pages[0].words.size(), 1u);
    EXPECT_NEAR(pages[0].words[0].x, expectedMm(300, 200, 12).x(), 0.2);
    EXPECT_NEAR(pages[0].words[0].y, expectedMm(300, 200, 12).y(), 0.2);
}

TEST_F(PdfPrint, ManyBillsOnePagePerBillAndNoFileWhenNothingPrinted)
{
    addTemplate(kTemplate, 0, 0);
    std::vector<BillValues> bills(3);
    for (int i = 0; i < 3; ++i)
        bills[i].set("ZDSKR", QStringLiteral("收件人%1").arg(i + 1));
    ASSERT_TRUE(printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::ExpressSlip,
                                kTemplate, bills, pdfPath()));
    const auto pages = readPdfWords(pdfPath());
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[2].words.at(0).text, QStringLiteral("收件人3"));

    QFile::remove(pdfPath());
    EXPECT_FALSE(printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::ExpressSlip, 999,
                                 bills, pdfPath()));
    EXPECT_FALSE(QFile::exists(pdfPath()));
}

// The shipped draft's bank number and bank address rows are 3.1 mm high on the paper; their
// text must stay inside them, or it runs into the printed lines of the form.
TEST(ShippedDraftOnPdf, BankNumberAndAddressFitTheirRows)
{
    TestHome home;
    constexpr int kDraft = 3;
    BillValues bill;
    bill.set("zdOutBankNO", "102100099996");
    bill.set("zdOutBankAddr", "北京市西城区复兴门内大街");
    const QString pdf = home.path() + "draft.pdf";
    ASSERT_TRUE(printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::AcceptanceDraft,
                                kDraft, {bill}, pdf));
    const auto pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    // Rows of the shipped template: top and height in tenths of a millimetre.
    const struct
    {
        const char *text;
        int top, height;
    } rows[] = {{"102100099996", 602, 31}, {"北京市西城区复兴门内大街", 657, 31}};
    for (const auto &row : rows) {
        const auto word = std::find_if(pages[0].words.begin(), pages[0].words.end(),
                                       [&](const PdfWord &w) { return w.text == row.text; });
        ASSERT_NE(word, pages[0].words.end())
            << row.text << " in " << pageText(pages[0]).toStdString();
        EXPECT_GE(word->y, row.top / 10.0 - 0.1) << row.text;
        EXPECT_LE(word->y + word->height, (row.top + row.height) / 10.0 + 0.1)
            << row.text << ": " << word->height << " mm high";
    }
}
