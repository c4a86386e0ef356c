#include "templates/TemplateModel.h"

QString Template::pictureFile() const
{
    return imgFile.trimmed().isEmpty() ? QStringLiteral("dhd_default.jpg") : imgFile;
}
