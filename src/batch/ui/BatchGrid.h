#pragma once

class QAbstractItemModel;
class QTableView;
class QWidget;

// The grid of a batch list: whole rows selected, several with Ctrl, values edited in place,
// its own pop-up menu.
QTableView *makeBatchGrid(QWidget *parent, QAbstractItemModel *model);
