#pragma once
// Outline views of model objects whose edit actions (new, new below, new
// group below, modify, delete, add a transaction) go to their delegate,
// the document. The current item is the item of the selected row.
//
// CNonVisualTable differs in a few points: deleting without a selection
// tells the user to select something first (information 252), and it has
// new-category and new-account actions that need a row of the matching
// kind (information 251 otherwise).
//
// The model shown must be a NamedListOutlineModel.

#include <QTreeView>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class NamedListOutlineModel;

// What an outline view asks its document for.
class OutlineViewDelegate {
public:
    virtual ~OutlineViewDelegate() = default;
    virtual void deleteObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView* table) = 0;
    virtual void modifyObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView* table) = 0;
    // Opens the creation sheet for an object beside (or, below, inside) the
    // reference row; whether it did.
    virtual bool insertObjectWithReferenceNode(const CNonVisualDataItem::Ptr& reference, bool below,
                                               QAbstractItemView* table, bool asGroup) = 0;
    // The transaction sheet (create, not recurring) with what is given.
    virtual void askTransactionInput(CNonVisual* fromAccount, CNonVisual* toAccount, CNonVisual* category,
                                     int type) = 0;
};

// The accounts and category of a transaction added for a row, and its type:
// an account is the to account of money in and the from account of money
// out (type 3); a category is the category, of type 1 (income), 0
// (expense), 2 (transfer) or 3 (any other). Other rows give nothing, type 3.
struct RowTransaction {
    CNonVisual* fromAccount = nullptr;
    CNonVisual* toAccount = nullptr;
    CNonVisual* category = nullptr;
    int type = 3;
};
RowTransaction transactionForRow(const CNonVisualDataItem* item, bool moneyIn);

class CNonVisualOutlineView : public QTreeView {
    Q_OBJECT

public:
    explicit CNonVisualOutlineView(QWidget* parent = nullptr);

    void setDelegate(OutlineViewDelegate* delegate) { mDelegate = delegate; }
    OutlineViewDelegate* delegate() const { return mDelegate; }

    // The item of the selected row; none without a selected row.
    CNonVisualDataItem::Ptr getCurrentItem() const;
    // Disabled without a current item; else as the item answers.
    MenuItemValidation validateMenuItem(int tag) const;

    // --- edit actions
    virtual void deleteSelected();
    void modifyObject();
    void newObject() { insertObject(false, false); }
    void newObjectBelow() { insertObject(true, false); }
    void newGroupBelow() { insertObject(true, true); }
    void addGreenTransaction() { addTransaction(true); }
    void addRedTransaction() { addTransaction(false); }
    void addEmptyTransaction();

protected:
    bool insertObject(bool below, bool asGroup);
    void addTransaction(bool moneyIn);
    NamedListOutlineModel* outlineModel() const;

private:
    OutlineViewDelegate* mDelegate = nullptr;
};

class CNonVisualTable : public CNonVisualOutlineView {
    Q_OBJECT

public:
    using CNonVisualOutlineView::CNonVisualOutlineView;

    bool itemIsSelected() const;
    bool itemCanBeDeleted() const;
    void deleteSelected() override;
    // Beside a selected category or inside a selected group; information
    // 251 on any other row.
    void newCategory();
    // Beside a selected account or inside a selected account type;
    // information 251 on any other row.
    void newAccount();

protected:
    // The Delete key with no row chosen, where the window's Delete is not
    // enabled, still answers: information 252.
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ch
