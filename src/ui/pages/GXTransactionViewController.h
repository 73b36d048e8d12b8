#pragma once
// GXTransactionViewController: the page of the transaction nodes. Three
// tabs - all posted transactions ("TrnS", with a filter bar of flag and
// period filters), recurring ones ("RcrT") and unlinked ones waiting to be
// booked ("UnlT") - each a list of the model's own list, newest first, with
// add, modify and delete buttons. The page runs the transaction menu
// commands for the list of the shown tab and keeps the lists current
// through its document's notifications.
//
// Commands over several selected rows work on the selection as it was when
// the command started; deleting several transactions asks once, and a
// declined question deletes none.

#include <memory>

#include "platform/core/four_char_code.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/lists/CTransactionArrayController.h"

class QPushButton;
class QStackedWidget;

namespace ch {

class CTrnSItem;
class CV2TransactionTableView;
class GXTableAncestor;
class ItemTableModel;
class LRFilterBar;

class GXTransactionViewController : public GXSideBarControlledViewAncestor {
    Q_OBJECT

public:
    enum class Tab { Transactions, Recurring, Unlinked };

    explicit GXTransactionViewController(QObject* parent = nullptr);
    ~GXTransactionViewController() override;

    // --- page protocol
    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;
    bool hasSubPages() const override { return true; }
    void selectSubPage(FourCharCode type) override;
    QWidget* firstKeyView() override;
    void executeMenuCommand(int code, const CommandSender& sender) override;
    MenuItemValidation validateMenuItem(int tag) override;
    bool validateToolbarItem(const CommandSender& item) override;
    void searchContents(const std::string& text) override;
    void newObject(const CommandSender& sender) override;

    Tab selectedTab() const { return mTab; }
    CNonVisualDataItem::Ptr currentItem() const;

    // --- the lists (tests and the review program look at them)
    CTransactionArrayController& controller(Tab tab);
    ItemTableModel* tableModel(Tab tab) const;
    GXTableAncestor* table(Tab tab) const;
    LRFilterBar* filterBar() const { return mFilterBar; }

    std::shared_ptr<CTrnSItem> selectedTransaction() const;
    std::shared_ptr<CTrnSItem> selectedRecurringTransaction() const;
    std::shared_ptr<CTrnSItem> selectedUnlinkedTransaction() const;
    // The arranged row of the item becomes the list's only selection.
    void selectItem(Tab tab, const CNonVisualDataItem* item);

    // --- commands
    void addTransactionAsked();
    void modifyTransactionAsked(bool fromTableDoubleClick);
    void deleteTransactionAsked();
    void copyTransaction();
    // A move: Paste books the cut transaction again.
    void cutTransaction();
    void pasteTransaction(bool recurring);
    void duplicateTransaction(Tab tab);
    void duplicateFirstTransaction(Tab tab);
    // A click in the status column cycles the status; the flag command flags.
    void flagTransaction(bool fromStatusClick);
    void addRecurringTransactionAsked();
    void modifyRecurringTransactionAsked();
    void deleteRecurringTransactionAsked();
    void linkUnlinkedTransactionAsked();
    void modifyUnlinkedTransactionAsked();
    void deleteUnlinkedTransactionAsked();
    // The filter bar's choice goes to the transactions list only.
    void filterAsked();

protected:
    QWidget* makeControlledView() override;
    void registerNotifications() override;
    void transactionCreated(const Notification& notification) override;
    void transactionModified(const Notification& notification) override;
    void transactionDeleted(const Notification& notification) override;

private:
    struct List;
    void transactionLinked(const Notification& notification);
    // After the item was made or changed: its list arranged again and the item
    // selected (`select`); a made one stays shown whatever the filters say.
    void rearrangeControllerForObject(const std::shared_ptr<CTrnSItem>& item, bool select, bool made = false);
    List& list(Tab tab) const;
    std::shared_ptr<CTrnSItem> selectedIn(Tab tab) const;
    std::vector<std::shared_ptr<CTrnSItem>> selectionSnapshot(Tab tab) const;
    // The list's buttons follow its selection.
    void updateButtons(Tab tab);
    void openSheet(const std::shared_ptr<CTrnSItem>& model, int action, bool recurring);
    void ensureView();

    std::unique_ptr<List> mLists[3];
    QStackedWidget* mTabs = nullptr;
    LRFilterBar* mFilterBar = nullptr;
    Tab mTab = Tab::Transactions;
    bool mTransactionFlagged = false;
};

} // namespace ch
