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

inline constexpr long kJournalSetAside = 298;
inline constexpr long kNotJournaled = 299;

} // namespace ch
