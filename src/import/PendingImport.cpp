#include "import/PendingImport.h"

#include <ctime>

#include "import/ImportText.h"
#include "platform/core/clock.h"

namespace ch {

namespace {

// Passes asked for while one runs are folded into at most this many more.
constexpr int kMaxExtraPasses = 2;

} // namespace

std::int64_t PendingImport::newTimeStamp()
{
    static std::int64_t last = 0;
    const std::time_t now = static_cast<std::time_t>(nowSeconds());
    std::tm parts{};
    gmtime_r(&now, &parts);
    std::int64_t stamp = (parts.tm_year + 1900) * 10000000000LL + (parts.tm_mon + 1) * 100000000LL +
                         parts.tm_mday * 1000000LL + parts.tm_hour * 10000LL + parts.tm_min * 100LL + parts.tm_sec;
    // Two imports within one second must not share a stamp: lines of the
    // first would not count as duplicates of the second.
    if (stamp <= last) stamp = last + 1;
    last = stamp;
    return stamp;
}

std::int64_t PendingImport::install(std::vector<CImpTItem::Ptr> lines)
{
    const std::int64_t stamp = newTimeStamp();
    mLines = std::move(lines);
    for (const CImpTItem::Ptr& line : mLines)
        if (line && !line->importTimeStamp()) line->setImportTimeStamp(stamp);
    return stamp;
}

void PendingImport::completeBankImport()
{
    if (mCompleting) {
        mCompleteAgain = true;
        return;
    }
    struct Running {
        bool& flag;
        ~Running() { flag = false; }
    } running{mCompleting = true};
    int extra = 0;
    do {
        mCompleteAgain = false;
        // A copy: a line's completion may not change the list, but must not break the walk if it does.
        const std::vector<CImpTItem::Ptr> lines = mLines;
        for (const CImpTItem::Ptr& line : lines)
            if (line) line->autoComplete();
    } while (mCompleteAgain && extra++ < kMaxExtraPasses);
}

void PendingImport::setOwnAccountIdForImport(ObjectIdT accountId)
{
    for (const CImpTItem::Ptr& line : std::vector<CImpTItem::Ptr>(mLines)) {
        if (!line || characterCount(line->mOurAccountNumber()) >= 2) continue;
        const bool batch = line->mBatch();
        line->setMBatch(true);
        line->setMOurAccountId(accountId);
        line->setMBatch(batch);
    }
}

std::size_t PendingImport::doActualImport()
{
    std::vector<CImpTItem::Ptr> kept;
    std::size_t booked = 0;
    for (const CImpTItem::Ptr& line : std::vector<CImpTItem::Ptr>(mLines)) {
        if (line && line->import())
            ++booked;
        else if (line)
            kept.push_back(line);
    }
    mLines = std::move(kept);
    return booked;
}

} // namespace ch
