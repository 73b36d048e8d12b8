#include "ui/pages/GXTransactionViewController.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "model/CDocAccounting.h"
#include "platform/core/notification_center.h"
#include "platform/gui/localized_text.h"
#include "ui/TransactionStateCommands.h"
#include "ui/WindowDocument.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/lists/ItemDragSource.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/LRFilterBar.h"
#include "ui/lists/TransactionColumns.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

constexpr int kCut = 12;
constexpr int kCopy = 13;
constexpr int kPaste = 14;
constexpr int kNew = 1100;
constexpr int kDelete = 1104;
constexpr int kDuplicate = 1109;
constexpr int kModify = 1114;
constexpr int kDuplicateFirst = 1115;
constexpr int kFlag = 1121;
constexpr int kLink = 1207;

} // namespace

struct GXTransactionViewController::List {
    CTransactionArrayController controller;
    std::unique_ptr<ItemTableModel> model;
    GXTableAncestor* table = nullptr;
    // Below the table: Add (Book on the unlinked list), Modify, Delete.
    QPushButton* buttons[3] = {};
};

GXTransactionViewController::GXTransactionViewController(QObject* parent) : GXSideBarControlledViewAncestor(parent)
{
    const std::vector<ItemColumn> columns[] = {transactionListColumns(), recurringListColumns(),
                                               transactionListColumns()};
    for (int i = 0; i < 3; ++i) {
        mLists[i] = std::make_unique<List>();
        // Newest first; a heading click sorts by its column.
        mLists[i]->controller.setSortDescriptors({sortByTransactionDate(false)});
        mLists[i]->model = std::make_unique<ItemTableModel>(mLists[i]->controller, columns[i]);
    }
}

GXTransactionViewController::~GXTransactionViewController() = default;

GXTransactionViewController::List& GXTransactionViewController::list(Tab tab) const
{
    return *mLists[static_cast<int>(tab)];
}

CTransactionArrayController& GXTransactionViewController::controller(Tab tab)
{
    return list(tab).controller;
}

ItemTableModel* GXTransactionViewController::tableModel(Tab tab) const
{
    return list(tab).model.get();
}

GXTableAncestor* GXTransactionViewController::table(Tab tab) const
{
    return list(tab).table;
}

void GXTransactionViewController::ensureView()
{
    controlledView();
}

