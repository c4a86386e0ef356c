#include "data/JetTableSource.h"

#include "base/FrameReader.h"
#include "base/ReaderProtocol.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

using ReaderProtocol::Tag;
using Frame = FrameReader::Frame;

// More tables or columns than these is no database of ours, nor a sound one (Access itself
// stops at 255 columns).
constexpr int kMaxTables = 10'000;
constexpr int kMaxColumns = 4096;
// The longest record the helper writes: a picture at the value limit.
constexpr qint64 kMaxRecord = TableSource::kMaxValueBytes;

class DumpRow : public SourceRow
{
public:
    explicit DumpRow(const QHash<QString, int> &index)
        : m_index(index)
        , m_cells(size_t(index.size()))
    {}

    // Reads one row's values, one record each; false where the records break the format.
    bool read(FrameReader &in)
    {
        Frame frame;
        for (Value &v : m_cells) {
            v = Value{};
            if (!in.next(frame))
                return false;
            switch (Tag(frame.tag)) {
            case Tag::Null:
                break;
            case Tag::Text:
                if (frame.payload.size() > TableSource::kMaxTextBytes)
                    return false;
                v.value = QString::fromUtf8(frame.payload);
                break;
            case Tag::Bytes:
                v.value = frame.payload;
                break;
            case Tag::TooLarge:
                v.tooLarge = true;
                v.reason = QString::fromUtf8(frame.payload);
                break;
            default:
                return false;
            }
        }
        return true;
    }

    bool hasColumn(const QString &column) const override
    {
        return m_index.contains(column.toLower());
    }

    QVariant value(const QString &column) const override
    {
        const int i = m_index.value(column.toLower(), -1);
        if (i < 0)
            return {};
        const Value &v = m_cells[size_t(i)];
        // Only asking for a value beyond the limit fails the visit.
        if (v.tooLarge)
            error = v.reason;
        return v.value;
    }

    mutable QString error;

private:
    struct Value
    {
        QVariant value;
        bool tooLarge = false;
        QString reason;
    };
    const QHash<QString, int> &m_index;
    std::vector<Value> m_cells;
};

} // namespace

bool JetTableSource::isJetHeader(const QByteArray &head)
{
    return head.size() >= 20 && head.startsWith(QByteArray("\x00\x01\x00\x00", 4)) &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

std::unique_ptr<JetTableSource> JetTableSource::open(const QString &path, QString *error,
                                                     const ReaderProcess::Progress &progress,
                                                     const ReaderProcess::Limits &limits)
{
    const QFileInfo info(path);
    // The library reads whole pages; anything shorter than its header page is damaged.
    if (info.size() < 2 * 2048 || info.size() > kMaxFileBytes) {
        *error = QStringLiteral("文件已损坏或过大");
        return nullptr;
    }
    std::unique_ptr<JetTableSource> source(new JetTableSource);
    QTemporaryDir &dir = source->m_dir.emplace();
    if (!dir.isValid()) {
        *error = u"无法创建临时文件夹：" + dir.errorString();
        return nullptr;
    }
    source->m_folder = dir.path();
    const ReaderProcess::End end =
        ReaderProcess::run({QStringLiteral("access"), path, dir.path()}, limits, progress);
    if (end != ReaderProcess::End::Finished && end != ReaderProcess::End::Refused) {
        *error = u"无法读取数据库文件（文件可能已损坏）：" + ReaderProcess::explain(end);
        return nullptr;
    }
    if (!source->readTables(error))
        return nullptr;
    return source;
}

std::unique_ptr<JetTableSource> JetTableSource::fromAnswers(const QString &folder, QString *error)
{
    std::unique_ptr<JetTableSource> source(new JetTableSource);
    source->m_folder = folder;
    if (!source->readTables(error))
        return nullptr;
    return source;
}

bool JetTableSource::readTables(QString *error)
{
    QFile file(ReaderProtocol::tablesFile(m_folder));
    if (file.open(QIODevice::ReadOnly)) {
        FrameReader in(&file, kMaxRecord);
        Frame frame;
        while (in.next(frame)) {
            const Tag tag = Tag(frame.tag);
            if (tag == Tag::End)
                return true;
            if (tag == Tag::Failed) {
                *error = QString::fromUtf8(frame.payload);
                m_tables.clear();
                return false;
            }
            if (tag == Tag::Table && m_tables.size() < size_t(kMaxTables))
                m_tables.push_back({QString::fromUtf8(frame.payload), {}});
            else if (tag == Tag::Column && !m_tables.empty() &&
                     m_tables.back().columns.size() < kMaxColumns)
                m_tables.back().columns << QString::fromUtf8(frame.payload);
            else
                break;
        }
    }
    m_tables.clear();
    *error = QStringLiteral("无法读取数据库文件的表清单");
    return false;
}

QStringList JetTableSource::tableNames() const
{
    QStringList names;
    for (const Table &t : m_tables)
        names << t.name;
    return names;
}

int JetTableSource::tableIndex(const QString &table) const
{
    for (size_t i = 0; i < m_tables.size(); ++i)
        if (m_tables[i].name.compare(table, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QStringList JetTableSource::columnNames(const QString &table) const
{
    const int i = tableIndex(table);
    return i < 0 ? QStringList() : m_tables[size_t(i)].columns;
}

bool JetTableSource::forEachRow(const QString &table, const std::optional<Filter> &filter,
                                const Visit &visit, QString *error) const
{
    const int t = tableIndex(table);
    if (t < 0) {
        *error = u"找不到数据表 " + table;
        return false;
    }
    QHash<QString, int> index;
    const QStringList &columns = m_tables[size_t(t)].columns;
    for (int i = 0; i < columns.size(); ++i)
        index.insert(columns[i].toLower(), i);
    if (filter && !index.contains(filter->column.toLower())) {
        *error = u"数据表 " + table + u" 没有字段 " + filter->column;
        return false;
    }
    QFile file(ReaderProtocol::rowsFile(m_folder, t));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"无法读取数据表 " + table;
        return false;
    }
    FrameReader in(&file, kMaxRecord);
    DumpRow row(index);
    const QString wanted = filter ? filter->value.toString() : QString();
    Frame frame;
    for (;;) {
        const bool read = in.next(frame);
        const Tag tag = Tag(frame.tag);
        if (!read || (tag == Tag::Row && !row.read(in))) {
            *error = u"数据表 " + table + u" 读取不完整";
            return false;
        }
        if (tag == Tag::End)
            return true;
        if (tag != Tag::Row) {
            const QString why = tag == Tag::Failed ? QString::fromUtf8(frame.payload) : QString();
            *error = why.isEmpty() ? u"无法读取数据表 " + table : why;
            return false;
        }
        if (filter && row.value(filter->column).toString() != wanted)
            continue;
        const bool more = visit(row);
        if (!row.error.isEmpty()) {
            *error = row.error;
            return false;
        }
        if (!more)
            return true;
    }
}
