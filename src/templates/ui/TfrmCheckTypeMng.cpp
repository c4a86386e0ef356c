#include "templates/ui/TfrmCheckTypeMng.h"

#include "base/Ui.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "data/BoundQuery.h"
#include "print/ui/TfrmImageShow.h"
#include "print/ui/TfrmPrintOffset.h"
#include "services/AppServices.h"
#include "templates/ui/TfrmBillImportExport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QTabBar>
#include <QTableView>
#include <QUuid>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

using Tab = TemplateManager::Tab;

const QString kPrompt = QStringLiteral("提示");
const QString kAllKinds = QStringLiteral("所有模板种类");
const QString kDefaultCaption = QStringLiteral("设置为【默认】模板");
const QString kCommonCaption = QStringLiteral("设置为【常用】模板");
const QString kBadName = QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!");

// Which buttons a tab offers: default, common, remove common, hide, enable, delete.
struct TabButtons
{
    bool setDefault, common, noCommon, hide, show, remove;
};
constexpr TabButtons kTabButtons[] = {
    {true, true, false, true, false, true},
    {true, false, true, true, false, true},
    {false, false, false, false, false, false},
    {true, true, false, false, true, true},
};

} // namespace

TfrmCheckTypeMng::TfrmCheckTypeMng(AppServices &services, int checkTypeId, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_manager(services.database(), services.catalogue(), services.home())
    , m_connectionName(u"frmCheckTypeMng-" + QUuid::createUuid().toString(QUuid::WithoutBraces))
    , m_startTemplate(checkTypeId)
{
    setObjectName(QStringLiteral("frmCheckTypeMng"));
    setWindowTitle(QStringLiteral("票据模板管理"));

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("TabControl1"));
    for (const char *tab : {"所有可用模板", "常用的模板", "默认的模板", "隐藏的模板"})
        m_tabs->addTab(QString::fromUtf8(tab));

    m_kinds = new QComboBox(this);
    m_kinds->setObjectName(QStringLiteral("cbCheckTypeName"));
    m_kinds->addItem(kAllKinds);
    m_kinds->addItems(services.catalogue().loadCheckTypeFirstNameList());
    QPushButton *refresh = namedButton(this, "btRefresh", QStringLiteral("过滤模板(&F)"));
    QPushButton *all = namedButton(this, "btALL", QStringLiteral("全部模板列表"));

    m_model = new QSqlQueryModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->hide();
    m_grid->viewport()->installEventFilter(this);

    m_key = new QLineEdit(this);
    m_key->setObjectName(QStringLiteral("edtKey"));
    QPushButton *searchButton = namedButton(this, "btSearch", QStringLiteral("查询"));

    m_default = namedButton(this, "btSetToDefault", QStringLiteral("设置为【默认票据模板】"));
    m_common = namedButton(this, "btSet2Common", QStringLiteral("设置为【常用】票据模板"));
    m_noCommon = namedButton(this, "btNoCommon", QStringLiteral("从常用模板【移出】(&M)"));
    m_hide = namedButton(this, "btHide", QStringLiteral("【隐藏选中】票据模版(&H)"));
    m_show = namedButton(this, "btShow", QStringLiteral("【启用】选中票据模版(&H)"));
    m_delete = namedButton(this, "btDelete", QStringLiteral("【删除选中】票据模板(&K)"));
    QPushButton *import = namedButton(this, "btImportTMP", QStringLiteral("外部【导入】模板"));
    QPushButton *close = namedButton(this, "btClose", QStringLiteral("  关   闭 (&X)"));

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("模板种类:")));
    filterRow->addWidget(m_kinds, 1);
    filterRow->addWidget(refresh);
    filterRow->addWidget(all);
    auto *keyRow = new QHBoxLayout;
    keyRow->addWidget(new QLabel(QStringLiteral("查询关键字:")));
    keyRow->addWidget(m_key, 1);
    keyRow->addWidget(searchButton);
    auto *left = new QVBoxLayout;
    left->addWidget(m_tabs);
    left->addLayout(filterRow);
    left->addWidget(m_grid, 1);
    left->addWidget(
        new QLabel(QStringLiteral("【技巧提示】1、按住Ctrl+鼠标左击 可同时选中多个模板;")));
    left->addWidget(new QLabel(QStringLiteral("2、模板列表支持右键菜单操作。")));
    left->addLayout(keyRow);
    auto *right = new QVBoxLayout;
    for (QPushButton *b : {m_default, m_common, m_noCommon, m_hide, m_show, m_delete, import})
        right->addWidget(b);
    right->addStretch();
    right->addWidget(close);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    resize(760, 520);

    buildPopupMenu();
    connect(m_tabs, &QTabBar::currentChanged, this, &TfrmCheckTypeMng::listTemplates);
    connect(m_kinds, &QComboBox::currentIndexChanged, this, &TfrmCheckTypeMng::kindFilterChanged);
    connect(refresh, &QPushButton::clicked, this, &TfrmCheckTypeMng::listTemplates);
    connect(all, &QPushButton::clicked, this, &TfrmCheckTypeMng::showAllTemplates);
    connect(searchButton, &QPushButton::clicked, this, &TfrmCheckTypeMng::search);
    connect(m_key, &QLineEdit::returnPressed, this, &TfrmCheckTypeMng::search);
    connect(m_default, &QPushButton::clicked, this, &TfrmCheckTypeMng::setToDefault);
    connect(m_common, &QPushButton::clicked, this, [this] { setCommon(true); });
    connect(m_noCommon, &QPushButton::clicked, this, [this] { setCommon(false); });
    connect(m_hide, &QPushButton::clicked, this, [this] { setSelectedShown(false); });
    connect(m_show, &QPushButton::clicked, this, [this] { setSelectedShown(true); });
    connect(m_delete, &QPushButton::clicked, this, &TfrmCheckTypeMng::deleteSelected);
    connect(import, &QPushButton::clicked, this, &TfrmCheckTypeMng::openImport);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_grid, &QTableView::doubleClicked, this, &TfrmCheckTypeMng::showCurrentPicture);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { m_popup->popup(m_grid->viewport()->mapToGlobal(pos)); });
    listTemplates();
}

