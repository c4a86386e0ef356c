#include "templates/ui/TfmCheckDesign.h"

#include "base/FontMap.h"
#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "print/ui/TfrmImageShow.h"
#include "print/ui/TfrmPrintOffset.h"
#include "services/AppServices.h"
#include "templates/ui/ItemDesignCommand.h"
#include "templates/ui/LayoutItem.h"
#include "templates/ui/LayoutScene.h"
#include "templates/ui/LayoutView.h"
#include "templates/ui/TfmTemplateDesigner.h"
#include "templates/ui/UndoKeys.h"
#include "templates/ui/ZoomHelper.h"
#include "users/Users.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kChooseItem = QStringLiteral("请选择左侧需要配置或修改的项目！");
const QColor kPrintPanel(192, 192, 192);
constexpr int kEdge = 10;           // boxes keep this far inside the picture
constexpr int kPrintLimit = 3500;   // 0.1 mm; the arrows stop beyond it
constexpr int kPrivilegeClicks = 7; // status-bar clicks that open the maintenance panel

void keepRoomWhenHidden(QWidget *w)
{
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

QString rgb(const QColor &c)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

// An item's stored row as the panels show it.
ItemDesign designOf(const TemplateItem &row)
{
    ItemDesign v;
    v.ctlX = row.ctlX;
    v.ctlY = row.ctlY;
    v.srcX = row.srcX;
    v.srcY = row.srcY;
    v.srcW = row.srcW;
    v.srcH = row.srcH;
    v.initValue = row.initValue;
    v.fontSize = row.ctlFontSize;
    v.fontName = row.ctlFontName;
    v.hidden = !row.needShow;
    v.bold = row.bold;
    v.italic = row.italic;
    v.underline = row.underLine;
    v.breakFontSize = row.breakFontSize < 6 ? 10 : row.breakFontSize;
    v.ctlLH = row.ctlLH > 0 ? row.ctlLH : 50;
    v.wordBreak = !row.breakNum.trimmed().isEmpty();
    v.wrapNum = v.wordBreak ? row.breakNum.trimmed().toInt() : 60;
    v.fitPrint = !row.fitParam.trimmed().isEmpty();
    v.fitParam = v.fitPrint ? row.fitParam.trimmed().toInt() : 20;
    return v;
}

LayoutItem::Kind kindOf(const QString &type)
{
    return type == u"TEXT"    ? LayoutItem::Kind::Text
           : type == u"SHAPE" ? LayoutItem::Kind::Frame
                              : LayoutItem::Kind::Tick;
}

} // namespace

TfmCheckDesign::TfmCheckDesign(AppServices &services, int checkTypeId, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_store(services.database())
    , m_checkTypeId(checkTypeId)
{
    setObjectName(QStringLiteral("TfmCheckDesign"));
    setWindowTitle(QStringLiteral("模板设计"));
    buildTopBand();

    listCtlLabel = new QListWidget(this);
    listCtlLabel->setObjectName(QStringLiteral("listCtlLabel"));
    listCtlLabel->setFixedWidth(120);
    listCtlLabel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(listCtlLabel, &QListWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu;
        const auto checkAll = [this](bool invert) {
            for (int i = 0; i < listCtlLabel->count(); ++i) {
                QListWidgetItem *item = listCtlLabel->item(i);
                const bool on = invert ? item->checkState() != Qt::Checked : true;
                item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            }
        };
        menu.addAction(QStringLiteral("全选"), this, [checkAll] { checkAll(false); })
            ->setObjectName(QStringLiteral("nSelectAll"));
        menu.addAction(QStringLiteral("反选"), this, [checkAll] { checkAll(true); })
            ->setObjectName(QStringLiteral("nSelectFan"));
        menu.addAction(QStringLiteral("勾选项目定义"), this, &TfmCheckDesign::editCheckBoxTitles)
            ->setObjectName(QStringLiteral("nCheckBoxSet"));
        menu.exec(listCtlLabel->viewport()->mapToGlobal(at));
    });
    connect(listCtlLabel, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (LayoutItem *b = box(item->data(Qt::UserRole).toString()))
            selectBox(b);
        else
            m_services.ui().alert(QStringLiteral("找不到对应的项目定义~~"), kPrompt);
    });

    m_tabs = new QTabWidget(this);
    auto *face = new QWidget;
    face->setObjectName(QStringLiteral("TabCtlFace"));
    auto *faceLayout = new QHBoxLayout(face);
    faceLayout->setContentsMargins(2, 2, 2, 2);
    faceLayout->addWidget(buildFacePanel());
    faceLayout->addWidget(buildPrintPanel(), 1);
    m_tabs->addTab(face, QStringLiteral("录单项目界面显示配置"));
    auto *move = new QWidget;
    move->setObjectName(QStringLiteral("tabMoveXY"));
    m_tabs->addTab(move, QStringLiteral("整体打印偏移"));
    m_tabs->addTab(buildMaintenance(), QStringLiteral("岚砚通道"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this, move](int) {
        if (m_tabs->currentWidget() == move)
            QTimer::singleShot(0, this, &TfmCheckDesign::openWholeSlipOffset);
    });

    m_undo = new QUndoStack(this);
    connect(m_undo, &QUndoStack::indexChanged, this, [this] {
        if (std::exchange(m_cleanPending, false))
            m_undo->setClean();
    });
    new UndoKeys(this, m_undo);
    m_scene = new LayoutScene(this);
    m_scene->setPageColour(QColor(254, 222, 249));
    m_view = new LayoutView(m_scene, this);
    m_view->setObjectName(QStringLiteral("panelImgBg"));
    connect(&m_view->zoom(), &ZoomHelper::scaleChanged, m_view,
            [this](qreal scale) { m_view->setTransform(QTransform::fromScale(scale, scale)); });
    connect(m_scene, &LayoutScene::boxPressed, this, &TfmCheckDesign::pressBox);
    connect(m_scene, &LayoutScene::boxesDragged, this, &TfmCheckDesign::dragBoxes);
    connect(m_scene, &LayoutScene::boxesDropped, this, &TfmCheckDesign::dropBoxes);
    connect(m_scene, &LayoutScene::boxResized, this, &TfmCheckDesign::sizeBoxByHandle);
    connect(m_scene, &LayoutScene::boxReleased, this, [this](LayoutItem *box) {
        m_services.debug().DebugOutN(QStringLiteral("ControlMouseUp"), box->objectName());
        box->unsetCursor();
    });
    connect(m_scene, &LayoutScene::pictureHovered, this, [this](QPointF at) {
        m_statusPanels[0]->setText(u'(' + QString::number(int(at.x()) + 2) + u',' +
                                   QString::number(int(at.y())) + u')');
    });
    connect(m_scene, &LayoutScene::picturePressed, this, [this] {
        if (m_selected)
            save(false, true);
    });

    auto *right = new QVBoxLayout;
    right->addWidget(m_tabs);
    right->addWidget(m_view, 1);
    auto *body = new QHBoxLayout;
    body->addWidget(listCtlLabel);
    body->addLayout(right, 1);

    auto *bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    for (int width : {120, 150}) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(u"statusPanel" + QString::number(m_statusPanels.size()));
        panel->setMinimumWidth(width);
        panel->installEventFilter(this);
        m_statusPanels << panel;
        bar->addWidget(panel);
    }
    bar->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(findChild<QWidget *>(QStringLiteral("panelTop")));
    layout->addLayout(body, 1);
    layout->addWidget(bar);

    Timer1 = new QTimer(this);
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (lbMessage->text().isEmpty())
            lbMessage->hide();
        m_blink = (m_blink + 1) % 10000;
        lbMessage->setStyleSheet(
            QStringLiteral("background: %1;").arg(m_blink % 2 ? rgb(kPrintPanel) : "yellow"));
    });
    Timer1->start();
}

