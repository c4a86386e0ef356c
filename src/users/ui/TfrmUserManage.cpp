#include "users/ui/TfrmUserManage.h"

#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "data/Database.h"
#include "data/Settings.h"
#include "services/AppServices.h"
#include "users/Users.h"
#include "users/ui/TfrmModifyPassword.h"

#include <QComboBox>
#include <QDataWidgetMapper>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");

} // namespace

TfrmUserManage::TfrmUserManage(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmUserManage"));
    setWindowTitle(QStringLiteral("用户及权限管理"));
    m_model = new QSqlTableModel(this, services.database().connection());
    // Quoted, so that the server's catalogue finds the table under its folded name.
    m_model->setTable(Database::quoted(QStringLiteral("UserTable")));
    m_model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    m_model->setSort(m_model->fieldIndex(QStringLiteral("UserName")), Qt::AscendingOrder);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("dbName"));
    auto *password = new QLineEdit(this);
    password->setObjectName(QStringLiteral("DBEdit2"));
    password->setEchoMode(QLineEdit::Password);
    password->setEnabled(false);
    auto *role = new QComboBox(this);
    role->setObjectName(QStringLiteral("DBComboBox1"));
    role->addItems(Users::roles());
    auto *remark = new QPlainTextEdit(this);
    remark->setObjectName(QStringLiteral("DBMemo1"));
    remark->setMaximumHeight(60);
    m_mapper = new QDataWidgetMapper(this);
    m_mapper->setModel(m_model);
    m_mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    m_mapper->addMapping(m_name, m_model->fieldIndex(QStringLiteral("UserName")));
    m_mapper->addMapping(password, m_model->fieldIndex(QStringLiteral("Passwd")));
    m_mapper->addMapping(role, m_model->fieldIndex(QStringLiteral("RoleName")), "currentText");
    m_mapper->addMapping(remark, m_model->fieldIndex(QStringLiteral("Remark")), "plainText");

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->verticalHeader()->hide();
    const struct
    {
        const char *field;
        const char *title;
        int width;
    } columns[] = {{"UserName", "用户名", 93},
                   {"RoleName", "操作角色", 112},
                   {"lastlogin", "最后登录时间", 133},
                   {"Remark", "备注", 177}};
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnHidden(c, true);
    int visual = 0;
    for (const auto &column : columns) {
        const int index = m_model->fieldIndex(QString::fromLatin1(column.field));
        m_model->setHeaderData(index, Qt::Horizontal, QString::fromUtf8(column.title));
        m_grid->setColumnHidden(index, false);
        m_grid->setColumnWidth(index, column.width);
        QHeaderView *header = m_grid->horizontalHeader();
        header->moveSection(header->visualIndex(index), visual++);
    }
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, m_mapper,
            &QDataWidgetMapper::setCurrentModelIndex);

    auto *editor = new QGroupBox(this);
    auto *form = new QFormLayout(editor);
    form->addRow(QStringLiteral("用户名:"), m_name);
    form->addRow(QStringLiteral("密码:"), password);
    form->addRow(QStringLiteral("角色:"), role);
    form->addRow(QStringLiteral("备注:"), remark);
    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        const char *caption;
        void (TfrmUserManage::*action)();
    } actions[] = {
        {"btAdd", "添加", &TfrmUserManage::addUser},
        {"btDelSel", "删除选中", &TfrmUserManage::deleteSelected},
        {"btEdit", "修改", nullptr},
        {"btRefresh", "提交刷新", nullptr},
        {"btResetPassword", "重置密码", &TfrmUserManage::resetSelected},
        {"btModifyPassword", "修改密码", &TfrmUserManage::modifyPassword},
    };
    for (const auto &a : actions) {
        QPushButton *b = namedButton(this, a.name, QString::fromUtf8(a.caption));
        buttons->addWidget(b);
        if (a.action)
            connect(b, &QPushButton::clicked, this, a.action);
    }
    connect(findChild<QPushButton *>(QStringLiteral("btEdit")), &QPushButton::clicked, m_name,
            qOverload<>(&QWidget::setFocus));
    connect(findChild<QPushButton *>(QStringLiteral("btRefresh")), &QPushButton::clicked, this,
            &TfrmUserManage::submit);
    QPushButton *close = namedButton(this, "btClose", QStringLiteral("关闭"));
    buttons->addWidget(close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(editor);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(620, 460);
    reopen();
}

