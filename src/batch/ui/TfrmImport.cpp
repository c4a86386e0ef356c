#include "batch/ui/TfrmImport.h"

#include "base/Ui.h"
#include "base/ui/ClickableLabel.h"
#include "base/ui/FormFace.h"
#include "base/ui/NamedWidgets.h"
#include "batch/ColumnMatch.h"
#include "batch/ImportLog.h"
#include "batch/ui/ImportLogView.h"
#include "batch/ui/TfrmImportColumnCfg.h"
#include "data/BoundQuery.h"
#include "data/Database.h"
#include "data/Settings.h"
#include "data/Spreadsheets.h"
#include "data/ui/ReadingDialog.h"
#include "services/AppServices.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kTip = QStringLiteral("提示");
const QString kAllLists = QStringLiteral("全部列表");
const QString kOurUnit = QStringLiteral("我方单位");
const QString kOtherUnit = QStringLiteral("往来单位");
const QString kUnitType = QStringLiteral("单位类型");
const QString kListBox = QStringLiteral("cbListName");
// Rows stored per transaction: few commits (each waits for the disk), yet small enough that
// the window answers between chunks within a tenth of a second.
constexpr int kChunkRows = 1000;
// Boxes per line of the matching area.
constexpr int kBoxesPerLine = 3;

QCheckBox *namedCheck(QWidget *parent, const char *name, const QString &caption, bool checked,
                      const QString &hint = {})
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setChecked(checked);
    c->setToolTip(hint);
    return c;
}

// "列3:电话" -> 3; -1 for anything else.
int columnOfEntry(const QString &text)
{
    static const QRegularExpression entry(QStringLiteral("^列(\\d+):"));
    const QRegularExpressionMatch m = entry.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

TfrmImport::TfrmImport(AppServices &services, ImportScenario scenario, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_scenario(scenario)
    , m_items(ImportItems::of(scenario))
    , m_columns(m_items.size(), -1)
    , m_autoColumns(m_items.size(), -1)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("岚砚软件-收、发件人资料导入"));
    buildLayout();
    loadSettings();
    adjustSize();
    FormFaceLoad(*this, m_services.settings().userIni());
    // Both scenarios share one remembered size, and the address book has far fewer boxes than
    // the batch list: the height follows the content, so no empty bands open between groups.
    resize(width(), sizeHint().height());
}

TfrmImport::~TfrmImport()
{
    // A file being read is given up; so is its result.
    if (m_thread) {
        m_readingDialog->cancel();
        m_thread->wait();
        delete m_thread;
    }
}

