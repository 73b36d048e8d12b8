#include "business/GXVATPeriod.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessDocument.h"
#include "business/ArchivedFields.h"
#include "business/StoredValues.h"
#include "business/VATPeriodArguments.h"
#include "business/VATPeriods.h"
#include "platform/core/unicode.h"

namespace ch::business {

std::int32_t GXVATPeriod::sVATPeriodCounter = 0;

GXVATPeriod::GXVATPeriod(BusinessDocument* document) : GXNonVisual(document)
{
    setObjectType(std::string(kObjectType));
}

std::shared_ptr<Archivable> GXVATPeriod::decode(KeyedUnarchiver& coder)
{
    auto period = std::make_shared<GXVATPeriod>();
    ArchivedFields fields(coder, kClassName);
    period->decodeBaseValues(fields);
    period->setStartDate(fields.integer("startDate"));
    period->setEndDate(fields.integer("endDate"));
    period->setAmountPaid(fields.real("amountPaid"));
    period->setAmountPaidCancelled(fields.real("amountPaidCancelled"));
    period->setAmountReceived(fields.real("amountReceived"));
    period->setAmountReceivedCancelled(fields.real("amountReceivedCancelled"));
    period->setAmountPrepaid(fields.real("amountPrepaid"));
    period->setBalanceAmount(fields.real("balanceAmount"));
    period->setPaymentAmountNextPeriod(fields.real("paymentAmountNextPeriod"));
    period->setClosingTransactionId(fields.integer("closingTransactionId"));
    period->setClosingDate(fields.integer("closingDate"));
    period->setStatus(fields.text("status"));
    fields.finish();
    return period;
}

void GXVATPeriod::encodeWithCoder(KeyedArchiver& coder) const
{
    GXNonVisual::encodeWithCoder(coder);
    coder.encodeValue(stored::toValue(mStartDate));
    coder.encodeValue(stored::toValue(mEndDate));
    coder.encodeValue(stored::toValue(mAmountPaid));
    coder.encodeValue(stored::toValue(mAmountPaidCancelled));
    coder.encodeValue(stored::toValue(mAmountReceived));
    coder.encodeValue(stored::toValue(mAmountReceivedCancelled));
    coder.encodeValue(stored::toValue(mAmountPrepaid));
    coder.encodeValue(stored::toValue(mBalanceAmount));
    coder.encodeValue(stored::toValue(mPaymentAmountNextPeriod));
    coder.encodeValue(stored::toValue(mClosingTransactionId));
    coder.encodeValue(stored::toValue(mClosingDate));
    coder.encodeValue(stored::toValue(mStatus));
}

std::vector<std::string> GXVATPeriod::archiveClassNames() const
{
    return {kClassName, "GXNonVisual", "NSObject"};
}

void GXVATPeriod::setIdKey(std::optional<long> id)
{
    setIdKeyCountedBy(*idCounter(parentDocument()), id);
}

std::int32_t* GXVATPeriod::idCounter(BusinessDocument* document) const
{
    return document ? &document->businessIds().VATPeriods : &sVATPeriodCounter;
}

void GXVATPeriod::setStartDate(std::optional<long> date) { change(mStartDate, date, "startDate"); }
void GXVATPeriod::setEndDate(std::optional<long> date) { change(mEndDate, date, "endDate"); }
void GXVATPeriod::setAmountPaid(std::optional<double> amount) { change(mAmountPaid, amount, "amountPaid"); }
void GXVATPeriod::setAmountPaidCancelled(std::optional<double> amount)
{
    change(mAmountPaidCancelled, amount, "amountPaidCancelled");
}
void GXVATPeriod::setAmountReceived(std::optional<double> amount) { change(mAmountReceived, amount, "amountReceived"); }
void GXVATPeriod::setAmountReceivedCancelled(std::optional<double> amount)
{
    change(mAmountReceivedCancelled, amount, "amountReceivedCancelled");
}
void GXVATPeriod::setAmountPrepaid(std::optional<double> amount) { change(mAmountPrepaid, amount, "amountPrepaid"); }
void GXVATPeriod::setBalanceAmount(std::optional<double> amount) { change(mBalanceAmount, amount, "balanceAmount"); }
void GXVATPeriod::setPaymentAmountNextPeriod(std::optional<double> amount)
{
    change(mPaymentAmountNextPeriod, amount, "paymentAmountNextPeriod");
}
void GXVATPeriod::setClosingTransactionId(std::optional<long> id)
{
    change(mClosingTransactionId, id, "closingTransactionId");
}
void GXVATPeriod::setClosingDate(std::optional<long> date) { change(mClosingDate, date, "closingDate"); }
void GXVATPeriod::setStatus(std::optional<std::string> status) { change(mStatus, std::move(status), "status"); }

std::optional<long> GXVATPeriod::closingDate() const
{
    if (mClosingDate || !mClosingTransactionId)
        return mClosingDate;
    if (!parentDocument())
        return std::nullopt;
    std::shared_ptr<CTrnSItem> transaction =
        parentDocument()->bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(*mClosingTransactionId));
    return transaction ? transaction->mDate() : std::nullopt;
}

std::string GXVATPeriod::status() const
{
    if (!mStatus || utf16Length(*mStatus) < 4)
        return "open";
    return *mStatus;
}

bool GXVATPeriod::containsDate(DateT date) const
{
    return mStartDate.value_or(0) <= date && date <= mEndDate.value_or(0);
}

