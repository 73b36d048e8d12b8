#include "business/views/AccountsReceivableInvoiceDialogController.h"

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
#include "business/GXInvoice.h"
#include "business/GXVATRate.h"
#include "business/InvoiceBooking.h"
#include "business/InvoiceNumbers.h"
#include "business/VATRates.h"
#include "business/views/BusinessSheetParts.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

using namespace sheet_parts;

AccountsReceivableInvoiceDialogController::AccountsReceivableInvoiceDialogController(QWidget* parent)
    : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("AccountsReceivableInvoice"));
    setWindowTitle(localizedText("INVOICESHEETTITLE"));
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
    registerPaymentCheckbox = new QCheckBox(localizedText("REGISTERPAYMENT"), this);
    registerPaymentCheckbox->setObjectName(QStringLiteral("registerPaymentCheckbox"));
    form->addRow(QString(), registerPaymentCheckbox);
    paymentCategoryPopup = addSheetRow(form, "FIELDCATEGORY", makeCombo(this, false), "paymentCategoryPopup");
    invoiceNameField->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());

    connect(invoiceAmountField, &QLineEdit::editingFinished, this, [this] { calculateTotalAmount(); });
    connect(VATRate1Popup, &QComboBox::currentIndexChanged, this, [this] { calculateTotalAmount(); });
    connect(VATRate2Popup, &QComboBox::currentIndexChanged, this, [this] { calculateTotalAmount(); });
    connect(invoiceDateField, &QLineEdit::editingFinished, this, [this] { invoiceDateEdited(); });
    connect(invoiceNumberField, &QLineEdit::editingFinished, this, [this] { invoiceNumberEdited(); });
    // A customer's payment is proposed on that customer's own category.
    connect(customerPopup, &QComboBox::currentIndexChanged, this, [this] {
        if (mContext.document && mContext.customer)
            fillPaymentCategories(paymentCategoryPopup, *mContext.document, true, chosenOwner());
    });
}

void AccountsReceivableInvoiceDialogController::initializeFor(const BusinessSheetContext& context)
{
    mContext = context;
    MyDocument& document = *context.document;
    BusinessOfDocument& business = businessOf(document);
    mCurrencyId.reset();
    if (context.objectToModify) mCurrencyId = invoiceCurrencyId(business, *context.objectToModify);
    mOwners = ownersFor(document, context.customer);
    {
        const QSignalBlocker quiet(customerPopup);
        fillOwners(customerPopup, mOwners, context.owner);
    }
    fillPaymentCategories(paymentCategoryPopup, document, context.customer,
                          context.owner ? context.owner : chosenOwner());

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
        mProposedNumber = number;
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
        paymentCategoryPopup->setEnabled(true);
        return;
    }
    mProposedNumber.clear();
    CTrnSItem& invoice = *context.objectToModify;
    invoiceDateField->setDateT(static_cast<DateT>(invoice.mDate().value_or(0)));
    const auto extension = invoice.invoiceExtension();
    const auto* business_extension = dynamic_cast<const business::GXInvoice*>(extension.get());
    dueDateField->setDateT(static_cast<DateT>(business_extension ? business_extension->dueDate().value_or(0) : 0));
    invoiceNameField->setText(qs(invoice.getName()));
    invoiceNumberField->setText(qs(invoice.mDocumentRef().value_or("")));
    invoiceDescriptionField->setText(qs(invoice.mDescription()));
    // The reference is the extension's: the one the invoice is booked with.
    paymentReferenceField->setText(qs(invoice.paymentReference().value_or("")));
    TotalAmountField->setText(money(invoice.mTotalAmount().value_or(0)));
    const InvoiceReading reading = readInvoice(business, invoice);
    if (reading.answer == -1) {
        selectRate(VATRate1Popup, nullptr);
        selectRate(VATRate2Popup, nullptr);
        VAT1AmountField->setText(money(0));
        VAT2AmountField->setText(money(0));
        invoiceAmountField->setValue(invoice.mTotalAmount().value_or(0));
    } else {
        selectRate(VATRate1Popup, reading.firstRate);
        selectRate(VATRate2Popup, reading.secondRate);
        VAT1AmountField->setText(money(reading.firstVATAmount));
        VAT2AmountField->setText(money(reading.secondVATAmount));
        invoiceAmountField->setValue(reading.amountWithoutVAT);
    }
    // A paid invoice has its payment already; one its credit notes cancel
    // is owed no more.
    const bool payable = !invoice.isPaid() && !isCancelledByCreditNotes(business, invoice);
    registerPaymentCheckbox->setChecked(false);
    registerPaymentCheckbox->setEnabled(payable);
    paymentCategoryPopup->setEnabled(payable);
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
    const double vat1 = mContext.document ? invoiceVATAmount(businessOf(*mContext.document), first.get(), amount, mCurrencyId) : 0;
    const double vat2 = mContext.document ? invoiceVATAmount(businessOf(*mContext.document), second.get(), amount, mCurrencyId) : 0;
    VAT1AmountField->setText(money(vat1));
    VAT2AmountField->setText(money(vat2));
    TotalAmountField->setText(money(amount + vat1 + vat2));
}

void AccountsReceivableInvoiceDialogController::invoiceDateEdited()
{
    const DateT date = invoiceDateField->getDateT();
    if (const DateT due = calculateDueDate(date); due != 0) dueDateField->setDateT(due);
    // Written in January for December, the invoice takes December's series.
    if (date == 0 || mProposedNumber.empty() || !mContext.document ||
        invoiceNumberField->text().toStdString() != mProposedNumber)
        return;
    mProposedNumber = calculateInvoiceNumberForDate(businessOf(*mContext.document), date);
    invoiceNumberField->setText(qs(mProposedNumber));
    invoiceNumberEdited();
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
    if (refuse(checkInvoiceSheet(values))) return false;
    // A payment registered at once needs its category, as on the payment sheet.
    return !(registerPaymentCheckbox->isChecked() && !paymentCategoryOf(paymentCategoryPopup) && refuse(277));
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
        values.paymentCategoryId = paymentCategoryOf(paymentCategoryPopup);
    }
    return values;
}

} // namespace ch::business
