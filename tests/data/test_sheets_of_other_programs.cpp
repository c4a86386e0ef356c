#include "data/Spreadsheets.h"
#include "data/spreadsheet/SpreadsheetReader.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Receiver lists written by LibreOffice (committed, see tools/make_sheet_fixtures.py) and by
// xlwt and openpyxl (written here by the same tool). Each data row's values follow from its
// number as the tool's row() gives them.

namespace {

const QString kWritten = QStringLiteral(LANYAN_SOURCE_DIR "/tests/data/fixtures/written/");

QStringList expectedRow(int n)
{
    const QString weight = n % 2 ? QStringLiteral("%1.5").arg(n / 2) : QString::number(n / 2);
    return {QStringLiteral("客户%1贸易公司").arg(n),
            QStringLiteral("联系人%1").arg(n),
            QStringLiteral("010-%1").arg(n, 8, 10, QChar(u'0')),
            QStringLiteral("139%1").arg(n, 8, 10, QChar(u'0')),
            QStringLiteral("北京市海淀区中关村大街%1号").arg(n),
            weight,
            n % 7 == 0 ? QStringLiteral("易碎，轻放") : QString()};
}

void expectList(const QString &path, int rows)
{
    SCOPED_TRACE(path.toStdString());
    QString error;
    const auto reader = Spreadsheets().open(path, error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->usedRows(), rows + 1);
    EXPECT_EQ(reader->usedColumns(), 7);
    EXPECT_EQ(reader->cellText(1, 1), "单位名称");
    EXPECT_EQ(reader->cellText(1, 7), "备注");
    for (int n : {1, 2, 7, rows / 2, rows - 1, rows}) {
        if (n < 1 || n > rows)
            continue;
        const QStringList expected = expectedRow(n);
        for (int c = 0; c < expected.size(); ++c)
            EXPECT_EQ(reader->cellText(n + 1, c + 1), expected[c]) << "row " << n << " col " << c;
    }
}

} // namespace

TEST(SheetsOfOtherPrograms, LibreOfficeSavesOfEverySize)
{
    for (int rows : {20, 60, 1000})
        for (const char *ext : {"xls", "xlsx", "csv"})
            expectList(kWritten + QStringLiteral("libreoffice-%1.%2").arg(rows).arg(ext), rows);
}

TEST(SheetsOfOtherPrograms, XlwtAndOpenpyxlFilesOfEverySize)
{
    // The system python, where the Debian packages of both libraries live.
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {"/usr/bin"});
    ASSERT_FALSE(python.isEmpty());
    QTemporaryDir dir;
    const QList<int> sizes{1, 20, 60, 1000, 10000};
    QStringList rows;
    for (int n : sizes)
        rows << QString::number(n);
    QProcess tool;
    tool.start(python, {LANYAN_SOURCE_DIR "/tools/make_sheet_fixtures.py", dir.path(),
                        u"--rows=" + rows.join(u','), QStringLiteral("--writers=xlwt,openpyxl")});
    ASSERT_TRUE(tool.waitForFinished(-1));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    for (int n : sizes) {
        expectList(dir.filePath(QStringLiteral("xlwt-%1.xls").arg(n)), n);
        expectList(dir.filePath(QStringLiteral("openpyxl-%1.xlsx").arg(n)), n);
    }
}
