#include "users/ui/TfrmUserLogin.h"

#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "services/AppServices.h"
#include "users/Users.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmUserLogin::TfrmUserLogin(AppServices &services, QWidget *parent)
    : QDialog(parent, Qt::MSWindowsFixedSizeDialogHint)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmUserLogin"));
    setWindowTitle(QStringLiteral("操作员切换及登录"));
    m_names = new QComboBox(this);
    m_names->setObjectName(QStringLiteral("cbUserName"));
    m_names->setEditable(true);
    m_names->lineEdit()->setMaxLength(30);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edtPasswd"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(30);
    QPushButton *loginButton = namedButton(this, "btLogin", QStringLiteral("登录"));
    QPushButton *cancel = namedButton(this, "btCancel", QStringLiteral("取消"));

    auto *heading = new QLabel(QStringLiteral("操作员登录"), this);
    heading->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: bold;"));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), m_names);
    form->addRow(QStringLiteral("密  码："), m_password);
    form->addRow(QString(), new QLabel(QStringLiteral("(*初始密码为空)")));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(loginButton);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(loginButton, &QPushButton::clicked, this, &TfrmUserLogin::login);
    connect(m_password, &QLineEdit::returnPressed, this, &TfrmUserLogin::login);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    QStringList names;
    if (!Users(services.database()).userNames(&names))
        services.ui().alert(QStringLiteral("数据库访问出错，请确认系统的完整性未被破坏~"),
                            QStringLiteral("提示"));
    m_names->addItems(names);
    m_names->setCurrentIndex(names.isEmpty() ? -1 : 0);
    m_password->setFocus();
}

void TfrmUserLogin::login()
{
    const QString name = m_names->currentText().trimmed();
    if (name.isEmpty()) {
        m_services.ui().alert(QStringLiteral("请选择正确的用户名~"), QStringLiteral("提示"));
        m_names->setFocus();
        return;
    }
    QString role;
    switch (Users(m_services.database()).login(name, m_password->text(), &role)) {
    case Users::Login::Ok:
        userName = name;
        userRole = role;
        m_password->clear();
        accept();
        return;
    case Users::Login::Refused:
        m_services.ui().alert(QStringLiteral("用户名或密码输入错误~"), QStringLiteral("提示"));
        break;
    case Users::Login::Failed:
        m_services.ui().alert(QStringLiteral("密码或用户名输入错误~"), QStringLiteral("提示"));
        break;
    }
    m_password->selectAll();
    m_password->setFocus();
}
