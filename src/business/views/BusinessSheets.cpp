#include "business/views/BusinessSheets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "bridge/CAcoWItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessOfDocument.h"
#include "business/BusinessSheetChecks.h"
#include "business/GXVATRate.h"
#include "business/InvoiceBooking.h"
#include "business/InvoiceNumbers.h"
#include "business/VATRates.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "business/GXInvoice.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QString money(double amount)
{
    return QString::number(amount, 'f', 2);
}

BusinessOfDocument& businessOf(MyDocument& document)
{
    return *dynamic_cast<BusinessOfDocument*>(document.business());
}

std::vector<std::shared_ptr<CAcoWItem>> ownersFor(MyDocument& document, bool customers)
{
    return customers ? document.customerArray() : document.supplierArray();
}

void fillOwners(QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners,
                const std::shared_ptr<CAcoWItem>& shown)
{
    popup->clear();
    for (const auto& owner : owners) popup->addItem(qs(owner->getName()));
    popup->setCurrentIndex(-1);
    for (std::size_t i = 0; i < owners.size(); ++i)
        if (owners[i] == shown) popup->setCurrentIndex(int(i));
}

std::shared_ptr<CAcoWItem> ownerOf(const QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners)
{
    const int index = popup->currentIndex();
    if (index >= 0 && std::size_t(index) < owners.size() && popup->currentText() == popup->itemText(index))
        return owners[std::size_t(index)];
    for (const auto& owner : owners)
        if (qs(owner->getName()) == popup->currentText()) return owner;
    return nullptr;
}

QComboBox* makeCombo(QWidget* parent, bool editable)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    return combo;
}

QLineEdit* makeReadOnly(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    return field;
}

} // namespace

// --- base

void BusinessSheet::dialogClosed(int returnCode, const SheetParameters& context)
{
    CPopupWindowAncestor::dialogClosed(returnCode, context);
    if (returnCode > 0 && mAccepted) mAccepted();
}

bool BusinessSheet::refuse(long error)
{
    if (error == 0) return false;
    CErrorManager::RaiseError(error);
    return true;
}

// --- invoice

AccountsReceivableInvoiceDialogController::AccountsReceivableInvoiceDialogController(QWidget* parent)
    : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("AccountsReceivableInvoice"));
    setWindowTitle(sheetText("INVOICESHEETTITLE"));
    auto* form = makeSheetForm();
    customerPopup = addSheetRow(form, "FIELDOWNER", makeCombo(this, true), "customerPopup");
    invoiceNameField = addSheetRow(form, "FIELDNAME", new QLineEdit(this), "invoiceNameField");
    invoiceNumberField = addSheetRow(form, "FIELDINVOICENUMBER", new QLineEdit(this), "invoiceNumberField");
    invoiceDescriptionField = addSheetRow(form, "FIELDDESCRIPTION", new QLineEdit(this), "invoiceDescriptionField");
    paymentReferenceField = addSheetRow(form, "FIELDPAYMENTREFERENCE", new QLineEdit(this), "paymentReferenceField");
    invoiceDateField = addSheetRow(form, "FIELDINVOICEDATE", new CDateEditField(this), "invoiceDateField");
    dueDateField = addSheetRow(form, "FIELDDUEDATE", new CDateEditField(this), "dueDateField");
    invoiceAmountField = addSheetRow(form, "FIELDAMOUNTWITHOUTVAT", new CAmountField(this), "invoiceAmountField");
    VATRate1Popup = addSheetRow(form, "FIELDVATRATE1", makeCombo(this, false), "VATRate1Popup");
    VAT1AmountField = addSheetRow(form, "FIELDVATAMOUNT1", makeReadOnly(this), "VAT1AmountField");
    VATRate2Popup = addSheetRow(form, "FIELDVATRATE2", makeCombo(this, false), "VATRate2Popup");
    VAT2AmountField = addSheetRow(form, "FIELDVATAMOUNT2", makeReadOnly(this), "VAT2AmountField");
    TotalAmountField = addSheetRow(form, "FIELDTOTALAMOUNT", makeReadOnly(this), "TotalAmountField");
    registerPaymentCheckbox = new QCheckBox(sheetText("REGISTERPAYMENT"), this);
    registerPaymentCheckbox->setObjectName(QStringLiteral("registerPaymentCheckbox"));
    form->addRow(QString(), registerPaymentCheckbox);
    invoiceNameField->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());

    connect(invoiceAmountField, &QLineEdit::editingFinished, this, [this] { calculateTotalAmount(); });
    connect(VATRate1Popup, &QComboBox::currentIndexChanged, this, [this] { calculateTotalAmount(); });
    connect(VATRate2Popup, &QComboBox::currentIndexChanged, this, [this] { calculateTotalAmount(); });
    connect(invoiceDateField, &QLineEdit::editingFinished, this, [this] { invoiceDateEdited(); });
    connect(invoiceNumberField, &QLineEdit::editingFinished, this, [this] { invoiceNumberEdited(); });
}

