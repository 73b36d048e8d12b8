#include "import/StatementAmount.h"

#include <algorithm>

#include "bridge/CNSNumberAmountTBridge.h"
#include "import/ImportText.h"

namespace ch {

namespace {

// Zero written out: zeros, at most one sign in front, and the separators of
// either notation between them.
bool isZeroText(std::string_view text)
{
    if (text.starts_with('-')) text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '.' || c == ','; });
}

} // namespace

std::optional<double> statementAmount(std::string_view text)
{
    text = trimmedText(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    const double amount = CNSNumberAmountTBridge::NSStringToNSNumber(text);
    if (amount != 0.0) return amount;
    if (isZeroText(text)) return 0.0;
    return std::nullopt;
}

} // namespace ch
