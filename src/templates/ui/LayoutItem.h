#pragma once

#include <QGraphicsObject>

// One item's box over the form's picture, in the picture's pixels: a text field, a frame or a
// tick box, painted with its label. Selected boxes are red; a resizable selected box shows a
// handle at its lower right corner.
class LayoutItem : public QGraphicsObject
{
    Q_OBJECT
public:
    enum class Kind { Text, Frame, Tick };

    LayoutItem(Kind kind, const QString &name, const QString &text);

    Kind kind() const { return m_kind; }
    QString text() const { return m_text; }
    void setText(const QString &text);
    QSize size() const { return m_size; }
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }
    QRect geometry() const;
    void setGeometry(const QRect &rect);
    void resize(const QSize &size);
    void setResizable(bool on) { m_resizable = on; }
    // Whether a press at this scene point grips the resize handle.
    bool onHandle(const QPointF &scenePos) const;
    // Lifts the box above the others, as the last one touched.
    void raise();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    QRectF handleRect() const;

    Kind m_kind;
    QString m_text;
    QSize m_size;
    bool m_resizable = false;
    bool m_wasSelected = false; // boxes keep their first colour until selected once
};
