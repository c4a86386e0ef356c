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

namespace {

// Bills, parties and password hashes are nobody else's business: what the program makes itself
// is for its owner only. Folders that exist already keep their permissions.
bool makeOwnFolder(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    return QDir().mkpath(info.absolutePath()) &&
           QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

bool DataHome::populate()
{
    m_wasFresh = !QFileInfo(dataDir()).isDir();
    for (const QString &path : {m_runPath, dataDir(), imageDir(), tempDir()})
        if (!makeOwnFolder(QDir::cleanPath(path)))
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
