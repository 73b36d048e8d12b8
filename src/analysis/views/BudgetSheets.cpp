#include "analysis/views/BudgetSheets.h"

#include <array>
#include <utility>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "analysis/BudgetPageModel.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CBuDxItem.h"
#include "bridge/BudgetText.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "document/MyDocument.h"
#include "document/arguments/BudgetArguments.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"
#include "model/foundation/CDate.h"
#include "bridge/CNumericTransformer.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/localized_text.h"

namespace ch {
namespace {

QString amountText(std::optional<double> amount)
{
    return QString::fromStdString(CNSNumberAmountTBridge::NSNumberToNSString(amount.value_or(0.0)));
}

// None for an empty field, and for text that does not read (which OK
// refuses before anything reads it).
std::optional<double> amountOf(const QLineEdit* field)
{
    const CNumericTransformer::Conversion conversion = CNumericTransformer().getObjectValue(field->text().toStdString());
    return conversion.ok ? conversion.value : std::nullopt;
}

// An empty text for a date never set (0).
QString dateText(std::optional<long> date)
{
    if (!date || *date <= 0) return {};
    return QString::fromStdString(CNSStringDateTBridge::dateTToNSString(static_cast<DateT>(*date)));
}

// A field that only shows its value looks like a text, not like a field to
// type into.
void showOnly(QLineEdit* field)
{
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFocusPolicy(Qt::NoFocus);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
}

// A date the sheet shows and does not take back.
QLineEdit* dateField()
{
    auto* field = new QLineEdit;
    showOnly(field);
    return field;
}

constexpr const char* kAmountFieldProperty = "budgetAmountField";

QLineEdit* amountField(bool editable = true)
{
    auto* field = new QLineEdit;
    field->setAlignment(Qt::AlignRight);
    if (!editable) showOnly(field);
    field->setProperty(kAmountFieldProperty, true);
    return field;
}

void fillAccounts(QComboBox* popup, MyDocument& document)
{
    popup->clear();
    popup->addItem(QString(), QVariant());
    for (const std::shared_ptr<CAcnTItem>& account : document.allAccounts())
        popup->addItem(QString::fromStdString(account->getName()),
                       QVariant::fromValue<qlonglong>(account->getId().value_or(0)));
}

void fillCategories(QComboBox* popup, MyDocument& document)
{
    popup->clear();
    popup->addItem(QString(), QVariant());
    CNamedListArray* categories = document.getExpenseTypeList();
    const auto count = categories ? static_cast<ArrayIndexT>(categories->GetCount()) : 0;
    for (ArrayIndexT i = 1; i <= count; ++i) {
        auto* category = static_cast<CNonVisual*>(categories->ObjectAt(i));
        popup->addItem(QString::fromStdString(budgetObjectName(category)),
                       QVariant::fromValue<qlonglong>(category->Get_Id()));
    }
}

// A pop-up that shows its choice but cannot be changed.
void fixPopup(QComboBox* popup, bool fixed)
{
    popup->setEnabled(!fixed);
}

QString monthTitle(const BudgetSheetContext& context)
{
    return context.header
               ? QString::fromStdString(context.header->budgetTitleForColum(std::to_string(context.month)).value_or(""))
               : QString();
}

} // namespace

std::optional<long> chosenId(const QComboBox* popup)
{
    const QVariant data = popup->currentData();
    if (!data.isValid()) return std::nullopt;
    return static_cast<long>(data.toLongLong());
}

void chooseId(QComboBox* popup, std::optional<long> id)
{
    const int index = id ? popup->findData(QVariant::fromValue<qlonglong>(*id)) : 0;
    popup->setCurrentIndex(index < 0 ? 0 : index);
}

// --- base

BudgetSheet::BudgetSheet(QWidget* parent) : Sheet(parent)
{
    auto* layout = new QVBoxLayout(this);
    mForm = new QFormLayout;
    layout->addLayout(mForm);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &BudgetSheet::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { endSheet(kCancelled); });
    layout->addWidget(buttons);
}

void BudgetSheet::initialize(BudgetSheetContext& context)
{
    mContext = &context;
    mContext->methodParam.reset();
}

