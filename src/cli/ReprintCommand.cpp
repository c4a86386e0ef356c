#include "cli/ReprintCommand.h"

#include "bills/BillFormTexts.h"
#include "cli/BillReference.h"
#include "cli/PrintCommand.h"
#include "services/AppServices.h"
#include "services/BillReprint.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

ReprintCommand::ReprintCommand(AppServices &services, QTextStream &out, QTextStream &err)
    : m_services(services)
    , m_out(out)
    , m_err(err)
{}

int ReprintCommand::run(const ReprintRequest &request)
{
    const std::optional<BillReference> ref = BillReference::parse(request.bill);
    if (!ref)
        return finish(PrintCommand::BadInput, request, false,
                      u"--bill 要写成 " + BillReference::formatHint() + u"：" + request.bill);
    BillReprint reprint(m_services, ref->kind);
    QString error;
    const int version = reprint.firstVersion(ref->id, &error);
    if (version < 0)
        return finish(PrintCommand::BadInput, request, false, error);
    if (!PrintCommand::chooseOutput(m_services.printEngine(), request.printer, request.pdf, &error))
        return finish(PrintCommand::PrinterRefused, request, false, error);
    if (version == 0 && !request.todayTemplate)
        m_err << u"这张" + BillFormTexts::of(ref->kind).kind +
                     u"没有第一次打印时的模板记录（保存于记录之前，或从未打印），按今天的模板打印。"
              << Qt::endl;

    const BillReprint::Outcome out = reprint.print(
        ref->id,
        request.todayTemplate ? BillReprint::Layout::Today : BillReprint::Layout::AsFirstPrinted,
        request.copies);
    if (!out.sent)
        return finish(out.printerRefused ? PrintCommand::PrinterRefused : PrintCommand::BadInput,
                      request, false, out.error);
    return finish(PrintCommand::Done, request, out.asFirstPrinted, {});
}

int ReprintCommand::finish(int code, const ReprintRequest &request, bool asFirstPrinted,
                           const QString &error)
{
    const bool sent = code == PrintCommand::Done;
    const QString layout = asFirstPrinted ? QStringLiteral("first") : QStringLiteral("today");
    if (request.json) {
        QJsonObject summary{{"printed", sent ? 1 : 0}, {"exit", code}, {"bill", request.bill}};
        if (sent) {
            summary.insert("template", layout);
            summary.insert("copies", request.copies);
            summary.insert("printer", request.pdf.isEmpty()
                                          ? request.printer
                                          : QFileInfo(request.pdf).absoluteFilePath());
        } else {
            summary.insert("error", error);
        }
        m_out << QJsonDocument(summary).toJson(QJsonDocument::Indented) << Qt::flush;
    }
    if (!sent)
        m_err << error << Qt::endl;
    else if (!request.json)
        m_out << (asFirstPrinted ? QStringLiteral("已按第一次打印时的模板重复打印 ")
                                 : QStringLiteral("已按今天的模板重复打印 "))
              << request.bill << Qt::endl;
    return code;
}
