#pragma once
// CListenerBridge carries the model's numbered messages to an object outside
// the model (a bridge item, a list wrapper, the document): it is registered as
// a listener with one broadcaster and hands every message on to the object to
// inform, which it does not own.
//
// When the broadcaster dies first (a list goes with the model root, message
// 202), the bridge forgets it, so that destroying the bridge later never
// reaches into freed memory.

#include "model/foundation/LBroadcaster.h"
#include "model/foundation/LListener.h"

namespace ch {

// Whatever wants the model's messages through a bridge.
class MessageReceiver {
public:
    virtual ~MessageReceiver();
    virtual void ListenToMessage(MessageT message, void* param) = 0;
};

class CListenerBridge : public LListener {
public:
    // Listening, tied to nothing; LinkObjectiveCObjectToBroadcaster ties it.
    CListenerBridge() = default;
    // Unregisters from the broadcaster (when it still lives) and every other.
    ~CListenerBridge() override;

    CListenerBridge(const CListenerBridge&) = delete;
    CListenerBridge& operator=(const CListenerBridge&) = delete;

    // Stores the broadcaster, registers with it, and stores the receiver.
    // A null broadcaster registers nothing.
    void LinkObjectiveCObjectToBroadcaster(MessageReceiver* receiver, LBroadcaster* broadcaster);
    void SetObjectToInform(MessageReceiver* receiver) { mReceiver = receiver; }

    // Hands the message to the receiver (none: swallowed). On 202 from its own
    // broadcaster it forgets the broadcaster first.
    void ListenToMessage(MessageT message, void* param) override;

    LBroadcaster* broadcaster() const { return mBroadcaster; }
    MessageReceiver* objectToInform() const { return mReceiver; }

private:
    MessageReceiver* mReceiver = nullptr;
    LBroadcaster* mBroadcaster = nullptr;
};

} // namespace ch
