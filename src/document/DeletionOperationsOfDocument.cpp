#include "document/DeletionOperationsOfDocument.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/ModelCodes.h"
#include "document/DocumentBusiness.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CNSStringToCString.h"
#include "model/foundation/LString.h"

namespace ch {
namespace {

constexpr long kErrorAccountOfVATRate = 331;
constexpr long kErrorCategoryOfVATRate = 333;
constexpr long kDeleteInvoiceWithPaymentsQuestion = 565;
constexpr TransactionTypeT kCustomerPaymentType = 6;
constexpr TransactionTypeT kSupplierPaymentType = 7;

bool confirmed()
{
    return CErrorManager::AskQuestion(226);
}

CommandOutcome deletedOrNot(bool deleted)
{
    return {-1, deleted};
}

template <class Item>
void removeFrom(std::vector<std::shared_ptr<Item>>& array, const CNonVisualDataItem& item)
{
    std::erase_if(array, [&](const std::shared_ptr<Item>& element) { return element.get() == &item; });
}

// Refused, with the message that names it, when a VAT rate books on the
// account or category: its next invoice would book on an object gone.
bool usedByBusiness(MyDocument& document, const CNonVisualDataItem& item)
{
    const CNonVisual* object = item.getSourceItem();
    const DocumentBusiness* business = document.business();
    if (!object || !business) return false;
    const bool account = object->Get_ObjectType() == type::kAccount;
    if (!account && object->Get_ObjectType() != type::kExpenseType) return false;
    const std::optional<std::string> user =
        account ? business->userOfAccount(object->Get_Id()) : business->userOfCategory(object->Get_Id());
    if (!user) return false;
    CErrorManager::RaiseError(account ? kErrorAccountOfVATRate : kErrorCategoryOfVATRate,
                              LStr255(CNSStringToCString::convertToDestination(*user, 255, 255).c_str()), LStr255());
    return true;
}

// Payments (types 6 and 7) that settle the invoice transaction.
std::size_t paymentsOfInvoice(const CTrnSItem& invoice)
{
    const auto* object = dynamic_cast<const CTransaction*>(invoice.getSourceItem());
    BridgeDocument* document = invoice.parentDocument();
    const CDocAccounting* books = document ? document->accounting() : nullptr;
    if (!object || !books || (object->Get_mTransactionType() != transaction_type::kCustomerInvoice &&
                              object->Get_mTransactionType() != transaction_type::kSupplierInvoice))
        return 0;
    std::size_t count = 0;
    const CNamedListArray* transactions = books->Get_TransactionArray();
    for (ArrayIndexT i = 1; transactions && i <= static_cast<ArrayIndexT>(transactions->GetCount()); ++i) {
        const auto* other = static_cast<const CTransaction*>(transactions->ObjectAt(i));
        if (other && other->Get_mReferenceObjectId() == object->Get_Id() &&
            (other->Get_mTransactionType() == kCustomerPaymentType || other->Get_mTransactionType() == kSupplierPaymentType))
            ++count;
    }
    return count;
}

} // namespace

bool confirmDeletion(CNonVisualDataItem& item, bool withAsking)
{
    const CNonVisual* object = item.getSourceItem();
    if (!object) return false;
    switch (object->Get_ObjectType()) {
    case type::kTransaction: {
        auto* transaction = dynamic_cast<CTrnSItem*>(&item);
        if (transaction && !transaction->isUnlinked() && !withAsking) return true;
        // An invoice that payments settle: the person is told what becomes
        // of them before the invoice goes.
        if (transaction && paymentsOfInvoice(*transaction) > 0)
            return CErrorManager::AskQuestionWithTexts(kDeleteInvoiceWithPaymentsQuestion, ButtonKey("CANCEL"),
                                                       ButtonKey("OK"), transaction->getName());
        return confirmed();
    }
    case type::kAccountOwner: {
        auto* owner = dynamic_cast<CAcoWItem*>(&item);
        if (owner && !owner->objectCanBeDeleted()) {
            CErrorManager::RaiseError(269);
            return false;
        }
        return confirmed();
    }
    case type::kAccount: {
        if (!confirmed()) return false;
        auto* account = dynamic_cast<CAcnTItem*>(&item);
        if (!account) return true;
        if (!account->objectCanBeDeletedWithMessage(true, nullptr)) return false;
        return !account->hasTransactions() || CErrorManager::AskQuestion(261);
    }
    case type::kCurrency: {
        if (!confirmed()) return false;
        auto* share = dynamic_cast<CCurRItem*>(&item);
        const std::shared_ptr<CAcnTItem> portfolio = share && share->isShareType() ? share->portfolioAccount() : nullptr;
        return !portfolio || !portfolio->hasTransactions() || CErrorManager::AskQuestion(261);
    }
    case type::kAccountType:
    case type::kRecurring:
    case type::kMasterExpenseType:
    case type::kExpenseType:
        return confirmed();
    default:
        return true;
    }
}

bool DeletionOperationsOfDocument::deleteAnnounced(CNonVisualDataItem& item, const char* willBeDeleted,
                                                   const char* deleted)
{
    std::shared_ptr<CNonVisualDataItem> keep = item.shared_from_this();
    const std::string key = item.calculateKey();
    if (willBeDeleted) mDocument.notificationCenter().post(willBeDeleted, keep);
    if (!mDocument.accounting()->DeleteObject(item.getSourceItem())) return false;
    mDocument.notificationCenter().post(deleted, key);
    return true;
}

CommandOutcome DeletionOperationsOfDocument::performDeleteCurrency(CCurRItem& currency)
{
    if (!confirmed()) return deletedOrNot(false);
    std::shared_ptr<CNonVisualDataItem> keep = currency.shared_from_this();
    bool share = currency.isShareType();
    const std::string key = currency.calculateKey();
    // A share's portfolio account may not go by itself (its trades would be
    // refused): it goes with its share, its trades asked about as for any account.
    bool changed = false;
    if (share) {
        const std::optional<bool> took = takePortfolioAlong(currency);
        if (!took) return deletedOrNot(false);
        changed = *took;
    }
    mDocument.notificationCenter().post(GXCCurrencyWillBeDeletedNotification, keep);
    if (!mDocument.accounting()->DeleteObject(currency.getSourceItem())) return {-1, changed};
    removeFrom(share ? mDocument.mShareArray() : mDocument.mCurrencyArray(), currency);
    mDocument.notificationCenter().post(GXCCurrencyDeletedNotification, key);
    return deletedOrNot(true);
}

std::optional<bool> DeletionOperationsOfDocument::takePortfolioAlong(CCurRItem& share)
{
    auto* object = dynamic_cast<CCurrency*>(share.getSourceItem());
    const std::shared_ptr<CAcnTItem> portfolio = share.portfolioAccount();
    const auto* account = portfolio ? dynamic_cast<const CAccount*>(portfolio->getSourceItem()) : nullptr;
    if (!object || !account || account->Get_mCurrency() != object->Get_Id()) return false;
    const ObjectIdT held = object->Get_mPortfolioAccountId();
    if (!object->CanGoWithAccount(account->Get_Id())) return std::nullopt;
    object->Put_mPortfolioAccountId(-1);
    if (performDeleteAccountSelf(*portfolio).changedBooks) return true;
    object->Put_mPortfolioAccountId(held);
    return std::nullopt;
}

CommandOutcome DeletionOperationsOfDocument::performDeleteAccount(CAcnTItem& account)
{
    if (usedByBusiness(mDocument, account) || !confirmed()) return deletedOrNot(false);
    return performDeleteAccountSelf(account);
}

CommandOutcome DeletionOperationsOfDocument::performDeleteAccountSelf(CAcnTItem& account)
{
    std::shared_ptr<CNonVisualDataItem> keep = account.shared_from_this();
    // What the model would refuse (a budget, a template, a setting naming the
    // account) is refused before anyone hears that its transactions go: an
    // invoice told so lets go of its payment at once.
    if (!account.objectCanBeDeletedWithMessage(true, nullptr)) return deletedOrNot(false);
    bool creditCard = account.isCreditCard();
    const std::string key = account.calculateKey();
    // The transactions booked on the account go with it: what refers to them
    // is let go as when each is deleted by itself, so that no payment, invoice
    // or VAT period names a transaction that is no more.
    std::vector<std::shared_ptr<CTrnSItem>> going;
    for (const std::shared_ptr<CDebetItem>& line : account.allTransactionDetailsWithoutFinalizing())
        if (std::shared_ptr<CTrnSItem> transaction = line ? line->parentTransaction() : nullptr)
            if (std::find(going.begin(), going.end(), transaction) == going.end()) going.push_back(std::move(transaction));
    std::vector<std::function<void()>> unlinks;
    std::vector<ObjectIdT> ids;
    for (const std::shared_ptr<CTrnSItem>& transaction : going) {
        mDocument.notificationCenter().post(GXCTransactionWillBeDeletedNotification,
                                            std::static_pointer_cast<CNonVisualDataItem>(transaction));
        unlinks.push_back(transaction->unlinkLinkedTransactionsLater());
        if (const std::optional<ObjectIdT> id = transaction->getId()) ids.push_back(*id);
    }
    mDocument.notificationCenter().post(GXCAccountWillBeDeletedNotification);
    if (!mDocument.accounting()->DeleteObject(account.getSourceItem())) return deletedOrNot(false);
    for (const std::function<void()>& unlink : unlinks) unlink();
    for (const std::shared_ptr<CTrnSItem>& transaction : going) {
        removeFrom(mDocument.mTransactionArray(), *transaction);
        removeFrom(mDocument.mUnlinkedTransactionArray(), *transaction);
    }
    if (DocumentBusiness* business = mDocument.business(); business && !ids.empty()) business->transactionsDeleted(ids);
    if (creditCard) mDocument.setMCreditCardArray();
    mDocument.notificationCenter().post(GXCAccountDeletedNotification, key);
    return deletedOrNot(true);
}

CommandOutcome DeletionOperationsOfDocument::performDeleteAccountType(CAccTItem& type)
{
    if (!confirmed()) return deletedOrNot(false);
    return deletedOrNot(
        deleteAnnounced(type, GXCAccountTypeWillBeDeletedNotification, GXCAccountTypeDeletedNotification));
}

CommandOutcome DeletionOperationsOfDocument::performDeleteMasterExpenseType(CMxpTItem& group)
{
    if (!confirmed()) return deletedOrNot(false);
    return deletedOrNot(
        deleteAnnounced(group, GXCCategoryTypeWillBeDeletedNotification, GXCCategoryTypeDeletedNotification));
}

CommandOutcome DeletionOperationsOfDocument::performDeleteExpenseType(CExpTItem& category)
{
    if (usedByBusiness(mDocument, category) || !confirmed()) return deletedOrNot(false);
    return deletedOrNot(
        deleteAnnounced(category, GXCCategoryWillBeDeletedNotification, GXCCategoryDeletedNotification));
}

bool DeletionOperationsOfDocument::removeTransaction(CTrnSItem& transaction)
{
    std::shared_ptr<CNonVisualDataItem> keep = transaction.shared_from_this();
    // Recurring transactions are numbered apart: no business object names one.
    const std::optional<ObjectIdT> id =
        dynamic_cast<CRcrTItem*>(&transaction) ? std::nullopt : transaction.getId();
    if (!deleteAnnounced(transaction, GXCTransactionWillBeDeletedNotification, GXCTransactionDeletedNotification))
        return false;
    if (DocumentBusiness* business = mDocument.business(); business && id) business->transactionsDeleted({*id});
    removeFrom(mDocument.mTransactionArray(), transaction);
    removeFrom(mDocument.mUnlinkedTransactionArray(), transaction);
    removeFrom(mDocument.mRecurringTransactionArray(), transaction);
    return true;
}

CommandOutcome DeletionOperationsOfDocument::performDeleteRecurringTransaction(CRcrTItem& transaction)
{
    if (!confirmed()) return deletedOrNot(false);
    return deletedOrNot(removeTransaction(transaction));
}

CommandOutcome DeletionOperationsOfDocument::performDeleteUnlinkedTransaction(CTrnSItem& transaction)
{
    if (!confirmed()) return deletedOrNot(false);
    return deletedOrNot(removeTransaction(transaction));
}

CommandOutcome DeletionOperationsOfDocument::performDeleteTransaction(CTrnSItem& transaction, bool withAsking)
{
    if (withAsking && !confirmed()) return deletedOrNot(false);
    // Payments lose their link only once the transaction is really gone.
    std::function<void()> unlinkPayments = transaction.unlinkLinkedTransactionsLater();
    if (!removeTransaction(transaction)) return deletedOrNot(false);
    unlinkPayments();
    return deletedOrNot(true);
}

CommandOutcome DeletionOperationsOfDocument::performDeleteOwner(CAcoWItem& owner)
{
    if (!owner.objectCanBeDeleted()) {
        CErrorManager::RaiseError(269);
        return deletedOrNot(false);
    }
    if (!confirmed()) return deletedOrNot(false);
    std::shared_ptr<CNonVisualDataItem> keep = owner.shared_from_this();
    mDocument.notificationCenter().post(GXCOwnerWillBeDeletedNotification, keep);
    bool changed = owner.openCreditInvoiceAccount() || owner.openDebitInvoiceAccount() || owner.creditorAccount() ||
                   owner.debitorAccount();
    owner.setOpenCreditInvoiceAccount(std::nullopt);
    owner.setOpenDebitInvoiceAccount(std::nullopt);
    owner.setCreditorAccount(std::nullopt);
    owner.setDebitorAccount(std::nullopt);
    const std::optional<ObjectIdT> ownerId = owner.getId();
    for (const std::shared_ptr<CAcnTItem>& account : mDocument.allAccounts())
        if (account && ownerId && account->getAccountOwnerId() == *ownerId)
            changed = performDeleteAccountSelf(*account).changedBooks || changed;
    const std::string key = owner.calculateKey();
    if (!mDocument.accounting()->DeleteObject(owner.getSourceItem())) return deletedOrNot(changed);
    removeFrom(mDocument.mOwnerArray(), owner);
    mDocument.notificationCenter().post(GXCOwnerDeletedNotification, key);
    return deletedOrNot(true);
}

} // namespace ch
