#pragma once
// CCommandExecutor: the single entry for every numbered change to a set of
// books. A sender names the change by number (0 to 46; other numbers do
// nothing), passes the target (the bridge item of a model object, a business
// object, or none) and the argument object, and receives one integer: as a
// rule the id of what the command made, 1, or -1 for nothing done or no
// result.
//
// executeCommand journals the command first (while the user default
// "GXCKeepLogFile" is on), then runs it; an entry whose command changed
// nothing is taken back out of the journal. Before an operation runs, the
// executor checks what the command needs: a target of the command's kind
// that still has its model object, and an argument object of the command's
// class. A command that fails the check changes nothing and answers its
// refusal (0 for commands 11 and 30, -1 for the others). After every command
// whose operation changed the books, the executor marks the document changed.
//
// The journal: see GXCommandLogger (writing), CommandJournalReader
// (reading). After a document opens, fileOpened reads its journal and offers
// the entries for replay; replaying runs them without journaling them again
// and without a question (a deletion was confirmed before it was journaled),
// each with the books' id counters raised to those its entry recorded, so
// that it hands out the ids it did when it was written. Every entry the user
// did not leave out is made again or listed in the summary shown after the
// replay: an entry whose target key, or an account, category or other object
// its arguments name, does not resolve to an object of the kind the command
// takes; one whose target, or a transaction line's account, is not the
// object it named (it bears another name); a transaction
// that would not balance (ReplayChecks); numbers that name no operation;
// entries the journal does not keep (no name, no argument object) or whose
// argument text does not read whole (ArgumentTextCheck: a key its class does
// not know, a number with more behind it, a date that is no day); commands
// that make something, or delete, but changed nothing; and entries or a rest
// the reader could not read.
//
// No lock is taken: main thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "document/app/ApplicationDefaults.h"
#include "document/arguments/CArgumentAncestor.h"
#include "document/commands/CommandJournalReader.h"
#include "document/commands/GXCommandHistoryItem.h"
#include "document/commands/GXCommandLogger.h"
#include "platform/core/atomic_file.h"
#include "platform/core/observable.h"

namespace ch {

class MyDocument;

// What a command acts on: a bridge item, a business object, or nothing.
using CommandTarget = std::shared_ptr<Observable>;

// What a command carries besides its target: an argument object (not owned;
// it must live for the call), or, for command 3 only, the budget item.
class CommandArgument {
public:
    CommandArgument() = default;
    CommandArgument(std::nullptr_t) {}
    CommandArgument(const CArgumentAncestor* arguments) : mArguments(arguments) {}
    CommandArgument(const CArgumentAncestor& arguments) : mArguments(&arguments) {}
    template <class T>
        requires std::is_base_of_v<CArgumentAncestor, T>
    CommandArgument(const std::unique_ptr<T>& arguments) : mArguments(arguments.get()) {}
    explicit CommandArgument(std::shared_ptr<Observable> item) : mItem(std::move(item)) {}

    const CArgumentAncestor* arguments() const { return mArguments; }
    const std::shared_ptr<Observable>& item() const { return mItem; }
    bool empty() const { return !mArguments && !mItem; }

private:
    const CArgumentAncestor* mArguments = nullptr;
    std::shared_ptr<Observable> mItem;
};

// Why a command did not run.
enum class CommandRefusal { None, NoDocument, MissingTarget, WrongTarget, MissingArguments, WrongArguments };

// What running a command gave.
struct CommandRun {
    int result = -1;
    CommandRefusal refusal = CommandRefusal::None;
    bool changedBooks = false;
};

class CCommandExecutor {
public:
    CCommandExecutor() = default;
    ~CCommandExecutor();
    CCommandExecutor(const CCommandExecutor&) = delete;
    CCommandExecutor& operator=(const CCommandExecutor&) = delete;

    MyDocument* document() const { return theDocument; }
    void setDocument(MyDocument* document) { theDocument = document; }

    // --- commands
    // Journals (when on), then runs the command. -1 without a document, and
    // for a number outside 0 to 255, which is neither journaled nor run.
    int executeCommand(int command, const CommandTarget& target = nullptr, const CommandArgument& argument = {});
    // Runs the command without journaling it.
    int executeCommandSelf(int command, const CommandTarget& target = nullptr,
                           const CommandArgument& argument = {});
    // The same, telling why a refused command did not run.
    CommandRun runCommand(int command, const CommandTarget& target, const CommandArgument& argument);

