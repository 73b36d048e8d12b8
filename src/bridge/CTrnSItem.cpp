#include "bridge/CTrnSItem.h"

#include <cmath>

#include "bridge/ArgumentRecords.h"
#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/InvoiceHooks.h"
#include "bridge/ItemsOfList.h"
#include "bridge/ModelText.h"
#include "bridge/TextColours.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/ConversionCent.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CNSStringToCString.h"
#include "platform/core/notification_center.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

constexpr std::string_view kDeletedText = "-Deleted-";
constexpr long kBlockedError = 140;
constexpr int kCustomerInvoiceType = 4;
constexpr int kSupplierInvoiceType = 5;

bool isInvoiceType(int type)
{
    return type == kCustomerInvoiceType || type == kSupplierInvoiceType;
}

// The line at a 1-based row; null when there is none.
CDebit* lineAt(const CNamedListArray* list, int row)
{
    if (!list || row < 1 || row > static_cast<int>(list->GetCount())) return nullptr;
    return static_cast<CDebit*>(list->ObjectAt(row));
}

CNamedListArray* listOfType(const CTransaction& transaction, FourCharCode lineType)
{
    switch (lineType) {
    case type::kDebit: return transaction.GetDebitList();
    case type::kCredit: return transaction.GetCreditList();
    case type::kExpenseTypeDetail: return transaction.GetExpenseTypeList();
    default: return nullptr;
    }
}

// A share's trade or dividend refers to the share, which is numbered apart
// from the transactions: it books the share's units in the share's currency.
bool refersToItsShare(const CTransaction& transaction)
{
    const ObjectIdT reference = transaction.Get_mReferenceObjectId();
    for (const CNamedListArray* list : {transaction.GetDebitList(), transaction.GetCreditList()})
        for (int row = 1; list && row <= static_cast<int>(list->GetCount()); ++row)
            if (const CDebit* line = lineAt(list, row); line && line->Get_mCurrency() == reference)
                if (const CCurrency* currency = line->Get_mCurrencyptr())
                    return currency->Get_mCurrencyType() == currency_type::kShare;
    return false;
}

// A new line of the type at the end of its list; null for another type.
CDebit* addLine(CTransaction& transaction, FourCharCode lineType)
{
    switch (lineType) {
    case type::kDebit: return transaction.Add_Debit(-1, false, 0.0);
    case type::kCredit: return transaction.Add_Credit(-1, false, 0.0);
    case type::kExpenseTypeDetail: return transaction.Add_ExpenseType(-1, false, 0.0);
    default: return nullptr;
    }
}

void setLineAccount(CTransaction& transaction, CDebit* line, long accountId)
{
    const auto id = static_cast<ObjectIdT>(accountId);
    switch (line->Get_ObjectType()) {
    case type::kDebit: transaction.Set_Debit_Account(line, id); break;
    case type::kCredit: transaction.Set_Credit_Account(static_cast<CCredit*>(line), id); break;
    case type::kExpenseTypeDetail: transaction.Set_ExpenseType_Account(static_cast<CExptypeDetail*>(line), id); break;
    default: break;
    }
}

void setLineCurrency(CTransaction& transaction, CDebit* line, long currencyId, CCurrency* currency)
{
    const auto id = static_cast<ObjectIdT>(currencyId);
    switch (line->Get_ObjectType()) {
    case type::kDebit: transaction.Set_Debit_Curreny(line, id, currency); break;
    case type::kCredit: transaction.Set_Credit_Curreny(static_cast<CCredit*>(line), id, currency); break;
    case type::kExpenseTypeDetail:
        transaction.Set_ExpenseType_Curreny(static_cast<CExptypeDetail*>(line), id, currency);
        break;
    default: break;
    }
}

// The amount in the line's own currency.
void setLineAmount(CTransaction& transaction, CDebit* line, double amount)
{
    switch (line->Get_ObjectType()) {
    case type::kDebit: transaction.Set_Debit_Amount(line, amount, true); break;
    case type::kCredit: transaction.Set_Credit_Amount(static_cast<CCredit*>(line), amount, true); break;
    case type::kExpenseTypeDetail:
        transaction.Set_ExpenseType_Amount(static_cast<CExptypeDetail*>(line), amount, true);
        break;
    default: break;
    }
}

const char* deletedNotificationFor(FourCharCode lineType)
{
    switch (lineType) {
    case type::kCredit: return "CREDITDELETEDNOTIFIACTION";
    case type::kExpenseTypeDetail: return "EXPENSETYPEDETAILDELETEDNOTIFICATION";
    case type::kDebit: return "DEBETDELETEDNOTIFICATION";
    default: return nullptr;
    }
}

const char* listKeyFor(FourCharCode lineType)
{
    switch (lineType) {
    case type::kCredit: return "mToList";
    case type::kExpenseTypeDetail: return "mForList";
    default: return "mFromList";
    }
}

std::string field(std::string text)
{
    return CDebetItem::exportField(std::move(text));
}

// Equal at the document's number of decimals: a typed 12.5 finds a total
// that arithmetic left at 12.4999999.
bool sameAmount(double a, double b)
{
    const double scale = std::pow(10.0, static_cast<double>(CDecimal::getNrOfDecimals()));
    return std::llround(a * scale) == std::llround(b * scale);
}

// An amount from a dictionary (the journal, the clipboard): what is no
// number of money reads as 0 rather than poisoning the balances.
double amountOf(const Value& value)
{
    const double amount = value.toDouble();
    return std::isfinite(amount) ? amount : 0.0;
}

Array lineDictionaries(const LineItemArray& lines)
{
    return CNonVisualDataItem::detailsAsDictionaryArray(CNonVisualDataItem::ItemArray(lines.begin(), lines.end()));
}

std::string text(std::optional<std::string_view> value)
{
    return value ? std::string(*value) : std::string();
}

} // namespace

CTrnSItem::CTrnSItem() = default;

CTrnSItem::CTrnSItem(CNonVisual* transaction, const Ptr& parent) : CNonVisualDataItem(transaction, parent) {}

CTrnSItem::~CTrnSItem() = default;

