#pragma once

#include "data/DatabaseMove.h"

#include <QDialog>
#include <atomic>
#include <memory>

class AppServices;
class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class SharedDatabaseFields;

// Moves this workstation's database file into an empty shared database, with progress and a
// way to stop; the workstation switches over only when every table's rows arrived.
class TfrmDatabaseMove : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDatabaseMove(AppServices &services, QWidget *parent = nullptr);
    ~TfrmDatabaseMove() override;

    void start();
    bool isRunning() const { return m_thread != nullptr; }

public Q_SLOTS:
    // Closing while the rows are copied stops the copy instead.
    void reject() override;

private:
    void showProgress(qint64 done, qint64 total);
    void finished(const DatabaseMove::Result &result, const ServerAddress &target);
    void setRunning(bool running);

    AppServices &m_services;
    SharedDatabaseFields *m_server;
    QProgressBar *m_progress;
    QLabel *m_state;
    QPushButton *m_start;
    QPushButton *m_stop;
    QPushButton *m_close;
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_stopRequested{false};
};
