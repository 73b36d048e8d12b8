#include "ui/sheets/CNewOwnerController.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "bridge/CAcoWItem.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

namespace {

QString qs(const std::optional<std::string>& text)
{
    return QString::fromStdString(text.value_or(""));
}

void showId(CPopupList* popup, const std::optional<long>& id)
{
    popup->clearValue();
    if (id && *id >= 1)
        popup->setId(*id);
}

QCheckBox* makeCheck(QWidget* parent, const char* key, const char* outletName)
{
    auto* check = new QCheckBox(localizedText(key), parent);
    check->setObjectName(QString::fromLatin1(outletName));
    return check;
}

} // namespace

CNewOwnerController::CNewOwnerController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("newAccountOwner"));
    setWindowTitle(localizedText("OWNERSHEETTITLE"));

    mainTab = new QStackedWidget(this);
    mainTab->setObjectName(QStringLiteral("mainTab"));
    auto* typed = new QWidget(mainTab);
    auto* contact = makeSheetForm();
    idField = addSheetRow(contact, "FIELDID", makeValueLabel(this), "idField");
    nameField = addSheetRow(contact, "FIELDNAME", new CTextField(this, 34), "nameField");
    firstNameField = addSheetRow(contact, "FIELDFIRSTNAME", new CTextField(this, 34), "firstNameField");
    adresField = addSheetRow(contact, "FIELDADDRESS", new CTextField(this, 254), "adresField");
    phoneField = addSheetRow(contact, "FIELDPHONE", new CTextField(this, 34), "phoneField");
    faxField = addSheetRow(contact, "FIELDFAX", new CTextField(this, 34), "faxField");
    eMailField = addSheetRow(contact, "FIELDEMAIL", new CTextField(this, 254), "eMailField");
    VATField = addSheetRow(contact, "FIELDVAT", new CTextField(this, 34), "VATField");
    nameField->setMinimumWidth(280);
    mFromContactNote = new QLabel(this);
    mFromContactNote->setObjectName(QStringLiteral("fromContactNote"));
    mFromContactNote->setWordWrap(true);
    mFromContactNote->hide();
    contact->addRow(mFromContactNote);
    contact->setContentsMargins(0, 0, 0, 0);
    typed->setLayout(contact);
    mainTab->addWidget(typed);

    // The people of the contacts, for a new owner linked to one of them.
    auto* picker = new QWidget(mainTab);
    auto* pickerLayout = new QVBoxLayout(picker);
    pickerLayout->setContentsMargins(0, 0, 0, 0);
    auto* hint = new QLabel(localizedText("OWNERPICKERHINT"), picker);
    hint->setWordWrap(true);
    mContactsSearchField = new QLineEdit(picker);
    mContactsSearchField->setObjectName(QStringLiteral("contactsSearchField"));
    mContactsSearchField->setPlaceholderText(localizedText("OWNERPICKERSEARCH"));
    mContactsSearchField->setClearButtonEnabled(true);
    mPeoplePicker = new QTableWidget(0, 3, picker);
    mPeoplePicker->setObjectName(QStringLiteral("peoplePicker"));
    mPeoplePicker->setHorizontalHeaderLabels(
        {localizedText("OWNERPICKERNAME"), localizedText("OWNERPICKERCOMPANY"), localizedText("OWNERPICKERADDRESS")});
    mPeoplePicker->setSelectionBehavior(QAbstractItemView::SelectRows);
    mPeoplePicker->setSelectionMode(QAbstractItemView::SingleSelection);
    mPeoplePicker->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mPeoplePicker->verticalHeader()->hide();
    mPeoplePicker->horizontalHeader()->setStretchLastSection(true);
    mPeoplePicker->setAlternatingRowColors(true);
    mPeoplePicker->setMinimumHeight(180);
    pickerLayout->addWidget(hint);
    pickerLayout->addWidget(mContactsSearchField);
    pickerLayout->addWidget(mPeoplePicker, 1);
    mainTab->addWidget(picker);
    connect(mContactsSearchField, &QLineEdit::textChanged, this, [this](const QString& text) { filterPicker(text); });
    // A double click picks the person, as OK does.
    connect(mPeoplePicker, &QTableWidget::cellDoubleClicked, this, [this] { okClicked(); });

    auto* suppliers = new QGroupBox(this);
    auto* supplierForm = makeSheetForm();
    createSupplierAccountsCheck = makeCheck(suppliers, "CREATESUPPLIERACCOUNTS", "createSupplierAccountsCheck");
    selectSupplierAccountsCheck = makeCheck(suppliers, "SELECTSUPPLIERACCOUNTS", "selectSupplierAccountsCheck");
    supplierForm->addRow(QString(), createSupplierAccountsCheck);
    supplierForm->addRow(QString(), selectSupplierAccountsCheck);
    creditorAccountPopup =
        addSheetRow(supplierForm, "FIELDCREDITORACCOUNT", new CPopupList(suppliers), "creditorAccountPopup");
    creditorInvoiceAccountPopup = addSheetRow(supplierForm, "FIELDCREDITORINVOICEACCOUNT",
                                              new CPopupList(suppliers), "creditorInvoiceAccountPopup");
    supplierInvoiceCategoryPopup = addSheetRow(supplierForm, "FIELDSUPPLIERINVOICECATEGORY",
                                               new CPopupList(suppliers), "supplierInvoiceCategoryPopup");
    suppliers->setLayout(supplierForm);

    auto* customers = new QGroupBox(this);
    auto* customerForm = makeSheetForm();
    createCustomerAccountsCheck = makeCheck(customers, "CREATECUSTOMERACCOUNTS", "createCustomerAccountsCheck");
    selectCustomerAccountsCheck = makeCheck(customers, "SELECTCUSTOMERACCOUNTS", "selectCustomerAccountsCheck");
    customerForm->addRow(QString(), createCustomerAccountsCheck);
    customerForm->addRow(QString(), selectCustomerAccountsCheck);
    debtorAccountPopup = addSheetRow(customerForm, "FIELDDEBTORACCOUNT", new CPopupList(customers), "debtorAccountPopup");
    debtorInvoiceAccountPopup = addSheetRow(customerForm, "FIELDDEBTORINVOICEACCOUNT", new CPopupList(customers),
                                            "debtorInvoiceAccountPopup");
    customerPaymentCategoryPopup = addSheetRow(customerForm, "FIELDCUSTOMERPAYMENTCATEGORY",
                                               new CPopupList(customers), "customerPaymentCategoryPopup");
    customers->setLayout(customerForm);

    for (CPopupList* popup : {debtorAccountPopup, debtorInvoiceAccountPopup, creditorAccountPopup,
                              creditorInvoiceAccountPopup, customerPaymentCategoryPopup,
                              supplierInvoiceCategoryPopup}) {
        watchPopup(popup);
        swallowReturnIn(popup);
    }
    for (QCheckBox* check : {createSupplierAccountsCheck, selectSupplierAccountsCheck, createCustomerAccountsCheck,
                             selectCustomerAccountsCheck})
        connect(check, &QCheckBox::toggled, this, [this] { enablePopups(); });
    // Making accounts and choosing existing ones exclude each other.
    connect(createSupplierAccountsCheck, &QCheckBox::toggled, this,
            [this](bool on) { if (on) selectSupplierAccountsCheck->setChecked(false); });
    connect(selectSupplierAccountsCheck, &QCheckBox::toggled, this,
            [this](bool on) { if (on) createSupplierAccountsCheck->setChecked(false); });
    connect(createCustomerAccountsCheck, &QCheckBox::toggled, this,
            [this](bool on) { if (on) selectCustomerAccountsCheck->setChecked(false); });
    connect(selectCustomerAccountsCheck, &QCheckBox::toggled, this,
            [this](bool on) { if (on) createCustomerAccountsCheck->setChecked(false); });

    alignFormLabels({contact, supplierForm, customerForm});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addWidget(mainTab);
    layout->addSpacing(4);
    layout->addWidget(suppliers);
    layout->addWidget(customers);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(2));
}

