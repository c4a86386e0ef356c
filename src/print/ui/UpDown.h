#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons beside a field: right/left when horizontal, up/down when vertical.
// The forward arrow is the right or the up one.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(Qt::Orientation orientation, QWidget *parent = nullptr);

    QToolButton *forwardButton() const { return m_forward; }
    QToolButton *backwardButton() const { return m_backward; }

Q_SIGNALS:
    void clicked(bool forward);

private:
    QToolButton *m_forward = nullptr;
    QToolButton *m_backward = nullptr;
};
