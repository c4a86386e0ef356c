#include "app/ui/TfrmConfig.h"

#include "base/Ui.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmConfig::TfrmConfig(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("系统选项"));
    setFixedSize(276, 236);

    auto *layout = new QVBoxLayout(this);
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
    layout->addStretch();

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
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TfrmConfig::save()
{
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
    m_services.ui().alert(QStringLiteral("设置保存成功！"), QStringLiteral("提示"));
}
