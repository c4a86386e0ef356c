#include "parties/ui/Tfm_DMConfig.h"

#include "base/Ui.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "parties/ui/DialogPlacement.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum Column { IdColumn, NameColumn, ValueColumn, TemplateColumn };
constexpr int kStoredValueRole = Qt::UserRole + 1;
// On the ID item: the version of the stored row the value was read from.
constexpr int kRowVersionRole = Qt::UserRole + 2;
const QString kPrompt = QStringLiteral("提示");

QList<QStandardItem *> entryRow(const DictionaryEntry &e)
{
    auto *id = new QStandardItem(e.id > 0 ? QString::number(e.id) : QString());
    id->setData(e.id, Qt::UserRole);
    id->setData(e.rowVersion, kRowVersionRole);
    auto *value = new QStandardItem(e.value);
    // New rows have no stored value, so they always count as pending.
    value->setData(e.id > 0 ? QVariant(e.value) : QVariant(), kStoredValueRole);
    auto *checkType = new QStandardItem(QString::number(e.checkTypeId));
    checkType->setData(e.checkTypeId, Qt::UserRole);
    checkType->setEditable(false);
    checkType->setBackground(Qt::yellow);
    for (QStandardItem *item : {id, checkType})
        item->setEditable(false);
    return {id, new QStandardItem(e.name), value, checkType};
}

} // namespace

Tfm_DMConfig::Tfm_DMConfig(AppServices &services, int checkTypeId, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_givenCheckTypeId(checkTypeId)
{
    setObjectName(QStringLiteral("fm_DMConfig"));
    setWindowTitle(QStringLiteral("岚砚软件-字典管理"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(205, 217, 245));
    setPalette(p);
    resize(720, 520);
    buildLayout();

    m_checkTypes->addItem(QStringLiteral("<适用所有单据>"));
    m_checkTypes->addItems(m_services.catalogue().loadCheckTypeFullNameList());
    const QString given =
        m_services.catalogue().loadCheckTypeFullNameByID(QString::number(checkTypeId));
    const int index = checkTypeId > 0 ? m_checkTypes->findText(given) : -1;
    m_checkTypes->setCurrentIndex(qMax(index, 0));
    m_checkTypeId = index > 0 ? checkTypeId : 0;
    loadNames();
    loadEntries();
    connect(m_checkTypes, &QComboBox::activated, this, &Tfm_DMConfig::chooseTemplate);
}

void Tfm_DMConfig::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    auto *heading = namedLabel(this, "Label1", QStringLiteral("下拉列表字典管理"));
    makeHeading(heading, 1.5);
    layout->addWidget(heading);

    auto *typeRow = new QHBoxLayout;
    typeRow->addWidget(namedLabel(this, "lbCheckType", QStringLiteral("1、选择适用单据类型：")));
    m_checkTypes = new QComboBox(this);
    m_checkTypes->setObjectName(QStringLiteral("Co_CheckType"));
    m_checkTypes->setMinimumWidth(260);
    typeRow->addWidget(m_checkTypes);
    typeRow->addWidget(
        namedLabel(this, "Label8", QStringLiteral("(若用于所有单据，请选择[适用所有单据])")));
    typeRow->addStretch();
    layout->addLayout(typeRow);

    auto *body = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(namedLabel(this, "lbDiction", QStringLiteral("2、选择字典名称：")));
    m_names = new QListWidget(this);
    m_names->setObjectName(QStringLiteral("listBoxNames"));
    m_names->setFixedWidth(170);
    left->addWidget(m_names, 1);
    m_newName = new QComboBox(this);
    m_newName->setObjectName(QStringLiteral("edtNewName"));
    m_newName->setEditable(true);
    m_newName->addItems(Dictionaries::offeredDictionaryNames());
    m_newName->setFixedWidth(170);
    left->addWidget(m_newName);
    auto *addName = namedButton(this, "btAdd", QStringLiteral("2.1增加"));
    left->addWidget(addName);
    body->addLayout(left);

    auto *right = new QVBoxLayout;
    m_valueHave = namedLabel(this, "lbValueHave", QString());
    right->addWidget(m_valueHave);
    auto *gridBar = new QHBoxLayout;
    m_common = new QCheckBox(QStringLiteral("显示公共字典内容"), this);
    m_common->setObjectName(QStringLiteral("ckCommon"));
    m_common->setChecked(true);
    gridBar->addWidget(m_common);
    gridBar->addStretch();
    auto *reload = new QToolButton(this);
    reload->setObjectName(QStringLiteral("btLoadValues"));
    reload->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    reload->setToolTip(QStringLiteral("刷新"));
    gridBar->addWidget(reload);
    right->addLayout(gridBar);

    m_entries = new QStandardItemModel(0, 4, this);
    m_entries->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("DMName"),
                                          QStringLiteral("字典内容"), QStringLiteral("单据号")});
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_entries);
    m_grid->setColumnHidden(IdColumn, true);
    m_grid->setColumnHidden(NameColumn, true);
    m_grid->setColumnWidth(ValueColumn, 290);
    m_grid->setColumnWidth(TemplateColumn, 50);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    right->addWidget(m_grid, 1);

    auto *entryButtons = new QHBoxLayout;
    auto *add = namedButton(this, "btNewContent", QStringLiteral("+添加"));
    auto *edit = namedButton(this, "Button2", QStringLiteral("E 修改"));
    auto *remove = namedButton(this, "Button3", QStringLiteral("- 删除"));
    auto *submit = namedButton(this, "Button4", QStringLiteral("提交并刷新"));
    for (QPushButton *b : {add, edit, remove, submit})
        entryButtons->addWidget(b);
    right->addLayout(entryButtons);
    body->addLayout(right, 1);
    layout->addLayout(body, 1);

    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch();
    auto *closeButton = namedButton(this, "btClose", QStringLiteral("4、关  闭 (&X)"));
    closeRow->addWidget(closeButton);
    layout->addLayout(closeRow);

    connect(m_names, &QListWidget::itemClicked, this, [this] {
        submitPending();
        loadEntries();
    });
    connect(m_common, &QCheckBox::toggled, this, [this] {
        submitPending();
        loadEntries();
    });
    connect(reload, &QToolButton::clicked, this, &Tfm_DMConfig::submitAndRefresh);
    connect(addName, &QPushButton::clicked, this, &Tfm_DMConfig::addDictionary);
    connect(add, &QPushButton::clicked, this, &Tfm_DMConfig::addEntry);
    connect(edit, &QPushButton::clicked, this, &Tfm_DMConfig::editEntry);
    connect(remove, &QPushButton::clicked, this, &Tfm_DMConfig::deleteEntry);
    connect(submit, &QPushButton::clicked, this, &Tfm_DMConfig::submitAndRefresh);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

