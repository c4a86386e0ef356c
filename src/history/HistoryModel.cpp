#include "history/HistoryModel.h"

#include "history/BillHistory.h"

#include <QColor>
#include <QSqlRecord>

HistoryModel::HistoryModel(QString stateColumn, QObject *parent)
    : QSqlQueryModel(parent)
    , m_stateColumn(std::move(stateColumn))
{}

void HistoryModel::queryChange()
{
    m_state = m_stateColumn.isEmpty() ? -1 : record().indexOf(m_stateColumn);
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (m_state < 0 || (role != Qt::BackgroundRole && role != Qt::ForegroundRole))
        return QSqlQueryModel::data(index, role);
    const QString state = QSqlQueryModel::data(this->index(index.row(), m_state)).toString();
    const bool background = role == Qt::BackgroundRole;
    if (state == BillHistory::kVoided)
        return QColor(background ? Qt::red : Qt::white);
    if (state == BillHistory::kUsed)
        return QColor(background ? Qt::yellow : Qt::black);
    return QSqlQueryModel::data(index, role);
}
