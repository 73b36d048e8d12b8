#pragma once
// The small vocabulary shared by the budget classes: how a new budget is made
// (its period and where its planned figures come from), the figures of one
// period, and the record a budget header broadcasts when figures change.

#include <cstdint>

#include "model/foundation/ModelTypes.h"

namespace ch {

// Every budget has exactly twelve monthly periods, numbered 0 to 11.
inline constexpr long kBudgetPeriods = 12;

constexpr bool IsBudgetPeriod(long period)
{
    return period >= 0 && period < kBudgetPeriods;
}

// The figures of one period, in the order the period record stores them.
using BudgetItemTypeT = long;
namespace budget_item {
inline constexpr BudgetItemTypeT kBudgetStart = 0;
inline constexpr BudgetItemTypeT kBudgetIn = 1;        // for a category: its planned movement
inline constexpr BudgetItemTypeT kBudgetExtraIn = 2;   // one-off; for a category its one-off movement
inline constexpr BudgetItemTypeT kBudgetOut = 3;       // 0 for a category
inline constexpr BudgetItemTypeT kBudgetExtraOut = 4;  // 0 for a category
inline constexpr BudgetItemTypeT kBudgetEnd = 5;
inline constexpr BudgetItemTypeT kActualStart = 6;
inline constexpr BudgetItemTypeT kActualIn = 7;
inline constexpr BudgetItemTypeT kActualOut = 8;
inline constexpr BudgetItemTypeT kXtraActualIn = 9;
inline constexpr BudgetItemTypeT kXtraActualOut = 10;
inline constexpr BudgetItemTypeT kActualEnd = 11;
// Derived: booked net movement minus planned net movement.
inline constexpr BudgetItemTypeT kMovementDifference = 12;
// Derived: planned end minus booked end.
inline constexpr BudgetItemTypeT kEndDifference = 13;
} // namespace budget_item

// The period of a new budget (cps = the start of the current accounting period).
using BudgetPeriodT = long;
namespace budget_period {
inline constexpr BudgetPeriodT kNextYear = 0;       // cps + 1 year
inline constexpr BudgetPeriodT kCurrentYear = 1;    // cps
inline constexpr BudgetPeriodT kYearAfterNext = 2;  // cps + 2 years
inline constexpr BudgetPeriodT kYearsAhead = 3;     // cps + the given number of years
inline constexpr BudgetPeriodT kFollowBase = 4;     // the dates follow the base budget
} // namespace budget_period

// Where the planned figures of a new budget come from.
using BudgetBaseT = long;
namespace budget_base {
inline constexpr BudgetBaseT kEmpty = 0;            // all planned figures 0
inline constexpr BudgetBaseT kLastYear = 1;         // period n from month cps - 1 year + n
inline constexpr BudgetBaseT kOneMonth = 2;         // every period from one chosen month
inline constexpr BudgetBaseT kCurrentYear = 3;      // period n from month cps + n
inline constexpr BudgetBaseT kBaseBudget = 4;       // continues the chosen base budget
} // namespace budget_base

// An amount that AddOrReplaceXRef leaves as it is.
inline constexpr double kKeepBudgetAmount = -99999999.11;

// The parameter of message 2015 from a budget header: which figure of which
// period changed. Listeners of a header must not take it for a model object,
// and it lives only while the message is delivered.
struct BudgetChangeRecord {
    std::uint8_t figure;
    std::int32_t period;
};

} // namespace ch
