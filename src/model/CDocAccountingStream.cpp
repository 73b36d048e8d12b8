// The model stream: the set of books as a sequence of tagged records, written
// by CDocAccounting::DoSave and read by CDocAccounting::initFromStream, closed
// by the end tag 'FiNi'. A record has no length field: each record body is
// read by its class, so the reader must know every record it meets.

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "model/BookingLookups.h"
#include "model/BooksCheck.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CBank.h"
#include "model/CCurrency.h"
#include "model/CCurrencyRate.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CHierarchyRoot.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"
#include "model/budget/CBudgetHeader.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LException.h"
#include "model/foundation/LStream.h"

namespace ch {

namespace {

// The name with which currency fluctuations begin.
constexpr std::string_view kFluctuations = "Currency Fluctuations:";

// The numbered errors of a refused file: one whose settings name a version
// this program cannot read, and any other (damaged, cut short, not a set of books).
constexpr long kUnknownVersionError = 139;
constexpr long kDamagedFileError = 172;

// Whether a refused version code reads like one ("3.00"): a later version of
// this program, rather than damage.
bool HasVersionForm(FourCharCode code)
{
    auto digit = [](unsigned c) { return c >= '0' && c <= '9'; };
    return digit(code >> 24) && ((code >> 16) & 0xFF) == '.' && digit((code >> 8) & 0xFF) && digit(code & 0xFF);
}

} // namespace

// One reading of the model stream: dispatches each record by its tag.
class CDocAccounting::StreamReader {
public:
    StreamReader(CDocAccounting& root, LStream& stream) : mRoot(root), mStream(stream) {}

    // True when the records end on 'FiNi' (left unread).
    bool Run()
    {
        FourCharCode tag = 0;
        while (mStream.PeekBigOsType(tag) == 4) {
            if (tag == type::kEndOfModel) return mRoot.mPreference != nullptr;
            if (!ReadRecord(tag)) return false;
        }
        return false;   // the data ends inside the model: truncated
    }

    // Why Run refused the data: the number of its error.
    long Refusal() const { return mRefusal; }
    // Whether a transaction read is named as currency fluctuations are.
    bool ReadFluctuations() const { return mReadFluctuations; }

    // A document whose decimal count differs from the application's is read
    // all the same; the user hears of it once the books are read.
    void ReportDecimals() const
    {
        if (mDocumentDecimals != mApplicationDecimals)
            CErrorManager::RaiseError(209, mDocumentDecimals, mApplicationDecimals);
    }

private:
    // False ends the reading: the record is unknown, out of place or refused.
    bool ReadRecord(FourCharCode tag)
    {
        // The settings record comes first and once: it gives the version
        // every later record is read with.
        if (tag == type::kPreference) return !mRoot.mPreference && ReadSettings();
        if (!mRoot.mPreference) return false;

        switch (tag) {
        case type::kHierarchyRoot: {
            // Only the open flag of a hierarchy root is kept; the roots themselves are fixed.
            CHierarchyRoot record(&mStream, &mRoot, mVersion);
            if (CNonVisual* root = mRoot.mRootList->GetValueForId(record.Get_Id()))
                root->Put_mb_IsOpen(record.Get_mb_IsOpen());
            return true;
        }
        case type::kAccountOwner:
            return Append(*mRoot.mAccountOwnerList, std::make_unique<CAccountOwner>(&mStream, mVersion, &mRoot));
        case type::kBank:
            return Append(*mRoot.mBankList, std::make_unique<CBank>(&mStream, &mRoot, mVersion));
        // A parent type or group precedes its children, the groups precede
        // the categories: each joins what is read already.
        case type::kAccountType:
            return Append(*mRoot.mAccountTypeList, std::make_unique<CAccType>(&mStream, mVersion, &mRoot));
        case type::kMasterExpenseType:
            return Append(*mRoot.mMasterExpenseTypeList,
                          std::make_unique<CMasterExpenseType>(&mStream, mVersion, &mRoot));
        case type::kExpenseType:
            return Append(*mRoot.mExpenseTypeList, std::make_unique<CExpenseType>(&mStream, mVersion, &mRoot));
        case type::kCurrency: {
            auto currency = std::make_unique<CCurrency>(&mStream, mVersion, &mRoot);
            CCurrency* read = currency.get();
            Append(*mRoot.mCurrencyList, std::move(currency));
            mLastCurrency = mRoot.mCurrencyList->FetchIndexOfObject(read) > 0 ? read : nullptr;
            return true;
        }
        case type::kCurrencyRate: {
            if (!mLastCurrency) return false;
            auto rate = std::make_unique<CCurrencyRate>(&mStream, &mRoot, mVersion);
            if (rate->InitFromStream(&mStream, &mRoot, mLastCurrency, mVersion)) rate.release();
            return true;
        }
        case type::kAccount:
            return ReadAccount();
        case type::kTransaction:
            return ReadTransaction();
        case type::kRecurring:
            return ReadRecurring();
        case type::kDebit:
        case type::kCredit:
        case type::kExpenseTypeDetail:
            return ReadLine(tag);
        case type::kBudgetHeader:
            // A budget reads its details and cross-references with it.
            return Append(*mRoot.mBudgetList,
                          std::make_unique<CBudgetHeader>(&mStream, &mRoot, mVersion));
        // A rate ('CcoN') belongs to the currency read last, a line ('DebT',
        // 'CreT', 'ExtD') to the transaction read last; one with none before
        // it is out of place. Any record not read here ends the reading.
        default:
            return false;
        }
    }

