#include "ui/sheets/CCreateTransactionPopupController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "bridge/BridgeDocument.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNonVisualDataItem.h"
#include "bridge/CTrnSItem.h"
#include "platform/core/notification_center.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"
#include "ui/sheets/TransactionLinesModel.h"

namespace ch {

namespace {
constexpr const char* kSetFromAccountId = "setFromAccountId:";
constexpr const char* kSetToAccountId = "setToAccountId:";
constexpr const char* kSetForAccountId = "setForAccountId:";
} // namespace

CCreateTransactionPopupController::CCreateTransactionPopupController(QWidget* parent, bool recurring)
    : CPopupWindowAncestor(parent), mLogic(recurring)
{
    setObjectName(recurring ? QStringLiteral("RecurringTrnsPopup") : QStringLiteral("TransactionPopup"));
    setWindowTitle(localizedText(recurring ? "RECURRINGSHEETTITLE" : "TRANSACTIONSHEETTITLE"));

    auto* form = makeSheetForm();
    mNameField = addSheetRow(form, "FIELDNAME", new CTextField(this, 254), "mNameField");
    mDateField = addSheetRow(form, "FIELDDATE", new CDateEditField(this), "mDateField");
    mDocumentField = addSheetRow(form, "FIELDDOCUMENTREF", new CTextField(this, 34), "mDocumentField");
    auto* money = new QWidget(this);
    auto* moneyRow = new QHBoxLayout(money);
    moneyRow->setContentsMargins(0, 0, 0, 0);
    mAmountField = new CAmountField(money);
    mAmountField->setObjectName(QStringLiteral("mAmountField"));
    mCurrencyField = new CPopupList(money);
    mCurrencyField->setObjectName(QStringLiteral("mCurrencyField"));
    mCurrencyField->setMinimumWidth(90);
    moneyRow->addWidget(mAmountField, 1);
    moneyRow->addWidget(mCurrencyField);
    form->addRow(localizedText("FIELDAMOUNT"), money);
    mNameField->setMinimumWidth(320);
    mDateField->setMaximumWidth(140);
    watchPopup(mCurrencyField);

    auto* layout = mLayout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(form);
    mFromTable = makeTable("mFromTable", "FROMLINES", kFromSide, layout);
    mToTable = makeTable("mToTable", "TOLINES", kToSide, layout);
    mForTable = makeTable("mForTable", "FORLINES", kForSide, layout);
    layout->addSpacing(8);
    QHBoxLayout* buttons = makeButtonRow(3);
    mControlOkButton = new QPushButton(localizedText("OKANDNEXT"), this);
    mControlOkButton->setObjectName(QStringLiteral("controlOkButton"));
    mControlOkButton->setAutoDefault(false);
    buttons->insertWidget(2, mControlOkButton);
    layout->addLayout(buttons);
    connect(mControlOkButton, &QPushButton::clicked, this, &CCreateTransactionPopupController::controlOkClicked);
    connect(mAmountField, &CAmountField::valueChanged, this, [this] { storeFields(); reloadTables(); });
    connect(mCurrencyField, &QComboBox::currentIndexChanged, this, [this] { storeFields(); reloadTables(); });
    setTabOrder(mNameField, mDateField);
    setTabOrder(mDateField, mDocumentField);
    setTabOrder(mDocumentField, mAmountField);
    setTabOrder(mAmountField, mCurrencyField);
    setTabOrder(mCurrencyField, mFromTable);
    setTabOrder(mFromTable, mToTable);
    setTabOrder(mToTable, mForTable);
}

CCreateTransactionPopupController::~CCreateTransactionPopupController() = default;

CTransactionDetailTableView* CCreateTransactionPopupController::makeTable(const char* name, const char* titleKey,
                                                                          FourCharCode side, QVBoxLayout* into)
{
    auto* header = new QHBoxLayout;
    auto* title = new QLabel(localizedText(titleKey), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* table = new CTransactionDetailTableView(this);
    table->setObjectName(QString::fromLatin1(name));
    table->setLinesModel(new TransactionLinesModel(side, table));
    table->setDetailDelegate(this);
    table->setMinimumHeight(84);
    table->setMaximumHeight(110);
    auto* insert = new QPushButton(localizedText("ADDLINE"), this);
    insert->setObjectName(QString::fromLatin1(name) + QStringLiteral("Insert"));
    auto* remove = new QPushButton(localizedText("REMOVELINE"), this);
    remove->setObjectName(QString::fromLatin1(name) + QStringLiteral("Remove"));
    for (QPushButton* button : {insert, remove}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(26, 22);
    }
    header->addWidget(title);
    header->addStretch(1);
    header->addWidget(insert);
    header->addWidget(remove);
    into->addSpacing(4);
    into->addLayout(header);
    into->addWidget(table);
    connect(insert, &QPushButton::clicked, this, [this, table, side] {
        if (!table->selectionModel() || !table->selectionModel()->hasSelection() || !mLogic.temporaryTransaction())
            return;
        // The line being typed is taken first; the keys that follow go
        // into the new line, which proposes what is left to balance.
        if (!table->endEditing())
            return;
        mLogic.addLineProposingTheRest(side);
        reloadTables();
        selectNewRow(-1, table);
    });
    connect(remove, &QPushButton::clicked, this, [this, table] {
        const QModelIndexList rows = table->selectionModel() ? table->selectionModel()->selectedRows()
                                                             : QModelIndexList();
        if (rows.isEmpty() || !mLogic.temporaryTransaction())
            return;
        if (const auto line = table->linesModel()->lineAt(rows.first().row())) {
            mNameField->setFocus(Qt::OtherFocusReason);
            mLogic.temporaryTransaction()->removeDetail(*line);
            reloadTables();
        }
    });
    return table;
}

void CCreateTransactionPopupController::addBelowLines(QWidget* widget)
{
    // Above the spacing and the buttons.
    mLayout->insertWidget(mLayout->count() - 2, widget);
}

void CCreateTransactionPopupController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    SheetDocument* document = mLogic.document();
    if (!document || !mLogic.temporaryTransaction())
        return;
    // The fields are filled from the new transaction, not the other way round.
    const QScopedValueRollback<bool> loading(mLoading, true);
    CDocAccounting* books = document->books();
    mCurrencyField->setArray(book_lists::currencies(books));
    mFromTable->setLists(book_lists::accounts(books), fourCC("AcnT"), book_lists::currencies(books));
    mToTable->setLists(book_lists::accounts(books), fourCC("AcnT"), book_lists::currencies(books));
    mForTable->setLists(book_lists::categories(books), fourCC("ExpT"),
                        book_lists::currencies(books));
    for (auto* table : {mFromTable, mToTable, mForTable}) {
        // A cell still open from an earlier opening belongs to its lines.
        table->discardEditing();
        table->linesModel()->setTransaction(mLogic.temporaryTransaction());
        table->setNewObjectCreationAsked(false);
    }
    observeDocument();
    loadFields();
    loadSchedule();
    currentTable = nullptr;
    // What is typed first replaces the proposed name.
    mNameField->setFocus(Qt::OtherFocusReason);
    mNameField->selectAll();
}

void CCreateTransactionPopupController::observeDocument()
{
    SheetDocument* document = mLogic.document();
    if (document == mObservedDocument)
        return;
    mSubscriptions.clear();
    mObservedDocument = document;
    NotificationCenter& centre = document->bridge().notificationCenter();
    mSubscriptions.push_back(centre.subscribe("transactionChanged", [this](const Notification&) { reloadTables(); }));
    auto created = [this](bool account) {
        return [this, account](const Notification& notification) {
            auto item = notification.objectAs<CNonVisualDataItem>();
            if (!item || !currentTable || !currentTable->newObjectCreationAsked())
                return;
            const bool forTable = currentTable == mForTable;
            if (account == forTable)
                return;
            auto arguments = std::make_shared<Dictionary>();
            arguments->set("NEWKEY", Value(static_cast<long>(item->getId().value_or(-1))));
            performCallback(forTable ? kSetForAccountId : currentTable == mFromTable ? kSetFromAccountId
                                                                                     : kSetToAccountId,
                            arguments);
        };
    };
    mSubscriptions.push_back(centre.subscribe("ACCOUNTCREATED", created(true)));
    mSubscriptions.push_back(centre.subscribe("CATEGORYCREATED", created(false)));
}

void CCreateTransactionPopupController::loadFields()
{
    const CTrnSItem& item = *mLogic.temporaryTransaction();
    mNameField->setText(QString::fromStdString(item.getName()));
    mDocumentField->setText(QString::fromStdString(item.mDocumentRef().value_or("")));
    if (const auto date = item.mDate(); date && *date > 0)
        mDateField->setDateT(static_cast<DateT>(*date));
    else
        mDateField->setToday();
    const QSignalBlocker block(mCurrencyField);
    mCurrencyField->clearValue();
    if (const auto currency = item.mCurrencyId())
        mCurrencyField->setId(*currency);
    const QSignalBlocker blockAmount(mAmountField);
    mAmountField->setValue(item.mTotalAmount());
}

void CCreateTransactionPopupController::storeFields()
{
    CTrnSItem* item = mLogic.temporaryTransaction().get();
    if (!item || mLoading)
        return;
    item->setGetName(mNameField->text().toStdString());
    item->setMDocumentRef(mDocumentField->text().toStdString());
    if (const DateT date = mDateField->getDateT(); date != 0)
        item->setMDate(date);
    item->setMCurrencyId(mCurrencyField->objectValue().value_or(0));
    item->setMTotalAmount(mAmountField->value().value_or(0.0));
    storeSchedule();
}

void CCreateTransactionPopupController::reloadTables()
{
    for (auto* table : {mFromTable, mToTable, mForTable})
        if (table->editedRow() < 0)
            table->linesModel()->reload();
}

bool CCreateTransactionPopupController::checkContents()
{
    if (!mLogic.temporaryTransaction())
        return false;
    storeFields();
    if (mLogic.checkContents(mNameField->text().toStdString()))
        return true;
    if (!mLogic.temporaryTransaction()->mCurrencyId().value_or(0))
        mCurrencyField->setFocus(Qt::OtherFocusReason);
    return false;
}

void CCreateTransactionPopupController::dialogClosed(int returnCode, const SheetParameters&)
{
    for (auto* table : {mFromTable, mToTable, mForTable})
        table->setNewObjectCreationAsked(false);
    mLogic.dialogClosed(returnCode);
}

void CCreateTransactionPopupController::controlOkClicked()
{
    mControlOkButton->setFocus(Qt::OtherFocusReason);
    if (!endEditingOfFields() || !checkContents())
        return;
    dialogClosed(kConfirmed, theDictionary());
    SheetParameters next;
    next.set(transaction_sheet_key::kDocument, mLogic.document());
    next.set(transaction_sheet_key::kAction, static_cast<long>(kActionCreate));
    next.set(transaction_sheet_key::kTransactionType, 3L);
    initialize(next);
}

FourCharCode CCreateTransactionPopupController::sideOf(const CTransactionDetailTableView* table) const
{
    return table == mFromTable ? kFromSide : table == mToTable ? kToSide : table == mForTable ? kForSide : 0;
}

void CCreateTransactionPopupController::setObjectIdT(long objectId, CTransactionDetailTableView* table, int row,
                                                     bool isAccount)
{
    CTrnSItem* item = mLogic.temporaryTransaction().get();
    if (!item)
        return;
    if (table == mFromTable)
        isAccount ? item->setFromAccountId(objectId, row) : item->setFromCurrencyId(objectId, row);
    else if (table == mToTable)
        isAccount ? item->setToAccountId(objectId, row) : item->setToCurrencyId(objectId, row);
    else if (table == mForTable)
        isAccount ? item->setExpenseTypeId(objectId, row) : item->setForCurrencyId(objectId, row);
    else
        return;
    table->linesModel()->reload();
}

void CCreateTransactionPopupController::setAmount(double amount, CTransactionDetailTableView* table, int row)
{
    if (const auto line = table->linesModel()->lineAt(row)) {
        line->setGetForeignAmount(amount);
        table->linesModel()->reload();
    }
}

CTransactionDetailTableView* CCreateTransactionPopupController::getNextControlForTable(
    CTransactionDetailTableView* table, int movement)
{
    if (!mLogic.temporaryTransaction() || !mLogic.temporaryTransaction()->getSourceItem())
        return nullptr;
    storeFields();
    const bool back = movement == kBacktabMovement;
    if (table == mFromTable) {
        if (back) {
            mDocumentField->setFocus(Qt::BacktabFocusReason);
            return mFromTable;
        }
        if (mLogic.completeSide(kFromSide)) {
            mFromTable->linesModel()->reload();
            goToTable(mFromTable, true, mFromTable);
            return mFromTable;
        }
        goToTable(mToTable, false, mFromTable);
        return mToTable;
    }
    if (table == mToTable) {
        if (back) {
            goToTable(mFromTable, true, mToTable);
            return mToTable;
        }
        if (mLogic.completeSide(kToSide)) {
            mToTable->linesModel()->reload();
            goToTable(mToTable, true, mToTable);
            return mToTable;
        }
        goToTable(mForTable, false, mToTable);
        return mForTable;
    }
    if (table == mForTable) {
        if (back) {
            goToTable(mToTable, true, mForTable);
        } else if (mLogic.completeSide(kForSide)) {
            mForTable->linesModel()->reload();
            goToTable(mForTable, true, mForTable);
        } else {
            mNameField->setFocus(Qt::TabFocusReason);
        }
        return mForTable;
    }
    return nullptr;
}

void CCreateTransactionPopupController::goToTable(CTransactionDetailTableView* target, bool atEnd,
                                                  CTransactionDetailTableView* source)
{
    if (!atEnd && target == mForTable) {
        mLogic.rebalanceCategories();
        mForTable->linesModel()->reload();
    }
    const int lastRow = target->linesModel()->rowCount() - 1;
    const int row = atEnd ? lastRow : 0;
    const int column = atEnd && target != source ? target->linesModel()->columnCount() - 1 : 0;
    target->setIbLeaving(true);
    target->setFocus(Qt::OtherFocusReason);
    target->editCell(row, column);
    target->setIbLeaving(false);
}

void CCreateTransactionPopupController::selectNewRow(int row, CTransactionDetailTableView* table)
{
    if (row < 0)
        row = table->linesModel()->rowCount() - 1;
    table->setIbLeaving(true);
    table->setFocus(Qt::OtherFocusReason);
    table->editCell(row, 0);
    table->setIbLeaving(false);
}

void CCreateTransactionPopupController::balanceTransactionDetailFromTable(CTransactionDetailTableView* table, int row)
{
    CTrnSItem* item = mLogic.temporaryTransaction().get();
    if (!item)
        return;
    if (table == mFromTable)
        item->balanceDebet(row);
    else if (table == mToTable)
        item->balanceCredit(row);
    else if (table == mForTable)
        item->balanceExpTypeDetail(row);
    table->linesModel()->reload();
}

void CCreateTransactionPopupController::createNewObjectForTable(CTransactionDetailTableView* table, int row)
{
    currentTable = table;
    curentRow = row;
    mNameField->setFocus(Qt::OtherFocusReason);
    if (!newObjectRequested || !mLogic.document())
        return;
    SheetParameters parameters;
    parameters.set(sheet_key::kDocument, mLogic.document());
    parameters.set(sheet_key::kDialogAction, static_cast<long>(kActionCreate));
    completeDialogParameters(parameters);
    newObjectRequested(table != mForTable, parameters);
}

void CCreateTransactionPopupController::tableGotFocus(CTransactionDetailTableView* table)
{
    for (auto* other : {mFromTable, mToTable, mForTable})
        if (other != table)
            other->clearSelection();
}

void CCreateTransactionPopupController::completeDialogParameters(SheetParameters& parameters)
{
    const char* selector = currentTable == mFromTable ? kSetFromAccountId
                           : currentTable == mToTable ? kSetToAccountId
                           : currentTable == mForTable ? kSetForAccountId
                                                       : nullptr;
    if (!selector)
        return;
    parameters.set(sheet_key::kCallbackObject, static_cast<CallbackReceiver*>(this));
    parameters.set(sheet_key::kCallbackSelectorName, std::string(selector));
}

bool CCreateTransactionPopupController::performCallback(std::string_view selectorName,
                                                        const std::shared_ptr<Dictionary>& arguments)
{
    CTransactionDetailTableView* table = selectorName == kSetFromAccountId ? mFromTable
                                         : selectorName == kSetToAccountId ? mToTable
                                         : selectorName == kSetForAccountId ? mForTable
                                                                            : nullptr;
    if (!table)
        return false;
    CTrnSItem* item = mLogic.temporaryTransaction().get();
    if (!arguments || !item)
        return true;
    const long newKey = (*arguments)["NEWKEY"].toLong();
    if (table == mFromTable)
        item->setFromAccountId(newKey, curentRow + 1);
    else if (table == mToTable)
        item->setToAccountId(newKey, curentRow + 1);
    else
        item->setExpenseTypeId(newKey, curentRow + 1);
    table->setNewObjectCreationAsked(false);
    table->linesModel()->reload();
    selectNewRow(curentRow, table);
    return true;
}

} // namespace ch
