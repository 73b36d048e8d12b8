#include "bridge/CAnalysisArrayEncaplusator.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>
#include <unordered_set>

#include "bridge/BridgeDocument.h"
#include "bridge/CDebetItem.h"
#include "model/CAnalysisArray.h"
#include "model/CDebit.h"
#include "model/CTransaction.h"
#include "model/CTransactionDetailComparator.h"
#include "model/foundation/LArrayIterator.h"

namespace ch {

namespace {

// Far deeper than any chart of accounts; a damaged tree must not recurse for ever.
constexpr int kMaxTreeDepth = 64;

// Whether the list, its order or its running balances may have changed: a
// line came or went, a line's date moved (the account or category it is
// booked on says so), or an amount changed the balance.
bool linesMoved(MessageT message)
{
    switch (message) {
    case msg::kDateChanged:
    case msg::kBalanceChanged:
    case msg::kListChanged:
    case msg::kItemInserted:
    case msg::kItemsRemoved:
    case msg::kChildTypesChanged:
    case msg::kDebitLineRemoved:
    case msg::kCreditLineRemoved:
    case msg::kDebitLineAdded:
    case msg::kCreditLineAdded:
    case msg::kCategoryLineRemoved:
    case msg::kCategoryLineAdded:
    case msg::kObjectDestroyed:
    case msg::kBroadcasterDied:
        return true;
    default:
        return false;
    }
}

// Puts the lines newest first (date, then line id, both descending), each
// line's keys read once, so that the date comparator finds them in order
// without reaching every line's transaction at each comparison. Answers
// whether it did: lines that share date and id (damaged books) are left as
// they are, for the comparator's own sort to place as it always has.
bool preorderNewestFirst(CAnalysisArray& lines)
{
    struct Key {
        DateT date;
        ObjectIdT id;
        CNonVisual* line;
    };
    const auto count = static_cast<ArrayIndexT>(lines.GetCount());
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = lines.ObjectAt(i);
        const auto* line = static_cast<const CDebit*>(object);
        const CTransaction* transaction = line ? line->Get_mTransactionPtr() : nullptr;
        keys.push_back({transaction ? transaction->Get_mDate() : 0, line ? line->Get_Id() : 0, object});
    }
    const auto newerFirst = [](const Key& a, const Key& b) { return a.date != b.date ? a.date > b.date : a.id > b.id; };
    std::stable_sort(keys.begin(), keys.end(), newerFirst);
    const auto same = [](const Key& a, const Key& b) { return a.date == b.date && a.id == b.id; };
    if (std::adjacent_find(keys.begin(), keys.end(), same) != keys.end()) return false;
    for (ArrayIndexT i = 1; i <= count; ++i)
        std::memcpy(lines.GetItemPtr(i), &keys[static_cast<std::size_t>(i - 1)].line, sizeof(CNonVisual*));
    return true;
}

} // namespace

// Hears one broadcaster of the followed tree (the object itself, a list below
// it, or an object in such a list).
struct CAnalysisArrayEncaplusator::LineWatch final : MessageReceiver {
    LineWatch(CAnalysisArrayEncaplusator& owner, LBroadcaster* broadcaster, bool isSource)
        : mOwner(owner), mIsSource(isSource)
    {
        mBridge.LinkObjectiveCObjectToBroadcaster(this, broadcaster);
    }
    void ListenToMessage(MessageT message, void*) override { mOwner.linesMayHaveChanged(message, mIsSource); }

    CAnalysisArrayEncaplusator& mOwner;
    bool mIsSource;
    CListenerBridge mBridge;
};

CAnalysisArrayEncaplusator::CAnalysisArrayEncaplusator() = default;

CAnalysisArrayEncaplusator::CAnalysisArrayEncaplusator(CNonVisual* object) : mSourceItem(object)
{
    if (!object) return;
    build(nullptr);
}

CAnalysisArrayEncaplusator::CAnalysisArrayEncaplusator(std::unique_ptr<CAnalysisArray> list)
{
    if (!list) return;
    adopt(std::move(list));
    setReverse(true);
    dateSort();
}

CAnalysisArrayEncaplusator::~CAnalysisArrayEncaplusator()
{
    mWatches.clear();
    theListenerBridge.reset();
    mIterator.reset();
    mArray.reset();
}

void CAnalysisArrayEncaplusator::adopt(std::unique_ptr<CAnalysisArray> newList)
{
    theListenerBridge.reset();
    mIterator.reset();
    mArray = std::move(newList);
    cachedIndex = -1;
    if (!mArray) return;
    mIterator = std::make_unique<LArrayIterator>(*mArray);
    theListenerBridge = std::make_unique<CListenerBridge>();
    theListenerBridge->LinkObjectiveCObjectToBroadcaster(this, mArray.get());
}

void CAnalysisArrayEncaplusator::setParentDocument(BridgeDocument* document)
{
    mDocument = document;
    if (mDocument && !mBuiltGeneration) mBuiltGeneration = mDocument->analysisGeneration();
}

