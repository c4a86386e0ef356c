#include "print/ui/TfrmPrintOffset.h"

#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "print/PreviewLayout.h"
#include "print/PrinterPresets.h"
#include "print/ui/Tfm_PrintPreview.h"
#include "print/ui/TfrmImageShow.h"
#include "print/ui/TfrmPrintScale.h"
#include "print/ui/UpDown.h"
#include "services/AppServices.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QString kChanged = QStringLiteral("票据整体属性修改成功！");
const QString kUnchanged = QStringLiteral("票据整体属性没有变动！");
const QString kFailed = QStringLiteral("票据整体属性量修改出错！");
constexpr int kArrowStep = 10; // 1 mm

QLabel *unitLabel(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

} // namespace

TfrmPrintOffset::TfrmPrintOffset(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_offset(services.database())
{
    setObjectName(QStringLiteral("frmPrintOffset"));
    setWindowTitle(QStringLiteral("打印整体偏移调整"));

    listCheckTypeName = new QListWidget(this);
    listCheckTypeName->setObjectName(QStringLiteral("listCheckTypeName"));
    listCheckTypeName->setMinimumWidth(200);
    // Arrow keys move the selection as a click does; the fields must always show, and save to,
    // the template that is selected.
    connect(listCheckTypeName, &QListWidget::currentRowChanged, this, [this] {
        if (m_filling)
            return;
        if (m_stored && *m_stored != shownSettings())
            saveQuietly();
        loadParameters();
    });

    auto *right = new QVBoxLayout;
    right->addWidget(buildFeedGroup());
    right->addWidget(buildScreenGroup());
    right->addWidget(buildOffsetGroup());
    right->addWidget(buildPaperGroup());
    right->addStretch();
    right->addWidget(buildButtons());

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(listCheckTypeName);
    layout->addLayout(right, 1);

    // Shown as the window opens: the paper of a template that has none recorded.
    showSettings(OffsetSettings{});
    resize(720, 540);
}

TfrmPrintOffset::~TfrmPrintOffset()
{
    // QDialog's destructor hides the window, which takes the focus from a field; its
    // editingFinished would then save through a window that is half destroyed. Save here,
    // while it is whole, and let no field call back afterwards.
    if (m_stored && *m_stored != shownSettings())
        saveQuietly();
    for (QSpinBox *spin : findChildren<QSpinBox *>())
        disconnect(spin, nullptr, this, nullptr);
}

QSpinBox *TfrmPrintOffset::spinEdit(const char *name, OffsetSettings::Range range)
{
    auto *spin = new QSpinBox(this);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(range.min, range.max);
    spin->setMinimumWidth(90);
    // Whole numbers only: the validator already refuses a decimal point; a value outside the
    // range is not taken, and leaving the field puts back the last valid one.
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(spin, &QSpinBox::editingFinished, this, [this] { saveQuietly(); });
    return spin;
}

QWidget *TfrmPrintOffset::buildFeedGroup()
{
    auto *box = new QGroupBox(QStringLiteral("打印机进纸方向（平推一般是纵向）"), this);
    rdZX = new QRadioButton(QStringLiteral("纵向"), box);
    rdZX->setObjectName(QStringLiteral("rdZX"));
    rdHX = new QRadioButton(QStringLiteral("横向"), box);
    rdHX->setObjectName(QStringLiteral("rdHX"));
    // A click on a direction is a change like any other: stored at once.
    for (QRadioButton *rd : {rdZX, rdHX})
        connect(rd, &QRadioButton::clicked, this, [this] { saveQuietly(); });
    auto *look1 = new ClickableLabel(QStringLiteral("<u>纵向进纸图示</u>"), box);
    look1->setObjectName(QStringLiteral("lbHaveALook1"));
    auto *look2 = new ClickableLabel(QStringLiteral("<u>横向进纸图示</u>"), box);
    look2->setObjectName(QStringLiteral("lbHaveALook2"));
    connect(look1, &ClickableLabel::clicked, this,
            [this] { showFeedPicture(QStringLiteral("exZX.jpg")); });
    connect(look2, &ClickableLabel::clicked, this,
            [this] { showFeedPicture(QStringLiteral("exHX.jpg")); });
    auto *row = new QHBoxLayout(box);
    row->addWidget(rdZX);
    row->addWidget(look1);
    row->addSpacing(24);
    row->addWidget(rdHX);
    row->addWidget(look2);
    row->addStretch();
    return box;
}

QWidget *TfrmPrintOffset::buildScreenGroup()
{
    auto *box =
        new QGroupBox(QStringLiteral("软件填开界面大小（影响填单界面，不影响打印效果）"), this);
    edtTWidth = spinEdit("edtTWidth", OffsetSettings::kTWidth);
    edtTHeight = spinEdit("edtTHeight", OffsetSettings::kTHeight);
    for (QSpinBox *spin : {edtTWidth, edtTHeight}) {
        spin->installEventFilter(this);
        if (auto *edit = spin->findChild<QLineEdit *>())
            edit->installEventFilter(this);
    }
    auto *row = new QHBoxLayout(box);
    row->addWidget(new QLabel(QStringLiteral("界面宽："), box));
    row->addWidget(edtTWidth);
    row->addWidget(unitLabel(QStringLiteral("(像素)"), box));
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("界面高："), box));
    row->addWidget(edtTHeight);
    row->addWidget(unitLabel(QStringLiteral("(像素)"), box));
    row->addStretch();
    return box;
}

