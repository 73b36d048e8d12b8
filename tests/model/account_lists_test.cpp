// The account and account-type lists: which sub-lists an object enters by its
// kind, how a change of kind moves it, removal, and the look-ups.

#include <gtest/gtest.h>

#include <string>

#include "chart_test_support.h"
#include "model/CNonvisualExaminator.h"
#include "model_test_support.h"

namespace ch {
namespace {

using test::ChartBooks;
using test::Holds;

std::string Membership(const CSubListArray& list, const CNonVisual* object)
{
    std::string flags;
    for (std::size_t i = 0; i < list.SubListCount(); ++i) flags += Holds(list.SubList(i), object) ? '1' : '.';
    return flags;
}

TEST(AccountTypeArray, TypesAreFiledByMasterTypeAndLevel)
{
    // Sub-lists: top own property, top debt, top other, top P&L, all debt, all P&L.
    const struct {
        long masterType;
        const char* topLevel;
        const char* child;
    } cases[] = {{1, "1.....", "......"}, {4, "1.....", "......"}, {2, ".1..1.", "....1."},
                 {5, ".1..1.", "....1."}, {6, "..1...", "......"}, {3, "...1.1", ".....1"},
                 {0, "......", "......"}, {7, "......", "......"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.masterType);
        ChartBooks books;
        CAccType* top = books.Type(c.masterType, "Top");
        CAccType* child = books.Type(c.masterType, "Child", top);
        EXPECT_EQ(Membership(books.types(), top), c.topLevel);
        EXPECT_EQ(Membership(books.types(), child), c.child);
    }
}

TEST(AccountTypeArray, KindChangesAndMovesReachTheSubLists)
{
    ChartBooks books;
    CAccType* top = books.Type(2, "Loans");
    CAccType* child = books.Type(2, "Mortgage", top);

    top->Put_mMasterType(3);
    books.types().SwitchList(top, 2, 3);
    EXPECT_EQ(Membership(books.types(), top), "...1.1");
    child->Put_mMasterType(3);
    books.types().SwitchList(child, 2, 3);
    EXPECT_EQ(Membership(books.types(), child), ".....1");
    books.types().SwitchList(child, 3, 3);   // no change of master type: nothing moves
    EXPECT_EQ(Membership(books.types(), child), ".....1");

    books.types().RemoveFromTopLevel(top);
    EXPECT_EQ(Membership(books.types(), top), ".....1");

    EXPECT_TRUE(books.types().RemoveObject(child));
    EXPECT_EQ(Membership(books.types(), child), "......");
    EXPECT_FALSE(Holds(&books.types(), child));
    delete child;   // taken out of the books: the test owns it now
}

TEST(AccountTypeArray, ATypeWhoseIdIsTakenIsRefusedEverywhere)
{
    ChartBooks books;
    CAccType* first = books.Type(1, "First");
    auto twin = std::make_unique<CAccType>(first->Get_Id(), &books.doc);
    EXPECT_EQ(books.types().AppendObject(twin.get()), CNamedListArray::kRefused);
    EXPECT_EQ(Membership(books.types(), twin.get()), "......");
}

TEST(AccountArray, AccountsAreFiledByTheirTypesKind)
{
    // Sub-lists: P&L, property, all, all, all, not P&L, debt.
    ChartBooks books;
    const struct {
        const char* name;
        long masterType;   // -1: no type
        const char* lists;
    } cases[] = {{"Bank", 1, ".11111."}, {"House", 4, ".11111."}, {"Shares", 6, ".11111."},
                 {"Loan", 2, "..11111"}, {"Card", 5, "..11111"}, {"Salary", 3, "1.111.."},
                 {"Odd", 0, ".11111."}, {"No type", -1, "..1111."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CAccType* accountType = c.masterType >= 0 ? books.Type(c.masterType, c.name) : nullptr;
        CAccount* account = books.Account(c.name, accountType);
        EXPECT_EQ(Membership(books.accounts(), account), c.lists);
    }
}

TEST(AccountArray, ChangingTypeMovesTheAccountBetweenKindSubLists)
{
    ChartBooks books;
    CAccType* bankType = books.Type(1, "Banks");
    CAccType* debtType = books.Type(2, "Debts");
    CAccType* resultType = books.Type(3, "Results");
    CAccount* account = books.Account("Account", bankType);
    CAccount* other = books.Account("Other", bankType);

    account->Put_mAccountTypeId(debtType->Get_Id(), debtType, true);
    books.accounts().SwitchList(account, 1, false, true);
    EXPECT_EQ(Membership(books.accounts(), account), "..11111");

    account->Put_mAccountTypeId(resultType->Get_Id(), resultType, true);
    books.accounts().SwitchList(account, CAccountArray::kWasDebt, false, false);
    EXPECT_EQ(Membership(books.accounts(), account), "1.111..");

    account->Put_mAccountTypeId(bankType->Get_Id(), bankType, true);
    books.accounts().SwitchList(account, 3, true, false);
    EXPECT_EQ(Membership(books.accounts(), account), ".11111.");
    // Joining goes before the last entry of a sub-list.
    EXPECT_EQ(test::NamesOf(books.accounts().Get_SubList(CAccountArray::kProperty)),
              (std::vector<std::string>{"Account", "Other"}));
    (void)other;

    books.accounts().RemoveObject(account);
    EXPECT_EQ(Membership(books.accounts(), account), ".......");
    delete account;
}

TEST(AccountArray, BankAccountNumberLookUpIgnoresCase)
{
    ChartBooks books;
    CAccType* bankType = books.Type(1, "Banks");
    books.Account("First", bankType)->Put_mNumber("NL01 BANK 0001");
    CAccount* second = books.Account("Second", bankType);
    second->Put_mNumber("nl02 bank 0002");

    CNonVisual* found = nullptr;
    ArrayIndexT position = 0;
    EXPECT_EQ(books.accounts().GetIdForAccountNr(std::string_view("NL02 BANK 0002"), found, position),
              second->Get_Id());
    EXPECT_EQ(found, second);
    EXPECT_EQ(position, 2);

    CNonVisual* untouched = second;
    EXPECT_EQ(books.accounts().GetIdForAccountNr(std::string_view("nothing"), untouched, position), -1);
    EXPECT_EQ(untouched, second);
    EXPECT_EQ(position, 1);
}

TEST(AccountArray, NonProfitAndLossListIsANewListByName)
{
    ChartBooks books;
    CAccType* bankType = books.Type(1, "Banks");
    CAccType* resultType = books.Type(3, "Results");
    books.Account("Savings", bankType);
    books.Account("Salary", resultType);
    books.Account("Cash", bankType);
    books.Account("Loose", nullptr);

    std::unique_ptr<CNamedListArray> list = books.accounts().GetNonPL();
    EXPECT_EQ(test::NamesOf(list.get()), (std::vector<std::string>{"Cash", "Loose", "Savings"}));
}

TEST(Examinator, KindQuestionsOnEveryKindOfObject)
{
    ChartBooks books;
    books.PredefinedGroups();
    CAccType* propertyType = books.Type(1, "Banks");
    CAccType* debtType = books.Type(5, "Cards");
    CAccType* resultType = books.Type(3, "Results");
    CAccount* bank = books.Account("Bank", propertyType);
    CAccount* typeless = books.Account("Typeless", nullptr);
    CExpenseType* salary = books.Category("Salary", group_kind::kIncome);
    CExpenseType* food = books.Category("Food", group_kind::kExpense);
    CExpenseType* move = books.Category("Move", group_kind::kTransfer);
    CNonVisual* incomeGroup = books.groups().GetValueForId(group_kind::kIncome);

    using E = CNonvisualExaminator;
    const struct {
        const char* what;
        const CNonVisual* object;
        const char* answers;   // property, debt, P&L, income, expense, transfer
    } cases[] = {{"null", nullptr, "......"},
                 {"property type (no accounts)", propertyType, "1....."},
                 {"debt type", debtType, ".1...."},
                 {"P&L type", resultType, "..1..."},
                 {"bank account", bank, "1....."},
                 {"account without a type", typeless, "......"},
                 {"income category", salary, "...1.."},
                 {"expense category", food, "....1."},
                 {"transfer category", move, ".....1"},
                 {"income group", incomeGroup, "...1.."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string answers;
        for (bool answer : {E::isPropertyAccount(c.object), E::isDebtAccount(c.object),
                            E::isProfitAndLossAccount(c.object), E::isIncome(c.object),
                            E::isExpense(c.object), E::isTransfer(c.object)})
            answers += answer ? '1' : '.';
        EXPECT_EQ(answers, c.answers);
    }

    EXPECT_TRUE(E::isAccount(bank));
    EXPECT_TRUE(E::isAccountType(propertyType));
    EXPECT_TRUE(E::isExpenseType(food));
    EXPECT_TRUE(E::isMasterExpenseType(incomeGroup));
    EXPECT_FALSE(E::isTransaction(bank));
    EXPECT_FALSE(E::isAccount(nullptr));

    EXPECT_TRUE(E::isTransferableAccountId(&books.doc, bank->Get_Id()));
    EXPECT_FALSE(E::isTransferableAccountId(&books.doc, typeless->Get_Id()));
    EXPECT_FALSE(E::isTransferableAccountId(&books.doc, 999999));
    EXPECT_TRUE(E::isIncomeReasonCodeId(&books.doc, salary->Get_Id()));
    EXPECT_TRUE(E::isExpenseReasonCodeId(&books.doc, food->Get_Id()));
    EXPECT_TRUE(E::isTransferReasonCodeId(&books.doc, move->Get_Id()));
    EXPECT_FALSE(E::isIncomeReasonCodeId(&books.doc, food->Get_Id()));
    EXPECT_FALSE(E::isExpenseReasonCodeId(nullptr, food->Get_Id()));
}


// Accounts made one after another (an import naming many transfer targets)
// are put in their place by name without sorting the lists again: every
// list stays in name order and each name is found, ignoring case, also
// after a rename the lists did not hear of.
TEST(AccountArray, AccountsMadeOneAfterAnotherStayInNameOrder)
{
    test::ModelEnvironment env;
    CDocAccounting books;
    books.SetDefaults("EUR");
    const ObjectIdT ownType = 1, profitAndLossType = 3;
    auto make = [&](const std::string& name, ObjectIdT typeId) {
        return books.InsertAccount(-1, name.c_str(), std::string_view(name), "", std::string_view(), typeId, 1,
                                   books.GetAccountTypeForId(typeId));
    };
    auto inNameOrder = [](const CNamedListArray& list) {
        for (ArrayIndexT i = 2; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i)
            if (compareCaseInsensitive(list.ObjectAt(i - 1)->Get_StringrefName(),
                                       list.ObjectAt(i)->Get_StringrefName()) > 0)
                return false;
        return true;
    };
    std::vector<CAccount*> made;
    for (int i = 0; i < 300; ++i) {
        // Names out of order, alternating kinds; the same name again gives the same account.
        const std::string name = "Fund " + std::to_string((i * 7919) % 300);
        made.push_back(make(name, i % 2 ? ownType : profitAndLossType));
        ASSERT_NE(made.back(), nullptr);
    }
    EXPECT_EQ(make("FUND 5", ownType), books.GetAccountForName(std::string_view("Fund 5")));
    EXPECT_TRUE(inNameOrder(*books.mAccountList));
    for (std::size_t i = 0; i < books.mAccountList->SubListCount(); ++i)
        EXPECT_TRUE(inNameOrder(*books.mAccountList->SubList(i))) << i;
    for (CAccount* account : made)
        EXPECT_EQ(books.GetAccountForName(std::string_view("fund " + account->Get_StringrefName().substr(5))),
                  account);

    // Renamed behind the lists' back: still found by its new name, and the
    // next account made puts the lists in order again.
    made[10]->Put_Name("Aardvark");
    EXPECT_EQ(books.GetAccountForName(std::string_view("aardvark")), made[10]);
    // The accounting number is part of the name the lists are kept by.
    made[20]->Put_StringRefAccountingNumber(std::string_view("0100"));
    const std::string numbered = made[20]->Get_StringrefName();
    EXPECT_EQ(books.GetAccountForName(std::string_view(numbered)), made[20]);
    make("Zebra", ownType);
    EXPECT_TRUE(inNameOrder(*books.mAccountList));
    EXPECT_EQ(books.GetAccountForName(std::string_view("AARDVARK")), made[10]);
    EXPECT_EQ(books.GetAccountForName(std::string_view(numbered)), made[20]);
}

} // namespace
} // namespace ch