bool GXVATPeriod::hasStartDate(DateT start, DateT end) const
{
    return mStartDate.value_or(0) == start && mEndDate.value_or(0) == end;
}

std::string GXVATPeriod::closingTransactionDescription() const
{
    if (!mClosingTransactionId || !parentDocument())
        return "-";
    std::shared_ptr<CTrnSItem> transaction =
        parentDocument()->bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(*mClosingTransactionId));
    return transaction ? transaction->getName() : "-";
}

bool GXVATPeriod::synchronizeWithArguments(const arguments::VATPeriodArguments& arguments)
{
    setName(arguments.name);
    setDescription(arguments.description);
    if (idKey().value_or(-1) < 0)
        setIdKey(arguments.idKey.value_or(-1));
    setAmountPaid(arguments.amountPaid);
    setAmountPaidCancelled(arguments.amountPaidCancelled);
    setAmountReceived(arguments.amountReceived);
    setAmountReceivedCancelled(arguments.amountReceivedCancelled);
    setAmountPrepaid(arguments.amountPrepaid);
    setBalanceAmount(arguments.balanceAmount);
    setPaymentAmountNextPeriod(arguments.paymentAmountNextPeriod);
    setClosingTransactionId(arguments.closingTransactionId);
    setClosingDate(arguments.closingDate);
    setStatus(arguments.status);
    return true;
}

std::unique_ptr<arguments::VATPeriodArguments> GXVATPeriod::getAsArguments() const
{
    auto arguments = std::make_unique<arguments::VATPeriodArguments>();
    arguments->idKey = idKey() ? std::optional<long>(*idKey()) : std::nullopt;
    arguments->name = name();
    arguments->description = description();
    arguments->type = objectType();
    arguments->amountPaid = mAmountPaid;
    arguments->amountPaidCancelled = mAmountPaidCancelled;
    arguments->amountReceived = mAmountReceived;
    arguments->amountReceivedCancelled = mAmountReceivedCancelled;
    arguments->amountPrepaid = mAmountPrepaid;
    arguments->balanceAmount = mBalanceAmount;
    arguments->paymentAmountNextPeriod = mPaymentAmountNextPeriod;
    arguments->closingTransactionId = mClosingTransactionId;
    arguments->closingDate = mClosingDate;
    arguments->status = mStatus;
    return arguments;
}

void GXVATPeriod::calculatePeriod()
{
    if (!parentDocument())
        return;
    const VATFigures figures = calculateVATBalanceForPeriod(*parentDocument(), *this);
    setAmountPaid(figures.paid);
    setAmountReceived(figures.received);
    setAmountPaidCancelled(figures.paidCancelled);
    setAmountReceivedCancelled(figures.receivedCancelled);
    setAmountPrepaid(figures.prepaid);
    setPaymentAmountNextPeriod((figures.received - figures.paid) / 3.0);
}

bool GXVATPeriod::objectCanBeDeletedWithMessage(bool) const
{
    return true;
}

Dictionary GXVATPeriod::dictionaryRepresentation() const
{
    Dictionary dictionary = GXNonVisual::dictionaryRepresentation();
    stored::putPresent(dictionary, "StartDate", mStartDate);
    stored::putPresent(dictionary, "EndDate", mEndDate);
    stored::putPresent(dictionary, "AmountPaid", mAmountPaid);
    stored::putPresent(dictionary, "AmountPaidCancelled", mAmountPaidCancelled);
    stored::putPresent(dictionary, "AmountReceived", mAmountReceived);
    stored::putPresent(dictionary, "AmountReceivedCancelled", mAmountReceivedCancelled);
    stored::putPresent(dictionary, "AmountPrepaid", mAmountPrepaid);
    stored::putPresent(dictionary, "BalanceAmount", mBalanceAmount);
    stored::putPresent(dictionary, "PaymentAmountNextPeriod", mPaymentAmountNextPeriod);
    stored::putPresent(dictionary, "ClosingTransactionId", mClosingTransactionId);
    stored::putPresent(dictionary, "ClosingDate", mClosingDate);
    stored::putPresent(dictionary, "Status", mStatus);
    return dictionary;
}

bool GXVATPeriod::setEqualToDictionaryRepresentation(const Dictionary& dictionary)
{
    if (!GXNonVisual::setEqualToDictionaryRepresentation(dictionary))
        return false;
    setAmountPaid(stored::real(dictionary["AmountPaid"]));
    setAmountPaidCancelled(stored::real(dictionary["AmountPaidCancelled"]));
    setAmountReceived(stored::real(dictionary["AmountReceived"]));
    setAmountReceivedCancelled(stored::real(dictionary["AmountReceivedCancelled"]));
    setAmountPrepaid(stored::real(dictionary["AmountPrepaid"]));
    setBalanceAmount(stored::real(dictionary["BalanceAmount"]));
    setPaymentAmountNextPeriod(stored::real(dictionary["PaymentAmountNextPeriod"]));
    setClosingTransactionId(stored::integer(dictionary["ClosingTransactionId"]));
    setClosingDate(stored::integer(dictionary["ClosingDate"]));
    setStatus(stored::text(dictionary["Status"]));
    return true;
}

std::optional<std::string> VATPeriodStatusImageName(std::string_view status)
{
    if (status == "open")
        return "openPeriod";
    if (status == "closed")
        return "closedPeriod";
    if (status == "next")
        return "nextPeriod";
    if (status == "overdue")
        return "overduePeriod";
    return std::nullopt;
}

} // namespace ch::business
