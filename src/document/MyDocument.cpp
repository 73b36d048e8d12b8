#include "document/MyDocument.h"

#include <algorithm>
#include <variant>

#include "bridge/CAcnTItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "bridge/InvoiceHooks.h"
#include "document/BudgetOperationsOfDocument.h"
#include "document/ChartOperationsOfDocument.h"
#include "document/DeletionOperationsOfDocument.h"
#include "document/ImportOperationsOfDocument.h"
#include "document/OwnerOperationsOfDocument.h"
#include "document/DocumentNotifications.h"
#include "document/GXNonVisual.h"
#include "document/RateOperationsOfDocument.h"
#include "document/TransactionOperationsOfDocument.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "model/CAccountArray.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CPreference.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"
#include "model/ModelCodes.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/GXDataStream.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/dispatcher.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

// "Cut this transaction? ..." asked by a Cut in place of the deletion's question.
constexpr long kCutQuestion = 399;

} // namespace

MyDocument::MyDocument(Dispatcher& dispatcher) : mDispatcher(dispatcher)
{
    mCommandExecutor.setDocument(this);
    mDataItemController.setParentDocument(this);
    theDocument = std::make_unique<CDocAccounting>();
    installOwnOperations();
    mStatementImport = std::make_unique<StatementImport>(*this);
    linkTransactionListener();
    // Whatever an operation announced itself is not announced again.
    for (const char* name : {GXCTransactionCreatedNotification, GXCTransactionLinkedNotification})
        mAnnouncements.push_back(mCentre.subscribe(name, [this](const Notification& notification) {
            const auto announced = notification.objectAs<CTrnSItem>();
            if (!announced && std::holds_alternative<std::monostate>(notification.object)) {
                mUnannounced.clear();
                return;
            }
            std::erase_if(mUnannounced, [&](const std::weak_ptr<CTrnSItem>& waiting) {
                const auto item = waiting.lock();
                return !item || item == announced;
            });
        }));
}

MyDocument::~MyDocument()
{
    // Whatever goes now changes no books of ours.
    if (theDocument) theDocument->setChangeListener(nullptr);
    // The items go before the model they point into.
    theTransactionArrayListener.reset();
    mStatementImport.reset();
    releaseItems();
}

void MyDocument::releaseItems()
{
    mTransactions.clear();
    mUnlinkedTransactions.clear();
    mRecurringTransactions.clear();
    mCurrencies.clear();
    mShares.clear();
    mOwners.clear();
    mCreditCards.clear();
    mBudgets.clear();
    mCopiedTransaction.reset();
    mPreferenceItem.reset();
}

void MyDocument::installOwnOperations()
{
    mOperations.budget = std::make_unique<BudgetOperationsOfDocument>();
    mOperations.chart = std::make_unique<ChartOperationsOfDocument>(*this);
    mOperations.rates = std::make_unique<RateOperationsOfDocument>(*this);
    mOperations.transactions = std::make_unique<TransactionOperationsOfDocument>(*this);
    mOperations.owners = std::make_unique<OwnerOperationsOfDocument>(*this);
    mOperations.deletion = std::make_unique<DeletionOperationsOfDocument>(*this);
    mOperations.import = std::make_unique<ImportOperationsOfDocument>(*this);
    mOperations.business = std::make_unique<NullBusinessOperations>();
}

void MyDocument::linkTransactionListener()
{
    theTransactionArrayListener = std::make_unique<CListenerBridge>();
    theTransactionArrayListener->LinkObjectiveCObjectToBroadcaster(this, theDocument->mTransactionList.get());
    theDocument->setChangeListener(this);
}

// --- creation

int MyDocument::setUpNewDocument(const char* homeCurrencySymbol)
{
    theDocument->SetDefaults(homeCurrencySymbol);
    setMPreference(std::make_shared<CPrfRItem>(theDocument->mPreference));
    fillCurrencyArrays();
    fillOwnerArray();
    initializeBudgetArrayController();
    if (mBusiness) mBusiness->setUpNewDocument();
    clearChangeCount();
    // Always asked, so that a new document finds the journal an untitled
    // document left.
    mJournalEntriesFound = mCommandExecutor.fileOpened();
    return mJournalEntriesFound;
}

bool MyDocument::readModel(LStream& stream)
{
    ib_ArrayFilled = false;
    return theDocument->initFromStream(&stream);
}

int MyDocument::finishLoading()
{
    fillArraysFromModel();
    mJournalEntriesFound = mCommandExecutor.fileOpened();
    return mJournalEntriesFound;
}

