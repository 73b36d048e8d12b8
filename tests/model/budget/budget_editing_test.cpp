// Editing budgets: spreading figures over cross-references, period and
// cross-reference edits, transfers, blocking, deletion and the guards on
// comments and period numbers.

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "budget_fixture.h"
#include "model/CAccType.h"
#include "model/budget/CBudgetHierarchyRoot.h"

namespace ch::test {
namespace {

using namespace budget_item;

constexpr double K = kKeepBudgetAmount;

// Keeps the change records a budget header announces (they live only during the message).
class ChangeLog : public LListener {
public:
    void ListenToMessage(MessageT message, void* param) override
    {
        messages.push_back(message);
        if (message == msg::kItemInserted) changes.push_back(*static_cast<const BudgetChangeRecord*>(param));
    }
    std::vector<MessageT> messages;
    std::vector<BudgetChangeRecord> changes;
};

class BudgetEditTest : public BudgetTest {
protected:
    BudgetEditTest() : budget(Empty()) {}

    // Sets the four planned amounts of the account-category cross-reference in periods first..last.
    bool Plan(CAccount* account, CExpenseType* category, double from, double to, int first = 0,
              int last = 0)
    {
        return budget->AddNewXRef(from, K, to, K, budget->getDateForIndex(first), account->Get_Id(),
                                  category->Get_Id(), nullptr, first, last);
    }

    CBudgetHeader* budget;
};

TEST_F(BudgetEditTest, AnAccountFigureIsSpreadOverItsCrossReferences)
{
    ASSERT_TRUE(Plan(bank, salary, 0, 30));
    ASSERT_TRUE(Plan(bank, bonus, 0, 10));
    CBudgetDetail* account = Detail(budget, bank);
    ChangeLog log;
    budget->AddListener(&log);

    ASSERT_TRUE(account->Put_BudgetIn(0, 60.0));
    EXPECT_DOUBLE_EQ(XRef(budget, bank, salary, 0)->Get_mBudgetTo(), 45.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, bonus, 0)->Get_mBudgetTo(), 15.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetIn, 0), 60.0);
    EXPECT_DOUBLE_EQ(Figure(budget, salary, kBudgetIn, 0), 45.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bonus, kBudgetIn, 0), 15.0);
    // The header stays silent while spreading, then tells which figure of which period changed.
    EXPECT_EQ(log.messages, std::vector<MessageT>{msg::kItemInserted});
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_EQ(log.changes[0].figure, static_cast<std::uint8_t>(kBudgetIn));
    EXPECT_EQ(log.changes[0].period, 0);
    budget->RemoveListener(&log);

    // A blocked cross-reference keeps its amount; the others carry the rest.
    XRef(budget, bank, salary, 0)->Put_mBudgetTo(20.0, nullptr);
    XRef(budget, bank, bonus, 0)->Put_mBudgetTo(10.0, nullptr);
    XRef(budget, bank, salary, 0)->Put_mBlocked(1);
    ASSERT_TRUE(account->Put_BudgetIn(0, 50.0));
    EXPECT_DOUBLE_EQ(XRef(budget, bank, salary, 0)->Get_mBudgetTo(), 20.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, bonus, 0)->Get_mBudgetTo(), 30.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bonus, kBudgetIn, 0), 30.0);

    // Nothing to spread over: refused with 189.
    env.alerts().clear();
    EXPECT_EQ(account->modify(99.0, 0, 0, 0, nullptr, 1, false), 1);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{189});
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetIn, 1), 0.0);
}

TEST_F(BudgetEditTest, ACategoryMovementIsSpreadOverTheAccounts)
{
    ASSERT_TRUE(Plan(bank, groceries, 50, 0));
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kBudgetIn, 0), 50.0);

    CBudgetDetail* category = Detail(budget, groceries);
    EXPECT_EQ(category->modify(100.0, 0, 0, 0, "weekly shop", 0, false), 1);
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kBudgetIn, 0), 100.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 0)->Get_mBudgetFrom(), 100.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 0), 100.0);
    char comment[kDescriptionSize];
    category->GetMonth(0)->Get_mComment(comment);
    EXPECT_STREQ(comment, "weekly shop");

    // A blocked account keeps its part; the period still adds up.
    ASSERT_TRUE(Plan(card, groceries, 30, 0));
    Detail(budget, card)->GetMonth(0)->Put_mBlocked(true);
    category->modify(200.0, 0, 0, 0, nullptr, 0, false);
    EXPECT_DOUBLE_EQ(XRef(budget, card, groceries, 0)->Get_mBudgetFrom(), 30.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 0)->Get_mBudgetFrom(), 170.0);
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kBudgetIn, 0), 200.0);
    XRef(budget, bank, groceries, 0)->SynchroUp(kBudgetOut, 0, nullptr);
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kBudgetIn, 0), 200.0);
}

