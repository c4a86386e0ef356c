#include "parties/ui/Tfm_PersonManage.h"

#include "base/IniFile.h"
#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "data/Grids.h"
#include "data/ui/GridView.h"
#include "parties/ui/AddressBookWindows.h"
#include "parties/ui/Tfrm_PersonInfo.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kTable = QStringLiteral("CKPersonalInfoTable");
const QString kHeading = QStringLiteral("单位及客户资料管理");
const QString kKeyHint = QStringLiteral("默认查找单位、联系人、电话、手机、地址、助记码几项。");
constexpr int kClearAllReveal = 70;

// Widths a first-time user sees, until they remember their own.
int initialWidth(const QString &field)
{
    static const QHash<QString, int> widths = {
        {QStringLiteral("全称"), 200},     {QStringLiteral("地址"), 220},
        {QStringLiteral("电话"), 100},     {QStringLiteral("手机"), 100},
        {QStringLiteral("联系人"), 70},    {QStringLiteral("开户行账号"), 140},
        {QStringLiteral("开户银行"), 140}, {QStringLiteral("ID"), 50},
    };
    return widths.value(field, 70);
}

} // namespace

Tfm_PersonManage::Tfm_PersonManage(AppServices &services, AddressBookWindows &windows, Mode mode,
                                   QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_windows(windows)
    , m_book(services.database())
    , m_mode(mode)
{
    setObjectName(QStringLiteral("fm_PersonManage"));
    setWindowTitle(kHeading);
    resize(900, 560);
    buildLayout();
    reloadGroups();
    const QSignalBlocker block(cb_Group);
    cb_Group->setCurrentIndex(-1);
}

void Tfm_PersonManage::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    lbTitle = new QLabel(QStringLiteral("单位、客户资料管理"), this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    makeHeading(lbTitle, 1.4);
    lbTitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(lbTitle);

    TabControl1 = new QTabBar(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    for (const QString &tab :
         {TPerson::kOwnUnit, TPerson::kCounterparty, QStringLiteral("全部单位")})
        TabControl1->addTab(tab);
    TabControl1->setDrawBase(false);
    connect(TabControl1, &QTabBar::currentChanged, this, &Tfm_PersonManage::TabControl1Change);
    layout->addWidget(TabControl1);

    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabPage"));
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    pageLayout->addWidget(buildSearchRow());
    pageLayout->addWidget(buildAdvancedPanel());
    buildGrid();
    pageLayout->addWidget(DBGrid1, 1);
    pageLayout->addWidget(buildButtonRow());
    layout->addWidget(page, 1);

    edtZHType = new QLineEdit(this);
    edtZHType->setObjectName(QStringLiteral("edtZHType"));
    edtZHType->hide();
    buildPopupMenu();
}

QWidget *Tfm_PersonManage::buildSearchRow()
{
    auto *row = new QWidget(this);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(new QLabel(QStringLiteral("单位分组："), row));
    cb_Group = new QComboBox(row);
    cb_Group->setObjectName(QStringLiteral("cb_Group"));
    cb_Group->setMaxVisibleItems(35);
    cb_Group->setMinimumWidth(120);
    connect(cb_Group, &QComboBox::currentIndexChanged, this, &Tfm_PersonManage::btQurClick);
    h->addWidget(cb_Group);

    auto *keyLabel = new ClickableLabel(QStringLiteral("?查找关键字："), row);
    keyLabel->setObjectName(QStringLiteral("lbKey"));
    connect(keyLabel, &ClickableLabel::clicked, this,
            [this] { m_services.ui().alert(kKeyHint, kPrompt); });
    h->addWidget(keyLabel);
    KeyEdit = new QLineEdit(row);
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    KeyEdit->setToolTip(kKeyHint);
    KeyEdit->setPlaceholderText(kKeyHint);
    KeyEdit->setMinimumWidth(220);
    KeyEdit->installEventFilter(this);
    connect(KeyEdit, &QLineEdit::returnPressed, this, &Tfm_PersonManage::btQurClick);
    h->addWidget(KeyEdit, 1);

    auto *query = namedButton(row, "btQur", QStringLiteral("查询(&C)"));
    connect(query, &QPushButton::clicked, this, &Tfm_PersonManage::btQurClick);
    btShowAdv = namedButton(row, "btShowAdv", QStringLiteral("高级"), QStringLiteral("高级查询"));
    connect(btShowAdv, &QPushButton::clicked, this, [this] {
        panelAdv->setVisible(!panelAdv->isVisible());
        btShowAdv->setText(panelAdv->isVisible() ? QStringLiteral(">>") : QStringLiteral("<<"));
    });
    auto *all = namedButton(row, "btSelAll", QStringLiteral("全部(&A)"));
    connect(all, &QPushButton::clicked, this, &Tfm_PersonManage::btSelAllClick);
    auto *import = namedButton(row, "btImprt", QStringLiteral("Excel导入(&I)"));
    connect(import, &QPushButton::clicked, this, [this] {
        m_windows.openImport();
        btQurClick();
    });
    auto *exportButton = namedButton(row, "btExport", QStringLiteral("Excel导出(&E)"));
    connect(exportButton, &QPushButton::clicked, this, &Tfm_PersonManage::btExportClick);
    auto *close = namedButton(row, "btClose", QStringLiteral("关 闭(&X)"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton *b : {query, btShowAdv, all, import, exportButton, close})
        h->addWidget(b);
    return row;
}

QWidget *Tfm_PersonManage::buildAdvancedPanel()
{
    panelAdv = new QWidget(this);
    panelAdv->setObjectName(QStringLiteral("panelAdv"));
    auto *h = new QHBoxLayout(panelAdv);
    h->setContentsMargins(0, 0, 0, 0);
    Column1 = new QComboBox(panelAdv);
    Column1->setObjectName(QStringLiteral("Column1"));
    Column1->addItems({QString(), QStringLiteral("联系人"), QStringLiteral("全称"),
                       QStringLiteral("地址"), QStringLiteral("电话"), QStringLiteral("手机"),
                       QStringLiteral("省"), QStringLiteral("县市")});
    EqualOrContain1 = new QComboBox(panelAdv);
    EqualOrContain1->setObjectName(QStringLiteral("EqualOrContain1"));
    EqualOrContain1->addItems({QStringLiteral("包含"), QStringLiteral("等于")});
    key1 = new QLineEdit(panelAdv);
    key1->setObjectName(QStringLiteral("key1"));
    connect(key1, &QLineEdit::returnPressed, this, &Tfm_PersonManage::btAdvQurClick);
    auto *query = namedButton(panelAdv, "btAdvQur", QStringLiteral("查  询"));
    connect(query, &QPushButton::clicked, this, &Tfm_PersonManage::btAdvQurClick);
    h->addWidget(Column1);
    h->addWidget(EqualOrContain1);
    h->addWidget(key1, 1);
    h->addWidget(query);
    h->addStretch();
    panelAdv->hide();
    return panelAdv;
}

void Tfm_PersonManage::buildGrid()
{
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new QSqlQueryModel(this);
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);
    DBGrid1->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { color: blue; font-weight: bold; }"));
    DBGrid1->horizontalHeader()->setSectionsClickable(true);
    QPalette palette = DBGrid1->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(12, 147, 220));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    DBGrid1->setPalette(palette);
    DBGrid1->viewport()->installEventFilter(this);
    connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &Tfm_PersonManage::sortByColumn);
    connect(DBGrid1, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { rowDoubleClicked(index.row()); });
    connect(DBGrid1, &QTableView::clicked, this,
            [this](const QModelIndex &index) { rowClicked(index.row()); });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { m_popup->popup(DBGrid1->viewport()->mapToGlobal(pos)); });
}

