#include "app/ui/Tfm_Boot.h"
#include "app/ui/Tfm_Main.h"
#include "app/ui/TfrmDatabaseUnreachable.h"
#include "base/FontMap.h"
#include "base/RunPath.h"
#include "base/ui/QtUi.h"
#include "cli/Commands.h"
#include "services/AppServices.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

namespace {

// A command prints without windows, so it needs no display: the offscreen platform paints the
// same pages.
int runCommand(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("lanyan"));
    return Commands::run(QCoreApplication::arguments());
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (Commands::isCommand(arguments))
        return runCommand(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lanyan"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("cn.lanyan.billprinter"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("cn.lanyan.billprinter")));
    QFont font(installedFontFamily(QStringLiteral("宋体")));
    font.setPixelSize(12);
    QApplication::setFont(font);

    QtUi ui;
    AppServices services(ui, getRunPath());
    // Without its database the program could only fail every step: the clerk decides first.
    if (services.database().status() == Database::Status::Unreachable &&
        TfrmDatabaseUnreachable(services).exec() != QDialog::Accepted)
        return 0;
    Tfm_Main frame(services);
    if (frame.quitRequested())
        return 0;
    // Before any event loop runs, so the clock's first tick finds it; Qt has taken its own
    // options out of the arguments by now.
    if (services.startupProblem().isEmpty())
        frame.importAtStart(Commands::fileToOpen(QCoreApplication::arguments()));
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