void BudgetSheet::ok()
{
    if (mContext && amountsReadable() && checkContents()) endSheet(kConfirmed);
}

bool BudgetSheet::amountsReadable()
{
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        if (!field->property(kAmountFieldProperty).toBool() || field->isReadOnly() || !field->isVisibleTo(this))
            continue;
        // Text that does not read is never taken as 0: the plan stays as it was.
        const CNumericTransformer::Conversion conversion =
            CNumericTransformer().getObjectValue(field->text().toStdString());
        if (conversion.ok) continue;
        Alert alert;
        alert.title = localized("ERROR");
        alert.message = conversion.errorDescription;
        alert.defaultButton = localized("OK");
        alertPresenter().showError(alert);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return false;
    }
    return true;
}

// --- new budget

CNewBudgetController::CNewBudgetController(QWidget* parent) : BudgetSheet(parent)
{
    setWindowTitle(localizedText("NewBud"));
    budgetBaseMatrix = new QButtonGroup(this);
    budgetPeriodMatrix = new QButtonGroup(this);
    auto* bases = new QVBoxLayout;
    for (int tag = 0; tag <= 4; ++tag) {
        auto* button = new QRadioButton(localizedText("BUDGETBASE" + std::to_string(tag)));
        budgetBaseMatrix->addButton(button, tag);
        bases->addWidget(button);
    }
    auto* periods = new QVBoxLayout;
    for (int tag = 0; tag <= 4; ++tag) {
        auto* button = new QRadioButton(localizedText("BUDGETPERIOD" + std::to_string(tag)));
        budgetPeriodMatrix->addButton(button, tag);
        periods->addWidget(button);
    }
    baseMonthField = new QLineEdit;
    previousBudgetPopup = new QComboBox;
    budgetNameField = new QLineEdit;
    budgetCommentField = new QLineEdit;
    form()->addRow(localizedText("BUDGETNAMELABEL"), budgetNameField);
    form()->addRow(localizedText("BUDGETCOMMENTLABEL"), budgetCommentField);
    form()->addRow(localizedText("BUDGETBASELABEL"), bases);
    form()->addRow(localizedText("BUDGETBASEMONTHLABEL"), baseMonthField);
    form()->addRow(localizedText("BUDGETPREVIOUSLABEL"), previousBudgetPopup);
    form()->addRow(localizedText("BUDGETPERIODLABEL"), periods);
}

void CNewBudgetController::initialize(BudgetSheetContext& context)
{
    BudgetSheet::initialize(context);
    const DateT today = CDate::GetNowAsDateT();
    baseMonthField->setText(QString::fromStdString(CNSStringDateTBridge::dateTToNSString(today - 10000)));
    budgetNameField->clear();
    budgetCommentField->clear();
    budgetBaseMatrix->button(budget_base::kLastYear)->setChecked(true);
    budgetPeriodMatrix->button(budget_period::kNextYear)->setChecked(true);
    previousBudgetPopup->clear();
    previousBudgetPopup->addItem(QString(), QVariant());
    if (context.document)
        for (const std::shared_ptr<CBuDhItem>& budget : context.document->mBudgetArray())
            previousBudgetPopup->addItem(QString::fromStdString(budget->getName()),
                                         QVariant::fromValue<qlonglong>(budget->getId().value_or(0)));
    budgetNameField->setFocus();
}

bool CNewBudgetController::checkContents()
{
    const std::string name = budgetNameField->text().toStdString();
    const BudgetBaseT base = budgetBaseMatrix->checkedId();
    const BudgetPeriodT period = budgetPeriodMatrix->checkedId();
    const DateT month = CNSStringDateTBridge::NSStringToDateT(baseMonthField->text().toStdString());
    const std::optional<long> previous = chosenId(previousBudgetPopup);
    if (int error = budget_page::checkNewBudget(name, base, period, month, previous)) {
        CErrorManager::RaiseError(error);
        return false;
    }
    mBudgetBaseT = base;
    mBudgetPeriodT = period;
    mBaseBudgetMonth = month;
    mBaseBudgetId = previous;
    mBudgetDescription = budgetCommentField->text().toStdString();
    mBudgetName = name;
    return true;
}

