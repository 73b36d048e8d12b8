#include "bridge/CTransactionDetailTableController.h"

#include <array>

#include "bridge/BridgeDocument.h"
#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "bridge/TextColours.h"
#include "model/CDebit.h"
#include "model/CNonvisualExaminator.h"
#include "model/CTransaction.h"
#include "model/foundation/CErrorManager.h"

namespace ch {

namespace {

constexpr long kNoSelectionError = 225;
constexpr int kNewAction = 1;

struct Column {
    std::string_view identifier;
    void (CAnalysisArrayEncaplusator::*sort)();
};

// The columns a table may show and the order each one sorts by.
constexpr std::array<Column, 9> kColumns = {{
    {"date", &CAnalysisArrayEncaplusator::dateSort},
    {"desc", &CAnalysisArrayEncaplusator::descSort},
    {"amtf", &CAnalysisArrayEncaplusator::amtfSort},
    {"fcur", &CAnalysisArrayEncaplusator::fcurSort},
    {"amtl", &CAnalysisArrayEncaplusator::amtlSort},
    {"lcur", &CAnalysisArrayEncaplusator::lcurSort},
    {"acnt", &CAnalysisArrayEncaplusator::acntSort},
    {"ball", &CAnalysisArrayEncaplusator::ballSort},
    {"balf", &CAnalysisArrayEncaplusator::balfSort},
}};

const Column* columnFor(std::string_view identifier)
{
    for (const Column& column : kColumns)
        if (column.identifier == identifier) return &column;
    return nullptr;
}

StyledText plain(std::string text)
{
    StyledText styled;
    styled.runs.push_back({std::move(text), std::nullopt, 0.0});
    return styled;
}

} // namespace

CTransactionDetailTableController::CTransactionDetailTableController() = default;

CTransactionDetailTableController::~CTransactionDetailTableController() = default;

std::uint32_t CTransactionDetailTableController::numberOfRows() const
{
    return mArray ? mArray->count() : 0;
}

std::shared_ptr<CDebetItem> CTransactionDetailTableController::lineAtRow(int row)
{
    if (!mArray) return nullptr;
    // Table rows count from 0; the wrapper counts from 1 unless told otherwise.
    return mArray->getObjectAtIndex(mArray->mbZeroBasedCalled() ? row : row + 1);
}

StyledText CTransactionDetailTableController::objectValue(std::string_view identifier, int row)
{
    const Column* column = columnFor(identifier);
    if (!column) return plain("&a&");
    const std::shared_ptr<CDebetItem> item = lineAtRow(row);
    if (!item) return {};
    if (identifier == "date") return plain(CNSStringDateTBridge::dateTToNSString(item->getTransactionDate()));
    if (identifier == "desc") return plain(item->getName());
    if (identifier == "amtf") return makeFormattedString(item->getForeignAmount(), item.get());
    if (identifier == "fcur") return plain(item->getForeignCurrency());
    if (identifier == "amtl") return makeFormattedString(item->getLocalAmount(), item.get());
    if (identifier == "lcur") return plain(item->getLocalCurrency());
    if (identifier == "acnt") return plain(item->getAccountName());
    if (identifier == "ball") {
        // The balance in this table's list, which may run over several accounts.
        const std::optional<double> balance = mArray ? mArray->runningBalanceOf(*item) : std::nullopt;
        return balanceString(balance ? balance : item->getLocalBalance());
    }
    return balanceString(item->getForeignBalance());
}

StyledText CTransactionDetailTableController::makeFormattedString(std::optional<double> amount,
                                                                  const CDebetItem* item) const
{
    Colour colour = Colour::black();
    const FourCharCode lineType = item ? item->getType() : 0;
    if (lineType == type::kCredit || lineType == type::kExpenseTypeDetail) {
        if (mPropertyMode >= 1) colour = getGreenColor();
        else if (mPropertyMode < 0) colour = getRedColor();
    } else if (lineType == type::kDebit) {
        if (mPropertyMode >= 1) colour = getRedColor();
        else if (mPropertyMode < 0) colour = getGreenColor();
    }
    StyledText styled;
    styled.runs.push_back({CNSNumberAmountTBridge::NSNumberToNSString(amount), colour, 0.0});
    styled.alignment = StyledText::Alignment::Right;
    return styled;
}

StyledText CTransactionDetailTableController::balanceString(std::optional<double> amount) const
{
    StyledText styled;
    styled.runs.push_back(
        {CNSNumberAmountTBridge::NSNumberToNSString(amount), amount && *amount < 0 ? getRedColor() : Colour::black(), 0.0});
    styled.alignment = StyledText::Alignment::Right;
    return styled;
}

void CTransactionDetailTableController::didClickTableColumn(std::string_view identifier)
{
    // A column the table does not know has no order to sort by.
    const Column* column = columnFor(identifier);
    if (!column) return;
    if (identifier == mLastColumn) {
        const bool reverse = mArray ? mArray->reverseSortOrder() : mIndicator != SortIndicator::Descending;
        mIndicator = reverse ? SortIndicator::Descending : SortIndicator::Ascending;
    } else {
        mLastColumn = std::string(identifier);
        mIndicator = SortIndicator::Descending;
        if (mArray) {
            mArray->setReverse(true);
            ((*mArray).*(column->sort))();
        }
    }
    reloadTable();
}

void CTransactionDetailTableController::resort()
{
    if (!mArray) return;
    const Column* column = columnFor(mLastColumn);
    if (!column) {
        mArray->setReverse(true);
        mArray->dateSort();
        return;
    }
    mArray->setReverse(mIndicator != SortIndicator::Ascending);
    ((*mArray).*(column->sort))();
}

void CTransactionDetailTableController::setMAnalysisArray(std::shared_ptr<CAnalysisArrayEncaplusator> array)
{
    if (array == mArray) return;
    mLinesSubscription.cancel();
    mArray = std::move(array);
    if (mArray)
        mLinesSubscription = mArray->observe("lines", [this](Observable&, const std::string&) { reloadTable(); });
}

bool CTransactionDetailTableController::syncronizeWithObject(const CNonVisualDataItem::Ptr& item)
{
    if (item == dataItem) return true;
    dataItem = item;
    setMAnalysisArray(item ? item->getAnalysisArray() : nullptr);
    analysisArrayChanged();
    resort();
    reloadTable();
    return true;
}

bool CTransactionDetailTableController::synchronizeWithArray(const std::shared_ptr<CAnalysisArrayEncaplusator>& array)
{
    dataItem = array ? array->sourceItemAsDataItem() : nullptr;
    setMAnalysisArray(array);
    analysisArrayChanged();
    resort();
    reloadTable();
    return true;
}

// --- actions

std::shared_ptr<CTrnSItem> CTransactionDetailTableController::currentTransaction()
{
    if (!mSelectedRow) return nullptr;
    const std::shared_ptr<CDebetItem> line = lineAtRow(*mSelectedRow);
    const auto* modelLine = line ? static_cast<const CDebit*>(line->getSourceItem()) : nullptr;
    CTransaction* transaction = modelLine ? modelLine->Get_mTransactionPtr() : nullptr;
    if (!transaction) return nullptr;
    // The registry's item, so that sheets and pages see the one item of it.
    if (theDocument) return theDocument->dataItemController().transactionItemForTrnS(transaction);
    return std::make_shared<CTrnSItem>(transaction);
}

bool CTransactionDetailTableController::documentConnected() const
{
    if (!theDocument) developerLog("Please connect the outlet 'theDocument' to the nib owner");
    return theDocument != nullptr;
}

void CTransactionDetailTableController::addTransaction(bool green)
{
    if (!documentConnected()) return;
    CNonVisual* object = dataItem ? dataItem->getSourceItem() : nullptr;
    CNonVisual* from = nullptr;
    CNonVisual* to = nullptr;
    CNonVisual* category = nullptr;
    int transactionType = green ? 1 : 0;
    if (CNonvisualExaminator::isAccount(object)) {
        const bool ownOrDebt =
            CNonvisualExaminator::isPropertyAccount(object) || CNonvisualExaminator::isDebtAccount(object);
        // Money comes in (green) to an own account, but out of a profit-and-loss one.
        if (ownOrDebt == green) to = object;
        else from = object;
    } else if (CNonvisualExaminator::isExpenseType(object)) {
        category = object;
        transactionType = CNonvisualExaminator::isIncome(object)     ? 1
                          : CNonvisualExaminator::isExpense(object)  ? 0
                          : CNonvisualExaminator::isTransfer(object) ? 2
                                                                     : 3;
    }
    theDocument->askTransactionInput(from, to, category, transactionType, kNewAction, false);
}

void CTransactionDetailTableController::modifyTransactionAsked()
{
    const std::shared_ptr<CTrnSItem> transaction = currentTransaction();
    if (!transaction) {
        CErrorManager::RaiseError(kNoSelectionError);
        return;
    }
    if (documentConnected()) theDocument->doModifyTransactionDialog(transaction);
}

} // namespace ch