void CNewOwnerController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    if (!mLogic.document())
        return;
    fillPopups();
    loadFields();
    // A linked owner's contact fields follow the contact: shown, not typed,
    // so that nothing typed is dropped at OK.
    const std::optional<std::string> contactName = mLogic.linkedContactName();
    for (CTextField* field : {nameField, firstNameField, adresField, phoneField, faxField, eMailField})
        field->setReadOnly(contactName.has_value());
    mFromContactNote->setVisible(contactName.has_value());
    if (contactName)
        mFromContactNote->setText(QString::fromStdString(formatMessage(localized("OWNERFIELDSFROMCONTACT"), {*contactName})));
    // The note wraps: the sheet takes the height its lines need at the
    // sheet's width, which the size it had without the note does not give.
    mFromContactNote->setMinimumHeight(0);
    if (mFromContactNote->isVisibleTo(this)) {
        // Twice: the first pass gives the note its width in the laid-out
        // sheet, the second the height of its lines at that width.
        for (int pass = 0; pass < 2; ++pass) {
            if (layout()) layout()->activate();
            mFromContactNote->setMinimumHeight(mFromContactNote->heightForWidth(mFromContactNote->width()));
            adjustSize();
        }
    }
    mainTab->setCurrentIndex(mLogic.fromContacts() ? 1 : 0);
    if (mLogic.fromContacts()) fillPicker();
    for (QCheckBox* check : {createSupplierAccountsCheck, selectSupplierAccountsCheck, createCustomerAccountsCheck,
                             selectCustomerAccountsCheck})
        check->setChecked(false);
    createSupplierAccountsCheck->setEnabled(mLogic.canCreateSupplierAccounts());
    createCustomerAccountsCheck->setEnabled(mLogic.canCreateCustomerAccounts());
    selectSupplierAccountsCheck->setEnabled(mLogic.canSelectAccounts());
    selectCustomerAccountsCheck->setEnabled(mLogic.canSelectAccounts());
    enablePopups();
    if (mLogic.fromContacts()) mContactsSearchField->setFocus(Qt::OtherFocusReason);
    else nameField->setFocus(Qt::OtherFocusReason);
}

