#pragma once

#include "base/CappedChild.h"
#include "data/TableSource.h"

#include <QTemporaryDir>
#include <vector>

// An Access (Jet) database: older installations' databases and the template packages of the
// older release. Read only. mdbtools allocates without bound on some damaged files, so the
// whole file is copied out once in a capped child process (see JetDump) and read from there.
class JetTableSource : public TableSource
{
public:
    // "Standard Jet DB" or "Standard ACE DB" after the four magic bytes.
    static bool isJetHeader(const QByteArray &head);
    // `waiting` is called while the file is read (see CappedChild::run).
    static std::unique_ptr<JetTableSource> open(const QString &path, QString *error,
                                                const std::function<void()> &waiting = {},
                                                const CappedChild::Limits &limits = {});

    QStringList tableNames() const override;
    QStringList columnNames(const QString &table) const override;
    bool forEachRow(const QString &table, const std::optional<Filter> &filter, const Visit &visit,
                    QString *error) const override;

private:
    JetTableSource() = default;
    bool readTables(QString *error);
    int tableIndex(const QString &table) const;

    struct Table
    {
        QString name;
        QStringList columns;
    };
    QTemporaryDir m_dir; // the copy, removed with the source
    std::vector<Table> m_tables;
};