// --- budget

CModifyBudgetController::CModifyBudgetController(QWidget* parent) : BudgetSheet(parent)
{
    idField = new QLabel;
    doNotUpdateCheck = new QCheckBox(localizedText("BUDGETDONOTUPDATE"));
    nameField = new QLineEdit;
    commentField = new QLineEdit;
    periodFromField = dateField();
    periodToField = dateField();
    createdOnField = dateField();
    modifiedOnField = dateField();
    actualsUpdatedOnField = dateField();
    openingBudgetField = amountField(false);
    closingBudgetField = amountField(false);
    openingActualsField = amountField(false);
    closingActualsField = amountField(false);
    form()->addRow(localizedText("BUDGETNAMELABEL"), nameField);
    form()->addRow(localizedText("BUDGETCOMMENTLABEL"), commentField);
    form()->addRow(QString(), doNotUpdateCheck);
    form()->addRow(localizedText("BUDGETIDLABEL"), idField);

    auto* period = new QHBoxLayout;
    for (QLineEdit* date : {periodFromField, periodToField})
        date->setFixedWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    period->addWidget(periodFromField);
    period->addWidget(new QLabel(localizedText("BUDGETPERIODTO")));
    period->addWidget(periodToField);
    period->addStretch(1);
    form()->addRow(localizedText("BUDGETPERIODSLABEL"), period);
    form()->addRow(localizedText("BUDGETCREATEDONLABEL"), createdOnField);
    form()->addRow(localizedText("BUDGETMODIFIEDONLABEL"), modifiedOnField);
    form()->addRow(localizedText("BUDGETACTUALSONLABEL"), actualsUpdatedOnField);

    // Planned beside actual, opening above closing.
    auto* totals = new QGridLayout;
    const std::array<std::pair<const char*, QLineEdit*>, 4> cells{{{"START", openingBudgetField},
                                                                  {"ACTSTART", openingActualsField},
                                                                  {"BUDEND", closingBudgetField},
                                                                  {"ACTEND", closingActualsField}}};
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int row = static_cast<int>(i / 2);
        const int column = static_cast<int>(i % 2) * 2;
        totals->addWidget(new QLabel(localizedText(cells[i].first)), row, column, Qt::AlignRight);
        totals->addWidget(cells[i].second, row, column + 1);
    }
    form()->addRow(totals);
}

void CModifyBudgetController::initialize(BudgetSheetContext& context)
{
    BudgetSheet::initialize(context);
    const CBuDhItem& budget = *context.header;
    commentField->setText(QString::fromStdString(budget.mComment().value_or("")));
    doNotUpdateCheck->setChecked(budget.mBlocked());
    idField->setText(QString::number(budget.getId().value_or(0)));
    periodFromField->setText(dateText(budget.mStartDate()));
    periodToField->setText(dateText(budget.mEndDate()));
    modifiedOnField->setText(dateText(budget.mAangepastOp()));
    createdOnField->setText(dateText(budget.mAangemaaktOp()));
    actualsUpdatedOnField->setText(dateText(budget.mBerekendOp()));
    // What the budget's accounts hold together at its first and last day.
    using namespace budget_item;
    openingBudgetField->setText(amountText(budget_page::accountTotal(budget, kBudgetStart, 0)));
    closingBudgetField->setText(amountText(budget_page::accountTotal(budget, kBudgetEnd, 11)));
    openingActualsField->setText(amountText(budget_page::accountTotal(budget, kActualStart, 0)));
    closingActualsField->setText(amountText(budget_page::accountTotal(budget, kActualEnd, 11)));
    nameField->setText(QString::fromStdString(budget.getName()));
    nameField->setFocus();
}

bool CModifyBudgetController::checkContents()
{
    mContext->methodParam = std::make_shared<arguments::ModifyBudgetHeaderArguments>(
        nameField->text().toStdString(), commentField->text().toStdString(), doNotUpdateCheck->isChecked());
    return true;
}

// --- one month of a budget line

