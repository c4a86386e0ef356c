#pragma once

#include <QObject>
#include <QThread>
#include <memory>
#include <type_traits>

// Runs `work` on a thread of its own and hands its answer to `done` on the thread of `owner`,
// so a window keeps painting while a server is slow to answer. When the owner is gone by then,
// the answer is dropped. `work` must not touch the owner.
template<class Work, class Done>
void inBackground(QObject *owner, Work work, Done done)
{
    auto answer = std::make_shared<std::invoke_result_t<Work>>();
    QThread *thread = QThread::create([answer, work = std::move(work)] { *answer = work(); });
    QObject::connect(thread, &QThread::finished, owner,
                     [answer, done = std::move(done)] { done(*answer); });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}
