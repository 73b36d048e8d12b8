#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/foundation/LBroadcaster.h"
#include "model/foundation/LListener.h"

namespace ch {
namespace {

// Records what reaches it into a shared log and runs an optional reaction.
class Recorder : public LListener {
public:
    Recorder(std::string name, std::vector<std::string>& log) : mName(std::move(name)), mLog(log) {}

    void ListenToMessage(MessageT message, void*) override
    {
        mLog.push_back(mName + ":" + std::to_string(message));
        if (mReaction) mReaction(message);
    }

    std::function<void(MessageT)> mReaction;

private:
    std::string mName;
    std::vector<std::string>& mLog;
};

using Log = std::vector<std::string>;

TEST(LBroadcaster, RegistersOnceOnBothSides)
{
    Log log;
    LBroadcaster broadcaster;
    Recorder a("a", log);
    broadcaster.AddListener(&a);
    broadcaster.AddListener(&a);
    EXPECT_TRUE(broadcaster.HasListener(&a));
    EXPECT_TRUE(a.HasBroadcaster(&broadcaster));
    broadcaster.BroadcastMessage(msg::kNameChanged);
    EXPECT_EQ(log, (Log{"a:2001"}));

    broadcaster.RemoveListener(&a);
    EXPECT_FALSE(broadcaster.HasListener(&a));
    EXPECT_FALSE(a.HasBroadcaster(&broadcaster));
    broadcaster.RemoveListener(&a);  // not registered: nothing happens
    broadcaster.BroadcastMessage(msg::kNameChanged);
    EXPECT_EQ(log.size(), 1u);
}

TEST(LBroadcaster, FlagsSilenceBroadcasterOrOneListener)
{
    Log log;
    LBroadcaster broadcaster;
    Recorder a("a", log), b("b", log);
    broadcaster.AddListener(&a);
    broadcaster.AddListener(&b);

    broadcaster.StopBroadcasting();
    broadcaster.BroadcastMessage(msg::kBalanceChanged);
    EXPECT_TRUE(log.empty());

    broadcaster.StartBroadcasting();
    a.StopListening();
    broadcaster.BroadcastMessage(msg::kBalanceChanged);
    EXPECT_EQ(log, (Log{"b:2004"}));
    EXPECT_TRUE(broadcaster.HasListener(&a)) << "a silent listener stays registered";
}

TEST(LBroadcaster, ListenersMayComeAndGoDuringABroadcast)
{
    Log log;
    LBroadcaster broadcaster;
    Recorder a("a", log), b("b", log), c("c", log), late("late", log);
    auto doomed = std::make_unique<Recorder>("doomed", log);
    broadcaster.AddListener(&a);
    broadcaster.AddListener(doomed.get());
    broadcaster.AddListener(&b);
    broadcaster.AddListener(&c);

    // b removes itself, then destroys a listener already served, then registers
    // a late one: c must still be reached, and the late one too.
    b.mReaction = [&](MessageT) {
        broadcaster.RemoveListener(&b);
        doomed.reset();
        broadcaster.AddListener(&late);
    };
    broadcaster.BroadcastMessage(msg::kListChanged);
    EXPECT_EQ(log, (Log{"a:2005", "doomed:2005", "b:2005", "c:2005", "late:2005"}));

    log.clear();
    broadcaster.BroadcastMessage(msg::kListChanged);
    EXPECT_EQ(log, (Log{"a:2005", "c:2005", "late:2005"}));
}

TEST(LBroadcaster, DyingBroadcasterTellsItsListenersAndUnlinks)
{
    Log log;
    Recorder a("a", log), b("b", log);
    void* seen = nullptr;
    auto broadcaster = std::make_unique<LBroadcaster>();
    LBroadcaster* raw = broadcaster.get();
    b.mReaction = [&](MessageT message) {
        if (message == msg::kBroadcasterDied) seen = raw;
    };
    broadcaster->AddListener(&a);
    broadcaster->AddListener(&b);
    broadcaster.reset();
    EXPECT_EQ(log, (Log{"a:202", "b:202"}));
    EXPECT_EQ(seen, raw);
    EXPECT_FALSE(a.HasBroadcaster(raw));
    EXPECT_FALSE(b.HasBroadcaster(raw));
}

TEST(LBroadcaster, ListenerMayDestroyTheBroadcasterMidBroadcast)
{
    Log log;
    Recorder first("first", log), last("last", log);
    auto broadcaster = std::make_unique<LBroadcaster>();
    LBroadcaster* raw = broadcaster.get();
    broadcaster->AddListener(&first);
    broadcaster->AddListener(&last);
    first.mReaction = [&](MessageT message) {
        if (message == msg::kObjectDestroyed) broadcaster.reset();
    };
    broadcaster->BroadcastMessage(msg::kObjectDestroyed);
    // The death notice reaches everyone; the interrupted broadcast ends there.
    EXPECT_EQ(log, (Log{"first:2008", "first:202", "last:202"}));
    EXPECT_FALSE(first.HasBroadcaster(raw));
    EXPECT_FALSE(last.HasBroadcaster(raw));
}

TEST(LListener, DyingListenerLeavesEveryBroadcaster)
{
    Log log;
    LBroadcaster one, two;
    Recorder stays("stays", log);
    {
        Recorder gone("gone", log);
        one.AddListener(&gone);
        two.AddListener(&gone);
        one.AddListener(&stays);
    }
    one.BroadcastMessage(msg::kItemInserted);
    two.BroadcastMessage(msg::kItemInserted);
    EXPECT_EQ(log, (Log{"stays:2015"}));
}

TEST(LListener, ListenerMayDestroyItselfOnTheDeathNotice)
{
    // As an item's bridge does when its object goes.
    Log log;
    auto broadcaster = std::make_unique<LBroadcaster>();
    auto* self = new Recorder("self", log);
    Recorder after("after", log);
    self->mReaction = [&](MessageT message) {
        if (message == msg::kBroadcasterDied) delete self;
    };
    broadcaster->AddListener(self);
    broadcaster->AddListener(&after);
    broadcaster.reset();
    EXPECT_EQ(log, (Log{"self:202", "after:202"}));
}

TEST(LBroadcaster, CopiesStartWithoutRegistrations)
{
    Log log;
    LBroadcaster original;
    Recorder a("a", log);
    original.AddListener(&a);
    original.StopBroadcasting();
    LBroadcaster copy(original);
    EXPECT_FALSE(copy.HasListener(&a));
    EXPECT_FALSE(copy.IsBroadcasting());

    Recorder listenerCopy(a);
    EXPECT_FALSE(listenerCopy.HasBroadcaster(&original));
}

} // namespace
} // namespace ch
