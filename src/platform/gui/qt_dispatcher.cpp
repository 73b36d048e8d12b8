#include "platform/gui/qt_dispatcher.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <limits>

namespace ch {

namespace {

// QTimer counts in int milliseconds; longer intervals are held to what it takes.
int timerMilliseconds(Dispatcher::Duration d)
{
    const auto count = std::clamp<Dispatcher::Duration::rep>(d.count(), 0, std::numeric_limits<int>::max());
    return int(count);
}

Subscription stopsTimer(QTimer* timer)
{
    return Subscription([timer = QPointer<QTimer>(timer)] {
        if (timer) {
            timer->stop();
            timer->deleteLater();
        }
    });
}

} // namespace

QtDispatcher::QtDispatcher() : mContext(std::make_unique<QObject>()) {}

QtDispatcher::~QtDispatcher() = default;

void QtDispatcher::post(Call call)
{
    // A queued call to an object of the main thread runs there, in the order
    // posted from each thread.
    QMetaObject::invokeMethod(mContext.get(), std::move(call), Qt::QueuedConnection);
}

Subscription QtDispatcher::callAfter(Duration delay, Call call)
{
    if (delay <= Duration{0}) {
        // Queued behind what is already posted, as a zero timer might not be.
        auto alive = std::make_shared<std::atomic<bool>>(true);
        post([alive, call = std::move(call)] {
            if (alive->exchange(false))
                call();
        });
        return Subscription([alive] { *alive = false; });
    }
    auto* timer = new QTimer(mContext.get());
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, call = std::move(call)] {
        timer->deleteLater();
        call();
    });
    timer->start(timerMilliseconds(delay));
    return stopsTimer(timer);
}

Subscription QtDispatcher::startRepeating(Duration interval, Call tick)
{
    auto* timer = new QTimer(mContext.get());
    QObject::connect(timer, &QTimer::timeout, timer, std::move(tick));
    timer->start(std::max(timerMilliseconds(interval), 1));
    return stopsTimer(timer);
}

} // namespace ch
