#include "ui/sheets/CNewAccountController.h"

#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "bridge/CAcnTItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

std::optional<std::string> textOf(const QLineEdit* field)
{
    return field->text().toStdString();
}

} // namespace

CNewAccountController::CNewAccountController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("newAccount"));
    setWindowTitle(localizedText("ACCOUNTSHEETTITLE"));

    auto* top = makeSheetForm();
    idField = addSheetRow(top, "FIELDID", makeValueLabel(this), "idField");
    nameField = addSheetRow(top, "FIELDNAME", new CTextField(this, 34), "nameField");
    accountTypePopup = addSheetRow(top, "FIELDACCOUNTTYPE", new CPopupList(this), "accountTypePopup");
    currencyPopup = addSheetRow(top, "FIELDCURRENCY", new CPopupList(this), "currencyPopup");
    ownerPopup = addSheetRow(top, "FIELDOWNER", new CPopupList(this), "ownerPopup");
    bankAccountNumberField = addSheetRow(top, "FIELDBANKACCOUNTNR", new CTextField(this, 34), "bankAccountNumberField");
    descriptionField = addSheetRow(top, "FIELDDESCRIPTION", new CTextField(this, 254), "descriptionField");

    tabView = new QStackedWidget(this);
    tabView->setObjectName(QStringLiteral("tabView"));
    auto* ordinary = new QWidget(tabView);
    auto* ordinaryForm = makeSheetForm();
    ordinaryForm->setContentsMargins(0, 0, 0, 0);
    classifiactionNumber = addSheetRow(ordinaryForm, "FIELDACCOUNTINGNR", new CTextField(ordinary, 34), "classifiactionNumber");
    defaultExpensetypePopup = addSheetRow(ordinaryForm, "FIELDDEFAULTCATEGORY", new CPopupList(ordinary), "defaultExpensetypePopup");
    fiscalPctField = addSheetRow(ordinaryForm, "FIELDFISCALPCT", new CAmountField(ordinary), "fiscalPctField");
    newBalanceField = addSheetRow(ordinaryForm, "FIELDNEWBALANCE", new CAmountField(ordinary), "newBalanceField");
    localBalance = addSheetRow(ordinaryForm, "FIELDBALANCE", makeValueLabel(ordinary), "localBalance");
    foreingBalance = addSheetRow(ordinaryForm, "FIELDFOREIGNBALANCE", makeValueLabel(ordinary), "foreingBalance");
    ordinary->setLayout(ordinaryForm);
    auto* card = new QWidget(tabView);
    auto* cardForm = makeSheetForm();
    cardForm->setContentsMargins(0, 0, 0, 0);
    creditCardNameField = addSheetRow(cardForm, "FIELDCARDNAME", new CTextField(card, 34), "creditCardNameField");
    card->setLayout(cardForm);
    // The card shows the account's name; it is typed in the name field.
    creditCardNameField->setReadOnly(true);
    connect(nameField, &QLineEdit::textChanged, creditCardNameField, &QLineEdit::setText);
    tabView->addWidget(ordinary);
    tabView->addWidget(card);

    for (CPopupList* popup : {accountTypePopup, currencyPopup, ownerPopup, defaultExpensetypePopup}) {
        watchPopup(popup);
        swallowReturnIn(popup);
    }
    for (QWidget* field : std::initializer_list<QWidget*>{nameField, creditCardNameField, classifiactionNumber,
                                                          bankAccountNumberField, descriptionField, fiscalPctField,
                                                          newBalanceField})
        field->setMinimumWidth(240);

    alignFormLabels({top, ordinaryForm, cardForm});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(top);
    layout->addWidget(tabView);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(2));
}

void CNewAccountController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    if (!mLogic.document())
        return;
    fillPopups();
    loadFields();
    tabView->setCurrentIndex(mLogic.page());
    nameField->setFocus(Qt::OtherFocusReason);
}

void CNewAccountController::fillPopups()
{
    CDocAccounting* books = mLogic.document()->books();
    accountTypePopup->setArray(mLogic.listsAccountTypes() ? book_lists::accountTypes(books) : nullptr);
    accountTypePopup->setEnabled(mLogic.accountTypeChoosable());
    currencyPopup->setArray(book_lists::currencies(books));
    ownerPopup->setArray(book_lists::owners(books));
    defaultExpensetypePopup->setArray(book_lists::categories(books));
}

void CNewAccountController::loadFields()
{
    const CAcnTItem& item = *mLogic.temporaryItem();
    idField->setText(item.getId() ? QString::number(*item.getId()) : QString());
    nameField->setText(qs(item.getNameOnly()));
    creditCardNameField->setText(qs(item.getNameOnly()));
    classifiactionNumber->setText(qs(item.getAccountNumber()));
    descriptionField->setText(qs(item.getDescription()));
    bankAccountNumberField->setText(qs(item.getBankAccountNumber()));
    for (auto [popup, id] : {std::pair{accountTypePopup, item.getAccountTypeId()},
                             std::pair{currencyPopup, item.getCurrencyId()},
                             std::pair{ownerPopup, item.getAccountOwnerId()},
                             std::pair{defaultExpensetypePopup, item.getDefaultExensetypeId()}}) {
        popup->clearValue();
        if (id)
            popup->setId(*id);
    }
    fiscalPctField->setValue(item.getFiscalPct());
    newBalanceField->setValue(item.newBalance());
    localBalance->setText(mLogic.itemToModify() ? qs(item.getLocalBalanceAsString()) : QString());
    foreingBalance->setText(mLogic.itemToModify() ? qs(item.balanceAsString()) : QString());
}

void CNewAccountController::storeFields()
{
    CAcnTItem& item = *mLogic.temporaryItem();
    item.setGetNameOnly(textOf(nameField));
    item.setGetAccountNumber(textOf(classifiactionNumber));
    item.setGetDescription(textOf(descriptionField));
    item.setGetBankAccountNumber(textOf(bankAccountNumberField));
    if (accountTypePopup->isEnabled())
        item.setGetAccountTypeId(accountTypePopup->objectValue());
    item.setGetCurrencyId(currencyPopup->objectValue());
    item.setGetAccountOwnerId(ownerPopup->objectValue());
    item.setGetDefaultExensetypeId(defaultExpensetypePopup->objectValue().value_or(-1));
    item.setGetFiscalPct(fiscalPctField->value());
    item.setNewBalance(newBalanceField->value());
}

bool CNewAccountController::checkContents()
{
    if (!mLogic.temporaryItem())
        return false;
    storeFields();
    return mLogic.checkContents();
}

void CNewAccountController::dialogClosed(int returnCode, const SheetParameters& context)
{
    mLogic.dialogClosed(returnCode, context);
}

} // namespace ch
