#pragma once
// The classic layout of the document window: three tabs, "trns" (the
// document's transactions), "acnt" (an outline of accounts) and "expt" (an
// outline of categories). Four switch buttons choose which account-type
// group the account outline (the property table) shows - own property,
// debts, assets or profit and loss - and three which category-group root the
// category outline (the income table) shows - income, expense or transfer;
// exactly the chosen button is on. Each switch also tells the table's
// transaction details whether they show property (1), expenses (-1) or
// transfers (0); the profit-and-loss switch leaves that as it was.
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

namespace ch {

class BridgeDocument;
class CNonVisualTable;
class OutlineViewDelegate;
class IconLibrary;
class ItemTableModel;
class NamedListOutlineModel;

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
    // What the table's transaction details were last told; none before.
    std::optional<int> detailIsProperty(const QAbstractItemView* table) const;

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
    void reloadTable(CNonVisualTable* table, NamedListOutlineModel& model);
    void expandOpenRows(CNonVisualTable* table, NamedListOutlineModel& model, const QModelIndex& parent);

    BridgeDocument& mBooks;
    CPropertyTableController mPropertyTableController;
    CPropertyTableController mIncomeTableController;
    std::unique_ptr<NamedListOutlineModel> mPropertyModel;
    std::unique_ptr<NamedListOutlineModel> mIncomeModel;
    CNonVisualDataItemArrayController mTransactions;
    std::unique_ptr<ItemTableModel> mTransactionModel;
    CNonVisualTable* mPropertyTable = nullptr;
    CNonVisualTable* mIncomeTable = nullptr;
    std::array<QPushButton*, 7> mSwitchButtons{};
    std::optional<int> mPropertyDetailMode;
    std::optional<int> mIncomeDetailMode;
};

} // namespace ch
