#include "batch/ui/BatchGrid.h"

#include <QHeaderView>
#include <QTableView>

QTableView *makeBatchGrid(QWidget *parent, QAbstractItemModel *model)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    return grid;
}
