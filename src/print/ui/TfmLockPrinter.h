#pragma once

#include <QDialog>

class AppServices;
class QComboBox;
class QPushButton;

// "固定票据打印机": locks one printer as the bill printer of every later print job.
class TfmLockPrinter : public QDialog
{
    Q_OBJECT
public:
    explicit TfmLockPrinter(AppServices &services, QWidget *parent = nullptr);

    void lockPrinter();
    void adaptPrinter();

protected:
    void done(int result) override;

private:
    AppServices &m_services;
    QComboBox *m_printers = nullptr;
    QPushButton *m_lock = nullptr;
    QPushButton *m_adapt = nullptr;
};