TfmCheckDesign::~TfmCheckDesign()
{
    qApp->removeEventFilter(this);
    // The fields are destroyed after this window's members: the one with the focus must not
    // save into them when it loses it.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
}

void TfmCheckDesign::buildTopBand()
{
    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("panelTop"));
    top->setAutoFillBackground(true);
    QPalette grey = top->palette();
    grey.setColor(QPalette::Window, QColor(220, 223, 226));
    top->setPalette(grey);
    cbCheckTypeNameList = new QComboBox(top);
    cbCheckTypeNameList->setObjectName(QStringLiteral("cbCheckTypeNameList"));
    cbCheckTypeNameList->setMaxVisibleItems(25);
    cbTypeLastName = new QComboBox(top);
    cbTypeLastName->setObjectName(QStringLiteral("cbTypeLastName"));
    cbTypeLastName->setEditable(true);
    cbTypeLastName->lineEdit()->setMaxLength(50);
    cbTypeLastName->setMaxVisibleItems(30);
    cbTypeLastName->setMinimumWidth(200);
    cbTypeLastName->setToolTip(
        QStringLiteral("快递单类型-您可以在系统管理-快递单筛选中修改默快递单"));
    cbTypeLastName->installEventFilter(this);
    auto *refresh = namedButton(top, "btRefreshCheck", QStringLiteral("刷 新(&R)"));
    connect(cbCheckTypeNameList, &QComboBox::textActivated, this, &TfmCheckDesign::switchKind);
    connect(cbTypeLastName, &QComboBox::textActivated, this, [this](const QString &describe) {
        if (m_loading)
            return;
        switchTemplate(m_services.catalogue().loadCheckTypeIDByFirstAndLastName(m_kind, describe));
        setWindowTitle(u"票据设计调整（" + m_kind + u'-' + describe + u"）,ID=" +
                       QString::number(m_checkTypeId));
    });
    connect(refresh, &QPushButton::clicked, this, [this] { loadLayout(true); });
    auto *row = new QHBoxLayout(top);
    row->addWidget(new QLabel(QStringLiteral("1、选中票据种类："), top));
    row->addWidget(cbCheckTypeNameList);
    row->addWidget(new QLabel(QStringLiteral("2、选中票据模板："), top));
    row->addWidget(cbTypeLastName);
    row->addWidget(refresh);
    row->addStretch();
}

QSpinBox *TfmCheckDesign::spin(const char *name, int min, int max, int value)
{
    auto *s = new QSpinBox(this);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(min, max);
    s->setValue(value);
    s->setKeyboardTracking(false);
    s->setToolTip(QStringLiteral("点击右侧三角形增加，你也可以直接输入~"));
    return s;
}

QWidget *TfmCheckDesign::buildFacePanel()
{
    auto *panel = new QWidget(this);
    ckHidden = new QCheckBox(QStringLiteral("不填写或不打印该项目"), panel);
    ckHidden->setObjectName(QStringLiteral("ckHidden"));
    ckHidden->setStyleSheet(QStringLiteral("background: yellow; font-weight: bold;"));
    connect(ckHidden, &QCheckBox::clicked, this, [this](bool hidden) {
        if (m_loading || !m_selected)
            return;
        m_selected->setVisible(!hidden);
        if (!hidden)
            m_selected->raise();
        recordChange(hidden ? QStringLiteral("隐藏") : QStringLiteral("显示"),
                     ItemDesignCommand::Alone);
    });
    edtDefaultVal = new QLineEdit(panel);
    edtDefaultVal->setObjectName(QStringLiteral("edtDefaultVal"));
    edtDefaultVal->setToolTip(QStringLiteral("默认值，勾中填写V"));
    connect(edtDefaultVal, &QLineEdit::editingFinished, this, &TfmCheckDesign::saveQuietly);
    lbFont = namedLabel(panel, "lbFont", QStringLiteral("打印预览字体,ABC,abc,123"));
    // High enough for the largest size: a new sample must not push the picture down.
    QFont largest = lbFont->font();
    largest.setPointSize(25);
    lbFont->setFixedHeight(QFontMetrics(largest).height() + 4);

    // The box on the bill form: screen pixels, never the printed place.
    auto *facePanel =
        new QGroupBox(QStringLiteral("坐标：填单界面的输入框（像素，不影响打印）"), panel);
    facePanel->setObjectName(QStringLiteral("PanelFace"));
    SrcH = spin("SrcH", 1, 1000);
    SrcW = spin("SrcW", 1, 3000);
    SrcX = spin("SrcX", 5, 3000);
    SrcY = spin("SrcY", 5, 3000);
    auto *grid = new QGridLayout(facePanel);
    int row = 0;
    for (auto [caption, box] : {std::pair{"输入框高:", SrcH}, std::pair{"输入框宽:", SrcW},
                                std::pair{"横向X:", SrcX}, std::pair{"纵向Y:", SrcY}}) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption)), row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("像素")), row++, 2);
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (m_filling)
                return;
            if (!m_selected) {
                showMessage(kChooseItem);
                return;
            }
            m_selected->setGeometry(
                QRect(SrcX->value(), SrcY->value(), SrcW->value(), SrcH->value()));
        });
        connect(box, &QSpinBox::editingFinished, this, &TfmCheckDesign::saveQuietly);
    }
    auto *tips = namedButton(facePanel, "btShowExpirence", QStringLiteral("【设置技巧】"));
    connect(tips, &QPushButton::clicked, this, &TfmCheckDesign::showTips);
    grid->addWidget(tips, row, 0, 1, 3);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ckHidden);
    layout->addWidget(new QLabel(QStringLiteral("默认值填写内容:"), panel));
    layout->addWidget(edtDefaultVal);
    layout->addWidget(lbFont);
    layout->addWidget(facePanel);
    layout->addStretch();
    return panel;
}

