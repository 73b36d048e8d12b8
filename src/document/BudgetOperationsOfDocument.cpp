#include "document/BudgetOperationsOfDocument.h"

#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CBuDxItem.h"
#include "document/arguments/BudgetArguments.h"

namespace ch {
namespace {

// The executor checked the type codes; the items of these codes are the
// budget items unless someone wrapped a budget object in a plain item.
template <class Item, class Arguments>
bool cast(CNonVisualDataItem& target, const CArgumentAncestor& args, Item*& item, const Arguments*& values)
{
    item = dynamic_cast<Item*>(&target);
    values = dynamic_cast<const Arguments*>(&args);
    return item && values;
}

CommandOutcome outcome(long result)
{
    return result == 1 ? CommandOutcome::changed(1) : CommandOutcome::unchanged(static_cast<int>(result));
}

} // namespace

CommandOutcome BudgetOperationsOfDocument::modifyBudgetDetail(CNonVisualDataItem& target, const CArgumentAncestor& args)
{
    CBuDdItem* detail = nullptr;
    const arguments::ModifyBudgetDetailArguments* values = nullptr;
    if (!cast(target, args, detail, values)) return CommandOutcome::unchanged();
    return outcome(detail->modify(values->detailRecord()));
}

CommandOutcome BudgetOperationsOfDocument::modifyBudgetXRef(CNonVisualDataItem& target, const CArgumentAncestor& args)
{
    CBuDxItem* xref = nullptr;
    const arguments::ModifyBudgetXRefArguments* values = nullptr;
    if (!cast(target, args, xref, values)) return CommandOutcome::unchanged();
    return xref->modify(values->xrefRecord()) ? CommandOutcome::changed(1) : CommandOutcome::unchanged();
}

CommandOutcome BudgetOperationsOfDocument::createBudgetXRefForBudget(CNonVisualDataItem& target,
                                                                     const CArgumentAncestor& args)
{
    CBuDhItem* budget = nullptr;
    const arguments::NewBudgetXRefArguments* values = nullptr;
    if (!cast(target, args, budget, values)) return CommandOutcome::unchanged();
    return outcome(budget->addXRefWithParams(values->newXRefRecord()));
}

CommandOutcome BudgetOperationsOfDocument::deleteBudgetXRef(CNonVisualDataItem& target, CNonVisualDataItem& owner)
{
    auto* xref = dynamic_cast<CBuDxItem*>(&target);
    auto* budget = dynamic_cast<CBuDhItem*>(&owner);
    if (!xref || !budget) return CommandOutcome::unchanged();
    return outcome(budget->deleteBudgetXRef(*xref));
}

CommandOutcome BudgetOperationsOfDocument::modifyTransferXRef(CNonVisualDataItem& target, const CArgumentAncestor& args)
{
    CBuDhItem* budget = nullptr;
    const arguments::TransferBudgetXRefArguments* values = nullptr;
    if (!cast(target, args, budget, values)) return CommandOutcome::unchanged();
    return outcome(budget->modifyTransferXRefWithNewValues(*values));
}

CommandOutcome BudgetOperationsOfDocument::modifyBudget(CNonVisualDataItem& target, const CArgumentAncestor& args)
{
    CBuDhItem* budget = nullptr;
    const arguments::ModifyBudgetHeaderArguments* values = nullptr;
    if (!cast(target, args, budget, values)) return CommandOutcome::unchanged();
    return outcome(budget->modifyBudgetWithNewValues(*values));
}

} // namespace ch
