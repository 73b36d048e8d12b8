// The executor's journal: writing entries, reading them back at opening,
// offering and replaying them, and rotating the journal at save points.

#include <chrono>
#include <cstdint>
#include <filesystem>

#include "bridge/CNonVisualDataItem.h"
#include "bridge/DeveloperLog.h"
#include "document/GXNonVisual.h"
#include "document/MyDocument.h"
#include "document/commands/CCommandExecutor.h"
#include "document/commands/ReplayChecks.h"
#include "document/commands/RollForwardQuestion.h"
#include "model/CDocAccounting.h"
#include "model/CNonVisual.h"
#include "platform/core/dispatcher.h"
#include "platform/core/localized_strings.h"

namespace ch {
namespace {

// The key the journal records for a target; none without a target.
std::optional<std::string> targetKey(const CommandTarget& target)
{
    if (!target) return std::nullopt;
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

bool fileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

// Only a regular file is read as a journal: a pipe would never end.
bool journalFileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

void CCommandExecutor::logCommand(int command, const CommandTarget& target, const CommandArgument& argument)
{
    if (!theDocument || !keepLogFile()) return;
    // The budget item of command 3 has no text form: its entry holds no parameters.
    std::string parameters = argument.arguments() ? argument.arguments()->toText() : std::string();
    std::optional<IdCounters> ids;
    if (CDocAccounting* books = theDocument->accounting()) ids = books->Ids();
    getCommandLogger().logCommand(command, parameters, targetKey(target), ids);
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
    if (!journalFileExists(path)) return 0;
    mJournalRead = readCommandJournalFile(path);
    if (!mJournalRead.error.empty()) developerLog(mJournalRead.error);
    if (mJournalRead.fileStamp && *mJournalRead.fileStamp != mFileStamp) {
        // Kept as the backup, never replayed over a file that may hold its entries.
        developerLog("The journal " + path + " follows another saved state of its file (" + *mJournalRead.fileStamp +
                     ", the file is " + (mFileStamp.empty() ? std::string("unsaved") : mFileStamp) +
                     "): not offered");
        getCommandLogger().clearLogFile();
        mJournalRead = CommandJournal();
        return 0;
    }
    mCommandsToRecover = mJournalRead.items;
    if (mCommandsToRecover.empty()) {
        // A journal of which nothing could be read is told, not passed over.
        if (mJournalRead.damaged || mJournalRead.unreadableEntries > 0) {
            mPendingOffer = theDocument->dispatcher().callAfter(std::chrono::milliseconds(100), [this] {
                mReplayReport.clear();
                addJournalDamage();
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
    GXCommandLogger& logger = getCommandLogger();
    // A journal must not outlive a save: replayed over the newer file it
    // would repeat its edits, so it goes even while journaling is off.
    if (keepLogFile() || fileExists(logger.logFileName())) logger.clearLogFile();
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
    for (const GXCommandHistoryItem& item : mCommandsToRecover) {
        if (item.mExclude) continue;
        if (std::optional<std::string> reason = recoverCommandItem(item))
            mReplayReport.push_back(item.commandText() + " " + item.parameterName().value_or("") + ": " + *reason);
    }
    addJournalDamage();
    if (!mReplayReport.empty()) showRollForwardSummary(mReplayReport);
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
    // budget's changes, the booking of an unlinked transaction).
    if (!item.parameterName()) return localized("ROLLFORWARDNOTKEPT");
    std::unique_ptr<CArgumentAncestor> arguments = item.deserializedArguments();
    if (!arguments) return localized("ROLLFORWARDNOTKEPT");
    // The argument object takes what it can read; a text that does not read
    // whole is damage, and its values are not used.
    if (!arguments->recoverFromString(*item.mParameters)) return localized("ROLLFORWARDNOTRUN");
    CommandTarget target;
    if (item.mObject && item.mObject->size() >= 5) {
        target = theDocument->dataItemWithKey(*item.mObject);
        if (!target) return localized("ROLLFORWARDNOOBJECT");
    }
    if (std::optional<std::string> refusal = replayRefusal(*theDocument, item.mCommand, *arguments)) return refusal;
    if (item.mIdCounters && theDocument->accounting()) raiseIdCounters(*theDocument->accounting(), *item.mIdCounters);
    CommandRun run = runCommand(item.mCommand, target, CommandArgument(arguments.get()));
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
