#include "batch/ui/ExpressBatchPrinter.h"

#include "bills/ui/BillForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
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

ExpressBatchPrinter::Summary ExpressBatchPrinter::summarize(const Outcome &out,
                                                            const RecordRun &record) const
{
    const QString &bills = m_options.bills;
    const int rendered = int(out.printed.size());
    Summary s;
    s.bad = true;
    if (out.sent) {
        QString error;
        const int run = record(out.printed, &error);
        s.bad = run == 0;
        s.text =
            run > 0
                ? QStringLiteral("批量打印完成：第 %1 批，共送出 %2 张%3。")
                      .arg(run)
                      .arg(rendered)
                      .arg(bills)
                : QStringLiteral("已送出 %1 张%2，但打印记录保存失败：").arg(rendered).arg(bills) +
                      error;
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

ExpressBatchPrinter::ExpressBatchPrinter(BillForm &form, Push push, QWidget *progressParent,
                                         Options options)
    : m_form(form)
    , m_push(std::move(push))
    , m_progressParent(progressParent)
    , m_options(std::move(options))
{}

ExpressBatchPrinter::Outcome ExpressBatchPrinter::run(const QList<int> &ids)
{
    Outcome out;
    out.planned = int(ids.size());
    QPointer<BillForm> form(&m_form);
    // A cancelled printer dialog prints nothing and says nothing, as for a single slip.
    if (ids.isEmpty() || !form->PrintPrepare())
        return out;
    if (!form->PrinterTransBegin(1)) {
        out.failed = true;
        return out;
    }
    out.started = true;

    QProgressDialog progress(progressText(0, out.planned), QStringLiteral("中止"), 0, out.planned,
                             m_progressParent);
    progress.setObjectName(QStringLiteral("batchProgress"));
    progress.setWindowTitle(m_options.title);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.show();
    QElapsedTimer sinceEvents;
    sinceEvents.start();

    for (int i = 0; i < ids.size(); ++i) {
        form->filling = m_options.filling;
        const QString why = m_push(*form, ids[i]);
        bool ok = true;
        if (why.isEmpty()) {
            // A new page between two slips, none after the last.
            ok = (out.printed.isEmpty() || form->NewCheckPage()) && form->SendCheckToPrinter();
            if (ok)
                out.printed << ids[i];
        } else {
            out.skipped << why;
        }
        form->filling = false;
        if (!ok) {
            out.failed = true;
            break;
        }
        const bool last = i + 1 == ids.size();
        if (last || rowDone || sinceEvents.elapsed() >= kEventsEveryMs) {
            progress.setValue(i + 1);
            progress.setLabelText(progressText(i + 1, out.planned));
            if (rowDone)
                rowDone(progress, i + 1, out.planned);
            QApplication::processEvents();
            sinceEvents.restart();
        }
        // The form closed under the batch took its document with it.
        if (!form) {
            out.failed = true;
            return out;
        }
        if (progress.wasCanceled() && !last) {
            out.cancelled = true;
            break;
        }
    }

    if (out.cancelled || out.failed || out.printed.isEmpty())
        form->PrinterTransAbort();
    else
        out.sent = form->PrinterTransEnd();
    if (!out.sent && !out.cancelled && !out.printed.isEmpty())
        out.failed = true;
    return out;
}
