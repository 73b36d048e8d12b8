#include "ui/sheets/CNewAccountController.h"

#include "sheet_test_support.h"
#include "ui/controls/CPopupList.h"

namespace ch::test {
namespace {

class AccountSheetTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
    CNewAccountController sheet;
    std::vector<int> codes;

    void open(SheetParameters parameters)
    {
        parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(&doc));
        sheet.openSheet(nullptr, parameters);
        ASSERT_TRUE(sheet.isVisible());
    }
    CAccount* accountNamed(const char* name) { return doc.root().GetAccountForName(std::string_view(name)); }
};

struct Recorder : CallbackReceiver {
    std::vector<std::pair<std::string, Dictionary>> calls;
    bool performCallback(std::string_view selector, const std::shared_ptr<Dictionary>& arguments) override
    {
        calls.push_back({std::string(selector), arguments ? *arguments : Dictionary()});
        return true;
    }
};

TEST_F(AccountSheetTest, CreatingAnAccountSendsCommand13AndTheModelHasIt)
{
    Recorder receiver;
    open({{std::string(sheet_key::kAccountType), 1L},
          {std::string(sheet_key::kCallbackSelectorName), std::string("setFromAccountId:")},
          {std::string(sheet_key::kCallbackObject), static_cast<CallbackReceiver*>(&receiver)}});
    typeInto(outlet(sheet, "nameField"), "Savings");
    typeInto(outlet(sheet, "descriptionField"), "Rainy days");
    typeInto(outlet(sheet, "bankAccountNumberField"), "123-4567890-12");
    click(sheet, "OKButton");

    EXPECT_FALSE(sheet.isVisible());
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewAccount});
    const auto& args = doc.sent()[0].args<arguments::AccountArguments>();
    EXPECT_EQ(args.name, "Savings");
    EXPECT_EQ(args.accountTypeId, 1);
    EXPECT_EQ(args.currencyId, book_defaults::homeCurrencyId(&doc.root()));
    EXPECT_EQ(args.ownerId, book_defaults::meOwnerId(&doc.root()));
    CAccount* made = accountNamed("Savings");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(doc.getAccountItemForId(made->Get_Id())->getDescription(), "Rainy days");
    EXPECT_EQ(doc.getAccountItemForId(made->Get_Id())->getBankAccountNumber(), "123-4567890-12");
    ASSERT_EQ(receiver.calls.size(), 1u);
    EXPECT_EQ(receiver.calls[0].first, "setFromAccountId:");
    EXPECT_EQ(receiver.calls[0].second["NEWKEY"].toLong(), made->Get_Id());
    EXPECT_EQ(doc.refreshes, 1);
    EXPECT_GE(doc.changes, 1);
    EXPECT_TRUE(env.alerts().numbers().empty());
}

TEST_F(AccountSheetTest, BadInputGetsItsMessageAndTheSheetStaysOpenWithTheText)
{
    doc.addAccount(20, 1, "Wallet");
    struct Case {
        const char* name;
        const char* currency;   // typed into the currency pop-up
        const char* type;       // typed into the account-type pop-up
        long error;
    };
    const Case cases[] = {
        {"Cash box", "999", "1", 200},     // an id no currency has is no currency
        {"Cash box", "", "1", 200},
        {"Cash box", "EUR", "", 203},
        {"Cash box", "EUR", "77", 203},
        {"", "EUR", "1", 202},
        {"wallet", "EUR", "1", 266},       // names compare without regard to case
    };
    for (const Case& c : cases) {
        open({});
        env.alerts().clear();
        typeInto(outlet(sheet, "nameField"), c.name);
        typeInto(outlet(sheet, "currencyPopup"), c.currency);
        typeInto(outlet(sheet, "accountTypePopup"), c.type);
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{c.error}) << c.name << "/" << c.currency << "/" << c.type;
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(outlet<CPopupList>(sheet, "currencyPopup")->currentText(), c.currency);
        EXPECT_EQ(outlet<QLineEdit>(sheet, "nameField")->text(), c.name);
        sheet.cancelClicked();
    }
    EXPECT_TRUE(doc.sent().empty());
}

TEST_F(AccountSheetTest, BadAmountIsRefusedWithItsTextKept)
{
    open({{std::string(sheet_key::kAccountType), 1L}});
    typeInto(outlet(sheet, "nameField"), "Savings");
    for (const char* text : {"12/0", "abc", "1..2"}) {
        env.alerts().clear();
        typeInto(outlet(sheet, "newBalanceField"), text);
        click(sheet, "OKButton");
        ASSERT_EQ(env.alerts().records().size(), 1u) << text;
        EXPECT_EQ(env.alerts().records()[0].alert.message, localized("CONVFL")) << text;
        EXPECT_EQ(outlet<QLineEdit>(sheet, "newBalanceField")->text(), text);
        EXPECT_TRUE(sheet.isVisible());
    }
    typeInto(outlet(sheet, "newBalanceField"), "100+50*2");
    click(sheet, "OKButton");
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewAccount});
    EXPECT_EQ(doc.sent()[0].args<arguments::AccountArguments>().newBalance, 300.0);
}

