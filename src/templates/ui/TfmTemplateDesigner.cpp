#include "templates/ui/TfmTemplateDesigner.h"

#include "base/FontMap.h"
#include "base/Ui.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "print/ui/TfrmPrintOffset.h"
#include "services/AppServices.h"
#include "templates/ui/DesignerEditCommand.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutScene.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/UndoKeys.h"
#include "templates/ui/ZoomHelper.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>
#include <QWheelEvent>

namespace {

const QString kGroupHint = QStringLiteral("请选择分组");
const QString kDefaultFace = QStringLiteral("宋体");
constexpr int kStartStep = 5; // 0.5 mm

// The item name of a list entry: the text after the first "=", at most 50 characters.
QString nameOfEntry(const QString &entry)
{
    const qsizetype eq = entry.indexOf(u'=');
    return (eq < 0 ? entry : entry.mid(eq + 1)).left(50).trimmed().toUpper();
}

QStringList fontFaces()
{
    // The faces templates name come first; they print through their installed substitutes.
    QStringList faces{kDefaultFace, QStringLiteral("新宋体"), QStringLiteral("楷体"),
                      QStringLiteral("黑体"), QStringLiteral("微软雅黑")};
    for (const QString &family : QFontDatabase::families()) {
        if (!family.startsWith(u'@') && !faces.contains(family))
            faces << family;
    }
    return faces;
}

} // namespace

TfmTemplateDesigner::TfmTemplateDesigner(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("TfmTemplateDesigner"));
    setWindowTitle(QStringLiteral("打印预览"));
    if (const QScreen *s = screen())
        m_ppi = std::max(1, qRound(s->logicalDotsPerInchX()));

    LbTitle = namedLabel(this, "LbTitle", {});
    LbTitle->setAlignment(Qt::AlignCenter);
    LbTitle->setStyleSheet(QStringLiteral("font-size: 15px; font-weight: bold; padding: 2px;"));
    buildPaperBand();

    PanelMiddle = new QWidget(this);
    PanelMiddle->setObjectName(QStringLiteral("PanelMiddle"));
    auto *middle = new QHBoxLayout(PanelMiddle);
    middle->setContentsMargins(0, 0, 0, 0);
    middle->addWidget(buildSelectPanel());
    middle->addWidget(buildMovePanel());
    middle->addWidget(buildPropertyPanel(), 1);
    middle->addWidget(buildBatchTabs(), 1);

    m_undo = new QUndoStack(this);
    new UndoKeys(this, m_undo);
    m_scene = new LayoutScene(this);
    m_scene->setSelectsOnPress(false);
    m_view = new LayoutView(m_scene, this);
    m_view->setObjectName(QStringLiteral("QuickRep1"));
    m_view->setBackgroundBrush(palette().dark());
    m_view->setArrowKeysNudge(true);
    connect(m_scene, &LayoutScene::boxPressed, this, &TfmTemplateDesigner::pressPiece);
    connect(m_scene, &LayoutScene::boxDoubleClicked, this, &TfmTemplateDesigner::doubleClickPiece);
    connect(m_scene, &LayoutScene::boxClicked, this, &TfmTemplateDesigner::clickPiece);
    connect(m_scene, &LayoutScene::boxesDragged, this, &TfmTemplateDesigner::dragPieces);
    connect(m_scene, &LayoutScene::boxesDropped, this, &TfmTemplateDesigner::dropDragged);
    connect(m_scene, &LayoutScene::picturePressed, this, [this] {
        const QSize page = pageSize();
        status(3, QString::number(page.width()) + u',' + QString::number(page.height()));
    });
    connect(m_view, &QGraphicsView::rubberBandChanged, this, [this](QRect band) {
        if (band.isNull())
            takeRubberBandSelection();
    });
    connect(m_view, &LayoutView::nudged, this, &TfmTemplateDesigner::nudge);
    connect(&m_view->zoom(), &ZoomHelper::scaleChanged, this, &TfmTemplateDesigner::applyZoom);

    auto *body = new QHBoxLayout;
    body->addWidget(buildLists());
    body->addWidget(m_view, 1);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("stateBar1"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(u"stateBar1_" + QString::number(i));
        if (i == 0)
            panel->setMinimumWidth(180);
        m_statusPanels << panel;
        bar->addWidget(panel, i == 3 ? 1 : 0);
    }
    m_statusPanels[1]->setText(QStringLiteral("CheckTypeId"));
    m_statusPanels[2]->setText(QStringLiteral("CtlName"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(3);
    layout->addWidget(LbTitle);
    layout->addWidget(panelCheckProperty);
    layout->addWidget(PanelMiddle);
    layout->addLayout(body, 1);
    layout->addWidget(bar);

    setStep(kStartStep);
    setMultiMode(false);
    resize(1180, 800);
    fitToScreen(*this);
}

TfmTemplateDesigner::~TfmTemplateDesigner() = default;

void TfmTemplateDesigner::showFor(AppServices &services, int checkTypeId, QWidget *parent)
{
    auto *designer = new TfmTemplateDesigner(services, parent);
    designer->setAttribute(Qt::WA_DeleteOnClose);
    designer->setCheckTypeID(checkTypeId);
    if (designer->loadDesigner())
        designer->exec();
    else
        designer->deleteLater();
}

void TfmTemplateDesigner::buildPaperBand()
{
    panelCheckProperty = new QWidget(this);
    panelCheckProperty->setObjectName(QStringLiteral("panelCheckProperty"));
    // Two rows, so that the window fits a screen 1024 pixels wide.
    auto *rows = new QVBoxLayout(panelCheckProperty);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    auto *row = new QHBoxLayout;
    m_scaleRow = new QHBoxLayout;
    rows->addLayout(row);
    rows->addLayout(m_scaleRow);
    const auto edit = [this](const char *name, int width, bool readOnly) {
        auto *e = new QLineEdit(panelCheckProperty);
        e->setObjectName(QString::fromLatin1(name));
        e->setFixedWidth(width);
        e->setReadOnly(readOnly);
        return e;
    };
    edtPWidth = edit("edtPWidth", 60, false);
    edtPHeight = edit("edtPHeight", 60, false);
    edtPreImage = edit("edtPreImage", 160, true);
    edtMMDivPixValueX = edit("edtMMDivPixValueX", 70, true);
    edtMMDivPixValueY = edit("edtMMDivPixValueY", 70, true);
    auto *browse = namedButton(panelCheckProperty, "btPicBrowse", QStringLiteral("浏览"));
    auto *save = namedButton(panelCheckProperty, "btSaveXY", QStringLiteral("【保存票据设置】"));
    auto *calc = namedButton(panelCheckProperty, "btCaculateMMDivPix", QStringLiteral("计算"));
    btMaxVeiw = namedButton(panelCheckProperty, "btMaxVeiw", QStringLiteral("满屏"));
    for (QWidget *w : std::initializer_list<QWidget *>{
             new QLabel(QStringLiteral("原始单据宽度:")), edtPWidth,
             new QLabel(QStringLiteral("厘米  高度:")), edtPHeight,
             new QLabel(QStringLiteral("厘米")), new QLabel(QStringLiteral("底图源")), edtPreImage,
             browse, save})
        row->addWidget(w);
    row->addStretch();
    for (QWidget *w : std::initializer_list<QWidget *>{
             new QLabel(QStringLiteral("毫米/像数比X:")), edtMMDivPixValueX,
             new QLabel(QStringLiteral("Y:")), edtMMDivPixValueY, calc})
        m_scaleRow->addWidget(w);
    m_scaleRow->addStretch();
    m_scaleRow->addWidget(btMaxVeiw);

    connect(save, &QPushButton::clicked, this, &TfmTemplateDesigner::savePaperSize);
    connect(calc, &QPushButton::clicked, this, &TfmTemplateDesigner::recomputeScale);
    connect(btMaxVeiw, &QPushButton::clicked, this, &TfmTemplateDesigner::toggleFullView);
    connect(browse, &QPushButton::clicked, this, [this] {
        // Only shown behind the pieces while the window is open; the template keeps its own.
        const QString file = m_services.ui().chooseOpenFile(
            QStringLiteral("选择底图"), QStringLiteral("图片 (*.jpg *.jpeg *.bmp)"),
            m_services.getRunPath());
        if (!file.isEmpty()) {
            m_picture = QPixmap(file);
            m_scene->setPicture(m_picture, pageSize());
        }
    });
}

QWidget *TfmTemplateDesigner::buildSelectPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PanelSelect"));
    auto *box = new QGroupBox(QStringLiteral("选取"), panel);
    box->setObjectName(QStringLiteral("RadioGrpSel"));
    m_single = new QRadioButton(QStringLiteral("单选"), box);
    m_multiple = new QRadioButton(QStringLiteral("多选"), box);
    m_single->setChecked(true);
    auto *radios = new QVBoxLayout(box);
    radios->addWidget(m_single);
    radios->addWidget(m_multiple);
    connect(m_multiple, &QRadioButton::clicked, this, [this] { setMultiMode(true); });
    connect(m_single, &QRadioButton::clicked, this, [this] { setMultiMode(false); });

    cbSelGroup = new QComboBox(panel);
    cbSelGroup->setObjectName(QStringLiteral("cbSelGroup"));
    cbSelGroup->setEditable(true);
    cbSelGroup->setToolTip(kGroupHint);
    cbSelGroup->addItem(kGroupHint);
    cbSelGroup->installEventFilter(this);
    connect(cbSelGroup, &QComboBox::textActivated, this, &TfmTemplateDesigner::selectGroup);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(new QLabel(QStringLiteral("分组:"), panel));
    layout->addWidget(cbSelGroup);
    layout->addWidget(new QLabel(QStringLiteral("例如: 数量*"), panel));
    layout->addStretch();
    return panel;
}

