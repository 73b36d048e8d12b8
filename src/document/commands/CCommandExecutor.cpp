#include "document/commands/CCommandExecutor.h"

#include <string>

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CPrfRItem.h"
#include "document/CardSpendingLink.h"
#include "document/DocumentOperations.h"
#include "document/BookSettings.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/GXNonVisual.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/BudgetArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "model/CNonVisual.h"
#include "model/ModelCodes.h"
#include "platform/core/four_char_code.h"
#include "platform/core/user_defaults.h"

namespace ch {
namespace {


// The item of the target when it is of the kind and still has its object.
template <class Item>
std::shared_ptr<Item> boundItem(const CommandTarget& target)
{
    auto item = std::dynamic_pointer_cast<Item>(target);
    return item && item->getSourceItem() ? item : nullptr;
}

// A bound item whose object has the type code (the budget items).
std::shared_ptr<CNonVisualDataItem> boundItemOfType(const std::shared_ptr<Observable>& object, FourCharCode type)
{
    auto item = boundItem<CNonVisualDataItem>(object);
    return item && item->getObjectType() == type ? item : nullptr;
}

// The business object of the target when it has the type.
std::shared_ptr<GXNonVisual> businessObject(const CommandTarget& target, std::string_view type)
{
    auto object = std::dynamic_pointer_cast<GXNonVisual>(target);
    return object && object->objectType() == type ? object : nullptr;
}

template <class Arguments>
const Arguments* argumentsOf(const CommandArgument& argument)
{
    return dynamic_cast<const Arguments*>(argument.arguments());
}

// The argument object when it is exactly of the named class.
const CArgumentAncestor* argumentsOfClass(const CommandArgument& argument, std::string_view className)
{
    const CArgumentAncestor* values = argument.arguments();
    return values && values->argumentClass() == className ? values : nullptr;
}

CommandRun refused(int result, CommandRefusal refusal)
{
    return {result, refusal, false};
}

CommandRun targetRefused(const CommandTarget& target, int result = -1)
{
    return refused(result, target ? CommandRefusal::WrongTarget : CommandRefusal::MissingTarget);
}

CommandRun argumentsRefused(const CommandArgument& argument, int result = -1)
{
    return refused(result, argument.empty() ? CommandRefusal::MissingArguments : CommandRefusal::WrongArguments);
}

CommandRun ran(const CommandOutcome& outcome)
{
    return {outcome.result, CommandRefusal::None, outcome.changedBooks};
}

// A target of the item kind and an argument object of the class.
template <class Item, class Arguments, class Operation>
CommandRun withTargetAndArguments(const CommandTarget& target, const CommandArgument& argument,
                                  Operation operation)
{
    auto item = boundItem<Item>(target);
    if (!item) return targetRefused(target);
    const Arguments* values = argumentsOf<Arguments>(argument);
    if (!values) return argumentsRefused(argument);
    return ran(operation(*item, *values));
}

template <class Arguments, class Operation>
CommandRun withArguments(const CommandArgument& argument, Operation operation, int refusal = -1)
{
    const Arguments* values = argumentsOf<Arguments>(argument);
    if (!values) return argumentsRefused(argument, refusal);
    return ran(operation(*values));
}

// A budget item of the type and an argument object exactly of the class;
// the log lines say which check failed.
template <class Operation>
CommandRun budgetCommand(const CommandTarget& target, const CommandArgument& argument, FourCharCode type,
                         std::string_view className, std::string_view targetMessage,
                         std::string_view argumentsMessage, Operation operation)
{
    auto item = boundItemOfType(target, type);
    if (!item) {
        developerLog(targetMessage);
        return targetRefused(target);
    }
    const CArgumentAncestor* values = argumentsOfClass(argument, className);
    if (!values) {
        developerLog(argumentsMessage);
        return argumentsRefused(argument);
    }
    return ran(operation(*item, *values));
}

template <class Operation>
CommandRun businessCommand(const CommandArgument& argument, std::string_view className, Operation operation)
{
    const CArgumentAncestor* values = argumentsOfClass(argument, className);
    if (!values) return argumentsRefused(argument);
    return ran(operation(*values));
}

template <class Target, class Operation>
CommandRun businessCommandOn(const std::shared_ptr<Target>& object, const CommandTarget& target,
                             const CommandArgument& argument, std::string_view className, Operation operation)
{
    if (!object) return targetRefused(target);
    return businessCommand(argument, className, [&](const CArgumentAncestor& values) {
        return operation(*object, values);
    });
}

// The asking flag of a deletion; false without arguments or flag. Arguments
// of another class are refused.
std::optional<bool> deletionAsking(const CommandArgument& argument)
{
    if (argument.empty()) return false;
    const auto* values = argumentsOf<arguments::CDeleteObjectParms>(argument);
    if (!values) return std::nullopt;
    return values->withAsking.value_or(false);
}

CommandRun deleteModelObject(MyDocument& document, const CommandTarget& target, const CommandArgument& argument)
{
    auto item = boundItem<CNonVisualDataItem>(target);
    if (!item) return targetRefused(target);
    std::optional<bool> asking = deletionAsking(argument);
    if (!asking) return argumentsRefused(argument);
    DeletionOperations& deletion = *document.operations().deletion;
    switch (item->getSourceItem()->Get_ObjectType()) {
    case type::kCurrency:
        if (auto currency = boundItem<CCurRItem>(item)) return ran(deletion.performDeleteCurrency(*currency));
        break;
    case type::kAccount:
        if (auto account = boundItem<CAcnTItem>(item)) return ran(deletion.performDeleteAccount(*account));
        break;
    case type::kAccountType:
        if (auto accountType = boundItem<CAccTItem>(item)) return ran(deletion.performDeleteAccountType(*accountType));
        break;
    case type::kRecurring:
        if (auto recurring = boundItem<CRcrTItem>(item))
            return ran(deletion.performDeleteRecurringTransaction(*recurring));
        break;
    case type::kMasterExpenseType:
        if (auto group = boundItem<CMxpTItem>(item)) return ran(deletion.performDeleteMasterExpenseType(*group));
        break;
    case type::kExpenseType:
        if (auto category = boundItem<CExpTItem>(item)) return ran(deletion.performDeleteExpenseType(*category));
        break;
    case type::kAccountOwner:
        if (auto owner = boundItem<CAcoWItem>(item)) return ran(deletion.performDeleteOwner(*owner));
        break;
    case type::kTransaction:
        if (auto transaction = boundItem<CTrnSItem>(item)) {
            if (transaction->isUnlinked()) return ran(deletion.performDeleteUnlinkedTransaction(*transaction));
            return ran(deletion.performDeleteTransaction(*transaction, *asking));
        }
        break;
    default:
        break;
    }
    return refused(-1, CommandRefusal::WrongTarget);
}

const char* refusalText(CommandRefusal refusal)
{
    switch (refusal) {
    case CommandRefusal::None: return "none";
    case CommandRefusal::NoDocument: return "no document";
    case CommandRefusal::MissingTarget: return "no target";
    case CommandRefusal::WrongTarget: return "a target of another kind";
    case CommandRefusal::MissingArguments: return "no argument object";
    case CommandRefusal::WrongArguments: return "an argument object of another class";
    }
    return "";
}

} // namespace

CCommandExecutor::~CCommandExecutor() = default;

bool CCommandExecutor::keepLogFile()
{
    return UserDefaults::standard().boolForKey(kKeepLogFileKey);
}

int CCommandExecutor::executeCommand(int command, const CommandTarget& target, const CommandArgument& argument)
{
    if (!theDocument || command < 0 || command > 255) return -1;
    const std::optional<std::uintmax_t> journalBefore = logCommand(command, target, argument);
    CommandRun run = runCommand(command, target, argument);
    // What changed nothing (refused by its checks, by the model, or by the
    // person) leaves no entry: a replay would offer a change never made.
    if (!run.changedBooks && journalBefore) takeBackEntry(*journalBefore);
    return run.result;
}

int CCommandExecutor::executeCommandSelf(int command, const CommandTarget& target, const CommandArgument& argument)
{
    return runCommand(command, target, argument).result;
}

CommandRun CCommandExecutor::runCommand(int command, const CommandTarget& target, const CommandArgument& argument)
{
    if (!theDocument) return refused(-1, CommandRefusal::NoDocument);
    MyDocument& document = *theDocument;
    DocumentOperationSet& operations = document.operations();
    CommandRun run;
    switch (command) {
    case 0:
        run = budgetCommand(target, argument, type::kBudgetDetail, "ModifyBudgetDetailArguments",
                            "MyDocument ModifyBudgetDetail : inBudgetDetail is not a CBuDItem!",
                            "MyDocument ModifyBudgetDetail : inArguments is not a ModifyBudgetDetailArguments!",
                            [&](CNonVisualDataItem& detail, const CArgumentAncestor& values) {
                                return operations.budget->modifyBudgetDetail(detail, values);
                            });
        break;
    case 1:
        run = budgetCommand(target, argument, type::kBudgetXRef, "ModifyBudgetXRefArguments",
                            "MyDocument ModifyBudgetXRef : inBudgetXRef is not a CBuDxItem!",
                            "MyDocument ModifyBudgetXRef : inArguments is not a ModifyBudgetDetailArguments!",
                            [&](CNonVisualDataItem& xref, const CArgumentAncestor& values) {
                                return operations.budget->modifyBudgetXRef(xref, values);
                            });
        break;
    case 2:
        run = budgetCommand(target, argument, type::kBudgetHeader, "NewBudgetXRefArguments",
                            "MyDocument createBudgetXRefForBudget : inBudget is not a CBuDhItem!",
                            "MyDocument createBudgetXRefForBudget : inArguments is not a NewBudgetXRefArguments!",
                            [&](CNonVisualDataItem& budget, const CArgumentAncestor& values) {
                                return operations.budget->createBudgetXRefForBudget(budget, values);
                            });
        break;
    case 3: {
        // The budget item itself travels as the argument; a replayed entry
        // names it by its id.
        auto xref = boundItemOfType(target, type::kBudgetXRef);
        std::shared_ptr<Observable> named = argument.item();
        if (const auto* values = argumentsOf<arguments::DeleteBudgetXRefArguments>(argument); values && !named)
            named = document.dataItemWithKey("BuDh" + std::to_string(values->budgetId));
        auto budget = boundItemOfType(named, type::kBudgetHeader);
        if (!xref) {
            developerLog("MyDocument deleteBudgetXRef : inBudgetXRef is not a CBuDxItem!");
            run = targetRefused(target);
        } else if (!budget) {
            developerLog("MyDocument deleteBudgetXRef : inBudget is not a CBuDhItem!");
            run = argumentsRefused(argument);
        } else {
            run = ran(operations.budget->deleteBudgetXRef(*xref, *budget));
        }
        break;
    }
    case 4:
        run = budgetCommand(target, argument, type::kBudgetHeader, "TransferBudgetXRefArguments",
                            "MyDocument modifyTransferXRef : inBudget is not a CBuDhItem!",
                            "MyDocument modifyTransferXRef : inArguments is not a TransferBudgetXRefArguments!",
                            [&](CNonVisualDataItem& budget, const CArgumentAncestor& values) {
                                return operations.budget->modifyTransferXRef(budget, values);
                            });
        break;
    case 5:
        run = budgetCommand(target, argument, type::kBudgetHeader, "ModifyBudgetHeaderArguments",
                            "MyDocument inBudgetHeader : inBudgetHeader is not a CBuDhItem!",
                            "MyDocument inBudgetHeader : inArguments is not a ModifyBudgetHeaderArguments!",
                            [&](CNonVisualDataItem& budget, const CArgumentAncestor& values) {
                                return operations.budget->modifyBudget(budget, values);
                            });
        break;
    case 6:
        run = withArguments<arguments::CurrencyArguments>(argument, [&](const arguments::CurrencyArguments& values) {
            return operations.chart->createCurrency(values);
        });
        break;
    case 7:
        run = withTargetAndArguments<CCurRItem, arguments::CurrencyArguments>(
            target, argument, [&](CCurRItem& currency, const arguments::CurrencyArguments& values) {
                return operations.chart->modifyCurrency(currency, values);
            });
        break;
    case 8:
        run = withArguments<arguments::CShareArguments>(argument, [&](const arguments::CShareArguments& values) {
            return operations.chart->createShare(values);
        });
        break;
    case 9:
        run = withTargetAndArguments<CCurRItem, arguments::CShareArguments>(
            target, argument, [&](CCurRItem& share, const arguments::CShareArguments& values) {
                return operations.chart->modifyShare(share, values);
            });
        break;
    case 10:
        run = withTargetAndArguments<CAccTItem, arguments::AccountTypeArguments>(
            target, argument, [&](CAccTItem& accountType, const arguments::AccountTypeArguments& values) {
                return operations.chart->modifyAccountType(accountType, values);
            });
        break;
    case 11:
        run = withArguments<arguments::AccountTypeArguments>(
            argument, [&](const arguments::AccountTypeArguments& values) { return operations.chart->createAccountType(values); },
            0);
        break;
    case 12:
        run = withTargetAndArguments<CAcnTItem, arguments::AccountArguments>(
            target, argument, [&](CAcnTItem& account, const arguments::AccountArguments& values) {
                return operations.chart->modifyAccount(account, values);
            });
        break;
    case 13:
        run = withArguments<arguments::AccountArguments>(argument, [&](const arguments::AccountArguments& values) {
            return operations.chart->createAccount(values);
        });
        break;
    case 14:
        run = withTargetAndArguments<CExpTItem, arguments::CategoryParameters>(
            target, argument, [&](CExpTItem& category, const arguments::CategoryParameters& values) {
                return operations.chart->modifyCategory(category, values);
            });
        break;
    case 15:
        run = withArguments<arguments::CategoryParameters>(argument, [&](const arguments::CategoryParameters& values) {
            return operations.chart->createCategory(values);
        });
        break;
    case 16:
        run = withTargetAndArguments<CMxpTItem, arguments::CategoryGroupParameters>(
            target, argument, [&](CMxpTItem& group, const arguments::CategoryGroupParameters& values) {
                return operations.chart->modifyCategoryGroup(group, values);
            });
        break;
    case 17:
        run = withArguments<arguments::CategoryGroupParameters>(argument, [&](const arguments::CategoryGroupParameters& values) {
            return operations.chart->createCategoryGroup(values);
        });
        break;
    case 18:
        run = withTargetAndArguments<CCurRItem, arguments::CurrencyRateParameters>(
            target, argument, [&](CCurRItem& currency, const arguments::CurrencyRateParameters& values) {
                return operations.rates->changeRateForCurrency(currency, values.quantity.value_or(0),
                                                               values.factor.value_or(0.0),
                                                               static_cast<DateT>(values.dateStart.value_or(0)));
            });
        break;
    case 20:
    case 21:
        // One operation: the argument's isBuyInd tells a purchase from a sale.
        run = withTargetAndArguments<CCurRItem, arguments::BuySellSharesParameters>(
            target, argument, [&](CCurRItem& share, const arguments::BuySellSharesParameters& values) {
                return operations.rates->buyOrSellShares(share, values);
            });
        break;
    case 22:
        run = withTargetAndArguments<CCurRItem, arguments::RegisterDividendParameters>(
            target, argument, [&](CCurRItem& share, const arguments::RegisterDividendParameters& values) {
                return operations.rates->registerDividendForShare(share, values);
            });
        break;
    case 23:
    case 25: {
        const auto* values = argumentsOf<arguments::CTransactionArguments>(argument);
        if (!values || !values->mTransactionDictionary) {
            run = argumentsRefused(argument);
        } else if (command == 23) {
            run = ran(operations.transactions->makeNewTransactionFromTransactionDictionaryRepresentation(
                *values->mTransactionDictionary, true));
        } else {
            run = ran(operations.transactions->makeNewrecurringTrnsFromTransactionDictionary(
                *values->mTransactionDictionary));
        }
        if (run.refusal == CommandRefusal::None) run.result = -1;
        break;
    }
    case 24: {
        auto transaction = boundItem<CTrnSItem>(target);
        const auto* values = argumentsOf<arguments::CTransactionArguments>(argument);
        if (!transaction) run = targetRefused(target);
        else if (!values || !values->mTransactionDictionary) run = argumentsRefused(argument);
        else run = ran(operations.transactions->updateTransaction(*transaction, *values->mTransactionDictionary));
        run.result = -1;
        break;
    }
    case 26:
        run = withArguments<arguments::CAcoWArguments>(argument, [&](const arguments::CAcoWArguments& values) {
            return operations.owners->insertOwnerWithArguments(values);
        });
        break;
    case 27:
        run = withTargetAndArguments<CAcoWItem, arguments::CAcoWArguments>(
            target, argument, [&](CAcoWItem& owner, const arguments::CAcoWArguments& values) {
                return operations.owners->updateAccountOwner(owner, values);
            });
        break;
    case 28:
        run = deleteModelObject(document, target, argument);
        run.result = -1;
        break;
    case 29: {
        auto transaction = boundItem<CTrnSItem>(target);
        run = transaction ? ran(operations.transactions->performLinkTransaction(*transaction)) : targetRefused(target);
        run.result = -1;
        break;
    }
    case 30:
        run = withArguments<arguments::CDragAndDropRelocationArgument>(
            argument,
            [&](const arguments::CDragAndDropRelocationArgument& values) {
                bool moved = document.setSuperitemId(values.idReceivingObject, values.receivingObjectType,
                                                     values.idDroppedObject, values.droppedObjectType);
                return moved ? CommandOutcome::changed(1) : CommandOutcome::unchanged(0);
            },
            0);
        break;
    case 31:
        run = withArguments<arguments::ImportTransactionArguments>(argument, [&](const arguments::ImportTransactionArguments& values) {
            return operations.import->importTransactionWithArguments(values);
        });
        break;
    case 33:
        run = businessCommand(argument, "VATRateArguments", [&](const CArgumentAncestor& values) {
            return operations.business->createVATRate(values);
        });
        break;
    case 34:
        run = businessCommandOn(businessObject(target, "VatR"), target, argument, "VATRateArguments",
                                [&](GXNonVisual& rate, const CArgumentAncestor& values) {
                                    return operations.business->updateVATRate(rate, values);
                                });
        break;
    case 37: {
        auto rate = businessObject(target, "VatR");
        std::optional<bool> asking = deletionAsking(argument);
        if (!rate) run = targetRefused(target);
        else if (!asking) run = argumentsRefused(argument);
        else run = ran(operations.business->performDeleteVATRate(*rate, *asking));
        run.result = -1;
        break;
    }
    case 38:
        run = businessCommand(argument, "InvoiceArguments", [&](const CArgumentAncestor& values) {
            return operations.business->createCustomerInvoice(values);
        });
        break;
    case 39:
        run = businessCommandOn(boundItem<CTrnSItem>(target), target, argument, "InvoiceArguments",
                                [&](CTrnSItem& invoice, const CArgumentAncestor& values) {
                                    return operations.business->modifyCustomerInvoice(invoice, values);
                                });
        break;
    case 41:
        run = businessCommand(argument, "InvoiceArguments", [&](const CArgumentAncestor& values) {
            return operations.business->createSupplierInvoice(values);
        });
        break;
    case 42:
        run = businessCommandOn(boundItem<CTrnSItem>(target), target, argument, "InvoiceArguments",
                                [&](CTrnSItem& invoice, const CArgumentAncestor& values) {
                                    return operations.business->modifySupplierInvoice(invoice, values);
                                });
        break;
    case 44:
    case 46:
        // One operation: the argument's owner type tells a customer from a supplier.
        run = businessCommand(argument, "PaymentArguments", [&](const CArgumentAncestor& values) {
            return operations.business->createCustomerPayment(values);
        });
        break;
    case 45:
        run = businessCommandOn(boundItem<CTrnSItem>(target), target, argument, "SplitPaymentArguments",
                                [&](CTrnSItem& payment, const CArgumentAncestor& values) {
                                    return operations.business->splitPayment(payment, values);
                                });
        break;
    case kNewBudgetCommand:
        run = withArguments<arguments::NewBudgetArguments>(argument, [&](const arguments::NewBudgetArguments& values) {
            std::shared_ptr<CBuDhItem> made = document.makeNewBudget(
                values.base.value_or(0), static_cast<DateT>(values.baseMonth.value_or(0)), values.period.value_or(0),
                values.nrOfYears.value_or(0), values.nrOfMonths.value_or(0), values.baseBudgetId,
                values.comment.value_or(""), values.name.value_or(""));
            if (!made) return CommandOutcome::unchanged();
            return CommandOutcome::changed(static_cast<int>(made->getId().value_or(-1)));
        });
        break;
    case kLinkCardSpendingCommand:
    case kLinkPaymentToInvoiceCommand: {
        // The linked transaction is named by id in the arguments.
        auto transaction = boundItem<CTrnSItem>(target);
        const auto* values = argumentsOf<arguments::TransactionLinkArguments>(argument);
        std::shared_ptr<CTrnSItem> linked =
            values && values->linkedId ? document.getTransactionForId(static_cast<ObjectIdT>(*values->linkedId))
                                       : nullptr;
        if (!transaction) run = targetRefused(target);
        else if (!values || !linked) run = argumentsRefused(argument);
        else if (command == kLinkCardSpendingCommand) run = ran(settleCardSpending(document, *transaction, *linked));
        else run = ran(operations.business->linkPaymentToInvoice(*transaction, *linked));
        break;
    }
    case kVATBalancePaymentCommand:
    case kUnlinkPaymentCommand:
    case kUnlinkInvoicePaymentsCommand:
    case kCreditNoteCommand: {
        auto transaction = boundItem<CTrnSItem>(target);
        BusinessOperations& business = *operations.business;
        if (!transaction) run = targetRefused(target);
        else if (command == kVATBalancePaymentCommand)
            run = ran(business.setVATBalancePayment(*transaction, argumentsOf<arguments::TransactionLinkArguments>(argument)));
        else if (command == kUnlinkPaymentCommand) run = ran(business.unlinkPayment(*transaction));
        else if (command == kUnlinkInvoicePaymentsCommand) run = ran(business.unlinkPaymentsOfInvoice(*transaction));
        else run = ran(business.makeCreditNote(*transaction));
        break;
    }
    case kTransactionStatusCommand:
        run = withTargetAndArguments<CTrnSItem, arguments::ObjectStateArguments>(
            target, argument, [&](CTrnSItem& transaction, const arguments::ObjectStateArguments& values) {
                const long status = values.status.value_or(-1);
                if (status != status::kNormal && status != status::kFlagged && status != status::kChecked)
                    return CommandOutcome::unchanged();
                if (transaction.objectStatus() == status) return CommandOutcome::unchanged();
                transaction.setObjectStatus(static_cast<int>(status));
                return CommandOutcome::changed(1);
            });
        break;
    case kCreditCardCommand:
        run = withTargetAndArguments<CAcnTItem, arguments::ObjectStateArguments>(
            target, argument, [&](CAcnTItem& account, const arguments::ObjectStateArguments& values) {
                if (!values.isCreditCard || account.isCreditCard() == *values.isCreditCard)
                    return CommandOutcome::unchanged();
                account.setIsCreditCard(*values.isCreditCard);
                return CommandOutcome::changed(1);
            });
        break;
    case kBookSettingCommand:
        run = withArguments<arguments::BookSettingArguments>(argument, [&](const arguments::BookSettingArguments& values) {
            std::shared_ptr<CPrfRItem> settings = document.mPreference();
            if (!settings || !values.name || !values.value) return CommandOutcome::unchanged();
            return book_settings::change(*settings, *values.name, *values.value);
        });
        break;
    default:
        // 19, 32, 35, 36, 40, 43, 47 to 49 and 60 to 255 do nothing.
        return run;
    }
    if (run.refusal != CommandRefusal::None) {
        developerLog("CCommandExecutor: command " + std::to_string(command) + " not run: " +
                     refusalText(run.refusal));
    }
    if (run.changedBooks) document.updateChangeCount();
    return run;
}

} // namespace ch
