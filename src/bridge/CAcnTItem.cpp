#include "bridge/CAcnTItem.h"

#include <cmath>

#include "bridge/ArgumentRecords.h"
#include "bridge/BridgeDocument.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/GXDebetItemArrayFinalizer.h"
#include "bridge/ModelText.h"
#include "bridge/TextColours.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/foundation/AmountRounding.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CNSStringToCString.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

constexpr std::size_t kDescriptionCharacters = 254;

CAccount* accountOf(const CNonVisualDataItem& item)
{
    return static_cast<CAccount*>(item.getSourceItem());
}

std::optional<std::string> keepText(std::optional<std::string_view> text)
{
    return text ? std::optional<std::string>(std::string(*text)) : std::nullopt;
}

bool isEmpty(const std::optional<std::string>& text)
{
    return !text || text->empty();
}

} // namespace

CAcnTItem::CAcnTItem()
    : mDescription(std::string()), mAccountNumber(std::string()),
      mBankAccountNumber(std::string(kDefaultBankAccountNumber)), mFiscalPct(100.0)
{
}

CAcnTItem::CAcnTItem(CNonVisual* account, const Ptr& parent) : AccountAncestor(account, parent)
{
    if (account) return;
    mDescription = std::string();
    mAccountNumber = std::string();
    mBankAccountNumber = std::string(kDefaultBankAccountNumber);
    mFiscalPct = 100.0;
}

CAcnTItem::~CAcnTItem() = default;

// --- properties

std::string CAcnTItem::getNameOnly() const
{
    const CAccount* account = accountOf(*this);
    return account ? unicodeOrMacRoman(*account, &CAccount::Get_StringRefNameOnly, &CAccount::Get_NameOnly) : getName();
}

std::string CAcnTItem::getDescription() const
{
    const CAccount* account = accountOf(*this);
    if (!account) return mDescription.value_or(std::string());
    return unicodeOrMacRoman(*account, &CAccount::Get_StringrefDesc, &CAccount::Get_mDescription);
}

void CAcnTItem::setGetDescription(std::optional<std::string_view> text)
{
    if (!text) return;
    const std::string cut = truncateToUtf16Units(*text, kDescriptionCharacters);
    if (CAccount* account = accountOf(*this)) {
        char description[kDescriptionSize] = {};
        CNSStringToCString::convertStringToDescriptionT(cut, description);
        account->Put_mDescription(description);
        account->Put_StringrefDesc(cut);
    }
    if (mDescription != cut) mDescription = cut;
    announce("getDescription");
}

std::string CAcnTItem::getAccountNumber() const
{
    const CAccount* account = accountOf(*this);
    if (!account) return mAccountNumber.value_or(std::string());
    return unicodeOrMacRoman(*account, &CAccount::Get_StringRefAccountingNumber, &CAccount::Get_mAccountNumber);
}

void CAcnTItem::setGetAccountNumber(std::optional<std::string_view> text)
{
    if (CAccount* account = accountOf(*this)) {
        if (!text) {
            // Clearing clears the Unicode copy too: the getter prefers it.
            account->Put_mAccountNumber("");
            account->Put_StringRefAccountingNumber(std::string_view());
        } else {
            if (*text != getAccountNumber()) {
                char number[kNameSize] = {};
                CNSStringToCString::convertStringToNameT(*text, number);
                account->Put_mAccountNumber(number);
            }
            account->Put_StringRefAccountingNumber(*text);
        }
    }
    std::optional<std::string> kept = keepText(text);
    if (mAccountNumber != kept) mAccountNumber = std::move(kept);
    announce("getAccountNumber");
}

std::string CAcnTItem::getBankAccountNumber() const
{
    const CAccount* account = accountOf(*this);
    if (!account) return mBankAccountNumber.value_or(std::string());
    return unicodeOrMacRoman(*account, &CAccount::Get_StringRefBankAccountNumber, &CAccount::Get_mNumber);
}

void CAcnTItem::setGetBankAccountNumber(std::optional<std::string_view> text)
{
    if (CAccount* account = accountOf(*this)) {
        char number[CAccount::kBankNumberSize] = {};
        if (text) CNSStringToCString::convertStringToAccountNumberT(*text, number);
        account->Put_mNumber(number);
        account->Put_StringRefBankAccountNumber(text.value_or(std::string_view()));
    }
    std::optional<std::string> kept = keepText(text);
    if (mBankAccountNumber != kept) mBankAccountNumber = std::move(kept);
    announce("getBankAccountNumber");
}

std::optional<long> CAcnTItem::getAccountOwnerId() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<long>(account->Get_mAccountOwnerId()) : mAccountOwnerId;
}