QWidget *TfmTemplateDesigner::buildMovePanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panelMove"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    const struct
    {
        const char *name;
        const char *caption;
        const char *column;
        int sign;
        int row;
        int col;
    } moves[] = {{"btMoveUp", "上移", "CtlY", -1, 0, 1},
                 {"btMoveLeft", "左移", "CtlX", -1, 1, 0},
                 {"btMoveRight", "右移", "CtlX", 1, 1, 2},
                 {"btMoveDown", "下移", "CtlY", 1, 2, 1}};
    for (const auto &m : moves) {
        auto *b = namedButton(panel, m.name, QString::fromUtf8(m.caption));
        b->setFixedWidth(52);
        grid->addWidget(b, m.row, m.col);
        const QString column = QString::fromLatin1(m.column);
        const int sign = m.sign;
        connect(b, &QPushButton::clicked, this, [this, b, column, sign] {
            b->setEnabled(false); // a second click lands only after the first is stored
            moveSelection(column, sign);
            b->setEnabled(true);
        });
    }
    StepLenth = new QSlider(Qt::Horizontal, panel);
    StepLenth->setObjectName(QStringLiteral("StepLenth"));
    StepLenth->setRange(1, 100);
    lbStepWidth = namedLabel(panel, "lbStepWidth", {});
    connect(StepLenth, &QSlider::valueChanged, this, &TfmTemplateDesigner::setStep);
    grid->addWidget(StepLenth, 3, 0, 1, 2);
    grid->addWidget(lbStepWidth, 3, 2);
    auto *quick = new QHBoxLayout;
    for (int mm : {1, 2, 3, 5, 10}) {
        auto *b = new QPushButton(QString::number(mm), panel);
        b->setObjectName(u"btStep" + QString::number(mm));
        b->setAutoDefault(false);
        b->setFixedWidth(26);
        connect(b, &QPushButton::clicked, this, [this, mm] { setStep(mm * 10); });
        quick->addWidget(b);
    }
    grid->addLayout(quick, 4, 0, 1, 3);
    cbZoom = new QComboBox(panel);
    cbZoom->setObjectName(QStringLiteral("cbZoom"));
    cbZoom->setEditable(true);
    cbZoom->addItems({"150", "120", "100", "80", "50"});
    cbZoom->setCurrentText(QStringLiteral("100"));
    connect(cbZoom, &QComboBox::textActivated, this, &TfmTemplateDesigner::setZoom);
    ckTransportColor = new QCheckBox(QStringLiteral("透明底色"), panel);
    ckTransportColor->setObjectName(QStringLiteral("ckTransportColor"));
    connect(ckTransportColor, &QCheckBox::toggled, this, &TfmTemplateDesigner::styleAll);
    auto *zoomRow = new QHBoxLayout;
    zoomRow->addWidget(new QLabel(QStringLiteral("缩放率:"), panel));
    zoomRow->addWidget(cbZoom);
    grid->addLayout(zoomRow, 5, 0, 1, 3);
    grid->addWidget(ckTransportColor, 6, 0, 1, 3);
    return panel;
}

QSpinBox *TfmTemplateDesigner::spin(const char *name, int min, int max, const char *column)
{
    auto *s = new QSpinBox(PanelMiddle);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(min, max);
    // Stored when the user finishes a value (Enter, leaving, an arrow), never half typed.
    s->setKeyboardTracking(false);
    if (column) {
        const QString c = QString::fromLatin1(column);
        connect(s, &QSpinBox::valueChanged, this, [this, c](int v) { storeField(c, v); });
    }
    return s;
}

