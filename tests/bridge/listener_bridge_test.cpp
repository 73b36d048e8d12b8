// The listener bridge: messages reach the receiver, and either side may go
// first without a dangling pointer.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "bridge/CListenerBridge.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"

namespace ch::test {
namespace {

struct Recorder : MessageReceiver {
    void ListenToMessage(MessageT message, void*) override { messages.push_back(message); }
    std::vector<MessageT> messages;
};

TEST(ListenerBridgeTest, ForwardsMessagesToTheReceiver)
{
    CNonVisual object(3);
    Recorder recorder;
    CListenerBridge bridge;
    bridge.LinkObjectiveCObjectToBroadcaster(&recorder, &object);

    object.Put_Name("Renamed");
    bridge.SetObjectToInform(nullptr);   // without a receiver the message is swallowed
    object.Put_Name("Again");

    ASSERT_FALSE(recorder.messages.empty());
    for (MessageT message : recorder.messages) EXPECT_EQ(message, msg::kNameChanged);
}

TEST(ListenerBridgeTest, ListDestroyedBeforeTheBridgeLeavesNoDanglingPointer)
{
    auto list = std::make_unique<CNamedListArray>();
    Recorder recorder;
    auto bridge = std::make_unique<CListenerBridge>();
    bridge->LinkObjectiveCObjectToBroadcaster(&recorder, list.get());

    list.reset();   // a list sends only 202 when it goes

    EXPECT_EQ(recorder.messages.back(), msg::kBroadcasterDied);
    EXPECT_EQ(bridge->broadcaster(), nullptr);
    bridge.reset();   // must not reach the freed list (AddressSanitizer watches)
}

// A receiver that deletes its own bridge when it hears a message.
struct SelfRemovingReceiver : MessageReceiver {
    void ListenToMessage(MessageT, void*) override
    {
        ++heard;
        bridge.reset();
    }
    std::unique_ptr<CListenerBridge> bridge;
    int heard = 0;
};

TEST(ListenerBridgeTest, BridgeDeletedDuringABroadcastDoesNotStopLaterListeners)
{
    CNonVisual object(3);
    SelfRemovingReceiver first;
    first.bridge = std::make_unique<CListenerBridge>();
    first.bridge->LinkObjectiveCObjectToBroadcaster(&first, &object);
    Recorder second;
    CListenerBridge secondBridge;
    secondBridge.LinkObjectiveCObjectToBroadcaster(&second, &object);

    object.BroadcastMessage(msg::kBalanceChanged);
    object.BroadcastMessage(msg::kBalanceChanged);

    EXPECT_EQ(first.heard, 1);
    EXPECT_EQ(second.messages.size(), 2u);
}

} // namespace
} // namespace ch::test
