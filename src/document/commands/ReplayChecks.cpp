#include "document/commands/ReplayChecks.h"

#include <initializer_list>

#include "bridge/CNonVisualDataItem.h"
#include "bridge/CTrnSItem.h"
#include "document/DocumentOperations.h"
#include "document/MyDocument.h"
#include "bridge/CBuDhItem.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/ModelCodes.h"
#include "model/CExpenseType.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {
namespace {

using Id = std::optional<long>;

// An id the arguments leave out, or give as 0 or less, names nothing.
bool namesSomething(const Id& id)
{
    return id && *id > 0;
}

bool accountsExist(const MyDocument& document, std::initializer_list<Id> ids)
{
    for (const Id& id : ids)
        if (namesSomething(id) && !document.getAccountForId(static_cast<ObjectIdT>(*id))) return false;
    return true;
}

bool categoriesExist(const MyDocument& document, std::initializer_list<Id> ids)
{
    for (const Id& id : ids)
        if (namesSomething(id) && !document.getExpenseTypeForId(static_cast<ObjectIdT>(*id))) return false;
    return true;
}

bool currencyExists(const MyDocument& document, const Id& id)
{
    return !namesSomething(id) || document.getCurrencyForId(static_cast<ObjectIdT>(*id));
}

std::optional<std::string> missing(bool present)
{
    if (present) return std::nullopt;
    return localized("ROLLFORWARDMISSINGID");
}

// Every line of the three lists names an object of its list's kind: the
// accounts on the from and to sides, categories on the third.
bool linesNameTheirObjects(const MyDocument& document, const Dictionary& transaction)
{
    namespace key = transaction_key;
    for (std::string_view list : {key::kFromList, key::kToList, key::kForList}) {
        const Value* lines = transaction.find(list);
        if (!lines) continue;
        const Array* array = lines->asArray();
        if (!array) return false;
        const bool categories = list == key::kForList;
        for (const Value& line : *array) {
            const Dictionary* values = line.asDictionary();
            if (!values) return false;
            const auto id = static_cast<ObjectIdT>((*values)["AccountId"].toInt());
            const CNonVisual* object = categories ? static_cast<const CNonVisual*>(document.getExpenseTypeForId(id))
                                                  : static_cast<const CNonVisual*>(document.getAccountForId(id));
            if (!object) return false;
            // The line names its account by id and by name: an id that
            // names another account here is not the line's.
            const Value* name = values->find("AccountName");
            const std::string* recorded = name ? name->asString() : nullptr;
            if (recorded && !recorded->empty() && *recorded != object->Get_StringrefName()) return false;
            const Value* currency = values->find("CurrencyId");
            if (currency && !document.getCurrencyForId(static_cast<ObjectIdT>(currency->toInt()))) return false;
        }
    }
    return true;
}

// The transaction sheet's check, made on a transaction that belongs to no
// list: the books' counters are put back afterwards and no alert is shown.
bool transactionWouldBalance(MyDocument& document, const Dictionary& transaction)
{
    CDocAccounting& books = *document.accounting();
    const IdCounters counters = books.Ids();
    const bool batch = CErrorManager::GetMode();
    CErrorManager::SetMode(true);
    bool valid = false;
    {
        const auto type = static_cast<int>(transaction[transaction_key::kTransactionType].toInt());
        std::shared_ptr<CTrnSItem> temporary = document.makeEmptyTransactionOfType(type);
        if (temporary) {
            temporary->initWithDictionaryRepresentation(transaction);
            valid = temporary->validate();
        }
    }
    CErrorManager::SetMode(batch);
    books.Ids() = counters;
    return valid;
}

std::optional<std::string> transactionRefusal(MyDocument& document, const arguments::CTransactionArguments& values)
{
    if (!values.mTransactionDictionary) return std::nullopt;   // the executor refuses it
    const Dictionary& transaction = *values.mTransactionDictionary;
    if (!linesNameTheirObjects(document, transaction)) return localized("ROLLFORWARDMISSINGID");
    if (!currencyExists(document, transaction[transaction_key::kCurrencyId].toInt()))
        return localized("ROLLFORWARDMISSINGID");
    if (!transactionWouldBalance(document, transaction)) return localized("ROLLFORWARDUNBALANCED");
    return std::nullopt;
}

template <class Arguments>
const Arguments* as(const CArgumentAncestor& arguments)
{
    return dynamic_cast<const Arguments*>(&arguments);
}

// A deletion names the object it deleted: a target of another name is not it.
std::optional<std::string> deletionRefusal(const CommandTarget& target, const CArgumentAncestor& arguments)
{
    const auto* values = as<arguments::CDeleteObjectParms>(arguments);
    auto item = std::dynamic_pointer_cast<CNonVisualDataItem>(target);
    if (!values || !values->name || *values->name == "-" || !item || !item->getSourceItem()) return std::nullopt;
    if (item->getName() == *values->name) return std::nullopt;
    return formatMessage(localized("ROLLFORWARDRETARGETED"), {item->getName()});
}

} // namespace