QWidget *TfmTemplateDesigner::buildPropertyPanel()
{
    PanelProperty = new QWidget(PanelMiddle);
    PanelProperty->setObjectName(QStringLiteral("PanelProperty"));
    auto *grid = new QGridLayout(PanelProperty);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    edtCtlX = spin("edtCtlX", 0, 3000, "CtlX");
    edtCtlY = spin("edtCtlY", 0, 3000, "CtlY");
    edtCtlH = spin("edtCtlH", 0, 3000, "CtlH");
    edtCtlW = spin("edtCtlW", 0, 3000, "CtlW");
    const struct
    {
        const char *caption;
        QSpinBox *box;
    } area[] = {{"距左:", edtCtlX}, {"距顶:", edtCtlY}, {"区域高:", edtCtlH}, {"区域宽:", edtCtlW}};
    int col = 0;
    for (const auto &a : area) {
        grid->addWidget(new QLabel(QString::fromUtf8(a.caption)), 0, col++);
        grid->addWidget(a.box, 0, col++);
    }
    grid->addWidget(new QLabel(QStringLiteral("0.1mm")), 0, col);

    cbFontName = new QComboBox(PanelProperty);
    cbFontName->setObjectName(QStringLiteral("cbFontName"));
    cbFontName->setEditable(true);
    const QStringList faces = fontFaces();
    cbFontName->addItems(faces);
    connect(cbFontName, &QComboBox::textActivated, this, [this](const QString &face) {
        storeField(QStringLiteral("CtlFontName"),
                   face.trimmed().isEmpty() ? kDefaultFace : face.trimmed());
    });
    edtFontSize = spin("edtFontSize", 6, 20, "CtlFontSize");
    const auto styleBox = [this](const char *name, const char *caption, const char *column) {
        auto *box = new QCheckBox(QString::fromUtf8(caption), PanelProperty);
        box->setObjectName(QString::fromLatin1(name));
        const QString c = QString::fromLatin1(column);
        connect(box, &QCheckBox::clicked, this, [this, c](bool on) {
            storeField(c, on ? QStringLiteral("1") : QStringLiteral("0"));
        });
        return box;
    };
    ckUnderLine = styleBox("ckUnderLine", "下划线", "UnderLine");
    ckItalic = styleBox("ckItalic", "斜体", "Italic");
    ckBold = styleBox("ckBold", "粗体", "Bold");
    auto *fontRow = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{
             new QLabel(QStringLiteral("打印字体:")), cbFontName,
             new QLabel(QStringLiteral("字号:")), edtFontSize, ckUnderLine, ckItalic, ckBold})
        fontRow->addWidget(w);
    fontRow->addStretch();
    grid->addLayout(fontRow, 1, 0, 1, 9);

    ckMutiLineOn = new QCheckBox(PanelProperty);
    ckMutiLineOn->setObjectName(QStringLiteral("ckMutiLineOn"));
    connect(ckMutiLineOn, &QCheckBox::clicked, this, [this](bool on) { toggleBreaking(on, true); });
    edtBreakNum = spin("edtBreakNum", 1, 200, "BreakNum");
    edtLineH = spin("edtLineH", 25, 200, "CtlLH");
    edtFontSizeBreak = spin("edtFontSizeBreak", 6, 20, "BreakFontSize");
    m_breakFields = new QWidget(PanelProperty);
    auto *breakRow = new QHBoxLayout(m_breakFields);
    breakRow->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : std::initializer_list<QWidget *>{
             edtBreakNum, new QLabel(QStringLiteral("行高:")), edtLineH,
             new QLabel(QStringLiteral("0.1mm 换行字号:")), edtFontSizeBreak})
        breakRow->addWidget(w);
    auto *breakLine = new QHBoxLayout;
    breakLine->addWidget(ckMutiLineOn);
    breakLine->addWidget(m_breakFields);
    breakLine->addStretch();
    grid->addLayout(breakLine, 2, 0, 1, 9);

    ckWidthAveOn = new QCheckBox(PanelProperty);
    ckWidthAveOn->setObjectName(QStringLiteral("ckWidthAveOn"));
    connect(ckWidthAveOn, &QCheckBox::clicked, this, [this](bool on) { toggleCells(on, true); });
    edtAveWidth = spin("edtAveWidth", 20, 200, "FitParam");
    m_cellFields = new QWidget(PanelProperty);
    auto *cellRow = new QHBoxLayout(m_cellFields);
    cellRow->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w :
         std::initializer_list<QWidget *>{new QLabel(QStringLiteral("字宽:")), edtAveWidth,
                                          new QLabel(QStringLiteral("(0.1mm)( 邮编等格子项目)"))})
        cellRow->addWidget(w);
    auto *cellLine = new QHBoxLayout;
    cellLine->addWidget(ckWidthAveOn);
    cellLine->addWidget(m_cellFields);
    cellLine->addStretch();
    grid->addLayout(cellLine, 3, 0, 1, 9);

    cbTestData = new QComboBox(PanelProperty);
    cbTestData->setObjectName(QStringLiteral("cbTestData"));
    cbTestData->setEditable(true);
    cbTestData->addItems({QStringLiteral("岚砚科技有限公司"), QStringLiteral("518057"),
                          QStringLiteral("0755-26881234"), QStringLiteral("深圳市南山区科技园"),
                          QStringLiteral("签收前请确认包装完好，本人签收！"),
                          QStringLiteral("1234567890")});
    cbTestData->setCurrentText({});
    cbTestData->setMinimumWidth(160);
    auto *update = namedButton(PanelProperty, "btUpdateTestData", QStringLiteral("更新测试"));
    connect(update, &QPushButton::clicked, this, &TfmTemplateDesigner::updateTestData);
    edtDefaultValue = new QLineEdit(PanelProperty);
    edtDefaultValue->setObjectName(QStringLiteral("edtDefaultValue"));
    edtDefaultValue->setMaxLength(80);
    connect(edtDefaultValue, &QLineEdit::editingFinished, this, [this] {
        if (edtDefaultValue->isModified())
            storeField(QStringLiteral("InitValue"), edtDefaultValue->text(), false);
        edtDefaultValue->setModified(false);
    });
    auto *saveArea = namedButton(PanelProperty, "btSaveXYWH", QStringLiteral("【保存项目设置】"));
    connect(saveArea, &QPushButton::clicked, this, &TfmTemplateDesigner::saveItemArea);
    auto *dataRow = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{
             new QLabel(QStringLiteral("测试数据：")), cbTestData, update,
             new QLabel(QStringLiteral("默认值：")), edtDefaultValue, saveArea})
        dataRow->addWidget(w);
    grid->addLayout(dataRow, 4, 0, 1, 9);

    toggleBreaking(false, false);
    toggleCells(false, false);
    return PanelProperty;
}

