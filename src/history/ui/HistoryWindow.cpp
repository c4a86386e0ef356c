#include "history/ui/HistoryWindow.h"

#include "base/DateDisplay.h"
#include "base/Ui.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "data/Grids.h"
#include "data/ui/GridView.h"
#include "history/HistoryExport.h"
#include "history/HistoryModel.h"
#include "services/AppServices.h"
#include "services/BillReprint.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

const QString kTip = QStringLiteral("提示");

const char *const kRanges[] = {"今天",     "最近三天", "最近一周", "最近一个月", "最近三个月",
                               "最近一年", "本月内",   "本年度内", "其他日期"};
constexpr int kOtherDates = 8;

QWidget *cluster(QWidget *parent, std::initializer_list<QWidget *> parts)
{
    auto *w = new QWidget(parent);
    auto *row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    for (QWidget *part : parts)
        row->addWidget(part);
    row->addStretch();
    return w;
}

} // namespace

struct HistoryWindow::ExportJob
{
    std::unique_ptr<XlsxWriter> book;
    HistoryExport::Progress progress;
    HistoryExport::Result result;
    QProgressDialog *dialog = nullptr;
    QTimer *timer = nullptr;
};

HistoryWindow::HistoryWindow(AppServices &services, const HistoryKind &kind,
                             HistoryWindowTexts texts, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_history(services.database(), kind)
    , m_texts(std::move(texts))
{
    setObjectName(m_texts.objectName);
    setWindowTitle(m_texts.caption);
    setMinimumSize(652, 492);
    resize(980, 640);

    // Conditions across the top; the date ranges and commands beside the list below them.
    auto *main = new QVBoxLayout(this);
    buildConditions();
    main->addWidget(m_conditions);
    buildButtonRow();
    main->addLayout(m_buttonRow);
    buildLeftColumn();
    buildGrid();
    auto *lower = new QHBoxLayout;
    lower->addLayout(m_leftButtons);
    lower->addWidget(DBGrid1, 1);
    main->addLayout(lower, 1);
    buildPopup();

    const QSignalBlocker quiet(Date2);
    Date1->setDate(QDate::currentDate());
    Date2->setDate(QDate::currentDate());
}

HistoryWindow::~HistoryWindow()
{
    // An export still running reads the job: stop it before the job goes.
    if (m_exportThread) {
        m_export->progress.cancel = true;
        m_exportThread->wait();
        delete m_exportThread;
    }
}

void HistoryWindow::buildLeftColumn()
{
    m_leftButtons = new QVBoxLayout;
    ATreeView1 = new QTreeWidget(this);
    ATreeView1->setObjectName(QStringLiteral("ATreeView1"));
    ATreeView1->setHeaderHidden(true);
    ATreeView1->setRootIsDecorated(false);
    ATreeView1->setFixedWidth(110);
    for (const char *range : kRanges)
        ATreeView1->addTopLevelItem(new QTreeWidgetItem({QString::fromUtf8(range)}));
    connect(ATreeView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        chooseDateRange(ATreeView1->indexOfTopLevelItem(item));
    });
    m_leftButtons->addWidget(ATreeView1, 1);

    pri = namedButton(this, "pri", QStringLiteral("导出Excel(&P)"));
    del = namedButton(this, "del", QStringLiteral("删除选中(&D)"));
    btDeleteList = namedButton(this, "btDeleteList", QStringLiteral("删除列出(&C)"),
                               QStringLiteral("删除列出的") + m_texts.billNoun);
    DelAll = namedButton(this, "DelAll", QStringLiteral("清空所有(&Y)"),
                         QStringLiteral("清空系统所有保存的") + m_texts.billNoun);
    pri->setEnabled(false);
    del->setEnabled(false);
    for (QPushButton *b : {pri, del, btDeleteList, DelAll})
        m_leftButtons->addWidget(b);
    connect(pri, &QPushButton::clicked, this, &HistoryWindow::exportList);
    connect(del, &QPushButton::clicked, this, &HistoryWindow::deleteSelected);
    connect(btDeleteList, &QPushButton::clicked, this, &HistoryWindow::deleteListed);
    connect(DelAll, &QPushButton::clicked, this, &HistoryWindow::clearAll);
}

