#include "data/ui/ReadingDialog.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace {

// A read shorter than this shows no window at all.
constexpr int kShowAfterMs = 400;
constexpr int kRefreshMs = 100;

} // namespace

ReadingDialog::ReadingDialog(const QString &label, QWidget *parent)
    : QProgressDialog(parent)
{
    setObjectName(QStringLiteral("ReadingDialog"));
    setWindowTitle(QStringLiteral("提示"));
    setLabelText(label);
    setWindowModality(Qt::ApplicationModal);
    setAutoReset(false);
    setAutoClose(false);
    auto *abort = new QPushButton(QStringLiteral("中止"), this);
    abort->setObjectName(QStringLiteral("btAbortRead"));
    setCancelButton(abort);
    setRange(0, 0);
    setMinimumDuration(kShowAfterMs);
    QTimer::singleShot(kShowAfterMs, this, [this] {
        if (!wasCanceled())
            show();
    });
    connect(this, &QProgressDialog::canceled, this, [state = m_state] { state->aborted = true; });
    auto *refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &ReadingDialog::showState);
    refresh->start(kRefreshMs);
}

ReaderProcess::Progress ReadingDialog::progress() const
{
    QThread *home = thread();
    return [state = m_state, home](qint64 done, qint64 total) {
        state->done = done;
        state->total = total;
        if (QThread::currentThread() == home)
            QCoreApplication::processEvents();
        return !state->aborted;
    };
}

void ReadingDialog::setVisible(bool visible)
{
    if (!visible)
        m_ended = true;
    if (visible && m_ended)
        return;
    QProgressDialog::setVisible(visible);
}

void ReadingDialog::showState()
{
    if (wasCanceled())
        return;
    const qint64 total = m_state->total;
    // Steps of the helper's own count (rows, tables), scaled to the bar's int range.
    if (total > 0) {
        setMaximum(1000);
        setValue(int(m_state->done * 1000 / total));
    }
}
