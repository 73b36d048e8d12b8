// A business object's setter reaches the holding document's change count
// through its model root, whoever calls it; an object of no document, or a
// value set again, changes nothing.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "business/GXInvoice.h"
#include "business/GXVATPeriod.h"
#include "business_test_support.h"
#include "model/CDocAccounting.h"

namespace ch::business {
namespace {

class BusinessChangesTest : public test::BusinessTest {
protected:
    BusinessChangesTest() { document.books.root().setChangeListener(&document.books); }
    ~BusinessChangesTest() override { document.books.root().setChangeListener(nullptr); }
};

TEST_F(BusinessChangesTest, SettersOfHeldObjectsMarkTheDocument)
{
    auto period = std::make_shared<GXVATPeriod>(&document);
    auto invoice = std::make_shared<GXInvoice>(&document);
    GXVATPeriod loose;
    struct Case {
        const char* what;
        std::function<void()> change;
        bool marks;
    };
    const Case cases[] = {
        {"a period closed", [&] { period->setStatus(std::string("closed")); }, true},
        {"the same status again", [&] { period->setStatus(std::string("closed")); }, false},
        {"an invoice's payments", [&] { invoice->setPaymentTransactionIdArray(std::vector<long>{12}); }, true},
        {"an invoice blocked for reminders", [&] { invoice->setBlockedForReminders(true); }, true},
        {"a period of no document", [&] { loose.setStatus(std::string("closed")); }, false},
    };
    for (const Case& c : cases) {
        document.books.changes = 0;
        c.change();
        EXPECT_EQ(document.books.changes > 0, c.marks) << c.what;
    }
}

} // namespace
} // namespace ch::business
