#pragma once
// The classic layout of the document window: three tabs, "trns" (an
// overview of the books above the document's transactions), "acnt" (an
// outline of accounts) and "expt" (an outline of categories). Four switch
// buttons choose which account-type group the account outline (the property
// table) shows - own property, debts, assets or profit and loss - and three
// which category-group root the category outline (the income table) shows -
// income, expense or transfer; exactly the chosen button is on.
//
// Below each outline a detail table lists the booking lines of its selected
// row. Each switch also tells the table's detail table whether it colours
// amounts as property (1), expenses (-1) or transfers (0); the
// profit-and-loss switch leaves that as it was.
//
// The overview is a bar chart of the profit-and-loss bookings and three pie
// charts of the own-property, debt and asset account types; it is made anew
// whenever its tab is shown, and while it is shown whenever a transaction
// changes. Below it are the transaction lists (ClassicTransactionLists.h).
//
// The outlines follow the document's notifications: an account, category,
// account type or group made, changed, moved or deleted anywhere shows at
// once (on the next turn of the event loop), the selected row staying
// selected and a row just made becoming the selection. Each outline has a
// context menu of its commands; a double click on an account or category
// opens its sheet. Commands from the window's menus, keys and toolbar
// reach the tables through commands() (ClassicCommands.h).
//
// Calls from an outline view reach the controller of that table: the
// property table (or any view whose autosave name begins with
// "propertyTable") is answered by the property controller, the income table
// ("incomeTable") by the income controller, any other view by none.
//
// The document window hosts it as the main tabs "trns", "acnt" and "expt"
// while the classic layout is chosen.

#include <QTabWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/observable.h"
#include "ui/outlines/CNamedListTableController.h"

class QAbstractItemView;
class QMenu;
class QPushButton;
class QTableView;

namespace ch {

class BridgeDocument;
class ChartView;
class ClassicCommands;
class ClassicTransactionLists;
class DocumentOutlineDelegate;
class CNonVisualTable;
class CTransactionTableView;
class WindowDocument;
class CTransactionDetailTableController;
class OutlineViewDelegate;
class IconLibrary;
class NamedListOutlineModel;
class BookingLineTableModel;

class ClassicLayout : public QTabWidget {
    Q_OBJECT

public:
    // The books are not owned; `setSuperitem` re-parents a dropped object
    // (the document's operation, which marks the document changed).
    ClassicLayout(BridgeDocument& books, CNamedListTableController::SetSuperitem setSuperitem,
                  IconLibrary* icons = nullptr, QWidget* parent = nullptr);
    ~ClassicLayout() override;

    // The page of "trns", "acnt" or "expt"; none for another identifier.
    QWidget* tab(std::string_view identifier) const;
    void showTab(std::string_view identifier);
    std::string currentTabIdentifier() const;

    CNonVisualTable* propertyTable() const { return mPropertyTable; }
    // The transaction lists of "trns"; the posted transactions' table.
    ClassicTransactionLists& transactionLists() const { return *mLists; }
    CTransactionTableView* transactionTable() const;
    // Where the tables' commands and the outlines' edit actions go (not
    // owned; none: nowhere).
    void setWindowDocument(WindowDocument* document);
    CNonVisualTable* incomeTable() const { return mIncomeTable; }
    // Where the outlines' edit actions go instead (not owned).
    void setOutlineDelegate(OutlineViewDelegate* delegate);
    // The commands of the menus, keys and toolbar.
    ClassicCommands& commands() const { return *mCommands; }
    // The table a command acts on: the focused table of the tab shown, else
    // that tab's main table.
    QAbstractItemView* commandTable() const;
    // The outline's context menu, validated as when it opens.
    QMenu* contextMenu(const QAbstractItemView* outline) const;
    void validateContextMenu(const QAbstractItemView* outline) const;
    CPropertyTableController& propertyTableController() { return mPropertyTableController; }
    CPropertyTableController& incomeTableController() { return mIncomeTableController; }
    NamedListOutlineModel* propertyModel() const { return mPropertyModel.get(); }
    NamedListOutlineModel* incomeModel() const { return mIncomeModel.get(); }
    // The controller that answers for the view; none for other views.
    CNamedListTableController* getControllerForTable(const QAbstractItemView* view);
    // The switch button of the name ("mAcntPropertyButton", ...).
    QPushButton* switchButton(std::string_view name) const;
    // The booking lines below the outline table: their view and controller.
    QTableView* detailTable(const QAbstractItemView* table) const;
    CTransactionDetailTableController& propertyTransactionTableController() const;
    CTransactionDetailTableController& incomeTransactionTableController() const;
    // The controller of a table of booking lines; none for other views.
    CTransactionDetailTableController* detailControllerOf(const QAbstractItemView* view) const;
    // How the table's booking lines colour their amounts; none for other views.
    std::optional<int> detailIsProperty(const QAbstractItemView* table) const;

