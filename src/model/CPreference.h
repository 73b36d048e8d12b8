#pragma once
// CPreference: the settings record of one document ('PrFr'), written first in
// the model stream with its own format version. It holds the password, the
// home and input currencies, the number of decimals, the ids of the default
// accounts, categories and account types the model falls back on, the current
// and previous accounting periods, and the rules for transactions.
//
// The reader accepts the versions '0.60', '0.70', '0.80', '0.90', '1.00' to
// '1.11' and '2.00'; any other turns the version into 'stop' and reading ends
// there (the document reader then refuses the file). A record read from an
// older version keeps that version until it is written again.

#include <cstdint>

#include "model/CNonVisual.h"

namespace ch {

using ModifRuleT = EnumT;
using CreateRuleT = EnumT;
using DeleteRuleT = EnumT;

class CPreference : public CNonVisual {
public:
    explicit CPreference(CDocAccounting* document);
    CPreference(CDocAccounting* document, ObjectIdT id);
    CPreference(CDocAccounting* document, LStream* stream);

    // The values of a new document, then CheckPeriod.
    void SetDefaults();
    // Writes the record; sets the version to the current one ('2.00') first.
    void PutStream(LStream* stream) override;

    FourCharCode Get_Version() const { return mVersion; }
    void Put_Version(FourCharCode version) { mVersion = version; }
    // The version code as a read record stored it, also one refused as 'stop'.
    FourCharCode Get_StoredVersion() const { return mStoredVersion; }

    // --- password and texts
    bool Get_mPasswordYes() const { return mPasswordYes != 0; }
    void Put_mPasswordYes(bool yes) { mPasswordYes = yes ? 1 : 0; }
    char* Get_mPassword(char* out) const;                // out holds 35 bytes
    void Put_mPassword(const char* password);            // at most 34 characters
    char* Get_mCurrencyName(char* out) const;            // out holds 35 bytes
    void Put_mCurrencyName(const char* name);
    char* Get_mCurrencyDescription(char* out) const;     // out holds 256 bytes
    void Put_mCurrencyDescription(const char* description);   // at most 255 characters
    // Clears the password and the password flag.
    void ResetPassword();

    // --- default accounts and categories
    ObjectIdT Get_mDefAccntCurrencyFluctuations() const { return mDefAccntCurrencyFluctuations; }
    void Put_mDefAccntCurrencyFluctuations(ObjectIdT id) { mDefAccntCurrencyFluctuations = id; }
    ObjectIdT Get_mDefAccntOpeningBalance() const { return mDefAccntOpeningBalance; }
    void Put_mDefAccntOpeningBalance(ObjectIdT id) { mDefAccntOpeningBalance = id; }
    ObjectIdT Get_mDefAccntUnspecifiedIncome() const { return mDefAccntUnspecifiedIncome; }
    void Put_mDefAccntUnspecifiedIncome(ObjectIdT id) { mDefAccntUnspecifiedIncome = id; }
    ObjectIdT Get_mDefAccntUnspecifiedExpense() const { return mDefAccntUnspecifiedExpense; }
    void Put_mDefAccntUnspecifiedExpense(ObjectIdT id) { mDefAccntUnspecifiedExpense = id; }
    ObjectIdT Get_mDefAccntOwnProperty() const { return mDefAccntOwnProperty; }
    void Put_mDefAccntOwnProperty(ObjectIdT id) { mDefAccntOwnProperty = id; }
    ObjectIdT Get_mDefExpTUnspecifiedExpense() const { return mDefExpTUnspecifiedExpense; }
    void Put_mDefExpTUnspecifiedExpense(ObjectIdT id) { mDefExpTUnspecifiedExpense = id; }
    ObjectIdT Get_mDefExpTUnspecifiedIncome() const { return mDefExpTUnspecifiedIncome; }
    void Put_mDefExpTUnspecifiedIncome(ObjectIdT id) { mDefExpTUnspecifiedIncome = id; }
    ObjectIdT Get_mDefExpTUnspecifiedTransfer() const { return mDefExpTUnspecifiedTransfer; }
    void Put_mDefExpTUnspecifiedTransfer(ObjectIdT id) { mDefExpTUnspecifiedTransfer = id; }
    ObjectIdT Get_mDefExpTUnspecifiedOpeningBalance() const { return mDefExpTUnspecifiedOpeningBalance; }
    void Put_mDefExpTUnspecifiedOpeningBalance(ObjectIdT id) { mDefExpTUnspecifiedOpeningBalance = id; }
    ObjectIdT Get_mDefExpTUnspecifiedCurrencyFluctuation() const { return mDefExpTUnspecifiedCurrencyFluctuation; }
    void Put_mDefExpTUnspecifiedCurrencyFluctuation(ObjectIdT id) { mDefExpTUnspecifiedCurrencyFluctuation = id; }
    ObjectIdT Get_mDefExpTUnspecifiedCorrection() const { return mDefExpTUnspecifiedCorrection; }
    void Put_mDefExpTUnspecifiedCorrection(ObjectIdT id) { mDefExpTUnspecifiedCorrection = id; }

