#include "PdfWords.h"
#include "PrintFixture.h"
#include "base/FontMap.h"
#include "print/PdfPrint.h"
#include "print/PrintJob.h"
#include "print/QtPrintDevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTransform>
#include <climits>
#include <cups/cups.h>
#include <iostream>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString kQueue = QStringLiteral("LanyanPDF");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

// A CUPS server of our own, on a private socket, with one cups-pdf queue; it never touches the
// machine's own printers. `problem` says why it could not start.
class PrivateCups
{
public:
    PrivateCups()
    {
        for (const QString &needed :
             {QStringLiteral("/usr/sbin/cupsd"), QStringLiteral("/usr/sbin/lpadmin"),
              QStringLiteral("/usr/lib/cups/backend/cups-pdf"), kPpd}) {
            if (!QFile::exists(needed)) {
                problem = needed + u" is not installed (scripts/install-deps)";
                return;
            }
        }
        if (geteuid() != 0) {
            problem = QStringLiteral("the cups-pdf backend runs only for a CUPS server started "
                                     "as root");
            return;
        }
        const QString d = m_dir.path();
        for (const char *sub : {"spool", "cache", "state", "log", "tmp"})
            QDir(d).mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(d + u"/tmp", QFileDevice::Permissions(0x7777));
        socket = d + u"/cups.sock";
        write(d + u"/cupsd.conf", u"Listen " + socket +
                                      u"\nBrowsing Off\nWebInterface No\nDefaultAuthType None\n"
                                      u"<Location />\n Order allow,deny\n Allow all\n</Location>\n"
                                      u"<Policy default>\n <Limit All>\n  Order deny,allow\n"
                                      u"  Allow all\n </Limit>\n</Policy>\n");
        write(d + u"/cups-files.conf",
              u"ServerRoot " + d + u"\nRequestRoot " + d + u"/spool\nCacheDir " + d +
                  u"/cache\nStateDir " + d + u"/state\nTempDir " + d + u"/tmp\nAccessLog " + d +
                  u"/log/access_log\nErrorLog " + d + u"/log/error_log\nPageLog " + d +
                  u"/log/page_log\nPrintcap " + d + u"/printcap\n");
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                      {"-f", "-c", d + u"/cupsd.conf", "-s", d + u"/cups-files.conf"});
        m_cupsd.waitForStarted(5000);
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(socket) && waited.elapsed() < 10000 &&
               m_cupsd.state() != QProcess::NotRunning)
            QThread::msleep(100);
        if (!QFile::exists(socket)) {
            problem = u"cupsd did not start: " + QString::fromLocal8Bit(m_cupsd.readAll());
            return;
        }
        QProcess lpadmin;
        lpadmin.start(QStringLiteral("/usr/sbin/lpadmin"),
                      {"-h", socket, "-p", kQueue, "-v", "cups-pdf:/", "-E", "-P", kPpd});
        if (!lpadmin.waitForFinished(20000) || lpadmin.exitCode() != 0) {
            problem = u"lpadmin failed: " + QString::fromLocal8Bit(lpadmin.readAllStandardError());
            return;
        }
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        cupsSetServer(socket.toLocal8Bit().constData());
    }

    ~PrivateCups()
    {
        if (m_cupsd.state() == QProcess::NotRunning)
            return;
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(5000))
            m_cupsd.kill();
        m_cupsd.waitForFinished(2000);
    }

    QString problem;
    QString socket;

private:
    static void write(const QString &path, const QString &text)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
    }

    QTemporaryDir m_dir;
    QProcess m_cupsd;
};

// A PDF's first page at 300 dpi in grey, to measure ink on.
constexpr int kDpi = 300;
QImage renderPage(const QString &pdf, const QString &workDir)
{
    const QString base = workDir + u"/ink";
    QFile::remove(base + u".pgm");
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {"-r", QString::number(kDpi), "-gray", "-f", "1", "-singlefile", pdf, base});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        return {};
    return QImage(base + u".pgm");
}

