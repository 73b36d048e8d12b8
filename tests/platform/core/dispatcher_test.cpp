#include "platform/core/dispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace ch {
namespace {

using namespace std::chrono_literals;

TEST(ManualDispatcher, PostedCallsRunInOrderFromAnyThread)
{
    ManualDispatcher dispatcher;
    std::vector<int> ran;
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&, w] {
            for (int i = 0; i < 100; ++i)
                dispatcher.post([&ran, w, i] { ran.push_back(w * 1000 + i); });
        });
    for (auto& t : workers)
        t.join();
    EXPECT_TRUE(ran.empty()); // nothing runs by itself
    EXPECT_EQ(dispatcher.runDue(), 400u);
    // Per thread in posting order.
    for (int w = 0; w < 4; ++w) {
        int last = -1;
        for (int v : ran)
            if (v / 1000 == w) {
                EXPECT_GT(v % 1000, last);
                last = v % 1000;
            }
        EXPECT_EQ(last, 99);
    }
}

TEST(ManualDispatcher, DelayedCallsRunWhenDueAndCanBeCancelled)
{
    ManualDispatcher dispatcher;
    std::vector<std::string> log;
    dispatcher.post([&] { log.push_back("posted"); });
    auto zero = dispatcher.callAfter(0ms, [&] {
        log.push_back("zero");
        dispatcher.post([&] { log.push_back("chained"); }); // runs in the same pass
    });
    auto later = dispatcher.callAfter(100ms, [&] { log.push_back("later"); });
    auto cancelled = dispatcher.callAfter(50ms, [&] { log.push_back("cancelled"); });

    EXPECT_EQ(dispatcher.runDue(), 3u);
    EXPECT_EQ(log, (std::vector<std::string>{"posted", "zero", "chained"}));

    cancelled = Subscription();
    EXPECT_EQ(dispatcher.pendingCount(), 1u);
    EXPECT_EQ(dispatcher.advance(99ms), 0u);
    EXPECT_EQ(dispatcher.advance(1ms), 1u);
    EXPECT_EQ(log.back(), "later");
    EXPECT_EQ(dispatcher.now(), 100ms);
    EXPECT_EQ(dispatcher.pendingCount(), 0u);
}

TEST(ManualDispatcher, RepeatingTimerTicksPerIntervalUntilCancelled)
{
    ManualDispatcher dispatcher;
    std::vector<long> ticks;
    Subscription timer;
    timer = dispatcher.startRepeating(100ms, [&] {
        ticks.push_back(long(dispatcher.now().count()));
        if (dispatcher.now() == 500ms)
            timer.cancel(); // a tick may end its own timer
    });
    auto single = dispatcher.callAfter(250ms, [&] { ticks.push_back(-1); });

    EXPECT_EQ(dispatcher.advance(350ms), 4u);
    EXPECT_EQ(ticks, (std::vector<long>{100, 200, -1, 300}));
    dispatcher.advance(1000ms);
    EXPECT_EQ(ticks, (std::vector<long>{100, 200, -1, 300, 400, 500}));
    EXPECT_EQ(dispatcher.pendingCount(), 0u);

    // Destroying the handle stops a timer; a handle outliving its dispatcher is harmless.
    Subscription orphan;
    {
        ManualDispatcher gone;
        orphan = gone.startRepeating(0ms, [] {});
        EXPECT_EQ(gone.advance(3ms), 3u); // a zero interval counts as 1 ms
    }
    orphan.cancel();
}

} // namespace
} // namespace ch
