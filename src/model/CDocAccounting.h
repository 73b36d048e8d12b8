#pragma once
// CDocAccounting: the root of one document's set of books. The document makes
// exactly one, fills it from the document file (initFromStream) or with the
// default books, and reaches every model object through it: the root holds
// the typed object lists, answers look-ups by id and by name, creates objects
// through its Insert operations, and reads and writes the model stream.
//
// Ownership: the root owns every object in its lists and deletes them when it
// is destroyed (the lists themselves only hold pointers). Ids come from the
// root's own counters (Ids()): they start at 0 with the root, are raised by
// reading, and are touched by nothing another set of books does, so the same
// file and the same commands always give the same ids.
//
// Main thread only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/BooksDamage.h"
#include "model/CAccountArray.h"
#include "model/CAccountTypeArray.h"
#include "model/CCurrencyArray.h"
#include "model/CExpenseTypeArray.h"
#include "model/CMasterExpenseTypeArray.h"
#include "model/CNonVisual.h"
#include "model/CTransactionArray.h"
#include "model/ObjectPool.h"
#include "model/budget/BudgetTypes.h"
#include "model/foundation/LBroadcaster.h"

namespace ch {

class CAccType;
class CAccountOwner;
class CAnalysisArray;
class CRecurringTransaction;
class CTransaction;
class CBudgetHeader;
class CExpenseType;
class CMasterExpenseType;
class CHierarchyRoot;
class DocumentServices;
class CNamedListArray;
class CPreference;
class LStream;
class LVariableArray;

class CDocAccounting : public LBroadcaster {
public:
    // Ids of the hierarchy roots.
    static constexpr ObjectIdT kAccountRootId = 1;
    static constexpr ObjectIdT kExpenseTypeRootId = 3;
    // A set of books is recognised by its settings record within this many bytes.
    static constexpr std::int32_t kSettingsSearchLimit = 5000;

    // Empty lists, the account-kind placeholders and the two hierarchy roots;
    // no settings, file version 0.
    CDocAccounting();
    // Deletes every object the root holds, then its lists.
    ~CDocAccounting() override;

    CDocAccounting(const CDocAccounting&) = delete;
    CDocAccounting& operator=(const CDocAccounting&) = delete;

    // The counters this set of books takes new ids from.
    IdCounters& Ids() { return mIds; }
    const IdCounters& Ids() const { return mIds; }

    // The dirty state lives in the document: every change to the books
    // reaches it here (the model's own operations, the bridge items' setters,
    // the business objects), and SetModified(true) marks the listening
    // document changed. Without a listener (books being read, books of no
    // document) it does nothing; false is ignored, as the document clears
    // its own state after loading and saving.
    virtual void SetModified(unsigned char modified);
    // The document that keeps the dirty state of these books; not owned.
    void setChangeListener(DocumentServices* document) { mChangeListener = document; }

    // --- the model stream
    // Reads a set of books. False, always after one numbered alert, when the
    // bytes are not one: 139 when the settings record names a version this
    // program cannot read; 172 for everything else (no settings record within
    // the first kSettingsSearchLimit bytes, records that end on anything but
    // the end tag 'FiNi', an unknown record or one out of place, a record that
    // holds what no writer writes). A document whose decimal count differs
    // from the application's is read, with alert 209. On success the marker
    // stands on 'FiNi', not consumed.
    bool initFromStream(LStream* stream);
    // Writes the settings and every object, then 'FiNi'. Stream failures
    // propagate as LException.
    void DoSave(LStream* stream);
    // The bytes of the model the last initFromStream read or DoSave wrote (0
    // before either): room for the next save, so that its buffer is sized once.
    std::size_t StreamSizeHint() const { return mStreamSize; }
    // What the last initFromStream found wrong in books it read (empty when
    // nothing, and for books not read): see BooksDamage.h and BooksCheck.h.
    const BooksDamage& ReadDamage() const { return mReadDamage; }
    // Where objects being read note what they had to change to be kept.
    BooksDamage& NoteReadDamage() { return mReadDamage; }

    // The settings record's version (0 without settings).
    FourCharCode fileVersion() const;

