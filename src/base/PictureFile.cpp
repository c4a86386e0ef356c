#include "base/PictureFile.h"

#include <QFileInfo>
#include <QImageReader>

namespace PictureFile {

namespace {

QString reason(const QImageReader &reader)
{
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        return QStringLiteral("文件不存在");
    case QImageReader::DeviceError:
        return QStringLiteral("文件无法读取");
    case QImageReader::UnsupportedFormatError:
        return QStringLiteral("不是可识别的图片格式");
    case QImageReader::InvalidDataError:
        return QStringLiteral("图片数据已损坏或不完整");
    case QImageReader::UnknownError:
        break;
    }
    return QStringLiteral("图片无法读取");
}

} // namespace

QImage read(const QString &path, QString *problem)
{
    const QString name = QFileInfo(path).fileName();
    auto fail = [&](const QString &why) {
        if (problem)
            *problem = u"图片文件“" + name + u"”无法显示：" + why + u"。";
        return QImage();
    };
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        return fail(QStringLiteral("图片过大（%1×%2 像素，每边最多 %3 像素）")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(kMaxSide));
    const QImage image = reader.read();
    if (image.isNull())
        return fail(reason(reader));
    if (problem)
        problem->clear();
    return image;
}

} // namespace PictureFile
