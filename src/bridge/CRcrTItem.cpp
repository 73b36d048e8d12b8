#include "bridge/CRcrTItem.h"

#include "model/CRecurringTransaction.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

constexpr const char* kKindKeys[] = {"TypeManual",  "TypeOnce",
                                     "TypeWeekly",  "TypeSeveralTimesAWeek",
                                     "TypeMonthly", "TypeSeveralTimesAMonth",
                                     "TypeYearly",  "TypeSeveralTimesAYear"};

std::string dateOfYearKey(int number)
{
    return std::string(recurring_key::kDateOfYearPrefix).append(std::to_string(number));
}

// The key a weekday's property is announced under ("mMonday" ...).
std::string weekdayKey(int day)
{
    return std::string("m").append(recurring_key::kWeekdays[day - 1]);
}

signed char getWeekday(const CRecurringTransaction& r, int day)
{
    switch (day) {
    case 1: return r.Get_mMonday();
    case 2: return r.Get_mTuesday();
    case 3: return r.Get_mWednesday();
    case 4: return r.Get_mThursday();
    case 5: return r.Get_mFriday();
    case 6: return r.Get_mSaturDay();
    default: return r.Get_mSunday();
    }
}

void putWeekday(CRecurringTransaction& r, int day, signed char flag)
{
    switch (day) {
    case 1: r.Put_mMonday(flag); break;
    case 2: r.Put_mTuesday(flag); break;
    case 3: r.Put_mWednesday(flag); break;
    case 4: r.Put_mThursday(flag); break;
    case 5: r.Put_mFriday(flag); break;
    case 6: r.Put_mSaturDay(flag); break;
    default: r.Put_mSunday(flag); break;
    }
}

} // namespace

CRecurringTransaction* CRcrTItem::recurring() const
{
    // Only a recurring template ('RctR') carries a schedule.
    CNonVisual* source = getSourceItem();
    return source && source->Get_ObjectType() == type::kRecurring ? static_cast<CRecurringTransaction*>(source)
                                                                  : nullptr;
}

std::optional<int> CRcrTItem::mRecurringType() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<int>(r->Get_mRecurringType()) : std::nullopt;
}

void CRcrTItem::setMRecurringType(std::optional<int> kind)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mRecurringType(static_cast<RecurringTypeT>(kind.value_or(0)));
    announce("mRecurringType");
    announce("mRecurringTypeAsString");
}

std::optional<bool> CRcrTItem::mAutomaticApproval() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<bool>(r->Get_mAutomaticApproval() != 0) : std::nullopt;
}

void CRcrTItem::setMAutomaticApproval(std::optional<bool> approval)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mAutomaticApproval(approval.value_or(false) ? 1 : 0);
    announce("mAutomaticApproval");
}

std::optional<bool> CRcrTItem::mOnOff() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<bool>(r->Get_mOnOff() != 0) : std::nullopt;
}

void CRcrTItem::setMOnOff(std::optional<bool> onOff)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mOnOff(onOff.value_or(false) ? 1 : 0);
    announce("mOnOff");
}

std::optional<long> CRcrTItem::mDayOfMonth() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<long>(r->Get_mDayOfMonth()) : std::nullopt;
}

void CRcrTItem::setMDayOfMonth(std::optional<long> day)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mDayOfMonth(day.value_or(0));
    announce("mDayOfMonth");
}

std::optional<int> CRcrTItem::weekday(int day) const
{
    const CRecurringTransaction* r = recurring();
    if (!r || day < 1 || day > 7) return std::nullopt;
    return getWeekday(*r, day);
}

void CRcrTItem::setWeekday(int day, std::optional<int> flag)
{
    CRecurringTransaction* r = recurring();
    if (!r || day < 1 || day > 7) return;
    turnDaysOfIfNeeded(flag);
    putWeekday(*r, day, static_cast<signed char>(flag.value_or(0)));
    announce(weekdayKey(day));
}

void CRcrTItem::turnDaysOfIfNeeded(std::optional<int> flag)
{
    CRecurringTransaction* r = recurring();
    if (!r || flag.value_or(0) == 0) return;
    const RecurringTypeT kind = r->Get_mRecurringType();
    if (kind != recurring_type::kWeekly && kind != recurring_type::kMonthly) return;
    for (int day = 1; day <= 7; ++day) {
        putWeekday(*r, day, 0);
        announce(weekdayKey(day));
    }
}

std::optional<int> CRcrTItem::mWeekType() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<int>(r->Get_mWeekType()) : std::nullopt;
}

void CRcrTItem::setMWeekType(std::optional<int> type)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mWeekType(static_cast<WeekOfMonthT>(type.value_or(0)));
    announce("mWeekType");
}

std::optional<int> CRcrTItem::mMonthlyType() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<int>(r->Get_mMonthlyType()) : std::nullopt;
}

void CRcrTItem::setMMonthlyType(std::optional<int> type)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mMonthlyType(static_cast<MonthlyTypeT>(type.value_or(0)));
    announce("mMonthlyType");
}

std::optional<int> CRcrTItem::mNumberOfTimesPerYear() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<int>(r->Get_mNumberOfTimesPerYear()) : std::nullopt;
}

void CRcrTItem::setMNumberOfTimesPerYear(std::optional<int> times)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mNumberOfTimesPerYear(static_cast<short>(times.value_or(0)));
    announce("mNumberOfTimesPerYear");
}