QWidget *TfmCheckDesign::buildPrintPanel()
{
    // The printed place and look: tenths of a millimetre on the paper.
    auto *panel =
        new QGroupBox(QStringLiteral("打印参数：打印到纸上的位置（0.1毫米，不影响输入框）"), this);
    panel->setObjectName(QStringLiteral("PanelPrint"));
    panel->setStyleSheet(
        QStringLiteral("QGroupBox#PanelPrint { background: %1; }").arg(rgb(kPrintPanel)));
    auto *grid = new QGridLayout(panel);
    grid->setVerticalSpacing(2);

    ctlX = spin("ctlX", 0, 5000);
    ctlY = spin("ctlY", 0, 5000);
    for (QSpinBox *s : {ctlX, ctlY}) {
        s->setToolTip({});
        connect(s, &QSpinBox::editingFinished, this, [this] {
            if (!needSelection(kChooseItem))
                saveQuietly();
        });
    }
    const auto link = [this, panel](const char *name, const char *caption) {
        auto *l = new ClickableLabel(QString::fromUtf8(caption), panel);
        l->setObjectName(QString::fromLatin1(name));
        l->setToolTip(QStringLiteral("点击查看测量示意图"));
        l->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
        connect(l, &ClickableLabel::clicked, this, &TfmCheckDesign::showMeasuringPicture);
        return l;
    };
    grid->addWidget(link("lbCtlX", "距左:"), 0, 0);
    grid->addWidget(ctlX, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("0.1毫米")), 0, 2);
    grid->addWidget(link("lbCtlY", "距顶:"), 1, 0);
    grid->addWidget(ctlY, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("0.1毫米")), 1, 2);

    const struct
    {
        const char *name;
        const char *caption;
        const char *hint;
        bool vertical;
        int delta;
        const char *direction;
        int row;
        int col;
    } arrows[] = {
        {"btPrtTop", "↑", "打印上移1毫米", true, -10, "上移了", 0, 4},
        {"btPrtLeft", "←", "打印左移1毫米", false, -10, "左移了", 1, 3},
        {"btPrtRight", "→", "打印右移1毫米", false, 10, "右移了", 1, 5},
        {"btPrtBottom", "↓", "打印下移1毫米", true, 10, "下移了", 2, 4},
    };
    for (const auto &a : arrows) {
        auto *b =
            namedButton(panel, a.name, QString::fromUtf8(a.caption), QString::fromUtf8(a.hint));
        b->setFixedWidth(30);
        QSpinBox *field = a.vertical ? ctlY : ctlX;
        const int delta = a.delta;
        const QString direction = QString::fromUtf8(a.direction);
        connect(b, &QPushButton::clicked, this,
                [=, this] { moveThePrint(field, delta, direction); });
        grid->addWidget(b, a.row, a.col);
    }
    grid->addWidget(link("lbAlert", "测量示意"), 2, 0);

    CtlFontName = new QComboBox(panel);
    CtlFontName->setObjectName(QStringLiteral("CtlFontName"));
    CtlFontName->setEditable(true);
    QStringList families = QFontDatabase::families();
    std::reverse(families.begin(), families.end());
    CtlFontName->addItem(QStringLiteral("宋体"));
    for (const QString &f : families)
        if (!f.startsWith(u'@'))
            CtlFontName->addItem(f);
    CtlFontSize = spin("CtlFontSize", 6, 25, 10);
    CtlFontSize->setToolTip({});
    connect(CtlFontName, &QComboBox::currentTextChanged, this, &TfmCheckDesign::updateFontSample);
    connect(CtlFontName, &QComboBox::textActivated, this, &TfmCheckDesign::saveQuietly);
    connect(CtlFontSize, &QSpinBox::valueChanged, this, [this] {
        if (!m_filling && !m_selected)
            showMessage(QStringLiteral("请先点击要设置字体的项目,不可见项目在左侧列表点击。"));
        updateFontSample();
    });
    connect(CtlFontSize, &QSpinBox::editingFinished, this, &TfmCheckDesign::saveQuietly);
    const auto style = [this, panel](const char *name, const char *caption, const char *hint) {
        auto *box = new QCheckBox(QString::fromUtf8(caption), panel);
        box->setObjectName(QString::fromLatin1(name));
        box->setToolTip(QString::fromUtf8(hint));
        connect(box, &QCheckBox::clicked, this, [this] {
            updateFontSample();
            if (!needSelection(kChooseItem))
                saveQuietly();
        });
        return box;
    };
    ckBold = style("ckBold", "加粗", "加粗打印");
    ckItalic = style("ckItalic", "倾斜", "加倾斜打印");
    ckUnderLine = style("ckUnderLine", "下划线", "加下划线打印");
    auto *fontRow = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{
             new QLabel(QStringLiteral("字体:")), CtlFontName, new QLabel(QStringLiteral("字号:")),
             CtlFontSize, ckBold, ckItalic, ckUnderLine})
        fontRow->addWidget(w);
    fontRow->addStretch();
    grid->addLayout(fontRow, 3, 0, 1, 7);

    ckWordBreak = new QCheckBox(panel);
    ckWordBreak->setObjectName(QStringLiteral("ckWordBreak"));
    WrapNum = spin("WrapNum", 1, 120, 20);
    ctlLH = spin("ctlLH", 20, 150, 50);
    CtlBreakFontSize = spin("CtlBreakFontSize", 6, 20, 10);
    m_breakFields = new QWidget(panel);
    auto *breakRow = new QHBoxLayout(m_breakFields);
    breakRow->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w :
         std::initializer_list<QWidget *>{WrapNum, new QLabel(QStringLiteral("行高")), ctlLH,
                                          new QLabel(QStringLiteral("折行字号")), CtlBreakFontSize})
        breakRow->addWidget(w);
    ckFitPrint = new QCheckBox(panel);
    ckFitPrint->setObjectName(QStringLiteral("ckFitPrint"));
    FitParam = spin("FitParam", 0, 1000, 35);
    // Showing these fields must not change the panel's height either.
    keepRoomWhenHidden(m_breakFields);
    keepRoomWhenHidden(FitParam);
    for (QCheckBox *option : {ckWordBreak, ckFitPrint})
        connect(option, &QCheckBox::clicked, this, [this] {
            updateBreakCaption();
            updateFitCaption();
            if (!needSelection(kChooseItem))
                saveQuietly();
        });
    for (QSpinBox *s : {WrapNum, ctlLH, CtlBreakFontSize, FitParam}) {
        s->setToolTip({});
        connect(s, &QSpinBox::editingFinished, this, &TfmCheckDesign::saveQuietly);
    }
    auto *breakLine = new QHBoxLayout;
    breakLine->addWidget(ckWordBreak);
    breakLine->addWidget(m_breakFields);
    breakLine->addStretch();
    grid->addLayout(breakLine, 4, 0, 1, 7);
    auto *fitLine = new QHBoxLayout;
    fitLine->addWidget(ckFitPrint);
    fitLine->addWidget(FitParam);
    fitLine->addStretch();
    grid->addLayout(fitLine, 5, 0, 1, 7);

    lbMessage = namedLabel(panel, "lbMessage", {});
    lbMessage->setWordWrap(true);
    // Its room is kept, shown or not: the picture below must not slide away under a box
    // that is being dragged when the line appears. Two lines hold the longest message.
    lbMessage->setFixedHeight(2 * lbMessage->fontMetrics().lineSpacing() + 4);
    keepRoomWhenHidden(lbMessage);
    lbMessage->hide();
    grid->addWidget(lbMessage, 6, 0, 1, 7);
    auto *preview = namedButton(panel, "btPreview", QStringLiteral("预览打印效果"));
    auto *save = namedButton(panel, "btSaveCheck", QStringLiteral("保存  设置"));
    connect(preview, &QPushButton::clicked, this, &TfmCheckDesign::openPreview);
    connect(save, &QPushButton::clicked, this, &TfmCheckDesign::btSaveCheckClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(preview);
    buttons->addWidget(save);
    grid->addLayout(buttons, 7, 0, 1, 7);
    updateBreakCaption();
    updateFitCaption();
    return panel;
}

