#include "document/DocumentOperations.h"

namespace ch {

BudgetOperations::~BudgetOperations() = default;
ChartOperations::~ChartOperations() = default;
RateOperations::~RateOperations() = default;
TransactionOperations::~TransactionOperations() = default;
OwnerOperations::~OwnerOperations() = default;
DeletionOperations::~DeletionOperations() = default;
ImportOperations::~ImportOperations() = default;
BusinessOperations::~BusinessOperations() = default;

bool BusinessOperations::namesOnlyExistingObjects(int, const CArgumentAncestor&)
{
    return true;
}

CommandOutcome BusinessOperations::linkPaymentToInvoice(CTrnSItem&, CTrnSItem&)
{
    return {};
}

CommandOutcome BusinessOperations::setVATBalancePayment(CTrnSItem&, const arguments::TransactionLinkArguments*)
{
    return {};
}

CommandOutcome BusinessOperations::unlinkPayment(CTrnSItem&)
{
    return {};
}

CommandOutcome BusinessOperations::unlinkPaymentsOfInvoice(CTrnSItem&)
{
    return {};
}

CommandOutcome BusinessOperations::makeCreditNote(CTrnSItem&)
{
    return {};
}

CommandOutcome NullBudgetOperations::modifyBudgetDetail(CNonVisualDataItem&, const CArgumentAncestor&) { return {}; }
CommandOutcome NullBudgetOperations::modifyBudgetXRef(CNonVisualDataItem&, const CArgumentAncestor&) { return {}; }
CommandOutcome NullBudgetOperations::createBudgetXRefForBudget(CNonVisualDataItem&, const CArgumentAncestor&)
{
    return {};
}
CommandOutcome NullBudgetOperations::deleteBudgetXRef(CNonVisualDataItem&, CNonVisualDataItem&) { return {}; }
CommandOutcome NullBudgetOperations::modifyTransferXRef(CNonVisualDataItem&, const CArgumentAncestor&) { return {}; }
CommandOutcome NullBudgetOperations::modifyBudget(CNonVisualDataItem&, const CArgumentAncestor&) { return {}; }

CommandOutcome NullOwnerOperations::insertOwnerWithArguments(const arguments::CAcoWArguments&) { return {}; }
CommandOutcome NullOwnerOperations::updateAccountOwner(CAcoWItem&, const arguments::CAcoWArguments&) { return {}; }

CommandOutcome NullImportOperations::importTransactionWithArguments(const arguments::ImportTransactionArguments&)
{
    return {};
}

CommandOutcome NullBusinessOperations::createVATRate(const CArgumentAncestor&) { return {}; }
CommandOutcome NullBusinessOperations::updateVATRate(GXNonVisual&, const CArgumentAncestor&) { return {}; }
CommandOutcome NullBusinessOperations::performDeleteVATRate(GXNonVisual&, bool) { return {}; }
CommandOutcome NullBusinessOperations::createCustomerInvoice(const CArgumentAncestor&) { return {}; }
CommandOutcome NullBusinessOperations::modifyCustomerInvoice(CTrnSItem&, const CArgumentAncestor&) { return {}; }
CommandOutcome NullBusinessOperations::createSupplierInvoice(const CArgumentAncestor&) { return {}; }
CommandOutcome NullBusinessOperations::modifySupplierInvoice(CTrnSItem&, const CArgumentAncestor&) { return {}; }
CommandOutcome NullBusinessOperations::createCustomerPayment(const CArgumentAncestor&) { return {}; }
CommandOutcome NullBusinessOperations::splitPayment(CTrnSItem&, const CArgumentAncestor&) { return {}; }

} // namespace ch