void HistoryWindow::buildConditions()
{
    m_conditions = new QGroupBox(QStringLiteral("查询条件"), this);
    m_conditions->setObjectName(QStringLiteral("GroupBox1"));
    m_conditions->installEventFilter(this);
    m_conditionRows = new QGridLayout(m_conditions);
    m_conditionRows->setColumnStretch(1, 1);
    m_conditionRows->setColumnStretch(3, 1);

    // Leaving a party box opens nothing: an address book popping up at every Tab or click
    // elsewhere would trap the clerk and take the typed name away. "选" beside each box opens it.
    auto partyBox = [this](const char *name, QLineEdit *&box) {
        box = new QLineEdit(m_conditions);
        box->setObjectName(QString::fromLatin1(name));
        box->setToolTip(QStringLiteral("支持简码输入（%+简码）"));
        box->setMinimumWidth(110);
        connect(box, &QLineEdit::returnPressed, this, [this, box] { lookUpShortCode(box); });
    };
    partyBox("filterSKR", filterSKR);
    partyBox("filterOutComp", filterOutComp);
    auto chooseButton = [this](const QString &name, QLineEdit *box, const QString &unitType,
                               const QString &title) {
        QPushButton *b =
            namedButton(m_conditions, name.toLatin1().constData(), QStringLiteral("选"));
        b->setFixedWidth(28);
        connect(b, &QPushButton::clicked, this,
                [this, box, unitType, title] { chooseParty(box, unitType, title); });
        return b;
    };
    auto clearButton = [this](const char *name, QLineEdit *box) {
        QPushButton *b = namedButton(m_conditions, name, QStringLiteral("清空"));
        b->setFixedWidth(48);
        connect(b, &QPushButton::clicked, this, [box] {
            box->clear();
            mark(box, Mark::Unused);
        });
        return b;
    };
    auto partyRow = [&](int row, const QString &label, QLineEdit *box, const QString &choose,
                        const QString &unitType, const QString &title, const char *clear) {
        m_conditionRows->addWidget(new QLabel(label, m_conditions), row, 0);
        m_conditionRows->addWidget(
            cluster(m_conditions,
                    {box, chooseButton(choose, box, unitType, title), clearButton(clear, box)}),
            row, 1);
    };
    partyRow(0, m_texts.receiverLabel, filterSKR, m_texts.receiverChoose, m_texts.receiverUnitType,
             m_texts.receiverTitle, "btClearSKRen");
    partyRow(1, m_texts.senderLabel, filterOutComp, m_texts.senderChoose, m_texts.senderUnitType,
             m_texts.senderTitle, "btClearOutComp");

    Date1 = new QDateEdit(m_conditions);
    Date2 = new QDateEdit(m_conditions);
    Date1->setObjectName(QStringLiteral("Date1"));
    Date2->setObjectName(QStringLiteral("Date2"));
    for (QDateEdit *d : {Date1, Date2}) {
        d->setMinimumWidth(100);
        d->setCalendarPopup(true);
        d->setDisplayFormat(DateDisplay::format());
    }
    ckNomatterRQ = new QCheckBox(QStringLiteral("不限日期"), m_conditions);
    ckNomatterRQ->setObjectName(QStringLiteral("ckNomatterRQ"));
    connect(ckNomatterRQ, &QCheckBox::toggled, this, [this](bool any) {
        Date1->setEnabled(!any);
        Date2->setEnabled(!any);
        if (any) {
            mark(Date1, Mark::Unused);
            mark(Date2, Mark::Unused);
        } else {
            Date1->setFocus();
        }
    });
    ckNomatterRQ->setChecked(true);
    connect(ckNomatterRQ, &QCheckBox::clicked, this, &HistoryWindow::query);
    connect(Date2, &QDateEdit::dateChanged, this, [this] {
        ckNomatterRQ->setChecked(false);
        query();
    });
    m_conditionRows->addWidget(new QLabel(m_texts.dateLabel, m_conditions), 2, 0);
    m_conditionRows->addWidget(
        cluster(m_conditions,
                {Date1, new QLabel(QStringLiteral("到"), m_conditions), Date2, ckNomatterRQ}),
        2, 1);

    m_number = new QComboBox(m_conditions);
    m_number->setObjectName(m_texts.numberBox);
    m_number->setEditable(true);
    m_number->setMinimumWidth(130);
    m_conditionRows->addWidget(new QLabel(m_texts.numberLabel, m_conditions), 0, 2);
    m_conditionRows->addWidget(cluster(m_conditions, {m_number}), 0, 3);

    auto *match = new QGroupBox(QStringLiteral("匹配方式"), m_conditions);
    match->setObjectName(QStringLiteral("RadioMatch"));
    auto *matchRow = new QHBoxLayout(match);
    m_exact = new QRadioButton(QStringLiteral("精确查询"), match);
    m_fuzzy = new QRadioButton(QStringLiteral("模糊查询"), match);
    m_fuzzy->setChecked(true);
    matchRow->addWidget(m_exact);
    matchRow->addWidget(m_fuzzy);
    for (QRadioButton *r : {m_exact, m_fuzzy})
        connect(r, &QRadioButton::clicked, this, &HistoryWindow::query);
    m_conditionRows->addWidget(match, 1, 2, 2, 2);

    lbSumMoney = new QLabel(m_conditions);
    lbSumMoney->setObjectName(QStringLiteral("lbSumMoney"));
    lbSumMoney->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    lbSumMoney->hide();
    Pjcount = new QLabel(m_conditions);
    Pjcount->setObjectName(QStringLiteral("Pjcount"));
    m_conditionRows->addWidget(cluster(m_conditions, {lbSumMoney, Pjcount}), 3, 2, 1, 2);
}

