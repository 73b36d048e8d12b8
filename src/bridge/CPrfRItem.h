#pragma once
// CPrfRItem: the item of the document's settings record ('PrFr') for the
// settings window, the new-document assistant and every operation that needs
// a default account, category or period. The document makes one over its
// settings record; it is not registered.
//
// Settings are numbers; a detached item answers -1 for each. A setter writes
// only a value that differs from the stored one; none is ignored.
//
// Password protection takes effect only once the password has been typed a
// second time, identically. The password is kept as the settings record
// stores it: at most 34 characters in the model's 8-bit encoding; a longer
// text is cut the same way when it is set and when it is checked.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class CPreference;

class CPrfRItem : public CNonVisualDataItem {
public:
    CPrfRItem();
    // Over the settings record; a protected record with a password of 3 or
    // more characters starts with the confirmation filled in.
    explicit CPrfRItem(CNonVisual* preference, const Ptr& parent = nullptr);

    // The text as the settings record keeps a password: cut to 34 characters
    // and to the 8-bit field, read back as text. Whoever checks a typed
    // password against the stored one compares this form.
    static std::string passwordAsStored(std::string_view text);

    // --- default accounts and categories, periods (long numbers)
    long mDefAccntCurrencyFluctuations() const;
    long mDefAccntOpeningBalance() const;
    long mDefAccntUnspecifiedIncome() const;
    long mDefAccntUnspecifiedExpense() const;
    long mDefAccntOwnProperty() const;
    long mDefExpTUnspecifiedExpense() const;
    long mDefExpTUnspecifiedIncome() const;
    long mDefExpTUnspecifiedTransfer() const;
    long mDefExpTUnspecifiedOpeningBalance() const;
    long mDefExpTUnspecifiedCurrencyFluctuation() const;
    long mDefExpTUnspecifiedCorrection() const;
    long mDateLastVAT() const;
    long mCurrentPeriodStart() const;
    long mCurrentPeriodEnd() const;
    long mCurrentPeriod() const;
    long mPreviousPeriod() const;
    long mPreviousPeriodStart() const;
    long mPreviousPeriodEnd() const;
    long mCurrentYearStart() const;
    long mCurrentYearEnd() const;

    // --- rules, currencies, account types and more (int numbers)
    int mTransactionModifRule() const;
    int mTransactionEnteringRule() const;
    int mTransactionDeleteRule() const;
    int mHomeCurrency() const;
    int mInputCurrency() const;
    int mNrOfDecimals() const;
    int mDefPortfolioAccountType() const;
    int mDefPortfolioPLAccountType() const;
    int mDefPortfolioExpenseType() const;
    int mDefAccntStockCommission() const;
    int mDefExpTStockCommission() const;
    int mDefAccntStockTax() const;
    int mDefExptStockTax() const;
    int mDefaultCreditCardAccount() const;
    int mCreditCardAccountType() const;
    int mCustomerTurnoverAccT() const;
    int mCustomerOpenInvoiceAccT() const;
    int mSupplierTurnoverAccT() const;
    int mSupplierOpenInvoicAccT() const;
    int mVATReceivedAccT() const;
    int mVatPaidAccT() const;
    int mVatBalanceAcnT() const;
    int mVatInvoicedNotYetReceivedExpT() const;
    int mVatInvoicedNotYetPaidExpT() const;
    int mSupplierPaymentsCategory() const;
    int mCustomerInvoiceCategory() const;