void Tfm_DMConfig::showEvent(QShowEvent *event)
{
    const int height = screen() ? screen()->size().height() : 768;
    m_checkTypes->setMaxVisibleItems(height < 800 ? 23 : height >= 900 ? 35 : 30);
    FormFaceLoad(*this, m_services.settings().userIni());
    placeCentredNearTop(*this);
    QDialog::showEvent(event);
}

void Tfm_DMConfig::done(int result)
{
    // What was typed into the grid is kept, as the grid would have posted it on leaving.
    submitPending();
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::done(result);
}

void Tfm_DMConfig::chooseTemplate(int index)
{
    submitPending();
    m_checkTypes->setCurrentIndex(index);
    const QString text = m_checkTypes->itemText(index);
    m_checkTypeId =
        index <= 0 ? 0 : m_services.catalogue().loadCheckTypeIDByTypeFullName(text).toInt();
    setWindowTitle(u"字典设置-" + text + u"(单据号=" + QString::number(m_checkTypeId) + u')');
    loadNames();
    loadEntries();
}

void Tfm_DMConfig::loadNames()
{
    m_names->clear();
    m_names->addItems(m_services.dictionaries().dictionaryNames(m_checkTypeId));
    if (m_names->count() > 0)
        m_names->setCurrentRow(0);
}

void Tfm_DMConfig::loadEntries()
{
    const QListWidgetItem *item = m_names->currentItem();
    m_name = item ? item->text() : m_names->count() > 0 ? m_names->item(0)->text() : QString();
    m_newName->setCurrentText(m_name);
    m_valueHave->setText(u"3、[" + m_name + u"]已有字典内容：(\"单据号=0\"表示公用内容)");
    m_entries->removeRows(0, m_entries->rowCount());
    QString failure;
    const auto entries = m_services.dictionaries().dictionaryEntries(
        m_name, m_checkTypeId, m_common->isChecked(), &failure);
    if (!entries) {
        m_services.ui().alert(u"错误,sql=" + failure, kPrompt);
        return;
    }
    for (const DictionaryEntry &e : *entries)
        m_entries->appendRow(entryRow(e));
}

