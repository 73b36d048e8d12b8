#include "ui/pages/ClassicTransactionLists.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <variant>

#include "bridge/BridgeDocument.h"
#include "bridge/CTrnSItem.h"
#include "model/CDocAccounting.h"
#include "platform/core/four_char_code.h"
#include "platform/core/notification_center.h"
#include "platform/gui/localized_text.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/lists/ItemListSource.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/TransactionColumns.h"

namespace ch {

namespace {

constexpr int kLinkTableTag = 1207;
constexpr int kDeleteTag = 1104;

struct ButtonSetup {
    const char* name;
    const char* title;
    int tag;
    void (CTransactionTableView::*command)();
};

struct ListSetup {
    const char* tableName;
    const char* title;
    std::array<ButtonSetup, 3> buttons;
};

const std::array<ListSetup, 3> kLists = {{
    {"mTransactionView",
     "TRANSBUTTON",
     {{{"mAddTrnsButton", "PAGEADD", 1100, &CTransactionTableView::addTransaction},
       {"mModifyTrnsButton", "PAGEMODIFY", 1114, &CTransactionTableView::modifyTransactionAsked},
       {"mDeleteTrnsButton", "PAGEDELETE", 1104, &CTransactionTableView::deleteTransaction}}}},
    {"mRecurringTransactionView",
     "RECURRINGBUTTON",
     {{{"mAddRecurringTrnsButton", "PAGEADD", 1100, &CTransactionTableView::addTransaction},
       {"mModifyRecurringTrnsButton", "PAGEMODIFY", 1114, &CTransactionTableView::modifyTransactionAsked},
       {"mDeleteRecurringTrnsButton", "PAGEDELETE", 1104, &CTransactionTableView::deleteTransaction}}}},
    {"mUnlinkedTransactionView",
     "GENERATEDBUTTON",
     {{{"mLinkUnlinkedTrnsButton", "PAGELINK", 1207, &CTransactionTableView::linkTransaction},
       {"mModifyUnlinkedTrnsButton", "PAGEMODIFY", 1114, &CTransactionTableView::modifyTransactionAsked},
       {"mDeleteUnlinkedTrnsButton", "PAGEDELETE", 1104, &CTransactionTableView::deleteTransaction}}}},
}};

} // namespace

struct ClassicTransactionLists::Shown {
    CNonVisualDataItemArrayController controller;
    std::unique_ptr<ItemTableModel> model;
    CTransactionTableView* table = nullptr;
    std::array<QPushButton*, 3> buttons{};
};

ClassicTransactionLists::ClassicTransactionLists(BridgeDocument& books, QWidget* parent)
    : QTabWidget(parent), mBooks(books)
{
    setObjectName(QStringLiteral("mTransactionTab"));
    setDocumentMode(true);
    CDocAccounting* root = books.accounting();
    const CNamedListArray* sources[] = {root ? root->Get_TransactionArray() : nullptr,
                                        root ? root->mRecurringList.get() : nullptr,
                                        root ? root->mUnlinkedList.get() : nullptr};
    for (std::size_t i = 0; i < mLists.size(); ++i) {
        const ListSetup& setup = kLists[i];
        auto shownList = std::make_unique<Shown>();
        Shown& list = *shownList;
        mLists[i] = std::move(shownList);
        list.controller.setSortDescriptors({sortByTransactionDate(false)});
        list.model = std::make_unique<ItemTableModel>(
            list.controller, i == 1 ? recurringListColumns() : transactionListColumns());
        if (sources[i])
            list.controller.setContent(std::make_shared<ModelListSource>(sources[i], books.dataItemController()));

        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto* table = list.table = new CTransactionTableView(page);
        table->setObjectName(QString::fromLatin1(setup.tableName));
        table->setRows(list.model.get());
        table->setRecurring(i == 1);
        if (i == 2) table->setTableTag(kLinkTableTag);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(i == 1 ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(22);
        table->setAlternatingRowColors(true);
        table->setShowGrid(false);
        table->setWordWrap(false);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        if (const int description = list.model->columnOf("description"); description >= 0)
            table->horizontalHeader()->setSectionResizeMode(description, QHeaderView::Stretch);
        layout->addWidget(table, 1);

        auto* buttons = new QHBoxLayout;
        buttons->setContentsMargins(8, 6, 8, 6);
        buttons->addStretch(1);
        for (std::size_t b = 0; b < setup.buttons.size(); ++b) {
            const ButtonSetup& made = setup.buttons[b];
            auto* button = list.buttons[b] = new QPushButton(localizedText(made.title), page);
            button->setObjectName(QString::fromLatin1(made.name));
            // The table keeps the focus: its selection is what the button acts on.
            button->setFocusPolicy(Qt::NoFocus);
            buttons->addWidget(button);
            connect(button, &QPushButton::clicked, table, [table, made] { (table->*made.command)(); });
        }
        layout->addLayout(buttons);
        addTab(page, localizedText(setup.title));

        const List which = static_cast<List>(i);
        connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, which] { updateButtons(which); });
        connect(list.model.get(), &QAbstractItemModel::modelReset, this, [this, which] { updateButtons(which); });
        updateButtons(which);
    }

