#pragma once

#include <QString>
#include <QStringList>

class Database;
class DataHome;

// The maintenance commands of the Tools menu that work on the data home.
namespace Maintenance {

// Empties the layout cache marks (every cache is rebuilt on its next use) and removes
// template rows, items and settings that no longer belong to anything, in one transaction.
bool clearTemplateCaches(Database &db, QString *error);
// Removes pictures of Image/ that no template uses: never a system picture ("sys_" in any
// case), a picture the program ships, or one whose name occurs inside any template's picture
// name. Answers the names removed.
QStringList clearUnusedPictures(Database &db, const DataHome &home);

struct RepairResult
{
    bool ok = false;
    QString backupPath;
    QString integrity; // "ok", or what the check found
    QString error;
};
// Takes a copy of the database beside it, checks it and compacts it.
RepairResult repairDatabase(Database &db, const DataHome &home);

// The first desktop calculator found on `searchPaths` (the PATH when empty).
QString findCalculator(const QStringList &searchPaths = {});
// Commands that lock the screen, in the order they are tried.
QList<QStringList> lockScreenCommands();

} // namespace Maintenance