QWidget *Tfm_PersonManage::buildButtonRow()
{
    auto *row = new QWidget(this);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto *first = namedButton(row, "btFirst", QStringLiteral("|<"), QStringLiteral("第一条"));
    connect(first, &QPushButton::clicked, this, [this] {
        if (m_model->rowCount() > 0)
            DBGrid1->selectRow(0);
    });
    auto *last = namedButton(row, "btLast", QStringLiteral(">|"), QStringLiteral("最后一条"));
    connect(last, &QPushButton::clicked, this, [this] {
        Grids::fetchAll(*m_model);
        if (m_model->rowCount() > 0)
            DBGrid1->selectRow(m_model->rowCount() - 1);
    });
    auto *insert = namedButton(row, "btInsert", QStringLiteral("添 加"));
    connect(insert, &QPushButton::clicked, this, &Tfm_PersonManage::btInsertClick);
    auto *edit = namedButton(row, "btEdit", QStringLiteral("修 改"));
    connect(edit, &QPushButton::clicked, this, &Tfm_PersonManage::btEditClick);
    auto *remove = namedButton(row, "btDelete", QStringLiteral("删除选中"));
    connect(remove, &QPushButton::clicked, this, &Tfm_PersonManage::btDeleteClick);
    auto *removeList = namedButton(row, "btDeleteList", QStringLiteral("删除列出"));
    connect(removeList, &QPushButton::clicked, this, &Tfm_PersonManage::btDeleteListClick);
    btRefresh = namedButton(row, "btRefresh", QStringLiteral("刷 新"));
    btRefresh->setEnabled(false);
    connect(btRefresh, &QPushButton::clicked, this, &Tfm_PersonManage::btRefreshClick);
    auto *setDefault = namedButton(row, "btSetDefault", QStringLiteral("设为默认出票人"));
    connect(setDefault, &QPushButton::clicked, this, &Tfm_PersonManage::btSetDefaultClick);
    for (QPushButton *b : {first, last, insert, edit, remove, removeList, btRefresh, setDefault})
        h->addWidget(b);
    h->addStretch();
    auto *reveal = new ClickableLabel(QStringLiteral("删除所有点击我->>"), row);
    reveal->setObjectName(QStringLiteral("Label5"));
    connect(reveal, &ClickableLabel::clicked, this, &Tfm_PersonManage::toggleClearAll);
    h->addWidget(reveal);
    // Out of sight until asked for: it empties the whole book.
    btClearAll = namedButton(row, "btClearAll", QStringLiteral("删除所有"),
                             QStringLiteral("删除所有的帐户资料"));
    btClearAll->hide();
    connect(btClearAll, &QPushButton::clicked, this, &Tfm_PersonManage::btClearAllClick);
    h->addWidget(btClearAll);
    return row;
}

