#pragma once

#include "base/ReaderProcess.h"

#include <QProgressDialog>
#include <atomic>
#include <memory>

// The window that stands while the reader helper reads a file: how far it got, and "中止",
// which stops the helper. It shows itself when a read lasts beyond a moment and blocks the
// rest of the program meanwhile, which keeps painting.
class ReadingDialog : public QProgressDialog
{
    Q_OBJECT

public:
    ReadingDialog(const QString &label, QWidget *parent);

    // The progress to hand to the read, on this thread or another. On this thread it also
    // lets the windows paint and the button be pressed while the read waits.
    ReaderProcess::Progress progress() const;
    // Whether "中止" was pressed.
    bool aborted() const { return m_state->aborted; }
    // Once hidden, the read is over: the delayed show that may still be due does nothing, so
    // the window never comes up over the message that follows, blocking it.
    void setVisible(bool visible) override;

private:
    struct State
    {
        std::atomic<qint64> done{0};
        std::atomic<qint64> total{0};
        std::atomic_bool aborted{false};
    };
    void showState();

    std::shared_ptr<State> m_state = std::make_shared<State>();
    bool m_ended = false;
};
