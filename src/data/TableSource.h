#pragma once

#include "base/ReaderProcess.h"

#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

// One row while a table is visited; columns by name, without regard to case.
class SourceRow
{
public:
    virtual ~SourceRow() = default;
    virtual bool hasColumn(const QString &column) const = 0;
    // Null when the column is missing or holds nothing; text as QString, binary as QByteArray.
    virtual QVariant value(const QString &column) const = 0;
};

// Tables of a file written elsewhere (a template package, an older installation's database),
// read only and within limits: a damaged or hostile file gives an error text, never a crash
// or a memory blow-up.
class TableSource
{
public:
    // Files beyond this are refused before anything is read.
    static constexpr qint64 kMaxFileBytes = qint64(1) << 30;
    // A single value (a picture) beyond this is an error.
    static constexpr qint64 kMaxValueBytes = 20 << 20;
    // So is a text beyond this, where the format tells text from bytes.
    static constexpr qint64 kMaxTextBytes = 64 << 10;

    // Rows whose `column` equals `value`.
    struct Filter
    {
        QString column;
        QVariant value;
    };
    using Visit = std::function<bool(const SourceRow &)>;

    enum class Format { Unknown, Sqlite, Jet };
    // By the file's first bytes, never by its name.
    static Format detect(const QByteArray &head);
    static Format detectFile(const QString &path);
    // Opens a file of either format; null with *error for anything else. `progress` is called
    // while an Access file is read through, and may stop the read.
    static std::unique_ptr<TableSource> open(const QString &path, QString *error,
                                             const ReaderProcess::Progress &progress = {});

    virtual ~TableSource() = default;

    virtual QStringList tableNames() const = 0;
    bool hasTable(const QString &table) const;
    // Empty when the table is missing or cannot be read.
    virtual QStringList columnNames(const QString &table) const = 0;
    // Why a table's columns cannot be read as stored values, empty when they can (a column
    // that is computed on every read is no stored value).
    virtual QString refusedColumns(const QString &) const { return {}; }
    // Calls `visit` for each row (matching `filter` when given) until it answers false;
    // `visit` must not call back into the source while the rows are read.
    // False with *error when the table is missing or cannot be read to its end.
    virtual bool forEachRow(const QString &table, const std::optional<Filter> &filter,
                            const Visit &visit, QString *error) const = 0;
};
