#pragma once
// PendingImport: the statement lines that wait for review. Lines are
// installed with one import time stamp for the whole list (lines stamped
// before keep theirs); corrections complete all lines again; the import
// books every line that can be booked and keeps the others.
//
// Completing all lines may be asked for from inside a line's completion (a
// setter that renamed an account); such a request is remembered and the list
// is completed once more when the running pass ends, so the work stays
// linear in the number of lines. Main thread only.

#include <cstddef>
#include <cstdint>

#include "document/StatementReader.h"

namespace ch {

class PendingImport {
public:
    bool empty() const { return mLines.empty(); }
    std::size_t size() const { return mLines.size(); }
    const StatementLines& lines() const { return mLines; }

    // Replaces the pending list (nothing happens when it is the same list);
    // every line without an import time stamp gets one new stamp.
    void install(StatementLines lines);
    void clear() { mLines.clear(); }

    // Completes every line again.
    void completeBankImport();
    // The own account for every line whose statement names none.
    void setOwnAccountIdForImport(ObjectIdT accountId);
    // Whether a pending line other than that one is matched with the booked
    // transaction as its duplicate.
    bool duplicateTakenByOtherLine(ObjectIdT transactionId, const StatementLine* line) const;
    // Books every line that can be booked, in order; the lines that could
    // not stay pending with their stamps. Answers the number booked.
    std::size_t doActualImport();

    // The stamp of a run at that local time: (year - 2000) x 10,000,000 +
    // day of year x 100,000 + seconds of the day.
    static std::int64_t timeStampAt(std::int64_t secondsSinceEpoch);
    // The stamp of now, raised above every stamp given out before in this
    // process when it would not be: two runs must never share a stamp, or
    // the lines of one would not count as duplicates of the other.
    static std::int64_t newTimeStamp();

private:
    StatementLines mLines;
    bool mCompleting = false;
    bool mCompleteAgain = false;
};

} // namespace ch
