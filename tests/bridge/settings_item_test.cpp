// The settings item: plain access to the settings record, the accounting
// year, and the password that takes effect only once confirmed.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/CPrfRItem.h"
#include "bridge_test_support.h"
#include "model/CPreference.h"

namespace ch::test {
namespace {

class SettingsItemTest : public ::testing::Test {
protected:
    std::shared_ptr<CPrfRItem> makeItem()
    {
        auto item = std::make_shared<CPrfRItem>(&record);
        watch = item->observe([this](Observable&, const std::string& key) { announced.push_back(key); });
        return item;
    }

    BridgeEnvironment environment;
    CDocAccounting root;
    CPreference record{&root};
    std::vector<std::string> announced;
    Subscription watch;
};

TEST_F(SettingsItemTest, PasswordProtectsOnlyOnceConfirmedIdentically)
{
    auto item = makeItem();

    item->setMPassword("secret");
    EXPECT_FALSE(item->mPasswordYes());
    item->setMOtherPasword("secreT");
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{173});
    EXPECT_FALSE(item->mPasswordYes());
    EXPECT_FALSE(item->passwordsOK());

    item->setMOtherPasword("secret");
    EXPECT_TRUE(item->mPasswordYes());
    EXPECT_TRUE(item->passwordsOK());

    // A new password unprotects the document until it is confirmed.
    item->setMPassword("changed");
    EXPECT_FALSE(record.Get_mPasswordYes());
    EXPECT_FALSE(item->passwordsOK());
    item->setMOtherPasword("changed");
    EXPECT_TRUE(record.Get_mPasswordYes());
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{173});
}

TEST_F(SettingsItemTest, LongPasswordIsCutAlikeWhenSetAndWhenChecked)
{
    auto item = makeItem();
    const std::string typed(40, 'p');

    item->setMPassword(typed);
    EXPECT_EQ(item->mPassword(), std::string(34, 'p'));
    EXPECT_EQ(CPrfRItem::passwordAsStored(typed), std::string(34, 'p'));

    item->setMOtherPasword(typed);
    EXPECT_TRUE(environment.alerts().numbers().empty());
    EXPECT_TRUE(item->mPasswordYes());
    EXPECT_TRUE(item->passwordsOK());
}

TEST_F(SettingsItemTest, StoredPasswordPrefillsTheConfirmationFromThreeCharacters)
{
    record.Put_mPasswordYes(true);
    record.Put_mPassword("ab");
    EXPECT_FALSE(std::make_shared<CPrfRItem>(&record)->passwordsOK());

    record.Put_mPassword("abc");
    auto item = std::make_shared<CPrfRItem>(&record);
    EXPECT_TRUE(item->passwordsOK());
    EXPECT_EQ(item->mOtherPasword(), "abc");
}

TEST_F(SettingsItemTest, YearStartSetsThePeriodsOnlyForANewValidMonth)
{
    record.Put_mCurrentYearStart(1);
    auto item = makeItem();

    item->setMCurrentYearStart(1);
    EXPECT_TRUE(announced.empty());

    item->setMCurrentYearStart(13);
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{166});
    EXPECT_EQ(item->mCurrentYearStart(), 1);
    EXPECT_TRUE(announced.empty());

    item->setMCurrentYearStart(7);
    EXPECT_EQ(item->mCurrentYearStart(), 7);
    EXPECT_EQ(item->mCurrentPeriodStart(), record.Get_mCurrentPeriodStart());
    for (const char* key : {"mCurrentPeriodStart", "mCurrentPeriodEnd", "mPreviousPeriodStart", "mPreviousPeriodEnd"})
        EXPECT_NE(std::find(announced.begin(), announced.end(), key), announced.end()) << key;
}

TEST_F(SettingsItemTest, SettersIgnoreNoneAndWriteChangedValues)
{
    auto item = makeItem();
    record.Put_mDefAccntOpeningBalance(4);

    item->setMDefAccntOpeningBalance(std::nullopt);
    EXPECT_EQ(record.Get_mDefAccntOpeningBalance(), 4);
    item->setMDefAccntOpeningBalance(9);
    EXPECT_EQ(record.Get_mDefAccntOpeningBalance(), 9);
    item->setMVatBalanceAcnT(12);
    EXPECT_EQ(item->mVatBalanceAcnT(), 12);
}

TEST_F(SettingsItemTest, DetachedItemAnswersMinusOneAndNone)
{
    auto item = std::make_shared<CPrfRItem>();
    EXPECT_EQ(item->mHomeCurrency(), -1);
    EXPECT_EQ(item->mDefAccntOwnProperty(), -1);
    EXPECT_EQ(item->mPassword(), std::nullopt);
    EXPECT_EQ(item->version(), std::nullopt);
    item->setMPassword("secret");   // changes nothing without a record
    EXPECT_FALSE(item->mPasswordYes());
}

} // namespace
} // namespace ch::test
