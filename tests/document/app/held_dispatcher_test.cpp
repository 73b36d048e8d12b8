#include "document/app/HeldDispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ch {
namespace {

using namespace std::chrono_literals;

TEST(HeldDispatcher, TimedCallsWaitUntilReleasedThenKeepTheirDelaysAndOrder)
{
    ManualDispatcher inner;
    HeldDispatcher held(inner, true);
    std::vector<std::string> ran;
    Subscription offer = held.callAfter(100ms, [&] { ran.push_back("offer"); });
    Subscription setUp = held.callAfter(0ms, [&] { ran.push_back("set-up"); });
    Subscription dropped = held.callAfter(0ms, [&] { ran.push_back("dropped"); });
    dropped.cancel();
    held.post([&] { ran.push_back("posted"); });

    inner.advance(10s);
    EXPECT_EQ(ran, std::vector<std::string>{"posted"});   // nothing timed while held

    held.release();
    inner.runDue();
    EXPECT_EQ(ran, (std::vector<std::string>{"posted", "set-up"}));
    inner.advance(100ms);
    EXPECT_EQ(ran, (std::vector<std::string>{"posted", "set-up", "offer"}));

    // Released, it schedules straight away; a cancelled handle still cancels.
    Subscription later = held.callAfter(0ms, [&] { ran.push_back("later"); });
    Subscription cancelled = held.callAfter(0ms, [&] { ran.push_back("cancelled"); });
    cancelled.cancel();
    inner.runDue();
    EXPECT_EQ(ran.back(), "later");
    EXPECT_EQ(inner.pendingCount(), 0u);
}

TEST(HeldDispatcher, WaitingCallsOfADocumentClosedUnseenNeverRun)
{
    ManualDispatcher inner;
    bool ran = false;
    Subscription handle;
    {
        HeldDispatcher held(inner, true);
        handle = held.callAfter(0ms, [&] { ran = true; });
        held.release();
    }   // gone before its loop turned
    inner.advance(1s);
    EXPECT_FALSE(ran);
    handle.cancel();   // harmless after the dispatcher went
}

} // namespace
} // namespace ch
