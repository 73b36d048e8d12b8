#include "ui/lists/CTransactionTableView.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>

#include <algorithm>

#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "platform/core/localized_strings.h"
#include "platform/gui/localized_text.h"
#include "ui/WindowDocument.h"
#include "ui/lists/ItemTableModel.h"

namespace ch {

namespace {

constexpr int kLinkTableTag = 1207;

} // namespace

MenuItemValidation validateClassicTransactionTableItem(int tag, const ClassicTableState& state)
{
    const bool one = state.selected == 1 && !state.firstBlocked;
    switch (tag) {
    // Cutting a generated line would be no move: Paste books the copy.
    case 12: return {one && state.tableTag != kLinkTableTag, std::nullopt};
    case 13:
    case 1104:
    case 1109: return {one, std::nullopt};
    case 14: return {state.hasTransactionToPaste, std::nullopt};
    case 16: return {state.multipleSelection, std::nullopt};
    case 1031: return {state.tableTag == 1, std::nullopt};
    case 1100:
    case 1110: return {state.tableTag != kLinkTableTag, localized("NewTrans")};
    case 1114: return {one, localized("ModifyTrans")};
    case 1207: return {state.selected >= 1 && state.tableTag == kLinkTableTag, std::nullopt};
    case 1244: return {state.selected >= 2, std::nullopt};
    default: return {false, std::nullopt};
    }
}

CTransactionTableView::CTransactionTableView(QWidget* parent) : GXTableAncestor(parent)
{
    // The menu is validated as it opens: pasting depends on the document.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        validateCommands();
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addActions(actions());
        menu->popup(viewport()->mapToGlobal(at));
    });
    addCommand(1100, "NEWTRANSBUTTON", &CTransactionTableView::addTransaction);
    addCommand(1114, "MODIFYMENUITEM", &CTransactionTableView::modifyTransactionAsked);
    addCommand(1109, "DUPLICATEMENUITEM", &CTransactionTableView::duplicate);
    addCommand(12, "CUTMENUITEM", &CTransactionTableView::cut);
    addCommand(13, "COPYMENUITEM", &CTransactionTableView::copy);
    addCommand(14, "PASTEMENUITEM", &CTransactionTableView::paste);
    addCommand(1104, "DELETEMENUITEM", &CTransactionTableView::deleteTransaction);
    addCommand(1207, "LINKMENUITEM", &CTransactionTableView::linkTransaction);
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (validateMenuItem(1114).enabled) modifyTransactionAsked();
    });
}

void CTransactionTableView::addCommand(int tag, const char* titleKey, void (CTransactionTableView::*command)())
{
    auto* action = new QAction(localizedText(titleKey), this);
    action->setObjectName(QString::fromLatin1(titleKey));
    action->setProperty("tag", tag);
    action->setProperty("baseTitle", action->text());
    // Enabled or not is decided at the moment of use.
    connect(action, &QAction::triggered, this, [this, tag, command] {
        if (validateMenuItem(tag).enabled) (this->*command)();
        validateCommands();
    });
    addAction(action);
}

void CTransactionTableView::setRows(ItemTableModel* rows)
{
    mRows = rows;
    setModel(rows);
    if (selectionModel())
        connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &CTransactionTableView::validateCommands);
    validateCommands();
}

QAction* CTransactionTableView::commandAction(int tag) const
{
    for (QAction* action : actions())
        if (action->property("tag").toInt() == tag) return action;
    return nullptr;
}

void CTransactionTableView::validateCommands()
{
    for (QAction* action : actions()) {
        const MenuItemValidation validation = validateMenuItem(action->property("tag").toInt());
        action->setEnabled(validation.enabled);
        action->setText(validation.title ? QString::fromStdString(*validation.title)
                                         : action->property("baseTitle").toString());
    }
}

std::vector<std::shared_ptr<CTrnSItem>> CTransactionTableView::selectedTransactions() const
{
    std::vector<std::shared_ptr<CTrnSItem>> selected;
    if (!mRows || !selectionModel()) return selected;
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& row : rows)
        if (auto item = std::dynamic_pointer_cast<CTrnSItem>(mRows->itemAt(row.row())); item && item->getSourceItem())
            selected.push_back(std::move(item));
    return selected;
}

MenuItemValidation CTransactionTableView::validateMenuItem(int tag) const
{
    const auto selected = selectedTransactions();
    ClassicTableState state;
    state.selected = static_cast<int>(selected.size());
    state.firstBlocked = !selected.empty() && selected.front()->isBlocked();
    state.hasTransactionToPaste = mDocument && mDocument->transactionToPaste() != nullptr;
    state.multipleSelection = selectionMode() == QAbstractItemView::ExtendedSelection ||
                              selectionMode() == QAbstractItemView::MultiSelection;
    state.tableTag = mTableTag;
    return validateClassicTransactionTableItem(tag, state);
}

void CTransactionTableView::addTransaction()
{
    TransactionSheetRequest request;
    request.recurring = mRecurring;
    if (mDocument) mDocument->askTransactionInput(request);
}

void CTransactionTableView::modifyTransactionAsked()
{
    const auto selected = selectedTransactions();
    if (!mDocument || selected.empty()) return;
    TransactionSheetRequest request;
    request.model = selected.front();
    request.action = 2;
    request.recurring = std::dynamic_pointer_cast<CRcrTItem>(request.model) != nullptr;
    mDocument->askTransactionInput(request);
}

void CTransactionTableView::duplicate()
{
    const auto selected = selectedTransactions();
    if (!mDocument || selected.empty()) return;
    TransactionSheetRequest request;
    request.model = selected.front();
    request.recurring = mRecurring;
    mDocument->askTransactionInput(request);
}

void CTransactionTableView::copy()
{
    const auto selected = selectedTransactions();
    if (mDocument && !selected.empty()) mDocument->copyTransaction(selected.front());
}

void CTransactionTableView::cut()
{
    const auto selected = selectedTransactions();
    if (mDocument && !selected.empty()) mDocument->cutTransaction(selected.front());
}

void CTransactionTableView::paste()
{
    if (!mDocument) return;
    if (auto copied = mDocument->transactionToPaste()) {
        TransactionSheetRequest request;
        request.model = std::move(copied);
        request.recurring = mRecurring;
        mDocument->askTransactionInput(request);
    }
}

void CTransactionTableView::deleteTransaction()
{
    // The selection is taken first: each deletion changes the rows.
    const auto selected = selectedTransactions();
    if (!mDocument || selected.empty()) return;
    // One question for all; declined, nothing goes.
    if (!mDocument->deleteObjectWithAsking(selected.front(), true)) return;
    for (std::size_t i = 1; i < selected.size(); ++i) mDocument->deleteObjectWithAsking(selected[i], false);
}

void CTransactionTableView::linkTransaction()
{
    if (!mDocument || mTableTag != kLinkTableTag) return;
    for (const auto& transaction : selectedTransactions()) mDocument->linkUnlinkedTransaction(transaction);
}

} // namespace ch
