#pragma once
// CTransaction ('TrnS'): one double-entry booking. It holds a date, a name and
// a description, an amount in the transaction currency and in the home
// currency, references, a transaction type and a special type, and three
// owned lists of booking lines: debit lines (FROM: where the money comes
// from), credit lines (TO: where it goes) and category lines (FOR: why).
//
// The transaction decides when its lines post (a posted transaction) or not
// (status 6, unlinked), keeps single lines in step with its own amount,
// validates the whole, and writes itself and its lines to the model stream.
// Posted transactions live in the root's transaction list, unlinked ones in
// its unlinked list; recurring templates are a subclass whose lines never post.
//
// Ids come from the books' transaction counter. Refusals raise a numbered
// error and answer false; nothing is thrown. Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/CNonVisual.h"
#include "model/CommonOrOwn.h"
#include "model/LineList.h"
#include "model/TransactionLineArray.h"
#include "model/foundation/LArray.h"

namespace ch {

class CAccount;
class CCredit;
class CCurrency;
class CDebit;
class CExpenseType;
class CExptypeDetail;
class CNamedListArray;

using TransactionTypeT = EnumT;
using SpecialTypeT = EnumT;

namespace transaction_type {
inline constexpr TransactionTypeT kExpense = 0;
inline constexpr TransactionTypeT kIncome = 1;
inline constexpr TransactionTypeT kTransfer = 2;
inline constexpr TransactionTypeT kOther = 3;
inline constexpr TransactionTypeT kCustomerInvoice = 4;   // also a customer's credit note
inline constexpr TransactionTypeT kSupplierInvoice = 5;   // also a supplier's credit note
inline constexpr TransactionTypeT kCustomerPayment = 6;
inline constexpr TransactionTypeT kSupplierPayment = 7;
} // namespace transaction_type

namespace special_type {
inline constexpr SpecialTypeT kShareTrade = 0;
inline constexpr SpecialTypeT kDividend = 2;
inline constexpr SpecialTypeT kDefault = 3;
inline constexpr SpecialTypeT kVATBalancing = 4;
} // namespace special_type

class CTransaction : public CNonVisual {
public:
    static constexpr std::size_t kMaxDescriptionLength = 251;
    static constexpr std::size_t kVATNrSize = 12;
    static constexpr std::size_t kReferenceSize = 35;

    // A new transaction with the next id; with `withLines`, one line on each side.
    CTransaction(CDocAccounting* document, bool withLines, TransactionTypeT type);
    // The id (negative: the next one); `unlinked` makes status 6 before the
    // defaults, so that the default lines don't post.
    CTransaction(ObjectIdT id, CDocAccounting* document, bool withLines, TransactionTypeT type,
                 bool unlinked);
    // Reads the record; the reader attaches the lines afterwards.
    CTransaction(LStream* stream, FourCharCode version, CDocAccounting* document, bool unused);
    // Deletes the lines without taking them off their accounts: a posted
    // transaction goes through DeleteSelf, whose BeforeDelete takes them off.
    ~CTransaction() override;

    // In this order: name by type, description empty, today's date, VAT number
    // " ", amounts 0, the input currency, no document, special type 3; with
    // `withLines` one debit, one credit and one category line.
    void SetDefaults(bool withLines);

    // A negative id takes the next transaction id; another id is kept and
    // raises the counter when it is lower.
    bool Put_Id(ObjectIdT id) override;
    bool Put_TrnsId(ObjectIdT id) { return CTransaction::Put_Id(id); }

