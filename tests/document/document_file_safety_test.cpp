// The document file against kills, odd files and failing disks: a journal is
// offered only over the saved state it follows, so a save stopped between
// putting the file in place and rotating the journal never books twice; what
// is not a regular file is refused before it is opened; leftovers of killed
// saves go at the next save; a failed save says why and a backup that could
// not be kept is told; an untitled document's journal leaves nothing behind
// after Save As; a journal that ends as every journal ends logs no error; a
// journal not offered is put aside and told; a flush the disk refuses fails
// the save.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "document/DocumentFile.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/commands/CommandJournalReader.h"
#include "document/commands/GXLogger.h"
#include "document/commands/JournalNames.h"
#include "document/commands/JournalStamp.h"
#include "document/commands/RollForwardQuestion.h"
#include "document_fixture.h"
#include "model/CNamedListArray.h"
#include "platform/core/message_format.h"

namespace ch::test {
namespace {

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Ends the process at the first alert: a kill at the point where the user
// would be told something.
class KillAtAlert final : public AlertPresenter {
public:
    void showError(const Alert&) override { std::_Exit(0); }
    void showInfo(const Alert&) override { std::_Exit(0); }
    AlertAnswer askQuestion(const Alert&) override { std::_Exit(0); }
};

class DocumentFileSafetyTest : public DocumentTest {
protected:
    void makeGroup(MyDocument& target, const char* name)
    {
        arguments::CategoryGroupParameters group;
        group.name = name;
        target.commandExecutor().executeCommand(17, nullptr, group);
    }

    // The document saved under the name, then a group made (journaled).
    std::string saveThenChange(const char* name)
    {
        const std::string path = folder.file(name);
        EXPECT_TRUE(saveDocumentAs(*document, path).ok());
        makeGroup(*document, "After");
        return path;
    }

    // The document's journal with one byte of its stamp damaged, the
    // document dropped as in a crash; answers the journal's path.
    std::string damageJournalStampAndDrop(const std::string& path)
    {
        const std::string journal = path + ".log";
        std::string text = readFile(journal);
        const std::size_t stamp = text.find("fileStamp=\"");
        EXPECT_NE(stamp, std::string::npos) << text;
        if (stamp != std::string::npos) text[text.find(':', stamp) + 3] = 'x';
        writeFile(journal, text);
        document.reset();
        return journal;
    }

    std::unique_ptr<MyDocument> open(const std::string& path)
    {
        auto opened = std::make_unique<MyDocument>(dispatcher);
        EXPECT_TRUE(readFromFile(*opened, path).ok());
        return opened;
    }

