#pragma once

#include <QGraphicsView>

class LayoutScene;
class ZoomHelper;

// Shows a layout scene from its top left corner, scrolls the rest, draws the rubber band
// that selects boxes and zooms with Ctrl + the wheel.
class LayoutView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit LayoutView(LayoutScene *scene, QWidget *parent = nullptr);

    LayoutScene *layoutScene() const { return m_scene; }
    ZoomHelper &zoom() const { return *m_zoom; }

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    LayoutScene *m_scene;
    ZoomHelper *m_zoom;
};
