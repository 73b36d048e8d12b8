#include "analysis/BudgetPageModel.h"

#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"
#include "model/ModelCodes.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetHeader.h"

namespace ch::budget_page {
namespace {

using namespace budget_item;

Kind categoryKind(bool income, bool expense)
{
    if (income) return Kind::IncomeCategory;
    if (expense) return Kind::ExpenseCategory;
    return Kind::OtherCategory;
}

template <class Visit>
void forEach(const CNamedListArray* list, Visit visit)
{
    const auto count = list ? static_cast<ArrayIndexT>(list->GetCount()) : 0;
    for (ArrayIndexT i = 1; i <= count; ++i)
        if (auto* object = static_cast<CNonVisual*>(list->ObjectAt(i))) visit(object);
}

double folderSum(const CBuDhItem& budget, const CNonVisual* folder, BudgetItemTypeT figure, int month)
{
    double sum = 0.0;
    forEach(folder->Get_Details(), [&](CNonVisual* object) {
        const FourCharCode type = object->Get_ObjectType() == type::kAccount ? type::kAccount : type::kExpenseType;
        if (auto line = budget.getDetailForType(type, object->Get_Id()))
            sum += line->getBudgettedAmountWithType(figure, month).value_or(0.0);
    });
    forEach(folder->Get_DetailFolders(),
            [&](CNonVisual* child) { sum += folderSum(budget, child, figure, month); });
    return sum;
}

const std::vector<Row> kAccountRows = {
    {"START", kBudgetStart},       {"BUDIN", kBudgetIn},          {"BUD1IN", kBudgetExtraIn},
    {"BUDOUT", kBudgetOut},        {"BUD1OUT", kBudgetExtraOut},  {"BUDEND", kBudgetEnd},
    {"ACTSTART", kActualStart},    {"ACTIN", kActualIn},          {"ACT1IN", kXtraActualIn},
    {"ACTOUT", kActualOut},        {"ACT1OUT", kXtraActualOut},   {"ACTEND", kActualEnd},
    {"BUDDIFF", kMovementDifference}};
const std::vector<Row> kCategoryRows = {
    {"START", kBudgetStart},    {"BUDMOV", kBudgetIn},   {"BUD1MOV", kBudgetExtraIn},
    {"BUDEND", kBudgetEnd},     {"ACTSTART", kActualStart}, {"ACTMOV", kActualIn},
    {"ACT1MOV", kXtraActualIn}, {"ACTEND", kActualEnd},   {"BUDDIFF", kMovementDifference}};

} // namespace

const std::vector<Row>& rows(bool accountSide)
{
    return accountSide ? kAccountRows : kCategoryRows;
}

BudgetItemTypeT figureForRow(int row, bool accountSide)
{
    const std::vector<Row>& table = rows(accountSide);
    return row >= 0 && row < static_cast<int>(table.size()) ? table[row].figure : kBudgetStart;
}

bool isBoldFigure(BudgetItemTypeT figure)
{
    return figure == kBudgetStart || figure == kBudgetEnd || figure == kActualStart || figure == kActualEnd ||
           figure == kMovementDifference || figure == kEndDifference;
}

Tint tintFor(Kind kind, BudgetItemTypeT figure, double amount)
{
    if (amount == 0.0) return Tint::None;
    auto tint = [](bool favourable) { return favourable ? Tint::Favourable : Tint::Unfavourable; };
    if (figure == kMovementDifference) return tint(kind == Kind::ExpenseCategory ? amount < 0 : amount > 0);
    switch (figure) {
    case kBudgetIn: case kBudgetExtraIn: case kBudgetOut: case kBudgetExtraOut:
    case kActualIn: case kXtraActualIn: case kActualOut: case kXtraActualOut:
        break;
    default:
        return Tint::None;
    }
    bool favourable = false;
    if (kind == Kind::Account || kind == Kind::AccountFolder || kind == Kind::IncomeCategory) favourable = amount > 0;
    else if (kind == Kind::ExpenseCategory) favourable = amount < 0;
    const bool outgoing =
        figure == kBudgetOut || figure == kBudgetExtraOut || figure == kActualOut || figure == kXtraActualOut;
    return tint(outgoing ? !favourable : favourable);
}

Kind kindOf(const CNonVisual& object)
{
    switch (object.Get_ObjectType()) {
    case type::kAccountType:
        return Kind::AccountFolder;
    case type::kExpenseType: {
        const auto& category = static_cast<const CExpenseType&>(object);
        return categoryKind(category.IsIncome(true), category.IsExpense(true) == 1);
    }
    case type::kMasterExpenseType: {
        const auto& group = static_cast<const CMasterExpenseType&>(object);
        return categoryKind(group.IsIncome(true) != 0, group.IsExpense(true) == 1);
    }
    default:
        return Kind::Account;
    }
}

bool isFolder(const CNonVisual& object)
{
    return object.Get_ObjectType() == type::kAccountType || object.Get_ObjectType() == type::kMasterExpenseType;
}

std::optional<double> cellAmount(const CBuDhItem& budget, const CNonVisual& object, BudgetItemTypeT figure, int month)
{
    if (isFolder(object)) return folderSum(budget, &object, figure, month);
    const FourCharCode type = object.Get_ObjectType() == type::kAccount ? type::kAccount : type::kExpenseType;
    auto line = budget.getDetailForType(type, object.Get_Id());
    return line ? line->getBudgettedAmountWithType(figure, month) : std::nullopt;
}

double accountTotal(const CBuDhItem& budget, BudgetItemTypeT figure, int month)
{
    const auto* header = dynamic_cast<const CBudgetHeader*>(budget.getSourceItem());
    double sum = 0.0;
    if (!header) return sum;
    forEach(header->Get_mAccountDetails(), [&](CNonVisual* line) {
        sum += static_cast<const CBudgetDetail*>(line)->GetBudgettedNumber(figure, month);
    });
    return sum;
}

int checkNewBudget(std::string_view name, BudgetBaseT base, BudgetPeriodT period, DateT baseMonth,
                   std::optional<long> previousBudget)
{
    if (name.empty()) return 202;
    if (base == budget_base::kOneMonth && baseMonth <= 10000000) return 239;
    if ((base == budget_base::kBaseBudget || period == budget_period::kFollowBase) && !previousBudget) return 184;
    return 0;
}

std::pair<int, int> xrefRange(int month, bool copy, int periodFrom, int periodTo)
{
    const int first = periodFrom - 1;
    const int last = periodTo - 1;
    if (copy && 0 <= first && first <= last && last <= 11) return {first, last};
    return {month, month};
}

int checkXRef(std::optional<long> accountId, std::optional<long> categoryId, bool amountsGiven, bool transferCategory)
{
    if (!accountId || !categoryId) return 244;
    if (!amountsGiven) return 242;
    if (transferCategory) return 248;
    return 0;
}

int checkTransfer(std::optional<double> amount, std::optional<long> fromId, std::optional<long> toId,
                  std::optional<long> categoryId, bool fromTransferable, bool toTransferable, bool transferCategory)
{
    if (!amount) return 242;
    if (!fromId || !toId || !categoryId) return 244;
    if (!fromTransferable) return 245;
    if (!toTransferable) return 246;
    if (!transferCategory) return 247;
    return 0;
}

} // namespace ch::budget_page