    static std::size_t groupsNamed(MyDocument& books, const char* name)
    {
        std::size_t count = 0;
        CNamedListArray* groups = books.getMasterExpenseTypeList();
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(groups->GetCount()); ++i)
            if (groups->ObjectAt(i)->Get_StringrefName() == name) ++count;
        return count;
    }
};

TEST_F(DocumentFileSafetyTest, ASaveKilledBetweenItsStepsNeverBooksAJournalEntryTwice)
{
    struct Case {
        const char* where;
        bool fileHoldsTheChange; // the new file took the old one's place
    };
    for (const Case c : {Case{"while the new file is written", false},
                         Case{"after the new file took the old one's place, before the journal was rotated", true}}) {
        SCOPED_TRACE(c.where);
        ScratchFolder here;
        document = newDocument();
        const std::string path = here.file("Home.books");
        ASSERT_TRUE(saveDocumentAs(*document, path).ok());
        arguments::CTransactionArguments lunch;
        lunch.mTransactionDictionary = transactionDictionary(books::kDefaultAccount, books::kExpenseAccount,
                                                             books::kExpenseCategory, 12.5, 20090310, "Lunch");
        executor().executeCommand(23, nullptr, lunch);
        const std::size_t booked = document->mTransactionArray().size();
        ASSERT_EQ(readCommandJournalFile(path + ".log").items.size(), 1u);
        const std::vector<std::uint8_t> before = fileBytes(path);

        // Killed in a child process. The second point is where the save tells
        // that the previous version could not be kept as the backup (its name
        // is taken by a folder that is not empty): right after the rename of
        // the new file, right before the journal's rotation.
        if (c.fileHoldsTheChange) std::filesystem::create_directories(backupPathForDocument(path) + "/taken");
        const WriteBytes killed = [](int, const void*, std::size_t) -> ssize_t { std::_Exit(0); };
        EXPECT_EXIT(
            {
                KillAtAlert kill;
                ScopedAlertPresenter scope(kill);
                saveDocument(*document, c.fileHoldsTheChange ? WriteBytes() : killed);
                std::_Exit(1);
            },
            ::testing::ExitedWithCode(0), "");
        ASSERT_EQ(fileBytes(path) != before, c.fileHoldsTheChange);
        ASSERT_TRUE(fileExists(path + ".log"));

        const std::string aside = setAsidePathForJournal(path + ".log");
        std::unique_ptr<MyDocument> reopened = open(path);
        EXPECT_EQ(reopened->commandExecutor().commandsToRecover().size(), c.fileHoldsTheChange ? 0u : 1u);
        EXPECT_EQ(reopened->commandExecutor().rollForwardPending(), !c.fileHoldsTheChange);
        // The user replays what is offered.
        if (!reopened->commandExecutor().commandsToRecover().empty()) reopened->commandExecutor().dialogClosed(1);
        EXPECT_EQ(reopened->mTransactionArray().size(), booked);
        // The journal of the older state is put aside, and no longer offered.
        if (c.fileHoldsTheChange) {
            EXPECT_FALSE(fileExists(path + ".log"));
            EXPECT_EQ(readCommandJournalFile(aside).items.size(), 1u);
            EXPECT_EQ(open(path)->commandExecutor().commandsToRecover().size(), 0u);
        }
    }
}

TEST_F(DocumentFileSafetyTest, AJournalIsOfferedOnlyOverTheSavedStateItsHeaderNames)
{
    // A new journal's header names the file's state; an untitled one's names none.
    makeGroup(*document, "Untitled");
    EXPECT_EQ(readCommandJournalFile(document->journalFileName()).fileStamp, std::nullopt);
    const std::string path = saveThenChange("Home.books");
    const std::string stamp = journalStampOf(fileBytes(path));
    EXPECT_EQ(readCommandJournalFile(path + ".log").fileStamp, stamp);

    const std::string entry = "<LogEntry timeStamp=\"2009-03-15 14:22:05 +0000\">\r\n\t<CommandNumber>17</CommandNumber>\r\n"
                              "\t<Parameters>{ArgumentClass = CategoryGroupParameters; name = Replayed; }</Parameters>\r\n"
                              "</LogEntry>\r\n";
    struct Case {
        const char* what;
        std::string header;
        bool offered;
    };
    const std::vector<Case> cases = {
        {"the file's state", "<LogFile created=\"2009-03-15 14:22:05 +0000\" fileStamp=\"" + stamp + "\">\r\n", true},
        {"no state (written before stamps)", "<LogFile created=\"2009-03-15 14:22:05 +0000\">\r\n", true},
        {"another state of the same size", "<LogFile created=\"x\" fileStamp=\"" +
                                               std::to_string(fileBytes(path).size()) + ":0000000000000000\">\r\n",
         false},
        {"another state", "<LogFile created=\"x\" fileStamp=\"12:0123456789abcdef\">\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string aside = setAsidePathForJournal(path + ".log");
        writeFile(path + ".log", c.header + entry);
        std::unique_ptr<MyDocument> opened = open(path);
        EXPECT_EQ(opened->commandExecutor().commandsToRecover().size(), c.offered ? 1u : 0u);
        EXPECT_EQ(fileExists(path + ".log"), c.offered);
        EXPECT_EQ(fileExists(aside), !c.offered);
        std::remove(aside.c_str());
        // Whatever it is journaled next goes to a journal of the file's state.
        makeGroup(*opened, "Next");
        if (!c.offered) {
            EXPECT_EQ(readCommandJournalFile(path + ".log").fileStamp, stamp);
        }
    }

    // A stamp tells the bytes apart, not only their number.
    std::vector<std::uint8_t> bytes = fileBytes(path);
    const std::string original = journalStampOf(bytes);
    bytes[bytes.size() / 2] ^= 1;
    EXPECT_NE(journalStampOf(bytes), original);
    EXPECT_EQ(original.rfind(std::to_string(bytes.size()) + ":", 0), 0u) << original;
}

TEST_F(DocumentFileSafetyTest, WhatIsNoRegularFileIsRefusedWithoutWaitingOnIt)
{
    // (A folder named like a document is refused the same way; see document_file_test.)
    const std::string pipe = folder.file("Pipe.books");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    {
        MyDocument opened(dispatcher);
        EXPECT_EQ(readFromFile(opened, pipe).error, kNotADocumentFile);
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{kNotADocumentFile});
        EXPECT_NE(environment.alerts().records().front().alert.message.find("“Pipe.books”"), std::string::npos);
        EXPECT_EQ(opened.fileName(), "");
    }

    // A pipe or a folder where the journal goes is neither read nor written,
    // and the person is told once that the changes are not journaled.
    const std::string path = saveThenChange("Home.books");
    ASSERT_TRUE(saveDocument(*document).ok());
    const std::string journal = path + ".log";
    for (const bool isPipe : {true, false}) {
        SCOPED_TRACE(isPipe ? "a pipe" : "a folder");
        if (isPipe) ASSERT_EQ(::mkfifo(journal.c_str(), 0600), 0);
        else std::filesystem::create_directory(journal);
        environment.alerts().clear();
        std::unique_ptr<MyDocument> opened = open(path);
        EXPECT_TRUE(opened->commandExecutor().commandsToRecover().empty());
        makeGroup(*opened, "Not journaled");
        makeGroup(*opened, "Nor this");
        dispatcher.advance(std::chrono::milliseconds(100));
        EXPECT_EQ(groupsNamed(*opened, "Not journaled"), 1u);
        ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{kNotJournaled});
        EXPECT_NE(environment.alerts().records().front().alert.message.find(journal), std::string::npos);
        std::filesystem::remove(journal);
    }
}

