#include "batch/ui/TfrmImportMatchCDHP.h"

#include "app/AppServices.h"
#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/NamedWidgets.h"
#include "batch/DraftImport.h"
#include "batch/ImportLog.h"
#include "data/Spreadsheets.h"
#include "data/spreadsheet/SpreadsheetReader.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kCannotOpen = QStringLiteral("不能打开Excel文件，确认Excel软件已经安装并可用！");

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
    m_progress->hide();
    outer->addWidget(m_progress);
    auto *buttons = new QHBoxLayout;
    btStart = namedButton(this, "btStart", QStringLiteral("第3步: 开始导入(&S)   "));
    btStart->setEnabled(false);
    connect(btStart, &QPushButton::clicked, this, &TfrmImportMatchCDHP::btStartClick);
    btLog = namedButton(this, "btLog", QStringLiteral("查看导出日志(&V)"));
    btLog->setEnabled(false);
    connect(btLog, &QPushButton::clicked, this, &TfrmImportMatchCDHP::btLogClick);
    QPushButton *close = namedButton(this, "btHidden", QStringLiteral("关  闭(&X)"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton *b : {btStart, btLog, close})
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
    QPushButton *browse =
        namedButton(group, "btBrowse", QStringLiteral("第1步: 选Excel/CSV文件.."));
    connect(browse, &QPushButton::clicked, this, &TfrmImportMatchCDHP::btBrowseClick);
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
    l->addWidget(browse);
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
    m_sheet = m_services.spreadsheets().open(ed_file->text().trimmed(), error);
    if (!m_sheet)
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
    QList<int> columns;
    for (QComboBox *box : m_lists)
        columns << (box->currentText().isEmpty() ? -1
                                                 : DraftImport::entryColumn(box->currentText()));
    if (!m_sheet && !openFile())
        return;
    ImportLog log(m_services.getRunPath());
    // The rows come from the first worksheet, as do the titles when the file was opened there.
    const bool logged = log.start();
    if (!logged || (m_sheet->activeSheet() != 0 && !m_sheet->activate(0))) {
        m_services.ui().error(logged ? m_sheet->error() : u"不能写入导入日志：" + log.path());
        m_sheet.reset(); // the next import opens the file again
        lblResult->setText(QStringLiteral("导入结束！"));
        btLog->setEnabled(true);
        return;
    }
    lblResult->setText(QStringLiteral("数据文件有效！"));
    m_progress->setRange(0, m_sheet->usedRows() + 1);
    m_progress->setValue(0);
    m_progress->show();
    const DraftImport::Result result =
        DraftImport::importRows(m_services.database(), *m_sheet, columns, log,
                                [this](int row) { m_progress->setValue(row); });
    const QString summary = result.summary();
    log.info(QStringLiteral("MessageInfo"), summary);
    log.flush();
    m_progress->hide();
    btLog->setEnabled(true);
    lblResult->setText(summary);
    m_services.ui().alert(summary, QStringLiteral("导入结束"));
}

void TfrmImportMatchCDHP::btLogClick()
{
    m_services.ui().openUrl(QUrl::fromLocalFile(ImportLog::fileName(m_services.getRunPath())));
}
