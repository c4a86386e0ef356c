#pragma once

#include <QString>

class AppServices;
class Grids;
class QTableView;
class QWidget;

// The list operations that need the view itself: column widths and visibility, kept in
// Config.ini under the view's objectName, and the column dialog. The rest of the list
// operations are in Grids, on the view's model and selection.
namespace GridView {

// Only while the list shows a query's columns; an empty section tells the user. Answers false
// when the widths could not be stored.
bool GridColsWidthSave(Grids &grids, const QTableView &grid, const QString &section);
// A stored width above 0 shows the column at that width; 0 or -1 hides it; a column without
// one fits its title and rows.
void GridColsWidthLoad(Grids &grids, QTableView &grid, const QString &section);
// The column dialog for the list, modal; saves under `section` when the user applies.
void GridColsConfigration(AppServices &services, QTableView &grid, const QString &section);

} // namespace GridView
