#include "data/spreadsheet/BiffReader.h"

#include "base/FrameReader.h"
#include "base/ReaderProtocol.h"
#include "data/spreadsheet/CompoundFileCheck.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using ReaderProtocol::Tag;

// A cell's text is at most 32,767 characters in the format.
constexpr qint64 kMaxRecord = 256 << 10;

bool cellPosition(const QByteArray &payload, int &row, int &column)
{
    quint32 r = 0, c = 0;
    if (!FrameReader::numberAt(payload, 0, r) || !FrameReader::numberAt(payload, 4, c) ||
        r > quint32(INT_MAX) || c > quint32(INT_MAX))
        return false;
    row = int(r);
    column = int(c);
    return true;
}

} // namespace

BiffReader::BiffReader(QString path)
    : SpreadsheetReader(std::move(path))
{}

bool BiffReader::isEncryptedPackage() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Directory entries name their streams in UTF-16.
    static const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e", 31);
    return file.readAll().contains(name);
}

bool BiffReader::isSafeForLibrary() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return true; // refused before, or reported by the library
    return CompoundFileCheck::isSafeForLibrary(file.readAll());
}

int BiffReader::readWorkbook(QStringList &sheetNames, Fault &fault)
{
    fault = Fault::Damaged;
    if (!isSafeForLibrary())
        return -1;
    Rows rows;
    if (!read(0, &sheetNames, rows, fault)) {
        if (fault == Fault::Damaged && isEncryptedPackage())
            fault = Fault::Encrypted;
        return -1;
    }
    m_first = std::move(rows);
    // The file's active tab is not offered by the library; the first sheet is what a
    // spreadsheet program shows for most files.
    return 0;
}

bool BiffReader::readSheet(int index, Rows &rows, Fault &fault)
{
    if (index == 0 && m_first) {
        rows = std::move(*m_first);
        m_first.reset();
        return true;
    }
    return read(index, nullptr, rows, fault);
}

bool BiffReader::read(int index, QStringList *names, Rows &rows, Fault &fault)
{
    fault = Fault::Damaged;
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("sheet"));
    const ReaderProcess::End end = ReaderProcess::run(
        {QStringLiteral("workbook"), path(), output, QString::number(index)}, {}, progress());
    if (end == ReaderProcess::End::Aborted) {
        fault = Fault::Aborted;
        return false;
    }
    if (end != ReaderProcess::End::Finished && end != ReaderProcess::End::Refused) {
        setFaultDetail(ReaderProcess::explain(end));
        return false;
    }
    QFile file(output);
    return file.open(QIODevice::ReadOnly) && readAnswer(file, names, rows, fault);
}

bool BiffReader::readAnswer(QIODevice &answer, QStringList *names, Rows &rows, Fault &fault)
{
    fault = Fault::Damaged;
    // What the helper wrote is checked as the file itself would be: cell positions and
    // counts by setCell, the sheet count here.
    FrameReader in(&answer, kMaxRecord);
    FrameReader::Frame frame;
    while (in.next(frame)) {
        int row = 0, column = 0;
        double number = 0;
        switch (Tag(frame.tag)) {
        case Tag::End:
            return true;
        case Tag::Failed:
            if (frame.payload.size() == 1 && quint8(frame.payload[0]) < quint8(Fault::Aborted))
                fault = Fault(quint8(frame.payload[0]));
            return false;
        case Tag::Sheet:
            if (names && names->size() >= kMaxSheets)
                return false;
            if (names)
                *names << QString::fromUtf8(frame.payload);
            break;
        case Tag::CellText:
            if (!cellPosition(frame.payload, row, column) ||
                !setCell(rows, row, column, QString::fromUtf8(frame.payload.mid(8)), fault))
                return false;
            break;
        case Tag::CellNumber:
            if (!cellPosition(frame.payload, row, column) ||
                !FrameReader::numberAt(frame.payload, 8, number) ||
                !setCell(rows, row, column, numberText(number), fault))
                return false;
            break;
        default:
            return false;
        }
    }
    return false;
}
