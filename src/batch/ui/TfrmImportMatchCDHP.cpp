#include "batch/ui/TfrmImportMatchCDHP.h"

#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/NamedWidgets.h"
#include "batch/DraftImport.h"
#include "batch/DraftImportRun.h"
#include "batch/ImportLog.h"
#include "batch/ui/ImportLogView.h"
#include "data/Spreadsheets.h"
#include "data/spreadsheet/SpreadsheetReader.h"
#include "data/ui/ReadingDialog.h"
#include "services/AppServices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kCannotOpen = QStringLiteral("不能打开Excel文件，确认Excel软件已经安装并可用！");
// Rows per transaction: the disk waits once per chunk, and the window answers between chunks.
constexpr int kChunkRows = 500;

} // namespace

TfrmImportMatchCDHP::TfrmImportMatchCDHP(AppServices &services, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("TfrmImportMatchCDHP"));
    setWindowTitle(QStringLiteral("岚砚软件-承兑汇票数据导入"));
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(buildSource());
    outer->addWidget(buildMatching());
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->hide();
    outer->addWidget(m_progress);
    auto *buttons = new QHBoxLayout;
    btStart = namedButton(this, "btStart", QStringLiteral("第3步: 开始导入(&S)   "));
    btStart->setEnabled(false);
    connect(btStart, &QPushButton::clicked, this, &TfrmImportMatchCDHP::btStartClick);
    btStopIt = namedButton(this, "btStopIt", QStringLiteral("中止导入"));
    btStopIt->setEnabled(false);
    connect(btStopIt, &QPushButton::clicked, this, &TfrmImportMatchCDHP::btStopItClick);
    btLog = namedButton(this, "btLog", QStringLiteral("查看导出日志(&V)"));
    btLog->setEnabled(false);
    connect(btLog, &QPushButton::clicked, this, &TfrmImportMatchCDHP::btLogClick);
    QPushButton *close = namedButton(this, "btHidden", QStringLiteral("关  闭(&X)"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton *b : {btStart, btStopIt, btLog, close})
        buttons->addWidget(b);
    outer->addLayout(buttons);
    lblResult = namedLabel(this, "lblResult", QStringLiteral("请选择要导入的Excel文件~~~"));
    outer->addWidget(lblResult);
}

TfrmImportMatchCDHP::~TfrmImportMatchCDHP() = default;

QWidget *TfrmImportMatchCDHP::buildSource()
{
    auto *group = new QGroupBox(QStringLiteral("数据来源"), this);
    auto *l = new QHBoxLayout(group);
    btBrowse = namedButton(group, "btBrowse", QStringLiteral("第1步: 选Excel/CSV文件.."));
    connect(btBrowse, &QPushButton::clicked, this, &TfrmImportMatchCDHP::btBrowseClick);
    ed_file = new QLineEdit(group);
    ed_file->setObjectName(QStringLiteral("ed_file"));
    ed_file->setReadOnly(true);
    auto *help = new ClickableLabel(QStringLiteral(" CSV、Excel 格式要求?  "), group);
    help->setStyleSheet(QStringLiteral("color: blue;"));
    help->setCursor(Qt::PointingHandCursor);
    connect(help, &ClickableLabel::clicked, this, [this] {
        m_services.ui().alert(
            QStringLiteral("The excel file should be:\r  1、the first row must be the column "
                           "title(for example: InBankAcct...)\r  2、the first row should not "
                           "have any NULL-column before the last column."),
            QStringLiteral("提示"));
    });
    l->addWidget(btBrowse);
    l->addWidget(ed_file, 1);
    l->addWidget(help);
    return group;
}

QWidget *TfrmImportMatchCDHP::buildMatching()
{
    auto *group = new QGroupBox(QStringLiteral("第2步: Excel列与系统列匹配"), this);
    auto *grid = new QGridLayout(group);
    const auto &items = DraftImport::items();
    const int half = int((items.size() + 1) / 2);
    for (int side = 0; side < 2; ++side)
        grid->addWidget(new QLabel(QStringLiteral("系统列名<--对应-->Excel列标题"), group), 0,
                        side * 2, 1, 2);
    for (int i = 0; i < items.size(); ++i) {
        auto *label = new QLabel(QString::fromUtf8(items[i].label), group);
        const QString column = QString::fromUtf8(items[i].column);
        if (column == u"金额" || column == u"承兑协议号" || column == u"批打分组")
            label->setStyleSheet(QStringLiteral("font-weight: bold;"));
        auto *box = new QComboBox(group);
        box->setObjectName(QString::fromLatin1(items[i].list));
        box->setMinimumWidth(180);
        m_lists << box;
        const int side = i < half ? 0 : 1;
        const int row = 1 + (i < half ? i : i - half);
        grid->addWidget(label, row, side * 2);
        grid->addWidget(box, row, side * 2 + 1);
    }
    return group;
}

void TfrmImportMatchCDHP::btBrowseClick()
{
    const QString path = m_services.ui().chooseOpenFile(
        QStringLiteral("选择Excel文件"), Spreadsheets::readableFilter(), ed_file->text());
    if (!path.isEmpty())
        chooseFile(path);
}