    // An account joins its type as it is read.
    bool ReadAccount()
    {
        return Append(*mRoot.mAccountList, std::make_unique<CAccount>(&mStream, &mRoot, mVersion));
    }

    // Unlinked transactions (status 6) have their own list; the lines that
    // follow belong to the transaction and wait to post (FinishTransactions).
    bool ReadTransaction()
    {
        auto transaction = mRoot.mPool.Make<CTransaction>(&mStream, mVersion, &mRoot, true);
        transaction->Put_Document(&mRoot);
        transaction->HoldPosting();
        CNamedListArray& list = transaction->Get_ObjectStatus() == status::kUnlinked ? *mRoot.mUnlinkedList
                                                                                     : *mRoot.mTransactionList;
        if (list.AppendObject(transaction.get()) <= 0) return false;
        mCurrentTransaction = transaction.release();
        mReadFluctuations = mReadFluctuations || mCurrentTransaction->Get_StringrefName().starts_with(kFluctuations);
        mRead.push_back({mCurrentTransaction, mLines.size(), mLines.size(), &list == mRoot.mUnlinkedList.get()});
        mCurrentIsRead = true;
        return true;
    }

    // A recurring transaction; the lines that follow are its own (they never post).
    bool ReadRecurring()
    {
        auto recurring = std::make_unique<CRecurringTransaction>(&mStream, mVersion, &mRoot, true);
        recurring->Put_Document(&mRoot);
        if (mRoot.mRecurringList->AppendObject(recurring.get()) <= 0) return false;
        mCurrentTransaction = recurring.release();
        mCurrentIsRead = false;
        return true;
    }

    // A line of the transaction read last.
    bool ReadLine(FourCharCode tag)
    {
        CTransaction* owner = mCurrentTransaction;
        if (!owner) return false;
        std::unique_ptr<CDebit> line;
        ObjectPool& pool = mRoot.mPool;
        if (tag == type::kDebit) line = pool.Make<CDebit>(&mStream, &mRoot, owner, mVersion, nullptr);
        else if (tag == type::kCredit) line = pool.Make<CCredit>(&mStream, &mRoot, owner, mVersion, nullptr);
        else line = pool.Make<CExptypeDetail>(&mStream, &mRoot, owner, mVersion, nullptr);
        // A line names the transaction it belongs to: one that names another
        // means the reading has lost its place among the records.
        if (!line->InitFromStream(&mStream, &mRoot, owner, nullptr)) return false;
        CDebit* read = line.release();
        mLines.push_back(read);
        mLineIds.push_back(read->Get_Id());
        if (mCurrentIsRead) {
            Read& transaction = mRead.back();
            transaction.endLine = mLines.size();
            const int kind = tag == type::kDebit ? 0 : (tag == type::kCredit ? 1 : 2);
            transaction.inListOrder = transaction.inListOrder && kind >= transaction.lastKind;
            transaction.lastKind = kind;
        }
        if (tag == type::kDebit) return owner->LinkDebit(read);
        if (tag == type::kCredit) return owner->LinkCredit(static_cast<CCredit*>(read));
        return owner->LinkExpenseType(static_cast<CExptypeDetail*>(read));
    }

public:
    // Objects are never dropped for an id another of their list holds: once
    // every record is read (and every id is known) each takes a new id and
    // joins its list; the damage tells of it. Lines that named the old id
    // stay with the object that holds it.
    void TakeRefused()
    {
        for (Refused& refused : mRefused) {
            const ObjectIdT taken = refused.object->Get_Id();
            CNonVisual* holder = refused.list->GetValueForId(taken);
            refused.object->Put_Id(-1);
            if (refused.list->AppendObject(refused.object.get()) <= 0) continue;
            CNonVisual* kept = refused.object.release();
            if (holder) mRoot.mReadDamage.NoteIdTaken(*kept, taken, *holder);
        }
        mRefused.clear();
    }