    // --- setters that write the settings record
    void setMDefAccntCurrencyFluctuations(std::optional<long> id);
    void setMDefAccntOpeningBalance(std::optional<long> id);
    void setMDefAccntUnspecifiedIncome(std::optional<long> id);
    void setMDefAccntUnspecifiedExpense(std::optional<long> id);
    void setMDefAccntOwnProperty(std::optional<long> id);
    void setMDefExpTUnspecifiedExpense(std::optional<long> id);
    void setMDefExpTUnspecifiedIncome(std::optional<long> id);
    void setMDefExpTUnspecifiedTransfer(std::optional<long> id);
    void setMDefExpTUnspecifiedOpeningBalance(std::optional<long> id);
    void setMDefExpTUnspecifiedCurrencyFluctuation(std::optional<long> id);
    void setMDefExpTUnspecifiedCorrection(std::optional<long> id);
    // The model changes the home currency; the id is kept only when it agrees.
    void setMHomeCurrency(std::optional<long> id);
    // Called once the books took another home currency (every amount was
    // converted): what was worked out in the old one is stale.
    void setHomeCurrencyChangeHandler(std::function<void()> handler) { mHomeCurrencyChanged = std::move(handler); }
    void setMInputCurrency(std::optional<long> id);
    void setMDefPortfolioAccountType(std::optional<long> id);
    void setMDefPortfolioPLAccountType(std::optional<long> id);
    void setMDefPortfolioExpenseType(std::optional<long> id);
    void setMDefAccntStockCommission(std::optional<long> id);
    void setMDefExpTStockCommission(std::optional<long> id);
    void setMDefAccntStockTax(std::optional<long> id);
    void setMDefExptStockTax(std::optional<long> id);
    void setMDefaultCreditCardAccount(std::optional<long> id);
    void setMCreditCardAccountType(std::optional<long> id);
    void setMCustomerTurnoverAccT(std::optional<long> id);
    void setMCustomerOpenInvoiceAccT(std::optional<long> id);
    void setMSupplierTurnoverAccT(std::optional<long> id);
    void setMSupplierOpenInvoicAccT(std::optional<long> id);
    void setMVATReceivedAccT(std::optional<long> id);
    void setMVatPaidAccT(std::optional<long> id);
    void setMVatBalanceAcnT(std::optional<long> id);
    void setMVatInvoicedNotYetReceivedExpT(std::optional<long> id);
    void setMVatInvoicedNotYetPaidExpT(std::optional<long> id);
    void setMSupplierPaymentsCategory(std::optional<long> id);
    void setMCustomerInvoiceCategory(std::optional<long> id);
    // A month 1 to 12 that differs from the stored one: the periods are set
    // from it and the four period dates announced. Another month: error 166.
    void setMCurrentYearStart(std::optional<long> month);

    // --- read-only here: these only announce their key
    void setMDateLastVAT(std::optional<long>) { announceDisplayState("mDateLastVAT"); }
    void setMCurrentPeriodStart(std::optional<long>) { announceDisplayState("mCurrentPeriodStart"); }
    void setMCurrentPeriodEnd(std::optional<long>) { announceDisplayState("mCurrentPeriodEnd"); }
    void setMCurrentPeriod(std::optional<long>) { announceDisplayState("mCurrentPeriod"); }
    void setMPreviousPeriod(std::optional<long>) { announceDisplayState("mPreviousPeriod"); }
    void setMPreviousPeriodStart(std::optional<long>) { announceDisplayState("mPreviousPeriodStart"); }
    void setMPreviousPeriodEnd(std::optional<long>) { announceDisplayState("mPreviousPeriodEnd"); }
    void setMCurrentYearEnd(std::optional<long>) { announceDisplayState("mCurrentYearEnd"); }
    void setMTransactionModifRule(std::optional<long>) { announceDisplayState("mTransactionModifRule"); }
    void setMTransactionEnteringRule(std::optional<long>) { announceDisplayState("mTransactionEnteringRule"); }
    void setMTransactionDeleteRule(std::optional<long>) { announceDisplayState("mTransactionDeleteRule"); }
    void setMNrOfDecimals(std::optional<long>) { announceDisplayState("mNrOfDecimals"); }

    // --- other values
    // The record's format version (a four-character code as a number).
    std::optional<long> version() const;
    bool mPasswordYes() const;
    void setMPasswordYes(std::optional<bool> protectedFlag);
    // The stored password; none when detached.
    std::optional<std::string> mPassword() const;
    // Stores the password (cut as passwordAsStored) and switches protection
    // off until it is confirmed.
    void setMPassword(std::optional<std::string_view> password);
    const std::optional<std::string>& mOtherPasword() const { return mConfirmation; }
    // The confirmation: equal to the password, it is kept and protection goes
    // on; otherwise error 173 and protection goes off.
    void setMOtherPasword(std::optional<std::string_view> confirmation);
    // The confirmation is not empty and equals the password.
    bool passwordsOK() const;
    void setPasswordsOK(bool ok) { setMPasswordYes(ok); }
    std::optional<std::string> mCurrencyName() const;
    std::optional<std::string> mCurrencyDescription() const;
    // The account type of the own-property account; 0 when detached or unknown.
    long defautlPropertyTypeId() const;

private:
    CPreference* preference() const;
    // Writes the id when it differs from the getter's, then announces the key;
    // nothing without an id or a record.
    template <class Id>
    void setId(std::optional<long> id, Id (CPrfRItem::*getter)() const,
               void (CPreference::*setter)(ObjectIdT), const char* key);

    std::optional<std::string> mConfirmation;
    std::function<void()> mHomeCurrencyChanged;
};

} // namespace ch
