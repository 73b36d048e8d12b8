#include "ui/GXSideBarControlledViewAncestor.h"

#include <QApplication>

#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "platform/core/notification_center.h"
#include "ui/WindowDocument.h"
#include "ui/lists/ItemTableModel.h"

namespace ch {

namespace {

constexpr int kDeleteTag = 1104;
constexpr int kModifyTag = 1114;
constexpr int kFlagTag = 1121;

} // namespace

GXSideBarControlledViewAncestor::GXSideBarControlledViewAncestor(QObject* parent) : QObject(parent) {}

GXSideBarControlledViewAncestor::~GXSideBarControlledViewAncestor()
{
    mSubscriptions.clear();
    delete mControlledView.data();
}

void GXSideBarControlledViewAncestor::setDocument(WindowDocument* document)
{
    mSubscriptions.clear();
    mDocument = document;
    if (mDocument) registerNotifications();
}

QWidget* GXSideBarControlledViewAncestor::controlledView()
{
    if (!mControlledView) mControlledView = makeControlledView();
    return mControlledView;
}

void GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    setMSelectedMasterItem(node);
}

void GXSideBarControlledViewAncestor::executeMenuCommand(int, const CommandSender&) {}

MenuItemValidation GXSideBarControlledViewAncestor::validateMenuItem(int tag)
{
    constexpr int kCut = 12, kCopy = 13, kPaste = 14;
    return {tag != kCut && tag != kCopy && tag != kPaste, std::nullopt};
}

bool GXSideBarControlledViewAncestor::validateToolbarItem(const CommandSender& item)
{
    if (item.identifier == "V2Search") return true;
    return item.tag != kDeleteTag && item.tag != kModifyTag && item.tag != kFlagTag;
}

void GXSideBarControlledViewAncestor::searchContents(const std::string&) {}

void GXSideBarControlledViewAncestor::newObject(const CommandSender&) {}

bool GXSideBarControlledViewAncestor::doesPageShowTransaction(const std::shared_ptr<CTrnSItem>&)
{
    return true;
}

CNonVisualDataItem::Ptr GXSideBarControlledViewAncestor::mSelectedItem() const
{
    auto item = mSelectedItemRef.lock();
    return item && item->getSourceItem() ? item : nullptr;
}

CNonVisualDataItem::Ptr GXSideBarControlledViewAncestor::mSelectedMasterItem() const
{
    return mSelectedMasterItemRef.lock();
}

void GXSideBarControlledViewAncestor::registerNotifications()
{
    observe("TRANSACTIONWILLBEMODIFIED", &GXSideBarControlledViewAncestor::transactionWillBeModified);
    observeBooking("TRANSACTIONMODIFIED", &GXSideBarControlledViewAncestor::transactionModified);
    observe("TRANSACTIONWILLBEDELETED", &GXSideBarControlledViewAncestor::transactionWillBeDeleted);
    observeBooking("TRANSACTIONDELETED", &GXSideBarControlledViewAncestor::transactionDeleted);
    observeBooking("TRANSACTIONCREATED", &GXSideBarControlledViewAncestor::transactionCreated);
}

void GXSideBarControlledViewAncestor::showsFiguresIn(ItemTableModel* model)
{
    if (model) mFigureTables.emplace_back(model);
}

void GXSideBarControlledViewAncestor::observeBooking(
    std::string name, void (GXSideBarControlledViewAncestor::*handler)(const Notification&))
{
    if (!mDocument) return;
    mSubscriptions.push_back(mDocument->books().notificationCenter().subscribe(
        std::move(name), [this, handler](const Notification& notification) {
            if (!concernsOwnDocument(notification)) return;
            (this->*handler)(notification);
            for (const QPointer<ItemTableModel>& table : mFigureTables)
                if (table) table->valuesChanged();
        }));
}

void GXSideBarControlledViewAncestor::observe(std::string name,
                                              void (GXSideBarControlledViewAncestor::*handler)(const Notification&))
{
    if (!mDocument) return;
    mSubscriptions.push_back(mDocument->books().notificationCenter().subscribe(
        std::move(name), [this, handler](const Notification& notification) {
            if (concernsOwnDocument(notification)) (this->*handler)(notification);
        }));
}

bool GXSideBarControlledViewAncestor::concernsOwnDocument(const Notification& notification) const
{
    const auto item = notification.objectAs<CNonVisualDataItem>();
    if (!item) return true;
    return mDocument && item->parentDocument() == &mDocument->books();
}

void GXSideBarControlledViewAncestor::transactionDeleted(const Notification&)
{
    developerLog("Notifiaction in Ancestor");
}

bool GXSideBarControlledViewAncestor::hasFocusWithin(const QWidget* widget)
{
    if (!widget) return false;
    const QWidget* focus = widget->window() ? widget->window()->focusWidget() : nullptr;
    if (!focus) focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

} // namespace ch
