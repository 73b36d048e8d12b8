#pragma once
// The owners page: every owner, the customers and the suppliers in three
// tabs ("AcoW", "CusT", "SupL"); under the customers and the suppliers the
// selected owner's invoices and payments side by side. People of the
// contacts dropped on the owner table become or refresh owners. Invoices
// and payments are made through their sheets and the document's commands.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "business/views/AccountsReceivableInvoiceDialogController.h"
#include "business/views/AccountsReceivablePaymentDialogController.h"
#include "business/views/SearchInvoiceDialogController.h"
#include "business/views/SplitPaymentDialogController.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QMimeData;
class QPushButton;
class QTabWidget;
class QTableView;

namespace ch {
class CAcoWItem;
class CTrnSItem;
class ItemTableModel;
class MyDocument;
class TableActionButton;
} // namespace ch

namespace ch::business {

class BusinessOfDocument;
class GXDoubleTransactionDetailTableSynchronizer;

class GXOwnerViewController : public GXSideBarControlledViewAncestor {
    Q_OBJECT

public:
    enum class Tab { Owners, Customers, Suppliers };

    explicit GXOwnerViewController(MyDocument& document, QObject* parent = nullptr);
    ~GXOwnerViewController() override;

    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;
    bool hasSubPages() const override { return true; }
    void selectSubPage(FourCharCode type) override;
    QWidget* firstKeyView() override;
    void searchContents(const std::string& text) override;
    // New, delete and modify act on the owner, customer or supplier of the
    // selected tab; every other command goes to the base.
    void executeMenuCommand(int code, const CommandSender& sender) override;
    MenuItemValidation validateMenuItem(int tag) override;
    bool validateToolbarItem(const CommandSender& item) override;
    void newObject(const CommandSender& sender) override;

    Tab selectedTab() const;
    QTableView* ownerTable(Tab tab) const;
    CNonVisualDataItemArrayController& ownerController(Tab tab) { return mOwners[int(tab)]; }
    GXDoubleTransactionDetailTableSynchronizer& pair(bool customers) const;
    // Selects the owner's row in the tab's table.
    void selectOwner(Tab tab, const CAcoWItem* owner);
    std::shared_ptr<CAcoWItem> selectedOwner(Tab tab) const;

    // People (as vCard text, or vCard files dragged from a file manager)
    // dropped on the owner table at the row (-1: between rows); false when
    // refused.
    bool dropPeople(const QMimeData* data, int row);

    // --- owners: the selected one of the tab, through the window's document
    void addOwnerAsked(const CommandSender& sender);
    void modifyOwnerAsked(Tab tab);
    void deleteOwnerAsked(Tab tab);
    // The selected owner of the owner table: a linked owner's card is opened
    // for editing, any other owner gets the owner sheet.
    void modifyOwnerInContactsAsked();
    // How a card file is opened (the desktop's editor by default).
    using CardOpener = std::function<bool(const std::filesystem::path&)>;
    void setCardOpener(CardOpener opener) { mCardOpener = std::move(opener); }

    // --- invoices and payments of the selected customer (or supplier)
    std::shared_ptr<CTrnSItem> selectedInvoiceTransaction(bool customer) const;
    std::shared_ptr<CTrnSItem> selectedPaymentTransaction(bool customer) const;
    void createInvoiceAsked(bool customer);
    void modifyInvoiceAsked(bool customer);
    // Asks first; the invoice goes through the document's deletion.
    void deleteInvoiceAsked(bool customer);
    // The selected customer invoice gets its credit note.
    void makeCreditnoteAsked();
    // Every payment of the selected customer invoice is taken off it.
    void unlinkPaymentsAsked();
    void modifyPaymentAsked(bool customer);
    void deletePaymentAsked(bool customer);
    void unlinkPaymentAsked(bool customer);
    void createPaymentAsked(bool customer);
    void splitPaymentAsked(bool customer);
    void searchInvoiceForPayment(bool customer);

    // The "+" and the action button under the customers' (or suppliers')
    // invoice or payment table; the action menu holds the table's context items.
    QPushButton* addLineButton(bool customer, bool invoices) const;
    TableActionButton* lineActionButton(bool customer, bool invoices) const;

    AccountsReceivableInvoiceDialogController* invoiceSheet() const { return mInvoiceSheet; }
    AccountsReceivablePaymentDialogController* paymentSheet() const { return mPaymentSheet; }
    SplitPaymentDialogController* splitSheet() const { return mSplitSheet; }
    SearchInvoiceDialogController* searchSheet() const { return mSearchSheet; }

protected:
    QWidget* makeControlledView() override;
    void registerNotifications() override;
    void transactionDeleted(const Notification&) override { refresh(); }

private:
    void refresh();
    // The invoice and payment tables' context items, and the "+" and action
    // button below each table (which it answers, in its pane).
    void addLineActions();
    QWidget* withLineButtons(bool customer, bool invoices);
    // An item of the invoice or payment tables: enabled (an owner chosen;
    // a line selected for those that act on one) and run by its tag.
    MenuItemValidation validateLineAction(bool customer, int tag) const;
    void runLineAction(bool customer, int tag);
    // Enables the context items and the "+" buttons as things stand now.
    void validateLineActions();
    // The owner, customer or supplier table when it has the focus.
    std::optional<Tab> focusedOwnerTab() const;
    BusinessOfDocument* business() const;
    void showLinesOfSelectedOwners();
    // Question 276 when the document has no VAT rate; whether to go on.
    bool VATRatesPresentOrAccepted();
    void ownersChanged(const Notification&) { refresh(); }
    void ownerPaymentCreated(const Notification&);

    MyDocument& mMyDocument;
    CNonVisualDataItemArrayController mOwners[3];
    std::vector<ItemTableModel*> mModels;
    QTabWidget* pageTab = nullptr;
    QTableView* mTables[3] = {};
    // [customer][invoices]
    QPushButton* mAddLineButtons[2][2] = {};
    TableActionButton* mLineActionButtons[2][2] = {};
    GXDoubleTransactionDetailTableSynchronizer* mCustomerPair = nullptr;
    GXDoubleTransactionDetailTableSynchronizer* mSupplierPair = nullptr;
    AccountsReceivableInvoiceDialogController* mInvoiceSheet = nullptr;
    AccountsReceivablePaymentDialogController* mPaymentSheet = nullptr;
    SplitPaymentDialogController* mSplitSheet = nullptr;
    SearchInvoiceDialogController* mSearchSheet = nullptr;
    CardOpener mCardOpener;
};

} // namespace ch::business