// The month sheet shows figures to the cent: given back as shown, they
// change nothing, though the books hold a fraction of a cent more, half a
// cent that the sheet shows rounded up included.
TEST_F(BudgetEditTest, FiguresGivenBackAsShownChangeNothing)
{
    const struct {
        const char* what;
        double bank, card, shownGroceries, shownBank;
    } cases[] = {
        {"thirds of a cent", 100.0 / 3.0, 200.0 / 3.0, 100.00, 33.33},
        {"half a cent", 351.715, 0.0, 351.72, 351.72},
    };
    for (int period = 0; period < static_cast<int>(std::size(cases)); ++period) {
        const auto& c = cases[period];
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Plan(bank, groceries, c.bank, 0, period, period));
        if (c.card != 0.0) ASSERT_TRUE(Plan(card, groceries, c.card, 0, period, period));
        const double groceriesIn = Figure(budget, groceries, kBudgetIn, period);
        const double bankOut = Figure(budget, bank, kBudgetOut, period);
        const double bankShare = XRef(budget, bank, groceries, period)->Get_mBudgetFrom();
        const double cardShare = c.card != 0.0 ? XRef(budget, card, groceries, period)->Get_mBudgetFrom() : 0.0;

        EXPECT_EQ(Detail(budget, groceries)->modify(c.shownGroceries, 0, 0, 0, nullptr, period, false), 1);
        EXPECT_EQ(Detail(budget, bank)->modify(0, 0, c.shownBank, 0, nullptr, period, false), 1);
        EXPECT_DOUBLE_EQ(Figure(budget, groceries, kBudgetIn, period), groceriesIn);
        EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, period), bankOut);
        EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, period)->Get_mBudgetFrom(), bankShare);
        if (c.card != 0.0) EXPECT_DOUBLE_EQ(XRef(budget, card, groceries, period)->Get_mBudgetFrom(), cardShare);
    }
}

TEST_F(BudgetEditTest, ACrossReferenceEditAppliesToEveryOpenPeriodOfTheRange)
{
    ASSERT_TRUE(Plan(bank, rent, 10, 0, 0, 11));
    Detail(budget, bank)->GetMonth(3)->Put_mBlocked(true);
    CBudgetXRef* january = XRef(budget, bank, rent, 0);
    ASSERT_TRUE(january->modify(5.0, 0, 20.0, 0, "all year", 0, false, 0, 11));
    for (long period : {0, 1, 2, 4, 11}) {
        EXPECT_DOUBLE_EQ(XRef(budget, bank, rent, period)->Get_mBudgetFrom(), 20.0) << period;
        EXPECT_DOUBLE_EQ(Figure(budget, rent, kBudgetIn, period), 15.0) << period;
        EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, period), 20.0) << period;
    }
    EXPECT_DOUBLE_EQ(XRef(budget, bank, rent, 3)->Get_mBudgetFrom(), 10.0);
    char comment[kDescriptionSize];
    january->Get_mComment(comment);
    EXPECT_STREQ(comment, "all year");
    XRef(budget, bank, rent, 1)->Get_mComment(comment);
    EXPECT_STREQ(comment, "");

    // Without an account detail there is nothing to edit.
    CBudgetXRef lone(-1, &root);
    EXPECT_TRUE(lone.modify(1, 2, 3, 4, "x", 0, true, 0, 11));
    EXPECT_DOUBLE_EQ(lone.Get_mBudgetTo(), 0.0);
    EXPECT_FALSE(lone.Get_mBlocked());
}

