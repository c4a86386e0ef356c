#pragma once

#include <QDialog>

class AppServices;
class QCheckBox;

// System options: three global settings as check boxes.
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
    struct Option
    {
        QCheckBox *box;
        QString key;
    };

    AppServices &m_services;
    QList<Option> m_options;
};
