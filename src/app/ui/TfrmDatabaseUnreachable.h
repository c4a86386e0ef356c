#pragma once

#include <QDialog>

class AppServices;
class QLabel;
class QPushButton;

// At start-up, when the shared database does not answer: try again, or go on with this
// workstation's own database file, or quit. Accepted once a database is open.
class TfrmDatabaseUnreachable : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDatabaseUnreachable(AppServices &services, QWidget *parent = nullptr);

    void retry();
    void useLocal();

private:
    void showProblem();
    void setBusy(bool busy);

    AppServices &m_services;
    QLabel *m_problem;
    QPushButton *m_retry;
    QPushButton *m_local;
    QPushButton *m_quit;
};
