#pragma once

#include "services/PrintServiceProcess.h"

#include <QObject>

class AppServices;
class QAction;
class QSystemTrayIcon;
class QWidget;

// The main frame's "本机打印服务": the local print service started and stopped by a checkable
// menu item, an icon in the system tray while it runs, and the choice kept for the next start.
class PrintServiceTray : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *kSettingKey = "PrintServiceOn";

    PrintServiceTray(AppServices &services, QAction *toggle, QWidget *frame);

    PrintServiceProcess &process() { return m_process; }
    QSystemTrayIcon *trayIcon() const { return m_tray; }

private:
    void toggled(bool on);
    void listening();
    void stopped(const QString &why);
    quint16 port() const;

    AppServices &m_services;
    QAction *m_toggle;
    QWidget *m_frame;
    PrintServiceProcess m_process;
    QSystemTrayIcon *m_tray;
};
