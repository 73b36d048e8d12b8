// The document file: open, save and open again give the same bytes; what
// cannot be read is refused with a number and never written over; business
// data that cannot be read keeps the document off its file; a save that
// fails leaves file, backup and journal as they were; revert starts from
// fresh books.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "bridge/CPrfRItem.h"
#include "document/DocumentFile.h"
#include "document/FilePassword.h"
#include "document/GXNonVisual.h"
#include "document/arguments/CategoryParameters.h"
#include "document/commands/CommandJournalReader.h"
#include "document_fixture.h"
#include "model/CPreference.h"
#include "large_books.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/ModelCodes.h"
#include "platform/core/keyed_archive.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void writeBytes(const std::string& path, const Bytes& bytes)
{
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// An archived object of a class this build cannot read.
class ForeignVATRate final : public Archivable {
public:
    std::vector<std::string> archiveClassNames() const override { return {"GXVATRate", "GXNonVisual", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeValue(Value("VatR"));
        coder.encodeValue(Value(1));
        coder.encodeValue(Value("21 %"));
    }
};

// Business bookkeeping that holds some objects: it writes them only when
// it can, and reading an archive replaces them by what that archive holds
// (here: none), as the document's business bookkeeping does.
class HeldObjectsBusiness final : public DocumentBusiness {
public:
    explicit HeldObjectsBusiness(bool canWrite) : mCanWrite(canWrite) {}

    std::shared_ptr<GXNonVisual> VATRateWithId(ObjectIdT, bool) override { return nullptr; }
    void setUpNewDocument() override {}
    PlistOutput archiveBytes() const override
    {
        return mCanWrite ? emptyBusinessArchive() : PlistOutput{{}, "objects that cannot be archived"};
    }
    long readArchive(std::string_view bytes) override
    {
        archivesRead.emplace_back(bytes);
        objects = 0;
        return 0;
    }

    int objects = 1;
    std::vector<std::string> archivesRead;

private:
    bool mCanWrite;
};

TEST(DocumentFileBooks, GeneratedBooksOpenSaveAndOpenAgainToTheSameBytes)
{
    bench::BenchEnvironment environment;
    ScratchFolder folder;
    ManualDispatcher dispatcher;
    bench::BookCounts counts;
    const Bytes generated = bench::SaveDocument(*bench::BuildLargeBooks({2000, 7}, &counts));
    ASSERT_GT(counts.owners, 0u);
    ASSERT_GT(counts.rates, 0u);
    ASSERT_GT(counts.recurring, 0u);
    ASSERT_GT(counts.budgets, 0u);
    const std::string path = folder.file("Large.books");
    writeBytes(path, generated);

    Bytes saved;
    for (int round = 0; round < 2; ++round) {
        MyDocument document(dispatcher);
        ASSERT_TRUE(readFromFile(document, path).ok());
        EXPECT_EQ(document.mTransactionArray().size(), counts.transactions);
        EXPECT_EQ(document.mOwnerArray().size(), document.getOwnerList()->GetCount());
        EXPECT_EQ(document.mRecurringTransactionArray().size(), counts.recurring);
        document.updateChangeCount();
        ASSERT_TRUE(saveDocument(document).ok());
        if (round == 0) saved = fileBytes(path);
        else EXPECT_EQ(firstDifference(fileBytes(path), saved), "");
    }
    EXPECT_EQ(fileBytes(backupPathForDocument(path)), saved);
    // The document writes what the model alone writes after reading the file.
    Bytes copy = generated;
    EXPECT_EQ(firstDifference(bench::SaveDocument(*bench::LoadDocument(copy).root), saved), "");
    EXPECT_TRUE(environment.TakeAlerts().empty());
}

class DocumentFileTest : public DocumentTest {
protected:
    // The document saved under the name, with a group made after the save
    // (so that its journal holds one entry).
    std::string saveWithJournal(const char* name)
    {
        const std::string path = folder.file(name);
        EXPECT_TRUE(saveDocumentAs(*document, path).ok());
        arguments::CategoryGroupParameters group;
        group.name = "After";
        executor().executeCommand(17, nullptr, group);
        EXPECT_TRUE(document->isDocumentEdited());
        return path;
    }

    std::unique_ptr<MyDocument> open(const std::string& path, FileOutcome* outcome = nullptr)
    {
        auto opened = std::make_unique<MyDocument>(dispatcher);
        FileOutcome result = readFromFile(*opened, path);
        if (outcome) *outcome = result;
        return opened;
    }

    // The model stream of the file's bytes (the business archive cut off).
    static Bytes modelPart(const Bytes& file)
    {
        const std::size_t archive = emptyBusinessArchive().bytes.size();
        return Bytes(file.begin(), file.end() - static_cast<std::ptrdiff_t>(archive));
    }
};

TEST_F(DocumentFileTest, FileIsTheModelStreamThenTheFiveArraysAndKeepsThePassword)
{
    std::shared_ptr<CPrfRItem> settings = document->mPreference();
    settings->setMPassword("Secret");
    settings->setMOtherPasword("Secret");
    const std::string path = folder.file("Home.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    EXPECT_EQ(document->fileName(), path);
    EXPECT_FALSE(document->isDocumentEdited());

    const Bytes file = fileBytes(path);
    const std::string archive = emptyBusinessArchive().bytes;
    EXPECT_EQ(firstDifference(modelPart(file), document->modelStreamBytes()), "");
    EXPECT_EQ(std::string(file.end() - static_cast<std::ptrdiff_t>(archive.size()), file.end()), archive);
    KeyedUnarchiver unarchiver(archive);
    for (std::string_view key : kBusinessArchiveKeys) EXPECT_TRUE(unarchiver.containsKey(key)) << key;
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    std::unique_ptr<MyDocument> opened = open(path);
    EXPECT_EQ(opened->fileName(), path);
    EXPECT_EQ(environment.defaults().stringForKey("GXLastSavedDocument"), path);
    EXPECT_TRUE(isPasswordProtected(*opened));
    EXPECT_EQ(passwordQuestionParameters(*opened)[kFilePasswordKey].toString(), "Secret");
    EXPECT_FALSE(opened->isDocumentEdited());
    EXPECT_TRUE(environment.alerts().numbers().empty());
}

TEST_F(DocumentFileTest, WhatCannotBeReadIsRefusedWithANumberAndNothingIsWrittenOverIt)
{
    const Bytes model = document->modelStreamBytes();
    const std::string archive = emptyBusinessArchive().bytes;
    Bytes wrongTag = model;
    wrongTag[wrongTag.size() - 1] = 'o'; // 'FiNo'
    wrongTag.insert(wrongTag.end(), archive.begin(), archive.end());
    // The settings record comes first; its version is the first "2.00".
    Bytes unknownVersion = model;
    const Bytes current = {'2', '.', '0', '0'};
    auto at = std::search(unknownVersion.begin(), unknownVersion.end(), current.begin(), current.end());
    ASSERT_NE(at, unknownVersion.end());
    std::copy_n("9.99", 4, at);
    const std::string missing = folder.file("missing.books");
    std::filesystem::create_directory(folder.file("folder.books"));

    struct Case {
        const char* name;
        std::optional<Bytes> bytes; // none: the path is left as it is
        std::string path;
        std::vector<long> alerts;
    };
    const std::vector<Case> cases = {
        {"empty file", Bytes{}, folder.file("empty.books"), {172}},
        {"half the model stream", Bytes(model.begin(), model.begin() + model.size() / 2), folder.file("half.books"),
         {172}},
        {"a model stream without its end tag", Bytes(model.begin(), model.end() - 4), folder.file("nofini.books"),
         {172}},
        {"another tag where the stream ends", wrongTag, folder.file("tag.books"), {172}},
        {"a version no reader knows (told by the model once)", unknownVersion, folder.file("version.books"), {139}},
        {"no such file", std::nullopt, missing, {271}},
        {"a folder", std::nullopt, folder.file("folder.books"), {295}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes) writeBytes(c.path, *c.bytes);
        environment.alerts().clear();
        FileOutcome outcome;
        std::unique_ptr<MyDocument> refused = open(c.path, &outcome);
        EXPECT_EQ(outcome.error, c.alerts.front());
        EXPECT_EQ(environment.alerts().numbers(), c.alerts);
        // The document took neither the name nor books: it cannot be saved over the file.
        EXPECT_EQ(refused->fileName(), "");
        EXPECT_EQ(refused->getAccountList()->GetCount(), 0u);
        EXPECT_FALSE(saveDocument(*refused).ok());
        if (c.bytes) {
            EXPECT_EQ(fileBytes(c.path), *c.bytes);
        } else if (c.path == missing) {
            EXPECT_FALSE(fileExists(missing));
        }
    }
    EXPECT_EQ(environment.defaults().stringForKey("GXLastSavedDocument"), "");
}

TEST_F(DocumentFileTest, UnreadBusinessDataOpensWithAWarningAndIsNeverSavedOverItsFile)
{
    const Bytes model = document->modelStreamBytes();
    KeyedArchiver foreign;
    foreign.encodeObjectArray(std::vector<std::shared_ptr<ForeignVATRate>>{std::make_shared<ForeignVATRate>()},
                              kBusinessArchiveKeys[0]);
    for (std::size_t i = 1; i < kBusinessArchiveKeys.size(); ++i)
        foreign.encodeObjectArray(std::vector<std::shared_ptr<const Archivable>>{}, kBusinessArchiveKeys[i]);
    KeyedArchiver threeKeys;
    for (std::size_t i = 0; i < 3; ++i)
        threeKeys.encodeObjectArray(std::vector<std::shared_ptr<const Archivable>>{}, kBusinessArchiveKeys[i]);
    std::string damaged = emptyBusinessArchive().bytes;
    damaged.resize(damaged.size() - 9);

    // The same books as version 1.11 wrote them: the settings and owner
    // records without the two category ids each has from 2.00 on.
    Bytes older = model;
    auto dropIdsOf2_00 = [&](CNonVisual& object, bool settings) {
        Bytes record(4096);
        LDataStream recordStream(record.data(), static_cast<std::int32_t>(record.size()));
        object.PutStream(&recordStream);
        record.resize(static_cast<std::size_t>(recordStream.GetMarker()));
        const auto at = std::search(older.begin(), older.end(), record.begin(), record.end());
        ASSERT_NE(at, older.end());
        if (settings) {
            const Bytes current = {'2', '.', '0', '0'};
            std::copy_n("1.11", 4, std::search(at, older.end(), current.begin(), current.end()));
        }
        const auto end = at + static_cast<std::ptrdiff_t>(record.size());
        older.erase(end - 2 * static_cast<std::ptrdiff_t>(sizeof(ObjectIdT)), end);
    };
    dropIdsOf2_00(*document->accounting()->mPreference, true);
    const CNamedListArray& owners = *document->accounting()->mAccountOwnerList;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(owners.GetCount()); ++i)
        dropIdsOf2_00(*owners.ObjectAt(i), false);

    struct Case {
        const char* name;
        std::string archive;
        bool complete;
        const Bytes* books = nullptr;
    };
    const std::vector<Case> cases = {
        {"objects of a class this build cannot read", foreign.finish().bytes, false},
        {"an archive cut short", damaged, false},
        {"bytes that are no archive", "not an archive at all", false},
        {"a file cut at the end of its books", "", false},
        {"a file from before the business arrays", "", true, &older},
        {"an archive without the last two keys", threeKeys.finish().bytes, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = c.books ? *c.books : model;
        file.insert(file.end(), c.archive.begin(), c.archive.end());
        const std::string path = folder.file("Business.books");
        writeBytes(path, file);
        environment.alerts().clear();
        FileOutcome outcome;
        std::unique_ptr<MyDocument> opened = open(path, &outcome);
        ASSERT_TRUE(outcome.ok());
        ASSERT_EQ(opened->fileName(), path);
        EXPECT_EQ(opened->mustSaveUnderNewName(), !c.complete);
        EXPECT_EQ(outcome.warning, c.complete ? 0 : kBusinessDataNotRead);
        EXPECT_EQ(environment.alerts().numbers(), c.complete ? std::vector<long>{} : std::vector<long>{281});
        EXPECT_EQ(opened->getAccountList()->GetCount(), document->getAccountList()->GetCount());

        opened->updateChangeCount();
        environment.alerts().clear();
        FileOutcome saved = saveDocument(*opened);
        if (c.complete) {
            EXPECT_TRUE(saved.ok());
            continue;
        }
        EXPECT_EQ(saved.error, kSaveUnderNewName);
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{291});
        EXPECT_EQ(fileBytes(path), file);
        EXPECT_FALSE(fileExists(backupPathForDocument(path)));
        // Save As to the same file is the same refusal; to a new one it works,
        // and the new file may then be saved over.
        EXPECT_EQ(saveDocumentAs(*opened, path).error, kSaveUnderNewName);
        const std::string copy = folder.file("Business copy.books");
        ASSERT_TRUE(saveDocumentAs(*opened, copy).ok());
        EXPECT_FALSE(opened->mustSaveUnderNewName());
        opened->updateChangeCount();
        EXPECT_TRUE(saveDocument(*opened).ok());
        EXPECT_EQ(fileBytes(path), file);
    }
}

TEST_F(DocumentFileTest, SaveKeepsThePreviousVersionAsBackupAndRotatesTheJournalOnlyThen)
{
    const std::string path = saveWithJournal("Home.books");
    const Bytes first = fileBytes(path);
    ::chmod(path.c_str(), 0640);
    EXPECT_EQ(readCommandJournalFile(path + ".log").items.size(), 1u);

    ASSERT_TRUE(saveDocument(*document).ok());
    EXPECT_EQ(fileBytes(backupPathForDocument(path)), first);
    EXPECT_NE(fileBytes(path), first);
    EXPECT_FALSE(fileExists(path + ".log"));
    EXPECT_TRUE(fileExists(path + ".~log"));
    EXPECT_FALSE(document->isDocumentEdited());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(folderEntries(folder.path()), (std::vector<std::string>{"Home.books", "Home.books.~log", "Home.books~"}));
}

TEST_F(DocumentFileTest, FailedSaveLeavesFileBackupAndJournalAsTheyWere)
{
    const std::string path = saveWithJournal("Home.books");
    writeFile(backupPathForDocument(path), "older version");
    writeFile(path + ".~log", "older journal");
    const std::string journal = readFile(path + ".log");
    const Bytes file = fileBytes(path);
    const std::vector<std::string> entries = folderEntries(folder.path());

    // Half the bytes go, then the disk is full.
    const WriteBytes diskFull = [](int fd, const void* data, std::size_t size) -> ssize_t {
        if (size > 64) return ::write(fd, data, size / 2);
        errno = ENOSPC;
        return -1;
    };
    struct Case {
        const char* name;
        std::function<FileOutcome()> save;
    };
    const std::vector<Case> cases = {
        {"save, disk full", [&] { return saveDocument(*document, diskFull); }},
        {"save as, disk full", [&] { return saveDocumentAs(*document, folder.file("Other.books"), diskFull); }},
        {"save as into a file", [&] { return saveDocumentAs(*document, path + "/Inside.books"); }},
        {"business objects that cannot be archived",
         [&] {
             document->setBusiness(std::make_unique<HeldObjectsBusiness>(false));
             FileOutcome outcome = saveDocument(*document);
             document->setBusiness(nullptr);
             return outcome;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        environment.alerts().clear();
        EXPECT_EQ(c.save().error, kSaveFailed);
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{290});
        EXPECT_EQ(fileBytes(path), file);
        EXPECT_EQ(readFile(backupPathForDocument(path)), "older version");
        EXPECT_EQ(readFile(path + ".log"), journal);
        EXPECT_EQ(readFile(path + ".~log"), "older journal");
        EXPECT_EQ(folderEntries(folder.path()), entries);
        EXPECT_EQ(document->fileName(), path);
        EXPECT_TRUE(document->isDocumentEdited());
    }

    if (::geteuid() != 0) {
        ::chmod(folder.path().c_str(), 0500);
        EXPECT_EQ(saveDocument(*document).error, kSaveFailed);
        ::chmod(folder.path().c_str(), 0700);
        EXPECT_EQ(fileBytes(path), file);
        EXPECT_EQ(readFile(path + ".log"), journal);
    }
    ASSERT_TRUE(saveDocument(*document).ok());
    EXPECT_EQ(readFile(path + ".~log"), journal);
}

TEST_F(DocumentFileTest, RevertStartsFromFreshBooksAndDropsTheJournalOfTheDiscardedChanges)
{
    const std::string path = saveWithJournal("Home.books");
    std::unique_ptr<MyDocument> opened = open(path);
    const std::size_t groups = opened->getMasterExpenseTypeList()->GetCount();
    const std::size_t currencies = opened->mCurrencyArray().size();
    const std::size_t owners = opened->mOwnerArray().size();
    std::shared_ptr<CCurRItem> heldByAPage = opened->mCurrencyArray().front();
    opened->setBusiness(std::make_unique<HeldObjectsBusiness>(true));
    auto& business = static_cast<HeldObjectsBusiness&>(*opened->business());
    arguments::CategoryGroupParameters group;
    group.name = "Discarded";
    opened->commandExecutor().executeCommand(17, nullptr, group);
    ASSERT_NE(opened->getMasterExpenseTypeForName("Discarded"), nullptr);
    const std::string journal = readFile(path + ".log");

    ASSERT_TRUE(revertDocumentToSaved(*opened).ok());
    // (First: the list queries below sort the category groups.)
    EXPECT_EQ(firstDifference(dataRepresentation(*opened).bytes, dataRepresentation(*open(path)).bytes), "");
    EXPECT_EQ(opened->getMasterExpenseTypeForName("Discarded"), nullptr);
    EXPECT_EQ(opened->getMasterExpenseTypeList()->GetCount(), groups);
    EXPECT_EQ(opened->mCurrencyArray().size(), currencies);
    EXPECT_EQ(opened->mOwnerArray().size(), owners);
    EXPECT_EQ(business.objects, 0);
    EXPECT_EQ(business.archivesRead, std::vector<std::string>{emptyBusinessArchive().bytes});
    EXPECT_EQ(heldByAPage->getSourceItem(), nullptr);
    EXPECT_NE(opened->mCurrencyArray().front(), heldByAPage);
    EXPECT_FALSE(opened->isDocumentEdited());
    // The discarded changes are kept as the journal's backup, not offered.
    EXPECT_FALSE(fileExists(path + ".log"));
    EXPECT_EQ(readFile(path + ".~log"), journal);
    EXPECT_FALSE(opened->commandExecutor().rollForwardPending());

    // A file gone bad since: the document stays as it is.
    opened->commandExecutor().executeCommand(17, nullptr, group);
    writeFile(path, "garbage");
    environment.alerts().clear();
    EXPECT_EQ(revertDocumentToSaved(*opened).error, kDocumentDamaged);
    EXPECT_NE(opened->getMasterExpenseTypeForName("Discarded"), nullptr);
    EXPECT_EQ(opened->fileName(), path);
}

} // namespace
} // namespace ch::test
