#pragma once
// CRecurringTransaction ('RctR'): a transaction template with a schedule. It
// holds everything a transaction holds (name, texts, amount, currency and its
// lines) plus the schedule below; its lines never post. Generate makes one
// ordinary transaction per date that has fallen due since the last one it
// made, copied from the template through the document, dated on the due date
// and, when the template says so, booked at once.
//
// Schedule kinds (RecurringTypeT):
//   0 manual, 1 once, 6 yearly: never generated automatically;
//   2 weekly on the first flagged weekday;
//   3 on every flagged weekday;
//   4 monthly: on a day of the month (monthly type 0) or on a weekday of a
//     given week of the month (monthly type 1);
//   5 every mDayOfMonth days, counted from the last generated date;
//   7 on up to twelve dates of the year (only month and day count).
// The schedule continues from the day after mLastGeneratedOn.
//
// Owned by the document's recurring list. Main thread only.

#include <array>
#include <vector>

#include "model/CTransaction.h"
#include "model/foundation/CDate.h"

namespace ch {

using RecurringTypeT = EnumT;
using MonthlyTypeT = EnumT;

namespace recurring_type {
inline constexpr RecurringTypeT kManual = 0;
inline constexpr RecurringTypeT kOnce = 1;
inline constexpr RecurringTypeT kWeekly = 2;
inline constexpr RecurringTypeT kSeveralTimesAWeek = 3;
inline constexpr RecurringTypeT kMonthly = 4;
inline constexpr RecurringTypeT kSeveralTimesAMonth = 5;
inline constexpr RecurringTypeT kYearly = 6;
inline constexpr RecurringTypeT kSeveralTimesAYear = 7;
} // namespace recurring_type

namespace monthly_type {
inline constexpr MonthlyTypeT kDayOfMonth = 0;
inline constexpr MonthlyTypeT kWeekdayOfWeek = 1;
} // namespace monthly_type

class CRecurringTransaction : public CTransaction {
public:
    static constexpr int kDatesOfYear = 12;

    // The transaction part without lines, then the schedule defaults; with
    // `withLines` one debit, one credit and one category line.
    CRecurringTransaction(CDocAccounting* document, bool withLines, TransactionTypeT type);
    CRecurringTransaction(ObjectIdT id, CDocAccounting* document, bool withLines,
                          TransactionTypeT type);
    // Reads the record: the transaction part, then the schedule; the reader
    // attaches the lines that follow.
    CRecurringTransaction(LStream* stream, FourCharCode version, CDocAccounting* document,
                          bool unused);
    ~CRecurringTransaction() override;

    // Kind 0, automatic approval, active, day 1, Monday only, monthly type 1,
    // once a year, the dates of the year and the last generated date today;
    // type code 'RctR'. Returns today.
    DateT SetDefaults();

    // The transaction part of the source (CTransaction::InitFromCopy), then
    // the defaults, then, from another template, every schedule field. 1.
    bool InitFromCopy(CTransaction* source) override;

