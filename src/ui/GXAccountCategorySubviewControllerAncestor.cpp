#include "ui/GXAccountCategorySubviewControllerAncestor.h"

#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "ui/TransactionStateCommands.h"
#include "ui/WindowDocument.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/WindowDocument.h"

namespace ch {

namespace {

constexpr int kDeleteTag = 1104;
constexpr int kModifyTag = 1114;
constexpr int kFlagTag = 1121;

} // namespace

std::shared_ptr<CDebetItem> GXAccountCategorySubviewControllerAncestor::selectedDebetItem() const
{
    return lowerTableSelection();
}

std::shared_ptr<CTrnSItem> GXAccountCategorySubviewControllerAncestor::selectedTransaction() const
{
    const auto line = selectedDebetItem();
    return line ? line->parentTransaction() : nullptr;
}

void GXAccountCategorySubviewControllerAncestor::flagTransaction(FlagSender sender)
{
    const auto line = selectedDebetItem();
    if (!line) return;
    // The line's transaction takes the status, through the document's
    // command: the journal keeps it.
    const std::shared_ptr<CTrnSItem> transaction = line->parentTransaction();
    if (!transaction || !document()) return;
    const int status = sender == FlagSender::StatusColumnClick ? statusAfterStatusClick(transaction->objectStatus())
                                                                : statusAfterFlag(transaction->objectStatus());
    sendTransactionStatus(document()->sheetDocument().commands(), transaction, status);
    line->setObjectStatus(transaction->objectStatus());
    if (sender == FlagSender::StatusColumnClick) mTransactionFlagged = true;
}

void GXAccountCategorySubviewControllerAncestor::clickedInOtherColumn()
{
    mTransactionFlagged = false;
}

void GXAccountCategorySubviewControllerAncestor::modifyTransaction(bool fromLowerTableDoubleClick)
{
    if (fromLowerTableDoubleClick && mTransactionFlagged) return;
    const auto transaction = selectedTransaction();
    if (transaction && document()) document()->books().doModifyTransactionDialog(transaction);
}

void GXAccountCategorySubviewControllerAncestor::deleteTransaction()
{
    const auto transaction = selectedTransaction();
    if (transaction && document()) document()->deleteObject(transaction);
}

bool GXAccountCategorySubviewControllerAncestor::validateToolbarItem(const CommandSender& item)
{
    if (item.identifier == "V2Search") return mSelectedMasterItem() != nullptr;
    if (item.tag == kFlagTag) return selectedTransaction() != nullptr;
    if (item.tag == kModifyTag || item.tag == kDeleteTag) {
        if (lowerTableHasFocus() && selectedTransaction()) return true;
        return mSelectedItem() != nullptr;
    }
    return true;
}

void GXAccountCategorySubviewControllerAncestor::registerNotifications()
{
    observe("FOLDERBALANCECHANGED", &GXAccountCategorySubviewControllerAncestor::folderBalanceChanged);
    GXSideBarControlledViewAncestor::registerNotifications();
}

} // namespace ch