QWidget *TfmTemplateDesigner::buildBatchTabs()
{
    PageControlUpdate = new QTabWidget(PanelMiddle);
    PageControlUpdate->setObjectName(QStringLiteral("PageControlUpdate"));
    const auto applyButton = [](QWidget *tab, const char *name, const char *caption) {
        return namedButton(tab, name, QString::fromUtf8(caption));
    };

    auto *sizeTab = new QWidget;
    cbTabFontSize = new QComboBox(sizeTab);
    cbTabFontSize->setObjectName(QStringLiteral("cbTabFontSize"));
    for (int size = 8; size <= 20; ++size)
        cbTabFontSize->addItem(QString::number(size));
    cbTabFontSize->setCurrentIndex(-1);
    auto *applySize = applyButton(sizeTab, "btTabFontSize", "批量应用");
    connect(applySize, &QPushButton::clicked, this, [this] {
        if (cbTabFontSize->currentText().isEmpty())
            return;
        reportBatch(recorded(QStringLiteral("字号"), DesignerEditCommand::Alone,
                             [this] {
                                 return m_store->setAll(m_selected, QStringLiteral("CtlFontSize"),
                                                        cbTabFontSize->currentText().toInt());
                             }),
                    QStringLiteral("修改字号（字体大小）成功！"));
    });
    auto *sizeRow = new QHBoxLayout(sizeTab);
    sizeRow->addWidget(cbTabFontSize);
    sizeRow->addWidget(applySize);
    sizeRow->addStretch();
    PageControlUpdate->addTab(sizeTab, QStringLiteral("批量改字号"));

    auto *faceTab = new QWidget;
    cbTabFontName = new QComboBox(faceTab);
    cbTabFontName->setObjectName(QStringLiteral("cbTabFontName"));
    cbTabFontName->addItems(fontFaces());
    cbTabFontName->setCurrentIndex(-1);
    auto *applyFace = applyButton(faceTab, "btTabFontName", "批量应用");
    connect(applyFace, &QPushButton::clicked, this, [this] {
        if (cbTabFontName->currentText().isEmpty()) {
            m_services.ui().alert(QStringLiteral("字体必须选择"), QStringLiteral("提示"));
            cbTabFontName->setFocus();
            return;
        }
        reportBatch(recorded(QStringLiteral("字体"), DesignerEditCommand::Alone,
                             [this] {
                                 return m_store->setAll(m_selected, QStringLiteral("CtlFontName"),
                                                        cbTabFontName->currentText());
                             }),
                    QStringLiteral("修改字体成功！！"));
    });
    auto *faceRow = new QHBoxLayout(faceTab);
    faceRow->addWidget(cbTabFontName);
    faceRow->addWidget(applyFace);
    faceRow->addStretch();
    PageControlUpdate->addTab(faceTab, QStringLiteral("批量改字体"));

    auto *alignTab = new QWidget;
    auto *alignGrid = new QGridLayout(alignTab);
    alignGrid->setContentsMargins(2, 2, 2, 2);
    const struct
    {
        const char *caption;
        const char *column;
        bool largest;
        int fallback;
        const char *text;
    } extremes[] = {
        {"等宽-最窄", "CtlW", false, 35, "个批量修改等量宽度(最窄)成功！"},
        {"等高-最矮", "CtlH", false, 40, "个批量修改等量高度(最矮)成功！"},
        {"等高-最高", "CtlH", true, 40, "批量修改等量高度（最高）成功！"},
        {"等宽-最宽", "CtlW", true, 120, "批量修改等量宽度（最宽）成功！"},
        {"最右对齐", "CtlX", true, -1, "批量修改最右对齐成功！"},
        {"最顶对齐", "CtlY", false, -1, "批量修改距最顶对齐成功！"},
        {"最底对齐", "CtlY", true, -1, "批量修改距最底对齐成功！"},
        {"最左对齐", "CtlX", false, -1, "批量修改最左对齐成功！"},
    };
    int n = 0;
    for (const auto &e : extremes) {
        auto *b = new QPushButton(QString::fromUtf8(e.caption), alignTab);
        b->setAutoDefault(false);
        const QString column = QString::fromLatin1(e.column);
        const QString text = QString::fromUtf8(e.text);
        const bool largest = e.largest;
        const int fallback = e.fallback;
        connect(b, &QPushButton::clicked, this,
                [=, this] { alignOrSize(column, largest, fallback, text); });
        alignGrid->addWidget(b, n / 4 + (n >= 4 ? 1 : 0), n % 4);
        ++n;
    }
    const struct
    {
        const char *caption;
        const char *column;
        int sign;
        const char *text;
    } steps[] = {{"+宽", "CtlW", 1, "个批量加宽成功！"},
                 {"-宽", "CtlW", -1, "个批量减宽成功！"},
                 {"+高", "CtlH", 1, "个批量加高成功！"},
                 {"-高", "CtlH", -1, "个批量减高成功！"}};
    n = 0;
    for (const auto &s : steps) {
        auto *b = new QPushButton(QString::fromUtf8(s.caption), alignTab);
        b->setAutoDefault(false);
        const QString column = QString::fromLatin1(s.column);
        const QString text = QString::fromUtf8(s.text);
        const int sign = s.sign;
        connect(b, &QPushButton::clicked, this, [=, this] { stepSize(column, sign, text); });
        alignGrid->addWidget(b, 1, n++);
    }
    PageControlUpdate->addTab(alignTab, QStringLiteral("批量对齐、大小"));

    auto *spreadTab = new QWidget;
    edtIncreaseX = new QSpinBox(spreadTab);
    edtIncreaseX->setObjectName(QStringLiteral("edtIncreaseX"));
    edtIncreaseX->setRange(20, 1000);
    edtIncreaseX->setValue(40);
    edtIncreaseY = new QSpinBox(spreadTab);
    edtIncreaseY->setObjectName(QStringLiteral("edtIncreaseY"));
    edtIncreaseY->setRange(20, 1000);
    edtIncreaseY->setValue(50);
    auto *spreadX = applyButton(spreadTab, "btSpreadX", "批量应用-横向");
    auto *spreadY = applyButton(spreadTab, "btSpreadY", "批量应用-纵向");
    for (auto [button, column, field] :
         {std::tuple{spreadX, "CtlX", edtIncreaseX}, std::tuple{spreadY, "CtlY", edtIncreaseY}}) {
        const QString c = QString::fromLatin1(column);
        QSpinBox *increment = field;
        connect(button, &QPushButton::clicked, this, [this, c, increment] {
            if (m_selected.size() < 2)
                return;
            reportBatch(
                recorded(QStringLiteral("分布"), DesignerEditCommand::Alone,
                         [&] { return m_store->spread(m_selected, c, increment->value()); }),
                QStringLiteral("个等宽分布修改成功！"));
        });
    }
    auto *spreadGrid = new QGridLayout(spreadTab);
    spreadGrid->addWidget(new QLabel(QStringLiteral("递增宽度:")), 0, 0);
    spreadGrid->addWidget(edtIncreaseX, 0, 1);
    spreadGrid->addWidget(new QLabel(QStringLiteral("0.1mm")), 0, 2);
    spreadGrid->addWidget(spreadX, 0, 3);
    spreadGrid->addWidget(new QLabel(QStringLiteral("递增高度:")), 1, 0);
    spreadGrid->addWidget(edtIncreaseY, 1, 1);
    spreadGrid->addWidget(new QLabel(QStringLiteral("0.1mm")), 1, 2);
    spreadGrid->addWidget(spreadY, 1, 3);
    PageControlUpdate->addTab(spreadTab, QStringLiteral("批量纵向分布"));
    return PageControlUpdate;
}

