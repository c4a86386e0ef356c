#include "app/ui/TfrmConfig.h"

#include "app/ui/SharedDatabaseFields.h"
#include "base/Ui.h"
#include "base/ui/NamedWidgets.h"
#include "data/DatabaseChoice.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <tuple>

TfrmConfig::TfrmConfig(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("系统选项"));
    auto *layout = new QVBoxLayout(this);
    // As tall as the database fields need, never resized by hand.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto addBox = [&](const char *name, const QString &caption) {
        auto *box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(true);
        layout->addWidget(box);
        return box;
    };
    m_options = {
        {addBox("ckNeedLogin", QStringLiteral("进入系统需要登录验证")),
         QStringLiteral("进入系统需验证")},
        {addBox("ckAutoOrderClient", QStringLiteral("客户随使用频度自动靠前显示")),
         QStringLiteral("客户随使用频度自动排序")},
        {addBox("ckPrintConfig", QStringLiteral("打印前弹出打印机配置窗口")),
         QStringLiteral("打印前弹出打印机设置")},
    };
    addBox("cbHiddenOtherDHD", QStringLiteral("隐藏默认电汇单以外的其他电汇单"))->hide();
    layout->addWidget(buildDatabaseChoice());

    auto *buttons = new QHBoxLayout;
    auto *saveButton = new QPushButton(QStringLiteral("保  存"), this);
    saveButton->setObjectName(QStringLiteral("btSave"));
    auto *closeButton = new QPushButton(QStringLiteral("关  闭"), this);
    closeButton->setObjectName(QStringLiteral("btClose"));
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, &TfrmConfig::save);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    for (const Option &option : std::as_const(m_options)) {
        const std::optional<QString> value = m_services.settings().findConfig(option.key);
        if (!value)
            m_services.ui().alert(u"参数不存在(" + option.key + u")！", QStringLiteral("提示"));
        else
            option.box->setChecked(Settings::isOn(*value));
    }
    adjustSize();
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

QWidget *TfrmConfig::buildDatabaseChoice()
{
    auto *box = new QGroupBox(QStringLiteral("数据库"), this);
    box->setObjectName(QStringLiteral("gbDatabase"));
    auto *layout = new QVBoxLayout(box);
    m_local = new QRadioButton(QStringLiteral("本机数据库"), box);
    m_local->setObjectName(QStringLiteral("rbLocalDatabase"));
    m_shared = new QRadioButton(QStringLiteral("共享数据库"), box);
    m_shared->setObjectName(QStringLiteral("rbSharedDatabase"));
    m_server = new SharedDatabaseFields(box);
    auto *note =
        namedLabel(box, "lbDatabaseNote", QStringLiteral("数据库的更改在下次启动程序时生效。"));
    note->setWordWrap(true);
    layout->addWidget(m_local);
    layout->addWidget(m_shared);
    layout->addWidget(m_server);
    layout->addWidget(note);
    box->setMinimumWidth(320);

    const DatabaseChoice choice =
        DatabaseChoice::read(m_services.settings().userIni(), m_services.home());
    const bool shared = choice.kind == DatabaseChoice::Kind::Shared;
    (shared ? m_shared : m_local)->setChecked(true);
    m_server->setAddress(choice.server);
    m_server->setEnabled(shared);
    connect(m_shared, &QRadioButton::toggled, m_server, &QWidget::setEnabled);
    return box;
}

QString TfrmConfig::saveDatabaseChoice(bool *changed)
{
    IniFile &config = m_services.settings().userIni();
    const DatabaseChoice before = DatabaseChoice::read(config, m_services.home());
    DatabaseChoice choice = before;
    choice.kind =
        m_shared->isChecked() ? DatabaseChoice::Kind::Shared : DatabaseChoice::Kind::Local;
    if (choice.kind == DatabaseChoice::Kind::Shared)
        choice.server = m_server->address();
    const ServerAddress &a = before.server, &b = choice.server;
    *changed = choice.kind != before.kind ||
               (choice.kind == DatabaseChoice::Kind::Shared &&
                std::tie(a.host, a.port, a.database, a.user, a.password) !=
                    std::tie(b.host, b.port, b.database, b.user, b.password));
    if (!*changed)
        return {};
    return choice.write(config, m_services.home());
}

void TfrmConfig::save()
{
    if (m_shared->isChecked()) {
        if (const QString why = m_server->missing(); !why.isEmpty()) {
            m_services.ui().warn(why, QStringLiteral("提示"));
            return;
        }
    }
    QList<std::pair<QString, QString>> values;
    for (const Option &option : std::as_const(m_options))
        values.append(
            {option.key, option.box->isChecked() ? QStringLiteral("yes") : QStringLiteral("no")});
    // A missing row is written too: the clerk's choice must not be dropped behind a success.
    const QString error = m_services.settings().setConfigsByname(values);
    if (!error.isEmpty()) {
        m_services.ui().error(u"设置保存失败！\n" + error);
        return;
    }
    Q_EMIT saved();
    bool databaseChanged = false;
    if (const QString choiceError = saveDatabaseChoice(&databaseChanged); !choiceError.isEmpty()) {
        m_services.ui().error(u"数据库设置保存失败！\n" + choiceError);
        return;
    }
    m_services.ui().alert(databaseChanged
                              ? QStringLiteral("设置保存成功！\n数据库的更改在下次启动程序时生效。")
                              : QStringLiteral("设置保存成功！"),
                          QStringLiteral("提示"));
}
