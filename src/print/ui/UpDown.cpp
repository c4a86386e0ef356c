#include "print/ui/UpDown.h"

#include <QBoxLayout>
#include <QToolButton>

UpDown::UpDown(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent)
{
    const bool horizontal = orientation == Qt::Horizontal;
    auto *layout =
        new QBoxLayout(horizontal ? QBoxLayout::LeftToRight : QBoxLayout::BottomToTop, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto arrow = [&](Qt::ArrowType type, bool forward) {
        auto *b = new QToolButton(this);
        b->setArrowType(type);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(horizontal ? QSize(20, 22) : QSize(22, 12));
        connect(b, &QToolButton::clicked, this, [this, forward] { Q_EMIT clicked(forward); });
        return b;
    };
    m_backward = arrow(horizontal ? Qt::LeftArrow : Qt::DownArrow, false);
    m_forward = arrow(horizontal ? Qt::RightArrow : Qt::UpArrow, true);
    layout->addWidget(m_backward);
    layout->addWidget(m_forward);
}
