#include "data/ui/GridView.h"

#include "data/Grids.h"
#include "data/ui/TfrmGridConfig.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace GridView {

namespace {
constexpr int kWidestFitted = 240;
}

bool GridColsWidthSave(Grids &grids, const QTableView &grid, const QString &section)
{
    const QAbstractItemModel *model = grid.model();
    if (!model || model->columnCount() == 0)
        return true;
    const QHeaderView *header = grid.horizontalHeader();
    QList<int> widths;
    for (int c = 0; c < model->columnCount(); ++c)
        widths << (header->isSectionHidden(c) ? -1 : header->sectionSize(c));
    return grids.saveColumnWidths(section, grid.objectName(), widths);
}

void GridColsWidthLoad(Grids &grids, QTableView &grid, const QString &section)
{
    const int columns = grid.model() ? grid.model()->columnCount() : 0;
    const QList<int> widths = grids.loadColumnWidths(section, grid.objectName(), columns);
    QHeaderView *header = grid.horizontalHeader();
    for (int c = 0; c < widths.size(); ++c) {
        header->setSectionHidden(c, widths[c] < 1);
        if (widths[c] == Grids::kDefaultWidth) {
            // No remembered width: fit the title and first rows instead of the default, which
            // cuts every Chinese title; a long text must not push the rest out of view.
            grid.resizeColumnToContents(c);
            header->resizeSection(c, std::min(header->sectionSize(c), kWidestFitted));
        } else if (widths[c] > 0) {
            header->resizeSection(c, widths[c]);
        }
    }
}

void GridColsConfigration(AppServices &services, QTableView &grid, const QString &section)
{
    TfrmGridConfig dialog(services, grid, section, grid.window());
    dialog.exec();
}

} // namespace GridView