void HistoryWindow::addConditionRow(const QString &label, std::initializer_list<QWidget *> parts)
{
    for (QWidget *part : parts)
        if (auto *button = qobject_cast<QPushButton *>(part))
            button->setFixedWidth(48);
    m_conditionRows->addWidget(new QLabel(label, m_conditions), 3, 0);
    m_conditionRows->addWidget(cluster(m_conditions, parts), 3, 1);
}

void HistoryWindow::buildButtonRow()
{
    m_buttonRow = new QHBoxLayout;
    btQur = namedButton(this, "btQur", QStringLiteral("查 询(&Q)"));
    btAll = namedButton(this, "btAll", QStringLiteral("全 部(&A)"));
    ckDBLClick = new QCheckBox(QStringLiteral("双击打开"), this);
    ckDBLClick->setObjectName(QStringLiteral("ckDBLClick"));
    ckDBLClick->setToolTip(m_texts.doubleClickHint);
    btOpenView = namedButton(this, "btOpenView", QStringLiteral("打开(&O)"));
    btReprint = namedButton(this, "btReprint", QStringLiteral("重复打印(&R)"));
    btReprint->setToolTip(QStringLiteral("按第一次打印时的模板，或按今天的模板，再打印选中的单据"));
    btExit = namedButton(this, "btExit", QStringLiteral("关 闭(&X)"));
    m_buttonRow->addWidget(btQur);
    m_buttonRow->addWidget(btAll);
    m_buttonRow->addStretch();
    m_buttonRow->addWidget(ckDBLClick);
    m_buttonRow->addWidget(btOpenView);
    m_buttonRow->addWidget(btReprint);
    m_buttonRow->addWidget(btExit);
    connect(btQur, &QPushButton::clicked, this, &HistoryWindow::query);
    connect(btAll, &QPushButton::clicked, this, &HistoryWindow::showAll);
    connect(btOpenView, &QPushButton::clicked, this, &HistoryWindow::openCurrent);
    connect(btReprint, &QPushButton::clicked, this, &HistoryWindow::reprintCurrent);
    connect(btExit, &QPushButton::clicked, this, &QDialog::close);
    connect(ckDBLClick, &QCheckBox::toggled, this, [this](bool on) {
        m_services.settings().setINIConfigByname(m_texts.doubleClickKey,
                                                 on ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

void HistoryWindow::buildGrid()
{
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new HistoryModel(m_history.kind().stateColumn, this);
    DBGrid1->setModel(m_model);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->verticalHeader()->setVisible(false);
    // Selected rows stay white on blue whatever their state colour.
    QPalette palette = DBGrid1->palette();
    palette.setColor(QPalette::Highlight, Qt::blue);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    DBGrid1->setPalette(palette);
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    DBGrid1->horizontalHeader()->setSortIndicatorShown(true);
    DBGrid1->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &HistoryWindow::sortByColumn);
    connect(DBGrid1, &QTableView::doubleClicked, this, [this] {
        // Hidden in pick mode, where the list only chooses.
        if (!ckDBLClick->isHidden() && ckDBLClick->isChecked())
            openCurrent();
    });
    DBGrid1->viewport()->installEventFilter(this);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popup->popup(DBGrid1->viewport()->mapToGlobal(at)); });
}

void HistoryWindow::buildPopup()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char *name, const QString &caption, auto slot) {
        QAction *a = m_popup->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        // The window takes the shortcut even while the menu is closed.
        addAction(a);
        return a;
    };
    add("N5", QStringLiteral("打开查看"), [this] { openCurrent(); });
    add("nReprint", QStringLiteral("重复打印"), [this] { reprintCurrent(); });
    add("nRefresh", QStringLiteral("刷新"), [this] { refresh(); });
    add("nRemeberWidth", QStringLiteral("【记住表格列宽】"),
        [this] { GridView::GridColsWidthSave(m_services.grids(), *DBGrid1, objectName()); });
    add("nHideShowColumn", QStringLiteral("【显示/隐藏数据列】"),
        [this] { GridView::GridColsConfigration(m_services, *DBGrid1, objectName()); });
}

