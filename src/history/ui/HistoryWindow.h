#pragma once

#include "history/BillHistory.h"
#include "history/HistoryStatement.h"

#include <QDialog>
#include <functional>
#include <memory>

class AppServices;
class HistoryModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class QThread;
class QTreeWidget;
class QVBoxLayout;
struct TPerson;

// What the history window of one bill kind is called and says; the rest is shared.
struct HistoryWindowTexts
{
    QString objectName;
    QString caption;
    QString receiverLabel;
    QString senderLabel;
    QString dateLabel;
    QString numberLabel;
    QString numberBox;
    QString receiverChoose; // objectName of the receiver's "选" button
    QString senderChoose;
    QString receiverUnitType; // the address book list and title each "选" opens
    QString receiverTitle;
    QString senderUnitType;
    QString senderTitle;
    QString doubleClickKey; // workstation setting of "双击打开"
    QString doubleClickHint;
    QString sumLabel;    // "总费用汇总:￥"
    QString billNoun;    // what one row is called in the delete question
    QString exportTitle; // followed by today's date
};

// A list of the saved bills of one kind: the conditions, the count and sum, reopening a bill
// in its form, deleting, and the export. A query is sent only when its statement or bound
// values changed since the last one.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // Opens a saved bill in its form; answers true when it did, so the history closes.
    using Reopen = std::function<bool(const QString &templateName, int billId)>;

    ~HistoryWindow() override;

    void setReopen(Reopen reopen) { m_reopen = std::move(reopen); }

    // "查 询(&Q)": collects the conditions and sends the statement when it changed.
    void query();
    // Forgets the last statement, so the next query runs even with the same conditions.
    void refresh();
    void showAll();
    // An entry of the date tree, by its index in the tree.
    void chooseDateRange(int entry);
    void sortByColumn(int column);
    void openCurrent();
    // "重复打印": the current bill again, as first printed or with today's template.
    void reprintCurrent();
    void deleteSelected();
    void deleteListed();
    void clearAll();
    void exportList();

    QTableView *grid() const { return DBGrid1; }
    HistoryModel *model() const { return m_model; }
    const HistoryStatement &lastStatement() const { return m_statement; }
    bool isExporting() const { return m_exportThread != nullptr; }

Q_SIGNALS:
    // An export ended; `written` when the workbook is on disk.
    void exportFinished(bool written);

protected:
    HistoryWindow(AppServices &services, const HistoryKind &kind, HistoryWindowTexts texts,
                  QWidget *parent);

    // The kind's own conditions, after the shared ones.
    virtual void addKindConditions(HistoryFilter &filter) = 0;
    // The kind's own conditions cleared by "全 部(&A)" and the date tree.
    virtual void clearKindConditions() = 0;

    // Paints a condition box: yellow when it takes part, white when not, red for bad input.
    enum class Mark { Unused, Used, Bad };
    static void mark(QWidget *box, Mark state);
    // The current row's value of a column, empty when there is none.
    QString currentValue(const QString &column) const;
    int currentBillId() const;
    // The party chosen in the address book: its full name, or its contact without one.
    static QString partyName(const TPerson &party);
    // The kind's own row of conditions, under the dates.
    void addConditionRow(const QString &label, std::initializer_list<QWidget *> parts);

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    AppServices &m_services;
    BillHistory m_history;
    HistoryWindowTexts m_texts;

    QTreeWidget *ATreeView1 = nullptr;
    QVBoxLayout *m_leftButtons = nullptr;
    QPushButton *pri = nullptr;
    QPushButton *del = nullptr;
    QPushButton *btDeleteList = nullptr;
    QPushButton *DelAll = nullptr;
    QGroupBox *m_conditions = nullptr;
    QGridLayout *m_conditionRows = nullptr;
    QLineEdit *filterSKR = nullptr;
    QLineEdit *filterOutComp = nullptr;
    QDateEdit *Date1 = nullptr;
    QDateEdit *Date2 = nullptr;
    QCheckBox *ckNomatterRQ = nullptr;
    QComboBox *m_number = nullptr;
    QRadioButton *m_exact = nullptr;
    QRadioButton *m_fuzzy = nullptr;
    QLabel *lbSumMoney = nullptr;
    QLabel *Pjcount = nullptr;
    QHBoxLayout *m_buttonRow = nullptr;
    QPushButton *btQur = nullptr;
    QPushButton *btAll = nullptr;
    QCheckBox *ckDBLClick = nullptr;
    QPushButton *btOpenView = nullptr;
    QPushButton *btReprint = nullptr;
    QPushButton *btExit = nullptr;
    QTableView *DBGrid1 = nullptr;
    QMenu *m_popup = nullptr;

private:
    void buildLeftColumn();
    void buildConditions();
    void buildButtonRow();
    void buildGrid();
    void buildPopup();
    void clearConditions();
    void lookUpShortCode(QLineEdit *box);
    void chooseParty(QLineEdit *box, const QString &unitType, const QString &title);
    void runStatement(const HistoryStatement &statement);
    void finishExport();

    HistoryModel *m_model = nullptr;
    HistoryStatement m_statement;
    QString m_sent; // identity of the last statement sent
    QString m_sortColumn;
    Reopen m_reopen;

    struct ExportJob;
    std::unique_ptr<ExportJob> m_export;
    QThread *m_exportThread = nullptr;
};
