#include <QCheckBox>

#include <algorithm>
#include <QLabel>

#include "model/CCurrency.h"
#include "model/CTransaction.h"
#include "sheet_test_support.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/CBuySharesSheetController.h"
#include "ui/sheets/CRegisterDividendSheetController.h"

namespace ch::test {
namespace {

// Books with a bank account, a broker (profit and loss), a tax office, a
// dividend and a tax category, and two shares: one quoted in the home
// currency (held in a portfolio account), one quoted in dollars.
class ShareDealSheetTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
    std::shared_ptr<CCurRItem> acme, widget;

    void SetUp() override
    {
        acme = addSharesAtTheBroker(doc);
        CCurrency* usd = doc.addCurrency(8, "USD", 1, 0.9);
        CCurrency* widgets = doc.addCurrency(9, "WIDG", 1, 10.0, currency_type::kShare);
        widgets->Put_mBaseCurrency(8, usd, 0);
        widget = share(widgets);
        acme->setMComissionAccountId(21);
        // The dollar is worth less from March on.
        share(usd)->changeRateToQuantity(1, 0.8, 20250301);
    }
    std::shared_ptr<CCurRItem> share(CCurrency* currency)
    {
        return doc.dataItemController().currencyItemForCurrency(currency);
    }
    void openDeal(CBuySharesSheetController& sheet, const std::shared_ptr<CCurRItem>& item, bool isBuy)
    {
        sheet.openSheet(nullptr, shareDealParameters(doc, item, isBuy));
        ASSERT_TRUE(sheet.isVisible());
        QApplication::setActiveWindow(&sheet);
    }
    double total(CBuySharesSheetController& sheet)
    {
        return outlet<CAmountField>(sheet, "totalPaid")->value().value_or(-1);
    }
};

TEST_F(ShareDealSheetTest, BuyingAndSellingShowTheTotalAndSendCommand20)
{
    struct Case {
        bool isBuy;
        double total;
        const char* account;
    };
    for (const Case& c : {Case{true, 130.0, "PAYFROM"}, Case{false, 120.0, "MONEYDEST"}}) {
        CBuySharesSheetController sheet;
        openDeal(sheet, acme, c.isBuy);
        EXPECT_EQ(outlet<QLabel>(sheet, "propertyAccountLabel")->text().toStdString(), localized(c.account));
        typeInto(outlet(sheet, "mDate"), "01.02.2025");
        typeInto(outlet(sheet, "nrOfShares"), "10");
        typeInto(outlet(sheet, "pricePaid"), "12.50");
        typeInto(outlet(sheet, "commissionPayed"), "5");
        typeInto(outlet(sheet, "mDescription"), "Deal");
        QTest::keyClick(outlet(sheet, "mDescription"), Qt::Key_Tab);
        EXPECT_DOUBLE_EQ(total(sheet), c.total) << c.isBuy;
        outlet<QCheckBox>(sheet, "changeRate")->setChecked(true);
        click(sheet, "OKButton");
        EXPECT_FALSE(sheet.isVisible());
        ASSERT_FALSE(doc.sent().empty());
        const SentCommand& sent = doc.sent().back();
        EXPECT_EQ(sent.command, command::kBuyOrSellShares);
        EXPECT_EQ(sent.target, acme);
        const auto& deal = sent.args<arguments::BuySellSharesParameters>();
        EXPECT_EQ(deal.isBuyInd, c.isBuy);
        EXPECT_EQ(deal.price, 12.5);
        EXPECT_EQ(deal.quantity, 10.0);
        EXPECT_EQ(deal.commission, 5.0);
        EXPECT_DOUBLE_EQ(deal.totalValue.value_or(0), c.total);
        EXPECT_EQ(deal.fromAccountId, 4);     // the books' own-property default
        EXPECT_EQ(deal.commissionAccountId, 21);
        EXPECT_EQ(deal.transactionDate, 20250201);
        EXPECT_EQ(deal.description, "Deal");
        EXPECT_EQ(deal.updateRateInd, true);
        EXPECT_EQ(doc.root().mTransactionList->GetCount(), 1u + !c.isBuy) << "the deal is booked";
    }
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{});
}

