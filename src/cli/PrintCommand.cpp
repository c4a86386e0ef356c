#include "cli/PrintCommand.h"

#include "cli/BillReference.h"
#include "services/TemplateBill.h"

#include "base/CurrentOperator.h"
#include "batch/BatchPrintRun.h"
#include "batch/ColumnMatch.h"
#include "batch/DraftBatchList.h"
#include "batch/DraftImport.h"
#include "batch/DraftImportRun.h"
#include "batch/DraftRowBill.h"
#include "batch/ImportLog.h"
#include "batch/ReceiverList.h"
#include "batch/ReceiverSlip.h"
#include "batch/SpreadsheetImport.h"
#include "bills/BillFormTexts.h"
#include "bills/BillStore.h"
#include "bills/StoredBill.h"
#include "data/Database.h"
#include "data/Spreadsheets.h"
#include "data/spreadsheet/SpreadsheetReader.h"
#include "parties/Dictionaries.h"
#include "print/PrintEngine.h"
#include "print/PrintJob.h"
#include "print/QtPrintDevice.h"
#include "services/AppServices.h"
#include "templates/Catalogue.h"
#include "templates/TemplateModel.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTextStream>

namespace {

const QString kSlipKind = QStringLiteral("快递单");
const QString kDraftKind = QStringLiteral("承兑汇票");
constexpr int kImportChunk = 500;

std::optional<BillKind> kindOf(const Template &t)
{
    if (t.typeFirstName == kSlipKind)
        return BillKind::ExpressSlip;
    if (t.typeFirstName == kDraftKind)
        return BillKind::AcceptanceDraft;
    return std::nullopt;
}

} // namespace

PrintCommand::PrintCommand(AppServices &services, QTextStream &out, QTextStream &err)
    : m_services(services)
    , m_out(out)
    , m_err(err)
    , m_progress(err)
{}

int PrintCommand::fail(int code, const QString &message)
{
    m_err << message << Qt::endl;
    if (m_json)
        m_out << QJsonDocument(QJsonObject{{"exit", code}, {"error", message}, {"printed", 0}})
                     .toJson(QJsonDocument::Indented)
              << Qt::flush;
    return code;
}

std::optional<Template> PrintCommand::findTemplate(const QString &text, QString *error) const
{
    const Catalogue &catalogue = m_services.catalogue();
    bool number = false;
    const int id = text.toInt(&number);
    QList<int> found;
    if (number) {
        found << id;
    } else if (const int byFullName = catalogue.loadCheckTypeIDByTypeFullName(text).toInt();
               byFullName > 0) {
        found << byFullName;
    } else {
        // The name without its kind, as the form's drop-down shows it.
        for (const QString &kind : {kSlipKind, kDraftKind})
            if (const int byName = catalogue.loadCheckTypeIDByFirstAndLastName(kind, text);
                byName > 0)
                found << byName;
    }
    if (found.size() > 1) {
        *error = u"模板名称“" + text + u"”不止一个，请用模板编号。";
        return std::nullopt;
    }
    const std::optional<Template> t =
        found.isEmpty() ? std::nullopt : catalogue.loadTemplate(found.front());
    if (!t)
        *error = u"没有这个模板：" + text;
    return t;
}

bool PrintCommand::chooseOutput(PrintEngine &engine, const QString &printer, const QString &pdf,
                                QString *error)
{
    engine.setDialogsAllowed(false);
    if (!pdf.isEmpty()) {
        engine.setDevice(QtPrintDevice::pdfFile(QFileInfo(pdf).absoluteFilePath()));
        return true;
    }
    if (!engine.printers().contains(printer)) {
        *error = u"没有这台打印机：" + printer;
        return false;
    }
    engine.setDefaultPrinter(printer);
    return true;
}

int PrintCommand::lastId(const QString &table) const
{
    QSqlQuery q = m_services.database().query();
    return q.exec(u"SELECT MAX(ID) FROM " + table) && q.next() ? q.value(0).toInt() : 0;
}

QList<int> PrintCommand::idsAfter(const QString &table, int last) const
{
    QSqlQuery q = m_services.database().query();
    q.prepare(u"SELECT ID FROM " + table + u" WHERE ID > ? ORDER BY ID");
    q.addBindValue(last);
    QList<int> ids;
    if (q.exec())
        while (q.next())
            ids << q.value(0).toInt();
    return ids;
}

