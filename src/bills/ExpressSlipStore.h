#pragma once

#include <QHash>
#include <QString>
#include <optional>

class Database;

// Saved express slips: one row of DataKDDTable per slip, keyed by 流水号.
class ExpressSlipStore
{
public:
    using Values = QHash<QString, QString>; // column -> text

    struct SaveResult
    {
        int billId = -1;
        bool inserted = false;
        QString error; // empty on success
    };

    explicit ExpressSlipStore(Database &db);

    // Edits the row of `billId` when it exists, else inserts a new one. Only the columns of
    // the table are written; unknown keys are ignored. When the look-up of the row fails,
    // nothing is written and the error is answered.
    SaveResult save(int billId, const Values &values);
    // The row's columns, or nothing when there is no such row (`error` says why on failure).
    std::optional<Values> load(int billId, QString *error = nullptr) const;

private:
    // Whether the row is there; nothing when the look-up failed (`error` says why).
    std::optional<bool> exists(int billId, QString *error) const;

    Database &m_db;
};
