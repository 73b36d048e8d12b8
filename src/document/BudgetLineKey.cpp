#include "document/BudgetLineKey.h"

#include <charconv>

#include "bridge/CBuDdItem.h"
#include "bridge/CBuDxItem.h"
#include "model/ModelCodes.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetHeader.h"
#include "model/budget/CBudgetXRef.h"
#include "platform/core/four_char_code.h"

namespace ch {

namespace {
constexpr std::string_view kPrefix = "BuDd";
constexpr std::string_view kXRefPrefix = "BuDx";

std::optional<ObjectIdT> idOf(std::string_view text)
{
    ObjectIdT id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return id;
}
} // namespace

std::string budgetLineKey(const CBuDdItem& line)
{
    const auto* detail = dynamic_cast<const CBudgetDetail*>(line.getSourceItem());
    const CBudgetHeader* budget = detail ? detail->GetHeader() : nullptr;
    const std::optional<long> budgeted = line.budgettedId();
    if (!budget || !budgeted) return std::string();
    return std::string(kPrefix) + std::to_string(budget->Get_Id()) + ":" +
           fourCCToString(line.isAccountBudget() ? type::kAccount : type::kExpenseType) + std::to_string(*budgeted);
}

std::optional<BudgetLineRef> parseBudgetLineKey(std::string_view key)
{
    if (!key.starts_with(kPrefix)) return std::nullopt;
    key.remove_prefix(kPrefix.size());
    const std::size_t colon = key.find(':');
    if (colon == std::string_view::npos || key.size() < colon + 1 + 4) return std::nullopt;
    const std::optional<ObjectIdT> budget = idOf(key.substr(0, colon));
    const std::string_view type = key.substr(colon + 1, 4);
    const std::optional<ObjectIdT> budgeted = idOf(key.substr(colon + 5));
    if (!budget || !budgeted) return std::nullopt;
    return BudgetLineRef{*budget, fourCCFromString(type), *budgeted};
}

std::string budgetXRefKey(const CBuDxItem& xref)
{
    const auto* model = dynamic_cast<const CBudgetXRef*>(xref.getSourceItem());
    const CBudgetDetail* categoryLine = model ? model->Get_ExpenseTypeDetailPointer() : nullptr;
    const CBudgetHeader* budget = categoryLine ? categoryLine->GetHeader() : nullptr;
    if (!budget) return std::string();
    return std::string(kXRefPrefix) + std::to_string(budget->Get_Id()) + ":" +
           std::to_string(model->Get_AccountDetailId()) + ":" + std::to_string(model->Get_ExpenseTypeDetailId()) +
           ":" + std::to_string(model->Get_mPeriod());
}

std::optional<BudgetXRefRef> parseBudgetXRefKey(std::string_view key)
{
    if (!key.starts_with(kXRefPrefix)) return std::nullopt;
    key.remove_prefix(kXRefPrefix.size());
    std::optional<ObjectIdT> parts[4];
    for (int i = 0; i < 4; ++i) {
        const std::size_t colon = i < 3 ? key.find(':') : key.size();
        if (colon == std::string_view::npos) return std::nullopt;
        parts[i] = idOf(key.substr(0, colon));
        if (!parts[i]) return std::nullopt;
        key.remove_prefix(i < 3 ? colon + 1 : colon);
    }
    if (*parts[3] < 0 || *parts[3] > 11) return std::nullopt;
    return BudgetXRefRef{*parts[0], *parts[1], *parts[2], static_cast<int>(*parts[3])};
}

} // namespace ch
