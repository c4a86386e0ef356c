#include "base/ui/FormFace.h"

#include "base/WindowSize.h"

#include <QScreen>
#include <QWidget>

namespace {

bool isNormal(const QWidget &w)
{
    return !(w.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
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
