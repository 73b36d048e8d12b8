// The executor's journal: writing entries, reading them back at opening,
// offering and replaying them, and rotating the journal at save points.

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <filesystem>

#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CBuDxItem.h"
#include "bridge/CNonVisualDataItem.h"
#include "bridge/DeveloperLog.h"
#include "document/BudgetLineKey.h"
#include "document/GXNonVisual.h"
#include "document/MyDocument.h"
#include "document/arguments/ArgumentTextCheck.h"
#include "document/arguments/BudgetArguments.h"
#include "document/commands/CCommandExecutor.h"
#include "document/commands/JournalNames.h"
#include "document/commands/ReplayChecks.h"
#include "document/commands/RollForwardQuestion.h"
#include "model/CDocAccounting.h"
#include "model/CNonVisual.h"
#include "model/budget/CBudgetDetail.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/dispatcher.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {
namespace {

// The key the journal records for a target; none without a target.
std::optional<std::string> targetKey(const CommandTarget& target)
{
    if (!target) return std::nullopt;
    // A budget line's own id is its account's or category's: the key names its budget too.
    if (auto line = std::dynamic_pointer_cast<CBuDdItem>(target)) return budgetLineKey(*line);
    // So has a cross-reference, whose own id is not kept in the file.
    if (auto xref = std::dynamic_pointer_cast<CBuDxItem>(target)) return budgetXRefKey(*xref);
    if (auto item = std::dynamic_pointer_cast<CNonVisualDataItem>(target)) return item->calculateKey();
    if (auto object = std::dynamic_pointer_cast<GXNonVisual>(target)) return object->calculateKey();
    return std::string();
}

// The books' counters go up to what the journal recorded for the entry, so
// that the command hands out the ids it did then; never down (ids in use
// would be handed out again), nor by more than an id may jump.
void raiseIdCounters(CDocAccounting& books, const IdCounters& recorded)
{
    IdCounters& ids = books.Ids();
    auto raise = [](ObjectIdT& counter, ObjectIdT to) {
        if (to > counter && std::int64_t(to) - counter <= CNonVisual::kMaxIdJump) counter = to;
    };
    raise(ids.mi_MaxId, recorded.mi_MaxId);
    raise(ids.mi_TrnsNr, recorded.mi_TrnsNr);
    raise(ids.mi_DebetNr, recorded.mi_DebetNr);
    raise(ids.mi_MxptNr, recorded.mi_MxptNr);
    raise(ids.mi_ExptNr, recorded.mi_ExptNr);
}

// The name of a model object's target, as the journal keeps it (trimmed,
// as it is read back); none for other targets and objects gone.
std::optional<std::string> targetName(const CommandTarget& target)
{
    auto item = std::dynamic_pointer_cast<CNonVisualDataItem>(target);
    if (!item || !item->getSourceItem()) return std::nullopt;
    // A budget line is listed by what it budgets.
    const auto* line = dynamic_cast<const CBudgetDetail*>(item->getSourceItem());
    const CNonVisual* budgeted = line ? line->GetObject() : nullptr;
    const std::string name = budgeted ? budgeted->Get_StringrefName() : item->getName();
    const char* space = " \t\r\n\f\v";
    const std::size_t first = name.find_first_not_of(space);
    if (first == std::string::npos) return std::nullopt;
    return name.substr(first, name.find_last_not_of(space) - first + 1);
}

// Whether anything stands at the path: a link that leads nowhere or round
// in circles too.
bool fileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// Only a regular file is read as a journal: a pipe would never end.
bool journalFileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

std::optional<std::uintmax_t> CCommandExecutor::logCommand(int command, const CommandTarget& target,
                                                           const CommandArgument& argument)
{
    if (!theDocument || !keepLogFile() || mJournalBlocked) return std::nullopt;
    std::string parameters = argument.arguments() ? argument.arguments()->toText() : std::string();
    // The budget item of command 3 has no text form: the entry names it.
    if (auto budget = std::dynamic_pointer_cast<CBuDhItem>(argument.item()); budget && parameters.empty())
        parameters = arguments::DeleteBudgetXRefArguments(budget->getId().value_or(0)).toText();
    std::optional<IdCounters> ids;
    if (CDocAccounting* books = theDocument->accounting()) ids = books->Ids();
    GXCommandLogger& logger = getCommandLogger();
    const std::uintmax_t before = logger.logFileLength();
    logger.logCommand(command, parameters, targetKey(target), ids, targetName(target));
    if (logger.otherThanAFile()) {
        tellNotJournaled(logger.logFileName());
        return std::nullopt;
    }
    if (logger.writeError() != 0) {
        tellWriteFailed(logger.logFileName(), logger.writeError());
        return std::nullopt;
    }
    return before;
}

void CCommandExecutor::tellWriteFailed(const std::string& path, int error)
{
    if (mToldWriteFailed || !theDocument) return;
    mToldWriteFailed = true;
    const std::string reason = std::strerror(error);
    developerLog("The journal " + path + " could not be written: " + reason);
    // Closing must ask to save: the journal no longer holds what was done.
    theDocument->updateChangeCount();
    mWriteFailedNotice = theDocument->dispatcher().callAfter(std::chrono::milliseconds(100), [path, reason] {
        showJournalWriteFailed(path, reason);
    });
}

void CCommandExecutor::takeBackEntry(std::uintmax_t journalLength)
{
    if (!commandLogger || commandLogger->otherThanAFile()) return;
    commandLogger->truncateLogFile(journalLength);
}

int CCommandExecutor::syncJournal(const SyncFile& sync)
{
    return commandLogger ? commandLogger->syncLogFile(sync) : 0;
}

void CCommandExecutor::tellNotJournaled(const std::string& path)
{
    if (mToldNotJournaled || !theDocument) return;
    mToldNotJournaled = true;
    developerLog("The journal " + path + " is no regular file: the changes are not journaled");
    mNotJournaledNotice = theDocument->dispatcher().callAfter(std::chrono::milliseconds(100), [path] {
        showJournalNotWritten(path);
    });
}

GXCommandLogger& CCommandExecutor::getCommandLogger()
{
    if (!commandLogger)
        commandLogger = std::make_unique<GXCommandLogger>(theDocument ? theDocument->journalFileName() : std::string());
    commandLogger->setFileStamp(mFileStamp);
    return *commandLogger;
}

int CCommandExecutor::fileOpened()
{
    if (!theDocument || !keepLogFile()) return 0;
    const std::string path = getCommandLogger().logFileName();
    if (fileExists(path) && !journalFileExists(path)) {
        // A folder, a pipe or a device where the journal goes: neither read nor written.
        tellNotJournaled(path);
        return 0;
    }
    if (!journalFileExists(path)) return 0;
    mJournalRead = readCommandJournalFile(path);
    if (!mJournalRead.error.empty()) developerLog(mJournalRead.error);
    if (mJournalRead.fileStamp && *mJournalRead.fileStamp != mFileStamp) {
        // Never replayed over a file that may hold its entries (a save was
        // stopped after the file was in place), nor lost when its stamp is
        // what is damaged: put aside where no save removes it, and told.
        developerLog("The journal " + path + " follows another saved state of its file (" + *mJournalRead.fileStamp +
                     ", the file is " + (mFileStamp.empty() ? std::string("unsaved") : mFileStamp) +
                     "): not offered");
        const bool holdsEntries =
            !mJournalRead.items.empty() || mJournalRead.unreadableEntries > 0 || mJournalRead.damaged;
        mJournalRead = CommandJournal();
        if (!holdsEntries) {
            getCommandLogger().clearLogFile();
            return 0;
        }
        getCommandLogger().releaseLogFile();
        const std::string aside = setAsidePathForJournal(path);
        if (moveJournalFile(path, aside) != 0) {
            // It stays where it is, and no save may rotate it away: nothing
            // is journaled beside it meanwhile.
            const std::string reason = std::strerror(errno);
            developerLog("The journal " + path + " could not be put aside: " + reason);
            mJournalBlocked = true;
            commandLogger.reset();
            mPendingOffer = theDocument->dispatcher().callAfter(std::chrono::milliseconds(100), [path, reason] {
                showJournalNotSetAside(path, reason);
            });
            return 0;
        }
        mPendingOffer = theDocument->dispatcher().callAfter(std::chrono::milliseconds(100), [aside] {
            showJournalSetAside(aside);
        });
        return 0;
    }
    mCommandsToRecover = mJournalRead.items;
    if (mCommandsToRecover.empty()) {
        // A journal of which nothing could be read is told, not passed over,
        // and set aside at once: work written behind it could not be read back.
        if (mJournalRead.damaged || mJournalRead.unreadableEntries > 0) {
            mReplayReport.clear();
            addJournalDamage();
            startFreshJournal({});
            mPendingOffer = theDocument->dispatcher().callAfter(std::chrono::milliseconds(100), [this] {
                showRollForwardSummary(mReplayReport);
            });
        }
        return 0;
    }
    mOfferPending = true;
    mPendingOffer = theDocument->dispatcher().callAfter(std::chrono::milliseconds(100), [this] {
        askCommandLogRecovery();
    });
    return static_cast<int>(mCommandsToRecover.size());
}

void CCommandExecutor::fileSaved()
{
    logSavePoint();
}

void CCommandExecutor::logSavePoint()
{
    if (!theDocument) return;
    // A journal that could not be put aside is never rotated away.
    if (mJournalBlocked) {
        if (!fileExists(theDocument->journalFileName())) mJournalBlocked = false;
        commandLogger.reset();
        return;
    }
    // A new journal starts: a write that fails in it is told again.
    mToldWriteFailed = false;
    GXCommandLogger& logger = getCommandLogger();
    // A journal must not outlive a save: replayed over the newer file it
    // would repeat its edits, so it goes even while journaling is off.
    if (keepLogFile() || fileExists(logger.logFileName())) logger.clearLogFile();
    commandLogger.reset();
}

void CCommandExecutor::documentClosing(bool edited)
{
    if (edited || mOfferPending || mJournalBlocked || !theDocument || !keepLogFile()) return;
    GXCommandLogger& logger = getCommandLogger();
    if (journalFileExists(logger.logFileName())) logger.clearLogFile();
    commandLogger.reset();
}

void CCommandExecutor::dropCommandsToRecover()
{
    mPendingOffer.cancel();
    mOfferPending = false;
    mCommandsToRecover.clear();
    mJournalRead = CommandJournal();
}

void CCommandExecutor::askCommandLogRecovery()
{
    mPendingOffer.cancel();
    if (mRollForwardOffer) {
        mRollForwardOffer(mCommandsToRecover, [this](int result) { dialogClosed(result); });
        return;
    }
    dialogClosed(askRollForward(mCommandsToRecover));
}

void CCommandExecutor::dialogClosed(int result)
{
    mOfferPending = false;
    if (result < 1) {
        getCommandLogger().clearLogFile();
        return;
    }
    recoverCommandLog();
}

void CCommandExecutor::recoverCommandLog()
{
    mReplayReport.clear();
    // Every entry the user did not leave out is either made again or listed.
    std::vector<const GXCommandHistoryItem*> made;
    for (const GXCommandHistoryItem& item : mCommandsToRecover) {
        if (item.mExclude) continue;
        if (std::optional<std::string> reason = recoverCommandItem(item))
            mReplayReport.push_back(item.commandText() + " " + item.listedName().value_or("") + ": " + *reason);
        else
            made.push_back(&item);
    }
    addJournalDamage();
    if (mJournalRead.damaged || mJournalRead.unreadableEntries > 0) startFreshJournal(made);
    if (!mReplayReport.empty()) showRollForwardSummary(mReplayReport);
}

void CCommandExecutor::startFreshJournal(const std::vector<const GXCommandHistoryItem*>& made)
{
    if (!theDocument || !keepLogFile()) return;
    GXCommandLogger& logger = getCommandLogger();
    const std::string path = logger.logFileName();
    logger.releaseLogFile();
    const std::string aside = setAsidePathForJournal(path);
    if (moveJournalFile(path, aside) != 0) {
        // Entries written behind the damage could not be read back: none is.
        const std::string reason = std::strerror(errno);
        developerLog("The damaged journal " + path + " could not be put aside: " + reason);
        mJournalBlocked = true;
        commandLogger.reset();
        mReplayReport.push_back(formatMessage(localized("ROLLFORWARDDAMAGEDNOTKEPT"), {path, reason}));
        return;
    }
    mReplayReport.push_back(formatMessage(localized("ROLLFORWARDDAMAGEDKEPT"), {aside}));
    // The entries made again are journaled anew: a second crash before a
    // save offers them with what follows.
    for (const GXCommandHistoryItem* item : made)
        logger.logCommand(item->mCommand, item->mParameters.value_or(std::string()), item->mObject,
                          item->mIdCounters, item->mObjectName);
    if (logger.writeError() != 0) tellWriteFailed(path, logger.writeError());
}

void CCommandExecutor::addJournalDamage()
{
    if (mJournalRead.unreadableEntries > 0) mReplayReport.push_back(localized("ROLLFORWARDUNREADABLE"));
    if (mJournalRead.damaged) mReplayReport.push_back(localized("ROLLFORWARDDAMAGED"));
}

std::optional<std::string> CCommandExecutor::recoverCommandItem(const GXCommandHistoryItem& item)
{
    if (!theDocument) return localized("ROLLFORWARDNOTRUN");
    if (commandDoesNothing(item.mCommand)) return localized("ROLLFORWARDUNKNOWN");
    // Entries without a name or an argument object are never made again (the
    // booking of an unlinked transaction, a budget change of an earlier run).
    if (!item.listedName()) return localized("ROLLFORWARDNOTKEPT");
    std::unique_ptr<CArgumentAncestor> arguments = item.deserializedArguments();
    if (!arguments) return localized("ROLLFORWARDNOTKEPT");
    // The argument object takes what it can read; a text that does not read
    // whole (it does not parse, holds a key its class does not know, a number
    // with more behind it, a date that is no day) is damage, and its values
    // are not used.
    {
        ArgumentTextCheck check;
        if (!arguments->recoverFromString(*item.mParameters)) return localized("ROLLFORWARDNOTRUN");
        if (std::optional<std::string> damage = check.damage(*item.mParameters)) return damage;
    }
    CommandTarget target;
    if (item.mObject && item.mObject->size() >= 5) {
        target = theDocument->dataItemWithKey(*item.mObject);
        if (!target) return localized("ROLLFORWARDNOOBJECT");
        auto object = std::dynamic_pointer_cast<CNonVisualDataItem>(target);
        if (object && object->getSourceItem() &&
            !takesTargetOfType(item.mCommand, object->getSourceItem()->Get_ObjectType()))
            return localized("ROLLFORWARDWRONGOBJECT");
        // A key names an object by id: one of another name is not the
        // object the entry changed (its key was damaged, or the ids of these
        // books differ from those of the run that wrote it).
        const std::optional<std::string> name = targetName(target);
        if (item.mObjectName && name && *name != *item.mObjectName)
            return formatMessage(localized("ROLLFORWARDRETARGETED"), {*name});
    }
    if (std::optional<std::string> refusal = replayRefusal(*theDocument, item.mCommand, target, *arguments))
        return refusal;
    if (item.mIdCounters && theDocument->accounting()) raiseIdCounters(*theDocument->accounting(), *item.mIdCounters);
    // Replay asks nothing: what an entry needed confirmed was confirmed
    // before it was journaled. What the operation would have shown goes to
    // the developer log; an entry that does not act is listed.
    const bool batch = CErrorManager::GetMode();
    CErrorManager::SetMode(true);
    CommandRun run = runCommand(item.mCommand, target, CommandArgument(arguments.get()));
    CErrorManager::SetMode(batch);
    switch (run.refusal) {
    case CommandRefusal::None:
        if (!run.changedBooks && commandMustChangeBooks(item.mCommand)) return localized("ROLLFORWARDNOEFFECT");
        return std::nullopt;
    case CommandRefusal::MissingTarget:
        return localized("ROLLFORWARDNOOBJECT");
    case CommandRefusal::WrongTarget:
        return localized("ROLLFORWARDWRONGOBJECT");
    default:
        return localized("ROLLFORWARDNOTRUN");
    }
}

} // namespace ch
