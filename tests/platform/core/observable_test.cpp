#include "platform/core/observable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ch {
namespace {

struct Item : Observable {};

TEST(Observable, DeliversAllKeysOrOneKeyInSubscriptionOrder)
{
    Item item;
    std::vector<std::string> log;
    auto all = item.observe([&](Observable& o, const std::string& key) {
        EXPECT_EQ(&o, &item);
        log.push_back("all:" + key);
    });
    auto name = item.observe("getName", [&](Observable&, const std::string& key) { log.push_back("name:" + key); });

    item.announce("getName");
    item.announce("getBalance");
    EXPECT_EQ(log, (std::vector<std::string>{"all:getName", "name:getName", "all:getBalance"}));

    name.cancel();
    EXPECT_FALSE(name.active());
    item.announce("getName");
    EXPECT_EQ(log.back(), "all:getName");
    EXPECT_EQ(item.observerCount(), 1u);
}

TEST(Observable, UnsubscribingDuringDeliveryStopsLaterObservers)
{
    Item item;
    std::vector<int> calls;
    Subscription second;
    Subscription late;
    auto first = item.observe([&](Observable& o, const std::string&) {
        calls.push_back(1);
        second.cancel();
        // Joins from the next announcement on.
        if (!late.active())
            late = o.observe([&](Observable&, const std::string&) { calls.push_back(3); });
    });
    second = item.observe([&](Observable&, const std::string&) { calls.push_back(2); });

    item.announce("k");
    EXPECT_EQ(calls, (std::vector<int>{1}));
    item.announce("k");
    EXPECT_EQ(calls, (std::vector<int>{1, 1, 3}));
}

TEST(Observable, EitherSideMayDieFirst)
{
    // The object dies first: the handle is destroyed afterwards (ASan checks).
    Subscription handle;
    {
        Item item;
        handle = item.observe([](Observable&, const std::string&) {});
    }
    handle = Subscription();

    // The object dies inside a handler: no later observer sees a dead object.
    auto owned = std::make_shared<Item>();
    int laterCalls = 0;
    auto killer = owned->observe([&](Observable&, const std::string&) { owned.reset(); });
    auto later = owned->observe([&](Observable&, const std::string&) { ++laterCalls; });
    owned->announce("k");
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(laterCalls, 0);

    // Moving a handle keeps the subscription; assigning over one ends it.
    Item item;
    int calls = 0;
    Subscription a = item.observe([&](Observable&, const std::string&) { ++calls; });
    Subscription b = std::move(a);
    item.announce("k");
    b = item.observe([](Observable&, const std::string&) {});
    item.announce("k");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(item.observerCount(), 1u);
}

TEST(Observable, CopyStartsWithoutObservers)
{
    Item item;
    int calls = 0;
    auto handle = item.observe([&](Observable&, const std::string&) { ++calls; });
    Item copy = item;
    copy.announce("k");
    EXPECT_EQ(calls, 0);
    copy = item;
    EXPECT_EQ(copy.observerCount(), 0u);
    item.announce("k");
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace ch
