#include "business/InvoiceArguments.h"

namespace ch::arguments {

void InvoiceArguments::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "name", invoiceName);
    dictionary.set("thirdPartyId", Value(thirdPartyId.value_or(-1)));
    dictionary.set("invoiceNumber", Value(invoiceNumber.value_or(std::string())));
    putPresent(dictionary, "invoiceDescription", invoiceDescription);
    putPresent(dictionary, "paymentReference", paymentReference);
    dictionary.set("invoiceDate", Value(invoiceDate.value_or(0)));
    putPresent(dictionary, "dueDate", dueDate);
    dictionary.set("amountWithoutVAT", Value(amountWithoutVAT.value_or(0.0)));
    putPresent(dictionary, "firstVATRateId", firstVATRateId);
    putPresent(dictionary, "secondVATRateId", secondVATRateId);
    if (generatePayment) dictionary.set("generatePayment", Value(*generatePayment ? 1L : 0L));
    putPresent(dictionary, "paymentCategoryId", paymentCategoryId);
    putPresent(dictionary, "paymentDate", mPaymentDate);
}

bool InvoiceArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    invoiceName = getTextFromDictionary(dictionary, "name");
    thirdPartyId = getObjectIdAsNumberFromDictionary(dictionary, "thirdPartyId");
    invoiceNumber = getTextFromDictionary(dictionary, "invoiceNumber");
    invoiceDescription = getTextFromDictionary(dictionary, "invoiceDescription");
    paymentReference = getTextFromDictionary(dictionary, "paymentReference");
    invoiceDate = getDateFromDictionary(dictionary, "invoiceDate");
    dueDate = getDateFromDictionary(dictionary, "dueDate");
    amountWithoutVAT = getNumberFromDictionary(dictionary, "amountWithoutVAT");
    firstVATRateId = getObjectIdAsNumberFromDictionary(dictionary, "firstVATRateId");
    secondVATRateId = getObjectIdAsNumberFromDictionary(dictionary, "secondVATRateId");
    const std::optional<long> payment = getObjectIdAsNumberFromDictionary(dictionary, "generatePayment");
    generatePayment = payment ? std::optional<bool>(*payment != 0) : std::nullopt;
    paymentCategoryId = getObjectIdAsNumberFromDictionary(dictionary, "paymentCategoryId");
    mPaymentDate = getDateFromDictionary(dictionary, "paymentDate");
    return true;
}

} // namespace ch::arguments
