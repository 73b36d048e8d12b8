// The dispatch of commands 0 to 46 walked as one table: with a target of the
// command's kind and an argument object of its class, the command reaches its
// operation and answers its result, and the document is marked changed
// exactly when the operation changed the books; without them, or with ones of
// another kind or class, it reaches nothing, changes nothing and answers its
// refusal.

#include <gtest/gtest.h>

#include <functional>

#include "../document_fixture.h"
#include "bridge/CAccTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CRcrTItem.h"
#include "document/GXNonVisual.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "document/commands/CommandJournalReader.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CRecurringTransaction.h"
#include "model/ModelCodes.h"
#include "recording_operations.h"

namespace ch::test {
namespace {

// A model object of any type, for the budget items the budget page makes.
class TypedObject : public CNonVisual {
public:
    TypedObject(ObjectIdT id, FourCharCode type) : CNonVisual(id) { SetObjectType(type); }
};

class FakeVATRate : public GXNonVisual {
public:
    std::string objectType() const override { return "VatR"; }
    std::optional<ObjectIdT> idKey() const override { return 2; }
};

class FakeInvoice : public GXNonVisual {
public:
    std::string objectType() const override { return "InvC"; }
    std::optional<ObjectIdT> idKey() const override { return 3; }
};

// An argument object of whatever class name it is given: the budget and
// business classes, or a class no command takes.
class NamedArguments : public CArgumentAncestor {
public:
    explicit NamedArguments(std::string name) : mName(std::move(name)) {}
    std::string argumentClass() const override { return mName; }
    bool recoverFromDictionary(const Dictionary&) override { return true; }

protected:
    void addEntries(Dictionary&) const override {}

private:
    std::string mName;
};

using TargetMaker = std::function<CommandTarget()>;
using ArgumentsMaker = std::function<std::unique_ptr<CArgumentAncestor>()>;

template <class T>
ArgumentsMaker make()
{
    return [] { return std::unique_ptr<CArgumentAncestor>(new T()); };
}

ArgumentsMaker named(std::string name)
{
    return [name] { return std::unique_ptr<CArgumentAncestor>(new NamedArguments(name)); };
}

ArgumentsMaker transactionArguments(bool withDictionary)
{
    return [withDictionary] {
        auto arguments = std::make_unique<arguments::CTransactionArguments>();
        if (withDictionary) arguments->mTransactionDictionary = Dictionary{{"TransactionType", 3}};
        return std::unique_ptr<CArgumentAncestor>(std::move(arguments));
    };
}

class CommandDispatchTest : public DocumentTest {
protected:
    CommandDispatchTest() { installRecordingOperations(*document, recorder); }

    std::shared_ptr<CNonVisualDataItem> itemOf(CNonVisual* object)
    {
        auto item = std::make_shared<CNonVisualDataItem>(object);
        keptItems.push_back(item);
        return item;
    }

    std::shared_ptr<CNonVisualDataItem> budgetItem(FourCharCode type)
    {
        budgetObjects.push_back(std::make_unique<TypedObject>(40 + static_cast<ObjectIdT>(budgetObjects.size()), type));
        return itemOf(budgetObjects.back().get());
    }

    std::shared_ptr<CTrnSItem> postedTransaction()
    {
        return document->dataItemController().transactionItemForTrnS(root().InsertTransaction(1, 0, 3));
    }

    std::shared_ptr<CTrnSItem> unlinkedTransaction()
    {
        CTransaction* transaction = root().InsertTransaction(1, 0, 3);
        root().UnlinkTrans(transaction);
        return document->dataItemController().transactionItemForTrnS(transaction);
    }

    std::shared_ptr<CRcrTItem> recurringTransaction()
    {
        return document->dataItemController().transactionItemForRcrT(root().InsertRecurringTransaction(1, 1));
    }

    struct Attempt {
        int result;
        std::vector<std::string> calls;
        bool marked;
    };
    Attempt attempt(int command, const CommandTarget& target, const CommandArgument& argument)
    {
        recorder.calls.clear();
        long before = document->changeCount();
        int result = executor().executeCommand(command, target, argument);
        return {result, recorder.calls, document->changeCount() != before};
    }

