#pragma once

#include "base/ReaderProcess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class Catalogue;
class DataHome;
class Database;
class TableSource;

// Imports templates from a template package (ours, SQLite, or the older release's, Access;
// told apart by the file's first bytes). Each template comes in whole or not at all: its row,
// items, settings and picture are written in one transaction, the picture before the commit
// and removed again when the transaction is rolled back.
class TemplateImport
{
public:
    // More templates than this in one package is taken for a damaged file.
    static constexpr int kMaxTemplates = 50000;

    struct Result
    {
        bool imported = false;
        int checkTypeId = 0;
        // Why the template failed; empty where the failure is silent (a template of no known
        // bill kind).
        QString error;
        // The package's settings for the template could not be read; the template is still
        // imported.
        QString settingsError;
        QString kind; // of the template imported
    };

    TemplateImport(Database &db, Catalogue &catalogue, const DataHome &home);
    ~TemplateImport();

    // `progress` watches the read of an older Access package and may stop it.
    bool open(const QString &path, QString *error, const ReaderProcess::Progress &progress = {});
    void close();
    bool isOpen() const { return bool(m_source); }
    // "V928" when the package carries settings and items, "V927" otherwise.
    const QString &version() const { return m_version; }

    // Full names of the package's templates in name order.
    bool templateNames(QStringList *names, QString *error) const;
    // The picture bytes the package carries for a template; empty when none.
    QByteArray picture(const QString &fullName) const;

    Result importOne(const QString &fullName);
    // Each of these kinds left without a default template gets its first enabled one as the
    // default; the full names of the templates made default.
    QStringList giveKindsADefault(const QStringList &kinds);

private:
    Database &m_db;
    Catalogue &m_catalogue;
    const DataHome &m_home;
    std::unique_ptr<TableSource> m_source;
    QString m_version;
};