    // --- fields
    DateT Get_mDate() const { return mDate; }
    DateT Get_SortDate() const override { return mDate; }
    // Stores the date and its parts; 2002.
    bool Put_mDate(DateT date);
    void Get_mDescription(char (&out)[kDescriptionSize]) const;
    // The first 251 characters into the fixed copy; the description text from
    // the whole text (Mac Roman). Null is the empty text.
    bool Put_mDescription(const char* description);
    double Get_mTotalAmount() const { return mTotalAmount; }
    // Keeps single lines in step; see the definition.
    bool Put_mTotalAmount(double amount);
    double Get_mLocalAmount() const { return mLocalAmount; }
    bool Put_mLocalAmount(double amount);
    ObjectIdT Get_mCurrencyId() const { return mCurrencyId; }
    bool Put_mCurrencyId(ObjectIdT id, CCurrency* currency);
    // The transaction currency (null when the document has none with the id).
    CCurrency* Get_mCurrencyPtr();
    // Whether the currency with the id exists (the home currency always counts).
    bool Search_Currency(ObjectIdT id);
    ObjectIdT Get_mDocumentId() const { return mDocumentId; }
    bool Put_mDocumentId(ObjectIdT id);
    void Get_mDocumentRef(char (&out)[kReferenceSize]) const;
    bool Put_mDocumentRef(const char* reference);          // at most 34 characters
    void Get_mVATNr(char (&out)[kVATNrSize]) const;
    bool Put_mVATNr(const char* number);                   // at most 11 characters
    void Get_mExternalReference(char (&out)[kReferenceSize]) const;
    bool Put_mExternalReference(const char* reference);    // at most 34 characters
    // The texts: a change of letter case alone is not taken; absent is empty.
    virtual bool Put_CFVATNr(TextRef text);
    virtual bool Put_CFDocumentReference(TextRef text);
    virtual bool Put_CFExternalReference(TextRef text);
    virtual const std::string& Get_CFVATNr() const { return mReferences->vatNumber; }
    virtual const std::string& Get_CFDocumentReference() const { return mReferences->documentReference; }
    virtual const std::string& Get_CFExternalReference() const { return mReferences->externalReference; }
    bool Get_mb_Approved() const { return mb_Approved; }
    bool Put_mb_Approved(bool approved);
    bool Get_mb_budgetOneOff() const { return mb_budgetOneOff; }
    bool Put_mb_budgetOneOff(bool oneOff);
    TransactionTypeT Get_mTransactionType() const { return mTransactionType; }
    bool Put_mTransactionType(TransactionTypeT type);
    SpecialTypeT Get_mSpecialTypeT() const { return mSpecialTypeT; }
    bool Put_mSpecialTypeT(SpecialTypeT type);
    bool isVATBalancingTransaction() const { return mSpecialTypeT == special_type::kVATBalancing; }
    ObjectIdT Get_mReferenceObjectId() const { return mReferenceObjectId; }
    bool Put_mReferenceObjectId(ObjectIdT id);
    CNamedListArray* GetDebitList() const { return &mDebitList; }
    CNamedListArray* GetCreditList() const { return &mCreditList; }
    CNamedListArray* GetExpenseTypeList() const { return &mExpenseTypeList; }

    // --- lines
    // A new line at the 1-based index (negative: at the end) in the
    // transaction currency, with `amount` in that currency (inLineCurrency)
    // or in the home currency, on the default account or category of the
    // transaction type, posted.
    CDebit* Add_Debit(ArrayIndexT index, bool inLineCurrency, double amount);
    CCredit* Add_Credit(ArrayIndexT index, bool inLineCurrency, double amount);
    CExptypeDetail* Add_ExpenseType(ArrayIndexT index, bool inLineCurrency, double amount);
    bool Set_Debit_Amount(CDebit* line, double amount, bool inLineCurrency);
    bool Set_Credit_Amount(CCredit* line, double amount, bool inLineCurrency);
    bool Set_ExpenseType_Amount(CExptypeDetail* line, double amount, bool inLineCurrency);
    // The account, checked against the transaction type (errors 131 to 135;
    // 133 is only a warning); a refused account leaves the line as it was.
    bool Set_Debit_Account(CDebit* line, ObjectIdT accountId);
    bool Set_Credit_Account(CCredit* line, ObjectIdT accountId);
    bool Set_ExpenseType_Account(CExptypeDetail* line, ObjectIdT categoryId);
    bool Set_Debit_Curreny(CDebit* line, ObjectIdT currencyId, CCurrency* currency);
    bool Set_Credit_Curreny(CCredit* line, ObjectIdT currencyId, CCurrency* currency);
    bool Set_ExpenseType_Curreny(CExptypeDetail* line, ObjectIdT currencyId, CCurrency* currency);
    // Each side keeps at least one line (error 142); the line is taken off,
    // removed and destroyed.
    bool Delete_Debit(CDebit* line);
    bool Delete_Credit(CCredit* line);
    bool Delete_ExpenseType(CExptypeDetail* line);
    // Appends a line read from the stream (already posted by its reader).
    bool LinkDebit(CDebit* line);
    bool LinkCredit(CCredit* line);
    bool LinkExpenseType(CExptypeDetail* line);

