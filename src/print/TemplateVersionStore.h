#pragma once

#include "print/TemplateVersion.h"

#include <QString>
#include <optional>

class Database;

// The template versions prints used (table TemplateVersionTable): one row per distinct
// content, shared by every bill and run printed with it.
class TemplateVersionStore
{
public:
    explicit TemplateVersionStore(Database &db);

    // The version's number, the row of an equal version when there is one; 0 with *error on
    // failure. Safe when two workstations record the same version at once.
    int record(const TemplateVersion &version, QString *error) const;
    // Nothing when there is no such version or its row cannot be read (*error says which).
    std::optional<TemplateVersion> load(int versionId, QString *error) const;

private:
    Database &m_db;
};
