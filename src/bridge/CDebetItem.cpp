#include "bridge/CDebetItem.h"

#include <cmath>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "bridge/ItemsOfList.h"
#include "bridge/CTrnSItem.h"
#include "bridge/TextColours.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CNonvisualExaminator.h"
#include "model/CTransaction.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

CDebit* lineOf(const CNonVisualDataItem& item)
{
    return static_cast<CDebit*>(item.getSourceItem());
}

// A counterparty VAT number shorter than this is no number.
constexpr std::size_t kMinimumVATNumberLength = 6;
constexpr ObjectIdT kOwnCompanyOwnerId = 1;

} // namespace

void takeHomeAmountOnly(CDebit& line, const Dictionary& dictionary)
{
    const Value* local = dictionary.find(line_key::kLocalAmount);
    if (!local || line.Get_mAmount() != 0.0) return;
    const double amount = local->toDouble();
    if (std::isfinite(amount) && amount != line.Get_mLocalAmount()) line.Put_mAmounts(amount, 0.0);
}

CDebetItem::CDebetItem() = default;

// A line's name is its transaction's (getName): no kept copy.
CDebetItem::CDebetItem(CNonVisual* line, const Ptr& parent) : CNonVisualDataItem(line, parent, WithoutKeptName{}) {}

CDebetItem::~CDebetItem() = default;

// --- identity and texts

FourCharCode CDebetItem::getType() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_ObjectType() : type::kNone;
}

std::string CDebetItem::getName() const
{
    const CDebit* line = lineOf(*this);
    if (!line) return localized("DELETEDITEM");
    const CTransaction* transaction = line->Get_mTransactionPtr();
    if (transaction) return transaction->Get_StringrefName();
    char name[kNameSize] = {};
    line->Get_Name(name);
    return MacRomanToUnicode(name);
}

std::string CDebetItem::getDescription() const
{
    const CDebit* line = lineOf(*this);
    if (!line) return localized("DELETEDITEM");
    const CTransaction* transaction = line->Get_mTransactionPtr();
    return transaction ? transaction->Get_StringrefDesc() : std::string();
}

std::string CDebetItem::getAccountName() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_AccountName() : localized("DELETEDITEM");
}

std::string CDebetItem::getBankAccountNumber() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_BankAccountNumber() : localized("DELETEDITEM");
}

std::string CDebetItem::getBookingAccountNumber() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_BookingAccountNumber() : localized("DELETEDITEM");
}

std::string CDebetItem::getForeignCurrency() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_ForeingCurrency() : localized("DELETEDITEM");
}

std::string CDebetItem::getForeignCurrencyName() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_ForeingCurrencyName() : std::string();
}

std::string CDebetItem::getLocalCurrency() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_LocalCurrency() : std::string();
}

std::optional<long> CDebetItem::transactionDateAsNumber() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<long>(line->Get_mDate()) : std::nullopt;
}

DateT CDebetItem::getTransactionDate() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_mDate() : 0;
}

ObjectIdT CDebetItem::getTransactionId() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_mTransactionId() : -1;
}

std::string CDebetItem::transactionDateAsString() const
{
    const CDebit* line = lineOf(*this);
    return line ? CNSStringDateTBridge::dateTToNSString(line->Get_mDate()) : localized("DELETEDITEM");
}

std::shared_ptr<CTrnSItem> CDebetItem::transactionItem() const
{
    if (std::shared_ptr<CTrnSItem> item = parentTransaction()) return item;
    const CDebit* line = lineOf(*this);
    CTransaction* transaction = line ? line->Get_mTransactionPtr() : nullptr;
    return transaction ? std::make_shared<CTrnSItem>(transaction) : nullptr;
}

std::string CDebetItem::fullDescription() const
{
    std::shared_ptr<CTrnSItem> transaction = transactionItem();
    return transaction ? transaction->fullDescription() : localized("DELETEDITEM");
}

std::optional<long> CDebetItem::account() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<long>(line->Get_mAccountId()) : std::nullopt;
}

CNonVisual* CDebetItem::accountObject() const
{
    const CDebit* line = lineOf(*this);
    return line ? line->Get_mAccountPtr() : nullptr;
}

