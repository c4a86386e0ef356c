#pragma once

#include <QWidget>

// The splash window shown while the program starts.
class Tfm_Boot : public QWidget
{
    Q_OBJECT
public:
    explicit Tfm_Boot(const QString &picturePath, QWidget *parent = nullptr);

    // Shows the splash for its 500 ms, keeping the event loop running, then closes it.
    void showForStartup();
};