TfrmCheckTypeMng::~TfrmCheckTypeMng()
{
    m_model->clear();
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void TfrmCheckTypeMng::buildPopupMenu()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    // Entries that mirror a button follow its enabled state.
    auto mirror = [this](const char *caption, QPushButton *button) {
        QAction *action =
            m_popup->addAction(QString::fromUtf8(caption), button, &QPushButton::click);
        connect(m_popup, &QMenu::aboutToShow, action,
                [action, button] { action->setEnabled(button->isEnabled()); });
        return action;
    };
    mirror("设为默认模板", m_default);
    mirror("设为常用模板", m_common);
    mirror("移出常用模板", m_noCommon);
    mirror("隐藏模板-停用", m_hide);
    mirror("启用模板-不隐藏", m_show);
    m_popup->addSeparator();
    m_cloneAction =
        m_popup->addAction(QStringLiteral("克隆为新模板"), this, &TfrmCheckTypeMng::cloneCurrent);
    m_renameAction =
        m_popup->addAction(QStringLiteral("模板重命名"), this, &TfrmCheckTypeMng::renameCurrent);
    m_designAction =
        m_popup->addAction(QStringLiteral("模板设计"), this, &TfrmCheckTypeMng::openDesign);
    m_popup->addAction(QStringLiteral("导入模板"), this, &TfrmCheckTypeMng::openImport);
    m_popup->addSeparator();
    mirror("删除选中模板", m_delete);
    m_popup->addAction(QStringLiteral("刷新"), this, &TfrmCheckTypeMng::listTemplates);
}

void TfrmCheckTypeMng::showEvent(QShowEvent *event)
{
    FormFaceLoad(*this, m_services.settings().userIni());
    QDialog::showEvent(event);
}

void TfrmCheckTypeMng::done(int result)
{
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::done(result);
}

void TfrmCheckTypeMng::listTemplates()
{
    if (m_startTemplate > 0) {
        const QString kind =
            m_services.catalogue().loadCheckTypeFirstNameByID(QString::number(m_startTemplate));
        m_startTemplate = 0;
        const int index = m_kinds->findText(kind);
        if (index >= 0)
            m_kinds->setCurrentIndex(index);
    }
    const QString kind = m_kinds->currentText() == kAllKinds ? QString() : m_kinds->currentText();
    const QString key = m_key->text().trimmed();
    QSqlDatabase db = m_services.database().openSibling(m_connectionName);
    QSqlQuery q(db);
    const Tab tab = Tab(std::max(0, m_tabs->currentIndex()));
    if (!execBound(q, TemplateManager::listSql(tab, kind, key),
                   TemplateManager::listValues(kind, key))) {
        m_services.ui().alert(u"模板列表失败:Error=" + q.lastError().text(), kPrompt);
        return;
    }
    m_model->setQuery(std::move(q));
    while (m_model->canFetchMore())
        m_model->fetchMore();
    setWindowTitle(m_kinds->currentText() +
                   QStringLiteral("模板管理(查询%1个)").arg(m_model->rowCount()));
    const int widths[] = {35, 200, 30, 30, 50, 0, 120};
    for (int c = 0; c < m_model->columnCount() && c < 7; ++c) {
        m_grid->setColumnHidden(c, widths[c] == 0);
        m_grid->setColumnWidth(c, widths[c] + 20);
    }
    m_key->clear();
    updateButtons();
}