QWidget *TfmTemplateDesigner::buildLists()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel7"));
    panel->setFixedWidth(170);
    lstSelectedNames = new QListWidget(panel);
    lstSelectedNames->setObjectName(QStringLiteral("lstSelectedNames"));
    lstAllCtlNames = new QListWidget(panel);
    lstAllCtlNames->setObjectName(QStringLiteral("lstAllCtlNames"));
    for (QListWidget *list : {lstSelectedNames, lstAllCtlNames}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->viewport()->installEventFilter(this);
    }
    connect(lstSelectedNames, &QListWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu;
        menu.addAction(QStringLiteral("清空选择"), this, &TfmTemplateDesigner::clearSelection);
        menu.exec(lstSelectedNames->viewport()->mapToGlobal(at));
    });
    connect(lstAllCtlNames, &QListWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu;
        menu.addAction(QStringLiteral("全选"), this, &TfmTemplateDesigner::selectAll);
        menu.addAction(QStringLiteral("反选"), this, &TfmTemplateDesigner::invertSelection);
        menu.exec(lstAllCtlNames->viewport()->mapToGlobal(at));
    });
    connect(lstAllCtlNames, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { listClicked(item->text(), false); });
    connect(lstAllCtlNames, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { listClicked(item->text(), true); });
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("选中的:"), panel));
    layout->addWidget(lstSelectedNames, 1);
    layout->addWidget(new QLabel(QStringLiteral("可用的:"), panel));
    layout->addWidget(lstAllCtlNames, 3);
    return panel;
}

// ---- Loading and painting

void TfmTemplateDesigner::setCheckTypeID(int id)
{
    m_checkTypeId = id;
    m_kind = m_services.catalogue().loadCheckTypeFirstNameByID(QString::number(id)).trimmed();
    m_store = std::make_unique<DesignerStore>(m_services.database(), id, m_kind);
    m_undo->clear(); // steps of another template do not apply to this one
    status(0, m_kind);
    m_statusPanels[1]->setText(u"CheckTypeId=" + QString::number(id));
}

bool TfmTemplateDesigner::loadDesigner()
{
    if (m_kind.isEmpty()) {
        m_services.ui().alert(QStringLiteral("没有找到对应的单据信息~"), QStringLiteral("提示"));
        return false;
    }
    LbTitle->setText(
        u"【" + m_services.catalogue().loadCheckTypeFullNameByID(QString::number(m_checkTypeId)) +
        u"】打印设置");
    loadPaper();
    paintAllItems();
    QString error;
    if (const auto names = m_store->loadAvailableNames(&error)) {
        lstAllCtlNames->clear();
        lstAllCtlNames->addItems(*names);
    } else {
        m_services.ui().error(error);
    }
    fillGroups();
    return true;
}

void TfmTemplateDesigner::loadPaper()
{
    const auto t = m_services.catalogue().loadTemplate(m_checkTypeId);
    if (!t) {
        status(3, QStringLiteral("分组获取失败"));
        return;
    }
    m_paperWidth = t->pWidth < 1 ? 2300 : t->pWidth;
    m_paperHeight = t->pHeight < 1 ? 1270 : t->pHeight;
    m_filling = true;
    edtCtlY->setMaximum(std::max(0, m_paperHeight - 5));
    m_filling = false;
    edtPWidth->setText(QString::number(m_paperWidth / 100.0, 'f', 2));
    edtPHeight->setText(QString::number(m_paperHeight / 100.0, 'f', 2));
    status(0, m_kind + u'[' + QString::number(m_paperWidth / 10.0) + u',' +
                  QString::number(m_paperHeight / 10.0) + u']');
    QSqlQuery q = m_services.database().query();
    q.prepare(QStringLiteral("select PreImgURL from ckTypeTable where CheckTypeID = ?"));
    q.addBindValue(m_checkTypeId);
    if (q.exec() && q.next())
        edtPreImage->setText(q.value(0).toString());
    // The scanned form behind the pieces helps place them on the printed boxes.
    m_picture = QPixmap(m_services.home().imageDir() + t->pictureFile());
    recomputeScale();
}

void TfmTemplateDesigner::recomputeScale()
{
    const double widthMm = m_paperWidth / 10.0;
    const double heightMm = m_paperHeight / 10.0;
    const double pxPerMm = m_ppi / 25.4 * m_zoom / 100.0;
    const QSize view(std::max(1, int(std::lround(widthMm * pxPerMm))),
                     std::max(1, int(std::lround(heightMm * pxPerMm))));
    m_scene->setPicture(m_picture, view);
    m_scale.mmPerPixel = widthMm / view.width();
    edtMMDivPixValueX->setText(QString::number(m_scale.mmPerPixel, 'f', 4));
    edtMMDivPixValueY->setText(QString::number(heightMm / view.height(), 'f', 4));
}

void TfmTemplateDesigner::paintAllItems()
{
    recomputeScale();
    for (const QList<LayoutItem *> &group : std::as_const(m_pieces))
        removePieces(group);
    m_pieces.clear();
    if (m_checkTypeId <= 0) {
        setWindowTitle(QStringLiteral("未知的单据"));
        return;
    }
    QString error;
    const auto items = m_store->loadItems(&error);
    if (!items) {
        m_services.ui().error(error);
        return;
    }
    m_filling = true;
    for (const DesignerItem &item : *items) {
        if (item.needPrint)
            addPieces(item, m_selected.contains(item.ctlName));
        if (item.ctlW == 0 || item.ctlH == 0)
            fillMissingArea(item);
    }
    m_filling = false;
}

void TfmTemplateDesigner::fillMissingArea(const DesignerItem &item)
{
    // The print area starts as the on-screen box; measured once, it is the user's to change.
    const QSize area = DesignerPieces::areaOf(item, m_scale);
    for (const auto &[column, pixels] : {std::pair{QStringLiteral("CtlW"), area.width()},
                                         std::pair{QStringLiteral("CtlH"), area.height()}}) {
        const StoreOutcome out = m_store->storeColumn(item.ctlName, column, m_scale.tenths(pixels));
        if (!out.ok())
            status(3, out.message);
    }
}

void TfmTemplateDesigner::repaintItem(const QString &name, bool selected)
{
    removePieces(m_pieces.take(name));
    QString error;
    const auto items = m_store->loadItems(&error, name);
    if (!items) {
        m_services.ui().error(error);
        return;
    }
    for (const DesignerItem &item : *items) {
        if (item.needPrint)
            addPieces(item, selected);
    }
}

void TfmTemplateDesigner::removePieces(const QList<LayoutItem *> &group)
{
    for (LayoutItem *piece : group)
        m_scene->removeBox(piece);
}