    // --- periods
    DateT Get_mDateLastVAT() const { return mDateLastVAT; }
    void Put_mDateLastVAT(DateT date) { mDateLastVAT = date; }
    DateT Get_mCurrentPeriodStart() const { return mCurrentPeriodStart; }
    void Put_mCurrentPeriodStart(DateT date) { mCurrentPeriodStart = date; }
    DateT Get_mCurrentPeriodEnd() const { return mCurrentPeriodEnd; }
    void Put_mCurrentPeriodEnd(DateT date) { mCurrentPeriodEnd = date; }
    ObjectIdT Get_mCurrentPeriod() const { return mCurrentPeriod; }
    void Put_mCurrentPeriod(ObjectIdT id) { mCurrentPeriod = id; }
    ObjectIdT Get_mPreviousPeriod() const { return mPreviousPeriod; }
    void Put_mPreviousPeriod(ObjectIdT id) { mPreviousPeriod = id; }
    DateT Get_mPreviousPeriodStart() const { return mPreviousPeriodStart; }
    void Put_mPreviousPeriodStart(DateT date) { mPreviousPeriodStart = date; }
    DateT Get_mPreviousPeriodEnd() const { return mPreviousPeriodEnd; }
    void Put_mPreviousPeriodEnd(DateT date) { mPreviousPeriodEnd = date; }
    std::int32_t Get_mCurrentYearStart() const { return mCurrentYearStart; }
    // Month 1-12: stores it and sets both periods from it (true). Otherwise
    // error 166, nothing changes, false.
    bool Put_mCurrentYearStart(std::int32_t month);
    std::int32_t Get_mCurrentYearEnd() const { return mCurrentYearEnd; }
    void Put_mCurrentYearEnd(std::int32_t value) { mCurrentYearEnd = value; }

    // --- transaction rules
    ModifRuleT Get_mTransactionModifRule() const { return mTransactionModifRule; }
    void Put_mTransactionModifRule(ModifRuleT rule) { mTransactionModifRule = rule; }
    CreateRuleT Get_mTransactionEnteringRule() const { return mTransactionEnteringRule; }
    void Put_mTransactionEnteringRule(CreateRuleT rule) { mTransactionEnteringRule = rule; }
    DeleteRuleT Get_mTransactionDeleteRule() const { return mTransactionDeleteRule; }
    void Put_mTransactionDeleteRule(DeleteRuleT rule) { mTransactionDeleteRule = rule; }

    // --- currencies and decimals
    ObjectIdT Get_mHomeCurrency() const { return mHomeCurrency; }
    // A different id is stored only when the document agrees to the change
    // (CDocAccounting::ChangeHomeCurrency); the answer says whether it did.
    bool Put_mHomeCurrency(ObjectIdT id);
    ObjectIdT Get_mInputCurrency() const { return mInputCurrency; }
    void Put_mInputCurrency(ObjectIdT id) { mInputCurrency = id; }
    std::int32_t Get_mNrOfDecimals() const { return mNrOfDecimals; }
    // Stores n and makes it the application's number of decimals.
    void Put_mNrOfDecimals(std::int32_t n);

