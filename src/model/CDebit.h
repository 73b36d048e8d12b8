#pragma once
// The booking lines of a transaction: one amount on one account or category.
// CDebit ('DebT') is a FROM line on the account the money leaves, CCredit
// ('CreT') a TO line on the account it reaches, CExptypeDetail ('ExtD') a FOR
// line on the category that explains it. The three share one layout; the
// subclasses change only where the line posts and with which sign.
//
// A line carries its amount in its own currency and in the home currency.
// It is posted while its transaction is posted (not unlinked, status 6, and
// not a recurring template, 'RctR') and it has an account or category: then
// its amounts are part of that object's balance and the line is in that
// object's list of lines. Every change of account, amount or currency takes
// the old values off and posts the new ones.
//
// A line keeps a pointer to its account or category only while it is
// registered in that object's list of lines (the object's deletion deals with
// its registered lines first); otherwise it looks the object up by id, so an
// unposted line never holds a pointer to a deleted object.
//
// Line ids come from the books' line counter. A document keeps the ids
// of its lines, so that lines of one date keep their order and the file reads
// back to the same bytes. The transaction owns its lines. Main thread only.

#include <string>

#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"

namespace ch {

class CAccount;
class CCurrency;
class CExpenseType;
class CTransaction;

class CDebit : public CNonVisual {
public:
    // A line of the transaction: an id from the line counter, name "NoName",
    // the home currency, amounts 0, and the account with id 1 (registered
    // there, without posting an amount, when the transaction is posted).
    CDebit(CDocAccounting* document, CNonVisual* transaction);
    // Reads the record header; the reader then calls InitFromStream.
    CDebit(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
           FourCharCode version, CNonVisual* account);
    ~CDebit() override;

    // -9999 gives 1; a negative id the next line id; another id is kept and
    // raises the counter (within the usual jump).
    bool Put_Id(ObjectIdT id) override;
    // A line read with its stored id keeps it: the counter is raised to it
    // (however far), so that later lines never take it again.
    static void NoteReadId(CDocAccounting& document, ObjectIdT id);
    // The owning transaction's name.
    void Get_Name(char (&out)[kNameSize]) const override;
    // The home-currency amount.
    double Get_Amount() const override { return mLocalAmount; }
    // Valid with a currency (or the home currency) and an account (or a
    // non-zero account id); else error 129.
    bool Validate() override;
    // 140 when the transaction is blocked; a posted line is taken off first.
    bool BeforeDelete() override;
    // type, id, "NoName", account name, account id, currency symbol, currency
    // id, amount, transaction id; tab separated, ended by a carriage return.
    bool Export(LStream* stream, char separator) const override;

    // --- what the line shows
    virtual double Get_FromAmount() const { return mAmount; }
    virtual double Get_ToAmount() const { return 0.0; }
    // The running balance written by the analysis lists.
    virtual double Get_LocalBalance() const { return mRunningBalance; }
    void Put_LocalBalance(double balance) { mRunningBalance = balance; }
    // The running balance in the account's currency.
    virtual double Get_ForeignBalance() const;
    virtual std::string Get_ForeingCurrency() const;       // the line currency's symbol
    virtual std::string Get_ForeingCurrencyName() const;   // the line currency's name
    virtual std::string Get_LocalCurrency() const;         // the home currency's symbol
    virtual std::string Get_AccountName() const;
    virtual std::string Get_BankAccountNumber() const;
    virtual std::string Get_BookingAccountNumber() const;
    // "account : amount symbol" ("/" without account).
    virtual std::string Get_FullDescription() const;
    // False when the transaction's description is empty or one of the
    // standard texts; true without a transaction.
    bool HasComment() const;

    // --- the account or category
    ObjectIdT Get_mAccountId() const { return mAccountId; }
    // The account or category the line books on (null when it names none).
    CNonVisual* Get_mAccountPtr() const;
    // Takes the old amounts off the old object (with post set), leaves it,
    // joins the given object or the one with the id, and posts there (with
    // post set). Without post only the registration moves: reading and
    // copying post their amounts afterwards.
    bool Put_mAccountId(ObjectIdT id, bool post, CNonVisual* object);
    virtual bool Search_Account(ObjectIdT id);

    // --- amounts
    ObjectIdT Get_mCurrency() const { return mCurrency; }
    CCurrency* Get_mCurrencyptr() const;
    double Get_mAmount() const { return mAmount; }
    double Get_mLocalAmount() const { return mLocalAmount; }
    // An amount in the given currency (the home currency when none), converted
    // at the current rate; nothing when its home-currency value is unchanged.
    bool Put_mAmount(double amount, CCurrency* currency);
    // A home-currency amount; the line amount follows from it.
    bool Put_mLocalAmount(double local);
    // Both amounts as given.
    bool Put_mAmounts(double local, double amount);
    // Another currency: the line amount is made again from the home-currency
    // amount, and a posted line is posted again with it.
    bool Put_mCurrency(ObjectIdT id, CCurrency* currency);
    // Replaces the currency and keeps the amounts; a posted line is posted
    // again with it.
    bool Put_mCurrency(CCurrency* currency);
    // The line written in another currency for the amount it already counts
    // for in its account (a rate change would convert it differently): its
    // home-currency amount and every balance stay.
    void KeepAmountInCurrency(ObjectIdT currency, double amount);
    // A line whose currency (the id) no longer exists takes the home
    // currency, the same way.
    virtual bool Search_Currency(ObjectIdT id);