    // --- journal
    // The user default "GXCKeepLogFile", read anew at every call.
    static bool keepLogFile();
    // Appends the command's entry while journaling is on: the journal's
    // length before it (none when nothing was written).
    std::optional<std::uintmax_t> logCommand(int command, const CommandTarget& target,
                                             const CommandArgument& argument);
    // Takes the journal back to the length, so that an entry whose command
    // changed nothing is gone (a journal that held nothing before is removed).
    void takeBackEntry(std::uintmax_t journalLength);
    // The writer, made with the document's journal name when there is none.
    GXCommandLogger& getCommandLogger();
    // The stamp of the document's file as last read or written (empty while
    // it has none): a new journal's header records it (JournalStamp.h).
    void setFileStamp(std::string stamp) { mFileStamp = std::move(stamp); }
    const std::string& fileStamp() const { return mFileStamp; }
    // After the document was read or set up: reads its journal (when
    // journaling is on) and, when it holds entries, offers them 0.1 seconds
    // later on the main thread; a journal of which nothing could be read is
    // told as late, in the summary. The number of entries. A journal whose
    // header names another saved state than the file's stamp follows an
    // older (or other) state of the file, whose entries the file may already
    // hold, or its stamp is damaged: it is not offered (0 is answered), and
    // when it holds entries it is put aside under a name no save removes
    // (setAsidePathForJournal) and the person told where (message 298). What
    // stands at the journal's name and is no regular file is neither read
    // nor written; the person is told once that the changes are not
    // journaled (message 299). A journal put aside that cannot be moved stays
    // where it is, and nothing is journaled beside it (message 398).
    int fileOpened();
    // Before the document's file is written: the journal's entries are
    // flushed to the disk (through `sync`, fsync when empty). 0, or the
    // system's error number.
    int syncJournal(const SyncFile& sync = {});
    // After the document's file was written: the journal is rotated away and
    // the writer dropped, whatever the journaling preference. With journaling
    // off only a journal that exists is rotated.
    void fileSaved();
    void logSavePoint();
    // The document closes. Unedited books leave no journal behind: the file
    // holds all they are. A journal still on offer stays for the next opening.
    void documentClosing(bool edited);
    // The entries read at opening, in journal order; the sheet sets their
    // exclusions.
    std::vector<GXCommandHistoryItem>& commandsToRecover() { return mCommandsToRecover; }
    const CommandJournal& journalRead() const { return mJournalRead; }

    // --- replay
    // From the moment entries are found until the offer is answered: the
    // journal must not be rotated meanwhile (no autosave).
    bool rollForwardPending() const { return mOfferPending; }
    // The books the entries were read for are gone (a revert): nothing is
    // offered, the entries are forgotten.
    void dropCommandsToRecover();
    // Offers the entries (the roll-forward question) and acts on the answer.
    void askCommandLogRecovery();
    // How the offer is put to the user: the entries (whose exclusions the
    // user may set) and the call that takes the answer, now or later. Without
    // one, the question of the alert layer.
    using RollForwardOffer =
        std::function<void(std::vector<GXCommandHistoryItem>& entries, std::function<void(int)> answer)>;
    void setRollForwardOffer(RollForwardOffer offer) { mRollForwardOffer = std::move(offer); }
    // Below 1: the journal is rotated away, so it is not offered again; 1 or
    // more: the entries are replayed.
    void dialogClosed(int result);
    // Replays every entry that has a name and is not excluded, in journal
    // order; then shows what could not be replayed, when anything.
    void recoverCommandLog();
    // Why one entry was not made again; none when it ran.
    std::optional<std::string> recoverCommandItem(const GXCommandHistoryItem& item);
    // The lines of the last replay's summary (empty when all went through).
    const std::vector<std::string>& lastReplayReport() const { return mReplayReport; }

private:
    // The summary's lines for what the reader could not read.
    void addJournalDamage();
    // Message 299, once for the document: the journal's name is taken by
    // what is no regular file.
    void tellNotJournaled(const std::string& path);
    // Message 397, once per journal: a write failed; the books are marked
    // edited so that closing asks to save them.
    void tellWriteFailed(const std::string& path, int error);
    // After a replay of a journal that could not be read whole: the journal
    // is put aside, and a fresh one holds the entries made again, so that
    // what is done from now on is not written behind its damage.
    void startFreshJournal(const std::vector<const GXCommandHistoryItem*>& made);

    MyDocument* theDocument = nullptr;
    std::unique_ptr<GXCommandLogger> commandLogger;
    std::vector<GXCommandHistoryItem> mCommandsToRecover;
    CommandJournal mJournalRead;
    std::vector<std::string> mReplayReport;
    std::string mFileStamp;
    Subscription mPendingOffer;
    Subscription mNotJournaledNotice;
    Subscription mWriteFailedNotice;
    RollForwardOffer mRollForwardOffer;
    bool mOfferPending = false;
    bool mToldNotJournaled = false;
    bool mToldWriteFailed = false;
    // A journal not offered could not be put aside: nothing is journaled
    // beside it and no save rotates it, until it is gone.
    bool mJournalBlocked = false;
};

} // namespace ch
