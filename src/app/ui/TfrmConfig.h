#pragma once

#include <QDialog>

class AppServices;
class QCheckBox;
class QRadioButton;
class SharedDatabaseFields;

// System options: three global settings as check boxes, and which database this workstation
// uses from its next start.
class TfrmConfig : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmConfig(AppServices &services, QWidget *parent = nullptr);

    void save();

Q_SIGNALS:
    // The settings were written; the frame reloads its options.
    void saved();

private:
    QWidget *buildDatabaseChoice();
    // Empty when the choice was stored, else what went wrong.
    QString saveDatabaseChoice(bool *changed);

    struct Option
    {
        QCheckBox *box;
        QString key;
    };

    AppServices &m_services;
    QList<Option> m_options;
    QRadioButton *m_local = nullptr;
    QRadioButton *m_shared = nullptr;
    SharedDatabaseFields *m_server = nullptr;
};
