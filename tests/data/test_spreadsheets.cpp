#include "base/Gbk.h"
#include "data/Spreadsheets.h"
#include "data/spreadsheet/CsvReader.h"
#include "data/spreadsheet/XlsxReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <sys/resource.h>

// The fixtures were saved by a real spreadsheet program from sheet.fods: the same two sheets
// as .xlsx and .xls, and the first sheet as UTF-8 .csv.

namespace {

const QString kFixtures = QStringLiteral(LANYAN_SOURCE_DIR "/tests/data/fixtures/");

const QList<QStringList> kSheet = {
    {"姓名", "电话", "账号", "金额", "日期", "地址"},
    {"张三", "13800138000", "622202123456789012", "1234.5", "2024-05-01",
     "北京市海淀区中关村大街1号"},
    {"李四", "010-88886666", "000123456789012345", "-12.75", "2023-12-31", "上海市,浦东新区"},
    {"王\"五\"", "", "6222 0212", "100", "", "广州市\n天河区"},
};

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// A zip package with one entry.
QByteArray zipOf(const QString &name, const QByteArray &content)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    QuaZipFile entry(&zip);
    entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
    entry.write(content);
    entry.close();
    zip.close();
    return bytes;
}

void expectSheet(const SpreadsheetReader &reader, const QList<QStringList> &sheet)
{
    ASSERT_EQ(reader.usedRows(), sheet.size()) << reader.path().toStdString();
    ASSERT_EQ(reader.usedColumns(), sheet[0].size());
    EXPECT_EQ(reader.usedCells(), sheet.size() * sheet[0].size());
    for (int r = 0; r < sheet.size(); ++r) {
        for (int c = 0; c < sheet[r].size(); ++c)
            EXPECT_EQ(reader.cellText(r + 1, c + 1), sheet[r][c])
                << reader.path().toStdString() << " cell " << r + 1 << "," << c + 1;
    }
    EXPECT_EQ(reader.cellText(sheet.size() + 1, 1), QString());
    EXPECT_EQ(reader.cellText(1, sheet[0].size() + 1), QString());
}

} // namespace

TEST(Spreadsheets, EveryFormatGivesTheSameCellTexts)
{
    QTemporaryDir dir;
    // The Chinese office suite's .et workbooks are the binary format under another name.
    const QString et = dir.filePath("sheet.et");
    QFile::copy(kFixtures + "sheet.xls", et);
    const QStringList workbookSheets = {"收件人", "说明"};
    const struct
    {
        QString path;
        QStringList sheets;
    } cases[] = {
        {kFixtures + "sheet.xlsx", workbookSheets},
        {kFixtures + "sheet.xls", workbookSheets},
        {et, workbookSheets},
        {kFixtures + "sheet.csv", {"sheet"}},
    };
    Spreadsheets spreadsheets;
    for (const auto &c : cases) {
        QString error;
        const std::unique_ptr<SpreadsheetReader> reader = spreadsheets.open(c.path, error);
        ASSERT_TRUE(reader) << error.toStdString();
        EXPECT_TRUE(error.isEmpty());
        EXPECT_EQ(reader->sheetNames(), c.sheets);
        EXPECT_EQ(reader->activeSheet(), 0);
        expectSheet(*reader, kSheet);
    }
}

TEST(Spreadsheets, ActivatingAnotherSheetReadsIt)
{
    for (const char *name : {"sheet.xlsx", "sheet.xls"}) {
        QString error;
        auto reader = Spreadsheets().open(kFixtures + name, error);
        ASSERT_TRUE(reader) << error.toStdString();
        ASSERT_TRUE(reader->activate(1));
        EXPECT_EQ(reader->activeSheet(), 1);
        expectSheet(*reader, {{"备注"}});
        EXPECT_FALSE(reader->activate(2));
        EXPECT_EQ(reader->activeSheet(), 1) << "a failed switch keeps the sheet";
        EXPECT_EQ(reader->cellText(1, 1), "备注");
    }
}

TEST(Spreadsheets, CsvIsReadAsUtf8WithOrWithoutMarkElseGbk)
{
    const QString text = QString::fromUtf8(bytesOf(kFixtures + "sheet.csv"));
    const QByteArray encodings[] = {text.toUtf8(), "\xEF\xBB\xBF" + text.toUtf8(),
                                    Gbk::encode(text)};
    for (const QByteArray &bytes : encodings) {
        CsvReader reader(QStringLiteral("x.csv"), bytes);
        ASSERT_TRUE(reader.load());
        expectSheet(reader, kSheet);
    }
}

