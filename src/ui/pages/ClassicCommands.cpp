#include "ui/pages/ClassicCommands.h"

#include <algorithm>
#include <initializer_list>

#include "bridge/CTransactionDetailTableController.h"
#include "bridge/CTrnSItem.h"
#include "ui/WindowDocument.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/ClassicTransactionLists.h"

namespace ch {

namespace {

using namespace menu_tag;
constexpr int kCopy = 13;
constexpr int kPaste = 14;
constexpr int kDuplicate = 1109;
constexpr int kDuplicateFirst = 1115;
constexpr int kLink = 1207;

bool oneOf(int tag, std::initializer_list<int> tags)
{
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

using Validation = std::optional<MenuItemValidation>;

Validation enabled(bool on)
{
    return MenuItemValidation{on, std::nullopt};
}

} // namespace

Validation ClassicCommands::validateMenuItem(int tag) const
{
    return validateMenuItem(tag, mLayout.commandTable());
}

void ClassicCommands::executeMenuCommand(int tag)
{
    executeMenuCommand(tag, mLayout.commandTable());
}

Validation ClassicCommands::validateMenuItem(int tag, QAbstractItemView* table) const
{
    if (tag == kDuplicateFirst)
        return enabled(mDocument && mLayout.currentTabIdentifier() == "trns" &&
                       mLayout.transactionLists().controller(ClassicTransactionLists::List::Transactions).arrangedCount() > 0);
    if (auto* transactions = qobject_cast<CTransactionTableView*>(table)) {
        if (oneOf(tag, {kCut, kCopy, kPaste, kNewObject, kDelete, kDuplicate, kNewTransaction, kModify, kLink}))
            return transactions->validateMenuItem(tag);
        return std::nullopt;
    }
    if (auto* outline = qobject_cast<CNonVisualOutlineView*>(table)) {
        if (tag == kNewTransaction) return enabled(outline->delegate() != nullptr);
        if (oneOf(tag, {kCut, kCopy, kPaste, kDuplicate})) return enabled(false);
        if (oneOf(tag, {kNewObject, kNewObjectInside, kNewGroupInside, kDelete, kModify, kTransferFrom, kTransferTo,
                        kBookFor})) {
            if (!outline->delegate()) return enabled(false);
            return outline->validateMenuItem(tag);
        }
        return std::nullopt;
    }
    if (CTransactionDetailTableController* lines = mLayout.detailControllerOf(table)) {
        if (tag == kNewTransaction) return enabled(mDocument != nullptr);
        if (oneOf(tag, {kModify, kDuplicate, kDelete})) return enabled(mDocument && lines->currentTransaction());
        return std::nullopt;
    }
    return std::nullopt;
}

void ClassicCommands::executeMenuCommand(int tag, QAbstractItemView* table)
{
    const Validation validation = validateMenuItem(tag, table);
    if (!validation || !validation->enabled) return;
    if (tag == kDuplicateFirst) {
        TransactionSheetRequest request;
        request.model = std::dynamic_pointer_cast<CTrnSItem>(
            mLayout.transactionLists().controller(ClassicTransactionLists::List::Transactions).arrangedObjectAt(0));
        if (request.model) mDocument->askTransactionInput(request);
        return;
    }
    if (auto* transactions = qobject_cast<CTransactionTableView*>(table)) {
        switch (tag) {
        case kCut: transactions->cut(); break;
        case kCopy: transactions->copy(); break;
        case kPaste: transactions->paste(); break;
        case kNewObject:
        case kNewTransaction: transactions->addTransaction(); break;
        case kDelete: transactions->deleteTransaction(); break;
        case kDuplicate: transactions->duplicate(); break;
        case kModify: transactions->modifyTransactionAsked(); break;
        case kLink: transactions->linkTransaction(); break;
        default: break;
        }
        return;
    }
    if (auto* outline = qobject_cast<CNonVisualOutlineView*>(table)) {
        switch (tag) {
        case kNewObject: outline->newObject(); break;
        case kNewObjectInside: outline->newObjectBelow(); break;
        case kNewGroupInside: outline->newGroupBelow(); break;
        case kDelete: outline->deleteSelected(); break;
        case kModify: outline->modifyObject(); break;
        case kNewTransaction: outline->addEmptyTransaction(); break;
        case kTransferFrom: outline->addRedTransaction(); break;
        case kTransferTo:
        case kBookFor: outline->addGreenTransaction(); break;
        default: break;
        }
        return;
    }
    if (CTransactionDetailTableController* lines = mLayout.detailControllerOf(table)) {
        const std::shared_ptr<CTrnSItem> transaction = lines->currentTransaction();
        switch (tag) {
        case kNewTransaction: mDocument->askTransactionInput({}); return;
        case kModify: mDocument->modifyObject(transaction); return;
        case kDelete: mDocument->deleteObject(transaction); return;
        default: {
            // Duplicate: a new transaction made from it.
            TransactionSheetRequest request;
            request.model = transaction;
            mDocument->askTransactionInput(request);
        }
        }
    }
}

std::string ClassicCommands::showPage(FourCharCode type)
{
    using List = ClassicTransactionLists::List;
    switch (type) {
    case fourCC("TrnS"): mLayout.transactionLists().showList(List::Transactions); break;
    case fourCC("RcrT"): mLayout.transactionLists().showList(List::Recurring); break;
    case fourCC("UnlT"): mLayout.transactionLists().showList(List::Unlinked); break;
    case fourCC("AccT"): mLayout.showTab("acnt"); return "acnt";
    case fourCC("MxpT"): mLayout.showTab("expt"); return "expt";
    default: return {};
    }
    mLayout.showTab("trns");
    return "trns";
}

std::string ClassicCommands::currentTab() const
{
    return mLayout.currentTabIdentifier();
}

void ClassicCommands::searchContents(const std::string& text)
{
    mLayout.transactionLists().search(text);
}

} // namespace ch