    // --- balancing and totals (home currency)
    bool BalanceDebit(CDebit* line);
    bool BalanceCredit(CCredit* line);
    bool BalanceExpenseType(CExptypeDetail* line);
    // With exactly one category line, moves it (and its category) to the
    // property change of the debit and credit sides; always 0.
    long BalanceExpenseTypes();
    double Get_DebitAmount(double& fluctuation) const;
    double Get_CreditAmount(double& fluctuation) const;
    double Get_ExpenseTypeAmount(double& fluctuation) const;
    double Get_FromToVariation(double& out) const;
    // Adds the lines' home-currency amounts to `amount`; the kind shared by
    // their accounts: 2 debt, 1 own property, 0 profit and loss, 4 other or mixed.
    static long GetDetailAmountAndType(CNamedListArray* list, double& amount);
    bool IsCompletelyPositive() const;
    bool IsCompletelyNegative() const;
    bool IsBetweenPL() const;
    bool IsOnAccount(CAccount* account) const override;
    bool IsOnExpenseType(CExpenseType* category) const override;
    // The account of the largest line (by home-currency magnitude) of the
    // debit side (true) or credit side; null when none is above 0.
    CAccount* giveOtherAccount(bool debitSide) const;
    bool IsOnModifiedForeignCurrency() const;
    // What the transaction means for a share: the money invested (negative)
    // or returned, the costs, the number of shares moved, and the balance of
    // its zero-amount portfolio lines. The last two arguments are not used.
    long Get_Investment(CCurrency* share, double& invested, double& costs, std::int32_t& shares,
                        double& zeroLinesBalance, long, long) const;

    // The description text; the fixed 8-bit copy keeps what it held before.
    bool Put_StringrefDesc(TextRef description) override;

    // Errors 238 (all zero), 128 (sides differ), 144 (categories can't be
    // balanced); success sets status 0 unless blocked, adjusting or unlinked.
    bool Validate() override;
    // Brings the category lines to the property the debit and credit lines
    // move (not an invoice's): negated when they show it the other way
    // round, 0 when nothing moves, else balanced. False when they still
    // disagree; then `moved` and `shown` get the two sums. Raises nothing.
    bool AgreeCategoriesWithSides(double* moved = nullptr, double* shown = nullptr);
    // Whether home-currency totals of the debit and credit sides agree, as
    // Validate requires: to less than two tenths of the smallest unit.
    static bool SidesAgree(double debits, double credits);

