#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <sys/types.h>

// A stand-in for the reader helper while it lives: a shell script that notes its process id,
// then runs `body` in its own folder (see filePath) with the helper's arguments ($1 the
// command, $2 the file, $3 the output).
class StubReader
{
public:
    explicit StubReader(const QByteArray &body)
        : m_before(qgetenv("LANYAN_READER"))
    {
        QFile script(m_dir.filePath(QStringLiteral("reader")));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\ncd '" + QFile::encodeName(m_dir.path()) +
                     "' || exit 9\necho $$ > pid\n" + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("LANYAN_READER", QFile::encodeName(script.fileName()));
    }
    ~StubReader() { qputenv("LANYAN_READER", m_before); }

    StubReader(const StubReader &) = delete;
    StubReader &operator=(const StubReader &) = delete;

    // A file of the script's folder, for what it is to copy into place.
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Whether the script ran and its process is gone (ended and reaped).
    bool ranAndEnded() const
    {
        QFile file(pidFile());
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const pid_t pid = pid_t(file.readAll().trimmed().toLongLong());
        return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH;
    }

private:
    QString pidFile() const { return m_dir.filePath(QStringLiteral("pid")); }

    QTemporaryDir m_dir;
    QByteArray m_before;
};