    // --- the transaction
    ObjectIdT Get_mTransactionId() const;
    CTransaction* Get_mTransactionPtr() const;
    // Sets the transaction when one is given; the id argument is not kept.
    virtual bool Put_mTransactionId(ObjectIdT id, CNonVisual* transaction);
    // The transaction's date (0 without one).
    DateT Get_mDate() const;
    DateT Get_SortDate() const override { return Get_mDate(); }

    // --- posting
    // Whether the transaction posts its lines (not unlinked, not a template,
    // not being read).
    bool IsTransactionPosted() const;
    // Whether this line's amounts are in a balance: its transaction is posted
    // and the line is in its object's list of lines.
    bool IsPosted() const;
    // Whether the line is in the object's list of lines.
    bool IsRegisteredWith(const CNonVisual* object) const { return mRegistered && mAccountPtr == object; }
    // Posts and registers the line (resolving its account by id).
    bool Link();
    // Link for a line of a file being read: the same figures in the same
    // order, but its account or category keeps the line aside until its
    // ListHeldDetails; the currency is the line's own, found by the caller.
    void LinkHeld(CCurrency* currency);
    // Takes the line off and out of its object's lines.
    bool Unlink();
    virtual bool AddToParent();
    virtual bool RemoveFromParent();
    virtual bool AddupToParent();
    virtual bool SubtractFromParent();
    // How much the line changes the owner's property, in the home currency.
    virtual double Get_PropertyFluctuation();
    virtual bool IsOnModifiedForeignCurrency() const;
    // The home-currency amount times factor, in whole cents.
    virtual bool SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome, double factor);
    // Only while the home currency changes, whose caller puts the balances
    // the line counts in right afterwards: the home-currency amount becomes
    // `local`, nothing else.
    void PutNewHomeAmount(double local) { mLocalAmount = local; }

    // --- reading and copying
    // Reads the body: the account (a missing account is replaced by the
    // settings' unspecified-expense account and the transaction's description
    // becomes "Account delta"), then the amounts, posted when the transaction
    // posts. False when the record names another transaction than the line's.
    virtual bool InitFromStream(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
                                CNonVisual* account);
    // The source's account (not posted), currency and home-currency amount.
    virtual bool InitFromCopy(CDebit* source, CDocAccounting* document, CNonVisual* transaction,
                              CNonVisual* account);
    // The record body: account id, amount, currency id, home-currency amount, transaction id.
    void PutStream(LStream* stream) override;

protected:
    CDebit(FourCharCode typeCode, CDocAccounting* document, CNonVisual* transaction);
    CDebit(FourCharCode typeCode, LStream* stream, CDocAccounting* document,
           CNonVisual* transaction, FourCharCode version);

    // The object with the id in the list this kind of line books on.
    virtual CNonVisual* FindAccount(ObjectIdT id) const;
    // The account the line books on, when it is one.
    CAccount* AccountOf() const;
    bool IsHomeCurrency(ObjectIdT currencyId) const;
    ObjectIdT HomeCurrencyId() const;
    // An amount of the given currency in the home currency at today's rate.
    double ToLocal(double amount, CCurrency* currency) const;
    // A home-currency amount in the line's currency at today's rate.
    double ToLineCurrency(double local) const;

    ObjectIdT mAccountId = 1;
    ObjectIdT mCurrency = 1;
    CNonVisual* mTransaction = nullptr;
    CTransaction* mTransactionPtr = nullptr;   // mTransaction when it is a transaction
    CNonVisual* mAccountPtr = nullptr;     // only while registered
    bool mRegistered = false;
    double mAmount = 0.0;
    double mLocalAmount = 0.0;
    double mRunningBalance = 0.0;

    // The defaults of a new line; each class's constructor calls it, so that
    // its own look-up and registration apply.
    void InitLine();
    // Another currency for the same amounts, posted again when the line is posted.
    void SwapCurrency(ObjectIdT id);
};

class CCredit : public CDebit {
public:
    CCredit(CDocAccounting* document, CNonVisual* transaction);
    CCredit(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
            FourCharCode version, CNonVisual* account);

    double Get_FromAmount() const override { return 0.0; }
    double Get_ToAmount() const override { return mAmount; }
    bool AddupToParent() override;
    bool SubtractFromParent() override;
    double Get_PropertyFluctuation() override;
};

class CExptypeDetail : public CDebit {
public:
    CExptypeDetail(CDocAccounting* document, CNonVisual* transaction);
    CExptypeDetail(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
                   FourCharCode version, CNonVisual* account);

    bool Search_Account(ObjectIdT id) override;
    bool AddToParent() override;
    bool RemoveFromParent() override;
    bool AddupToParent() override;
    bool SubtractFromParent() override;
    double Get_PropertyFluctuation() override;
    // The local amount by which a line on the category shows `fluctuation`,
    // the property its transaction's account lines move (the inverse of
    // Get_PropertyFluctuation): a gain is income, or an expense taken back.
    // A category that is neither shows none and takes `otherwise`.
    static double AmountShowing(const CExpenseType* category, double fluctuation, double otherwise);

    CExpenseType* CategoryOf() const;

protected:
    CNonVisual* FindAccount(ObjectIdT id) const override;
};

// The line at a position of a line list (a transaction's, an account's or a
// category's).
template <typename Line = CDebit>
Line* LineAt(const CNamedListArray* list, ArrayIndexT index)
{
    return static_cast<Line*>(list->ObjectAt(index));
}

} // namespace ch