void CAcnTItem::setGetAccountOwnerId(std::optional<long> ownerId)
{
    CAccount* account = accountOf(*this);
    if (account && ownerId) account->Put_mAccountOwnerId(static_cast<ObjectIdT>(*ownerId));
    if (mAccountOwnerId != ownerId) mAccountOwnerId = ownerId;
    announce("getAccountOwnerId");
}

std::optional<long> CAcnTItem::getAccountTypeId() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<long>(account->Get_mAccountTypeId()) : mAccountTypeId;
}

void CAcnTItem::setGetAccountTypeId(std::optional<long> typeId)
{
    CAccount* account = accountOf(*this);
    if (account && typeId && *typeId != account->Get_mAccountTypeId())
        account->Put_mAccountTypeId(static_cast<ObjectIdT>(*typeId), nullptr, true);
    if (mAccountTypeId != typeId) mAccountTypeId = typeId;
    announce("getAccountTypeId");
}

std::optional<long> CAcnTItem::getGroupingAccountId() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<long>(account->Get_mGroupingAccount()) : mGroupingAccountId;
}

void CAcnTItem::setGetGroupingAccountId(std::optional<long> accountId)
{
    // Kept in the item only: the books stay as they are, and are not marked.
    if (mGroupingAccountId != accountId) mGroupingAccountId = accountId;
    announceDisplayState("getGroupingAccountId");
}

std::optional<double> CAcnTItem::getBalance() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<double>(account->Get_mBalance()) : mBalance;
}

void CAcnTItem::setGetBalance(std::optional<double> balance)
{
    if (!isBound() && mBalance != balance) mBalance = balance;
    announceDisplayState("getBalance");
}

std::optional<double> CAcnTItem::getLocalBalance() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<double>(account->Get_mLocalBalance()) : mLocalBalance;
}

void CAcnTItem::setGetLocalBalance(std::optional<double> balance)
{
    if (!isBound() && mLocalBalance != balance) mLocalBalance = balance;
    announceDisplayState("getLocalBalance");
}

std::string CAcnTItem::balanceAsString() const
{
    return CNSNumberAmountTBridge::NSNumberToNSString(getBalance());
}

std::string CAcnTItem::localBalanceAsString() const
{
    const std::optional<double> balance = getLocalBalance();
    return balance ? Value(*balance).toString() : std::string();
}

std::string CAcnTItem::getLocalBalanceAsString() const
{
    return CNSNumberAmountTBridge::NSNumberToNSString(getLocalBalance());
}

std::optional<long> CAcnTItem::getCurrencyId() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<long>(account->Get_mCurrency()) : mCurrencyId;
}

void CAcnTItem::setGetCurrencyId(std::optional<long> currencyId)
{
    CAccount* account = accountOf(*this);
    if (account && currencyId) account->Put_mCurrency(static_cast<ObjectIdT>(*currencyId));
    if (mCurrencyId != currencyId) mCurrencyId = currencyId;
    announce("getCurrencyId");
}

std::string CAcnTItem::currencySymbol() const
{
    CAccount* account = accountOf(*this);
    return account ? account->Get_currencySymbol() : std::string("-");
}

std::string CAcnTItem::accountTypeName() const
{
    const CAccount* account = accountOf(*this);
    if (!account) return "-";
    const CAccType* type = account->Get_mAccountTypePtr();
    return type ? type->Get_StringrefName() : std::string();
}

std::shared_ptr<CAcoWItem> CAcnTItem::accountOwner() const
{
    BridgeDocument* document = parentDocument();
    const std::optional<long> ownerId = getAccountOwnerId();
    if (!document || !ownerId) return nullptr;
    return document->getAccountOwnerItemForId(static_cast<ObjectIdT>(*ownerId));
}

std::optional<double> CAcnTItem::getFiscalPct() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<double>(account->Get_mFiscalPct()) : mFiscalPct;
}

void CAcnTItem::setGetFiscalPct(std::optional<double> percentage)
{
    CAccount* account = accountOf(*this);
    if (account && percentage) account->Put_mFiscalPct(*percentage);
    if (mFiscalPct != percentage) mFiscalPct = percentage;
    announce("getFiscalPct");
}

std::optional<long> CAcnTItem::getDefaultExensetypeId() const
{
    const CAccount* account = accountOf(*this);
    if (!account) return mDefaultExpenseTypeId;
    return account->Get_mDefaultExpenseType() ? account->Get_mDefaultExpenseTypeId() : -1;
}