void MyDocument::finishReverting()
{
    fillArraysFromModel();
    // The journal holds the changes the revert threw away: kept as the
    // backup, never offered over the books as they were saved.
    mCommandExecutor.dropCommandsToRecover();
    mCommandExecutor.fileSaved();
    mJournalEntriesFound = 0;
    // Statement lines still pending were completed against the books thrown
    // away: an account they name may be gone now.
    mStatementImport->booksReverted();
    if (mStatementImport->hasPendingLines()) mStatementImport->completeBankImport();
}

void MyDocument::fillArraysFromModel()
{
    setMPreference(std::make_shared<CPrfRItem>(theDocument->mPreference));
    fillCurrencyArrays();
    fillOwnerArray();
    fillCreditCardArray();
    fillTransactionArray();
    initializeBudgetArrayController();
    // Reading inserted every object: an opened document starts clean.
    clearChangeCount();
}

void MyDocument::adoptModel(std::unique_ptr<CDocAccounting> books)
{
    ib_ArrayFilled = false;
    theTransactionArrayListener.reset();
    releaseItems();
    mDataItemController.forgetAllItems();
    theDocument = std::move(books);
    linkTransactionListener();
}

bool MyDocument::shouldShowNewFileAssistant() const
{
    return UserDefaults::standard().boolForKey("GXShowNewDocumentAssistant") && mJournalEntriesFound < 1;
}

void MyDocument::assistantFinished()
{
    mAssistantRunning = false;
    if (!theDocument || !theDocument->mAccountList) return;
    theDocument->mAccountList->SetNotSorted();
    theDocument->mAccountList->Sort();
}

void MyDocument::setMPreference(std::shared_ptr<CPrfRItem> preference)
{
    if (preference == mPreferenceItem) return;
    mPreferenceItem = std::move(preference);
    if (!mPreferenceItem) return;
    // Every line was converted into the new home currency: what is left to
    // pay, worked out in the old one, is worked out again when next asked.
    mPreferenceItem->setHomeCurrencyChangeHandler([this] {
        CNonVisualDataItemController::ItemTable* items = dataItemController().tableForObjectType(type::kTransaction);
        if (!items) return;
        std::vector<std::shared_ptr<CTrnSItem>> transactions;
        for (const auto& entry : *items)
            if (auto transaction = std::dynamic_pointer_cast<CTrnSItem>(entry.second)) transactions.push_back(transaction);
        for (const std::shared_ptr<CTrnSItem>& transaction : transactions) {
            transaction->setUnaccountedForAmount();
            transaction->setAmountOfDebtNotYetReplenishedByUs();
        }
    });
}

void MyDocument::reloadContacts()
{
    if (mContacts) mContacts->reload();
}

void MyDocument::setSheets(DocumentSheets* sheets)
{
    mSheets = sheets ? sheets : &mNullSheets;
}

// --- file name and saving

void MyDocument::setFileName(std::string path)
{
    mFileName = std::move(path);
}

std::string MyDocument::journalFileName()
{
    if (!mFileName.empty()) return journalPathForDocument(mFileName);
    std::string folder = mUntitledJournalFolder.empty() ? homeFolder() : mUntitledJournalFolder;
    return UntitledJournalSlot::journalPath(folder, mUntitledSlot.acquire());
}

void MyDocument::setUntitledJournalFolder(std::string folder)
{
    mUntitledJournalFolder = std::move(folder);
}

std::vector<std::uint8_t> MyDocument::modelStreamBytes()
{
    auto buffer = std::make_shared<GXDataStream::Buffer>();
    // Room for the books as they were last read or written, and some more.
    const std::size_t hint = theDocument->StreamSizeHint();
    buffer->reserve(hint + hint / 8 + 4096);
    GXDataStream stream;
    stream.setDataObject(buffer);
    theDocument->DoSave(&stream);
    return std::move(*buffer);
}

void MyDocument::fileSaved()
{
    mCommandExecutor.fileSaved();
    if (!mFileName.empty()) mUntitledSlot.release();
    clearChangeCount();
    mStatementImport->booksSaved();
}

// --- model messages

