#pragma once
// The dispatcher on the Qt event loop. Calls and timers run on the thread
// that made it, which must be the main thread (after the QApplication).
// Posted calls and timers still waiting when it is destroyed never run.

#include <memory>

#include "platform/core/dispatcher.h"

class QObject;

namespace ch {

class QtDispatcher final : public Dispatcher {
public:
    QtDispatcher();
    ~QtDispatcher() override;
    QtDispatcher(const QtDispatcher&) = delete;
    QtDispatcher& operator=(const QtDispatcher&) = delete;

    void post(Call call) override;
    [[nodiscard]] Subscription callAfter(Duration delay, Call call) override;
    [[nodiscard]] Subscription startRepeating(Duration interval, Call tick) override;

private:
    // Receives the posted calls and owns the timers; destroying it drops both.
    std::unique_ptr<QObject> mContext;
};

} // namespace ch
