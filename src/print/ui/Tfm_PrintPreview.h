#pragma once

#include <QDialog>
#include <QImage>

class AppServices;
class CentimetreRuler;
class PreviewSampleModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTableView;

// Where each printable item of a template lands, on screen in real size against centimetre
// rulers over the form's picture, with the sample texts of the kind's dictionary. The print
// engine itself paints them, at the screen's resolution, so they show exactly where they
// print. The outer rulers stay; the item panel with its inner rulers moves by
// the whole-slip offset, which is only tried out here, never saved.
class Tfm_PrintPreview : public QDialog
{
    Q_OBJECT
public:
    explicit Tfm_PrintPreview(AppServices &services, QWidget *parent = nullptr);

    // Builds the preview of a template and shows it modally; frees itself when closed.
    static void showFor(AppServices &services, int checkTypeId, QWidget *parent);

    void setCheckTypeId(int id) { m_checkTypeId = id; }
    // The screen's resolution is used unless a test sets another.
    void setPixelsPerInch(int ppi);
    int pixelsPerInch() const { return m_ppi; }

    // Title, offset, items and sample grid; false when the template's kind is unknown (the
    // user was told).
    bool loadPreview();
    // Paints the samples again from the database's current ones.
    void placeItems();
    // The values as painted, without the picture: transparent where nothing prints.
    const QImage &paintedItems() const { return m_items; }
    // The item labels' origin on the item panel: the inner rulers' thickness.
    QPoint itemOrigin() const;
    QWidget *itemPanel() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildRulers();
    void applyOffset();
    void setIgnoreOffset(bool ignore);
    void loadSamples();

    AppServices &m_services;
    int m_checkTypeId = 0;
    QString m_kind;
    int m_ppi = 96;
    int m_paperWidth = 0; // 0.1 mm
    int m_paperHeight = 0;
    PreviewSampleModel *m_samples = nullptr;
    QImage m_picture;
    QImage m_items;

    QLabel *LbTitle = nullptr;
    QSplitter *m_splitter = nullptr;
    QWidget *panelLeft = nullptr;
    QTableView *DBGrid1 = nullptr;
    QWidget *PanelRight = nullptr;
    QWidget *panelCheck = nullptr;
    QLabel *m_paper = nullptr;
    QWidget *panelBtn = nullptr;
    QSpinBox *XMove = nullptr;
    QSpinBox *YMove = nullptr;
    QLineEdit *edtMoveX = nullptr;
    QLineEdit *edtMoveY = nullptr;
    QCheckBox *ckNoMoveXY = nullptr;
    QPushButton *btEditPreviewData = nullptr;
    QPushButton *btClose = nullptr;
    CentimetreRuler *tractbarTop1 = nullptr;
    CentimetreRuler *tractbarLeft1 = nullptr;
    CentimetreRuler *tractbarTop2 = nullptr;
    CentimetreRuler *tractbarLeft2 = nullptr;
};
