#pragma once
// The settings of a set of books that Books > Settings changes one at a time
// (the home currency, the year's first month, the default accounts and
// categories ...), each by the name the journal keeps it under. The password
// is not among them: the journal is plain text beside the file.

#include <string_view>
#include <vector>

#include "document/DocumentOperations.h"

namespace ch {

class CDocAccounting;
class CPrfRItem;

namespace book_settings {

struct Setting {
    const char* name;
    long (*read)(const CPrfRItem& settings);
    void (*write)(CPrfRItem& settings, long value);
    // What the setting may name, where not everything of its list will do;
    // null: anything. The settings window offers only these.
    bool (*takes)(const CDocAccounting& books, long id) = nullptr;

    bool accepts(const CDocAccounting* books, long id) const { return !takes || !books || takes(*books, id); }
};

const std::vector<Setting>& all();
// None for a name no setting has.
const Setting* named(std::string_view name);

// Gives the setting the value; changed only when it now holds it and held
// another before (the year's first month refuses a month it cannot take).
// A value the setting does not accept is refused: shares are held in own
// property, so new holdings go to an own-property type only, and an account
// holding shares never pays as the own-property account.
CommandOutcome change(CPrfRItem& settings, std::string_view name, long value);

} // namespace book_settings
} // namespace ch
