#include "platform/core/notification_center.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ch {
namespace {

struct Item : Observable {
    int id = 0;
};
struct Other : Observable {};

TEST(NotificationCenter, DeliversByExactNameInOrderWithObjectAndUserInfo)
{
    NotificationCenter center;
    std::vector<std::string> log;
    auto a = center.subscribe("CURRENCYCRETEDNOTIFICATION", [&](const Notification& n) {
        auto item = n.objectAs<Item>();
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(n.objectAs<Other>(), nullptr);
        log.push_back("a" + std::to_string(item->id) + n.userInfo["why"].toString());
    });
    auto b = center.subscribe("CURRENCYCRETEDNOTIFICATION", [&](const Notification&) { log.push_back("b"); });
    // The name spelled correctly is another notification.
    auto c = center.subscribe("CURRENCYCREATEDNOTIFICATION", [&](const Notification&) { log.push_back("c"); });

    auto item = std::make_shared<Item>();
    item->id = 7;
    center.post("CURRENCYCRETEDNOTIFICATION", item, Dictionary{{"why", "new"}});
    EXPECT_EQ(log, (std::vector<std::string>{"a7new", "b"}));

    log.clear();
    center.post("ACCOUNTDELETED", std::string("AcnT15"));
    center.post(Notification{"GXCReferenceTransactionIdShouldBeNullified", std::int64_t{42}, {}});
    EXPECT_TRUE(log.empty());
}

TEST(NotificationCenter, RemovalAndSubscriptionDuringDelivery)
{
    NotificationCenter center;
    std::vector<std::string> log;
    Subscription second;
    Subscription added;
    Subscription self;
    self = center.subscribe("N", [&](const Notification&) {
        log.push_back("self");
        self.cancel(); // ends itself while running
        second.cancel();
        added = center.subscribe("N", [&](const Notification&) { log.push_back("added"); });
    });
    second = center.subscribe("N", [&](const Notification&) { log.push_back("second"); });

    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"self"}));
    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"self", "added"}));
    EXPECT_EQ(center.observerCount("N"), 1u);
}

TEST(NotificationCenter, PostingFromAHandlerDeliversTheInnerNotificationFirst)
{
    NotificationCenter center;
    std::vector<std::string> log;
    auto outer1 = center.subscribe("WILL", [&](const Notification&) {
        log.push_back("will-1");
        center.post("DID");
    });
    auto outer2 = center.subscribe("WILL", [&](const Notification&) { log.push_back("will-2"); });
    auto inner = center.subscribe("DID", [&](const Notification&) { log.push_back("did"); });
    center.post("WILL");
    EXPECT_EQ(log, (std::vector<std::string>{"will-1", "did", "will-2"}));
}

TEST(NotificationCenter, CentresAreIndependentAndLifetimesAreSafe)
{
    // A deletion in one document must not reach another document's observers.
    NotificationCenter documentA, documentB;
    int seenByB = 0;
    auto b = documentB.subscribe("ACCOUNTDELETED", [&](const Notification&) { ++seenByB; });
    documentA.post("ACCOUNTDELETED", std::string("AcnT15"));
    EXPECT_EQ(seenByB, 0);

    // A handle outliving its centre is harmless (ASan checks).
    Subscription orphan;
    {
        NotificationCenter gone;
        orphan = gone.subscribe("N", [](const Notification&) {});
    }
    orphan.cancel();

    // A centre destroyed by one of its handlers stops the delivery.
    auto owned = std::make_unique<NotificationCenter>();
    int later = 0;
    auto closer = owned->subscribe("CLOSE", [&](const Notification&) { owned.reset(); });
    auto after = owned->subscribe("CLOSE", [&](const Notification&) { ++later; });
    owned->post("CLOSE");
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(later, 0);
}

} // namespace
} // namespace ch
