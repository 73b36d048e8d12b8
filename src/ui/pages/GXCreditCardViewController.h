#pragma once
// The credit-card page: the document's card accounts above, and below, for
// the selected card, the spendings made with it and the payments made to
// it, each row with a flag telling whether the spending is paid or the
// payment fully used. Selecting a spending paints the payment it is linked
// to, selecting a payment the spendings linked to it, and clears the
// selection of the other table. Dragging a spending onto a payment links
// them. The buttons create cards and add, modify and delete spendings and
// payments through the document's sheets. Below, the selected card's lines
// month by month in a bar chart. Every table has the corner menu of the
// table base (print, export, columns).

#include <memory>
#include <optional>
#include <string>

#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QPushButton;
class QStackedWidget;

namespace ch {

class BarChartSinkView;
class CAcnTItem;
class CCreditCardTransactionTableView;
class CDebetItem;
class GXSplitView;
class GXTableAncestor;
class ItemTableModel;

class GXCreditCardViewController : public GXSideBarControlledViewAncestor {
    Q_OBJECT

public:
    explicit GXCreditCardViewController(QObject* parent = nullptr);
    ~GXCreditCardViewController() override;

    // --- page protocol
    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;
    QWidget* firstKeyView() override;
    void executeMenuCommand(int code, const CommandSender& sender) override;
    MenuItemValidation validateMenuItem(int tag) override;
    bool validateToolbarItem(const CommandSender& item) override;
    void searchContents(const std::string& text) override;
    void newObject(const CommandSender& sender) override;
    bool doesPageShowTransaction(const std::shared_ptr<CTrnSItem>& transaction) override;

    // --- the tables
    GXTableAncestor* topTableView() const { return mCardTable; }
    CCreditCardTransactionTableView* spendingsTableView() const { return mSpendingsTable; }
    CCreditCardTransactionTableView* paymentTableView() const { return mPaymentTable; }
    // The chart tab ("bar": the selected card's lines month by month).
    QStackedWidget* chartTab() const { return mChartTab; }
    BarChartSinkView* barChart() const { return mBarChart; }
    ItemTableModel* cardModel() const { return mCardModel.get(); }
    ItemTableModel* spendingModel() const { return mSpendingModel.get(); }
    ItemTableModel* paymentModel() const { return mPaymentModel.get(); }
    CNonVisualDataItemArrayController& spendingController() { return mSpendings; }
    CNonVisualDataItemArrayController& paymentController() { return mPayments; }

    // The selected card; none without a selection.
    std::shared_ptr<CAcnTItem> selectedCard() const;
    void selectCard(const CNonVisualDataItem* card);
    std::shared_ptr<CTrnSItem> selectedSpendingTransaction() const;
    std::shared_ptr<CTrnSItem> selectedPaymentTransaction() const;

    // Links the spending of the row to the payment of the row; false when
    // either row is missing.
    bool linkSpendingRowToPaymentRow(int spendingRow, int paymentRow);
    // What a drop of a spending onto a payment does: links the spending the
    // key names, when it is one of the card's spendings, to the payment of
    // the row; false otherwise.
    bool linkSpendingToPaymentRow(const std::string& spendingKey, int paymentRow);

    // --- commands
    void modifyObject();
    void deleteObject();
    void addSpending();
    void addPayment();
    void modifySpending();
    void modifyPayment();
    void deleteSpending();
    void deletePayment();

protected:
    QWidget* makeControlledView() override;
    void registerNotifications() override;
    void transactionCreated(const Notification& notification) override;
    void transactionModified(const Notification& notification) override;
    void transactionDeleted(const Notification& notification) override;

private:
    void accountChanged(const Notification& notification);
    void accountDeleted(const Notification& notification);
    void cardSelectionChanged();
    void spendingSelectionChanged();
    void paymentSelectionChanged();
    void showLinesOfSelectedCard();
    void refreshCards();
    void askTransaction(bool spending);

    CNonVisualDataItemArrayController mCards;
    CNonVisualDataItemArrayController mSpendings;
    CNonVisualDataItemArrayController mPayments;
    std::unique_ptr<ItemTableModel> mCardModel;
    std::unique_ptr<ItemTableModel> mSpendingModel;
    std::unique_ptr<ItemTableModel> mPaymentModel;
    GXSplitView* mMainSplitView = nullptr;
    GXSplitView* mTableSplitView = nullptr;
    GXTableAncestor* mCardTable = nullptr;
    CCreditCardTransactionTableView* mSpendingsTable = nullptr;
    CCreditCardTransactionTableView* mPaymentTable = nullptr;
    QStackedWidget* mChartTab = nullptr;
    BarChartSinkView* mBarChart = nullptr;
    QPushButton* mAddAccountButton = nullptr;
    QPushButton* mAddSpendingButton = nullptr;
    QPushButton* mAddPaymentButton = nullptr;
    std::vector<QPushButton*> mCardButtons;
    std::vector<QPushButton*> mSpendingButtons;
    std::vector<QPushButton*> mPaymentButtons;
};

} // namespace ch
