#include "print/ui/TfrmPrintScale.h"

#include "base/Ui.h"
#include "print/PrintJob.h"
#include "services/AppServices.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kPrompt = QStringLiteral("提示");
const char16_t *const kCorner[] = {u"左上", u"右上", u"左下", u"右下"};

QString millimetres(double mm)
{
    return QString::number(mm, 'f', 1);
}

QString describe(const PrintCalibration &c)
{
    return QStringLiteral("横向偏移 %1 毫米、比例 %2；纵向偏移 %3 毫米、比例 %4")
        .arg(c.offsetX, 0, 'f', 2)
        .arg(c.scaleX, 0, 'f', 4)
        .arg(c.offsetY, 0, 'f', 2)
        .arg(c.scaleY, 0, 'f', 4);
}

} // namespace

TfrmPrintScale::TfrmPrintScale(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_store(services.database())
{
    setObjectName(QStringLiteral("frmPrintScale"));
    setWindowTitle(QStringLiteral("打印位置与比例校准"));

    auto *finish = new QPushButton(QStringLiteral("结束设置"), this);
    finish->setObjectName(QStringLiteral("Button1"));
    finish->setAutoDefault(false);
    connect(finish, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildSheetGroup());
    layout->addWidget(buildMeasureGroup());
    layout->addWidget(buildResultGroup());
    layout->addWidget(buildFeedGroup());
    layout->addWidget(finish, 0, Qt::AlignRight);
    resize(680, 680);
}

QWidget *TfrmPrintScale::buildSheetGroup()
{
    auto *box = new QGroupBox(QStringLiteral("1.【打印】校准页"), this);
    lbTypeName = new QLabel(QStringLiteral("请先选择要校准的票据模板"), box);
    lbTypeName->setObjectName(QStringLiteral("lbTypeName"));
    cbPrinter = new QComboBox(box);
    cbPrinter->setObjectName(QStringLiteral("cbPrinter"));
    cbPrinter->addItems(m_services.printEngine().printers());
    cbPrinter->setCurrentText(m_services.printEngine().device().currentPrinter());
    connect(cbPrinter, &QComboBox::currentTextChanged, this, [this] { showStored(); });
    auto *print = new QPushButton(QStringLiteral("打印校准页"), box);
    print->setObjectName(QStringLiteral("btPrintSheet"));
    print->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, [this] { printSheet(1); });
    auto *note = new QLabel(QStringLiteral("校准页在模板的纸上印出四个带编号的十字。请用直尺量出"
                                           "每个十字中心到纸张左边和上边的距离。"),
                            box);
    note->setWordWrap(true);
    auto *grid = new QGridLayout(box);
    grid->addWidget(lbTypeName, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("票据打印机："), box), 1, 0);
    grid->addWidget(cbPrinter, 1, 1);
    grid->addWidget(print, 1, 2);
    grid->addWidget(note, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget *TfrmPrintScale::buildMeasureGroup()
{
    auto *box =
        new QGroupBox(QStringLiteral("2.【测量】十字中心到纸边的距离（毫米，至少两个）"), this);
    auto *grid = new QGridLayout(box);
    for (int i = 0; i < CalibrationSheet::kCrosses; ++i) {
        const QString n = QString::number(i + 1);
        grid->addWidget(
            new QLabel(u"十字" + n + u"（" + QString::fromUtf16(kCorner[i]) + u"）", box), i, 0);
        lbWant[i] = new QLabel(box);
        lbWant[i]->setObjectName(u"lbWant" + n);
        grid->addWidget(lbWant[i], i, 1);
        const auto edit = [&](const QString &name) {
            auto *e = new QLineEdit(box);
            e->setObjectName(name + n);
            e->setMaximumWidth(80);
            return e;
        };
        edtX[i] = edit(QStringLiteral("edtX"));
        edtY[i] = edit(QStringLiteral("edtY"));
        grid->addWidget(new QLabel(QStringLiteral("到左边："), box), i, 2);
        grid->addWidget(edtX[i], i, 3);
        grid->addWidget(new QLabel(QStringLiteral("到上边："), box), i, 4);
        grid->addWidget(edtY[i], i, 5);
    }
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget *TfrmPrintScale::buildResultGroup()
{
    auto *box = new QGroupBox(QStringLiteral("3.【计算并保存】位置与比例校正"), this);
    ckThisTemplate =
        new QCheckBox(QStringLiteral("只用于本模板（不勾选则用于该打印机的所有模板）"), box);
    ckThisTemplate->setObjectName(QStringLiteral("ckThisTemplate"));
    connect(ckThisTemplate, &QCheckBox::toggled, this, [this] { showStored(); });
    lbResult = new QLabel(box);
    lbResult->setObjectName(QStringLiteral("lbResult"));
    lbResult->setWordWrap(true);
    lbStored = new QLabel(box);
    lbStored->setObjectName(QStringLiteral("lbStored"));
    lbStored->setWordWrap(true);
    const auto button = [box](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, box);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto *btCompute = button("btCompute", QStringLiteral("计算"));
    auto *btSave = button("btSaveScale", QStringLiteral("保存校准"));
    auto *btClear = button("btClearScale", QStringLiteral("清除校准"));
    connect(btCompute, &QPushButton::clicked, this, [this] { compute(); });
    connect(btSave, &QPushButton::clicked, this, [this] { save(); });
    connect(btClear, &QPushButton::clicked, this, [this] { clear(); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btCompute);
    buttons->addWidget(btSave);
    buttons->addWidget(btClear);
    buttons->addStretch();
    auto *column = new QVBoxLayout(box);
    column->addWidget(ckThisTemplate);
    column->addWidget(lbResult);
    column->addWidget(lbStored);
    column->addLayout(buttons);
    return box;
}

QWidget *TfrmPrintScale::buildFeedGroup()
{
    auto *box =
        new QGroupBox(QStringLiteral("4.【连续纸】走纸校正（连续打印多张不累积偏差）"), this);
    edtPages = new QLineEdit(QStringLiteral("100"), box);
    edtPages->setObjectName(QStringLiteral("edtPages"));
    edtPages->setMaximumWidth(80);
    edtDrift = new QLineEdit(box);
    edtDrift->setObjectName(QStringLiteral("edtDrift"));
    edtDrift->setMaximumWidth(80);
    lbFeed = new QLabel(box);
    lbFeed->setObjectName(QStringLiteral("lbFeed"));
    auto *print = new QPushButton(QStringLiteral("打印连续校准页"), box);
    print->setObjectName(QStringLiteral("btPrintFeedSheets"));
    auto *save = new QPushButton(QStringLiteral("保存走纸校正"), box);
    save->setObjectName(QStringLiteral("btSaveFeed"));
    for (QPushButton *b : {print, save})
        b->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const int pages = edtPages->text().trimmed().toInt(&ok);
        if (!ok || pages < 2 || pages > 1000) {
            m_services.ui().alert(QStringLiteral("连续打印的张数要填 2 到 1000 的整数！"), kPrompt);
            return;
        }
        printSheet(pages);
    });
    connect(save, &QPushButton::clicked, this, [this] { saveFeed(); });
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("连续打印张数："), box), 0, 0);
    grid->addWidget(edtPages, 0, 1);
    grid->addWidget(print, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("最后一张的十字1比第一张低："), box), 1, 0);
    grid->addWidget(edtDrift, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("毫米（偏高填负数）"), box), 1, 2);
    grid->addWidget(save, 1, 3);
    grid->addWidget(lbFeed, 2, 0, 1, 4);
    grid->setColumnStretch(2, 1);
    return box;
}

