#include "platform/gui/qt_dispatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "qt_test_application.h"

namespace ch {
namespace {

using namespace std::chrono_literals;

TEST(QtDispatcher, CallsPostedFromAWorkerRunOnTheMainThreadInOrder)
{
    QtDispatcher dispatcher;
    std::vector<int> order;
    bool allOnMain = true;
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i)
            dispatcher.post([&, i] {
                allOnMain = allOnMain && QThread::currentThread() == qApp->thread();
                order.push_back(i);
            });
    });
    worker.join();
    EXPECT_TRUE(order.empty()); // nothing runs before the loop turns
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 50; }));
    EXPECT_TRUE(allOnMain);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[std::size_t(i)], i);
}

TEST(QtDispatcher, ZeroDelayRunsAfterWhatIsAlreadyPostedAndHandlesCancel)
{
    QtDispatcher dispatcher;
    std::vector<std::string> ran;
    dispatcher.post([&] { ran.push_back("posted"); });
    Subscription later = dispatcher.callAfter(0ms, [&] { ran.push_back("after"); });
    Subscription cancelled = dispatcher.callAfter(0ms, [&] { ran.push_back("cancelled"); });
    dispatcher.post([&] { ran.push_back("posted again"); });
    cancelled.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 3; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, (std::vector<std::string>{"posted", "after", "posted again"}));
}

TEST(QtDispatcher, DelayedCallWaitsItsDelayAndRunsOnce)
{
    QtDispatcher dispatcher;
    QElapsedTimer clock;
    clock.start();
    int calls = 0;
    qint64 firedAfter = -1;
    Subscription handle = dispatcher.callAfter(60ms, [&] {
        ++calls;
        firedAfter = clock.elapsed();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls == 1; }));
    EXPECT_GE(firedAfter, 55); // coarse timers may fire up to 5% early
    QTest::qWait(100);
    EXPECT_EQ(calls, 1);
}

TEST(QtDispatcher, DestroyingTheHandleCancelsADelayedCall)
{
    QtDispatcher dispatcher;
    bool ran = false;
    {
        Subscription handle = dispatcher.callAfter(20ms, [&] { ran = true; });
    }
    QTest::qWait(80);
    EXPECT_FALSE(ran);
}

TEST(QtDispatcher, RepeatingTimerTicksUntilCancelledEvenFromItsOwnTick)
{
    QtDispatcher dispatcher;
    int ticks = 0;
    Subscription timer;
    timer = dispatcher.startRepeating(10ms, [&] {
        if (++ticks == 3)
            timer.cancel();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }));
    QTest::qWait(60);
    EXPECT_EQ(ticks, 3);
}

TEST(QtDispatcher, NothingRunsOnceTheDispatcherIsGone)
{
    bool ran = false;
    Subscription timer;
    {
        QtDispatcher dispatcher;
        dispatcher.post([&] { ran = true; });
        timer = dispatcher.startRepeating(5ms, [&] { ran = true; });
    }
    QTest::qWait(30);
    EXPECT_FALSE(ran);
    timer.cancel(); // a handle outliving its dispatcher is harmless
}

} // namespace
} // namespace ch
