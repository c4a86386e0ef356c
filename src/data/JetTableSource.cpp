#include "data/JetTableSource.h"

#include "data/JetDump.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

// The child's exit code when it refused the file and wrote why.
constexpr int kRefused = 3;
// More tables than this is no database of ours, nor a sound one.
constexpr quint32 kMaxTables = 10'000;

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

template<typename T>
T readAs(QDataStream &in)
{
    T value;
    in >> value;
    return value;
}

class DumpRow : public SourceRow
{
public:
    explicit DumpRow(const QHash<QString, int> &index)
        : m_index(index)
        , m_cells(index.size())
    {}

    // Reads one row's values; false when the stream ends early.
    bool read(QDataStream &in)
    {
        for (Value &v : m_cells) {
            v = Value{};
            JetDump::Cell cell{};
            in >> cell;
            switch (cell) {
            case JetDump::Cell::Null:
                break;
            case JetDump::Cell::Text:
                v.value = readAs<QString>(in);
                break;
            case JetDump::Cell::Bytes:
                v.value = readAs<QByteArray>(in);
                break;
            case JetDump::Cell::TooLarge:
                v.tooLarge = true;
                in >> v.reason;
                break;
            default:
                in.setStatus(QDataStream::ReadCorruptData);
            }
        }
        return in.status() == QDataStream::Ok;
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
                                                     const std::function<void()> &waiting,
                                                     const CappedChild::Limits &limits)
{
    const QFileInfo info(path);
    // The library reads whole pages; anything shorter than its header page is damaged.
    if (info.size() < 2 * 2048 || info.size() > kMaxFileBytes) {
        *error = QStringLiteral("文件已损坏或过大");
        return nullptr;
    }
    std::unique_ptr<JetTableSource> source(new JetTableSource);
    const QString dir = source->m_dir.path();
    const QString reasonFile = dir + QStringLiteral("/error");
    if (!source->m_dir.isValid()) {
        *error = u"无法创建临时文件夹：" + source->m_dir.errorString();
        return nullptr;
    }
    const CappedChild::Outcome out = CappedChild::run(
        [&] {
            QString why;
            if (JetDump::write(path, dir, &why))
                return 0;
            QFile reason(reasonFile);
            if (reason.open(QIODevice::WriteOnly))
                reason.write(why.toUtf8());
            return kRefused;
        },
        limits, waiting);
    if (out.end == CappedChild::End::Exited && out.code == kRefused) {
        *error = readText(reasonFile);
        return nullptr;
    }
    if (!out.succeeded()) {
        *error = u"无法读取数据库文件（文件可能已损坏）：" + CappedChild::explain(out);
        return nullptr;
    }
    if (!source->readTables(error))
        return nullptr;
    return source;
}

bool JetTableSource::readTables(QString *error)
{
    QFile file(JetDump::tablesFile(m_dir.path()));
    if (file.open(QIODevice::ReadOnly)) {
        QDataStream in(&file);
        in.setVersion(QDataStream::Qt_6_0);
        quint32 count = 0;
        in >> count;
        for (quint32 i = 0; i < count && i < kMaxTables && in.status() == QDataStream::Ok; ++i) {
            Table t;
            in >> t.name >> t.columns;
            m_tables.push_back(std::move(t));
        }
        if (count <= kMaxTables && in.status() == QDataStream::Ok)
            return true;
    }
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
    QFile file(JetDump::rowsFile(m_dir.path(), t));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"无法读取数据表 " + table;
        return false;
    }
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    DumpRow row(index);
    const QString wanted = filter ? filter->value.toString() : QString();
    for (;;) {
        JetDump::Mark mark{};
        in >> mark;
        if (in.status() != QDataStream::Ok || (mark == JetDump::Mark::Row && !row.read(in))) {
            *error = u"数据表 " + table + u" 读取不完整";
            return false;
        }
        if (mark == JetDump::Mark::End)
            return true;
        if (mark != JetDump::Mark::Row) {
            QString why;
            in >> why;
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