TEST(Spreadsheets, CsvQuotingAndLineEnds)
{
    CsvReader reader(QStringLiteral("x.csv"),
                     "a,\"b,c\",\"d\"\"e\"\r\n\"x\r\ny\",,z\"q\r\n\r\n,,,\n");
    ASSERT_TRUE(reader.load());
    expectSheet(reader, {{"a", "b,c", "d\"e"}, {"x\r\ny", "", "z\"q"}});
}

TEST(Spreadsheets, CsvAsShopsWriteIt)
{
    const QString title = QStringLiteral("订单号\t收货人\t电话\r\n");
    QByteArray utf16 = "\xFF\xFE";
    const QString unicodeText = title + QStringLiteral("=\"00123\"\t张三\t\"010-1\"\r\n");
    utf16.append(reinterpret_cast<const char *>(unicodeText.utf16()), unicodeText.size() * 2);
    const struct
    {
        const char *what;
        QByteArray bytes;
        QList<QStringList> sheet;
    } cases[] = {
        {"UTF-16 with tabs, as a \"Unicode text\" save",
         utf16,
         {{"订单号", "收货人", "电话"}, {"00123", "张三", "010-1"}}},
        {"semicolons, Excel-safe cells raw and quoted",
         QString("订单号;收货人;备注\n=\"0012;3\";\"=\"\"007\"\"\";a,b\n").toUtf8(),
         {{"订单号", "收货人", "备注"}, {"0012;3", "007", "a,b"}}},
        {"tabs in GBK, a comma inside the title text",
         Gbk::encode("收货人\t地址,门牌\t电话\n李四\t路,1号\t2\n"),
         {{"收货人", "地址,门牌", "电话"}, {"李四", "路,1号", "2"}}},
        {"a quoted title with separators of another kind",
         QByteArray("\xEF\xBB\xBF\"a;b\tc\",d\n1,2\n"),
         {{"a;b\tc", "d"}, {"1", "2"}}},
        {"formula-looking texts that are not wrapped cells",
         QByteArray("a,b\n=1+2,\"=\"\"x\"\" y\"\n"),
         {{"a", "b"}, {"=1+2", "=\"x\" y"}}},
    };
    for (const auto &c : cases) {
        CsvReader reader(QStringLiteral("x.csv"), c.bytes);
        ASSERT_TRUE(reader.load()) << c.what << reader.error().toStdString();
        expectSheet(reader, c.sheet);
    }
}

TEST(Spreadsheets, CsvThatWouldBeMisreadIsRefusedNamingTheLine)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
        const char *line;
    } cases[] = {
        {"a quote left open swallows the rows after it", "姓名,电话\n甲,1\n\"乙,2\n丙,3\n丁,4\n",
         "第 3 行的双引号"},
        {"a byte GBK has no character for", Gbk::encode("姓名\n甲\n") + "\xFF\x80\n",
         "第 3 行含有无法识别的字符"},
        {"a lone lead byte at the end of a line", Gbk::encode("姓名\n") + "\xB0\n",
         "第 2 行含有无法识别的字符"},
        {"the user-defined area, a private-use character",
         Gbk::encode("姓名\n甲\n乙\n") + "\xAA\xA1\n", "第 4 行含有无法识别的字符"},
    };
    for (const auto &c : cases) {
        CsvReader reader(QStringLiteral("x.csv"), c.bytes);
        EXPECT_FALSE(reader.load()) << c.what;
        EXPECT_TRUE(reader.error().contains(QString::fromUtf8(c.line)))
            << c.what << ": " << reader.error().toStdString();
        EXPECT_TRUE(reader.error().contains("x.csv")) << c.what;
    }
}

