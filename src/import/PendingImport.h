#pragma once
// PendingImport: the document's list of import lines that wait for review.
// A reader's lines are installed here with one import time stamp for the
// whole list; corrections complete all lines again; the import books every
// line that can be booked and keeps the others.
//
// Completing all lines may be asked for from inside a line's completion (a
// setter that renamed an account); such a request is remembered and the list
// is completed once more when the running pass ends, so the work stays
// linear in the number of lines. Main thread only.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "import/CImpTItem.h"

namespace ch {

class PendingImport {
public:
    bool empty() const { return mLines.empty(); }
    std::size_t size() const { return mLines.size(); }
    const std::vector<CImpTItem::Ptr>& lines() const { return mLines; }

    // Replaces the pending list with the lines; every line without an
    // import time stamp gets this list's stamp. Answers the stamp.
    std::int64_t install(std::vector<CImpTItem::Ptr> lines);
    void clear() { mLines.clear(); }

    // Completes every line again.
    void completeBankImport();
    // Gives the own account, without questions, to every line whose
    // statement names no own account number (shorter than 2 characters).
    void setOwnAccountIdForImport(ObjectIdT accountId);
    // Books every line that can be booked (CImpTItem::import); the lines
    // that could not stay pending. Answers the number booked.
    std::size_t doActualImport();

    // A stamp of the current date and time (yyyymmddhhmmss, UTC), later than
    // every stamp given out before in this process.
    static std::int64_t newTimeStamp();

private:
    std::vector<CImpTItem::Ptr> mLines;
    bool mCompleting = false;
    bool mCompleteAgain = false;
};

} // namespace ch
