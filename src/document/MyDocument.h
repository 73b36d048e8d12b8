#pragma once
// MyDocument: one open set of books, without its window. It owns the model
// root, the notification centre of its model, items and pages, the item
// registry, the settings item, the command executor, the listener of the
// model's transaction list, the arrays of
// items that pages and sheets show, and, once installed, its business
// bookkeeping (VAT rates, VAT periods, invoices).
//
// A new document gets the default books (setUpNewDocument); an opened one is
// read from its model stream (readModel, then finishLoading; the document file
// of DocumentFile.h does both, and reverts through adoptModel and
// finishReverting). Either way the executor then looks for a journal to
// replay.
//
// The document alone holds the dirty state: updateChangeCount marks it,
// clearChangeCount (after loading, reverting or saving) clears it. Every
// change to the books reaches updateChangeCount through the model root's
// SetModified, where the model's own operations and the setters of bridge
// items and business objects end, or through the command executor; display
// state (selection, expanded rows, sort order) never does.
//
// The queries of the model (lists, objects by id, name or key, the items of
// objects, default ids of the settings) are thin: they forward to the model
// root or the registry and answer null when nothing is found.
//
// Main thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/BridgeDocument.h"
#include "document/BooksLock.h"
#include "bridge/CNonVisualDataItemController.h"
#include "document/DocumentBusiness.h"
#include "document/DocumentOperations.h"
#include "document/DocumentSheets.h"
#include "document/StatementImport.h"
#include "document/commands/CCommandExecutor.h"
#include "document/commands/JournalNames.h"
#include "model/budget/BudgetTypes.h"
#include "model/foundation/ModelTypes.h"
#include "platform/core/notification_center.h"

namespace ch {

class CAccType;
class CAccount;
class CBuDhItem;
class CAccountOwner;
class CCurrency;
class CDocAccounting;
class CExpTItem;
class CExpenseType;
class CMasterExpenseType;
class CNamedListArray;
class CPrfRItem;
class CRcrTItem;
class Dispatcher;
class GXNonVisual;
class LStream;

class MyDocument : public BridgeDocument {
public:
    // An empty model, the registry, the executor and the listener; no books
    // yet. Delayed steps (the replay offer) are scheduled on the dispatcher.
    explicit MyDocument(Dispatcher& dispatcher);
    ~MyDocument() override;
    MyDocument(const MyDocument&) = delete;
    MyDocument& operator=(const MyDocument&) = delete;

    // --- creation
    // A new untitled document: the default books with the home currency of
    // the 8-bit symbol, the settings item, the currency and owner arrays, the
    // business bookkeeping's own start; then the executor looks for this
    // document's untitled journal. Answers the number of journal entries found.
    int setUpNewDocument(const char* homeCurrencySymbol);
    // Reads the model stream into the empty model; false when the stream
    // holds no set of books. The arrays stay empty until finishLoading.
    bool readModel(LStream& stream);
    // After reading: the settings item, every item array, a clean change
    // count, and the executor's look for a journal (its entry count).
    int finishLoading();
    // Whether the new-document assistant may open: the user default
    // "GXShowNewDocumentAssistant" is on and no journal waits to be replayed.
    bool shouldShowNewFileAssistant() const;
    // While the assistant's sheet is open over the document.
    bool assistantRunning() const { return mAssistantRunning; }
    void assistantStarted() { mAssistantRunning = true; }
    // After the assistant, finished or cancelled: the accounts it appended
    // go back into name order. (The settings window lists the accounts and
    // shows the default own-property account afresh each time it opens.)
    void assistantFinished();
    // Replaces the books with books just read. Everything made for the old
    // books goes first: every item array, the registry's items and the
    // settings item; items others still hold are detached when the old books
    // go. The arrays stay empty until finishLoading or finishReverting; the
    // business objects are replaced by readBusinessArchive.
    void adoptModel(std::unique_ptr<CDocAccounting> books);
    // After a revert: as finishLoading, but the journal (the changes the
    // revert discarded) is rotated away instead of offered, and pending
    // statement lines are completed again against the books read.
    void finishReverting();