    // --- posting state
    // Posts every line; error 137 unless unlinked. Status 0.
    bool Link();
    // Takes every line off; error 137 when already unlinked. Status 6, not approved.
    bool Unlink();
    // Error 137 for a blocked transaction; otherwise every line is deleted.
    bool BeforeDelete() override;
    bool IsPosted() const;
    // While a document is read, the lines of a posted transaction wait: they
    // post once every transaction is in the list's order (PostHeldLines).
    void HoldPosting() { mPostingHeld = true; }
    bool IsPostingHeld() const { return mPostingHeld; }
    void PostHeldLines();
    // PostHeldLines while the whole file posts: the lines' accounts and
    // categories keep them aside (CDebit::LinkHeld); currencyOf finds a
    // line's currency by its id.
    void PostHeldLinesAside(const std::function<CCurrency*(ObjectIdT)>& currencyOf);
    // The same for the given lines, which are the transaction's lines in
    // the order of its lists (debits, credits, category lines): the reader
    // of a file has them at hand.
    void PostHeldLinesAside(const std::function<CCurrency*(ObjectIdT)>& currencyOf, CDebit* const* lines,
                            std::size_t count);

    // --- texts
    std::string Get_FullDescription() const;
    static std::string Get_DetailDescription(CNamedListArray* list);

    // --- stream
    void PutStream(LStream* stream) override { PutStream(stream, true); }
    // The record; with `withDetails` the lines' records follow.
    void PutStream(LStream* stream, bool withDetails);
    void PutDetailsToStream(LStream* stream);

    // --- copies, imports and combinations
    // Fills this transaction from the source: name, description, amounts,
    // currency, document id and reference, VAT number, flags and a copy of
    // every line in order; dated today and unlinked (status 6). Lines it had
    // are taken off and destroyed. Its id (from the transaction counter),
    // type, special type, reference object and external reference stay.
    virtual bool InitFromCopy(CTransaction* source);
    // Line arrays hold groups of three items (TransactionLineArray.h).
    // Name, description, date, currency (unless 0) and total; then each side
    // from its line array when that holds items or, without, one line of the
    // whole amount on the given account (the category side: the given
    // category, else the unspecified transfer). The result of Validate.
    virtual bool Import(const char* name, const char* description, DateT date, double amount,
                        ObjectIdT fromAccountId, ObjectIdT toAccountId, ObjectIdT categoryId,
                        ObjectIdT currencyId, const LVariableArray* debits, const LVariableArray* credits,
                        const LVariableArray* categories);
    // A line in front of the side of the type code ('DebT', 'CreT', 'ExtD';
    // others add nothing) for each group. 1.
    virtual bool ImportDetails(FourCharCode typeCode, const LVariableArray* lines);
    virtual bool ImportDetail(FourCharCode typeCode, ObjectIdT accountId, ObjectIdT currencyId,
                              double amount);
    // A non-empty name or description replaces the old one. A side whose
    // number of lines times 3 differs from its array's item count (no array:
    // 0) is updated (UpdateDetail) and the transaction becomes of type 3. 1.
    virtual bool Update(const char* name, const char* description, const LVariableArray* debits,
                        const LVariableArray* credits, const LVariableArray* categories);
    // The k-th line takes the k-th group's account, currency and amount where
    // they differ; missing lines are added; lines beyond the groups stay. 1.
    virtual bool UpdateDetail(CNamedListArray* list, const LVariableArray* lines, FourCharCode typeCode);
    // Merges every further transaction of the list into the first and deletes
    // it through the document. Refused (137, false, nothing changed) when one
    // of them is blocked; only transactions ('TrnS') combine.
    static bool Combine(CNamedListArray* transactions, CDocAccounting* document);
    // Adds the other's home-currency amounts to this transaction and to its
    // lines on the same accounts and categories (made when missing).
    bool CombineWithTransaction(CTransaction* other);
    CDebit* SearchOrCreateDebit(CAccount* account);
    CCredit* SearchOrCreateCredit(CAccount* account);
    CExptypeDetail* SearchOrCreateExptypeDetail(CExpenseType* category);
    // The first line of the list on the object; null when none.
    static CDebit* SeachObject(CNonVisual* object, CNamedListArray* list);
    // The home-currency amounts times one unit of the old home currency in
    // the new one at the transaction's date; balances are not posted again.
    bool SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome);
    // Every line held in `currency`, the two sides holding the same, and no
    // line carrying a home-currency value without an amount.
    bool HeldWhollyIn(ObjectIdT currency) const;
    // Mode 'A': the record and its lines; 'H': the record only; 'D': the lines only.
    bool Export(LStream* stream, char mode) const override;

