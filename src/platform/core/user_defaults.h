#pragma once
// Application-wide settings: defaults registered by the application at start
// plus the user's own values, which win. Values are property-list values
// (ch::Value). The user values are what gets persisted; registered defaults
// live in memory only. Safe to read from any thread.
//
// A change of a key's value (set, remove, setUserValues) is announced to the
// observers of that key, synchronously, on the thread that made it: whoever
// observes changes them on the main thread only.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/observable.h"
#include "platform/core/value.h"

namespace ch {

class UserDefaults {
public:
    UserDefaults() = default;
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // The process-wide instance. Tests replace it with ScopedUserDefaults.
    static UserDefaults& standard();

    // Adds or replaces registered defaults (never persisted).
    void registerDefaults(const Dictionary& defaults);
    void registerDefault(std::string key, Value value);

    // The user's value under the key, else the registered default, else absent.
    Value object(std::string_view key) const;
    bool contains(std::string_view key) const;

    // Typed readers with the lenient conversions of ch::Value (text by its
    // leading number, "YES"/"true" as true); 0 / false / "" when missing.
    std::int64_t integerForKey(std::string_view key) const;
    double doubleForKey(std::string_view key) const;
    bool boolForKey(std::string_view key) const;
    std::string stringForKey(std::string_view key) const;

    // Sets the user's value; an absent value removes it.
    void set(std::string key, Value value);
    // Removes the user's value, uncovering the registered default.
    void remove(std::string_view key);

    // Persistence seam: the user values as one dictionary, and replacing them
    // all (after reading the file).
    Dictionary userValues() const;
    void setUserValues(Dictionary values);

    // Counts every change of the user values, so a store can tell whether it
    // has something to write.
    std::uint64_t changeCount() const;

    // Calls `handler` with the key whenever the value under it changes (the
    // value read, not only the user's: removing a user value that equals the
    // registered default announces nothing).
    [[nodiscard]] Subscription observe(std::string key, std::function<void(const std::string& key)> handler);
    // The same for every key.
    [[nodiscard]] Subscription observeAll(std::function<void(const std::string& key)> handler);

private:
    Observable mChanges;
    mutable std::mutex mMutex;
    Dictionary mRegistered;
    Dictionary mUser;
    std::uint64_t mChangeCount = 0;
};

// While alive, UserDefaults::standard() is the given instance; restores the
// previous one on destruction.
class ScopedUserDefaults {
public:
    explicit ScopedUserDefaults(UserDefaults& replacement);
    ~ScopedUserDefaults();
    ScopedUserDefaults(const ScopedUserDefaults&) = delete;
    ScopedUserDefaults& operator=(const ScopedUserDefaults&) = delete;

private:
    UserDefaults* mPrevious;
};

// Keys of the defaults the model reads.
inline constexpr std::string_view kDestinationEncodingKey = "GXDestinationEncoding";
inline constexpr std::string_view kNumberOfDecimalsKey = "GXNumberOfDecimals";

// Registers the defaults the model relies on: "GXDestinationEncoding" = 30
// (Mac Roman) and "GXNumberOfDecimals" = 2. The application calls it at start.
void registerModelDefaults(UserDefaults& defaults);

} // namespace ch