// A journal whose stamp no longer reads (one damaged byte) is never replayed
// over a file that may hold its entries, and never lost: it is put aside,
// the person is told where, and saves after it leave it alone.
TEST_F(DocumentFileSafetyTest, AJournalWithADamagedStampIsToldAndKeptAcrossTheNextSaves)
{
    const std::string path = saveThenChange("Home.books");
    makeGroup(*document, "Second");
    makeGroup(*document, "Third");
    const std::string journal = damageJournalStampAndDrop(path);

    const std::string aside = setAsidePathForJournal(journal);
    environment.alerts().clear();
    std::unique_ptr<MyDocument> opened = open(path);
    EXPECT_TRUE(opened->commandExecutor().commandsToRecover().empty());
    dispatcher.advance(std::chrono::milliseconds(100));
    ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{kJournalSetAside});
    EXPECT_NE(environment.alerts().records().front().alert.message.find(aside), std::string::npos);
    EXPECT_EQ(groupsNamed(*opened, "After"), 0u);
    EXPECT_FALSE(fileExists(journal));

    for (const char* name : {"Fourth", "Fifth"}) {
        makeGroup(*opened, name);
        ASSERT_TRUE(saveDocument(*opened).ok());
    }
    EXPECT_EQ(readCommandJournalFile(aside).items.size(), 3u);
}