bool PrintCommand::importSlips(SpreadsheetReader &sheet, const PrintRequest &request, Rows &rows,
                               QString *error)
{
    QStringList firstRow;
    for (int c = 1; c <= sheet.usedColumns(); ++c)
        firstRow << sheet.cellText(1, c);
    const std::vector<ImportItem> &items = ImportItems::of(ImportScenario::BatchList);
    const std::vector<int> columns = ColumnMatch::autoNewMatchProperty(
        ColumnMatch::titlesOf(firstRow), items,
        ColumnMatch::Rules::LoadAllConstColumnPair(m_services.database().connection()));
    bool receiver = false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (columns[i] <= 0 || items[i].column.isEmpty())
            continue;
        m_slipColumns.insert(items[i].column);
        receiver |=
            items[i].item == u"单位全称" || items[i].item == u"联系人" || items[i].item == u"地址";
    }
    if (!receiver) {
        *error = u"表格第 1 行没有收件人的列（全称、联系人或地址）：" + sheet.path();
        return false;
    }
    ImportLog log(m_services.getRunPath());
    ImportOptions options;
    options.scenario = ImportScenario::BatchList;
    options.judgeRepeated = false; // every row is a slip to print, twins included
    options.listName = u"命令行 " + QDateTime::currentDateTime().toString(Qt::ISODate);
    options.firstRow = request.fromRow;
    SpreadsheetImport import(m_services.database(), sheet, log, options, columns,
                             {[](const QString &) { return false; },
                              [this] { return stopRequested && stopRequested(); }});
    const int before = lastId(QStringLiteral("ReceiverList"));
    if (!log.start() || !import.begin(sheet.path())) {
        *error = u"不能写入导入日志：" + log.path();
        return false;
    }
    while (import.step(kImportChunk) == SpreadsheetImport::State::Running)
        ;
    log.finish();
    if (import.state() == SpreadsheetImport::State::Failed) {
        *error = u"意外导入错误,E=" + import.failure();
        return false;
    }
    rows.listTable = QStringLiteral("ReceiverList");
    rows.ids = idsAfter(rows.listTable, before);
    return true;
}

bool PrintCommand::importDrafts(SpreadsheetReader &sheet, const PrintRequest &request, Rows &rows,
                                QString *error)
{
    const QList<int> columns = DraftImport::autoMatch(DraftImport::titleEntries(sheet));
    const QList<DraftImport::Item> &items = DraftImport::items();
    for (qsizetype i = 0; i < items.size(); ++i)
        if (QString::fromUtf8(items[i].column) == u"金额" && columns[i] < 0) {
            *error = u"表格第 1 行没有金额的列：" + sheet.path();
            return false;
        }
    ImportLog log(m_services.getRunPath());
    if (!log.start()) {
        *error = u"不能写入导入日志：" + log.path();
        return false;
    }
    const QString table = QString::fromUtf8(DraftBatchList::kTable);
    const int before = lastId(table);
    DraftImportRun import(m_services.database(), sheet, columns, log, request.fromRow);
    while (import.step(kImportChunk) == DraftImportRun::State::Running)
        if (stopRequested && stopRequested())
            import.stop();
    log.finish();
    if (import.state() == DraftImportRun::State::Failed) {
        *error = u"意外导入错误,E=" + import.failure();
        return false;
    }
    rows.listTable = table;
    rows.ids = idsAfter(table, before);
    return true;
}

std::optional<PrintCommand::Rows>
PrintCommand::rowsFromSheet(const TemplateBill &start, const PrintRequest &request, QString *error)
{
    const BillKind kind = start.values.kind();
    const std::unique_ptr<SpreadsheetReader> sheet =
        m_services.spreadsheets().open(request.valuesFile, *error);
    if (!sheet)
        return std::nullopt;
    if (request.sheet != sheet->activeSheet() + 1 && !sheet->activate(request.sheet - 1)) {
        *error = QStringLiteral("没有第 %1 个工作表：%2").arg(request.sheet).arg(sheet->path());
        return std::nullopt;
    }
    Rows rows;
    const bool imported = kind == BillKind::ExpressSlip
                              ? importSlips(*sheet, request, rows, error)
                              : importDrafts(*sheet, request, rows, error);
    if (!imported)
        return std::nullopt;

    if (kind == BillKind::ExpressSlip) {
        const bool handsetShown = !start.values.isHidden(QStringLiteral("skrHandset"));
        const ExpressSlipOptions options = start.slipOptions;
        rows.build = [this, handsetShown, options](BillValues &slip, int id) {
            QString why;
            const auto row = ReceiverList(m_services.database()).row(id, &why);
            if (!row)
                return QStringLiteral("编号=%1：%2").arg(id).arg(why);
            const ReceiverSlip receiver = ReceiverSlip::of(*row, m_slipColumns, handsetShown);
            if (receiver.noReceiver)
                return QStringLiteral("编号=%1：全称、联系人和地址都是空的").arg(id);
            why = receiver.putInto(slip, options);
            return why.isEmpty() ? why : QStringLiteral("编号=%1：").arg(id) + why;
        };
    } else {
        const DraftOptions options = start.draftOptions;
        rows.build = [this, options](BillValues &draft, int id) {
            QString why;
            const auto row = DraftBatchList(m_services.database()).row(id, &why);
            if (!row)
                return QStringLiteral("第 %1 条：读取失败 %2").arg(id).arg(why);
            return putDraftRow(draft, *row, options, QDate::currentDate(),
                               m_services.dictionaries());
        };
    }
    return rows;
}

