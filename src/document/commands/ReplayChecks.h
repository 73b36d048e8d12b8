#pragma once
// What a journal entry must pass before it is replayed. A journal can be
// damaged or altered, and its entries can name objects that the books opened
// for the replay do not hold: an entry runs only when every account, category
// and other object its arguments name exists in these books and is of the
// kind the command takes, when a deletion's target bears the name the entry
// recorded for it (its key may have been changed to another object's), and
// when a transaction it would make passes the checks of the transaction
// sheet (its sides balance, its lines post to existing accounts and
// categories). The checks make nothing and use no ids.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ch {

class CArgumentAncestor;
class MyDocument;
class Observable;
using CommandTarget = std::shared_ptr<Observable>;

// Why the entry may not run (a localized text); none when it may.
std::optional<std::string> replayRefusal(MyDocument& document, int command, const CommandTarget& target,
                                         const CArgumentAncestor& arguments);

// Whether a model object of the type code is of the kind the command's
// target must be (deletions take any kind).
bool takesTargetOfType(int command, std::uint32_t type);

// Numbers that name no operation (the executor does nothing for them).
bool commandDoesNothing(int command);

// Commands that make or delete something: when one of them ran and changed
// nothing, the replay says so.
bool commandMustChangeBooks(int command);

} // namespace ch
