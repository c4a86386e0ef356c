#pragma once

#include "data/TPerson.h"
#include "parties/AddressBook.h"

#include <QDialog>
#include <optional>

class AddressBookWindows;
class AppServices;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSqlQueryModel;
class QTabBar;
class QTableView;
class QWidget;

// The address book list of own units and counterparties. In manage mode it edits them; in
// select mode a double-click answers one party and closes the window.
class Tfm_PersonManage : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Manage, Select };

    Tfm_PersonManage(AppServices &services, AddressBookWindows &windows, Mode mode,
                     QWidget *parent = nullptr);

    // Select mode: the start tab follows the unit type; a non-empty title is the caption.
    void startSelection(const QString &unitType, const QString &title);
    const std::optional<TPerson> &chosen() const { return m_chosen; }

    void btQurClick();
    void btSelAllClick();
    void btAdvQurClick();
    void TabControl1Change(int tab);
    void btInsertClick();
    void btEditClick();
    void btDeleteClick();
    void btDeleteListClick();
    void btClearAllClick();
    void btSetDefaultClick();
    void btRefreshClick();
    void btExportClick();
    // A title click: sort by its column, the direction alternating from "ASC".
    void sortByColumn(int column);
    void rowDoubleClicked(int row);

    QTableView *grid() const { return DBGrid1; }
    QString unitTypeFilter() const;
    const QString &sortField() const { return m_sortField; }
    const QString &sortDirection() const { return m_sortDirection; }

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    QWidget *buildSearchRow();
    QWidget *buildAdvancedPanel();
    QWidget *buildButtonRow();
    void buildGrid();
    void buildPopupMenu();
    void reloadGroups();
    void applyTab(int tab);
    // Runs the statement into the grid and answers the rows it finds.
    int runList(const AddressBookStatement &statement);
    void showCount(const QString &heading, int rows);
    AddressBookFilter currentFilter() const;
    int currentId() const;
    std::optional<TPerson> partyAt(int row) const;
    void openDetail();
    void dataChanged();
    void rowClicked(int row);
    void toggleClearAll();

    AppServices &m_services;
    AddressBookWindows &m_windows;
    AddressBook m_book;
    const Mode m_mode;
    QString m_sortField = AddressBook::kDefaultSortField;
    QString m_sortDirection = AddressBook::kDefaultSortDirection;
    std::optional<TPerson> m_chosen;
    int m_rows = 0; // of the last list, for the heading

    QLabel *lbTitle = nullptr;
    QTabBar *TabControl1 = nullptr;
    QLineEdit *edtZHType = nullptr;
    QComboBox *cb_Group = nullptr;
    QLineEdit *KeyEdit = nullptr;
    QPushButton *btShowAdv = nullptr;
    QWidget *panelAdv = nullptr;
    QComboBox *Column1 = nullptr;
    QComboBox *EqualOrContain1 = nullptr;
    QLineEdit *key1 = nullptr;
    QPushButton *btRefresh = nullptr;
    QPushButton *btClearAll = nullptr;
    QTableView *DBGrid1 = nullptr;
    QSqlQueryModel *m_model = nullptr;
    QMenu *m_popup = nullptr;
};
