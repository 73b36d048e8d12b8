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
// whenever its tab is shown.
//
// Calls from an outline view reach the controller of that table: the
// property table (or any view whose autosave name begins with
// "propertyTable") is answered by the property controller, the income table
// ("incomeTable") by the income controller, any other view by none.
//
// The document window hosts it as a main tab, or hosts each of its pages as
// the main tab of the page's identifier (tab()).

#include <QTabWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/outlines/CNamedListTableController.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QAbstractItemView;
class QPushButton;
class QTableView;

namespace ch {

class BridgeDocument;
class ChartView;
class CNonVisualTable;
class CTransactionTableView;
class WindowDocument;
class CTransactionDetailTableController;
class OutlineViewDelegate;
class IconLibrary;
class ItemTableModel;
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
    // The table of the document's transactions ("trns"); its commands go to
    // the window's document once it is set.
    CTransactionTableView* transactionTable() const { return mTransactionTable; }
    void setWindowDocument(WindowDocument* document);
    CNonVisualTable* incomeTable() const { return mIncomeTable; }
    // Where the outlines' edit actions go (the document; not owned).
    void setOutlineDelegate(OutlineViewDelegate* delegate);
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

private:
    struct Switch;
    void applySwitch(const Switch& choice);
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
    CNonVisualDataItemArrayController mTransactions;
    std::unique_ptr<ItemTableModel> mTransactionModel;
    CTransactionTableView* mTransactionTable = nullptr;
    CNonVisualTable* mPropertyTable = nullptr;
    CNonVisualTable* mIncomeTable = nullptr;
    std::unique_ptr<BookingLineTableModel> mPropertyDetails;
    std::unique_ptr<BookingLineTableModel> mIncomeDetails;
    QTableView* mPropertyDetailTable = nullptr;
    QTableView* mIncomeDetailTable = nullptr;
    ChartView* mOverviewChart = nullptr;
    std::array<ChartView*, 3> mOverviewPies{};
    std::array<QPushButton*, 7> mSwitchButtons{};
};

} // namespace ch
