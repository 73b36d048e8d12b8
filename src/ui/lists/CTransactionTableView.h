#pragma once
// CTransactionTableView: the classic layout's table of transactions. Its
// edit commands (its context menu) act on its selected transactions
// through the document: new, modify, duplicate, copy, cut, paste, delete and
// link. It enables them itself, by the table below; a table whose own tag is
// 1207 lists transactions to link: it offers linking and no new command.
//
// Where the classic commands did nothing (copy, cut and modify outside the
// side-bar layout), they act here as they read: copy keeps the transaction
// for pasting, cut keeps a copy that outlives the transaction and then
// deletes it (asking first), so that Paste books it again: a move; modify
// opens its sheet. Deleting several asks once.
//
// A table of recurring transactions makes recurring ones: new, duplicate and
// paste open the recurring sheet there.

#include <memory>

#include "bridge/CNonVisualDataItem.h"
#include "ui/lists/GXTableAncestor.h"

class QAction;

namespace ch {

class CTrnSItem;
class ItemTableModel;
class WindowDocument;

// What the enabling rules read.
struct ClassicTableState {
    int selected = 0;              // selected rows
    bool firstBlocked = false;     // the first selected transaction is blocked
    bool hasTransactionToPaste = false;
    bool multipleSelection = true; // the table allows several selected rows
    int tableTag = 0;
};

// The enabling of a menu item by its tag (12 cut, 13 copy, 14 paste, 16,
// 1031, 1100 and 1110 new, 1104 delete, 1109 duplicate, 1114 modify, 1207
// link, 1244 combine); new and modify are retitled "NewTrans" and
// "ModifyTrans". Any other tag is disabled. A table of lines to link offers
// no cut: Paste would book the line rather than put it back.
MenuItemValidation validateClassicTransactionTableItem(int tag, const ClassicTableState& state);

class CTransactionTableView : public GXTableAncestor {
    Q_OBJECT

public:
    explicit CTransactionTableView(QWidget* parent = nullptr);

    // The rows (the model of the table's array controller) and the document
    // its commands go to; neither is owned.
    void setRows(ItemTableModel* rows);
    void setDocument(WindowDocument* document) { mDocument = document; }
    WindowDocument* document() const { return mDocument; }
    void setTableTag(int tag) { mTableTag = tag; }
    int tableTag() const { return mTableTag; }
    void setRecurring(bool recurring) { mRecurring = recurring; }
    bool recurring() const { return mRecurring; }

    MenuItemValidation validateMenuItem(int tag) const;
    // The item of the table's context menu with the tag; null when none.
    QAction* commandAction(int tag) const;

    // --- the commands
    void addTransaction();
    void modifyTransactionAsked();
    void duplicate();
    void copy();
    void cut();
    void paste();
    void deleteTransaction();
    void linkTransaction();

    std::vector<std::shared_ptr<CTrnSItem>> selectedTransactions() const;

private:
    void addCommand(int tag, const char* titleKey, void (CTransactionTableView::*command)());

public:
    // Enables and titles the context menu's items as the table answers now.
    void validateCommands();

    ItemTableModel* mRows = nullptr;
    WindowDocument* mDocument = nullptr;
    int mTableTag = 0;
    bool mRecurring = false;
};

} // namespace ch