void TfmTemplateDesigner::addPieces(const DesignerItem &item, bool selected)
{
    QFont font(installedFontFamily(item.print.face));
    font.setBold(item.print.bold);
    font.setItalic(item.print.italic);
    font.setUnderline(item.print.underline);
    QList<LayoutItem *> &group = m_pieces[item.ctlName];
    for (const DesignerPieces::Piece &p : DesignerPieces::piecesOf(item, m_scale)) {
        auto *piece = new LayoutItem(LayoutItem::Kind::Piece, p.name, p.text);
        piece->setGroup(p.group);
        piece->setToolTip(item.label + u'=' + item.ctlName);
        QFont f = font;
        f.setPointSizeF(std::max(1, p.pointSize) * m_zoom / 100.0);
        piece->setFont(f);
        piece->setGeometry(p.rect);
        m_scene->addBox(piece);
        group << piece;
    }
    styleGroup(item.ctlName, selected);
}

void TfmTemplateDesigner::styleGroup(const QString &name, bool selected)
{
    for (LayoutItem *piece : m_pieces.value(name)) {
        piece->setSelected(selected);
        piece->setTransparent(ckTransportColor->isChecked());
    }
}

void TfmTemplateDesigner::styleAll()
{
    for (auto it = m_pieces.cbegin(); it != m_pieces.cend(); ++it)
        styleGroup(it.key(), m_selected.contains(it.key()));
}

QList<LayoutItem *> TfmTemplateDesigner::pieces(const QString &ctlName) const
{
    if (!ctlName.isEmpty())
        return m_pieces.value(ctlName.toUpper());
    QList<LayoutItem *> all;
    for (const QList<LayoutItem *> &group : m_pieces)
        all << group;
    return all;
}

QSize TfmTemplateDesigner::pageSize() const
{
    return m_scene->sceneRect().size().toSize();
}

// ---- Selection

void TfmTemplateDesigner::setMultiMode(bool multi)
{
    m_multi = multi;
    m_multiple->setChecked(multi);
    m_single->setChecked(!multi);
    cbSelGroup->setEnabled(multi);
    if (!multi) {
        m_selected.clear();
        cbSelGroup->setCurrentText(kGroupHint);
    }
    selectionChanged();
    styleAll();
}

void TfmTemplateDesigner::clearSelection()
{
    m_selected.clear();
    selectionChanged();
    styleAll();
}

void TfmTemplateDesigner::addToSelection(const QString &name)
{
    if (!m_multi)
        m_selected.clear();
    if (!m_selected.contains(name))
        m_selected << name;
    selectionChanged();
}

void TfmTemplateDesigner::removeFromSelection(const QString &name)
{
    m_selected.removeAll(name);
    selectionChanged();
}

void TfmTemplateDesigner::selectionChanged()
{
    lstSelectedNames->clear();
    for (const QString &name : std::as_const(m_selected)) {
        const QString label = m_store ? m_store->labelOf(name) : QString();
        lstSelectedNames->addItem((label.isEmpty() ? QStringLiteral("错误") : label) + u'=' + name);
    }
    const bool several = m_selected.size() >= 2;
    PanelProperty->setVisible(!several);
    PageControlUpdate->setVisible(several);
    // Fields always show the one selected item, so a save never writes another item's values.
    if (m_selected.size() == 1)
        loadPanel(m_selected.front());
    m_statusPanels[2]->setText(u"CtlName=" + m_selected.join(u','));
}

void TfmTemplateDesigner::selectAll()
{
    setMultiMode(true);
    for (int i = 0; i < lstAllCtlNames->count(); ++i) {
        const QString name = nameOfEntry(lstAllCtlNames->item(i)->text());
        if (!m_selected.contains(name))
            m_selected << name;
    }
    selectionChanged();
    styleAll();
}

void TfmTemplateDesigner::invertSelection()
{
    QStringList inverted;
    for (int i = 0; i < lstAllCtlNames->count(); ++i) {
        const QString name = nameOfEntry(lstAllCtlNames->item(i)->text());
        if (!m_selected.contains(name))
            inverted << name;
    }
    if (inverted.size() > 1)
        setMultiMode(true);
    m_selected = inverted;
    selectionChanged();
    styleAll();
}

void TfmTemplateDesigner::fillGroups()
{
    if (cbSelGroup->count() > 1)
        return;
    QString error;
    const auto groups = m_store ? m_store->loadGroups(&error) : std::nullopt;
    if (!groups) {
        if (!error.isEmpty())
            status(3, u"分组获取失败" + error);
        return;
    }
    cbSelGroup->clear();
    cbSelGroup->addItems(*groups);
    cbSelGroup->addItem(kGroupHint);
    cbSelGroup->setCurrentText(kGroupHint);
}

void TfmTemplateDesigner::selectGroup(const QString &group)
{
    if (group.trimmed().isEmpty() || group == kGroupHint || !m_store)
        return;
    QString error;
    const auto names = m_store->loadGroupItems(group.trimmed(), &error);
    if (!names) {
        status(3, u"分组获取失败" + error);
        return;
    }
    if (!m_multi)
        setMultiMode(true);
    if (names->isEmpty())
        return;
    m_selected = *names;
    selectionChanged();
    styleAll();
}

void TfmTemplateDesigner::pressPiece(LayoutItem *piece, Qt::KeyboardModifiers modifiers)
{
    const QString name = piece->group();
    // Ctrl or Shift picks several, as the multiple choice does.
    if (!m_multi && (modifiers & (Qt::ControlModifier | Qt::ShiftModifier)))
        setMultiMode(true);
    m_pickOff.clear();
    if (m_multi && m_selected.contains(name)) {
        m_pickOff = name;
        return;
    }
    if (!m_multi) {
        m_selected.clear();
        styleAll();
    }
    addToSelection(name);
    styleGroup(name, true);
}

void TfmTemplateDesigner::clickPiece(LayoutItem *piece)
{
    if (m_pickOff.isEmpty() || piece->group() != m_pickOff)
        return;
    m_pickOff.clear();
    removeFromSelection(piece->group());
    styleGroup(piece->group(), false);
}

void TfmTemplateDesigner::doubleClickPiece(LayoutItem *piece)
{
    const QString name = piece->group();
    if (m_multi)
        m_selected.clear();
    if (!m_selected.contains(name))
        m_selected << name;
    selectionChanged();
    styleAll();
}

void TfmTemplateDesigner::takeRubberBandSelection()
{
    QStringList names;
    for (LayoutItem *piece : m_scene->selectedBoxes())
        if (!names.contains(piece->group()))
            names << piece->group();
    // A band over nothing, or a click on the bare page, keeps what was selected.
    if (!names.isEmpty()) {
        if (names.size() > 1 && !m_multi)
            setMultiMode(true);
        QStringList kept;
        for (const QString &name : std::as_const(m_selected))
            if (names.contains(name))
                kept << name;
        for (const QString &name : std::as_const(names))
            if (!kept.contains(name))
                kept << name;
        m_selected = kept;
        selectionChanged();
    }
    styleAll();
}

