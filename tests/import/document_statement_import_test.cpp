// A statement file through the document with the readers installed: read
// into pending lines, booked through the journaled command, read again as
// duplicates, refused while lines are pending, and replayed after a crash
// to the same books.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../document/document_fixture.h"
#include "document/DocumentFile.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/StatementImport.h"
#include "document/commands/CommandJournalReader.h"
#include "import/CImpTItem.h"
#include "import/CQuickenData.h"
#include "import/InstallStatementImport.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CPreference.h"
#include "platform/core/localized_strings.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class DocumentStatementImportTest : public DocumentTest {
protected:
    DocumentStatementImportTest()
    {
        addAccount("Current Account", books::kOwnPropertyType, "111-1111111-11");
        const ObjectIdT card = addAccount("Visa Card", books::kDebtType, "4111222233334444");
        root().mPreference->Put_mDefaultCreditCardAccount(card);
        addAccount("Restaurant", books::kProfitAndLossType, nullptr);
        saved = document->modelStreamBytes();
    }

    ObjectIdT addAccount(const char* name, ObjectIdT typeId, const char* bankNumber)
    {
        CAccount* account = root().InsertAccount(-1, name, std::string_view(name), "", std::string_view(), typeId,
                                                 books::kEUR, root().GetAccountTypeForId(typeId));
        if (bankNumber) root().setBankAccountNumberT(bankNumber, account);
        return account->Get_Id();
    }

    // The saved books opened again as the file of the journal, readers installed.
    std::unique_ptr<MyDocument> reopen()
    {
        std::unique_ptr<MyDocument> opened = openDocument(saved, folder.file("Books.books"));
        installStatementImport(*opened);
        return opened;
    }

    static std::string statement() { return (std::filesystem::path(COUNTINGHOUSE_TEST_DATA) / "import/ofx/card_sgml.ofx").string(); }

    static std::vector<std::shared_ptr<CImpTItem>> pending(MyDocument& books)
    {
        std::vector<std::shared_ptr<CImpTItem>> lines;
        for (const auto& line : books.statementImport().mImportedTransactionArray())
            lines.push_back(std::dynamic_pointer_cast<CImpTItem>(line));
        return lines;
    }

    Bytes saved;
};

TEST_F(DocumentStatementImportTest, AnOfxFileIsBookedThroughTheJournalAndReadAgainAsDuplicates)
{
    Bytes direct;
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        StatementImport& import = crashed->statementImport();
        ASSERT_TRUE(import.importFile(statement(), StatementKind::OFX));
        EXPECT_EQ(UserDefaults::standard().stringForKey("OFXLOCATION"),
                  std::filesystem::path(statement()).parent_path().string());
        const auto lines = pending(*crashed);
        ASSERT_EQ(lines.size(), 2u);
        for (const auto& line : lines) {
            ASSERT_TRUE(line);
            EXPECT_TRUE(line->isComplete()) << line->mTitle() << ": " << line->mRemark();
            EXPECT_FALSE(line->hasDuplicate());
            EXPECT_TRUE(line->importTimeStamp());
        }

        // Pending lines refuse a second import.
        environment.alerts().clear();
        EXPECT_FALSE(import.importFile(statement(), StatementKind::OFX));
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{235});

        NotificationLog log(crashed->notificationCenter(), {"TRANSACTIONCREATED"});
        EXPECT_EQ(import.doActualImport(), 2);
        EXPECT_FALSE(import.hasPendingLines());
        EXPECT_EQ(log.names(), std::vector<std::string>{"TRANSACTIONCREATED"});
        std::vector<int> journaled;
        for (const auto& item : readCommandJournalFile(crashed->journalFileName()).items)
            journaled.push_back(item.mCommand);
        EXPECT_EQ(journaled, (std::vector<int>{31, 31}));
        for (const auto& line : lines) {
            bool found = false;
            for (const auto& booked : crashed->mTransactionArray())
                found = found || (booked->getName() == line->mTitle() && booked->importTimeStamp() == line->importTimeStamp());
            EXPECT_TRUE(found) << line->mTitle();
        }

        // The same file again: every line duplicates a booked transaction and nothing books.
        ASSERT_TRUE(import.importFile(statement(), StatementKind::OFX));
        const auto again = pending(*crashed);
        ASSERT_EQ(again.size(), 2u);
        for (const auto& line : again) {
            EXPECT_TRUE(line->hasDuplicate()) << line->mTitle();
            EXPECT_NE(line->importTimeStamp(), lines[0]->importTimeStamp());
        }
        EXPECT_EQ(import.doActualImport(), 0);
        EXPECT_EQ(pending(*crashed), again);
        direct = crashed->modelStreamBytes();
    }
    ASSERT_NE(direct, saved);

    // The crash: the saved books and their journal give the same books again.
    std::unique_ptr<MyDocument> replayed = reopen();
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), direct), "");
}

