#include "bridge/CListenerBridge.h"

namespace ch {

MessageReceiver::~MessageReceiver() = default;

CListenerBridge::~CListenerBridge()
{
    StopListening();
    if (mBroadcaster) mBroadcaster->RemoveListener(this);
    mBroadcaster = nullptr;
}

void CListenerBridge::LinkObjectiveCObjectToBroadcaster(MessageReceiver* receiver,
                                                        LBroadcaster* broadcaster)
{
    mBroadcaster = broadcaster;
    if (broadcaster) broadcaster->AddListener(this);
    mReceiver = receiver;
}

void CListenerBridge::ListenToMessage(MessageT message, void* param)
{
    // The dying broadcaster unregisters us itself; keeping the pointer would
    // make our destructor call into freed memory.
    if (message == msg::kBroadcasterDied && param == mBroadcaster) mBroadcaster = nullptr;
    if (mReceiver) mReceiver->ListenToMessage(message, param);
}

} // namespace ch