void HistoryWindow::mark(QWidget *box, Mark state)
{
    static const QString colours[] = {QStringLiteral("white"), QStringLiteral("yellow"),
                                      QStringLiteral("red")};
    box->setStyleSheet(u"background-color: " + colours[int(state)] + u';');
}

// ---- query --------------------------------------------------------------------------------

void HistoryWindow::query()
{
    HistoryFilter filter;
    filter.fuzzy = m_fuzzy->isChecked();
    filter.sortColumn = m_sortColumn;
    auto take = [](QLineEdit *box, QString &into) {
        box->setText(box->text().trimmed());
        into = box->text();
        mark(box, into.isEmpty() ? Mark::Unused : Mark::Used);
    };
    m_number->setEditText(m_number->currentText().trimmed());
    filter.number = m_number->currentText();
    mark(m_number, filter.number.isEmpty() ? Mark::Unused : Mark::Used);
    take(filterOutComp, filter.sender);
    take(filterSKR, filter.receiver);
    if (!ckNomatterRQ->isChecked()) {
        if (Date2->date() < Date1->date()) {
            const QString format = QStringLiteral("yyyy-MM-dd");
            m_services.ui().alert(u"日期选择有误:\"" + Date1->date().toString(format) + u'>' +
                                      Date2->date().toString(format) + u'"',
                                  QStringLiteral("日期输入"));
            return;
        }
        filter.from = Date1->date();
        filter.to = Date2->date();
    }
    for (QDateEdit *d : {Date1, Date2})
        mark(d, filter.from ? Mark::Used : Mark::Unused);
    addKindConditions(filter);

    const HistoryStatement statement =
        HistoryStatement::build(m_history.kind(), filter, m_services.database().backend());
    if (statement.identity() == m_sent)
        return;
    m_sent = statement.identity();
    runStatement(statement);
}

void HistoryWindow::runStatement(const HistoryStatement &statement)
{
    QString error;
    const std::optional<BillHistory::Summary> summary = m_history.open(*m_model, statement, error);
    if (summary) {
        m_statement = statement;
        del->setEnabled(summary->count > 0);
        pri->setEnabled(summary->count > 0);
        Pjcount->setText(u"( 共检索到 " + QString::number(summary->count) + u"条记录)");
        lbSumMoney->setText(m_texts.sumLabel + HistoryText::sumText(summary->sum));
        lbSumMoney->show();
    } else {
        m_services.ui().error(QStringLiteral("数据库操作错误！"), QStringLiteral("查询"));
        m_services.ui().error(statement.sql() + u'\n' + error);
        // The list still shows the earlier result: the same conditions may be tried again.
        m_sent.clear();
    }
    GridView::GridColsWidthLoad(m_services.grids(), *DBGrid1, objectName());
}

void HistoryWindow::refresh()
{
    // The user stays on the row just corrected or voided.
    const QModelIndex current = DBGrid1->currentIndex();
    m_sent.clear();
    query();
    if (current.isValid() && current.row() < m_model->rowCount())
        DBGrid1->setCurrentIndex(m_model->index(current.row(), current.column()));
}

void HistoryWindow::clearConditions()
{
    m_number->setEditText({});
    ckNomatterRQ->setChecked(true);
    for (QLineEdit *box : {filterOutComp, filterSKR}) {
        box->clear();
        mark(box, Mark::Unused);
    }
    clearKindConditions();
}

void HistoryWindow::showAll()
{
    clearConditions();
    query();
}

void HistoryWindow::chooseDateRange(int entry)
{
    if (entry < 0)
        return;
    clearConditions();
    const QDate today = QDate::currentDate();
    const QSignalBlocker quiet(Date2); // one query below, not one per date
    Date2->setDate(today);
    ckNomatterRQ->setChecked(false);
    if (entry == kOtherDates) {
        m_services.ui().alert(QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"),
                              kTip);
        Date1->setDate(today.addDays(-548));
        Date1->setFocus();
        return;
    }
    const QDate starts[] = {today,
                            today.addDays(-2),
                            today.addDays(-6),
                            today.addDays(-30),
                            today.addDays(-90),
                            today.addDays(-365),
                            QDate(today.year(), today.month(), 1),
                            QDate(today.year(), 1, 1)};
    Date1->setDate(starts[entry]);
    query();
}

