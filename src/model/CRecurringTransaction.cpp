#include "model/CRecurringTransaction.h"

#include <algorithm>

#include "model/CDocAccounting.h"
#include "model/foundation/LStream.h"

namespace ch {

namespace {

constexpr int kSunday = 6;
constexpr int kSaturday = 5;

// The anniversary of a date of the year in the given year; a day the month
// does not have (29 February in a common year) is the month's last day, so
// a schedule never books on a date that does not exist. 0 for a date of the
// year whose month or day is no calendar month or day.
DateT AnniversaryIn(long year, DateT dateOfYear)
{
    const long month = CDate::GetMonthFromDateT(dateOfYear);
    const long day = CDate::GetDayFromDateT(dateOfYear);
    if (month < 1 || month > 12 || day < 1) return kNoDate;
    const DateT first = static_cast<DateT>(year * 10000 + month * 100 + 1);
    const long lastDay = CDate::GetDayFromDateT(CDate::GetLastDayOfMonth(first));
    return static_cast<DateT>(first - 1 + std::min(day, lastDay));
}

} // namespace

CRecurringTransaction::CRecurringTransaction(CDocAccounting* document, bool withLines,
                                             TransactionTypeT type)
    : CRecurringTransaction(-1, document, withLines, type)
{
}

CRecurringTransaction::CRecurringTransaction(ObjectIdT id, CDocAccounting* document, bool withLines,
                                             TransactionTypeT type)
    : CTransaction(id, document, false, type, false)
{
    SetDefaults();
    // The lines are made after the type code is 'RctR', so they never post.
    if (withLines) {
        Add_Debit(1, false, 0.0);
        Add_Credit(1, false, 0.0);
        Add_ExpenseType(1, false, 0.0);
    }
}

CRecurringTransaction::CRecurringTransaction(LStream* stream, FourCharCode version,
                                             CDocAccounting* document, bool unused)
    : CTransaction(stream, version, document, unused)
{
    // No version gate: every version of the record holds the whole schedule.
    stream->ReadEnumT(mRecurringType);
    stream->ReadEnumT(mAutomaticApproval);
    stream->ReadEnumT(mOnOff);
    stream->ReadLong(mDayOfMonth);
    for (signed char& flag : mWeekdays) {
        EnumT value = 0;
        stream->ReadEnumT(value);
        flag = static_cast<signed char>(value);
    }
    stream->ReadEnumT(mWeekType);
    stream->ReadEnumT(mMonthlyType);
    std::int16_t timesPerYear = 0;
    stream->ReadShort(timesPerYear);
    mNumberOfTimesPerYear = timesPerYear;
    for (DateT& date : mDatesOfYear) stream->ReadDateT(date);
    stream->ReadDateT(mLastGeneratedOn);
    SetObjectType(type::kRecurring);
}

CRecurringTransaction::~CRecurringTransaction() = default;

DateT CRecurringTransaction::SetDefaults()
{
    const DateT today = CDate::GetNowAsDateT();
    mRecurringType = recurring_type::kManual;
    mAutomaticApproval = 1;
    mOnOff = 0;
    mDayOfMonth = 1;
    mWeekdays = {1, 0, 0, 0, 0, 0, 0};
    mWeekType = 0;
    mMonthlyType = monthly_type::kWeekdayOfWeek;
    mNumberOfTimesPerYear = 1;
    mDatesOfYear.fill(today);
    mLastGeneratedOn = today;
    SetObjectType(type::kRecurring);
    return today;
}

bool CRecurringTransaction::InitFromCopy(CTransaction* source)
{
    if (!source) return false;
    CTransaction::InitFromCopy(source);
    SetDefaults();
    if (source->Get_ObjectType() == type::kRecurring) {
        const auto* schedule = static_cast<const CRecurringTransaction*>(source);
        mRecurringType = schedule->mRecurringType;
        mAutomaticApproval = schedule->mAutomaticApproval;
        mOnOff = schedule->mOnOff;
        mDayOfMonth = schedule->mDayOfMonth;
        mWeekdays = schedule->mWeekdays;
        mWeekType = schedule->mWeekType;
        mMonthlyType = schedule->mMonthlyType;
        mNumberOfTimesPerYear = schedule->mNumberOfTimesPerYear;
        mDatesOfYear = schedule->mDatesOfYear;
        mLastGeneratedOn = schedule->mLastGeneratedOn;
    }
    return true;
}

DateT CRecurringTransaction::Get_mDateOfYear(int number) const
{
    return number >= 1 && number <= kDatesOfYear ? mDatesOfYear[number - 1] : kNoDate;
}

bool CRecurringTransaction::Put_mDateOfYear(int number, DateT date)
{
    if (number < 1 || number > kDatesOfYear) return false;
    mDatesOfYear[number - 1] = date;
    return true;
}

// --- generation

int CRecurringTransaction::FirstFlaggedWeekday(int lastConsidered) const
{
    for (int weekday = 0; weekday <= lastConsidered; ++weekday) {
        if (mWeekdays[weekday] != 0) return weekday;
    }
    return -1;
}

DateT CRecurringTransaction::NextDateOfYear(DateT start, DateT today) const
{
    if (mNumberOfTimesPerYear < 1) return kNeverDate;
    const int used = std::min<int>(mNumberOfTimesPerYear, kDatesOfYear);
    DateT best = kNeverDate;
    for (int i = 0; i < used; ++i) {
        const DateT dateOfYear = mDatesOfYear[i];
        // Dates from the year 3000 on are never due.
        if (dateOfYear >= kGenerationBound) continue;
        // Only month and day count: the earliest anniversary within start..today.
        for (long year = CDate::GetYearFromDateT(start); year <= CDate::GetYearFromDateT(today); ++year) {
            const DateT candidate = AnniversaryIn(year, dateOfYear);
            if (candidate == kNoDate || candidate > today) break;
            if (candidate >= start) {
                best = std::min(best, candidate);
                break;
            }
        }
    }
    return best;
}

DateT CRecurringTransaction::GetNextGenerationDate() const
{
    const DateT last = mLastGeneratedOn;
    // A schedule that does not know where it stands has no next date (a
    // damaged date would otherwise book from the year 1 on).
    if (!CDate::IsValidDate(last)) return kNeverDate;
    // The day after the last one as a plain successor (day 32 and the like
    // are carried into the next month by the date functions).
    const DateT start = last + 1;
    DateT next = kNeverDate;
    switch (mRecurringType) {
    case recurring_type::kWeekly: {
        int weekday = FirstFlaggedWeekday(kSunday);
        if (weekday >= 0) next = CDate::GetNextxDay(start, static_cast<DayOfWeekT>(weekday));
        break;
    }
    case recurring_type::kSeveralTimesAWeek:
        for (int weekday = 0; weekday <= kSunday; ++weekday) {
            if (mWeekdays[weekday] != 0)
                next = std::min(next, CDate::GetNextxDay(start, static_cast<DayOfWeekT>(weekday)));
        }
        break;
    case recurring_type::kMonthly:
        if (mMonthlyType == monthly_type::kWeekdayOfWeek) {
            int weekday = FirstFlaggedWeekday(kSaturday);
            if (weekday < 0) weekday = mWeekdays[kSunday] != 0 ? kSunday : kSaturday;
            next = CDate::GetNextTypedxDay(start, mWeekType, static_cast<DayOfWeekT>(weekday));
        } else if (mMonthlyType == monthly_type::kDayOfMonth) {
            next = CDate::GetNextxthOfMonth(start, mDayOfMonth);
        }
        break;
    case recurring_type::kSeveralTimesAMonth:
        // Counted from the last generated date itself. An interval below one
        // day would never advance: such a schedule has no next date.
        if (mDayOfMonth >= 1) next = CDate::AddDaysTo(last, mDayOfMonth);
        break;
    case recurring_type::kSeveralTimesAYear:
        next = NextDateOfYear(start, CDate::GetNowAsDateT());
        break;
    default:   // manual, once, yearly and unknown kinds
        break;
    }
    // What the date functions refuse (0) or what does not advance is no date.
    return next > last ? next : kNeverDate;
}

DateT CRecurringTransaction::GetNextDate() const
{
    // A date of the year is due only once it has come; the list shows it before.
    if (mRecurringType == recurring_type::kSeveralTimesAYear && CDate::IsValidDate(mLastGeneratedOn))
        return NextDateOfYear(mLastGeneratedOn + 1, kGenerationBound - 1);
    return GetNextGenerationDate();
}

long CRecurringTransaction::Generate()
{
    GenerateAtMost(kMaxCopiesPerRun);
    return 0;
}

long CRecurringTransaction::GenerateAtMost(long maxCopies, std::vector<CTransaction*>* made)
{
    if (mOnOff != 0 || !mDocument) return 0;
    const DateT today = CDate::GetNowAsDateT();
    long count = 0;
    while (count < maxCopies) {
        const DateT next = GetNextGenerationDate();
        // A date that does not advance would book the same day for ever.
        if (next > today || next <= mLastGeneratedOn) break;
        CTransaction* copy = mDocument->CreateTransactionFromCopy(this);
        if (!copy) break;
        copy->Put_mDate(next);
        if (mAutomaticApproval != 0) mDocument->LinkTrans(copy);
        mLastGeneratedOn = next;
        Put_mDate(next);
        ++count;
        if (made) made->push_back(copy);
    }
    return count;
}

// --- stream

void CRecurringTransaction::PutStream(LStream* stream)
{
    CTransaction::PutStream(stream, false);
    stream->WriteEnumT(mRecurringType);
    stream->WriteEnumT(mAutomaticApproval);
    stream->WriteEnumT(mOnOff);
    stream->WriteLong(mDayOfMonth);
    for (signed char flag : mWeekdays) stream->WriteEnumT(static_cast<EnumT>(flag));
    stream->WriteEnumT(mWeekType);
    stream->WriteEnumT(mMonthlyType);
    stream->WriteShort(mNumberOfTimesPerYear);
    for (DateT date : mDatesOfYear) stream->WriteDateT(date);
    stream->WriteDateT(mLastGeneratedOn);
    PutDetailsToStream(stream);
}

} // namespace ch
