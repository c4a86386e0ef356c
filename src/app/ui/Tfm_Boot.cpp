#include "app/ui/Tfm_Boot.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

Tfm_Boot::Tfm_Boot(const QString &picturePath, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fm_Boot"));
    setWindowTitle(QStringLiteral("启动窗口"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setScaledContents(true);
    layout->addWidget(image);
    const QPixmap picture(picturePath);
    if (!picture.isNull())
        image->setPixmap(picture);
    setFixedSize(picture.isNull() ? QSize(370, 249) : picture.size());
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void Tfm_Boot::showForStartup()
{
    show();
    repaint();
    QEventLoop loop;
    QTimer::singleShot(500, &loop, &QEventLoop::quit);
    loop.exec();
    close();
}