std::shared_ptr<CAcnTItem> CDebetItem::accountItem() const
{
    CNonVisual* object = accountObject();
    if (!object || object->Get_ObjectType() != type::kAccount) return nullptr;
    return itemOf(object, registry(), &CNonVisualDataItemController::accountItemForAccount);
}

std::optional<long> CDebetItem::currencyId() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<long>(line->Get_mCurrency()) : std::nullopt;
}

Colour CDebetItem::getAccountColor() const
{
    CNonVisual* object = accountObject();
    if (!object) return Colour::black();
    switch (object->Get_ObjectType()) {
    case type::kExpenseType:
        return itemOf(object, registry(), &CNonVisualDataItemController::categoryItemForCategory)->getColor();
    case type::kMasterExpenseType:
        return itemOf(object, registry(), &CNonVisualDataItemController::categoryTypeItemForCategoryType)->getColor();
    default:
        return Colour::black();
    }
}

// --- amounts

std::optional<double> CDebetItem::getAmount() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<double>(line->Get_Amount()) : std::nullopt;
}

std::optional<double> CDebetItem::getForeignAmount() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<double>(line->Get_mAmount()) : std::nullopt;
}

std::optional<double> CDebetItem::getLocalAmount() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<double>(line->Get_mLocalAmount()) : std::nullopt;
}

std::optional<double> CDebetItem::getLocalBalance() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<double>(line->Get_LocalBalance()) : std::nullopt;
}

std::optional<double> CDebetItem::getForeignBalance() const
{
    const CDebit* line = lineOf(*this);
    return line ? std::optional<double>(line->Get_ForeignBalance()) : std::nullopt;
}

std::string CDebetItem::LocalAmountAsString() const
{
    return CNSNumberAmountTBridge::NSNumberToNSString(getLocalAmount());
}

std::string CDebetItem::ForeignAmountAsString() const
{
    return CNSNumberAmountTBridge::NSNumberToNSString(getForeignAmount());
}

StyledText CDebetItem::LocalAmountAsFString() const
{
    return formatString(LocalAmountAsString());
}

StyledText CDebetItem::ForeignAmountAsFString() const
{
    return formatString(ForeignAmountAsString());
}

StyledText CDebetItem::formatString(std::string text) const
{
    StyledText styled;
    if (!isBound()) {
        styled.runs.push_back({std::move(text), std::nullopt, 0.0});
        return styled;
    }
    styled.runs.push_back({std::move(text), tableTextColor(), 0.0});
    styled.alignment = StyledText::Alignment::Right;
    return styled;
}

std::optional<double> CDebetItem::getCumulativeAmount() const
{
    return getLocalBalance();
}

void CDebetItem::setCumulativeAmount(std::optional<double> balance)
{
    CDebit* line = lineOf(*this);
    if (!line) return;
    line->Put_LocalBalance(balance.value_or(0.0));
    announceDisplayState("getCumulativeAmount");
}

// --- setters

void CDebetItem::setAccount(std::optional<long> accountId)
{
    CDebit* line = lineOf(*this);
    CTransaction* transaction = line ? line->Get_mTransactionPtr() : nullptr;
    if (!transaction || !accountId) return;
    const auto id = static_cast<ObjectIdT>(*accountId);
    switch (line->Get_ObjectType()) {
    case type::kCredit: transaction->Set_Credit_Account(static_cast<CCredit*>(line), id); break;
    case type::kExpenseTypeDetail: transaction->Set_ExpenseType_Account(static_cast<CExptypeDetail*>(line), id); break;
    case type::kDebit: transaction->Set_Debit_Account(line, id); break;
    default: return;
    }
    transactionLinesChanged();
    announce("account");
}

void CDebetItem::setAccountName(std::string_view name)
{
    CDebit* line = lineOf(*this);
    const CDocAccounting* root = line ? line->Get_Document() : nullptr;
    if (!root) return;
    const CNonVisual* found = nullptr;
    if (line->Get_ObjectType() == type::kExpenseTypeDetail) found = root->GetExpenseTypeForName(name);
    else found = root->GetAccountForName(name);
    if (found) setAccount(found->Get_Id());
}

