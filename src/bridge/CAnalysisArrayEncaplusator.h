#pragma once
// CAnalysisArrayEncaplusator presents the analysis list of one model object
// (the date-ordered booking lines of an account, category, account type or
// group, with those of the objects below it) as a read-only array of line
// items, made one at a time, that tables, charts and reports index, enumerate
// (optionally within a period) and sort by column.
//
// The wrapper owns its list of line pointers. It follows the object and the
// objects below it: when lines are added or removed there, a line's date
// moves or a balance changes, it marks its list stale and announces "lines"
// (observers should schedule their reload rather than read at once); the
// next access rebuilds the list with the same order, so a deleted line is
// never read and the order and running balances are those of the books. A
// wrapper over a given list cannot follow anything: its holder must drop it
// before the lines go.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "bridge/CListenerBridge.h"
#include "bridge/CNonVisualDataItem.h"
#include "platform/core/observable.h"

namespace ch {

class BridgeDocument;
class CAnalysisArray;
class CAnalysisArrayEnumerator;
class CDebetItem;
class CTransactionDetailComparator;
class LArrayIterator;

class CAnalysisArrayEncaplusator : public Observable,
                                   public MessageReceiver,
                                   public std::enable_shared_from_this<CAnalysisArrayEncaplusator> {
public:
    // An empty wrapper.
    CAnalysisArrayEncaplusator();
    // The lines of the object, newest first, with running balances.
    explicit CAnalysisArrayEncaplusator(CNonVisual* object);
    // Takes over an existing list; newest first, no running balances computed.
    explicit CAnalysisArrayEncaplusator(std::unique_ptr<CAnalysisArray> list);
    ~CAnalysisArrayEncaplusator() override;
    CAnalysisArrayEncaplusator(const CAnalysisArrayEncaplusator&) = delete;
    CAnalysisArrayEncaplusator& operator=(const CAnalysisArrayEncaplusator&) = delete;

    // The line items it makes belong to this document (they reach their
    // transaction's item through it).
    // Its lists go stale when the document refreshes its analysis lists.
    void setParentDocument(BridgeDocument* document);

    // --- sorting by column; the direction is the one set with setReverse
    // (true: newest or largest first, texts from A to Z). Running balances
    // stay those computed by date.
    void setReverse(bool reverse) { mReverseSortOrder = reverse; }
    void dateSort();
    void descSort();
    void acntSort();
    void amtfSort();
    void amtlSort();
    void balfSort();
    void ballSort();
    void fcurSort();
    void lcurSort();
    // Takes the comparator over.
    void sortWithComparator(std::unique_ptr<CTransactionDetailComparator> comparator);
    // Flips the direction and sorts again; the new direction.
    bool reverseSortOrder();

    // --- access
    std::uint32_t count();
    // 1-based unless mbZeroBasedCalled; null out of range.
    std::shared_ptr<CDebetItem> getObjectAtIndex(int index);
    std::shared_ptr<CDebetItem> objectAtIndex(int index) { return getObjectAtIndex(index); }
    // The kept item when it wraps the line, else a new one that is kept.
    std::shared_ptr<CDebetItem> makeDebetItemForDebT(CNonVisual* line);
    bool mbZeroBasedCalled() const { return mZeroBased; }
    void setMbZeroBasedCalled(bool zeroBased) { mZeroBased = zeroBased; }
    // The first and last line dates; the number of lines.
    std::uint32_t getMinDate(DateT& minDate, DateT& maxDate);
    // The line's running balance in this list (by date, whatever the order
    // shown); none for a line it does not hold or a list given ready-made.
    std::optional<double> runningBalanceOf(const CNonVisualDataItem& line);

    // Each model line of the list in its order, without making items (a
    // chart's running balances read every line of a long list).
    template <class Visit>
    void forEachLine(Visit&& visit)
    {
        if (CAnalysisArray* lines = list())
            for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(lineCount(*lines)); ++i) visit(lineAt(*lines, i));
    }

    // --- enumeration (one iterator per wrapper, shared by its enumerators)
    std::shared_ptr<CAnalysisArrayEnumerator> objectEnumerator();
    void resetIterator();
    void toStart() {}
    std::shared_ptr<CDebetItem> getNext();
    // The next line dated within start..end (both included), as a new item.
    std::shared_ptr<CDebetItem> getNextBetweenStartDate(DateT start, DateT end);
    // A new item for the wrapped object.
    CNonVisualDataItem::Ptr sourceItemAsDataItem() const;

    // Messages of the list itself.
    void ListenToMessage(MessageT message, void* param) override;

private:
    struct LineWatch;
    friend struct LineWatch;

    // Builds the list of the object, by date with running balances, then in
    // the order of the given comparator (none: by date).
    void build(std::unique_ptr<CTransactionDetailComparator> order);
    void adopt(std::unique_ptr<CAnalysisArray> list);
    // Follows the object and, below it, its lists and the objects in them.
    void watch(CNonVisual* object, int depth);
    void linesMayHaveChanged(MessageT message, bool fromSource);
    void refreshIfStale();
    CAnalysisArray* list();
    static std::uint32_t lineCount(const CAnalysisArray& lines);
    static CNonVisual* lineAt(const CAnalysisArray& lines, ArrayIndexT index);
    std::shared_ptr<CDebetItem> newLineItem(CNonVisual* line) const;

    CNonVisual* mSourceItem = nullptr;
    std::unique_ptr<CAnalysisArray> mArray;
    std::unique_ptr<LArrayIterator> mIterator;
    std::unique_ptr<CListenerBridge> theListenerBridge;
    std::vector<std::unique_ptr<LineWatch>> mWatches;
    std::shared_ptr<CDebetItem> cachedDebetItem;
    int cachedIndex = -1;
    bool mReverseSortOrder = true;
    bool mZeroBased = false;
    bool mStale = false;
    BridgeDocument* mDocument = nullptr;
    // The document's analysis generation the list was built in; none while
    // the wrapper has no document.
    std::optional<std::uint64_t> mBuiltGeneration;
};

// Enumerates a CAnalysisArrayEncaplusator, optionally only within a period.
class CAnalysisArrayEnumerator {
public:
    void setParentArray(std::shared_ptr<CAnalysisArrayEncaplusator> parent) { parentArray = std::move(parent); }
    void setPeriodAware(bool periodAware, DateT startDate, DateT endDate);
    std::shared_ptr<CDebetItem> nextObject();

private:
    std::shared_ptr<CAnalysisArrayEncaplusator> parentArray;
    bool mPeriodAware = false;
    DateT mStartDate = 0;
    DateT mEndDate = 0;
};

} // namespace ch