CTransaction* CTrnSItem::transaction() const
{
    return static_cast<CTransaction*>(getSourceItem());
}

InvoiceHooks& CTrnSItem::invoiceHooks() const
{
    BridgeDocument* document = parentDocument();
    return document ? document->invoiceHooks() : NullInvoiceHooks::shared();
}

// --- notifications

void CTrnSItem::setParentDocument(BridgeDocument* document)
{
    CNonVisualDataItem::setParentDocument(document);
    followInvoice();
}

void CTrnSItem::followInvoice()
{
    mInvoiceSubscriptions.clear();
    BridgeDocument* document = parentDocument();
    if (!document || !mInvoiceExtension) return;
    std::weak_ptr<CNonVisualDataItem> weak = weak_from_this();
    for (std::string_view name : {kCustomerInvoiceDeletedNotification, kSupplierInvoiceDeletedNotification})
        mInvoiceSubscriptions.push_back(document->notificationCenter().subscribe(
            std::string(name), [this, weak](const Notification& notification) {
                // The subscription ends with the item; keep it alive while it runs.
                const std::shared_ptr<CNonVisualDataItem> keep = weak.lock();
                invoiceExtensionDeleted(notification);
            }));
}

void CTrnSItem::notifyChange()
{
    // Amounts and links moved: the cached unaccounted amounts of this
    // transaction and of the one it refers to no longer hold.
    linesChanged();
    postNotification("transactionChanged");
}

void CTrnSItem::linesChanged()
{
    mUnaccountedForAmount.reset();
    mAmountOfDebtNotYetReplenishedByUs.reset();
    if (const CTransaction* t = transaction()) forgetUnaccountedAmountOf(t->Get_mReferenceObjectId());
}

void CTrnSItem::forgetUnaccountedAmountOf(long transactionId) const
{
    BridgeDocument* document = parentDocument();
    if (!document || transactionId < 1 || transactionId == getId().value_or(-1)) return;
    if (std::shared_ptr<CTrnSItem> other = document->getTransactionForId(static_cast<ObjectIdT>(transactionId))) {
        other->setUnaccountedForAmount();
        other->setAmountOfDebtNotYetReplenishedByUs();
    }
}

void CTrnSItem::transactionWillBeDeleted(const Notification& notification)
{
    std::shared_ptr<CTrnSItem> payment = notification.objectAs<CTrnSItem>();
    if (!payment || payment.get() == this || !isBound()) return;
    if (payment->mReferenceObjectId() != getId()) return;
    if (const CTransaction* t = payment->transaction(); t && refersToItsShare(*t)) return;
    setUnaccountedForAmount();
    setAmountOfDebtNotYetReplenishedByUs();
    unlinkPayment(*payment);
}

void CTrnSItem::nullifyReferenceTransactionId(const Notification& notification)
{
    const std::int64_t* id = notification.objectId();
    const CTransaction* t = transaction();
    if (!id || !t || t->Get_mReferenceObjectId() != *id || refersToItsShare(*t)) return;
    setMReferenceObjectId(std::nullopt);
}

void CTrnSItem::unlinkLinkedTransactions()
{
    if (std::shared_ptr<GXInvoice> invoice = invoiceExtension()) {
        std::vector<long>& payments = invoice->paymentTransactionIdArray();
        BridgeDocument* document = parentDocument();
        const long ownId = getId().value_or(-1);
        // A payment relinked to another invoice since keeps that link.
        for (auto it = payments.rbegin(); document && it != payments.rend(); ++it)
            if (std::shared_ptr<CTrnSItem> payment = document->getTransactionForId(static_cast<ObjectIdT>(*it)))
                if (payment->mReferenceObjectId() == ownId) payment->setMReferenceObjectId(std::nullopt);
        payments.clear();
        setUnaccountedForAmount();
        return;
    }
    setUnaccountedForAmount();
    BridgeDocument* document = parentDocument();
    const std::optional<ObjectIdT> id = getId();
    if (document && id)
        document->notificationCenter().post("GXCReferenceTransactionIdShouldBeNullified", std::int64_t(*id));
}

std::function<void()> CTrnSItem::unlinkLinkedTransactionsLater()
{
    BridgeDocument* document = parentDocument();
    if (std::shared_ptr<GXInvoice> invoice = invoiceExtension()) {
        const long ownId = getId().value_or(-1);
        return [invoice, document, ownId] {
            std::vector<long>& payments = invoice->paymentTransactionIdArray();
            for (auto it = payments.rbegin(); document && it != payments.rend(); ++it)
                if (std::shared_ptr<CTrnSItem> payment = document->getTransactionForId(static_cast<ObjectIdT>(*it)))
                    if (payment->mReferenceObjectId() == ownId) payment->setMReferenceObjectId(std::nullopt);
            payments.clear();
        };
    }
    const std::optional<ObjectIdT> id = getId();
    return [document, id] {
        if (document && id)
            document->notificationCenter().post("GXCReferenceTransactionIdShouldBeNullified", std::int64_t(*id));
    };
}

// --- invoices

std::shared_ptr<GXInvoice> CTrnSItem::invoiceExtension()
{
    if (!isBound() || !isInvoiceType(mTransactionType())) return nullptr;
    if (!mInvoiceExtension) {
        mInvoiceExtension = invoiceHooks().invoiceExtension(*this);
        followInvoice();
    }
    return mInvoiceExtension;
}

void CTrnSItem::invoiceExtensionDeleted(const Notification& notification)
{
    std::shared_ptr<GXInvoice> invoice = notification.objectAs<GXInvoice>();
    if (!invoice || invoice != mInvoiceExtension) return;
    mInvoiceExtension.reset();
    mInvoiceSubscriptions.clear();
}

void CTrnSItem::unlinkPayment(CTrnSItem& payment)
{
    invoiceHooks().unlinkPayment(*this, payment);
}

bool CTrnSItem::linkPaymentToInvoice(CTrnSItem& payment)
{
    const bool linked = invoiceHooks().linkPaymentToInvoice(*this, payment);
    // A new payment changes what is left to pay.
    setUnaccountedForAmount();
    setAmountOfDebtNotYetReplenishedByUs();
    return linked;
}

