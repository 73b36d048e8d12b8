#pragma once
// CRcrTItem: the item of a recurring transaction (model type 'RctR', item and
// page type 'RcrT'): a transaction item with a schedule. Its dictionary is the
// transaction dictionary plus the schedule keys. The schedule is read and
// written on items that wrap a recurring transaction; without one the getters
// give none.

#include <optional>
#include <string>
#include <string_view>

#include "bridge/CTrnSItem.h"

namespace ch {

class CRecurringTransaction;

// Keys of the schedule in the recurring dictionary.
namespace recurring_key {
inline constexpr std::string_view kRecurringType = "RecurringType";
inline constexpr std::string_view kOnOff = "OnOff";
inline constexpr std::string_view kAutomaticApproval = "AutomaticApproval";
inline constexpr std::string_view kDayOfMonth = "DayOfMonth";
inline constexpr std::string_view kWeekdays[7] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                                  "Friday", "Saturday", "Sunday"};
inline constexpr std::string_view kWeekType = "Weektype";
inline constexpr std::string_view kMonthlyType = "MonthlyType";
inline constexpr std::string_view kNumberOfTimesPerYear = "NumberOfTimesPerYear";
inline constexpr std::string_view kDateOfYearPrefix = "DateOfYear";   // 1 .. 12 follow
inline constexpr std::string_view kLastGeneratedOn = "LastGeneratedOn";
} // namespace recurring_key

class CRcrTItem : public CTrnSItem {
public:
    using CTrnSItem::CTrnSItem;

    // 0 manual .. 7 several times a year.
    std::optional<int> mRecurringType() const;
    void setMRecurringType(std::optional<int> kind);
    std::optional<bool> mAutomaticApproval() const override;
    void setMAutomaticApproval(std::optional<bool> approval) override;
    // Off (true) suspends the generation.
    std::optional<bool> mOnOff() const override;
    void setMOnOff(std::optional<bool> onOff) override;
    std::optional<long> mDayOfMonth() const;
    void setMDayOfMonth(std::optional<long> day);

    // Weekday flags, 1 Monday .. 7 Sunday. For weekly and monthly schedules
    // a day set on clears the other days first, so one day stays set.
    std::optional<int> weekday(int day) const;
    void setWeekday(int day, std::optional<int> flag);
    std::optional<int> mMonday() const { return weekday(1); }
    std::optional<int> mTuesday() const { return weekday(2); }
    std::optional<int> mWednesday() const { return weekday(3); }
    std::optional<int> mThursday() const { return weekday(4); }
    std::optional<int> mFriday() const { return weekday(5); }
    std::optional<int> mSaturday() const { return weekday(6); }
    std::optional<int> mSunday() const { return weekday(7); }
    void setMMonday(std::optional<int> flag) { setWeekday(1, flag); }
    void setMTuesday(std::optional<int> flag) { setWeekday(2, flag); }
    void setMWednesday(std::optional<int> flag) { setWeekday(3, flag); }
    void setMThursday(std::optional<int> flag) { setWeekday(4, flag); }
    void setMFriday(std::optional<int> flag) { setWeekday(5, flag); }
    void setMSaturday(std::optional<int> flag) { setWeekday(6, flag); }
    void setMSunday(std::optional<int> flag) { setWeekday(7, flag); }
    void turnDaysOfIfNeeded(std::optional<int> flag);

    std::optional<int> mWeekType() const;
    void setMWeekType(std::optional<int> type);
    std::optional<int> mMonthlyType() const;
    void setMMonthlyType(std::optional<int> type);
    std::optional<int> mNumberOfTimesPerYear() const;
    void setMNumberOfTimesPerYear(std::optional<int> times);
    // The dates of the year, mDateOfYear1 .. mDateOfYear12 by number.
    std::optional<long> mDateOfYear(int number) const;
    void setMDateOfYear(int number, std::optional<long> date);
    std::optional<long> mLastGeneratedOn() const;
    void setMLastGeneratedOn(std::optional<long> date);
    // The kind as text; "-" for an unknown kind, "Trs Deleted" without a template.
    std::string mRecurringTypeAsString() const;
    // The date the schedule comes round next; none for a schedule that is
    // never generated (manual, once, yearly) or without a template.
    std::optional<long> nextDate() const;

    // The date entered for a template is the date from which generation
    // continues: it also becomes the last generated date.
    void setMDate(std::optional<long> date) override;
    // A template is never blocked by a rate change.
    bool isOnModifiedForeignCurrency() const override { return false; }
    Dictionary dictionaryRepresentation() const override;
    // The transaction part, then the schedule (missing keys give 0).
    bool initWithDictionaryRepresentation(const Dictionary& dictionary) override;
    // The transaction part, then, from another template, its schedule.
    bool setEqualToTransaction(CTrnSItem& other) override;

private:
    CRecurringTransaction* recurring() const;
};

} // namespace ch
