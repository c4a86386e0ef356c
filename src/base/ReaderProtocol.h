#pragma once

#include <QString>
#include <QtGlobal>

// What the program and its reader helper (lanyan-reader) agree on. The helper runs the
// third-party readers (mdbtools for Access files, FreeXL for binary workbooks) apart from the
// program, under limits, and answers in records of FrameWriter:
//
//   lanyan-reader access <file> <folder>
//     <folder>/tables: Table (name), its Columns (names), ..., End; or Failed (reason)
//     <folder>/<n>.rows for the n-th table: Row and one value record per column, ..., End;
//     or Failed (reason) where the table cannot be read on
//   lanyan-reader workbook <file> <output> <sheet>
//     Sheet (name) for each worksheet, then the cells of sheet number <sheet> (from 0),
//     then End; or Failed (a SpreadsheetReader::Fault, one byte)
//
// Progress goes to standard output as lines "progress <done> <total>".
namespace ReaderProtocol {

enum class Tag : quint8 {
    End = 0,
    Failed = 1,
    Table = 2,
    Column = 3,
    Row = 4,
    Null = 5,
    Text = 6, // UTF-8
    Bytes = 7,
    TooLarge = 8, // the reason, UTF-8
    Sheet = 9,
    CellText = 10,  // row, column (from 1), UTF-8 text
    CellNumber = 11 // row, column, the value as a double
};

// The helper's exit codes besides 0.
enum Exit { kUsage = 2, kRefused = 3, kOutOfMemory = 4 };

inline constexpr char kProgress[] = "progress ";

inline QString tablesFile(const QString &folder)
{
    return folder + QStringLiteral("/tables");
}

inline QString rowsFile(const QString &folder, int table)
{
    return folder + QStringLiteral("/%1.rows").arg(table);
}

} // namespace ReaderProtocol
