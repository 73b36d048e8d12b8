#pragma once
// The side bar's quick entry without its pane: what the user typed (date,
// the other account, our account, amount, name) checked in order, then
// booked as a new transaction with command 23: one line from, one line to
// and one category line, worked out by the quick-entry arguments.
//
// Checks: 202 no name; 238 no amount or 0; 129 a missing date or account
// (or no category can be found for the pair); 151 a date number outside
// 10000000..30000000 or one that is no calendar day. Each names the field
// that gets the focus.

#include <optional>
#include <string>

namespace ch {

class SheetDocument;
namespace arguments {
class SimpleTransactionArguments;
}

struct QuickEntryFields {
    std::optional<long> date;           // DateT
    std::optional<long> otherAccount;
    std::optional<long> ourAccount;
    std::optional<double> amount;
    std::optional<std::string> name;
};

enum class QuickEntryField { None, Name, Amount, Date, OtherAccount, OurAccount };

struct QuickEntryOutcome {
    long error = 0;                      // 0: booked
    QuickEntryField focus = QuickEntryField::None;
};

// Checks the fields; 0 and no focus when they are acceptable.
QuickEntryOutcome checkQuickEntry(const QuickEntryFields& fields);

// Checks, raises the error when there is one, else books through the
// document's command sink and resets the arguments for the next entry
// (focus: the date field).
QuickEntryOutcome newFastTransactionPressed(SheetDocument& document, arguments::SimpleTransactionArguments& entry,
                                            const QuickEntryFields& fields);

} // namespace ch
