#pragma once

#include "print/PrintOffset.h"

#include <QDialog>
#include <optional>

class AppServices;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class UpDown;

// Calibration of a template on this workstation's printer: the whole-slip offset, the feed
// direction, the picture's size on the bill form and the real paper size. Every field the user
// leaves and every arrow click writes the whole row at once, so the user can print, look,
// adjust and print again.
class TfrmPrintOffset : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPrintOffset(AppServices &services, QWidget *parent = nullptr);
    ~TfrmPrintOffset() override;

    // The template to adjust, set by the opener before showing; 0 or less: none.
    void setCheckTypeId(int id) { m_checkTypeId = id; }
    int checkTypeId() const { return m_checkTypeId; }
    const QString &typeName() const { return m_typeName; }

    // Loads the parameters of the template selected in the list.
    void loadParameters();
    // "保存整体设置"; the automatic save of a field or an arrow tells only in the caption.
    void btSaveMoveClick() { save(true); }
    void saveQuietly() { save(false); }
    // One click of UpDown1 (1 mm right when forward) or UpDown2 (1 mm up when forward).
    void moveByArrow(QSpinBox *field, int step);

Q_SIGNALS:
    // "整体上差不多，我要调整某单项的打印位置": the design mode of that template takes over.
    void designRequested(int checkTypeId);

protected:
    void showEvent(QShowEvent *event) override;
    // Every way of closing (the button, the title bar, Escape) ends here.
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSpinBox *spinEdit(const char *name, OffsetSettings::Range range);
    QWidget *buildFeedGroup();
    QWidget *buildScreenGroup();
    QWidget *buildOffsetGroup();
    QWidget *buildPaperGroup();
    QWidget *buildButtons();
    void fillTemplateList();
    OffsetSettings shownSettings() const;
    void showSettings(const OffsetSettings &s);
    void save(bool withMessages);
    // Offers the template's measured offset to the printer parameter window.
    void saveAsPrinterPreset();
    void showFeedPicture(const QString &file);
    void openPreview();
    void handOverToDesign();

    AppServices &m_services;
    PrintOffset m_offset;
    int m_checkTypeId = 0;
    QString m_typeName;
    // What the database holds as far as this window knows; closing saves what differs.
    std::optional<OffsetSettings> m_stored;
    bool m_saving = false;
    bool m_listed = false;
    bool m_filling = false;

    QListWidget *listCheckTypeName = nullptr;
    QRadioButton *rdZX = nullptr;
    QRadioButton *rdHX = nullptr;
    QSpinBox *edtTWidth = nullptr;
    QSpinBox *edtTHeight = nullptr;
    QSpinBox *XMove = nullptr;
    QSpinBox *YMove = nullptr;
    UpDown *UpDown1 = nullptr;
    UpDown *UpDown2 = nullptr;
    QLabel *lbMoveX = nullptr;
    QLabel *lbMoveY = nullptr;
    QLabel *lbTypeName = nullptr;
    QSpinBox *edtPWidth = nullptr;
    QSpinBox *edtPHeight = nullptr;
    QLabel *lbWidth = nullptr;
    QLabel *lbHeight = nullptr;
};