void CDebetItem::setCurrencyId(std::optional<long> currencyId)
{
    CDebit* line = lineOf(*this);
    if (!line || !currencyId) return;
    line->Put_mCurrency(static_cast<ObjectIdT>(*currencyId), nullptr);
    transactionLinesChanged();
    announce("currencyId");
}

void CDebetItem::setCurrencyName(std::string_view name)
{
    CDebit* line = lineOf(*this);
    const CDocAccounting* root = line ? line->Get_Document() : nullptr;
    if (!root) return;
    if (const CCurrency* currency = root->GetCurrencyForDisplayName(name)) setCurrencyId(currency->Get_Id());
}

void CDebetItem::setGetForeignAmount(std::optional<double> amount)
{
    CDebit* line = lineOf(*this);
    if (!line || !amount) return;
    line->Put_mAmount(*amount, line->Get_mCurrencyptr());
    transactionLinesChanged();
    announce("getForeignAmount");
}

void CDebetItem::transactionLinesChanged() const
{
    // A sheet's own transaction is owed nothing and owes nothing; its lines
    // must not give it an item in the registry.
    if (!belongsToBooks()) return;
    if (std::shared_ptr<CTrnSItem> transaction = parentTransaction()) transaction->linesChanged();
}

bool CDebetItem::updateFromDetail(const CDebetItem& other)
{
    setAccount(other.account());
    setCurrencyId(other.currencyId());
    setGetForeignAmount(other.getForeignAmount());
    return true;
}

bool CDebetItem::updateFromDictionary(const Dictionary& dictionary, bool redated)
{
    // Values may be texts (a replayed journal); missing ones read as 0.
    const long accountId = dictionary[line_key::kAccountId].toInt();
    const long currency = dictionary[line_key::kCurrencyId].toInt();
    // What is no number of money reads as 0 rather than poisoning the balances.
    double amount = dictionary[line_key::kAmount].toDouble();
    if (!std::isfinite(amount)) amount = 0.0;
    // What was booked stays booked: converting the same amount again would
    // take a rate given since, whose correction already moved the balances.
    CDebit* line = lineOf(*this);
    if (line && !redated && line->Get_mAccountId() == accountId && line->Get_mCurrency() == currency &&
        line->Get_mAmount() == amount) {
        // A new transaction's first lines hold nothing on its default
        // accounts: a line of a home amount alone must still get it.
        takeHomeAmountOnly(*line, dictionary);
        return true;
    }
    setAccount(accountId);
    setCurrencyId(currency);
    setGetForeignAmount(amount);
    if (CDebit* changed = lineOf(*this)) takeHomeAmountOnly(*changed, dictionary);
    return true;
}

// --- the transaction

std::shared_ptr<CTrnSItem> CDebetItem::parentTransaction() const
{
    const CDebit* line = lineOf(*this);
    CNonVisualDataItemController* itemRegistry = registry();
    if (!line || !itemRegistry) return nullptr;
    CTransaction* transaction = line->Get_mTransactionPtr();
    if (!transaction) return nullptr;
    std::shared_ptr<CTrnSItem> cached = mParentTransaction.lock();
    if (cached && cached->getSourceItem() == transaction) return cached;
    cached = itemRegistry->transactionItemForTrnS(transaction);
    mParentTransaction = cached;
    return cached;
}

bool CDebetItem::belongsToBooks() const
{
    if (!CNonVisualDataItem::belongsToBooks()) return false;
    const CTransaction* transaction = lineOf(*this)->Get_mTransactionPtr();
    const CDocAccounting* books = transaction ? transaction->Get_Document() : nullptr;
    if (!books) return false;
    // A sheet's own transaction is in no list: it is made unlinked, and a
    // recurring one is never inserted. Both lists are short.
    const CNamedListArray* list = nullptr;
    if (transaction->Get_ObjectType() == type::kRecurring) list = books->mRecurringList.get();
    else if (transaction->Get_ObjectStatus() == status::kUnlinked) list = books->mUnlinkedList.get();
    else return true;
    return list && list->GetValueForId(transaction->Get_Id()) == transaction;
}

int CDebetItem::objectStatus() const
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction ? transaction->objectStatus() : 0;
}

void CDebetItem::setObjectStatus(int status)
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    if (!transaction) return;
    transaction->setObjectStatus(status);
    announce("objectStatus");
}

