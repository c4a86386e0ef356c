#pragma once

#include "NextModal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

// Watches every window test: a modal window that stays up unanswered for longer than the
// guard fails the running test and is closed, so the test ends with a message naming the
// window instead of hanging until the time-out kills the whole program.
class ModalWatch
{
public:
    static constexpr int kGuardMs = 2 * NextModal::kGuardMs;

    ModalWatch()
    {
        m_poll.setInterval(100);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start();
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal != m_current) {
            m_current = modal;
            m_since.setRemainingTime(kGuardMs);
            return;
        }
        if (!modal || !m_since.hasExpired())
            return;
        ADD_FAILURE() << "a modal window was left open unanswered: "
                      << modal->metaObject()->className() << " \""
                      << modal->windowTitle().toStdString() << "\" ("
                      << modal->objectName().toStdString() << ")";
        closeModal(modal);
        m_since.setRemainingTime(kGuardMs);
    }

    QTimer m_poll;
    QPointer<QWidget> m_current;
    QDeadlineTimer m_since;
};
