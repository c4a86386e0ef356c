#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;
class TableSource;

// The layout of a template package: the tables `_ckTypeTable` (one row per template, with its
// picture's bytes), `_ckControl` (its items) and `_config` (a version row and each template's
// settings), keyed by the exporting database's template identifier. Packages of the older
// release are Access files with the same tables; ours are SQLite files.
namespace TemplatePackage {

inline const QString kTemplates = QStringLiteral("_ckTypeTable");
inline const QString kItems = QStringLiteral("_ckControl");
inline const QString kConfig = QStringLiteral("_config");
inline const QString kPictureColumn = QStringLiteral("Img_Bytes");

// Template columns copied in both directions besides the identifier, the picture and the
// states: the text's columns, then the paper and colours, which the older release lost.
const QStringList &templateColumns();
// Item columns of `_ckControl` besides the identifier, in the order they are copied.
const QStringList &itemColumns();
// Every column a package table may have (the identifier, the states, the picture, the unused
// text and the settings' own); empty for a table that is no package table.
const QStringList &packageColumns(const QString &table);
// False with *error naming the table when a package table has a computed column or one that
// is not a package column.
bool checkColumns(const TableSource &source, QString *error);

// Columns of our own tables that hold integers; a package value there must be a number.
bool isIntegerColumn(const QString &column);

// An item value with the package's defaults for missing ones (null, or empty where an empty
// text means nothing either).
QVariant itemValue(const QString &column, const QVariant &value);

// A value for an integer column: null stays null, a number (also "12.0") becomes an integer,
// anything else is refused.
bool toInteger(const QVariant &value, QVariant *integer);

// Creates the three tables in an empty SQLite file.
bool createTables(QSqlDatabase &db, QString *error);

} // namespace TemplatePackage
