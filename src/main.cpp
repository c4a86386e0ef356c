#include "app/ui/Tfm_Boot.h"
#include "app/ui/Tfm_Main.h"
#include "base/FontMap.h"
#include "base/RunPath.h"
#include "base/ui/QtUi.h"
#include "services/AppServices.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lanyan"));
    QFont font(installedFontFamily(QStringLiteral("宋体")));
    font.setPixelSize(12);
    QApplication::setFont(font);

    QtUi ui;
    AppServices services(ui, getRunPath());
    Tfm_Main frame(services);
    if (frame.quitRequested())
        return 0;
    // Without a window manager (a kiosk, a virtual screen) "maximised" alone changes nothing.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    // The edition's own bill is the first child window.
    frame.openAcceptanceDraft();
    QCoreApplication::processEvents();

    Tfm_Boot splash(services.getRunPath() + u"Image/Sys_boot.jpg");
    splash.showForStartup();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("岚砚承兑汇票打印"));

    if (!services.startupProblem().isEmpty())
        QTimer::singleShot(0, &frame, [&] { ui.error(services.startupProblem()); });
    return app.exec();
}
