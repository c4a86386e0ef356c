#include "templates/PictureFileChange.h"

#include "base/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

PictureFileChange::~PictureFileChange()
{
    undo();
}

bool PictureFileChange::write(const QString &path, const QByteArray &bytes, QString *error)
{
    const QString staged = path + u".new";
    QSaveFile file(staged);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(bytes) != bytes.size() || !file.commit()) {
        *error = u"图片保存失败," + path + u' ' + file.errorString();
        return false;
    }
    return putInPlace(staged, path, error);
}

bool PictureFileChange::copy(const QString &source, const QString &path, QString *error)
{
    const QString staged = path + u".new";
    if (!QDir().mkpath(QFileInfo(path).path()) || !FileHelpers::copyFile(source, staged, error))
        return false;
    return putInPlace(staged, path, error);
}

bool PictureFileChange::putInPlace(const QString &staged, const QString &path, QString *error)
{
    undo();
    m_path = path;
    m_backup.clear();
    if (QFileInfo::exists(path)) {
        m_backup = path + u".old";
        QFile::remove(m_backup);
        if (!QFile::rename(path, m_backup)) {
            *error = u"图片替换失败," + path;
            QFile::remove(staged);
            m_backup.clear();
            return false;
        }
    }
    m_done = false;
    if (!QFile::rename(staged, path)) {
        *error = u"图片保存失败," + path;
        QFile::remove(staged);
        undo();
        return false;
    }
    return true;
}

void PictureFileChange::keep()
{
    if (!m_backup.isEmpty())
        QFile::remove(m_backup);
    m_done = true;
}

void PictureFileChange::undo()
{
    if (m_done)
        return;
    QFile::remove(m_path);
    if (!m_backup.isEmpty())
        QFile::rename(m_backup, m_path);
    m_done = true;
}