void Tfm_DMConfig::addDictionary()
{
    const QString name = m_newName->currentText().trimmed();
    Ui &ui = m_services.ui();
    if (name.isEmpty()) {
        ui.alert(QStringLiteral("请输入字典名称"), kPrompt);
        m_newName->setFocus();
        return;
    }
    if (m_services.dictionaries().dictionaryExists(m_checkTypeId, name)) {
        ui.alert(u"字典项目【" + name + u"】已经存在", kPrompt);
        return;
    }
    submitPending();
    if (!m_services.dictionaries().addDictionary(m_checkTypeId, name)) {
        ui.warn(u"字典项目【" + name + u"】增加失败！", kPrompt);
        return;
    }
    loadNames();
    // The user goes on with the dictionary just made.
    const QList<QListWidgetItem *> found = m_names->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty())
        m_names->setCurrentItem(found.first());
    loadEntries();
}

void Tfm_DMConfig::addEntry()
{
    if (m_name.isEmpty()) {
        m_services.ui().alert(QStringLiteral("请输入字典名称"), kPrompt);
        m_newName->setFocus();
        return;
    }
    m_entries->appendRow(entryRow({0, m_name, QStringLiteral(" "), m_checkTypeId}));
    const QModelIndex index = m_entries->index(m_entries->rowCount() - 1, ValueColumn);
    m_grid->setCurrentIndex(index);
    m_grid->edit(index);
}

void Tfm_DMConfig::editEntry()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QModelIndex index = m_entries->index(row, ValueColumn);
    m_grid->setCurrentIndex(index);
    m_grid->edit(index);
}

int Tfm_DMConfig::currentRow() const
{
    if (m_entries->rowCount() == 0)
        return -1;
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : 0;
}

bool Tfm_DMConfig::submitPending()
{
    // An editor still open holds the last typed text.
    if (QWidget *editor = m_grid->indexWidget(m_grid->currentIndex()))
        QMetaObject::invokeMethod(m_grid, "commitData", Q_ARG(QWidget *, editor));
    std::vector<DictionaryEntry> pending;
    QList<int> changed;
    for (int row = 0; row < m_entries->rowCount(); ++row) {
        const QStandardItem *value = m_entries->item(row, ValueColumn);
        const QVariant stored = value->data(kStoredValueRole);
        if (stored.isValid() && stored.toString() == value->text())
            continue;
        const QStandardItem *id = m_entries->item(row, IdColumn);
        pending.push_back({id->data(Qt::UserRole).toInt(), m_entries->item(row, NameColumn)->text(),
                           value->text(),
                           m_entries->item(row, TemplateColumn)->data(Qt::UserRole).toInt(),
                           id->data(kRowVersionRole).toInt()});
        changed << row;
    }
    if (pending.empty())
        return true;
    bool changedElsewhere = false;
    if (m_services.dictionaries().saveDictionaryEntries(pending, &changedElsewhere)) {
        // Stored now: the rows are no longer pending, whatever the caller reloads, and their
        // next save is over the version just written.
        for (int row : std::as_const(changed)) {
            QStandardItem *value = m_entries->item(row, ValueColumn);
            value->setData(value->text(), kStoredValueRole);
            QStandardItem *id = m_entries->item(row, IdColumn);
            id->setData(id->data(kRowVersionRole).toInt() + 1, kRowVersionRole);
        }
        return true;
    }
    if (changedElsewhere) {
        if (m_services.ui().ask(QStringLiteral("字典内容已被其他工作站修改，本次没有保存。\n"
                                               "是否重新读取？"),
                                kPrompt))
            loadEntries();
        return false;
    }
    m_services.ui().warn(QStringLiteral("字典内容保存失败，请重试！"), kPrompt);
    return false;
}

void Tfm_DMConfig::submitAndRefresh()
{
    if (submitPending())
        loadEntries();
}

void Tfm_DMConfig::deleteEntry()
{
    Ui &ui = m_services.ui();
    if (!ui.alert(QStringLiteral("确认删除字典项目吗？"), QStringLiteral("确认"), true))
        return;
    const int row = currentRow();
    if (row < 0) {
        ui.alert(QStringLiteral("对不起，没有内容可删除！"), kPrompt);
        return;
    }
    const int id = m_entries->item(row, IdColumn)->data(Qt::UserRole).toInt();
    if (id > 0 && !m_services.dictionaries().deleteDictionaryEntry(id)) {
        ui.warn(QStringLiteral("删除失败！"), kPrompt);
        return;
    }
    m_entries->removeRow(row);
    if (!submitPending())
        return;
    if (m_entries->rowCount() == 0) {
        loadNames();
        const QList<QListWidgetItem *> same = m_names->findItems(m_name, Qt::MatchExactly);
        if (!same.isEmpty())
            m_names->setCurrentItem(same.first());
    }
    loadEntries();
}
