#pragma once
// AccountCategoryPage: the page of a node of the accounts or categories
// branch. Above, the accounts (or categories) below the node; below, the
// booking lines of the selected one, newest first with running balances,
// beside a chart tab: "bar", the bar chart of the lines shown, or "pie",
// the pie chart of the node's children. Key figures of the node head the
// page. A header of the branch ("Debt", "Assets", ...) shows the accounts of
// all its types and the lines of its type with the lowest id.
//
// A header's figures are the sums of its children's figures, added in
// double precision so that large amounts keep their cents.
//
// The two pages differ in their columns, figures, notification names and
// a few commands; GXAccountTableViewController and
// GXCategoryTableViewController give those.

#include <memory>
#include <vector>

#include "ui/GXAccountCategorySubviewControllerAncestor.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QLabel;
class QPushButton;
class QStackedWidget;

namespace ch {

class BarChartSinkView;
class CAnalysisArrayEncaplusator;
class CV2TransactionTableView;
class GXSplitView;
class GXTableAncestor;
class ItemTableModel;
class PageHeading;
class PieChartSinkView;
class TableActionButton;
struct ItemColumn;
struct TableActionEntry;

class AccountCategoryPage : public GXAccountCategorySubviewControllerAncestor {
    Q_OBJECT

public:
    ~AccountCategoryPage() override;

    // --- page protocol
    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;
    QWidget* firstKeyView() override;
    void searchContents(const std::string& text) override;
    bool doesPageShowTransaction(const std::shared_ptr<CTrnSItem>& transaction) override;
    MenuItemValidation validateMenuItem(int tag) override;
    void executeMenuCommand(int code, const CommandSender& sender) override;

    // Whether "+" under the upper table may make an object: the node shown
    // is a model object (an account type or a category group).
    bool newAllowed() const;

    // Shows the lines of the item (none: an empty list) and either the bar
    // chart of those lines or the pie chart of the item's children.
    void synchronizeTransactionViews(const CNonVisualDataItem::Ptr& item, bool showPieChart);
    // After a transaction changed: the lines of the selected object, else
    // those of the node with its pie chart, rebuilt when `rebuild`.
    void refreshTransactionListAfterModification(bool rebuild);

    // --- what the page shows (tests and the review program look at it)
    ItemTableModel* upperModel() const { return mUpperModel.get(); }
    ItemTableModel* lowerModel() const { return mLowerModel.get(); }
    GXTableAncestor* upperTable() const { return mUpperTable; }
    CV2TransactionTableView* lowerTable() const { return mLowerTable; }
    // "bar" or "pie".
    QString chartTabIdentifier() const;
    BarChartSinkView* barChart() const { return mBarChart; }
    PieChartSinkView* pieChart() const { return mPieChart; }
    QPushButton* addAccountButton() const { return mAddButton; }
    // The action buttons under the two tables and the two split views.
    TableActionButton* accountActionButton() const { return mUpperAction; }
    TableActionButton* transactionActionButton() const { return mLowerAction; }
    GXSplitView* mainSplitView() const { return mMainSplit; }
    GXSplitView* tableGraphSplitView() const { return mTableGraphSplit; }
    // The upper table's row of the item becomes its only selection.
    void selectUpperItem(const CNonVisualDataItem::Ptr& item);

    // The node's name, and the text of its figures in heading order.
    QString selectedMasterItemName() const;
    std::vector<QString> keyFigureTexts() const;

protected:
    explicit AccountCategoryPage(QObject* parent = nullptr);

    // --- what each page gives
    virtual const char* nibName() const = 0;
    // Where the two split views keep their positions.
    virtual const char* mainSplitAutosaveName() const = 0;
    virtual const char* graphSplitAutosaveName() const = 0;
    // The commands of the upper table's action button.
    virtual std::vector<TableActionEntry> upperActionEntries() const = 0;
    virtual std::vector<ItemColumn> upperColumns() const = 0;
    // The headings of the key figures (after the name) and their values
    // for a node that is a model object.
    virtual std::vector<const char*> keyFigureTitles() const = 0;
    virtual std::optional<double> keyFigure(const CNonVisualDataItem& item, std::size_t figure) const = 0;
    // "...CREATED", "...MODIFIED", "...DELETED" of the page's objects.
    virtual std::vector<const char*> objectNotifications() const = 0;
    // Whether a selected upper row shows its lines (accounts: only accounts).
    virtual bool showsLinesOf(const CNonVisualDataItem& item) const = 0;
    // The figure a header sums over its children.
    double headerFigure(std::size_t figure) const;
    CNonVisualDataItemArrayController& upperController() { return mUpper; }
    CNonVisualDataItemArrayController& lowerController() { return mLower; }

    QWidget* makeControlledView() override;
    void registerNotifications() override;
    std::shared_ptr<CDebetItem> lowerTableSelection() const override;
    bool lowerTableHasFocus() const override;
    bool upperTableHasFocus() const;
    void transactionCreated(const Notification& notification) override;
    void transactionModified(const Notification& notification) override;
    void transactionDeleted(const Notification& notification) override;
    void folderBalanceChanged(const Notification& notification) override;

    // Opens the transaction sheet, pre-filled with the transaction (none: an
    // empty sheet) and the accounts and category given.
    void openTransactionSheet(const std::shared_ptr<CTrnSItem>& model, CNonVisual* from, CNonVisual* to,
                              CNonVisual* category);
    void duplicateFirstTransaction();
    void pasteTransaction();
    void deleteSelectedObject();
    void updateKeyFigures();

private:
    // Whether the transaction notification may concern the lines shown.
    bool concernsShownLines(const Notification& notification);
    void objectCreatedOrModified(const Notification& notification);
    void objectDeleted(const Notification& notification);
    void upperSelectionChanged();
    void showLines(const CNonVisualDataItem::Ptr& item);

    CNonVisualDataItemArrayController mUpper;
    CNonVisualDataItemArrayController mLower;
    std::unique_ptr<ItemTableModel> mUpperModel;
    std::unique_ptr<ItemTableModel> mLowerModel;
    GXTableAncestor* mUpperTable = nullptr;
    CV2TransactionTableView* mLowerTable = nullptr;
    QStackedWidget* mChartTab = nullptr;
    BarChartSinkView* mBarChart = nullptr;
    PieChartSinkView* mPieChart = nullptr;
    PageHeading* mHeading = nullptr;
    std::vector<QLabel*> mFigureLabels;
    QPushButton* mAddButton = nullptr;
    TableActionButton* mUpperAction = nullptr;
    TableActionButton* mLowerAction = nullptr;
    GXSplitView* mMainSplit = nullptr;
    GXSplitView* mTableGraphSplit = nullptr;
    std::shared_ptr<CAnalysisArrayEncaplusator> mShownLines;
    CNonVisualDataItem::Ptr mLinesItem;
    bool mRefreshAfterDelete = true;
};

} // namespace ch