void CAcnTItem::setGetDefaultExensetypeId(std::optional<long> categoryId)
{
    CAccount* account = accountOf(*this);
    if (account && categoryId) account->Put_mDefaultExpenseType(static_cast<ObjectIdT>(*categoryId));
    if (mDefaultExpenseTypeId != categoryId) mDefaultExpenseTypeId = categoryId;
    announce("getDefaultExensetypeId");
}

int CAcnTItem::specialType() const
{
    const CAccount* account = accountOf(*this);
    return account ? account->Get_mAccountSpecialType() : mSpecialType.value_or(0);
}

void CAcnTItem::setSpecialType(std::optional<int> type)
{
    CAccount* account = accountOf(*this);
    if (account && type) account->Put_mAccountSpecialType(static_cast<AccountSpecialTypeT>(*type));
    mSpecialType = type;
    announce("specialType");
}

std::optional<int> CAcnTItem::specialSubType() const
{
    const CAccount* account = accountOf(*this);
    return account ? std::optional<int>(account->Get_mCreditCardSubType()) : mCreditCardSubtype;
}

void CAcnTItem::setSpecialSubType(std::optional<int> subType)
{
    if (CAccount* account = accountOf(*this)) {
        if (subType) account->Put_mCreditCardSubType(static_cast<CreditCardSubTypeT>(*subType));
    } else {
        mCreditCardSubtype = subType;
    }
    announce("specialSubType");
}

bool CAcnTItem::isAccountOfSpecialType(int type) const
{
    return isBound() && specialType() == type;
}

bool CAcnTItem::isCreditCard() const
{
    return isBound() && isDebt() && specialType() == CAccount::kCreditCard;
}

void CAcnTItem::setIsCreditCard(bool isCard)
{
    if (CAccount* account = accountOf(*this)) account->Put_mAccountSpecialType(isCard ? CAccount::kCreditCard : 0);
    announce("isCreditCard");
}

bool CAcnTItem::isProperty() const
{
    const CAccount* account = accountOf(*this);
    return account && account->thisIsAPropretyAccount();
}

bool CAcnTItem::isDebt() const
{
    const CAccount* account = accountOf(*this);
    return account && account->thisIsADebtAccount();
}

bool CAcnTItem::isProfitAndLoss() const
{
    const CAccount* account = accountOf(*this);
    return account && account->thisIsAProfitAndLossAccount();
}

bool CAcnTItem::hasTransactions() const
{
    const CAccount* account = accountOf(*this);
    if (!account) return false;
    const CNamedListArray* debits = account->Get_mDebitlist();
    const CNamedListArray* credits = account->Get_mCreditList();
    return (debits && debits->GetCount() > 0) || (credits && credits->GetCount() > 0);
}

StyledText CAcnTItem::creditCardDescription() const
{
    const double size = UserDefaults::standard().doubleForKey("GXtableTextSize");
    const double smaller = size - 2.0;
    StyledText text;
    text.runs.push_back({getName(), std::nullopt, size});
    const std::string bankNumber = getBankAccountNumber();
    if (!bankNumber.empty()) text.runs.push_back({std::string("\n").append(bankNumber), std::nullopt, smaller});
    const std::string description = getDescription();
    if (!description.empty()) text.runs.push_back({std::string("\n").append(description), std::nullopt, smaller});
    // What is owed on the card shows red; a credit in favour of the owner green.
    // Decided on the balance as it reads, so that a sum such as -1.4e-14
    // shown as 0.00 is red like any other 0.00.
    const double balance = roundedAmount(getLocalBalance().value_or(0.0), int(CDecimal::getNrOfDecimals()));
    const Colour balanceColour = balance >= 0.0 ? getRedColor() : getGreenColor();
    text.runs.push_back({std::string("\n").append(balanceAsString()), balanceColour, smaller});
    return text;
}

void CAcnTItem::setNewBalance(std::optional<double> balance)
{
    mNewBalance = balance;
    announceDisplayState("newBalance");
}

// --- operations

std::optional<CLevelCounters> CAcnTItem::getBalanceInPeriod(DateT p1Start, DateT p1End, DateT p2Start,
                                                            DateT p2End, DateT p3Start, DateT p3End,
                                                            DateT p4Start, DateT p4End)
{
    CLevelCounters counters;
    const CAccount* account = accountOf(*this);
    if (!account) return counters;
    double b1 = 0.0, b2 = 0.0, b3 = 0.0, b4 = 0.0;
    // A balance-sheet account answers its balance at each end date, a
    // profit-and-loss account its movement within each period.
    account->Get_BalanceInPeriod(b1, b2, b3, b4, p1End, p2End, p3End, p4End, !isProfitAndLoss(),
                                 p1Start, p2Start, p3Start, p4Start);
    counters.setResultAtIndex(0, b1);
    counters.setResultAtIndex(1, b2);
    counters.setResultAtIndex(2, b3);
    counters.setResultAtIndex(3, b4);
    return counters;
}

