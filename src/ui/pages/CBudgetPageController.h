#pragma once
// CBudgetPageController: the budget page, a self-contained widget for the
// document window's "budg" tab. It keeps one budget in view: the year menu
// lists the budgets' start dates, the budget menu the budgets of that date.
// Each side (accounts, categories) shows an outline of the budget's folders
// (account types with their accounts, category groups with their
// categories), a table of the figures per month of the outline's current
// item, and the cross-references of the month last clicked. Every change goes through a
// sheet and commands 0 to 5; a command that fails is logged, shown as an
// error and the page is refreshed from the model.

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BudgetPageModel.h"
#include "bridge/CNonVisualDataItem.h"
#include "analysis/views/BudgetSheets.h"
#include "document/commands/CCommandExecutor.h"

class QComboBox;
class QTabWidget;
class QTableWidget;

namespace ch {

class CBuDdItem;
class CBuDhItem;
class CBuDxItem;
class CNonVisualOutlineView;
class CNonVisualOutlineViewController;
class MyDocument;

class CBudgetPageController : public QWidget {
    Q_OBJECT

public:
    explicit CBudgetPageController(QWidget* parent = nullptr);
    ~CBudgetPageController() override;

    // The document and its budget items (read from the document each time).
    void setParentDocument(MyDocument* document);
    void setContent();

    void setSelectedBudget(std::shared_ptr<CBuDhItem> budget);
    const std::shared_ptr<CBuDhItem>& selectedBudget() const { return mSelectedBudget; }
    bool workingOnAccounts() const;
    void showSide(bool accounts);
    // Selects the outline row of the object, opening the rows above it;
    // false when the outline does not list it.
    bool selectObject(bool accounts, FourCharCode type, ObjectIdT id);
    // A click on a column of the side's budget table (0 the label).
    void budgetTableClicked(bool accounts, int column);
    // Chooses the row of the side's cross-reference list.
    void chooseXRef(bool accounts, int row);
    int selectedMonth(bool accounts) const { return side(accounts).month; }
    const std::vector<std::shared_ptr<CBuDxItem>>* xrefList(bool accounts) const;

    // --- the window's menu commands while the page is shown: New… (1100)
    // is "New Budget…" and makes a budget; the page has no say in the others.
    std::optional<MenuItemValidation> validateMenuItem(int tag) const;
    void executeMenuCommand(int tag);

    // --- editing actions
    void createBudget();
    void modifyBudget();
    void modifyBudgetDetail();
    void modifyBudgetXRef();
    void createBudgetXRef();
    void deleteBudgetXRef();
    void editTransferXRef();
    void updateActuals();

    // --- what is shown
    // The side's outline and its controller, whose current item the tables show.
    CNonVisualOutlineView* outlineView(bool accounts) const { return side(accounts).outline; }
    CNonVisualOutlineViewController& outlineController(bool accounts) const { return *side(accounts).controller; }
    QTableWidget* budgetTable(bool accounts) const { return side(accounts).table; }
    QTableWidget* xrefTable(bool accounts) const { return side(accounts).xrefTable; }
    QComboBox* yearMenu() const { return mYearMenu; }
    QComboBox* budgetSelectionMenu() const { return mBudgetMenu; }
    BudgetSheet* openSheet() const { return mOpenSheet; }
    CNewBudgetController* newBudgetSheet();

protected:
    // Budgets made while the page was hidden (a crash replay makes them
    // without the page) join its menus when it shows.
    void showEvent(QShowEvent* event) override;

private:
    // Whether the menus hold exactly the document's budgets.
    bool menusHoldEveryBudget() const;
    struct Side {
        CNonVisualOutlineView* outline = nullptr;
        std::unique_ptr<CNonVisualOutlineViewController> controller;
        QTableWidget* table = nullptr;
        QTableWidget* xrefTable = nullptr;
        int month = -1;
        bool hasList = false;
        std::vector<std::shared_ptr<CBuDxItem>> xrefs;
    };

    Side& side(bool accounts) { return accounts ? mAccounts : mCategories; }
    const Side& side(bool accounts) const { return accounts ? mAccounts : mCategories; }
    QWidget* makeSide(bool accounts);
    void fillMenus();
    void yearChanged();
    void budgetChanged();
    void fillOutline(bool accounts);
    void outlineSelectionChanged(bool accounts);
    // The model object of the side's current item; none without one.
    CNonVisual* currentObject(bool accounts) const;
    void reloadTable(bool accounts);
    void reloadXRefs(bool accounts);
    void setXRefs(bool accounts, const std::shared_ptr<CBuDdItem>& line, int month);
    std::shared_ptr<CBuDdItem> currentDetail(bool accounts) const;
    // The account or category chosen on the side (not a folder), with or
    // without a budget line; none without a budget.
    const CNonVisual* chosenLine(bool accounts) const;
    // Whether the context's line budgets a transfer category.
    bool isTransferLine(const BudgetSheetContext& context) const;
    // The context of a cross-reference action; none after the error.
    std::unique_ptr<BudgetSheetContext> currentXRefParams(bool needXRef);
    template <class SheetType>
    SheetType* sheet(std::unique_ptr<SheetType>& holder);
    void run(BudgetSheet* sheet, std::unique_ptr<BudgetSheetContext> context,
             std::function<void(BudgetSheetContext&)> onOk);
    // Runs the command; a failure is logged, shown, and the page refreshed.
    int send(int command, const std::shared_ptr<Observable>& target, const CommandArgument& argument);
    void refreshBothSides(int month);
    void refreshFromModel();

    MyDocument* mDocument = nullptr;
    std::map<std::string, std::vector<std::shared_ptr<CBuDhItem>>> mBudgetYearDictionary;
    std::shared_ptr<CBuDhItem> mSelectedBudget;
    QComboBox* mYearMenu = nullptr;
    QComboBox* mBudgetMenu = nullptr;
    QTabWidget* mBudgetTab = nullptr;
    Side mAccounts;
    Side mCategories;
    std::unique_ptr<CNewBudgetController> mNewBudgetController;
    std::unique_ptr<CModifyBudgetController> mModifyBudgetController;
    std::unique_ptr<CModifyBudgetDetailController> mModifyDetailController;
    std::unique_ptr<CBudgetXRefSheetController> mXRefSheetController;
    std::unique_ptr<CCreateBudgetXRefSheetController> mCreateBudgetXRefSheetController;
    std::unique_ptr<CTransferBudgetXRefSheetController> mTransferBudgetXRefSheetController;
    std::unique_ptr<BudgetSheetContext> mContext;
    BudgetSheet* mOpenSheet = nullptr;
};

} // namespace ch
