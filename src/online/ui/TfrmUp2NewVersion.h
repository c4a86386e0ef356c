#pragma once

#include "online/DatabaseUpgrade.h"

#include <QDialog>

class AppServices;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

// Brings the data of an older installation into this one.
class TfrmUp2NewVersion : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUp2NewVersion(AppServices &services, QWidget *parent = nullptr);

    void setProgramFile(const QString &path);
    void browse();
    // Answers whether the older installation looks complete.
    bool checkEnvironment();
    void startUpgrade();

private:
    // What the clerk is told after a successful upgrade.
    static QString summaryText(const DatabaseUpgrade::Summary &s, int pictures,
                               const QList<int> &unbuilt);
    QString olderFolder() const;
    // Why the older installation's database cannot be taken over; empty when it can.
    QString olderDatabaseProblem() const;
    void showProgress(int done, int total, const QString &note);

    AppServices &m_services;
    QComboBox *m_program = nullptr;
    QLabel *m_message = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_start = nullptr;
};