void CNewOwnerController::fillPicker()
{
    mPeople = mLogic.pickablePeople();
    const QSignalBlocker quiet(mContactsSearchField);
    mContactsSearchField->clear();
    mPeoplePicker->clearContents();
    mPeoplePicker->setRowCount(static_cast<int>(mPeople.size()));
    for (std::size_t i = 0; i < mPeople.size(); ++i) {
        const ContactPerson& person = mPeople[i];
        const ContactAddress* address = person.primaryAddress();
        // The address on one line.
        const QString where = address ? QString::fromStdString(formatAddress(*address)).replace('\n', QStringLiteral(", "))
                                      : QString();
        const int row = static_cast<int>(i);
        const std::string name = contactDisplayName(person);
        mPeoplePicker->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(name)));
        // The card's company, also where it names the row: the column is
        // what a person scans for the firm.
        mPeoplePicker->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(person.organization)));
        mPeoplePicker->setItem(row, 2, new QTableWidgetItem(where));
    }
    mPeoplePicker->resizeColumnsToContents();
    mPeoplePicker->clearSelection();
    // The search field is empty again: so is the last search's filter.
    filterPicker(QString());
}

void CNewOwnerController::filterPicker(const QString& text)
{
    const QString wanted = text.trimmed();
    for (int row = 0; row < mPeoplePicker->rowCount(); ++row) {
        bool shown = wanted.isEmpty();
        for (int column = 0; column < mPeoplePicker->columnCount() && !shown; ++column)
            if (const QTableWidgetItem* cell = mPeoplePicker->item(row, column))
                shown = cell->text().contains(wanted, Qt::CaseInsensitive);
        mPeoplePicker->setRowHidden(row, !shown);
        // A hidden person cannot stay picked.
        if (!shown && mPeoplePicker->selectionModel()->isRowSelected(row)) mPeoplePicker->clearSelection();
    }
}

std::vector<ContactPerson> CNewOwnerController::pickedPeople() const
{
    std::vector<ContactPerson> picked;
    for (const QModelIndex& row : mPeoplePicker->selectionModel()->selectedRows())
        if (row.row() >= 0 && static_cast<std::size_t>(row.row()) < mPeople.size() && !mPeoplePicker->isRowHidden(row.row()))
            picked.push_back(mPeople[static_cast<std::size_t>(row.row())]);
    return picked;
}

