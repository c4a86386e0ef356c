#pragma once

#include <QList>
#include <QWidget>
#include <functional>

// A real-size centimetre ruler with marks on both long sides: a long mark at every centimetre,
// a short one at every millimetre, and a label per centimetre. Mark 0 is at the widget's
// left (or top) edge.
class CentimetreRuler : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kThickness = 26;

    // `label` gives the text of centimetre n, or an empty text for none; labels are named
    // `labelPrefix` + n.
    CentimetreRuler(Qt::Orientation orientation, int centimetres, int ppi,
                    const QString &labelPrefix, const std::function<QString(int)> &label,
                    QWidget *parent);

    // The pixel position of each centimetre mark.
    const QList<int> &ticks() const { return m_ticks; }
    // The ruler's length, without what a last long label adds.
    int length() const { return m_ticks.back() + 1; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::Orientation m_orientation;
    int m_ppi;
    QList<int> m_ticks;
};
