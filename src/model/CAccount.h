#pragma once
// CAccount ('AcnT'): a ledger account - bank, cash, credit card, share
// portfolio, asset, debt or profit and loss. It belongs to one account type,
// has an owner and a currency, and keeps two balances: one in its own currency
// and one in the home currency. The booking lines that post to it (CDebit and
// CCredit) register in its two line lists and post through Debiteer and
// Crediteer; the account passes the home-currency amount on to its grouping
// account, or else to its account type.
//
// Balances are never taken from the document file: they are rebuilt as the
// lines of the transactions that follow in the stream link to the account.
//
// The account keeps its type object (a type with accounts can't be deleted);
// its currency and grouping account are looked up by id whenever they are
// needed, so that deleting them never leaves a dangling pointer. Main thread
// only.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "model/CNonVisual.h"
#include "model/DatedListIndex.h"
#include "model/LineNameIndex.h"

namespace ch {

class CAccType;
class CCredit;
class CCurrency;
class CDebit;
class CExpenseType;
class CNamedListArray;
class CTransaction;

using AccountSpecialTypeT = EnumT;   // 0 ordinary account, 1 credit card
using CreditCardSubTypeT = EnumT;

class CAccount : public CNonVisual {
public:
    static constexpr std::size_t kAccountNumberSize = 35;    // accounting (chart) number
    static constexpr std::size_t kBankNumberSize = 20;       // bank account number
    static constexpr std::size_t kMaxDescriptionLength = 251;
    static constexpr const char* kDefaultBankNumber = "000-000000-00";
    static constexpr AccountSpecialTypeT kCreditCard = 1;

    explicit CAccount(CDocAccounting* document);
    CAccount(ObjectIdT id, CDocAccounting* document);
    // Copies the common fields, owner, description, bank account number,
    // grouping account, balances and currency, then joins the source's type
    // with posting. The copy starts without lines.
    CAccount(const CAccount& source, CDocAccounting* document);
    // Reads the record. The stored balances are skipped: they start at 0.
    CAccount(LStream* stream, CDocAccounting* document, FourCharCode version);
    ~CAccount() override;

    CAccount(const CAccount&) = delete;
    CAccount& operator=(const CAccount&) = delete;

    // Name "New Account", owner 1, no type (type id 0), own group, the home
    // currency, bank number "000-000000-00", fiscal percentage 100.
    void SetDefaults();

    // --- texts (each Put_ returns true)
    // Cut to 34 characters; sets the accounting-number text and broadcasts 2001.
    bool Put_mAccountNumber(const char* number);
    void Get_mAccountNumber(char (&out)[kAccountNumberSize]) const;
    // Cut to 251 characters.
    bool Put_mDescription(const char* description);
    void Get_mDescription(char (&out)[kDescriptionSize]) const;
    // Bank account number, cut to 19 characters; sets its text too.
    bool Put_mNumber(const char* number);
    void Get_mNumber(char (&out)[kBankNumberSize]) const;
    // A text equal to the stored one ignoring case changes nothing; absent is empty.
    virtual bool Put_StringRefAccountingNumber(TextRef text);
    virtual bool Put_StringRefBankAccountNumber(TextRef text);
    virtual const std::string& Get_StringRefAccountingNumber() const { return mAccountingNumberText; }
    virtual const std::string& Get_StringRefBankAccountNumber() const { return mBankNumberText; }

    // "number:name" when there is an accounting number, else the name.
    void Get_Name(char (&out)[kNameSize]) const override;
    void Get_NameOnly(char (&out)[kNameSize]) const override;
    // "number : name" when there is an accounting-number text, else the name.
    const std::string& Get_StringrefName() const override;
    virtual const std::string& Get_StringRefNameOnly() const;

    // --- plain fields
    bool Put_mAccountOwnerId(ObjectIdT id);
    ObjectIdT Get_mAccountOwnerId() const { return mAccountOwnerId; }
    ObjectIdT Get_mAccountTypeId() const { return mAccountTypeId; }
    ObjectIdT Get_mGroupingAccount() const { return mGroupingAccount; }
    double Get_mBalance() const { return mBalance; }
    double Get_mLocalBalance() const { return mLocalBalance; }
    // Plain writes: nothing is posted.
    bool Put_mBalance(double balance);
    bool Put_mLocalBalance(double balance);
    ObjectIdT Get_mCurrency() const { return mCurrency; }
    double Get_mFiscalPct() const { return mFiscalPct; }
    bool Put_mFiscalPct(double percentage);
    AccountSpecialTypeT Get_mAccountSpecialType() const { return mAccountSpecialType; }
    // 97 (the letter a) is stored as 0.
    bool Put_mAccountSpecialType(AccountSpecialTypeT specialType);
    CreditCardSubTypeT Get_mCreditCardSubType() const { return mCreditCardSubType; }
    bool Put_mCreditCardSubType(CreditCardSubTypeT subType);
    bool Put_mDefaultExpenseType(ObjectIdT id);
    // The category with the default-category id, or null.
    CExpenseType* Get_mDefaultExpenseType() const;
    ObjectIdT Get_mDefaultExpenseTypeId() const { return mDefaultExpenseType; }
    CNamedListArray* Get_mDebitlist() const { return mDebitList.get(); }
    CNamedListArray* Get_mCreditList() const { return mCreditList.get(); }

