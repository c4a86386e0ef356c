#include "base/ui/FormFace.h"

#include "base/WindowSize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

bool isNormal(const QWidget &w)
{
    return !(w.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

QRect freeArea(const QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

void FormFaceSave(const QWidget &window, IniFile &ini)
{
    if (isNormal(window))
        WindowSize::save(ini, window.objectName(), window.frameGeometry().size());
}

void FormFaceLoad(QWidget &window, const IniFile &ini)
{
    if (!isNormal(window))
        return;
    const QSize screen = window.screen() ? window.screen()->size() : QSize(1024, 768);
    window.resize(WindowSize::load(ini, window.objectName(), window.size(), screen));
}

QSize roomOnScreen(const QWidget &window)
{
    // The frame is known once the window shows; before that a title bar is allowed for.
    const QSize frame =
        window.isVisible() ? window.frameGeometry().size() - window.size() : QSize(8, 32);
    return freeArea(window).size() - frame;
}

void fitToScreen(QWidget &window)
{
    const QSize room = roomOnScreen(window);
    if (window.width() > room.width() || window.height() > room.height())
        window.resize(window.size().boundedTo(room));
    const QRect area = freeArea(window);
    const QRect placed = window.frameGeometry();
    const auto inside = [](int at, int length, int from, int span) {
        return std::clamp(at, from, std::max(from, from + span - length));
    };
    window.move(inside(placed.x(), placed.width(), area.x(), area.width()),
                inside(placed.y(), placed.height(), area.y(), area.height()));
}