CModifyBudgetDetailController::CModifyBudgetDetailController(QWidget* parent) : BudgetSheet(parent)
{
    budgetMonthField = new QLabel;
    doNotUpdateCheck = new QCheckBox(localizedText("BUDGETDONOTUPDATE"));
    accountPopupField = new QComboBox;
    fixPopup(accountPopupField, true);
    commentField = new QLineEdit;
    form()->addRow(localizedText("BUDGETMONTHLABEL"), budgetMonthField);
    form()->addRow(localizedText("PopupLabelAcnT"), accountPopupField);
    for (std::size_t figure = 0; figure < figureFields.size(); ++figure) {
        const bool editable = figure >= budget_item::kBudgetIn && figure <= budget_item::kBudgetExtraOut;
        figureFields[figure] = amountField(editable);
    }
    const auto& accountRows = budget_page::rows(true);
    for (std::size_t row = 0; row + 1 < accountRows.size(); ++row)
        form()->addRow(localizedText(accountRows[row].labelKey), figureFields[accountRows[row].figure]);
    form()->addRow(localizedText("BUDGETCOMMENTLABEL"), commentField);
    form()->addRow(QString(), doNotUpdateCheck);
}

void CModifyBudgetDetailController::initialize(BudgetSheetContext& context)
{
    BudgetSheet::initialize(context);
    CBuDdItem& line = *context.detail;
    const bool account = line.isAccountBudget();
    if (context.document) {
        if (account) fillAccounts(accountPopupField, *context.document);
        else fillCategories(accountPopupField, *context.document);
    }
    chooseId(accountPopupField, line.budgettedId());
    budgetMonthField->setText(monthTitle(context));
    commentField->setText(QString::fromStdString(line.mComment().value_or("")));
    doNotUpdateCheck->setChecked(line.getMBlocked(context.month));
    for (std::size_t figure = 0; figure < figureFields.size(); ++figure)
        figureFields[figure]->setText(amountText(line.getBudgettedAmountWithType(static_cast<long>(figure), context.month)));
    // A category moves money one way only: its out fields stay hidden (and filled).
    for (BudgetItemTypeT figure : {budget_item::kBudgetOut, budget_item::kBudgetExtraOut, budget_item::kActualOut,
                                   budget_item::kXtraActualOut}) {
        figureFields[figure]->setVisible(account);
        if (QWidget* label = form()->labelForField(figureFields[figure])) label->setVisible(account);
    }
    if (QWidget* label = form()->labelForField(budgetToField()))
        static_cast<QLabel*>(label)->setText(localizedText(account ? "ToLabelAcnT" : "ToLabelExpT"));
    if (QWidget* label = form()->labelForField(budgetXToField()))
        static_cast<QLabel*>(label)->setText(localizedText(account ? "XToLabelAcnT" : "XToLabelExpT"));
    if (QWidget* label = form()->labelForField(accountPopupField))
        static_cast<QLabel*>(label)->setText(localizedText(account ? "PopupLabelAcnT" : "PopupLabelExpT"));
}

bool CModifyBudgetDetailController::checkContents()
{
    const auto to = amountOf(budgetToField()), xTo = amountOf(budgetXToField());
    const auto from = amountOf(budgetFromField()), xFrom = amountOf(budgetXFromField());
    if (!to || !xTo || !from || !xFrom) {
        CErrorManager::RaiseError(242);
        return false;
    }
    mContext->methodParam = std::make_shared<arguments::ModifyBudgetDetailArguments>(
        *from, *xFrom, *to, *xTo, commentField->text().toStdString(), doNotUpdateCheck->isChecked(), mContext->month);
    return true;
}

// --- cross-references

