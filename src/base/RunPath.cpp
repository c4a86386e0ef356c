#include "base/RunPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString withSlash(const QString &dir)
{
    const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
    return clean.endsWith(u'/') ? clean : clean + u'/';
}

} // namespace

QString resolveRunPath(const QString &envHome, const QString &exeDir, const QString &xdgDataHome)
{
    if (!envHome.isEmpty())
        return withSlash(envHome);
    const QFileInfo exe(exeDir);
    if (!exeDir.isEmpty() && exe.isWritable() && QFileInfo(exeDir + u"/Data").isDir())
        return withSlash(exeDir);
    return withSlash(xdgDataHome + u"/lanyan");
}

QString getRunPath()
{
    static const QString runPath =
        resolveRunPath(qEnvironmentVariable("LANYAN_HOME"), QCoreApplication::applicationDirPath(),
                       QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return runPath;
}

bool isRunFromArchive(const QString &dir)
{
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    return dir.contains(u'$') || dir.split(separators).contains(QStringLiteral("Temp"));
}