QWidget *TfmCheckDesign::buildMaintenance()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabYanlu"));
    m_notPrivileged =
        new QLabel(QStringLiteral("该模块仅供岚砚特权维护使用,系统觉得你好像不是岚砚！"), tab);
    panelSpecial = new QWidget(tab);
    panelSpecial->setObjectName(QStringLiteral("panelSpecial"));
    edtRunSql = new QLineEdit(panelSpecial);
    edtRunSql->setObjectName(QStringLiteral("edtRunSql"));
    auto *run = namedButton(panelSpecial, "btRunSQL", QStringLiteral("运行"));
    auto *which = namedButton(panelSpecial, "Button2", QStringLiteral("单据ID是多少呢？"));
    connect(run, &QPushButton::clicked, this, [this] {
        // The vendor's own repair channel: one statement as typed, for the support staff. It
        // can change or erase anything, so a clerk who found the panel cannot use it.
        if (!Users::mayAdminister(m_operatorRole)) {
            m_services.ui().warn(QStringLiteral("只有以管理员角色登录的操作员才能运行命令。"),
                                 kPrompt);
            return;
        }
        QSqlQuery q = m_services.database().query();
        if (!q.exec(edtRunSql->text().trimmed()))
            m_services.ui().alert(QStringLiteral("命令不正确！"), kPrompt);
    });
    connect(which, &QPushButton::clicked, this,
            [this] { m_services.ui().alert(QString::number(m_checkTypeId), kPrompt); });
    auto *row = new QHBoxLayout(panelSpecial);
    row->addWidget(new QLabel(QStringLiteral("命令:"), panelSpecial));
    row->addWidget(edtRunSql, 1);
    row->addWidget(run);
    row->addWidget(which);
    panelSpecial->hide();
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(m_notPrivileged);
    layout->addWidget(panelSpecial);
    layout->addStretch();
    return tab;
}

// ---- Start and layout

void TfmCheckDesign::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window sees the keys first, whichever field has the focus.
    qApp->installEventFilter(this);
    if (!m_started) {
        m_started = true;
        start();
        fitToScreen(*this);
    }
}

void TfmCheckDesign::start()
{
    Catalogue &catalogue = m_services.catalogue();
    if (m_checkTypeId <= 0) {
        QString kind = catalogue.loadDefaultTypeFirstName();
        m_checkTypeId = kind.isEmpty() ? -1 : catalogue.loadDefaultCheckTypeId(kind);
    }
    if (m_checkTypeId <= 0) {
        m_services.ui().alert(QStringLiteral("系统没有任何可用的模板信息，请确保软件数据完整~"),
                              kPrompt);
        return;
    }
    m_loading = true;
    cbCheckTypeNameList->addItems(catalogue.loadCheckTypeFirstNameList());
    loadLayout(false);
    m_loading = false;
    m_quiet = false;
}