    // --- type, group and currency
    // Leaves the current type (its balance goes with it), then joins the given
    // type or the one with the id (posting the balance when post is set). An
    // id that names no type leaves the account without a type. The id is
    // stored in every case.
    bool Put_mAccountTypeId(ObjectIdT id, CAccType* accountType, bool post);
    // Put_mAccountTypeId(id, null, true).
    bool Put_mParentId(ObjectIdT parentId) override;
    CAccType* Get_mAccountTypePtr() const { return mAccountType; }
    // The own id (or an account that can't be found) makes the account its own group.
    bool Put_mGroupingAccount(ObjectIdT id, CAccount* account);
    // The grouping account when it is another account of the document, else null.
    CAccount* Get_mGroupingAccountPtr() const;
    // Stores the id; when it changed, the balance in the account currency is
    // made again from the home-currency balance, and 2004 is broadcast.
    bool Put_mCurrency(ObjectIdT id);
    CCurrency* Get_mCurrencyPtr();
    // Whether the document has a currency with the id.
    bool Search_Currency(ObjectIdT id);
    // The account's currency symbol; "-?-" when the currency can't be found.
    std::string Get_currencySymbol();
    std::string Get_homeCurrencySymbol() const;

    // --- kind (false without a type)
    bool thisIsAProfitAndLossAccount() const;
    bool thisIsAPropretyAccount() const;
    bool thisIsAnOwnPropretyAccount() const;
    bool thisIsADebtAccount() const;

    // 0 without a type, 1 for a property type, 3 for profit and loss, else 0.
    long Get_WarningLevel(unsigned char) const override;
    long GetIconId() const override { return 131; }
    bool IsRootItem() override { return false; }
    // Appends the localized "Account" to the first text, nothing to the others; flag 1.
    virtual void GetObjectDescription(std::string& first, std::string& second, std::string& third,
                                      unsigned char& flag) const;

    // --- lines and posting (called by the booking lines)
    // A 'DebT' line joins the debit list, a 'CreT' line the credit list,
    // inserted before the last entry; 2024 or 2025. A listed line changes
    // nothing (true); another kind of line is refused (false).
    bool AddDetail(CDebit* line);
    // Leaves its list; 2022 or 2023. The list's removal result.
    bool RemoveDetail(CDebit* line);
    // While a file's lines post: the line (of a kind AddDetail takes) waits
    // aside, and ListHeldDetails lists every waiting line as AddDetail one
    // by one would have, in one insertion per list when nobody listens.
    void HoldDetail(CDebit* line);
    // What a line counts for in this account's own currency.
    double LineAmountInOwnCurrency(const CDebit& line);
    void ListHeldDetails();
    // Posts a line's amounts: the home-currency amount `local`, and `foreign`
    // in the line's currency. Debiteer lowers a property balance and raises a
    // debt or profit-and-loss balance; Crediteer the reverse. The amount goes
    // on to the grouping account, or else to the type, and 2004 is broadcast.
    // An account without a type changes no balance and passes nothing on.
    bool Debiteer(double local, double foreign, ObjectIdT currencyId, CCurrency* currency,
                  DateT date);
    bool Crediteer(double local, double foreign, ObjectIdT currencyId, CCurrency* currency,
                   DateT date);

    // --- balances from the lines, in the home currency
    // Four sums at once: a line counts in sum k when its date is up to endk
    // (cumulative) or within startk..endk. Debit lines add, credit lines
    // subtract; a property account answers the negated sums.
    bool Get_BalanceInPeriod(double& b1, double& b2, double& b3, double& b4, DateT end1, DateT end2,
                             DateT end3, DateT end4, bool cumulative, DateT start1, DateT start2,
                             DateT start3, DateT start4) const;
    bool Get_MovementsInPeriod(double& b1, double& b2, double& b3, double& b4, DateT end1,
                               DateT end2, DateT end3, DateT end4, DateT start1, DateT start2,
                               DateT start3, DateT start4) const;

    // --- corrections
    // Books target - balance as an adjustment transaction (nothing when equal);
    // 153 and false without a type.
    bool AdjustBlanceTo(double target, bool flag);
    // With a zero balance in a foreign currency, books the home-currency
    // remainder away and sets the local balance to 0; false otherwise.
    bool ForceLocalBalanceToZero();
    // A rate change of the account's currency: the local balance and the
    // grouping account or type take delta; with `book` a currency-fluctuation
    // transaction is made for it. 2004.
    bool AdjustLocalBalance(double delta, QtyT quantityBefore, QtyT quantityAfter,
                            double factorBefore, double factorAfter, CCurrency* currency,
                            TextRef homeName, bool book, DateT date);
    // A new home currency: the local balance is multiplied by factor; a
    // profit-and-loss account in the old home currency moves to the new one;
    // any other account whose lines no longer add up to its local balance is
    // adjusted.
    virtual bool SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome, double factor);