void AccountsReceivableInvoiceDialogController::initializeFor(const BusinessSheetContext& context)
{
    mContext = context;
    MyDocument& document = *context.document;
    BusinessOfDocument& business = businessOf(document);
    mOwners = ownersFor(document, context.customer);
    fillOwners(customerPopup, mOwners, context.owner);

    const auto& rates = business.businessArrays().VATRateArray;
    for (QComboBox* popup : {VATRate1Popup, VATRate2Popup}) {
        QSignalBlocker quiet(popup);
        popup->clear();
        popup->addItem(QString());
        for (const auto& rate : rates) popup->addItem(qs(rate->name().value_or("")));
        popup->setCurrentIndex(0);
    }
    auto selectRate = [&rates](QComboBox* popup, const std::shared_ptr<GXVATRate>& rate) {
        QSignalBlocker quiet(popup);
        popup->setCurrentIndex(0);
        for (std::size_t i = 0; i < rates.size(); ++i)
            if (rates[i] == rate) popup->setCurrentIndex(int(i) + 1);
    };

    if (!context.objectToModify) {
        const DateT today = CDate::GetNowAsDateT();
        DateT due = calculateDueDate(today);
        if (due == 0) due = CDate::AddDaysTo(today, 30);
        invoiceDateField->setDateT(today);
        dueDateField->setDateT(due);
        const std::string number = context.customer ? calculateInvoiceNumberForDate(business, today) : std::string();
        invoiceNumberField->setText(qs(number));
        paymentReferenceField->setText(context.customer ? qs(structuredReferenceForNumber(number)) : QString());
        selectRate(VATRate1Popup, getDefaultVATRateForOrder(business, 0));
        selectRate(VATRate2Popup, getDefaultVATRateForOrder(business, 1));
        invoiceNameField->clear();
        invoiceDescriptionField->clear();
        invoiceAmountField->setValue(std::nullopt);
        VAT1AmountField->clear();
        VAT2AmountField->clear();
        TotalAmountField->setText(money(0));
        registerPaymentCheckbox->setChecked(false);
        registerPaymentCheckbox->setEnabled(true);
        return;
    }
    CTrnSItem& invoice = *context.objectToModify;
    invoiceDateField->setDateT(static_cast<DateT>(invoice.mDate().value_or(0)));
    const auto extension = invoice.invoiceExtension();
    const auto* business_extension = dynamic_cast<const business::GXInvoice*>(extension.get());
    dueDateField->setDateT(static_cast<DateT>(business_extension ? business_extension->dueDate().value_or(0) : 0));
    invoiceNameField->setText(qs(invoice.getName()));
    invoiceNumberField->setText(qs(invoice.mDocumentRef().value_or("")));
    invoiceDescriptionField->setText(qs(invoice.mDescription()));
    paymentReferenceField->setText(qs(invoice.externalReference().value_or("")));
    TotalAmountField->setText(money(std::abs(invoice.mTotalAmount().value_or(0))));
    const InvoiceReading reading = readInvoice(business, invoice);
    if (reading.answer == -1) {
        selectRate(VATRate1Popup, nullptr);
        selectRate(VATRate2Popup, nullptr);
        VAT1AmountField->setText(money(0));
        VAT2AmountField->setText(money(0));
        invoiceAmountField->setValue(std::abs(invoice.mTotalAmount().value_or(0)));
    } else {
        selectRate(VATRate1Popup, reading.firstRate);
        selectRate(VATRate2Popup, reading.secondRate);
        VAT1AmountField->setText(money(reading.firstVATAmount));
        VAT2AmountField->setText(money(reading.secondVATAmount));
        invoiceAmountField->setValue(reading.amountWithoutVAT);
    }
    // A paid invoice has its payment already.
    registerPaymentCheckbox->setChecked(false);
    registerPaymentCheckbox->setEnabled(!invoice.isPaid());
}

