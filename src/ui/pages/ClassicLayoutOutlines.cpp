// The classic layout's outlines: their context menus, and how they follow
// the changes of the chart of accounts and the books.

#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "bridge/BridgeDocument.h"
#include "platform/core/notification_center.h"
#include "platform/gui/localized_text.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "ui/pages/ClassicCommands.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/TableActionButton.h"

namespace ch {

namespace {

// The outlines' context menu (the row's object retitles most items).
const std::vector<TableActionEntry> kOutlineMenu = {
    {"NEWOBJECTMENUITEM", 1100}, {"NEWINSIDEMENUITEM", 1105}, {"NEWGROUPINSIDEMENUITEM", 1106}, {nullptr, 0},
    {"MODIFYMENUITEM", 1114},    {"DELETEMENUITEM", 1104},    {nullptr, 0},                     {"TransTo", 1112},
    {"TransFrom", 1111},         {"TransFor", 1113}};

// The items after the tagged ones, by title key and object name.
constexpr const char* kNewAccountItem = "newAccountFromRow";
constexpr std::array<std::pair<const char*, const char*>, 2> kOutlineNewItems = {
    {{"355", kNewAccountItem}, {"356", "newCategoryFromRow"}}};

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
    addTaggedItems(*menu, kOutlineMenu, [this, table](int tag) { mCommands->executeMenuCommand(tag, table); });
    // New Account and New Category take their place from the chosen row: an
    // account beside an account or inside its type, a category beside a
    // category or inside its group; any other row is told it cannot be done.
    menu->addSeparator();
    for (const auto& [key, name] : kOutlineNewItems) {
        QAction* item = menu->addAction(localizedText(key));
        item->setObjectName(QString::fromLatin1(name));
        const bool account = std::string_view(name) == kNewAccountItem;
        connect(item, &QAction::triggered, table, [table, account] {
            if (account) table->newAccount();
            else table->newCategory();
        });
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
    validateTaggedItems(*menu, [this, table](int tag) {
        return mCommands->validateMenuItem(tag, table).value_or(MenuItemValidation{});
    });
    // A new transaction is offered only as the row's object allows.
    for (QAction* action : menu->actions()) {
        const int tag = action->property("tag").toInt();
        if (tag >= 1111 && tag <= 1113) action->setVisible(action->isEnabled());
    }
    // Always offered, the row deciding what they make; but once only: where
    // the row's own New already is New Account… (or New Category…), the
    // menu holds it once.
    for (const auto& [key, name] : kOutlineNewItems)
        if (auto* item = menu->findChild<QAction*>(QString::fromLatin1(name))) {
            item->setEnabled(true);
            item->setText(localizedText(key));
            const QList<QAction*> actions = menu->actions();
            const bool offered = std::any_of(actions.begin(), actions.end(), [item](const QAction* other) {
                return other != item && other->isVisible() && other->property("tag").isValid() &&
                       other->text() == item->text();
            });
            item->setVisible(!offered);
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
            if (const std::string_view announced = notification.name;
                announced.size() > 7 && announced.substr(announced.size() - 7) == "CREATED")
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
