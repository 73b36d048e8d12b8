#pragma once
// LListener receives the numbered messages of the broadcasters it is
// registered with (LBroadcaster::AddListener registers both halves). A listener
// that must know when a broadcaster dies answers msg::kBroadcasterDied; the
// broadcaster is still intact at that moment.

#include "model/foundation/LArray.h"
#include "model/foundation/LBroadcaster.h"

namespace ch {

class LListener {
public:
    LListener() = default;
    // A copy starts with no broadcasters; only the listening flag is copied.
    LListener(const LListener& other);
    LListener& operator=(const LListener& other);
    // Unregisters from every broadcaster it is registered with.
    virtual ~LListener();

    // The reaction to a message; every concrete listener supplies it.
    virtual void ListenToMessage(MessageT message, void* param) = 0;

    // The listener's half of a registration; call LBroadcaster::AddListener instead.
    void AddBroadcaster(LBroadcaster* broadcaster);
    void RemoveBroadcaster(LBroadcaster* broadcaster);
    bool HasBroadcaster(LBroadcaster* broadcaster) const;

    // A listener that is not listening is skipped by broadcasts but stays registered.
    void StartListening() { mIsListening = true; }
    void StopListening() { mIsListening = false; }
    bool IsListening() const { return mIsListening; }

private:
    TArray<LBroadcaster*> mBroadcasters;
    bool mIsListening = true;
};

} // namespace ch