void MyDocument::ListenToMessage(MessageT message, void* param)
{
    if (message == msg::kItemInserted) {
        auto* object = static_cast<CNonVisual*>(param);
        if (object && ib_ArrayFilled && object->Get_ObjectType() == type::kTransaction) {
            updateChangeCount();
            std::shared_ptr<CTrnSItem> item = mDataItemController.transactionItemForTrnS(object);
            if (item && std::find(mTransactions.begin(), mTransactions.end(), item) == mTransactions.end())
                mTransactions.insert(mTransactions.begin(), item);
            if (item) {
                mUnannounced.push_back(item);
                if (!mAnnouncementScheduled) {
                    mAnnouncementScheduled = true;
                    mAnnouncementDue = mDispatcher.callAfter(Dispatcher::Duration(0), [this] {
                        mAnnouncementScheduled = false;
                        announceNewTransactions();
                    });
                }
            }
        }
        updateChangeCount();
    } else if (message == msg::kItemsRemoved) {
        updateChangeCount();
    }
}

void MyDocument::announceNewTransactions()
{
    std::vector<std::shared_ptr<CTrnSItem>> made;
    for (const std::weak_ptr<CTrnSItem>& waiting : mUnannounced)
        if (std::shared_ptr<CTrnSItem> item = waiting.lock(); item && item->getSourceItem()) made.push_back(item);
    mUnannounced.clear();
    if (made.size() == 1) mCentre.post(GXCTransactionCreatedNotification, made.front());
    else if (!made.empty()) mCentre.post(GXCTransactionCreatedNotification);
}

// --- item arrays

void MyDocument::fillCurrencyArrays()
{
    const CNamedListArray* list = theDocument->mCurrencyList.get();
    for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
        auto* currency = static_cast<CCurrency*>(list->ObjectAt(i));
        std::shared_ptr<CCurRItem> item = mDataItemController.currencyItemForCurrency(currency);
        if (currency->Get_mCurrencyType() == currency_type::kCurrency) mCurrencies.push_back(item);
        else if (currency->Get_mCurrencyType() == currency_type::kShare) mShares.push_back(item);
    }
}

void MyDocument::fillOwnerArray()
{
    const CNamedListArray* list = theDocument->mAccountOwnerList.get();
    for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
        mOwners.push_back(mDataItemController.accountOwnerItemForAccountOwner(list->ObjectAt(i)));
}

void MyDocument::fillCreditCardArray()
{
    const CNamedListArray* list = getDebtAccountList();
    for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
        std::shared_ptr<CAcnTItem> item = mDataItemController.accountItemForAccount(list->ObjectAt(i));
        if (item && item->isCreditCard()) mCreditCards.push_back(item);
    }
}

void MyDocument::fillTransactionArray()
{
    const CNamedListArray* posted = theDocument->mTransactionList.get();
    if (posted) {
        mTransactions.reserve(mTransactions.size() + posted->GetCount());
        mDataItemController.reserveItemsOfType(type::kTransaction, posted->GetCount());
    }
    for (ArrayIndexT i = 1; posted && i <= static_cast<ArrayIndexT>(posted->GetCount()); ++i)
        mTransactions.push_back(mDataItemController.transactionItemForTrnS(posted->ObjectAt(i)));
    const CNamedListArray* unlinked = theDocument->mUnlinkedList.get();
    for (ArrayIndexT i = 1; unlinked && i <= static_cast<ArrayIndexT>(unlinked->GetCount()); ++i)
        mUnlinkedTransactions.push_back(mDataItemController.transactionItemForTrnS(unlinked->ObjectAt(i)));
    const CNamedListArray* recurring = theDocument->mRecurringList.get();
    for (ArrayIndexT i = 1; recurring && i <= static_cast<ArrayIndexT>(recurring->GetCount()); ++i)
        mRecurringTransactions.push_back(mDataItemController.transactionItemForRcrT(recurring->ObjectAt(i)));
    ib_ArrayFilled = true;
}

void MyDocument::setMCreditCardArray()
{
    mCreditCards.clear();
    fillCreditCardArray();
}

std::vector<std::shared_ptr<CAcnTItem>> MyDocument::allAccounts()
{
    std::vector<std::shared_ptr<CAcnTItem>> items;
    const CNamedListArray* list = getAccountList();
    for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
        items.push_back(mDataItemController.accountItemForAccount(list->ObjectAt(i)));
    return items;
}

std::vector<std::shared_ptr<CAcoWItem>> MyDocument::customerArray() const
{
    std::vector<std::shared_ptr<CAcoWItem>> customers;
    std::copy_if(mOwners.begin(), mOwners.end(), std::back_inserter(customers),
                 [](const std::shared_ptr<CAcoWItem>& owner) { return owner->isCustomer(); });
    return customers;
}

