#pragma once

#include "batch/BatchTable.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

class Database;
class TPersonKDD;

// The express slip batch list (table ReceiverList): one row per receiver to print. Rows come
// from pasted address blocks, spreadsheets and the address book.
class ReceiverList
{
public:
    explicit ReceiverList(Database &db);

    static constexpr const char *kAllGroups = BatchTable::kAllGroups;
    // Values of the print state column; rows never printed hold an empty one.
    static constexpr const char *kPrinted = BatchTable::kPrinted;
    static constexpr const char *kTemporary = "临时打印";

    enum class Added { Row, Nothing, Failed };

    // Stores the party as a row without a batch group. A party without unit name, contact
    // and address is no receiver: nothing is stored. On failure *error says why.
    Added addReceiverAndGoods(const TPersonKDD &party, QString *error = nullptr);

    // What the batch window lists.
    struct Filter
    {
        QString group;          // kAllGroups, empty (rows without a group) or a group name
        QStringList keyColumns; // searched for the key; any of them may match
        bool keyEquals = false; // whole value instead of a part
        QString key;
        QString orderColumn; // "ID" when empty
        bool descending = false;
        QString enteredFrom; // entry time range, ISO text; both empty: any time
        QString enteredTo;
        std::optional<QString> status; // print state; none: every row
    };
    struct Statement
    {
        QString sql;
        QVariantList values;
    };
    // The list's statement; none when the filter names a column the list does not have.
    static std::optional<Statement> listStatement(const Filter &filter, QString *error);

    // "全部列表" followed by each stored group; none on failure.
    std::optional<QStringList> groupNames(QString *error) const;

    // A row's values by column name; none when there is no such row (or *error on failure).
    std::optional<QHash<QString, QString>> row(int id, QString *error) const;

    // Empties the list; the next row added gets ID 1. Answers the error text, empty on success.
    QString clearAll();

    // Sets column `target` of the rows `ids` to the operands joined, in one statement: each
    // operand is empty, "@" + a column name or a constant text. Answers the rows changed, or
    // none with *error (an unknown column included).
    std::optional<int> fillColumn(const QList<int> &ids, const QString &target,
                                  const QStringList &operands, QString *error);

    // Puts the rows in a status tab: empty (not printed), kPrinted or kTemporary.
    bool moveTo(const QList<int> &ids, const QString &status, QString *error);

    // The values of a dictionary in every template, offered as texts for the column fill.
    QStringList dictionaryValues(const QString &name) const;

    // The table's column, spelled as the table spells it; empty when there is none.
    static QString column(const QString &name);

private:
    Database &m_db;
};
