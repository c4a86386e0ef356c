#include "app/ui/Tfm_About.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

Tfm_About::Tfm_About(const QString &appVersion, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("fm_About"));
    setFixedSize(398, 239);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(64, 139, 223));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    auto line = [&](const QString &text, int pixelSize, bool bold = false) {
        auto *label = new QLabel(text, this);
        QFont f = label->font();
        f.setPixelSize(pixelSize);
        f.setBold(bold);
        label->setFont(f);
        label->setWordWrap(true);
        layout->addWidget(label);
        // A click on a label closes the box too.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return label;
    };
    line(QStringLiteral("关于"), 14, true);
    line(QStringLiteral("岚砚承兑汇票打印软件"), 20, true);
    line(QStringLiteral("单机版 for win98/Me/2000/Xp/2003/vista/Win7"), 12);
    line(u"当前版本：" + appVersion + u"(S1)", 12);
    layout->addStretch();
    line(QStringLiteral("本软件用于在预印票据上套打填写内容。请勿将本软件用于伪造票据等非法用途。\n"
                        "点击任意处关闭。"),
         12);

    QTimer::singleShot(15000, this, &QDialog::accept);
}

void Tfm_About::mousePressEvent(QMouseEvent *)
{
    accept();
}