void TfrmUserManage::reopen()
{
    m_model->select();
    m_grid->clearSelection();
    // The editor shows the first row; nothing is selected until the user selects.
    if (m_model->rowCount() > 0)
        m_grid->selectionModel()->setCurrentIndex(
            m_model->index(0, m_model->fieldIndex("UserName")), QItemSelectionModel::NoUpdate);
}

void TfrmUserManage::addUser()
{
    QSqlRecord record = m_model->record();
    record.setValue(QStringLiteral("Passwd"), QString());
    record.setGenerated(QStringLiteral("ID"), false);
    const int row = m_model->rowCount();
    m_model->insertRecord(row, record);
    m_grid->setCurrentIndex(m_model->index(row, m_model->fieldIndex("UserName")));
    m_name->setFocus();
}

bool TfrmUserManage::submit()
{
    m_mapper->submit();
    if (!m_model->submitAll()) {
        m_services.ui().alert(u"保存失败：" + m_model->lastError().text(), kPrompt);
        return false;
    }
    reopen();
    return true;
}

QList<int> TfrmUserManage::selectedIds() const
{
    QList<int> ids;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        ids << m_model->record(index.row()).value(QStringLiteral("ID")).toInt();
    return ids;
}

void TfrmUserManage::deleteSelected()
{
    const QList<int> ids = selectedIds();
    Ui &ui = m_services.ui();
    if (ids.isEmpty()) {
        ui.alert(QStringLiteral("没有选中任何要删除的用户"), kPrompt);
        return;
    }
    Users users(m_services.database());
    if (m_services.settings().isConfigOn(QStringLiteral("进入系统需验证")) &&
        users.operatorsWithRoleLeft(ids) == 0) {
        ui.alert(QStringLiteral("已开启【进入系统需验证】，登录需要一个有角色的操作员：不能删除"
                                "最后一个有角色的操作员，否则将无人能进入系统！"),
                 kPrompt);
        m_grid->clearSelection();
        return;
    }
    if (ui.alert(QStringLiteral("用户删除将无法找回，用户处理的订单等数据并不会删除，确认删除这些"
                                "用户吗？"),
                 QStringLiteral("删除确认"), true)) {
        QString error;
        if (users.deleteUsers(ids, &error))
            ui.alert(QStringLiteral("%1个用户删除成功！").arg(ids.size()), kPrompt);
        else
            ui.alert(u"用户删除失败：" + error, kPrompt);
    }
    reopen();
}

void TfrmUserManage::resetSelected()
{
    const QList<int> ids = selectedIds();
    Ui &ui = m_services.ui();
    if (ids.isEmpty()) {
        ui.alert(QStringLiteral("没有选中任何重置的用户"), kPrompt);
        return;
    }
    if (ui.alert(QStringLiteral("确定要重置选中用户的密码为空吗？"), QStringLiteral("确认"),
                 true)) {
        QString error;
        if (Users(m_services.database()).resetPasswords(ids, &error))
            ui.alert(QStringLiteral("%1个用户密码重置成功！").arg(ids.size()), kPrompt);
        else
            ui.alert(u"密码重置失败：" + error, kPrompt);
    }
    reopen();
}

void TfrmUserManage::modifyPassword()
{
    TfrmModifyPassword dialog(m_services, this);
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        dialog.setUserName(m_model->record(current.row()).value("UserName").toString());
    dialog.exec();
    reopen();
}
