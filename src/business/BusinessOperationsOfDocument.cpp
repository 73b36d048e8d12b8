#include "business/BusinessOperationsOfDocument.h"

#include <algorithm>
#include <memory>

#include "bridge/CTrnSItem.h"
#include "bridge/BridgeDocument.h"
#include "business/BusinessCommands.h"
#include "business/BusinessOfDocument.h"
#include "business/InvoiceBooking.h"
#include "business/PaymentDrop.h"
#include "business/Payments.h"
#include "business/VATPeriods.h"
#include "business/GXVATRate.h"
#include "business/InvoiceArguments.h"
#include "business/PaymentArguments.h"
#include "business/VATRateArguments.h"
#include "model/CDocAccounting.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/CDeleteObjectParms.h"

namespace ch::business {

namespace {

// The document's own hold on the rate, which the commands keep while they run.
std::shared_ptr<GXVATRate> heldRate(BusinessOfDocument& business, const ch::GXNonVisual& rate)
{
    const auto& rates = business.businessArrays().VATRateArray;
    auto found = std::find_if(rates.begin(), rates.end(), [&](const std::shared_ptr<GXVATRate>& held) {
        return static_cast<const ch::GXNonVisual*>(held.get()) == &rate;
    });
    return found == rates.end() ? nullptr : *found;
}

bool holds(BusinessOfDocument& business, const std::shared_ptr<GXVATRate>& rate)
{
    const auto& rates = business.businessArrays().VATRateArray;
    return std::find(rates.begin(), rates.end(), rate) != rates.end();
}

using Id = std::optional<long>;

bool namesSomething(const Id& id)
{
    return id && *id > 0;
}

bool accountsExist(CDocAccounting& books, std::initializer_list<Id> ids)
{
    for (const Id& id : ids)
        if (namesSomething(id) && !books.GetAccountForID(static_cast<ObjectIdT>(*id))) return false;
    return true;
}

bool categoriesExist(CDocAccounting& books, std::initializer_list<Id> ids)
{
    for (const Id& id : ids)
        if (namesSomething(id) && !books.GetExpenseTypeForID(static_cast<ObjectIdT>(*id))) return false;
    return true;
}

bool ownerExists(CDocAccounting& books, const Id& id)
{
    return !namesSomething(id) || books.GetAccountOwnerForId(static_cast<ObjectIdT>(*id));
}

bool ratesExist(BusinessOfDocument& business, std::initializer_list<Id> ids)
{
    const auto& rates = business.businessArrays().VATRateArray;
    for (const Id& id : ids) {
        if (!namesSomething(id)) continue;
        const bool held = std::any_of(rates.begin(), rates.end(), [&](const std::shared_ptr<GXVATRate>& rate) {
            return rate->idKey() == static_cast<ObjectIdT>(*id);
        });
        if (!held) return false;
    }
    return true;
}

CommandOutcome outcomeOf(std::optional<std::int32_t> result)
{
    const int value = result.value_or(-1);
    return value == 1 ? CommandOutcome::changed(value) : CommandOutcome::unchanged(value);
}

} // namespace

CommandOutcome BusinessOperationsOfDocument::createVATRate(const CArgumentAncestor& args)
{
    return outcomeOf(executeBusinessCommand(mBusiness, 33, nullptr, &args));
}

CommandOutcome BusinessOperationsOfDocument::updateVATRate(ch::GXNonVisual& rate, const CArgumentAncestor& args)
{
    std::shared_ptr<GXVATRate> held = heldRate(mBusiness, rate);
    if (!held) return CommandOutcome::unchanged();
    return outcomeOf(executeBusinessCommand(mBusiness, 34, held, &args));
}

CommandOutcome BusinessOperationsOfDocument::performDeleteVATRate(ch::GXNonVisual& rate, bool withAsking)
{
    std::shared_ptr<GXVATRate> held = heldRate(mBusiness, rate);
    if (!held) return CommandOutcome::unchanged();
    arguments::CDeleteObjectParms parameters;
    parameters.withAsking = withAsking;
    executeBusinessCommand(mBusiness, 37, held, &parameters);
    return {-1, !holds(mBusiness, held)};
}

CommandOutcome BusinessOperationsOfDocument::booked(int number, CTrnSItem* target, const CArgumentAncestor& args)
{
    std::shared_ptr<Observable> item;
    if (target) item = std::static_pointer_cast<CTrnSItem>(target->shared_from_this());
    const int result = executeBusinessCommand(mBusiness, number, item, &args).value_or(-1);
    return result > 0 ? CommandOutcome::changed(result) : CommandOutcome::unchanged(result);
}

CommandOutcome BusinessOperationsOfDocument::createCustomerInvoice(const CArgumentAncestor& args)
{
    return booked(38, nullptr, args);
}

CommandOutcome BusinessOperationsOfDocument::modifyCustomerInvoice(CTrnSItem& invoice, const CArgumentAncestor& args)
{
    return booked(39, &invoice, args);
}

CommandOutcome BusinessOperationsOfDocument::createSupplierInvoice(const CArgumentAncestor& args)
{
    return booked(41, nullptr, args);
}

CommandOutcome BusinessOperationsOfDocument::modifySupplierInvoice(CTrnSItem& invoice, const CArgumentAncestor& args)
{
    return booked(42, &invoice, args);
}

CommandOutcome BusinessOperationsOfDocument::createCustomerPayment(const CArgumentAncestor& args)
{
    return booked(44, nullptr, args);
}

CommandOutcome BusinessOperationsOfDocument::splitPayment(CTrnSItem& payment, const CArgumentAncestor& args)
{
    return booked(45, &payment, args);
}

bool BusinessOperationsOfDocument::namesOnlyExistingObjects(int command, const CArgumentAncestor& args)
{
    CDocAccounting* books = mBusiness.bridgeDocument().accounting();
    if (!books) return true;
    switch (command) {
    case 33:
    case 34:
        if (const auto* values = dynamic_cast<const arguments::VATRateArguments*>(&args)) {
            return accountsExist(*books, {values->accountIdPaid, values->accountIdReceived, values->accountIdReconciled}) &&
                   categoriesExist(*books, {values->categoryInvoicedNotReceivedId});
        }
        break;
    case 38:
    case 39:
    case 41:
    case 42:
        if (const auto* values = dynamic_cast<const arguments::InvoiceArguments*>(&args)) {
            return ownerExists(*books, values->thirdPartyId) && categoriesExist(*books, {values->paymentCategoryId}) &&
                   ratesExist(mBusiness, {values->firstVATRateId, values->secondVATRateId});
        }
        break;
    case 44:
    case 46:
        if (const auto* values = dynamic_cast<const arguments::PaymentArguments*>(&args))
            return ownerExists(*books, values->thirdPartyId) && categoriesExist(*books, {values->paymentCategoryId});
        break;
    default:
        break;
    }
    return true;
}

CommandOutcome BusinessOperationsOfDocument::linkPaymentToInvoice(CTrnSItem& payment, CTrnSItem& invoice)
{
    if (!bookPaymentLink(mBusiness, invoice, payment)) return CommandOutcome::unchanged();
    return CommandOutcome::changed(1);
}

CommandOutcome BusinessOperationsOfDocument::setVATBalancePayment(CTrnSItem& transaction,
                                                                 const arguments::TransactionLinkArguments* values)
{
    std::optional<std::pair<DateT, DateT>> paid;
    if (values && values->periodStart && values->periodEnd)
        paid.emplace(static_cast<DateT>(*values->periodStart), static_cast<DateT>(*values->periodEnd));
    if (!tryToSetTransactionAsVATBalancePaymentTransaction(mBusiness, transaction, paid))
        return CommandOutcome::unchanged();
    return CommandOutcome::changed(1);
}

CommandOutcome BusinessOperationsOfDocument::unlinkPayment(CTrnSItem& payment)
{
    if (!unlinkThisPaymentFromInvoice(mBusiness, payment)) return CommandOutcome::unchanged();
    return CommandOutcome::changed(1);
}

CommandOutcome BusinessOperationsOfDocument::unlinkPaymentsOfInvoice(CTrnSItem& invoice)
{
    invoice.unlinkLinkedTransactions();
    return CommandOutcome::changed(1);
}

CommandOutcome BusinessOperationsOfDocument::makeCreditNote(CTrnSItem& invoice)
{
    // One credit note cancels an invoice whole: a second would cancel it twice.
    if (isCancelledByCreditNotes(mBusiness, invoice)) return CommandOutcome::unchanged();
    const std::optional<ObjectIdT> note = makeCreditNoteForInvoice(mBusiness, invoice);
    invoice.setUnaccountedForAmount();
    if (!note) return CommandOutcome::unchanged();
    return CommandOutcome::changed(static_cast<int>(*note));
}

} // namespace ch::business