CBudgetXRefSheetController::CBudgetXRefSheetController(QWidget* parent) : BudgetSheet(parent)
{
    budgetMonthField = new QLabel;
    doNotUpdateCheck = new QCheckBox(localizedText("BUDGETDONOTUPDATE"));
    accountPopupField = new QComboBox;
    reasonCodePopupField = new QComboBox;
    budgetToField = amountField();
    budgetXToField = amountField();
    budgetFromField = amountField();
    budgetXFromField = amountField();
    actualToField = amountField(false);
    actualXToField = amountField(false);
    actualFromField = amountField(false);
    actualXFromField = amountField(false);
    commentField = new QLineEdit;
    copyXRefButton = new QCheckBox(localizedText("BUDGETCOPYXREF"));
    periodFromField = new QSpinBox;
    periodToField = new QSpinBox;
    for (QSpinBox* period : {periodFromField, periodToField}) period->setRange(0, 13);
    form()->addRow(localizedText("BUDGETMONTHLABEL"), budgetMonthField);
    form()->addRow(localizedText("PopupLabelAcnT"), accountPopupField);
    form()->addRow(localizedText("PopupLabelExpT"), reasonCodePopupField);
    form()->addRow(localizedText("BUDIN"), budgetToField);
    form()->addRow(localizedText("BUD1IN"), budgetXToField);
    form()->addRow(localizedText("BUDOUT"), budgetFromField);
    form()->addRow(localizedText("BUD1OUT"), budgetXFromField);
    form()->addRow(localizedText("ACTIN"), actualToField);
    form()->addRow(localizedText("ACT1IN"), actualXToField);
    form()->addRow(localizedText("ACTOUT"), actualFromField);
    form()->addRow(localizedText("ACT1OUT"), actualXFromField);
    form()->addRow(localizedText("BUDGETCOMMENTLABEL"), commentField);
    form()->addRow(QString(), doNotUpdateCheck);
    form()->addRow(copyXRefButton);
    form()->addRow(localizedText("BUDGETPERIODFROMLABEL"), periodFromField);
    form()->addRow(localizedText("BUDGETPERIODTOLABEL"), periodToField);
}

void CBudgetXRefSheetController::initialize(BudgetSheetContext& context)
{
    BudgetSheet::initialize(context);
    if (context.document) {
        fillAccounts(accountPopupField, *context.document);
        fillCategories(reasonCodePopupField, *context.document);
    }
    budgetMonthField->setText(monthTitle(context));
    doNotUpdateCheck->setChecked(context.xref && context.xref->getMBlocked());
    copyXRefButton->setChecked(false);
    periodFromField->setValue(1);
    periodToField->setValue(12);
    commentField->clear();
    budgetToField->setFocus();
    initializeFieldsFromXRef();
}

void CBudgetXRefSheetController::initializeFieldsFromXRef()
{
    const CBuDxItem& xref = *mContext->xref;
    chooseId(accountPopupField, xref.accountId());
    chooseId(reasonCodePopupField, xref.reasonId());
    // The change applies to this account and category: neither is chosen here.
    fixPopup(accountPopupField, true);
    fixPopup(reasonCodePopupField, true);
    commentField->setText(QString::fromStdString(xref.mComment().value_or("")));
    budgetFromField->setText(amountText(xref.mBudgetFrom()));
    budgetXFromField->setText(amountText(xref.mXtraBudgetFrom()));
    budgetToField->setText(amountText(xref.mBudgetTo()));
    budgetXToField->setText(amountText(xref.mXtraBudgetTo()));
    actualFromField->setText(amountText(xref.mActualFrom()));
    actualXFromField->setText(amountText(xref.mXtraActualFrom()));
    actualToField->setText(amountText(xref.mActualTo()));
    actualXToField->setText(amountText(xref.mXtraActualTo()));
}

std::shared_ptr<CArgumentAncestor> CBudgetXRefSheetController::makeArguments(double from, double xFrom, double to,
                                                                             double xTo, std::string comment,
                                                                             bool blocked, int month, int first,
                                                                             int last)
{
    return std::make_shared<arguments::ModifyBudgetXRefArguments>(from, xFrom, to, xTo, std::move(comment), blocked,
                                                                  month, first, last);
}

bool CBudgetXRefSheetController::checkContents()
{
    const std::optional<long> category = chosenId(reasonCodePopupField);
    const auto to = amountOf(budgetToField), xTo = amountOf(budgetXToField);
    const auto from = amountOf(budgetFromField), xFrom = amountOf(budgetXFromField);
    const bool transfer = category && mContext->document && mContext->document->isTransferReasonCodeId(*category);
    if (int error = budget_page::checkXRef(chosenId(accountPopupField), category, to && xTo && from && xFrom,
                                           transfer)) {
        CErrorManager::RaiseError(error);
        return false;
    }
    const auto [first, last] = budget_page::xrefRange(mContext->month, copyXRefButton->isChecked(),
                                                      periodFromField->value(), periodToField->value());
    mContext->methodParam = makeArguments(*from, *xFrom, *to, *xTo, commentField->text().toStdString(),
                                          doNotUpdateCheck->isChecked(), mContext->month, first, last);
    return true;
}