    // --- the schedule (each Put_ stores unchecked and returns true)
    RecurringTypeT Get_mRecurringType() const { return mRecurringType; }
    bool Put_mRecurringType(RecurringTypeT value) { mRecurringType = value; return true; }
    unsigned char Get_mAutomaticApproval() const { return mAutomaticApproval; }
    bool Put_mAutomaticApproval(unsigned char value) { mAutomaticApproval = value; return true; }
    unsigned char Get_mOnOff() const { return mOnOff; }
    bool Put_mOnOff(unsigned char value) { mOnOff = value; return true; }
    long Get_mDayOfMonth() const { return mDayOfMonth; }
    bool Put_mDayOfMonth(long value) { mDayOfMonth = static_cast<std::int32_t>(value); return true; }
    signed char Get_mMonday() const { return mWeekdays[0]; }
    signed char Get_mTuesday() const { return mWeekdays[1]; }
    signed char Get_mWednesday() const { return mWeekdays[2]; }
    signed char Get_mThursday() const { return mWeekdays[3]; }
    signed char Get_mFriday() const { return mWeekdays[4]; }
    signed char Get_mSaturDay() const { return mWeekdays[5]; }
    signed char Get_mSunday() const { return mWeekdays[6]; }
    bool Put_mMonday(signed char value) { mWeekdays[0] = value; return true; }
    bool Put_mTuesday(signed char value) { mWeekdays[1] = value; return true; }
    bool Put_mWednesday(signed char value) { mWeekdays[2] = value; return true; }
    bool Put_mThursday(signed char value) { mWeekdays[3] = value; return true; }
    bool Put_mFriday(signed char value) { mWeekdays[4] = value; return true; }
    bool Put_mSaturDay(signed char value) { mWeekdays[5] = value; return true; }
    bool Put_mSunday(signed char value) { mWeekdays[6] = value; return true; }
    WeekOfMonthT Get_mWeekType() const { return mWeekType; }
    bool Put_mWeekType(WeekOfMonthT value) { mWeekType = value; return true; }
    MonthlyTypeT Get_mMonthlyType() const { return mMonthlyType; }
    bool Put_mMonthlyType(MonthlyTypeT value) { mMonthlyType = value; return true; }
    short Get_mNumberOfTimesPerYear() const { return mNumberOfTimesPerYear; }
    bool Put_mNumberOfTimesPerYear(short value) { mNumberOfTimesPerYear = value; return true; }
    // The dates of the year by number, 1 to 12 (others: 0 and false).
    DateT Get_mDateOfYear(int number) const;
    bool Put_mDateOfYear(int number, DateT date);
    DateT Get_mDateOfYear1() const { return mDatesOfYear[0]; }
    DateT Get_mDateOfYear2() const { return mDatesOfYear[1]; }
    DateT Get_mDateOfYear3() const { return mDatesOfYear[2]; }
    DateT Get_mDateOfYear4() const { return mDatesOfYear[3]; }
    DateT Get_mDateOfYear5() const { return mDatesOfYear[4]; }
    DateT Get_mDateOfYear6() const { return mDatesOfYear[5]; }
    DateT Get_mDateOfYear7() const { return mDatesOfYear[6]; }
    DateT Get_mDateOfYear8() const { return mDatesOfYear[7]; }
    DateT Get_mDateOfYear9() const { return mDatesOfYear[8]; }
    DateT Get_mDateOfYear10() const { return mDatesOfYear[9]; }
    DateT Get_mDateOfYear11() const { return mDatesOfYear[10]; }
    DateT Get_mDateOfYear12() const { return mDatesOfYear[11]; }
    bool Put_mDateOfYear1(DateT date) { return Put_mDateOfYear(1, date); }
    bool Put_mDateOfYear2(DateT date) { return Put_mDateOfYear(2, date); }
    bool Put_mDateOfYear3(DateT date) { return Put_mDateOfYear(3, date); }
    bool Put_mDateOfYear4(DateT date) { return Put_mDateOfYear(4, date); }
    bool Put_mDateOfYear5(DateT date) { return Put_mDateOfYear(5, date); }
    bool Put_mDateOfYear6(DateT date) { return Put_mDateOfYear(6, date); }
    bool Put_mDateOfYear7(DateT date) { return Put_mDateOfYear(7, date); }
    bool Put_mDateOfYear8(DateT date) { return Put_mDateOfYear(8, date); }
    bool Put_mDateOfYear9(DateT date) { return Put_mDateOfYear(9, date); }
    bool Put_mDateOfYear10(DateT date) { return Put_mDateOfYear(10, date); }
    bool Put_mDateOfYear11(DateT date) { return Put_mDateOfYear(11, date); }
    bool Put_mDateOfYear12(DateT date) { return Put_mDateOfYear(12, date); }
    DateT Get_mLastGeneratedOn() const { return mLastGeneratedOn; }
    bool Put_mLastGeneratedOn(DateT date) { mLastGeneratedOn = date; return true; }

    // --- generation
    // The next date on which a transaction is due (it may lie after today),
    // or kNeverDate when the schedule has none. Every date it gives is a real
    // calendar date after mLastGeneratedOn.
    DateT GetNextGenerationDate() const;
    // The date the schedule comes round next, as a list shows it: the next
    // generation date, except that a date of the year not yet due counts
    // too; kNeverDate for kinds that are never generated.
    DateT GetNextDate() const;
    // Nothing while suspended. Otherwise one transaction per due date up to
    // today, oldest first; stops quietly when the document makes no copy. 0.
    long Generate();
    // Generate, making at most maxCopies transactions (the rest follows at
    // the next run); the number made, each added to `made` when given. A
    // damaged schedule in a file can't flood the books: one run makes at
    // most kMaxCopiesPerRun.
    static constexpr long kMaxCopiesPerRun = 20000;
    long GenerateAtMost(long maxCopies, std::vector<CTransaction*>* made = nullptr);

    // --- stream
    using CTransaction::PutStream;
    // The transaction part without lines, the schedule, then the lines.
    void PutStream(LStream* stream) override;

private:
    // Kind 7: the earliest anniversary of a used date of the year within
    // start..today; kNeverDate when none.
    DateT NextDateOfYear(DateT start, DateT today) const;
    // The first flagged weekday, Monday first; -1 when none.
    int FirstFlaggedWeekday(int lastConsidered) const;

    RecurringTypeT mRecurringType = recurring_type::kManual;
    unsigned char mAutomaticApproval = 1;
    unsigned char mOnOff = 0;
    std::int32_t mDayOfMonth = 1;
    std::array<signed char, 7> mWeekdays{};   // Monday .. Sunday
    WeekOfMonthT mWeekType = 0;
    MonthlyTypeT mMonthlyType = monthly_type::kWeekdayOfWeek;
    short mNumberOfTimesPerYear = 1;
    std::array<DateT, kDatesOfYear> mDatesOfYear{};
    DateT mLastGeneratedOn = 0;
};

} // namespace ch