void TfrmPrintScale::setCheckTypeId(int id)
{
    m_checkTypeId = id;
    const auto t = m_services.catalogue().loadTemplate(id);
    if (!t) {
        m_checkTypeId = 0;
        lbTypeName->setText(QStringLiteral("没有选定票据模板，请先在填单界面选择模板"));
        return;
    }
    lbTypeName->setText(u"当前模板：" + t->typeName);
    // Where the crosses are meant to print: the form's own places plus the whole-slip offset.
    const QSize paper(t->pWidth > 0 ? t->pWidth : 2300, t->pHeight > 0 ? t->pHeight : 1270);
    m_formHeightMm = paper.height() / 10.0;
    const auto crosses = CalibrationSheet::crosses(paper);
    for (int i = 0; i < CalibrationSheet::kCrosses; ++i) {
        m_intendedMm[i] = QPointF(crosses[i].x() + t->xMove, crosses[i].y() + t->yMove) / 10.0;
        lbWant[i]->setText(u"应在 到左边 " + millimetres(m_intendedMm[i].x()) + u"，到上边 " +
                           millimetres(m_intendedMm[i].y()));
    }
    showStored();
}

QString TfrmPrintScale::printerName() const
{
    return cbPrinter->currentText().trimmed();
}

int TfrmPrintScale::storedTemplate() const
{
    return ckThisTemplate->isChecked() ? m_checkTypeId : 0;
}