CCreateBudgetXRefSheetController::CCreateBudgetXRefSheetController(QWidget* parent)
    : CBudgetXRefSheetController(parent)
{
}

void CCreateBudgetXRefSheetController::initializeFieldsFromXRef()
{
    const bool account = mContext->accountLine;
    const std::optional<long> own = mContext->lineId;
    chooseId(accountPopupField, account ? own : std::nullopt);
    chooseId(reasonCodePopupField, account ? std::nullopt : own);
    fixPopup(accountPopupField, account);
    fixPopup(reasonCodePopupField, !account);
    commentField->clear();
    for (QLineEdit* field : {budgetFromField, budgetXFromField, budgetToField, budgetXToField, actualFromField,
                             actualXFromField, actualToField, actualXToField})
        field->setText(amountText(0.0));
}

std::shared_ptr<CArgumentAncestor> CCreateBudgetXRefSheetController::makeArguments(double from, double xFrom,
                                                                                   double to, double xTo,
                                                                                   std::string comment, bool blocked,
                                                                                   int month, int first, int last)
{
    return std::make_shared<arguments::NewBudgetXRefArguments>(from, xFrom, to, xTo, std::move(comment), blocked,
                                                               month, first, last,
                                                               chosenId(accountPopupField).value_or(0),
                                                               chosenId(reasonCodePopupField).value_or(0));
}

// --- transfer

CTransferBudgetXRefSheetController::CTransferBudgetXRefSheetController(QWidget* parent) : BudgetSheet(parent)
{
    accountPopupField = new QComboBox;
    toAccountPopupField = new QComboBox;
    reasonCodePopupField = new QComboBox;
    budgetToField = amountField();
    form()->addRow(localizedText("BUDGETFROMACCOUNTLABEL"), accountPopupField);
    form()->addRow(localizedText("BUDGETTOACCOUNTLABEL"), toAccountPopupField);
    form()->addRow(localizedText("PopupLabelExpT"), reasonCodePopupField);
    form()->addRow(localizedText("BUDGETAMOUNTLABEL"), budgetToField);
}

void CTransferBudgetXRefSheetController::initialize(BudgetSheetContext& context)
{
    BudgetSheet::initialize(context);
    if (context.document) {
        fillAccounts(accountPopupField, *context.document);
        fillAccounts(toAccountPopupField, *context.document);
        fillCategories(reasonCodePopupField, *context.document);
    }
    const bool account = context.accountLine;
    const std::optional<long> own = context.lineId;
    chooseId(accountPopupField, account ? own : std::nullopt);
    chooseId(reasonCodePopupField, account ? std::nullopt : own);
    chooseId(toAccountPopupField, std::nullopt);
    // A sheet used before must not offer the last amount again.
    budgetToField->setText(amountText(0.0));
    budgetToField->setFocus();
}

bool CTransferBudgetXRefSheetController::checkContents()
{
    MyDocument* document = mContext->document;
    const std::optional<long> from = chosenId(accountPopupField);
    const std::optional<long> to = chosenId(toAccountPopupField);
    const std::optional<long> category = chosenId(reasonCodePopupField);
    const std::optional<double> amount = amountOf(budgetToField);
    const int error = budget_page::checkTransfer(
        amount, from, to, category, from && document && document->isTransferableAccountId(*from),
        to && document && document->isTransferableAccountId(*to),
        category && document && document->isTransferReasonCodeId(*category));
    if (error) {
        CErrorManager::RaiseError(error);
        return false;
    }
    mContext->methodParam =
        std::make_shared<arguments::TransferBudgetXRefArguments>(*amount, mContext->month, *from, *category, *to);
    return true;
}

} // namespace ch
