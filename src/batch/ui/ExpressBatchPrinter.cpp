#include "batch/ui/ExpressBatchPrinter.h"

#include "base/CurrentOperator.h"
#include "base/Ui.h"
#include "batch/BatchPrintRun.h"
#include "bills/BillValues.h"
#include "bills/ui/BillForm.h"
#include "print/PrintJob.h"
#include "services/AppServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>

namespace {

// Often enough to keep the window alive, rarely enough not to slow a large batch down.
constexpr int kEventsEveryMs = 40;

QString progressText(int done, int total)
{
    return QStringLiteral("%1 / %2").arg(done).arg(total);
}

// Skipped rows beyond this many are counted, not listed, in the summary.
constexpr int kListedReasons = 15;

// The reasons of the skipped rows for a summary, the first few listed; empty for none.
QString skippedText(const QStringList &skipped)
{
    if (skipped.isEmpty())
        return {};
    QString text = QStringLiteral("\n跳过 %1 条：\n").arg(skipped.size()) +
                   skipped.mid(0, kListedReasons).join(u'\n');
    if (skipped.size() > kListedReasons)
        text += QStringLiteral("\n……");
    return text;
}

} // namespace

bool ExpressBatchPrinter::leaveHistory(BillForm &form) const
{
    if (!form.isHistory())
        return true;
    // A reopened bill's own values (its number above all) belong to that bill alone.
    const QString &bills = m_options.bills;
    if (!m_services.ui().ask(u"表单上是调出的历史" + bills + u"（流水号 " +
                                 QString::number(form.billId()) +
                                 u"）。\n批量打印时每一张都从一张新" + bills +
                                 u"开始，再填入列表中的一条，历史单据的单号等内容不会印到" +
                                 u"批量的" + bills + u"上。\n清空为新单并开始批量打印吗？",
                             m_options.title))
        return false;
    form.btNewClick();
    return true;
}

ExpressBatchPrinter::Summary ExpressBatchPrinter::summarize(const Outcome &out) const
{
    const QString &bills = m_options.bills;
    const int rendered = int(out.printed.size());
    Summary s;
    s.bad = true;
    if (out.sent) {
        s.bad = !out.recordError.isEmpty();
        s.text = QStringLiteral("批量打印完成：第 %1 批，共送出 %2 张%3（%2 页），打印机：%4。\n"
                                "如果打印机卡纸：在【打印记录】中选第 %1 批，"
                                "“从第 N 条开始”重打卡住的那张及其后的。")
                     .arg(out.run)
                     .arg(rendered)
                     .arg(bills, out.printer);
        if (s.bad)
            s.text += u"\n打印记录没有标记为已送出：" + out.recordError;
    } else if (out.run == 0 && !out.recordError.isEmpty()) {
        s.text = u"打印记录保存失败，没有送出任何" + bills + u"：" + out.recordError;
    } else if (out.cancelled) {
        s.text =
            QStringLiteral("批量打印已中止：已排版 %1 / %2 张，打印文档已撤销，没有送出任何%3。")
                .arg(rendered)
                .arg(out.planned)
                .arg(bills);
    } else if (out.failed) {
        s.text =
            QStringLiteral("批量打印失败：打印文档已撤销，没有送出任何%3（已排版 %1 / %2 张）。")
                .arg(rendered)
                .arg(out.planned)
                .arg(bills);
    } else {
        s.text = QStringLiteral("没有可打印的%1，没有送出任何%2。").arg(m_options.rows, bills);
    }
    if (!out.skipped.isEmpty()) {
        s.text += skippedText(out.skipped);
        s.bad = true;
    }
    return s;
}

ExpressBatchPrinter::ExpressBatchPrinter(AppServices &services, BillForm &form, Push push,
                                         QWidget *progressParent, Options options)
    : m_services(services)
    , m_form(form)
    , m_push(std::move(push))
    , m_progressParent(progressParent)
    , m_options(std::move(options))
{}

bool ExpressBatchPrinter::prepare(PrintJob &job, BillValues &fixed)
{
    if (!leaveHistory(m_form))
        return false;
    fixed = m_form.values();
    if (fixed.checkTypeId() <= 0) {
        m_services.ui().alert(job.profile().chooseTemplateMessage, QStringLiteral("提示"));
        return false;
    }
    return job.PrintPrepare(fixed.checkTypeId());
}

ExpressBatchPrinter::Outcome ExpressBatchPrinter::run(const QList<int> &ids)
{
    PrintJob job(m_services.printEngine(), m_form.kind());
    BillValues fixed;
    // A cancelled printer dialog prints nothing and says nothing, as for a single slip.
    if (ids.isEmpty() || !prepare(job, fixed)) {
        Outcome out;
        out.planned = int(ids.size());
        return out;
    }

    QProgressDialog progress(progressText(0, int(ids.size())), QStringLiteral("中止"), 0,
                             int(ids.size()), m_progressParent);
    progress.setObjectName(QStringLiteral("batchProgress"));
    progress.setWindowTitle(m_options.title);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.show();
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const auto shown = [&](int done, int total) {
        if (done == total || rowDone || sinceEvents.elapsed() >= kEventsEveryMs) {
            progress.setValue(done);
            progress.setLabelText(progressText(done, total));
            if (rowDone)
                rowDone(progress, done, total);
            QApplication::processEvents();
            sinceEvents.restart();
        }
        return !progress.wasCanceled();
    };
    BatchPrintRun batch(m_services.database(), m_services.printEngine(), m_options.listTable,
                        CurrentOperator::name());
    return batch.run(job, fixed, ids, m_push, shown);
}