// A QIF file makes accounts and categories as it is read. Cancelling the
// import takes them back: the books are as before it, unedited, with no
// journal left to offer. Once a line was booked, what it uses stays.
// A QIF file that makes two accounts, a category group and a category as it is read.
constexpr const char* kHobbiesQif =
    "!Type:Cat\nNHobbies\nE\n^\nNHobbies:Model Trains\nE\n^\n"
    "!Option:AutoSwitch\n!Account\nNCash Box\nTCash\n^\nNCurrent Account\nTBank\n^\n"
    "!Account\nNCurrent Account\nTBank\n^\n!Type:Bank\n"
    "D3/2/09\nPTrain Shop\nT-12.00\nLHobbies:Model Trains\n^\n"
    "D3/3/09\nPTo the jar\nT-50.00\nL[Savings Jar]\n^\n";

TEST_F(DocumentStatementImportTest, CancellingTakesBackWhatReadingTheFileMadeAndNothingUses)
{
    std::unique_ptr<MyDocument> books = reopen();
    environment.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    const std::string path = folder.file("hobbies.qif");
    std::ofstream(path, std::ios::binary) << kHobbiesQif;
    CDocAccounting& root = *books->accounting();
    const auto counts = [&] {
        return std::tuple(root.mAccountList->GetCount(), root.mExpenseTypeList->GetCount(), root.Ids());
    };
    const auto before = counts();
    const std::string journal = books->journalFileName();
    ASSERT_FALSE(books->isDocumentEdited());
    ASSERT_FALSE(std::filesystem::exists(journal));
    const auto made = [&] {
        return std::vector<bool>{root.GetAccountForName("Cash Box") != nullptr,
                                 root.GetAccountForName("Savings Jar") != nullptr,
                                 root.GetExpenseTypeForName("Model Trains") != nullptr,
                                 root.GetMasterExpenseTypeForName("Hobbies") != nullptr};
    };

    StatementImport& import = books->statementImport();
    ASSERT_TRUE(import.importFile(path, StatementKind::QIF));
    ASSERT_EQ(pending(*books).size(), 2u);
    EXPECT_EQ(made(), (std::vector<bool>{true, true, true, true}));
    EXPECT_TRUE(books->isDocumentEdited());

    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // question 230: OK
    ASSERT_TRUE(import.cancelImport());
    EXPECT_EQ(made(), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(std::get<0>(counts()), std::get<0>(before));
    EXPECT_EQ(std::get<1>(counts()), std::get<1>(before));
    EXPECT_FALSE(books->isDocumentEdited());
    EXPECT_FALSE(std::filesystem::exists(journal));

    // Read again; the train shop's line is booked, the jar's refused, and
    // the rest cancelled: the category the booking uses stays, the books
    // stay edited.
    ASSERT_TRUE(import.importFile(path, StatementKind::QIF));
    const auto lines = pending(*books);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_TRUE(lines[0]->isComplete()) << lines[0]->mRemark();
    lines[1]->setMAccept(false);
    EXPECT_EQ(import.doActualImport(), 1);
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    ASSERT_TRUE(import.cancelImport());
    EXPECT_EQ(made(), (std::vector<bool>{false, false, true, true}));
    EXPECT_TRUE(books->isDocumentEdited());
    std::vector<int> journaled;
    for (const auto& item : readCommandJournalFile(journal).items) journaled.push_back(item.mCommand);
    EXPECT_EQ(std::count(journaled.begin(), journaled.end(), 28), 2) << "the two accounts' deletions";
}

// Cancelling after a save keeps the changes made since, however many; after
// a revert it deletes nothing, since the ids the reading made may by then be
// other objects'.
TEST_F(DocumentStatementImportTest, CancellingAfterASaveOrARevertKeepsWhatWasDoneSince)
{
    std::ofstream(folder.file("Books.books"), std::ios::binary)
        .write(reinterpret_cast<const char*>(saved.data()), static_cast<std::streamsize>(saved.size()));
    std::unique_ptr<MyDocument> books = reopen();
    environment.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    const std::string path = folder.file("hobbies.qif");
    std::ofstream(path, std::ios::binary) << kHobbiesQif;
    CDocAccounting& root = *books->accounting();
    StatementImport& import = books->statementImport();

    ASSERT_TRUE(import.importFile(path, StatementKind::QIF));
    const long readingChanges = books->changeCount();
    ASSERT_TRUE(saveDocument(*books).ok());
    // New groups since the save (each counts twice), topped up to the count
    // the reading had left.
    for (int i = 0; books->changeCount() + 2 <= readingChanges; ++i) {
        arguments::CategoryGroupParameters group;
        group.name = "Later " + std::to_string(i);
        books->commandExecutor().executeCommand(17, nullptr, group);
    }
    if (books->changeCount() < readingChanges) books->updateChangeCount();
    ASSERT_EQ(books->changeCount(), readingChanges) << "as many changes since the save as the reading made";
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // question 230: OK
    ASSERT_TRUE(import.cancelImport());
    EXPECT_EQ(root.GetAccountForName("Cash Box"), nullptr) << "what nothing uses is taken back";
    EXPECT_NE(root.GetMasterExpenseTypeForName("Later 0"), nullptr);
    EXPECT_TRUE(books->isDocumentEdited());
    EXPECT_FALSE(readCommandJournalFile(books->journalFileName()).items.empty());

    ASSERT_TRUE(import.importFile(path, StatementKind::QIF));
    ASSERT_TRUE(revertDocumentToSaved(*books).ok());
    arguments::AccountArguments rainyDay(std::nullopt, "Rainy Day", std::nullopt, books::kOwnPropertyType, books::kEUR,
                                         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                         std::nullopt);
    ASSERT_GT(books->commandExecutor().executeCommand(13, nullptr, rainyDay), 0);
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    ASSERT_TRUE(import.cancelImport());
    EXPECT_NE(books->accounting()->GetAccountForName("Rainy Day"), nullptr) << "the reverted books hold it";
}

TEST_F(DocumentStatementImportTest, UnreadableFilesAndDefinitionsGiveNoLines)
{
    std::unique_ptr<MyDocument> books = reopen();
    StatementImport& import = books->statementImport();
    environment.alerts().clear();
    EXPECT_FALSE(import.importFile(folder.file("missing.qif"), StatementKind::QIF));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{271});
    EXPECT_FALSE(import.importWithFileDesc("No such definition.plist", statement()));
    EXPECT_FALSE(import.hasPendingLines());
}


