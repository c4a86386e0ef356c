#pragma once

#include <QObject>

// The zoom of a layout view in steps of percent; the view scales by what it says.
class ZoomHelper : public QObject
{
    Q_OBJECT
public:
    explicit ZoomHelper(QObject *parent = nullptr);

    int percent() const { return m_percent; }
    qreal scale() const { return m_percent / 100.0; }
    // Out-of-range values fall back to 100.
    void setPercent(int percent);
    void zoomIn();
    void zoomOut();

Q_SIGNALS:
    void scaleChanged(qreal scale);

private:
    int m_percent = 100;
};