std::optional<DateT> CTrnSItem::dueDate()
{
    return invoiceHooks().dueDate(*this);
}

std::optional<std::string> CTrnSItem::paymentReference()
{
    return invoiceHooks().paymentReference(*this);
}

// --- scalar properties

std::optional<long> CTrnSItem::mDate() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<long>(t->Get_mDate()) : std::nullopt;
}

void CTrnSItem::setMDate(std::optional<long> date)
{
    CTransaction* t = transaction();
    const auto value = static_cast<DateT>(date.value_or(0));
    if (!t || value == t->Get_mDate()) return;
    t->Put_mDate(value);
    announce("mDate");
    notifyChange();
}

std::string CTrnSItem::mDateAsString() const
{
    const CTransaction* t = transaction();
    return t ? CNSStringDateTBridge::dateTToNSString(t->Get_mDate()) : std::string();
}

std::string CTrnSItem::mDescription() const
{
    const CTransaction* t = transaction();
    return t ? t->Get_StringrefDesc() : std::string(kDeletedText);
}

void CTrnSItem::setMDescription(std::optional<std::string_view> description)
{
    CTransaction* t = transaction();
    if (!t) return;
    const std::string whole = text(description);
    char cDescription[kDescriptionSize] = {};
    CNSStringToCString::convertStringToDescriptionT(whole, cDescription);
    t->Put_mDescription(cDescription);
    t->Put_StringrefDesc(whole);
    announce("mDescription");
}

std::string CTrnSItem::namePlusDescription() const
{
    if (!isBound()) return std::string(kDeletedText);
    const std::string description = mDescription();
    return description.empty() ? getName() : getName() + "\n" + description;
}

std::string CTrnSItem::fullDescription() const
{
    const CTransaction* t = transaction();
    if (!t) return std::string(kDeletedText);
    return namePlusDescription() + "\n" + mDateAsString() + "\n\n" + t->Get_FullDescription();
}

std::string CTrnSItem::fullDetails() const
{
    return namePlusDescription();
}

std::optional<double> CTrnSItem::mTotalAmount() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<double>(t->Get_mTotalAmount()) : std::nullopt;
}

void CTrnSItem::setMTotalAmount(std::optional<double> amount)
{
    CTransaction* t = transaction();
    if (!t || !amount || *amount == t->Get_mTotalAmount()) return;
    t->Put_mTotalAmount(*amount);
    announce("mTotalAmount");
    notifyChange();
}

std::optional<double> CTrnSItem::mLocalAmount() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<double>(t->Get_mLocalAmount()) : std::nullopt;
}

void CTrnSItem::setMLocalAmount(std::optional<double> amount)
{
    CTransaction* t = transaction();
    if (!t || !amount || *amount == t->Get_mLocalAmount()) return;
    t->Put_mLocalAmount(*amount);
    announce("mLocalAmount");
    notifyChange();
}

std::string CTrnSItem::ForeignAmountAsString() const
{
    const CTransaction* t = transaction();
    return t ? CNSNumberAmountTBridge::NSNumberToNSString(t->Get_mTotalAmount()) : std::string("0.00");
}

std::string CTrnSItem::LocalAmountAsString() const
{
    const CTransaction* t = transaction();
    return t ? CNSNumberAmountTBridge::NSNumberToNSString(t->Get_mLocalAmount()) : std::string("0.00");
}

std::optional<long> CTrnSItem::mCurrencyId() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<long>(t->Get_mCurrencyId()) : std::nullopt;
}

void CTrnSItem::setMCurrencyId(std::optional<long> currencyId)
{
    CTransaction* t = transaction();
    if (!t || !currencyId || *currencyId == t->Get_mCurrencyId()) return;
    t->Put_mCurrencyId(static_cast<ObjectIdT>(*currencyId), nullptr);
    announce("mCurrencyId");
    notifyChange();
}

std::shared_ptr<CCurRItem> CTrnSItem::mCurrencyPtr() const
{
    CTransaction* t = transaction();
    return itemOf(t ? t->Get_mCurrencyPtr() : nullptr, registry(),
                  &CNonVisualDataItemController::currencyItemForCurrency);
}

std::string CTrnSItem::mCurrencyName() const
{
    std::shared_ptr<CCurRItem> currency = mCurrencyPtr();
    return currency ? currency->mShortName() : std::string();
}

std::optional<long> CTrnSItem::mDocumentId() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<long>(t->Get_mDocumentId()) : std::nullopt;
}

void CTrnSItem::setMDocumentId(std::optional<long> id)
{
    CTransaction* t = transaction();
    if (!t) return;
    t->Put_mDocumentId(static_cast<ObjectIdT>(id.value_or(0)));
    announce("mDocumentId");
}

bool CTrnSItem::mbApproved() const
{
    const CTransaction* t = transaction();
    return t && t->Get_mb_Approved();
}

void CTrnSItem::setMbApproved(bool approved)
{
    if (CTransaction* t = transaction()) t->Put_mb_Approved(approved);
    announce("mbApproved");
}

bool CTrnSItem::mbBudgetOneOff() const
{
    const CTransaction* t = transaction();
    return t && t->Get_mb_budgetOneOff();
}

void CTrnSItem::setMbBudgetOneOff(bool oneOff)
{
    if (CTransaction* t = transaction()) t->Put_mb_budgetOneOff(oneOff);
    announce("mbBudgetOneOff");
}

std::optional<std::string> CTrnSItem::mVatNR() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<std::string>(t->Get_CFVATNr()) : std::nullopt;
}

void CTrnSItem::setMVatNR(std::optional<std::string_view> number)
{
    if (CTransaction* t = transaction()) t->Put_CFVATNr(number.value_or(std::string_view()));
    announce("mVatNR");
}

std::optional<std::string> CTrnSItem::mDocumentRef() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<std::string>(t->Get_CFDocumentReference()) : std::nullopt;
}

