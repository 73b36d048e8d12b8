#include "ui/sheets/CTransactionDetailTableView.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CPopupListDataSource.h"
#include "ui/sheets/TransactionLinesModel.h"

namespace ch {

// Makes the editors: an object pop-up for the account and currency columns,
// a plain field for the amount. Values are written by the view when editing
// ends, never by the delegate.
class DetailCellDelegate : public QStyledItemDelegate {
public:
    explicit DetailCellDelegate(CTransactionDetailTableView* view) : QStyledItemDelegate(view), mView(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        QWidget* editor = nullptr;
        if (index.column() == TransactionLinesModel::kAmountColumn) {
            auto* field = new QLineEdit(parent);
            field->setAlignment(Qt::AlignRight);
            field->setFrame(false);
            editor = field;
        } else {
            auto* popup = new CPopupList(parent);
            popup->setArray(mView->listOfColumn(index.column()),
                            index.column() == 0 ? mView->objectType() : fourCC("CurR"), -1);
            popup->setFrame(false);
            editor = popup;
        }
        mView->editorOpened(editor, index.row(), index.column());
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* popup = qobject_cast<CPopupList*>(editor)) {
            popup->setEditText(text);
            popup->resetIndex();
            if (popup->lineEdit())
                popup->lineEdit()->selectAll();
        } else if (auto* field = qobject_cast<QLineEdit*>(editor)) {
            field->setText(text);
            field->selectAll();
        }
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect image = mView->addImageRect(index);
        if (image.isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // The text keeps clear of the add image.
        QStyleOptionViewItem text = option;
        text.rect.setLeft(image.right() + 4);
        QStyledItemDelegate::paint(painter, text, index);
        drawAddImage(*painter, image);
    }
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
        const QRect image = mView->addImageRect(index);
        if (!image.isEmpty()) {
            QRect cut = editor->geometry();
            cut.setLeft(image.right() + 4);
            editor->setGeometry(cut);
        }
    }
    // A green disc with a white plus: "add".
    static void drawAddImage(QPainter& painter, const QRect& rect)
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x3A, 0x9A, 0x5B));
        painter.drawEllipse(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
        QPen plus(Qt::white, 2.0);
        plus.setCapStyle(Qt::RoundCap);
        painter.setPen(plus);
        const QPointF centre = QRectF(rect).center();
        const double arm = rect.width() * 0.27;
        painter.drawLine(QPointF(centre.x() - arm, centre.y()), QPointF(centre.x() + arm, centre.y()));
        painter.drawLine(QPointF(centre.x(), centre.y() - arm), QPointF(centre.x(), centre.y() + arm));
        painter.restore();
    }
    // Keys are handled by the view.
    bool eventFilter(QObject*, QEvent*) override { return false; }

private:
    CTransactionDetailTableView* mView;
};

namespace {

QString editorText(QWidget* editor)
{
    if (auto* popup = qobject_cast<CPopupList*>(editor))
        return popup->currentText();
    if (auto* field = qobject_cast<QLineEdit*>(editor))
        return field->text();
    return {};
}

} // namespace

CTransactionDetailTableView::CTransactionDetailTableView(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new DetailCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setHighlightSections(false);
    setAlternatingRowColors(true);
    mObjectSource = std::make_unique<CPopupListDataSource>();
    mObjectSource->creationHandler = [this](FourCharCode, long) {
        if (mDelegate && mCreationRow >= 0)
            mDelegate->createNewObjectForTable(this, mCreationRow);
    };
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* create = new QAction(this);
    create->setObjectName(QStringLiteral("newObjectAction"));
    create->setShortcuts(QKeySequence::New);
    create->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(create, &QAction::triggered, this, &CTransactionDetailTableView::newObject);
    addAction(create);
    auto* balance = new QAction(localizedText("357"), this);
    balance->setObjectName(QStringLiteral("balanceAction"));
    balance->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal));
    balance->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(balance, &QAction::triggered, this, &CTransactionDetailTableView::balanceTransactionDetail);
    addAction(balance);
}

CTransactionDetailTableView::~CTransactionDetailTableView() = default;

QRect CTransactionDetailTableView::addImageRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() != TransactionLinesModel::kAccountColumn || !mObjectSource->supportsCreation())
        return {};
    const QRect cell = visualRect(index);
    return QRect(cell.left() + 3, cell.top() + (cell.height() - kAddImageSize) / 2, kAddImageSize, kAddImageSize);
}

