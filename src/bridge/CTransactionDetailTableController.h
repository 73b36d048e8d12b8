#pragma once
// CTransactionDetailTableController: the toolkit-free logic of a table that
// lists the booking lines of one account or category: values by column
// identifier ("date", "desc", "amtf", "fcur", "amtl", "lcur", "acnt", "ball",
// "balf"), amount colours, sorting on a column click (a second click on the
// same column reverses), and the add, modify and delete actions for the
// selected line's transaction through the document. A Qt table model sits on
// top of it and overrides the hooks.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/CNonVisualDataItem.h"
#include "platform/core/observable.h"

namespace ch {

class BridgeDocument;
class CAnalysisArrayEncaplusator;
class CDebetItem;
class CTrnSItem;

class CTransactionDetailTableController {
public:
    // The sort indicator of the last column sorted on: Descending is the
    // reverse image (newest or largest first), Ascending the plain one.
    enum class SortIndicator { None, Ascending, Descending };

    // Property colouring (1), no sort chosen yet.
    CTransactionDetailTableController();
    virtual ~CTransactionDetailTableController();
    CTransactionDetailTableController(const CTransactionDetailTableController&) = delete;
    CTransactionDetailTableController& operator=(const CTransactionDetailTableController&) = delete;

    void setDocument(BridgeDocument* document) { theDocument = document; }

    std::uint32_t numberOfRows() const;
    // The value of the column at the 0-based row: amounts formatted and
    // coloured, other columns plain; "&a&" for an unknown column, nothing
    // for a row that does not exist.
    StyledText objectValue(std::string_view columnIdentifier, int row);
    // The amount right-aligned, coloured by the line's type and mIsProperty.
    StyledText makeFormattedString(std::optional<double> amount, const CDebetItem* item) const;
    // A running balance: red when below zero, else in the text colour (the
    // line's money in or out says nothing about the sign of the balance).
    StyledText balanceString(std::optional<double> amount) const;
    // Sorts on a known column (a second click reverses); an unknown column
    // changes nothing.
    void didClickTableColumn(std::string_view columnIdentifier);
    const std::string& lastColumn() const { return mLastColumn; }
    SortIndicator sortIndicator() const { return mIndicator; }

    // Shows the lines of the item (nothing happens for the item shown).
    bool syncronizeWithObject(const CNonVisualDataItem::Ptr& item);
    // Shows the lines of the wrapper.
    bool synchronizeWithArray(const std::shared_ptr<CAnalysisArrayEncaplusator>& array);
    const std::shared_ptr<CAnalysisArrayEncaplusator>& mAnalysisArray() const { return mArray; }
    void setMAnalysisArray(std::shared_ptr<CAnalysisArrayEncaplusator> array);
    // 1 or more: a property view; 0 neutral; negative: the reverse view.
    int mIsProperty() const { return mPropertyMode; }
    void setMIsProperty(int mode) { mPropertyMode = mode; }

    // Hooks for the view: the shown list was replaced; the rows must be
    // drawn again. reloadTable may come during a model operation (lines
    // added or removed): the view should schedule its reload.
    virtual void analysisArrayChanged() {}
    virtual void reloadTable() {}

    // --- actions on the selected row (0-based; none: no selection)
    void setSelectedRow(std::optional<int> row) { mSelectedRow = row; }
    // The item of the selected line's transaction; null without a selection.
    std::shared_ptr<CTrnSItem> currentTransaction();
    void addGreenTransaction() { addTransaction(true); }
    void addRedTransaction() { addTransaction(false); }
    // Opens the entry sheet with the shown account or category filled in.
    void addTransaction(bool green);
    // Error 225 without a selection.
    void modifyTransactionAsked();

private:
    std::shared_ptr<CDebetItem> lineAtRow(int row);
    // The remembered sort, else newest first by date.
    void resort();
    bool documentConnected() const;

    CNonVisualDataItem::Ptr dataItem;
    std::shared_ptr<CAnalysisArrayEncaplusator> mArray;
    Subscription mLinesSubscription;
    int mPropertyMode = 1;
    std::string mLastColumn;
    SortIndicator mIndicator = SortIndicator::None;
    BridgeDocument* theDocument = nullptr;
    std::optional<int> mSelectedRow;
};

} // namespace ch