bool TfrmImportMatchCDHP::openFile()
{
    QString error;
    ReadingDialog reading(QStringLiteral("正在读取文件，请稍候……"), this);
    m_sheet = m_services.spreadsheets().open(ed_file->text().trimmed(), error, reading.progress());
    reading.hide();
    if (!m_sheet && !reading.aborted())
        m_services.ui().alert(kCannotOpen + u'\n' + error, QStringLiteral("确认"));
    return bool(m_sheet);
}

void TfrmImportMatchCDHP::chooseFile(const QString &path)
{
    if (path == ed_file->text())
        return;
    ed_file->setText(path);
    ed_file->setToolTip(path);
    btLog->setEnabled(false);
    btStart->setEnabled(!path.trimmed().isEmpty());
    for (QComboBox *box : m_lists)
        box->clear();
    if (!openFile())
        return;
    const QStringList entries = DraftImport::titleEntries(*m_sheet);
    for (QComboBox *box : m_lists) {
        box->addItem(QString());
        box->addItems(entries);
    }
    const QList<int> columns = DraftImport::autoMatch(entries);
    for (int i = 0; i < m_lists.size(); ++i)
        for (int e = 0; e < entries.size(); ++e)
            if (DraftImport::entryColumn(entries[e]) == columns[i])
                m_lists[i]->setCurrentIndex(e + 1);
    lblResult->setText(QStringLiteral("请检查匹配数据列,全称和联系人为必选项！"));
}

void TfrmImportMatchCDHP::btStartClick()
{
    if (isBusy())
        return;
    QList<int> columns;
    for (QComboBox *box : m_lists)
        columns << (box->currentText().isEmpty() ? -1
                                                 : DraftImport::entryColumn(box->currentText()));
    if (!m_sheet && !openFile())
        return;
    m_log = std::make_unique<ImportLog>(m_services.getRunPath());
    // The rows come from the first worksheet, as do the titles when the file was opened there.
    const bool logged = m_log->start();
    if (!logged || (m_sheet->activeSheet() != 0 && !m_sheet->activate(0))) {
        m_services.ui().error(logged ? m_sheet->error() : u"不能写入导入日志：" + m_log->path());
        m_sheet.reset(); // the next import opens the file again
        lblResult->setText(QStringLiteral("导入结束！"));
        btLog->setEnabled(true);
        return;
    }
    lblResult->setText(QStringLiteral("数据文件有效！"));
    m_run = std::make_unique<DraftImportRun>(m_services.database(), *m_sheet, columns, *m_log);
    m_progress->setRange(0, std::max(1, m_run->total()));
    m_progress->setValue(0);
    m_progress->show();
    for (QPushButton *b : {btStart, btBrowse, btLog})
        b->setEnabled(false);
    btStopIt->setEnabled(true);
    QTimer::singleShot(0, this, &TfrmImportMatchCDHP::importNextChunk);
}

void TfrmImportMatchCDHP::importNextChunk()
{
    if (!m_run)
        return;
    const DraftImportRun::State state = m_run->step(kChunkRows);
    m_progress->setValue(m_run->done());
    lblResult->setText(QStringLiteral("正在导入：已处理 %1 / %2 行，已导入 %3 条。")
                           .arg(m_run->done())
                           .arg(m_run->total())
                           .arg(m_run->imported()));
    if (state == DraftImportRun::State::Running)
        QTimer::singleShot(0, this, &TfrmImportMatchCDHP::importNextChunk);
    else
        importEnded();
}

void TfrmImportMatchCDHP::importEnded()
{
    Ui &ui = m_services.ui();
    if (m_run->state() == DraftImportRun::State::Failed) {
        ui.error(u"导入出错，本批数据未保存：" + m_run->failure());
        m_sheet.reset(); // the next import opens the file again
    }
    const QString summary = m_run->summary();
    m_log->info(QStringLiteral("MessageInfo"), summary);
    if (!m_log->finish())
        ui.warn(u"导入日志未能写入：" + m_log->path(), QStringLiteral("提示"));
    m_run.reset();
    m_progress->hide();
    btStopIt->setEnabled(false);
    for (QPushButton *b : {btStart, btBrowse, btLog})
        b->setEnabled(true);
    lblResult->setText(summary);
    ui.alert(summary, QStringLiteral("导入结束"));
}

void TfrmImportMatchCDHP::btStopItClick()
{
    if (m_run)
        m_run->stop();
    btStopIt->setEnabled(false);
}

void TfrmImportMatchCDHP::reject()
{
    // Rows are stored chunk by chunk; closing mid-way would leave the clerk without a summary.
    if (isBusy()) {
        m_services.ui().alert(QStringLiteral("正在导入，请先点击“中止导入”。"),
                              QStringLiteral("提示"));
        return;
    }
    QDialog::reject();
}

void TfrmImportMatchCDHP::btLogClick()
{
    ImportLogView::open(m_services, this);
}