void TfrmCheckTypeMng::updateButtons()
{
    const int tab = std::max(0, m_tabs->currentIndex());
    const TabButtons &b = kTabButtons[tab];
    m_default->setEnabled(b.setDefault);
    m_common->setEnabled(b.common);
    m_noCommon->setEnabled(b.noCommon);
    m_hide->setEnabled(b.hide);
    m_show->setEnabled(b.show);
    m_delete->setEnabled(b.remove);
    const bool rows = m_model->rowCount() > 0;
    m_designAction->setEnabled(Tab(tab) != Tab::Hidden);
    m_cloneAction->setEnabled(rows);
    m_renameAction->setEnabled(rows);
}

void TfrmCheckTypeMng::kindFilterChanged()
{
    const QString kind = m_kinds->currentText();
    m_default->setText(m_kinds->currentIndex() < 0 ? kDefaultCaption
                                                   : QStringLiteral("设置为【默认】") + kind);
    m_common->setText(m_kinds->currentIndex() < 0 || kind == kAllKinds
                          ? kCommonCaption
                          : QStringLiteral("设置为【常用】") + kind);
}

void TfrmCheckTypeMng::showAllTemplates()
{
    {
        const QSignalBlocker blockTabs(m_tabs);
        const QSignalBlocker blockKinds(m_kinds);
        m_kinds->setCurrentIndex(0);
        m_tabs->setCurrentIndex(0);
    }
    listTemplates();
    m_default->setText(kDefaultCaption);
    m_common->setText(kCommonCaption);
}

void TfrmCheckTypeMng::search()
{
    m_key->setText(m_key->text().trimmed());
    if (m_key->text().isEmpty())
        m_key->setFocus();
    listTemplates();
}

void TfrmCheckTypeMng::showTab(Tab tab)
{
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(int(tab));
    }
    listTemplates();
}

int TfrmCheckTypeMng::currentId() const
{
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    return row < m_model->rowCount() ? m_model->index(row, 0).data().toInt() : 0;
}

QList<int> TfrmCheckTypeMng::selectedIds() const
{
    QList<int> ids;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        ids << m_model->index(index.row(), 0).data().toInt();
    std::sort(ids.begin(), ids.end());
    return ids;
}

void TfrmCheckTypeMng::changed()
{
    m_services.catalogue().notifyTemplatesChanged();
}

void TfrmCheckTypeMng::setToDefault()
{
    if (m_model->rowCount() == 0) {
        m_services.ui().alert(QStringLiteral("没有选中要设置的票据模板！"), kPrompt);
        return;
    }
    QString kind;
    QString error;
    if (!m_manager.setDefault(currentId(), &kind, &error))
        return;
    changed();
    m_services.ui().alert(u"默认【" + kind + u"票据】模板设置成功！", kPrompt);
    showTab(Tab::Default);
}

void TfrmCheckTypeMng::setCommon(bool common)
{
    const TemplateManager::CommonResult r = m_manager.setCommon(selectedIds(), common);
    for (int i = 0; i < r.refusedDefaults; ++i)
        m_services.ui().alert(QStringLiteral("默认模板不能从常用模板移出！"), kPrompt);
    if (!r.error.isEmpty()) {
        m_services.ui().alert(QStringLiteral("模板设置失败,中止！~"), kPrompt);
        listTemplates();
        return;
    }
    changed();
    if (common)
        m_services.ui().alert(QStringLiteral("共添加 %1 个模板为常用模板！").arg(r.changed) +
                                  u"\n\r\n\r新设置常用快递后，请重开快递单填开界面生效~",
                              kPrompt);
    else
        m_services.ui().alert(
            QStringLiteral("共从常用模板移出 %1 个模板为普通模板！").arg(r.changed), kPrompt);
    showTab(Tab::Common);
}

void TfrmCheckTypeMng::setSelectedShown(bool visible)
{
    QString error;
    const bool ok = m_manager.setVisible(selectedIds(), visible, &error);
    listTemplates();
    if (!ok) {
        m_services.ui().alert(QStringLiteral("模板设置失败,中止！~"), kPrompt);
        return;
    }
    changed();
    if (!visible)
        m_services.ui().alert(QStringLiteral("隐藏的模板，可在【隐藏的模板】中重新启用。"),
                              kPrompt);
}

