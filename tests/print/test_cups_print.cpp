#include "PdfWords.h"
#include "PrintFixture.h"
#include "print/PdfPrint.h"
#include "print/PrintJob.h"
#include "print/QtPrintDevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cups/cups.h>
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

// The ink's bounding box of a PDF's first page at 300 dpi, in millimetres.
QRectF inkBox(const QString &pdf, const QString &workDir)
{
    constexpr int kDpi = 300;
    const QString base = workDir + u"/ink";
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {"-r", QString::number(kDpi), "-gray", "-f", "1", "-singlefile", pdf, base});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        return {};
    QFile file(base + u".pgm");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pgm = file.readAll();
    // "P5\n<w> <h>\n255\n" then one byte per pixel.
    const QList<QByteArray> header = pgm.left(64).split('\n');
    const QList<QByteArray> size = header.value(1).split(' ');
    const int w = size.value(0).toInt();
    const int h = size.value(1).toInt();
    const qsizetype start = header[0].size() + header[1].size() + header[2].size() + 3;
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const char *row = pgm.constData() + start + qsizetype(y) * w;
        for (int x = 0; x < w; ++x) {
            if (static_cast<unsigned char>(row[x]) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    const double mm = 25.4 / kDpi;
    return QRectF(left * mm, top * mm, (right - left + 1) * mm, (bottom - top + 1) * mm);
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

TEST_F(CupsPrint, BillThroughARealQueueLandsWhereThePdfPutsIt)
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
    addDictItem("快递单", "ZDSKR", "TEXT", 1);
    addTemplate(kTemplate, 15, -20);
    addItem(kTemplate, "ZDSKR", 300, 200, {{"CtlFontSize", 14}});

    const QString title = QStringLiteral("lanyan-test-%1").arg(QCoreApplication::applicationPid());
    device->printer().setDocName(title);
    const QueueOutput output(QString::fromLocal8Bit(getpwuid(geteuid())->pw_dir) + u"/PDF", title);
    PrintJob job(engine(), BillKind::ExpressSlip);
    ASSERT_TRUE(job.PrintPrepare(kTemplate));
    ASSERT_TRUE(job.PrinterTransBegin(1));
    ASSERT_TRUE(job.SendCheckToPrinter([](const QString &) { return QStringLiteral("张三丰"); }));
    ASSERT_TRUE(job.PrinterTransEnd()) << home.ui.texts().join('|').toStdString();

    const QString printed = waitForOutput(output.dir, title);
    ASSERT_FALSE(printed.isEmpty()) << "cups-pdf wrote nothing into " << output.dir.toStdString();

    // The same bill straight to PDF, the reference the queue must match.
    BillValues bill;
    bill.set("ZDSKR", QStringLiteral("张三丰"));
    const QString direct = home.path() + u"direct.pdf";
    ASSERT_TRUE(printBillsToPdf(home.db(), home.ui, home.settings(), BillKind::ExpressSlip,
                                kTemplate, {bill}, direct));

    const auto pages = readPdfWords(printed);
    ASSERT_FALSE(pages.empty());
    EXPECT_NEAR(pages[0].sizeMm.width(), 230.0, 0.5);
    EXPECT_NEAR(pages[0].sizeMm.height(), 127.0, 0.5);
    const QRectF viaCups = inkBox(printed, home.path());
    const QRectF straight = inkBox(direct, home.path());
    ASSERT_FALSE(viaCups.isEmpty());
    ASSERT_FALSE(straight.isEmpty());
    // Positions count from the printable area: across by the printer's left margin, down from
    // the paper's edge (the physical top offset is taken off).
    const double leftMargin =
        device->printer().pageLayout().margins(QPageLayout::Millimeter).left();
    EXPECT_NEAR(viaCups.left(), straight.left() + leftMargin, 0.2);
    EXPECT_NEAR(viaCups.top(), straight.top(), 0.2);
    EXPECT_NEAR(viaCups.width(), straight.width(), 0.3);
    // And the reference sits where the item says: 31.5 mm and two widths of a 14 point face
    // across, 18 mm down; the ink starts a little inside each glyph's box.
    EXPECT_NEAR(straight.left(), 31.5 + 2 * 7 * 25.4 / 72, 0.4);
    EXPECT_NEAR(straight.top(), 18.0, 0.5);
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
