#pragma once
// The currencies page and, as its subclass, the portfolio page: a table of
// the model's currencies (shares) with their symbol, name and rate - for a
// share also the number held, its value in the home currency and its gross
// result - and buttons for a new one, modify, delete and a new rate; the
// portfolio page adds buy, sell and dividend. The page follows the
// document's notifications of its kind; the portfolio page also follows the
// deletion of any currency, as that is what deleting a share announces.
//
// A selected row whose item lost its model object counts as no selection.

#include <memory>

#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QPushButton;

namespace ch {

class CCurRItem;
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
    void searchContents(const std::string& text) override;
    void newObject(const CommandSender& sender) override;

    CNonVisualDataItemArrayController& controller() { return mController; }
    ItemTableModel* tableModel() const { return mModel.get(); }
    GXTableAncestor* table() const { return mTable; }
    // The selected share (currency); none without a selection or once its
    // model object is gone.
    std::shared_ptr<CCurRItem> selectedShare() const;
    void selectItem(const CNonVisualDataItem* item);

    // --- commands
    void modifyObject();
    void deleteObject();
    void changeRate();
    void buyShare();
    void sellShare();
    void registerDividend();

protected:
    GXCurrencyTableViewController(bool shares, QObject* parent);
    QWidget* makeControlledView() override;
    void registerNotifications() override;

private:
    void accountChanged(const Notification& notification);
    void accountDeleted(const Notification& notification);
    void priceUpdated(const Notification& notification);
    void selectionChanged();

    bool mShares;
    CNonVisualDataItemArrayController mController;
    std::unique_ptr<ItemTableModel> mModel;
    PageHeading* mHeading = nullptr;
    GXTableAncestor* mTable = nullptr;
    std::vector<QPushButton*> mSelectionButtons;
};

class GXPortfolioTableViewController : public GXCurrencyTableViewController {
    Q_OBJECT

public:
    explicit GXPortfolioTableViewController(QObject* parent = nullptr) : GXCurrencyTableViewController(true, parent)
    {
    }
};

} // namespace ch
