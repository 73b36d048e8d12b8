#include <gtest/gtest.h>

#include "../bridge/bridge_test_support.h"
#include "bridge/CPrfRItem.h"
#include "document/BookSettings.h"
#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CPreference.h"

namespace ch::test {
namespace {

// Shares are counted as the balance of own property: the settings take no
// portfolio type of another kind, nor a holding as the account that pays.
TEST(BookSettingsTest, PortfolioSettingsKeepHoldingsAmongOwnProperty)
{
    BridgeEnvironment env;
    TestDocument doc;
    doc.addAccountType(50, 2, "Loans");
    doc.addAccountType(51, 3, "Results");
    doc.addAccountType(52, 1, "Savings");
    doc.addAccount(20, 1, "Bank");
    CCurrency* acme = doc.root().InsertStockCurrency(-1, "ACME", std::string("ACME"));
    ASSERT_NE(acme, nullptr);
    const ObjectIdT holding = acme->Get_mPortfolioAccountId();
    CPrfRItem settings(doc.root().mPreference);

    struct Case {
        const char* setting;
        long value;
        bool taken;
    };
    for (const Case& c : {Case{"DefPortfolioAccountType", 50, false}, Case{"DefPortfolioAccountType", 51, false},
                          Case{"DefPortfolioAccountType", 52, true}, Case{"DefAccntOwnProperty", holding, false},
                          Case{"DefAccntOwnProperty", 20, true}}) {
        const long before = book_settings::named(c.setting)->read(settings);
        const CommandOutcome outcome = book_settings::change(settings, c.setting, c.value);
        EXPECT_EQ(outcome.changedBooks, c.taken) << c.setting << " " << c.value;
        EXPECT_EQ(book_settings::named(c.setting)->read(settings), c.taken ? c.value : before)
            << c.setting << " " << c.value;
    }
    // A share made now is held in the own-property type chosen.
    CCurrency* later = doc.root().InsertStockCurrency(-1, "BOLT", std::string("BOLT"));
    ASSERT_NE(later, nullptr);
    const CAccount* account = booking::FindAccount(&doc.root(), later->Get_mPortfolioAccountId());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->Get_mAccountTypeId(), 52);
}

} // namespace
} // namespace ch::test