std::optional<PrintCommand::Rows> PrintCommand::rowsFromBill(const TemplateBill &start,
                                                             const QString &bill, QString *error)
{
    const std::optional<BillReference> ref = BillReference::parse(bill);
    if (!ref) {
        *error = u"--bill 要写成 " + BillReference::formatHint() + u"：" + bill;
        return std::nullopt;
    }
    if (ref->kind != start.values.kind()) {
        *error = u"票据与模板的种类不同：" + bill;
        return std::nullopt;
    }
    const int id = ref->id;
    const BillFormTexts &texts = BillFormTexts::of(ref->kind);
    QString why;
    const auto row = BillStore(m_services.database(), texts.table).load(id, &why);
    if (!row) {
        *error = why.isEmpty() ? u"没有这张票据：" + bill : why;
        return std::nullopt;
    }
    const BillValues stored = start.reopened(*row, m_services.dictionaries());
    Rows rows;
    rows.ids = {id};
    rows.build = [stored](BillValues &values, int) {
        values = stored;
        return QString();
    };
    return rows;
}

void PrintCommand::keepFirstPrint(const PrintJob &job, BillKind kind, int billId)
{
    const BillFormTexts &texts = BillFormTexts::of(kind);
    QString why;
    const int version = job.recordVersion(&why);
    if (version <= 0 ||
        !BillStore(m_services.database(), texts.table).recordFirstPrint(billId, version, &why))
        m_err << QStringLiteral("已打印，但这次打印用的模板没有记下：") << why << Qt::endl;
}

bool PrintCommand::progress(int done, int total)
{
    m_progress.show(done, total);
    return !(stopRequested && stopRequested());
}

int PrintCommand::run(const PrintRequest &request)
{
    m_json = request.json;
    QString error;
    const std::optional<Template> t = findTemplate(request.templateText, &error);
    if (!t)
        return fail(BadInput, error);
    const std::optional<BillKind> kind = kindOf(*t);
    if (!kind)
        return fail(BadInput, u"这种票据不能打印：" + t->typeName);
    m_checkTypeId = t->checkTypeId;
    if (!chooseOutput(m_services.printEngine(), request.printer, request.pdf, &error))
        return fail(PrinterRefused, error);

    PrintJob job(m_services.printEngine(), *kind);
    const TemplateBill start =
        TemplateBill::start(m_services, *kind, m_checkTypeId, job.printItemNames());
    const std::optional<Rows> rows = request.bill.isEmpty()
                                         ? rowsFromSheet(start, request, &error)
                                         : rowsFromBill(start, request.bill, &error);
    if (!rows)
        return fail(stopRequested && stopRequested() ? Stopped : BadInput, error);
    if (rows->ids.isEmpty())
        return fail(BadInput, u"表格中没有可打印的行：" + request.valuesFile);

    if (!job.PrintPrepare(m_checkTypeId))
        return fail(PrinterRefused, QStringLiteral("打印机没有准备好，没有打印任何票据。"));
    // A stored bill is printed again, not a batch: it has no list rows to record.
    const bool batch = !rows->listTable.isEmpty();
    BatchPrintRun::Outcome out;
    if (batch) {
        BatchPrintRun run(m_services.database(), m_services.printEngine(), rows->listTable,
                          CurrentOperator::name());
        out = run.run(
            job, start.values, rows->ids, rows->build,
            [this](int done, int total) { return progress(done, total); }, request.copies);
    } else {
        BillValues bill;
        rows->build(bill, rows->ids.front());
        out.planned = 1;
        out.started = job.PrinterTransBegin(request.copies);
        out.sent = out.started && job.SendCheckToPrinter(bill) && job.PrinterTransEnd();
        out.failed = !out.sent;
        if (out.sent) {
            out.printed = rows->ids;
            keepFirstPrint(job, *kind, rows->ids.front());
        } else {
            job.PrinterTransAbort();
        }
    }

    const int code = out.sent                                          ? Done
                     : out.cancelled                                   ? Stopped
                     : out.printed.isEmpty() && !out.skipped.isEmpty() ? BadInput
                                                                       : PrinterRefused;
    if (request.json) {
        QJsonArray skipped;
        for (const QString &why : std::as_const(out.skipped))
            skipped.append(why);
        QJsonObject summary{{"printed", out.sent ? int(out.printed.size()) : 0},
                            {"skipped", skipped},
                            {"copies", request.copies},
                            {"sent", out.sent},
                            {"exit", code}};
        if (batch)
            summary.insert("run", out.run);
        summary.insert("printer", request.pdf.isEmpty()
                                      ? request.printer
                                      : QFileInfo(request.pdf).absoluteFilePath());
        m_out << QJsonDocument(summary).toJson(QJsonDocument::Indented) << Qt::flush;
    } else {
        for (const QString &why : std::as_const(out.skipped))
            m_err << QStringLiteral("跳过：") << why << Qt::endl;
        if (out.sent)
            m_out << QStringLiteral("已送出 %1 张%2").arg(out.printed.size()).arg(t->typeFirstName)
                  << (batch ? QStringLiteral("，第 %1 批").arg(out.run) : QString())
                  << QStringLiteral("，跳过 %1 条。").arg(out.skipped.size()) << Qt::endl;
        else if (out.cancelled)
            m_err << QStringLiteral("已中止，打印文档已撤销，没有送出任何票据。") << Qt::endl;
        else
            m_err << QStringLiteral("没有送出任何票据。") << out.recordError << Qt::endl;
    }
    return code;
}