    // --- file name and saving
    // The document's file (empty while untitled).
    const std::string& fileName() const { return mFileName; }
    void setFileName(std::string path);
    // The journal of this document: beside its file, or the untitled
    // document's own journal in the untitled-journal folder.
    std::string journalFileName();
    // The folder of untitled documents' journals (the home folder unless set).
    void setUntitledJournalFolder(std::string folder);
    // The model stream: the books followed by the end tag.
    std::vector<std::uint8_t> modelStreamBytes();
    // Call once the document's file has been written safely: rotates the
    // journal away (whatever the journaling preference) and clears the
    // change count.
    void fileSaved();
    // The size of the file last read or written: what the next file's bytes
    // will need, about.
    std::size_t fileSizeHint() const { return mFileSizeHint; }
    void setFileSizeHint(std::size_t size) { mFileSizeHint = size; }
    // The file holds business data this document could not read: it must
    // not be saved over that file (only under a new name).
    bool mustSaveUnderNewName() const { return mMustSaveUnderNewName; }
    void setMustSaveUnderNewName(bool must) { mMustSaveUnderNewName = must; }

    // --- questions that hold the document back: while the password question
    // is open (the window sets it) or the journal's replay is offered, the
    // document is not autosaved.
    bool passwordQuestionOpen() const { return mPasswordQuestionOpen; }
    void setPasswordQuestionOpen(bool open) { mPasswordQuestionOpen = open; }

    // --- state
    CDocAccounting* accounting() override { return theDocument.get(); }
    NotificationCenter& notificationCenter() override { return mCentre; }
    CNonVisualDataItemController& dataItemController() override { return mDataItemController; }
    CCommandExecutor& commandExecutor() { return mCommandExecutor; }
    Dispatcher& dispatcher() { return mDispatcher; }
    std::shared_ptr<CPrfRItem> mPreference() const { return mPreferenceItem; }
    void setMPreference(std::shared_ptr<CPrfRItem> preference);
    DocumentOperationSet& operations() { return mOperations; }
    void setSheets(DocumentSheets* sheets);
    DocumentSheets& sheets() { return *mSheets; }
    // The people owners are linked to (none: links stay inert); not owned.
    const ContactsProvider* contacts() const override { return mContacts; }
    void setContacts(ContactsProvider* contacts) { mContacts = contacts; }
    // Its observers (the owners' follower) hear of any change.
    void reloadContacts() override;
    // Bank statements: the pending import lines and their booking.
    StatementImport& statementImport() { return *mStatementImport; }

    // --- change count
    void updateChangeCount() override { ++mChangeCount; }
    void clearChangeCount() { mChangeCount = 0; }
    // Back to a count read before changes that were all taken back since.
    void restoreChangeCount(long count) { mChangeCount = count; }
    long changeCount() const { return mChangeCount; }
    bool isDocumentEdited() const { return mChangeCount != 0; }

    // --- model messages: 2015 marks the document changed and puts a new
    // transaction at the top of the transaction array once the arrays are
    // filled; 2016 marks it changed.
    //
    // A new transaction nobody announces (a share trade, a dividend, a
    // balance adjustment or revaluation the model books by itself) is
    // announced with "TRANSACTIONCREATED" on the next pass of the run loop,
    // once the change that made it is over, so that pages hear of it when
    // the books hold it whole: one with its item, several at once without
    // an object. A transaction its operation announced ("TRANSACTIONCREATED"
    // or "TRANSACTIONLINKEDNOTIFICATION" with it, or "TRANSACTIONCREATED"
    // without an object, as an import does) is left alone.
    void ListenToMessage(MessageT message, void* param) override;

    // --- item arrays
    std::vector<std::shared_ptr<CTrnSItem>>& mTransactionArray() { return mTransactions; }
    std::vector<std::shared_ptr<CTrnSItem>>& mUnlinkedTransactionArray() { return mUnlinkedTransactions; }
    std::vector<std::shared_ptr<CRcrTItem>>& mRecurringTransactionArray() { return mRecurringTransactions; }
    std::vector<std::shared_ptr<CCurRItem>>& mCurrencyArray() { return mCurrencies; }
    std::vector<std::shared_ptr<CCurRItem>>& mShareArray() { return mShares; }
    std::vector<std::shared_ptr<CAcoWItem>>& mOwnerArray() { return mOwners; }
    std::vector<std::shared_ptr<CAcnTItem>>& mCreditCardArray() { return mCreditCards; }
    // Appends the items, in the model lists' order.
    void fillCurrencyArrays();
    void fillOwnerArray();
    void fillCreditCardArray();
    void fillTransactionArray();
    // Rebuilds the credit-card array from the model.
    void setMCreditCardArray();
    bool arraysFilled() const { return ib_ArrayFilled; }
    std::vector<std::shared_ptr<CAcnTItem>> allAccounts() override;
    std::vector<std::shared_ptr<CAcoWItem>> customerArray() const;
    std::vector<std::shared_ptr<CAcoWItem>> supplierArray() const;

