#include "ui/pages/GXAccountTableViewController.h"

#include "bridge/AccountAncestor.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "platform/gui/localized_text.h"
#include "ui/WindowDocument.h"
#include "ui/lists/TransactionColumns.h"
#include "ui/pages/PageColumns.h"
#include "ui/pages/TableActionButton.h"

namespace ch {

namespace {

constexpr int kDelete = 1104;
constexpr int kTransferFrom = 1111;
constexpr int kTransferTo = 1112;

const AccountAncestor* accountOf(const CNonVisualDataItem& item)
{
    return dynamic_cast<const AccountAncestor*>(&item);
}

} // namespace

GXAccountTableViewController::GXAccountTableViewController(QObject* parent) : AccountCategoryPage(parent)
{
    upperController().setSortDescriptors({sortByName(true)});
}

std::vector<ItemColumn> GXAccountTableViewController::upperColumns() const
{
    return {
        nameWithIconColumn(),
        {"fbal", localizedText("LISTCOLBALANCE"),
         [](const CNonVisualDataItem& item, int role) {
             const AccountAncestor* account = accountOf(item);
             return pageAmountCell(account ? account->getBalance() : std::nullopt, role);
         },
         [](const CNonVisualDataItem& item) -> SortValue {
             const AccountAncestor* account = accountOf(item);
             return account ? account->getBalance().value_or(0) : 0.0;
         }},
        {"fcur", localizedText("LISTCOLCURRENCY"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             const AccountAncestor* account = accountOf(item);
             return role == Qt::DisplayRole && account ? QString::fromStdString(account->currencySymbol()) : QVariant();
         },
         {}},
        {"lbal", localizedText("LISTCOLLOCALAMOUNT"),
         [](const CNonVisualDataItem& item, int role) { return pageAmountCell(item.getLocalBalance(), role); },
         [](const CNonVisualDataItem& item) -> SortValue { return item.getLocalBalance().value_or(0); }},
    };
}

std::vector<TableActionEntry> GXAccountTableViewController::upperActionEntries() const
{
    return {{"NEWOBJECTMENUITEM", 1100}, {"MODIFYMENUITEM", 1114}, {"DELETEMENUITEM", kDelete},
            {nullptr, 0},                {"350", kTransferFrom},    {"351", kTransferTo}};
}

std::vector<const char*> GXAccountTableViewController::keyFigureTitles() const
{
    return {"KPIBALANCE"};
}

std::optional<double> GXAccountTableViewController::keyFigure(const CNonVisualDataItem& item, std::size_t) const
{
    return item.getLocalBalance();
}

std::vector<const char*> GXAccountTableViewController::objectNotifications() const
{
    return {"ACCOUNTCREATED", "ACCOUNTMODIFIED", "ACCOUNTDELETED"};
}

bool GXAccountTableViewController::showsLinesOf(const CNonVisualDataItem& item) const
{
    return accountOf(item) != nullptr;
}

QString GXAccountTableViewController::selectedMasterItemBalance() const
{
    return keyFigureTexts().front();
}

void GXAccountTableViewController::newObject(const CommandSender&)
{
    if (const auto type = proposedAccountType(); type && document())
        document()->initiateAccountCreationWithMasterType(*type);
}

std::optional<ObjectIdT> GXAccountTableViewController::proposedAccountType() const
{
    if (!newAllowed()) return std::nullopt;
    return mSelectedMasterItem()->getId();
}

MenuItemValidation GXAccountTableViewController::validateMenuItem(int tag)
{
    if (tag == kTransferFrom || tag == kTransferTo) {
        const auto item = mSelectedItem();
        return item ? item->validateMenuItem(tag) : MenuItemValidation{};
    }
    return AccountCategoryPage::validateMenuItem(tag);
}

void GXAccountTableViewController::executeMenuCommand(int code, const CommandSender& sender)
{
    const auto account = mSelectedItem();
    CNonVisual* object = account ? account->getSourceItem() : nullptr;
    switch (code) {
    case kDelete:
        if (lowerTableHasFocus())
            deleteTransaction();
        else if (upperTableHasFocus())
            deleteSelectedObject();
        return;
    case kTransferFrom:
        if (object) openTransactionSheet(nullptr, object, nullptr, nullptr);
        return;
    case kTransferTo:
        if (object) openTransactionSheet(nullptr, nullptr, object, nullptr);
        return;
    default: AccountCategoryPage::executeMenuCommand(code, sender); return;
    }
}

} // namespace ch
