#pragma once

#include "batch/ui/ExpressBatchPrinter.h"

#include <QDialog>
#include <QSet>
#include <functional>

class AppServices;
class BillValues;
class ColumnFillPanel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabBar;
class QTableView;
class QTimeEdit;
class QTreeWidget;
class QTreeWidgetItem;
class ReceiverListModel;
class TfmCheckKDD;
struct ExpressSlipOptions;

// The express slip batch window: the list of receivers to print (ReceiverList), its sources,
// filters and edits, and printing one slip per listed row through the open express slip form
// in one printer document. Made on first use and kept; shown modally.
class TfrmMutiPrint : public QDialog
{
    Q_OBJECT
public:
    // Where rows come from besides the address book; each calls `listChanged` after adding.
    struct Sources
    {
        std::function<void(std::function<void()> listChanged)> recognise;
        std::function<void(std::function<void()> listChanged)> importSpreadsheet;
    };

    TfrmMutiPrint(AppServices &services, Sources sources, QWidget *parent = nullptr);
    ~TfrmMutiPrint() override;

    // Lists the rows of the group chosen in the group box.
    void ALoadGridData();
    // Chooses a batch group ("全部列表": every row; empty: rows without a group) and lists it.
    void ALoadGridData(const QString &group);
    // Offers "全部列表", the rows without a group and every stored group; the text stays.
    void AReloadListNames();
    // Pushes one row into the open express slip form, telling the user what went wrong.
    bool SendToCheckByID(int id);
    // Finds which columns the list shows; hidden ones print the form's own value.
    void GridFieldIndexAdjust();

    void btPrintAllClick();
    void printSelected();
    // Prints the listed rows from `row` to the last: a jammed run printed again.
    void printFrom(int row);
    void preview();
    void selectFirstRows();
    void btDeleteSelectedClick();
    void btDeleteListClick();
    void btClearAllClick();
    void btExportClick();
    void btFillColumnClick();
    void btApplyFillClick();
    void btAddressBookClick();
    void moveSelectedTo(const QString &status);
    // "打印记录": the runs of this list; a run chosen there prints again from a row.
    void btRunsClick();

    QTableView *grid() const { return DBGrid1; }
    ReceiverListModel *model() const { return m_model; }

    // Called after each printed row with the progress dialog (tests and screenshots stop
    // or look there).
    std::function<void(QProgressDialog &progress, int done, int total)> batchRowDone;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    QWidget *buildLeftPanel();
    QWidget *buildFilterGroup();
    QWidget *buildFillPanel();
    QWidget *buildActionRow();
    void buildGrid();
    void buildPopupMenu();
    void showPopupMenu(const QPoint &at);
    void datePresetChosen(QTreeWidgetItem *item);
    void allDatesToggled();
    void tabChanged(int tab);
    void fillTargetChanged();
    void updateSelectedCount();
    void fillFilterColumns();
    QList<int> selectedIdsInListOrder() const;
    void printRows(const QList<int> &ids);
    // Puts a row into the slip; answers why the row cannot print, empty when it can. The raw
    // capital amount, when the list shows one, goes to `typedAmount` too.
    QString pushRow(BillValues &slip, int id, const ExpressSlipOptions &options,
                    QString *typedAmount = nullptr) const;
    QPushButton *addButton(const char *name, const QString &caption, const QString &hint = {});

    AppServices &m_services;
    Sources m_sources;
    ReceiverListModel *m_model = nullptr;
    QSet<QString> m_shownColumns;

    QTreeWidget *tvDates = nullptr;
    QComboBox *cb_ListName = nullptr;
    QComboBox *cbFilterFields = nullptr;
    QComboBox *cbEqualType = nullptr;
    QLineEdit *keyEdit = nullptr;
    QComboBox *edtOrder = nullptr;
    QCheckBox *ckDesc = nullptr;
    QDateEdit *Date1 = nullptr;
    QDateEdit *Date2 = nullptr;
    QTimeEdit *Time1 = nullptr;
    QTimeEdit *Time2 = nullptr;
    QCheckBox *ckAllDates = nullptr;
    QLineEdit *edtListCount = nullptr;
    QLineEdit *edtSelectedCount = nullptr;
    QGroupBox *grpFilter = nullptr;
    ColumnFillPanel *panelFill = nullptr;
    QPushButton *btPrintAll = nullptr;
    QTabBar *tabStatus = nullptr;
    QTableView *DBGrid1 = nullptr;
    QStatusBar *statusBar = nullptr;
    QMenu *m_popup = nullptr;
};
