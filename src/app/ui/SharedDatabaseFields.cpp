#include "app/ui/SharedDatabaseFields.h"

#include "base/ui/InBackground.h"
#include "base/ui/NamedWidgets.h"
#include "data/ServerProbe.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

QLineEdit *namedEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

SharedDatabaseFields::SharedDatabaseFields(QWidget *parent)
    : QWidget(parent)
    , m_host(namedEdit(this, "edtHost"))
    , m_port(new QSpinBox(this))
    , m_database(namedEdit(this, "edtDatabase"))
    , m_user(namedEdit(this, "edtUser"))
    , m_password(namedEdit(this, "edtPassword"))
    , m_test(namedButton(this, "btTestConnection", QStringLiteral("测试连接")))
    , m_answer(namedLabel(this, "lbConnectionAnswer", {}))
{
    m_port->setObjectName(QStringLiteral("edtPort"));
    m_port->setRange(1, 65535);
    m_port->setValue(5432);
    m_password->setEchoMode(QLineEdit::Password);
    m_host->setPlaceholderText(QStringLiteral("服务器名称或地址"));
    m_answer->setWordWrap(true);
    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("主机"), m_host);
    form->addRow(QStringLiteral("端口"), m_port);
    form->addRow(QStringLiteral("数据库"), m_database);
    form->addRow(QStringLiteral("用户"), m_user);
    form->addRow(QStringLiteral("密码"), m_password);
    form->addRow(m_test);
    form->addRow(m_answer);
    connect(m_test, &QPushButton::clicked, this, &SharedDatabaseFields::testConnection);
}

ServerAddress SharedDatabaseFields::address() const
{
    ServerAddress a;
    a.host = m_host->text().trimmed();
    a.port = m_port->value();
    a.database = m_database->text().trimmed();
    a.user = m_user->text().trimmed();
    a.password = m_password->text();
    a.schema = m_schema;
    return a;
}

void SharedDatabaseFields::setAddress(const ServerAddress &address)
{
    m_host->setText(address.host);
    m_port->setValue(address.port);
    m_database->setText(address.database);
    m_user->setText(address.user);
    m_password->setText(address.password);
    m_schema = address.schema;
}

QString SharedDatabaseFields::missing() const
{
    return address().isComplete() ? QString() : QStringLiteral("请填写共享数据库的数据库名。");
}

bool SharedDatabaseFields::isTesting() const
{
    return !m_test->isEnabled();
}

void SharedDatabaseFields::testConnection()
{
    if (const QString why = missing(); !why.isEmpty()) {
        m_answer->setText(why);
        return;
    }
    m_test->setEnabled(false);
    m_answer->setText(QStringLiteral("正在连接……"));
    inBackground(
        this, [address = address()] { return ServerProbe::of(address); },
        [this](const ServerProbe &probe) {
            m_answer->setText(probe.text);
            m_test->setEnabled(true);
        });
}