long CAcnTItem::checkDuplicateTransaction(long fromAccountId, long toAccountId, double amount,
                                          long currencyId, DateT dateFrom, DateT dateTo,
                                          std::string_view documentRef, std::string_view description) const
{
    const CAccount* account = accountOf(*this);
    if (!account) return 0;
    return account->CheckDuplicateTransaction(static_cast<ObjectIdT>(fromAccountId),
                                              static_cast<ObjectIdT>(toAccountId), std::fabs(amount),
                                              currencyId, dateFrom, dateTo, documentRef, description);
}

bool CAcnTItem::objectCanBeDeleted() const
{
    return objectCanBeDeletedWithMessage(true, nullptr);
}

bool CAcnTItem::objectCanBeDeletedWithMessage(bool showMessage, const CNonVisualDataItem* ignoringOwner) const
{
    const CAccount* account = accountOf(*this);
    if (!account) return true;
    return account->CanBeDeleted(showMessage, ignoringOwner ? ignoringOwner->getSourceItem() : nullptr);
}

GXObjectDescriptionStrings CAcnTItem::getObjectDescription() const
{
    GXObjectDescriptionStrings strings;
    strings.objectTypeName = localized("Account");
    strings.canBeDeleted = true;
    return strings;
}

// --- booking lines

namespace {

// A line message's parameter is the line.
CNonVisual* lineOf(void* param)
{
    return static_cast<CDebit*>(param);
}

} // namespace

LineItemList& CAcnTItem::keptLines(std::unique_ptr<LineItemList>& list, const CNamedListArray* lines)
{
    if (!list) list = std::make_unique<LineItemList>(lines, registry());
    return *list;
}

LineItemArray CAcnTItem::fromTransactionDetails()
{
    const CAccount* account = accountOf(*this);
    return keptLines(mFromTransactionDetails, account ? account->Get_mDebitlist() : nullptr).items();
}

LineItemArray CAcnTItem::toTransactionDetails()
{
    const CAccount* account = accountOf(*this);
    return keptLines(mToTransactionDetails, account ? account->Get_mCreditList() : nullptr).items();
}

void CAcnTItem::setFromTransactionDetails()
{
    mFromTransactionDetails.reset();
    announceDisplayState("fromTransactionDetails");
}

void CAcnTItem::setToTransactionDetails()
{
    mToTransactionDetails.reset();
    announceDisplayState("toTransactionDetails");
}

LineItemArray CAcnTItem::allTransactionDetailsWithoutFinalizing()
{
    LineItemArray lines = fromTransactionDetails();
    LineItemArray credits = toTransactionDetails();
    lines.insert(lines.end(), credits.begin(), credits.end());
    return lines;
}

void CAcnTItem::appendModelLines(std::vector<CNonVisual*>& lines) const
{
    if (const CAccount* account = accountOf(*this)) {
        ch::appendModelLines(lines, account->Get_mDebitlist());
        ch::appendModelLines(lines, account->Get_mCreditList());
    }
}

LineItemArray CAcnTItem::allTransactionDetails()
{
    return GXDebetItemArrayFinalizer::finalizeArray(allTransactionDetailsWithoutFinalizing());
}

void CAcnTItem::synchronizeWithObject(const CNonVisualDataItem& other)
{
    CNonVisualDataItem::synchronizeWithObject(other);
    const auto* source = dynamic_cast<const CAcnTItem*>(&other);
    if (!source) return;
    setGetName(source->getNameOnly());
    setGetAccountOwnerId(source->getAccountOwnerId());
    setGetAccountTypeId(source->getAccountTypeId());
    setGetDescription(source->getDescription());
    setGetAccountNumber(source->getAccountNumber());
    setGetBankAccountNumber(source->getBankAccountNumber());
    setGetGroupingAccountId(source->getGroupingAccountId());
    setGetBalance(source->getBalance());
    setGetLocalBalance(source->getLocalBalance());
    setGetCurrencyId(source->getCurrencyId());
    setGetFiscalPct(source->getFiscalPct());
    const std::optional<long> category = source->getDefaultExensetypeId();
    if (category && *category >= 0) setGetDefaultExensetypeId(category);
    const std::optional<double> target = source->newBalance();
    if (CAccount* account = accountOf(*this); account && target && *target != source->getBalance())
        account->AdjustBlanceTo(*target, false);
    setSpecialType(source->specialType());
    setSpecialSubType(source->specialSubType());
}

