#include "print/ui/Tfm_PrintPreview.h"

#include "base/Ui.h"
#include "print/PreviewData.h"
#include "print/PreviewLayout.h"
#include "print/ui/CentimetreRuler.h"
#include "services/AppServices.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>

namespace {

constexpr int kPreviewMove = 1500; // 0.1 mm either way
// The paper of a template that has no size yet, as printing assumes it.
constexpr int kDefaultPaperWidth = 2300;
constexpr int kDefaultPaperHeight = 1270;

QString centimetres(int n)
{
    return QString::number(n);
}

} // namespace

Tfm_PrintPreview::Tfm_PrintPreview(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_samples(new PreviewSampleModel(services.database(), this))
{
    setObjectName(QStringLiteral("fm_PrintPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    if (const QScreen *s = screen())
        m_ppi = qRound(s->logicalDotsPerInchX());

    LbTitle = new QLabel(this);
    LbTitle->setObjectName(QStringLiteral("LbTitle"));
    LbTitle->setAlignment(Qt::AlignCenter);
    LbTitle->setStyleSheet(QStringLiteral("font-size: 16px; font-weight: bold; padding: 4px;"));

    panelLeft = new QWidget(this);
    panelLeft->setObjectName(QStringLiteral("panelLeft"));
    DBGrid1 = new QTableView(panelLeft);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_samples);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->installEventFilter(this);
    DBGrid1->viewport()->installEventFilter(this);
    connect(m_samples, &PreviewSampleModel::editFailed, this,
            [this](const QString &error) { m_services.ui().error(error); });
    connect(m_samples, &QAbstractItemModel::dataChanged, this, [this] { placeItems(); });
    auto *leftLayout = new QVBoxLayout(panelLeft);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(DBGrid1);
    panelLeft->hide();

    PanelRight = new QWidget;
    PanelRight->setObjectName(QStringLiteral("PanelRight"));
    panelCheck = new QWidget(PanelRight);
    panelCheck->setObjectName(QStringLiteral("panelCheck"));
    panelCheck->setAutoFillBackground(true);
    QPalette desk = panelCheck->palette();
    desk.setColor(QPalette::Window, QColor(228, 232, 238));
    panelCheck->setPalette(desk);
    panelCheck->installEventFilter(this);
    m_paper = new QLabel(panelCheck);
    m_paper->setObjectName(QStringLiteral("paperArea"));
    m_paper->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(PanelRight);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->addWidget(panelLeft);
    m_splitter->addWidget(scroll);
    m_splitter->setStretchFactor(1, 1);

    panelBtn = new QWidget(this);
    panelBtn->setObjectName(QStringLiteral("panelBtn"));
    panelBtn->installEventFilter(this);
    const auto move = [this](const char *name) {
        auto *spin = new QSpinBox(panelBtn);
        spin->setObjectName(QString::fromLatin1(name));
        spin->setRange(-kPreviewMove, kPreviewMove);
        spin->setSingleStep(5);
        return spin;
    };
    const auto shown = [this](const char *name) {
        auto *edit = new QLineEdit(panelBtn);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        edit->setFixedWidth(60);
        return edit;
    };
    XMove = move("XMove");
    YMove = move("YMove");
    edtMoveX = shown("edtMoveX");
    edtMoveY = shown("edtMoveY");
    connect(XMove, &QSpinBox::valueChanged, this, [this](int v) {
        edtMoveX->setText(PreviewLayout::shortestHundredths(v));
        applyOffset();
    });
    connect(YMove, &QSpinBox::valueChanged, this, [this](int v) {
        edtMoveY->setText(PreviewLayout::shortestHundredths(v));
        applyOffset();
    });
    edtMoveX->setText(QStringLiteral("0"));
    edtMoveY->setText(QStringLiteral("0"));
    ckNoMoveXY = new QCheckBox(QStringLiteral("忽略整体偏移预览"), panelBtn);
    ckNoMoveXY->setObjectName(QStringLiteral("ckNoMoveXY"));
    connect(ckNoMoveXY, &QCheckBox::toggled, this, &Tfm_PrintPreview::setIgnoreOffset);
    btEditPreviewData = new QPushButton(QStringLiteral("修改预览数据"), panelBtn);
    btEditPreviewData->setObjectName(QStringLiteral("btEditPreviewData"));
    connect(btEditPreviewData, &QPushButton::clicked, this, [this] {
        panelLeft->setVisible(!panelLeft->isVisible());
        if (panelLeft->isVisible()) // room for a whole sample beside its caption
            m_splitter->setSizes({420, std::max(0, m_splitter->width() - 420)});
    });
    btClose = new QPushButton(QStringLiteral("关  闭"), panelBtn);
    btClose->setObjectName(QStringLiteral("btClose"));
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    for (QPushButton *b : {btEditPreviewData, btClose})
        b->setAutoDefault(false);

    auto *buttons = new QHBoxLayout(panelBtn);
    buttons->addWidget(new QLabel(QStringLiteral("整体打印右移："), panelBtn));
    buttons->addWidget(XMove);
    buttons->addWidget(edtMoveX);
    buttons->addWidget(new QLabel(QStringLiteral("厘米"), panelBtn));
    buttons->addSpacing(12);
    buttons->addWidget(new QLabel(QStringLiteral("整体打印下移："), panelBtn));
    buttons->addWidget(YMove);
    buttons->addWidget(edtMoveY);
    buttons->addWidget(new QLabel(QStringLiteral("厘米"), panelBtn));
    buttons->addSpacing(12);
    buttons->addWidget(ckNoMoveXY);
    buttons->addStretch();
    buttons->addWidget(btEditPreviewData);
    buttons->addWidget(btClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LbTitle);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(panelBtn);

    buildRulers();
    resize(1040, 720);
}

void Tfm_PrintPreview::showFor(AppServices &services, int checkTypeId, QWidget *parent)
{
    auto *preview = new Tfm_PrintPreview(services, parent);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setCheckTypeId(checkTypeId);
    if (preview->loadPreview())
        preview->exec();
    else
        preview->deleteLater();
}

void Tfm_PrintPreview::setPixelsPerInch(int ppi)
{
    m_ppi = ppi;
    buildRulers();
}

void Tfm_PrintPreview::buildRulers()
{
    delete tractbarTop1;
    delete tractbarLeft1;
    delete tractbarTop2;
    delete tractbarLeft2;
    constexpr int band = CentimetreRuler::kThickness;
    tractbarTop1 = new CentimetreRuler(
        Qt::Horizontal, 15, m_ppi, QStringLiteral("labT1_"),
        [](int n) {
            if (n == 0)
                return QStringLiteral("0cm");
            return n == 15 ? QStringLiteral("15cm(整体偏移)") : centimetres(n);
        },
        PanelRight);
    tractbarLeft1 = new CentimetreRuler(
        Qt::Vertical, 10, m_ppi, QStringLiteral("labL1_"),
        [](int n) { return n > 0 ? centimetres(n) : QString(); }, PanelRight);
    tractbarTop2 = new CentimetreRuler(
        Qt::Horizontal, 24, m_ppi, QStringLiteral("labT2_"),
        [](int n) { return n == 0 ? QStringLiteral("0cm") : centimetres(n); }, panelCheck);
    tractbarLeft2 = new CentimetreRuler(
        Qt::Vertical, 20, m_ppi, QStringLiteral("labL2_"),
        [](int n) { return n > 0 ? centimetres(n) : QString(); }, panelCheck);
    tractbarTop1->setObjectName(QStringLiteral("tractbarTop1"));
    tractbarLeft1->setObjectName(QStringLiteral("tractbarLeft1"));
    tractbarTop2->setObjectName(QStringLiteral("tractbarTop2"));
    tractbarLeft2->setObjectName(QStringLiteral("tractbarLeft2"));
    tractbarTop1->move(band, 0);
    tractbarLeft1->move(0, band);
    tractbarTop2->move(band, 0);
    tractbarLeft2->move(0, band);
    panelCheck->resize(band + tractbarTop2->width(), band + tractbarLeft2->height());
    for (QWidget *w : {tractbarTop1, tractbarLeft1, tractbarTop2, tractbarLeft2})
        w->show();
    setIgnoreOffset(ckNoMoveXY->isChecked());
}

QPoint Tfm_PrintPreview::itemOrigin() const
{
    return {tractbarLeft2->width(), tractbarTop2->height()};
}

QWidget *Tfm_PrintPreview::itemPanel() const
{
    return panelCheck;
}

bool Tfm_PrintPreview::loadPreview()
{
    const QString id = QString::number(m_checkTypeId);
    m_kind = m_services.catalogue().loadCheckTypeFirstNameByID(id).trimmed();
    if (m_kind.isEmpty()) {
        m_services.ui().alert(QStringLiteral("没有找到对应的单据信息~"), QStringLiteral("提示"));
        return false;
    }
    LbTitle->setText(u"【" + m_services.catalogue().loadCheckTypeFullNameByID(id) + u"】打印预览");
    if (const auto t = m_services.catalogue().loadTemplate(m_checkTypeId)) {
        m_paperWidth = t->pWidth > 0 ? t->pWidth : kDefaultPaperWidth;
        m_paperHeight = t->pHeight > 0 ? t->pHeight : kDefaultPaperHeight;
        m_picture = QImage(m_services.home().imageDir() + t->pictureFile());
        XMove->setValue(t->xMove);
        YMove->setValue(t->yMove);
    }
    placeItems();
    loadSamples();
    return true;
}

void Tfm_PrintPreview::placeItems()
{
    m_paper->clear();
    if (m_checkTypeId <= 0) {
        setWindowTitle(QStringLiteral("未知的单据"));
        return;
    }
    const QSize paper(PreviewLayout::screenPixels(m_paperWidth, m_ppi),
                      PreviewLayout::screenPixels(m_paperHeight, m_ppi));
    m_paper->setGeometry(QRect(itemOrigin(), paper));
    m_paper->lower();

    QString error;
    const auto samples =
        PreviewData::loadPreviewItems(m_services.database(), m_checkTypeId, m_kind, &error);
    if (!samples) {
        m_services.ui().error(error);
        return;
    }
    m_items =
        PreviewData::paintSamples(m_services.database(), m_services.ui(), m_services.settings(),
                                  m_checkTypeId, *samples, paper, m_ppi);
    // The form's picture in real size under the values, so the clerk sees them in their boxes.
    QImage sheet(paper, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    if (!m_picture.isNull())
        painter.drawImage(sheet.rect(), m_picture);
    painter.drawImage(0, 0, m_items);
    painter.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
    painter.drawRect(sheet.rect().adjusted(0, 0, -1, -1));
    painter.end();
    m_paper->setPixmap(QPixmap::fromImage(sheet));
}

void Tfm_PrintPreview::loadSamples()
{
    QString error;
    if (!m_samples->load(m_kind, &error)) {
        m_services.ui().error(error);
        return;
    }
    if (m_samples->rowCount() == 0)
        return;
    DBGrid1->hideColumn(PreviewSampleModel::kIdColumn);
    DBGrid1->hideColumn(PreviewSampleModel::kNameColumn);
    DBGrid1->setColumnWidth(PreviewSampleModel::kLabelColumn, 80);
    DBGrid1->setColumnWidth(PreviewSampleModel::kDataColumn, 400);
}

void Tfm_PrintPreview::applyOffset()
{
    if (!ckNoMoveXY->isChecked())
        panelCheck->move(PreviewLayout::screenPixels(XMove->value(), m_ppi),
                         PreviewLayout::screenPixels(YMove->value(), m_ppi));
    const QRect used = panelCheck->geometry().united(tractbarTop1->geometry());
    PanelRight->setFixedSize(used.right() + 1, std::max(used.bottom(), 0) + 1);
}

void Tfm_PrintPreview::setIgnoreOffset(bool ignore)
{
    if (ignore) {
        panelCheck->move(0, 0);
        panelCheck->raise();
    } else {
        panelCheck->lower();
    }
    applyOffset();
}

bool Tfm_PrintPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1->viewport() && event->type() == QEvent::Wheel) {
        // Towards the user: one row down; away: one row up.
        const int step = static_cast<QWheelEvent *>(event)->angleDelta().y() < 0 ? 1 : -1;
        const int row = std::clamp(DBGrid1->currentIndex().row() + step, 0,
                                   std::max(0, m_samples->rowCount() - 1));
        DBGrid1->setCurrentIndex(m_samples->index(row, PreviewSampleModel::kDataColumn));
        return true;
    }
    if (watched == DBGrid1 && event->type() == QEvent::FocusOut)
        placeItems();
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == panelCheck || watched == panelBtn)) {
        if (watched == panelCheck)
            panelCheck->lower();
        btClose->setFocus();
    }
    return QDialog::eventFilter(watched, event);
}
