#include "document/app/HeldDispatcher.h"

#include <vector>

namespace ch {

HeldDispatcher::HeldDispatcher(Dispatcher& inner, bool held)
    : mInner(inner), mHeld(held), mWaiting(std::make_shared<std::map<std::uint64_t, Waiting>>())
{
}

HeldDispatcher::~HeldDispatcher()
{
    // Cancels what was scheduled; the handles find nothing left.
    mWaiting->clear();
}

Subscription HeldDispatcher::callAfter(Duration delay, Call call)
{
    if (!mHeld) return mInner.callAfter(delay, std::move(call));
    const std::uint64_t key = mNext++;
    mWaiting->emplace(key, Waiting{delay, std::move(call), {}});
    std::weak_ptr<std::map<std::uint64_t, Waiting>> waiting = mWaiting;
    return Subscription([waiting, key] {
        if (auto map = waiting.lock()) map->erase(key);
    });
}

void HeldDispatcher::release()
{
    mHeld = false;
    std::weak_ptr<std::map<std::uint64_t, Waiting>> waiting = mWaiting;
    for (auto& [key, entry] : *mWaiting) {
        if (entry.scheduled.active()) continue;
        entry.scheduled = mInner.callAfter(entry.delay, [waiting, key = key] {
            auto map = waiting.lock();
            if (!map) return;
            const auto found = map->find(key);
            if (found == map->end()) return;
            Call call = std::move(found->second.call);
            // Dropped only after the call: its own timer has fired by then.
            Subscription ownTimer = std::move(found->second.scheduled);
            map->erase(found);
            call();
        });
    }
}

} // namespace ch
