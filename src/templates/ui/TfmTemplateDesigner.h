#pragma once

#include "templates/DesignerPieces.h"
#include "templates/DesignerStore.h"

#include <QDialog>
#include <QHash>
#include <QPixmap>
#include <functional>
#include <memory>

class AppServices;
class LayoutItem;
class LayoutScene;
class LayoutView;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QUndoStack;

// The print layout of one template on a page of its paper size: every printable item painted
// where, how big and in which font it prints, filled with the kind's sample text. The user
// selects items on the page or in the lists and moves, sizes and restyles them; every edit is
// written to the database at once and the item painted again from what was stored. Each edit
// is a step on the window's undo stack (Ctrl+Z, Ctrl+Y) that writes the items back.
class TfmTemplateDesigner : public QDialog
{
    Q_OBJECT
public:
    explicit TfmTemplateDesigner(AppServices &services, QWidget *parent = nullptr);
    ~TfmTemplateDesigner() override;

    // Opens the designer of a template modally; it frees itself when closed.
    static void showFor(AppServices &services, int checkTypeId, QWidget *parent);

    void setCheckTypeID(int id);
    // Title, paper, items and lists; false when the template's kind is unknown (the user was
    // told and the window should not show).
    bool loadDesigner();

    // What the page shows, for the window's own tests and the benchmark.
    LayoutView *canvas() const { return m_view; }
    QSize pageSize() const;
    DesignerPieces::Scale scale() const { return m_scale; }
    QList<LayoutItem *> pieces(const QString &ctlName = {}) const;
    QUndoStack &undoStack() const { return *m_undo; }
    const QStringList &selection() const { return m_selected; }
    // Paints every item again from the database.
    void paintAllItems();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPaperBand();
    QWidget *buildSelectPanel();
    QWidget *buildMovePanel();
    QWidget *buildPropertyPanel();
    QWidget *buildBatchTabs();
    QWidget *buildLists();
    QSpinBox *spin(const char *name, int min, int max, const char *column);

    // Page and pieces.
    void loadPaper();
    void recomputeScale();
    void repaintItem(const QString &name, bool selected);
    void addPieces(const DesignerItem &item, bool selected);
    void removePieces(const QList<LayoutItem *> &group);
    void styleGroup(const QString &name, bool selected);
    void styleAll();
    void fillMissingArea(const DesignerItem &item);

    // Selection.
    void setMultiMode(bool multi);
    void clearSelection();
    void addToSelection(const QString &name);
    void removeFromSelection(const QString &name);
    void selectionChanged();
    void selectAll();
    void invertSelection();
    void selectGroup(const QString &group);
    void fillGroups();
    void pressPiece(LayoutItem *piece, Qt::KeyboardModifiers modifiers);
    void doubleClickPiece(LayoutItem *piece);
    void clickPiece(LayoutItem *piece);
    void takeRubberBandSelection();
    void listClicked(const QString &entry, bool doubleClick);

    // Editing.
    void loadPanel(const QString &name);
    bool storeAllowed() const;
    void storeField(const QString &column, const QVariant &value, bool repaint = true);
    void storeFields(const DesignerStore::ColumnValues &values, bool repaint = true);
    void storeFailed(const QString &message);
    // Runs an edit of the selected items and records what it changed as one undo step.
    StoreOutcome recorded(const QString &what, int merge,
                          const std::function<StoreOutcome()> &edit);
    // What undo and redo do: writes the items' columns back and shows them.
    void applySnapshot(const DesignerStore::Snapshot &snapshot);
    void moveSelection(const QString &column, int sign);
    void nudge(int dx, int dy);
    void saveItemArea();
    void toggleBreaking(bool on, bool store);
    void toggleCells(bool on, bool store);
    void reportBatch(const StoreOutcome &out, const QString &text);
    void alignOrSize(const QString &column, bool largest, int fallback, const QString &text);
    void stepSize(const QString &column, int sign, const QString &text);
    void updateTestData();
    void savePaperSize();
    void setStep(int tenths);
    void setZoom(const QString &text);
    void applyZoom();
    void toggleFullView();
    void dragPieces(LayoutItem *grabbed);
    void dropDragged();
    void status(int panel, const QString &text);

    AppServices &m_services;
    std::unique_ptr<DesignerStore> m_store;
    int m_checkTypeId = 0;
    QString m_kind;
    int m_paperWidth = 2300; // 0.1 mm
    int m_paperHeight = 1270;
    int m_ppi = 96;
    int m_zoom = 100;
    DesignerPieces::Scale m_scale;
    bool m_multi = false;
    bool m_filling = false;
    int m_step = 5;
    QStringList m_selected;
    QHash<QString, QList<LayoutItem *>> m_pieces; // by item name
    QUndoStack *m_undo = nullptr;
    // A press on a selected item picks it off only when released without a drag, so that the
    // items picked together can be dragged together.
    QString m_pickOff;

    QLabel *LbTitle = nullptr;
    QWidget *panelCheckProperty = nullptr;
    QLineEdit *edtPWidth = nullptr;
    QLineEdit *edtPHeight = nullptr;
    QLineEdit *edtPreImage = nullptr;
    QLineEdit *edtMMDivPixValueX = nullptr;
    QLineEdit *edtMMDivPixValueY = nullptr;
    QWidget *PanelMiddle = nullptr;
    QRadioButton *m_single = nullptr;
    QRadioButton *m_multiple = nullptr;
    QComboBox *cbSelGroup = nullptr;
    QSlider *StepLenth = nullptr;
    QLabel *lbStepWidth = nullptr;
    QComboBox *cbZoom = nullptr;
    QCheckBox *ckTransportColor = nullptr;
    QWidget *PanelProperty = nullptr;
    QSpinBox *edtCtlX = nullptr;
    QSpinBox *edtCtlY = nullptr;
    QSpinBox *edtCtlH = nullptr;
    QSpinBox *edtCtlW = nullptr;
    QComboBox *cbFontName = nullptr;
    QSpinBox *edtFontSize = nullptr;
    QCheckBox *ckUnderLine = nullptr;
    QCheckBox *ckItalic = nullptr;
    QCheckBox *ckBold = nullptr;
    QCheckBox *ckMutiLineOn = nullptr;
    QSpinBox *edtBreakNum = nullptr;
    QSpinBox *edtLineH = nullptr;
    QSpinBox *edtFontSizeBreak = nullptr;
    QWidget *m_breakFields = nullptr;
    QCheckBox *ckWidthAveOn = nullptr;
    QSpinBox *edtAveWidth = nullptr;
    QWidget *m_cellFields = nullptr;
    QComboBox *cbTestData = nullptr;
    QLineEdit *edtDefaultValue = nullptr;
    QTabWidget *PageControlUpdate = nullptr;
    QComboBox *cbTabFontSize = nullptr;
    QComboBox *cbTabFontName = nullptr;
    QSpinBox *edtIncreaseX = nullptr;
    QSpinBox *edtIncreaseY = nullptr;
    QListWidget *lstSelectedNames = nullptr;
    QListWidget *lstAllCtlNames = nullptr;
    LayoutScene *m_scene = nullptr;
    LayoutView *m_view = nullptr;
    QPixmap m_picture; // behind the pieces
    QPushButton *btMaxVeiw = nullptr;
    QHBoxLayout *m_scaleRow = nullptr; // holds btMaxVeiw outside the full view
    QList<QLabel *> m_statusPanels;
};