// The bounding box of the ink inside a region of the page, both in millimetres.
QRectF inkBox(const QImage &page, const QRectF &regionMm)
{
    const double px = kDpi / 25.4;
    const QRect region = QRect(int(regionMm.left() * px), int(regionMm.top() * px),
                               int(regionMm.width() * px), int(regionMm.height() * px))
                             .intersected(page.rect());
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const uchar *row = page.constScanLine(y);
        for (int x = region.left(); x <= region.right(); ++x) {
            if (row[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRectF(left / px, top / px, (right - left + 1) / px, (bottom - top + 1) / px);
}

// One item of a fixture template and where its ink must start on the paper, worked out here
// from the template's numbers alone.
struct InkItem
{
    QString name;
    int x; // 0.1 mm, as the template stores it
    int y;
    QString face;
    int pointSize;
    QString fitParam;
    QString value;
    int moneyShift = 0; // 0.1 mm the draft's currency code moves left

    // The text's box starts two average widths right of the item's x; a Chinese face's
    // average width is half its size, so the two make one em. Down, the box starts at y. The
    // ink then starts where the first glyph's ink does inside that box.
    QPointF expectedInkMm(int xMove, int yMove) const
    {
        const double em = pointSize * 25.4 / 72;
        // The glyph's own ink inside its box, from the font, measured at 1200 pixels an inch.
        QFont font(installedFontFamily(face));
        font.setPixelSize(qRound(pointSize * 1200 / 72.0));
        const QFontMetricsF metrics(font);
        // Across, the first glyph's ink; down, the highest ink of any glyph of the value.
        const double left = metrics.tightBoundingRect(value.left(1)).left();
        const double top = metrics.tightBoundingRect(value).top();
        const double mmPerPx = 25.4 / 1200;
        return {(x + xMove - moneyShift) / 10.0 + em + left * mmPerPx,
                (y + yMove) / 10.0 + (metrics.ascent() + top) * mmPerPx};
    }
};

struct InkBill
{
    BillKind kind;
    QString kindName;
    int xMove;
    int yMove;
    QString moneyCode;
    std::vector<InkItem> items;
    QString hv = QStringLiteral("0"); // "1": the form is fed sideways
    QSize paper{2300, 1270};          // 0.1 mm
};

const std::vector<InkBill> &inkBills()
{
    static const std::vector<InkBill> bills{
        {BillKind::ExpressSlip,
         QStringLiteral("快递单"),
         15,
         -20,
         {},
         {{"ZDSKR", 300, 200, "宋体", 14, {}, "张三丰"},
          {"ZDSKRDH", 1400, 450, "楷体", 12, {}, "李四"},
          {"ZDJE", 1700, 900, "宋体", 12, "45", "5678"}}},
        // The three-letter currency code moves left by (3 - 2) cells of 4.5 mm, less 0.4 mm.
        {BillKind::AcceptanceDraft,
         QStringLiteral("承兑汇票"),
         -10,
         30,
         QStringLiteral("USD"),
         {{"ZDCPR", 200, 250, "宋体", 12, {}, "岚砚公司"},
          {"ZDHB", 600, 800, "宋体", 12, {}, "USD", (3 - 2) * 45 - 4},
          {"ZDQY", 1200, 800, "宋体", 12, "45", "1"},
          {"ZDBY", 1245, 1000, "宋体", 12, "45", "2"}}},
        // A narrow form of its own size, fed sideways.
        {BillKind::ExpressSlip,
         QStringLiteral("快递单"),
         0,
         0,
         {},
         {{"ZDSKR", 300, 200, "宋体", 12, {}, "王五"},
          {"ZDSKRDH", 1500, 700, "宋体", 12, {}, "赵六"}},
         QStringLiteral("1"),
         {2100, 990}},
    };
    return bills;
}

// Takes what the queue wrote for one document out of its output folder, and the folder too when
// it was made for it, however the test ends.
class QueueOutput
{
public:
    QueueOutput(QString dir, QString title)
        : dir(std::move(dir))
        , m_title(std::move(title))
        , m_existed(QDir(this->dir).exists())
    {}
    ~QueueOutput()
    {
        QDir folder(dir);
        for (const QString &file : folder.entryList({m_title + u'*'}, QDir::Files))
            folder.remove(file);
        if (!m_existed)
            QDir().rmdir(dir); // only when empty: others may print there too
    }
    QueueOutput(const QueueOutput &) = delete;
    QueueOutput &operator=(const QueueOutput &) = delete;

    const QString dir;

private:
    QString m_title;
    bool m_existed;
};

QString waitForOutput(const QString &dir, const QString &title)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60000) {
        const QStringList found = QDir(dir).entryList({title + u"*.pdf"}, QDir::Files);
        if (!found.isEmpty()) {
            QThread::msleep(500); // cups-pdf may still be writing it
            return dir + u'/' + found.front();
        }
        QThread::msleep(200);
    }
    return {};
}

} // namespace

class CupsPrint : public PrintFixture
{};