TEST_F(ShareDealSheetTest, TheTotalConvertsAtTheDateShownAndATypedTotalOfAForeignShareStands)
{
    CBuySharesSheetController sheet;
    openDeal(sheet, widget, true);
    typeInto(outlet(sheet, "commissionToAccount"), "Broker");
    typeInto(outlet(sheet, "nrOfShares"), "10");
    typeInto(outlet(sheet, "pricePaid"), "10");
    typeInto(outlet(sheet, "mDate"), "01.02.2025");
    QTest::keyClick(outlet(sheet, "mDate"), Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(total(sheet), 90.0);
    typeInto(outlet(sheet, "mDate"), "15.03.2025");
    QTest::keyClick(outlet(sheet, "mDate"), Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(total(sheet), 80.0);
    typeInto(outlet(sheet, "totalPaid"), "82.40");
    click(sheet, "OKButton");
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kBuyOrSellShares});
    EXPECT_EQ(doc.sent()[0].args<arguments::BuySellSharesParameters>().totalValue, 82.4);
    EXPECT_EQ(doc.sent()[0].args<arguments::BuySellSharesParameters>().transactionDate, 20250315);
}

TEST_F(ShareDealSheetTest, BadDealInputGetsItsMessageAndCancelChangesNothing)
{
    struct Case {
        const char* field;
        const char* text;
        long error;
    };
    for (const Case& c : {Case{"nrOfShares", "", 219}, Case{"pricePaid", "0", 219}, Case{"fromAccount", "", 220},
                          Case{"commissionToAccount", "", 221}, Case{"mDate", "", 217},
                          Case{"mDate", "someday", 151}}) {
        CBuySharesSheetController sheet;
        openDeal(sheet, acme, true);
        typeInto(outlet(sheet, "nrOfShares"), "10");
        env.alerts().clear();
        typeInto(outlet(sheet, c.field), c.text);
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{c.error}) << c.field << "=" << c.text;
        EXPECT_TRUE(sheet.isVisible());
        if (std::string_view(c.field) == "mDate") {
            EXPECT_EQ(outlet<QLineEdit>(sheet, c.field)->text(), c.text);
        }
        click(sheet, "CancelButton");
        EXPECT_FALSE(sheet.isVisible());
    }
    EXPECT_TRUE(doc.sent().empty());
}

// An account holding a share counts shares: money paid from it would leave
// as shares. The sheet does not offer it; given all the same, 362 refuses it.
TEST_F(ShareDealSheetTest, AnAccountHoldingASharePaysForNoDeal)
{
    CBuySharesSheetController sheet;
    openDeal(sheet, acme, true);
    auto* from = outlet<CPopupList>(sheet, "fromAccount");
    QStringList names;
    for (int i = 0; i < from->count(); ++i)
        names << from->itemText(i);
    EXPECT_TRUE(names.contains("Bank"));
    EXPECT_FALSE(names.contains("ACME shares"));
    click(sheet, "CancelButton");

    ShareDealLogic logic;
    logic.initialize(shareDealParameters(doc, acme, true));
    ShareDealEntry entry;
    entry.price = 12.5;
    entry.quantity = 10.0;
    entry.commission = 0.0;
    entry.commissionAccount = 21;
    entry.date = 20250315;
    for (const auto& [account, error] : {std::pair{23L, 362L}, std::pair{20L, 0L}}) {
        env.alerts().clear();
        entry.fromAccount = account;
        EXPECT_EQ(logic.checkContents(entry), error == 0) << account;
        EXPECT_EQ(env.alerts().numbers(), error ? std::vector<long>{error} : std::vector<long>{}) << account;
    }
}

class DividendSheetTest : public ShareDealSheetTest {
protected:
    CRegisterDividendSheetController sheet;

