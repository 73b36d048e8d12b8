// Account types: posting up the chain, moves between parents, accounts joining
// and leaving, deletion checks, names and the 'AccT' record.

#include <gtest/gtest.h>

#include <string>

#include "chart_test_support.h"

namespace ch {
namespace {

using test::ChartBooks;
using test::MessageLog;
using test::StreamReader;
using test::StreamWriter;

int BalanceMessages(const MessageLog& log)
{
    int count = 0;
    for (MessageT message : log.messages()) count += message == msg::kBalanceChanged;
    return count;
}

int TreeMessages(const MessageLog& log)
{
    int count = 0;
    for (MessageT message : log.messages()) count += message == msg::kChildTypesChanged;
    return count;
}

TEST(AccountTypePosting, EachMasterTypeSignsItsBalance)
{
    const struct {
        long masterType;
        double afterDebit;   // Debiteer(100) on a fresh type
        int broadcasts;
    } cases[] = {{1, -100.0, 1}, {2, 100.0, 1}, {3, 100.0, 0}, {4, -100.0, 1},
                 {5, 100.0, 1},  {6, -100.0, 1}, {0, 0.0, 1},  {7, 0.0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.masterType);
        ChartBooks books;
        CAccType* accountType = books.Type(c.masterType, "Type");
        MessageLog log;
        accountType->AddListener(&log);
        accountType->Debiteer(100.0);
        EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), c.afterDebit);
        accountType->Crediteer(100.0);
        EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), 0.0);
        EXPECT_EQ(BalanceMessages(log), 2 * c.broadcasts);
    }
}

TEST(AccountTypePosting, AmountsClimbTheWholeChainWithOneBroadcastPerLevel)
{
    for (long masterType : {1L, 3L}) {
        SCOPED_TRACE(masterType);
        ChartBooks books;
        CAccType* top = books.Type(masterType, "Top");
        CAccType* middle = books.Type(masterType, "Middle", top);
        CAccType* leaf = books.Type(masterType, "Leaf", middle);
        MessageLog topLog, middleLog, leafLog;
        top->AddListener(&topLog);
        middle->AddListener(&middleLog);
        leaf->AddListener(&leafLog);

        leaf->Debiteer(100.0);
        const double expected = masterType == 1 ? -100.0 : 100.0;
        for (CAccType* t : {top, middle, leaf}) EXPECT_DOUBLE_EQ(t->Get_mBalance(), expected);
        // Profit-and-loss types never announce their balance.
        const int perLevel = masterType == 3 ? 0 : 1;
        EXPECT_EQ(BalanceMessages(topLog), perLevel);
        EXPECT_EQ(BalanceMessages(middleLog), perLevel);
        EXPECT_EQ(BalanceMessages(leafLog), perLevel);
    }
}

TEST(AccountTypeTree, MovingABranchMovesItsBalance)
{
    ChartBooks books;
    CAccType* first = books.Type(1, "First");
    CAccType* second = books.Type(1, "Second");
    CAccType* branch = books.Type(1, "Branch", first);
    CAccType* leaf = books.Type(1, "Leaf", branch);
    books.Account("Bank", leaf, 50.0);
    ASSERT_DOUBLE_EQ(first->Get_mBalance(), 50.0);

    MessageLog firstLog, secondLog;
    first->AddListener(&firstLog);
    second->AddListener(&secondLog);
    ASSERT_TRUE(branch->Put_mParentType(second->Get_Id()));

    EXPECT_DOUBLE_EQ(first->Get_mBalance(), 0.0);
    EXPECT_DOUBLE_EQ(second->Get_mBalance(), 50.0);
    EXPECT_DOUBLE_EQ(branch->Get_mBalance(), 50.0);
    EXPECT_EQ(branch->Get_mParentType(), second->Get_Id());
    EXPECT_EQ(branch->Get_mParentTypePtr(), second);
    EXPECT_FALSE(test::Holds(first->Get_DetailFolders(), branch));
    EXPECT_TRUE(test::Holds(second->Get_DetailFolders(), branch));
    EXPECT_EQ(TreeMessages(firstLog), 1);
    EXPECT_EQ(TreeMessages(secondLog), 1);

    // Postings after the move reach the new branch only.
    leaf->Crediteer(5.0);
    EXPECT_DOUBLE_EQ(first->Get_mBalance(), 0.0);
    EXPECT_DOUBLE_EQ(second->Get_mBalance(), 55.0);
}