// Every value of both bill kinds prints through a real queue where the template puts it on
// the paper, as the PDF written directly does.
TEST_F(CupsPrint, EveryItemThroughARealQueueLandsAtItsTemplatePosition)
{
    PrivateCups cups;
    if (!cups.problem.isEmpty())
        GTEST_SKIP() << "CUPS cannot start on this machine, so nothing was printed: "
                     << cups.problem.toStdString();

    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(kQueue));
    auto owned = std::make_unique<QtPrintDevice>();
    QtPrintDevice *device = owned.get();
    engine().setDevice(std::move(owned));
    engine().setDefaultPrinter(kQueue.toLower());
    ASSERT_EQ(engine().selectedPrinter(), kQueue);
    ASSERT_EQ(device->printer().printerName(), kQueue);
    exec("delete from NameDict", {});

    double worstX = 0, worstY = 0;
    int id = kTemplate;
    for (const InkBill &bill : inkBills()) {
        ++id;
        SCOPED_TRACE(bill.kindName.toStdString());
        addTemplate(id, bill.xMove, bill.yMove, bill.hv, bill.paper.width(), bill.paper.height());
        BillValues values;
        values.setMoneyCode(bill.moneyCode);
        int order = 0;
        for (const InkItem &item : bill.items) {
            addDictItem(bill.kindName, item.name, "TEXT", ++order);
            QVariantMap more{{"CtlFontName", item.face}, {"CtlFontSize", item.pointSize}};
            if (!item.fitParam.isEmpty())
                more["FitParam"] = item.fitParam;
            addItem(id, item.name, item.x, item.y, more);
            values.set(item.name, item.value);
        }

        const QString title =
            QStringLiteral("lanyan-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(id);
        device->printer().setDocName(title);
        const QueueOutput output(QString::fromLocal8Bit(getpwuid(geteuid())->pw_dir) + u"/PDF",
                                 title);
        PrintJob job(engine(), bill.kind);
        ASSERT_TRUE(job.PrintPrepare(id));
        ASSERT_TRUE(job.PrinterTransBegin(1));
        ASSERT_TRUE(job.SendCheckToPrinter(
            [&values](const QString &name) { return values.value(name); }, values.moneyCode()));
        ASSERT_TRUE(job.PrinterTransEnd()) << home.ui.texts().join('|').toStdString();
        const QString printed = waitForOutput(output.dir, title);
        ASSERT_FALSE(printed.isEmpty())
            << "cups-pdf wrote nothing into " << output.dir.toStdString();
        const auto pages = readPdfWords(printed);
        ASSERT_FALSE(pages.empty());
        // Fed sideways, the paper is upright and the form lies across it, turned a quarter
        // to the left.
        const bool sideways = bill.hv == u"1";
        const QSizeF paperMm = QSizeF(bill.paper) / 10;
        const QSizeF pageMm = sideways ? pages[0].sizeMm.transposed() : pages[0].sizeMm;
        EXPECT_NEAR(pageMm.width(), paperMm.width(), 0.5);
        EXPECT_NEAR(pageMm.height(), paperMm.height(), 0.5);
        // The queue takes a custom paper size in whole points and drops the fraction (651.97
        // becomes 651); it centres the slightly larger page on that paper. That half point is
        // the queue's, not the placement's.
        const QPointF centring((pageMm.width() - paperMm.width()) / 2,
                               (pageMm.height() - paperMm.height()) / 2);

        const QString direct = home.path() + u"direct.pdf";
        ASSERT_TRUE(
            printBillsToPdf(home.db(), home.ui, home.settings(), bill.kind, id, {values}, direct));
        const QImage straight = renderPage(direct, home.path());
        QImage queued = renderPage(printed, home.path());
        if (sideways)
            queued = queued.transformed(QTransform().rotate(90));
        ASSERT_FALSE(straight.isNull());
        ASSERT_FALSE(queued.isNull());
        for (const InkItem &item : bill.items) {
            SCOPED_TRACE(item.name.toStdString());
            const QPointF expected = item.expectedInkMm(bill.xMove, bill.yMove);
            // Only this item's ink: from a little before where it should start, wide enough for
            // the whole value (its highest glyph need not be the first), short of the next item.
            const QRectF region(expected - QPointF(3, 3), QSizeF(25, 8));
            const QRectF viaPdf = inkBox(straight, region);
            const QRectF viaCups = inkBox(queued, region);
            ASSERT_FALSE(viaPdf.isEmpty());
            ASSERT_FALSE(viaCups.isEmpty());
            EXPECT_NEAR(viaPdf.left(), expected.x(), 0.2);
            EXPECT_NEAR(viaPdf.top(), expected.y(), 0.2);
            EXPECT_NEAR(viaCups.left(), expected.x() + centring.x(), 0.2);
            EXPECT_NEAR(viaCups.top(), expected.y() + centring.y(), 0.2);
            worstX = std::max(worstX, std::abs(viaCups.left() - expected.x() - centring.x()));
            worstY = std::max(worstY, std::abs(viaCups.top() - expected.y() - centring.y()));
        }
    }
    std::cout << "largest distance from the template position through the queue: across " << worstX
              << " mm, down " << worstY << " mm\n";
}

TEST_F(CupsPrint, VanishedQueueIsAPrinterErrorNotAPrintedBill)
{
    PrivateCups cups;
    if (!cups.problem.isEmpty())
        GTEST_SKIP() << "CUPS cannot start on this machine: " << cups.problem.toStdString();
    auto owned = std::make_unique<QtPrintDevice>();
    engine().setDevice(std::move(owned));
    engine().setDefaultPrinter(kQueue);
    addTemplate(kTemplate, 0, 0);

    PrintJob job(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(job.PrintPrepare(kTemplate) && job.PrinterTransBegin(1));
    QProcess remove;
    remove.start(QStringLiteral("/usr/sbin/lpadmin"), {"-h", cups.socket, "-x", kQueue});
    ASSERT_TRUE(remove.waitForFinished(20000));
    EXPECT_FALSE(job.PrinterTransEnd());
    EXPECT_TRUE(home.ui.last().text.startsWith(QStringLiteral("打印出错，请检查打印机是否可用！")));
}
