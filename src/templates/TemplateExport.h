#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class DataHome;
class Database;

// Writes a template package. The package is built in a temporary file beside the chosen one
// and takes its name only when complete, so a failed or cancelled export never leaves half a
// package under that name, nor spoils a package that was there.
class TemplateExport
{
public:
    struct Result
    {
        bool exported = false;
        QString error;
        // Found but not fatal: the picture file could not be read, or the settings.
        QString pictureError;
        QString settingsError;
    };

    TemplateExport(Database &db, const DataHome &home);
    ~TemplateExport();
    TemplateExport(const TemplateExport &) = delete;
    TemplateExport &operator=(const TemplateExport &) = delete;

    // Full names of every local template, enabled or not, in name order.
    static QStringList localTemplateNames(Database &db);

    bool begin(const QString &targetPath, const QString &appVersion, QString *error);
    // Each template is written in a transaction of its own: a failed one leaves no rows.
    Result exportOne(const QString &fullName);
    // Completes the package under its name.
    bool finish(QString *error);
    // Forgets the unfinished package.
    void abandon();

private:
    void closePackage();

    Database &m_db;
    const DataHome &m_home;
    QString m_target;
    QString m_temporary;
    QString m_connectionName;
    QSqlDatabase m_package;
};