TEST_F(AccountSheetTest, ModifyingRenamesTheAccountAndItsOwnNameStaysAccepted)
{
    doc.addAccount(20, 1, "Wallet");
    doc.addAccount(21, 1, "Purse");
    auto wallet = doc.getAccountItemForId(20);
    open({{std::string(sheet_key::kDialogAction), 2L}, {std::string(sheet_key::kAccountToModify), wallet}});
    EXPECT_EQ(outlet<QLineEdit>(sheet, "nameField")->text(), "Wallet");
    click(sheet, "OKButton");   // unchanged, under its own name
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kModifyAccount});
    EXPECT_EQ(doc.sent()[0].target, wallet);

    open({{std::string(sheet_key::kDialogAction), 2L}, {std::string(sheet_key::kAccountToModify), wallet}});
    typeInto(outlet(sheet, "nameField"), "Purse");
    click(sheet, "OKButton");
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{266});
    typeInto(outlet(sheet, "nameField"), "Pocket money");
    click(sheet, "OKButton");
    EXPECT_EQ(doc.sentNumbers(), (std::vector<int>{command::kModifyAccount, command::kModifyAccount}));
    EXPECT_EQ(wallet->getNameOnly(), "Pocket money");
    EXPECT_EQ(doc.root().GetAccountForID(20), accountNamed("Pocket money"));
}

TEST_F(AccountSheetTest, CancelChangesNothing)
{
    doc.addAccount(20, 1, "Wallet");
    auto wallet = doc.getAccountItemForId(20);
    open({{std::string(sheet_key::kDialogAction), 2L}, {std::string(sheet_key::kAccountToModify), wallet}});
    typeInto(outlet(sheet, "nameField"), "Changed");
    click(sheet, "CancelButton");
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(doc.sent().empty());
    EXPECT_EQ(wallet->getNameOnly(), "Wallet");
    EXPECT_EQ(doc.refreshes, 0);
}

// Escape cancels at once when nothing was changed; with a typed value it asks
// first, and the default answer keeps the sheet open with the text.
TEST_F(AccountSheetTest, EscapeAsksBeforeDroppingTypedValues)
{
    doc.addAccount(20, 1, "Wallet");
    auto wallet = doc.getAccountItemForId(20);
    const SheetParameters modify{{std::string(sheet_key::kDialogAction), 2L},
                                 {std::string(sheet_key::kAccountToModify), wallet}};
    open(modify);
    QTest::keyClick(outlet(sheet, "nameField"), Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible()) << "nothing typed: closed without a question";
    EXPECT_TRUE(env.alerts().numbers().empty());

    open(modify);
    typeInto(outlet(sheet, "nameField"), "Changed");
    env.alerts().scriptAnswer(AlertAnswer::Default);   // No: the person keeps typing
    QTest::keyClick(outlet(sheet, "nameField"), Qt::Key_Escape);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{375});
    ASSERT_FALSE(env.alerts().records().empty());
    EXPECT_EQ(env.alerts().records().back().alert.defaultButton, localized("NO"));
    ASSERT_TRUE(sheet.isVisible());
    EXPECT_EQ(outlet<QLineEdit>(sheet, "nameField")->text(), "Changed");

    env.alerts().scriptAnswer(AlertAnswer::Alternate);   // Yes: close without keeping
    QTest::keyClick(outlet(sheet, "nameField"), Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(doc.sent().empty()) << "still a cancel";
    EXPECT_EQ(wallet->getNameOnly(), "Wallet");

    // A value typed back as it was is no change.
    open(modify);
    env.alerts().clear();
    typeInto(outlet(sheet, "nameField"), "Wallet");
    QTest::keyClick(outlet(sheet, "nameField"), Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(env.alerts().numbers().empty());
}

struct FakeImportLine : ImportLine {
    std::optional<long> other;
    std::optional<long> mOtherAccountId() const override { return other; }
    void setMOtherAccountId(long id) override { other = id; }
    void setMCounterPartyId(long) override {}
    void setMExpenseTypeId(long, bool) override {}
};

TEST_F(AccountSheetTest, OnlyAMadeAccountCompletesTheImportLineAndTheCaller)
{
    for (bool refused : {false, true}) {
        doc.refuseAll = refused;
        doc.callbacks.clear();
        auto line = std::make_shared<FakeImportLine>();
        open({{std::string(sheet_key::kName), std::string(refused ? "Refused" : "Imported")},
              {std::string(sheet_key::kAccountType), std::string("P&L")},
              {std::string(sheet_key::kImportRecord), std::shared_ptr<ImportLine>(line)},
              {std::string(sheet_key::kCallbackSelectorName), std::string("synchronizeTableCallback:")}});
        EXPECT_FALSE(outlet(sheet, "accountTypePopup")->isEnabled());
        click(sheet, "OKButton");
        EXPECT_EQ(doc.sent().back().args<arguments::AccountArguments>().accountTypeId, 3);
        if (refused) {
            EXPECT_EQ(line->other, std::nullopt);
            EXPECT_TRUE(doc.callbacks.empty());
        } else {
            EXPECT_EQ(line->other, accountNamed("Imported")->Get_Id());
            ASSERT_EQ(doc.callbacks.size(), 1u);
            EXPECT_EQ(doc.callbacks[0].arguments["NEWKEY"].toLong(), *line->other);
        }
    }
    EXPECT_EQ(doc.importsCompleted, 1);
}

} // namespace
} // namespace ch::test