// A journal of another saved state that cannot be put aside (the move is
// refused) is told with the system's reason (398), not as kept elsewhere;
// it stays at its name, unchanged, through the saves that follow, and
// nothing is journaled beside it meanwhile.
TEST_F(DocumentFileSafetyTest, AJournalThatCannotBePutAsideIsToldAndNeverDeleted)
{
    const std::string path = saveThenChange("Home.books");
    makeGroup(*document, "Second");
    const std::string journal = damageJournalStampAndDrop(path);
    const std::string text = readFile(journal);

    const std::string aside = setAsidePathForJournal(journal);
    struct MoveRefused {
        std::string to;
        MoveFile before;
        explicit MoveRefused(std::string refused) : to(std::move(refused))
        {
            before = setJournalMove([this](const std::string& from, const std::string& target) {
                if (target == to) {
                    errno = EACCES;
                    return -1;
                }
                return std::rename(from.c_str(), target.c_str());
            });
        }
        ~MoveRefused() { setJournalMove(std::move(before)); }
    } refused(aside);

    environment.alerts().clear();
    std::unique_ptr<MyDocument> opened = open(path);
    EXPECT_TRUE(opened->commandExecutor().commandsToRecover().empty());
    dispatcher.advance(std::chrono::milliseconds(100));
    ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{kJournalNotSetAside});
    const std::string& message = environment.alerts().records().front().alert.message;
    EXPECT_NE(message.find(journal), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(EACCES)), std::string::npos) << message;
    EXPECT_FALSE(fileExists(aside));

    for (const char* name : {"Fourth", "Fifth"}) {
        makeGroup(*opened, name);
        ASSERT_TRUE(saveDocument(*opened).ok());
    }
    EXPECT_EQ(readFile(journal), text);
    EXPECT_FALSE(fileExists(backupPathForJournal(journal)));
}

// A save whose flush to the disk fails (the journal, the new file or its
// folder) is a failed save: error 290 with the system's reason, the
// document still edited and its journal kept; the file as it was stays
// unless only the folder's flush failed, which the message says.
TEST_F(DocumentFileSafetyTest, AFlushTheDiskRefusesFailsTheSave)
{
    struct Case {
        const char* what;
        int failingFlush;   // which flush of the save fails: the journal's, the file's, the folder's
        const char* detail;
    };
    for (const Case c : {Case{"the journal", 1, "SAVEFAILUREREASON"}, Case{"the new file", 2, "SAVEFAILUREREASON"},
                         Case{"the folder", 3, "SAVENOTCONFIRMED"}}) {
        SCOPED_TRACE(c.what);
        ScratchFolder here;
        document = newDocument();
        const std::string path = here.file("Home.books");
        ASSERT_TRUE(saveDocumentAs(*document, path).ok());
        makeGroup(*document, "After");
        const std::vector<std::uint8_t> before = fileBytes(path);
        int flushes = 0;
        SaveCalls calls;
        calls.sync = [&](int fd) {
            if (++flushes == c.failingFlush) {
                errno = EIO;
                return -1;
            }
            return ::fsync(fd);
        };
        environment.alerts().clear();
        EXPECT_EQ(saveDocument(*document, calls).error, kSaveFailed);
        EXPECT_EQ(flushes, c.failingFlush);
        ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{kSaveFailed});
        const std::string message = environment.alerts().records().front().alert.message;
        EXPECT_NE(message.find(formatMessage(localized(c.detail), {std::strerror(EIO)})), std::string::npos) << message;
        EXPECT_TRUE(document->isDocumentEdited());
        EXPECT_EQ(readCommandJournalFile(path + ".log").items.size(), 1u);
        EXPECT_EQ(fileBytes(path) == before, c.failingFlush < 3);

        ASSERT_TRUE(saveDocument(*document).ok());
        EXPECT_FALSE(fileExists(path + ".log"));
        EXPECT_FALSE(document->isDocumentEdited());
    }
}

