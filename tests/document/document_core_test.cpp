// The document without its window: its arrays and the listener that keeps the
// transaction array and the change count, moves in the chart of accounts,
// the queries of the model, and the journals of untitled documents.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "bridge/CAccTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CRcrTItem.h"
#include "document/GXNonVisual.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/AccountArguments.h"
#include "document/commands/CommandJournalReader.h"
#include "document/commands/JournalNames.h"
#include "document_fixture.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CMasterExpenseType.h"
#include "model/CRecurringTransaction.h"
#include "model/ModelCodes.h"

namespace ch::test {
namespace {

class Business : public GXNonVisual {
public:
    Business(std::string type, ObjectIdT id) : mType(std::move(type)), mId(id) {}
    std::string objectType() const override { return mType; }
    std::optional<ObjectIdT> idKey() const override { return mId; }

private:
    std::string mType;
    ObjectIdT mId;
};

class DocumentCoreTest : public DocumentTest {
protected:
    // A journal of one command 17 at the path.
    static void leaveJournal(const std::string& path)
    {
        GXCommandLogger logger(path);
        logger.logCommand(17, "{ArgumentClass = CategoryGroupParameters; idKey = -1; name = Left; }", std::nullopt);
    }

    void createGroup(MyDocument& books, const char* name)
    {
        arguments::CategoryGroupParameters group;
        group.name = name;
        books.commandExecutor().executeCommand(17, nullptr, group);
    }
};

TEST_F(DocumentCoreTest, NewDocumentStartsCleanWithItsArraysFilled)
{
    EXPECT_FALSE(document->isDocumentEdited());
    ASSERT_NE(document->mPreference(), nullptr);
    ASSERT_EQ(document->mCurrencyArray().size(), 1u);
    EXPECT_EQ(document->mCurrencyArray()[0]->mShortName(), "EUR");
    EXPECT_TRUE(document->mShareArray().empty());
    ASSERT_EQ(document->mOwnerArray().size(), 1u);
    EXPECT_EQ(document->mOwnerArray()[0]->getId(), 1);
    EXPECT_EQ(document->getDefaultOwnPropertyAccount(), books::kDefaultAccount);
}

TEST_F(DocumentCoreTest, ListenerPutsANewTransactionAtTheTopOnceOnlyAfterTheArraysAreFilled)
{
    std::vector<std::uint8_t> saved = document->modelStreamBytes();
    auto opened = std::make_unique<MyDocument>(dispatcher);
    LDataStream stream;
    stream.SetBuffer(saved.data(), static_cast<std::int32_t>(saved.size()));
    ASSERT_TRUE(opened->readModel(stream));
    CDocAccounting& books = *opened->accounting();

    // While reading: counted, not shown.
    CTransaction* early = books.InsertTransaction(1, 0, 3);
    EXPECT_TRUE(opened->mTransactionArray().empty());
    opened->finishLoading();
    EXPECT_FALSE(opened->isDocumentEdited());
    ASSERT_EQ(opened->mTransactionArray().size(), 1u);

    CTransaction* late = books.InsertTransaction(1, 0, 3);
    opened->ListenToMessage(msg::kItemInserted, late);
    ASSERT_EQ(opened->mTransactionArray().size(), 2u);
    EXPECT_EQ(opened->mTransactionArray()[0]->getSourceItem(), late);
    EXPECT_EQ(opened->mTransactionArray()[1]->getSourceItem(), early);
    EXPECT_TRUE(opened->isDocumentEdited());

    opened->clearChangeCount();
    opened->ListenToMessage(msg::kItemsRemoved, late);
    EXPECT_TRUE(opened->isDocumentEdited());
    EXPECT_EQ(opened->mTransactionArray().size(), 2u);
}

TEST_F(DocumentCoreTest, ATopLevelObjectMovedBelowAnotherIsAnnounced)
{
    CAccType* loose = root().InsertAccountType(-1, "Loose", std::string_view("Loose"), nullptr, std::nullopt, 1, -1);
    ASSERT_NE(loose, nullptr);
    ASSERT_TRUE(loose->IsRootItem());
    NotificationLog log(document->notificationCenter(), {"OBJECTREMOVEDFROMROOTNOTIFICATION"});

    EXPECT_TRUE(document->setSuperitemId(books::kOwnPropertyType, type::kAccountType, loose->Get_Id(),
                                         type::kAccountType));
    ASSERT_EQ(log.posted.size(), 1u);
    EXPECT_EQ(log.posted[0].objectAs<CAccTItem>()->getSourceItem(), loose);
    EXPECT_TRUE(document->isDocumentEdited());

    EXPECT_FALSE(document->setSuperitemId(999, type::kAccountType, loose->Get_Id(), type::kAccountType));
    EXPECT_FALSE(document->setSuperitemId(books::kOwnPropertyType, type::kBank, 1, type::kBank));
    EXPECT_EQ(log.posted.size(), 1u);
}

// An own account that currency fluctuations were booked on, moved among
// the profit-and-loss accounts: the fluctuations now lie between two of them
// and move no value. Reading drops them; the move drops them at once (its
// pages told), so the books open as they were left.
TEST_F(DocumentCoreTest, AnAccountMovedAmongProfitAndLossLeavesNoFluctuationsThatReadingWouldDrop)
{
    arguments::AccountArguments savings(-1, std::string("Savings"), std::string(), 1, std::nullopt, std::nullopt,
                                        std::nullopt, std::nullopt, std::nullopt, 100.0, std::nullopt);
    const auto savingsId = static_cast<ObjectIdT>(executor().executeCommand(13, nullptr, savings));
    CAccount* income = root().GetAccountForName(std::string_view("Income"));
    ASSERT_TRUE(savingsId > 0 && income && income->thisIsAProfitAndLossAccount());
    for (const char* name : {"Currency Fluctuations:USD", "Interest"}) {
        arguments::CTransactionArguments booked;
        booked.mTransactionDictionary = transactionDictionary(income->Get_Id(), savingsId,
                                                              document->get_mDefExpTUnspecifiedIncome(), 3.0,
                                                              20240301, name);
        executor().executeCommand(23, nullptr, booked);
    }
    ASSERT_EQ(document->mTransactionArray().size(), 2u);
    const ObjectIdT profitAndLoss = income->Get_mAccountTypeId();

    EXPECT_TRUE(document->setSuperitemId(profitAndLoss, type::kAccountType, savingsId, type::kAccount));
    ASSERT_EQ(document->mTransactionArray().size(), 1u);
    EXPECT_EQ(document->mTransactionArray().front()->getName(), "Interest");
    EXPECT_EQ(root().mTransactionList->GetCount(), 1u);
    const double balance = root().GetAccountForID(savingsId)->Get_mBalance();

    std::unique_ptr<MyDocument> opened = openDocument(document->modelStreamBytes(), "Moved.books");
    EXPECT_EQ(opened->mTransactionArray().size(), 1u);
    EXPECT_DOUBLE_EQ(opened->accounting()->GetAccountForID(savingsId)->Get_mBalance(), balance);
}

TEST_F(DocumentCoreTest, ObjectsAndItemsByKey)
{
    CTransaction* posted = root().InsertTransaction(1, 0, 3);   // its item is made as it comes in
    const std::string postedKey = "TrnS" + std::to_string(posted->Get_Id());
    CNonVisual* recurring = root().InsertRecurringTransaction(1, 1);
    const std::string recurringKey = "RctR" + std::to_string(recurring->Get_Id());
    auto rate = std::make_shared<Business>("VatR", 2);
    holdVATRates({rate});

    struct ObjectCase {
        std::string key;
        CNonVisual* object;
    };
    for (const ObjectCase& c : std::vector<ObjectCase>{
             {"AcnT4", document->getAccountForId(4)},
             {"AcnT4294967300", document->getAccountForId(4)},   // the low 32 bits of the id
             {"AccT1", document->getAccountTypeForId(1)},
             {"ExpT2", document->getExpenseTypeForId(2)},
             {"MxpT1", document->getMasterExpenseTypeForId(1)},
             {postedKey, posted},
             {recurringKey, nullptr},
             {"CurR1", nullptr},
             {"BanK3", nullptr},
             {"Acn", nullptr}})
        EXPECT_EQ(document->objectWithKey(c.key), c.object) << c.key;

    // Items: the registered one, else one made for the object the key names.
    struct ItemCase {
        std::string key;
        CNonVisual* object;
    };
    for (const ItemCase& c : std::vector<ItemCase>{{"AcnT4", document->getAccountForId(4)},
                                                   {"CurR1", document->getCurrencyForId(1)},
                                                   {"aCoW1", document->getMe()},
                                                   {postedKey, posted},
                                                   {recurringKey, recurring},
                                                   {"AcnT999", nullptr},
                                                   {"XxxX1", nullptr}}) {
        auto item = std::dynamic_pointer_cast<CNonVisualDataItem>(document->dataItemWithKey(c.key));
        EXPECT_EQ(item ? item->getSourceItem() : nullptr, c.object) << c.key;
        if (item) {
            EXPECT_EQ(document->dataItemController().objectForKey(c.key), item) << c.key;
        }
    }
    EXPECT_EQ(document->dataItemWithKey("VatR2"), rate);
    EXPECT_EQ(document->dataItemWithKey("VatR9"), nullptr);
}

TEST(ObjectFromArray, FindsTheBusinessObjectOfTheIdOrFallsBackToTheFirstOneWhenAsked)
{
    // Elements that are no business objects are passed over, even in front.
    auto plain = std::make_shared<Observable>();
    auto first = std::make_shared<Business>("VatR", 3);
    auto second = std::make_shared<Business>("VatP", 7);
    const std::vector<std::shared_ptr<Observable>> mixed{plain, first, second};
    const std::vector<std::shared_ptr<Observable>> none{plain};
    struct Case {
        const std::vector<std::shared_ptr<Observable>>* array;
        std::optional<long> id;
        bool returnFirst;
        std::shared_ptr<GXNonVisual> found;
    };
    for (const Case& c : std::vector<Case>{{&mixed, 7, false, second},
                                           {&mixed, 3, true, first},
                                           {&mixed, 9, false, nullptr},
                                           {&mixed, 9, true, first},
                                           {&mixed, std::nullopt, true, first},
                                           {&none, 1, true, nullptr},
                                           {&none, 1, false, nullptr}})
        EXPECT_EQ(objectFromArray(*c.array, c.id, c.returnFirst), c.found)
            << c.id.value_or(-1) << " " << c.returnFirst << " " << c.array->size();
}

TEST_F(DocumentCoreTest, AccountsRenamedWhileTheAssistantRanAreInNameOrderOnceItEnds)
{
    auto names = [this] {
        std::vector<std::string> out;
        for (const auto& account : document->allAccounts()) out.push_back(account->getName());
        return out;
    };
    auto byName = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    };
    document->assistantStarted();
    ASSERT_TRUE(document->assistantRunning());
    // The assistant renames the proposed accounts in place: their order goes stale.
    std::vector<std::string> before = names();
    ASSERT_GE(before.size(), 2u);
    CAccount* first = document->getAccountForName(before.front());
    ASSERT_NE(first, nullptr);
    first->Put_StringrefName(std::string_view("Zz Savings"));
    const std::vector<std::string> stale = names();
    ASSERT_FALSE(std::is_sorted(stale.begin(), stale.end(), byName));