    void SetUp() override
    {
        ShareDealSheetTest::SetUp();
        acme->setMDividentAccountIdFrom(21);
        acme->setMDividentAccountIdTo(20);
        acme->setMDividentExpenseTypeId(30);
        sheet.openSheet(nullptr, dividendParameters(doc, acme));
        ASSERT_TRUE(sheet.isVisible());
        QApplication::setActiveWindow(&sheet);
        typeInto(outlet(sheet, "mTaxesToAccount"), "Tax office");
        typeInto(outlet(sheet, "mTaxesForExpenseType"), "Withholding tax");
    }
};

TEST_F(DividendSheetTest, ADividendIsBookedOnTheCategoryChosen)
{
    const long before = doc.root().mTransactionList->GetCount();
    typeInto(outlet(sheet, "mTransactionDate"), "15.04.2025");
    typeInto(outlet(sheet, "mTotalDividend"), "50");
    typeInto(outlet(sheet, "mTaxes"), "7.50");
    click(sheet, "OKButton");
    EXPECT_FALSE(sheet.isVisible());
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kRegisterDividend});
    EXPECT_EQ(doc.sent()[0].target, acme);
    const auto& dividend = doc.sent()[0].args<arguments::RegisterDividendParameters>();
    EXPECT_EQ(dividend.transactionDate, 20250415);
    EXPECT_EQ(dividend.dividend, 50.0);
    EXPECT_EQ(dividend.tax, 7.5);
    EXPECT_EQ(dividend.fromAccountId, 21);
    EXPECT_EQ(dividend.toAccountId, 20);
    EXPECT_EQ(dividend.forAccountId, 30);
    EXPECT_EQ(dividend.taxesAccountId, 22);
    EXPECT_EQ(dividend.taxesCategoryId, 31);
    EXPECT_EQ(dividend.description, localized("DIVIDENDCOMMENT") + " ACME");

    ASSERT_EQ(doc.root().mTransactionList->GetCount(), before + 1);
    auto* booked = static_cast<CTransaction*>(doc.root().mTransactionList->ObjectAt(before + 1));
    std::vector<std::pair<ObjectIdT, double>> categories;
    const CNamedListArray* lines = booked->GetExpenseTypeList();
    for (ArrayIndexT i = 1; i <= ArrayIndexT(lines->GetCount()); ++i)
        categories.emplace_back(TestDocument::lineOf(lines, i)->Get_mAccountId(),
                                TestDocument::lineOf(lines, i)->Get_mAmount());
    std::sort(categories.begin(), categories.end());
    EXPECT_EQ(categories, (std::vector<std::pair<ObjectIdT, double>>{{30, 50.0}, {31, 7.5}}));
}

TEST_F(DividendSheetTest, BadDividendInputGetsItsMessage)
{
    struct Case {
        const char* dividend;
        const char* date;
        const char* category;
        long error;
    };
    for (const Case& c : {Case{"0", "", "", 222}, Case{"50", "", "Dividends", 217}, Case{"50", "15.04.2025", "", 223}}) {
        env.alerts().clear();
        typeInto(outlet(sheet, "mTotalDividend"), c.dividend);
        typeInto(outlet(sheet, "mTransactionDate"), c.date);
        typeInto(outlet(sheet, "mForExpenseType"), c.category);
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{c.error}) << c.dividend << " " << c.date;
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(outlet<QLineEdit>(sheet, "mTransactionDate")->text(), c.date);
    }
    click(sheet, "CancelButton");
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(doc.sent().empty());
}

TEST_F(DividendSheetTest, NoDividendIsPaidIntoAnAccountHoldingAShare)
{
    auto* to = outlet<CPopupList>(sheet, "mToAccount");
    QStringList names;
    for (int i = 0; i < to->count(); ++i)
        names << to->itemText(i);
    EXPECT_TRUE(names.contains("Bank"));
    EXPECT_FALSE(names.contains("ACME shares"));

    DividendLogic logic;
    logic.initialize(dividendParameters(doc, acme));
    DividendEntry entry{50.0, 0.0, 20250415, 21, 23, 30, 22, 31, "Dividend"};
    env.alerts().clear();
    EXPECT_FALSE(logic.checkContents(entry));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{362});
}

} // namespace
} // namespace ch::test
