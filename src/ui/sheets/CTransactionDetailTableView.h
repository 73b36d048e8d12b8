#pragma once
// A table in which the user types the lines of one side of a transaction
// without the mouse: account (or category), amount, currency. Tab and
// Return move to the next cell, Shift-Tab back; from the last cell forwards
// and from the first cell backwards the sheet decides where the focus goes
// (getNextControlForTable). A typed account, category or currency must
// exist (error 224, the cell stays in editing); a typed amount must convert
// ("CONVFL"). Tabbing into the table edits row 0, column 0; a click edits
// the clicked cell, a double click too, with its whole text selected as F2
// does.
//
// The account (or category) cells show an add image at their left edge: a
// click on it asks the sheet for a new account or category for that row,
// through the cells' list (its creation handler). The same request and the
// balancing of a line are also items of the table's context menu, with
// keys: New (Ctrl+N) and Ctrl+=.

#include <QPersistentModelIndex>
#include <QTableView>

#include <memory>
#include <optional>

#include "platform/core/four_char_code.h"
#include "ui/controls/EditingField.h"

namespace ch {

class CNamedListArray;
class CPopupList;
class CPopupListDataSource;
class CTransactionDetailTableView;
class TransactionLinesModel;

// Text movements by which editing ends (none: the sheet ends the editing).
inline constexpr int kNoMovement = 0;
inline constexpr int kReturnMovement = 16;
inline constexpr int kTabMovement = 17;
inline constexpr int kBacktabMovement = 18;

// What the table asks of its sheet.
class TransactionDetailTableDelegate {
public:
    virtual ~TransactionDetailTableDelegate() = default;
    // Row is 1-based; isAccount: the account column (else the currency).
    virtual void setObjectIdT(long objectId, CTransactionDetailTableView* table, int row, bool isAccount) = 0;
    // The amount typed in a row (0-based).
    virtual void setAmount(double amount, CTransactionDetailTableView* table, int row) = 0;
    virtual CTransactionDetailTableView* getNextControlForTable(CTransactionDetailTableView* table, int movement) = 0;
    virtual void balanceTransactionDetailFromTable(CTransactionDetailTableView* table, int row) = 0;
    virtual void createNewObjectForTable(CTransactionDetailTableView* table, int row) = 0;
    // The table got the focus by a click.
    virtual void tableGotFocus(CTransactionDetailTableView* table) = 0;
};

class CTransactionDetailTableView : public QTableView, public EditingField {
    Q_OBJECT

public:
    explicit CTransactionDetailTableView(QWidget* parent = nullptr);
    ~CTransactionDetailTableView() override;

    void setLinesModel(TransactionLinesModel* model);
    TransactionLinesModel* linesModel() const { return mModel; }
    void setDetailDelegate(TransactionDetailTableDelegate* delegate) { mDelegate = delegate; }
    // The lists of the first column (accounts or categories) and of the currency column.
    void setLists(CNamedListArray* objects, FourCharCode objectType, CNamedListArray* currencies);
    CNamedListArray* listOfColumn(int column) const;
    FourCharCode objectType() const { return mObjectType; }
    // The list of the account (or category) cells; its creation handler
    // asks the sheet for a new object for the row whose add image was clicked.
    CPopupListDataSource& objectSource() const { return *mObjectSource; }
    // The add image's area in a cell of the first column (empty elsewhere,
    // and where nothing can be created).
    QRect addImageRect(const QModelIndex& index) const;
    static constexpr int kAddImageSize = 12;

    // Selects the row alone and edits the cell with its text selected.
    void editCell(int row, int column);
    // The open cell editor, as the view itself tracks it: none once it
    // closed, and none once the lines were reloaded under it.
    QWidget* editor() const;
    // The cell being edited (-1 when none).
    int editedRow() const { return editor() ? mEditedIndex.row() : -1; }
    int editedColumn() const { return editor() ? mEditedIndex.column() : -1; }
    // Ends the open editor with the movement: checks and writes the value,
    // then moves. False when the value was refused (the cell stays in
    // editing, its text selected; the same refused text is told only once).
    bool finishEditing(int movement);
    // The open cell ends without moving.
    bool endEditing() override { return finishEditing(kNoMovement); }
    // The open cell closes without writing its text.
    void discardEditing() override;

    bool ibLeaving() const { return mLeaving; }
    void setIbLeaving(bool leaving) { mLeaving = leaving; }
    bool newObjectCreationAsked() const { return mNewObjectCreationAsked; }
    void setNewObjectCreationAsked(bool asked) { mNewObjectCreationAsked = asked; }

public slots:
    // Balances the edited line against the rest of the transaction.
    void balanceTransactionDetail();
    // Asks for a new account or category for the edited row.
    void newObject();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void commitData(QWidget* editor) override;

private:
    friend class DetailCellDelegate;
    void editorOpened(QWidget* editor, int row, int column);
    // Closes the open editor (if any) without writing it.
    void closeOpenEditor(QAbstractItemDelegate::EndEditHint hint);
    // The editor takes the focus with its whole text selected.
    void focusWithTextSelected(QWidget* editor);

    TransactionLinesModel* mModel = nullptr;
    TransactionDetailTableDelegate* mDelegate = nullptr;
    CNamedListArray* mObjects = nullptr;
    CNamedListArray* mCurrencies = nullptr;
    FourCharCode mObjectType = 0;
    std::unique_ptr<CPopupListDataSource> mObjectSource;
    int mCreationRow = -1;
    // The cell of the open editor; the editor itself is the view's to keep.
    QPersistentModelIndex mEditedIndex;
    // The text last refused in the edited cell, so that it is told once.
    std::optional<QString> mRefusedText;
    bool mLeaving = false;
    bool mNewObjectCreationAsked = false;
};

} // namespace ch
