#pragma once
// The roll-forward offer and its summary, through the alert layer: the
// question lists the journal's entries (short code and name) and is answered
// with OK (replay: 1) or Cancel (-1); the summary lists what could not be
// replayed.

#include <string>
#include <vector>

#include "document/commands/GXCommandHistoryItem.h"

namespace ch {

int askRollForward(const std::vector<GXCommandHistoryItem>& items);
void showRollForwardSummary(const std::vector<std::string>& lines);

} // namespace ch