    // --- look-ups (each returns the object or null)
    CAccountTypeArray* Get_AccountTypes() const { return mAccountTypeList.get(); }
    CHierarchyRoot* Get_AccountRoot() const;
    CHierarchyRoot* Get_ExpenseTypeRoot() const;
    CAccountOwner* Get_Me() const;
    CAccountOwner* GetAccountOwnerForId(ObjectIdT id) const;
    // Exact name, ignoring case.
    CAccountOwner* GetAccountOwnerForName(TextRef name) const;
    // The first owner whose Address Book id equals the text, ignoring case.
    CAccountOwner* GetAccountOwnerForUID(TextRef uid) const;
    // The home-currency id (1 without settings); the currency in out.
    ObjectIdT Get_HomeCurrency(CNonVisual*& outCurrency) const;
    // The input-currency id (1 without settings); the currency in out.
    ObjectIdT Get_InputCurrency(CNonVisual*& outCurrency) const;
    // The date of the oldest transaction (the list runs newest first); today
    // when there are none.
    DateT GetEarliestDate() const;
    bool DateIsFromPreviousYear(DateT date) const;
    bool DateIsFromThisYear(DateT date) const;
    // Whether any recurring transaction books on the account or category. The
    // whole list is asked: a deletion guard must not stop at the first
    // transaction that does not use the object.
    bool RecurringTransactionExistsForAccount(CAccount* account) const;
    bool RecurringTransactionExistsForExpenseType(CExpenseType* category) const;
    bool BudgetExistsForObject(CNonVisual*, bool) const { return false; }

    // --- budgets (CDocAccountingBudgets.cpp)
    CBudgetHeader* GetBudgetForId(ObjectIdT id) const;
    // A new budget (new id), initialised from the kinds and the budget with
    // baseBudgetId (none when there is no such budget), with the comment and
    // the name, appended to the budget list.
    CBudgetHeader* MakeNewBudget(BudgetBaseT base, DateT baseMonth, BudgetPeriodT period,
                                 long nrOfYears, long nrOfMonths, ObjectIdT baseBudgetId,
                                 const char* comment, const char* name);

    // --- look-ups of the chart of accounts (CDocAccountingChart.cpp)
    CAccType* GetAccountTypeForId(ObjectIdT id) const;
    // Sorts the list first, then the exact name ignoring case.
    CAccType* GetAccountTypeForName(TextRef name) const;
    // The list's SearchObject: a name, else an id written as text.
    CAccType* SearchAccountType(TextRef text) const;
    // For 'AccT': the number of top-level types of the master type; 0 for other codes.
    long getNumberOfRoots(FourCharCode typeCode, long masterType) const;
    CMasterExpenseType* GetMasterExpenseTypeForId(ObjectIdT id) const;
    CMasterExpenseType* GetMasterExpenseTypeForName(TextRef name) const;
    CExpenseType* GetExpenseTypeForID(ObjectIdT id) const;
    CExpenseType* GetExpenseTypeForName(TextRef name) const;
    // The settings' unspecified-transfer category.
    CExpenseType* GetUnspecifiedTransfer() const;
    // A name, else an id written as text (see CNamedListArray::TextToId).
    CExpenseType* SearchExpenseType(TextRef text) const;
    CCurrency* GetCurrencyForId(ObjectIdT id) const;
    // Each sorts the currency list once, then asks it (CCurrencyArray).
    CCurrency* GetCurrencyForSymbol(TextRef symbol) const;
    CCurrency* GetCurrencyForName(TextRef name) const;
    CCurrency* GetCurrencyForDisplayName(TextRef displayName) const;
    // A symbol, else an id written as text, else a long name.
    CCurrency* SearchCurrency(TextRef text) const;
    // The home currency's short name; none without a home currency.
    TextRef Get_HomeCurrencySymbol() const;

    // --- accounts and the default books (CDocAccountingBooks.cpp)
    // Fills a new, empty root with the default set of books (see
    // DefaultBooks.h); the home currency is named by the 8-bit symbol.
    void SetDefaults(const char* homeCurrencySymbol);
    // The transaction list with its sub-lists by type and duplicate search.
    CTransactionArray* Get_TransactionArray() const
    {
        return static_cast<CTransactionArray*>(mTransactionList.get());
    }
    CAccount* GetAccountForID(ObjectIdT id) const;
    // Exact name ignoring case.
    CAccount* GetAccountForName(TextRef name) const;
    // The account whose bank account number equals the text ignoring case.
    CAccount* GetAccountForAccountNr(TextRef number) const;
    // A name, else an id written as text, else a bank account number.
    CAccount* SearchAccount(TextRef text) const;
    // Found by Unicode name (given and not empty), else (ids up to 6) by id;
    // made otherwise with a new id and the type (posting its balance). With a
    // C name: name, description, Unicode texts, and the currency (an id of 2
    // or more, else the home currency). The list is sorted again.
    CAccount* InsertAccount(ObjectIdT id, const char* name, TextRef cfName, const char* description,
                            TextRef cfDescription, ObjectIdT accountTypeId, ObjectIdT currencyId,
                            CAccType* accountType);
    // Whether a line of an unlinked transaction names the category: such a
    // category may not go, or the booking would lose it when linked again.
    bool UnlinkedTransactionExistsForExpenseType(CExpenseType* category) const;