    document->assistantFinished();
    EXPECT_FALSE(document->assistantRunning());
    const std::vector<std::string> after = names();
    EXPECT_TRUE(std::is_sorted(after.begin(), after.end(), byName)) << after.front() << " ... " << after.back();
    EXPECT_EQ(after.back(), "Zz Savings");
}

TEST_F(DocumentCoreTest, WithoutBusinessBookkeepingNoRateIsFoundAndNoArchiveBytesAreDropped)
{
    EXPECT_EQ(document->VATRateWithId(1, true), nullptr);
    EXPECT_EQ(document->dataItemWithKey("VatR1"), nullptr);
    // Five empty arrays, which read back as nothing lost.
    const PlistOutput written = document->businessArchiveBytes();
    EXPECT_TRUE(written.ok());
    EXPECT_EQ(written.bytes, emptyBusinessArchive().bytes);
    EXPECT_EQ(document->readBusinessArchive(written.bytes), 0);
    EXPECT_EQ(document->readBusinessArchive(""), 0);
    // Bytes nobody reads would be lost by saving over the file.
    EXPECT_EQ(document->readBusinessArchive("bplist00"), kIncompleteBusinessArchiveWarning);
}

TEST_F(DocumentCoreTest, TheSingleLongAccountNameInADescription)
{
    const ObjectIdT green = root().InsertAccount(-1, "Green Energy Co", std::string_view("Green Energy Co"), nullptr,
                                                 std::nullopt, books::kProfitAndLossType, 0, nullptr)->Get_Id();
    root().InsertAccount(-1, "Shop", std::string_view("Shop"), nullptr, std::nullopt, books::kProfitAndLossType, 0,
                         nullptr);
    root().InsertAccount(-1, "Water Works", std::string_view("Water Works"), nullptr, std::nullopt,
                         books::kProfitAndLossType, 0, nullptr);
    struct Case {
        std::string description;
        std::optional<ObjectIdT> account;
    };
    for (const Case& c : std::vector<Case>{{"Debit GREEN ENERGY CO ref 7 Shop", green},
                                           {"Debit GreenEnergyCo ref 7 Shop", green},
                                           {"Debit/GreenEnergyCo/Shop", std::nullopt},   // no white space: blanks count
                                           {"Green Energy Co and Water Works", std::nullopt},
                                           {"Shop only", std::nullopt}}) {
        auto found = document->getAccountForTransactionDescription(c.description);
        EXPECT_EQ(found ? found->getId() : std::nullopt, c.account) << c.description;
    }
}

TEST_F(DocumentCoreTest, ListsAndOwnersAsThePagesAskForThem)
{
    CMasterExpenseType* zeta = root().InsertMasterExpenseType(-1, "Zeta", std::string_view("Zeta"), nullptr,
                                                              std::nullopt, group_kind::kExpense, -1);
    CMasterExpenseType* alpha = root().InsertMasterExpenseType(-1, "Alpha", std::string_view("Alpha"), nullptr,
                                                               std::nullopt, group_kind::kExpense, -1);
    CNamedListArray* groups = document->getMasterExpenseTypeList();
    EXPECT_LT(groups->FetchIndexOfObject(alpha), groups->FetchIndexOfObject(zeta));

    for (const char* name : {"Bea", "Bob"}) {
        CAccountOwner* owner = root().InsertAccountOwner(-1, std::string_view(name), std::nullopt, std::nullopt,
                                                         std::nullopt, std::nullopt, std::nullopt, std::nullopt);
        auto item = document->dataItemController().accountOwnerItemForAccountOwner(owner);
        item->setUID("ABC-123");
        document->mOwnerArray().push_back(item);
    }
    EXPECT_EQ(document->getAccountOwnerForUID("ABC-123"), document->mOwnerArray().back());
    EXPECT_EQ(document->getAccountOwnerForUID("none"), nullptr);
}

TEST_F(DocumentCoreTest, EachUntitledDocumentJournalsOnItsOwnAndTheFirstFindsTheLegacyJournal)
{
    const std::string legacy = folder.file("UntitledQVLDocument.log");
    EXPECT_EQ(document->journalFileName(), legacy);
    std::unique_ptr<MyDocument> second = newDocument();
    EXPECT_EQ(second->journalFileName(), folder.file("UntitledQVLDocument-2.log"));
    createGroup(*document, "First");
    createGroup(*second, "Second");
    EXPECT_EQ(readCommandJournalFile(legacy).items.size(), 1u);
    EXPECT_EQ(readCommandJournalFile(second->journalFileName()).items.size(), 1u);

    // Saving one leaves the other's journal alone.
    second->fileSaved();
    EXPECT_TRUE(fileExists(legacy));

    // A journal left under the legacy name is offered to the next first
    // untitled document instead of the assistant.
    document.reset();
    std::filesystem::remove(legacy);
    leaveJournal(legacy);
    environment.defaults().set("GXShowNewDocumentAssistant", true);
    std::unique_ptr<MyDocument> next = newDocument();
    EXPECT_EQ(next->journalFileName(), legacy);
    EXPECT_EQ(next->commandExecutor().commandsToRecover().size(), 1u);
    EXPECT_FALSE(next->shouldShowNewFileAssistant());
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_NE(next->getMasterExpenseTypeForName("Left"), nullptr);
    EXPECT_TRUE(second->shouldShowNewFileAssistant());
}

TEST_F(DocumentCoreTest, SavingRotatesAnyJournalAndANamedDocumentJournalsBesideItsFile)
{
    const std::string untitled = document->journalFileName();
    createGroup(*document, "Before");
    const std::string path = folder.file("Home.books");
    document->setFileName(path);
    document->fileSaved();
    EXPECT_FALSE(fileExists(untitled));
    EXPECT_TRUE(fileExists(backupPathForJournal(untitled)));
    createGroup(*document, "After");
    EXPECT_EQ(readCommandJournalFile(path + ".log").items.size(), 1u);

    // With journaling off, a journal that is there still goes at the save, so
    // that it is never replayed over the newer file; a backup alone stays.
    environment.setJournaling(false);
    document->fileSaved();
    EXPECT_FALSE(fileExists(path + ".log"));
    EXPECT_TRUE(fileExists(path + ".~log"));
    document->fileSaved();
    EXPECT_TRUE(fileExists(path + ".~log"));
}

TEST_F(DocumentCoreTest, EmptyTransactionsForSheetsBelongToNoListAndUseUpNoNumbers)
{
    const IdCounters before = root().Ids();
    const std::size_t recurring = root().mRecurringList->GetCount();
    std::shared_ptr<CRcrTItem> item = document->makeEmptyRecurringTransaction();
    std::shared_ptr<CTrnSItem> transaction = document->makeEmptyTransactionOfType(3);
    EXPECT_TRUE(item->mOwnsSourceItem());
    EXPECT_TRUE(transaction->mOwnsSourceItem());
    EXPECT_EQ(root().mRecurringList->GetCount(), recurring);
    EXPECT_EQ(root().Ids().mi_TrnsNr, before.mi_TrnsNr);
    EXPECT_EQ(root().Ids().mi_DebetNr, before.mi_DebetNr);
}

} // namespace
} // namespace ch::test
