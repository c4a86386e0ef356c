#pragma once

#include <QSqlQueryModel>

// The rows of a history list. Where the kind has a state column, a voided bill shows white on
// red and a used one black on yellow.
class HistoryModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit HistoryModel(QString stateColumn, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

protected:
    void queryChange() override;

private:
    QString m_stateColumn;
    int m_state = -1; // column of the state in the current result
};