    // --- the overview
    ChartView* overviewChart() const { return mOverviewChart; }
    ChartView* propertyOverviewPieChart() const { return mOverviewPies[0]; }
    ChartView* liabilityOverviewPieChart() const { return mOverviewPies[1]; }
    ChartView* assetOverviewPieChart() const { return mOverviewPies[2]; }
    // The bar chart gets the profit-and-loss bookings, the pies the
    // own-property, debt and asset account types, all read anew.
    void refreshMainTab();

    // --- what the document asks after its sheets and commands
    // Both outlines forget their rows (and show none until switched).
    void resetAnalysisArrays();
    // The outlines' balances and the booking lines are shown as they are now.
    void refreshAnalysisArrays();
    // After an object was made from the table's row `reference`: the row's
    // (`below`) or its parent's children are shown open; without either the
    // whole table is shown anew. Nothing for other views.
    void synchronizeTableCallback(const CNonVisualDataItem::Ptr& reference, bool below, QAbstractItemView* table);

    // --- the switches
    void switchProperty();
    void switchDebt();
    void switchAssets();
    void switchPL();
    void switchIncome();
    void switchExpense();
    void switchTransfer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Switch;
    void applySwitch(const Switch& choice);
    // The outlines are shown anew on the next turn of the event loop (a
    // change may be announced in the middle of a drop onto them); the
    // object of `key` becomes the selection.
    void scheduleOutlineReload(std::optional<std::string> key = std::nullopt);
    void reloadOutlines();
    // After the books changed: balances and, when shown, the overview.
    void scheduleRefresh();
    void observeDocument();
    void makeContextMenu(CNonVisualTable* table);
    QWidget* makeOverviewPage();
    // The booking lines beside the table follow its selected row.
    void showDetailsOfSelection(CNonVisualTable* table);
    NamedListOutlineModel& modelOf(const CNonVisualTable* table) const;
    BookingLineTableModel& detailsOf(const CNonVisualTable* table) const;
    void reloadTable(CNonVisualTable* table, NamedListOutlineModel& model);
    void expandOpenRows(CNonVisualTable* table, NamedListOutlineModel& model, const QModelIndex& parent);

    BridgeDocument& mBooks;
    CPropertyTableController mPropertyTableController;
    CPropertyTableController mIncomeTableController;
    std::unique_ptr<NamedListOutlineModel> mPropertyModel;
    std::unique_ptr<NamedListOutlineModel> mIncomeModel;
    ClassicTransactionLists* mLists = nullptr;
    CNonVisualTable* mPropertyTable = nullptr;
    CNonVisualTable* mIncomeTable = nullptr;
    std::unique_ptr<BookingLineTableModel> mPropertyDetails;
    std::unique_ptr<BookingLineTableModel> mIncomeDetails;
    QTableView* mPropertyDetailTable = nullptr;
    QTableView* mIncomeDetailTable = nullptr;
    ChartView* mOverviewChart = nullptr;
    std::array<ChartView*, 3> mOverviewPies{};
    std::array<QPushButton*, 7> mSwitchButtons{};
    std::unique_ptr<ClassicCommands> mCommands;
    std::unique_ptr<DocumentOutlineDelegate> mDelegate;
    QMenu* mPropertyMenu = nullptr;
    QMenu* mIncomeMenu = nullptr;
    std::vector<Subscription> mSubscriptions;
    bool mOutlineReloadScheduled = false;
    std::optional<std::string> mKeyToSelect;
    bool mRefreshScheduled = false;
    bool mOverviewStale = false;
};

} // namespace ch
