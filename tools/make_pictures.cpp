// Draws the shipped pictures of the application shell into resources/images/.
// Run by hand: QT_QPA_PLATFORM=offscreen build/tools/lanyan_make_pictures resources/images
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QFont font(const char *family, int pixelSize, bool bold = false)
{
    QFont f(QString::fromUtf8(family));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// The splash: 370 x 249, product name over a blue band.
QImage splash()
{
    QImage img(370, 249, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 249);
    g.setColorAt(0, QColor(64, 139, 223));
    g.setColorAt(1, QColor(22, 74, 150));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(255, 255, 255, 40));
    for (int x = -249; x < 370; x += 18)
        p.drawLine(x, 249, x + 249, 0);
    p.setPen(Qt::white);
    p.setFont(font("AR PL UKai CN", 40, true));
    p.drawText(QRect(0, 50, 370, 60), Qt::AlignCenter, QStringLiteral("岚砚票据打印"));
    p.setFont(font("WenQuanYi Micro Hei", 16));
    p.drawText(QRect(0, 115, 370, 30), Qt::AlignCenter, QStringLiteral("承兑汇票 · 快递单 套打"));
    p.setFont(font("WenQuanYi Micro Hei", 12));
    p.drawText(QRect(0, 200, 370, 24), Qt::AlignCenter, QStringLiteral("正在启动，请稍候……"));
    return img;
}

// The main frame background: a pale desk with a sketch of a bill, stretched to the frame.
QImage background()
{
    QImage img(1280, 800, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 1280, 800);
    g.setColorAt(0, QColor(214, 230, 248));
    g.setColorAt(1, QColor(176, 203, 236));
    p.fillRect(img.rect(), g);
    const QRectF bill(300, 190, 680, 360);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawRoundedRect(bill.translated(10, 12), 8, 8);
    p.setBrush(QColor(255, 253, 244));
    p.setPen(QPen(QColor(150, 60, 60), 2));
    p.drawRoundedRect(bill, 8, 8);
    p.setPen(QPen(QColor(200, 120, 120), 1));
    for (int i = 1; i < 6; ++i)
        p.drawLine(QPointF(bill.left() + 30, bill.top() + 40 + i * 50),
                   QPointF(bill.right() - 30, bill.top() + 40 + i * 50));
    p.setPen(QColor(150, 60, 60));
    p.setFont(font("AR PL UMing CN", 30, true));
    p.drawText(bill.adjusted(0, 10, 0, 0).toRect(), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("票 据 套 打"));
    p.setPen(QColor(60, 90, 140));
    p.setFont(font("WenQuanYi Micro Hei", 22));
    p.drawText(QRect(0, 600, 1280, 40), Qt::AlignCenter,
               QStringLiteral("岚砚承兑汇票打印 —— 所见即所打，一次对准，张张准确"));
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    const bool ok = splash().save(out + QStringLiteral("/Sys_boot.jpg"), "JPG", 90) &&
                    background().save(out + QStringLiteral("/sys_bg.jpg"), "JPG", 85);
    return ok ? 0 : 1;
}
