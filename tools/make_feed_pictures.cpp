// Draws the two feed-direction pictures of the calibration window into resources/images/:
// exZX.jpg (paper fed portrait, the short edge first) and exHX.jpg (landscape, the long edge
// first). Run by hand: QT_QPA_PLATFORM=offscreen build/tools/lanyan_make_feed_pictures
// resources/images
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSize = 400;

QFont font(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void arrow(QPainter &p, QPointF from, QPointF to)
{
    p.setPen(QPen(QColor(200, 40, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QLineF shaft(to, from);
    QLineF wing = shaft;
    wing.setLength(18);
    QPainterPath head;
    head.moveTo(to);
    wing.setAngle(shaft.angle() + 28);
    head.lineTo(wing.p2());
    wing.setAngle(shaft.angle() - 28);
    head.lineTo(wing.p2());
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawPath(head);
}

// A bill printer seen from above with its paper guide; the bill lies in the feed slot with
// its printed text upright as the clerk reads it, and an arrow shows which way it goes in.
QImage feedPicture(bool landscape)
{
    QImage img(kSize, kSize, QImage::Format_RGB32);
    img.fill(QColor(250, 250, 247));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(QColor(40, 40, 40));
    p.setFont(font(22, true));
    p.drawText(QRect(0, 10, kSize, 34), Qt::AlignCenter,
               landscape ? QStringLiteral("横向进纸") : QStringLiteral("纵向进纸"));

    // Printer body and its slot.
    const QRectF body(40, 60, 320, 110);
    p.setPen(QPen(QColor(70, 80, 95), 2));
    p.setBrush(QColor(205, 212, 222));
    p.drawRoundedRect(body, 14, 14);
    p.setBrush(QColor(60, 66, 78));
    p.drawRect(QRectF(70, 150, 260, 10));
    p.setPen(QColor(60, 66, 78));
    p.setFont(font(15));
    p.drawText(body.adjusted(0, 10, 0, -40), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("针式票据打印机"));

    // The bill in front of the slot, its long edge across or along the feed.
    const QRectF bill = landscape ? QRectF(80, 176, 240, 130) : QRectF(135, 176, 130, 200);
    p.setPen(QPen(QColor(150, 60, 60), 2));
    p.setBrush(QColor(255, 253, 240));
    p.drawRect(bill);
    p.setPen(QPen(QColor(190, 140, 140), 1));
    // The form's lines run across its long edge, so they turn with it.
    if (landscape) {
        for (qreal y = bill.top() + 42; y < bill.bottom() - 12; y += 22)
            p.drawLine(QPointF(bill.left() + 12, y), QPointF(bill.right() - 12, y));
    } else {
        for (qreal x = bill.left() + 20; x < bill.right() - 42; x += 22)
            p.drawLine(QPointF(x, bill.top() + 12), QPointF(x, bill.bottom() - 12));
    }
    p.save();
    p.translate(bill.center());
    if (!landscape)
        p.rotate(90); // the form's text runs along the feed
    p.setPen(QColor(150, 60, 60));
    p.setFont(font(18, true));
    p.drawText(landscape ? QRectF(-110, -60, 220, 30) : QRectF(-100, -62, 200, 30), Qt::AlignCenter,
               QStringLiteral("票  据"));
    p.restore();

    arrow(p, QPointF(bill.right() + 30, bill.bottom() - 10), QPointF(bill.right() + 30, 168));

    p.setPen(QColor(60, 60, 60));
    p.setFont(font(14));
    p.drawText(QRect(10, kSize - 28, kSize - 20, 22), Qt::AlignCenter,
               landscape ? QStringLiteral("票据长边先进入打印机")
                         : QStringLiteral("票据短边先进入打印机（平推一般是纵向）"));
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const bool ok = feedPicture(false).save(out.filePath(QStringLiteral("exZX.jpg")), "JPG", 90) &&
                    feedPicture(true).save(out.filePath(QStringLiteral("exHX.jpg")), "JPG", 90);
    return ok ? 0 : 1;
}