QWidget *TfrmPrintOffset::buildOffsetGroup()
{
    auto *box = new QGroupBox(QStringLiteral("票据整体打印偏移( 负号表示相反方向 )"), this);
    XMove = spinEdit("XMove", OffsetSettings::kMove);
    YMove = spinEdit("YMove", OffsetSettings::kMove);
    UpDown1 = new UpDown(Qt::Horizontal, box);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown2 = new UpDown(Qt::Vertical, box);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    connect(UpDown1, &UpDown::clicked, this,
            [this](bool forward) { moveByArrow(XMove, forward ? kArrowStep : -kArrowStep); });
    connect(UpDown2, &UpDown::clicked, this,
            [this](bool forward) { moveByArrow(YMove, forward ? -kArrowStep : kArrowStep); });
    lbMoveX = new QLabel(box);
    lbMoveX->setObjectName(QStringLiteral("lbMoveX"));
    lbMoveY = new QLabel(box);
    lbMoveY->setObjectName(QStringLiteral("lbMoveY"));
    for (auto [spin, label] : {std::pair{XMove, lbMoveX}, std::pair{YMove, lbMoveY}}) {
        label->setMinimumWidth(90);
        connect(spin, &QSpinBox::valueChanged, label,
                [label](int v) { label->setText(PreviewLayout::centimetreText(v)); });
    }
    lbTypeName = new QLabel(QStringLiteral("请左侧选择要设定单据种类"), box);
    lbTypeName->setObjectName(QStringLiteral("lbTypeName"));
    lbTypeName->setStyleSheet(QStringLiteral("color: #1a4f9c; font-weight: bold;"));

    auto *captionX = new QLabel(QStringLiteral("整体打印右移："), box);
    captionX->setToolTip(QStringLiteral("打印的内容整体向右移动(向左移动用加负数来表示)"));
    XMove->setToolTip(captionX->toolTip());
    auto *captionY = new QLabel(QStringLiteral("整体打印下移："), box);
    captionY->setToolTip(QStringLiteral("打印的内容整体向下移动(向上移动用加负数来表示)"));
    YMove->setToolTip(captionY->toolTip());

    auto *grid = new QGridLayout(box);
    grid->addWidget(captionX, 0, 0);
    grid->addWidget(XMove, 0, 1);
    grid->addWidget(UpDown1, 0, 2);
    grid->addWidget(unitLabel(QStringLiteral("(0.1毫米)"), box), 0, 3);
    grid->addWidget(lbMoveX, 0, 4);
    grid->addWidget(captionY, 1, 0);
    grid->addWidget(YMove, 1, 1);
    grid->addWidget(UpDown2, 1, 2);
    grid->addWidget(unitLabel(QStringLiteral("(0.1毫米)"), box), 1, 3);
    grid->addWidget(lbMoveY, 1, 4);
    grid->addWidget(lbTypeName, 2, 0, 1, 5);
    grid->setColumnStretch(5, 1);
    return box;
}

QWidget *TfrmPrintOffset::buildPaperGroup()
{
    auto *box =
        new QGroupBox(QStringLiteral("票据实际大小( 影响预览效果，打印时也用作纸张大小 )"), this);
    edtPWidth = spinEdit("edtPWidth", OffsetSettings::kPWidth);
    edtPHeight = spinEdit("edtPHeight", OffsetSettings::kPHeight);
    lbWidth = new QLabel(box);
    lbWidth->setObjectName(QStringLiteral("lbWidth"));
    lbHeight = new QLabel(box);
    lbHeight->setObjectName(QStringLiteral("lbHeight"));
    for (auto [spin, label] : {std::pair{edtPWidth, lbWidth}, std::pair{edtPHeight, lbHeight}}) {
        label->setMinimumWidth(90);
        // Nothing while the field is empty.
        connect(spin, &QSpinBox::textChanged, label, [spin, label] {
            label->setText(spin->cleanText().isEmpty()
                               ? QString()
                               : PreviewLayout::centimetreText(spin->value()));
        });
    }
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("票面宽："), box), 0, 0);
    grid->addWidget(edtPWidth, 0, 1);
    grid->addWidget(unitLabel(QStringLiteral("(0.1毫米)"), box), 0, 2);
    grid->addWidget(lbWidth, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("票面高："), box), 1, 0);
    grid->addWidget(edtPHeight, 1, 1);
    grid->addWidget(unitLabel(QStringLiteral("(0.1毫米)"), box), 1, 2);
    grid->addWidget(lbHeight, 1, 3);
    grid->setColumnStretch(4, 1);
    return box;
}

