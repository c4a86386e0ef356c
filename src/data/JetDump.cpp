#include "data/JetDump.h"

#include "data/TableSource.h"

#include <QDataStream>
#include <QFile>
#include <QStringList>
#include <mdbtools.h>
#include <vector>

namespace JetDump {

namespace {

// A table with more rows than this is taken for a damaged file.
constexpr qint64 kMaxRows = 5'000'000;
// Text and memo values longer than this are cut by the library; ours are far shorter.
constexpr size_t kBindSize = 64 * 1024;

struct Mdb
{
    MdbHandle *handle = nullptr;
    ~Mdb()
    {
        if (handle)
            mdb_close(handle);
    }
};

struct TableDef
{
    MdbTableDef *table = nullptr;
    ~TableDef()
    {
        if (table)
            mdb_free_tabledef(table);
    }
};

MdbColumn *columnAt(MdbTableDef *table, guint i)
{
    return static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
}

class Output
{
public:
    explicit Output(const QString &path)
        : m_file(path)
    {
        m_ok = m_file.open(QIODevice::WriteOnly);
        m_stream.setDevice(&m_file);
        m_stream.setVersion(QDataStream::Qt_6_0);
    }
    QDataStream &stream() { return m_stream; }
    bool close()
    {
        m_ok = m_ok && m_stream.status() == QDataStream::Ok && m_file.flush();
        m_file.close();
        return m_ok;
    }

private:
    QFile m_file;
    QDataStream m_stream;
    bool m_ok = false;
};

// A long binary value lives on its own pages; read only up to the limit its header announces.
void writeOle(QDataStream &out, MdbHandle *mdb, MdbColumn *col, int length)
{
    if (length < MDB_MEMO_OVERHEAD) {
        out << Cell::Null;
        return;
    }
    const quint32 announced = quint32(mdb_get_int32(col->bind_ptr, 0)) & 0x3fffffffu;
    if (announced > quint32(TableSource::kMaxValueBytes)) {
        out << Cell::TooLarge
            << QStringLiteral("字段 %1 的数据过大").arg(QString::fromUtf8(col->name));
        return;
    }
    size_t size = 0;
    void *data = mdb_ole_read_full(mdb, col, &size);
    if (!data) {
        out << Cell::Null;
        return;
    }
    out << Cell::Bytes
        << QByteArray(static_cast<const char *>(data),
                      qsizetype(std::min<size_t>(size, TableSource::kMaxValueBytes)));
    free(data);
}

void writeValue(QDataStream &out, MdbHandle *mdb, MdbColumn *col, const QByteArray &buffer,
                int length)
{
    if (length <= 0) {
        out << Cell::Null;
        return;
    }
    const int bound = std::min(length, int(kBindSize));
    switch (col->col_type) {
    case MDB_OLE:
        writeOle(out, mdb, col, length);
        break;
    case MDB_BINARY:
        out << Cell::Bytes << QByteArray(buffer.constData(), bound);
        break;
    default:
        out << Cell::Text
            << QString::fromUtf8(buffer.constData(), qstrnlen(buffer.constData(), size_t(bound)));
    }
}

// One table's rows, ending with Mark::End, or Mark::Failed and the reason.
void writeRows(QDataStream &out, MdbHandle *mdb, MdbCatalogEntry *entry)
{
    const QString name = QString::fromUtf8(entry->object_name);
    TableDef def{mdb_read_table(entry)};
    if (!def.table || !mdb_read_columns(def.table)) {
        out << Mark::Failed << u"无法读取数据表 " + name;
        return;
    }
    mdb_rewind_table(def.table);
    const guint count = def.table->num_cols;
    std::vector<QByteArray> buffers(count, QByteArray(qsizetype(kBindSize) + 1, '\0'));
    std::vector<int> lengths(count, 0);
    for (guint i = 0; i < count; ++i)
        mdb_bind_column(def.table, int(i) + 1, buffers[i].data(), &lengths[i]);
    qint64 rows = 0;
    while (mdb_fetch_row(def.table)) {
        if (++rows > kMaxRows) {
            out << Mark::Failed << u"数据表 " + name + u" 的行数超出限制";
            return;
        }
        out << Mark::Row;
        for (guint i = 0; i < count; ++i)
            writeValue(out, mdb, columnAt(def.table, i), buffers[i], lengths[i]);
    }
    out << Mark::End;
}

QStringList columnNames(MdbCatalogEntry *entry)
{
    TableDef def{mdb_read_table(entry)};
    if (!def.table || !mdb_read_columns(def.table))
        return {};
    QStringList names;
    for (guint i = 0; i < def.table->num_cols; ++i)
        names << QString::fromUtf8(columnAt(def.table, i)->name);
    return names;
}

} // namespace

QString tablesFile(const QString &dir)
{
    return dir + QStringLiteral("/tables");
}

QString rowsFile(const QString &dir, int table)
{
    return dir + QStringLiteral("/%1.rows").arg(table);
}

bool write(const QString &accessPath, const QString &dir, QString *error)
{
    Mdb mdb{mdb_open(QFile::encodeName(accessPath).constData(), MDB_NOFLAGS)};
    if (!mdb.handle || !mdb_read_catalog(mdb.handle, MDB_TABLE)) {
        *error = QStringLiteral("无法读取数据库文件（已损坏或不是Access数据库）");
        return false;
    }
    mdb_set_bind_size(mdb.handle, kBindSize);
    mdb_set_date_fmt(mdb.handle, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb.handle, "%Y-%m-%d");
    mdb_set_boolean_fmt_numbers(mdb.handle);
    std::vector<MdbCatalogEntry *> tables;
    for (guint i = 0; i < mdb.handle->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb.handle->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            tables.push_back(entry);
    }
    Output list(tablesFile(dir));
    list.stream() << quint32(tables.size());
    for (MdbCatalogEntry *entry : tables)
        list.stream() << QString::fromUtf8(entry->object_name) << columnNames(entry);
    bool written = list.close();
    for (size_t i = 0; written && i < tables.size(); ++i) {
        Output rows(rowsFile(dir, int(i)));
        writeRows(rows.stream(), mdb.handle, tables[i]);
        written = rows.close();
    }
    if (!written)
        *error = QStringLiteral("无法写入临时文件，磁盘可能已满");
    return written;
}

} // namespace JetDump