    ~StreamReader()
    {
        // Books refused while objects waited: an account leaves its type
        // before it goes (the others leave their parents themselves).
        for (Refused& refused : mRefused) {
            if (auto* account = dynamic_cast<CAccount*>(refused.object.get()))
                account->Put_mAccountTypeId(0, nullptr, false);
        }
    }

    // After the records: lines keep their stored ids, unless the id is not
    // positive or an earlier line has it (then they take a new one); then the
    // lines of the posted transactions post, in the order of the sorted
    // transaction list, so that every reading of the same books adds the same
    // amounts in the same order and writes back the same bytes.
    void FinishTransactions()
    {
        TakeLineIds();
        PostLines();
    }

private:
    // Ids no line shares and none below 1 are all kept as they are. Books
    // number their lines from 1 with few gaps, so a table by id tells that
    // without sorting; only other books need the sort.
    void TakeLineIds()
    {
        ObjectIdT highest = 0;
        bool positive = true;
        for (ObjectIdT id : mLineIds) {
            positive = positive && id > 0;
            highest = std::max(highest, id);
        }
        if (positive && std::size_t(highest) <= 4 * mLineIds.size() + 1024) {
            std::vector<bool> seen(std::size_t(highest) + 1);
            bool shared = false;
            for (ObjectIdT id : mLineIds) {
                shared = shared || seen[std::size_t(id)];
                seen[std::size_t(id)] = true;
            }
            if (!shared) {
                if (highest > 0) CDebit::NoteReadId(mRoot, highest);
                mLines.clear();
                mLineIds.clear();
                return;
            }
        }
        std::vector<std::pair<ObjectIdT, std::size_t>> ids;   // id, reading order
        ids.reserve(mLineIds.size());
        for (std::size_t i = 0; i < mLineIds.size(); ++i) ids.emplace_back(mLineIds[i], i);
        std::sort(ids.begin(), ids.end());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            bool taken = ids[i].first <= 0 || (i > 0 && ids[i - 1].first == ids[i].first);
            if (!taken) CDebit::NoteReadId(mRoot, ids[i].first);
        }
        for (std::size_t i = 0; i < ids.size(); ++i) {
            bool taken = ids[i].first <= 0 || (i > 0 && ids[i - 1].first == ids[i].first);
            if (taken) mLines[ids[i].second]->Put_Id(-1);
        }
        mLines.clear();
        mLineIds.clear();
    }

