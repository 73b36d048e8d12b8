#pragma once
// What an account holds in its own currency was booked: a later rate change
// must not alter it. A line in another currency than its account's counts
// in the account at the rate of the line's date; entering or changing a rate
// for that date (or the current rate that dates without an entry use) would
// make the same line count differently when the books are read again.
//
// The keeper notes, when it is made, the amount each such posted line counts
// for in its account; when it ends, every line whose conversion moved is
// written in the account's currency with the amount it was posted with. Its
// home-currency amount and the balances stay as they are. An account held in
// the home currency counts its lines by their home-currency amounts: it has
// nothing to keep, unless the home currency itself is about to change.

#include <vector>

namespace ch {

class CAccount;
class CDebit;
class CDocAccounting;

class LineConversionKeeper {
public:
    explicit LineConversionKeeper(CDocAccounting* document, bool homeCurrencyChanges = false);
    ~LineConversionKeeper();
    LineConversionKeeper(const LineConversionKeeper&) = delete;
    LineConversionKeeper& operator=(const LineConversionKeeper&) = delete;

private:
    struct Noted {
        CAccount* account;
        CDebit* line;
        double amount;
    };
    CDocAccounting* mDocument;
    std::vector<Noted> mNoted;
};

} // namespace ch