void CTrnSItem::setMDocumentRef(std::optional<std::string_view> reference)
{
    if (CTransaction* t = transaction()) t->Put_CFDocumentReference(reference.value_or(std::string_view()));
    announce("mDocumentRef");
}

std::optional<std::string> CTrnSItem::externalReference() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<std::string>(t->Get_CFExternalReference()) : std::nullopt;
}

void CTrnSItem::setExternalReferene(std::optional<std::string_view> reference)
{
    if (CTransaction* t = transaction()) t->Put_CFExternalReference(reference.value_or(std::string_view()));
    announce("externalReference");
}

int CTrnSItem::mTransactionType() const
{
    const CTransaction* t = transaction();
    return t ? t->Get_mTransactionType() : transaction_type::kOther;
}

void CTrnSItem::setMTransactionType(int type)
{
    if (CTransaction* t = transaction()) t->Put_mTransactionType(static_cast<TransactionTypeT>(type));
    mInvoiceExtension.reset();
    mInvoiceSubscriptions.clear();
    announce("mTransactionType");
}

std::optional<int> CTrnSItem::mSpecialTypeT() const
{
    const CTransaction* t = transaction();
    return t ? std::optional<int>(t->Get_mSpecialTypeT()) : std::nullopt;
}

void CTrnSItem::setMSpecialTypeT(int type)
{
    if (CTransaction* t = transaction()) t->Put_mSpecialTypeT(static_cast<SpecialTypeT>(type));
    announce("mSpecialTypeT");
}

std::optional<long> CTrnSItem::mReferenceObjectId() const
{
    const CTransaction* t = transaction();
    return t ? t->Get_mReferenceObjectId() : -1;
}

void CTrnSItem::setMReferenceObjectId(std::optional<long> id)
{
    CTransaction* t = transaction();
    if (!t) return;
    const long stored = t->Get_mReferenceObjectId();
    const long value = id.value_or(0);
    if (value != stored) {
        t->Put_mReferenceObjectId(static_cast<ObjectIdT>(value));
        // Both the invoice it left and the one it joined have other figures now.
        forgetUnaccountedAmountOf(stored);
    } else if (!id) {
        t->Put_mReferenceObjectId(-1);
    } else {
        return;
    }
    announce("mReferenceObjectId");
    notifyChange();
}

std::shared_ptr<CDebetItem> CTrnSItem::lineItem(CNonVisual* line) const
{
    return itemOf(line, registry(), &CNonVisualDataItemController::debetItemForTransactionDetail);
}

LineItemArray CTrnSItem::lineItems(const CNamedListArray* list) const
{
    return itemsOfList(list, registry(), &CNonVisualDataItemController::debetItemForTransactionDetail);
}

LineItemArray CTrnSItem::mFromList() const
{
    const CTransaction* t = transaction();
    return t ? lineItems(t->GetDebitList()) : LineItemArray();
}

LineItemArray CTrnSItem::mToList() const
{
    const CTransaction* t = transaction();
    return t ? lineItems(t->GetCreditList()) : LineItemArray();
}

LineItemArray CTrnSItem::mForList() const
{
    const CTransaction* t = transaction();
    return t ? lineItems(t->GetExpenseTypeList()) : LineItemArray();
}

std::optional<Colour> CTrnSItem::sureColor() const
{
    const CTransaction* t = transaction();
    if (!t) return std::nullopt;
    if (t->IsCompletelyPositive()) return getGreenColor();
    if (t->IsCompletelyNegative()) return getRedColor();
    return Colour::black();
}

std::optional<int> CTrnSItem::investmentQuantity() const
{
    CTransaction* t = transaction();
    if (!t) return std::nullopt;
    auto* share = theBaseShare ? static_cast<CCurrency*>(theBaseShare) : t->Get_mCurrencyPtr();
    double invested = 0.0, costs = 0.0, zeroLinesBalance = 0.0;
    std::int32_t shares = 0;
    t->Get_Investment(share, invested, costs, shares, zeroLinesBalance, 0, 0);
    return shares;
}

bool CTrnSItem::isVATBalancingTransaction() const
{
    const CTransaction* t = transaction();
    return t && t->isVATBalancingTransaction();
}

bool CTrnSItem::isBlocked() const
{
    const CTransaction* t = transaction();
    if (!t || t->Get_ObjectStatus() == status::kBlocked) return true;
    return isOnModifiedForeignCurrency();
}

bool CTrnSItem::isUnlinked() const
{
    const CTransaction* t = transaction();
    return t && t->Get_ObjectStatus() == status::kUnlinked;
}

bool CTrnSItem::isOnModifiedForeignCurrency() const
{
    const CTransaction* t = transaction();
    if (!t || t->Get_ObjectStatus() == status::kUnlinked) return false;
    return t->IsOnModifiedForeignCurrency();
}

// --- linked payments

std::optional<double> CTrnSItem::amountNotCoveredByLinkedTransactions(bool debtSide)
{
    std::optional<double>& cache = debtSide ? mAmountOfDebtNotYetReplenishedByUs : mUnaccountedForAmount;
    if (cache) return cache;
    const CTransaction* t = transaction();
    if (!t) return std::nullopt;
    const std::shared_ptr<CDebetItem> main = getMostImportantDebetItem(debtSide ? mFromList() : mToList());
    if (!main) return t->Get_mLocalAmount();

    const double base = main->getLocalAmount().value_or(0.0);
    const long ownId = getId().value_or(-1);
    double sum = 0.0;
    int invoices = 0;
    bool linked = false;
    // The lines on the same account whose transactions refer to this one;
    // read from the model, so that an account of many lines stays cheap.
    CNonVisual* object = main->accountObject();
    if (object && object->Get_ObjectType() == type::kAccount) {
        const auto* account = static_cast<const CAccount*>(object);
        const CNamedListArray* lines = debtSide ? account->Get_mCreditList() : account->Get_mDebitlist();
        for (ArrayIndexT i = 1; lines && i <= static_cast<ArrayIndexT>(lines->GetCount()); ++i) {
            const auto* line = static_cast<const CDebit*>(lines->ObjectAt(i));
            const CTransaction* other = line ? line->Get_mTransactionPtr() : nullptr;
            if (!other || other->Get_mReferenceObjectId() != ownId) continue;
            linked = true;
            sum += line->Get_mLocalAmount();
            if (isInvoiceType(other->Get_mTransactionType())) ++invoices;
        }
    }
    double result = kNoLinkedTransactionMarker;
    if (linked && sum != 0.0) result = invoices > 0 ? kCreditNoteLinkedMarker : base - sum;
    cache = result;
    return result;
}

