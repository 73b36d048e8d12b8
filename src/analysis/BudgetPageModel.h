#pragma once
// What the budget page shows, without a window: the rows of the two budget
// tables and the figure of each, the amount of a cell (a folder sums every
// budgeted object below it), which amounts are bold and which take the
// favourable or the unfavourable colour, and the checks of the budget sheets.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/budget/BudgetTypes.h"
#include "platform/core/four_char_code.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CBuDhItem;
class CNonVisual;

namespace budget_page {

struct Row {
    std::string_view labelKey;
    BudgetItemTypeT figure;
};
// 13 rows on the account side, 9 on the category side.
const std::vector<Row>& rows(bool accountSide);
// The row's figure; 0 for a row outside the table.
BudgetItemTypeT figureForRow(int row, bool accountSide);
bool isBoldFigure(BudgetItemTypeT figure);

// What a row of an outline is, for the colours.
enum class Kind { Account, AccountFolder, IncomeCategory, ExpenseCategory, OtherCategory };
enum class Tint { None, Favourable, Unfavourable };
// Movements in the object's favour are favourable (outgoing figures turn
// the sign round); the difference row compares actual with planned so that
// income above its plan and spending below it are favourable.
Tint tintFor(Kind kind, BudgetItemTypeT figure, double amount);

// What the object is, for the colours: accounts, account folders, and
// categories or groups of income, of expense or of neither.
Kind kindOf(const CNonVisual& object);
// A folder of the outlines: an account type or a category group.
bool isFolder(const CNonVisual& object);
// The figure of the month: a folder's sum over every budgeted object below
// it (objects first, then sub-folders); an object's own line; none for an
// object without a line.
std::optional<double> cellAmount(const CBuDhItem& budget, const CNonVisual& object, BudgetItemTypeT figure, int month);

// The figure of the month summed over every account line of the budget:
// what the budget's accounts hold together (planned or booked). The
// budget's opening total is the start of month 0, its closing total the end
// of month 11.
double accountTotal(const CBuDhItem& budget, BudgetItemTypeT figure, int month);

// --- checks of the sheets: 0 when the values pass, else the error number.
int checkNewBudget(std::string_view name, BudgetBaseT base, BudgetPeriodT period, DateT baseMonth,
                   std::optional<long> previousBudget);
// The months a cross-reference change covers: the month alone, or with
// copying on periods from..to (1-based) when 1 <= from <= to <= 12.
std::pair<int, int> xrefRange(int month, bool copy, int periodFrom, int periodTo);
int checkXRef(std::optional<long> accountId, std::optional<long> categoryId, bool amountsGiven,
              bool transferCategory);
int checkTransfer(std::optional<double> amount, std::optional<long> fromId, std::optional<long> toId,
                  std::optional<long> categoryId, bool fromTransferable, bool toTransferable,
                  bool transferCategory);

} // namespace budget_page
} // namespace ch