std::shared_ptr<CAcoWItem> AccountsReceivableInvoiceDialogController::chosenOwner() const
{
    return ownerOf(customerPopup, mOwners);
}

std::shared_ptr<GXVATRate> AccountsReceivableInvoiceDialogController::chosenRate(const QComboBox* popup) const
{
    if (!mContext.document) return nullptr;
    const auto& rates = businessOf(*mContext.document).businessArrays().VATRateArray;
    const int index = popup->currentIndex() - 1;
    return index >= 0 && std::size_t(index) < rates.size() ? rates[std::size_t(index)] : nullptr;
}

void AccountsReceivableInvoiceDialogController::calculateTotalAmount()
{
    const double amount = invoiceAmountField->value().value_or(0);
    if (amount == 0) return;
    const auto first = chosenRate(VATRate1Popup);
    const auto second = chosenRate(VATRate2Popup);
    const double vat1 = first ? first->calculateVATAmountFor(amount, false) : 0;
    const double vat2 = second ? second->calculateVATAmountFor(amount, false) : 0;
    VAT1AmountField->setText(money(vat1));
    VAT2AmountField->setText(money(vat2));
    TotalAmountField->setText(money(amount + vat1 + vat2));
}

void AccountsReceivableInvoiceDialogController::invoiceDateEdited()
{
    if (const DateT due = calculateDueDate(invoiceDateField->getDateT()); due != 0) dueDateField->setDateT(due);
}

void AccountsReceivableInvoiceDialogController::invoiceNumberEdited()
{
    if (isGeneratedStructuredReference(paymentReferenceField->text().toStdString()))
        paymentReferenceField->setText(qs(structuredReferenceForNumber(invoiceNumberField->text().toStdString())));
}

bool AccountsReceivableInvoiceDialogController::checkContents()
{
    calculateTotalAmount();
    InvoiceSheetValues values;
    values.name = invoiceNameField->text().trimmed().toStdString();
    values.hasOwner = chosenOwner() != nullptr;
    values.amountWithoutVAT = invoiceAmountField->value().value_or(0);
    values.invoiceDate = invoiceDateField->getDateT();
    values.dueDate = dueDateField->getDateT();
    return !refuse(checkInvoiceSheet(values));
}

arguments::InvoiceArguments AccountsReceivableInvoiceDialogController::returnArguments() const
{
    arguments::InvoiceArguments values;
    values.invoiceName = invoiceNameField->text().toStdString();
    values.invoiceNumber = invoiceNumberField->text().toStdString();
    values.invoiceDescription = invoiceDescriptionField->text().toStdString();
    values.paymentReference = paymentReferenceField->text().toStdString();
    values.invoiceDate = invoiceDateField->getDateT();
    values.dueDate = dueDateField->getDateT();
    values.amountWithoutVAT = invoiceAmountField->value().value_or(0);
    if (const auto owner = chosenOwner(); owner && owner->getId()) values.thirdPartyId = long(*owner->getId());
    const auto first = chosenRate(VATRate1Popup);
    const auto second = chosenRate(VATRate2Popup);
    values.firstVATRateId = first && first->idKey() ? long(*first->idKey()) : -1;
    values.secondVATRateId = second && second->idKey() ? long(*second->idKey()) : -1;
    if (registerPaymentCheckbox->isChecked()) {
        values.generatePayment = true;
        values.setPaymentDate(std::nullopt);
        if (const auto owner = chosenOwner()) values.paymentCategoryId = owner->customerPaymentCategory();
    }
    return values;
}

// --- payment

