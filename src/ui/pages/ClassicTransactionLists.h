#pragma once
// The transaction lists of the classic layout's "trns" tab: the posted
// transactions, the recurring ones and the unlinked ones waiting to be
// booked, each the model's own list, newest first, in a table of its own
// (mTransactionView, mRecurringTransactionView, mUnlinkedTransactionView)
// with its buttons below: add, modify and delete; the unlinked list books
// (links) instead of adding.
//
// The lists follow the document's notifications: a transaction made
// anywhere is shown and selected in its list, one changed takes its new
// place, one deleted leaves, one booked moves from the unlinked list to the
// posted one. The selected rows that remain stay selected.
//
// A button acts on the selection as it is: Delete takes every selected row
// (asking once), Modify one; book takes every selected unlinked row.

#include <QTabWidget>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/observable.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QPushButton;

namespace ch {

class BridgeDocument;
class CTransactionTableView;
class CTrnSItem;
class ItemTableModel;
class WindowDocument;
struct Notification;

class ClassicTransactionLists : public QTabWidget {
    Q_OBJECT

public:
    enum class List { Transactions, Recurring, Unlinked };

    // The books are not owned and outlive the lists.
    explicit ClassicTransactionLists(BridgeDocument& books, QWidget* parent = nullptr);
    ~ClassicTransactionLists() override;

    CTransactionTableView* table(List list) const;
    CNonVisualDataItemArrayController& controller(List list) const;
    // The button of the name ("mAddTrnsButton", "mLinkUnlinkedTrnsButton", ...).
    QPushButton* button(std::string_view name) const;
    // Where the tables' commands go (not owned; none: nowhere).
    void setWindowDocument(WindowDocument* document);

    List shownList() const;
    void showList(List list);
    // The list a transaction belongs in: unlinked, recurring or posted.
    static List listOf(const CTrnSItem& transaction);
    // The item's row becomes the list's only selection, scrolled into view.
    void selectItem(List list, const CNonVisualDataItem* item);
    // Every list keeps the transactions that match the text.
    void search(const std::string& text);

signals:
    // A transaction of the books was made, changed, deleted or booked.
    void transactionsChanged();

private:
    struct Shown;
    Shown& shown(List list) const;
    // Arranges the list anew; its selected rows stay selected.
    void rearrange(List list);
    // A transaction made (shown and chosen whatever the search hides) or
    // changed; without an object, many made at once.
    void transactionMade(const Notification& notification, bool made);
    void updateButtons(List list);

    BridgeDocument& mBooks;
    std::array<std::unique_ptr<Shown>, 3> mLists;
    std::vector<Subscription> mSubscriptions;
};

} // namespace ch