void CNewOwnerController::fillPopups()
{
    CDocAccounting* books = mLogic.document()->books();
    debtorAccountPopup->setArray(book_lists::profitAndLossAccounts(books));
    debtorInvoiceAccountPopup->setArray(book_lists::profitAndLossAccounts(books));
    creditorAccountPopup->setArray(book_lists::profitAndLossAccounts(books));
    creditorInvoiceAccountPopup->setArray(book_lists::debtAccounts(books));
    customerPaymentCategoryPopup->setArray(book_lists::incomeCategories(books));
    supplierInvoiceCategoryPopup->setArray(book_lists::expenseCategories(books));
}

void CNewOwnerController::enablePopups()
{
    const bool suppliers = selectSupplierAccountsCheck->isChecked();
    const bool customers = selectCustomerAccountsCheck->isChecked();
    creditorAccountPopup->setEnabled(suppliers);
    creditorInvoiceAccountPopup->setEnabled(suppliers);
    supplierInvoiceCategoryPopup->setEnabled(suppliers || createSupplierAccountsCheck->isChecked());
    debtorAccountPopup->setEnabled(customers);
    debtorInvoiceAccountPopup->setEnabled(customers);
    customerPaymentCategoryPopup->setEnabled(customers || createCustomerAccountsCheck->isChecked());
}

void CNewOwnerController::loadFields()
{
    const CAcoWItem& item = *mLogic.temporaryItem();
    const auto& modified = mLogic.itemToModify();
    idField->setText(modified && modified->getId() ? QString::number(*modified->getId()) : QString());
    nameField->setText(QString::fromStdString(item.getName()));
    firstNameField->setText(qs(item.firstName()));
    adresField->setText(qs(item.officialAddress()));
    phoneField->setText(qs(item.phone()));
    faxField->setText(qs(item.fax()));
    eMailField->setText(qs(item.eMail()));
    VATField->setText(qs(item.VATNr()));
    showId(debtorAccountPopup, item.debitorAccount());
    showId(debtorInvoiceAccountPopup, item.openDebitInvoiceAccount());
    showId(creditorAccountPopup, item.creditorAccount());
    showId(creditorInvoiceAccountPopup, item.openCreditInvoiceAccount());
    showId(customerPaymentCategoryPopup, item.customerPaymentCategory());
    showId(supplierInvoiceCategoryPopup, item.supplierInvoiceCategory());
}

void CNewOwnerController::storeFields()
{
    CAcoWItem& item = *mLogic.temporaryItem();
    item.setGetName(nameField->text().trimmed().toStdString());
    item.setFirstName(firstNameField->text().toStdString());
    item.setOfficialAddress(adresField->text().toStdString());
    item.setPhone(phoneField->text().toStdString());
    item.setFax(faxField->text().toStdString());
    item.setEMail(eMailField->text().toStdString());
    item.setVATNr(VATField->text().toStdString());
    // Only what the user may choose is taken from the pop-ups.
    if (creditorAccountPopup->isEnabled()) {
        item.setCreditorAccount(creditorAccountPopup->objectValue());
        item.setOpenCreditInvoiceAccount(creditorInvoiceAccountPopup->objectValue());
    }
    if (debtorAccountPopup->isEnabled()) {
        item.setDebitorAccount(debtorAccountPopup->objectValue());
        item.setOpenDebitInvoiceAccount(debtorInvoiceAccountPopup->objectValue());
    }
    if (supplierInvoiceCategoryPopup->isEnabled())
        item.setSupplierInvoiceCategory(supplierInvoiceCategoryPopup->objectValue());
    if (customerPaymentCategoryPopup->isEnabled())
        item.setCustomerPaymentCategory(customerPaymentCategoryPopup->objectValue());
}

bool CNewOwnerController::checkContents()
{
    if (!mLogic.temporaryItem())
        return false;
    storeFields();
    return mLogic.checkContents(selectSupplierAccountsCheck->isChecked(), selectCustomerAccountsCheck->isChecked(),
                                mLogic.fromContacts() ? pickedPeople() : std::vector<ContactPerson>());
}

void CNewOwnerController::dialogClosed(int returnCode, const SheetParameters& context)
{
    mLogic.dialogClosed(returnCode, context, createSupplierAccountsCheck->isChecked(),
                        createCustomerAccountsCheck->isChecked());
}

} // namespace ch