QWidget* GXTransactionViewController::makeControlledView()
{
    auto* view = new QWidget;
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mTabs = new QStackedWidget(view);
    layout->addWidget(mTabs);

    struct TabSetup {
        Tab tab;
        const char* autosave;
        const char* buttons[3];
    } tabSetups[] = {
        {Tab::Transactions, "transactionTableView", {"PAGEADD", "PAGEMODIFY", "PAGEDELETE"}},
        {Tab::Recurring, "recurringTransactionTableView", {"PAGEADD", "PAGEMODIFY", "PAGEDELETE"}},
        {Tab::Unlinked, "unlinkedTransactionTableView", {"PAGELINK", "PAGEMODIFY", "PAGEDELETE"}},
    };
    for (const TabSetup& setup : tabSetups) {
        List& shown = list(setup.tab);
        auto* page = new QWidget(mTabs);
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->setContentsMargins(0, 0, 0, 0);
        pageLayout->setSpacing(0);
        if (setup.tab == Tab::Transactions) {
            mFilterBar = new LRFilterBar(page);
            mFilterBar->setGrayBackground();
            std::vector<QString> titles;
            for (const char* key : {"ALL", "FLAGGED", "NOTFLAGGED", "CHECKED", "NOTCHECKED", "DIVIDER", "ALL",
                                    "NEWSESSION", "FROMTHISWEEK", "FROMTHISMONTH", "FROMTHISYEAR"})
                titles.push_back(std::string_view(key) == "DIVIDER" ? QStringLiteral("DIVIDER") : localizedText(key));
            mFilterBar->addItemsWithTitles(titles, [this] { filterAsked(); });
            pageLayout->addWidget(mFilterBar);
        }
        GXTableAncestor* table = nullptr;
        if (setup.tab == Tab::Transactions) {
            auto* v2 = new CV2TransactionTableView(page);
            connect(v2, &CV2TransactionTableView::flagTransaction, this, [this] { flagTransaction(true); });
            connect(v2, &CV2TransactionTableView::clickedInOtherColumn, this, [this] { mTransactionFlagged = false; });
            // A transaction dragged to the side bar's VAT titles pays a VAT balance.
            new ItemDragSource(
                *v2, [this]() -> const void* { return document(); }, [this] { return selectedTransaction(); });
            table = v2;
        } else {
            table = new GXTableAncestor(page);
        }
        table->setObjectName(QString::fromLatin1(setup.autosave));
        table->setModel(shown.model.get());
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(setup.tab == Tab::Recurring ? QAbstractItemView::SingleSelection
                                                           : QAbstractItemView::ExtendedSelection);
        table->setAlternatingRowColors(true);
        table->setShowGrid(false);
        table->setWordWrap(false);
        table->setSortingEnabled(false);
        table->horizontalHeader()->setSectionsClickable(true);
        connect(table->horizontalHeader(), &QHeaderView::sectionClicked, table, [table](int column) {
            const Qt::SortOrder order = table->horizontalHeader()->sortIndicatorSection() == column &&
                                                table->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder
                                            ? Qt::DescendingOrder
                                            : Qt::AscendingOrder;
            table->horizontalHeader()->setSortIndicator(column, order);
            table->horizontalHeader()->setSortIndicatorShown(true);
            table->model()->sort(column, order);
        });
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(22);
        table->horizontalHeader()->setStretchLastSection(false);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        const int description = shown.model->columnOf("description");
        if (description >= 0) table->horizontalHeader()->setSectionResizeMode(description, QHeaderView::Stretch);
        const int status = shown.model->columnOf("status");
        if (status >= 0) table->setColumnWidth(status, 52);
        for (const char* id : {"date", "nextDate"})
            if (shown.model->columnOf(id) >= 0) table->setColumnWidth(shown.model->columnOf(id), 90);
        for (const char* id : {"from", "to"})
            if (shown.model->columnOf(id) >= 0) table->setColumnWidth(shown.model->columnOf(id), 150);
        table->setAutosaveName(setup.autosave);
        table->awakeFromNib();
        shown.table = table;
        pageLayout->addWidget(table, 1);

        auto* buttons = new QWidget(page);
        auto* buttonLayout = new QHBoxLayout(buttons);
        buttonLayout->setContentsMargins(8, 6, 8, 6);
        buttonLayout->addStretch(1);
        const Tab tab = setup.tab;
        for (int i = 0; i < 3; ++i) {
            auto* button = new QPushButton(localizedText(setup.buttons[i]), buttons);
            button->setFocusPolicy(Qt::NoFocus);
            buttonLayout->addWidget(button);
            shown.buttons[i] = button;
            const int code = i == 0 ? (tab == Tab::Unlinked ? kLink : kNew) : (i == 1 ? kModify : kDelete);
            connect(button, &QPushButton::clicked, this, [this, tab, code] {
                mTab = tab;
                executeMenuCommand(code, CommandSender::sideBar());
            });
        }
        pageLayout->addWidget(buttons);

        connect(table, &QAbstractItemView::doubleClicked, this, [this, tab] {
            if (tab == Tab::Transactions) modifyTransactionAsked(true);
            if (tab == Tab::Recurring) modifyRecurringTransactionAsked();
            if (tab == Tab::Unlinked) modifyUnlinkedTransactionAsked();
        });
        connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, tab] {
            setMSelectedItem(selectedTransaction());
            updateButtons(tab);
        });
        // A reload may take the selection with it without a selection signal.
        connect(shown.model.get(), &QAbstractItemModel::modelReset, this, [this, tab] { updateButtons(tab); });
        connect(shown.model.get(), &QAbstractItemModel::rowsRemoved, this, [this, tab] { updateButtons(tab); });
        updateButtons(tab);
        mTabs->addWidget(page);
    }
    mTabs->setCurrentIndex(static_cast<int>(mTab));
    return view;
}

void GXTransactionViewController::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr&)
{
    // The page shows the document's own lists, whatever the node.
    ensureView();
    if (!document()) return;
    BridgeDocument& books = document()->books();
    CDocAccounting* root = books.accounting();
    if (!root) return;
    CNonVisualDataItemController& registry = books.dataItemController();
    if (!list(Tab::Transactions).controller.content()) {
        list(Tab::Transactions).controller.setContent(
            std::make_shared<ModelListSource>(root->Get_TransactionArray(), registry));
        list(Tab::Recurring).controller.setContent(
            std::make_shared<ModelListSource>(root->mRecurringList.get(), registry));
        list(Tab::Unlinked).controller.setContent(
            std::make_shared<ModelListSource>(root->mUnlinkedList.get(), registry));
    }
}

