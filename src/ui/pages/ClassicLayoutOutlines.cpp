// The classic layout's outlines: their context menus, and how they follow
// the changes of the chart of accounts and the books.

#include <QMenu>
#include <QTimer>

#include <array>
#include <utility>

#include "bridge/BridgeDocument.h"
#include "platform/core/localized_strings.h"
#include "platform/core/notification_center.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "ui/pages/ClassicCommands.h"
#include "ui/pages/ClassicLayout.h"

namespace ch {

namespace {

// The outlines' context menu: tag and title (the row's object retitles most).
struct MenuEntry {
    int tag;
    const char* title;
};
constexpr std::array<MenuEntry, 10> kOutlineMenu = {{{1100, "NEWOBJECTMENUITEM"},
                                                     {1105, "NEWINSIDEMENUITEM"},
                                                     {1106, "NEWGROUPINSIDEMENUITEM"},
                                                     {0, nullptr},
                                                     {1114, "MODIFYMENUITEM"},
                                                     {1104, "DELETEMENUITEM"},
                                                     {0, nullptr},
                                                     {1112, "TransTo"},
                                                     {1111, "TransFrom"},
                                                     {1113, "TransFor"}}};

// What a change of the chart of accounts is announced as.
constexpr std::array<const char*, 15> kChartNotifications = {
    "ACCOUNTCREATED",     "ACCOUNTMODIFIED",     "ACCOUNTDELETED",     "ACCOUNTTYPECREATED",
    "ACCOUNTTYPEMODIFIED", "ACCOUNTTYPEDELETED", "CATEGORYCREATED",    "CATEGORYMODIFIED",
    "CATEGORYDELETED",    "CATEGORYTYPECREATED", "CATEGORYTYPEMODIFIED", "CATEGORYTYPEDELETED",
    "OBJECTREMOVEDFROMROOTNOTIFICATION", "CHILDFOLDERSCHANGEDNOTIFICATION", "CHILDOBJECTSCHANGEDNOTIFICATION"};

} // namespace

void ClassicLayout::makeContextMenu(CNonVisualTable* table)
{
    auto* menu = new QMenu(table);
    menu->setObjectName(table->objectName() + QStringLiteral("Menu"));
    for (const MenuEntry& entry : kOutlineMenu) {
        if (!entry.title) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(localized(entry.title)));
        action->setObjectName(QString::fromLatin1(entry.title));
        action->setProperty("tag", entry.tag);
        action->setProperty("baseTitle", action->text());
        connect(action, &QAction::triggered, this,
                [this, table, tag = entry.tag] { mCommands->executeMenuCommand(tag, table); });
    }
    (table == mPropertyTable ? mPropertyMenu : mIncomeMenu) = menu;
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this, table, menu](const QPoint& at) {
        validateContextMenu(table);
        menu->popup(table->viewport()->mapToGlobal(at));
    });
}

QMenu* ClassicLayout::contextMenu(const QAbstractItemView* outline) const
{
    if (outline == mPropertyTable) return mPropertyMenu;
    if (outline == mIncomeTable) return mIncomeMenu;
    return nullptr;
}

void ClassicLayout::validateContextMenu(const QAbstractItemView* outline) const
{
    QMenu* menu = contextMenu(outline);
    if (!menu) return;
    auto* table = const_cast<QAbstractItemView*>(outline);
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        const auto validation = mCommands->validateMenuItem(action->property("tag").toInt(), table);
        action->setEnabled(validation && validation->enabled);
        action->setText(validation && validation->title ? QString::fromStdString(*validation->title)
                                                         : action->property("baseTitle").toString());
        // A new transaction is offered only as the row's object allows.
        const int tag = action->property("tag").toInt();
        action->setVisible(action->isEnabled() || tag < 1111 || tag > 1113);
    }
}

// --- following the books

void ClassicLayout::observeDocument()
{
    NotificationCenter& centre = mBooks.notificationCenter();
    for (const char* name : kChartNotifications)
        mSubscriptions.push_back(centre.subscribe(name, [this](const Notification& notification) {
            std::optional<std::string> key;
            // A new object becomes the selection.
            if (const std::string_view name = notification.name; name.size() > 7 &&
                                                                 name.substr(name.size() - 7) == "CREATED")
                if (const auto item = notification.objectAs<CNonVisualDataItem>(); item && item->getSourceItem())
                    key = CNamedListTableController::calculateKeyForObject(*item->getSourceItem());
            scheduleOutlineReload(std::move(key));
        }));
    mSubscriptions.push_back(
        centre.subscribe("FOLDERBALANCECHANGED", [this](const Notification&) { scheduleRefresh(); }));
}

void ClassicLayout::scheduleOutlineReload(std::optional<std::string> key)
{
    if (key) mKeyToSelect = std::move(key);
    if (mOutlineReloadScheduled) return;
    mOutlineReloadScheduled = true;
    QTimer::singleShot(0, this, [this] { reloadOutlines(); });
}

namespace {

// The row of the object of the key, at any depth (every row is made).
QModelIndex rowOfKey(NamedListOutlineModel& model, const std::string& key, const QModelIndex& parent = {})
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const auto item = model.itemAt(index);
        if (item && item->getSourceItem() && CNamedListTableController::calculateKeyForObject(*item->getSourceItem()) == key)
            return index;
        if (const QModelIndex inside = rowOfKey(model, key, index); inside.isValid()) return inside;
    }
    return {};
}

} // namespace

void ClassicLayout::reloadOutlines()
{
    mOutlineReloadScheduled = false;
    const std::optional<std::string> made = std::exchange(mKeyToSelect, std::nullopt);
    for (CNonVisualTable* table : {mPropertyTable, mIncomeTable}) {
        NamedListOutlineModel& model = modelOf(table);
        std::optional<std::string> selected;
        if (const auto item = table->getCurrentItem(); item && item->getSourceItem())
            selected = CNamedListTableController::calculateKeyForObject(*item->getSourceItem());
        // The items are made anew: one moved elsewhere keeps no old parent.
        CNamedListTableController& controller = *getControllerForTable(table);
        controller.setArray(controller.array());
        reloadTable(table, model);
        QModelIndex row = made ? rowOfKey(model, *made) : QModelIndex();
        if (!row.isValid() && selected) row = rowOfKey(model, *selected);
        if (row.isValid()) {
            for (QModelIndex up = row.parent(); up.isValid(); up = up.parent()) table->expand(up);
            table->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
            table->scrollTo(row);
        }
        showDetailsOfSelection(table);
    }
}

void ClassicLayout::scheduleRefresh()
{
    if (mRefreshScheduled) return;
    mRefreshScheduled = true;
    QTimer::singleShot(0, this, [this] {
        mRefreshScheduled = false;
        refreshAnalysisArrays();
        if (isVisible() && currentTabIdentifier() == "trns") refreshMainTab();
        else mOverviewStale = true;
    });
}

void ClassicLayout::showEvent(QShowEvent* event)
{
    QTabWidget::showEvent(event);
    // The books changed while another layout was shown.
    if (mOverviewStale && currentTabIdentifier() == "trns") refreshMainTab();
}

} // namespace ch