void CDebetItem::toggleStatus()
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    if (!transaction) return;
    transaction->toggleStatus();
    setObjectStatus(transaction->objectStatus());
}

void CDebetItem::toggleFlag()
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    if (!transaction) return;
    transaction->toggleFlag();
    setObjectStatus(transaction->objectStatus());
}

std::optional<long> CDebetItem::referenceObjectId() const
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction ? transaction->mReferenceObjectId() : -1;
}

void CDebetItem::setReferenceObjectId(std::optional<long> id)
{
    if (std::shared_ptr<CTrnSItem> transaction = parentTransaction()) transaction->setMReferenceObjectId(id);
    announce("referenceObjectId");
}

std::optional<double> CDebetItem::unaccountedForAmount()
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction ? transaction->unaccountedForAmount() : std::nullopt;
}

std::optional<double> CDebetItem::amountOfDebtNotYetReplenishedByUs()
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction ? transaction->amountOfDebtNotYetReplenishedByUs() : std::nullopt;
}

void CDebetItem::setUnaccountedForAmount()
{
    if (std::shared_ptr<CTrnSItem> transaction = parentTransaction()) transaction->setUnaccountedForAmount();
}

void CDebetItem::setAmountOfDebtNotYetReplenishedByUs()
{
    if (std::shared_ptr<CTrnSItem> transaction = parentTransaction())
        transaction->setAmountOfDebtNotYetReplenishedByUs();
}

std::optional<long> CDebetItem::isLinkedToTransactionAsPayment()
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction ? transaction->isLinkedToTransactionAsPayment() : std::nullopt;
}

bool CDebetItem::isLinkedToTransactionAsPaymentBoolReturn()
{
    const std::optional<long> link = isLinkedToTransactionAsPayment();
    return link && *link != 0;
}

std::optional<DateT> CDebetItem::dueDate()
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction ? transaction->dueDate() : std::nullopt;
}

std::optional<std::string> CDebetItem::paymentReference()
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction ? transaction->paymentReference() : std::nullopt;
}

bool CDebetItem::linkPaymentToInvoice(CTrnSItem& payment)
{
    std::shared_ptr<CTrnSItem> transaction = parentTransaction();
    return transaction && transaction->linkPaymentToInvoice(payment);
}

bool CDebetItem::isVATBalancingTransaction() const
{
    const CDebit* line = lineOf(*this);
    const CTransaction* transaction = line ? line->Get_mTransactionPtr() : nullptr;
    return transaction && transaction->isVATBalancingTransaction();
}

// --- classification

int CDebetItem::isOnPLAccount() const
{
    return profitAndLossCodeOf(isBound() ? accountObject() : nullptr);
}

int CDebetItem::profitAndLossCodeOf(const CNonVisual* object)
{
    if (CNonvisualExaminator::isProfitAndLossAccount(object)) return 4;
    if (CNonvisualExaminator::isPropertyAccount(object) || CNonvisualExaminator::isDebtAccount(object) ||
        CNonvisualExaminator::isIncome(object))
        return 1;
    if (CNonvisualExaminator::isExpense(object)) return 0;
    return 3;
}

Colour CDebetItem::tableTextColor() const
{
    const CNonVisual* object = isBound() ? accountObject() : nullptr;
    if (!object) return Colour::black();
    const bool ownOrDebt =
        CNonvisualExaminator::isPropertyAccount(object) || CNonvisualExaminator::isDebtAccount(object);
    const bool profitAndLoss = CNonvisualExaminator::isProfitAndLossAccount(object);
    switch (getType()) {
    case type::kCredit:
        if (ownOrDebt) return getGreenColor();
        return profitAndLoss ? getRedColor() : Colour::black();
    case type::kDebit:
        return ownOrDebt || profitAndLoss ? getRedColor() : Colour::black();
    case type::kExpenseTypeDetail: {
        const bool positive = getAmount().value_or(0.0) >= 0.0;
        if (CNonvisualExaminator::isIncome(object)) return positive ? getGreenColor() : getRedColor();
        if (CNonvisualExaminator::isExpense(object)) return positive ? getRedColor() : getGreenColor();
        return Colour::black();
    }
    default:
        return Colour::black();
    }
}

