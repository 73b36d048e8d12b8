#include "model/foundation/LBroadcaster.h"

#include "model/foundation/LArrayIterator.h"
#include "model/foundation/LListener.h"

namespace ch {

LBroadcaster::LBroadcaster(const LBroadcaster& other)
    : mIsBroadcasting(other.mIsBroadcasting)
{
}

LBroadcaster& LBroadcaster::operator=(const LBroadcaster& other)
{
    // Registrations belong to the object, not to its value.
    mIsBroadcasting = other.mIsBroadcasting;
    return *this;
}

LBroadcaster::~LBroadcaster()
{
    if (!HasListeners()) return;
    BroadcastMessage(msg::kBroadcasterDied, this);

    LListener* listener = nullptr;
    LArrayIterator iterator(*mListeners);
    while (iterator.Next(&listener)) listener->RemoveBroadcaster(this);
}

void LBroadcaster::AddListener(LListener* listener)
{
    if (!listener || HasListener(listener)) return;
    if (!mListeners) mListeners = std::make_unique<TArray<LListener*>>();
    mListeners->AddItem(listener);
    listener->AddBroadcaster(this);
}

void LBroadcaster::RemoveListener(LListener* listener)
{
    if (!listener) return;
    if (mListeners) mListeners->Remove(listener);
    listener->RemoveBroadcaster(this);
}

bool LBroadcaster::HasListener(LListener* listener) const
{
    return mListeners && mListeners->FetchIndexOf(listener) != 0;
}

void LBroadcaster::SendToListeners(MessageT message, void* param)
{
    // The iterator follows the list as listeners come and go during the calls.
    // When a listener destroys this broadcaster the list dies with it and the
    // iterator stops, so nothing here touches the broadcaster afterwards.
    LListener* listener = nullptr;
    LArrayIterator iterator(*mListeners);
    while (iterator.Next(&listener)) {
        if (listener->IsListening()) listener->ListenToMessage(message, param);
    }
}

} // namespace ch