void GXTransactionViewController::selectSubPage(FourCharCode type)
{
    switch (type) {
    case fourCC("TrnS"): mTab = Tab::Transactions; break;
    case fourCC("RcrT"): mTab = Tab::Recurring; break;
    case fourCC("UnlT"): mTab = Tab::Unlinked; break;
    default: return;
    }
    if (mTabs) mTabs->setCurrentIndex(static_cast<int>(mTab));
}

QWidget* GXTransactionViewController::firstKeyView()
{
    return list(mTab).table;
}

CNonVisualDataItem::Ptr GXTransactionViewController::currentItem() const
{
    return selectedIn(mTab);
}

std::shared_ptr<CTrnSItem> GXTransactionViewController::selectedIn(Tab tab) const
{
    const List& shown = list(tab);
    if (!shown.table || !shown.table->selectionModel()) return nullptr;
    QModelIndexList rows = shown.table->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return std::dynamic_pointer_cast<CTrnSItem>(shown.model->itemAt(rows.front().row()));
}

std::vector<std::shared_ptr<CTrnSItem>> GXTransactionViewController::selectionSnapshot(Tab tab) const
{
    std::vector<std::shared_ptr<CTrnSItem>> items;
    const List& shown = list(tab);
    if (!shown.table || !shown.table->selectionModel()) return items;
    QModelIndexList rows = shown.table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows)
        if (auto item = std::dynamic_pointer_cast<CTrnSItem>(shown.model->itemAt(row.row()))) items.push_back(item);
    return items;
}

std::shared_ptr<CTrnSItem> GXTransactionViewController::selectedTransaction() const
{
    return selectedIn(Tab::Transactions);
}

std::shared_ptr<CTrnSItem> GXTransactionViewController::selectedRecurringTransaction() const
{
    return selectedIn(Tab::Recurring);
}

std::shared_ptr<CTrnSItem> GXTransactionViewController::selectedUnlinkedTransaction() const
{
    return selectedIn(Tab::Unlinked);
}

void GXTransactionViewController::selectItem(Tab tab, const CNonVisualDataItem* item)
{
    List& shown = list(tab);
    if (!shown.table) return;
    const auto row = shown.controller.arrangedRowOf(item);
    if (!row) return;
    const QModelIndex index = shown.model->index(static_cast<int>(*row), 0);
    shown.table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    shown.table->scrollTo(index);
}

// --- commands

void GXTransactionViewController::openSheet(const std::shared_ptr<CTrnSItem>& model, int action, bool recurring)
{
    if (!document()) return;
    TransactionSheetRequest request;
    request.model = model;
    request.action = action;
    request.recurring = recurring;
    document()->askTransactionInput(request);
}

void GXTransactionViewController::addTransactionAsked()
{
    openSheet(nullptr, 1, false);
}

void GXTransactionViewController::modifyTransactionAsked(bool fromTableDoubleClick)
{
    if (fromTableDoubleClick && mTransactionFlagged) return;
    const auto transaction = selectedTransaction();
    if (transaction && document()) document()->books().doModifyTransactionDialog(transaction);
}

void GXTransactionViewController::deleteTransactionAsked()
{
    if (!document()) return;
    // The handlers of each deletion change the list: work on the selection
    // as it is now, ask once, and stop when the user declines.
    const auto selection = selectionSnapshot(Tab::Transactions);
    for (std::size_t i = 0; i < selection.size(); ++i)
        if (!document()->deleteObjectWithAsking(selection[i], i == 0) && i == 0) return;
}

void GXTransactionViewController::copyTransaction()
{
    const auto transaction = selectedIn(mTab);
    if (transaction && document()) document()->copyTransaction(transaction);
}

void GXTransactionViewController::cutTransaction()
{
    const auto transaction = selectedIn(Tab::Transactions);
    if (transaction && document()) document()->cutTransaction(transaction);
}

void GXTransactionViewController::pasteTransaction(bool recurring)
{
    if (!document()) return;
    const auto model = document()->transactionToPaste();
    if (model) openSheet(model, 1, recurring);
}

