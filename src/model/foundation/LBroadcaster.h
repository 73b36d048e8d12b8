#pragma once
// LBroadcaster sends numbered messages with an untyped parameter to every
// registered LListener, synchronously and in registration order. A listener may
// register or unregister listeners, or be destroyed, during a broadcast; a
// broadcaster destroyed by one of its own listeners ends its broadcast there.
// Neither side owns the other; either destructor undoes both halves of each
// registration, so no list keeps a pointer to a destroyed object.

#include <cstdint>
#include <memory>

#include "model/foundation/LArray.h"

namespace ch {

class LListener;

using MessageT = std::int32_t;

// The model's message numbers (parameter in brackets).
namespace msg {
constexpr MessageT kBroadcasterDied = 202;        // [the broadcaster] sent by every ~LBroadcaster
constexpr MessageT kNameChanged = 2001;           // name, number or description changed
constexpr MessageT kDateChanged = 2002;           // transaction date changed
constexpr MessageT kLineAmountChanged = 2003;     // amount or currency of a transaction line changed
constexpr MessageT kBalanceChanged = 2004;        // [null, or the category group from its AddTo]
constexpr MessageT kListChanged = 2005;           // list contents changed
constexpr MessageT kObjectDestroyed = 2008;       // model object destroyed
constexpr MessageT kItemInserted = 2015;          // [the object]; from a budget: its figures changed
constexpr MessageT kItemsRemoved = 2016;          // [the first removed object]
constexpr MessageT kChildTypesChanged = 2020;     // child account types or category groups changed
constexpr MessageT kChildObjectsChanged = 2021;   // reserved: answered by items, sent by no model object
constexpr MessageT kDebitLineRemoved = 2022;      // [the CDebit] from an account
constexpr MessageT kCreditLineRemoved = 2023;     // [the CCredit] from an account
constexpr MessageT kDebitLineAdded = 2024;        // [the line] to an account
constexpr MessageT kCreditLineAdded = 2025;       // [the line] to an account
constexpr MessageT kCategoryLineRemoved = 2026;   // [the CExptypeDetail] from a category
constexpr MessageT kCategoryLineAdded = 2027;     // [the line] to a category
} // namespace msg

class LBroadcaster {
public:
    LBroadcaster() = default;
    // A copy starts with no listeners; only the broadcasting flag is copied.
    LBroadcaster(const LBroadcaster& other);
    LBroadcaster& operator=(const LBroadcaster& other);
    // Broadcasts kBroadcasterDied with itself as parameter, then unregisters
    // from every listener still registered.
    virtual ~LBroadcaster();

    // Registers once: a listener already registered is ignored.
    void AddListener(LListener* listener);
    // Removes the listener's first entry and this broadcaster from the listener.
    void RemoveListener(LListener* listener);
    bool HasListener(LListener* listener) const;
    // True when anyone at all is registered.
    bool HasListeners() const { return mListeners && mListeners->GetCount() != 0; }

    // Calls ListenToMessage on every listening listener, in registration order.
    // Nothing while broadcasting is off. Most model objects have no listener
    // (none while a file is read): for them this costs a test.
    void BroadcastMessage(MessageT message, void* param = nullptr)
    {
        if (mIsBroadcasting && HasListeners()) SendToListeners(message, param);
    }

    void StartBroadcasting() { mIsBroadcasting = true; }
    void StopBroadcasting() { mIsBroadcasting = false; }
    bool IsBroadcasting() const { return mIsBroadcasting; }

private:
    void SendToListeners(MessageT message, void* param);

    // Made with the first listener: most model objects never have one.
    std::unique_ptr<TArray<LListener*>> mListeners;
    bool mIsBroadcasting = true;
};

} // namespace ch