TEST_F(BudgetEditTest, ATransferRaisesBothSidesByTheAmount)
{
    ASSERT_TRUE(Plan(bank, transfer, 150, 0));
    ASSERT_TRUE(Plan(savings, transfer, 0, 100));
    const DateT january = budget->getDateForIndex(0);
    ASSERT_TRUE(budget->AddNewTransfer(50.0, january, bank->Get_Id(), savings->Get_Id(), transfer->Get_Id()));
    EXPECT_DOUBLE_EQ(XRef(budget, bank, transfer, 0)->Get_mBudgetFrom(), 100.0);
    EXPECT_DOUBLE_EQ(XRef(budget, savings, transfer, 0)->Get_mBudgetTo(), 50.0);

    ASSERT_TRUE(budget->AddNewTransfer(70.0, budget->getDateForIndex(3), bank->Get_Id(), savings->Get_Id(),
                                       transfer->Get_Id()));
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 3), 70.0);
    EXPECT_DOUBLE_EQ(Figure(budget, savings, kBudgetIn, 3), 70.0);
    EXPECT_DOUBLE_EQ(Figure(budget, transfer, kBudgetIn, 3), 70.0);

    // A blocked budget refuses every change.
    budget->Put_mBlocked(1);
    env.alerts().clear();
    EXPECT_FALSE(budget->AddNewTransfer(5.0, january, bank->Get_Id(), savings->Get_Id(), transfer->Get_Id()));
    EXPECT_FALSE(Plan(bank, rent, 1, 1));
    EXPECT_EQ(Detail(budget, bank)->AddOrReplaceXRef(Detail(budget, transfer), january, 1, 1, 1, 1, 1), nullptr);
    EXPECT_FALSE(budget->DeleteSelf());
    EXPECT_EQ(env.alerts().numbers(), (std::vector<long>{192, 192, 192, 192}));
    EXPECT_DOUBLE_EQ(XRef(budget, bank, transfer, 0)->Get_mBudgetFrom(), 100.0);
}

TEST_F(BudgetEditTest, CrossReferencesAreDeletedOnlyWhenNothingHoldsThem)
{
    ASSERT_TRUE(Plan(bank, rent, 25, 0));
    ASSERT_TRUE(Plan(bank, transfer, 5, 0));
    ASSERT_TRUE(Plan(bank, groceries, 5, 0));
    ASSERT_TRUE(Plan(card, groceries, 5, 0));
    XRef(budget, bank, groceries, 0)->AddAmounts(0.01, 0, 1, 0);
    XRef(budget, card, groceries, 0)->Put_mBlocked(1);
    env.alerts().clear();
    EXPECT_FALSE(Detail(budget, transfer)->DeleteXRef(XRef(budget, bank, transfer, 0)));
    EXPECT_FALSE(Detail(budget, groceries)->DeleteXRef(XRef(budget, bank, groceries, 0)));
    EXPECT_FALSE(Detail(budget, groceries)->DeleteXRef(XRef(budget, card, groceries, 0)));
    EXPECT_EQ(env.alerts().numbers(), (std::vector<long>{197, 196, 192}));

    ASSERT_TRUE(Detail(budget, rent)->DeleteXRef(XRef(budget, bank, rent, 0)));
    EXPECT_EQ(XRef(budget, bank, rent, 0), nullptr);
    EXPECT_DOUBLE_EQ(Figure(budget, rent, kBudgetIn, 0), 0.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 0), 10.0);
    EXPECT_EQ(Detail(budget, bank)->GetXRefsForZeroBasedPeriod(0)->GetCount(), 2u);

    // A budget with a blocked cross-reference keeps its details but may go.
    EXPECT_TRUE(budget->BeforeDelete());
    EXPECT_NE(XRef(budget, card, groceries, 0), nullptr);
    root.mBudgetList->RemoveObject(budget);
    EXPECT_TRUE(budget->DeleteSelf());

    // Without one, deleting it takes every cross-reference first.
    CBudgetHeader* other = Empty();
    ASSERT_TRUE(other->AddNewXRef(7, K, K, K, other->Get_mStartDate(), bank->Get_Id(), rent->Get_Id(), nullptr, 0, 11));
    EXPECT_TRUE(other->BeforeDelete());
    EXPECT_EQ(Detail(other, rent)->GetXRefsForZeroBasedPeriod(5)->GetCount(), 0u);
    EXPECT_EQ(Detail(other, bank)->GetXRefsForZeroBasedPeriod(5)->GetCount(), 0u);
}

