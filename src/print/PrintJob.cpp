#include "print/PrintJob.h"

#include "base/Ui.h"
#include "bills/BillValues.h"
#include "data/Database.h"
#include "print/PrintEngine.h"
#include "print/TemplateVersionStore.h"

#include <QSizeF>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString kPrompt = QStringLiteral("提示");
// The paper of a template that has no size yet, as the designer assumes it.
constexpr int kDefaultPaperWidth = 2300;
constexpr int kDefaultPaperHeight = 1270;

} // namespace

const BillPrintProfile &BillPrintProfile::of(BillKind kind)
{
    static const BillPrintProfile express{QStringLiteral("快递单"),
                                          QStringLiteral("请选择快递单的类型!"),
                                          QStringLiteral("zdSKR"),
                                          QStringLiteral("单击我或红圈选择收件人...:)"),
                                          50,
                                          false};
    static const BillPrintProfile draft{QStringLiteral("承兑汇票"),
                                        QStringLiteral("请选择承兑汇票模板的类型!"),
                                        QStringLiteral("zdInComp"),
                                        QStringLiteral("单击我或红圈选择收款人...:)"),
                                        0,
                                        true};
    return kind == BillKind::ExpressSlip ? express : draft;
}

PrintJob::PrintJob(PrintEngine &engine, BillKind kind)
    : m_engine(engine)
    , m_profile(BillPrintProfile::of(kind))
{}

PrintJob::~PrintJob()
{
    // A form closed in the middle of a job: its half document never prints.
    if (m_documentOpen)
        m_engine.device().abortDocument();
}

bool PrintJob::ready() const
{
    return m_engine.context().printReady;
}

bool PrintJob::printersInstalled()
{
    m_engine.context().printReady = false;
    m_engine.forgetTemplateItems();
    if (!m_engine.printers().isEmpty())
        return true;
    m_engine.ui().error(QStringLiteral("你需要安装打印机才能打印！"));
    return false;
}

bool PrintJob::PrintPrepare(int checkTypeId)
{
    if (!printersInstalled())
        return false;
    const std::optional<TemplateVersion> version = readVersion(checkTypeId);
    m_firstCalibration.reset();
    return version && prepare(*version);
}

bool PrintJob::PrintPrepare(const TemplateVersion &version)
{
    if (!printersInstalled())
        return false;
    m_firstCalibration.emplace(version.printer, version.calibration);
    return prepare(version);
}

std::optional<TemplateVersion> PrintJob::readVersion(int checkTypeId)
{
    Ui &ui = m_engine.ui();
    QSqlQuery q = m_engine.database().query();
    q.prepare(QStringLiteral("select * from CKTypeTable where CheckTypeID = :id"));
    q.bindValue(QStringLiteral(":id"), checkTypeId);
    if (!q.exec()) {
        ui.alert(QStringLiteral("Err:数据库连接错误，无法取得整体打印偏移量！"), kPrompt);
        return std::nullopt;
    }
    if (!q.next()) {
        // The template's name would stand between the quotes, but there is no row to take it
        // from.
        ui.alert(QStringLiteral("Err:\"\"没有进行初始化，无法取得整体打印偏移量！"), kPrompt);
        return std::nullopt;
    }
    TemplateVersion v;
    v.checkTypeId = checkTypeId;
    v.xMove = q.value(QStringLiteral("XMove")).toInt();
    v.yMove = q.value(QStringLiteral("YMove")).toInt();
    const int width = q.value(QStringLiteral("PWidth")).toInt();
    const int height = q.value(QStringLiteral("PHeight")).toInt();
    v.paper =
        QSize(width > 0 ? width : kDefaultPaperWidth, height > 0 ? height : kDefaultPaperHeight);
    v.landscape = m_engine.getHXPaperIn(checkTypeId) == u"1";
    v.cellWidth =
        m_engine.getCellsWidth(checkTypeId, QStringLiteral("zdQY"), 36, QStringLiteral("zdBY"));
    std::optional<QHash<QString, PrintItem>> items = m_engine.readTemplateItems(checkTypeId);
    if (!items) {
        ui.error(u"读取模板的打印项目失败！\n" +
                 m_engine.database().connection().lastError().text());
        return std::nullopt;
    }
    v.items = std::move(*items);
    return v;
}

bool PrintJob::prepare(const TemplateVersion &version)
{
    m_version = version;
    CheckTypeId = version.checkTypeId;
    Xmove = version.xMove;
    Ymove = version.yMove;
    m_paper = version.paper;
    m_engine.useTemplateItems(CheckTypeId, version.items);
    loadCalibration();
    // On continuous paper each bill feeds one page: a printer that feeds a little long or short
    // is sent a page its feed turns into exactly the form, so a long batch never drifts. A
    // printer that cannot take that size keeps the paper the user set up.
    m_engine.device().setPage(
        QSizeF(m_paper.width() / 10.0, m_paper.height() / 10.0 / m_engine.calibration().pageFeed),
        version.landscape);
    m_engine.context().printReady = true;
    // Another printer chosen there brings its own calibration.
    if (m_engine.popPrinterSetup() && m_engine.PrinterConfigClick())
        loadCalibration();
    return ready();
}

