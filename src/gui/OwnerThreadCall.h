#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <atomic>
#include <type_traits>

// A window call from any thread: runs f on owner's thread and waits for it, or runs it at
// once when already there. Once off is set the call does nothing and returns R{}; it is checked
// again on the owner's thread, so a call queued just before the switch touches nothing either.
template <typename F, typename R = std::invoke_result_t<F>>
R CallOnOwnerThread(QObject* owner, const std::atomic_bool& off, F&& f) {
    if (off) return R{};
    if (QThread::currentThread() == owner->thread()) return f();
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(
            owner,
            [&] {
                if (!off) f();
            },
            Qt::BlockingQueuedConnection);
    } else {
        R result{};
        QMetaObject::invokeMethod(
            owner,
            [&] {
                if (!off) result = f();
            },
            Qt::BlockingQueuedConnection);
        return result;
    }
}