TEST_F(DocumentFileSafetyTest, TheNextSaveRemovesLeftoversOfKilledSavesOfThisFileOnly)
{
    const std::string path = saveThenChange("Home.books");
    const std::vector<std::uint8_t> previous = fileBytes(path);
    const std::string stale = folder.file(".Home.books.saving-AbC123");
    const std::string beingWritten = folder.file(".Home.books.saving-Xyz789");
    const std::vector<std::string> kept = {
        ".Home.books.saving-AbC12",     // not a name of ours
        ".Home.books.saving-AbC1234",   // nor this
        ".Other.books.saving-AbC123",   // another document's
        "Home.books.saving-AbC123",     // not hidden
    };
    for (const std::string& name : kept) writeFile(folder.file(name), "other");
    writeFile(stale, std::string(1000, 'x'));
    writeFile(beingWritten, "half");
    writeFile(backupPathForDocument(path) + ".pending", "the version before, stranded");
    // Another process writing: it holds its temporary file locked.
    const int writer = ::open(beingWritten.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);

    ASSERT_TRUE(saveDocument(*document).ok());
    ::close(writer);
    std::vector<std::string> expected = kept;
    for (const char* name : {"Home.books", "Home.books.~log", "Home.books~", ".Home.books.saving-Xyz789"})
        expected.push_back(name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderEntries(folder.path()), expected);
    EXPECT_EQ(fileBytes(backupPathForDocument(path)), previous);
    EXPECT_TRUE(environment.alerts().records().empty());
}

TEST_F(DocumentFileSafetyTest, AFailedSaveSaysWhyAndABackupThatCouldNotBeKeptIsTold)
{
    const std::string path = saveThenChange("Home.books");
    const WriteBytes diskFull = [](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    EXPECT_EQ(saveDocument(*document, diskFull).error, kSaveFailed);
    ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{kSaveFailed});
    const std::string message = environment.alerts().records().front().alert.message;
    EXPECT_EQ(message.rfind(localized("290"), 0), 0u) << message;
    EXPECT_NE(message.find(std::strerror(ENOSPC)), std::string::npos) << message;
    EXPECT_TRUE(document->isDocumentEdited());

    // The backup's name is taken by a folder that is not empty: the file is
    // saved, the journal rotated, and the user learns there is no backup.
    environment.alerts().clear();
    const std::string backup = backupPathForDocument(path);
    std::filesystem::create_directories(backup + "/taken");
    ASSERT_TRUE(saveDocument(*document).ok());
    ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{kBackupNotKept});
    EXPECT_NE(environment.alerts().records().front().alert.message.find(backup), std::string::npos);
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_FALSE(fileExists(path + ".log"));
    EXPECT_FALSE(fileExists(backup + ".pending"));
    EXPECT_EQ(groupsNamed(*open(path), "After"), 1u);
}

TEST_F(DocumentFileSafetyTest, SaveAsOfAnUntitledDocumentLeavesNoUntitledJournalBehind)
{
    makeGroup(*document, "Untitled change");
    const std::string untitled = document->journalFileName();
    ASSERT_TRUE(fileExists(untitled));
    const std::string path = folder.file("Named.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    EXPECT_FALSE(fileExists(untitled));
    EXPECT_FALSE(fileExists(backupPathForJournal(untitled)));
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"Named.books"});

    // A named document keeps its journal's backup at a Save As.
    makeGroup(*document, "Named change");
    ASSERT_TRUE(saveDocumentAs(*document, folder.file("Copy.books")).ok());
    EXPECT_TRUE(fileExists(path + ".~log"));
}

TEST_F(DocumentFileSafetyTest, AJournalThatEndsAsEveryJournalEndsLogsNoError)
{
    const std::string path = saveThenChange("Home.books");
    makeGroup(*document, "Second");
    const std::string journal = readFile(path + ".log");
    const CommandJournal read = readCommandJournal(journal);
    EXPECT_FALSE(read.damaged);
    EXPECT_EQ(read.error, "");

    environment.developerLines.clear();
    EXPECT_EQ(open(path)->commandExecutor().commandsToRecover().size(), 2u);
    EXPECT_EQ(environment.developerLines, std::vector<std::string>{});

    // A journal cut inside an entry still says where it stopped.
    writeFile(path + ".log", journal.substr(0, journal.size() - 20));
    environment.developerLines.clear();
    EXPECT_EQ(open(path)->commandExecutor().commandsToRecover().size(), 1u);
    ASSERT_EQ(environment.developerLines.size(), 1u);
    EXPECT_EQ(environment.developerLines.front().rfind("Error ", 0), 0u) << environment.developerLines.front();
}

} // namespace
} // namespace ch::test