std::vector<std::shared_ptr<CAcoWItem>> MyDocument::supplierArray() const
{
    std::vector<std::shared_ptr<CAcoWItem>> suppliers;
    std::copy_if(mOwners.begin(), mOwners.end(), std::back_inserter(suppliers),
                 [](const std::shared_ptr<CAcoWItem>& owner) { return owner->isSupplier(); });
    return suppliers;
}

// --- business bookkeeping

InvoiceHooks& MyDocument::invoiceHooks()
{
    InvoiceHooks* hooks = mBusiness ? mBusiness->invoiceHooks() : nullptr;
    return hooks ? *hooks : BridgeDocument::invoiceHooks();
}

void MyDocument::setBusiness(std::unique_ptr<DocumentBusiness> business)
{
    mBusiness = std::move(business);
}

std::shared_ptr<GXNonVisual> MyDocument::VATRateWithId(ObjectIdT id, bool alwaysReturnOne) const
{
    return mBusiness ? mBusiness->VATRateWithId(id, alwaysReturnOne) : nullptr;
}

PlistOutput MyDocument::businessArchiveBytes() const
{
    return mBusiness ? mBusiness->archiveBytes() : emptyBusinessArchive();
}

long MyDocument::readBusinessArchive(std::string_view bytes)
{
    // Only files from before the business objects end with the books: one of
    // the version written since, or whose books hold business bookings, was cut.
    const bool writtenWithArchive = theDocument && theDocument->mPreference &&
                                    version::AtLeast(theDocument->mPreference->Get_StoredVersion(), version::k2_00);
    if (bytes.empty() && theDocument && (writtenWithArchive || booksNeedBusinessArchive(*theDocument))) {
        developerLog("The file ends at the end of the books, but they were written with business data "
                     "or hold invoices or payments: their business archive was cut off");
        if (mBusiness) mBusiness->readArchive(bytes);
        return kIncompleteBusinessArchiveWarning;
    }
    if (mBusiness) return mBusiness->readArchive(bytes);
    std::string problem;
    const long warning = readEmptyBusinessArchive(bytes, &problem);
    if (warning) developerLog("The business archive holds objects no business bookkeeping reads (" + problem + ")");
    return warning;
}

// --- moving objects

bool MyDocument::setSuperitem(CNonVisual* parent, CNonVisual* child)
{
    bool moved = theDocument->Put_mParentId(parent, child);
    updateChangeCount();
    return moved;
}

bool MyDocument::setSuperitemId(ObjectIdT parentId, FourCharCode parentType, ObjectIdT childId,
                                FourCharCode childType)
{
    CNonVisual* parent = getObjectWithType(parentType, parentId);
    CNonVisual* child = getObjectWithType(childType, childId);
    if (!parent || !child) return false;
    bool wasRoot = child->IsRootItem();
    bool moved = setSuperitem(parent, child);
    if (wasRoot)
        mCentre.post(GXCObjectRemovedFromRootNotification, mDataItemController.dataItemForObject(child));
    // An account moved among the profit-and-loss accounts leaves its currency
    // fluctuations between two of them: they move no value, and reading would
    // drop them, so they go now (the pages told), and the books stay as they
    // will open.
    if (moved && childType == type::kAccount)
        for (CTransaction* moot : accounting()->MootFluctuations())
            if (std::shared_ptr<CTrnSItem> item = mDataItemController.transactionItemForTrnS(moot)) {
                moot->Put_Status(status::kNormal);
                operations().deletion->performDeleteTransaction(*item, false);
            }
    return moved;
}

// --- deleting

bool MyDocument::deleteObject(const std::shared_ptr<CNonVisualDataItem>& item, bool withAsking)
{
    if (!item || !item->getSourceItem()) {
        CErrorManager::RaiseError(268);
        return false;
    }
    // Confirmed before its command is journaled, so that a deletion the
    // person declines is never replayed; the command asks nothing again.
    if (!confirmDeletion(*item, withAsking)) return false;
    return deleteConfirmed(item);
}

bool MyDocument::deleteConfirmed(const std::shared_ptr<CNonVisualDataItem>& item)
{
    arguments::CDeleteObjectParms parameters;
    parameters.name = item->getName();
    parameters.withAsking = false;
    CErrorManager::QuestionsAnswered answered;
    mCommandExecutor.executeCommand(28, item, parameters);
    // The command answers -1 in every case; the item tells whether its object went.
    return item->getSourceItem() == nullptr;
}

