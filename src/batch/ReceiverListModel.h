#pragma once

#include "batch/ReceiverList.h"

#include <QSqlQueryModel>

class Database;

// A batch list (ReceiverList, or another list table) as the window shows it: every column of its
// statement, each value editable in place except the key; an edit is stored at once and the
// list read again.
class ReceiverListModel : public QSqlQueryModel
{
    Q_OBJECT
public:
    explicit ReceiverListModel(Database &db, QObject *parent = nullptr,
                               QString table = QStringLiteral("ReceiverList"));

    // Runs the statement and reads every row; false with *error on failure.
    bool list(const ReceiverList::Statement &statement, QString *error);
    // Reads the last statement again.
    bool refresh(QString *error = nullptr);

    int idAt(int row) const;
    QList<int> ids() const;
    // The keys of the given rows in list order, whatever the order they were picked in.
    QList<int> idsInListOrder(const QModelIndexList &rows) const;

    // An empty value shows empty on both engines; the server's empty number would show 0.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    // An edit that could not be stored, with the database's reason.
    void editFailed(const QString &error);

private:
    Database &m_db;
    QString m_table;
    ReceiverList::Statement m_statement;
};
