#pragma once
// Whether an argument object's text form reads whole. The readers of
// CArgumentAncestor take what they can from a text (the leading number of
// "12x", the day 200 of "200S0401") and pass over keys no class reads: right
// for values a sender made, wrong for a journal entry that was damaged. While
// a check lives (on its thread), every reader reports to it the key it read
// and the kind of value it took; the check then tells what did not read
// whole: a key the class does not read, a number with anything else in its
// text, a date that is no day (0 and less stand for no date), a colour or a
// transaction dictionary that holds other keys or values than it may.
//
// A class that writes a key it does not read acknowledges it
// (CArgumentAncestor::acknowledgeKey), so that the key is known.

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/core/value.h"

namespace ch {

class ArgumentTextCheck {
public:
    enum class Kind {
        Any,          // known, not read: any value
        Text,
        Integer,      // an optional sign and decimal digits
        Number,       // a decimal number, with an optional exponent
        Flag,         // a whole number, or YES, NO, true, false
        Date,         // a whole number that is a day (yyyymmdd), or 0 or less for none
        Colour,       // a dictionary of the numbers "red", "green", "blue", "alpha"
        Transaction,  // a transaction dictionary (CTrnSItem and CRcrTItem) with its lines
    };

    ArgumentTextCheck();
    ~ArgumentTextCheck();
    ArgumentTextCheck(const ArgumentTextCheck&) = delete;
    ArgumentTextCheck& operator=(const ArgumentTextCheck&) = delete;

    // Called by the readers: the key was read (absent or not) as a value of
    // the kind. Nothing when no check lives.
    static void noteRead(std::string_view key, const Value* value, Kind kind);

    // What did not read whole, as a localized reason for the replay's list;
    // none when everything did. `text` is the text form the object was
    // filled from: each of its keys must have been read.
    std::optional<std::string> damage(std::string_view text) const;

private:
    void note(std::string_view key, const Value* value, Kind kind);

    std::set<std::string, std::less<>> mRead;
    std::optional<std::string> mFirstDamage;
    ArgumentTextCheck* mOuter = nullptr;
};

} // namespace ch