AccountsReceivablePaymentDialogController::AccountsReceivablePaymentDialogController(QWidget* parent)
    : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("AccountsReceivablePayment"));
    setWindowTitle(sheetText("PAYMENTSHEETTITLE"));
    auto* form = makeSheetForm();
    customerPopup = addSheetRow(form, "FIELDOWNER", makeCombo(this, true), "customerPopup");
    paymentNameField = addSheetRow(form, "FIELDNAME", new QLineEdit(this), "paymentNameField");
    paymentReferenceField = addSheetRow(form, "FIELDPAYMENTREFERENCE", new QLineEdit(this), "paymentReferenceField");
    paymentDateField = addSheetRow(form, "FIELDDATE", new CDateEditField(this), "paymentDateField");
    paymentAmountField = addSheetRow(form, "FIELDAMOUNT", new CAmountField(this), "paymentAmountField");
    paymentCategoryPopup = addSheetRow(form, "FIELDCATEGORY", makeCombo(this, false), "paymentCategoryPopup");
    paymentNameField->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());
}

void AccountsReceivablePaymentDialogController::initializeFor(const BusinessSheetContext& context)
{
    mContext = context;
    MyDocument& document = *context.document;
    mOwners = ownersFor(document, context.customer);
    fillOwners(customerPopup, mOwners, context.owner);
    paymentDateField->setDateT(CDate::GetNowAsDateT());
    paymentNameField->clear();
    paymentReferenceField->clear();
    paymentAmountField->setValue(std::nullopt);

    paymentCategoryPopup->clear();
    CNamedListArray* list = context.customer ? book_lists::incomeCategories(document.accounting())
                                             : book_lists::categories(document.accounting());
    const std::optional<long> preferred =
        context.customer ? (context.owner ? context.owner->customerPaymentCategory() : std::nullopt)
                         : std::optional<long>(document.mPreference() ? document.mPreference()->mSupplierPaymentsCategory()
                                                                      : 0);
    paymentCategoryPopup->addItem(QString(), QVariant());
    for (ArrayIndexT i = 1; list && i <= ArrayIndexT(list->GetCount()); ++i) {
        CNonVisual* category = list->ObjectAt(i);
        if (!category) continue;
        char name[kNameSize];
        category->Get_Name(name);
        paymentCategoryPopup->addItem(QString::fromUtf8(name), qlonglong(category->Get_Id()));
        if (preferred && *preferred == category->Get_Id())
            paymentCategoryPopup->setCurrentIndex(paymentCategoryPopup->count() - 1);
    }
    paymentCategoryPopup->setEnabled(true);
}

std::shared_ptr<CAcoWItem> AccountsReceivablePaymentDialogController::chosenOwner() const
{
    return ownerOf(customerPopup, mOwners);
}

bool AccountsReceivablePaymentDialogController::checkContents()
{
    PaymentSheetValues values;
    values.name = paymentNameField->text().trimmed().toStdString();
    values.hasOwner = chosenOwner() != nullptr;
    values.amount = paymentAmountField->value().value_or(0);
    values.date = paymentDateField->getDateT();
    values.hasCategory = paymentCategoryPopup->currentData().isValid();
    return !refuse(checkPaymentSheet(values));
}

arguments::PaymentArguments AccountsReceivablePaymentDialogController::returnArguments() const
{
    arguments::PaymentArguments values;
    values.paymentName = paymentNameField->text().toStdString();
    values.paymentReference = paymentReferenceField->text().toStdString();
    values.paymentDate = paymentDateField->getDateT();
    values.paymentAmount = paymentAmountField->value().value_or(0);
    if (paymentCategoryPopup->currentData().isValid())
        values.paymentCategoryId = long(paymentCategoryPopup->currentData().toLongLong());
    if (const auto owner = chosenOwner(); owner && owner->getId()) values.thirdPartyId = long(*owner->getId());
    values.paymentOwnerType = mContext.customer ? arguments::kOwnerTypeCustomer : arguments::kOwnerTypeSupplier;
    return values;
}

// --- split