void CAnalysisArrayEncaplusator::build(std::unique_ptr<CTransactionDetailComparator> order)
{
    mWatches.clear();
    mStale = false;
    mBuiltGeneration = mDocument ? std::optional<std::uint64_t>(mDocument->analysisGeneration()) : std::nullopt;
    if (!mSourceItem) {
        adopt(nullptr);
        return;
    }
    auto lines = std::make_unique<CAnalysisArray>();
    lines->InitFromObject(mSourceItem, true);
    const bool inOrder = preorderNewestFirst(*lines);
    // Running balances are computed newest first by date, whatever the order
    // shown afterwards.
    auto byDate = std::make_unique<CTransactionDetailComparator>();
    byDate->SetReverse(true);
    lines->SetComparator(byDate.release(), true);
    if (inOrder) {
        lines->FinalizeInOrder();
    } else {
        lines->SetNotSorted();
        lines->Sort();
        lines->Finalize();
    }
    adopt(std::move(lines));
    if (order) {
        mReverseSortOrder = order->GetReverse();
        sortWithComparator(std::move(order));
    } else {
        mReverseSortOrder = true;
    }
    watch(mSourceItem, 0);
}

void CAnalysisArrayEncaplusator::watch(CNonVisual* object, int depth)
{
    std::unordered_set<const LBroadcaster*> seen;
    // Breadth of the tree below the object, without recursion on the stack.
    std::vector<std::pair<CNonVisual*, int>> pending{{object, depth}};
    while (!pending.empty()) {
        auto [current, level] = pending.back();
        pending.pop_back();
        if (!current || level > kMaxTreeDepth || !seen.insert(current).second) continue;
        mWatches.push_back(std::make_unique<LineWatch>(*this, current, current == mSourceItem));
        for (CNamedListArray* below : {current->Get_Details(), current->Get_DetailFolders()}) {
            if (!below || !seen.insert(below).second) continue;
            mWatches.push_back(std::make_unique<LineWatch>(*this, below, false));
            for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(below->GetCount()); ++i)
                pending.emplace_back(below->ObjectAt(i), level + 1);
        }
    }
}

void CAnalysisArrayEncaplusator::linesMayHaveChanged(MessageT message, bool fromSource)
{
    // Called inside a model operation: only take note here; the list is
    // rebuilt on the next access, once the operation is over.
    if (!linesMoved(message)) return;
    if (fromSource && message == msg::kObjectDestroyed) mSourceItem = nullptr;
    cachedIndex = -1;
    if (mStale) return;
    mStale = true;
    announce("lines");
}

void CAnalysisArrayEncaplusator::refreshIfStale()
{
    if (mDocument && mBuiltGeneration && *mBuiltGeneration != mDocument->analysisGeneration()) mStale = true;
    if (!mStale) return;
    std::unique_ptr<CTransactionDetailComparator> order;
    if (mArray)
        if (auto* current = dynamic_cast<CTransactionDetailComparator*>(mArray->GetComparator()))
            order.reset(static_cast<CTransactionDetailComparator*>(current->Clone()));
    // The old list may name deleted lines: let it go unread.
    cachedDebetItem.reset();
    adopt(nullptr);
    build(std::move(order));
}

std::uint32_t CAnalysisArrayEncaplusator::lineCount(const CAnalysisArray& lines)
{
    return lines.GetCount();
}

CNonVisual* CAnalysisArrayEncaplusator::lineAt(const CAnalysisArray& lines, ArrayIndexT index)
{
    return lines.ObjectAt(index);
}

CAnalysisArray* CAnalysisArrayEncaplusator::list()
{
    refreshIfStale();
    return mArray.get();
}

std::optional<double> CAnalysisArrayEncaplusator::runningBalanceOf(const CNonVisualDataItem& line)
{
    const CAnalysisArray* lines = list();
    return lines ? lines->RunningBalanceOf(line.getSourceItem()) : std::nullopt;
}

// --- sorting

void CAnalysisArrayEncaplusator::sortWithComparator(std::unique_ptr<CTransactionDetailComparator> comparator)
{
    CAnalysisArray* lines = list();
    if (!lines || !comparator) return;
    comparator->SetReverse(mReverseSortOrder);
    lines->SetComparator(comparator.release(), true);
    lines->SetNotSorted();
    lines->Sort();
    // The lines moved: the kept index names another line now.
    cachedIndex = -1;
}

void CAnalysisArrayEncaplusator::dateSort()
{
    // A list built or last sorted by date in this direction is in that order
    // already (date and line id order every line one way only).
    if (CAnalysisArray* lines = list())
        if (const auto* current = dynamic_cast<const CTransactionDetailComparator*>(lines->GetComparator());
            current && typeid(*current) == typeid(CTransactionDetailComparator) &&
            current->GetReverse() == mReverseSortOrder && lines->IsSorted())
            return;
    sortWithComparator(std::make_unique<CTransactionDetailComparator>());
}

void CAnalysisArrayEncaplusator::descSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorDesc>());
}

void CAnalysisArrayEncaplusator::acntSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorAcnt>());
}

void CAnalysisArrayEncaplusator::amtfSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorAmtf>());
}

void CAnalysisArrayEncaplusator::amtlSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorAmtl>());
}