void HistoryWindow::sortByColumn(int column)
{
    m_sortColumn = Grids::fieldName(*m_model, column);
    DBGrid1->horizontalHeader()->setSortIndicator(column, Qt::DescendingOrder);
    query();
}

// ---- the current row ----------------------------------------------------------------------

QString HistoryWindow::currentValue(const QString &column) const
{
    const int c = Grids::fieldColumn(*m_model, column);
    if (c < 0 || m_model->rowCount() == 0)
        return {};
    const QModelIndex current = DBGrid1->currentIndex();
    return m_model->index(current.isValid() ? current.row() : 0, c).data(Qt::EditRole).toString();
}

int HistoryWindow::currentBillId() const
{
    return currentValue(m_history.kind().key).toInt();
}

void HistoryWindow::openCurrent()
{
    const int id = currentBillId();
    if (id <= 0 || !m_reopen)
        return;
    if (m_reopen(currentValue(QStringLiteral("模板种类")), id))
        close();
}

void HistoryWindow::reprintCurrent()
{
    const int id = currentBillId();
    if (id <= 0)
        return;
    Ui &ui = m_services.ui();
    BillReprint reprint(m_services, m_history.kind().bill);
    QString error;
    const int version = reprint.firstVersion(id, &error);
    if (version < 0) {
        ui.error(error);
        return;
    }
    const QString title = QStringLiteral("重复打印");
    const QString bill = m_texts.billNoun + QStringLiteral("（流水号 %1）").arg(id);
    BillReprint::Layout layout = BillReprint::Layout::Today;
    if (version > 0) {
        const Ui::Answer answer = ui.showMessage(
            u"重复打印这张" + bill +
                u"：\n“是”：和第一次打印时完全一样，用当时的模板；\n“否”：用今天的模板。",
            title, Ui::Icon::Question, Ui::Buttons::YesNoCancel);
        if (answer == Ui::Answer::Cancel)
            return;
        if (answer == Ui::Answer::Yes)
            layout = BillReprint::Layout::AsFirstPrinted;
    } else if (!ui.ask(u"这张" + bill +
                           u"没有第一次打印时的模板记录（保存于记录之前，或从未打印）。\n"
                           u"按今天的模板打印吗？",
                       title)) {
        return;
    }
    btReprint->setEnabled(false);
    const BillReprint::Outcome out = reprint.print(id, layout);
    btReprint->setEnabled(true);
    // A printer that refused has told the clerk already.
    if (!out.sent && !out.printerRefused)
        ui.error(out.error, title);
}

QString HistoryWindow::partyName(const TPerson &party)
{
    return party.FullName.isEmpty() ? party.Contactor : party.FullName;
}

void HistoryWindow::chooseParty(QLineEdit *box, const QString &unitType, const QString &title)
{
    if (const std::optional<TPerson> party = m_services.parties().fetchOnePerson(unitType, title))
        box->setText(partyName(*party));
}

void HistoryWindow::lookUpShortCode(QLineEdit *box)
{
    box->setText(box->text().trimmed());
    if (box->text().isEmpty())
        return;
    if (const std::optional<TPerson> party = m_services.parties().FindByInputCode(box->text()))
        box->setText(party->FullName);
}

// ---- deleting -----------------------------------------------------------------------------

void HistoryWindow::deleteSelected()
{
    const HistoryKind &kind = m_history.kind();
    if (m_services.grids().GridSelectedDelete(*DBGrid1->selectionModel(), kind.table, kind.key,
                                              m_texts.billNoun) > 0)
        refresh();
}

void HistoryWindow::deleteListed()
{
    const HistoryKind &kind = m_history.kind();
    if (m_services.grids().GridDeleteCurrentList(*m_model, kind.table, kind.key) > 0)
        refresh();
}

void HistoryWindow::clearAll()
{
    if (!m_services.ui().ask(QStringLiteral("清空操作将删除所有保存的历史开票数据，确定要清空吗？"),
                             QStringLiteral("确认")))
        return;
    DelAll->setEnabled(false);
    QString error;
    if (const std::optional<int> deleted = m_history.clearAll(error)) {
        m_services.ui().alert(u"清空成功！共删除" + QString::number(*deleted) + u"条记录", kTip);
    } else {
        m_services.ui().error(u"清空失败！" + error, QStringLiteral("确认"));
        return;
    }
    btQur->setFocus();
    refresh();
}

