#include "ui/pages/CStockTableController.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

#include "bridge/CCurRItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "platform/gui/localized_text.h"
#include "ui/WindowDocument.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/pages/StockPriceGraph.h"

namespace ch {

namespace {

enum Column { kDate, kRate, kDifferenceRate, kDifferenceValue, kColumns };

QString amount(const std::optional<double>& value)
{
    return value ? QString::fromStdString(CNumericTransformer().stringForObjectValue(*value)) : QString();
}

} // namespace

// --- the table model

void StockPriceTableModel::setPrices(std::vector<CStockPrice> prices)
{
    std::stable_sort(prices.begin(), prices.end(),
                     [](const CStockPrice& a, const CStockPrice& b) { return a.theDate > b.theDate; });
    beginResetModel();
    mPrices = std::move(prices);
    endResetModel();
}

int StockPriceTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mPrices.size());
}

int StockPriceTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant StockPriceTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const CStockPrice& price = mPrices[std::size_t(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() != kDate) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case kDate:
    {
        const QDateTime when = QDateTime::fromSecsSinceEpoch(price.theDate);
        return QLocale().toString(when.date(), QLocale::ShortFormat) + u' ' +
               when.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case kRate: return amount(price.theRate);
    case kDifferenceRate: return amount(price.theDifferenceRate);
    case kDifferenceValue: return amount(price.theDifferenceValue);
    default: return {};
    }
}

QVariant StockPriceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case kDate: return localizedText("LISTCOLDATE");
    case kRate: return localizedText("LISTCOLPRICE");
    case kDifferenceRate: return localizedText("LISTCOLDIFFERENCE");
    case kDifferenceValue: return localizedText("LISTCOLVALUECHANGE");
    default: return {};
    }
}

// --- the controller

CStockTableController::CStockTableController(const std::string& autosaveName, QWidget* parent)
{
    mView = new QWidget(parent);
    mView->setObjectName(QStringLiteral("real"));
    auto* layout = new QVBoxLayout(mView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* currencyRow = new QHBoxLayout;
    currencyRow->setContentsMargins(6, 2, 6, 0);
    auto* currencyLabel = new QLabel(localizedText("BASECURRENCY"), mView);
    mBaseCurrencyList = new QComboBox(mView);
    mBaseCurrencyList->setObjectName(QStringLiteral("theBaseCurrencyList"));
    // It names the currency of the prices; the prices follow the share.
    mBaseCurrencyList->setEnabled(false);
    currencyLabel->setBuddy(mBaseCurrencyList);
    currencyRow->addWidget(currencyLabel);
    currencyRow->addWidget(mBaseCurrencyList);
    currencyRow->addStretch(1);
    layout->addLayout(currencyRow);

    auto* split = new QSplitter(Qt::Horizontal, mView);
    split->setChildrenCollapsible(false);
    mTable = new GXTableAncestor(split);
    mTable->setObjectName(QStringLiteral("stockPriceTableView"));
    mTable->setModel(&mModel);
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setSelectionMode(QAbstractItemView::SingleSelection);
    mTable->setAlternatingRowColors(true);
    mTable->setShowGrid(false);
    mTable->verticalHeader()->hide();
    mTable->verticalHeader()->setDefaultSectionSize(22);
    mTable->horizontalHeader()->setStretchLastSection(true);
    mTable->setColumnWidth(kDate, 150);
    mTable->setAutosaveName(autosaveName);
    mTable->awakeFromNib();
    connect(mTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { tableViewSelectionDidChange(mTable); });
    mGraph = new StockPriceGraph(split);
    mGraph->setObjectName(QStringLiteral("theGraph"));
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
}

CStockTableController::~CStockTableController() = default;

void CStockTableController::awakeFromNib()
{
    const QString chosen = mBaseCurrencyList->currentText();
    mBaseCurrencyList->clear();
    CDocAccounting* books = mDocument ? mDocument->books().accounting() : nullptr;
    const CNamedListArray* list =
        books && books->mCurrencyList ? books->mCurrencyList->Get_SubList(CCurrencyArray::kCurrencies) : nullptr;
    if (!list) return;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
        if (auto currency = mDocument->books().dataItemController().currencyItemForCurrency(list->ObjectAt(i)))
            mBaseCurrencyList->addItem(QString::fromStdString(currency->mShortName()));
    mBaseCurrencyList->setCurrentIndex(std::max(0, mBaseCurrencyList->findText(chosen)));
}

void CStockTableController::setDataItem(const std::shared_ptr<CCurRItem>& share)
{
    mDataItemCache = share;
    refresh();
}

void CStockTableController::tableViewSelectionDidChange(const QObject* table)
{
    if (!table) refresh();
}

void CStockTableController::refresh()
{
    const std::shared_ptr<CCurRItem> share = mDataItemCache.lock();
    std::vector<CStockPrice> prices;
    if (share && share->getSourceItem()) prices = share->mRealTimeRateHistory();
    std::vector<std::pair<double, double>> points;
    // The share keeps its quotes newest first; the graph wants them oldest first.
    for (auto price = prices.rbegin(); price != prices.rend(); ++price)
        if (price->theRate) points.emplace_back(double(price->theDate), *price->theRate);
    mModel.setPrices(std::move(prices));
    mGraph->setPrices(std::move(points));
    if (share && share->getSourceItem()) {
        if (mBaseCurrencyList->count() == 0) awakeFromNib();
        const int at = mBaseCurrencyList->findText(QString::fromStdString(share->mBaseShortName()));
        if (at >= 0) mBaseCurrencyList->setCurrentIndex(at);
    }
}

} // namespace ch
