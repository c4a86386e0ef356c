#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

class Catalogue;
class Database;
class DataHome;
class TableSource;

// Brings the business data of an older installation's database (an Access file, read through
// a TableSource) into ours, in one transaction: all of it or nothing.
class DatabaseUpgrade
{
public:
    // The older database inside an installation folder.
    static QString olderDatabasePath(const QString &folder);
    // The tables taken over, in the order they are copied; our own rows of them are replaced.
    static const std::vector<QString> &tables();

    DatabaseUpgrade(Database &db, QString appVersion);

    // The setting "version" already names this release.
    bool alreadyUpgraded() const;

    using Progress = std::function<void(int done, int total, const QString &note)>;
    struct Summary
    {
        bool ok = false;
        QString error;
        std::vector<std::pair<QString, int>> rows; // per table taken over
        // Item rows the older database held twice for one template; the first was kept.
        QStringList mergedItems;
    };
    // The tables the older database lacks are refused before anything changes.
    Summary upgradeFrom(const TableSource &older, const Progress &progress);
    // Every template's layout cache built again from the rows taken over, so that the forms
    // lay out and print what the database says; the identifiers whose cache could not be built.
    static QList<int> rebuildLayoutCaches(Database &db, Catalogue &catalogue);
    // Copies the pictures the templates name from the older Image/ folder, never over ours.
    static int copyPictures(Database &db, const QString &olderFolder, const DataHome &home);

    // Express slip items the forms need, added to the dictionary when missing, and the
    // dictionary's names and types made uniform.
    static bool addDictionaryItems(Database &db, QString *error);
    // Empty kinds of templates taken from the part of the full name before its bracket.
    static bool initTypeFirstNameValue(Database &db, QString *error);

private:
    bool copyTable(const TableSource &older, const QString &table, int *rows, QStringList *merged,
                   QString *error);

    Database &m_db;
    QString m_appVersion;
};