TEST_F(BudgetEditTest, CommentsAreCutAndPeriodsOutsideTheYearRefused)
{
    const std::string longText(300, 'c');
    char comment[kDescriptionSize];
    budget->Put_mComment(longText.c_str());
    budget->Get_mComment(comment);
    EXPECT_EQ(std::strlen(comment), 255u);
    budget->Put_mComment(nullptr);
    budget->Get_mComment(comment);
    EXPECT_STREQ(comment, "");
    CBudgetMonth month;
    month.Put_mComment(longText.c_str());
    month.Get_mComment(comment);
    EXPECT_EQ(std::strlen(comment), 255u);
    month.Put_mComment(nullptr);
    month.Get_mComment(comment);
    EXPECT_STREQ(comment, "");

    ASSERT_TRUE(Plan(bank, rent, 10, 0));
    CBudgetDetail* detail = Detail(budget, bank);
    for (long period : {-1L, 12L}) {
        SCOPED_TRACE(period);
        EXPECT_DOUBLE_EQ(detail->GetBudgettedNumber(kBudgetOut, period), -1.0);
        EXPECT_EQ(detail->GetXRefsForZeroBasedPeriod(static_cast<int>(period)), nullptr);
        EXPECT_EQ(detail->GetMonth(period), nullptr);
        EXPECT_TRUE(detail->Get_mBlocked(period));
        EXPECT_EQ(detail->modify(1, 1, 1, 1, nullptr, static_cast<int>(period), false), 0);
        EXPECT_FALSE(detail->Put_BudgetOut(period, 5.0));
        EXPECT_FALSE(XRef(budget, bank, rent, 0)->modify(1, 1, 1, 1, nullptr, 0, false, 0,
                                                         static_cast<int>(period)));
        env.alerts().clear();
        EXPECT_FALSE(budget->AddNewXRef(1, K, K, K, budget->Get_mStartDate(), bank->Get_Id(), rent->Get_Id(),
                                        nullptr, static_cast<int>(period), static_cast<int>(period)));
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{193});
    }
    EXPECT_DOUBLE_EQ(detail->GetBudgettedNumber(14, 0), -1.0);
    EXPECT_DOUBLE_EQ(detail->GetBudgettedNumber(kEndDifference, 0),
                     detail->GetBudgettedNumber(kBudgetEnd, 0) - detail->GetBudgettedNumber(kActualEnd, 0));
    // A date whose month is no month of the year lies outside the budget.
    env.alerts().clear();
    EXPECT_FALSE(budget->AddNewTransfer(5.0, 20241301, bank->Get_Id(), savings->Get_Id(), transfer->Get_Id()));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{193});
    EXPECT_DOUBLE_EQ(XRef(budget, bank, rent, 0)->Get_mBudgetFrom(), 10.0);
}

TEST_F(BudgetEditTest, RecalculatingUnblocksPeriodsAndKeepsThePlan)
{
    CBudgetMonth month;
    month.Put_BudgetIn(5.0);
    month.Put_ActualIn(3.0);
    month.Put_mBlocked(true);
    month.InitializeNumbers(1);
    EXPECT_DOUBLE_EQ(month.Get_BudgetIn(), 5.0);
    EXPECT_DOUBLE_EQ(month.Get_ActualIn(), 0.0);
    EXPECT_FALSE(month.Get_mBlocked());
    month.InitializeNumbers(0);
    EXPECT_DOUBLE_EQ(month.Get_BudgetIn(), 0.0);
}

TEST_F(BudgetEditTest, FolderRootsListTheTopLevelTypesAndGroupsWhileTheyLive)
{
    CNamedListArray* folders = budget->Get_DetailFolders();
    ASSERT_EQ(folders->GetCount(), 2u);
    auto* first = static_cast<CBudgetHierarchyRoot*>(folders->ObjectAt(1));
    EXPECT_EQ(first->Get_ContentsType(), type::kMasterExpenseType);
    char name[kNameSize];
    first->Get_Name(name);
    EXPECT_STREQ(name, "Expense Types");
    std::string a, b, c;
    unsigned char flag = 9;
    first->GetObjectDescription(a, b, c, flag);
    EXPECT_EQ(a, "Master Expense Type ");
    EXPECT_EQ(b, "");
    EXPECT_EQ(flag, 0);

    CNamedListArray* types = budget->Get_BudgettedRootAccT();
    ASSERT_NE(types, nullptr);
    EXPECT_NE(types->GetValueForId(books::kOwnPropertyType), nullptr);
    EXPECT_NE(types->GetValueForId(books::kDebtType), nullptr);
    EXPECT_EQ(types->GetValueForId(books::kProfitAndLossType), nullptr);
    EXPECT_NE(budget->Get_BudgettedRootMxpT()->GetValueForId(group_kind::kExpense), nullptr);

    CAccType* extra = AddType("Extra", books::kOwnPropertyType);
    CBudgetHeader* later = Empty();
    CNamedListArray* laterTypes = later->Get_BudgettedRootAccT();
    ASSERT_NE(laterTypes->GetValueForId(extra->Get_Id()), nullptr);
    const auto count = laterTypes->GetCount();
    root.mAccountTypeList->RemoveObject(extra);
    delete extra;
    EXPECT_EQ(laterTypes->GetCount(), count - 1);

    EXPECT_TRUE(later->BudgetExistsForObject(bank, false));
    EXPECT_FALSE(later->BudgetExistsForObject(Account(books::kExpenseAccount), false));
    EXPECT_FALSE(later->BudgetExistsForObject(first, false));
}

} // namespace
} // namespace ch::test