    OperationRecorder recorder;
    std::vector<std::unique_ptr<TypedObject>> budgetObjects;
    std::vector<std::shared_ptr<CNonVisualDataItem>> keptItems;
};

struct Row {
    int command;
    TargetMaker target;       // none: the command takes no target
    TargetMaker wrongTarget;  // a target of another kind
    ArgumentsMaker arguments; // none: the command takes no argument object
    std::string operation;
    int result;
    int refusal = -1;
    ArgumentsMaker incomplete = nullptr;   // an argument object of the class that cannot serve
    bool argumentsOptional = false;        // runs without an argument object as well
};

TEST_F(CommandDispatchTest, EveryCommandReachesItsOperationOnlyWithWhatItNeeds)
{
    const TargetMaker currency = [&] { return document->getHomeCurrency(); };
    const TargetMaker accountType = [&] { return document->getAccountTypeItemForId(books::kOwnPropertyType); };
    const TargetMaker account = [&] { return document->getAccountItemForId(books::kDefaultAccount); };
    const TargetMaker category = [&] { return document->getExpenseTypeItemForId(books::kExpenseCategory); };
    const TargetMaker group = [&] {
        return document->dataItemController().categoryTypeItemForCategoryType(document->getMasterExpenseTypeForId(1));
    };
    const TargetMaker owner = [&] { return document->getMeAsAcoWItem(); };
    const TargetMaker transaction = [&] { return postedTransaction(); };
    const TargetMaker detail = [&] { return budgetItem(type::kBudgetDetail); };
    const TargetMaker xref = [&] { return budgetItem(type::kBudgetXRef); };
    const TargetMaker budget = [&] { return budgetItem(type::kBudgetHeader); };
    const TargetMaker vatRate = [] { return std::make_shared<FakeVATRate>(); };
    const TargetMaker invoice = [] { return std::make_shared<FakeInvoice>(); };
    const TargetMaker none;

    const std::vector<Row> rows = {
        {0, detail, xref, named("ModifyBudgetDetailArguments"), "modifyBudgetDetail", 7},
        {1, xref, detail, named("ModifyBudgetXRefArguments"), "modifyBudgetXRef", 7, -1,
         named("ModifyBudgetDetailArguments")},
        {2, budget, xref, named("NewBudgetXRefArguments"), "createBudgetXRefForBudget", 7},
        {4, budget, detail, named("TransferBudgetXRefArguments"), "modifyTransferXRef", 7},
        {5, budget, xref, named("ModifyBudgetHeaderArguments"), "modifyBudget", 7},
        {6, none, none, make<arguments::CurrencyArguments>(), "createCurrency", 7},
        {7, currency, account, make<arguments::CurrencyArguments>(), "modifyCurrency", 7},
        {8, none, none, make<arguments::CShareArguments>(), "createShare", 7},
        {9, currency, account, make<arguments::CShareArguments>(), "modifyShare", 7},
        {10, accountType, account, make<arguments::AccountTypeArguments>(), "modifyAccountType", 7},
        {11, none, none, make<arguments::AccountTypeArguments>(), "createAccountType", 7, 0},
        {12, account, accountType, make<arguments::AccountArguments>(), "modifyAccount", 7},
        {13, none, none, make<arguments::AccountArguments>(), "createAccount", 7},
        {14, category, group, make<arguments::CategoryParameters>(), "modifyCategory", 7},
        {15, none, none, make<arguments::CategoryParameters>(), "createCategory", 7},
        {16, group, category, make<arguments::CategoryGroupParameters>(), "modifyCategoryGroup", 7},
        {17, none, none, make<arguments::CategoryGroupParameters>(), "createCategoryGroup", 7},
        {18, currency, account, make<arguments::CurrencyRateParameters>(), "changeRateForCurrency", 7},
        {20, currency, account, make<arguments::BuySellSharesParameters>(), "buyOrSellShares", 7},
        {21, currency, account, make<arguments::BuySellSharesParameters>(), "buyOrSellShares", 7},
        {22, currency, account, make<arguments::RegisterDividendParameters>(), "registerDividendForShare", 7},
        {23, none, none, transactionArguments(true), "makeNewTransaction linked", -1, -1, transactionArguments(false)},
        {24, transaction, account, transactionArguments(true), "updateTransaction", -1, -1, transactionArguments(false)},
        {25, none, none, transactionArguments(true), "makeNewrecurringTrns", -1, -1, transactionArguments(false)},
        {26, none, none, make<arguments::CAcoWArguments>(), "insertOwner", 7},
        {27, owner, account, make<arguments::CAcoWArguments>(), "updateAccountOwner", 7},
        {29, transaction, account, nullptr, "performLinkTransaction", -1},
        {31, none, none, make<arguments::ImportTransactionArguments>(), "importTransaction", 7},
        {33, none, none, named("VATRateArguments"), "createVATRate", 7},
        {34, vatRate, invoice, named("VATRateArguments"), "updateVATRate", 7},
        {37, vatRate, invoice, make<arguments::CDeleteObjectParms>(), "performDeleteVATRate", -1, -1, nullptr, true},
        {38, none, none, named("InvoiceArguments"), "createCustomerInvoice", 7},
        {39, transaction, vatRate, named("InvoiceArguments"), "modifyCustomerInvoice", 7},
        {41, none, none, named("InvoiceArguments"), "createSupplierInvoice", 7},
        {42, transaction, vatRate, named("InvoiceArguments"), "modifySupplierInvoice", 7},
        {44, none, none, named("PaymentArguments"), "createCustomerPayment", 7},
        {45, transaction, vatRate, named("SplitPaymentArguments"), "splitPayment", 7},
        {46, none, none, named("PaymentArguments"), "createCustomerPayment", 7},
    };

    const ArgumentsMaker otherClass = named("NoSuchArguments");
    for (const Row& row : rows) {
        SCOPED_TRACE("command " + std::to_string(row.command));
        auto target = [&] { return row.target ? row.target() : nullptr; };
        std::unique_ptr<CArgumentAncestor> arguments = row.arguments ? row.arguments() : nullptr;

        recorder.answer = CommandOutcome::changed(7);
        Attempt done = attempt(row.command, target(), arguments.get());
        EXPECT_EQ(done.result, row.result);
        EXPECT_EQ(done.calls, std::vector<std::string>{row.operation});
        EXPECT_TRUE(done.marked);

        recorder.answer = CommandOutcome::unchanged(7);
        Attempt unchanged = attempt(row.command, target(), arguments.get());
        EXPECT_EQ(unchanged.calls, std::vector<std::string>{row.operation});
        EXPECT_FALSE(unchanged.marked);

        recorder.answer = CommandOutcome::changed(7);
        std::vector<std::pair<std::string, Attempt>> refused;
        if (row.arguments) {
            if (!row.argumentsOptional)
                refused.emplace_back("no arguments", attempt(row.command, target(), nullptr));
            std::unique_ptr<CArgumentAncestor> wrong = otherClass();
            refused.emplace_back("arguments of another class", attempt(row.command, target(), wrong.get()));
        }
        if (row.incomplete) {
            std::unique_ptr<CArgumentAncestor> incomplete = row.incomplete();
            refused.emplace_back("arguments that cannot serve", attempt(row.command, target(), incomplete.get()));
        }
        if (row.target) {
            refused.emplace_back("no target", attempt(row.command, nullptr, arguments.get()));
            refused.emplace_back("a target of another kind", attempt(row.command, row.wrongTarget(), arguments.get()));
            auto detached = std::make_shared<CNonVisualDataItem>();
            if (!std::dynamic_pointer_cast<GXNonVisual>(row.target()))
                refused.emplace_back("an item without object", attempt(row.command, detached, arguments.get()));
        }
        for (const auto& [what, refusal] : refused) {
            SCOPED_TRACE(what);
            EXPECT_EQ(refusal.result, row.refusal);
            EXPECT_TRUE(refusal.calls.empty());
            EXPECT_FALSE(refusal.marked);
        }
    }
}

TEST_F(CommandDispatchTest, BudgetCrossReferenceRemovalTakesTheBudgetItemAsItsArgument)
{
    auto xref = budgetItem(type::kBudgetXRef);
    auto budget = budgetItem(type::kBudgetHeader);
    EXPECT_EQ(attempt(3, xref, CommandArgument(std::shared_ptr<Observable>(budget))).calls,
              std::vector<std::string>{"deleteBudgetXRef"});
    for (const auto& [target, argument] : std::vector<std::pair<CommandTarget, CommandTarget>>{
             {xref, nullptr}, {xref, budgetItem(type::kBudgetDetail)}, {budget, budget}, {nullptr, budget}}) {
        Attempt refused = attempt(3, target, CommandArgument(argument));
        EXPECT_EQ(refused.result, -1);
        EXPECT_TRUE(refused.calls.empty());
    }
    // The failed class checks say which check failed.
    attempt(1, budgetItem(type::kBudgetXRef), NamedArguments("ModifyBudgetDetailArguments"));
    EXPECT_EQ(environment.developerLines.at(environment.developerLines.size() - 2),
              "MyDocument ModifyBudgetXRef : inArguments is not a ModifyBudgetDetailArguments!");
}

TEST_F(CommandDispatchTest, DeletionChoosesItsOperationByTheObjectsType)
{
    struct Case {
        TargetMaker target;
        std::string operation;
    };
    const std::vector<Case> cases = {
        {[&] { return document->getHomeCurrency(); }, "performDeleteCurrency"},
        {[&] { return document->getAccountItemForId(books::kDefaultAccount); }, "performDeleteAccount"},
        {[&] { return document->getAccountTypeItemForId(books::kOwnPropertyType); }, "performDeleteAccountType"},
        {[&] { return recurringTransaction(); }, "performDeleteRecurringTransaction"},
        {[&] { return document->dataItemController().categoryTypeItemForCategoryType(document->getMasterExpenseTypeForId(1)); },
         "performDeleteMasterExpenseType"},
        {[&] { return document->getExpenseTypeItemForId(books::kExpenseCategory); }, "performDeleteExpenseType"},
        {[&] { return document->getMeAsAcoWItem(); }, "performDeleteOwner"},
        {[&] { return unlinkedTransaction(); }, "performDeleteUnlinkedTransaction"},
        {[&] { return postedTransaction(); }, "performDeleteTransaction asking"},
    };
    arguments::CDeleteObjectParms asking;
    asking.withAsking = true;
    for (const Case& c : cases) {
        Attempt deleted = attempt(28, c.target(), asking);
        EXPECT_EQ(deleted.result, -1);
        EXPECT_EQ(deleted.calls, std::vector<std::string>{c.operation});
    }
    // Without arguments nobody is asked; an object of a kind that cannot go is refused.
    EXPECT_EQ(attempt(28, postedTransaction(), nullptr).calls, std::vector<std::string>{"performDeleteTransaction"});
    EXPECT_TRUE(attempt(28, budgetItem(type::kBank), asking).calls.empty());
    EXPECT_TRUE(attempt(28, document->getAccountItemForId(books::kDefaultAccount), NamedArguments("X")).calls.empty());
}

TEST_F(CommandDispatchTest, RelocationMovesAnObjectOrAnswersZero)
{
    arguments::CDragAndDropRelocationArgument move;
    move.idDroppedObject = books::kDefaultAccount;
    move.droppedObjectType = type::kAccount;
    move.idReceivingObject = 6;
    move.receivingObjectType = type::kAccountType;
    Attempt moved = attempt(30, nullptr, move);
    EXPECT_EQ(moved.result, 1);
    EXPECT_TRUE(moved.marked);
    EXPECT_EQ(document->getAccountForId(books::kDefaultAccount)->Get_mAccountTypeId(), 6);

    move.idReceivingObject = 999;
    Attempt missing = attempt(30, nullptr, move);
    EXPECT_EQ(missing.result, 0);
    EXPECT_FALSE(missing.marked);
    EXPECT_EQ(attempt(30, nullptr, nullptr).result, 0);
}

TEST_F(CommandDispatchTest, NumbersWithoutOperationAndRefusedCommandsDoNothingAndLeaveNoEntry)
{
    const std::string journal = document->journalFileName();
    for (int number : {19, 32, 35, 36, 40, 43, 47, 200, 255}) {
        Attempt nothing = attempt(number, document->getHomeCurrency(), arguments::CurrencyArguments());
        EXPECT_EQ(nothing.result, -1) << number;
        EXPECT_TRUE(nothing.calls.empty()) << number;
        EXPECT_FALSE(nothing.marked) << number;
    }
    // Nor does a refused command: the entry written before it ran is taken
    // back, as it changed nothing. One that changed the books stays.
    attempt(13, nullptr, nullptr);
    arguments::CategoryGroupParameters group;
    group.name = "Kept";
    attempt(17, nullptr, group);
    std::vector<int> journaled;
    for (const GXCommandHistoryItem& item : readCommandJournalFile(journal).items) journaled.push_back(item.mCommand);
    EXPECT_EQ(journaled, (std::vector<int>{17}));

    // Numbers beyond one byte are neither run nor journaled.
    EXPECT_EQ(attempt(256 + 13, nullptr, arguments::AccountArguments()).calls.size(), 0u);
    EXPECT_EQ(attempt(-1, nullptr, nullptr).result, -1);
    EXPECT_EQ(readCommandJournalFile(journal).items.size(), journaled.size());
}

TEST_F(CommandDispatchTest, WithoutDocumentOrJournalingNothingIsWritten)
{
    CCommandExecutor lone;
    EXPECT_EQ(lone.executeCommand(13, nullptr, arguments::AccountArguments()), -1);
    EXPECT_FALSE(fileExists(document->journalFileName()));

    environment.setJournaling(false);
    EXPECT_EQ(attempt(13, nullptr, arguments::AccountArguments()).calls, std::vector<std::string>{"createAccount"});
    document->fileSaved();
    EXPECT_FALSE(fileExists(document->journalFileName()));
    EXPECT_FALSE(fileExists(backupPathForJournal(document->journalFileName())));
}

} // namespace
} // namespace ch::test