QWidget *TfrmPrintOffset::buildButtons()
{
    auto *panel = new QWidget(this);
    const auto button = [panel](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, panel);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto *save = button("btSaveMove", QStringLiteral("保存整体设置"));
    auto *finish = button("Button1", QStringLiteral("结束设置"));
    auto *design =
        button("btPrintItemSet", QStringLiteral("整体上差不多，我要调整某单项的打印位置"));
    auto *preview = button("btPreviewIt", QStringLiteral("预览"));
    auto *preset = button("btSavePreset", QStringLiteral("存为本打印机的预置偏移"));
    preset->setToolTip(QStringLiteral("将本单据调好的整体偏移和进纸方向存为打印机预置参数，"
                                      "供\"打印机整体偏移参数适配\"选用"));
    connect(preset, &QPushButton::clicked, this, [this] { saveAsPrinterPreset(); });
    auto *scale = button("btPrintScale", QStringLiteral("打印位置与比例校准"));
    scale->setToolTip(QStringLiteral("打印十字校准页，按量得的位置校正本打印机的偏移和缩放"));
    connect(scale, &QPushButton::clicked, this, [this] {
        TfrmPrintScale window(m_services, this);
        window.setCheckTypeId(m_checkTypeId);
        window.exec();
    });
    connect(save, &QPushButton::clicked, this, [this] { btSaveMoveClick(); });
    connect(finish, &QPushButton::clicked, this, &QDialog::close);
    connect(design, &QPushButton::clicked, this, [this] { handOverToDesign(); });
    connect(preview, &QPushButton::clicked, this, [this] { openPreview(); });
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(design, 0, 0, 1, 2);
    grid->addWidget(preset, 0, 2);
    grid->addWidget(preview, 1, 0);
    grid->addWidget(save, 1, 1);
    grid->addWidget(finish, 1, 2);
    grid->addWidget(scale, 2, 0, 1, 2);
    return panel;
}

void TfrmPrintOffset::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_listed)
        return;
    m_listed = true;
    fillTemplateList();
    FormFaceLoad(*this, m_services.settings().userIni());
}

void TfrmPrintOffset::fillTemplateList()
{
    m_filling = true;
    listCheckTypeName->clear();
    int wanted = -1;
    for (const PrintOffset::Entry &e : m_offset.enabledTemplates()) {
        if (wanted < 0 && e.checkTypeId == m_checkTypeId)
            wanted = listCheckTypeName->count();
        listCheckTypeName->addItem(e.typeName);
    }
    if (wanted < 0) {
        if (m_checkTypeId > 0)
            m_services.ui().alert(u"没有找到编号为" + QString::number(m_checkTypeId) +
                                      u"的票据，请查看是否存在或被隐藏。",
                                  kPrompt);
        wanted = 0;
    }
    if (listCheckTypeName->count() > 0)
        listCheckTypeName->setCurrentRow(wanted);
    m_filling = false;
    loadParameters();
}

void TfrmPrintOffset::loadParameters()
{
    if (listCheckTypeName->count() == 0)
        return;
    if (listCheckTypeName->currentRow() < 0)
        listCheckTypeName->setCurrentRow(0);
    const QString entry = listCheckTypeName->currentItem()->text().trimmed();
    const std::optional<OffsetTemplate> t = m_offset.loadByName(entry);
    if (!t) {
        XMove->setValue(0);
        YMove->setValue(0);
        m_stored.reset();
        return;
    }
    m_checkTypeId = t->checkTypeId;
    m_typeName = t->typeName;
    setWindowTitle(t->typeName + u'-' + QString::number(t->checkTypeId));
    lbTypeName->setText(u"当前调整：" + entry);
    showSettings(t->settings);
    m_stored = shownSettings();
}