void Tfm_PersonManage::buildPopupMenu()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    m_popup->addAction(QStringLiteral("选择该单位"))->setEnabled(false);
    m_popup->addAction(QStringLiteral("添加新单位"), this, &Tfm_PersonManage::btInsertClick);
    QList<QAction *> rowItems{
        m_popup->addAction(QStringLiteral("修改单位信息"), this, &Tfm_PersonManage::btEditClick),
        m_popup->addAction(QStringLiteral("删除该单位"), this, &Tfm_PersonManage::btDeleteClick),
        m_popup->addAction(QStringLiteral("设为默认出票人"), this,
                           &Tfm_PersonManage::btSetDefaultClick),
    };
    m_popup->addSeparator();
    m_popup->addAction(QStringLiteral("【记住列宽】当前数据"), this, [this] {
        GridView::GridColsWidthSave(m_services.grids(), *DBGrid1, objectName());
    });
    m_popup->addAction(QStringLiteral("【显示/隐藏】数据列"), this, [this] {
        GridView::GridColsConfigration(m_services, *DBGrid1, objectName());
    });
    m_popup->addAction(QStringLiteral("【刷新】"), this, &Tfm_PersonManage::btRefreshClick);
    connect(m_popup, &QMenu::aboutToShow, this, [this, rowItems] {
        for (QAction *item : rowItems)
            item->setEnabled(m_model->rowCount() > 0);
    });
}

void Tfm_PersonManage::startSelection(const QString &unitType, const QString &title)
{
    applyTab(Parties::addressBookTab(unitType));
    if (!title.isEmpty())
        setWindowTitle(title);
}

QString Tfm_PersonManage::unitTypeFilter() const
{
    return edtZHType->text();
}

void Tfm_PersonManage::reloadGroups()
{
    const QSignalBlocker block(cb_Group);
    cb_Group->clear();
    cb_Group->addItems(m_book.groupFilterList());
}

void Tfm_PersonManage::applyTab(int tab)
{
    {
        const QSignalBlocker block(TabControl1);
        TabControl1->setCurrentIndex(tab);
    }
    edtZHType->setText(tab == 0   ? TPerson::kOwnUnit
                       : tab == 1 ? TPerson::kCounterparty
                                  : QString());
}

AddressBookFilter Tfm_PersonManage::currentFilter() const
{
    AddressBookFilter filter;
    filter.key = KeyEdit->text().trimmed();
    filter.group = cb_Group->currentText();
    filter.unitType = edtZHType->text();
    return filter;
}

int Tfm_PersonManage::runList(const AddressBookStatement &statement)
{
    m_rows = qMax(0, m_book.open(*m_model, statement));
    if (m_model->columnCount() == 0)
        return 0;
    const IniFile &ini = m_services.settings().userIni();
    if (!ini.valueExists(objectName(), DBGrid1->objectName() + u".W0")) {
        QList<int> widths;
        for (int c = 0; c < m_model->columnCount(); ++c)
            widths << initialWidth(Grids::fieldName(*m_model, c));
        m_services.grids().saveColumnWidths(objectName(), DBGrid1->objectName(), widths);
    }
    GridView::GridColsWidthLoad(m_services.grids(), *DBGrid1, objectName());
    // The first row is the current one, so that Shift-click selects from it.
    if (m_model->rowCount() > 0)
        DBGrid1->selectionModel()->setCurrentIndex(m_model->index(0, 0),
                                                   QItemSelectionModel::NoUpdate);
    return m_rows;
}