TEST(AccountTypeTree, AddingAListedChildAgainCountsItOnce)
{
    ChartBooks books;
    CAccType* parent = books.Type(1, "Parent");
    CAccType* child = books.Type(1, "Child", parent);
    child->Crediteer(30.0);
    ASSERT_DOUBLE_EQ(parent->Get_mBalance(), 30.0);

    EXPECT_TRUE(parent->addAccountType(child));
    EXPECT_DOUBLE_EQ(parent->Get_mBalance(), 30.0);
    EXPECT_EQ(parent->Get_DetailFolders()->GetCount(), 1u);
}

TEST(AccountTypeTree, ARefusedMoveChangesNothing)
{
    ChartBooks books;
    CAccType* parent = books.Type(1, "Parent");
    CAccType* child = books.Type(1, "Child", parent);
    CAccType* grandChild = books.Type(1, "Grandchild", child);
    CAccType* debt = books.Type(2, "Debt");
    child->Crediteer(40.0);

    const struct {
        const char* what;
        ObjectIdT target;
    } refusals[] = {{"another master type", debt->Get_Id()},
                    {"its own descendant", grandChild->Get_Id()},
                    {"its current parent", parent->Get_Id()},
                    {"itself (the top level)", child->Get_Id()},
                    {"a type that does not exist", 999999}};
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        EXPECT_FALSE(child->Put_mParentType(refusal.target));
        EXPECT_EQ(child->Get_mParentType(), parent->Get_Id());
        EXPECT_EQ(child->Get_mParentTypePtr(), parent);
        EXPECT_FALSE(child->IsRootItem());
        EXPECT_TRUE(test::Holds(parent->Get_DetailFolders(), child));
        EXPECT_DOUBLE_EQ(parent->Get_mBalance(), 40.0);
        EXPECT_DOUBLE_EQ(child->Get_mBalance(), 40.0);
        EXPECT_DOUBLE_EQ(debt->Get_mBalance(), 0.0);
    }
    // Still movable afterwards, with its balance counted once.
    CAccType* other = books.Type(1, "Other");
    EXPECT_TRUE(child->Put_mParentType(other->Get_Id()));
    EXPECT_DOUBLE_EQ(parent->Get_mBalance(), 0.0);
    EXPECT_DOUBLE_EQ(other->Get_mBalance(), 40.0);
}

TEST(AccountTypeTree, AcceptanceOfAccountsAndTypes)
{
    ChartBooks books;
    CAccType* property = books.Type(1, "Property");
    CAccType* otherProperty = books.Type(1, "Other property");
    CAccType* debt = books.Type(2, "Debt");
    CAccount* bank = books.Account("Bank", otherProperty);
    CAccount* loan = books.Account("Loan", debt);
    CAccount* here = books.Account("Here", property);
    CAccount* typeless = books.Account("No type", nullptr);

    EXPECT_TRUE(property->IsSubItemAcceptable(type::kAccount, bank));
    EXPECT_FALSE(property->IsSubItemAcceptable(type::kAccount, loan));
    EXPECT_FALSE(property->IsSubItemAcceptable(type::kAccount, here));      // already here
    EXPECT_FALSE(property->IsSubItemAcceptable(type::kAccount, typeless));
    EXPECT_TRUE(property->IsSubItemAcceptable(type::kAccountType, otherProperty));
    EXPECT_FALSE(property->IsSubItemAcceptable(type::kAccountType, debt));
    EXPECT_FALSE(property->IsSubItemAcceptable(type::kAccountType, property));
    EXPECT_FALSE(property->IsSubItemAcceptable(type::kAccountType, nullptr));
    EXPECT_FALSE(property->IsSubItemAcceptable(type::kExpenseType, otherProperty));
}