void GXTransactionViewController::duplicateTransaction(Tab tab)
{
    const auto transaction = selectedIn(tab);
    if (transaction) openSheet(transaction, 1, tab == Tab::Recurring);
}

void GXTransactionViewController::duplicateFirstTransaction(Tab tab)
{
    const auto first = std::dynamic_pointer_cast<CTrnSItem>(list(tab).controller.arrangedObjectAt(0));
    if (first) openSheet(first, 1, tab == Tab::Recurring);
}

void GXTransactionViewController::flagTransaction(bool fromStatusClick)
{
    const auto transaction = selectedTransaction();
    if (!transaction) return;
    // Through the document's command: the journal keeps it.
    const int status = fromStatusClick ? statusAfterStatusClick(transaction->objectStatus())
                                       : statusAfterFlag(transaction->objectStatus());
    if (document()) sendTransactionStatus(document()->sheetDocument().commands(), transaction, status);
    if (fromStatusClick) mTransactionFlagged = true;
    if (GXTableAncestor* table = list(Tab::Transactions).table) table->viewport()->update();
}

void GXTransactionViewController::addRecurringTransactionAsked()
{
    openSheet(nullptr, 1, true);
}

void GXTransactionViewController::modifyRecurringTransactionAsked()
{
    const auto transaction = selectedRecurringTransaction();
    if (transaction) openSheet(transaction, 2, true);
}

void GXTransactionViewController::deleteRecurringTransactionAsked()
{
    const auto transaction = selectedRecurringTransaction();
    if (transaction && document()) document()->deleteObject(transaction);
}

void GXTransactionViewController::linkUnlinkedTransactionAsked()
{
    if (!document()) return;
    for (const auto& transaction : selectionSnapshot(Tab::Unlinked)) document()->linkUnlinkedTransaction(transaction);
}

void GXTransactionViewController::modifyUnlinkedTransactionAsked()
{
    const auto transaction = selectedUnlinkedTransaction();
    if (transaction) openSheet(transaction, 2, false);
}

void GXTransactionViewController::deleteUnlinkedTransactionAsked()
{
    const auto transaction = selectedUnlinkedTransaction();
    if (transaction && document()) document()->deleteObject(transaction);
}

void GXTransactionViewController::filterAsked()
{
    if (!mFilterBar) return;
    const int flag = std::max(0, mFilterBar->getSelectedIndexInSegment(0));
    const int period = std::max(0, mFilterBar->getSelectedIndexInSegment(1));
    list(Tab::Transactions).controller.setFlagSelectionType(static_cast<std::uint8_t>(flag),
                                                           static_cast<std::uint8_t>(period));
}

void GXTransactionViewController::newObject(const CommandSender& sender)
{
    executeMenuCommand(kNew, sender);
}

void GXTransactionViewController::searchContents(const std::string& text)
{
    list(mTab).controller.search(text);
}

void GXTransactionViewController::executeMenuCommand(int code, const CommandSender&)
{
    const Tab tab = mTab;
    switch (code) {
    case kCut:
        if (tab == Tab::Transactions) cutTransaction();
        return;
    case kCopy: copyTransaction(); return;
    case kPaste:
        if (tab != Tab::Unlinked) pasteTransaction(tab == Tab::Recurring);
        return;
    case kNew:
        if (tab == Tab::Transactions) addTransactionAsked();
        if (tab == Tab::Recurring) addRecurringTransactionAsked();
        return;
    case kDelete:
        if (tab == Tab::Transactions) deleteTransactionAsked();
        if (tab == Tab::Recurring) deleteRecurringTransactionAsked();
        if (tab == Tab::Unlinked) deleteUnlinkedTransactionAsked();
        return;
    case kDuplicate:
        if (tab != Tab::Unlinked) duplicateTransaction(tab);
        return;
    case kModify:
        if (tab == Tab::Transactions) modifyTransactionAsked(false);
        if (tab == Tab::Recurring) modifyRecurringTransactionAsked();
        if (tab == Tab::Unlinked) modifyUnlinkedTransactionAsked();
        return;
    case kDuplicateFirst:
        if (tab != Tab::Unlinked) duplicateFirstTransaction(tab);
        return;
    case kFlag:
        if (tab == Tab::Transactions) flagTransaction(false);
        return;
    case kLink:
        if (tab == Tab::Unlinked) linkUnlinkedTransactionAsked();
        return;
    default: return;
    }
}

