#pragma once
// Named notifications, delivered synchronously to the observers of that name.
//
// There is no process-wide centre: each document owns one for its model,
// bridge and document notifications, and the application owns one for its
// own, so a notification of one document never reaches another document's
// observers.
//
// Delivery runs in subscription order over the observers present when the
// post starts. An observer that unsubscribes (or whose centre is destroyed)
// during a delivery is not called any more; one that subscribes during it is
// called from the next post on. Handlers may post. Posting belongs to the
// main thread; background work hands its results over through the Dispatcher.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <variant>
#include <vector>

#include "platform/core/observable.h"
#include "platform/core/value.h"

namespace ch {

// What a notification is about: nothing, an object (a bridge item or a
// business object), an object key, or a numeric id.
using NotificationObject =
    std::variant<std::monostate, std::shared_ptr<Observable>, std::string, std::int64_t>;

struct Notification {
    std::string name;
    NotificationObject object;
    Value userInfo; // a dictionary, or absent

    // The object as a T, or nullptr when it is not one.
    template <class T>
    std::shared_ptr<T> objectAs() const {
        if (auto p = std::get_if<std::shared_ptr<Observable>>(&object))
            return std::dynamic_pointer_cast<T>(*p);
        return nullptr;
    }
    // The object key or id, or nullptr.
    const std::string* objectKey() const { return std::get_if<std::string>(&object); }
    const std::int64_t* objectId() const { return std::get_if<std::int64_t>(&object); }
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // Calls `handler` for every notification named `name` (exact text) until
    // the returned handle is destroyed or cancelled.
    [[nodiscard]] Subscription subscribe(std::string name, Handler handler);

    void post(const Notification& notification);
    void post(std::string name, NotificationObject object = {}, Value userInfo = {});

    std::size_t observerCount(std::string_view name) const;

private:
    struct Entry {
        Handler handler;
        bool active = true;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Registry =
        std::unordered_map<std::string, std::vector<std::shared_ptr<Entry>>, Hash, std::equal_to<>>;

    std::shared_ptr<Registry> mRegistry;
    std::thread::id mOwnerThread;
};

} // namespace ch