std::optional<long> CRcrTItem::mDateOfYear(int number) const
{
    const CRecurringTransaction* r = recurring();
    if (!r || number < 1 || number > CRecurringTransaction::kDatesOfYear) return std::nullopt;
    return r->Get_mDateOfYear(number);
}

void CRcrTItem::setMDateOfYear(int number, std::optional<long> date)
{
    CRecurringTransaction* r = recurring();
    if (!r || number < 1 || number > CRecurringTransaction::kDatesOfYear) return;
    r->Put_mDateOfYear(number, static_cast<DateT>(date.value_or(0)));
    announce(std::string("m").append(dateOfYearKey(number)));
}

std::optional<long> CRcrTItem::mLastGeneratedOn() const
{
    const CRecurringTransaction* r = recurring();
    return r ? std::optional<long>(r->Get_mLastGeneratedOn()) : std::nullopt;
}

void CRcrTItem::setMLastGeneratedOn(std::optional<long> date)
{
    if (CRecurringTransaction* r = recurring()) r->Put_mLastGeneratedOn(static_cast<DateT>(date.value_or(0)));
    announce("mLastGeneratedOn");
}

std::string CRcrTItem::mRecurringTypeAsString() const
{
    const CRecurringTransaction* r = recurring();
    if (!r) return "Trs Deleted";
    const RecurringTypeT kind = r->Get_mRecurringType();
    if (kind > recurring_type::kSeveralTimesAYear) return "-";
    return localized(kKindKeys[kind]);
}

std::optional<long> CRcrTItem::nextDate() const
{
    const CRecurringTransaction* r = recurring();
    const DateT next = r ? r->GetNextDate() : kNeverDate;
    return next == kNeverDate ? std::nullopt : std::optional<long>(next);
}

void CRcrTItem::setMDate(std::optional<long> date)
{
    CTrnSItem::setMDate(date);
    setMLastGeneratedOn(date.value_or(0));
}

Dictionary CRcrTItem::dictionaryRepresentation() const
{
    namespace key = recurring_key;
    Dictionary dictionary = CTrnSItem::dictionaryRepresentation();
    dictionary.set(std::string(key::kRecurringType), mRecurringType().value_or(0));
    dictionary.set(std::string(key::kOnOff), mOnOff().value_or(false));
    dictionary.set(std::string(key::kAutomaticApproval), mAutomaticApproval().value_or(false));
    dictionary.set(std::string(key::kDayOfMonth), static_cast<int>(mDayOfMonth().value_or(0)));
    for (int day = 1; day <= 7; ++day)
        dictionary.set(std::string(key::kWeekdays[day - 1]), weekday(day).value_or(0));
    dictionary.set(std::string(key::kWeekType), mWeekType().value_or(0));
    dictionary.set(std::string(key::kMonthlyType), mMonthlyType().value_or(0));
    dictionary.set(std::string(key::kNumberOfTimesPerYear), mNumberOfTimesPerYear().value_or(0));
    for (int number = 1; number <= CRecurringTransaction::kDatesOfYear; ++number)
        dictionary.set(dateOfYearKey(number), mDateOfYear(number).value_or(0));
    dictionary.set(std::string(key::kLastGeneratedOn), mLastGeneratedOn().value_or(0));
    return dictionary;
}

bool CRcrTItem::initWithDictionaryRepresentation(const Dictionary& dictionary)
{
    namespace key = recurring_key;
    const bool result = CTrnSItem::initWithDictionaryRepresentation(dictionary);
    // The kind comes before the weekdays (it decides whether a day set on
    // clears the others), and the last generated date after the date that
    // the transaction part set (that date would otherwise win).
    setMRecurringType(dictionary[key::kRecurringType].toInt());
    setMAutomaticApproval(dictionary[key::kAutomaticApproval].toBool());
    setMOnOff(dictionary[key::kOnOff].toBool());
    setMDayOfMonth(dictionary[key::kDayOfMonth].toLong());
    for (int day = 1; day <= 7; ++day) setWeekday(day, dictionary[key::kWeekdays[day - 1]].toInt());
    setMWeekType(dictionary[key::kWeekType].toInt());
    setMMonthlyType(dictionary[key::kMonthlyType].toInt());
    setMNumberOfTimesPerYear(dictionary[key::kNumberOfTimesPerYear].toInt());
    for (int number = 1; number <= CRecurringTransaction::kDatesOfYear; ++number)
        setMDateOfYear(number, dictionary[dateOfYearKey(number)].toLong());
    setMLastGeneratedOn(dictionary[key::kLastGeneratedOn].toLong());
    return result;
}

bool CRcrTItem::setEqualToTransaction(CTrnSItem& other)
{
    const bool result = CTrnSItem::setEqualToTransaction(other);
    auto* source = dynamic_cast<CRcrTItem*>(&other);
    if (!source || source == this) return result;
    setMRecurringType(source->mRecurringType());
    setMAutomaticApproval(source->mAutomaticApproval());
    setMOnOff(source->mOnOff());
    setMDayOfMonth(source->mDayOfMonth());
    for (int day = 1; day <= 7; ++day) setWeekday(day, source->weekday(day));
    setMWeekType(source->mWeekType());
    setMMonthlyType(source->mMonthlyType());
    setMNumberOfTimesPerYear(source->mNumberOfTimesPerYear());
    for (int number = 1; number <= CRecurringTransaction::kDatesOfYear; ++number)
        setMDateOfYear(number, source->mDateOfYear(number));
    setMLastGeneratedOn(source->mLastGeneratedOn());
    return result;
}

} // namespace ch
