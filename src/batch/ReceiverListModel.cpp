#include "batch/ReceiverListModel.h"

#include "batch/BatchTable.h"

#include "data/BoundQuery.h"
#include "data/Database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

ReceiverListModel::ReceiverListModel(Database &db, QObject *parent, QString table)
    : QSqlQueryModel(parent)
    , m_db(db)
    , m_table(std::move(table))
{}

bool ReceiverListModel::list(const ReceiverList::Statement &statement, QString *error)
{
    m_statement = statement;
    return refresh(error);
}

bool ReceiverListModel::refresh(QString *error)
{
    QSqlQuery q = m_db.query();
    if (!execBound(q, m_statement.sql, m_statement.values)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    setQuery(std::move(q));
    while (canFetchMore())
        fetchMore();
    return true;
}

int ReceiverListModel::idAt(int row) const
{
    return record(row).value(QStringLiteral("ID")).toInt();
}

QList<int> ReceiverListModel::ids() const
{
    QList<int> out;
    out.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        out << idAt(row);
    return out;
}

QList<int> ReceiverListModel::idsInListOrder(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &index : indexes)
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<int> out;
    for (int row : rows)
        out << idAt(row);
    return out;
}

QVariant ReceiverListModel::data(const QModelIndex &index, int role) const
{
    const QVariant value = QSqlQueryModel::data(index, role);
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && value.isNull())
        return {};
    return value;
}

Qt::ItemFlags ReceiverListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QSqlQueryModel::flags(index);
    if (index.isValid() && record().fieldName(index.column()) != u"ID")
        f |= Qt::ItemIsEditable;
    return f;
}

bool ReceiverListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (value.toString() == data(index).toString())
        return true;
    // The column name comes from the table's own statement, not from the user.
    const QString column = BatchTable::column(m_table, record().fieldName(index.column()));
    QSqlQuery q = m_db.query();
    if (column.isEmpty() ||
        !execBound(q, u"UPDATE " + m_table + u" SET \"" + column + u"\" = ? WHERE ID = ?",
                   {value.toString(), idAt(index.row())})) {
        Q_EMIT editFailed(q.lastError().text());
        return false;
    }
    QString error;
    if (!refresh(&error))
        Q_EMIT editFailed(error);
    return true;
}