    // --- budgets (MyDocumentBudgets.cpp)
    // The items of the model's budgets, in list order; what the budget page shows.
    std::vector<std::shared_ptr<CBuDhItem>>& mBudgetArray() { return mBudgets; }
    // Rebuilds the budget items from the model's budget list; true.
    bool initializeBudgetArrayController();
    // A new budget from past bookings (or empty, or continuing the base
    // budget), appended to the model and to the budget items; the document is
    // marked changed. Null when the model made none.
    std::shared_ptr<CBuDhItem> makeNewBudget(BudgetBaseT base, DateT baseMonth, BudgetPeriodT period,
                                             long nrOfYears, long nrOfMonths, std::optional<long> baseBudgetId,
                                             std::string_view comment, std::string_view name);

    // --- business bookkeeping
    // Installed before the books are set up or read; replaces any earlier one.
    void setBusiness(std::unique_ptr<DocumentBusiness> business);
    // Null until installed.
    DocumentBusiness* business() const { return mBusiness.get(); }
    // The business bookkeeping's invoices; none without it.
    InvoiceHooks& invoiceHooks() override;
    // The VAT rate with the id; the first rate when asked and none has it;
    // null without business bookkeeping.
    std::shared_ptr<GXNonVisual> VATRateWithId(ObjectIdT id, bool alwaysReturnOne) const;
    // The business archive that follows the model stream in the file.
    // Without business bookkeeping: the archive of five empty arrays.
    PlistOutput businessArchiveBytes() const;
    // Reads the bytes behind the model stream's end tag. 0, or
    // kIncompleteBusinessArchiveWarning when something could not be read (or,
    // without business bookkeeping, when the archive holds any object): the
    // document must then be saved under a new name, so that the unread data
    // in its file is not replaced by nothing.
    long readBusinessArchive(std::string_view bytes);

    // --- moving objects in the chart of accounts
    // The child goes below the parent; the document is marked changed.
    bool setSuperitem(CNonVisual* parent, CNonVisual* child);
    // Both looked up by type and id; false when either is missing. A child
    // that leaves the top level is announced with its item.
    bool setSuperitemId(ObjectIdT parentId, FourCharCode parentType, ObjectIdT childId,
                        FourCharCode childType);

    // --- deleting (the senders of commands 28 and 37)
    // Runs command 28 on the item. A posted transaction is confirmed here,
    // before the command is sent and journaled, when asked; the other kinds
    // are confirmed by their operations. Whether the object went: false for
    // an item without model object (error 268), when the user declines, or
    // when the deletion is refused.
    bool deleteObject(const std::shared_ptr<CNonVisualDataItem>& item, bool withAsking);
    // Runs command 37 on the VAT rate, confirmed here first when asked;
    // whether the rate left the VAT-rate array.
    bool deleteVATRate(const std::shared_ptr<GXNonVisual>& rate, bool withAsking);
    // Deletes the item's model object directly: no command, no journal, no
    // notification. The model's answer.
    bool deleteObject(const std::shared_ptr<CNonVisualDataItem>& item) override;
    // Deletes an owner at once: no question, no command, no notification.
    // The owner leaves the owner array with its model object. Anything but
    // an owner item is no owner and is left alone; whether it went.
    bool deleteAccountOwner(const std::shared_ptr<Observable>& sender);

    // --- sheets and empty transactions for them
    void askTransactionInput(CNonVisual* fromAccount, CNonVisual* toAccount, CNonVisual* expenseType, int type,
                             int action, bool isRecurring) override;
    // Error 268 for an item without model object.
    void doModifyTransactionDialog(const std::shared_ptr<CTrnSItem>& item) override;
    // A new item over a transaction of no list; the item owns it. Neither
    // these nor the empty recurring transactions use up transaction or line
    // numbers, so that a replayed journal numbers its transactions as the
    // commands did.
    std::shared_ptr<CTrnSItem> makeEmptyTransactionOfType(int type);
    std::shared_ptr<CRcrTItem> makeEmptyRecurringTransaction() override;

