#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

// The local print service, run by the windows as a program of their own (`lanyan serve`): a job
// it prints never holds a window up, and whatever happens to it leaves the windows standing.
class PrintServiceProcess : public QObject
{
    Q_OBJECT
public:
    // `program` is this program; the service uses the data home `runPath`.
    PrintServiceProcess(QString program, QString runPath, QObject *parent = nullptr);
    // Stops the service with the windows.
    ~PrintServiceProcess() override;

    void setProgram(const QString &program) { m_program = program; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    bool isListening() const { return m_listening; }
    quint16 port() const { return m_port; }
    // The address shop systems call, once listening.
    QString address() const;

    void start(quint16 port);
    void stop();

Q_SIGNALS:
    // The service answers on its port.
    void listening();
    // It ended: `why` says what the service said, empty when it was asked to stop.
    void stopped(const QString &why);

private:
    void readMessages();
    void ended();

    QString m_program;
    QString m_runPath;
    QProcess m_process;
    QString m_messages;
    quint16 m_port = 0;
    bool m_listening = false;
    bool m_stopping = false;
};
