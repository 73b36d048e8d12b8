#include "platform/core/notification_center.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace ch {

NotificationCenter::NotificationCenter()
    : mRegistry(std::make_shared<Registry>()), mOwnerThread(std::this_thread::get_id()) {}

NotificationCenter::~NotificationCenter() {
    // A centre destroyed by one of its own handlers (a document closing)
    // stops the delivery in progress.
    for (auto& [name, entries] : *mRegistry)
        for (auto& entry : entries)
            entry->active = false;
}

Subscription NotificationCenter::subscribe(std::string name, Handler handler) {
    auto entry = std::make_shared<Entry>();
    entry->handler = std::move(handler);
    auto& entries = (*mRegistry)[name];
    entries.push_back(entry);
    std::weak_ptr<Registry> weakRegistry = mRegistry;
    std::weak_ptr<Entry> weakEntry = entry;
    return Subscription([weakRegistry, weakEntry, name = std::move(name)] {
        auto entry = weakEntry.lock();
        if (!entry)
            return;
        entry->active = false;
        auto registry = weakRegistry.lock();
        if (!registry)
            return;
        auto it = registry->find(name);
        if (it == registry->end())
            return;
        auto& entries = it->second;
        entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
        if (entries.empty())
            registry->erase(it);
    });
}

void NotificationCenter::post(const Notification& notification) {
    assert(std::this_thread::get_id() == mOwnerThread && "notifications are posted on the main thread");
    auto it = mRegistry->find(notification.name);
    if (it == mRegistry->end())
        return;
    // Snapshot: handlers may subscribe, unsubscribe, post or destroy the centre.
    const std::vector<std::shared_ptr<Entry>> snapshot = it->second;
    for (const auto& entry : snapshot)
        if (entry->active)
            entry->handler(notification);
}

void NotificationCenter::post(std::string name, NotificationObject object, Value userInfo) {
    post(Notification{std::move(name), std::move(object), std::move(userInfo)});
}

std::size_t NotificationCenter::observerCount(std::string_view name) const {
    auto it = mRegistry->find(name);
    return it == mRegistry->end() ? 0 : it->second.size();
}

} // namespace ch