void CTrnSItem::setAmountNotCoveredByLinkedTransactions(bool debtSide)
{
    (debtSide ? mAmountOfDebtNotYetReplenishedByUs : mUnaccountedForAmount).reset();
    announceDisplayState(debtSide ? "amountOfDebtNotYetReplenishedByUs" : "unaccountedForAmount");
}

bool CTrnSItem::isPaid()
{
    // Within half a cent, ends included (the tolerance absorbs the binary
    // remainder of an amount such as 10.005 - 10).
    const std::optional<double> amount = unaccountedForAmount();
    return amount && std::fabs(*amount) <= 0.005 + 1e-9;
}

bool CTrnSItem::hasPayments()
{
    const std::optional<double> amount = unaccountedForAmount();
    return amount && *amount != kNoLinkedTransactionMarker;
}

std::optional<long> CTrnSItem::isLinkedToTransactionAsPayment()
{
    const std::optional<long> reference = mReferenceObjectId();
    if (!reference || *reference < 1) return std::nullopt;
    if (isInvoiceType(mTransactionType())) return -2;
    return reference;
}

// --- lines by row

bool CTrnSItem::setFromAccountId(long accountId, int row)
{
    CTransaction* t = transaction();
    CDebit* line = t ? lineAt(t->GetDebitList(), row) : nullptr;
    if (!line) return false;
    t->Set_Debit_Account(line, static_cast<ObjectIdT>(accountId));
    announce("mFromList");
    return true;
}

bool CTrnSItem::setToAccountId(long accountId, int row)
{
    CTransaction* t = transaction();
    CDebit* line = t ? lineAt(t->GetCreditList(), row) : nullptr;
    if (!line) return false;
    t->Set_Credit_Account(static_cast<CCredit*>(line), static_cast<ObjectIdT>(accountId));
    announce("mToList");
    return true;
}

bool CTrnSItem::setExpenseTypeId(long categoryId, int row)
{
    CTransaction* t = transaction();
    CDebit* line = t ? lineAt(t->GetExpenseTypeList(), row) : nullptr;
    if (!line) return false;
    t->Set_ExpenseType_Account(static_cast<CExptypeDetail*>(line), static_cast<ObjectIdT>(categoryId));
    announce("mForList");
    return true;
}

namespace {

bool setCurrencyInRow(CTransaction* t, FourCharCode lineType, long currencyId, int row)
{
    CDebit* line = t ? lineAt(listOfType(*t, lineType), row) : nullptr;
    if (!line) return false;
    const CDocAccounting* root = t->Get_Document();
    CCurrency* currency = root ? root->GetCurrencyForId(static_cast<ObjectIdT>(currencyId)) : nullptr;
    setLineCurrency(*t, line, currencyId, currency);
    return true;
}

} // namespace

bool CTrnSItem::setFromCurrencyId(long currencyId, int row)
{
    const bool set = setCurrencyInRow(transaction(), type::kDebit, currencyId, row);
    if (set) announce("mFromList");
    return set;
}

bool CTrnSItem::setToCurrencyId(long currencyId, int row)
{
    const bool set = setCurrencyInRow(transaction(), type::kCredit, currencyId, row);
    if (set) announce("mToList");
    return set;
}

bool CTrnSItem::setForCurrencyId(long currencyId, int row)
{
    const bool set = setCurrencyInRow(transaction(), type::kExpenseTypeDetail, currencyId, row);
    if (set) announce("mForList");
    return set;
}

bool CTrnSItem::setFromAccount(const CNonVisualDataItem& account, int row)
{
    return setFromAccountId(account.getId().value_or(0), row);
}

bool CTrnSItem::setToAccount(const CNonVisualDataItem& account, int row)
{
    return setToAccountId(account.getId().value_or(0), row);
}

bool CTrnSItem::setExpenseType(const CNonVisualDataItem& category, int row)
{
    return setExpenseTypeId(category.getId().value_or(0), row);
}

void CTrnSItem::balanceDebet(int index)
{
    CTransaction* t = transaction();
    if (CDebit* line = t ? lineAt(t->GetDebitList(), index + 1) : nullptr) t->BalanceDebit(line);
}

void CTrnSItem::balanceCredit(int index)
{
    CTransaction* t = transaction();
    if (CDebit* line = t ? lineAt(t->GetCreditList(), index + 1) : nullptr)
        t->BalanceCredit(static_cast<CCredit*>(line));
}

void CTrnSItem::balanceExpTypeDetail(int index)
{
    CTransaction* t = transaction();
    if (CDebit* line = t ? lineAt(t->GetExpenseTypeList(), index + 1) : nullptr)
        t->BalanceExpenseType(static_cast<CExptypeDetail*>(line));
}

void CTrnSItem::balanceExpenseTypes()
{
    if (CTransaction* t = transaction()) t->BalanceExpenseTypes();
}

bool CTrnSItem::validate()
{
    CTransaction* t = transaction();
    return t && t->Validate();
}

namespace {

const CPreference* settingsOf(const CTransaction* t)
{
    const CDocAccounting* root = t ? t->Get_Document() : nullptr;
    return root ? root->mPreference : nullptr;
}

} // namespace

bool CTrnSItem::setInitialFromAccount(const CAcnTItem& account)
{
    const bool placed = setFromAccount(account, 1);
    const CPreference* settings = settingsOf(transaction());
    if (settings && (account.isProperty() || account.isDebt())) {
        setToAccountId(settings->Get_mDefAccntUnspecifiedExpense(), 1);
        setExpenseTypeId(settings->Get_mDefExpTUnspecifiedExpense(), 1);
    }
    return placed;
}