TEST(Spreadsheets, BadFilesAreRefusedWithTheFileNamed)
{
    QTemporaryDir dir;
    const QByteArray xlsx = bytesOf(kFixtures + "sheet.xlsx");
    QByteArray xls = bytesOf(kFixtures + "sheet.xls");
    // A password-protected workbook is a compound file holding an encrypted package instead
    // of a workbook stream.
    const QByteArray workbook("W\0o\0r\0k\0b\0o\0o\0k\0\0\0", 18);
    const qsizetype at = xls.indexOf(workbook);
    ASSERT_GT(at, 0);
    const QByteArray encrypted("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0\0\0", 34);
    xls.replace(at, encrypted.size(), encrypted);
    xls[at + 64] = char(encrypted.size());
    // A directory entry whose name length reaches past its 64 bytes.
    QByteArray longName = bytesOf(kFixtures + "sheet.xls");
    const qsizetype directory = (qFromLittleEndian<quint32>(longName.constData() + 48) + 1) * 512;
    longName[directory + 64] = char(0xFF);
    longName[directory + 65] = char(0xFF);

    const struct
    {
        QString name;
        QByteArray bytes;
        QString says;
    } cases[] = {
        {"empty.xlsx", {}, "是空的"},
        {"empty.csv", {}, "是空的"},
        {"cut.xlsx", xlsx.left(xlsx.size() / 2), "已损坏"},
        {"noise.xls", QByteArray(300, 'x'), "已损坏"},
        {"locked.xlsx", xls, "密码"},
        {"long-name.xls", longName, "已损坏"},
        {"notes.txt", "a,b\n", "不支持"},
        {"other.xlsx", zipOf("readme.txt", "hello"), "已损坏"},
    };
    for (const auto &c : cases) {
        const QString path = writeFile(dir, c.name, c.bytes);
        QString error;
        EXPECT_FALSE(Spreadsheets().open(path, error)) << c.name.toStdString();
        EXPECT_TRUE(error.contains(c.says)) << error.toStdString();
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(Spreadsheets().open(dir.filePath("missing.xls"), error));
    EXPECT_TRUE(error.contains("找不到文件"));
}

TEST(Spreadsheets, BrokenCorpusNeverCrashes)
{
    // Inputs that once troubled the readers, kept so they stay harmless.
    const QDir corpus(kFixtures + "broken");
    const QFileInfoList files = corpus.entryInfoList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QFileInfo &file : files) {
        const QByteArray bytes = bytesOf(file.filePath());
        XlsxReader xlsx(file.fileName(), bytes);
        if (xlsx.load())
            xlsx.cellText(xlsx.usedRows(), xlsx.usedColumns());
        else
            EXPECT_FALSE(xlsx.error().isEmpty());
        // Binary bytes are refused as text that is neither UTF-8 nor GBK, or read as text.
        CsvReader csv(file.fileName(), bytes);
        if (!csv.load()) {
            EXPECT_FALSE(csv.error().isEmpty());
        }
    }
}

