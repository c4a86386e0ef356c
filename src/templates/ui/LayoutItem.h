#pragma once

#include <QFont>
#include <QGraphicsObject>

// One item's box over the form's picture or page, in its pixels: a text field, a frame or a
// tick box painted with its label, or a piece of printed text in its font. Selected boxes are
// red; a resizable selected box shows a handle at its lower right corner. Boxes of one group
// (the pieces of one item) are selected and moved together.
class LayoutItem : public QGraphicsObject
{
    Q_OBJECT
public:
    enum class Kind { Text, Frame, Tick, Piece };

    LayoutItem(Kind kind, const QString &name, const QString &text);

    Kind kind() const { return m_kind; }
    QString text() const { return m_text; }
    void setText(const QString &text);
    QString group() const { return m_group.isEmpty() ? objectName() : m_group; }
    void setGroup(const QString &group) { m_group = group; }
    void setFont(const QFont &font);
    // An unselected piece may leave the page visible behind its text.
    void setTransparent(bool on);
    bool fillsBackground() const { return !m_transparent || isSelected(); }
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
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    QRectF handleRect() const;

    Kind m_kind;
    QString m_text;
    QString m_group;
    QFont m_font;
    bool m_transparent = false;
    QSize m_size;
    bool m_resizable = false;
    bool m_wasSelected = false; // boxes keep their first colour until selected once
};