void TfrmImport::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    auto *grpCase = new QGroupBox(QStringLiteral("1、导入场景"), this);
    grpCase->setObjectName(QStringLiteral("grpCase"));
    auto *caseRow = new QHBoxLayout(grpCase);
    rdSJR = new QRadioButton(QStringLiteral("收发件人批量到地址薄"), grpCase);
    rdSJR->setObjectName(QStringLiteral("rdSJR"));
    rdMutiPrint = new QRadioButton(QStringLiteral("导入Excel导入到批量打印收件人列表"), grpCase);
    rdMutiPrint->setObjectName(QStringLiteral("rdMutiPrint"));
    (m_scenario == ImportScenario::AddressBook ? rdSJR : rdMutiPrint)->setChecked(true);
    caseRow->addWidget(rdSJR);
    caseRow->addWidget(rdMutiPrint);
    caseRow->addStretch();
    grpCase->setEnabled(false);
    layout->addWidget(grpCase);

    auto *fileRow = new QHBoxLayout;
    const QString hint = QStringLiteral("Excel的第一行必须为列名,遇空列名认为结束~");
    auto *fileLabel = namedLabel(this, "Label1", QStringLiteral("2、Excel来源："));
    fileLabel->setToolTip(hint);
    ed_file = new QLineEdit(this);
    ed_file->setObjectName(QStringLiteral("ed_file"));
    ed_file->setReadOnly(true);
    ed_file->setToolTip(hint);
    ed_file->setMinimumWidth(260);
    btBrowse = namedButton(this, "btBrowse", QStringLiteral("【浏览Excel】"));
    connect(btBrowse, &QPushButton::clicked, this, &TfrmImport::btBrowseClick);
    cboWorkSheets = new QComboBox(this);
    cboWorkSheets->setObjectName(QStringLiteral("cboWorkSheets"));
    cboWorkSheets->setMinimumWidth(120);
    connect(cboWorkSheets, &QComboBox::activated, this, &TfrmImport::sheetChosen);
    auto *formats =
        new ClickableLabel(QStringLiteral("<a href=\"#\">对Excel、CSV的格式要求?</a>"), this);
    formats->setObjectName(QStringLiteral("Label25"));
    connect(formats, &ClickableLabel::clicked, this, [this] {
        m_services.ui().alert(
            QStringLiteral(
                "Excel/csv格式要求:\n\n  1、Excel的第一行必须是标题（例如:姓名,电话什么的）;"
                "\n\n  2、Excel的第一行的标题不能含有空单元格，软件遇到空单元格就认为标题"
                "列结束;\n\n  3、Excel不能含有合并单元格。"),
            kTip);
    });
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(ed_file, 1);
    fileRow->addWidget(btBrowse);
    fileRow->addWidget(namedLabel(this, "Label2", QStringLiteral("工作表：")));
    fileRow->addWidget(cboWorkSheets);
    fileRow->addWidget(formats);
    layout->addLayout(fileRow);

    layout->addWidget(buildOptions());
    layout->addWidget(buildMatching());

    auto *buttons = new QHBoxLayout;
    btStart = namedButton(this, "btStart", QStringLiteral("4、【开始导入】(&M)"));
    btStart->setEnabled(false);
    connect(btStart, &QPushButton::clicked, this, &TfrmImport::btStartClick);
    btStopIt = namedButton(this, "btStopIt", QStringLiteral("中止导入"));
    btStopIt->setEnabled(false);
    connect(btStopIt, &QPushButton::clicked, this, &TfrmImport::btStopItClick);
    btLog = namedButton(this, "btLog", QStringLiteral("查看日志(&L)"));
    btLog->setEnabled(false);
    connect(btLog, &QPushButton::clicked, this, &TfrmImport::btLogClick);
    auto *close = namedButton(this, "btHidden", QStringLiteral("关  闭(&X)"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(btStart);
    buttons->addWidget(btStopIt);
    buttons->addStretch();
    buttons->addWidget(btLog);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setVisible(false);
    layout->addWidget(ProgressBar1);
    lblResult = namedLabel(this, "lblResult", QStringLiteral("请选择要导入的Excel文件~~~"));
    lblResult->setWordWrap(true);
    layout->addWidget(lblResult);
}

QWidget *TfrmImport::buildOptions()
{
    auto *options = new QWidget(this);
    auto *row = new QHBoxLayout(options);
    row->setContentsMargins(0, 0, 0, 0);
    auto *GroupBox1 =
        new QGroupBox(QStringLiteral("收件人重复判断依据,勾选表示选中作为判断依据之一"), options);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *criteria = new QHBoxLayout(GroupBox1);
    const bool judged = m_scenario == ImportScenario::AddressBook;
    ckName = namedCheck(GroupBox1, "ckName", QStringLiteral("单位全称"), judged);
    ckContactor = namedCheck(GroupBox1, "ckContactor", QStringLiteral("联系人"), judged);
    ckPhone = namedCheck(GroupBox1, "ckPhone", QStringLiteral("联系电话"), judged);
    ckJudgeRepeated = namedCheck(GroupBox1, "ckJudgeRepeated", QStringLiteral("判断重复"), judged);
    connect(ckJudgeRepeated, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox *c : {ckName, ckContactor, ckPhone})
            c->setChecked(on);
    });
    for (QCheckBox *c : {ckName, ckContactor, ckPhone, ckJudgeRepeated})
        criteria->addWidget(c);
    row->addWidget(GroupBox1);

    auto *more = new QGridLayout;
    ckAlert = namedCheck(options, "ckAlert", QStringLiteral("发现重复记录弹出提示确认"), false);
    ckReadLog =
        namedCheck(options, "ckReadLog", QStringLiteral("完成后自动弹出查看导入日志"), true);
    ckOrderIDOn = namedCheck(options, "ckOrderIDOn", QStringLiteral("订单号"), false,
                             QStringLiteral("确保Excel中有\"订单编号\"列才有效"));
    ckMemeberIDOn = namedCheck(options, "ckMemeberIDOn", QStringLiteral("会员名"), false,
                               QStringLiteral("确保Excel中有\"会员名\"列才有效"));
    cfgWPSFirst = namedCheck(options, "cfgWPSFirst", QStringLiteral("金山WPS Excel优先启动"), true);
    connect(ckOrderIDOn, &QCheckBox::clicked, this, [this](bool on) {
        storeSetting(QStringLiteral("ckOrderIDOn"), on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    connect(ckMemeberIDOn, &QCheckBox::clicked, this, [this](bool on) {
        storeSetting(QStringLiteral("ckMemeberIDOn"),
                     on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    connect(cfgWPSFirst, &QCheckBox::clicked, this, [this](bool on) {
        storeSetting(QStringLiteral("MS EXCEL FIRST"),
                     on ? QStringLiteral("0") : QStringLiteral("1"));
    });
    more->addWidget(ckAlert, 0, 0);
    more->addWidget(ckReadLog, 1, 0);
    more->addWidget(ckOrderIDOn, 0, 1);
    more->addWidget(ckMemeberIDOn, 1, 1);
    more->addWidget(cfgWPSFirst, 0, 2);
    row->addLayout(more);
    row->addStretch();
    return options;
}

void TfrmImport::addBoxes(QWidget *parent, size_t from, size_t to)
{
    auto *grid = new QGridLayout;
    int at = 0;
    for (size_t i = from; i < to; ++i) {
        const ImportItem &item = m_items[i];
        if (item.box.isEmpty())
            continue;
        auto *label = new QLabel(item.label, parent);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *box = new QComboBox(parent);
        box->setObjectName(item.box);
        box->setMinimumWidth(150);
        box->setEditable(item.box == kListBox);
        label->setBuddy(box);
        m_boxes.insert(item.item, box);
        grid->addWidget(label, at / kBoxesPerLine, 2 * (at % kBoxesPerLine));
        grid->addWidget(box, at / kBoxesPerLine, 2 * (at % kBoxesPerLine) + 1);
        ++at;
    }
    static_cast<QBoxLayout *>(parent->layout())->addLayout(grid);
}

QWidget *TfrmImport::buildMatching()
{
    auto *GroupBox3 = new QGroupBox(QStringLiteral("3、匹配Excel列"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    auto *layout = new QVBoxLayout(GroupBox3);
    constexpr size_t kCommon = 13;
    addBoxes(GroupBox3, 0, kCommon);

    const bool book = m_scenario == ImportScenario::AddressBook;
    grpAddr = new QGroupBox(QStringLiteral("地址薄-专有项目"), GroupBox3);
    grpAddr->setObjectName(QStringLiteral("grpAddr"));
    grpMutiPrint = new QGroupBox(QStringLiteral("批量打印-专有项目"), GroupBox3);
    grpMutiPrint->setObjectName(QStringLiteral("grpMutiPrint"));
    QGroupBox *own = book ? grpAddr : grpMutiPrint;
    new QVBoxLayout(own);
    addBoxes(own, kCommon, m_items.size());
    (book ? grpMutiPrint : grpAddr)->setVisible(false);
    layout->addWidget(grpAddr);
    layout->addWidget(grpMutiPrint);

    if (book) {
        ckFixACCType = namedCheck(grpAddr, "ckFixACCType", QStringLiteral("固定"), false,
                                  QStringLiteral("勾选后所有记录使用同一单位类型"));
        connect(ckFixACCType, &QCheckBox::toggled, this, &TfrmImport::applyFixedUnitType);
        static_cast<QBoxLayout *>(grpAddr->layout())->addWidget(ckFixACCType);
    } else {
        // Rows without a group column go into the list chosen or typed here.
        QComboBox *lists = m_boxes.value(QStringLiteral("批打分组"));
        lists->setToolTip(QStringLiteral("选择Excel列，或选择、输入批打分组名称"));
    }

    auto *btColumnCfg = namedButton(GroupBox3, "btColumnCfg", QStringLiteral("【列匹配规则】"));
    connect(btColumnCfg, &QPushButton::clicked, this, [this] {
        TfrmImportColumnCfg rules(m_services, this);
        rules.exec();
        if (m_reader)
            autoNewMatchProperty();
    });
    auto *cfgRow = new QHBoxLayout;
    cfgRow->addStretch();
    cfgRow->addWidget(btColumnCfg);
    layout->addLayout(cfgRow);
    return GroupBox3;
}

void TfrmImport::loadSettings()
{
    Settings &settings = m_services.settings();
    ckOrderIDOn->setChecked(settings.getConfigByname(QStringLiteral("ckOrderIDOn")) == u"1");
    ckMemeberIDOn->setChecked(settings.getConfigByname(QStringLiteral("ckMemeberIDOn")) == u"1");
    cfgWPSFirst->setChecked(settings.getConfigByname(QStringLiteral("MS EXCEL FIRST")) != u"1");
}

void TfrmImport::storeSetting(const QString &name, const QString &value)
{
    const QString error = m_services.settings().setConfigByname(name, value);
    if (!error.isEmpty()) {
        m_services.ui().error(u"保存设置失败：" + error);
        loadSettings();
    }
}

int TfrmImport::itemIndex(const QString &item) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].item == item)
            return int(i);
    }
    return -1;
}

void TfrmImport::btBrowseClick()
{
    const QString path = m_services.ui().chooseOpenFile(QStringLiteral("选择Excel文件"),
                                                        Spreadsheets::readableFilter());
    if (!path.isEmpty())
        openFile(path);
}

void TfrmImport::openFile(const QString &path)
{
    if (m_import)
        return;
    btLog->setEnabled(false);
    releaseFile();
    ed_file->setText(path);
    ed_file->setToolTip(path);
    const QString waiting = QStringLiteral("正在读取文件，请稍候……");
    setStatus(waiting);
    readInBackground(waiting, [path, &spreadsheets = m_services.spreadsheets()](
                                  Reading &reading, const ReaderProcess::Progress &progress) {
        reading.reader = spreadsheets.open(path, reading.error, progress);
    });
}

void TfrmImport::readInBackground(
    const QString &label, std::function<void(Reading &, const ReaderProcess::Progress &)> work)
{
    m_reading = true;
    btBrowse->setEnabled(false);
    cboWorkSheets->setEnabled(false);
    m_readingDialog = new ReadingDialog(label, this);
    auto reading = std::make_shared<Reading>();
    reading->reader = std::move(m_reader);
    m_thread = QThread::create(
        [reading, work, progress = m_readingDialog->progress()] { work(*reading, progress); });
    connect(m_thread, &QThread::finished, this, [this, reading] {
        m_thread->deleteLater();
        m_thread = nullptr;
        const bool aborted = m_readingDialog->aborted();
        delete m_readingDialog;
        m_readingDialog = nullptr;
        m_reading = false;
        btBrowse->setEnabled(true);
        cboWorkSheets->setEnabled(true);
        m_reader = std::move(reading->reader);
        if (!aborted) {
            fileRead(reading->error);
        } else if (m_reader) {
            fileRead({}); // the sheet read before stays
        } else {
            releaseFile();
            ed_file->clear();
            setStatus(QStringLiteral("已中止读取文件。"));
        }
    });
    m_thread->start();
}

void TfrmImport::fileRead(const QString &error)
{
    if (!m_reader) {
        m_services.ui().warn(u"EXCEL导入错误," + error, kTip);
        releaseFile();
        setStatus(u"EXCEL导入错误," + error);
        return;
    }
    if (!error.isEmpty())
        m_services.ui().warn(u"EXCEL导入错误," + error, kTip);
    {
        const QSignalBlocker block(cboWorkSheets);
        cboWorkSheets->clear();
        cboWorkSheets->addItems(m_reader->sheetNames());
        cboWorkSheets->setCurrentIndex(m_reader->activeSheet());
    }
    fillColumnLists();
    if (m_titles.isEmpty()) {
        const QString text = u"Excel的[" + cboWorkSheets->currentText() +
                             u"]没有可识别的列(表格第一行必须为非空的列标题，比如：联系人,电话..)!";
        m_services.ui().warn(text, kTip);
        btStart->setEnabled(false);
        setStatus(text);
        return;
    }
    autoNewMatchProperty();
    btStart->setEnabled(true);
    setStatus(u"共有数据行：" + QString::number(std::max(0, m_reader->usedRows() - 1)) +
              u"，请检查列的匹配，然后开始导入。");
}

void TfrmImport::sheetChosen(int index)
{
    if (!m_reader || index == m_reader->activeSheet())
        return;
    btStart->setEnabled(false);
    const QString waiting = QStringLiteral("正在读取工作表，请稍候……");
    setStatus(waiting);
    readInBackground(waiting, [index](Reading &reading, const ReaderProcess::Progress &progress) {
        reading.reader->setProgress(progress);
        if (!reading.reader->activate(index))
            reading.error = reading.reader->error();
    });
}

void TfrmImport::fillColumnLists()
{
    QStringList firstRow;
    for (int c = 1; c <= m_reader->usedColumns(); ++c) {
        firstRow << m_reader->cellText(1, c);
        if (firstRow.back().trimmed().isEmpty())
            break;
    }
    m_titles = ColumnMatch::titlesOf(firstRow);
    QStringList entries{QString()};
    for (int c = 0; c < m_titles.size(); ++c)
        entries << u"列" + QString::number(c + 1) + u':' + m_titles[c];
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it) {
        QComboBox *box = it.value();
        box->clear();
        box->addItems(entries);
        if (box->objectName() != kListBox)
            continue;
        box->addItem(kAllLists);
        QSqlQuery query = m_services.database().query();
        if (query.exec(
                QStringLiteral("SELECT DISTINCT 批打分组 FROM ReceiverList ORDER BY 批打分组"))) {
            while (query.next()) {
                const QString name = query.value(0).toString().trimmed();
                if (!name.isEmpty())
                    box->addItem(name);
            }
        }
    }
}

void TfrmImport::autoNewMatchProperty()
{
    m_autoColumns = ColumnMatch::autoNewMatchProperty(
        m_titles, m_items,
        ColumnMatch::Rules::LoadAllConstColumnPair(m_services.database().connection()));
    m_columns = m_autoColumns;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (QComboBox *box = m_boxes.value(m_items[i].item))
            box->setCurrentIndex(std::max(0, m_autoColumns[i]));
    }
    applyFixedUnitType();
}

void TfrmImport::applyFixedUnitType()
{
    QComboBox *types = m_boxes.value(kUnitType);
    if (!types || !ckFixACCType)
        return;
    types->clear();
    if (ckFixACCType->isChecked()) {
        types->addItems({kOtherUnit, kOurUnit});
        return;
    }
    types->addItem(QString());
    for (int c = 0; c < m_titles.size(); ++c)
        types->addItem(u"列" + QString::number(c + 1) + u':' + m_titles[c]);
    types->setCurrentIndex(std::max(0, m_autoColumns[size_t(itemIndex(kUnitType))]));
    btReadyMatchClick();
}

void TfrmImport::btReadyMatchClick()
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        const QComboBox *box = m_boxes.value(m_items[i].item);
        if (!box)
            continue; // the order and member columns keep what the matching found
        const bool fixed =
            m_items[i].item == kUnitType && ckFixACCType && ckFixACCType->isChecked();
        m_columns[i] = fixed ? -1 : columnOfEntry(box->currentText());
    }
}