    // --- shares
    ObjectIdT Get_mDefPortfolioAccountType() const { return mDefPortfolioAccountType; }
    void Put_mDefPortfolioAccountType(ObjectIdT id) { mDefPortfolioAccountType = id; }
    ObjectIdT Get_mDefPortfolioPLAccountType() const { return mDefPortfolioPLAccountType; }
    void Put_mDefPortfolioPLAccountType(ObjectIdT id) { mDefPortfolioPLAccountType = id; }
    ObjectIdT Get_mDefPortfolioExpenseType() const { return mDefPortfolioExpenseType; }
    void Put_mDefPortfolioExpenseType(ObjectIdT id) { mDefPortfolioExpenseType = id; }
    // The stored id when the document has that account, else the
    // unspecified-expense account.
    ObjectIdT Get_mDefAccntStockCommission() const;
    void Put_mDefAccntStockCommission(ObjectIdT id) { mDefAccntStockCommission = id; }
    // The stored id when the document has that category, else the
    // unspecified-expense category.
    ObjectIdT Get_mDefExpTStockCommission() const;
    void Put_mDefExpTStockCommission(ObjectIdT id) { mDefExpTStockCommission = id; }
    ObjectIdT Get_mDefAccntStockTax() const;
    void Put_mDefAccntStockTax(ObjectIdT id) { mDefAccntStockTax = id; }
    ObjectIdT Get_mDefExptStockTax() const;
    void Put_mDefExptStockTax(ObjectIdT id) { mDefExptStockTax = id; }

    // --- business (the account-type getters fall back when not positive)
    ObjectIdT Get_mCustomerTurnoverAccT() const { return mCustomerTurnoverAccT > 0 ? mCustomerTurnoverAccT : 3; }
    void Put_mCustomerTurnoverAccT(ObjectIdT id) { mCustomerTurnoverAccT = id; }
    ObjectIdT Get_mCustomerOpenInvoiceAccT() const { return mCustomerOpenInvoiceAccT > 0 ? mCustomerOpenInvoiceAccT : 3; }
    void Put_mCustomerOpenInvoiceAccT(ObjectIdT id) { mCustomerOpenInvoiceAccT = id; }
    ObjectIdT Get_mSupplierTurnoverAccT() const { return mSupplierTurnoverAccT > 0 ? mSupplierTurnoverAccT : 3; }
    void Put_mSupplierTurnoverAccT(ObjectIdT id) { mSupplierTurnoverAccT = id; }
    ObjectIdT Get_mSupplierOpenInvoicAccT() const { return mSupplierOpenInvoicAccT > 0 ? mSupplierOpenInvoicAccT : 2; }
    void Put_mSupplierOpenInvoicAccT(ObjectIdT id) { mSupplierOpenInvoicAccT = id; }
    ObjectIdT Get_mVATReceivedAccT() const { return mVATReceivedAccT; }
    void Put_mVATReceivedAccT(ObjectIdT id) { mVATReceivedAccT = id; }
    ObjectIdT Get_mVatPaidAccT() const { return mVatPaidAccT; }
    void Put_mVatPaidAccT(ObjectIdT id) { mVatPaidAccT = id; }
    // The stored id, or 2 when it is negative (unset).
    ObjectIdT Get_mVatBalanceAcnt() const { return mVatBalanceAcnt < 0 ? 2 : mVatBalanceAcnt; }
    void Put_mVatBalanceAcnt(ObjectIdT id) { mVatBalanceAcnt = id; }
    ObjectIdT Get_mVatInvoicedNotYetReceivedExpT() const { return mVatInvoicedNotYetReceivedExpT; }
    void Put_mVatInvoicedNotYetReceivedExpT(ObjectIdT id) { mVatInvoicedNotYetReceivedExpT = id; }
    ObjectIdT Get_mVatInvoicedNotYetPaidExpt() const { return mVatInvoicedNotYetPaidExpt; }
    void Put_mVatInvoicedNotYetPaidExpt(ObjectIdT id) { mVatInvoicedNotYetPaidExpt = id; }
    ObjectIdT Get_mDefaultCreditCardAccount() const { return mDefaultCreditCardAccount; }
    void Put_mDefaultCreditCardAccount(ObjectIdT id) { mDefaultCreditCardAccount = id; }
    ObjectIdT Get_mCreditCardAccountType() const { return mCreditCardAccountType; }
    void Put_mCreditCardAccountType(ObjectIdT id) { mCreditCardAccountType = id; }
    ObjectIdT Get_mDefaultCategoryCustomerInvoices() const { return mDefaultCategoryCustomerInvoices; }
    void Put_mDefaultCategoryCustomerInvoices(ObjectIdT id) { mDefaultCategoryCustomerInvoices = id; }
    ObjectIdT Get_mDefaultCategorySupplierPayments() const { return mDefaultCategorySupplierPayments; }
    void Put_mDefaultCategorySupplierPayments(ObjectIdT id) { mDefaultCategorySupplierPayments = id; }