MenuItemValidation GXTransactionViewController::validateMenuItem(int tag)
{
    // The commands act on the shown list (whether or not its table has the
    // focus), so they are open only when that list has what they act on.
    const Tab tab = mTab;
    const bool selected = selectedIn(tab) != nullptr;
    switch (tag) {
    case kCut: return {tab == Tab::Transactions && selected, std::nullopt};
    case kCopy:
    case kDelete:
    case kModify: return {selected, std::nullopt};
    case kPaste: return {tab != Tab::Unlinked && document() && document()->transactionToPaste() != nullptr, std::nullopt};
    case kNew: return {tab != Tab::Unlinked, std::nullopt};
    case kDuplicate: return {tab != Tab::Unlinked && selected, std::nullopt};
    case kDuplicateFirst: return {tab != Tab::Unlinked && list(tab).controller.arrangedObjectAt(0) != nullptr, std::nullopt};
    case kFlag: return {tab == Tab::Transactions && selected, std::nullopt};
    case kLink: return {tab == Tab::Unlinked && selected, std::nullopt};
    default: return {true, std::nullopt};
    }
}

void GXTransactionViewController::updateButtons(Tab tab)
{
    const List& shown = list(tab);
    const bool selected = selectedIn(tab) != nullptr;
    // Add makes a new one; Book, Modify and Delete act on the selected row.
    if (shown.buttons[0]) shown.buttons[0]->setEnabled(tab != Tab::Unlinked || selected);
    for (int i = 1; i < 3; ++i)
        if (shown.buttons[i]) shown.buttons[i]->setEnabled(selected);
}

bool GXTransactionViewController::validateToolbarItem(const CommandSender& item)
{
    // Delete, Edit and Flag act on the shown list's chosen row, as their menu
    // items do. The search narrows this page's own lists, so it is open
    // whatever node the side bar shows (the page never keeps one).
    if (item.tag == kDelete || item.tag == kModify || item.tag == kFlag) return validateMenuItem(item.tag).enabled;
    return true;
}

// --- notifications

void GXTransactionViewController::registerNotifications()
{
    observe("TRANSACTIONLINKEDNOTIFICATION", &GXTransactionViewController::transactionLinked);
    GXSideBarControlledViewAncestor::registerNotifications();
}

void GXTransactionViewController::rearrangeControllerForObject(const std::shared_ptr<CTrnSItem>& item, bool select,
                                                               bool made)
{
    // Several announced at once (a schedule's copies, an import) may have
    // joined any of the lists.
    if (!item) {
        for (Tab tab : {Tab::Transactions, Tab::Recurring, Tab::Unlinked}) list(tab).controller.rearrangeObjects();
        return;
    }
    Tab tab;
    if (item->isUnlinked())
        tab = Tab::Unlinked;
    else if (item->getObjectType() == fourCC("TrnS"))
        tab = Tab::Transactions;
    else if (item->getObjectType() == fourCC("RctR"))
        tab = Tab::Recurring;
    else
        return;
    // Only this document's transactions join its lists.
    if (made && document() && item->parentDocument() == &document()->books())
        list(tab).controller.addObject(item);
    else
        list(tab).controller.rearrangeObjects();
    if (select) selectItem(tab, item.get());
}

void GXTransactionViewController::transactionCreated(const Notification& notification)
{
    rearrangeControllerForObject(notification.objectAs<CTrnSItem>(), true, true);
}

void GXTransactionViewController::transactionModified(const Notification& notification)
{
    rearrangeControllerForObject(notification.objectAs<CTrnSItem>(), true);
}

void GXTransactionViewController::transactionDeleted(const Notification&)
{
    // The lists are the model's own: the transaction has left them already,
    // whichever page deleted it.
    for (Tab tab : {Tab::Transactions, Tab::Recurring, Tab::Unlinked}) list(tab).controller.rearrangeObjects();
}

void GXTransactionViewController::transactionLinked(const Notification& notification)
{
    List& unlinked = list(Tab::Unlinked);
    unlinked.controller.rearrangeObjects();
    if (unlinked.table && unlinked.controller.arrangedCount() > 0)
        unlinked.table->selectionModel()->select(unlinked.model->index(0, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    rearrangeControllerForObject(notification.objectAs<CTrnSItem>(), false);
    list(Tab::Transactions).controller.rearrangeObjects();
}

} // namespace ch
