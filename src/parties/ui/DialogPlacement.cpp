#include "parties/ui/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void placeCentredNearTop(QWidget &dialog)
{
    const QScreen *screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    dialog.move(area.x() + (area.width() - dialog.frameGeometry().width()) / 2, area.y() + 100);
}
