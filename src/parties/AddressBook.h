#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Database;
class QSqlQueryModel;

// What the address book list shows: the search box, the group and unit-type filters, and the
// optional condition of the advanced panel.
struct AddressBookFilter
{
    QString key;
    QString group;          // "所有分组" or empty: every group
    QString unitType;       // "我方单位", "往来单位" or empty: both
    QString advancedColumn; // a column of the table, empty: the search box's columns
    bool advancedEquals = false;
    QString advancedValue;

    bool isEmpty() const;
};

// One list statement with its bound values; `where` and `orderBy` start with a space.
struct AddressBookStatement
{
    QString where;
    QString orderBy;
    QVariantList values;

    QString sql() const;
    QString countSql() const;
};

// The address book list's data: its statement, its group and country lists and its deletions
// (CKPersonalInfoTable).
class AddressBook
{
public:
    static inline const QString kAllGroups = QStringLiteral("所有分组");
    static inline const QString kDefaultSortField = QStringLiteral("排序,全称");
    static inline const QString kDefaultSortDirection = QStringLiteral("DESC");

    explicit AddressBook(Database &db);

    // The rows the filter finds, in the sort order; the direction applies to the last sort
    // field. Sort fields that are not columns of the table are left out.
    static AddressBookStatement listStatement(const AddressBookFilter &filter,
                                              const QString &sortField,
                                              const QString &sortDirection);
    // "ASC" unless the direction already is "ASC" (in any case), then "DESC".
    static QString nextDirection(const QString &direction);
    // The column the advanced panel's column box names ("县市" is 市); empty for none.
    static QString advancedColumnOf(const QString &caption);

    // Runs the statement into the model and answers how many rows it finds; on a database
    // error the model is left empty and the answer is -1.
    int open(QSqlQueryModel &model, const AddressBookStatement &statement) const;
    // Rows of the statement, 0 on a database error.
    int count(const AddressBookStatement &statement) const;

    // Group names for the group filter, "所有分组" first, then in descending order.
    QStringList groupFilterList() const;
    QStringList groups() const;
    QStringList countries() const;

    // Each answers the database's error text, empty on success; nothing changes on failure.
    QString deleteParties(const QList<int> &ids);
    // Every party of the unit type, or every party when it is empty.
    QString clearAll(const QString &unitType);

private:
    QStringList distinctColumn(const QString &sql) const;

    Database &m_db;
};