TEST(Spreadsheets, HostileFilesReadOrFailInLittleMemory)
{
    // Hand-made files aimed at recursion, padding, counters and loops: each gives a clear
    // error or reads right, without swallowing the memory. How fast is bench_spreadsheets'
    // concern; a loop without end is caught by the test's time-out.
    const struct
    {
        QString file;
        QString says; // empty: reads, and `cell` holds `text`
        int row = 1, column = 1;
        QString text;
    } cases[] = {
        {"nested-r.xlsx", {}, 1, 1, "x"},
        {"nested-is.xlsx", {}, 1, 1, "x"},
        {"nested-5000.xlsx", {}, 1, 1, "x"},
        {"nested-20000.xlsx", {}, 1, 1, "x"},
        {"nested-50000.xlsx", {}, 1, 1, "x"},
        {"wide-200.xlsx", {}, 200, 16384, "a"},
        {"wide-2000.xlsx", {}, 2000, 16384, "a"},
        {"neg-tab.xlsx", {}, 1, 1, "1"},
        {"sst-5m.xlsx", "过大", 0, 0, {}},
        {"row-overflow.xlsx", "已损坏", 0, 0, {}},
        {"many-sheets.xls", "过大", 0, 0, {}},
        // Binary workbooks a fuzzer made: a directory name longer than its field, a directory
        // whose offset wraps round in 32 bits, records running past the mini stream.
        {"dir-name.xls", "已损坏", 0, 0, {}},
        {"dir-wrap.xls", "已损坏", 0, 0, {}},
        {"mini-overrun.xls", "已损坏", 0, 0, {}},
    };
#ifdef __SANITIZE_ADDRESS__
    // Shadow memory swells the resident size: only a blow-up far beyond the bounds would show.
    const long kbLimit = 2 * 1024 * 1024;
#else
    const long kbLimit = 200 * 1024;
#endif
    for (const auto &c : cases) {
        const QString path = kFixtures + "hostile/" + c.file;
        QString error;
        const std::unique_ptr<SpreadsheetReader> reader = Spreadsheets().open(path, error);
        if (c.says.isEmpty()) {
            ASSERT_TRUE(reader) << c.file.toStdString() << ": " << error.toStdString();
            EXPECT_EQ(reader->cellText(c.row, c.column), c.text) << c.file.toStdString();
            EXPECT_EQ(reader->usedRows(), c.row);
            EXPECT_EQ(reader->usedColumns(), c.column);
        } else {
            EXPECT_FALSE(reader) << c.file.toStdString();
            EXPECT_TRUE(error.contains(c.says) && error.contains(QDir::toNativeSeparators(path)))
                << error.toStdString();
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        EXPECT_LT(usage.ru_maxrss, kbLimit) << "kB after " << c.file.toStdString();
    }
}

namespace {

// A zip package of these parts, written to `out`.
void writePackage(QIODevice &out, const std::vector<std::pair<QString, QByteArray>> &parts)
{
    QuaZip zip(&out);
    zip.open(QuaZip::mdCreate);
    for (const auto &[name, content] : parts) {
        QuaZipFile entry(&zip);
        entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
        entry.write(content);
        entry.close();
    }
    zip.close();
}

// A workbook with these worksheets, sheet1.xml, sheet2.xml, ..., and shared strings if any.
QByteArray workbookOfSheets(const QList<QByteArray> &sheets, const QByteArray &sharedStrings = {})
{
    QByteArray list, relations;
    std::vector<std::pair<QString, QByteArray>> parts;
    for (int i = 1; i <= sheets.size(); ++i) {
        const QByteArray n = QByteArray::number(i);
        list += "<sheet name=\"S" + n + "\" r:id=\"rId" + n + "\"/>";
        relations += "<Relationship Id=\"rId" + n +
                     "\" Type=\"x/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts.emplace_back("xl/worksheets/sheet" + n + ".xml", sheets[i - 1]);
    }
    if (!sharedStrings.isEmpty()) {
        relations += "<Relationship Id=\"rIdS\" Type=\"x/sharedStrings\" "
                     "Target=\"sharedStrings.xml\"/>";
        parts.emplace_back("xl/sharedStrings.xml", "<sst>" + sharedStrings + "</sst>");
    }
    parts.emplace_back("xl/workbook.xml",
                       "<workbook xmlns:r=\"urn:r\"><sheets>" + list + "</sheets></workbook>");
    parts.emplace_back("xl/_rels/workbook.xml.rels",
                       "<Relationships>" + relations + "</Relationships>");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    writePackage(buffer, parts);
    return bytes;
}

// A workbook of one sheet whose cells A1, A2, ... hold shared strings 0, 1, ...
QByteArray workbookOf(const QByteArray &sharedStrings, int cells)
{
    QByteArray sheet = "<worksheet><sheetData>";
    for (int i = 0; i < cells; ++i)
        sheet += "<row r=\"" + QByteArray::number(i + 1) + "\"><c r=\"A" +
                 QByteArray::number(i + 1) + "\" t=\"s\"><v>" + QByteArray::number(i) +
                 "</v></c></row>";
    sheet += "</sheetData></worksheet>";
    return workbookOfSheets({sheet}, sharedStrings);
}

// The process's resident memory and its peak since the last reset, in MB.
qint64 statusMb(const char *field)
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong() >> 10;
    return -1;
}

void resetPeak()
{
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace

TEST(Spreadsheets, SharedStringsAreBoundByCountAndBytesAndTheirMemoryGoesBack)
{
    QTemporaryDir dir;
    QByteArray strings;
    for (int i = 0; i < 1'000'000; ++i)
        strings += "<si><t>s" + QByteArray::number(i % 1000) + "</t></si>";
    const QString million = writeFile(dir, "million.xlsx", workbookOf(strings, 3));
    // Texts of 40 MB in memory are within the limit, of 72 MB beyond it.
    strings = "<si><t>" + QByteArray(1 << 20, 'x') + "</t></si>";
    const QString longText = writeFile(dir, "long.xlsx", workbookOf(strings.repeated(20), 20));
    const QString tooLong = writeFile(dir, "too-long.xlsx", workbookOf(strings.repeated(36), 2));
    strings.clear();
    strings.squeeze();

    const qint64 before = statusMb("VmRSS:");
    resetPeak();
    const bool peakWasReset = statusMb("VmHWM:") <= before + 5;
    {
        QString error;
        const auto reader = Spreadsheets().open(million, error);
        ASSERT_TRUE(reader) << error.toStdString();
        EXPECT_EQ(reader->cellText(3, 1), "s2");
    }
    {
        QString error;
        const auto reader = Spreadsheets().open(longText, error);
        ASSERT_TRUE(reader) << error.toStdString();
        EXPECT_EQ(reader->cellText(20, 1).size(), 1 << 20);
    }
    QString error;
    EXPECT_FALSE(Spreadsheets().open(tooLong, error));
    EXPECT_TRUE(error.contains("过大") && error.contains("64 MB")) << error.toStdString();
#ifndef __SANITIZE_ADDRESS__
    if (before < 0 || !peakWasReset)
        GTEST_SKIP() << "no resettable memory figures in /proc";
    EXPECT_LT(statusMb("VmHWM:") - before, 300);
    EXPECT_LT(statusMb("VmRSS:") - before, 30);
#endif
}

TEST(Spreadsheets, CellLimitGivesOneMessageNamingTheLimit)
{
    // A million and one cells in a plain CSV: refused whole, not read half-way.
    QByteArray csv;
    csv.reserve(4 * 1000001);
    for (int r = 0; r < 1000001; ++r)
        csv += "1\n";
    CsvReader reader(QStringLiteral("big.csv"), csv);
    EXPECT_FALSE(reader.load());
    EXPECT_TRUE(reader.error().contains("big.csv") && reader.error().contains("1000000"))
        << reader.error().toStdString();
    EXPECT_EQ(reader.usedRows(), 0);
}

TEST(Spreadsheets, LastCellOfTheLargestSheetCountsAllCellsWithoutOverflow)
{
    // Two cells with text: A1 and XFD1048576, the sheet's far corner.
    const QByteArray csv = "a" + QByteArray(16383, ',') + QByteArray(1048575, '\n') + "," +
                           QByteArray(16382, ',') + "z";
    CsvReader reader(QStringLiteral("corner.csv"), csv);
    ASSERT_TRUE(reader.load()) << reader.error().toStdString();
    EXPECT_EQ(reader.usedRows(), 1048576);
    EXPECT_EQ(reader.usedColumns(), 16384);
    EXPECT_EQ(reader.usedCells(), qint64(1048576) * 16384);
    EXPECT_EQ(reader.cellText(1048576, 16384), "z");
}

TEST(Spreadsheets, CellsOutOfOrderOrRepeatedReadAsTheSheetShowsThem)
{
    // Rows and cells in any order; a cell given again holds its last text, an empty repeat
    // leaves it be.
    const QByteArray sheet = "<worksheet><sheetData>"
                             "<row r=\"3\"><c r=\"B3\" t=\"s\"><v>1</v></c>"
                             "<c r=\"A3\" t=\"inlineStr\"><is><t>a3</t></is></c></row>"
                             "<row r=\"1\"><c r=\"C1\"><v>2.5</v></c>"
                             "<c r=\"A1\" t=\"s\"><v>0</v></c></row>"
                             "<row r=\"3\"><c r=\"B3\" t=\"str\"><v>b3</v></c>"
                             "<c r=\"A3\" t=\"str\"><v></v></c></row>"
                             "</sheetData></worksheet>";
    XlsxReader reader("order.xlsx",
                      workbookOfSheets({sheet}, "<si><t>a1</t></si><si><t>x</t></si>"));
    ASSERT_TRUE(reader.load()) << reader.error().toStdString();
    expectSheet(reader, {{"a1", "", "2.5"}, {"", "", ""}, {"a3", "b3", ""}});
}

TEST(Spreadsheets, AFailedSwitchKeepsTheSheetShown)
{
    // Only one sheet is in memory at a time: the one shown is read again after the failure.
    const QByteArray good = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v>"
                            "</c><c r=\"B1\"><v>7</v></c></row></sheetData></worksheet>";
    const QByteArray cut = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1";
    XlsxReader reader("two.xlsx", workbookOfSheets({good, cut}, "<si><t>甲</t></si>"));
    ASSERT_TRUE(reader.load()) << reader.error().toStdString();
    EXPECT_FALSE(reader.activate(1));
    EXPECT_TRUE(reader.error().contains("已损坏")) << reader.error().toStdString();
    EXPECT_EQ(reader.activeSheet(), 0);
    expectSheet(reader, {{"甲", "7"}});
}

TEST(Spreadsheets, TextBeyondWhatACellOrASheetHoldsIsRefusedInLittleMemory)
{
    // The sheet goes into the package in pieces, so the test itself stays small too.
    const auto writeSheet = [](const QString &path, const QByteArray &open, const QByteArray &piece,
                               int times) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QuaZip zip(&file);
        zip.open(QuaZip::mdCreate);
        const std::pair<const char *, QByteArray> small[] = {
            {"xl/workbook.xml", "<workbook xmlns:r=\"urn:r\"><sheets><sheet name=\"S\" "
                                "r:id=\"rId1\"/></sheets></workbook>"},
            {"xl/_rels/workbook.xml.rels",
             "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
             "Target=\"worksheets/sheet1.xml\"/></Relationships>"}};
        for (const auto &[name, content] : small) {
            QuaZipFile entry(&zip);
            entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
            entry.write(content);
        }
        QuaZipFile entry(&zip);
        entry.open(QIODevice::WriteOnly, QuaZipNewInfo("xl/worksheets/sheet1.xml"));
        entry.write("<worksheet><sheetData><row r=\"1\">" + open);
        for (int i = 0; i < times; ++i)
            entry.write(piece);
        entry.write("</row></sheetData></worksheet>");
        entry.close();
        zip.close();
    };
    const QByteArray mb(1 << 20, 'x');
    const struct
    {
        const char *file;
        QByteArray open, piece; // `open` once, then `piece` `times` times
        int times;
        QString says;
    } cases[] = {
        // One text, one comment and one CDATA section (which may hold "<") of 5 MB.
        {"long-text.xlsx", {}, mb, 5, "32767"},
        {"long-comment.xlsx", "<!--", "<" + mb, 5, "32767"},
        {"long-cdata.xlsx", "<c t=\"inlineStr\"><is><t><![CDATA[", "<" + mb, 5, "32767"},
        // 97 cells of a million characters: two bytes each in memory, beyond 96 MB.
        {"much-text.xlsx", {}, "<c t=\"inlineStr\"><is><t>" + mb + "</t></is></c>", 97, "96 MB"},
    };
    QTemporaryDir dir;
    const qint64 before = statusMb("VmRSS:");
    resetPeak();
    const bool peakWasReset = statusMb("VmHWM:") <= before + 5;
    for (const auto &c : cases) {
        const QString path = dir.filePath(c.file);
        writeSheet(path, c.open, c.piece, c.times);
        QString error;
        EXPECT_FALSE(Spreadsheets().open(path, error)) << c.file;
        EXPECT_TRUE(error.contains("过大") || error.contains("已损坏")) << error.toStdString();
        EXPECT_TRUE(error.contains(c.says)) << error.toStdString();
    }
#ifndef __SANITIZE_ADDRESS__
    if (before < 0 || !peakWasReset)
        GTEST_SKIP() << "no resettable memory figures in /proc";
    EXPECT_LT(statusMb("VmHWM:") - before, 300);
    EXPECT_LT(statusMb("VmRSS:") - before, 30);
#endif
}

TEST(Spreadsheets, DelimitedTextUpToItsLimitReadsInLittleMemory)
{
    QTemporaryDir dir;
    const auto write = [&dir](const char *name, qint64 bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("a,b\n");
        const QByteArray line = QByteArray(1023, ',') + '\n';
        qint64 left = bytes - 4;
        for (; left >= line.size(); left -= line.size())
            file.write(line);
        file.write(QByteArray(left, ','));
        return path;
    };
    const qint64 before = statusMb("VmRSS:");
    resetPeak();
    const bool peakWasReset = statusMb("VmHWM:") <= before + 5;
    QString error;
    {
        const auto sheet = Spreadsheets().open(write("limit.csv", CsvReader::kMaxCsvBytes), error);
        ASSERT_TRUE(sheet) << error.toStdString();
        EXPECT_EQ(sheet->cellText(1, 2), QStringLiteral("b"));
    }
    EXPECT_FALSE(Spreadsheets().open(write("over.csv", CsvReader::kMaxCsvBytes + 1), error));
    EXPECT_TRUE(error.contains(QStringLiteral("过大")) && error.contains(QStringLiteral("64 MB")))
        << error.toStdString();
#ifndef __SANITIZE_ADDRESS__
    if (before < 0 || !peakWasReset)
        GTEST_SKIP() << "no resettable memory figures in /proc";
    EXPECT_LT(statusMb("VmHWM:") - before, 300);
#endif
}