bool CTrnSItem::setInitialToAccount(const CAcnTItem& account)
{
    const bool placed = setToAccount(account, 1);
    const CPreference* settings = settingsOf(transaction());
    if (settings && (account.isProperty() || account.isDebt())) {
        setFromAccountId(settings->Get_mDefAccntUnspecifiedIncome(), 1);
        setExpenseTypeId(settings->Get_mDefExpTUnspecifiedIncome(), 1);
    }
    return placed;
}

bool CTrnSItem::setInitialExpenseType(const CExpTItem& category)
{
    const bool placed = setExpenseType(category, 1);
    const CPreference* settings = settingsOf(transaction());
    if (!settings) return placed;
    if (category.isIncome().value_or(false)) {
        setFromAccountId(settings->Get_mDefAccntUnspecifiedIncome(), 1);
        setToAccountId(settings->Get_mDefAccntOwnProperty(), 1);
    } else if (category.isExpense().value_or(false)) {
        setFromAccountId(settings->Get_mDefAccntOwnProperty(), 1);
        setToAccountId(settings->Get_mDefAccntUnspecifiedExpense(), 1);
    }
    return placed;
}

// --- adding and removing lines

std::shared_ptr<CDebetItem> CTrnSItem::addDetailWithType(FourCharCode lineType)
{
    CTransaction* t = transaction();
    CDebit* line = t ? addLine(*t, lineType) : nullptr;
    if (!line) return nullptr;
    linesChanged();
    announce(listKeyFor(lineType));
    return lineItem(line);
}

bool CTrnSItem::addDetailAsCopyOfItem(const CDebetItem& source)
{
    CTransaction* t = transaction();
    const auto* sourceLine = static_cast<const CDebit*>(source.getSourceItem());
    if (!t || !sourceLine) return false;
    CDebit* line = addLine(*t, sourceLine->Get_ObjectType());
    if (!line) return false;
    setLineAccount(*t, line, sourceLine->Get_mAccountId());
    setLineCurrency(*t, line, sourceLine->Get_mCurrency(), sourceLine->Get_mCurrencyptr());
    setLineAmount(*t, line, sourceLine->Get_mAmount());
    // The copy counts what the line was booked at: a rate given since for its
    // day, a home-currency change's cent or a remainder booked in the home
    // currency alone would otherwise make the copy balance differently.
    if (line->Get_mLocalAmount() != sourceLine->Get_mLocalAmount())
        line->Put_mAmounts(sourceLine->Get_mLocalAmount(), line->Get_mAmount());
    linesChanged();
    announce(listKeyFor(line->Get_ObjectType()));
    return true;
}

bool CTrnSItem::addDetailAsCopyOfDictionary(const Dictionary& dictionary)
{
    CTransaction* t = transaction();
    if (!t) return true;
    const std::string typeText = dictionary[kPropertyObjectType].toString();
    if (typeText.size() != 4) return true;
    CDebit* line = addLine(*t, fourCCFromString(typeText));
    if (!line) return true;
    setLineAccount(*t, line, dictionary[line_key::kAccountId].toInt());
    // The model finds the currency by its id.
    setLineCurrency(*t, line, dictionary[line_key::kCurrencyId].toInt(), nullptr);
    setLineAmount(*t, line, amountOf(dictionary[line_key::kAmount]));
    takeHomeAmountOnly(*line, dictionary);
    linesChanged();
    announce(listKeyFor(line->Get_ObjectType()));
    return true;
}

bool CTrnSItem::removeDetail(const CDebetItem& item)
{
    CTransaction* t = transaction();
    auto* line = static_cast<CDebit*>(item.getSourceItem());
    if (!t || !line) return false;
    const FourCharCode lineType = line->Get_ObjectType();
    const char* notificationName = deletedNotificationFor(lineType);
    if (!notificationName) return false;
    // The key must be taken while the line still exists.
    const std::string key = line->CalculateKey();
    bool deleted = false;
    switch (lineType) {
    case type::kCredit: deleted = t->Delete_Credit(static_cast<CCredit*>(line)); break;
    case type::kExpenseTypeDetail: deleted = t->Delete_ExpenseType(static_cast<CExptypeDetail*>(line)); break;
    default: deleted = t->Delete_Debit(line); break;
    }
    if (!deleted) return false;
    if (BridgeDocument* document = parentDocument()) document->notificationCenter().post(notificationName, key);
    linesChanged();
    announce(listKeyFor(lineType));
    return true;
}

// --- copying

bool CTrnSItem::setEqualToTransaction(CTrnSItem& other)
{
    if (&other == this) return true;
    if (!isBound() || !other.isBound()) return false;
    setGetName(other.getName());
    setMDescription(other.mDescription());
    setMDate(other.mDate());
    setMVatNR(other.mVatNR());
    setMTotalAmount(other.mTotalAmount());
    setMDocumentRef(other.mDocumentRef());
    setMCurrencyId(other.mCurrencyId());
    setMDocumentId(other.mDocumentId());
    setMTransactionType(other.mTransactionType());
    setMbApproved(other.mbApproved());
    setMbBudgetOneOff(other.mbBudgetOneOff());
    setMSpecialTypeT(other.mSpecialTypeT().value_or(special_type::kDefault));
    updateDetails(mFromList(), other.mFromList());
    updateDetails(mToList(), other.mToList());
    updateDetails(mForList(), other.mForList());
    // As its lines, the copy's total counts what was booked.
    setMLocalAmount(other.mLocalAmount());
    return true;
}

