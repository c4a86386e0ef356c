#include "services/PrintServiceProcess.h"

#include <QProcessEnvironment>
#include <csignal>
#include <sys/prctl.h>

namespace {

// How long the service may take to finish the job it prints before it is killed.
constexpr int kStopWaitMs = 5000;

} // namespace

PrintServiceProcess::PrintServiceProcess(QString program, QString runPath, QObject *parent)
    : QObject(parent)
    , m_program(std::move(program))
    , m_runPath(std::move(runPath))
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    // Windows that end without a goodbye (killed, crashed) take the service with them, so no
    // orphan keeps the port from the next start.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(&m_process, &QProcess::readyReadStandardError, this,
            &PrintServiceProcess::readMessages);
    connect(&m_process, &QProcess::finished, this, &PrintServiceProcess::ended);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_messages = m_process.errorString();
            ended();
        }
    });
}

PrintServiceProcess::~PrintServiceProcess()
{
    m_process.disconnect(this);
    if (isRunning()) {
        m_process.terminate();
        if (!m_process.waitForFinished(kStopWaitMs))
            m_process.kill();
        m_process.waitForFinished(kStopWaitMs);
    }
}

QString PrintServiceProcess::address() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

void PrintServiceProcess::start(quint16 port)
{
    if (isRunning())
        return;
    m_port = port;
    m_messages.clear();
    m_listening = false;
    m_stopping = false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANYAN_HOME"), m_runPath);
    m_process.setProcessEnvironment(env);
    m_process.start(m_program,
                    {QStringLiteral("serve"), QStringLiteral("--port"), QString::number(port)});
}

void PrintServiceProcess::stop()
{
    if (!isRunning())
        return;
    m_stopping = true;
    // The service finishes the job it prints, throws the rest away and quits.
    m_process.terminate();
}

void PrintServiceProcess::readMessages()
{
    m_messages += QString::fromUtf8(m_process.readAllStandardError());
    if (!m_listening && m_messages.contains(address())) {
        m_listening = true;
        Q_EMIT listening();
    }
}

void PrintServiceProcess::ended()
{
    readMessages();
    m_listening = false;
    QString why;
    if (!m_stopping)
        why = m_messages.trimmed().isEmpty()
                  ? QStringLiteral("打印服务意外退出（退出码 %1）。").arg(m_process.exitCode())
                  : m_messages.trimmed();
    m_stopping = false;
    Q_EMIT stopped(why);
}