bool MyDocument::deleteVATRate(const std::shared_ptr<GXNonVisual>& rate, bool withAsking)
{
    if (!rate) return false;
    if (withAsking && !CErrorManager::AskQuestion(226)) return false;
    arguments::CDeleteObjectParms parameters;
    parameters.withAsking = false;
    mCommandExecutor.executeCommand(37, rate, parameters);
    const std::optional<ObjectIdT> id = rate->idKey();
    return !id || VATRateWithId(*id, false) != rate;
}

bool MyDocument::deleteObject(const std::shared_ptr<CNonVisualDataItem>& item)
{
    CNonVisual* object = item ? item->getSourceItem() : nullptr;
    return object && theDocument->DeleteObject(object);
}

bool MyDocument::deleteAccountOwner(const std::shared_ptr<Observable>& sender)
{
    auto owner = std::dynamic_pointer_cast<CAcoWItem>(sender);
    if (!owner || !deleteObject(owner)) return false;
    // No list may go on showing an owner whose books are gone.
    mOwners.erase(std::remove(mOwners.begin(), mOwners.end(), owner), mOwners.end());
    return true;
}

// --- sheets and empty transactions

void MyDocument::askTransactionInput(CNonVisual* fromAccount, CNonVisual* toAccount, CNonVisual* expenseType,
                                     int type, int action, bool isRecurring)
{
    mSheets->askTransactionInput(nullptr, fromAccount, toAccount, expenseType, type, action, isRecurring);
}

void MyDocument::doModifyTransactionDialog(const std::shared_ptr<CTrnSItem>& item)
{
    if (!item || !item->getSourceItem()) {
        CErrorManager::RaiseError(268);
        return;
    }
    bool recurring = item->getObjectTypeAsString() == "RctR";
    mSheets->askTransactionInput(item, nullptr, nullptr, nullptr, transaction_type::kOther, 2, recurring);
}

namespace {

// What a sheet makes for its input takes no transaction or line number: a
// replayed journal opens no sheets, and must hand the transactions it makes
// the numbers they had when the journal was written.
class KeepTransactionCounters {
public:
    explicit KeepTransactionCounters(CDocAccounting& books)
        : mIds(books.Ids()), mTransactions(mIds.mi_TrnsNr), mLines(mIds.mi_DebetNr)
    {
    }
    ~KeepTransactionCounters()
    {
        mIds.mi_TrnsNr = mTransactions;
        mIds.mi_DebetNr = mLines;
    }
    KeepTransactionCounters(const KeepTransactionCounters&) = delete;
    KeepTransactionCounters& operator=(const KeepTransactionCounters&) = delete;

private:
    IdCounters& mIds;
    ObjectIdT mTransactions;
    ObjectIdT mLines;
};

} // namespace

std::shared_ptr<CTrnSItem> MyDocument::makeEmptyTransactionOfType(int type)
{
    KeepTransactionCounters keep(*theDocument);
    CTransaction* transaction = theDocument->CreateTemporaryTransaction(1, 0, static_cast<EnumT>(type));
    auto item = std::make_shared<CTrnSItem>(transaction);
    item->setParentDocument(this);
    item->setMOwnsSourceItem(true);
    return item;
}

std::shared_ptr<CRcrTItem> MyDocument::makeEmptyRecurringTransaction()
{
    KeepTransactionCounters keep(*theDocument);
    CRecurringTransaction* recurring = theDocument->InsertRecurringTransaction(1, 0);
    auto item = std::make_shared<CRcrTItem>(recurring);
    item->setParentDocument(this);
    item->setMOwnsSourceItem(true);
    return item;
}

// --- clipboard

bool MyDocument::hasTransactionToPaste() const
{
    return mCopiedTransaction && mCopiedTransaction->getSourceItem();
}

std::shared_ptr<CTrnSItem> MyDocument::transactionToPaste() const
{
    return hasTransactionToPaste() ? mCopiedTransaction : nullptr;
}

bool MyDocument::cutTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    if (!transaction || !transaction->getSourceItem()) return false;
    // Not the deletion's question: a cut transaction comes back with Paste.
    if (!CErrorManager::AskQuestion(kCutQuestion)) return false;
    // The copy is made before the deletion takes the transaction with it;
    // a recurring one keeps its schedule.
    std::shared_ptr<CTrnSItem> copy;
    if (std::dynamic_pointer_cast<CRcrTItem>(transaction)) copy = makeEmptyRecurringTransaction();
    else copy = makeEmptyTransactionOfType(transaction->mTransactionType());
    if (!copy || !copy->setEqualToTransaction(*transaction)) return false;
    if (!deleteConfirmed(transaction)) return false;
    mCopiedTransaction = std::move(copy);
    return true;
}

} // namespace ch
