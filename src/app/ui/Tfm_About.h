#pragma once

#include <QDialog>

// The about box: closes on a click anywhere, and by itself after 15 seconds.
class Tfm_About : public QDialog
{
    Q_OBJECT
public:
    explicit Tfm_About(const QString &appVersion, QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
