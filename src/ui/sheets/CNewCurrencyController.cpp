#include "ui/sheets/CNewCurrencyController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

#include "bridge/CCurRItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

namespace {

void showId(CPopupList* popup, const std::optional<long>& id)
{
    popup->clearValue();
    if (id)
        popup->setId(*id);
}

} // namespace

CNewCurrencyController::CNewCurrencyController(QWidget* parent) : CNewCurrencyController(parent, false) {}

CNewCurrencyController::CNewCurrencyController(QWidget* parent, bool share)
    : CPopupWindowAncestor(parent), mLogic(share)
{
    setObjectName(share ? QStringLiteral("NewShare") : QStringLiteral("NewCurrency"));
    setWindowTitle(localizedText(share ? "SHARESHEETTITLE" : "CURRENCYSHEETTITLE"));

    mForm = makeSheetForm();
    idField = addSheetRow(mForm, "FIELDID", makeValueLabel(this), "idField");
    symbolField = addSheetRow(mForm, "FIELDSYMBOL", new CTextField(this, 34), "symbolField");
    fullNameField = addSheetRow(mForm, "FIELDFULLNAME", new CTextField(this, 254), "fullNameField");
    baseCurrencyPopup = addSheetRow(mForm, "FIELDBASECURRENCY", new CPopupList(this), "baseCurrencyPopup");

    // "1 NEW = 1.00 EUR": the quantity of this currency worth the rate in its base.
    auto* rate = new QWidget(this);
    auto* rateRow = new QHBoxLayout(rate);
    rateRow->setContentsMargins(0, 0, 0, 0);
    conversionQuantityField = new CAmountField(rate);
    conversionQuantityField->setObjectName(QStringLiteral("conversionQuantityField"));
    conversionQuantityField->setMaximumWidth(70);
    mSymbolName = new QLabel(rate);
    conversionFactorField = new CAmountField(rate);
    conversionFactorField->setObjectName(QStringLiteral("conversionFactorField"));
    conversionFactorField->setMaximumWidth(110);
    mBaseCurrencyName = new QLabel(rate);
    mBaseCurrencyName->setObjectName(QStringLiteral("mBaseCurrencyName"));
    rateRow->addWidget(conversionQuantityField);
    rateRow->addWidget(mSymbolName);
    rateRow->addWidget(new QLabel(QStringLiteral("="), rate));
    rateRow->addWidget(conversionFactorField);
    rateRow->addWidget(mBaseCurrencyName);
    rateRow->addStretch(1);
    mForm->addRow(localizedText("FIELDFACTOR"), rate);

    fluctuationsPLAccountPopup =
        addSheetRow(mForm, "FIELDFLUCTUATIONACCOUNT", new CPopupList(this), "fluctuationsPLAccountPopup");
    fluctuationsReasonsPopup =
        addSheetRow(mForm, "FIELDFLUCTUATIONCATEGORY", new CPopupList(this), "fluctuationsReasonsPopup");
    internetSymbol = addSheetRow(mForm, "FIELDINTERNETSYMBOL", new CTextField(this, 34), "internetSymbol");
    symbolField->setMinimumWidth(260);
    for (CPopupList* popup : {baseCurrencyPopup, fluctuationsPLAccountPopup, fluctuationsReasonsPopup}) {
        watchPopup(popup);
        swallowReturnIn(popup);
    }
    connect(symbolField, &QLineEdit::textChanged, mSymbolName, &QLabel::setText);
    connect(baseCurrencyPopup, &QComboBox::currentTextChanged, this, [this] { showBaseCurrencyName(); });

    mLayout = new QVBoxLayout(this);
    mLayout->setContentsMargins(20, 18, 20, 14);
    mLayout->addLayout(mForm);
    mLayout->addSpacing(8);
    mLayout->addLayout(makeButtonRow(5));
}

void CNewCurrencyController::addForm(QFormLayout* form)
{
    // Above the spacing and the buttons.
    mLayout->insertLayout(mLayout->count() - 2, form);
    alignFormLabels({mForm, form});
}

void CNewCurrencyController::showBaseCurrencyName()
{
    mBaseCurrencyName->setText(baseCurrencyPopup->currentText());
}

void CNewCurrencyController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    if (!mLogic.document())
        return;
    fillPopups();
    loadFields();
    conversionQuantityField->setEnabled(mLogic.isNewCurrency());
    conversionFactorField->setEnabled(mLogic.isNewCurrency());
    symbolField->setFocus(Qt::OtherFocusReason);
}

void CNewCurrencyController::fillPopups()
{
    CDocAccounting* books = mLogic.document()->books();
    baseCurrencyPopup->setArray(book_lists::currencies(books));
    fluctuationsPLAccountPopup->setArray(book_lists::profitAndLossAccounts(books));
    fluctuationsReasonsPopup->setArray(book_lists::categories(books));
}

void CNewCurrencyController::loadFields()
{
    const CurrencySheetValues& v = mLogic.values();
    const auto& item = mLogic.itemToModify();
    idField->setText(item && item->getId() ? QString::number(*item->getId()) : QString());
    symbolField->setText(QString::fromStdString(v.symbol));
    fullNameField->setText(QString::fromStdString(v.fullName));
    internetSymbol->setText(QString::fromStdString(v.internetSymbol));
    showId(baseCurrencyPopup, v.baseCurrencyId);
    showBaseCurrencyName();
    conversionQuantityField->setValue(v.quantity ? std::optional<double>(static_cast<double>(*v.quantity))
                                                 : std::nullopt);
    conversionFactorField->setValue(v.factor);
    showId(fluctuationsPLAccountPopup, v.fluctuationAccountId);
    showId(fluctuationsReasonsPopup, v.fluctuationCategoryId);
}

void CNewCurrencyController::storeFields()
{
    CurrencySheetValues& v = mLogic.values();
    v.symbol = symbolField->text().trimmed().toStdString();
    v.fullName = fullNameField->text().trimmed().toStdString();
    v.internetSymbol = internetSymbol->text().trimmed().toStdString();
    v.baseCurrencyId = baseCurrencyPopup->objectValue();
    const std::optional<double> quantity = conversionQuantityField->value();
    // A part of a unit is no quantity.
    v.quantity = quantity ? std::optional<long>(static_cast<long>(std::floor(*quantity))) : std::nullopt;
    v.factor = conversionFactorField->value();
    v.fluctuationAccountId = fluctuationsPLAccountPopup->objectValue();
    v.fluctuationCategoryId = fluctuationsReasonsPopup->objectValue();
}

bool CNewCurrencyController::checkContents()
{
    if (!mLogic.document())
        return false;
    storeFields();
    return mLogic.checkContents();
}

void CNewCurrencyController::dialogClosed(int returnCode, const SheetParameters& context)
{
    mLogic.dialogClosed(returnCode, context);
}

} // namespace ch