void TfmTemplateDesigner::listClicked(const QString &entry, bool doubleClick)
{
    const QString name = nameOfEntry(entry);
    if (!doubleClick) {
        if (m_selected.isEmpty()) {
            addToSelection(name);
            styleGroup(name, true);
        }
        return;
    }
    addToSelection(name);
    styleAll();
}

// ---- Dragging

void TfmTemplateDesigner::dragPieces(LayoutItem *grabbed)
{
    if (m_selected.size() != 1)
        return;
    const QPoint origin = m_pieces.value(grabbed->group()).front()->geometry().topLeft();
    m_filling = true;
    edtCtlX->setValue(m_scale.tenths(origin.x()));
    edtCtlY->setValue(m_scale.tenths(origin.y()));
    m_filling = false;
}

void TfmTemplateDesigner::dropDragged()
{
    status(3, QStringLiteral("End Control Drag!"));
    if (m_selected.size() == 1) {
        saveItemArea();
        return;
    }
    // Several items dragged together: each keeps where its first piece was dropped.
    QList<std::pair<QString, QPoint>> places;
    for (const QString &name : std::as_const(m_selected)) {
        if (const QList<LayoutItem *> group = m_pieces.value(name); !group.isEmpty()) {
            const QPoint at = group.front()->geometry().topLeft();
            places.append({name, QPoint(m_scale.tenths(at.x()), m_scale.tenths(at.y()))});
        }
    }
    reportBatch(recorded(QStringLiteral("拖动"), DesignerEditCommand::Alone,
                         [&] { return m_store->storePositions(places); }),
                QStringLiteral("个项目拖动成功！"));
}

// ---- Editing

void TfmTemplateDesigner::loadPanel(const QString &name)
{
    QString error;
    const auto items = m_store->loadItems(&error, name);
    if (!items || items->empty()) {
        if (!items)
            m_services.ui().error(error);
        return;
    }
    const DesignerItem &item = items->front();
    const PrintItem &p = item.print;
    m_filling = true;
    edtCtlX->setValue(p.x);
    edtCtlY->setValue(p.y);
    edtCtlW->setValue(item.ctlW > 0 ? item.ctlW : m_scale.tenths(item.srcW));
    edtCtlH->setValue(item.ctlH > 0 ? item.ctlH : m_scale.tenths(item.srcH));
    edtFontSize->setValue(p.fontSize);
    cbFontName->setCurrentText(p.face);
    ckBold->setChecked(p.bold);
    ckItalic->setChecked(p.italic);
    ckUnderLine->setChecked(p.underline);
    const bool breaking = !p.breakNumText.trimmed().isEmpty();
    ckMutiLineOn->setChecked(breaking);
    edtBreakNum->setValue(breaking ? p.breakNumText.trimmed().toInt() : 50);
    edtFontSizeBreak->setValue(breaking ? p.breakFontSize : p.fontSize);
    edtLineH->setValue(p.lineHeight);
    const bool cells = !p.fitParam.trimmed().isEmpty();
    ckWidthAveOn->setChecked(cells);
    edtAveWidth->setValue(cells ? p.fitParam.trimmed().toInt() : edtAveWidth->minimum());
    cbTestData->setCurrentText(item.sample);
    edtDefaultValue->setText(item.initValue);
    edtDefaultValue->setModified(false);
    toggleBreaking(breaking, false);
    toggleCells(cells, false);
    m_filling = false;
}

bool TfmTemplateDesigner::storeAllowed() const
{
    return !m_filling && m_selected.size() <= 1 && m_store;
}

void TfmTemplateDesigner::storeField(const QString &column, const QVariant &value, bool repaint)
{
    if (storeAllowed())
        storeFields({{column, value}}, repaint);
}

void TfmTemplateDesigner::storeFields(const DesignerStore::ColumnValues &values, bool repaint)
{
    if (m_selected.isEmpty())
        return;
    const QString name = m_selected.front();
    const StoreOutcome out = recorded(QStringLiteral("修改"), DesignerEditCommand::Alone,
                                      [&] { return m_store->storeColumns(name, values); });
    if (!out.ok()) {
        storeFailed(out.message);
        return;
    }
    if (!out.message.isEmpty())
        status(3, out.message);
    if (repaint)
        repaintItem(name, true);
}

void TfmTemplateDesigner::storeFailed(const QString &message)
{
    m_services.ui().error(message);
    // The fields and the page go back to what is stored.
    for (const QString &name : std::as_const(m_selected))
        repaintItem(name, true);
    if (m_selected.size() == 1)
        loadPanel(m_selected.front());
}

StoreOutcome TfmTemplateDesigner::recorded(const QString &what, int merge,
                                           const std::function<StoreOutcome()> &edit)
{
    const QStringList names = m_selected;
    QString error;
    const auto before = m_store->snapshot(names, &error);
    const StoreOutcome out = edit();
    const auto after = before ? m_store->snapshot(names, &error) : std::nullopt;
    if (before && after && *before != *after)
        m_undo->push(new DesignerEditCommand(
            what, names, *before, *after, DesignerEditCommand::Merge(merge),
            [this](const DesignerStore::Snapshot &shot) { applySnapshot(shot); }));
    return out;
}

void TfmTemplateDesigner::applySnapshot(const DesignerStore::Snapshot &snapshot)
{
    const StoreOutcome out = m_store->restore(snapshot);
    if (!out.ok())
        m_services.ui().error(out.message);
    // The step's items are selected again, as they were when it was made.
    QStringList names;
    for (const auto &item : snapshot)
        names << item.first;
    if (names.size() > 1 && !m_multi)
        setMultiMode(true);
    m_selected = names;
    selectionChanged();
    for (const QString &name : std::as_const(names))
        repaintItem(name, true);
    styleAll();
}

void TfmTemplateDesigner::nudge(int dx, int dy)
{
    // The arrow keys do what the move buttons do, by the same step.
    if (dx != 0)
        moveSelection(QStringLiteral("CtlX"), dx);
    if (dy != 0)
        moveSelection(QStringLiteral("CtlY"), dy);
}

void TfmTemplateDesigner::moveSelection(const QString &column, int sign)
{
    if (m_selected.isEmpty())
        return;
    const StoreOutcome out = recorded(QStringLiteral("移动"), DesignerEditCommand::Nudge, [&] {
        return m_store->moveItems(m_selected, column, sign * m_step);
    });
    if (!out.ok())
        m_services.ui().error(out.message);
    for (const QString &name : std::as_const(m_selected))
        repaintItem(name, true);
    if (m_selected.size() == 1)
        loadPanel(m_selected.front());
}

void TfmTemplateDesigner::saveItemArea()
{
    if (m_selected.size() >= 2) {
        status(3, QStringLiteral("单选一个项目才可以保存！"));
        return;
    }
    if (m_selected.isEmpty() || !m_store)
        return;
    storeFields({{QStringLiteral("CtlY"), edtCtlY->value()},
                 {QStringLiteral("CtlX"), edtCtlX->value()},
                 {QStringLiteral("CtlW"), edtCtlW->value()},
                 {QStringLiteral("CtlH"), edtCtlH->value()}});
}