    // --- insertion
    // Id 1 reuses owner 1 (made when missing); another positive id makes an
    // owner with that id when it is free, else with a new id; an id of 0 or
    // less makes one with a new id. A new owner goes to position 1. With a
    // name, the seven texts go to CAccountOwner::Import. Returns the owner.
    CAccountOwner* InsertAccountOwner(ObjectIdT id, TextRef name, TextRef firstName,
                                      TextRef address, TextRef phone, TextRef fax,
                                      TextRef eMail, TextRef vatNumber);

    // --- insertion into the chart of accounts (CDocAccountingChart.cpp). A new
    // object goes to position 1 of its list (then the list is sorted); an id
    // that is taken already gives a new object a new id. Texts: C text is the
    // model's 8-bit text; an absent Unicode text is not set.

    // Found by Unicode name, else (ids up to 6) by id; made otherwise, with
    // its master type and below parentId when that is above 0. With a C name,
    // name and description are set.
    CAccType* InsertAccountType(ObjectIdT id, const char* name, TextRef cfName, const char* description,
                                TextRef cfDescription, long masterType, ObjectIdT parentId);
    // Found by Unicode name (when a C name is passed), else (ids up to 6) by
    // id; made otherwise, of the kind, below parentId (-1: top level). A group
    // whose id a category could not name is refused (error 188, null).
    CMasterExpenseType* InsertMasterExpenseType(ObjectIdT id, const char* name, TextRef cfName,
                                                const char* description, TextRef cfDescription,
                                                MasterExpenseTypeT kind, ObjectIdT parentId);
    // Found by Unicode name (with a C name), else (ids up to 6) by id; made
    // otherwise. With a C name: name, description, tax-deductible percentage
    // and the group: the given group, else the group named groupName, else
    // the group with the id groupId.
    CExpenseType* InsertExpenseType(ObjectIdT id, const char* name, TextRef cfName, const char* description,
                                    TextRef cfDescription, ObjectIdT groupId, TextRef groupName,
                                    CMasterExpenseType* group, double taxDeductiblePct);
    // Found by id (unless -1), by symbol when a Unicode name is given, or
    // currency 1 for id 1; made otherwise (of the currency type). Then
    // CCurrency::ImportCurrency with (name, description, flag, type, date,
    // quantity, factor, baseId, diffAccount, diffCategory), the Unicode texts,
    // and Validate.
    CCurrency* InsertCurrency(ObjectIdT id, const char* name, TextRef cfName, const char* description,
                              TextRef cfDescription, unsigned char flag, CurrencyTypeT currencyType,
                              QtyT quantity, double factor, DateT date, ObjectIdT baseId,
                              ObjectIdT diffAccount, ObjectIdT diffCategory);

    // --- shares and imported transactions (CDocAccountingImport.cpp)
    // A share (InsertCurrency: currency type 1, quantity 1, factor 1.0, no
    // descriptions) with its two accounts, made through InsertAccount with the
    // localized texts "porfolioAcntName" and "porfolioPLAcntName" followed by
    // the share's name (C names directly, cut to the field; Unicode names
    // with a space, made only when the share's Unicode name is given) and the
    // description "porfolioAcntDesc": the portfolio account in the share, of
    // the settings' default portfolio account type, and the result account in
    // the home currency, of the default portfolio result account type. The
    // share records both accounts and the default portfolio category. Null
    // when the currency list refuses the share.
    CCurrency* InsertStockCurrency(ObjectIdT id, const char* name, TextRef cfName);
    // A transaction from a statement line; null when the amount is 0 and no
    // line array is given. A transfer (type 2) that duplicates a posted one
    // (CTransactionArray::GetDuplicateTransaction on date, amount and the two
    // accounts) updates that one (CTransaction::Update) instead. Otherwise a
    // new transaction of the type goes in front of the transaction list and
    // is filled by CTransaction::Import; when that fails it is left unlinked.
    // The Unicode texts are set when given and not empty. The unbalanced flag
    // changes nothing in the books.
    CTransaction* ImportTransaction(const char* name, TextRef cfName, const char* description,
                                    TextRef cfDescription, DateT date, double amount, ObjectIdT currencyId,
                                    ObjectIdT fromAccountId, ObjectIdT toAccountId, ObjectIdT categoryId,
                                    bool unbalanced, EnumT transactionType,
                                    const LVariableArray* debits, const LVariableArray* credits,
                                    const LVariableArray* categories);

