#include "platform/core/user_defaults.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/core/text_encoding.h"

namespace ch {

namespace {

std::atomic<UserDefaults*> gReplacement{nullptr};

} // namespace

UserDefaults& UserDefaults::standard()
{
    if (UserDefaults* replacement = gReplacement.load())
        return *replacement;
    static UserDefaults instance;
    return instance;
}

void UserDefaults::registerDefaults(const Dictionary& defaults)
{
    std::lock_guard lock(mMutex);
    for (auto entry : defaults)
        mRegistered.set(entry.key, entry.value);
}

void UserDefaults::registerDefault(std::string key, Value value)
{
    std::lock_guard lock(mMutex);
    mRegistered.set(std::move(key), std::move(value));
}

Value UserDefaults::object(std::string_view key) const
{
    std::lock_guard lock(mMutex);
    if (const Value* v = mUser.find(key))
        return *v;
    if (const Value* v = mRegistered.find(key))
        return *v;
    return {};
}

bool UserDefaults::contains(std::string_view key) const
{
    std::lock_guard lock(mMutex);
    return mUser.contains(key) || mRegistered.contains(key);
}

std::int64_t UserDefaults::integerForKey(std::string_view key) const
{
    return object(key).toLong();
}

double UserDefaults::doubleForKey(std::string_view key) const
{
    return object(key).toDouble();
}

bool UserDefaults::boolForKey(std::string_view key) const
{
    return object(key).toBool();
}

std::string UserDefaults::stringForKey(std::string_view key) const
{
    Value v = object(key);
    // Containers and data have no text form.
    if (v.isString() || v.isNumber())
        return v.toString();
    return {};
}

void UserDefaults::set(std::string key, Value value)
{
    if (value.isAbsent()) {
        remove(key);
        return;
    }
    const Value before = object(key);
    const bool changed = !(before == value);
    {
        std::lock_guard lock(mMutex);
        mUser.set(key, std::move(value));
        ++mChangeCount;
    }
    // Observers run without the lock: they read the defaults.
    if (changed) mChanges.announce(key);
}

void UserDefaults::remove(std::string_view key)
{
    const Value before = object(key);
    {
        std::lock_guard lock(mMutex);
        if (!mUser.remove(key)) return;
        ++mChangeCount;
    }
    if (!(before == object(key))) mChanges.announce(key);
}

Dictionary UserDefaults::userValues() const
{
    std::lock_guard lock(mMutex);
    return mUser;
}

void UserDefaults::setUserValues(Dictionary values)
{
    std::vector<std::string> changed;
    {
        std::lock_guard lock(mMutex);
        auto effective = [this](const Dictionary& user, const std::string& key) {
            if (const Value* v = user.find(key)) return *v;
            if (const Value* v = mRegistered.find(key)) return *v;
            return Value();
        };
        for (const Dictionary* side : {&mUser, &values})
            for (auto entry : *side)
                if (std::find(changed.begin(), changed.end(), entry.key) == changed.end() &&
                    !(effective(mUser, entry.key) == effective(values, entry.key)))
                    changed.push_back(entry.key);
        mUser = std::move(values);
        ++mChangeCount;
    }
    for (const std::string& key : changed) mChanges.announce(key);
}

Subscription UserDefaults::observe(std::string key, std::function<void(const std::string& key)> handler)
{
    return mChanges.observe(std::move(key), [handler = std::move(handler)](Observable&, const std::string& key) {
        handler(key);
    });
}

Subscription UserDefaults::observeAll(std::function<void(const std::string& key)> handler)
{
    return mChanges.observe([handler = std::move(handler)](Observable&, const std::string& key) { handler(key); });
}

std::uint64_t UserDefaults::changeCount() const
{
    std::lock_guard lock(mMutex);
    return mChangeCount;
}

ScopedUserDefaults::ScopedUserDefaults(UserDefaults& replacement)
    : mPrevious(gReplacement.exchange(&replacement))
{
}

ScopedUserDefaults::~ScopedUserDefaults()
{
    gReplacement.store(mPrevious);
}

void registerModelDefaults(UserDefaults& defaults)
{
    defaults.registerDefaults(Dictionary{
        {std::string(kDestinationEncodingKey), Value(int(encoding::macRoman))},
        {std::string(kNumberOfDecimalsKey), Value(2)},
    });
}

} // namespace ch
