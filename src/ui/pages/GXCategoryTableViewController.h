#pragma once
// GXCategoryTableViewController: the categories page. Categories of the
// node above with their colour and this year's figure, the lines of the
// selected category below; the node's name and its figures this year and
// last year to date and per month head the page. A new transaction is
// booked on the selected category.

#include "ui/pages/AccountCategoryPage.h"

namespace ch {

class GXCategoryTableViewController : public AccountCategoryPage {
    Q_OBJECT

public:
    explicit GXCategoryTableViewController(QObject* parent = nullptr);

    void newObject(const CommandSender& sender) override;
    MenuItemValidation validateMenuItem(int tag) override;
    void executeMenuCommand(int code, const CommandSender& sender) override;

    // 1 this year to date, 2 last year to date, 3 this year's monthly
    // average, 4 last year's; empty without a node.
    QString selectedKPI(int figure) const;

protected:
    const char* nibName() const override { return "categoryTableSubview"; }
    const char* mainSplitAutosaveName() const override { return "mainCategorySplitView"; }
    const char* graphSplitAutosaveName() const override { return "CategoryTransactionGraphSplitView"; }
    std::vector<TableActionEntry> upperActionEntries() const override;
    std::vector<ItemColumn> upperColumns() const override;
    std::vector<const char*> keyFigureTitles() const override;
    std::optional<double> keyFigure(const CNonVisualDataItem& item, std::size_t figure) const override;
    std::vector<const char*> objectNotifications() const override;
    bool showsLinesOf(const CNonVisualDataItem&) const override { return true; }
};

} // namespace ch