    NotificationCenter& centre = books.notificationCenter();
    mSubscriptions.push_back(centre.subscribe("TRANSACTIONCREATED", [this](const Notification& n) { transactionMade(n, true); }));
    mSubscriptions.push_back(centre.subscribe("TRANSACTIONMODIFIED", [this](const Notification& n) { transactionMade(n, false); }));
    mSubscriptions.push_back(centre.subscribe("TRANSACTIONDELETED", [this](const Notification&) {
        // The lists are the model's own: the transaction has left them already.
        for (List list : {List::Transactions, List::Recurring, List::Unlinked}) rearrange(list);
        emit transactionsChanged();
    }));
    mSubscriptions.push_back(centre.subscribe("TRANSACTIONLINKEDNOTIFICATION", [this](const Notification& n) {
        rearrange(List::Unlinked);
        Shown& unlinked = shown(List::Unlinked);
        // The next one waiting is ready to be booked.
        if (unlinked.table->selectionModel()->selectedRows().isEmpty() && unlinked.controller.arrangedCount() > 0)
            selectItem(List::Unlinked, unlinked.controller.arrangedObjectAt(0).get());
        rearrange(List::Transactions);
        if (const auto booked = n.objectAs<CTrnSItem>()) {
            Shown& posted = shown(List::Transactions);
            if (const auto row = posted.controller.arrangedRowOf(booked.get()))
                posted.table->scrollTo(posted.model->index(static_cast<int>(*row), 0));
        }
        emit transactionsChanged();
    }));
}

ClassicTransactionLists::~ClassicTransactionLists()
{
    mSubscriptions.clear();
    // The tables go before the models they show.
    while (count() > 0) delete widget(0);
}

ClassicTransactionLists::Shown& ClassicTransactionLists::shown(List list) const
{
    return *mLists[static_cast<std::size_t>(list)];
}

CTransactionTableView* ClassicTransactionLists::table(List list) const
{
    return shown(list).table;
}

CNonVisualDataItemArrayController& ClassicTransactionLists::controller(List list) const
{
    return shown(list).controller;
}

QPushButton* ClassicTransactionLists::button(std::string_view name) const
{
    for (const auto& list : mLists)
        for (QPushButton* button : list->buttons)
            if (button->objectName().toStdString() == name) return button;
    return nullptr;
}

void ClassicTransactionLists::setWindowDocument(WindowDocument* document)
{
    for (const auto& list : mLists) list->table->setDocument(document);
    for (List list : {List::Transactions, List::Recurring, List::Unlinked}) updateButtons(list);
}

ClassicTransactionLists::List ClassicTransactionLists::shownList() const
{
    return static_cast<List>(std::max(0, currentIndex()));
}

void ClassicTransactionLists::showList(List list)
{
    setCurrentIndex(static_cast<int>(list));
}

ClassicTransactionLists::List ClassicTransactionLists::listOf(const CTrnSItem& transaction)
{
    if (transaction.isUnlinked()) return List::Unlinked;
    if (transaction.getObjectType() == fourCC("RctR")) return List::Recurring;
    return List::Transactions;
}

void ClassicTransactionLists::selectItem(List list, const CNonVisualDataItem* item)
{
    Shown& shownList = shown(list);
    const auto row = item ? shownList.controller.arrangedRowOf(item) : std::nullopt;
    if (!row) return;
    const QModelIndex index = shownList.model->index(static_cast<int>(*row), 0);
    shownList.table->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    shownList.table->scrollTo(index);
}

void ClassicTransactionLists::search(const std::string& text)
{
    for (const auto& list : mLists) list->controller.search(text);
}

void ClassicTransactionLists::rearrange(List list)
{
    Shown& shownList = shown(list);
    const auto kept = shownList.table->selectedTransactions();
    shownList.controller.rearrangeObjects();
    QItemSelection selection;
    for (const auto& item : kept)
        if (const auto row = shownList.controller.arrangedRowOf(item.get())) {
            const QModelIndex index = shownList.model->index(static_cast<int>(*row), 0);
            selection.select(index, index);
        }
    if (!selection.isEmpty())
        shownList.table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
}

void ClassicTransactionLists::transactionMade(const Notification& notification, bool made)
{
    const auto transaction = notification.objectAs<CTrnSItem>();
    // Without an object the notification stands for many transactions (a
    // statement's lines, a schedule's copies): any list may have new rows.
    if (!transaction && std::holds_alternative<std::monostate>(notification.object)) {
        for (List list : {List::Transactions, List::Recurring, List::Unlinked}) rearrange(list);
        emit transactionsChanged();
        return;
    }
    // Only this document's transactions are in its lists.
    if (!transaction || transaction->parentDocument() != &mBooks) return;
    const List list = listOf(*transaction);
    if (made) {
        // What was just made is shown and chosen, whatever the search hides.
        shown(list).controller.addObject(transaction);
        selectItem(list, transaction.get());
    } else {
        rearrange(list);
    }
    emit transactionsChanged();
}

void ClassicTransactionLists::updateButtons(List list)
{
    Shown& shownList = shown(list);
    for (std::size_t b = 0; b < shownList.buttons.size(); ++b) {
        const int tag = kLists[static_cast<std::size_t>(list)].buttons[b].tag;
        // The Delete button takes every selected row (asking once); the
        // Delete command only a single one.
        shownList.buttons[b]->setEnabled(tag == kDeleteTag ? !shownList.table->selectedTransactions().empty()
                                                           : shownList.table->validateMenuItem(tag).enabled);
    }
}

} // namespace ch