void TfmCheckDesign::loadLayout(bool force)
{
    if (!force && m_shownTemplate == m_checkTypeId)
        return;
    Catalogue &catalogue = m_services.catalogue();
    const QString id = QString::number(m_checkTypeId);
    m_statusPanels[0]->setText(QStringLiteral("没有选中调整项目！"));
    const QString kind = catalogue.loadCheckTypeFirstNameByID(id);
    const bool wasLoading = m_loading;
    m_loading = true;
    m_kind = kind;
    cbCheckTypeNameList->setCurrentText(kind);
    if (m_listedKind != kind) {
        cbTypeLastName->clear();
        cbTypeLastName->addItems(catalogue.loadCheckTypeLastNameList(kind));
    }
    cbTypeLastName->setCurrentText(catalogue.loadCheckTypeLastNameByID(id));

    m_selected = nullptr;
    // Steps recorded for the boxes shown until now do not apply to what is loaded.
    m_undo->clear();
    if (const auto t = catalogue.loadTemplate(m_checkTypeId)) {
        m_picture = QSize(t->tWidth, t->tHeight);
        m_scene->setPicture(QPixmap(m_services.home().imageDir() + t->pictureFile()), m_picture);
        m_checkBoxs = t->checkBoxs;
        // Room for the list, the view's frame and its vertical bar beside the picture; on a
        // small screen the picture scrolls instead.
        const QSize room = roomOnScreen(*this);
        const int wanted = t->tWidth + listCtlLabel->width() + 6 + 20 + 30;
        setFixedWidth(std::max(std::min(wanted, room.width()), minimumSizeHint().width()));
        resize(width(), std::min(t->tHeight + m_tabs->sizeHint().height() + 120, room.height()));
    }
    addBoxes();
    if (m_checkTypeId > 0)
        applyCheckBoxTitles();
    loadItemList();
    m_shownTemplate = m_checkTypeId;
    m_loading = wasLoading;
    updateBreakCaption();
    updateFitCaption();
}

void TfmCheckDesign::addBoxes()
{
    m_scene->clearBoxes();
    m_labels.clear();
    QString error;
    const auto boxes = m_store.loadBoxes(m_checkTypeId, m_kind, &error);
    if (!boxes) {
        m_services.ui().alert(u"调入项目参数失败!" + error, kPrompt);
        return;
    }
    for (const DesignBox &d : *boxes) {
        m_labels.insert(d.ctlName, d.label);
        if (d.type != u"TEXT" && d.type != u"SHAPE" && d.type != u"CHECKBOX")
            continue; // pictures have no box
        auto *box = new LayoutItem(kindOf(d.type), d.ctlName, d.label);
        box->setResizable(true);
        if (d.hasRow)
            box->setGeometry(d.geometry);
        box->setVisible(d.visible);
        m_scene->addBox(box);
    }
}