bool CTrnSItem::setEqualToSimpleTransactionArguments(const SimpleTransactionArguments& arguments)
{
    CTransaction* t = transaction();
    if (!t) return false;
    setGetName(arguments.name);
    setMDescription(arguments.description);
    if (arguments.date) setMDate(arguments.date);
    setMTotalAmount(arguments.absoluteAmount);
    setMTransactionType(transaction_type::kOther);
    setMbApproved(true);
    setMbBudgetOneOff(false);
    setMSpecialTypeT(special_type::kDefault);
    // Each list's first line (row 1) takes the entry.
    if (CDebit* line = lineAt(t->GetDebitList(), 1)) {
        setLineAccount(*t, line, arguments.fromAccountId);
        setLineAmount(*t, line, arguments.absoluteAmount);
    }
    if (CDebit* line = lineAt(t->GetCreditList(), 1)) {
        setLineAccount(*t, line, arguments.toAccountId);
        setLineAmount(*t, line, arguments.absoluteAmount);
    }
    if (CDebit* line = lineAt(t->GetExpenseTypeList(), 1)) {
        setLineAccount(*t, line, arguments.category);
        setLineAmount(*t, line, arguments.categoryAmount);
    }
    linesChanged();
    setMFromList();
    setMToList();
    setMForList();
    return true;
}

bool CTrnSItem::updateDetails(const LineItemArray& oldLines, const LineItemArray& newLines)
{
    CTransaction* t = transaction();
    if (!t) return false;
    // A blocked transaction refuses to lose lines: adding the new ones first
    // would then leave both sets and double the amounts.
    if (t->Get_ObjectStatus() == status::kBlocked) {
        CErrorManager::RaiseError(kBlockedError);
        return false;
    }
    for (const std::shared_ptr<CDebetItem>& line : newLines)
        if (line) addDetailAsCopyOfItem(*line);
    for (const std::shared_ptr<CDebetItem>& line : oldLines)
        if (line) removeDetail(*line);
    return true;
}

bool CTrnSItem::updateDetailsWithDictionaries(const LineItemArray& oldLines, const Array* dictionaries,
                                              bool redated)
{
    CTransaction* t = transaction();
    if (!t || !dictionaries || dictionaries->empty()) return false;
    if (t->Get_ObjectStatus() == status::kBlocked) {
        CErrorManager::RaiseError(kBlockedError);
        return false;
    }
    // Surplus lines go from the end; each is tried once, so a refusal (the
    // last line of a list) cannot make this loop forever.
    for (std::size_t i = oldLines.size(); i > dictionaries->size(); --i)
        if (oldLines[i - 1]) removeDetail(*oldLines[i - 1]);
    for (std::size_t i = 0; i < dictionaries->size(); ++i) {
        const Dictionary* dictionary = (*dictionaries)[i].asDictionary();
        if (!dictionary) continue;
        if (i < oldLines.size() && oldLines[i] && oldLines[i]->getSourceItem())
            oldLines[i]->updateFromDictionary(*dictionary, redated);
        else
            addDetailAsCopyOfDictionary(*dictionary);
    }
    return true;
}

void CTrnSItem::applyFactor(double factor)
{
    const std::optional<double> total = mTotalAmount();
    if (!total) return;
    // Money is booked in whole cents: a fraction would be added up in
    // another order, and round the other way, when the books are read again.
    setMTotalAmount(CCurrency::RoundAmount(*total * factor));
    const LineItemArray categoryLines = mForList();
    if (categoryLines.size() < 2) return;
    // Each line is scaled in its own currency, so a foreign line keeps its rate.
    for (const std::shared_ptr<CDebetItem>& line : categoryLines)
        if (line) line->setGetForeignAmount(CCurrency::RoundAmount(line->getForeignAmount().value_or(0.0) * factor));
    categoryLinesTakeRoundingCent();
}

bool CTrnSItem::categoryLinesTakeRoundingCent()
{
    CTransaction* t = transaction();
    return t && CategoryLinesTakeConversionCent(*t);
}

// --- dictionary form

Dictionary CTrnSItem::dictionaryRepresentation() const
{
    namespace key = transaction_key;
    Dictionary dictionary = CNonVisualDataItem::dictionaryRepresentation();
    const CTransaction* t = transaction();
    dictionary.set(std::string(key::kDate), static_cast<long>(mDate().value_or(0)));
    dictionary.set(std::string(key::kName), getName());
    if (t) dictionary.set(std::string(key::kDescription), mDescription());
    dictionary.set(std::string(key::kCurrencyId), static_cast<int>(mCurrencyId().value_or(0)));
    dictionary.set(std::string(key::kCurrencySymbol), mCurrencyName());
    dictionary.set(std::string(key::kAmount), mTotalAmount().value_or(0.0));
    if (std::optional<std::string> reference = mDocumentRef())
        dictionary.set(std::string(key::kDocumentReference), *reference);
    if (t) dictionary.set(std::string(key::kIsApproved), mbApproved());
    if (std::optional<std::string> number = mVatNR()) dictionary.set(std::string(key::kVATNr), *number);
    dictionary.set(std::string(key::kBudgetOneOff), mbBudgetOneOff());
    dictionary.set(std::string(key::kReferenceObjectId), mReferenceObjectId().value_or(-1));
    if (std::optional<int> special = mSpecialTypeT()) dictionary.set(std::string(key::kSpecialType), *special);
    if (std::optional<long> document = mDocumentId()) dictionary.set(std::string(key::kDocumentId), *document);
    dictionary.set(std::string(key::kTransactionType), mTransactionType());
    dictionary.set(std::string(key::kFromList), lineDictionaries(mFromList()));
    dictionary.set(std::string(key::kToList), lineDictionaries(mToList()));
    dictionary.set(std::string(key::kForList), lineDictionaries(mForList()));
    return dictionary;
}

bool CTrnSItem::initWithDictionaryRepresentation(const Dictionary& dictionary)
{
    return readDictionary(dictionary, false);
}

bool CTrnSItem::initAsNewBookingFromDictionary(const Dictionary& dictionary)
{
    return readDictionary(dictionary, true);
}