TEST(AccountTypeBalances, AccountsJoinWithOrWithoutTheirBalanceButAlwaysLeaveWithIt)
{
    ChartBooks books;
    CAccType* parent = books.Type(1, "Parent");
    CAccType* accountType = books.Type(1, "Type", parent);
    CAccount* account = books.Account("Bank", nullptr, 80.0);

    EXPECT_TRUE(accountType->AddAccount(account, false));
    EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), 0.0);
    EXPECT_TRUE(accountType->AddAccount(account, true));   // listed: nothing happens
    EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), 0.0);

    EXPECT_TRUE(accountType->RemoveAccount(account));
    EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), -80.0);
    EXPECT_DOUBLE_EQ(parent->Get_mBalance(), -80.0);
    EXPECT_FALSE(accountType->RemoveAccount(account));
    EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), -80.0);

    // Rebuilding makes the balance the plain sum again.
    accountType->AddAccount(account, false);
    EXPECT_DOUBLE_EQ(parent->RecalculateLocalBalance(), 80.0);
    EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), 80.0);
    EXPECT_TRUE(accountType->Repair());
}

TEST(AccountTypeBalances, AccountsJoinBeforeTheLastEntry)
{
    ChartBooks books;
    CAccType* accountType = books.Type(1, "Type");
    CAccount* a = books.Account("A", nullptr);
    CAccount* b = books.Account("B", nullptr);
    CAccount* c = books.Account("C", nullptr);
    for (CAccount* account : {a, b, c}) accountType->AddAccount(account, true);
    EXPECT_EQ(test::NamesOf(accountType->Get_Details()), (std::vector<std::string>{"B", "C", "A"}));
}

TEST(AccountTypeBalances, ExchangeRateCorrectionsReachEveryAncestor)
{
    ChartBooks books;
    CAccType* top = books.Type(1, "Top");
    CAccType* middle = books.Type(1, "Middle", top);
    CAccType* leaf = books.Type(1, "Leaf", middle);
    MessageLog log;
    top->AddListener(&log);

    leaf->AdjustLocalBalance(12.5);
    for (CAccType* t : {top, middle, leaf}) EXPECT_DOUBLE_EQ(t->Get_mBalance(), 12.5);
    EXPECT_TRUE(log.entries.empty());
}

TEST(AccountTypeDeletion, RefusalsComeInTheirOrder)
{
    ChartBooks books;
    CAccType* parent = books.Type(1, "Parent");
    CAccType* child = books.Type(1, "Child", parent);
    books.Account("Bank", parent);
    CAccType* withAccount = books.Type(1, "With account");
    books.Account("Cash", withAccount);
    books.doc.mPreference->Put_mVATReceivedAccT(books.Type(1, "VAT")->Get_Id());
    CAccType* vat = static_cast<CAccType*>(books.types().ObjectAt(LArray::kLastIndex));
    books.TakeAlerts();

    EXPECT_FALSE(parent->BeforeDelete());
    EXPECT_FALSE(withAccount->BeforeDelete());
    EXPECT_FALSE(vat->BeforeDelete());
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{175, 174, 233}));

    child->Crediteer(10.0);
    child->Debiteer(10.0);
    EXPECT_TRUE(child->BeforeDelete());
    EXPECT_FALSE(test::Holds(parent->Get_DetailFolders(), child));
    EXPECT_TRUE(books.TakeAlerts().empty());
}

TEST(AccountTypeNames, AccountingNumberPrefixesTheName)
{
    ChartBooks books;
    CAccType* accountType = books.Type(1, "Bank");
    MessageLog log;
    accountType->AddListener(&log);

    accountType->Put_mAccountNumber("4000");
    char name[kNameSize];
    accountType->Get_Name(name);
    EXPECT_STREQ(name, "4000:Bank");
    accountType->Get_NameOnly(name);
    EXPECT_STREQ(name, "Bank");
    EXPECT_EQ(accountType->Get_StringrefName(), "4000 : Bank");
    EXPECT_EQ(accountType->Get_StringRefNameOnly(), "Bank");
    EXPECT_EQ(log.messages(), (std::vector<MessageT>{msg::kNameChanged}));

    accountType->Put_mAccountNumber(std::string(40, '7').c_str());
    char number[CAccType::kAccountNumberSize];
    accountType->Get_mAccountNumber(number);
    EXPECT_EQ(std::string(number), std::string(34, '7'));

    accountType->Put_mAccountNumber(nullptr);
    EXPECT_EQ(accountType->Get_StringrefName(), "Bank");
}

