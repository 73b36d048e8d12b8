#pragma once
// Change observation: an object announces that one of its keys changed, and
// whoever subscribed to it hears about it synchronously. Bridge items and
// business objects derive from Observable; tables and sheets subscribe.
//
// Subscriptions are RAII handles (Subscription). Either side may go first:
// an observer that drops its handle is never called again, even in the
// middle of a delivery, and a handle that outlives its object is harmless.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ch {

// Ends a subscription (to changes, notifications or a timer) when destroyed
// or cancelled. Move-only; a default-constructed handle holds nothing.
class Subscription {
public:
    Subscription() = default;
    // `cancel` runs once, on cancel() or destruction, whichever comes first.
    explicit Subscription(std::function<void()> cancel);
    ~Subscription();

    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    // Ends the subscription now; calling it again does nothing.
    void cancel();
    // True until cancelled (says nothing about whether the source still lives).
    bool active() const { return static_cast<bool>(mCancel); }

private:
    std::function<void()> mCancel;
};

class Observable {
public:
    // The object that changed and the key that changed.
    using ChangeHandler = std::function<void(Observable& object, const std::string& key)>;

    Observable();
    virtual ~Observable();

    // A copy is a new object: it has no observers of its own.
    Observable(const Observable&);
    Observable& operator=(const Observable&);

    // Calls `handler` for every key this object announces.
    [[nodiscard]] Subscription observe(ChangeHandler handler);
    // Calls `handler` only when `key` is announced.
    [[nodiscard]] Subscription observe(std::string key, ChangeHandler handler);

    // Tells the observers (in subscription order) that `key` changed. An
    // observer subscribed during the delivery is not called for it; one that
    // unsubscribes during it, or whose object is destroyed, is not called
    // any more.
    void announce(std::string_view key);

    std::size_t observerCount() const;

private:
    struct Entry {
        std::string key; // empty: every key
        ChangeHandler handler;
        bool active = true;
    };
    struct State {
        std::vector<std::shared_ptr<Entry>> entries;
    };

    Subscription add(std::string key, ChangeHandler handler);

    std::shared_ptr<State> mState;
};

} // namespace ch
