#include "data/JetTableSource.h"

#include <QFileInfo>
#include <mdbtools.h>

namespace {

// A table with more rows than this is taken for a damaged file.
constexpr qint64 kMaxRows = 5'000'000;
// Text and memo values longer than this are cut by the library; ours are far shorter.
constexpr size_t kBindSize = 64 * 1024;

struct TableDef
{
    MdbTableDef *table = nullptr;
    ~TableDef()
    {
        if (table)
            mdb_free_tabledef(table);
    }
};

class JetRow : public SourceRow
{
public:
    JetRow(MdbHandle *mdb, MdbTableDef *table, const std::vector<QByteArray> &buffers,
           const std::vector<int> &lengths, const QHash<QString, int> &index)
        : m_mdb(mdb)
        , m_table(table)
        , m_buffers(buffers)
        , m_lengths(lengths)
        , m_index(index)
    {}

    bool hasColumn(const QString &column) const override
    {
        return m_index.contains(column.toLower());
    }

    QVariant value(const QString &column) const override
    {
        const int i = m_index.value(column.toLower(), -1);
        if (i < 0 || m_lengths[size_t(i)] <= 0)
            return {};
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(m_table->columns, guint(i)));
        const char *bound = m_buffers[size_t(i)].constData();
        const int length = std::min(m_lengths[size_t(i)], int(kBindSize));
        switch (col->col_type) {
        case MDB_OLE:
            return oleValue(col, size_t(i));
        case MDB_BINARY:
            return QByteArray(bound, length);
        default:
            return QString::fromUtf8(bound, qstrnlen(bound, size_t(length)));
        }
    }

    mutable QString error;

private:
    // A long binary value lives on its own pages; only read when asked for, and only up to
    // the limit its header announces.
    QVariant oleValue(MdbColumn *col, size_t i) const
    {
        if (m_lengths[i] < MDB_MEMO_OVERHEAD)
            return {};
        const quint32 announced = quint32(mdb_get_int32(col->bind_ptr, 0)) & 0x3fffffffu;
        if (announced > quint32(TableSource::kMaxValueBytes)) {
            error = QStringLiteral("字段 %1 的数据过大").arg(QString::fromUtf8(col->name));
            return {};
        }
        size_t size = 0;
        void *data = mdb_ole_read_full(m_mdb, col, &size);
        if (!data)
            return {};
        QByteArray bytes(static_cast<const char *>(data),
                         qsizetype(std::min<size_t>(size, TableSource::kMaxValueBytes)));
        free(data);
        return bytes;
    }

    MdbHandle *m_mdb;
    MdbTableDef *m_table;
    const std::vector<QByteArray> &m_buffers;
    const std::vector<int> &m_lengths;
    const QHash<QString, int> &m_index;
};

} // namespace

struct JetTableSource::Handle
{
    MdbHandle *mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

bool JetTableSource::isJetHeader(const QByteArray &head)
{
    return head.size() >= 20 && head.startsWith(QByteArray("\x00\x01\x00\x00", 4)) &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

std::unique_ptr<JetTableSource> JetTableSource::open(const QString &path, QString *error)
{
    const QFileInfo info(path);
    // The library reads whole pages; anything shorter than its header page is damaged.
    if (info.size() < 2 * 2048 || info.size() > kMaxFileBytes) {
        *error = QStringLiteral("文件已损坏或过大");
        return nullptr;
    }
    auto handle = std::make_unique<Handle>();
    handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!handle->mdb || !mdb_read_catalog(handle->mdb, MDB_TABLE)) {
        *error = QStringLiteral("无法读取数据库文件（已损坏或不是Access数据库）");
        return nullptr;
    }
    mdb_set_bind_size(handle->mdb, kBindSize);
    mdb_set_date_fmt(handle->mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(handle->mdb, "%Y-%m-%d");
    mdb_set_boolean_fmt_numbers(handle->mdb);
    std::unique_ptr<JetTableSource> source(new JetTableSource(std::move(handle)));
    MdbHandle *mdb = source->m_handle->mdb;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        const QString name = QString::fromUtf8(entry->object_name);
        source->m_tableNames << name;
        source->m_tables.insert(name.toLower(), entry);
    }
    return source;
}

JetTableSource::JetTableSource(std::unique_ptr<Handle> handle)
    : m_handle(std::move(handle))
{}

JetTableSource::~JetTableSource() = default;

QStringList JetTableSource::tableNames() const
{
    return m_tableNames;
}

void *JetTableSource::catalogEntry(const QString &table) const
{
    return m_tables.value(table.toLower(), nullptr);
}

QStringList JetTableSource::columnNames(const QString &table) const
{
    auto *entry = static_cast<MdbCatalogEntry *>(catalogEntry(table));
    if (!entry)
        return {};
    TableDef def{mdb_read_table(entry)};
    if (!def.table || !mdb_read_columns(def.table))
        return {};
    QStringList names;
    for (guint i = 0; i < def.table->num_cols; ++i)
        names << QString::fromUtf8(
            static_cast<MdbColumn *>(g_ptr_array_index(def.table->columns, i))->name);
    return names;
}

bool JetTableSource::forEachRow(const QString &table, const std::optional<Filter> &filter,
                                const Visit &visit, QString *error) const
{
    auto *entry = static_cast<MdbCatalogEntry *>(catalogEntry(table));
    if (!entry) {
        *error = u"找不到数据表 " + table;
        return false;
    }
    TableDef def{mdb_read_table(entry)};
    if (!def.table || !mdb_read_columns(def.table)) {
        *error = u"无法读取数据表 " + table;
        return false;
    }
    mdb_rewind_table(def.table);
    const guint count = def.table->num_cols;
    std::vector<QByteArray> buffers(count, QByteArray(qsizetype(kBindSize) + 1, '\0'));
    std::vector<int> lengths(count, 0);
    QHash<QString, int> index;
    for (guint i = 0; i < count; ++i) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(def.table->columns, i));
        index.insert(QString::fromUtf8(col->name).toLower(), int(i));
        mdb_bind_column(def.table, int(i) + 1, buffers[i].data(), &lengths[i]);
    }
    if (filter && !index.contains(filter->column.toLower())) {
        *error = u"数据表 " + table + u" 没有字段 " + filter->column;
        return false;
    }
    JetRow row(m_handle->mdb, def.table, buffers, lengths, index);
    const QString wanted = filter ? filter->value.toString() : QString();
    qint64 rows = 0;
    while (mdb_fetch_row(def.table)) {
        if (++rows > kMaxRows) {
            *error = u"数据表 " + table + u" 的行数超出限制";
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
            break;
    }
    return true;
}