// --- the record

std::vector<std::uint8_t> RecordOf(CNonVisual& object)
{
    StreamWriter writer;
    object.PutStream(writer.stream());
    return writer.bytes();
}

TEST(AccountTypeRecord, ATreeReadsBackToTheSameBytesWithBalancesFromTheAccounts)
{
    ChartBooks books;
    CAccType* top = books.Type(1, "Own property");
    top->Put_mAccountNumber("1000");
    top->Put_mDescription("What we own");
    top->Put_mb_IsOpen(true);
    CAccType* child = books.Type(1, "Banks", top);
    books.Type(1, "Cash", top);
    books.Type(1, "Savings", child);
    child->Crediteer(70.0);   // a stored balance
    const auto written = RecordOf(*top);

    ChartBooks copy;
    StreamReader reader(written);
    for (int i = 0; i < 4; ++i) {
        auto* read = new CAccType(reader.stream(), version::kCurrent, &copy.doc);
        copy.types().AppendObject(read);
    }
    EXPECT_EQ(reader->GetMarker(), static_cast<std::int32_t>(written.size()));

    auto* readTop = static_cast<CAccType*>(copy.types().GetValueForId(top->Get_Id()));
    ASSERT_NE(readTop, nullptr);
    EXPECT_TRUE(readTop->IsRootItem());
    EXPECT_EQ(readTop->Get_DetailFolders()->GetCount(), 2u);
    EXPECT_DOUBLE_EQ(readTop->Get_mBalance(), 0.0);
    EXPECT_TRUE(readTop->Get_mb_IsOpen());
    EXPECT_EQ(readTop->Get_StringRefAccountingNumber(), "1000");

    child->Debiteer(70.0);   // without the stored balance, the bytes are the same
    EXPECT_EQ(RecordOf(*readTop), RecordOf(*top));
}

TEST(AccountTypeRecord, OlderRecordsReadWithTheirDefaults)
{
    ChartBooks books;
    CAccType* parent = books.Type(1, "Parent");

    const struct {
        FourCharCode version;
        bool hasNumber;
        bool hasParent;
    } cases[] = {{fourCC("0.70"), false, false}, {fourCC("1.05"), true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(fourCCToString(c.version));
        StreamWriter writer;
        writer->WriteBigOsType(type::kAccountType);
        writer->WriteObjectIdT(901);
        writer->WriteCString("Old");
        writer->WriteEnumT(0);
        if (version::AtLeast(c.version, version::k1_01)) writer->WriteEnumT(1);
        if (c.hasNumber) writer->WriteCString("12");
        writer->WriteObjectIdT(1);
        writer->WriteCString("Old description");
        writer->WriteAmountTT(500.0);
        if (c.hasParent) writer->WriteObjectIdT(parent->Get_Id());

        StreamReader reader(writer.bytes());
        CAccType read(reader.stream(), c.version, &books.doc);
        EXPECT_EQ(reader->GetMarker(), static_cast<std::int32_t>(writer.bytes().size()));
        EXPECT_DOUBLE_EQ(read.Get_mBalance(), 0.0);
        EXPECT_EQ(read.Get_StringrefDesc(), "Old description");
        EXPECT_EQ(read.Get_StringRefAccountingNumber(), c.hasNumber ? "12" : "");
        EXPECT_EQ(read.IsRootItem(), !c.hasParent);
        EXPECT_EQ(test::Holds(parent->Get_DetailFolders(), &read), c.hasParent);
    }
    // A type read below a parent and then dropped leaves no trace there.
    EXPECT_EQ(parent->Get_DetailFolders()->GetCount(), 0u);
}

} // namespace
} // namespace ch
