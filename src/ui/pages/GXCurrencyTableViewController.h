#pragma once
// The currencies page and, as its subclass, the portfolio page. Above, a
// table of the model's currencies (shares) with their symbol, name and rate
// - for a share also the number held, its value in the home currency and
// its gross result - and buttons for a new one, modify, delete and a new
// rate (the portfolio page adds buy, sell and dividend) and an action menu
// with the same and the web's prices. Below, the booking lines of the
// selected one's portfolio account with running balances, and a chart area
// of three tabs stepped through with two arrows, a label naming the tab
// shown: "bar" (the lines month by month), "hist" (its dated rates, newest
// first) and "real" (the prices fetched from the web, see
// CStockTableController). A spinner turns while the web is asked.
//
// The page follows the document's notifications of its kind; the portfolio
// page also follows the deletion of any currency, as that is what deleting
// a share announces. A selected row whose item lost its model object
// counts as no selection.

#include <functional>
#include <map>
#include <memory>

#include "model/CAnalysisArray.h"
#include "model/foundation/ModelTypes.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace ch {

class BarChartSinkView;
class CCurRItem;
class CStockTableController;
class CTrnSItem;
class GXSplitView;
class GXTableAncestor;
class ItemTableModel;
class PageHeading;

class GXCurrencyTableViewController : public GXSideBarControlledViewAncestor {
    Q_OBJECT

public:
    explicit GXCurrencyTableViewController(QObject* parent = nullptr);
    ~GXCurrencyTableViewController() override;

    bool isPortfolio() const { return mShares; }

    // --- page protocol
    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;
    QWidget* firstKeyView() override;
    void executeMenuCommand(int code, const CommandSender& sender) override;
    MenuItemValidation validateMenuItem(int tag) override;
    bool validateToolbarItem(const CommandSender& item) override;
    void searchContents(const std::string& text) override;
    void newObject(const CommandSender& sender) override;
    bool doesPageShowTransaction(const std::shared_ptr<CTrnSItem>& transaction) override;

    CNonVisualDataItemArrayController& controller() { return mController; }
    ItemTableModel* tableModel() const { return mModel.get(); }
    GXTableAncestor* table() const { return mTable; }
    // --- the parts below the table
    CNonVisualDataItemArrayController& transactionArrayController() { return mLines; }
    CNonVisualDataItemArrayController& rateHistoryArrayController() { return mRates; }
    GXTableAncestor* transactionTableView() const { return mLineTable; }
    GXTableAncestor* rateHistoryTableView() const { return mRateTable; }
    BarChartSinkView* barChart() const { return mBarChart; }
    CStockTableController* stockTableController() const { return mStockTable.get(); }
    QStackedWidget* chartTab() const { return mChartTab; }
    QLabel* explainingLabel() const { return mExplainingLabel; }
    QProgressBar* quotationSpinner() const { return mSpinner; }
    GXSplitView* mainSplitView() const { return mMainSplitView; }
    GXSplitView* tableGraphSplitView() const { return mTableGraphSplitView; }
    QMenu* accountActionMenu() const { return mActionMenu; }
    // The identifier of the chart tab shown ("bar", "hist" or "real").
    QString chartTabIdentifier() const;

    // The selected share (currency); none without a selection or once its
    // model object is gone.
    std::shared_ptr<CCurRItem> selectedShare() const;
    void selectItem(const CNonVisualDataItem* item);
    // The transaction of the first selected booking line, or none.
    std::shared_ptr<CTrnSItem> selectedTransaction() const;

    // --- commands
    void modifyObject();
    void deleteObject();
    void changeRate();
    void buyShare();
    void sellShare();
    void registerDividend();
    // Fetches (tag 1273, 0 or below) or books (any other positive tag) the
    // web's share prices; on the currencies page fetches exchange rates.
    void getPricesFromInternet(int senderTag);
    void bookPricesFromInternet(int senderTag);
    void nextTab();
    void previousTab();

protected:
    GXCurrencyTableViewController(bool shares, QObject* parent);
    QWidget* makeControlledView() override;
    void registerNotifications() override;
    // A deal or dividend changes the lines shown below.
    void transactionCreated(const Notification& notification) override;
    void transactionModified(const Notification& notification) override;
    void transactionDeleted(const Notification& notification) override;

private:
    QWidget* makeUpperView(QWidget* parent);
    QWidget* makeLowerView(QWidget* parent);
    QWidget* makeChartArea(QWidget* parent);
    void accountChanged(const Notification& notification);
    void accountDeleted(const Notification& notification);
    void sharePriceUpdated(const Notification& notification);
    void realTimeSharePriceUpdated(const Notification& notification);
    bool concernsSelection(const Notification& notification) const;
    void reloadKeepingSelection(const std::function<void()>& reload);
    void selectionChanged();
    void showLinesOfSelection();
    // After a booking: the lines again now, or when the page shows.
    void linesMayHaveChanged();
    void setLabel();
    void showTab(int step);
    void startSpinner();
    void stopSpinner();

    bool mShares;
    CNonVisualDataItemArrayController mController;
    CNonVisualDataItemArrayController mLines;
    CNonVisualDataItemArrayController mRates;
    std::unique_ptr<ItemTableModel> mModel;
    std::unique_ptr<ItemTableModel> mLineModel;
    std::unique_ptr<ItemTableModel> mRateModel;
    std::unique_ptr<CStockTableController> mStockTable;
    PageHeading* mHeading = nullptr;
    GXSplitView* mMainSplitView = nullptr;
    GXSplitView* mTableGraphSplitView = nullptr;
    GXTableAncestor* mTable = nullptr;
    GXTableAncestor* mLineTable = nullptr;
    GXTableAncestor* mRateTable = nullptr;
    BarChartSinkView* mBarChart = nullptr;
    QStackedWidget* mChartTab = nullptr;
    QLabel* mExplainingLabel = nullptr;
    QProgressBar* mSpinner = nullptr;
    QMenu* mActionMenu = nullptr;
    std::vector<QPushButton*> mSelectionButtons;
    int mRunningFetches = 0;
    bool mSynchronizing = false;
    // The share whose lines, rates and prices are shown.
    std::weak_ptr<CCurRItem> mShownShare;
    // Bookings came while the page was out of sight.
    bool mLinesStale = false;
    // How many shares each of its transactions bought or sold, by id.
    std::shared_ptr<std::map<ObjectIdT, int>> mSharesTraded = std::make_shared<std::map<ObjectIdT, int>>();
    // The running balances of the lines shown, by model line.
    std::shared_ptr<RunningBalanceMap> mLineBalances = std::make_shared<RunningBalanceMap>();
    // Lets a fetch that ends after the page went find it gone.
    std::shared_ptr<GXCurrencyTableViewController*> mAlive;
};

class GXPortfolioTableViewController : public GXCurrencyTableViewController {
    Q_OBJECT

public:
    explicit GXPortfolioTableViewController(QObject* parent = nullptr) : GXCurrencyTableViewController(true, parent)
    {
    }
};

} // namespace ch
