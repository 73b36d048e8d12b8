#include "bridge/CPrfRItem.h"

#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CNSStringToCString.h"
#include "platform/core/text_encoding.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

constexpr std::size_t kMinimumProtectedPasswordLength = 3;

// The 8-bit bytes of the settings record's text fields as text, in the
// encoding the conversion into them used.
std::string fromDestination(const char* bytes)
{
    auto enc = static_cast<TextEncoding>(UserDefaults::standard().integerForKey(kDestinationEncodingKey));
    if (!isSupportedEncoding(enc)) enc = encoding::macRoman;
    return decode(bytes, enc).value_or(std::string());
}

} // namespace

CPrfRItem::CPrfRItem() = default;

CPrfRItem::CPrfRItem(CNonVisual* preferenceObject, const Ptr& parent)
    : CNonVisualDataItem(preferenceObject, parent)
{
    const CPreference* record = preference();
    if (!record || !record->Get_mPasswordYes()) return;
    char password[kNameSize] = {};
    record->Get_mPassword(password);
    const std::string text = fromDestination(password);
    if (text.size() >= kMinimumProtectedPasswordLength) mConfirmation = text;
}

CPreference* CPrfRItem::preference() const
{
    return static_cast<CPreference*>(getSourceItem());
}

std::string CPrfRItem::passwordAsStored(std::string_view text)
{
    char field[kNameSize] = {};
    CNSStringToCString::convertStringToNameT(text, field);
    return fromDestination(field);
}

// --- getters

#define CH_PREF_LONG(name, getter)                                        \
    long CPrfRItem::name() const                                          \
    {                                                                     \
        const CPreference* record = preference();                         \
        return record ? static_cast<long>(record->getter()) : -1;         \
    }
#define CH_PREF_INT(name, getter)                                         \
    int CPrfRItem::name() const                                           \
    {                                                                     \
        const CPreference* record = preference();                         \
        return record ? static_cast<int>(record->getter()) : -1;          \
    }

CH_PREF_LONG(mDefAccntCurrencyFluctuations, Get_mDefAccntCurrencyFluctuations)
CH_PREF_LONG(mDefAccntOpeningBalance, Get_mDefAccntOpeningBalance)
CH_PREF_LONG(mDefAccntUnspecifiedIncome, Get_mDefAccntUnspecifiedIncome)
CH_PREF_LONG(mDefAccntUnspecifiedExpense, Get_mDefAccntUnspecifiedExpense)
CH_PREF_LONG(mDefAccntOwnProperty, Get_mDefAccntOwnProperty)
CH_PREF_LONG(mDefExpTUnspecifiedExpense, Get_mDefExpTUnspecifiedExpense)
CH_PREF_LONG(mDefExpTUnspecifiedIncome, Get_mDefExpTUnspecifiedIncome)
CH_PREF_LONG(mDefExpTUnspecifiedTransfer, Get_mDefExpTUnspecifiedTransfer)
CH_PREF_LONG(mDefExpTUnspecifiedOpeningBalance, Get_mDefExpTUnspecifiedOpeningBalance)
CH_PREF_LONG(mDefExpTUnspecifiedCurrencyFluctuation, Get_mDefExpTUnspecifiedCurrencyFluctuation)
CH_PREF_LONG(mDefExpTUnspecifiedCorrection, Get_mDefExpTUnspecifiedCorrection)
CH_PREF_LONG(mDateLastVAT, Get_mDateLastVAT)
CH_PREF_LONG(mCurrentPeriodStart, Get_mCurrentPeriodStart)
CH_PREF_LONG(mCurrentPeriodEnd, Get_mCurrentPeriodEnd)
CH_PREF_LONG(mCurrentPeriod, Get_mCurrentPeriod)
CH_PREF_LONG(mPreviousPeriod, Get_mPreviousPeriod)
CH_PREF_LONG(mPreviousPeriodStart, Get_mPreviousPeriodStart)
CH_PREF_LONG(mPreviousPeriodEnd, Get_mPreviousPeriodEnd)
CH_PREF_LONG(mCurrentYearStart, Get_mCurrentYearStart)
CH_PREF_LONG(mCurrentYearEnd, Get_mCurrentYearEnd)

