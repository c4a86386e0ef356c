#include "print/ui/TfmLockPrinter.h"

#include "base/Ui.h"
#include "print/ui/TfrmPrinterParam.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kPrompt = QStringLiteral("提示");
const QString kDefaultPrinter = QStringLiteral("DefaultPrinter");
} // namespace

TfmLockPrinter::TfmLockPrinter(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("fmLockPrinter"));
    setWindowTitle(QStringLiteral("固定票据打印机"));
    auto *rows = new QVBoxLayout(this);
    rows->addWidget(new QLabel(QStringLiteral("选择要固定的票据打印机："), this));
    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("cbPrinters"));
    m_printers->setMinimumWidth(360);
    rows->addWidget(m_printers);
    auto *note =
        new QLabel(QStringLiteral("说明：固定某个票据打印机后，所有的票据打印都会自动选用"
                                  "你所选定的打印机来执行打印任务，除非你打印前手动选择。"),
                   this);
    note->setWordWrap(true);
    rows->addWidget(note);
    m_lock = new QPushButton(QStringLiteral("锁定该打印机为票据打印机"), this);
    m_lock->setObjectName(QStringLiteral("btLock"));
    m_lock->setEnabled(false);
    rows->addWidget(m_lock);
    m_adapt = new QPushButton(QStringLiteral("适配打印机整体偏移参数"), this);
    m_adapt->setObjectName(QStringLiteral("btShiPei"));
    rows->addWidget(m_adapt);

    const QStringList printers = m_services.printEngine().printers();
    m_printers->addItems(printers);
    m_printers->setCurrentIndex(
        int(printers.indexOf(m_services.settings().getConfigByname(kDefaultPrinter))));
    m_lock->setEnabled(!m_printers->currentText().isEmpty());
    if (printers.isEmpty()) {
        m_services.ui().alert(QStringLiteral("没有检测到打印机！请安装打印机并重启动本软件！"),
                              kPrompt);
        m_adapt->setEnabled(false);
    }

    connect(m_printers, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { m_lock->setEnabled(!text.isEmpty()); });
    connect(m_lock, &QPushButton::clicked, this, &TfmLockPrinter::lockPrinter);
    connect(m_adapt, &QPushButton::clicked, this, &TfmLockPrinter::adaptPrinter);
}

void TfmLockPrinter::lockPrinter()
{
    const QString printer = m_printers->currentText().trimmed();
    if (printer.isEmpty()) {
        m_services.ui().alert(QStringLiteral("请选择票据打印机！"), kPrompt);
        return;
    }
    const QString error = m_services.settings().setConfigByname(kDefaultPrinter, printer);
    if (!error.isEmpty()) {
        m_services.ui().error(u"保存默认票据打印机失败！\n" + error);
        return;
    }
    m_services.printEngine().setDefaultPrinter(printer);
    m_services.ui().alert(QStringLiteral("默认票据打印机设置成功！"), kPrompt);
}

void TfmLockPrinter::adaptPrinter()
{
    const QString printer = m_printers->currentText();
    if (printer.isEmpty()) {
        m_services.ui().alert(QStringLiteral("请选择要固定的票据打印机！"), kPrompt);
        return;
    }
    auto *param = new TfrmPrinterParam(m_services, printer, this);
    param->setAttribute(Qt::WA_DeleteOnClose);
    param->exec();
    accept();
}

void TfmLockPrinter::done(int result)
{
    QDialog::done(result);
    if (QWidget *frame = parentWidget()) {
        frame->raise();
        frame->activateWindow();
    }
}
