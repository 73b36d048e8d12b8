#include "model/CPreference.h"

#include <algorithm>
#include <cstring>

#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CExpenseTypeArray.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"

namespace ch {

namespace {

bool IsAcceptedVersion(FourCharCode v)
{
    using namespace version;
    if (v == k0_60 || v == k0_70 || v == k0_80 || v == k0_90) return true;
    if (v >= k1_00 && v <= k1_09) return true;
    return v == k1_10 || v == k1_11 || v == k2_00;
}

ObjectIdT ReadId(LStream* stream)
{
    ObjectIdT id = 0;
    stream->ReadObjectIdT(id);
    return id;
}

DateT ReadDate(LStream* stream)
{
    DateT date = 0;
    stream->ReadDateT(date);
    return date;
}

EnumT ReadEnum(LStream* stream)
{
    EnumT value = 0;
    stream->ReadEnumT(value);
    return value;
}

} // namespace

// --- construction

CPreference::CPreference(CDocAccounting* document)
    : CNonVisual(-1, document)
{
    Put_Document(document);
    SetDefaults();
}

CPreference::CPreference(CDocAccounting* document, ObjectIdT id)
    : CNonVisual(id, document)
{
    Put_Document(document);
    SetDefaults();
}

CPreference::CPreference(CDocAccounting* document, LStream* stream)
    : CNonVisual(stream, version::kNone, document)
{
    Put_Document(document);
    Read(stream);
}

void CPreference::SetDefaults()
{
    mPasswordYes = 0;
    mPassword[0] = '\0';
    CopyToField(mCurrencyName, " ");
    CopyToField(mCurrencyDescription, " ");
    mDefAccntCurrencyFluctuations = 1;
    mDefAccntOpeningBalance = 1;
    mDefAccntUnspecifiedIncome = 2;
    mDefAccntUnspecifiedExpense = 3;
    mDefAccntOwnProperty = 4;
    mDefExpTUnspecifiedExpense = 1;
    mDefExpTUnspecifiedIncome = 2;
    mDefExpTUnspecifiedTransfer = 3;
    mDefExpTUnspecifiedOpeningBalance = 4;
    mDefExpTUnspecifiedCurrencyFluctuation = 5;
    mDefExpTUnspecifiedCorrection = 6;
    mCurrentYearStart = 1;
    mHomeCurrency = 1;
    mInputCurrency = 1;
    mNrOfDecimals = static_cast<std::int32_t>(CDecimal::getNrOfDecimals());
    mDefPortfolioAccountType = 1;
    mDefPortfolioPLAccountType = 3;
    mDefPortfolioExpenseType = 5;
    mDefAccntStockCommission = 3;
    mDefExpTStockCommission = 1;
    mDefAccntStockTax = 3;
    mDefExptStockTax = 1;
    mCustomerTurnoverAccT = 3;
    mCustomerOpenInvoiceAccT = 3;
    mSupplierTurnoverAccT = 3;
    mSupplierOpenInvoicAccT = 2;
    mVATReceivedAccT = 2;
    mVatPaidAccT = 3;
    mVatBalanceAcnt = -1;
    mVatInvoicedNotYetReceivedExpT = 1;
    mVatInvoicedNotYetPaidExpt = -1;
    mDefaultCreditCardAccount = -1;
    mCreditCardAccountType = -1;
    mDefaultCategoryCustomerInvoices = 3;
    mDefaultCategorySupplierPayments = 3;
    SetObjectType(type::kPreference);
    CheckPeriod();
}

// --- the record

void CPreference::PutStream(LStream* stream)
{
    mVersion = version::kCurrent;
    CNonVisual::PutStream(stream);
    stream->WriteBigOsType(mVersion);
    stream->WriteEnumT(mPasswordYes);
    stream->WriteCString(mPassword);
    stream->WriteCString(mCurrencyName);
    stream->WriteCString(mCurrencyDescription);

    for (ObjectIdT id : {mDefAccntCurrencyFluctuations, mDefAccntOpeningBalance,
                         mDefAccntUnspecifiedIncome, mDefAccntUnspecifiedExpense,
                         mDefAccntOwnProperty, mDefExpTUnspecifiedExpense,
                         mDefExpTUnspecifiedIncome, mDefExpTUnspecifiedTransfer,
                         mDefExpTUnspecifiedOpeningBalance, mDefExpTUnspecifiedCurrencyFluctuation,
                         mDefExpTUnspecifiedCorrection})
        stream->WriteObjectIdT(id);

    stream->WriteDateT(mDateLastVAT);
    stream->WriteDateT(mCurrentPeriodStart);
    stream->WriteDateT(mCurrentPeriodEnd);
    stream->WriteObjectIdT(mCurrentPeriod);
    stream->WriteObjectIdT(mPreviousPeriod);
    stream->WriteDateT(mPreviousPeriodStart);
    stream->WriteDateT(mPreviousPeriodEnd);
    stream->WriteDateT(mCurrentYearStart);
    stream->WriteDateT(mCurrentYearEnd);
    stream->WriteEnumT(mTransactionModifRule);
    stream->WriteEnumT(mTransactionEnteringRule);
    stream->WriteEnumT(mTransactionDeleteRule);
    stream->WriteObjectIdT(mHomeCurrency);
    stream->WriteObjectIdT(mInputCurrency);
    stream->WriteLong(mNrOfDecimals);

    // Written raw: the getters' fall-backs never reach the file.
    for (ObjectIdT id : {mDefPortfolioAccountType, mDefPortfolioPLAccountType,
                         mDefPortfolioExpenseType, mDefAccntStockCommission, mDefExpTStockCommission,
                         mDefAccntStockTax, mDefExptStockTax, mCustomerTurnoverAccT,
                         mCustomerOpenInvoiceAccT, mSupplierTurnoverAccT, mSupplierOpenInvoicAccT,
                         mVATReceivedAccT, mVatPaidAccT, mVatBalanceAcnt,
                         mVatInvoicedNotYetReceivedExpT, mVatInvoicedNotYetPaidExpt,
                         mDefaultCreditCardAccount, mCreditCardAccountType,
                         mDefaultCategoryCustomerInvoices, mDefaultCategorySupplierPayments})
        stream->WriteObjectIdT(id);
}

void CPreference::Read(LStream* stream)
{
    using namespace version;

    FourCharCode recordVersion = 0;
    stream->ReadBigOsType(recordVersion);
    mStoredVersion = recordVersion;
    if (!IsAcceptedVersion(recordVersion)) {
        mVersion = kStop;
        return;
    }
    mVersion = recordVersion;

    mPasswordYes = ReadEnum(stream);
    stream->ReadCString(mPassword);
    stream->ReadCString(mCurrencyName);
    stream->ReadCString(mCurrencyDescription);

    mDefAccntCurrencyFluctuations = ReadId(stream);
    mDefAccntOpeningBalance = ReadId(stream);
    mDefAccntUnspecifiedIncome = ReadId(stream);
    mDefAccntUnspecifiedExpense = ReadId(stream);
    // Old files named the own-property account here.
    if (mDefAccntUnspecifiedExpense == 4) mDefAccntUnspecifiedExpense = 3;
    mDefAccntOwnProperty = ReadId(stream);
    mDefExpTUnspecifiedExpense = ReadId(stream);
    mDefExpTUnspecifiedIncome = ReadId(stream);
    mDefExpTUnspecifiedTransfer = ReadId(stream);
    mDefExpTUnspecifiedOpeningBalance = ReadId(stream);
    mDefExpTUnspecifiedCurrencyFluctuation = ReadId(stream);
    mDefExpTUnspecifiedCorrection = ReadId(stream);

    mDateLastVAT = ReadDate(stream);
    mCurrentPeriodStart = ReadDate(stream);
    mCurrentPeriodEnd = ReadDate(stream);
    mCurrentPeriod = ReadId(stream);
    mPreviousPeriod = ReadId(stream);
    mPreviousPeriodStart = ReadDate(stream);
    mPreviousPeriodEnd = ReadDate(stream);
    mCurrentYearStart = ReadDate(stream);
    mCurrentYearEnd = ReadDate(stream);
    mTransactionModifRule = ReadEnum(stream);
    mTransactionEnteringRule = ReadEnum(stream);
    mTransactionDeleteRule = ReadEnum(stream);

    if (AtLeast(mVersion, k1_00)) {
        mHomeCurrency = ReadId(stream);
        mInputCurrency = AtLeast(mVersion, k1_05) ? ReadId(stream) : mHomeCurrency;
    } else {
        mHomeCurrency = 1;
        mInputCurrency = 1;
    }

    if (AtLeast(mVersion, k1_06)) {
        stream->ReadLong(mNrOfDecimals);
    } else {
        mNrOfDecimals = 2;
    }

    if (AtLeast(mVersion, k1_07)) {
        mDefPortfolioAccountType = ReadId(stream);
        mDefPortfolioPLAccountType = ReadId(stream);
        mDefPortfolioExpenseType = ReadId(stream);
        mDefAccntStockCommission = ReadId(stream);
        mDefExpTStockCommission = ReadId(stream);
    } else {
        mDefPortfolioAccountType = 1;
        mDefPortfolioPLAccountType = 3;
        mDefPortfolioExpenseType = 5;
        mDefAccntStockCommission = 3;
        mDefExpTStockCommission = 1;
    }

    if (AtLeast(mVersion, k1_08)) {
        mDefAccntStockTax = ReadId(stream);
        mDefExptStockTax = ReadId(stream);
    } else {
        mDefAccntStockTax = mDefAccntUnspecifiedExpense;
        mDefExptStockTax = mDefExpTUnspecifiedExpense;
    }

    if (AtLeast(mVersion, k1_09)) {
        mCustomerTurnoverAccT = ReadId(stream);
        mCustomerOpenInvoiceAccT = ReadId(stream);
        mSupplierTurnoverAccT = ReadId(stream);
        mSupplierOpenInvoicAccT = ReadId(stream);
        mVATReceivedAccT = ReadId(stream);
        mVatPaidAccT = ReadId(stream);
        mVatBalanceAcnt = ReadId(stream);
        mVatInvoicedNotYetReceivedExpT = ReadId(stream);
        mVatInvoicedNotYetPaidExpt = ReadId(stream);
    } else {
        mCustomerTurnoverAccT = 3;
        mCustomerOpenInvoiceAccT = 3;
        mSupplierTurnoverAccT = 3;
        mSupplierOpenInvoicAccT = 2;
        mVATReceivedAccT = 2;
        mVatPaidAccT = 3;
        mVatBalanceAcnt = -1;
        mVatInvoicedNotYetReceivedExpT = 1;
        mVatInvoicedNotYetPaidExpt = -1;
    }

    if (AtLeast(mVersion, k1_11)) {
        mDefaultCreditCardAccount = ReadId(stream);
        mCreditCardAccountType = ReadId(stream);
    } else {
        mDefaultCreditCardAccount = -1;
        mCreditCardAccountType = -1;
    }

    if (AtLeast(mVersion, k2_00)) {
        mDefaultCategoryCustomerInvoices = ReadId(stream);
        mDefaultCategorySupplierPayments = ReadId(stream);
    } else {
        mDefaultCategoryCustomerInvoices = mDefExpTUnspecifiedTransfer;
        mDefaultCategorySupplierPayments = mDefExpTUnspecifiedTransfer;
    }

    SetObjectType(type::kPreference);
    CheckPeriod();
}

// --- texts

char* CPreference::Get_mPassword(char* out) const
{
    std::memcpy(out, mPassword, sizeof mPassword);
    return out;
}

void CPreference::Put_mPassword(const char* password)
{
    CopyToField(mPassword, password);
}

char* CPreference::Get_mCurrencyName(char* out) const
{
    std::memcpy(out, mCurrencyName, sizeof mCurrencyName);
    return out;
}

void CPreference::Put_mCurrencyName(const char* name)
{
    CopyToField(mCurrencyName, name);
}

char* CPreference::Get_mCurrencyDescription(char* out) const
{
    std::memcpy(out, mCurrencyDescription, sizeof mCurrencyDescription);
    return out;
}

void CPreference::Put_mCurrencyDescription(const char* description)
{
    CopyToField(mCurrencyDescription, description);
}

void CPreference::ResetPassword()
{
    mPassword[0] = '\0';
    mPasswordYes = 0;
}

// --- accessors with more than a store

bool CPreference::Put_mHomeCurrency(ObjectIdT id)
{
    if (id == mHomeCurrency) return true;
    if (mDocument && !mDocument->ChangeHomeCurrency(id, mHomeCurrency)) return false;
    mHomeCurrency = id;
    return true;
}

void CPreference::Put_mNrOfDecimals(std::int32_t n)
{
    mNrOfDecimals = n;
    CDecimal::putNrOfDecimals(n);
}

ObjectIdT CPreference::Get_mDefAccntStockCommission() const
{
    bool exists = mDocument && mDocument->mAccountList->GetValueForId(mDefAccntStockCommission);
    return exists ? mDefAccntStockCommission : mDefAccntUnspecifiedExpense;
}

ObjectIdT CPreference::Get_mDefAccntStockTax() const
{
    bool exists = mDocument && mDocument->mAccountList->GetValueForId(mDefAccntStockTax);
    return exists ? mDefAccntStockTax : mDefAccntUnspecifiedExpense;
}

ObjectIdT CPreference::Get_mDefExpTStockCommission() const
{
    bool exists = mDocument && mDocument->mExpenseTypeList->GetValueForId(mDefExpTStockCommission);
    return exists ? mDefExpTStockCommission : mDefExpTUnspecifiedExpense;
}

ObjectIdT CPreference::Get_mDefExptStockTax() const
{
    bool exists = mDocument && mDocument->mExpenseTypeList->GetValueForId(mDefExptStockTax);
    return exists ? mDefExptStockTax : mDefExpTUnspecifiedExpense;
}

// --- periods

bool CPreference::Put_mCurrentYearStart(std::int32_t month)
{
    if (month < 1 || month > 12) {
        CErrorManager::RaiseError(166);
        return false;
    }
    mCurrentYearStart = month;
    const DateT oldStart = mCurrentPeriodStart;
    SetPeriodsFromYearStart(month);
    // The categories' year totals follow the periods they are split by.
    if (mCurrentPeriodStart != oldStart && mDocument && mDocument->mExpenseTypeList) {
        CExpenseTypeArray* categories = mDocument->mExpenseTypeList.get();
        const auto count = static_cast<ArrayIndexT>(categories->GetCount());
        for (ArrayIndexT i = 1; i <= count; ++i) {
            CNonVisual* object = categories->ObjectAt(i);
            if (object && object->Get_ObjectType() == type::kExpenseType)
                static_cast<CExpenseType*>(object)->RefigureYears();
        }
    }
    return true;
}

void CPreference::SetPeriodsFromYearStart(std::int32_t month)
{
    DateT today = CDate::GetNowAsDateT();
    long year = CDate::GetYearFromDateT(today);
    DateT start = static_cast<DateT>(year * 10000 + month * 100 + 1);
    if (start > today) {
        --year;
        start = static_cast<DateT>(year * 10000 + month * 100 + 1);
    }
    mCurrentPeriodStart = start;
    mCurrentPeriodEnd = CDate::AddDaysTo(static_cast<DateT>((year + 1) * 10000 + month * 100 + 1), -1);
    mPreviousPeriodStart = static_cast<DateT>((year - 1) * 10000 + month * 100 + 1);
    mPreviousPeriodEnd = CDate::AddDaysTo(start, -1);
}

void CPreference::CheckPeriod()
{
    if (mCurrentYearStart < 1 || mCurrentYearStart > 12) {
        Put_mCurrentYearStart(1);
        return;
    }
    DateT today = CDate::GetNowAsDateT();
    if (today < mCurrentPeriodStart || today > mCurrentPeriodEnd) Put_mCurrentYearStart(mCurrentYearStart);
}

bool CPreference::DateIsFromThisYear(DateT date) const
{
    return mCurrentPeriodStart <= date && date <= mCurrentPeriodEnd;
}

bool CPreference::DateIsFromPreviousYear(DateT date) const
{
    return mPreviousPeriodStart <= date && date <= mPreviousPeriodEnd;
}

double CPreference::Get_YearPortion(long yearsBack, bool toPeriodEnd) const
{
    DateT today = CDate::GetNowAsDateT();
    DateT end = today;
    DateT start = mCurrentPeriodStart;
    if (yearsBack != 0) {
        end = CDate::AddYearsTo(today, -yearsBack);
        start = yearsBack != 1 ? CDate::AddYearsTo(mPreviousPeriodStart, -yearsBack)
                               : mPreviousPeriodStart;
    }
    if (toPeriodEnd) {
        if (yearsBack == 0)
            end = mCurrentPeriodEnd;
        else
            end = yearsBack != 1 ? CDate::AddYearsTo(mPreviousPeriodEnd, -yearsBack)
                                 : mPreviousPeriodEnd;
    }

    long days = CDate::DaysBetween(start, end);
    long skip = 0;
    if (mDocument) {
        DateT earliest = mDocument->GetEarliestDate();
        if (earliest > start) skip = CDate::DaysBetween(start, earliest);
    }
    double portion = static_cast<double>(days + 1 - skip) / 365.0;
    return std::max(portion, 0.088);
}

} // namespace ch