// A QIF file whose category lists overrun the groups the books can number,
// with many transfer targets, through the document's commands: the error
// each refused group raises is one sentence of one message, and every
// transfer target is made once.
TEST_F(DocumentStatementImportTest, ErrorsOfAFileAreGatheredIntoOneMessage)
{
    std::unique_ptr<MyDocument> books = reopen();
    std::string text = "!Type:Cat\n";
    // Within what one file may make (groups, categories and accounts).
    for (int i = 0; i < 280; ++i)
        text += "NGroup " + std::to_string(i) + "\nE\n^\nNGroup " + std::to_string(i) + ":Item\n^\n";
    text += "!Type:Bank\n";
    for (int i = 0; i < 300; ++i)
        text += "D3/1/09\nPTo fund " + std::to_string(i) + "\nT-1.00\nL[Fund " + std::to_string(i) + "]\n^\n";
    const std::string path = folder.file("groups.qif");
    std::ofstream(path, std::ios::binary) << text;

    environment.alerts().clear();
    ASSERT_TRUE(books->statementImport().importFile(path, StatementKind::QIF));
    EXPECT_EQ(pending(*books).size(), 300u);
    const auto& records = environment.alerts().records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_NE(records[0].alert.message.find(localized("188")), std::string::npos) << records[0].alert.message;

    CDocAccounting& root = *books->accounting();
    for (int i = 0; i < 300; i += 37) {
        const std::string name = "Fund " + std::to_string(i);
        const CAccount* fund = root.GetAccountForName(std::string_view(name));
        ASSERT_NE(fund, nullptr) << name;
        EXPECT_EQ(pending(*books)[static_cast<std::size_t>(i)]->mOtherAccountId(), fund->Get_Id());
    }
}

} // namespace
} // namespace ch::test