void TfrmCheckTypeMng::deleteSelected()
{
    const QList<int> ids = selectedIds();
    if (ids.isEmpty())
        return;
    Ui &ui = m_services.ui();
    int deleted = 0;
    bool failed = false;
    if (ui.alert(QStringLiteral("确认要删除选中的模板吗?删除的模板无法找回，如果暂时不用，可先设置"
                                "为隐藏。"),
                 QStringLiteral("删除确认"), true)) {
        for (int id : ids) {
            const QString typeName = m_manager.typeNameOf(id);
            if (Catalogue::kindFromTypeName(typeName).trimmed().isEmpty()) {
                ui.alert(u"获取单据类型失败：" + typeName, kPrompt);
                continue;
            }
            if (!ui.alert(u"确认删除票据模板【" + typeName + u"】吗？", QStringLiteral("警告"),
                          true))
                continue;
            QString error;
            const TemplateManager::Deleted result = m_manager.deleteTemplate(id, &error);
            deleted += result == TemplateManager::Deleted::Yes;
            failed = failed || result == TemplateManager::Deleted::Failed;
        }
    }
    if (deleted > 0)
        changed();
    if (failed)
        ui.alert(QStringLiteral("模板删除失败,中止！~"), kPrompt);
    ui.alert(QStringLiteral("共删除 %1 个模板！").arg(deleted), kPrompt);
    listTemplates();
}

QString TfrmCheckTypeMng::askNewDescribe(const QString &prompt, const QString &current,
                                         const QString &kind)
{
    const QString answer = m_services.ui().giveMeAnValue(prompt, current, QStringLiteral("text"));
    if (answer.isEmpty() || answer == current)
        return {};
    const QString describe = TemplateManager::cleanName(answer);
    if (describe.isEmpty()) {
        m_services.ui().alert(kBadName, kPrompt);
        return {};
    }
    QString error;
    if (m_services.catalogue().CheckTypeExists(kind, describe, &error)) {
        m_services.ui().alert(QStringLiteral("模板名字已经存在,请确认是否输入了重复的名字或者改模"
                                             "版正被隐藏。"),
                              kPrompt);
        return {};
    }
    if (!error.isEmpty()) {
        m_services.ui().alert(u"修改失败，错误=" + error, kPrompt);
        return {};
    }
    return describe;
}

void TfrmCheckTypeMng::cloneCurrent()
{
    const int id = currentId();
    if (id == 0)
        return;
    Catalogue &catalogue = m_services.catalogue();
    const QString kind = catalogue.loadCheckTypeFirstNameByID(QString::number(id));
    const QString describe =
        askNewDescribe(QStringLiteral("输入新模板名(15个汉字以内)："),
                       catalogue.loadCheckTypeLastNameByID(QString::number(id)), kind);
    if (describe.isEmpty())
        return;
    int newId = 0;
    QString error;
    if (!m_manager.cloneTemplate(id, describe, &newId, &error)) {
        m_services.ui().alert(u"修改失败，错误=" + error, kPrompt);
        return;
    }
    changed();
    m_services.ui().alert(QStringLiteral("克隆模板成功，已新增一个同类模板~"), kPrompt);
    listTemplates();
}

void TfrmCheckTypeMng::renameCurrent()
{
    const int id = currentId();
    if (id == 0)
        return;
    const QString kind = m_services.catalogue().loadCheckTypeFirstNameByID(QString::number(id));
    QString current = m_manager.typeNameOf(id);
    current.remove(current.indexOf(kind), kind.size());
    const qsizetype open = current.indexOf(u'（');
    if (open >= 0)
        current.remove(open, 1);
    const qsizetype close = current.indexOf(u'）');
    if (close >= 0)
        current.remove(close, 1);
    const QString describe =
        askNewDescribe(QStringLiteral("输入新模板名(15个汉字以内):"), current, kind);
    if (describe.isEmpty())
        return;
    QString error;
    if (!m_manager.renameTemplate(id, describe, &error)) {
        m_services.ui().alert(u"修改失败，错误=" + error, kPrompt);
        return;
    }
    changed();
    m_services.ui().alert(QStringLiteral("重名名成功~"), kPrompt);
    listTemplates();
}

void TfrmCheckTypeMng::openImport()
{
    TfrmBillImportExport window(m_services, this);
    window.showImportOnly();
    window.exec();
    listTemplates();
}

void TfrmCheckTypeMng::openDesign()
{
    const int id = currentId();
    if (id == 0)
        return;
    TfrmPrintOffset offset(m_services, this);
    offset.setCheckTypeId(id);
    offset.exec();
}

void TfrmCheckTypeMng::showCurrentPicture()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    TfrmImageShow viewer(m_services, this);
    viewer.loadPictureByFullName(m_model->index(current.row(), 1).data().toString());
    if (viewer.hasPicture())
        viewer.exec();
}

bool TfrmCheckTypeMng::eventFilter(QObject *watched, QEvent *event)
{
    // The wheel walks the current row rather than scrolling the page.
    if (watched == m_grid->viewport() && event->type() == QEvent::Wheel && m_grid->hasFocus() &&
        m_model->rowCount() > 0) {
        const int step = static_cast<QWheelEvent *>(event)->angleDelta().y() < 0 ? 1 : -1;
        const int row = std::clamp(m_grid->currentIndex().row() + step, 0, m_model->rowCount() - 1);
        m_grid->setCurrentIndex(m_model->index(row, 1));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
