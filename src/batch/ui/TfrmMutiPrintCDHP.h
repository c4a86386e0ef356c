#pragma once

#include "batch/ui/ExpressBatchPrinter.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <functional>

class AppServices;
class BillForm;
class ColumnFillPanel;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class ReceiverListModel;
class TfmCheckCDHP;

// The acceptance draft batch window: the list of drafts to print (MultiPrintCDHP) by batch
// group, its sources and edits, and printing one draft per row through the open draft form in
// one printer document. Shown beside the form and destroyed when closed.
class TfrmMutiPrintCDHP : public QDialog
{
    Q_OBJECT
public:
    struct Sources
    {
        // Opens the draft history to pick saved drafts into the given batch group.
        std::function<void(const QString &group)> pickFromHistory;
        // Opens the draft spreadsheet import.
        std::function<void()> importSpreadsheet;
    };

    TfrmMutiPrintCDHP(AppServices &services, Sources sources, QWidget *parent = nullptr);
    ~TfrmMutiPrintCDHP() override;

    // Lists the rows of a batch group ("全部列表": every row; empty: rows without a group).
    void ALoadGridData(const QString &group);
    void AReloadListNames();
    void refresh(); // "过滤刷新": the group box's text

    void btStartPrintClick();
    void nPrintSelClick();
    // "【从当前条开始】打印到最后": the listed rows from `row` on.
    void printFrom(int row);
    // "打印记录": the runs of this list; a run chosen there prints again from a row.
    void btRunsClick();
    void btClearClick();
    void btDelSelectClick();
    void btToExcelClick();
    void btFromWriteClick();
    void btFromHistoryClick();
    void btFillColumnClick();
    void btModifyFieldClick();

    QTableView *grid() const { return DBGrid1; }
    ReceiverListModel *model() const { return m_model; }

    // Called after each printed row with the progress dialog (tests stop there).
    std::function<void(QProgressDialog &progress, int done, int total)> batchRowDone;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildTopBar();
    QWidget *buildSecondBar();
    QWidget *buildFillPanel();
    void buildGrid();
    void printRows(const QList<int> &ids);
    QList<int> selectedIds() const;
    QPushButton *addButton(const char *name, const QString &caption, const QString &hint = {});

    AppServices &m_services;
    Sources m_sources;
    ReceiverListModel *m_model = nullptr;
    bool m_shownOnce = false;

    QComboBox *cb_ListName = nullptr;
    QPushButton *btStartPrint = nullptr;
    QLineEdit *edtSelectCount = nullptr;
    QComboBox *edtOrder = nullptr;
    QCheckBox *ckDESC = nullptr;
    ColumnFillPanel *panelModify = nullptr;
    QTableView *DBGrid1 = nullptr;
    QMenu *m_popup = nullptr;
};
