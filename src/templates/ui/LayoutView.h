#pragma once

#include <QGraphicsView>

class LayoutScene;
class ZoomHelper;

// Shows a layout scene from its top left corner, scrolls the rest, draws the rubber band
// that selects boxes and asks its zoom helper for a step with Ctrl + the wheel. With nudging
// on, the arrow keys ask to move the selection instead of scrolling.
class LayoutView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit LayoutView(LayoutScene *scene, QWidget *parent = nullptr);

    LayoutScene *layoutScene() const { return m_scene; }
    ZoomHelper &zoom() const { return *m_zoom; }
    void setArrowKeysNudge(bool on) { m_nudge = on; }

Q_SIGNALS:
    // One arrow key: dx, dy of -1, 0 or 1.
    void nudged(int dx, int dy);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    LayoutScene *m_scene;
    ZoomHelper *m_zoom;
    bool m_nudge = false;
};
