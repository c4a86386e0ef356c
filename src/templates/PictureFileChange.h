#pragma once

#include <QByteArray>
#include <QString>

// A picture file written as part of a database change: it is in place before the change is
// committed, and undoing the change removes it and brings back any file it replaced.
class PictureFileChange
{
public:
    PictureFileChange() = default;
    ~PictureFileChange();
    PictureFileChange(const PictureFileChange &) = delete;
    PictureFileChange &operator=(const PictureFileChange &) = delete;

    bool write(const QString &path, const QByteArray &bytes, QString *error);
    bool copy(const QString &source, const QString &path, QString *error);
    // The change was committed: the replaced file is gone for good.
    void keep();
    // The change was rolled back (also what destruction without keep() does).
    void undo();

private:
    bool putInPlace(const QString &staged, const QString &path, QString *error);

    QString m_path;
    QString m_backup;
    bool m_done = true;
};
