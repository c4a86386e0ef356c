#include "print/ui/TfrmImageShow.h"

#include "base/PictureFile.h"
#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "data/BoundQuery.h"
#include "services/AppServices.h"

#include <QScrollArea>
#include <QSqlError>
#include <QVBoxLayout>

TfrmImageShow::TfrmImageShow(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmImageShow"));
    setWindowTitle(QStringLiteral("岚砚图示"));
    m_picture = new ClickableLabel;
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setAlignment(Qt::AlignCenter);
    connect(m_picture, &ClickableLabel::clicked, this, &QDialog::close);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_picture);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
}

bool TfrmImageShow::hasPicture() const
{
    return !m_picture->pixmap().isNull();
}

void TfrmImageShow::loadPictureByFullName(const QString &name)
{
    m_picture->clear();
    setWindowTitle(u"岚砚软件-模板图片查看【" + name + u"】");
    if (name.isEmpty())
        return;
    QSqlQuery q = m_services.database().query();
    if (!execBound(q, QStringLiteral("select ImgFile from CKTypeTable where TypeName = ?"),
                   {name})) {
        m_services.ui().error(u"模板图片的记录无法读取：" + q.lastError().text());
        return;
    }
    if (!q.next())
        return;
    const QString file = q.value(0).toString().trimmed();
    if (file.isEmpty()) {
        m_services.ui().alert(QStringLiteral("没有有效的图片文件~"), QStringLiteral("提示"));
        return;
    }
    if (loadFile(m_services.home().imageDir() + file))
        resize(m_picture->sizeHint().boundedTo(QSize(1200, 800)) + QSize(4, 4));
}

void TfrmImageShow::showPictureFile(const QString &path, QSize size)
{
    m_picture->clear();
    loadFile(path, size);
    resize(size);
    show();
}

bool TfrmImageShow::loadFile(const QString &path, QSize fitInto)
{
    QString problem;
    QImage image = PictureFile::read(path, &problem);
    if (image.isNull()) {
        m_services.ui().error(problem);
        return false;
    }
    if (fitInto.isValid())
        image = image.scaled(fitInto, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_picture->setPixmap(QPixmap::fromImage(image));
    return true;
}
