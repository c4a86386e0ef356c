#pragma once

#include <QDialog>

class AppServices;
class ClickableLabel;
class QScrollArea;

// Shows one picture: a template's background or an explanatory picture. A click on the
// picture closes the viewer.
class TfrmImageShow : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImageShow(AppServices &services, QWidget *parent = nullptr);

    // The background picture of the template of that full name, at natural size.
    void loadPictureByFullName(const QString &name);
    // A picture file fitted into `size`; shown without waiting.
    void showPictureFile(const QString &path, QSize size);

    bool hasPicture() const;

private:
    bool loadFile(const QString &path, QSize fitInto = {});

    AppServices &m_services;
    QScrollArea *m_scroll = nullptr;
    ClickableLabel *m_picture = nullptr;
};