void CTransactionDetailTableView::setLinesModel(TransactionLinesModel* model)
{
    mModel = model;
    setModel(model);
    horizontalHeader()->setSectionResizeMode(TransactionLinesModel::kAccountColumn, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(TransactionLinesModel::kAmountColumn, QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(TransactionLinesModel::kCurrencyColumn, QHeaderView::Fixed);
    setColumnWidth(TransactionLinesModel::kAmountColumn, 110);
    setColumnWidth(TransactionLinesModel::kCurrencyColumn, 80);
}

void CTransactionDetailTableView::setLists(CNamedListArray* objects, FourCharCode objectType,
                                           CNamedListArray* currencies)
{
    mObjects = objects;
    mObjectType = objectType;
    mCurrencies = currencies;
    mObjectSource->setArray(objects, objectType, -1);
    // The request is named after what the first column lists.
    for (QAction* action : actions())
        if (action->objectName() == QLatin1String("newObjectAction"))
            action->setText(localizedText(objectType == fourCC("ExpT") ? "356" : "355"));
}

CNamedListArray* CTransactionDetailTableView::listOfColumn(int column) const
{
    return column == TransactionLinesModel::kCurrencyColumn ? mCurrencies : mObjects;
}

void CTransactionDetailTableView::editorOpened(QWidget* editor, int row, int column)
{
    mEditedIndex = mModel ? QPersistentModelIndex(mModel->index(row, column)) : QPersistentModelIndex();
    mRefusedText.reset();
    editor->installEventFilter(this);
    if (auto* popup = qobject_cast<CPopupList*>(editor); popup && popup->lineEdit())
        popup->lineEdit()->installEventFilter(this);
}

QWidget* CTransactionDetailTableView::editor() const
{
    // A reload of the lines drops the editor from the view's own list at
    // once (it is deleted later): what the view no longer lists is gone.
    return mEditedIndex.isValid() && state() == EditingState ? indexWidget(mEditedIndex) : nullptr;
}

void CTransactionDetailTableView::closeOpenEditor(QAbstractItemDelegate::EndEditHint hint)
{
    QWidget* open = editor();
    mEditedIndex = QPersistentModelIndex();
    mRefusedText.reset();
    if (open)
        QTableView::closeEditor(open, hint);
}

void CTransactionDetailTableView::discardEditing()
{
    closeOpenEditor(QAbstractItemDelegate::RevertModelCache);
}

void CTransactionDetailTableView::editCell(int row, int column)
{
    if (!mModel || row < 0 || row >= mModel->rowCount() || column < 0 || column >= mModel->columnCount())
        return;
    closeOpenEditor(QAbstractItemDelegate::NoHint);
    const QModelIndex index = mModel->index(row, column);
    selectRow(row);
    setCurrentIndex(index);
    edit(index);
    if (QWidget* opened = editor())
        opened->setFocus(Qt::OtherFocusReason);
}

void CTransactionDetailTableView::focusWithTextSelected(QWidget* open)
{
    open->setFocus(Qt::OtherFocusReason);
    if (auto* popup = qobject_cast<CPopupList*>(open); popup && popup->lineEdit())
        popup->lineEdit()->selectAll();
    else if (auto* field = qobject_cast<QLineEdit*>(open))
        field->selectAll();
}

bool CTransactionDetailTableView::finishEditing(int movement)
{
    QWidget* open = editor();
    if (!open || !mModel)
        return true;
    const int row = mEditedIndex.row(), column = mEditedIndex.column();
    const QString text = editorText(open).trimmed();
    std::optional<long> objectId;
    std::optional<double> amount;
    // Told once: the same text refused again (at OK, say) only goes back
    // to the user for correction.
    const bool told = mRefusedText == text;
    if (column == TransactionLinesModel::kAmountColumn) {
        const auto conversion = CNumericTransformer().getObjectValue(text.toStdString());
        if (!conversion.ok) {
            mRefusedText = text;
            if (!told) {
                Alert alert;
                alert.message = conversion.errorDescription;
                alertPresenter().showError(alert);
            }
            focusWithTextSelected(open);
            return false;
        }
        amount = conversion.value.value_or(0.0);
    } else {
        CPopupListDataSource names;
        names.setArray(listOfColumn(column));
        const long id = names.doesItemExist(text.toStdString());
        if (id < 0) {
            mRefusedText = text;
            if (!told)
                CErrorManager::RaiseError(224);
            focusWithTextSelected(open);
            return false;
        }
        objectId = id;
    }
    mNewObjectCreationAsked = false;
    closeOpenEditor(QAbstractItemDelegate::NoHint);
    if (mDelegate) {
        if (objectId)
            mDelegate->setObjectIdT(*objectId, this, row + 1, column == TransactionLinesModel::kAccountColumn);
        if (amount)
            mDelegate->setAmount(*amount, this, row);
    }
    if (movement == kNoMovement)
        return true;
    const bool backwards = movement == kBacktabMovement;
    const int lastRow = mModel->rowCount() - 1, lastColumn = mModel->columnCount() - 1;
    if ((column == lastColumn && row == lastRow && !backwards) || (row == 0 && column == 0 && backwards)) {
        mLeaving = true;
        if (mDelegate)
            mDelegate->getNextControlForTable(this, movement);
        mLeaving = false;
        return true;
    }
    if (!backwards && column == lastColumn)
        editCell(row + 1, 0);
    else if (backwards && column == 0)
        editCell(row - 1, lastColumn);
    else
        editCell(row, backwards ? column - 1 : column + 1);
    return true;
}

void CTransactionDetailTableView::balanceTransactionDetail()
{
    const int row = editedRow() >= 0 ? editedRow() : currentIndex().row();
    const int column = editedColumn() >= 0 ? editedColumn() : 0;
    if (row < 0 || !mDelegate)
        return;
    mDelegate->balanceTransactionDetailFromTable(this, row);
    mLeaving = true;
    editCell(row, column);
    mLeaving = false;
}

void CTransactionDetailTableView::newObject()
{
    // The account cell being edited, else the selected row's.
    if (editor() && editedColumn() != TransactionLinesModel::kAccountColumn)
        return;
    const int row = editor() ? editedRow() : currentIndex().row();
    if (row < 0 || !mDelegate)
        return;
    mNewObjectCreationAsked = true;
    mDelegate->createNewObjectForTable(this, row);
}

void CTransactionDetailTableView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    mNewObjectCreationAsked = false;
    if (editor())
        return;
    if (mLeaving) {
        mLeaving = false;
        return;
    }
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        editCell(0, 0);
}

void CTransactionDetailTableView::mousePressEvent(QMouseEvent* event)
{
    if (mDelegate)
        mDelegate->tableGotFocus(this);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && addImageRect(index).adjusted(-2, -2, 2, 2).contains(event->position().toPoint())) {
        // The add image: a new account or category for this row, no editing.
        closeOpenEditor(QAbstractItemDelegate::RevertModelCache);
        selectRow(index.row());
        setCurrentIndex(index);
        mNewObjectCreationAsked = true;
        mCreationRow = index.row();
        mObjectSource->createNewObject();
        mCreationRow = -1;
        event->accept();
        return;
    }
    mLeaving = true;
    QTableView::mousePressEvent(event);
    if (index.isValid() && event->button() != Qt::LeftButton) {
        // A right click selects the row for the context menu.
        selectRow(index.row());
        setCurrentIndex(index);
    } else if (index.isValid()) {
        setFocus(Qt::MouseFocusReason);
        editCell(index.row(), index.column());
    }
    mLeaving = false;
}