void TfrmPrintScale::printSheet(int pages)
{
    if (m_checkTypeId <= 0) {
        m_services.ui().alert(QStringLiteral("请先选择要校准的票据模板！"), kPrompt);
        return;
    }
    PrintEngine &engine = m_services.printEngine();
    if (!printerName().isEmpty() && printerName() != engine.device().currentPrinter())
        engine.setDefaultPrinter(printerName());
    PrintJob job(engine, BillKind::ExpressSlip);
    // The sheet measures the printer as it is: no earlier correction on it.
    job.calibrated = false;
    if (!job.PrintPrepare(m_checkTypeId) || !job.PrinterTransBegin(1))
        return;
    for (int page = 0; page < pages; ++page) {
        if (!job.SendCalibrationSheet() || (page + 1 < pages && !job.NewCheckPage()))
            return;
    }
    if (job.PrinterTransEnd())
        lbResult->setText(QStringLiteral("校准页已送往打印机，请测量后填写距离。"));
}

CalibrationSheet::Fit TfrmPrintScale::compute()
{
    QStringList xs, ys;
    for (int i = 0; i < CalibrationSheet::kCrosses; ++i) {
        xs << edtX[i]->text();
        ys << edtY[i]->text();
    }
    CalibrationSheet::Fit fit =
        m_checkTypeId > 0
            ? CalibrationSheet::fit(m_intendedMm, xs, ys)
            : CalibrationSheet::Fit{{}, 0, QStringLiteral("请先选择要校准的票据模板！")};
    if (!fit.error.isEmpty()) {
        lbResult->setText(fit.error);
        m_services.ui().alert(fit.error, kPrompt);
        return fit;
    }
    lbResult->setText(u"测得：" + describe(fit.calibration) +
                      QStringLiteral("；残差 %1 毫米").arg(fit.residualMm, 0, 'f', 2));
    return fit;
}

void TfrmPrintScale::save()
{
    if (printerName().isEmpty()) {
        m_services.ui().alert(QStringLiteral("请选择票据打印机！"), kPrompt);
        return;
    }
    const CalibrationSheet::Fit fit = compute();
    if (!fit.error.isEmpty())
        return;
    QString error;
    if (!m_store.save(printerName(), storedTemplate(), fit.calibration, fit.residualMm, &error)) {
        m_services.ui().error(u"打印校准保存失败！\n" + error);
        return;
    }
    showStored();
    m_services.ui().alert(u"打印校准已保存，以后在“" + printerName() + u"”上的打印都会按此校正。",
                          kPrompt);
}

void TfrmPrintScale::clear()
{
    QString error;
    if (!m_store.remove(printerName(), storedTemplate(), &error)) {
        m_services.ui().error(u"打印校准清除失败！\n" + error);
        return;
    }
    showStored();
    m_services.ui().alert(QStringLiteral("已清除打印校准，按原样打印。"), kPrompt);
}

void TfrmPrintScale::saveFeed()
{
    if (printerName().isEmpty()) {
        m_services.ui().alert(QStringLiteral("请选择票据打印机！"), kPrompt);
        return;
    }
    // The sheets were printed as the printer feeds on its own, without a correction.
    const CalibrationSheet::FeedFit feed =
        CalibrationSheet::fitPageFeed(1.0, m_formHeightMm, edtPages->text(), edtDrift->text());
    if (!feed.error.isEmpty()) {
        m_services.ui().alert(feed.error, kPrompt);
        return;
    }
    QString error;
    if (!m_store.savePageFeed(printerName(), feed.pageFeed, &error)) {
        m_services.ui().error(u"走纸校正保存失败！\n" + error);
        return;
    }
    showStored();
    m_services.ui().alert(
        QStringLiteral("走纸校正已保存：每张走纸比例 %1。").arg(feed.pageFeed, 0, 'f', 5), kPrompt);
}

void TfrmPrintScale::showStored()
{
    if (!lbStored || !lbFeed)
        return; // the printer list fills before the rest of the window is built
    const auto stored = m_store.stored(printerName(), storedTemplate());
    lbStored->setText(stored ? u"已保存的校准：" + describe(*stored)
                             : QStringLiteral("已保存的校准：无（按原样打印）"));
    lbFeed->setText(QStringLiteral("已保存的走纸比例：%1")
                        .arg(m_store.find(printerName(), 0).pageFeed, 0, 'f', 5));
}