CH_PREF_INT(mTransactionModifRule, Get_mTransactionModifRule)
CH_PREF_INT(mTransactionEnteringRule, Get_mTransactionEnteringRule)
CH_PREF_INT(mTransactionDeleteRule, Get_mTransactionDeleteRule)
CH_PREF_INT(mHomeCurrency, Get_mHomeCurrency)
CH_PREF_INT(mInputCurrency, Get_mInputCurrency)
CH_PREF_INT(mNrOfDecimals, Get_mNrOfDecimals)
CH_PREF_INT(mDefPortfolioAccountType, Get_mDefPortfolioAccountType)
CH_PREF_INT(mDefPortfolioPLAccountType, Get_mDefPortfolioPLAccountType)
CH_PREF_INT(mDefPortfolioExpenseType, Get_mDefPortfolioExpenseType)
CH_PREF_INT(mDefAccntStockCommission, Get_mDefAccntStockCommission)
CH_PREF_INT(mDefExpTStockCommission, Get_mDefExpTStockCommission)
CH_PREF_INT(mDefAccntStockTax, Get_mDefAccntStockTax)
CH_PREF_INT(mDefExptStockTax, Get_mDefExptStockTax)
CH_PREF_INT(mDefaultCreditCardAccount, Get_mDefaultCreditCardAccount)
CH_PREF_INT(mCreditCardAccountType, Get_mCreditCardAccountType)
CH_PREF_INT(mCustomerTurnoverAccT, Get_mCustomerTurnoverAccT)
CH_PREF_INT(mCustomerOpenInvoiceAccT, Get_mCustomerOpenInvoiceAccT)
CH_PREF_INT(mSupplierTurnoverAccT, Get_mSupplierTurnoverAccT)
CH_PREF_INT(mSupplierOpenInvoicAccT, Get_mSupplierOpenInvoicAccT)
CH_PREF_INT(mVATReceivedAccT, Get_mVATReceivedAccT)
CH_PREF_INT(mVatPaidAccT, Get_mVatPaidAccT)
CH_PREF_INT(mVatBalanceAcnT, Get_mVatBalanceAcnt)
CH_PREF_INT(mVatInvoicedNotYetReceivedExpT, Get_mVatInvoicedNotYetReceivedExpT)
CH_PREF_INT(mVatInvoicedNotYetPaidExpT, Get_mVatInvoicedNotYetPaidExpt)
CH_PREF_INT(mSupplierPaymentsCategory, Get_mDefaultCategorySupplierPayments)
CH_PREF_INT(mCustomerInvoiceCategory, Get_mDefaultCategoryCustomerInvoices)

#undef CH_PREF_LONG
#undef CH_PREF_INT

// --- setters

template <class Id>
void CPrfRItem::setId(std::optional<long> id, Id (CPrfRItem::*getter)() const,
                      void (CPreference::*setter)(ObjectIdT), const char* key)
{
    CPreference* record = preference();
    if (!id || !record) return;
    if (*id != (this->*getter)()) (record->*setter)(static_cast<ObjectIdT>(*id));
    announce(key);
}

#define CH_PREF_SET(name, getter, put, key)                                         \
    void CPrfRItem::name(std::optional<long> id)                                    \
    {                                                                               \
        setId(id, &CPrfRItem::getter, &CPreference::put, key);                      \
    }

CH_PREF_SET(setMDefAccntCurrencyFluctuations, mDefAccntCurrencyFluctuations,
            Put_mDefAccntCurrencyFluctuations, "mDefAccntCurrencyFluctuations")
CH_PREF_SET(setMDefAccntOpeningBalance, mDefAccntOpeningBalance, Put_mDefAccntOpeningBalance,
            "mDefAccntOpeningBalance")
CH_PREF_SET(setMDefAccntUnspecifiedIncome, mDefAccntUnspecifiedIncome,
            Put_mDefAccntUnspecifiedIncome, "mDefAccntUnspecifiedIncome")
CH_PREF_SET(setMDefAccntUnspecifiedExpense, mDefAccntUnspecifiedExpense,
            Put_mDefAccntUnspecifiedExpense, "mDefAccntUnspecifiedExpense")
CH_PREF_SET(setMDefAccntOwnProperty, mDefAccntOwnProperty, Put_mDefAccntOwnProperty,
            "mDefAccntOwnProperty")
CH_PREF_SET(setMDefExpTUnspecifiedExpense, mDefExpTUnspecifiedExpense,
            Put_mDefExpTUnspecifiedExpense, "mDefExpTUnspecifiedExpense")
CH_PREF_SET(setMDefExpTUnspecifiedIncome, mDefExpTUnspecifiedIncome,
            Put_mDefExpTUnspecifiedIncome, "mDefExpTUnspecifiedIncome")
