#pragma once

#include <QMdiArea>
#include <QPixmap>

// The frame's work area: child windows over a background picture stretched to fill it, or the
// plain colour when there is no picture.
class PictureMdiArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit PictureMdiArea(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
