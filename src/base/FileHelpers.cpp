#include "base/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace FileHelpers {

bool copyFile(const QString &source, const QString &target, QString *error)
{
    const auto fail = [error](const QFileDevice &file) {
        if (error)
            *error = file.fileName() + QStringLiteral(": ") + file.errorString();
        return false;
    };
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in);
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(in);

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return fail(out);
    return true;
}

QStringList listFiles(const QString &folder, const QString &pattern)
{
    if (folder.isEmpty())
        return {};
    // A listed entry is one whose attributes are the archive bit alone: an ordinary file, not a
    // folder, not hidden, not a system file. On Linux that is a regular file (or a link to one)
    // whose name does not start with a dot; "." and ".." are folders and never listed. Files
    // copied over from Windows keep their upper-case extensions, so the pattern ignores case.
    const QDir dir(folder);
    if (!dir.exists())
        return {};
    return dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

} // namespace FileHelpers
