#pragma once
// A dispatcher that holds back a document's delayed steps until its books
// may be shown: while held, timed calls (the roll-forward offer, the
// business bookkeeping's set-up) wait; release() schedules them on the
// application's dispatcher with their delays, counted from then. Posted
// calls and repeating timers pass straight through. A handle destroyed or
// cancelled while its call waits cancels it, held or not.
//
// A document whose file asks for a password is made on a held dispatcher:
// nothing of its books is offered or shown before the password is accepted.
//
// Main thread only (post excepted, as on every dispatcher).

#include <map>
#include <memory>

#include "platform/core/dispatcher.h"

namespace ch {

class HeldDispatcher final : public Dispatcher {
public:
    explicit HeldDispatcher(Dispatcher& inner, bool held = false);
    ~HeldDispatcher() override;
    HeldDispatcher(const HeldDispatcher&) = delete;
    HeldDispatcher& operator=(const HeldDispatcher&) = delete;

    void post(Call call) override { mInner.post(std::move(call)); }
    [[nodiscard]] Subscription callAfter(Duration delay, Call call) override;
    [[nodiscard]] Subscription startRepeating(Duration interval, Call tick) override
    {
        return mInner.startRepeating(interval, std::move(tick));
    }

    bool held() const { return mHeld; }
    void hold() { mHeld = true; }
    // Schedules what waited, in the order it was asked for.
    void release();

private:
    struct Waiting {
        Duration delay;
        Call call;
        Subscription scheduled;   // once released
    };
    Dispatcher& mInner;
    bool mHeld = false;
    std::uint64_t mNext = 0;
    // Shared with the handles, so that a handle outliving this object is harmless.
    std::shared_ptr<std::map<std::uint64_t, Waiting>> mWaiting;
};

} // namespace ch
