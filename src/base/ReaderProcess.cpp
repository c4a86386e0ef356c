#include "base/ReaderProcess.h"

#include "base/ReaderProtocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// Where the package puts the helper, from the program's folder; the build sets it from its
// install folders, and projects of their own (the fuzz targets) get the usual layout.
#ifndef LANYAN_READER_FROM_BIN
#define LANYAN_READER_FROM_BIN "../libexec/lanyan"
#endif

namespace {

// The helper's reports are short lines; anything longer is not one of them.
constexpr qsizetype kMaxLine = 128;
// What glib says before it aborts on an allocation the address space limit refused.
constexpr char kAllocationFailed[] = "failed to allocate";

// Resident size of a process, in bytes; 0 when unreadable.
qint64 residentBytes(qint64 pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.read(kMaxLine).split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

void limit(int resource, qint64 value)
{
    const rlimit r{rlim_t(value), rlim_t(value)};
    setrlimit(resource, &r);
}

// Reads the helper's progress lines; keeps the last one.
class Reports
{
public:
    void take(QProcess &process)
    {
        m_pending += process.readAllStandardOutput();
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            parse(m_pending.left(end));
            m_pending.remove(0, end + 1);
        }
        if (m_pending.size() > kMaxLine)
            m_pending.clear();
        // The end of standard error is where an abort says why.
        m_errors += process.readAllStandardError();
        if (m_errors.size() > 4 * kMaxLine)
            m_errors = m_errors.right(2 * kMaxLine);
    }
    qint64 done = 0;
    qint64 total = 0;
    bool allocationFailed() const { return m_errors.contains(kAllocationFailed); }

private:
    void parse(const QByteArray &line)
    {
        if (!line.startsWith(ReaderProtocol::kProgress))
            return;
        const QList<QByteArray> numbers =
            line.mid(qsizetype(sizeof ReaderProtocol::kProgress) - 1).split(' ');
        bool ok1 = false, ok2 = false;
        const qint64 d = numbers.value(0).toLongLong(&ok1);
        const qint64 t = numbers.value(1).toLongLong(&ok2);
        if (numbers.size() == 2 && ok1 && ok2 && d >= 0 && t >= d) {
            done = d;
            total = t;
        }
    }
    QByteArray m_pending;
    QByteArray m_errors;
};

ReaderProcess::End endOf(const QProcess &process, const Reports &reports)
{
    using End = ReaderProcess::End;
    if (process.exitStatus() == QProcess::NormalExit) {
        switch (process.exitCode()) {
        case 0:
            return End::Finished;
        case ReaderProtocol::kRefused:
            return End::Refused;
        case ReaderProtocol::kOutOfMemory:
            return End::OutOfMemory;
        default:
            return End::Crashed;
        }
    }
    // On a crash the exit code is the signal.
    if (process.exitCode() == SIGXCPU)
        return End::TimedOut;
    return reports.allocationFailed() ? End::OutOfMemory : End::Crashed;
}

} // namespace

QString ReaderProcess::program()
{
    const QString set = qEnvironmentVariable("LANYAN_READER");
    if (!set.isEmpty())
        return set;
    // Beside the program in a build folder or a portable copy; where the package puts it
    // otherwise.
    const QString dir = QCoreApplication::applicationDirPath();
    const QString beside = dir + QStringLiteral("/lanyan-reader");
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QDir::cleanPath(dir + QStringLiteral("/" LANYAN_READER_FROM_BIN "/lanyan-reader"));
}

ReaderProcess::End ReaderProcess::run(const QStringList &arguments, const Limits &limits,
                                      const Progress &progress)
{
    QProcess process;
    process.setProgram(program());
    process.setArguments(arguments);
    process.setChildProcessModifier([limits] {
#ifndef LANYAN_SANITIZED
        // AddressSanitizer reserves terabytes of address space for its shadow memory; in that
        // build the watch on resident memory alone bounds the helper.
        limit(RLIMIT_AS, limits.addressBytes);
#endif
        limit(RLIMIT_CPU, limits.seconds);
        limit(RLIMIT_FSIZE, limits.fileBytes);
        limit(RLIMIT_CORE, 0);
    });
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return End::NotStarted;
    QElapsedTimer clock;
    clock.start();
    Reports reports;
    End stopped = End::NotStarted;
    while (process.state() != QProcess::NotRunning) {
        if (process.waitForFinished(25))
            break;
        reports.take(process);
        if (stopped != End::NotStarted)
            continue; // killed, waiting for it to end
        if (residentBytes(process.processId()) > limits.residentBytes)
            stopped = End::OutOfMemory;
        else if (clock.elapsed() > qint64(limits.seconds) * 1000)
            stopped = End::TimedOut;
        else if (progress && !progress(reports.done, reports.total))
            stopped = End::Aborted;
        if (stopped != End::NotStarted)
            process.kill();
    }
    reports.take(process);
    return stopped != End::NotStarted ? stopped : endOf(process, reports);
}

QString ReaderProcess::explain(End end)
{
    switch (end) {
    case End::NotStarted:
        return u"无法启动读取程序 " + program();
    case End::OutOfMemory:
        return QStringLiteral("读取时占用内存过多");
    case End::TimedOut:
        return QStringLiteral("读取超时");
    case End::Aborted:
        return QStringLiteral("已中止读取");
    case End::Finished:
    case End::Refused:
    case End::Crashed:
        break;
    }
    return QStringLiteral("读取进程异常终止");
}