void Tfm_PersonManage::showCount(const QString &heading, int rows)
{
    lbTitle->setText(heading + u'(' + QString::number(rows) + u')');
}

void Tfm_PersonManage::btQurClick()
{
    if (panelAdv->isVisible()) {
        panelAdv->hide();
        btShowAdv->setText(QStringLiteral("<<"));
    }
    if (edtZHType->text().isEmpty() && TabControl1->currentIndex() != 2)
        applyTab(TabControl1->currentIndex());
    const AddressBookFilter filter = currentFilter();
    if (filter.isEmpty()) {
        btSelAllClick();
        return;
    }
    showCount(kHeading, runList(AddressBook::listStatement(filter, m_sortField, m_sortDirection)));
}

void Tfm_PersonManage::btAdvQurClick()
{
    if (edtZHType->text().isEmpty() && TabControl1->currentIndex() != 2)
        applyTab(TabControl1->currentIndex());
    AddressBookFilter filter = currentFilter();
    filter.advancedColumn = AddressBook::advancedColumnOf(Column1->currentText());
    filter.advancedEquals = EqualOrContain1->currentIndex() == 1;
    filter.advancedValue = key1->text().trimmed();
    showCount(kHeading, runList(AddressBook::listStatement(filter, m_sortField, m_sortDirection)));
}

void Tfm_PersonManage::btSelAllClick()
{
    edtZHType->clear();
    KeyEdit->clear();
    reloadGroups();
    showCount(kHeading, runList(AddressBook::listStatement({}, m_sortField, m_sortDirection)));
}

void Tfm_PersonManage::TabControl1Change(int tab)
{
    applyTab(tab);
    tab == 2 ? btSelAllClick() : btQurClick();
}

void Tfm_PersonManage::btRefreshClick()
{
    btQurClick();
    showCount(QStringLiteral("单位、客户管理"), m_rows);
}

void Tfm_PersonManage::sortByColumn(int column)
{
    const QString field = Grids::fieldName(*m_model, column);
    if (field.isEmpty())
        return;
    m_sortField = field;
    m_sortDirection = AddressBook::nextDirection(m_sortDirection);
    btQurClick();
}

int Tfm_PersonManage::currentId() const
{
    const int column = Grids::fieldColumn(*m_model, QStringLiteral("ID"));
    int row = DBGrid1->currentIndex().row();
    if (row < 0 && m_model->rowCount() > 0)
        row = 0;
    if (column < 0 || row < 0)
        return 0;
    return m_model->index(row, column).data().toInt();
}

std::optional<TPerson> Tfm_PersonManage::partyAt(int row) const
{
    const int column = Grids::fieldColumn(*m_model, QStringLiteral("ID"));
    if (column < 0 || row < 0 || row >= m_model->rowCount())
        return std::nullopt;
    TPerson party;
    party.ID = m_model->index(row, column).data().toInt();
    if (m_services.parties().LoadByID(party) != 1)
        return std::nullopt;
    return party;
}

void Tfm_PersonManage::rowClicked(int row)
{
    const int column = Grids::fieldColumn(*m_model, QStringLiteral("全称"));
    if (column < 0)
        return;
    const QString name = m_model->index(row, column).data().toString();
    setWindowTitle((m_mode == Mode::Select ? QStringLiteral("选择单位-当前选中:")
                                           : QStringLiteral("单位、客户管理-当前选中:")) +
                   name);
}

void Tfm_PersonManage::rowDoubleClicked(int row)
{
    if (m_mode == Mode::Select) {
        m_chosen = partyAt(row);
        if (m_chosen)
            accept();
        return;
    }
    DBGrid1->selectionModel()->setCurrentIndex(m_model->index(row, 0),
                                               QItemSelectionModel::NoUpdate);
    btEditClick();
}

void Tfm_PersonManage::openDetail()
{
    Tfrm_PersonInfo &detail = m_windows.detailWindow();
    detail.setOpenedFromList(true);
    const QMetaObject::Connection refresh = connect(&detail, &Tfrm_PersonInfo::saved, this, [this] {
        dataChanged();
        btQurClick();
    });
    detail.exec();
    disconnect(refresh);
}

void Tfm_PersonManage::btInsertClick()
{
    Tfrm_PersonInfo &detail = m_windows.detailWindow();
    detail.setIdText({});
    if (edtZHType->text() == TPerson::kOwnUnit)
        qobject_cast<QComboBox *>(detail.box(QStringLiteral("cbAcountType")))->setCurrentIndex(0);
    openDetail();
}

