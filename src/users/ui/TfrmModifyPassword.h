#pragma once

#include <QDialog>

class AppServices;
class QComboBox;
class QLineEdit;

// Changes an operator's password, given the old one.
class TfrmModifyPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmModifyPassword(AppServices &services, QWidget *parent = nullptr);

    void setUserName(const QString &name);
    void modify();

private:
    AppServices &m_services;
    QComboBox *m_names = nullptr;
    QLineEdit *m_old = nullptr;
    QLineEdit *m_new1 = nullptr;
    QLineEdit *m_new2 = nullptr;
};
