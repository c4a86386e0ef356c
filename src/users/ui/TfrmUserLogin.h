#pragma once

#include <QDialog>

class AppServices;
class QComboBox;
class QLineEdit;

// The operator login at start-up.
class TfrmUserLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmUserLogin(AppServices &services, QWidget *parent = nullptr);

    void login();
    // Set by a successful login.
    QString userName;
    QString userRole;

private:
    AppServices &m_services;
    QComboBox *m_names = nullptr;
    QLineEdit *m_password = nullptr;
};
