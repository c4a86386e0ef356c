#pragma once

#include "base/ReaderProcess.h"

#include <QString>
#include <QStringList>
#include <vector>

// One workbook opened for reading: its worksheet names, which one is active, and the cell
// texts of the active one. Rows and columns count from 1, as the user sees them. A sheet is
// read whole when it becomes active, so no import ever sees a sheet that was read half-way.
class SpreadsheetReader
{
public:
    // TooLarge: the file, or a part of it once unpacked, beyond kMaxFileBytes; the others
    // name the limit a file broke. Aborted: the user stopped the read.
    enum class Fault {
        NotFound,
        Empty,
        Damaged,
        Encrypted,
        NoSheets,
        Unsupported,
        TooLarge,
        TooManySheets,
        TooManyCells,
        TooMuchText,
        TooMuchSheetText,
        Aborted
    };
    // What the user is told, naming the file (and the limit it broke, for one too large).
    // `fileLimit`: the largest file of the kind, where it is not kMaxFileBytes.
    static QString faultText(Fault fault, const QString &path, qint64 fileLimit = kMaxFileBytes);

    virtual ~SpreadsheetReader();

    const QString &path() const { return m_path; }
    const QStringList &sheetNames() const { return m_sheetNames; }
    // Index into sheetNames(), from 0.
    int activeSheet() const { return m_active; }
    // Reads another worksheet. On failure answers false with error() set and keeps the sheet
    // that was active.
    bool activate(int index);

    // The used range starts at cell (1, 1): its last row and column holding any text.
    int usedRows() const { return m_usedRows; }
    int usedColumns() const { return m_columns; }
    qint64 usedCells() const { return qint64(usedRows()) * usedColumns(); }
    // Empty outside the used range.
    QString cellText(int row, int column) const;

    // Why the last open or activate failed, naming the file.
    const QString &error() const { return m_error; }

    // Reads the workbook's sheet list and its active sheet; used by Spreadsheets::open.
    bool load();
    // Called while a read runs in the reader helper (binary workbooks), and may stop it.
    void setProgress(ReaderProcess::Progress progress) { m_progress = std::move(progress); }

    // Beyond these a file is refused as too large: far above any list a clerk keeps, and low
    // enough that reading never takes more than a moment or a few hundred megabytes.
    static constexpr qint64 kMaxFileBytes = qint64(256) << 20;
    static constexpr qsizetype kMaxCells = 1000000;
    static constexpr int kMaxSheets = 1024;
    // The texts a workbook shares between its cells, in memory (two bytes a character, and
    // what each text costs besides).
    static constexpr qint64 kMaxSharedTextBytes = qint64(64) << 20;
    // The texts of one sheet's cells, shared ones aside (two bytes a character). With the
    // shared texts and the cells themselves this keeps a read under 300 MB.
    static constexpr qint64 kMaxSheetTextBytes = qint64(96) << 20;

protected:
    // Only cells with text are kept, 16 bytes each, their texts one after the other in one
    // string, so a million cells cost a few allocations and a lone cell far to the right no
    // more than one at the left.
    struct Cell
    {
        int row;
        int column;
        quint32 offset; // into Rows::text, or into the shared texts
        quint32 length : 31;
        quint32 shared : 1;
    };
    struct Rows
    {
        std::vector<Cell> cells; // in reading order until the sheet is read
        QString text;
        bool ordered = true; // each cell after the one before it
    };

    explicit SpreadsheetReader(QString path);

    // Fills the sheet names and answers the active sheet, or -1 with fault set.
    virtual int readWorkbook(QStringList &sheetNames, Fault &fault) = 0;
    virtual bool readSheet(int index, Rows &rows, Fault &fault) = 0;

    // Excel's cell limits; anything beyond them is a damaged file.
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;
    // Stores a cell, growing the rows as needed; false with `fault` set beyond the sheet
    // limits (Damaged) or the cell limit (TooManyCells).
    static bool setCell(Rows &rows, int row, int column, QStringView text, Fault &fault);
    // Stores a cell showing shared text `index`, with the same checks; false also for an
    // index that names no shared text.
    bool setSharedCell(Rows &rows, int row, int column, qsizetype index, Fault &fault) const;
    // Adds a text cells of every sheet may show (an xlsx file's shared strings).
    void addSharedText(QStringView text);
    qsizetype sharedTexts() const { return qsizetype(m_shared.size()); }
    // A number as the spreadsheet shows it in the General format: whole numbers with every
    // digit, others with up to 15 significant digits.
    static QString numberText(double value);
    // Where in the file a reader found the fault ("第 5 行……"), added to the next failure's text.
    void setFaultDetail(const QString &detail) { m_faultDetail = detail; }
    // The largest file this kind of reader takes.
    virtual qint64 fileLimit() const { return kMaxFileBytes; }
    const ReaderProcess::Progress &progress() const { return m_progress; }

private:
    bool fail(Fault fault);
    static void returnFreedMemory();
    static bool addCell(Rows &rows, Cell cell, Fault &fault);
    // Sorts the cells by row and column; of a cell given twice, the last text holds.
    static void order(Rows &rows);
    // Makes `rows` the sheet shown, with its used range.
    void show(Rows &rows);
    QStringView textOf(const Cell &cell) const;

    QString m_path;
    QStringList m_sheetNames;
    int m_active = -1;
    Rows m_rows;
    int m_usedRows = 0;
    int m_columns = 0;
    QString m_sharedText;
    struct Span
    {
        quint32 offset;
        quint32 length;
    };
    std::vector<Span> m_shared;
    QString m_error;
    QString m_faultDetail;
    ReaderProcess::Progress m_progress;
};
