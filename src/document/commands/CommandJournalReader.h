#pragma once
// Reads a command journal back into its entries. The journal's root element
// is never closed, so every journal ends in a parse error; the entries
// completed before the point where reading stops stand. Only the elements
// "LogEntry", "CommandNumber", "Parameters", "Object", "ObjectName" and "IdCounters" mean
// anything; other elements are ignored. An entry needs a command number (its low 8 bits are
// kept).
//
// Reading stops without damage when only the open root remains at the end.
// Any other stop (a cut inside an entry, malformed text, a document type
// declaration, a journal beyond the size limit) is damage: the entries after
// that point are lost, and the journal says where.
//
// Nothing is fetched from the network and no external entity is loaded.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/commands/GXCommandHistoryItem.h"

namespace ch {

struct CommandJournal {
    std::vector<GXCommandHistoryItem> items;
    // The journal could not be read to its end.
    bool damaged = false;
    // Entries read whole but without a command number that reads as one
    // (none, or text that is no integer): they are not among the items.
    int unreadableEntries = 0;
    // The reader's message where it stopped: "Error %i, Description: %s,
    // Line: %i, Column: %i" (empty when it read to the end without error).
    std::string error;
    int errorLine = 0;
    // The header's "fileStamp": the saved state the entries follow; none in
    // an untitled document's journal and in journals written before.
    std::optional<std::string> fileStamp;
};

// A journal larger than this is read up to the limit only, and is damaged.
inline constexpr std::size_t kMaxJournalBytes = std::size_t(256) << 20;

CommandJournal readCommandJournal(std::string_view text);
// A missing or unreadable file gives no entries and no damage; what is not
// a regular file (a FIFO, a folder) gives none and is damaged.
CommandJournal readCommandJournalFile(const std::string& path);

} // namespace ch
