#include "business/GXInvoice.h"

#include "business/ArchivedFields.h"
#include "business/BusinessDocument.h"
#include "business/StoredValues.h"

namespace ch::business {

std::int32_t GXInvoice::sInvoiceCounter = 0;

GXInvoice::GXInvoice(BusinessDocument* document)
    : GXNonVisual(document), mReminderTransactionIdArray(std::vector<long>())
{
    setObjectType(std::string(kObjectType));
}

std::shared_ptr<Archivable> GXInvoice::decode(KeyedUnarchiver& coder)
{
    auto invoice = std::make_shared<GXInvoice>();
    ArchivedFields fields(coder, kClassName);
    invoice->decodeBaseValues(fields);
    invoice->setInvoiceDate(fields.integer("invoiceDate"));
    invoice->setDueDate(fields.integer("dueDate"));
    invoice->setTransactionId(fields.integer("transactionId"));
    invoice->setIsReceivable(fields.flag("isReceivable"));
    invoice->setPaymentReference(fields.text("paymentReference"));
    invoice->setPaymentTransactionIdArray(fields.integers("paymentTransactionIdArray").value_or(std::vector<long>()));
    invoice->setReminderTransactionIdArray(fields.integers("reminderTransactionIdArray"));
    invoice->setcontestationInd(fields.integer("contestationInd"));
    invoice->setContestationDate(fields.integer("contestationDate"));
    invoice->setContestationStatus(fields.integer("contestationStatus"));
    invoice->setContestationDecision(fields.integer("contestationDecision"));
    invoice->setContestationDescription(fields.text("contestationDescription"));
    invoice->setBlockedForReminders(fields.flag("blockedForReminders"));
    fields.finish();
    return invoice;
}

void GXInvoice::encodeWithCoder(KeyedArchiver& coder) const
{
    GXNonVisual::encodeWithCoder(coder);
    coder.encodeValue(stored::toValue(mInvoiceDate));
    coder.encodeValue(stored::toValue(mDueDate));
    coder.encodeValue(stored::toValue(mTransactionId));
    coder.encodeValue(stored::toValue(mIsReceivable));
    coder.encodeValue(stored::toValue(mPaymentReference));
    coder.encodeValue(stored::toValue(mPaymentTransactionIdArray));
    coder.encodeValue(stored::toValue(mReminderTransactionIdArray));
    coder.encodeValue(stored::toValue(mContestationInd));
    coder.encodeValue(stored::toValue(mContestationDate));
    coder.encodeValue(stored::toValue(mContestationStatus));
    coder.encodeValue(stored::toValue(mContestationDecision));
    coder.encodeValue(stored::toValue(mContestationDescription));
    coder.encodeValue(stored::toValue(mBlockedForReminders));
}

std::vector<std::string> GXInvoice::archiveClassNames() const
{
    return {kClassName, "GXNonVisual", "NSObject"};
}

void GXInvoice::setIdKey(std::optional<long> id)
{
    setIdKeyCountedBy(*idCounter(parentDocument()), id);
}

std::int32_t* GXInvoice::idCounter(BusinessDocument* document) const
{
    return document ? &document->businessIds().invoices : &sInvoiceCounter;
}

void GXInvoice::setInvoiceDate(std::optional<long> value)
{
    change(mInvoiceDate, std::move(value), "invoiceDate");
}
void GXInvoice::setDueDate(std::optional<long> value) { change(mDueDate, std::move(value), "dueDate"); }
void GXInvoice::setTransactionId(std::optional<long> value)
{
    change(mTransactionId, std::move(value), "transactionId");
}
void GXInvoice::setIsReceivable(std::optional<bool> value)
{
    change(mIsReceivable, std::move(value), "isReceivable");
}
void GXInvoice::setPaymentReference(std::optional<std::string> value)
{
    change(mPaymentReference, std::move(value), "paymentReference");
}
void GXInvoice::setPaymentTransactionIdArray(std::vector<long> value)
{
    change(mPaymentTransactionIdArray, std::move(value), "paymentTransactionIdArray");
}
void GXInvoice::setReminderTransactionIdArray(std::optional<std::vector<long>> value)
{
    change(mReminderTransactionIdArray, std::move(value), "reminderTransactionIdArray");
}
void GXInvoice::setcontestationInd(std::optional<long> value)
{
    change(mContestationInd, std::move(value), "contestationInd");
}
void GXInvoice::setContestationDate(std::optional<long> value)
{
    change(mContestationDate, std::move(value), "contestationDate");
}
void GXInvoice::setContestationStatus(std::optional<long> value)
{
    change(mContestationStatus, std::move(value), "contestationStatus");
}
void GXInvoice::setContestationDecision(std::optional<long> value)
{
    change(mContestationDecision, std::move(value), "contestationDecision");
}
void GXInvoice::setContestationDescription(std::optional<std::string> value)
{
    change(mContestationDescription, std::move(value), "contestationDescription");
}
void GXInvoice::setBlockedForReminders(std::optional<bool> value)
{
    change(mBlockedForReminders, std::move(value), "blockedForReminders");
}

bool GXInvoice::objectCanBeDeletedWithMessage(bool) const
{
    return true;
}

Dictionary GXInvoice::dictionaryRepresentation() const
{
    Dictionary dictionary = GXNonVisual::dictionaryRepresentation();
    stored::putPresent(dictionary, "invoiceDate", mInvoiceDate);
    stored::putPresent(dictionary, "dueDate", mDueDate);
    stored::putPresent(dictionary, "transactionId", mTransactionId);
    stored::putPresent(dictionary, "isReceivable", mIsReceivable);
    stored::putPresent(dictionary, "paymentReference", mPaymentReference);
    dictionary.set("paymentTransactionIdArray", stored::toValue(mPaymentTransactionIdArray));
    stored::putPresent(dictionary, "reminderTransactionIdArray", mReminderTransactionIdArray);
    stored::putPresent(dictionary, "contested", mContestationInd);
    stored::putPresent(dictionary, "constestationDate", mContestationDate);
    stored::putPresent(dictionary, "contestationStatus", mContestationStatus);
    stored::putPresent(dictionary, "contestationDecicion", mContestationDecision);
    stored::putPresent(dictionary, "contestationInfo", mContestationDescription);
    stored::putPresent(dictionary, "blockedForReminders", mBlockedForReminders);
    return dictionary;
}

bool GXInvoice::setEqualToDictionaryRepresentation(const Dictionary& dictionary)
{
    if (!GXNonVisual::setEqualToDictionaryRepresentation(dictionary))
        return false;
    setInvoiceDate(stored::integer(dictionary["invoiceDate"]));
    setDueDate(stored::integer(dictionary["dueDate"]));
    setTransactionId(stored::integer(dictionary["transactionId"]));
    setIsReceivable(stored::flag(dictionary["isReceivable"]));
    setPaymentReference(stored::text(dictionary["paymentReference"]));
    setPaymentTransactionIdArray(
        stored::integers(dictionary["paymentTransactionIdArray"]).value_or(std::vector<long>()));
    setReminderTransactionIdArray(stored::integers(dictionary["reminderTransactionIdArray"]));
    setcontestationInd(stored::integer(dictionary["contested"]));
    setContestationDate(stored::integer(dictionary["constestationDate"]));
    setContestationStatus(stored::integer(dictionary["contestationStatus"]));
    setContestationDecision(stored::integer(dictionary["contestationDecicion"]));
    setContestationDescription(stored::text(dictionary["contestationInfo"]));
    setBlockedForReminders(stored::flag(dictionary["blockedForReminders"]));
    return true;
}

} // namespace ch::business
