#pragma once

#include <QDialog>

class AppServices;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

// The column rules of the spreadsheet import: a read-only list of the rules and an edit area
// for the current one. Adding and deleting rules, and renaming their items, are for support
// staff only: they appear while the order box holds the service code.
class TfrmImportColumnCfg : public QDialog
{
    Q_OBJECT
public:
    TfrmImportColumnCfg(AppServices &services, QWidget *parent = nullptr);

    void btSubmitClick();
    void btAddClick();
    void btDeleteClick();

private:
    void reload(int selectId);
    void rowChanged();
    void orderChanged(const QString &text);
    int currentId() const;

    AppServices &m_services;
    QSqlQueryModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *edShowOrd = nullptr;
    QLineEdit *edItemName = nullptr;
    QLineEdit *edSourceName = nullptr;
    QPushButton *btAdd = nullptr;
    QPushButton *btDelete = nullptr;
};