    // --- clipboard: one copied transaction, held until replaced; it can be
    // pasted only while its model transaction still exists.
    void copyTransaction(std::shared_ptr<CTrnSItem> transaction) { mCopiedTransaction = std::move(transaction); }
    bool hasTransactionToPaste() const;
    std::shared_ptr<CTrnSItem> transactionToPaste() const;
    // A move: asks question 399 (the transaction leaves the books, Paste
    // books it again), keeps a copy that outlives the transaction (a
    // recurring one with its schedule, as Copy keeps it) and deletes the
    // transaction through the deletion command. Declined, nothing changes,
    // the clipboard included; whether the transaction went.
    bool cutTransaction(const std::shared_ptr<CTrnSItem>& transaction);

    // --- model queries: lists
    CNamedListArray* getAccTList() const;
    CNamedListArray* getPropertyAccTList() const { return getAccTList(); }
    CNamedListArray* getPLAccTList() const { return getAccTList(); }
    CNamedListArray* getAccountList() const;
    CNamedListArray* getPropertyAcnTList() const;
    CNamedListArray* getPLAccountList() const;
    CNamedListArray* getDebtAccountList() const;
    CNamedListArray* getExpenseTypeList() const;
    CNamedListArray* getIncomeCategoryList() const;
    CNamedListArray* getExpenseCategoryList() const;
    // Sorted once before it is handed out.
    CNamedListArray* getMasterExpenseTypeList() const;
    CNamedListArray* getCurrencyList() const;
    CNamedListArray* getOwnerList() const;

    // --- model queries: single objects (null when none)
    CAccType* getAccountTypeForId(ObjectIdT id) const;
    CAccount* getAccountForId(ObjectIdT id) const;
    CExpenseType* getExpenseTypeForId(ObjectIdT id) const;
    CMasterExpenseType* getMasterExpenseTypeForId(ObjectIdT id) const;
    CAccountOwner* getAccountOwnerForId(ObjectIdT id) const;
    CCurrency* getCurrencyForId(ObjectIdT id) const;
    CAccType* getAccountTypeForName(std::string_view name) const;
    CAccount* getAccountForName(std::string_view name) const;
    CExpenseType* getExpenseTypeForName(std::string_view name) const;
    CMasterExpenseType* getMasterExpenseTypeForName(std::string_view name) const;
    CAccountOwner* getAccountOwnerForName(std::string_view name) const;
    CAccount* getAccountForAccountNr(std::string_view number) const;
    // The first currency with the symbol, ignoring case.
    CCurrency* getCurrencyForSymbol(std::string_view symbol) const;
    CAccountOwner* getMe() const;
    // 'AccT', 'AcnT', 'ExpT' and 'MxpT' by id; other codes give null.
    CNonVisual* getObjectWithType(FourCharCode type, ObjectIdT id) const;
    // "AcnT", "AccT", "ExpT", "MxpT" by id, "TrnS" through the registered
    // transaction item; other texts give null.
    CNonVisual* objectWithType(std::string_view type, ObjectIdT id) const;
    // The type text and the decimal id of the key.
    CNonVisual* objectWithKey(std::string_view key) const;

    // --- model queries: items (null when none)
    std::shared_ptr<CCurRItem> getHomeCurrency() override;
    std::shared_ptr<CAcnTItem> getAccountItemForId(ObjectIdT id) override;
    std::shared_ptr<CAccTItem> getAccountTypeItemForId(ObjectIdT id) override;
    std::shared_ptr<CAcoWItem> getAccountOwnerItemForId(ObjectIdT id) override;
    std::shared_ptr<CExpTItem> getExpenseTypeItemForId(ObjectIdT id);
    std::shared_ptr<CAcoWItem> getAccountOwnerItemForName(std::string_view name);
    // The item registered under "TrnS" and the id.
    std::shared_ptr<CTrnSItem> getTransactionForId(ObjectIdT id) override;
    // The last owner item of the owner array with the Address Book id.
    std::shared_ptr<CAcoWItem> getAccountOwnerForUID(std::string_view uid) const;
    std::shared_ptr<CAcoWItem> getMeAsAcoWItem();
    // The registered item of the key; else, for a "VatR" key, the VAT rate
    // with that id; else the item of the model object the key names, made
    // when it is not registered yet (so that a replay finds the objects of a
    // freshly opened document).
    std::shared_ptr<Observable> dataItemWithKey(std::string_view key);
    // The single account of 7 or more characters named in the description.
    std::shared_ptr<CAcnTItem> getAccountForTransactionDescription(std::string_view description);
    bool isTransferableAccountId(ObjectIdT id) const;
    bool isTransferReasonCodeId(ObjectIdT id) const;