// ---- export -------------------------------------------------------------------------------

void HistoryWindow::exportList()
{
    if (m_exportThread)
        return;
    if (m_model->rowCount() == 0) {
        m_services.ui().alert(QStringLiteral("没有可导出的数据~"), kTip);
        return;
    }
    std::unique_ptr<XlsxWriter> book = m_services.grids().openExcelApplication(
        m_texts.exportTitle + DateDisplay::text(QDate::currentDate()));
    if (!book)
        return;
    m_export = std::make_unique<ExportJob>();
    m_export->book = std::move(book);
    ExportJob *job = m_export.get();
    job->dialog =
        new QProgressDialog(QStringLiteral("正在导出..."), QStringLiteral("取消"), 0, 0, this);
    job->dialog->setObjectName(QStringLiteral("ExportProgress"));
    job->dialog->setWindowTitle(QStringLiteral("导出Excel"));
    job->dialog->setWindowModality(Qt::WindowModal);
    job->dialog->setMinimumDuration(300);
    job->dialog->setAutoClose(false);
    job->dialog->setAutoReset(false);
    connect(job->dialog, &QProgressDialog::canceled, this, [job] { job->progress.cancel = true; });
    job->timer = new QTimer(this);
    connect(job->timer, &QTimer::timeout, this, [job] {
        const int total = job->progress.total;
        const int done = job->progress.done;
        job->dialog->setMaximum(std::max(total, 1));
        job->dialog->setValue(std::min(done, std::max(total, 1)));
        job->dialog->setLabelText(u"正在导出 " + QString::number(done) + u" / " +
                                  QString::number(total));
    });
    job->timer->start(100);

    const HistoryStatement statement = m_statement;
    Database &db = m_services.database();
    m_exportThread = QThread::create([job, statement, &db] {
        job->result = HistoryExport::run(db, statement, *job->book, job->progress);
    });
    connect(m_exportThread, &QThread::finished, this, &HistoryWindow::finishExport);
    m_exportThread->start();
}

void HistoryWindow::finishExport()
{
    if (!m_exportThread)
        return; // already finished when the window closed
    m_exportThread->wait();
    delete m_exportThread;
    m_exportThread = nullptr;
    std::unique_ptr<ExportJob> job = std::move(m_export);
    job->timer->stop();
    delete job->timer;
    job->dialog->close();
    job->dialog->deleteLater();
    const HistoryExport::Result &result = job->result;
    const bool written = !result.cancelled && result.error.isEmpty();
    if (written)
        m_services.ui().openUrl(QUrl::fromLocalFile(job->book->path()));
    else if (!result.cancelled)
        m_services.ui().error(u"数据导出Excel出错,错误提示:" + result.error);
    // A cancelled or failed export leaves nothing behind: the unfinished file goes with it.
    job->book.reset();
    Q_EMIT exportFinished(written);
}

// ---- window -------------------------------------------------------------------------------

void HistoryWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FormFaceLoad(*this, m_services.settings().userIni());
    const QString stored = m_services.settings().getINIConfigByname(m_texts.doubleClickKey);
    const QSignalBlocker quiet(ckDBLClick);
    ckDBLClick->setChecked(stored.isEmpty() || stored == u"1");
}

void HistoryWindow::closeEvent(QCloseEvent *event)
{
    if (m_exportThread) {
        m_export->progress.cancel = true;
        m_exportThread->wait();
        finishExport();
    }
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::closeEvent(event);
}

bool HistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_conditions && event->type() == QEvent::MouseButtonPress) {
        btQur->setFocus();
    } else if (DBGrid1 && watched == DBGrid1->viewport() && event->type() == QEvent::Wheel &&
               DBGrid1->hasFocus() && m_model->rowCount() > 0) {
        // The wheel walks the current row, one row per notch, as the list's users expect.
        const int notches = static_cast<QWheelEvent *>(event)->angleDelta().y() / 120;
        if (notches == 0)
            return true;
        const QModelIndex current = DBGrid1->currentIndex();
        const int row = std::clamp((current.isValid() ? current.row() : 0) - notches, 0,
                                   m_model->rowCount() - 1);
        DBGrid1->setCurrentIndex(m_model->index(row, std::max(current.column(), 0)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