    // --- single default objects from localized texts (CDocAccountingDefaultObjects.cpp)
    // A category with a new id, the localized name and description of the
    // keys and the group with the id, at position 1 of the category list.
    // Null when the list refuses it.
    CExpenseType* insertDefaultExpenseType(const char* nameKey, const char* descriptionKey, ObjectIdT groupId);
    // A category group with a new id, the localized name of the key and the
    // kind, below parentId when that is 0 or more, at position 1 of the group
    // list. A group whose id a category could not name is refused (error
    // 188, null), as is one the list refuses.
    CMasterExpenseType* insertDefaultMasterExpenseType(const char* nameKey, MasterExpenseTypeT kind,
                                                       ObjectIdT parentId);

    // --- operations on the books as a whole (CDocAccountingOperations.cpp)
    // Deletes an object of a kind that lists hold ('AccT', 'AcnT', 'BuDh',
    // 'CurR', 'ExpT', 'MxpT', 'RctR', 'TrnS', 'aCoW'; others: error 136) once
    // its BeforeDelete allowed it: it leaves its list, then it is destroyed.
    // A refusal changes nothing (false).
    bool DeleteObject(CNonVisual* object);
    // Moves the child below the parent (an account to another account type);
    // a top-level child leaves its list's top-level sub-list. False when refused.
    bool Put_mParentId(CNonVisual* parent, CNonVisual* child);
    // Setters by key; each answers whether the value was set (false for an
    // object of another kind or another key). Accounts: -13314 default
    // category, -13310 currency, -13305 owner, -13304 account type (the
    // balance moves with the account, and the categories of its bookings
    // follow a change of kind; an id that names no type is refused).
    bool setForeignKey(CNonVisual* account, long key, long value);
    // The currency fluctuations booked between profit-and-loss accounts: they
    // move no value, and reading drops them.
    std::vector<CTransaction*> MootFluctuations() const;

    // Accounts: -13312 balance (adjusted by a transaction), -13308 allowable
    // expenses percentage; categories: -13510 tax-deductible percentage.
    bool setAmountT(CNonVisual* object, long key, double value);
    // Any object but a currency.
    bool setNameT(const char* name, CNonVisual* object);
    // Categories, accounts and account types.
    bool setDescriptionT(const char* description, CNonVisual* object);
    // Accounts and account types.
    bool setAccountClassificationNumberT(const char* number, CNonVisual* object);
    bool setBankAccountNumberT(const char* number, CNonVisual* account);
    bool setMasterExpenseType(MasterExpenseTypeT kind, CMasterExpenseType* group);
    // Categories and category groups.
    bool setColor(RGBColor color, CNonVisual* object);

    // A new transaction of the type (a TransactionTypeT; next transaction id;
    // with lines when asked) in front of the transaction list; the second
    // flag has no effect.
    CTransaction* InsertTransaction(unsigned char withLines, unsigned char, EnumT transactionType);
    // Puts an existing transaction in front of the transaction list. True.
    bool insertTransaction(CTransaction* transaction);
    // A transaction of no list (unlinked; its lines use no object ids); the caller owns it.
    CTransaction* CreateTemporaryTransaction(unsigned char withLines, unsigned char,
                                             EnumT transactionType);
    // Takes the transaction out of every balance and into the unlinked list;
    // false (nothing moves) when it refuses.
    bool UnlinkTrans(CTransaction* transaction);
    // Posts the transaction and moves it into the transaction list; false
    // (nothing moves) when it refuses.
    bool LinkTrans(CTransaction* transaction);
    // Both only remember the transaction for a later paste. True.
    bool CopyTransaction(CTransaction* transaction);
    bool CutTransaction(CTransaction* transaction);
    // A new posted copy of the remembered transaction; null when none.
    CTransaction* PasteTransaction();
    // The target becomes a copy of the source (a posted target is unlinked
    // first; false when it can't be), posted again when link is set.
    bool CopyTransactionFrom(CTransaction* source, CTransaction* target, unsigned char link);
    // A new unlinked transaction of type 3 copied from the source; null when none is made.
    CTransaction* CreateTransactionFromCopy(CTransaction* source);