void TfmCheckDesign::loadItemList()
{
    if (m_listedKind == m_kind && listCtlLabel->count() > 0)
        return;
    listCtlLabel->clear();
    QString error;
    if (const auto boxes = m_store.loadBoxes(m_checkTypeId, m_kind, &error)) {
        for (const DesignBox &d : *boxes) {
            auto *item = new QListWidgetItem(d.label, listCtlLabel);
            item->setData(Qt::UserRole, d.ctlName);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    m_listedKind = m_kind;
}

void TfmCheckDesign::applyCheckBoxTitles()
{
    const QStringList titles = m_checkBoxs.split(u',');
    for (qsizetype n = 0; n < titles.size(); ++n) {
        LayoutItem *tick = box(u"DEFCHECK" + QString::number(n));
        if (tick && tick->kind() == LayoutItem::Kind::Tick)
            tick->setText(titles[n]);
    }
}

void TfmCheckDesign::switchKind(const QString &kind)
{
    if (m_loading || kind == m_kind)
        return;
    const int id = m_services.catalogue().loadDefaultCheckTypeId(kind);
    if (id > 0)
        switchTemplate(id);
}

void TfmCheckDesign::switchTemplate(int id)
{
    if (id <= 0 || id == m_checkTypeId)
        return;
    if (!m_undo->isClean() && m_selected)
        saveQuietly();
    rebuildCache(m_checkTypeId); // the template left behind shows its changes on the forms
    m_checkTypeId = id;
    loadLayout(true);
}

// ---- Selecting

LayoutItem *TfmCheckDesign::box(const QString &ctlName) const
{
    return m_scene->box(ctlName);
}

QString TfmCheckDesign::boxName(LayoutItem *box) const
{
    if (box && box->kind() == LayoutItem::Kind::Text)
        return box->text();
    if (box && box->kind() == LayoutItem::Kind::Tick)
        return u"勾选-" + box->text();
    if (QListWidgetItem *item = listCtlLabel->currentItem())
        return item->text();
    return QStringLiteral("NULL");
}

void TfmCheckDesign::selectBox(LayoutItem *box)
{
    if (listCtlLabel->count() > 0 && box)
        m_scene->selectOnly(box);
    makeCurrent(box);
}

void TfmCheckDesign::makeCurrent(LayoutItem *box)
{
    lbMessage->hide();
    if (!m_undo->isClean() && m_selected)
        saveQuietly();
    if (listCtlLabel->count() == 0 || !box)
        return;
    m_selected = box;
    for (int i = 0; i < listCtlLabel->count(); ++i) {
        if (listCtlLabel->item(i)->data(Qt::UserRole).toString() == box->objectName())
            listCtlLabel->setCurrentRow(i);
    }
    fillPanels(box);
}

void TfmCheckDesign::fillPanels(LayoutItem *box)
{
    if (box->isVisible())
        box->raise();
    const auto row = m_services.catalogue().loadTemplateItem(m_checkTypeId, box->objectName());
    if (!row) {
        m_filling = true;
        showHidden(!box->isVisible());
        m_filling = false;
        m_shown = panelValues();
        m_statusPanels[0]->setText(QStringLiteral("还没有该项打印配置信息,添加一个！"));
        save(true, false);
        return;
    }
    box->setGeometry(QRect(row->srcX, row->srcY, row->srcW, row->srcH));
    fillFields(designOf(*row));
    m_shown = panelValues();
    m_statusPanels[0]->setText(u"当前调整:" + (listCtlLabel->currentItem()
                                                   ? listCtlLabel->currentItem()->text()
                                                   : QString()));
    m_statusPanels[1]->setText(box->objectName());
}

void TfmCheckDesign::fillFields(const ItemDesign &v)
{
    m_filling = true;
    showHidden(v.hidden);
    ctlX->setValue(v.ctlX);
    ctlY->setValue(v.ctlY);
    SrcX->setValue(v.srcX);
    SrcY->setValue(v.srcY);
    SrcH->setValue(v.srcH);
    SrcW->setValue(v.srcW);
    edtDefaultVal->setText(v.initValue);
    CtlFontSize->setValue(v.fontSize);
    CtlFontName->setCurrentText(v.fontName);
    ckBold->setChecked(v.bold);
    ckItalic->setChecked(v.italic);
    ckUnderLine->setChecked(v.underline);
    CtlBreakFontSize->setValue(v.breakFontSize);
    ctlLH->setValue(v.ctlLH);
    ckWordBreak->setChecked(v.wordBreak);
    WrapNum->setValue(v.wrapNum);
    ckFitPrint->setChecked(v.fitPrint);
    FitParam->setValue(v.fitParam);
    updateFontSample();
    updateBreakCaption();
    updateFitCaption();
    m_filling = false;
}

void TfmCheckDesign::showHidden(bool hidden)
{
    ckHidden->setChecked(hidden);
    ckHidden->setStyleSheet(QStringLiteral("background: %1; font-weight: bold;")
                                .arg(hidden ? "red" : rgb(QColor(179, 209, 242))));
}

// ---- Undo

void TfmCheckDesign::recordChange(const QString &what, int merge)
{
    const ItemDesign now = panelValues();
    if (!m_selected || m_applying || now == m_shown)
        return;
    pushChange(what, m_selected->objectName(), m_shown, now, false, merge);
    m_shown = now;
}

void TfmCheckDesign::pushChange(const QString &what, const QString &ctlName,
                                const ItemDesign &before, const ItemDesign &after, bool stored,
                                int merge)
{
    m_undo->push(new ItemDesignCommand(what + u" " + m_labels.value(ctlName, ctlName), ctlName,
                                       before, after, stored, ItemDesignCommand::Merge(merge),
                                       [this](const QString &name, const ItemDesign &values,
                                              bool store) { applyDesign(name, values, store); }));
}

void TfmCheckDesign::applyDesign(const QString &ctlName, const ItemDesign &values, bool store)
{
    LayoutItem *item = box(ctlName);
    if (!item)
        return;
    m_applying = true;
    if (item != m_selected)
        selectBox(item);
    if (m_selected == item) {
        fillFields(values);
        item->setGeometry(QRect(values.srcX, values.srcY, values.srcW, values.srcH));
        item->setVisible(!values.hidden);
        if (item->isVisible())
            item->raise();
        m_shown = values;
        // Clean afterwards only when this step wrote what the screen now shows.
        m_cleanPending = false;
        if (store)
            save(false, true);
    }
    m_applying = false;
}

// ---- Saving

ItemDesign TfmCheckDesign::panelValues() const
{
    ItemDesign v;
    v.ctlX = ctlX->value();
    v.ctlY = ctlY->value();
    v.ctlLH = ctlLH->value();
    v.srcX = SrcX->value();
    v.srcY = SrcY->value();
    v.srcW = SrcW->value();
    v.srcH = SrcH->value();
    v.hidden = ckHidden->isChecked();
    v.fontName = CtlFontName->currentText();
    v.fontSize = CtlFontSize->value();
    v.initValue = edtDefaultVal->text();
    v.bold = ckBold->isChecked();
    v.italic = ckItalic->isChecked();
    v.underline = ckUnderLine->isChecked();
    v.wordBreak = ckWordBreak->isChecked();
    v.wrapNum = WrapNum->value();
    v.breakFontSize = CtlBreakFontSize->value();
    v.fitPrint = ckFitPrint->isChecked();
    v.fitParam = FitParam->value();
    return v;
}

bool TfmCheckDesign::save(bool clicked, bool quiet)
{
    if (m_filling)
        return false;
    const QString none = QStringLiteral("部分未启用项目，可以点击左侧列表中的数据项目选中！");
    if (!m_selected) {
        if (quiet) {
            showMessage(none);
        } else {
            lbMessage->hide();
            m_services.ui().alert(none, kPrompt);
        }
        return false;
    }
    const QString label =
        listCtlLabel->currentItem() ? listCtlLabel->currentItem()->text() : QString();
    const ItemDesign values = panelValues();
    if (!m_applying && values != m_shown) {
        pushChange(QStringLiteral("修改"), m_selected->objectName(), m_shown, values, true,
                   ItemDesignCommand::Alone);
        m_shown = values;
    }
    const CheckDesignStore::Saved saved =
        m_store.saveItem(m_checkTypeId, m_kind, m_selected->objectName(), label, values);
    if (!saved.ok()) {
        m_services.ui().alert(u"保存设置失败！" + saved.error, kPrompt);
        return false;
    }
    if (saved.inserted) {
        // A new row starts with the standard box; the screen shows what was stored.
        m_filling = true;
        SrcW->setValue(100);
        SrcH->setValue(20);
        m_filling = false;
        m_selected->setGeometry(QRect(SrcX->value(), SrcY->value(), 100, 20));
        m_shown = panelValues();
    }
    if (m_selected->isVisible())
        m_selected->raise();
    const QString name = boxName(m_selected);
    if (saved.rows > 0) {
        markSaved();
        if (clicked && !quiet && !m_quiet)
            m_services.ui().alert(u"' " + name + u" ' 打印细节修改成功！", kPrompt);
    } else if (!quiet && !m_quiet) {
        m_services.ui().alert(u"' " + name + u" ' 打印细节没有变动！", kPrompt);
    }
    return true;
}

void TfmCheckDesign::markSaved()
{
    // During undo or redo, or a step of several boxes, the stack's index moves after the save:
    // it is marked clean then.
    if (m_applying || m_inMacro)
        m_cleanPending = true;
    else
        m_undo->setClean();
}

bool TfmCheckDesign::needSelection(const QString &message)
{
    if (m_selected || m_filling)
        return false;
    showMessage(message);
    return true;
}

// ---- Moving

void TfmCheckDesign::moveBoxTo(QPoint topLeft)
{
    if (!m_selected)
        return;
    m_selected->setPos(topLeft);
    m_filling = true;
    SrcX->setValue(topLeft.x());
    SrcY->setValue(topLeft.y());
    m_filling = false;
}

void TfmCheckDesign::resizeBox(int dw, int dh)
{
    const QSize size(std::max(1, m_selected->width() + dw), std::max(1, m_selected->height() + dh));
    m_selected->resize(size);
    m_filling = true;
    SrcW->setValue(size.width());
    SrcH->setValue(size.height());
    m_filling = false;
    recordChange(QStringLiteral("大小"), ItemDesignCommand::KeySize); // stored by the next save
}

bool TfmCheckDesign::handleKey(QKeyEvent *event)
{
    const int key = event->key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    if (!m_selected || !(ctrl || shift))
        return false;
    if (!arrow) {
        if (ctrl && event->type() == QEvent::KeyRelease && key != Qt::Key_Control &&
            key != Qt::Key_Shift)
            lbMessage->clear();
        return false;
    }
    if (event->type() != QEvent::KeyRelease)
        return true; // the move happens once, when the key is let go
    if (!ctrl) {
        resizeBox(key == Qt::Key_Left    ? -1
                  : key == Qt::Key_Right ? 1
                                         : 0,
                  key == Qt::Key_Up     ? -1
                  : key == Qt::Key_Down ? 1
                                        : 0);
        return true;
    }
    const int step = shift ? 10 : 1;
    QPoint at = m_selected->geometry().topLeft();
    QString moved;
    switch (key) {
    case Qt::Key_Left:
        at.setX(std::max(kEdge, at.x() - step));
        moved = QStringLiteral("左移了");
        break;
    case Qt::Key_Up:
        at.setY(std::max(kEdge, at.y() - step));
        moved = QStringLiteral("上移了");
        break;
    case Qt::Key_Right:
        at.setX(std::min(m_picture.width() - kEdge, at.x() + step));
        moved = QStringLiteral("右移了");
        break;
    default:
        at.setY(std::min(m_picture.height() - kEdge, at.y() + step));
        moved = QStringLiteral("下移了");
        break;
    }
    moveBoxTo(at);
    recordChange(QStringLiteral("移动"), ItemDesignCommand::KeyMove); // stored by the next save
    const QString hint =
        QStringLiteral("移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。");
    showMessage(moved + QString::number(step) + u"像素" +
                (step == 1 ? QStringLiteral("(Ctrl+Shift+方向键：可更快的移动),") + hint : hint));
    return true;
}

void TfmCheckDesign::moveThePrint(QSpinBox *field, int delta, const QString &direction)
{
    if (!m_selected) {
        showMessage(field == ctlY && delta < 0 ? kChooseItem
                                               : QStringLiteral("请选择左侧需要设置的项目！"));
        return;
    }
    if (delta < 0 && field->value() <= 9) {
        showMessage(QStringLiteral("测量数值不可能小于0，请查看打印参数示意图原理~"));
        return;
    }
    if (delta > 0 && field->value() > kPrintLimit)
        return;
    m_filling = true;
    field->setValue(field->value() + delta);
    m_filling = false;
    saveQuietly();
    showMessage(u"【" + boxName(m_selected) + u"】项目打印位置" + direction + u"1毫米!");
    m_blink = (m_blink + 1) % 10000;
    lbMessage->setStyleSheet(QStringLiteral("background: %1;").arg(m_blink % 2 ? "red" : "yellow"));
}

void TfmCheckDesign::showMessage(const QString &text)
{
    lbMessage->setText(text);
    lbMessage->setVisible(!text.isEmpty());
}

// ---- Captions and samples

void TfmCheckDesign::updateBreakCaption()
{
    const bool on = ckWordBreak->isChecked();
    ckWordBreak->setText(on ? QStringLiteral("超      个汉字强制换行,行高       0.1毫米,折行字号")
                            : QStringLiteral("必要时强制折行打印"));
    m_breakFields->setVisible(on);
}

void TfmCheckDesign::updateFitCaption()
{
    const bool on = ckFitPrint->isChecked();
    ckFitPrint->setText(on ? QStringLiteral("(邮编等)分格等宽打印,格子宽       (0.1毫米).")
                           : QStringLiteral("必要时等宽打印"));
    FitParam->setVisible(on);
}

void TfmCheckDesign::updateFontSample()
{
    QFont font(installedFontFamily(CtlFontName->currentText()));
    font.setPointSize(CtlFontSize->value());
    font.setBold(ckBold->isChecked());
    font.setItalic(ckItalic->isChecked());
    font.setUnderline(ckUnderLine->isChecked());
    lbFont->setFont(font);
}

// ---- Other commands

void TfmCheckDesign::editCheckBoxTitles()
{
    if (m_checkTypeId <= 0)
        return;
    const QString current =
        m_services.catalogue().loadTemplate(m_checkTypeId).value_or(Template{}).checkBoxs;
    const QString typed = m_services.ui().giveMeAnValue(
        QStringLiteral("输入勾选项目(以逗号分隔,最多13个,不得重复)："), current,
        QStringLiteral("string"));
    if (typed.isEmpty() || typed == current)
        return;
    const QString titles = CheckDesignStore::cleanTitles(typed);
    if (titles.isEmpty()) {
        m_services.ui().alert(QStringLiteral("输入了无效的字符(引号\\?\\*\\(\\)\\%)!"), kPrompt);
        return;
    }
    QString error;
    if (!m_store.saveCheckBoxTitles(m_checkTypeId, titles, &error)) {
        m_services.ui().alert(u"保存设置失败！" + error, kPrompt);
        return;
    }
    loadLayout(true);
}

void TfmCheckDesign::openPreview()
{
    if (!m_undo->isClean() && m_selected)
        saveQuietly();
    TfmTemplateDesigner::showFor(m_services, m_checkTypeId, this);
    lbMessage->hide();
    // The designer may have moved the item: the fields show what is stored now, so the next
    // save does not put the old print position back.
    if (m_selected)
        fillPanels(m_selected);
}

void TfmCheckDesign::openWholeSlipOffset()
{
    auto *offset = new TfrmPrintOffset(m_services, this);
    offset->setAttribute(Qt::WA_DeleteOnClose);
    offset->setCheckTypeId(m_checkTypeId);
    int wanted = 0;
    // We are in design mode already: its hand-over only picks the template.
    connect(offset, &TfrmPrintOffset::designRequested, this, [&wanted](int id) { wanted = id; });
    offset->exec();
    m_tabs->setCurrentIndex(0);
    switchTemplate(wanted);
}

void TfmCheckDesign::showTips()
{
    const QStringList lines{
        QStringLiteral(" 1：修改某项的打印效果。"),
        QStringLiteral(
            "     "
            "1.1.打印位置是由打印距左和距顶数值控制，需要测量你的单据相应位置，填入实际的数值。"),
        QStringLiteral(
            "         打印位置测量示意图请点击蓝色的\"距左\"或\"距顶\"查看,测量单位：0.1毫米。"),
        QStringLiteral("     1.2.打印字体大小修改项目的字号，字号越大打印字体越大。"),
        QStringLiteral("     1.3.需要换行打印的项目，请勾选\"必要时换行打印\"，并设定换行参数。"),
        QStringLiteral("     1.4.\"预览打印效果\"按钮可以预览设置后的打印效果。"),
        QStringLiteral(" 2：修改某项的输入框显示位置。"),
        QStringLiteral("     2.1.项目的输入位置，可以进行拖动定位，也可以按键盘 "
                       "ctrl+方向键精确移动，同时按住shift键快速移动。"),
        QStringLiteral("     2.2.项目高度和宽度修改，可以按键盘 "
                       "shift+方向键精确调整，也可以直接修改\"横向X\"和\"纵向Y\"的数值。"),
        QStringLiteral("     2.3.项目的输入位置设定不会影响打印位置。"),
        QStringLiteral(" 3: 退出设计模式，请点击\"保存设置\"按钮。祝你好运:)"),
    };
    QString text = QStringLiteral("【设计模式使用技巧】：\n\n");
    for (const QString &line : lines)
        text += line + (line.startsWith(u" 1：") || line.startsWith(u" 2：") ? u"\n" : u"\n\n");
    m_services.ui().alert(text.trimmed(), kPrompt);
}

void TfmCheckDesign::showMeasuringPicture()
{
    auto *viewer = new TfrmImageShow(m_services, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->showPictureFile(m_services.home().imageDir() + u"sys_PosExp.jpg", QSize(600, 360));
}

void TfmCheckDesign::rebuildCache(int id)
{
    if (id <= 0)
        return;
    if (!m_services.catalogue().buildCheckIniFile(id)) {
        m_services.ui().alert(
            QStringLiteral(
                "模板缓存更新失败，填单界面仍按原来的设置显示，请重新打开设计模式再试！"),
            kPrompt);
        return;
    }
    m_services.catalogue().notifyLayoutChanged(id);
}

void TfmCheckDesign::done(int result)
{
    if (!mayClose())
        return; // the clerk chose to stay
    qApp->removeEventFilter(this);
    rebuildCache(m_checkTypeId);
    QDialog::done(result);
}

bool TfmCheckDesign::mayClose()
{
    if (m_undo->isClean() || !m_selected)
        return true;
    const Ui::Answer answer = m_services.ui().showMessage(
        u"【" + boxName(m_selected) + u"】的调整（键盘移动、大小或隐藏）还没有保存，是否保存？",
        QStringLiteral("确认"), Ui::Icon::Question, Ui::Buttons::YesNoCancel);
    if (answer == Ui::Answer::No)
        return true;
    // A save that failed has told why; the window stays so nothing is lost.
    return answer == Ui::Answer::Yes && save(false, true);
}

bool TfmCheckDesign::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto *w = qobject_cast<QWidget *>(watched);
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int pressed = keyEvent->key();
        if (type == QEvent::KeyPress && w && (w == ctlX || w->parent() == ctlX) &&
            (pressed == Qt::Key_Return || pressed == Qt::Key_Enter)) {
            ctlY->setFocus(); // left to top, as the clerk measures
            return false;
        }
        return w && w->window() == this && isActiveWindow() && handleKey(keyEvent);
    }
    if (watched == cbTypeLastName && type == QEvent::FocusIn) {
        cbTypeLastName->setMaxVisibleItems(screen() && screen()->size().height() <= 1000 ? 26 : 35);
        rebuildCache(m_checkTypeId);
    }
    if (m_statusPanels.contains(qobject_cast<QLabel *>(watched)) &&
        type == QEvent::MouseButtonPress) {
        if (++m_statusClicks >= kPrivilegeClicks) {
            m_notPrivileged->hide();
            panelSpecial->show();
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Mouse on the boxes

void TfmCheckDesign::pressBox(LayoutItem *box)
{
    m_services.debug().DebugOutN(QStringLiteral("ControlMouseDown"), box->objectName());
    if (box->isSelected()) {
        makeCurrent(box);
    } else if (box == m_selected) {
        // Taken out of the selection: another selected box is the one the panels show.
        const QList<LayoutItem *> rest = m_scene->selectedBoxes();
        if (!rest.isEmpty())
            makeCurrent(rest.front());
    }
    box->setCursor(Qt::SizeAllCursor);
    if (ckHidden->isVisible())
        ckHidden->setFocus();
}

void TfmCheckDesign::dragBoxes(LayoutItem *grabbed)
{
    if (grabbed != m_selected)
        return;
    m_filling = true;
    SrcX->setValue(grabbed->geometry().x());
    SrcY->setValue(grabbed->geometry().y());
    m_filling = false;
    showMessage(u"拖动了【" +
                (grabbed->kind() == LayoutItem::Kind::Frame
                     ? grabbed->toolTip()
                     : boxName(grabbed).remove(QStringLiteral("勾选-"))) +
                u"】(精确移动请试试，Ctrl+方向键),拖动不会影响打印位置！");
}

void TfmCheckDesign::dropBoxes(LayoutItem *grabbed, QPoint delta)
{
    m_services.debug().DebugOutN(QStringLiteral("ContolEndDrag"), grabbed->objectName());
    // Every box dragged along is stored with the one the panels show, as one step.
    m_undo->beginMacro(QStringLiteral("拖动"));
    m_inMacro = true;
    for (LayoutItem *box : m_scene->selectedBoxes())
        if (box != m_selected)
            storeMovedBox(box, delta);
    if (grabbed == m_selected)
        save(false, true);
    m_inMacro = false;
    m_undo->endMacro();
}

void TfmCheckDesign::storeMovedBox(LayoutItem *box, QPoint delta)
{
    const QString name = box->objectName();
    const auto row = m_services.catalogue().loadTemplateItem(m_checkTypeId, name);
    if (!row) {
        box->setPos(box->pos() - delta); // a box without a row has no place to keep
        return;
    }
    const ItemDesign before = designOf(*row);
    ItemDesign after = before;
    after.srcX = box->geometry().x();
    after.srcY = box->geometry().y();
    const CheckDesignStore::Saved saved =
        m_store.saveItem(m_checkTypeId, m_kind, name, m_labels.value(name), after);
    if (!saved.ok()) {
        m_services.ui().alert(u"保存设置失败！" + saved.error, kPrompt);
        box->setPos(before.srcX, before.srcY);
        return;
    }
    pushChange(QStringLiteral("拖动"), name, before, after, true, ItemDesignCommand::Alone);
}

void TfmCheckDesign::sizeBoxByHandle(LayoutItem *box)
{
    if (box != m_selected)
        return;
    m_filling = true;
    SrcW->setValue(box->width());
    SrcH->setValue(box->height());
    m_filling = false;
    save(false, true);
}
