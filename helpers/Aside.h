#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <memory>
#include <type_traits>

// Runs work that reads files on a thread of the pool, so that the window's thread goes on
// handling its messages. The answer comes as a future; .then(window, ...) hands it to the window
// on its own thread, and never once the window is gone.
template <typename Work> auto runAside(Work work) -> QFuture<std::invoke_result_t<Work>>
{
    using Answer = std::invoke_result_t<Work>;
    auto promise = std::make_shared<QPromise<Answer>>();
    QFuture<Answer> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
        promise->addResult(work());
        promise->finish();
    });
    return future;
}
