#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <source_location>

// Closes a modal window, one that refuses (it asks about unsaved work) included, so the loop
// that shows it ends.
inline void closeModal(QWidget *window)
{
    QPointer<QWidget> w = window;
    if (w && w->isVisible())
        w->close();
    if (w && w->isVisible())
        w->hide();
}

// Answers the next modal window from inside its event loop: declare it, then do what opens
// the window. Whatever the answer does, a failed ASSERT in it included, the window is closed
// afterwards, so a broken test fails instead of hanging. A window that does not appear within
// the guard is a failure at the declaration's line, and one that appears later, or once the
// answer has failed, is closed unanswered: the test runs to its end and reports, never waits
// for the time-out. Header only: just window tests, which link the widgets, include it.
class NextModal
{
public:
    // Far beyond the time a window takes to appear on a loaded machine: a guard, not a limit.
    static constexpr int kGuardMs = 30000;

    explicit NextModal(std::function<void(QWidget *)> answer,
                       std::source_location where = std::source_location::current())
        : m_answer(std::move(answer))
        , m_before(QApplication::activeModalWidget())
        , m_deadline(kGuardMs)
        , m_where(where)
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start();
    }

    ~NextModal()
    {
        m_poll.stop();
        if (!m_answered && !m_reported)
            fail("no modal window appeared to be answered");
    }

    NextModal(const NextModal &) = delete;
    NextModal &operator=(const NextModal &) = delete;

    bool answered() const { return m_answered; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        const bool fresh = modal && modal != m_before && modal->isVisible();
        if (m_gaveUp) {
            // Whatever opens now would wait for an answer nobody gives.
            if (fresh)
                closeModal(modal);
            return;
        }
        if (fresh) {
            // Stopped first: the answer may open windows of its own, whose loops would poll
            // again.
            m_poll.stop();
            m_answered = true;
            const bool failedBefore = ::testing::Test::HasFatalFailure();
            QPointer<QWidget> window = modal;
            m_answer(modal);
            closeModal(window);
            if (!failedBefore && ::testing::Test::HasFatalFailure())
                giveUp();
            return;
        }
        if (m_deadline.hasExpired()) {
            fail("no modal window appeared within the guard");
            giveUp();
        }
    }

    void giveUp()
    {
        m_gaveUp = true;
        m_poll.start();
    }

    void fail(const char *what)
    {
        m_reported = true;
        ADD_FAILURE_AT(m_where.file_name(), int(m_where.line())) << what;
    }

    std::function<void(QWidget *)> m_answer;
    QPointer<QWidget> m_before;
    QDeadlineTimer m_deadline;
    std::source_location m_where;
    QTimer m_poll;
    bool m_answered = false;
    bool m_reported = false;
    bool m_gaveUp = false;
};
