#pragma once
// GXCommandLogger: the writer of a document's command journal. The file is
// UTF-8 with CR LF line ends: a header element "LogFile" that is never closed,
// then one "LogEntry" per command, written before the command runs:
//
//   <LogFile created="2009-03-15 14:22:05 +0100">
//   <LogEntry timeStamp="2009-03-15 14:23:10 +0100">
//   	<CommandNumber>12</CommandNumber>
//   	<Parameters>{ArgumentClass = AccountArguments; ...}</Parameters>
//   	<Object>AcnT15</Object>
//   	<ObjectName>Savings</ObjectName>
//   	<IdCounters>57 12 40 7 9</IdCounters>
//   </LogEntry>
//
// The Object line is there only for a command with a target; ObjectName,
// the target's name as the command was about to run, only for a target that
// has one, so that a replay acts on no other object that took its key. IdCounters holds
// the id counters of the books as the command is about to run (objects,
// transactions, booking lines, category groups, categories), so that a replay
// hands out the ids this run did even when something outside the journal
// (a sheet's temporary lines) used some meanwhile; readers that do not know
// the element pass over it. Texts are written as XML character data ("&",
// "<" and ">" escaped).
//
// The journal of a document that has a file records in its header the stamp
// of the saved state its entries follow (JournalStamp.h):
//
//   <LogFile created="2009-03-15 14:22:05 +0100" fileStamp="1836:3f0c...">
//
// Readers that know nothing of the attribute ignore it; a journal without it
// (an untitled document's, or one written before) is offered as it always was.

#include <optional>
#include <string>
#include <string_view>

#include "document/commands/GXLogger.h"
#include "model/IdCounters.h"

namespace ch {

class GXCommandLogger : public GXLogger {
public:
    using GXLogger::GXLogger;

    // The stamp a new journal's header records; empty: none.
    void setFileStamp(std::string stamp) { mFileStamp = std::move(stamp); }

    // Appends the entry of one command: its number, the argument object's
    // text form (empty without one), the target's key (none without a
    // target) and the books' id counters (none: no IdCounters line).
    void logCommand(int command, std::string_view parameters, const std::optional<std::string>& objectKey,
                    const std::optional<IdCounters>& ids = std::nullopt,
                    const std::optional<std::string>& objectName = std::nullopt);

    // The entry as logCommand writes it.
    static std::string entryText(int command, std::string_view parameters,
                                 const std::optional<std::string>& objectKey,
                                 const std::optional<IdCounters>& ids = std::nullopt,
                                 const std::optional<std::string>& objectName = std::nullopt);
    // The text of the IdCounters element, and the counters it gives back
    // (none unless it is five integers).
    static std::string idCountersText(const IdCounters& ids);
    static std::optional<IdCounters> idCountersFromText(std::string_view text);
    // The local date and time as "2009-03-15 14:22:05 +0100".
    static std::string timeStamp();
    // "&", "<" and ">" as XML entities.
    static std::string escaped(std::string_view text);

protected:
    std::optional<std::string> initialString() const override;

private:
    std::string mFileStamp;
};

} // namespace ch