CH_PREF_SET(setMDefExpTUnspecifiedTransfer, mDefExpTUnspecifiedTransfer,
            Put_mDefExpTUnspecifiedTransfer, "mDefExpTUnspecifiedTransfer")
CH_PREF_SET(setMDefExpTUnspecifiedOpeningBalance, mDefExpTUnspecifiedOpeningBalance,
            Put_mDefExpTUnspecifiedOpeningBalance, "mDefExpTUnspecifiedOpeningBalance")
CH_PREF_SET(setMDefExpTUnspecifiedCurrencyFluctuation, mDefExpTUnspecifiedCurrencyFluctuation,
            Put_mDefExpTUnspecifiedCurrencyFluctuation,
            "mDefExpTUnspecifiedCurrencyFluctuation")
CH_PREF_SET(setMDefExpTUnspecifiedCorrection, mDefExpTUnspecifiedCorrection,
            Put_mDefExpTUnspecifiedCorrection, "mDefExpTUnspecifiedCorrection")

CH_PREF_SET(setMInputCurrency, mInputCurrency, Put_mInputCurrency, "mInputCurrency")
CH_PREF_SET(setMDefPortfolioAccountType, mDefPortfolioAccountType,
            Put_mDefPortfolioAccountType, "mDefPortfolioAccountType")
CH_PREF_SET(setMDefPortfolioPLAccountType, mDefPortfolioPLAccountType,
            Put_mDefPortfolioPLAccountType, "mDefPortfolioPLAccountType")
CH_PREF_SET(setMDefPortfolioExpenseType, mDefPortfolioExpenseType,
            Put_mDefPortfolioExpenseType, "mDefPortfolioExpenseType")
CH_PREF_SET(setMDefAccntStockCommission, mDefAccntStockCommission,
            Put_mDefAccntStockCommission, "mDefAccntStockCommission")
CH_PREF_SET(setMDefExpTStockCommission, mDefExpTStockCommission,
            Put_mDefExpTStockCommission, "mDefExpTStockCommission")
CH_PREF_SET(setMDefAccntStockTax, mDefAccntStockTax, Put_mDefAccntStockTax,
            "mDefAccntStockTax")
CH_PREF_SET(setMDefExptStockTax, mDefExptStockTax, Put_mDefExptStockTax, "mDefExptStockTax")
CH_PREF_SET(setMDefaultCreditCardAccount, mDefaultCreditCardAccount,
            Put_mDefaultCreditCardAccount, "mDefaultCreditCardAccount")
CH_PREF_SET(setMCreditCardAccountType, mCreditCardAccountType, Put_mCreditCardAccountType,
            "mCreditCardAccountType")
CH_PREF_SET(setMCustomerTurnoverAccT, mCustomerTurnoverAccT, Put_mCustomerTurnoverAccT,
            "mCustomerTurnoverAccT")
CH_PREF_SET(setMCustomerOpenInvoiceAccT, mCustomerOpenInvoiceAccT,
            Put_mCustomerOpenInvoiceAccT, "mCustomerOpenInvoiceAccT")
CH_PREF_SET(setMSupplierTurnoverAccT, mSupplierTurnoverAccT, Put_mSupplierTurnoverAccT,
            "mSupplierTurnoverAccT")
CH_PREF_SET(setMSupplierOpenInvoicAccT, mSupplierOpenInvoicAccT, Put_mSupplierOpenInvoicAccT,
            "mSupplierOpenInvoicAccT")
CH_PREF_SET(setMVATReceivedAccT, mVATReceivedAccT, Put_mVATReceivedAccT, "mVATReceivedAccT")
CH_PREF_SET(setMVatPaidAccT, mVatPaidAccT, Put_mVatPaidAccT, "mVatPaidAccT")
CH_PREF_SET(setMVatBalanceAcnT, mVatBalanceAcnT, Put_mVatBalanceAcnt, "mVatBalanceAcnT")
CH_PREF_SET(setMVatInvoicedNotYetReceivedExpT, mVatInvoicedNotYetReceivedExpT,
            Put_mVatInvoicedNotYetReceivedExpT, "mVatInvoicedNotYetReceivedExpT")
CH_PREF_SET(setMVatInvoicedNotYetPaidExpT, mVatInvoicedNotYetPaidExpT,
            Put_mVatInvoicedNotYetPaidExpt, "mVatInvoicedNotYetPaidExpT")
