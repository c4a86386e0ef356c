#pragma once

#include <QHash>
#include <QString>
#include <optional>

class Database;

// Saved bills of one kind: one row of the kind's table (DataKDDTable, DataCDHPTable) per bill,
// keyed by 流水号.
class BillStore
{
public:
    using Values = QHash<QString, QString>; // column -> text

    struct SaveResult
    {
        int billId = -1;
        bool inserted = false;
        QString error; // empty on success
    };

    BillStore(Database &db, QString table);

    // Edits the row of `billId` when it exists, else inserts a new one. Only the columns of
    // the table are written; unknown keys are ignored. When the look-up of the row fails,
    // nothing is written and the error is answered.
    SaveResult save(int billId, const Values &values);
    // Keeps the template version the bill was first printed with; a bill printed before keeps
    // its first. False with *error on failure.
    bool recordFirstPrint(int billId, int versionId, QString *error);
    // The row's column that names that version.
    static QString versionColumn() { return QStringLiteral("模板版本"); }
    // The row's columns, or nothing when there is no such row (`error` says why on failure).
    std::optional<Values> load(int billId, QString *error = nullptr) const;

private:
    // Whether the row is there; nothing when the look-up failed (`error` says why).
    std::optional<bool> exists(int billId, QString *error) const;

    Database &m_db;
    QString m_table;
};