void CAnalysisArrayEncaplusator::balfSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorBalf>());
}

void CAnalysisArrayEncaplusator::ballSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorBall>());
}

void CAnalysisArrayEncaplusator::fcurSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorFcur>());
}

void CAnalysisArrayEncaplusator::lcurSort()
{
    sortWithComparator(std::make_unique<CTransactionDetailComparatorLcur>());
}

bool CAnalysisArrayEncaplusator::reverseSortOrder()
{
    CAnalysisArray* lines = list();
    if (!lines) return mReverseSortOrder;
    if (auto* comparator = dynamic_cast<CTransactionDetailComparator*>(lines->GetComparator()))
        mReverseSortOrder = comparator->SwitchSortOrder();
    lines->SetNotSorted();
    lines->Sort();
    cachedIndex = -1;
    return mReverseSortOrder;
}

// --- access

std::uint32_t CAnalysisArrayEncaplusator::count()
{
    CAnalysisArray* lines = list();
    return lines ? lines->GetCount() : 0;
}

std::shared_ptr<CDebetItem> CAnalysisArrayEncaplusator::newLineItem(CNonVisual* line) const
{
    auto item = std::make_shared<CDebetItem>(line);
    item->setParentDocument(mDocument);
    return item;
}

std::shared_ptr<CDebetItem> CAnalysisArrayEncaplusator::getObjectAtIndex(int index)
{
    CAnalysisArray* lines = list();
    if (!lines) return nullptr;
    const int listIndex = mZeroBased ? index + 1 : index;
    if (listIndex < 1 || listIndex > static_cast<int>(lines->GetCount())) return nullptr;
    CNonVisual* line = lines->ObjectAt(listIndex);
    if (listIndex == cachedIndex && cachedDebetItem && cachedDebetItem->getSourceItem() == line)
        return cachedDebetItem;
    std::shared_ptr<CDebetItem> item = makeDebetItemForDebT(line);
    cachedIndex = listIndex;
    return item;
}

std::shared_ptr<CDebetItem> CAnalysisArrayEncaplusator::makeDebetItemForDebT(CNonVisual* line)
{
    if (!line) return nullptr;
    if (cachedDebetItem && cachedDebetItem->getSourceItem() == line) return cachedDebetItem;
    cachedDebetItem = newLineItem(line);
    // The kept index named the line of the item just replaced.
    cachedIndex = -1;
    return cachedDebetItem;
}

std::uint32_t CAnalysisArrayEncaplusator::getMinDate(DateT& minDate, DateT& maxDate)
{
    CAnalysisArray* lines = list();
    if (!lines) return 0;
    return lines->getEarliestAndLastDate(minDate, maxDate);
}

// --- enumeration

std::shared_ptr<CAnalysisArrayEnumerator> CAnalysisArrayEncaplusator::objectEnumerator()
{
    resetIterator();
    auto enumerator = std::make_shared<CAnalysisArrayEnumerator>();
    enumerator->setParentArray(shared_from_this());
    return enumerator;
}

void CAnalysisArrayEncaplusator::resetIterator()
{
    CAnalysisArray* lines = list();
    mIterator.reset();
    if (lines) mIterator = std::make_unique<LArrayIterator>(*lines);
}

std::shared_ptr<CDebetItem> CAnalysisArrayEncaplusator::getNext()
{
    if (mStale) {
        // A rebuilt list starts a new walk.
        refreshIfStale();
    }
    CNonVisual* line = nullptr;
    if (!mIterator || !mIterator->Next(&line)) return nullptr;
    return makeDebetItemForDebT(line);
}

std::shared_ptr<CDebetItem> CAnalysisArrayEncaplusator::getNextBetweenStartDate(DateT start, DateT end)
{
    if (mStale) refreshIfStale();
    CNonVisual* line = nullptr;
    while (mIterator && mIterator->Next(&line)) {
        const DateT date = line ? static_cast<CDebit*>(line)->Get_mDate() : 0;
        if (date >= start && date <= end) return newLineItem(line);
    }
    return nullptr;
}

CNonVisualDataItem::Ptr CAnalysisArrayEncaplusator::sourceItemAsDataItem() const
{
    auto item = std::make_shared<CNonVisualDataItem>(mSourceItem);
    item->setParentDocument(mDocument);
    return item;
}

void CAnalysisArrayEncaplusator::ListenToMessage(MessageT message, void*)
{
    // The list itself changes only through us; any change moves its lines.
    if (message == msg::kListChanged || message == msg::kItemInserted || message == msg::kItemsRemoved)
        cachedIndex = -1;
}

// --- CAnalysisArrayEnumerator

void CAnalysisArrayEnumerator::setPeriodAware(bool periodAware, DateT startDate, DateT endDate)
{
    mPeriodAware = periodAware;
    mStartDate = startDate;
    mEndDate = endDate;
}

std::shared_ptr<CDebetItem> CAnalysisArrayEnumerator::nextObject()
{
    if (!parentArray) return nullptr;
    return mPeriodAware ? parentArray->getNextBetweenStartDate(mStartDate, mEndDate) : parentArray->getNext();
}

} // namespace ch
