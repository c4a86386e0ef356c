#include "users/ui/TfrmModifyPassword.h"

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

namespace {

QLineEdit *passwordEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(30);
    return edit;
}

} // namespace

TfrmModifyPassword::TfrmModifyPassword(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmModifyPassword"));
    setWindowTitle(QStringLiteral("更改系统登录密码"));
    m_names = new QComboBox(this);
    m_names->setObjectName(QStringLiteral("cbUserName"));
    QStringList names;
    Users(services.database()).userNames(&names);
    m_names->addItems(names);
    m_old = passwordEdit(this, "edtOldPwd");
    m_new1 = passwordEdit(this, "lePassword1");
    m_new2 = passwordEdit(this, "lePassword2");
    QPushButton *modifyButton = namedButton(this, "btModify", QStringLiteral("修改"));
    QPushButton *exit = namedButton(this, "btExit", QStringLiteral("关闭"));

    auto *heading = new QLabel(QStringLiteral("登录密码修改"), this);
    heading->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: bold;"));
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名："), m_names);
    form->addRow(QStringLiteral("输入旧密码："), m_old);
    form->addRow(QStringLiteral("输入新密码："), m_new1);
    form->addRow(QStringLiteral("确认新密码："), m_new2);
    form->addRow(QString(), new QLabel(QStringLiteral("(初始密码为空)")));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(modifyButton);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(modifyButton, &QPushButton::clicked, this, &TfrmModifyPassword::modify);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    m_old->setFocus();
}

void TfrmModifyPassword::setUserName(const QString &name)
{
    m_names->setCurrentIndex(m_names->findText(name));
}

void TfrmModifyPassword::modify()
{
    Ui &ui = m_services.ui();
    if (m_new1->text().trimmed() != m_new2->text().trimmed()) {
        ui.alert(QStringLiteral("密码两次输入不一致！"), QStringLiteral("提示"));
        return;
    }
    QString error;
    switch (Users(m_services.database())
                .changePassword(m_names->currentText(), m_old->text(), m_new1->text(), &error)) {
    case Users::Change::WrongOldPassword:
        ui.alert(QStringLiteral("用户名或密码输入有错误，请重新输入."), QStringLiteral("密码错误"));
        m_old->clear();
        m_old->setFocus();
        break;
    case Users::Change::Ok:
        ui.alert(QStringLiteral("密码修改成功,请牢记新密码。"), QStringLiteral("消息"));
        // Two different fillers: pressing "修改" again reports the mismatch.
        m_new1->setText(QStringLiteral("AAAAAAAAAAAAAAA"));
        m_new2->setText(QStringLiteral("BBBBBBBBBBBBBBB"));
        break;
    case Users::Change::Failed:
        ui.alert(u"密码修改失败，错误=" + error, QStringLiteral("提示"));
        break;
    }
}