void PrintJob::loadCalibration()
{
    const QString printer = m_engine.device().currentPrinter();
    if (!calibrated)
        m_version.calibration = {};
    else if (m_firstCalibration && m_firstCalibration->first == printer)
        m_version.calibration = m_firstCalibration->second;
    else
        m_version.calibration =
            PrintCalibrationStore(m_engine.database()).find(printer, CheckTypeId);
    m_version.printer = printer;
    m_engine.setCalibration(m_version.calibration);
}

int PrintJob::recordVersion(QString *error) const
{
    return TemplateVersionStore(m_engine.database()).record(m_version, error);
}

bool PrintJob::PrinterTransBegin(int copies)
{
    if (!ready())
        return false;
    copies = std::max(1, copies);
    if (m_profile.maxCopies > 0)
        copies = std::min(copies, m_profile.maxCopies);
    m_engine.device().setCopies(copies); // a printer that cannot count copies prints one
    m_engine.clearDeviceFailure();
    if (!m_engine.device().beginDocument())
        return printerFailed();
    m_documentOpen = true;
    return true;
}

bool PrintJob::SendCheckToPrinter(const ValueOf &valueOf, const QString &moneyCode)
{
    if (!ready())
        return false;
    PrintContext &context = m_engine.context();
    if (m_profile.setsMoneyCode) {
        context.moneyCode = moneyCode;
        context.cellWidth = m_version.cellWidth;
    }

    const std::optional<QList<PrintItemName>> items = printItems();
    if (!items)
        return false;
    for (const auto &[name, kind] : *items) {
        if (kind.isEmpty() || kind == u"TEXT") {
            QString value = valueOf(name);
            if (value == m_profile.receiverPrompt &&
                name.compare(m_profile.receiverField, Qt::CaseInsensitive) == 0)
                value.clear();
            value.replace(u'\n', QStringLiteral("##")).remove(u'\r');
            m_engine.printCheckItem(CheckTypeId, Xmove, Ymove, name, value, QStringLiteral("##"));
        } else if (kind == u"CHECKBOX") {
            m_engine.printCheckItem(CheckTypeId, Xmove, Ymove, name, valueOf(name), QString());
        }
        // A failing item does not stop the others; a failing printer stops the bill.
        if (m_engine.deviceFailed())
            return printerFailed();
    }
    return true;
}

bool PrintJob::SendCheckToPrinter(const BillValues &bill)
{
    return SendCheckToPrinter([&bill](const QString &name) { return bill.printed(name); },
                              bill.moneyCode());
}

std::optional<QList<PrintJob::PrintItemName>> PrintJob::printItems() const
{
    QSqlQuery q = m_engine.database().query();
    q.prepare(QStringLiteral("select CtlName, CtlType from NameDict where CheckTypeName = :kind "
                             "and PrintItem = 1 order by ShowOrd"));
    q.bindValue(QStringLiteral(":kind"), m_profile.kindName);
    if (!q.exec()) {
        // Nothing of this bill would print: not something to pass over in silence.
        m_engine.ui().error(u"读取打印项目失败！\n" + q.lastError().text());
        return std::nullopt;
    }
    QList<PrintItemName> items;
    while (q.next())
        items.append({q.value(0).toString(), q.value(1).toString().toUpper()});
    return items;
}

QStringList PrintJob::printItemNames() const
{
    QStringList names;
    for (const PrintItemName &item : printItems().value_or(QList<PrintItemName>{}))
        names.append(item.first);
    return names;
}

bool PrintJob::SendCalibrationSheet()
{
    if (!ready())
        return false;
    const auto crosses = CalibrationSheet::crosses(m_paper);
    for (int i = 0; i < CalibrationSheet::kCrosses; ++i) {
        if (!m_engine.printCross(crosses[i].x() + Xmove, crosses[i].y() + Ymove,
                                 QString::number(i + 1)))
            return printerFailed();
    }
    return true;
}

bool PrintJob::NewCheckPage()
{
    if (!ready())
        return false;
    return m_engine.device().newPage() || printerFailed();
}

bool PrintJob::PrinterTransEnd()
{
    if (!ready())
        return false;
    m_documentOpen = false;
    const bool printed = m_engine.device().endDocument();
    m_engine.context().printReady = false;
    return printed || printerFailed();
}

void PrintJob::PrinterTransAbort()
{
    if (m_documentOpen)
        m_engine.device().abortDocument();
    m_documentOpen = false;
    m_engine.context().printReady = false;
}

bool PrintJob::printerFailed()
{
    m_engine.context().printReady = false;
    if (m_documentOpen)
        m_engine.device().abortDocument();
    m_documentOpen = false;
    const QString detail = m_engine.device().errorText();
    m_engine.ui().alert(QStringLiteral("打印出错，请检查打印机是否可用！") +
                            (detail.isEmpty() ? QString() : u"\n" + detail),
                        kPrompt);
    return false;
}
