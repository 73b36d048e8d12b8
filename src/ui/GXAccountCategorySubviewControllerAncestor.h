#pragma once
// GXAccountCategorySubviewControllerAncestor: what the accounts and the
// categories pages share. Both show a table of accounts (or categories)
// over a table of the booking lines of the selected one; this base owns
// the rules of the lower table: a click in its status column cycles the
// status while the flag command only flags, a double click that landed in
// the status column opens no sheet, and the toolbar follows the selection.
//
// The lower table itself belongs to the page: it reports its selected line
// and whether it has the focus.

#include <memory>

#include "ui/GXSideBarControlledViewAncestor.h"

namespace ch {

class CDebetItem;
class CTrnSItem;

class GXAccountCategorySubviewControllerAncestor : public GXSideBarControlledViewAncestor {
    Q_OBJECT

public:
    using GXSideBarControlledViewAncestor::GXSideBarControlledViewAncestor;

    // The first selected line of the lower table, and its transaction.
    std::shared_ptr<CDebetItem> selectedDebetItem() const;
    std::shared_ptr<CTrnSItem> selectedTransaction() const;

    // A click in the lower table's status column cycles checked, flagged,
    // none; the flag command (1121) switches flagged and none.
    enum class FlagSender { StatusColumnClick, FlagCommand };
    void flagTransaction(FlagSender sender);
    // A click in the lower table outside the status column.
    void clickedInOtherColumn();
    // The lower table's double action and the modify command: the selected
    // transaction's modify sheet, unless the double click landed in the
    // status column.
    void modifyTransaction(bool fromLowerTableDoubleClick);
    void deleteTransaction();

    // "V2Search" with a node shown; flag with a selected line; modify and
    // delete for the selected line while the lower table has the focus,
    // else for the selected account or category; the rest enabled.
    bool validateToolbarItem(const CommandSender& item) override;

    bool transactionFlagged() const { return mTransactionFlagged; }

protected:
    // The lower table's first selected line; none without a selection.
    virtual std::shared_ptr<CDebetItem> lowerTableSelection() const = 0;
    // Whether the lower table (or its cell editor) has the window's focus.
    virtual bool lowerTableHasFocus() const = 0;

    void registerNotifications() override;
    virtual void folderBalanceChanged(const Notification&) {}

private:
    bool mTransactionFlagged = false;
};

} // namespace ch
