#include "base/DataHome.h"

#include "base/Resources.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

DataHome::DataHome(QString runPath)
    : m_runPath(std::move(runPath))
{
    registerResources();
    if (!m_runPath.endsWith(u'/'))
        m_runPath += u'/';
}

bool DataHome::populate()
{
    m_wasFresh = !QFileInfo(dataDir()).isDir();
    QDir dir;
    for (const QString &path : {dataDir(), imageDir(), tempDir()})
        if (!dir.mkpath(path))
            return false;
    QDirIterator shipped(QStringLiteral(":/images"), QDir::Files);
    while (shipped.hasNext()) {
        const QFileInfo picture(shipped.next());
        const QString target = imageDir() + picture.fileName();
        if (QFileInfo::exists(target))
            continue;
        if (QFile::copy(picture.filePath(), target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
    }
    return true;
}