    void PostLines()
    {
        // Nothing outside the books listens to them yet, and the budgets'
        // trees inside follow their objects only to forget them when they
        // go: no one needs to hear of each balance that changes while the
        // lines post.
        struct Quiet {
            std::vector<LBroadcaster*> objects;
            ~Quiet()
            {
                for (LBroadcaster* object : objects) object->StartBroadcasting();
            }
        } quiet;
        for (CNamedListArray* list : {static_cast<CNamedListArray*>(mRoot.mAccountList.get()),
                                      static_cast<CNamedListArray*>(mRoot.mAccountTypeList.get()),
                                      static_cast<CNamedListArray*>(mRoot.mExpenseTypeList.get()),
                                      static_cast<CNamedListArray*>(mRoot.mMasterExpenseTypeList.get())}) {
            const auto count = static_cast<ArrayIndexT>(list->GetCount());
            for (ArrayIndexT i = 1; i <= count; ++i) {
                CNonVisual* object = list->ObjectAt(i);
                if (object && object->IsBroadcasting() && object->HasListeners()) {
                    object->StopBroadcasting();
                    quiet.objects.push_back(object);
                }
            }
        }

        // Each account and category keeps its lines aside while they post
        // and lists them at the end, in one insertion per list. Most lines
        // are in the currency of the line before.
        ObjectIdT lastCurrencyId = 0;
        CCurrency* lastCurrency = nullptr;
        bool haveLast = false;
        auto currencyOf = [&](ObjectIdT id) {
            if (!haveLast || id != lastCurrencyId) {
                lastCurrency = booking::FindCurrency(&mRoot, id);
                lastCurrencyId = id;
                haveLast = true;
            }
            return lastCurrency;
        };
        if (ListsInReadingOrder()) {
            // The lines as read are each transaction's lines in list order:
            // no list of lines needs to be looked into.
            // The transactions and lines lie far apart in memory: those a few
            // steps ahead are fetched while these post.
            constexpr std::size_t kAhead = 6;
            auto fetch = [](const void* object, std::size_t size) {
                for (std::size_t at = 0; at < size; at += 64) __builtin_prefetch(static_cast<const char*>(object) + at);
            };
            for (bool unlinked : {false, true}) {
                for (std::size_t k = 0; k < mRead.size(); ++k) {
                    if (k + kAhead < mRead.size() && mRead[k + kAhead].unlinked == unlinked) {
                        const Read& next = mRead[k + kAhead];
                        fetch(next.transaction, sizeof(CTransaction));
                        for (std::size_t j = next.firstLine; j < next.endLine; ++j) fetch(mLines[j], sizeof(CDebit));
                    }
                    const Read& read = mRead[k];
                    if (read.unlinked != unlinked) continue;
                    read.transaction->PostHeldLinesAside(currencyOf, mLines.data() + read.firstLine,
                                                         read.endLine - read.firstLine);
                }
            }
        } else {
            for (CNamedListArray* list : {mRoot.mTransactionList.get(), mRoot.mUnlinkedList.get()}) {
                auto count = static_cast<ArrayIndexT>(list->GetCount());
                for (ArrayIndexT i = 1; i <= count; ++i)
                    static_cast<CTransaction*>(list->ObjectAt(i))->PostHeldLinesAside(currencyOf);
            }
        }
        auto accounts = static_cast<ArrayIndexT>(mRoot.mAccountList->GetCount());
        for (ArrayIndexT i = 1; i <= accounts; ++i)
            static_cast<CAccount*>(mRoot.mAccountList->ObjectAt(i))->ListHeldDetails();
        auto categories = static_cast<ArrayIndexT>(mRoot.mExpenseTypeList->GetCount());
        for (ArrayIndexT i = 1; i <= categories; ++i)
            static_cast<CExpenseType*>(mRoot.mExpenseTypeList->ObjectAt(i))->ListHeldDetails();
    }

    // Whether the transaction lists hold the transactions read, each in the
    // order read (as they do when the file was written from sorted lists),
    // and each transaction's lines came debits first, then credits, then
    // category lines: then the lines as read are in the order posting takes.
    bool ListsInReadingOrder() const
    {
        std::size_t posted = 0, unlinked = 0;
        for (const Read& read : mRead) {
            if (!read.inListOrder) return false;
            ++(read.unlinked ? unlinked : posted);
        }
        const CNamedListArray& postedList = *mRoot.mTransactionList;
        const CNamedListArray& unlinkedList = *mRoot.mUnlinkedList;
        if (postedList.GetCount() != posted || unlinkedList.GetCount() != unlinked) return false;
        auto items = [](const CNamedListArray& list) {
            return list.GetCount() > 0 ? static_cast<CNonVisual* const*>(list.GetItemPtr(1)) : nullptr;
        };
        CNonVisual* const* postedItems = items(postedList);
        CNonVisual* const* unlinkedItems = items(unlinkedList);
        std::size_t p = 0, u = 0;
        for (const Read& read : mRead) {
            if ((read.unlinked ? unlinkedItems[u++] : postedItems[p++]) != read.transaction) return false;
        }
        return true;
    }

    bool ReadSettings()
    {
        auto* settings = new CPreference(&mRoot, &mStream);
        mRoot.mPreference = settings;
        mRoot.mFileVersion = settings->Get_Version();
        mVersion = mRoot.mFileVersion;

        // Settings cut short are damage, whatever version they seem to name
        // (a version cut short reads as one this program does not know).
        FourCharCode next = 0;
        if (mStream.PeekBigOsType(next) < 4) return false;
        if (mVersion == version::kStop) {
            if (HasVersionForm(settings->Get_StoredVersion())) mRefusal = kUnknownVersionError;
            return false;
        }
        mDocumentDecimals = settings->Get_mNrOfDecimals();
        mApplicationDecimals = CDecimal::getNrOfDecimals();
        // Old files need their upgrade whatever their decimal count: without
        // it their categories have no groups.
        if (mVersion <= version::k0_60) mRoot.UpgradeOldFile();
        return true;
    }