    // --- periods in use
    bool DateIsFromThisYear(DateT date) const;
    bool DateIsFromPreviousYear(DateT date) const;
    // Year start outside 1-12: year start 1; else, when today lies outside the
    // current period, the periods roll forward to the year holding today.
    void CheckPeriod();
    // The share of a year that a period covers, at least 0.088 (used to turn
    // yearly totals into monthly averages).
    double Get_YearPortion(long yearsBack, bool toPeriodEnd) const;

private:
    void SetPeriodsFromYearStart(std::int32_t month);
    void Read(LStream* stream);

    FourCharCode mVersion = 0;
    FourCharCode mStoredVersion = 0;
    EnumT mPasswordYes = 0;
    char mPassword[kNameSize] = {};
    char mCurrencyName[kNameSize] = {};
    char mCurrencyDescription[kDescriptionSize] = {};
    ObjectIdT mDefAccntCurrencyFluctuations = 1;
    ObjectIdT mDefAccntOpeningBalance = 1;
    ObjectIdT mDefAccntUnspecifiedIncome = 2;
    ObjectIdT mDefAccntUnspecifiedExpense = 3;
    ObjectIdT mDefAccntOwnProperty = 4;
    ObjectIdT mDefExpTUnspecifiedExpense = 1;
    ObjectIdT mDefExpTUnspecifiedIncome = 2;
    ObjectIdT mDefExpTUnspecifiedTransfer = 3;
    ObjectIdT mDefExpTUnspecifiedOpeningBalance = 4;
    ObjectIdT mDefExpTUnspecifiedCurrencyFluctuation = 5;
    ObjectIdT mDefExpTUnspecifiedCorrection = 6;
    DateT mDateLastVAT = 0;
    DateT mCurrentPeriodStart = 0;
    DateT mCurrentPeriodEnd = 0;
    ObjectIdT mCurrentPeriod = 0;
    ObjectIdT mPreviousPeriod = 0;
    DateT mPreviousPeriodStart = 0;
    DateT mPreviousPeriodEnd = 0;
    std::int32_t mCurrentYearStart = 1;
    std::int32_t mCurrentYearEnd = 0;
    ModifRuleT mTransactionModifRule = 0;
    CreateRuleT mTransactionEnteringRule = 0;
    DeleteRuleT mTransactionDeleteRule = 0;
    ObjectIdT mHomeCurrency = 1;
    ObjectIdT mInputCurrency = 1;
    std::int32_t mNrOfDecimals = 2;
    ObjectIdT mDefPortfolioAccountType = 1;
    ObjectIdT mDefPortfolioPLAccountType = 3;
    ObjectIdT mDefPortfolioExpenseType = 5;
    ObjectIdT mDefAccntStockCommission = 3;
    ObjectIdT mDefExpTStockCommission = 1;
    ObjectIdT mDefAccntStockTax = 3;
    ObjectIdT mDefExptStockTax = 1;
    ObjectIdT mCustomerTurnoverAccT = 3;
    ObjectIdT mCustomerOpenInvoiceAccT = 3;
    ObjectIdT mSupplierTurnoverAccT = 3;
    ObjectIdT mSupplierOpenInvoicAccT = 2;
    ObjectIdT mVATReceivedAccT = 2;
    ObjectIdT mVatPaidAccT = 3;
    ObjectIdT mVatBalanceAcnt = -1;
    ObjectIdT mVatInvoicedNotYetReceivedExpT = 1;
    ObjectIdT mVatInvoicedNotYetPaidExpt = -1;
    ObjectIdT mDefaultCreditCardAccount = -1;
    ObjectIdT mCreditCardAccountType = -1;
    ObjectIdT mDefaultCategoryCustomerInvoices = 3;
    ObjectIdT mDefaultCategorySupplierPayments = 3;
};

} // namespace ch
