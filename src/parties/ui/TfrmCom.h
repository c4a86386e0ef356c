#pragma once

#include <QDialog>

class AppServices;
class QComboBox;
class QLineEdit;

// Currencies of the acceptance draft: names, the codes printed before amounts, and order.
class TfrmCom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCom(AppServices &services, QWidget *parent = nullptr);

    // Lists the currencies, highest weight first; `keep` stays chosen when it is still there.
    void reload(const QString &keep = {});
    void add();
    void remove();
    void modify();
    void move(int step);
    void resetOrder();

private:
    QString chosenName() const;
    void choose(int index);

    AppServices &m_services;
    QComboBox *m_names = nullptr;
    QComboBox *m_codes = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_code = nullptr;
};