    // Gives the object its root and appends it to its list. One the list
    // refuses, its id being another's, waits for a new id (TakeRefused).
    bool Append(CNamedListArray& list, std::unique_ptr<CNonVisual> object)
    {
        object->Put_Document(&mRoot);
        if (list.AppendObject(object.get()) > 0) object.release();
        else mRefused.push_back({&list, std::move(object)});
        return true;
    }

    CDocAccounting& mRoot;
    LStream& mStream;
    FourCharCode mVersion = version::kNone;
    CCurrency* mLastCurrency = nullptr;   // the owner of the rates that follow
    CTransaction* mCurrentTransaction = nullptr;   // the owner of the lines that follow
    std::vector<CDebit*> mLines;                     // the lines read, in reading order
    std::vector<ObjectIdT> mLineIds;                 // their ids as read, noted while they are at hand
    // A transaction read ('TrnS') with the lines read after it (mLines from
    // firstLine to endLine).
    struct Read {
        CTransaction* transaction;
        std::size_t firstLine;
        std::size_t endLine;
        bool unlinked;                 // in the unlinked list
        bool inListOrder = true;       // debits, then credits, then category lines
        int lastKind = 0;
    };
    std::vector<Read> mRead;
    // Objects whose list refused them for their id, waiting for a new one.
    struct Refused {
        CNamedListArray* list;
        std::unique_ptr<CNonVisual> object;
    };
    std::vector<Refused> mRefused;
    bool mCurrentIsRead = false;     // the lines that follow belong to mRead.back()
    long mRefusal = kDamagedFileError;
    bool mReadFluctuations = false;
    long mDocumentDecimals = 0;
    long mApplicationDecimals = 0;
};

bool CDocAccounting::initFromStream(LStream* stream)
{
    // Every refusal says why, once: the document shows no window for it.
    auto refuse = [](long error) {
        CErrorManager::RaiseError(error);
        return false;
    };
    if (!stream) return refuse(kDamagedFileError);
    std::int32_t settingsAt = stream->positionAt(type::kPreference);
    if (settingsAt < 0 || settingsAt > kSettingsSearchLimit) return refuse(kDamagedFileError);

    mReadDamage.Clear();
    StreamReader reader(*this, *stream);
    try {
        if (!reader.Run()) return refuse(reader.Refusal());
    } catch (const LException&) {
        // A record that runs past the data, declares impossible lengths or
        // holds what no writer writes.
        return refuse(kDamagedFileError);
    }
    reader.ReportDecimals();
    mStreamSize = static_cast<std::size_t>(stream->GetMarker() - settingsAt);
    reader.TakeRefused();
    FinishLoading();
    reader.FinishTransactions();
    // The books as read, before anything is booked on opening.
    CheckBooks(*this, mReadDamage);
    CompleteLoading(reader.ReadFluctuations());
    return true;
}

void CDocAccounting::UpgradeOldFile()
{
    auto* recuperate = new CNonVisual(4, this);
    recuperate->Put_Name("VAT To Recuperate");
    mAccountKindList->InsertObjectAt(recuperate, 1);
    auto* toPay = new CNonVisual(5, this);
    toPay->Put_Name("VAT To Pay");
    mAccountKindList->InsertObjectAt(toPay, 1);

    // Such files have no category groups: the five fixed ones (their ids are their kinds).
    const struct {
        ObjectIdT id;
        const char* name;
    } groups[] = {{0, "Income"}, {1, "Expense"}, {2, "Transfer"}, {3, "Opening Balance"}, {4, "Corrections"}};
    for (const auto& group : groups) {
        auto made = std::make_unique<CMasterExpenseType>(group.id, this);
        made->Put_Name(group.name);
        if (mMasterExpenseTypeList->InsertObjectAt(made.get(), 1) > 0) made.release();
    }
}