    // --- queries
    // The import's duplicate test: the id of the last transaction with a line
    // on this account (as fromAccountId's debit or toAccountId's credit) dated
    // within the dates, of the amount (to the fourth decimal, whatever binary
    // rest the two doubles carry: kSameAmountTolerance), whose other side
    // books on the counterpart; 0 when none or when the account is neither
    // side. Only the lines dated within the window are looked at (an index by
    // date).
    //
    // The amount is in the currency with the id: a line booked in that
    // currency is compared by its own amount, one booked in another by its
    // home-currency amount when that currency is the home currency, and not
    // at all otherwise. Currency 0 compares home-currency amounts.
    static constexpr double kSameAmountTolerance = 0.00005;
    ObjectIdT CheckDuplicateTransaction(ObjectIdT fromAccountId, ObjectIdT toAccountId,
                                        double amount, long currencyId, DateT fromDate, DateT toDate,
                                        TextRef, TextRef) const;
    // Every transaction CheckDuplicateTransaction would weigh, the one it
    // answers first, then the others from the latest line back; so that each
    // of several identical statement lines can be matched with a booking of
    // its own.
    std::vector<ObjectIdT> DuplicateTransactionCandidates(ObjectIdT fromAccountId, ObjectIdT toAccountId,
                                                          double amount, DateT fromDate, DateT toDate,
                                                          ObjectIdT currencyId = 0) const;
    // The other account of the first earlier booking whose name (cut to 30
    // characters) equals the text cut likewise; null when none. Looked up by
    // name (an index), so an import of many lines stays linear.
    CAccount* giveOtherAccountForDescription(const char* text, bool debitSide) const;
    // The distinct transactions of the lines, newest first; the caller owns the list.
    std::unique_ptr<CNamedListArray> getStockTransactionList() const;
    // For a share's portfolio account, over the transactions dated within the
    // dates (0: open): the money invested and returned, the costs, and the
    // value (the home-currency balance). True.
    bool getStockPerformance(double& invested, double& returned, double& costs, double& value,
                             DateT fromDate, DateT toDate);

    // --- deletion and validation
    // 130 when another account has the id; 129 without currency, type or a
    // positive id. Otherwise status 0.
    bool Validate() override;
    // 199 budget, 237 recurring transaction, 143 blocked booking, 233 default
    // account of the settings, 267 an owner other than `owner` books on it.
    // The error shows only when showError is set.
    bool CanBeDeleted(bool showError, CNonVisual* owner) const;
    // CanBeDeleted; question 261 when the account has bookings or copies
    // waiting to be booked on it; then every transaction that books on it,
    // waiting ones included, is deleted and the account leaves its type.
    bool BeforeDelete() override;
    // The unlinked transactions with a from or to line naming the account.
    std::vector<CTransaction*> WaitingTransactionsOnIt() const;

    void PutStream(LStream* stream) override;

private:
    void CreateLineLists();
    // The amount in the account's own currency for a line's amounts.
    double AmountInAccountCurrency(double local, double foreign, ObjectIdT currencyId,
                                   CCurrency* currency, DateT date);
    bool Post(double local, double foreign, ObjectIdT currencyId, CCurrency* currency, DateT date,
              bool debit);
    // Balances of lines; a property account negates them.
    void SumLines(double (&sums)[4], const DateT (&ends)[4], const DateT (&starts)[4],
                  bool cumulative) const;

    char mAccountNumber[kAccountNumberSize] = {};
    ObjectIdT mAccountOwnerId = 1;
    ObjectIdT mAccountTypeId = 0;
    char mDescription[kDescriptionSize] = {};
    char mNumber[kBankNumberSize] = {};
    ObjectIdT mGroupingAccount = 0;
    double mBalance = 0.0;
    double mLocalBalance = 0.0;
    ObjectIdT mCurrency = 1;
    AccountSpecialTypeT mAccountSpecialType = 0;
    CreditCardSubTypeT mCreditCardSubType = 0;
    ObjectIdT mDefaultExpenseType = -1;
    double mFiscalPct = 100.0;
    std::string mAccountingNumberText;
    std::string mBankNumberText;
    CAccType* mAccountType = nullptr;
    std::unique_ptr<CNamedListArray> mDebitList;
    std::unique_ptr<CNamedListArray> mCreditList;
    std::vector<CDebit*> mHeldDebits;    // see HoldDetail
    std::vector<CDebit*> mHeldCredits;
    // The import's duplicate test looks lines up by date.
    mutable DatedListIndex mDebitDates;
    mutable DatedListIndex mCreditDates;
    // The import's earlier booking of a name is looked up by name.
    static constexpr std::size_t kComparedNameCharacters = 30;
    mutable LineNameIndex mDebitNames{kComparedNameCharacters};
    mutable LineNameIndex mCreditNames{kComparedNameCharacters};
    mutable std::string mDisplayName;   // "number : name", made on request
};

} // namespace ch