bool CTransactionDetailTableView::eventFilter(QObject* watched, QEvent* event)
{
    // The second click of a double click lands on the editor the first one
    // opened: the cell is edited as F2 does, its whole text selected.
    if (event->type() == QEvent::MouseButtonDblClick && editor()) {
        QWidget* open = editor();
        if (watched == open || open->isAncestorOf(qobject_cast<QWidget*>(watched))) {
            focusWithTextSelected(open);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && editor()) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Tab:
            finishEditing(key->modifiers() & Qt::ShiftModifier ? kBacktabMovement : kTabMovement);
            return true;
        case Qt::Key_Backtab:
            finishEditing(kBacktabMovement);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            finishEditing(kReturnMovement);
            return true;
        case Qt::Key_Escape:
            closeOpenEditor(QAbstractItemDelegate::RevertModelCache);
            return true;
        default:
            break;
        }
    }
    if (event->type() == QEvent::ShortcutOverride && editor()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void CTransactionDetailTableView::closeEditor(QWidget* closing, QAbstractItemDelegate::EndEditHint hint)
{
    // The view's own endings (focus moving elsewhere) close without writing.
    if (closing == editor()) {
        mEditedIndex = QPersistentModelIndex();
        mRefusedText.reset();
    }
    QTableView::closeEditor(closing, hint);
}

void CTransactionDetailTableView::commitData(QWidget*) {}

} // namespace ch