std::string CDebetItem::counterPartyVATId(bool& isOwnCompany) const
{
    isOwnCompany = false;
    std::shared_ptr<CTrnSItem> transaction = transactionItem();
    if (!transaction) return "Na";
    const std::string vatNumber = transaction->mVatNR().value_or(std::string());
    if (utf16Length(vatNumber) >= kMinimumVATNumberLength) return vatNumber;
    // Without a number of its own the counterparty is the owner of the
    // account the money went to (for category lines too).
    std::shared_ptr<CDebetItem> main = CTrnSItem::getMostImportantDebetItem(transaction->mToList());
    if (!main) return "Na";
    std::shared_ptr<CAcnTItem> account = main->accountItem();
    std::shared_ptr<CAcoWItem> owner = account ? account->accountOwner() : nullptr;
    if (!owner) return "Na";
    if (parentDocument() && owner->getId() == kOwnCompanyOwnerId) isOwnCompany = true;
    const std::string ownerNumber = owner->VATNr().value_or(std::string());
    return ownerNumber.empty() ? owner->getName() : ownerNumber;
}

// --- dictionary

Dictionary CDebetItem::dictionaryRepresentation() const
{
    Dictionary dictionary = CNonVisualDataItem::dictionaryRepresentation();
    const CDebit* line = lineOf(*this);
    dictionary.set(std::string(line_key::kAccountId), line ? line->Get_mAccountId() : 0);
    dictionary.set(std::string(line_key::kAccountName), getAccountName());
    dictionary.set(std::string(line_key::kCurrencyId), line ? line->Get_mCurrency() : 0);
    dictionary.set(std::string(line_key::kCurrencySymbol), getForeignCurrencyName());
    // The amount in the line's own currency, the currency named by
    // "CurrencyId": the readers store it so, and foreign lines must survive
    // a copy or a replay unchanged.
    dictionary.set(std::string(line_key::kAmount), line ? line->Get_mAmount() : 0.0);
    if (line && line->Get_mAmount() == 0.0 && line->Get_mLocalAmount() != 0.0)
        dictionary.set(std::string(line_key::kLocalAmount), line->Get_mLocalAmount());
    return dictionary;
}

// --- export

std::string CDebetItem::exportField(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

std::string CDebetItem::exportAsTSV(bool amountAsWell, bool) const
{
    // The QIF flag gives the same text.
    const FourCharCode lineType = getType();
    std::string accountText = exportField(getAccountName());
    if (lineType == type::kDebit || lineType == type::kCredit)
        accountText.append("\t").append(exportField(getBankAccountNumber())).append("\t").append(
            exportField(getBookingAccountNumber()));
    if (!amountAsWell) return accountText;
    const char* label = lineType == type::kDebit ? "FROM" : lineType == type::kCredit ? "TO" : "FOR";
    return std::string(label) + "\t" + accountText + "\t" + ForeignAmountAsString() + "\t" +
           exportField(getForeignCurrency());
}

std::string CDebetItem::exportItsTransactionAsTSV(bool asQif) const
{
    const CDebit* line = lineOf(*this);
    std::shared_ptr<CTrnSItem> transaction = transactionItem();
    if (!line || !transaction) return "-Deleted-";
    const FourCharCode lineType = line->Get_ObjectType();
    // A debit line takes money from the account: its amounts count negative.
    const double sign = lineType == type::kDebit ? -1.0 : 1.0;
    const bool onAccount = lineType == type::kDebit || lineType == type::kCredit;
    return exportField(transactionDateAsString()) + "\t" + exportField(getName()) + "\t" +
           CNSNumberAmountTBridge::NSNumberToNSString(sign * line->Get_mAmount()) + "\t" +
           exportField(getForeignCurrency()) + "\t" +
           CNSNumberAmountTBridge::NSNumberToNSString(sign * line->Get_mLocalAmount()) + "\t" +
           exportField(getAccountName()) + "\t" + (onAccount ? exportField(getBankAccountNumber()) : "") +
           "\t" + (onAccount ? exportField(getBookingAccountNumber()) : "") + "\t" +
           transaction->exportAsTSV(this, asQif);
}

} // namespace ch
