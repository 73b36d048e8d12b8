#include "document/arguments/CAcoWArguments.h"

namespace ch::arguments {

void CAcoWArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("ownerId", idKey.value_or(-1));
    putPresent(dictionary, "name", name ? name : UID);
    putPresent(dictionary, "firstName", firstName);
    putPresent(dictionary, "address", address);
    putPresent(dictionary, "phone", phone);
    putPresent(dictionary, "fax", fax);
    putPresent(dictionary, "eMail", eMail);
    putPresent(dictionary, "VATNumber", VATNr);
    putPresent(dictionary, "opendDebitInvoiceAccount", openDebitInvoiceAccount);
    putPresent(dictionary, "debitorAccount", debitorAccount);
    putPresent(dictionary, "openCreditInvoiceAccount", openCreditInvoiceAccount);
    putPresent(dictionary, "creditorAccount", creditorAccount);
    putPresent(dictionary, "createSupplierAccounts", createSupplierOpenInvoices);
    putPresent(dictionary, "createCustomerAccounts", createCustomerOpenInvoices);
    putPresent(dictionary, "addressBoodUID", UID);
    putPresent(dictionary, "customerPaymentCategory", customerPaymentCategoryId);
    putPresent(dictionary, "supplierInvoiceCategory", supplierInvoiceCategoryId);
}

bool CAcoWArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    sourceItem = nullptr;
    addressBookPerson.reset();
    idKey = getObjectIdAsNumberFromDictionary(dictionary, "ownerId");
    name = getTextFromDictionary(dictionary, "name");
    firstName = getTextFromDictionary(dictionary, "firstName");
    address = getTextFromDictionary(dictionary, "address");
    phone = getTextFromDictionary(dictionary, "phone");
    fax = getTextFromDictionary(dictionary, "fax");
    eMail = getTextFromDictionary(dictionary, "eMail");
    VATNr = getTextFromDictionary(dictionary, "VATNumber");
    openDebitInvoiceAccount = getObjectIdAsNumberFromDictionary(dictionary, "opendDebitInvoiceAccount");
    debitorAccount = getObjectIdAsNumberFromDictionary(dictionary, "debitorAccount");
    openCreditInvoiceAccount = getObjectIdAsNumberFromDictionary(dictionary, "openCreditInvoiceAccount");
    creditorAccount = getObjectIdAsNumberFromDictionary(dictionary, "creditorAccount");
    createSupplierOpenInvoices = getBooleanFromDictionary(dictionary, "createSupplierAccounts");
    createCustomerOpenInvoices = getBooleanFromDictionary(dictionary, "createCustomerAccounts");
    UID = getTextFromDictionary(dictionary, "addressBoodUID");
    customerPaymentCategoryId = getObjectIdAsNumberFromDictionary(dictionary, "customerPaymentCategory");
    supplierInvoiceCategoryId = getObjectIdAsNumberFromDictionary(dictionary, "supplierInvoiceCategory");
    return true;
}

} // namespace ch::arguments