bool CTrnSItem::readDictionary(const Dictionary& dictionary, bool convertAgain)
{
    namespace key = transaction_key;
    if (!transaction()) return false;
    // Every scalar is read leniently: after a journal replay they are texts.
    if (const Value* name = dictionary.find(key::kName); name && !name->isAbsent()) setGetName(name->toString());
    if (const Value* description = dictionary.find(key::kDescription))
        setMDescription(description->toString());
    const bool redated = convertAgain || dictionary[key::kDate].toInt() != mDate().value_or(0);
    setMDate(dictionary[key::kDate].toInt());
    if (const Value* number = dictionary.find(key::kVATNr)) setMVatNR(number->toString());
    if (const Value* amount = dictionary.find(key::kAmount)) setMTotalAmount(amountOf(*amount));
    if (const Value* reference = dictionary.find(key::kDocumentReference)) setMDocumentRef(reference->toString());
    setMCurrencyId(dictionary[key::kCurrencyId].toInt());
    setMbApproved(dictionary[key::kIsApproved].toBool());
    setMbBudgetOneOff(dictionary[key::kBudgetOneOff].toBool());
    if (const Value* reference = dictionary.find(key::kReferenceObjectId))
        setMReferenceObjectId(reference->toLong());
    setMSpecialTypeT(dictionary[key::kSpecialType].toInt());
    setMTransactionType(dictionary[key::kTransactionType].toInt());
    if (const Value* document = dictionary.find(key::kDocumentId)) setMDocumentId(document->toLong());
    updateDetailsWithDictionaries(mFromList(), dictionary[key::kFromList].asArray(), redated);
    updateDetailsWithDictionaries(mToList(), dictionary[key::kToList].asArray(), redated);
    updateDetailsWithDictionaries(mForList(), dictionary[key::kForList].asArray(), redated);
    return true;
}

bool CTrnSItem::updateWithDictionaryRepresentation(const Dictionary& dictionary)
{
    initWithDictionaryRepresentation(dictionary);
    return true;
}

// --- search and export

bool CTrnSItem::matches(std::string_view searchText) const
{
    const CTransaction* t = transaction();
    if (t) return transactionMatches(*t, searchText, CNSNumberAmountTBridge::NSStringToNSNumber(searchText));
    return containsCaseInsensitive(namePlusDescription(), searchText);
}

bool CTrnSItem::transactionMatches(const CTransaction& t, std::string_view searchText, double number)
{
    if (number != 0.0 && std::isfinite(number)) {
        if (static_cast<double>(t.Get_Id()) == number) return true;
        if (sameAmount(t.Get_mTotalAmount(), number)) return true;
    }
    // The stored text as it is; only a name kept in the old encoding is
    // converted (a search reads every transaction).
    const std::string& unicodeName = t.Get_StringrefName();
    const std::string converted = unicodeName.empty()
                                      ? unicodeOrMacRoman(t, &CNonVisual::Get_StringrefName, &CNonVisual::Get_Name)
                                      : std::string();
    const std::string& name = unicodeName.empty() ? converted : unicodeName;
    const std::string& description = t.Get_StringrefDesc();
    if (searchText.find('\n') == std::string_view::npos) {
        // Name and description are searched as the one text they make
        // (joined by a line break); a text without one lies in either.
        if (containsCaseInsensitive(name, searchText)) return true;
        if (!description.empty() && containsCaseInsensitive(description, searchText)) return true;
    } else if (containsCaseInsensitive(description.empty() ? name : name + "\n" + description, searchText)) {
        return true;
    }
    return containsCaseInsensitive(t.Get_CFDocumentReference(), searchText);
}

std::shared_ptr<CDebetItem> CTrnSItem::getMostImportantDebetItem(const LineItemArray& lines)
{
    std::shared_ptr<CDebetItem> best;
    double largest = -1.0;
    for (const std::shared_ptr<CDebetItem>& line : lines) {
        if (!line) continue;
        const double size = std::fabs(line->getLocalAmount().value_or(0.0));
        if (size > largest) {
            largest = size;
            best = line;
        }
    }
    return best;
}

std::string CTrnSItem::exportOtherDetailsAsTSV(const LineItemArray& lines, const CDebetItem* except,
                                               bool amountAsWell, bool asQif) const
{
    const CNonVisual* exceptLine = except ? except->getSourceItem() : nullptr;
    std::string result;
    for (const std::shared_ptr<CDebetItem>& line : lines) {
        if (!line || line.get() == except || (exceptLine && line->getSourceItem() == exceptLine)) continue;
        result += '\t';
        result += line->exportAsTSV(amountAsWell, asQif);
    }
    return result;
}

std::string CTrnSItem::exportAsTSV(const CDebetItem* given, bool asQif) const
{
    if (!isBound()) return std::string(kDeletedText);
    const LineItemArray from = mFromList();
    const LineItemArray to = mToList();
    const LineItemArray forList = mForList();
    const FourCharCode givenType = given ? given->getType() : 0;
    // The given line stands for its own list; the others show their main line.
    auto chosen = [&](const LineItemArray& list, FourCharCode listType) -> const CDebetItem* {
        if (given && givenType == listType) return given;
        return getMostImportantDebetItem(list).get();
    };
    const CDebetItem* fromLine = chosen(from, type::kDebit);
    const CDebetItem* toLine = chosen(to, type::kCredit);
    const CDebetItem* forLine = chosen(forList, type::kExpenseTypeDetail);
    const bool amountAsWell = given == nullptr;
    auto exported = [&](const CDebetItem* line) {
        return line ? line->exportAsTSV(amountAsWell, asQif) : std::string();
    };

    if (given) {
        if (givenType == type::kDebit) return exported(toLine) + "\t" + exported(forLine);
        if (givenType == type::kCredit) return exported(fromLine) + "\t" + exported(forLine);
        return exported(fromLine) + "\t" + exported(toLine);
    }
    std::string record = field(mDateAsString()) + "\t" + field(getName()) + "\t" + ForeignAmountAsString() +
                         "\t" + field(mCurrencyName()) + "\t" + LocalAmountAsString() + "\t" +
                         exported(fromLine) + "\t" + exported(toLine) + "\t" + exported(forLine);
    if (from.size() >= 2) record += exportOtherDetailsAsTSV(from, fromLine, true, asQif);
    if (to.size() >= 2) record += exportOtherDetailsAsTSV(to, toLine, true, asQif);
    if (forList.size() >= 2) record += exportOtherDetailsAsTSV(forList, forLine, true, asQif);
    return record;
}

} // namespace ch