void TfrmImport::releaseFile()
{
    m_reader.reset();
    m_titles.clear();
    cboWorkSheets->clear();
    for (QComboBox *box : std::as_const(m_boxes)) {
        if (box->objectName() != kUnitType || !ckFixACCType || !ckFixACCType->isChecked())
            box->clear();
    }
    btStart->setEnabled(false);
}

void TfrmImport::btStartClick()
{
    if (!m_reader || isBusy())
        return;
    btReadyMatchClick();
    m_stop = false;
    btStopIt->setEnabled(true);
    btStart->setEnabled(false);
    m_log = std::make_unique<ImportLog>(m_services.getRunPath());
    Ui &ui = m_services.ui();
    const auto backToFileOpen = [this] {
        btStart->setEnabled(m_reader != nullptr);
        btStopIt->setEnabled(false);
    };
    if (!m_log->start()) {
        ui.error(u"意外导入错误,E=无法写入导入日志" + m_log->path());
        backToFileOpen();
        return;
    }
    if (!ckName->isChecked() && !ckContactor->isChecked() && !ckPhone->isChecked() &&
        !ui.ask(
            QStringLiteral("你未选择任何重复判断依据。这样将可能会插入重复记录。确认允许重复吗？"),
            QStringLiteral("重复匹配确认"))) {
        backToFileOpen();
        return;
    }
    setStatus(QStringLiteral("正在验证数据文件有效性！"));
    const auto column = [this](const char16_t *item) {
        return m_columns[size_t(itemIndex(QString::fromUtf16(item)))];
    };
    if (column(u"单位全称") < 0 && column(u"联系人") < 0 && column(u"地址") < 0) {
        ui.alert(QStringLiteral("收、发件单位名称、联系人、地址不能同时为空，请选择有效的Excel数据"
                                "文件并匹配项目！"),
                 kTip);
        m_boxes.value(QStringLiteral("单位全称"))->setFocus();
        releaseFile();
        btStopIt->setEnabled(false);
        return;
    }

    ImportOptions options;
    options.scenario = m_scenario;
    options.judgeRepeated = ckJudgeRepeated->isChecked();
    options.byName = ckName->isChecked();
    options.byContact = ckContactor->isChecked();
    options.byPhone = ckPhone->isChecked();
    options.askOnDuplicate = ckAlert->isChecked();
    options.orderIdToRemark = ckOrderIDOn->isChecked();
    options.memberIdToRemark = ckMemeberIDOn->isChecked();
    if (ckFixACCType) {
        options.fixedUnitType = ckFixACCType->isChecked();
        options.unitType = m_boxes.value(kUnitType)->currentText();
    } else {
        const QString list = m_boxes.value(QStringLiteral("批打分组"))->currentText().trimmed();
        if (!list.contains(u':') && list != kAllLists)
            options.listName = list;
    }
    SpreadsheetImport::Questions questions{
        [&ui](const QString &question) { return ui.ask(question, QStringLiteral("记录已经存在")); },
        [this, &ui] {
            return m_stop && ui.ask(QStringLiteral("需要中止导出操作吗？"), QStringLiteral("询问"));
        }};
    m_import = std::make_unique<SpreadsheetImport>(m_services.database(), *m_reader, *m_log,
                                                   options, m_columns, std::move(questions));
    if (!m_import->begin(ed_file->text())) {
        importEnded();
        return;
    }
    setStatus(u"数据文件有效！共有数据行：" + QString::number(m_import->total()));
    ProgressBar1->setVisible(true);
    ProgressBar1->setRange(0, std::max(1, m_import->total()));
    ProgressBar1->setValue(0);
    btBrowse->setEnabled(false);
    QTimer::singleShot(0, this, &TfrmImport::importNextChunk);
}

