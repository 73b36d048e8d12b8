#pragma once
// CStockTableController: the share-price part of the portfolio page, what
// its "real" tab shows: the quotes fetched from the web for one share,
// newest first (by "theDate"), each with its price, its difference to the
// booked rate and the change in value of the shares held; a graph of those
// prices; and the list of the document's currencies, showing the one the
// prices are quoted in.
//
// The list is read again from the share when the table is told that its
// selection changed with no table (tableViewSelectionDidChange(nullptr)):
// the document does so after fetched prices are booked, the page after
// every fetch.

#include <QAbstractTableModel>
#include <QObject>

#include <memory>
#include <vector>

#include "bridge/QuoteService.h"

class QComboBox;
class QWidget;

namespace ch {

class CCurRItem;
class GXTableAncestor;
class StockPriceGraph;
class WindowDocument;

// The quotes of one share as table rows.
class StockPriceTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;
    // Sorted newest first.
    void setPrices(std::vector<CStockPrice> prices);
    const std::vector<CStockPrice>& prices() const { return mPrices; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<CStockPrice> mPrices;
};

class CStockTableController : public QObject {
    Q_OBJECT

public:
    // Builds its view (a child of `parent`); `autosaveName` names the
    // table's column settings.
    CStockTableController(const std::string& autosaveName, QWidget* parent);
    ~CStockTableController() override;

    QWidget* view() const { return mView; }
    GXTableAncestor* table() const { return mTable; }
    StockPriceGraph* theGraph() const { return mGraph; }
    QComboBox* theBaseCurrencyList() const { return mBaseCurrencyList; }
    StockPriceTableModel& theStockArrayController() { return mModel; }

    void setMotherDocument(WindowDocument* document) { mDocument = document; }
    // Fills the base-currency list with the document's currencies.
    void awakeFromNib();
    // The share shown (none empties the table).
    void setDataItem(const std::shared_ptr<CCurRItem>& share);
    std::shared_ptr<CCurRItem> dataItem() const { return mDataItemCache.lock(); }
    // A change of selection in the table does nothing; none as the table
    // reads the share's quotes again.
    void tableViewSelectionDidChange(const QObject* table);

private:
    void refresh();

    WindowDocument* mDocument = nullptr;
    std::weak_ptr<CCurRItem> mDataItemCache;
    StockPriceTableModel mModel;
    QWidget* mView = nullptr;
    GXTableAncestor* mTable = nullptr;
    StockPriceGraph* mGraph = nullptr;
    QComboBox* mBaseCurrencyList = nullptr;
};

} // namespace ch
