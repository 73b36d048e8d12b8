#pragma once
// GXSideBarControlledViewAncestor: the protocol of every page shown in the
// right column of the document window, with the defaults of pages that
// override nothing. The side bar makes a page once, installs its view,
// tells it which side-bar node to show and hands it the window's menu and
// toolbar commands; the page observes the transaction notifications of its
// own document, also while hidden.
//
// A notification whose object is an item of another document is never
// handed to a page's handlers: a page shows and acts on its own document
// only.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/CNonVisualDataItem.h"
#include "platform/core/four_char_code.h"
#include "platform/core/observable.h"
#include "ui/CommandSender.h"

namespace ch {

class CTrnSItem;
class ItemTableModel;
class WindowDocument;
struct Notification;

class GXSideBarControlledViewAncestor : public QObject {
    Q_OBJECT

public:
    explicit GXSideBarControlledViewAncestor(QObject* parent = nullptr);
    ~GXSideBarControlledViewAncestor() override;

    // Stores the document (not owned) and starts observing its notifications.
    void setDocument(WindowDocument* document);
    WindowDocument* document() const { return mDocument; }

    // The page's top view, made on first request. The column that shows it
    // becomes its parent; it goes with the page.
    QWidget* controlledView();

    // --- the protocol, with the defaults of the base
    // After the view is installed and sized: nothing.
    virtual void repositionSubviewsAfterInstallation() {}
    // What follows the window's search field in the focus chain: none.
    virtual QWidget* firstKeyView() { return nullptr; }
    // The node the page shows (none for pages of one kind); remembered.
    virtual void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node);
    // Pages with sub-pages (transactions, owners, business set-up) switch to
    // the node's kind; the others have none.
    virtual bool hasSubPages() const { return false; }
    virtual void selectSubPage(FourCharCode) {}
    // Menu and toolbar commands: ignored.
    virtual void executeMenuCommand(int code, const CommandSender& sender);
    // Every menu item enabled but cut, copy and paste (12, 13, 14), which
    // only a page that acts on them enables.
    virtual MenuItemValidation validateMenuItem(int tag);
    // "V2Search" enabled; delete (1104), modify (1114) and flag (1121)
    // disabled; everything else enabled.
    virtual bool validateToolbarItem(const CommandSender& item);
    virtual void searchContents(const std::string& text);
    virtual void newObject(const CommandSender& sender);
    // The account type proposed to a new account that the window's New
    // Account asks for while the page shows; none by default.
    virtual std::optional<ObjectIdT> proposedAccountType() const { return std::nullopt; }
    // Whether the page lists the transaction: yes.
    virtual bool doesPageShowTransaction(const std::shared_ptr<CTrnSItem>& transaction);

    // The item selected inside the page (none once it lost its model
    // object), and the side-bar node the page shows.
    CNonVisualDataItem::Ptr mSelectedItem() const;
    CNonVisualDataItem::Ptr mSelectedMasterItem() const;

    CNonVisualDataItem::ItemArray topLevelArray() const { return mTopLevelArray; }
    void setTopLevelArray(CNonVisualDataItem::ItemArray array) { mTopLevelArray = std::move(array); }

signals:
    // The person chose a sub-page by its own tab (its node's kind).
    void subPageChosen(quint32 kind);

protected:
    virtual QWidget* makeControlledView() = 0;
    // The base observes the five transaction notifications; subclasses
    // observe their own names first, then call the base.
    virtual void registerNotifications();
    // Observes a notification of the page's document. The handler runs only
    // for notifications whose object, when it is an item, belongs to that
    // document.
    void observe(std::string name, void (GXSideBarControlledViewAncestor::*handler)(const Notification&));
    template <class Page>
    void observe(std::string name, void (Page::*handler)(const Notification&))
    {
        observe(std::move(name), static_cast<void (GXSideBarControlledViewAncestor::*)(const Notification&)>(handler));
    }
    // Whether the notification's object is no item of another document.
    bool concernsOwnDocument(const Notification& notification) const;
    // Whether the keyboard focus is in the widget or one of its children;
    // the commands of a page with several lists act on the focused one.
    static bool hasFocusWithin(const QWidget* widget);

    virtual void transactionCreated(const Notification&) {}
    virtual void transactionWillBeModified(const Notification&) {}
    virtual void transactionModified(const Notification&) {}
    virtual void transactionWillBeDeleted(const Notification&) {}
    virtual void transactionDeleted(const Notification&);

    void setMSelectedItem(const CNonVisualDataItem::Ptr& item) { mSelectedItemRef = item; }
    void setMSelectedMasterItem(const CNonVisualDataItem::Ptr& item) { mSelectedMasterItemRef = item; }

    // A table whose cells read figures that bookings change (balances,
    // shares held, results): after the page's own handler of a created,
    // modified or deleted transaction, its visible cells are read again, so
    // that the table follows the books without the page being entered anew.
    // Not owned; may go before the page.
    void showsFiguresIn(ItemTableModel* model);

private:
    // Observes a transaction notification: the handler, then the figures.
    void observeBooking(std::string name, void (GXSideBarControlledViewAncestor::*handler)(const Notification&));

    WindowDocument* mDocument = nullptr;
    QPointer<QWidget> mControlledView;
    std::weak_ptr<CNonVisualDataItem> mSelectedItemRef;
    std::weak_ptr<CNonVisualDataItem> mSelectedMasterItemRef;
    CNonVisualDataItem::ItemArray mTopLevelArray;
    std::vector<Subscription> mSubscriptions;
    std::vector<QPointer<ItemTableModel>> mFigureTables;
};

} // namespace ch
