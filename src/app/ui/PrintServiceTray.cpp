#include "app/ui/PrintServiceTray.h"

#include "base/Ui.h"
#include "cli/PrintService.h"
#include "data/Settings.h"
#include "services/AppServices.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

PrintServiceTray::PrintServiceTray(AppServices &services, QAction *toggle, QWidget *frame)
    : QObject(frame)
    , m_services(services)
    , m_toggle(toggle)
    , m_frame(frame)
    , m_process(QCoreApplication::applicationFilePath(), services.getRunPath())
    , m_tray(new QSystemTrayIcon(this))
{
    m_tray->setObjectName(QStringLiteral("PrintServiceTrayIcon"));
    QIcon icon = QApplication::windowIcon();
    m_tray->setIcon(icon.isNull() ? frame->style()->standardIcon(QStyle::SP_ComputerIcon) : icon);
    auto *menu = new QMenu(frame);
    menu->addAction(QStringLiteral("显示主窗口"), frame, [frame] {
        frame->showNormal();
        frame->raise();
        frame->activateWindow();
    });
    menu->addAction(QStringLiteral("停止打印服务"), this, [this] { m_toggle->setChecked(false); });
    m_tray->setContextMenu(menu);

    m_toggle->setCheckable(true);
    connect(m_toggle, &QAction::toggled, this, &PrintServiceTray::toggled);
    connect(&m_process, &PrintServiceProcess::listening, this, &PrintServiceTray::listening);
    connect(&m_process, &PrintServiceProcess::stopped, this, &PrintServiceTray::stopped);
    // Started again once the windows are up, as the clerk left it.
    if (m_services.settings().getINIConfigByname(QString::fromLatin1(kSettingKey)) == u"1")
        QTimer::singleShot(0, this, [this] { m_toggle->setChecked(true); });
}

quint16 PrintServiceTray::port() const
{
    bool ok = false;
    const uint port =
        m_services.settings().getConfigByname(QStringLiteral("ServicePort")).toUInt(&ok);
    return ok && port > 0 && port <= 65535 ? quint16(port) : PrintService::kDefaultPort;
}

void PrintServiceTray::toggled(bool on)
{
    m_services.settings().setINIConfigByname(QString::fromLatin1(kSettingKey),
                                             on ? QStringLiteral("1") : QStringLiteral("0"));
    if (on)
        m_process.start(port());
    else
        m_process.stop();
}

void PrintServiceTray::listening()
{
    const QString text = u"岚砚打印服务：" + m_process.address();
    m_tray->setToolTip(text);
    m_toggle->setStatusTip(text);
    m_tray->show();
}

void PrintServiceTray::stopped(const QString &why)
{
    m_tray->hide();
    m_toggle->setStatusTip({});
    {
        const QSignalBlocker quiet(m_toggle);
        m_toggle->setChecked(false);
    }
    if (!why.isEmpty()) {
        // Not started again at the next start until the clerk turns it on again.
        m_services.settings().setINIConfigByname(QString::fromLatin1(kSettingKey),
                                                 QStringLiteral("0"));
        m_services.ui().warn(u"本机打印服务停止了：\n" + why, QStringLiteral("打印服务"));
    }
}