std::optional<std::string> replayRefusal(MyDocument& document, int command, const CommandTarget& target,
                                         const CArgumentAncestor& arguments)
{
    if (!document.accounting()) return std::nullopt;
    switch (command) {
    case 28:
        return deletionRefusal(target, arguments);
    case 6:
    case 7:
    case 8:
    case 9:
        if (const auto* values = as<arguments::CShareArguments>(arguments)) {
            return missing(currencyExists(document, values->baseCurrencyId) &&
                           accountsExist(document, {values->fluctuationPlAccountId, values->portfolioAccountId,
                                                    values->comissionPLAccountId, values->dividendSourcePLAccountId,
                                                    values->dividendDestinationPropertyAccountId}) &&
                           categoriesExist(document, {values->fluctuationsReasonCodeId, values->comissionReasonCodeId,
                                                      values->dividendReasonCodId}));
        }
        if (const auto* values = as<arguments::CurrencyArguments>(arguments)) {
            return missing(currencyExists(document, values->baseCurrencyId) &&
                           accountsExist(document, {values->fluctuationPlAccountId}) &&
                           categoriesExist(document, {values->fluctuationsReasonCodeId}));
        }
        break;
    case 12:
    case 13:
        if (const auto* values = as<arguments::AccountArguments>(arguments)) {
            const bool typeExists = !namesSomething(values->accountTypeId) ||
                                    document.getAccountTypeForId(static_cast<ObjectIdT>(*values->accountTypeId));
            const bool ownerExists = !namesSomething(values->ownerId) ||
                                     document.getAccountOwnerForId(static_cast<ObjectIdT>(*values->ownerId));
            return missing(typeExists && ownerExists && currencyExists(document, values->currencyId) &&
                           categoriesExist(document, {values->defaultCategory}));
        }
        break;
    case 14:
    case 15:
        if (const auto* values = as<arguments::CategoryParameters>(arguments)) {
            // Group ids start at 0 (the predefined groups).
            const bool groupExists = !values->mParentId || *values->mParentId < 0 ||
                                     document.getMasterExpenseTypeForId(static_cast<ObjectIdT>(*values->mParentId));
            return missing(groupExists);
        }
        break;
    case 20:
    case 21:
        if (const auto* values = as<arguments::BuySellSharesParameters>(arguments))
            return missing(accountsExist(document, {values->fromAccountId, values->commissionAccountId}));
        break;
    case 22:
        if (const auto* values = as<arguments::RegisterDividendParameters>(arguments)) {
            // The dividend's category travels as forAccountId.
            return missing(accountsExist(document, {values->fromAccountId, values->toAccountId,
                                                    values->taxesAccountId}) &&
                           categoriesExist(document, {values->forAccountId, values->taxesCategoryId}));
        }
        break;
    case 23:
    case 24:
    case 25:
        if (const auto* values = as<arguments::CTransactionArguments>(arguments))
            return transactionRefusal(document, *values);
        break;
    case 33: case 34: case 38: case 39: case 41: case 42: case 44: case 46:
        return missing(document.operations().business->namesOnlyExistingObjects(command, arguments));
    case kLinkCardSpendingCommand:
    case kLinkPaymentToInvoiceCommand:
        // The linked transaction is the one the entry named.
        if (const auto* values = as<arguments::TransactionLinkArguments>(arguments)) {
            std::shared_ptr<CTrnSItem> linked =
                namesSomething(values->linkedId)
                    ? document.getTransactionForId(static_cast<ObjectIdT>(*values->linkedId))
                    : nullptr;
            return missing(linked && (!values->linkedName || linked->getName() == *values->linkedName));
        }
        break;
    case kNewBudgetCommand:
        if (const auto* values = as<arguments::NewBudgetArguments>(arguments)) {
            bool baseExists = !namesSomething(values->baseBudgetId);
            for (const auto& budget : document.mBudgetArray())
                baseExists = baseExists || budget->getId() == static_cast<ObjectIdT>(*values->baseBudgetId);
            return missing(baseExists);
        }
        break;
    case 31:
        if (const auto* values = as<arguments::ImportTransactionArguments>(arguments)) {
            return missing(accountsExist(document, {values->fromAccountId, values->toAccountId}) &&
                           categoriesExist(document, {values->expenseTypeId}) &&
                           currencyExists(document, values->currencyId));
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

bool takesTargetOfType(int command, std::uint32_t objectType)
{
    switch (command) {
    case 0: return objectType == type::kBudgetDetail;
    case 1: case 3: return objectType == type::kBudgetXRef;
    case 2: case 4: case 5: return objectType == type::kBudgetHeader;
    case 7: case 9: case 18: case 20: case 21: case 22: return objectType == type::kCurrency;
    case 10: return objectType == type::kAccountType;
    case 12: return objectType == type::kAccount;
    case 14: return objectType == type::kExpenseType;
    case 16: return objectType == type::kMasterExpenseType;
    case 24: return objectType == type::kTransaction || objectType == type::kRecurring;
    case 29: case 39: case 42: case 45: case kLinkCardSpendingCommand: case kLinkPaymentToInvoiceCommand:
    case kVATBalancePaymentCommand: case kUnlinkPaymentCommand: case kUnlinkInvoicePaymentsCommand:
    case kCreditNoteCommand: case kTransactionStatusCommand:
        return objectType == type::kTransaction;
    case kCreditCardCommand:
        return objectType == type::kAccount;
    case 27: return objectType == type::kAccountOwner;
    default: return true;
    }
}

bool commandDoesNothing(int command)
{
    switch (command) {
    case 19: case 32: case 35: case 36: case 40: case 43:
        return true;
    case kNewBudgetCommand: case kLinkCardSpendingCommand: case kLinkPaymentToInvoiceCommand:
    case kVATBalancePaymentCommand: case kUnlinkPaymentCommand: case kUnlinkInvoicePaymentsCommand:
    case kCreditNoteCommand: case kTransactionStatusCommand: case kCreditCardCommand: case kBookSettingCommand:
        return false;
    default:
        return command < 0 || command > 46;
    }
}

bool commandMustChangeBooks(int command)
{
    switch (command) {
    case 6: case 8: case 11: case 13: case 15: case 17: case 20: case 21: case 22: case 23: case 25: case 26:
    case 28: case 31: case 33: case 37: case 38: case 39: case 41: case 42: case 44: case 45: case 46:
    case kNewBudgetCommand: case kLinkCardSpendingCommand: case kLinkPaymentToInvoiceCommand:
    case kVATBalancePaymentCommand: case kUnlinkPaymentCommand: case kUnlinkInvoicePaymentsCommand:
    case kCreditNoteCommand:
        return true;
    default:
        return false;
    }
}

} // namespace ch
