#pragma once
// CDocAccounting: the root of one document's set of books. The document makes
// exactly one, fills it from the document file (initFromStream) or with the
// default books, and reaches every model object through it: the root holds
// the typed object lists, answers look-ups by id and by name, creates objects
// through its Insert operations, and reads and writes the model stream.
//
// Ownership: the root owns every object in its lists and deletes them when it
// is destroyed (the lists themselves only hold pointers). Ids come from the
// class-wide counters of the objects (CNonVisual::mi_MaxId and the counters of
// the classes that number themselves): shared by every open document, never
// reset, raised by reading.
//
// Main thread only.

#include <cstdint>
#include <memory>

#include "model/CNonVisual.h"
#include "model/foundation/LBroadcaster.h"

namespace ch {

class CAccountOwner;
class CHierarchyRoot;
class CNamedListArray;
class CPreference;
class LStream;

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

    // The dirty state lives in the document; the root's hook does nothing.
    virtual void SetModified(unsigned char modified);

    // --- the model stream
    // Reads a set of books. False when the bytes are not one (no settings
    // record within the first kSettingsSearchLimit bytes, an unsupported
    // version: alert 139 or 172), or when the records end on anything but the
    // end tag 'FiNi' (truncated or damaged data, an unknown record, a record
    // out of place). On success the marker stands on 'FiNi', not consumed.
    bool initFromStream(LStream* stream);
    // Writes the settings and every object, then 'FiNi'. Stream failures
    // propagate as LException.
    void DoSave(LStream* stream);

    // The settings record's version (0 without settings).
    FourCharCode fileVersion() const;

    // --- look-ups (each returns the object or null)
    CNamedListArray* Get_AccountTypes() const { return mAccountTypeList.get(); }
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

    // --- insertion
    // Id 1 reuses owner 1 (made when missing); another positive id makes an
    // owner with that id when it is free, else with a new id; an id of 0 or
    // less makes one with a new id. A new owner goes to position 1. With a
    // name, the seven texts go to CAccountOwner::Import. Returns the owner.
    CAccountOwner* InsertAccountOwner(ObjectIdT id, TextRef name, TextRef firstName,
                                      TextRef address, TextRef phone, TextRef fax,
                                      TextRef eMail, TextRef vatNumber);

    // Whether the home currency may change from oldId to newId; refused when
    // no currency has the new id.
    bool ChangeHomeCurrency(ObjectIdT newId, ObjectIdT oldId);

    // --- the lists (the document reads them directly)
    std::unique_ptr<CNamedListArray> mCurrencyList;          // currencies and shares ('CurR')
    std::unique_ptr<CNamedListArray> mAccountList;           // accounts ('AcnT')
    std::unique_ptr<CNamedListArray> mExpenseTypeList;       // categories ('ExpT')
    std::unique_ptr<CNamedListArray> mTransactionList;       // posted transactions, newest first
    CPreference* mPreference = nullptr;                      // settings; null until made or read
    std::unique_ptr<CNamedListArray> mUnlinkedList;          // transactions of status 6
    std::unique_ptr<CNamedListArray> mAccountKindList;       // placeholders naming the account kinds
    std::unique_ptr<CNamedListArray> mAccountOwnerList;      // owners ('aCoW'); id 1 is "Me"
    std::unique_ptr<CNamedListArray> mAccountTypeList;       // account types ('AccT')
    std::unique_ptr<CNamedListArray> mRecurringList;         // recurring transactions ('RctR')
    std::unique_ptr<CNamedListArray> mMasterExpenseTypeList; // category groups ('MxpT')
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
    class StreamReader;

    // Files before '0.61' gain the VAT account kinds and the five fixed category groups.
    void UpgradeOldFile();
    // After the records: orders the lists that the reader appended to.
    void FinishLoading();
    void DeleteAllObjects();
};

} // namespace ch
