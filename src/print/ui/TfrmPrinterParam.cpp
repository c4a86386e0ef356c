#include "print/ui/TfrmPrinterParam.h"

#include "base/Ui.h"
#include "print/PrinterPresets.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QVBoxLayout>

namespace {

const QString kPrompt = QStringLiteral("提示");
const QStringList kDirections{QStringLiteral("纵向"), QStringLiteral("横向")};

QLineEdit *lineEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QComboBox *comboBox(const char *name, QWidget *parent, const QStringList &items = {})
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

QSpinBox *offsetBox(const char *name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(-3000, 3000);
    box->setSuffix(QStringLiteral(" 0.1mm"));
    return box;
}

// One row of a group: caption, field, and an optional unit.
void addRow(QGridLayout *grid, const QString &caption, QWidget *field, const QString &unit = {})
{
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption, field->parentWidget()), row, 0);
    grid->addWidget(field, row, 1);
    if (!unit.isEmpty())
        grid->addWidget(new QLabel(unit, field->parentWidget()), row, 2);
}

} // namespace

TfrmPrinterParam::TfrmPrinterParam(AppServices &services, const QString &printer, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmPrinterParam"));
    setWindowTitle(QStringLiteral("打印机整体偏移参数适配"));
    auto *rows = new QVBoxLayout(this);

    auto *presetGroup =
        new QGroupBox(QStringLiteral("1.【选取】系统预置常用可参考的打印机设置"), this);
    auto *presetGrid = new QGridLayout(presetGroup);
    m_presets = comboBox("cb_PrintersWeKnow", presetGroup);
    m_presets->setMinimumWidth(260);
    m_presetX = lineEdit("edtOX", presetGroup);
    m_presetY = lineEdit("edtOY", presetGroup);
    m_presetBoard = lineEdit("edtOBoardPosition", presetGroup);
    m_presetDirection = comboBox("cbODirection", presetGroup, kDirections);
    addRow(presetGrid, QStringLiteral("选择相近的打印机型号："), m_presets);
    addRow(presetGrid, QStringLiteral("向右偏移："), m_presetX, QStringLiteral("0.1mm"));
    addRow(presetGrid, QStringLiteral("向下偏移："), m_presetY, QStringLiteral("0.1mm"));
    addRow(presetGrid, QStringLiteral("挡板位置："), m_presetBoard);
    addRow(presetGrid, QStringLiteral("打印机方向:"), m_presetDirection);
    m_picture = new QLabel(presetGroup);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFixedSize(160, 120);
    m_picture->setAlignment(Qt::AlignCenter);
    presetGrid->addWidget(m_picture, 0, 3, presetGrid->rowCount(), 1);
    rows->addWidget(presetGroup);

    auto *useGroup = new QGroupBox(QStringLiteral("2.【确认】您选择的适配型号偏移参数调整"), this);
    auto *useGrid = new QGridLayout(useGroup);
    m_printers = comboBox("cb_PrintersClient", useGroup, m_services.printEngine().printers());
    m_model = lineEdit("edtUPrinter", useGroup);
    m_board = lineEdit("edtUBoardPosition", useGroup);
    m_x = offsetBox("edtUX", useGroup);
    m_y = offsetBox("edtUY", useGroup);
    m_direction = comboBox("cbUDirection", useGroup, kDirections);
    m_direction->setEditable(true);
    addRow(useGrid, QStringLiteral("您的票据打印机："), m_printers);
    addRow(useGrid, QStringLiteral("适配型号名称："), m_model);
    addRow(useGrid, QStringLiteral("挡板位置："), m_board);
    addRow(useGrid, QStringLiteral("打印再向右偏移："), m_x);
    addRow(useGrid, QStringLiteral("打印再向下偏移："), m_y);
    addRow(useGrid, QStringLiteral("打印方向："), m_direction);
    rows->addWidget(useGroup);

    auto *buttons = new QHBoxLayout;
    auto *apply = new QPushButton(QStringLiteral("3.【应用】到所有单据"), this);
    apply->setObjectName(QStringLiteral("BitBtn1"));
    apply->setToolTip(QStringLiteral("打印参数应用到所有的单据（打印整体偏移,打印方向等）"));
    auto *quit = new QPushButton(QStringLiteral("【退出设置】"), this);
    quit->setObjectName(QStringLiteral("Button1"));
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(quit);
    rows->addLayout(buttons);

    PrinterPresets presets(m_services.settings().userIni());
    m_presets->addItems(presets.models());
    m_presets->setCurrentIndex(0);
    loadPreset(m_presets->currentText());

    const std::optional<PrinterUse> use = presets.loadUse();
    m_printers->setCurrentIndex(-1);
    if (use) {
        m_model->setText(use->model);
        m_board->setText(use->board);
        if (use->x)
            m_x->setValue(*use->x);
        if (use->y)
            m_y->setValue(*use->y);
        m_direction->setCurrentText(use->direction);
        m_printers->setCurrentIndex(m_printers->findText(use->printerName));
    }
    if (!printer.isEmpty()) {
        m_printers->setCurrentIndex(m_printers->findText(printer));
        m_printers->setEnabled(false);
    }

    connect(m_presets, &QComboBox::activated, this,
            [this] { choosePreset(m_presets->currentText()); });
    connect(apply, &QPushButton::clicked, this, &TfrmPrinterParam::btApplyClick);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPrinterParam::loadPreset(const QString &model)
{
    const PrinterPreset preset = PrinterPresets(m_services.settings().userIni()).preset(model);
    m_presetX->setText(preset.x);
    m_presetY->setText(preset.y);
    m_presetBoard->setText(preset.board);
    m_presetDirection->setCurrentIndex(int(kDirections.indexOf(preset.direction)));
    const QPixmap picture =
        preset.image.isEmpty() ? QPixmap() : QPixmap(m_services.getRunPath() + preset.image);
    m_picture->setPixmap(picture.isNull() ? QPixmap()
                                          : picture.scaled(m_picture->size(), Qt::KeepAspectRatio,
                                                           Qt::SmoothTransformation));
}

void TfrmPrinterParam::choosePreset(const QString &model)
{
    // The placeholder of an empty list has no offsets to hand over.
    if (model == QString::fromUtf8(PrinterPresets::kNoPresets))
        return;
    loadPreset(model);
    m_model->setText(m_printers->currentText());
    m_x->setValue(m_presetX->text().toInt());
    m_y->setValue(m_presetY->text().toInt());
    m_direction->setCurrentText(m_presetDirection->currentText());
    m_board->setText(m_presetBoard->text());
}

void TfrmPrinterParam::btApplyClick()
{
    Ui &ui = m_services.ui();
    if (!ui.ask(u"你确认对所有单据应用该设置吗？\r请在打印测试前调整好挡板！-" + m_board->text(),
                QStringLiteral("确认")))
        return;
    const QString direction = m_direction->currentText();
    if (direction.isEmpty()) {
        ui.alert(QStringLiteral("请选择打印方向！"), kPrompt);
        return;
    }
    const std::optional<QString> hv = PrinterPresets::directionDigit(direction);
    if (!hv) {
        ui.alert(QStringLiteral("非法的打印方向参数！"), kPrompt);
        return;
    }

    const QString connectionName = QStringLiteral("printerParam");
    bool applied = false;
    {
        QSqlDatabase db = m_services.database().openSibling(connectionName);
        QString error;
        const int rows =
            PrinterPresets::applyToAllTemplates(db, m_x->value(), m_y->value(), *hv, &error);
        applied = rows > 0;
        if (applied)
            ui.alert(QStringLiteral("应用单据成功！"), kPrompt);
        else
            ui.alert(u"应用单据失败！！" + (error.isEmpty() ? QString() : u"\n" + error), kPrompt);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);

    const QString model = m_model->text().trimmed();
    if (model.isEmpty()) {
        ui.alert(QStringLiteral("请输入适配打印机类型名！"), kPrompt);
        m_model->setFocus();
        return;
    }
    const QString printer = m_printers->currentText();
    if (printer.isEmpty()) {
        ui.alert(QStringLiteral("请选择你的票据打印机！"), kPrompt);
        m_printers->setFocus();
        return;
    }
    PrinterPresets presets(m_services.settings().userIni());
    if (!presets.saveUse(
            {model, printer, m_x->value(), m_y->value(), direction, m_board->text()})) {
        ui.error(u"无法保存打印机配置：" + m_services.settings().userIni().path());
        return;
    }
    m_services.printEngine().setDefaultPrinter(printer);
    // The printer choice is kept either way, but after "应用单据失败！！" the templates still
    // print with their old offsets, and that is no success.
    if (applied)
        ui.alert(QStringLiteral("配置修改成功！"), kPrompt);
}
