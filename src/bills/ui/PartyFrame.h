#pragma once

#include <QWidget>

// One of the two red frames on the slip picture that pick the sender or the receiver: a click
// inside picks, and the frame fills with red hatching while the pointer is well inside it.
class PartyFrame : public QWidget
{
    Q_OBJECT
public:
    PartyFrame(Qt::PenStyle pen, const QString &hint, QWidget *parent = nullptr);

Q_SIGNALS:
    void picked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Qt::PenStyle m_pen;
    bool m_hatched = false;
};
