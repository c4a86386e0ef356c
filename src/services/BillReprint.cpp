#include "services/BillReprint.h"

#include "base/Ui.h"
#include "bills/BillFormTexts.h"
#include "bills/BillStore.h"
#include "print/PrintJob.h"
#include "print/TemplateVersionStore.h"
#include "services/AppServices.h"
#include "services/TemplateBill.h"
#include "templates/Catalogue.h"

BillReprint::BillReprint(AppServices &services, BillKind kind)
    : m_services(services)
    , m_kind(kind)
{}

int BillReprint::firstVersion(int billId, QString *error) const
{
    const auto row =
        BillStore(m_services.database(), BillFormTexts::of(m_kind).table).load(billId, error);
    if (!row) {
        if (error->isEmpty())
            *error = QStringLiteral("没有这张票据（流水号 %1）").arg(billId);
        return -1;
    }
    return row->value(BillStore::versionColumn()).toInt();
}

BillReprint::Outcome BillReprint::print(int billId, Layout layout, int copies)
{
    Outcome out;
    const BillFormTexts &texts = BillFormTexts::of(m_kind);
    BillStore store(m_services.database(), texts.table);
    const auto row = store.load(billId, &out.error);
    if (!row) {
        if (out.error.isEmpty())
            out.error = QStringLiteral("没有这张票据（流水号 %1）").arg(billId);
        return out;
    }
    const int versionId = row->value(BillStore::versionColumn()).toInt();
    std::optional<TemplateVersion> version;
    if (layout == Layout::AsFirstPrinted && versionId > 0) {
        // Never today's template in its place: the clerk asked for the first print's.
        version = TemplateVersionStore(m_services.database()).load(versionId, &out.error);
        if (!version) {
            out.error = u"第一次打印时的模板读取失败：" + out.error;
            return out;
        }
    }
    const QString templateName = row->value(QStringLiteral("模板种类"));
    const int checkTypeId =
        version
            ? version->checkTypeId
            : m_services.catalogue().loadCheckTypeIDByFirstAndLastName(texts.kind, templateName);
    if (checkTypeId <= 0) {
        out.error = u"这张票据的模板“" + templateName + u"”已不存在。";
        return out;
    }

    PrintJob job(m_services.printEngine(), m_kind);
    const BillValues bill =
        TemplateBill::start(m_services, m_kind, checkTypeId, job.printItemNames())
            .reopened(*row, m_services.dictionaries());
    if (!(version ? job.PrintPrepare(*version) : job.PrintPrepare(checkTypeId))) {
        out.printerRefused = true;
        out.error = QStringLiteral("打印机没有准备好，没有打印。");
        return out;
    }
    out.sent =
        job.PrinterTransBegin(copies) && job.SendCheckToPrinter(bill) && job.PrinterTransEnd();
    if (!out.sent) {
        job.PrinterTransAbort();
        out.printerRefused = true;
        out.error = QStringLiteral("打印出错，没有送出。");
        return out;
    }
    out.asFirstPrinted = version.has_value();
    if (versionId <= 0) {
        QString why;
        const int recorded = job.recordVersion(&why);
        if (recorded <= 0 || !store.recordFirstPrint(billId, recorded, &why))
            m_services.ui().warn(u"已打印，但这次打印用的模板没有记下：" + why);
    }
    return out;
}
