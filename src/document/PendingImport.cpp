#include "document/PendingImport.h"

#include <ctime>

#include "platform/core/clock.h"

namespace ch {

StatementLine::~StatementLine() = default;
StatementReader::~StatementReader() = default;

namespace {

// Passes asked for while one runs are folded into at most this many more.
constexpr int kMaxExtraPasses = 2;

} // namespace

std::int64_t PendingImport::timeStampAt(std::int64_t secondsSinceEpoch)
{
    const std::time_t when = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&when, &local);
    const std::int64_t year = local.tm_year + 1900;
    const std::int64_t dayOfYear = local.tm_yday + 1;
    return (year - 2000) * 10'000'000LL + dayOfYear * 100'000LL + local.tm_hour * 3600LL + local.tm_min * 60LL +
           local.tm_sec;
}

std::int64_t PendingImport::newTimeStamp()
{
    // The day of year overlaps the year's digits, and two runs may fall in
    // one second: only a rising sequence keeps the runs apart.
    static std::int64_t last = 0;
    std::int64_t stamp = timeStampAt(nowSeconds());
    if (stamp <= last) stamp = last + 1;
    last = stamp;
    return stamp;
}

void PendingImport::install(StatementLines lines)
{
    if (lines == mLines) return;
    std::int64_t stamp = 0;
    for (const std::shared_ptr<StatementLine>& line : lines) {
        if (!line || line->importTimeStamp()) continue;
        if (!stamp) stamp = newTimeStamp();
        line->setImportTimeStamp(stamp);
    }
    mLines = std::move(lines);
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
        // A copy: a line's completion must not break the walk if it changes the list.
        const StatementLines lines = mLines;
        for (const std::shared_ptr<StatementLine>& line : lines)
            if (line) line->autoComplete();
    } while (mCompleteAgain && extra++ < kMaxExtraPasses);
}

void PendingImport::setOwnAccountIdForImport(ObjectIdT accountId)
{
    for (const std::shared_ptr<StatementLine>& line : StatementLines(mLines))
        if (line) line->setOwnAccountIdForImport(accountId);
}

bool PendingImport::duplicateTakenByOtherLine(ObjectIdT transactionId, const StatementLine* line) const
{
    for (const std::shared_ptr<StatementLine>& other : mLines)
        if (other && other.get() != line && other->duplicatedTransactionId() == transactionId) return true;
    return false;
}

std::size_t PendingImport::doActualImport()
{
    StatementLines kept;
    std::size_t booked = 0;
    for (const std::shared_ptr<StatementLine>& line : StatementLines(mLines)) {
        if (line && line->import())
            ++booked;
        else if (line)
            kept.push_back(line);
    }
    install(std::move(kept));
    return booked;
}

} // namespace ch