SplitPaymentDialogController::SplitPaymentDialogController(QWidget* parent) : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("SplitPaymentDialog"));
    setWindowTitle(sheetText("SPLITSHEETTITLE"));
    auto* form = makeSheetForm();
    paymentNameField = addSheetRow(form, "FIELDNAME", new QLineEdit(this), "paymentNameField");
    originalAmountField = addSheetRow(form, "FIELDORIGINALAMOUNT", makeReadOnly(this), "originalAmountField");
    currencyField = addSheetRow(form, "FIELDCURRENCY", makeReadOnly(this), "currencyField");
    splitAmountField = addSheetRow(form, "FIELDSPLITAMOUNT", new CAmountField(this), "splitAmountField");
    leftoverAmountField = addSheetRow(form, "FIELDLEFTOVERAMOUNT", makeReadOnly(this), "leftoverAmountField");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());
    connect(splitAmountField, &QLineEdit::editingFinished, this, [this] { splitAmountEdited(); });
}

void SplitPaymentDialogController::initializeFor(const BusinessSheetContext& context)
{
    mContext = context;
    mOriginal = context.objectToModify ? context.objectToModify->mTotalAmount().value_or(0) : 0;
    originalAmountField->setText(money(mOriginal));
    currencyField->setText(context.objectToModify ? qs(context.objectToModify->mCurrencyName()) : QString());
    splitAmountField->setValue(0.0);
    leftoverAmountField->setText(money(mOriginal));
    paymentNameField->setText(context.objectToModify ? qs(context.objectToModify->getName()) : QString());
}

void SplitPaymentDialogController::splitAmountEdited()
{
    leftoverAmountField->setText(money(mOriginal - splitAmountField->value().value_or(0)));
}

bool SplitPaymentDialogController::checkContents()
{
    splitAmountEdited();
    return !refuse(checkSplitAmount(splitAmountField->value(), mOriginal));
}

arguments::SplitPaymentArguments SplitPaymentDialogController::returnArguments() const
{
    arguments::SplitPaymentArguments values;
    values.paymentName = paymentNameField->text().toStdString();
    values.originalAmount = mOriginal;
    values.splitAmount = splitAmountField->value().value_or(0);
    values.leftOverAmount = mOriginal - values.splitAmount.value_or(0);
    values.ownerType = mContext.customer ? arguments::kOwnerTypeCustomer : arguments::kOwnerTypeSupplier;
    return values;
}

// --- search

SearchInvoiceDialogController::SearchInvoiceDialogController(QWidget* parent) : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("SearchPaymentDialog"));
    setWindowTitle(sheetText("SEARCHINVOICESHEETTITLE"));
    invoiceTable = new QTableWidget(0, 3, this);
    invoiceTable->setObjectName(QStringLiteral("transactionTableView"));
    invoiceTable->setHorizontalHeaderLabels({sheetText("FIELDDATE"), sheetText("FIELDNAME"), sheetText("FIELDAMOUNT")});
    invoiceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    invoiceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    invoiceTable->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(invoiceTable);
    layout->addLayout(makeButtonRow());
}

void SearchInvoiceDialogController::initializeFor(const BusinessSheetContext& context,
                                                  std::vector<std::shared_ptr<CTrnSItem>> invoices)
{
    mContext = context;
    setTransactionArray(std::move(invoices));
}

void SearchInvoiceDialogController::setTransactionArray(std::vector<std::shared_ptr<CTrnSItem>> invoices)
{
    transactionArray = std::move(invoices);
    invoiceTable->setRowCount(int(transactionArray.size()));
    for (std::size_t i = 0; i < transactionArray.size(); ++i) {
        CTrnSItem& invoice = *transactionArray[i];
        invoiceTable->setItem(int(i), 0,
                              new QTableWidgetItem(QString::number(invoice.mDate().value_or(0))));
        invoiceTable->setItem(int(i), 1, new QTableWidgetItem(qs(invoice.getName())));
        invoiceTable->setItem(int(i), 2, new QTableWidgetItem(money(std::abs(invoice.mTotalAmount().value_or(0)))));
    }
}

std::vector<std::shared_ptr<CTrnSItem>> SearchInvoiceDialogController::selectedInvoiceTransactions() const
{
    std::vector<std::shared_ptr<CTrnSItem>> chosen;
    for (const QModelIndex& row : invoiceTable->selectionModel()->selectedRows())
        if (std::size_t(row.row()) < transactionArray.size()) chosen.push_back(transactionArray[std::size_t(row.row())]);
    return chosen;
}

} // namespace ch::business