    // A new recurring transaction of type 3; with insert, in front of the
    // recurring list, else owned by the caller.
    CRecurringTransaction* InsertRecurringTransaction(unsigned char withLines, unsigned char insert);
    // A new listed recurring transaction copied from the remembered
    // transaction; null when none.
    CRecurringTransaction* PasteRecurringTransaction();
    // Every recurring transaction books what has fallen due. True.
    bool GenerateRecurring();

    // Converts the books to the currency with the new id: transactions at the
    // rate of their dates, currencies, balances and totals at today's rate;
    // budgets are not converted. False, changing nothing, when no currency
    // has the new id; without a current home currency nothing is converted.
    // The old id is not consulted.
    bool ChangeHomeCurrency(ObjectIdT newId, ObjectIdT oldId);

    // The lines of every profit-and-loss account type, newest first, with
    // running balances. The caller owns the list.
    std::unique_ptr<CAnalysisArray> getOverviewAnalysisArray();

    // --- the lists (the document reads them directly)
    std::unique_ptr<CCurrencyArray> mCurrencyList;           // currencies and shares ('CurR')
    std::unique_ptr<CAccountArray> mAccountList;             // accounts ('AcnT')
    std::unique_ptr<CExpenseTypeArray> mExpenseTypeList;     // categories ('ExpT')
    // Posted transactions, newest first: a CTransactionArray (Get_TransactionArray).
    std::unique_ptr<CNamedListArray> mTransactionList;
    CPreference* mPreference = nullptr;                      // settings; null until made or read
    std::unique_ptr<CNamedListArray> mUnlinkedList;          // transactions of status 6
    std::unique_ptr<CNamedListArray> mAccountKindList;       // placeholders naming the account kinds
    std::unique_ptr<CNamedListArray> mAccountOwnerList;      // owners ('aCoW'); id 1 is "Me"
    std::unique_ptr<CAccountTypeArray> mAccountTypeList;     // account types ('AccT')
    std::unique_ptr<CNamedListArray> mRecurringList;         // recurring transactions ('RctR')
    std::unique_ptr<CMasterExpenseTypeArray> mMasterExpenseTypeList; // category groups ('MxpT')
    std::unique_ptr<CNamedListArray> mSpareTransactionList1;
    std::unique_ptr<CNamedListArray> mSpareTransactionList2;
    std::unique_ptr<CNamedListArray> mBankList;              // banks ('BanK')
    std::unique_ptr<CNamedListArray> mBudgetList;            // budgets ('BuDh')
    std::unique_ptr<CNamedListArray> mRootList;              // the two hierarchy roots ('HirR')
    std::unique_ptr<CNamedListArray> mSpareNamedList;

    // The version read from the loaded file's settings record; 0 for a new document.
    FourCharCode mFileVersion = 0;
    // The transaction remembered for a later paste; null when none.
    CNonVisual* mCopiedTransaction = nullptr;

private:
    // Each unblocked transaction (posted or waiting to be linked) and each
    // template with a line on the account has its category lines brought to
    // the property its lines move now.
    void AgreeCategoriesOfBookingsOn(CAccount& account);
    std::size_t mStreamSize = 0;   // see StreamSizeHint
    DocumentServices* mChangeListener = nullptr;   // see SetModified
    // The memory of the transactions and lines read from the file, given back
    // in one step when the root goes.
    ObjectPool mPool;
    IdCounters mIds;
    BooksDamage mReadDamage;
    class StreamReader;

    // The list an object of a deletable kind lives in; null for other kinds.
    CNamedListArray* ListForDeletion(CNonVisual* object) const;

    // Files before '0.61' gain the VAT account kinds and the five fixed category groups.
    void UpgradeOldFile();
    // After the records: orders the lists that the reader appended to.
    void FinishLoading();
    // After the lines have posted: books the recurring transactions that fell
    // due and drops currency fluctuations between profit-and-loss accounts
    // (looked for among the transactions read only when readFluctuations).
    void CompleteLoading(bool readFluctuations);
    void DeleteAllObjects();
};

} // namespace ch
