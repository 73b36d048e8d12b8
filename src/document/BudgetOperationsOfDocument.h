#pragma once
// The document's operations of commands 0 to 5: each hands the budget
// argument object to the budget item that the budget page sent. A change
// that the model made marks the document changed; a refusal changes nothing.

#include "document/DocumentOperations.h"

namespace ch {

class BudgetOperationsOfDocument : public BudgetOperations {
public:
    CommandOutcome modifyBudgetDetail(CNonVisualDataItem& detail, const CArgumentAncestor& args) override;
    CommandOutcome modifyBudgetXRef(CNonVisualDataItem& xref, const CArgumentAncestor& args) override;
    CommandOutcome createBudgetXRefForBudget(CNonVisualDataItem& budget, const CArgumentAncestor& args) override;
    CommandOutcome deleteBudgetXRef(CNonVisualDataItem& xref, CNonVisualDataItem& budget) override;
    CommandOutcome modifyTransferXRef(CNonVisualDataItem& budget, const CArgumentAncestor& args) override;
    CommandOutcome modifyBudget(CNonVisualDataItem& budget, const CArgumentAncestor& args) override;
};

} // namespace ch