CH_PREF_SET(setMSupplierPaymentsCategory, mSupplierPaymentsCategory,
            Put_mDefaultCategorySupplierPayments, "mSupplierPaymentsCategory")
CH_PREF_SET(setMCustomerInvoiceCategory, mCustomerInvoiceCategory,
            Put_mDefaultCategoryCustomerInvoices, "mCustomerInvoiceCategory")

#undef CH_PREF_SET

void CPrfRItem::setMHomeCurrency(std::optional<long> id)
{
    CPreference* record = preference();
    if (!id || !record) return;
    // The record asks the model first and keeps the id only when it agrees.
    if (*id != mHomeCurrency() && record->Put_mHomeCurrency(static_cast<ObjectIdT>(*id)) && mHomeCurrencyChanged)
        mHomeCurrencyChanged();
    announce("mHomeCurrency");
}

void CPrfRItem::setMCurrentYearStart(std::optional<long> month)
{
    CPreference* record = preference();
    if (!month || !record || *month == mCurrentYearStart()) return;
    if (!record->Put_mCurrentYearStart(static_cast<std::int32_t>(*month))) return;
    announce("mCurrentYearStart");
    setMCurrentPeriodStart(std::nullopt);
    setMCurrentPeriodEnd(std::nullopt);
    setMPreviousPeriodStart(std::nullopt);
    setMPreviousPeriodEnd(std::nullopt);
}

// --- other values

std::optional<long> CPrfRItem::version() const
{
    const CPreference* record = preference();
    if (!record) return std::nullopt;
    return static_cast<long>(record->Get_Version());
}

bool CPrfRItem::mPasswordYes() const
{
    const CPreference* record = preference();
    return record && record->Get_mPasswordYes();
}

void CPrfRItem::setMPasswordYes(std::optional<bool> protectedFlag)
{
    CPreference* record = preference();
    if (!protectedFlag || !record) return;
    record->Put_mPasswordYes(*protectedFlag);
    announce("mPasswordYes");
}

std::optional<std::string> CPrfRItem::mPassword() const
{
    const CPreference* record = preference();
    if (!record) return std::nullopt;
    char password[kNameSize] = {};
    record->Get_mPassword(password);
    return fromDestination(password);
}

void CPrfRItem::setMPassword(std::optional<std::string_view> password)
{
    CPreference* record = preference();
    if (!password || !record) return;
    // Cut here exactly as the confirmation and the opening check cut, so a
    // long password still matches itself.
    char field[kNameSize] = {};
    CNSStringToCString::convertStringToNameT(*password, field);
    record->Put_mPassword(field);
    announce("mPassword");
    setPasswordsOK(false);
    setMPasswordYes(false);
}

void CPrfRItem::setMOtherPasword(std::optional<std::string_view> confirmation)
{
    if (!confirmation || confirmation->empty()) return;
    const std::optional<std::string> password = mPassword();
    if (password && passwordAsStored(*confirmation) == *password) {
        mConfirmation = std::string(*confirmation);
        announce("mOtherPasword");
        setPasswordsOK(true);
        return;
    }
    CErrorManager::RaiseError(173);
    setMPasswordYes(false);
    setPasswordsOK(false);
}

bool CPrfRItem::passwordsOK() const
{
    if (!mConfirmation || mConfirmation->empty()) return false;
    const std::optional<std::string> password = mPassword();
    return password && passwordAsStored(*mConfirmation) == *password;
}

std::optional<std::string> CPrfRItem::mCurrencyName() const
{
    const CPreference* record = preference();
    if (!record) return std::nullopt;
    char name[kNameSize] = {};
    record->Get_mCurrencyName(name);
    return fromDestination(name);
}

std::optional<std::string> CPrfRItem::mCurrencyDescription() const
{
    const CPreference* record = preference();
    if (!record) return std::nullopt;
    char description[kDescriptionSize] = {};
    record->Get_mCurrencyDescription(description);
    return fromDestination(description);
}

long CPrfRItem::defautlPropertyTypeId() const
{
    const CPreference* record = preference();
    const CDocAccounting* root = record ? record->Get_Document() : nullptr;
    if (!root || !root->mAccountList) return 0;
    CNonVisual* account = root->mAccountList->GetValueForId(record->Get_mDefAccntOwnProperty());
    if (!account || account->Get_ObjectType() != type::kAccount) return 0;
    return static_cast<CAccount*>(account)->Get_mAccountTypeId();
}

} // namespace ch