    // --- default ids of the settings (0 without settings)
    long get_mDefExpTUnspecifiedIncome() const;
    long get_mDefExpTUnspecifiedExpense() const;
    long get_mDefExpTUnspecifiedTransfer() const;
    long getDefaultOwnPropertyAccount() const;
    long get_mDefAcnTUnspecifiedLosses() const;
    long get_mDefAcnTUnspecifiedProfits() const;
    long Get_mDefAccntStockTax() const;
    long Get_mDefExptStockTax() const;
    long get_mDefAccntStockCommission() const;
    long get_mDefExpTStockCommission() const;
    long get_mDefAccntCurrencyFluctuations() const;
    long get_mDefExpTUnspecifiedCurrencyFluctuation() const;

    // Held while the books are open from their file (DocumentFile takes it).
    BooksLock& booksLock() { return mBooksLock; }

private:
    // Runs command 28 on the item, its questions answered already.
    bool deleteConfirmed(const std::shared_ptr<CNonVisualDataItem>& item);
    // The model object the key names, of any kind the registry has items for.
    CNonVisual* modelObjectForKey(std::string_view key) const;
    void installOwnOperations();
    void linkTransactionListener();
    // Lets go of every item array and held item; they point into the model,
    // so this comes before the model goes.
    void releaseItems();
    // The settings item and every item array from the books; a clean change count.
    void fillArraysFromModel();
    // Announces what joined the posted list unannounced (see above).
    void announceNewTransactions();

    // Declared first, destroyed last: items may still post while the
    // registry and the model go.
    NotificationCenter mCentre;
    Dispatcher& mDispatcher;
    // Before the operations: the business operations refer to it.
    std::unique_ptr<DocumentBusiness> mBusiness;
    DocumentOperationSet mOperations;
    NullDocumentSheets mNullSheets;
    DocumentSheets* mSheets = &mNullSheets;
    ContactsProvider* mContacts = nullptr;
    CCommandExecutor mCommandExecutor;
    std::unique_ptr<StatementImport> mStatementImport;
    std::unique_ptr<CDocAccounting> theDocument;
    CNonVisualDataItemController mDataItemController;
    std::shared_ptr<CPrfRItem> mPreferenceItem;
    std::unique_ptr<CListenerBridge> theTransactionArrayListener;

    std::vector<std::shared_ptr<CTrnSItem>> mTransactions;
    std::vector<std::shared_ptr<CTrnSItem>> mUnlinkedTransactions;
    std::vector<std::shared_ptr<CRcrTItem>> mRecurringTransactions;
    std::vector<std::shared_ptr<CCurRItem>> mCurrencies;
    std::vector<std::shared_ptr<CCurRItem>> mShares;
    std::vector<std::shared_ptr<CAcoWItem>> mOwners;
    std::vector<std::shared_ptr<CAcnTItem>> mCreditCards;
    std::vector<std::shared_ptr<CBuDhItem>> mBudgets;
    std::shared_ptr<CTrnSItem> mCopiedTransaction;
    // Joined the posted list and not yet announced; see announceNewTransactions.
    std::vector<std::weak_ptr<CTrnSItem>> mUnannounced;
    std::vector<Subscription> mAnnouncements;
    Subscription mAnnouncementDue;
    bool mAnnouncementScheduled = false;

    bool ib_ArrayFilled = true;
    bool mMustSaveUnderNewName = false;
    bool mPasswordQuestionOpen = false;
    bool mAssistantRunning = false;
    long mChangeCount = 0;
    std::size_t mFileSizeHint = 0;
    int mJournalEntriesFound = 0;
    BooksLock mBooksLock;
    std::string mFileName;
    std::string mUntitledJournalFolder;
    UntitledJournalSlot mUntitledSlot;
};

} // namespace ch
