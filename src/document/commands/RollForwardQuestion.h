#pragma once
// The roll-forward offer and its summary, through the alert layer: the
// question lists the journal's entries (short code and name) and is answered
// with OK (replay: 1) or Cancel (-1); the summary lists what could not be
// replayed. And the two messages about the journal itself: one set aside
// unoffered, one that cannot be written.

#include <string>
#include <vector>

#include "document/commands/GXCommandHistoryItem.h"

namespace ch {

int askRollForward(const std::vector<GXCommandHistoryItem>& items);
void showRollForwardSummary(const std::vector<std::string>& lines);
// Message 298: a journal was not offered and lies at the path.
void showJournalSetAside(const std::string& path);
// Message 299: the changes are not journaled, the path being no regular file.
void showJournalNotWritten(const std::string& path);

// Message 397: writing the journal at the path failed for the reason; the
// changes are not journaled until the next save.
void showJournalWriteFailed(const std::string& path, const std::string& reason);
// Message 398: a journal that was not offered could not be put aside for
// the reason; it stays at the path, and nothing is journaled beside it.
void showJournalNotSetAside(const std::string& path, const std::string& reason);

inline constexpr long kJournalSetAside = 298;
inline constexpr long kNotJournaled = 299;
inline constexpr long kJournalWriteFailed = 397;
inline constexpr long kJournalNotSetAside = 398;

} // namespace ch
