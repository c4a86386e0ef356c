#include "data/spreadsheet/CompoundFileCheck.h"

#include <QtEndian>
#include <algorithm>
#include <vector>

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kUnused = 0xFFFFFFFF;
// The library's buffer for one record.
constexpr quint32 kMaxRecord = 8224;

quint32 u32(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 u16(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

struct Layout
{
    const QByteArray &file;
    quint32 sectorSize;
    std::vector<quint32> fat;

    // The library computes offsets in 32 bits, so they wrap round as its own do.
    qint64 offsetOf(quint32 sector) const { return quint32((sector + 1) * sectorSize); }
    bool hasSector(quint32 sector) const
    {
        return quint64(offsetOf(sector)) + sectorSize <= quint64(file.size());
    }
    bool addFatSector(quint32 sector)
    {
        if (!hasSector(sector))
            return false;
        for (quint32 i = 0; i < sectorSize / 4; ++i)
            fat.push_back(u32(file, offsetOf(sector) + 4 * i));
        return true;
    }
    // The sectors of a chain, at most `limit` of them; empty when it breaks.
    std::vector<quint32> chain(quint32 start, quint64 limit) const
    {
        std::vector<quint32> sectors;
        for (quint32 s = start; sectors.size() < limit;) {
            if (!hasSector(s) || s >= fat.size())
                return {};
            sectors.push_back(s);
            s = fat[s];
            if (s == kEndOfChain)
                return sectors;
        }
        return sectors;
    }
};

// Records of the mini stream, read from its start as the library does: each must lie inside
// the mini stream and fit the record buffer.
bool miniRecordsFit(const QByteArray &mini, quint32 workbookSize)
{
    for (quint64 at = 0; at + 4 <= workbookSize;) {
        const quint32 size = u16(mini, qint64(at) + 2);
        at += 4;
        if (at > quint64(mini.size()) || size > kMaxRecord || at + size > quint64(mini.size()))
            return false;
        at += size;
    }
    return true;
}

// Records of a regular stream. The stream is one run of bytes over its chain of sectors, so a
// record, its header included, may cross from one sector into the next (LibreOffice and xlwt
// both write such files); every record must fit the record buffer.
bool regularRecordsFit(const Layout &layout, const std::vector<quint32> &sectors,
                       quint32 workbookSize)
{
    QByteArray stream;
    const quint64 size =
        std::min<quint64>(workbookSize, quint64(sectors.size()) * layout.sectorSize);
    stream.reserve(qsizetype(size));
    for (quint32 s : sectors)
        stream += layout.file.mid(layout.offsetOf(s), layout.sectorSize);
    stream.truncate(qsizetype(size));
    for (qint64 at = 0; at + 4 <= stream.size();) {
        const quint16 type = u16(stream, at);
        const quint32 length = u16(stream, at + 2);
        if (type == 0 && length == 0)
            return true;
        if (length > kMaxRecord)
            return false;
        at += 4 + length;
    }
    return true;
}

} // namespace

namespace CompoundFileCheck {

bool isSafeForLibrary(const QByteArray &file)
{
    if (file.size() < 512)
        return true;
    const quint16 shift = u16(file, 30);
    if (shift != 9 && shift != 12)
        return true;
    Layout layout{file, quint32(1) << shift, {}};

    // The first directory sector holds what the library looks for. It converts each entry's
    // name with the length the file gives, which may reach past the name's 64 bytes.
    const quint32 directorySector = u32(file, 48);
    if (!layout.hasSector(directorySector))
        return true;
    const qint64 directory = layout.offsetOf(directorySector);
    for (quint32 at = 0; at + 128 <= layout.sectorSize; at += 128) {
        if (u16(file, directory + at + 64) > 64)
            return false;
    }

    for (int i = 0; i < 109; ++i) {
        const quint32 sector = u32(file, 76 + 4 * i);
        if (sector != kUnused && !layout.addFatSector(sector))
            return true;
    }
    // The library reads as many DIFAT sectors as the header says, round and round the file.
    const quint32 difatSectors = u32(file, 72);
    if (difatSectors > quint64(file.size()) / layout.sectorSize)
        return false;
    quint32 difat = u32(file, 68);
    for (quint32 block = 0; block < difatSectors; ++block) {
        if (!layout.hasSector(difat))
            return true;
        const qint64 at = layout.offsetOf(difat);
        const quint32 entries = layout.sectorSize / 4;
        for (quint32 i = 0; i + 1 < entries; ++i) {
            const quint32 sector = u32(file, at + 4 * i);
            if (sector == kEndOfChain)
                break;
            if (sector != kUnused && !layout.addFatSector(sector))
                return true;
        }
        difat = u32(file, at + 4 * (entries - 1));
    }

    quint32 rootStart = 0, rootSize = 0;
    bool workbookFound = false;
    quint32 workbookStart = 0, workbookSize = 0;
    for (quint32 at = 0; at + 128 <= layout.sectorSize && !workbookFound; at += 128) {
        const qint64 entry = directory + at;
        const quint16 nameBytes = u16(file, entry + 64);
        const QString name =
            QString::fromUtf16(reinterpret_cast<const char16_t *>(file.constData() + entry),
                               nameBytes / 2)
                .section(QChar(0), 0, 0);
        if (name == u"Root Entry") {
            rootStart = u32(file, entry + 116);
            rootSize = u32(file, entry + 120);
        }
        if (name == u"Workbook" || name == u"Book") {
            workbookFound = true;
            workbookStart = u32(file, entry + 116);
            workbookSize = u32(file, entry + 120);
        }
    }
    if (!workbookFound)
        return true;

    const bool mini = u32(file, 64) > 0 && workbookSize <= u32(file, 56);
    if (!mini) {
        const auto sectors =
            layout.chain(workbookStart, quint64(file.size()) / layout.sectorSize + 1);
        return sectors.empty() || regularRecordsFit(layout, sectors, workbookSize);
    }
    // The library allocates the whole mini stream at once; none is larger than its file.
    if (rootSize > quint64(file.size()))
        return false;
    const auto sectors =
        layout.chain(rootStart, (quint64(rootSize) + layout.sectorSize - 1) / layout.sectorSize);
    QByteArray stream;
    for (quint32 s : sectors)
        stream += file.mid(layout.offsetOf(s), layout.sectorSize);
    stream.truncate(rootSize);
    if (stream.size() != qsizetype(rootSize))
        return true; // the library finds the mini stream broken and says so
    return miniRecordsFit(stream, workbookSize);
}

} // namespace CompoundFileCheck