void CDocAccounting::FinishLoading()
{
    // The reader appended in record order; these lists are kept by name (or
    // date). Banks, budgets, recurring, unlinked and group lists keep record order.
    for (CNamedListArray* list : std::initializer_list<CNamedListArray*>{
             mAccountOwnerList.get(), mAccountTypeList.get(), mAccountList.get(), mCurrencyList.get(),
             mExpenseTypeList.get(), mTransactionList.get(), mRootList.get()})
        list->Sort();
}

void CDocAccounting::CompleteLoading(bool readFluctuations)
{
    // What fell due since the document was saved is booked now.
    const std::uint64_t changes = mTransactionList->GetChangeCount();
    GenerateRecurring();

    // Currency fluctuations booked between profit-and-loss accounts move no
    // value; they go (their status first allows it). Without such a
    // transaction read or booked just now there is nothing to look for.
    if (!readFluctuations && mTransactionList->GetChangeCount() == changes) return;
    for (CTransaction* transaction : MootFluctuations()) {
        transaction->Put_Status(status::kNormal);
        DeleteObject(transaction);
    }
}

std::vector<CTransaction*> CDocAccounting::MootFluctuations() const
{
    std::vector<CTransaction*> moot;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(mTransactionList->GetCount()); ++i) {
        auto* transaction = static_cast<CTransaction*>(mTransactionList->ObjectAt(i));
        if (transaction->Get_StringrefName().starts_with(kFluctuations) && transaction->IsBetweenPL())
            moot.push_back(transaction);
    }
    return moot;
}

namespace {

void WriteEach(const CNamedListArray& list, LStream* stream)
{
    auto count = static_cast<ArrayIndexT>(list.GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) list.ObjectAt(i)->PutStream(stream);
}

// The top-level objects of a tree; each writes its subtree after itself.
void WriteTrees(const CNamedListArray& list, LStream* stream)
{
    auto count = static_cast<ArrayIndexT>(list.GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = list.ObjectAt(i);
        if (object->IsRootItem()) object->PutStream(stream);
    }
}

// Currencies, then shares, then any other kind, each followed by its rates.
void WriteCurrencies(const CCurrencyArray& list, LStream* stream)
{
    auto count = static_cast<ArrayIndexT>(list.GetCount());
    auto rank = [](CurrencyTypeT currencyType) { return currencyType <= currency_type::kShare ? currencyType : 2; };
    for (int pass = 0; pass <= 2; ++pass) {
        for (ArrayIndexT i = 1; i <= count; ++i) {
            auto* currency = static_cast<CCurrency*>(list.ObjectAt(i));
            if (rank(currency->Get_mCurrencyType()) == pass) currency->PutStream(stream);
        }
    }
}

} // namespace

void CDocAccounting::DoSave(LStream* stream)
{
    // A set of books is recognised by its settings record.
    if (!mPreference) mPreference = new CPreference(this, 1);

    // Record order: settings; hierarchy roots; owners; account types (each
    // top-level type followed depth-first by its sub-types); category groups
    // likewise; currencies, then shares (then other kinds, so that none is
    // lost), each followed by its rates; banks;
    // accounts; categories; transactions, then unlinked ones, each followed by
    // its lines; recurring transactions with their lines; budgets; 'FiNi'.
    const std::int32_t start = stream->GetMarker();
    mPreference->PutStream(stream);
    WriteEach(*mRootList, stream);
    auto owners = static_cast<ArrayIndexT>(mAccountOwnerList->GetCount());
    for (ArrayIndexT i = 1; i <= owners; ++i) {
        CNonVisual* owner = mAccountOwnerList->ObjectAt(i);
        owner->Put_Document(this);
        owner->PutStream(stream);
    }
    WriteTrees(*mAccountTypeList, stream);
    WriteTrees(*mMasterExpenseTypeList, stream);
    WriteCurrencies(*mCurrencyList, stream);
    WriteEach(*mBankList, stream);
    WriteEach(*mAccountList, stream);
    WriteEach(*mExpenseTypeList, stream);
    // Each transaction writes its lines after itself.
    WriteEach(*mTransactionList, stream);
    WriteEach(*mUnlinkedList, stream);
    // Each recurring transaction writes its lines after its schedule.
    WriteEach(*mRecurringList, stream);
    // Each budget writes its details and cross-references after itself.
    WriteEach(*mBudgetList, stream);
    stream->WriteBigOsType(type::kEndOfModel);
    mStreamSize = static_cast<std::size_t>(std::max(stream->GetMarker() - start, 0));
    SetModified(false);
}

} // namespace ch