void Tfm_PersonManage::btEditClick()
{
    if (m_model->rowCount() == 0) {
        m_services.ui().alert(QStringLiteral("没有单位可修改，请先选中一个要修改的单位！"),
                              kPrompt);
        return;
    }
    Tfrm_PersonInfo &detail = m_windows.detailWindow();
    if (const int id = currentId(); id > 0)
        detail.setIdText(QString::number(id));
    detail.btLoadByIDClick();
    openDetail();
}

void Tfm_PersonManage::btDeleteClick()
{
    const std::optional<QVariantList> keys =
        m_services.grids().selectedValues(*DBGrid1->selectionModel(), QStringLiteral("ID"));
    if (!keys)
        return;
    if (keys->isEmpty()) {
        m_services.ui().alert(QStringLiteral("没有选中的单位，请先选中要删除的单位！"), kPrompt);
        return;
    }
    if (!m_services.ui().ask(QStringLiteral("真的要删除选中的单位信息吗?"),
                             QStringLiteral("删除确认")))
        return;
    QList<int> ids;
    for (const QVariant &key : *keys)
        ids << key.toInt();
    if (const QString error = m_book.deleteParties(ids); !error.isEmpty())
        m_services.ui().error(u"删除失败，错误=" + error);
    else
        dataChanged();
    btQurClick();
}

void Tfm_PersonManage::btDeleteListClick()
{
    if (m_services.grids().GridDeleteCurrentList(*m_model, kTable, QStringLiteral("ID")) > 0)
        dataChanged();
    btQurClick();
}

void Tfm_PersonManage::btClearAllClick()
{
    const QString type = edtZHType->text().trimmed();
    if (!m_services.ui().ask(u"警告:此操作将删除所有" + type +
                                 u"的资料,且不可恢复,建议此操作在导出备份后进行!确定立即清空吗？",
                             QStringLiteral("警告")))
        return;
    if (!m_book.clearAll(type).isEmpty())
        m_services.ui().alert(QStringLiteral("清空失败！"), QStringLiteral("确认"));
    else
        dataChanged();
    btQurClick();
}

void Tfm_PersonManage::btSetDefaultClick()
{
    if (m_model->rowCount() == 0) {
        m_services.ui().alert(QStringLiteral("没有单位资料可设置，请先选中一个要设置的单位资料！"),
                              kPrompt);
        return;
    }
    if (const QString error = m_services.parties().setDefaultDrawer(currentId());
        !error.isEmpty()) {
        m_services.ui().error(u"默认出票人设置失败，Error=" + error);
        return;
    }
    m_services.ui().alert(QStringLiteral("默认出票人设置成功！"), kPrompt);
    dataChanged();
    btQurClick();
}

void Tfm_PersonManage::btExportClick()
{
    m_services.grids().ExportGrid2Excel(*m_model, QStringLiteral("单位信息导出"));
}

void Tfm_PersonManage::dataChanged()
{
    btRefresh->setEnabled(true);
}

void Tfm_PersonManage::toggleClearAll()
{
    const bool reveal = btClearAll->isHidden();
    btClearAll->setVisible(reveal);
    if (!isMaximized())
        resize(width() + (reveal ? kClearAllReveal : -kClearAllReveal), height());
}

void Tfm_PersonManage::showEvent(QShowEvent *event)
{
    ::FormFaceLoad(*this, m_services.settings().userIni());
    QDialog::showEvent(event);
    KeyEdit->clear();
    const QString type = edtZHType->text();
    if (!type.isEmpty())
        applyTab(Parties::addressBookTab(type));
    btQurClick();
    if (m_mode == Mode::Select)
        DBGrid1->setToolTip(QStringLiteral("鼠标双击选择指定的单位！"));
}

void Tfm_PersonManage::done(int result)
{
    GridView::GridColsWidthSave(m_services.grids(), *DBGrid1, objectName());
    ::FormFaceSave(*this, m_services.settings().userIni());
    QDialog::done(result);
}

bool Tfm_PersonManage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == KeyEdit && event->type() == QEvent::MouseButtonDblClick) {
        KeyEdit->selectAll();
        return true;
    }
    // The wheel moves the current row, one row a step, as the arrow keys do.
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Wheel && DBGrid1->hasFocus()) {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        const int steps = qMax(1, qAbs(delta) / 120);
        const Qt::Key key = delta < 0 ? Qt::Key_Down : Qt::Key_Up;
        for (int i = 0; delta != 0 && i < steps; ++i) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(DBGrid1, &press);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