    // --- corrections made by the accounts (each returns the new transaction)
    // A blocked currency-fluctuation booking of delta for the account.
    static CTransaction* makeCurrencyAdjustmentTransaction(CAccount* account, double delta,
                                                           CDocAccounting* document,
                                                           bool property, TextRef description,
                                                           CCurrency* currency, DateT date);
    // A balance adjustment of delta against the opening-balance account.
    static CTransaction* AdjustBlance(CAccount* account, CCurrency* currency, double delta,
                                      CDocAccounting* document, bool property, bool opening,
                                      bool rounding);
    // Books an account's home-currency remainder against the opening balance.
    static CTransaction* ForceLocalBalanceToZero(CAccount* account, CDocAccounting* document);
    // After a change of home currency: makes the account's lines add up to
    // its home-currency balance, which already holds delta more than they do.
    // No amount in the account's currency moves; the opening-balance account
    // and the correction category take the other side.
    static CTransaction* BookHomeCurrencyRemainder(CAccount* account, double delta,
                                                   CDocAccounting* document);

protected:
    // Whether the line is in the list.
    static bool Holds(CNamedListArray* list, const CNonVisual* line);
    bool DeleteLine(CNamedListArray* list, CDebit* line);
    CDebit* AddLine(CDebit* line, CNamedListArray* list, ArrayIndexT index, bool inLineCurrency,
                    double amount, ObjectIdT accountId);
    bool IsHomeCurrency(ObjectIdT currencyId) const;

private:
    bool SetAccountChecked(CDebit* line, ObjectIdT accountId, bool debitSide);
    // Makes a transaction for the corrections: inserted, with the status given.
    static CTransaction* NewCorrection(CDocAccounting* document);
    // The line of the list on the object with the id; made when missing.
    CDebit* LineOn(CNamedListArray* list, FourCharCode kind, ObjectIdT objectId);
    // A new line in front of the side of the type code, of amount in the line currency.
    CDebit* AddImportedLine(FourCharCode typeCode, double amount);

    // A transaction's references are most often all empty, or a blank VAT
    // number and no others: those are kept once.
    struct References {
        std::string vatNumber;
        std::string documentReference;
        std::string externalReference;

        static References* Common(const References& references);
        static bool IsCommon(const References* references);
        static References* Initial();
        // No references; a blank VAT number and no others (a new transaction's).
        static const std::array<References*, 2>& All();
    };
    // Sets the fixed 8-bit copy of the description; none is kept while it is
    // the description text itself.
    void SetDescriptionCopy(std::string copy);

    DateT mDate = 0;
    ObjectIdT mCurrencyId = 1;
    double mTotalAmount = 0.0;
    double mLocalAmount = 0.0;
    ObjectIdT mDocumentId = -1;
    ObjectIdT mReferenceObjectId = -1;
    std::int16_t mYear = 0;
    std::uint8_t mDay = 0;
    std::uint8_t mMonth = 0;
    bool mb_Approved = false;
    bool mb_budgetOneOff = false;
    TransactionTypeT mTransactionType = transaction_type::kOther;
    SpecialTypeT mSpecialTypeT = special_type::kDefault;
    bool mPostingHeld = false;
    // The fixed 8-bit copy of the description (at most 251 characters) is
    // the description text itself while mDescriptionIsText, else mDescriptionCopy.
    bool mDescriptionIsText = true;
    std::unique_ptr<std::string> mDescriptionCopy;
    // The references live as texts; the 8-bit forms are made from them.
    CommonOrOwn<References> mReferences{References::Initial()};
    // The lines; mutable as the lists handed out are (callers change them).
    mutable LineList mDebitList;
    mutable LineList mCreditList;
    mutable LineList mExpenseTypeList;
};

} // namespace ch