void TfrmImport::importNextChunk()
{
    if (!m_import)
        return;
    const SpreadsheetImport::State state = m_import->step(kChunkRows);
    ProgressBar1->setValue(m_import->done());
    setStatus(u"正在导入：已处理 " + QString::number(m_import->done()) + u" / " +
              QString::number(m_import->total()) + u" 行，已导入 " +
              QString::number(m_import->stored()) + u" 条。");
    if (state == SpreadsheetImport::State::Running)
        QTimer::singleShot(0, this, &TfrmImport::importNextChunk);
    else
        importEnded();
}

void TfrmImport::importEnded()
{
    Ui &ui = m_services.ui();
    if (m_import->state() == SpreadsheetImport::State::Failed)
        ui.error(u"意外导入错误,E=" + m_import->failure());
    if (m_import->state() == SpreadsheetImport::State::Finished)
        ProgressBar1->setValue(ProgressBar1->maximum());
    const QString summary = m_import->summary();
    m_log->info(QStringLiteral("Finish"), summary);
    if (!m_log->finish())
        ui.warn(u"导入日志未能写入：" + m_log->path(), kTip);
    if (ckReadLog->isChecked())
        ImportLogView::open(m_services, this);
    else
        ui.alert(summary, QStringLiteral("导入结束"));
    const bool stored = m_import->stored() > 0;
    m_import.reset();
    releaseFile();
    btStopIt->setEnabled(false);
    btBrowse->setEnabled(true);
    btLog->setEnabled(true);
    setStatus(summary);
    if (stored)
        Q_EMIT imported();
}

void TfrmImport::btStopItClick()
{
    m_stop = true;
    btStopIt->setEnabled(false);
    btStart->setEnabled(false);
}

void TfrmImport::btLogClick()
{
    ImportLogView::open(m_services, this);
}

void TfrmImport::setStatus(const QString &text)
{
    lblResult->setText(text);
}

void TfrmImport::closeEvent(QCloseEvent *event)
{
    // Rows are stored chunk by chunk; closing mid-way would leave the user without a summary.
    if (m_import) {
        m_services.ui().alert(QStringLiteral("正在导入，请先点击“中止导入”。"), kTip);
        event->ignore();
        return;
    }
    FormFaceSave(*this, m_services.settings().userIni());
    QDialog::closeEvent(event);
}
