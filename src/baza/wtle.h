// Work handed to Qt's thread pool, its result read on the window's thread through a QFuture (and a QFutureWatcher).
#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <type_traits>
#include <utility>

namespace vokara {

// Runs `zadanie` on a pool thread and gives the future of its result. Whatever the task uses must outlive it (hold it
// by value or by shared_ptr): the window that asked may be gone before it ends. The pool's threads are waited for when
// the application ends.
template <typename F> auto WTle(F zadanie) -> QFuture<std::invoke_result_t<F&>>
{
    using Wynik = std::invoke_result_t<F&>;
    auto obietnica = std::make_shared<QPromise<Wynik>>();
    QFuture<Wynik> przyszla = obietnica->future();
    obietnica->start();
    QThreadPool::globalInstance()->start([obietnica, zadanie = std::move(zadanie)]() mutable {
        obietnica->addResult(zadanie());
        obietnica->finish();
    });
    return przyszla;
}

} // namespace vokara