OffsetSettings TfrmPrintOffset::shownSettings() const
{
    OffsetSettings s;
    s.xMove = XMove->value();
    s.yMove = YMove->value();
    s.tHeight = edtTHeight->value();
    s.tWidth = edtTWidth->value();
    s.pHeight = edtPHeight->value();
    s.pWidth = edtPWidth->value();
    s.landscape = !rdZX->isChecked();
    return s;
}

void TfrmPrintOffset::showSettings(const OffsetSettings &s)
{
    XMove->setValue(s.xMove);
    YMove->setValue(s.yMove);
    edtTHeight->setValue(s.tHeight);
    edtTWidth->setValue(s.tWidth);
    edtPHeight->setValue(s.pHeight);
    edtPWidth->setValue(s.pWidth);
    (s.landscape ? rdHX : rdZX)->setChecked(true);
    // The labels follow changes only; a value equal to the old one shows its text too.
    lbMoveX->setText(PreviewLayout::centimetreText(s.xMove));
    lbMoveY->setText(PreviewLayout::centimetreText(s.yMove));
    lbWidth->setText(PreviewLayout::centimetreText(s.pWidth));
    lbHeight->setText(PreviewLayout::centimetreText(s.pHeight));
}

void TfrmPrintOffset::save(bool withMessages)
{
    // A message box takes the focus from a field, which would save again underneath it.
    if (m_saving)
        return;
    if (m_checkTypeId <= 0) {
        if (withMessages)
            m_services.ui().alert(QStringLiteral("请选择要设置的票据类型！"), kPrompt);
        return;
    }
    m_saving = true;
    const OffsetSettings s = shownSettings();
    QString error;
    const PrintOffset::SaveResult result = m_offset.save(m_checkTypeId, s, &error);
    if (result == PrintOffset::SaveResult::Failed) {
        // The row stays as it was; the user must know the printer still uses the old offset.
        m_services.ui().error(kFailed + u'\n' + error);
        m_saving = false;
        return;
    }
    m_stored = s;
    const QString &text = result == PrintOffset::SaveResult::Changed ? kChanged : kUnchanged;
    if (withMessages) {
        m_services.ui().alert(text, kPrompt);
        setWindowTitle(lbTypeName->text());
    } else {
        setWindowTitle(text);
    }
    m_saving = false;
}

void TfrmPrintOffset::moveByArrow(QSpinBox *field, int step)
{
    if (m_checkTypeId <= 0) {
        m_services.ui().alert(QStringLiteral("请在左侧选择要设置的快递单据！"), kPrompt);
        return;
    }
    field->setValue(field->value() + step);
    saveQuietly();
}

void TfrmPrintOffset::saveAsPrinterPreset()
{
    Ui &ui = m_services.ui();
    if (m_checkTypeId <= 0) {
        ui.alert(QStringLiteral("请选择要设置的票据类型！"), kPrompt);
        return;
    }
    const QString model =
        ui.giveMeAnValue(QStringLiteral("打印机型号名称（当前单据的整体偏移将存为它的预置参数）："),
                         m_services.printEngine().selectedPrinter(), QStringLiteral("text"))
            .trimmed();
    if (model.isEmpty())
        return;
    // The list of models is one comma-separated value.
    if (model.contains(u',')) {
        ui.alert(QStringLiteral("型号名称不能含有逗号！"), kPrompt);
        return;
    }
    const PrinterPreset preset{model,
                               QString::number(XMove->value()),
                               QString::number(YMove->value()),
                               QString(),
                               rdHX->isChecked() ? QStringLiteral("横向") : QStringLiteral("纵向"),
                               QString()};
    if (!PrinterPresets(m_services.settings().userIni()).savePreset(preset)) {
        ui.error(u"无法保存打印机预置参数：" + m_services.settings().userIni().path());
        return;
    }
    ui.alert(u"已存为打印机预置参数：" + model, kPrompt);
}

void TfrmPrintOffset::showFeedPicture(const QString &file)
{
    auto *viewer = new TfrmImageShow(m_services, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->showPictureFile(m_services.home().imageDir() + file, QSize(400, 400));
}

void TfrmPrintOffset::openPreview()
{
    Tfm_PrintPreview::showFor(m_services, m_checkTypeId, this);
}

void TfrmPrintOffset::handOverToDesign()
{
    Q_EMIT designRequested(m_checkTypeId);
    close();
}

void TfrmPrintOffset::done(int result)
{
    // A value typed into a field and never left would otherwise be lost.
    if (m_stored && *m_stored != shownSettings())
        saveQuietly();
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::done(result);
}

bool TfrmPrintOffset::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (QSpinBox *spin : {edtTWidth, edtTHeight}) {
            if (watched == spin || watched->parent() == spin) {
                // The size fields lock against a slip of the hand on the bill form's size.
                spin->setEnabled(!spin->isEnabled());
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
