#pragma once

#include "templates/CheckDesignStore.h"
#include "templates/ui/LayoutItem.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

class AppServices;
class LayoutScene;
class LayoutView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;
class QUndoStack;

// Design mode: the template's picture with one box per item where the bill form shows its
// field. For the selected item the user sets two separate things: the box on screen (pixels,
// moved with the mouse or Ctrl + arrows, sized with Shift + arrows or its handle) and the print
// position and font (0.1 mm, the arrow buttons and fields). Every save writes the item's row at
// once; on closing the template's layout cache is rebuilt so bill forms show the change. Each
// change is a step on the window's undo stack (Ctrl+Z, Ctrl+Y); the stack is clean while what
// the screen shows is what is stored.
class TfmCheckDesign : public QDialog
{
    Q_OBJECT
public:
    TfmCheckDesign(AppServices &services, int checkTypeId, QWidget *parent = nullptr);
    ~TfmCheckDesign() override;

    int checkTypeId() const { return m_checkTypeId; }
    // The selected item box, or null.
    LayoutItem *selectedBox() const { return m_selected; }
    LayoutItem *box(const QString &ctlName) const;
    // Selects an item alone, as a click on its box or its list entry does.
    void selectBox(LayoutItem *box);
    LayoutView *canvas() const { return m_view; }
    QUndoStack &undoStack() const { return *m_undo; }
    // "保存  设置"; the program's own saves are quiet.
    void btSaveCheckClick() { save(true, false); }
    // "勾选项目定义": the captions of the template's free tick boxes.
    void editCheckBoxTitles();
    // The logged-in operator's role; the maintenance command runs only for an administrator.
    void setOperatorRole(const QString &role) { m_operatorRole = role; }

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTopBand();
    QWidget *buildFacePanel();
    QWidget *buildPrintPanel();
    QWidget *buildMaintenance();
    QSpinBox *spin(const char *name, int min, int max, int value = 0);

    void start();
    void loadLayout(bool force);
    void loadItemList();
    void switchKind(const QString &kind);
    void switchTemplate(int id);
    void applyCheckBoxTitles();
    void addBoxes();
    void makeCurrent(LayoutItem *box);
    void fillPanels(LayoutItem *box);
    void fillFields(const ItemDesign &v);
    void showHidden(bool hidden);
    ItemDesign panelValues() const;
    bool save(bool clicked, bool quiet);
    void saveQuietly() { save(false, true); }
    void markSaved();
    // Records what the user just changed on screen and not stored yet as one undo step.
    void recordChange(const QString &what, int merge);
    void pushChange(const QString &what, const QString &ctlName, const ItemDesign &before,
                    const ItemDesign &after, bool stored, int merge);
    // What undo and redo do: shows an item's values and stores them when the change did.
    void applyDesign(const QString &ctlName, const ItemDesign &values, bool store);
    QString boxName(LayoutItem *box) const;
    void pressBox(LayoutItem *box);
    void dragBoxes(LayoutItem *grabbed);
    void dropBoxes(LayoutItem *grabbed, QPoint delta);
    void storeMovedBox(LayoutItem *box, QPoint delta);
    void sizeBoxByHandle(LayoutItem *box);
    void moveBoxTo(QPoint topLeft);
    void resizeBox(int dw, int dh);
    bool handleKey(QKeyEvent *event);
    void moveThePrint(QSpinBox *field, int delta, const QString &direction);
    void showMessage(const QString &text);
    void updateBreakCaption();
    void updateFitCaption();
    void updateFontSample();
    void openPreview();
    void openWholeSlipOffset();
    void showTips();
    void showMeasuringPicture();
    void rebuildCache(int id);
    bool needSelection(const QString &message);
    // Offers to save what the keys or the hide box changed; false keeps the window open.
    bool mayClose();

    AppServices &m_services;
    CheckDesignStore m_store;
    int m_checkTypeId = 0;
    QString m_operatorRole;
    int m_shownTemplate = -1; // whose layout is on screen
    QString m_kind;
    QString m_listedKind;
    QString m_checkBoxs;
    QSize m_picture;
    bool m_started = false;
    bool m_quiet = true;
    bool m_filling = false;
    bool m_loading = false;
    int m_statusClicks = 0;
    int m_blink = 0;
    QPointer<LayoutItem> m_selected;
    QHash<QString, QString> m_labels; // item name -> label
    QUndoStack *m_undo = nullptr;
    ItemDesign m_shown;          // the selected item as the top of the undo stack has it
    bool m_applying = false;     // undo or redo at work: nothing new is recorded
    bool m_inMacro = false;      // one step of several boxes is being recorded
    bool m_cleanPending = false; // what undo or redo showed is stored

    QComboBox *cbCheckTypeNameList = nullptr;
    QComboBox *cbTypeLastName = nullptr;
    QListWidget *listCtlLabel = nullptr;
    QTabWidget *m_tabs = nullptr;
    QCheckBox *ckHidden = nullptr;
    QLineEdit *edtDefaultVal = nullptr;
    QLabel *lbFont = nullptr;
    QSpinBox *SrcH = nullptr;
    QSpinBox *SrcW = nullptr;
    QSpinBox *SrcX = nullptr;
    QSpinBox *SrcY = nullptr;
    QSpinBox *ctlX = nullptr;
    QSpinBox *ctlY = nullptr;
    QComboBox *CtlFontName = nullptr;
    QSpinBox *CtlFontSize = nullptr;
    QCheckBox *ckBold = nullptr;
    QCheckBox *ckItalic = nullptr;
    QCheckBox *ckUnderLine = nullptr;
    QCheckBox *ckWordBreak = nullptr;
    QSpinBox *WrapNum = nullptr;
    QSpinBox *ctlLH = nullptr;
    QSpinBox *CtlBreakFontSize = nullptr;
    QWidget *m_breakFields = nullptr;
    QCheckBox *ckFitPrint = nullptr;
    QSpinBox *FitParam = nullptr;
    QLabel *lbMessage = nullptr;
    LayoutScene *m_scene = nullptr;
    LayoutView *m_view = nullptr;
    QWidget *panelSpecial = nullptr;
    QLabel *m_notPrivileged = nullptr;
    QLineEdit *edtRunSql = nullptr;
    QList<QLabel *> m_statusPanels;
    QTimer *Timer1 = nullptr;
};
