#include "base/CappedChild.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Field `field` (0: size, 1: resident) of /proc/<pid>/statm, in bytes; 0 when unreadable.
qint64 statmBytes(const QString &pid, int field)
{
    QFile statm(u"/proc/" + pid + u"/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readLine().split(' ');
    return fields.size() > field ? fields[field].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

void limit(int resource, qint64 value)
{
    const rlimit r{rlim_t(value), rlim_t(value)};
    setrlimit(resource, &r);
}

// In the child: a huge allocation fails at once; the parent watches what is really used,
// which an address space limit misses when an allocator reserved its space in advance.
void applyLimits(const CappedChild::Limits &limits, qint64 mapped)
{
    limit(RLIMIT_AS, mapped + limits.memoryBytes);
    limit(RLIMIT_FSIZE, limits.fileBytes);
    limit(RLIMIT_CORE, 0);
    std::signal(SIGXFSZ, SIG_DFL);
}

} // namespace

CappedChild::Outcome CappedChild::run(const std::function<int()> &work, const Limits &limits,
                                      const std::function<void()> &waiting)
{
    const QString self = QStringLiteral("self");
    const qint64 mapped = statmBytes(self, 0);
    const qint64 budget = statmBytes(self, 1) + limits.memoryBytes;
    const pid_t pid = fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        applyLimits(limits, mapped);
        // _exit: the parent's exit handlers and buffers are not the child's to run or flush.
        _exit(work());
    }
    const QString child = QString::number(pid);
    QElapsedTimer clock;
    clock.start();
    Outcome out;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return {};
        if (out.end == End::NotStarted) {
            if (statmBytes(child, 1) > budget)
                out.end = End::OutOfMemory;
            else if (clock.elapsed() > qint64(limits.seconds) * 1000)
                out.end = End::TimedOut;
            if (out.end != End::NotStarted)
                kill(pid, SIGKILL);
        }
        if (waiting)
            waiting();
        QThread::msleep(5);
    }
    if (out.end != End::NotStarted)
        return out;
    if (WIFEXITED(status))
        return {End::Exited, WEXITSTATUS(status)};
    return {End::Crashed, WTERMSIG(status)};
}

QString CappedChild::explain(const Outcome &outcome)
{
    switch (outcome.end) {
    case End::NotStarted:
        return QStringLiteral("无法启动读取进程");
    case End::OutOfMemory:
        return QStringLiteral("读取时占用内存过多");
    case End::TimedOut:
        return QStringLiteral("读取超时");
    case End::Exited:
    case End::Crashed:
        break;
    }
    // An allocation refused at the address space limit ends the child on its own.
    return QStringLiteral("读取进程异常终止");
}
