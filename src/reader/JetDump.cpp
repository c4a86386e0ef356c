#include "reader/JetDump.h"

#include "base/FrameWriter.h"
#include "base/ReaderProtocol.h"
#include "data/TableSource.h"

#include <QFile>
#include <QStringList>
#include <mdbtools.h>
#include <vector>

namespace JetDump {

namespace {

using ReaderProtocol::Tag;

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
        , m_frames(&m_file)
    {
        m_ok = m_file.open(QIODevice::WriteOnly);
    }
    void write(Tag tag, const QByteArray &payload = {}) { m_frames.write(quint8(tag), payload); }
    void write(Tag tag, const QString &text) { write(tag, text.toUtf8()); }
    bool close()
    {
        m_ok = m_ok && m_frames.ok() && m_file.flush();
        m_file.close();
        return m_ok;
    }

private:
    QFile m_file;
    FrameWriter m_frames;
    bool m_ok = false;
};

// A long binary value lives on its own pages; read only up to the limit its header announces.
void writeOle(Output &out, MdbHandle *mdb, MdbColumn *col, int length)
{
    if (length < MDB_MEMO_OVERHEAD) {
        out.write(Tag::Null);
        return;
    }
    const quint32 announced = quint32(mdb_get_int32(col->bind_ptr, 0)) & 0x3fffffffu;
    if (announced > quint32(TableSource::kMaxValueBytes)) {
        out.write(Tag::TooLarge,
                  QStringLiteral("字段 %1 的数据过大").arg(QString::fromUtf8(col->name)));
        return;
    }
    size_t size = 0;
    void *data = mdb_ole_read_full(mdb, col, &size);
    if (!data) {
        out.write(Tag::Null);
        return;
    }
    out.write(Tag::Bytes,
              QByteArray(static_cast<const char *>(data),
                         qsizetype(std::min<size_t>(size, TableSource::kMaxValueBytes))));
    free(data);
}

void writeValue(Output &out, MdbHandle *mdb, MdbColumn *col, const QByteArray &buffer, int length)
{
    if (length <= 0) {
        out.write(Tag::Null);
        return;
    }
    const int bound = std::min(length, int(kBindSize));
    switch (col->col_type) {
    case MDB_OLE:
        writeOle(out, mdb, col, length);
        break;
    case MDB_BINARY:
        out.write(Tag::Bytes, QByteArray(buffer.constData(), bound));
        break;
    default:
        out.write(Tag::Text, QByteArray(buffer.constData(),
                                        qsizetype(qstrnlen(buffer.constData(), size_t(bound)))));
    }
}

// One table's rows, ending with End, or Failed and the reason.
void writeRows(Output &out, MdbHandle *mdb, MdbCatalogEntry *entry)
{
    const QString name = QString::fromUtf8(entry->object_name);
    TableDef def{mdb_read_table(entry)};
    if (!def.table || !mdb_read_columns(def.table)) {
        out.write(Tag::Failed, u"无法读取数据表 " + name);
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
            out.write(Tag::Failed, u"数据表 " + name + u" 的行数超出限制");
            return;
        }
        out.write(Tag::Row);
        for (guint i = 0; i < count; ++i)
            writeValue(out, mdb, columnAt(def.table, i), buffers[i], lengths[i]);
    }
    out.write(Tag::End);
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

bool write(const QString &accessPath, const QString &folder, const Progress &progress,
           QString *error)
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
    Output list(ReaderProtocol::tablesFile(folder));
    for (MdbCatalogEntry *entry : tables) {
        list.write(Tag::Table, QString::fromUtf8(entry->object_name));
        for (const QString &column : columnNames(entry))
            list.write(Tag::Column, column);
    }
    list.write(Tag::End);
    bool written = list.close();
    for (size_t i = 0; written && i < tables.size(); ++i) {
        progress(qint64(i), qint64(tables.size()));
        Output rows(ReaderProtocol::rowsFile(folder, int(i)));
        writeRows(rows, mdb.handle, tables[i]);
        written = rows.close();
    }
    if (!written)
        *error = QStringLiteral("无法写入临时文件，磁盘可能已满");
    return written;
}

} // namespace JetDump
