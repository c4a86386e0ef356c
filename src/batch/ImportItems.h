#pragma once

#include <QString>
#include <vector>

// Where a spreadsheet import stores its rows.
enum class ImportScenario { AddressBook, BatchList };

// One system item a spreadsheet column can be matched to, in the order of the automatic
// matching: the common items first, then the scenario's own.
struct ImportItem
{
    QString item;   // looked up in MatchColumn, and the key of a row's values
    QString box;    // objectName of its mapping box; empty for items without one
    QString label;  // the box's label
    QString column; // column of the scenario's table; empty when not stored
};

namespace ImportItems {

// The pattern lists of the column rules belong to this scenario of MatchColumn.
inline const QString kMatchType = QStringLiteral("收件信息导入");

const std::vector<ImportItem> &of(ImportScenario scenario);
// The scenario's table: CKPersonalInfoTable or ReceiverList.
QString table(ImportScenario scenario);

} // namespace ImportItems