void TfmTemplateDesigner::toggleBreaking(bool on, bool store)
{
    ckMutiLineOn->setText(on ? QStringLiteral("需换行,超过     汉字换行打印.")
                             : QStringLiteral("无需换行打印."));
    m_breakFields->setVisible(on);
    if (!store || !storeAllowed())
        return;
    if (on) {
        storeFields({{QStringLiteral("BreakNum"), QString::number(edtBreakNum->value())},
                     {QStringLiteral("BreakFontSize"), edtFontSizeBreak->value()},
                     {QStringLiteral("CtlLH"), edtLineH->value()}});
    } else {
        storeField(QStringLiteral("BreakNum"), QStringLiteral(""));
    }
}

void TfmTemplateDesigner::toggleCells(bool on, bool store)
{
    ckWidthAveOn->setText(on ? QStringLiteral("需等宽打印,") : QStringLiteral("无需等宽打印."));
    m_cellFields->setVisible(on);
    if (!store || !storeAllowed())
        return;
    storeField(QStringLiteral("FitParam"),
               on ? QString::number(edtAveWidth->value()) : QStringLiteral(""));
    if (on)
        m_services.ui().alert(
            QStringLiteral("等宽打印勾选后，需要修改字宽后才生效（大于25=2.5mm）！"),
            QStringLiteral("提示"));
}

void TfmTemplateDesigner::reportBatch(const StoreOutcome &out, const QString &text)
{
    if (out.result == StoreOutcome::Result::Refused)
        status(3, out.message);
    else if (!out.ok())
        m_services.ui().error(out.message);
    else
        status(3, out.changed > 0 ? QString::number(out.changed) + text
                                  : QStringLiteral("影响了0个项目！"));
    if (!out.skipped.isEmpty())
        m_services.ui().alert(out.skipped.join(u'\n'), QStringLiteral("提示"));
    for (const QString &name : std::as_const(m_selected))
        repaintItem(name, true);
}

void TfmTemplateDesigner::alignOrSize(const QString &column, bool largest, int fallback,
                                      const QString &text)
{
    QString error;
    const std::optional<int> found = m_store->extreme(m_selected, column, largest, &error);
    if (!found) {
        m_services.ui().error(error);
        return;
    }
    int value = *found;
    if (fallback > 0 && value <= 0)
        value = fallback;
    reportBatch(recorded(text, DesignerEditCommand::Alone,
                         [&] { return m_store->setAll(m_selected, column, value); }),
                text);
}

void TfmTemplateDesigner::stepSize(const QString &column, int sign, const QString &text)
{
    reportBatch(recorded(text, DesignerEditCommand::Alone,
                         [&] { return m_store->stepAll(m_selected, column, sign * m_step); }),
                text);
}

void TfmTemplateDesigner::updateTestData()
{
    if (m_selected.isEmpty())
        return;
    const QString name = m_selected.front();
    const StoreOutcome out = m_store->updateSample(name, cbTestData->currentText());
    if (out.result == StoreOutcome::Result::Stored) {
        m_services.ui().alert(out.message, QStringLiteral("提示"));
        repaintItem(name, true);
    } else if (out.result == StoreOutcome::Result::Refused) {
        status(3, out.message);
    } else {
        m_services.ui().error(out.message);
    }
}

void TfmTemplateDesigner::savePaperSize()
{
    if (!m_store)
        return;
    const StoreOutcome out = m_store->savePaperSize(edtPWidth->text(), edtPHeight->text());
    if (out.result != StoreOutcome::Result::Stored) {
        m_services.ui().alert(out.message, QStringLiteral("提示"));
        return;
    }
    m_services.ui().alert(out.message, QStringLiteral("提示"));
    loadPaper();
    paintAllItems();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *offset = qobject_cast<TfrmPrintOffset *>(w); offset && offset->isVisible())
            offset->loadParameters();
    }
}

void TfmTemplateDesigner::setStep(int tenths)
{
    m_step = std::clamp(tenths, 1, 100);
    if (StepLenth->value() != m_step)
        StepLenth->setValue(m_step);
    lbStepWidth->setText(QString::number(m_step * 0.1, 'g', 3) + u"mm");
    for (QSpinBox *box : {edtCtlX, edtCtlY, edtCtlH, edtCtlW})
        if (box)
            box->setSingleStep(m_step);
}

void TfmTemplateDesigner::setZoom(const QString &text)
{
    bool ok = false;
    const int zoom = text.trimmed().toInt(&ok);
    const int wanted = ok && zoom >= 10 && zoom <= 400 ? zoom : 100;
    if (!ok || zoom != wanted)
        cbZoom->setCurrentText(QString::number(wanted));
    if (wanted == m_view->zoom().percent())
        paintAllItems();
    else
        m_view->zoom().setPercent(wanted); // repaints through applyZoom
}

void TfmTemplateDesigner::applyZoom()
{
    // The page is laid out again at the new size: pieces and fonts as they print, scaled.
    m_zoom = m_view->zoom().percent();
    cbZoom->setCurrentText(QString::number(m_zoom));
    paintAllItems();
}

void TfmTemplateDesigner::toggleFullView()
{
    const bool full = btMaxVeiw->text() == u"满屏";
    for (QWidget *band : {static_cast<QWidget *>(LbTitle), panelCheckProperty, PanelMiddle})
        band->setVisible(!full);
    // The button sits in the template band; in full view it stays reachable on the page's edge.
    btMaxVeiw->setParent(full ? static_cast<QWidget *>(this) : panelCheckProperty);
    if (full) {
        btMaxVeiw->move(width() - btMaxVeiw->sizeHint().width() - 8, 4);
        btMaxVeiw->show();
        btMaxVeiw->raise();
        showMaximized();
    } else {
        m_scaleRow->addWidget(btMaxVeiw);
        showNormal();
    }
    btMaxVeiw->setText(full ? QStringLiteral("返回") : QStringLiteral("满屏"));
}

void TfmTemplateDesigner::status(int panel, const QString &text)
{
    m_statusPanels[panel]->setText(text);
}

bool TfmTemplateDesigner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cbSelGroup && event->type() == QEvent::FocusIn)
        fillGroups();
    if (event->type() == QEvent::KeyPress && watched == cbSelGroup) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            selectGroup(cbSelGroup->currentText());
            return true;
        }
    }
    if (event->type() == QEvent::Wheel) {
        for (QListWidget *list : {lstSelectedNames, lstAllCtlNames}) {
            if (watched == list->viewport() && list->hasFocus() && list->count() > 0) {
                const int step = static_cast<QWheelEvent *>(event)->angleDelta().y() < 0 ? 1 : -1;
                list->setCurrentRow(std::clamp(list->currentRow() + step, 0, list->count() - 1));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
