#include "model/foundation/LListener.h"

namespace ch {

LListener::LListener(const LListener& other)
    : mIsListening(other.mIsListening)
{
}

LListener& LListener::operator=(const LListener& other)
{
    // Registrations belong to the object, not to its value.
    mIsListening = other.mIsListening;
    return *this;
}

LListener::~LListener()
{
    // Each RemoveListener also takes the broadcaster off this list.
    LBroadcaster* broadcaster = nullptr;
    while (mBroadcasters.FetchItemAt(1, broadcaster)) broadcaster->RemoveListener(this);
}

void LListener::AddBroadcaster(LBroadcaster* broadcaster)
{
    mBroadcasters.AddItem(broadcaster);
}

void LListener::RemoveBroadcaster(LBroadcaster* broadcaster)
{
    mBroadcasters.Remove(broadcaster);
}

bool LListener::HasBroadcaster(LBroadcaster* broadcaster) const
{
    return mBroadcasters.FetchIndexOf(broadcaster) != 0;
}

} // namespace ch
