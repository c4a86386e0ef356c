#include "../../print/PdfWords.h"
#include "FakeBillHost.h"
#include "TestHome.h"
#include "batch/ui/TfrmMutiPrint.h"
#include "batch/ui/TfrmMutiPrintCDHP.h"
#include "bills/ui/TfmCheckCDHP.h"
#include "bills/ui/TfmCheckKDD.h"
#include "cli/PrintCommand.h"
#include "print/PrintEngine.h"
#include "print/QtPrintDevice.h"

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kDrafts = QStringLiteral(LANYAN_SOURCE_DIR "/tests/batch/ui/fixtures/drafts.xlsx");

int printByCommand(TestHome &home, int templateId, const QString &values, const QString &pdf)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    PrintRequest request;
    request.templateText = QString::number(templateId);
    request.valuesFile = values;
    request.pdf = pdf;
    const int code = PrintCommand(home.services(), o, e).run(request);
    EXPECT_EQ(code, PrintCommand::Done) << err.toStdString();
    return code;
}

// The rows the command put in the batch list, printed again by the window's button.
QString printFromWindow(TestHome &home, QWidget &window, const char *button)
{
    const QString pdf = home.path() + u"window.pdf";
    home.services().printEngine().setDevice(QtPrintDevice::pdfFile(pdf));
    auto *b = window.findChild<QPushButton *>(QString::fromLatin1(button));
    EXPECT_TRUE(b && b->isVisible() && b->isEnabled()) << button;
    if (b)
        QTest::mouseClick(b, Qt::LeftButton);
    return pdf;
}

// Every word of every page at the same place, to a hundredth of a millimetre.
void expectSamePages(const QString &window, const QString &command, size_t pages)
{
    const auto a = readPdfWords(window);
    const auto b = readPdfWords(command);
    ASSERT_EQ(a.size(), pages);
    ASSERT_EQ(b.size(), pages);
    for (size_t p = 0; p < pages; ++p) {
        ASSERT_EQ(a[p].words.size(), b[p].words.size()) << "page " << p;
        ASSERT_FALSE(a[p].words.empty());
        for (size_t w = 0; w < a[p].words.size(); ++w) {
            const PdfWord &x = a[p].words[w], &y = b[p].words[w];
            EXPECT_EQ(x.text, y.text) << "page " << p << " word " << w;
            EXPECT_NEAR(x.x, y.x, 0.01) << x.text.toStdString();
            EXPECT_NEAR(x.y, y.y, 0.01) << x.text.toStdString();
        }
    }
}

} // namespace

// The command line and the batch windows print the same bills: same words, same places.
TEST(PrintCommandWindow, DraftsPrintAsTheBatchWindowPrintsThem)
{
    TestHome home;
    FakeBillHost host(home.services());
    TfmCheckCDHP form(host);
    form.show();
    const QString command = home.path() + u"command.pdf";
    ASSERT_EQ(printByCommand(home, form.currentTemplate(), kDrafts, command), PrintCommand::Done);

    TfrmMutiPrintCDHP window(home.services(), {});
    window.show();
    window.refresh();
    expectSamePages(printFromWindow(home, window, "btStartPrint"), command, 3);
}

TEST(PrintCommandWindow, SlipsPrintAsTheBatchWindowPrintsThem)
{
    TestHome home;
    FakeBillHost host(home.services());
    TfmCheckKDD form(host);
    form.show();
    const QString csv = home.path() + u"slips.csv";
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("全称,联系人,电话,地址,市,件数\n"
                           "北京远景贸易,张三,010-1234,朝阳区一号,北京,2\n"
                           "上海百川实业,李四,021-5678,浦东新区二号,上海,3\n")
                .toUtf8());
    f.close();
    const QString command = home.path() + u"command.pdf";
    ASSERT_EQ(printByCommand(home, form.currentTemplate(), csv, command), PrintCommand::Done);

    TfrmMutiPrint window(home.services(), {});
    window.show();
    window.ALoadGridData();
    expectSamePages(printFromWindow(home, window, "btPrintAll"), command, 2);
}