void CAcnTItem::synchronizeWithArguments(const AccountArguments& arguments)
{
    CAccount* account = accountOf(*this);
    if (!account) return;

    // 1. Currency: the home currency when none (or none valid) is given.
    ObjectIdT currency = static_cast<ObjectIdT>(arguments.currencyId.value_or(0));
    if (currency < 1) {
        CNonVisual* home = nullptr;
        const CDocAccounting* root = account->Get_Document();
        currency = root ? root->Get_HomeCurrency(home) : 1;
    }
    account->Put_mCurrency(currency);

    // 2. Name.
    if (!isEmpty(arguments.name)) {
        char name[kNameSize] = {};
        CNSStringToCString::convertStringToNameT(*arguments.name, name);
        account->Put_Name(name);
        account->Put_StringrefName(*arguments.name);
    }

    // 3.-4. Description and accounting number; an empty one clears both
    // copies, since the getters prefer the Unicode copy.
    if (!isEmpty(arguments.description)) {
        char description[kDescriptionSize] = {};
        CNSStringToCString::convertStringToDescriptionT(*arguments.description, description);
        account->Put_mDescription(description);
        account->Put_StringrefDesc(*arguments.description);
    } else {
        account->Put_mDescription("");
        account->Put_StringrefDesc(std::string_view());
    }
    if (!isEmpty(arguments.accountingNumber)) {
        char number[kNameSize] = {};
        CNSStringToCString::convertStringToNameT(*arguments.accountingNumber, number);
        account->Put_mAccountNumber(number);
        account->Put_StringRefAccountingNumber(*arguments.accountingNumber);
    } else {
        account->Put_mAccountNumber("");
        account->Put_StringRefAccountingNumber(std::string_view());
    }

    // 5.-6. Owner and default category.
    if (arguments.ownerId && *arguments.ownerId > 0)
        account->Put_mAccountOwnerId(static_cast<ObjectIdT>(*arguments.ownerId));
    const long category = arguments.defaultCategory && *arguments.defaultCategory >= 0 ? *arguments.defaultCategory : -1;
    account->Put_mDefaultExpenseType(static_cast<ObjectIdT>(category));

    // 7. Bank account number, cleared in both copies when empty.
    if (!isEmpty(arguments.bankAccountNumber)) {
        char number[CAccount::kBankNumberSize] = {};
        CNSStringToCString::convertStringToAccountNumberT(*arguments.bankAccountNumber, number);
        account->Put_mNumber(number);
        account->Put_StringRefBankAccountNumber(*arguments.bankAccountNumber);
    } else {
        account->Put_mNumber("");
        account->Put_StringRefBankAccountNumber(std::string_view());
    }

    // 8. Fiscal percentage.
    if (arguments.allocableExpenses) account->Put_mFiscalPct(*arguments.allocableExpenses);

    // 9.-10. The balance typed in the sheet is booked as a correction; a 0
    // typed for an emptied foreign account books its home remainder away.
    // A sheet okayed without a balance books nothing.
    const std::optional<double>& target = arguments.newBalance;
    if (target && *target >= 0.0 && *target != account->Get_mBalance()) account->AdjustBlanceTo(*target, false);
    if (target && *target == 0.0 && account->Get_mLocalBalance() != 0.0) account->ForceLocalBalanceToZero();

    // 11. Special type and sub-type.
    account->Put_mAccountSpecialType(static_cast<AccountSpecialTypeT>(arguments.specialType.value_or(0)));
    account->Put_mCreditCardSubType(static_cast<CreditCardSubTypeT>(arguments.specialSubType.value_or(0)));
}

void CAcnTItem::ListenToMessage(MessageT message, void* param)
{
    switch (message) {
    case msg::kDebitLineRemoved:
        if (mFromTransactionDetails) mFromTransactionDetails->remove(lineOf(param));
        break;
    case msg::kCreditLineRemoved:
        if (mToTransactionDetails) mToTransactionDetails->remove(lineOf(param));
        break;
    case msg::kDebitLineAdded:
        if (mFromTransactionDetails) mFromTransactionDetails->append(lineOf(param), registry());
        break;
    case msg::kCreditLineAdded:
        if (mToTransactionDetails) mToTransactionDetails->append(lineOf(param), registry());
        break;
    case msg::kBalanceChanged:
        // Balances are read from the model on request.
        break;
    default:
        CNonVisualDataItem::ListenToMessage(message, param);
        break;
    }
}

} // namespace ch
