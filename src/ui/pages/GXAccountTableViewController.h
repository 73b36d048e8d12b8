#pragma once
// GXAccountTableViewController: the accounts page. Accounts of the node
// above with their balance, the lines of the selected account below; the
// node's name and balance head the page. New transactions may start from
// or go to the selected account.

#include "ui/pages/AccountCategoryPage.h"

namespace ch {

class GXAccountTableViewController : public AccountCategoryPage {
    Q_OBJECT

public:
    explicit GXAccountTableViewController(QObject* parent = nullptr);

    void newObject(const CommandSender& sender) override;
    // The type the page shows (not for a header).
    std::optional<ObjectIdT> proposedAccountType() const override;
    MenuItemValidation validateMenuItem(int tag) override;
    void executeMenuCommand(int code, const CommandSender& sender) override;

    QString selectedMasterItemBalance() const;

protected:
    const char* nibName() const override { return "accountTableSubview"; }
    const char* mainSplitAutosaveName() const override { return "mainAccountSplitView"; }
    const char* graphSplitAutosaveName() const override { return "AccountTransactionGraphSplitView"; }
    std::vector<TableActionEntry> upperActionEntries() const override;
    std::vector<ItemColumn> upperColumns() const override;
    std::vector<const char*> keyFigureTitles() const override;
    std::optional<double> keyFigure(const CNonVisualDataItem& item, std::size_t figure) const override;
    std::vector<const char*> objectNotifications() const override;
    bool showsLinesOf(const CNonVisualDataItem& item) const override;
};

} // namespace ch
