#pragma once

#include "data/TableSource.h"

#include <QHash>

typedef struct _GPtrArray GPtrArray;

// An Access (Jet) database read through mdbtools: older installations' databases and the
// template packages of the older release. Read only.
class JetTableSource : public TableSource
{
public:
    // "Standard Jet DB" or "Standard ACE DB" after the four magic bytes.
    static bool isJetHeader(const QByteArray &head);
    static std::unique_ptr<JetTableSource> open(const QString &path, QString *error);

    ~JetTableSource() override;

    QStringList tableNames() const override;
    QStringList columnNames(const QString &table) const override;
    bool forEachRow(const QString &table, const std::optional<Filter> &filter, const Visit &visit,
                    QString *error) const override;

private:
    struct Handle;
    explicit JetTableSource(std::unique_ptr<Handle> handle);
    void *catalogEntry(const QString &table) const;

    std::unique_ptr<Handle> m_handle;
    QHash<QString, void *> m_tables; // lower-case name to its catalogue entry
    QStringList m_tableNames;
};
