#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <source_location>

// Answers the next modal window from inside its event loop: declare it, then do what opens
// the window. Whatever the answer does, a failed ASSERT in it included, the window is closed
// afterwards, so a broken test fails instead of hanging. A window that does not appear within
// three seconds is a failure at the declaration's line. Header only: just window tests, which
// link the widgets, include it.
class NextModal
{
public:
    explicit NextModal(std::function<void(QWidget *)> answer,
                       std::source_location where = std::source_location::current())
        : m_answer(std::move(answer))
        , m_before(QApplication::activeModalWidget())
        , m_deadline(3000)
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
            fail();
    }

    NextModal(const NextModal &) = delete;
    NextModal &operator=(const NextModal &) = delete;

    bool answered() const { return m_answered; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != m_before && modal->isVisible()) {
            // Stopped first: the answer may open windows of its own, whose loops would poll
            // again.
            m_poll.stop();
            m_answered = true;
            QPointer<QWidget> window = modal;
            m_answer(modal);
            if (window && window->isVisible())
                window->close();
            // A window that refuses to close (it asks about unsaved work) still goes.
            if (window && window->isVisible())
                window->hide();
            return;
        }
        if (m_deadline.hasExpired()) {
            m_poll.stop();
            fail();
        }
    }

    void fail()
    {
        m_reported = true;
        ADD_FAILURE_AT(m_where.file_name(), int(m_where.line()))
            << "no modal window appeared to be answered";
    }

    std::function<void(QWidget *)> m_answer;
    QPointer<QWidget> m_before;
    QDeadlineTimer m_deadline;
    std::source_location m_where;
    QTimer m_poll;
    bool m_answered = false;
    bool m_reported = false;
};
