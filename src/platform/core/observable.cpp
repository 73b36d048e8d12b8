#include "platform/core/observable.h"

#include <algorithm>
#include <utility>

namespace ch {

// --- Subscription ---------------------------------------------------------

Subscription::Subscription(std::function<void()> cancel) : mCancel(std::move(cancel)) {}

Subscription::~Subscription() { cancel(); }

Subscription::Subscription(Subscription&& other) noexcept : mCancel(std::move(other.mCancel)) {
    other.mCancel = nullptr;
}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        cancel();
        mCancel = std::move(other.mCancel);
        other.mCancel = nullptr;
    }
    return *this;
}

void Subscription::cancel() {
    // Moved out first so that a cancel function that ends up here again
    // finds nothing left to do.
    auto cancelFunction = std::move(mCancel);
    mCancel = nullptr;
    if (cancelFunction)
        cancelFunction();
}

// --- Observable -----------------------------------------------------------

Observable::Observable() : mState(std::make_shared<State>()) {}

Observable::~Observable() {
    // Deliveries still running hold the entries; switching them off keeps
    // them from calling observers with a dead object.
    for (auto& entry : mState->entries)
        entry->active = false;
}

Observable::Observable(const Observable&) : mState(std::make_shared<State>()) {}

Observable& Observable::operator=(const Observable&) { return *this; }

Subscription Observable::observe(ChangeHandler handler) { return add({}, std::move(handler)); }

Subscription Observable::observe(std::string key, ChangeHandler handler) {
    return add(std::move(key), std::move(handler));
}

Subscription Observable::add(std::string key, ChangeHandler handler) {
    auto entry = std::make_shared<Entry>();
    entry->key = std::move(key);
    entry->handler = std::move(handler);
    mState->entries.push_back(entry);
    std::weak_ptr<State> weakState = mState;
    std::weak_ptr<Entry> weakEntry = entry;
    return Subscription([weakState, weakEntry] {
        auto entry = weakEntry.lock();
        if (!entry)
            return;
        entry->active = false;
        if (auto state = weakState.lock()) {
            auto& entries = state->entries;
            entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
        }
    });
}

void Observable::announce(std::string_view key) {
    // Snapshot: handlers may subscribe, unsubscribe or destroy this object.
    std::vector<std::shared_ptr<Entry>> snapshot;
    for (const auto& entry : mState->entries)
        if (entry->key.empty() || entry->key == key)
            snapshot.push_back(entry);
    if (snapshot.empty())
        return;
    const std::string keyText(key);
    for (const auto& entry : snapshot) {
        if (!entry->active)
            continue;
        entry->handler(*this, keyText);
    }
}

std::size_t Observable::observerCount() const { return mState->entries.size(); }

} // namespace ch
