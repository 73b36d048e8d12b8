#include "business/GXVATRate.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessDocument.h"
#include "business/ArchivedFields.h"
#include "business/StoredValues.h"
#include "business/VATRateArguments.h"
#include "business/VATRates.h"
#include "platform/core/four_char_code.h"

namespace ch::business {

std::int32_t GXVATRate::sVATRateCounter = 0;

GXVATRate::GXVATRate(BusinessDocument* document) : GXNonVisual(document)
{
    mFiscalRecoverablePercentage = 100.0;
    setObjectType(std::string(kObjectType));
}

std::shared_ptr<GXVATRate> GXVATRate::makeWithArguments(const arguments::VATRateArguments& arguments,
                                                        BusinessDocument* document)
{
    auto rate = std::make_shared<GXVATRate>(document);
    rate->synchronizeWithArguments(arguments);
    return rate;
}

std::shared_ptr<Archivable> GXVATRate::decode(KeyedUnarchiver& coder)
{
    auto rate = std::make_shared<GXVATRate>();
    ArchivedFields fields(coder, kClassName);
    rate->decodeBaseValues(fields);
    rate->setRate(fields.real("rate"));
    rate->setFiscalRecoverablePercentage(fields.real("fiscalRecoverablePercentage"));
    rate->setAccountIdPaid(fields.integer("accountIdPaid"));
    rate->setAccountIdReceived(fields.integer("accountIdReceived"));
    rate->setAccountIdReconciled(fields.integer("accountIdReconciled"));
    rate->setKeyPaid(fields.text("keyPaid"));
    rate->setKeyPaidCancelled(fields.text("keyPaidCancelled"));
    rate->setKeyReceived(fields.text("keyReceived"));
    rate->setKeyReceivedCancelled(fields.text("keyReceivedCancelled"));
    rate->setCategoryInvoicedNotYetReceived(fields.integer("categoryInvoicedNotYetReceived"));
    fields.finish();
    return rate;
}

void GXVATRate::encodeWithCoder(KeyedArchiver& coder) const
{
    GXNonVisual::encodeWithCoder(coder);
    coder.encodeValue(stored::toValue(mRate));
    coder.encodeValue(stored::toValue(mFiscalRecoverablePercentage));
    coder.encodeValue(stored::toValue(mAccountIdPaid));
    coder.encodeValue(stored::toValue(mAccountIdReceived));
    coder.encodeValue(stored::toValue(mAccountIdReconciled));
    coder.encodeValue(stored::toValue(mKeyPaid));
    coder.encodeValue(stored::toValue(mKeyPaidCancelled));
    coder.encodeValue(stored::toValue(mKeyReceived));
    coder.encodeValue(stored::toValue(mKeyReceivedCancelled));
    coder.encodeValue(stored::toValue(mCategoryInvoicedNotYetReceived));
}

std::vector<std::string> GXVATRate::archiveClassNames() const
{
    return {kClassName, "GXNonVisual", "NSObject"};
}

void GXVATRate::setIdKey(std::optional<long> id)
{
    setIdKeyCountedBy(*idCounter(parentDocument()), id);
}

std::int32_t* GXVATRate::idCounter(BusinessDocument* document) const
{
    return document ? &document->businessIds().VATRates : &sVATRateCounter;
}

void GXVATRate::setRate(std::optional<double> rate) { change(mRate, rate, "rate"); }
void GXVATRate::setFiscalRecoverablePercentage(std::optional<double> percentage)
{
    change(mFiscalRecoverablePercentage, percentage, "fiscalRecoverablePercentage");
}
void GXVATRate::setAccountIdPaid(std::optional<long> id) { change(mAccountIdPaid, id, "accountIdPaid"); }
void GXVATRate::setAccountIdReceived(std::optional<long> id) { change(mAccountIdReceived, id, "accountIdReceived"); }
void GXVATRate::setAccountIdReconciled(std::optional<long> id)
{
    change(mAccountIdReconciled, id, "accountIdReconciled");
}
void GXVATRate::setKeyPaid(std::optional<std::string> key) { change(mKeyPaid, std::move(key), "keyPaid"); }
void GXVATRate::setKeyPaidCancelled(std::optional<std::string> key)
{
    change(mKeyPaidCancelled, std::move(key), "keyPaidCancelled");
}
void GXVATRate::setKeyReceived(std::optional<std::string> key) { change(mKeyReceived, std::move(key), "keyReceived"); }
void GXVATRate::setKeyReceivedCancelled(std::optional<std::string> key)
{
    change(mKeyReceivedCancelled, std::move(key), "keyReceivedCancelled");
}
void GXVATRate::setCategoryInvoicedNotYetReceived(std::optional<long> id)
{
    change(mCategoryInvoicedNotYetReceived, id, "categoryInvoicedNotYetReceived");
}

bool GXVATRate::synchronizeWithArguments(const arguments::VATRateArguments& arguments)
{
    setName(arguments.name);
    setDescription(arguments.description);
    setRate(arguments.rate);
    setKeyPaid(arguments.keyPaid);
    setKeyPaidCancelled(arguments.keyPaidCancelled);
    setKeyReceived(arguments.keyReceived);
    setKeyReceivedCancelled(arguments.keyReceivedCancelled);
    if (idKey().value_or(-1) < 0)
        setIdKey(arguments.idKey.value_or(-1));

    if (arguments.createAccounts.value_or(false)) {
        setAccountIdPaid(createAccountPaid());
        setAccountIdReceived(createAccountreceived());
    } else {
        setAccountIdPaid(arguments.accountIdPaid);
        setAccountIdReceived(arguments.accountIdReceived);
    }
    if (arguments.createAccountReconciled.value_or(false))
        setAccountIdReconciled(createReconciledAccount());
    else
        setAccountIdReconciled(arguments.accountIdReconciled);
    if (arguments.createCategoryInvoicedNotReceived.value_or(false))
        setCategoryInvoicedNotYetReceived(createCategoryInvoicedNotReceived());
    else
        setCategoryInvoicedNotYetReceived(arguments.categoryInvoicedNotReceivedId);
    setFiscalRecoverablePercentage(arguments.fiscalPCT);

    // The settings' category of VAT invoiced but not yet received follows the
    // first rate that brings a real category, while it still names the default.
    CPrfRItem* settings = parentDocument() ? parentDocument()->preferenceItem() : nullptr;
    if (settings && mCategoryInvoicedNotYetReceived && settings->mVatInvoicedNotYetReceivedExpT() == 1 &&
        *mCategoryInvoicedNotYetReceived >= 2)
        settings->setMVatInvoicedNotYetReceivedExpT(*mCategoryInvoicedNotYetReceived);
    return true;
}

std::unique_ptr<arguments::VATRateArguments> GXVATRate::getAsArguments() const
{
    auto arguments = std::make_unique<arguments::VATRateArguments>();
    arguments->idKey = idKey() ? std::optional<long>(*idKey()) : std::nullopt;
    arguments->name = name();
    arguments->description = description();
    arguments->type = objectType();
    arguments->rate = mRate;
    arguments->fiscalPCT = mFiscalRecoverablePercentage;
    arguments->accountIdPaid = mAccountIdPaid;
    arguments->accountIdReceived = mAccountIdReceived;
    arguments->accountIdReconciled = mAccountIdReconciled;
    arguments->categoryInvoicedNotReceivedId = mCategoryInvoicedNotYetReceived;
    arguments->keyPaid = mKeyPaid;
    arguments->keyPaidCancelled = mKeyPaidCancelled;
    arguments->keyReceived = mKeyReceived;
    arguments->keyReceivedCancelled = mKeyReceivedCancelled;
    arguments->createAccounts = false;
    arguments->createAccountReconciled = false;
    arguments->createCategoryInvoicedNotReceived = false;
    return arguments;
}

bool GXVATRate::objectCanBeDeletedWithMessage(bool) const
{
    return true;
}

double GXVATRate::calculateVATAmountFor(double amount, bool asDeductible) const
{
    double vat = mRate.value_or(0.0) * amount / 100.0;
    if (asDeductible && mFiscalRecoverablePercentage)
        vat *= *mFiscalRecoverablePercentage / 100.0;
    return vat;
}

std::optional<long> GXVATRate::createAccount(bool paid, bool received, bool reconciled)
{
    if (!parentDocument())
        return std::nullopt;
    const ObjectIdT id = createAccountForVATRate(*parentDocument(), *this, paid, received, reconciled);
    if (id < 0)
        return std::nullopt;
    return id;
}

std::optional<long> GXVATRate::createAccountPaid() { return createAccount(true, false, false); }
std::optional<long> GXVATRate::createAccountreceived() { return createAccount(false, true, false); }
std::optional<long> GXVATRate::createReconciledAccount() { return createAccount(false, false, true); }

std::optional<long> GXVATRate::createCategoryInvoicedNotReceived()
{
    if (!parentDocument())
        return std::nullopt;
    return createCategoryInvoicedNotReceivedForVATRate(*parentDocument(), *this);
}

std::optional<std::string> GXVATRate::accountPaidName() const
{
    return getAccountNameForId(mAccountIdPaid);
}

std::optional<std::string> GXVATRate::accountReceivedName() const
{
    return getAccountNameForId(mAccountIdReceived);
}

std::string GXVATRate::accountReconciledName() const
{
    if (!mAccountIdReconciled)
        return "Na";
    std::optional<std::string> name = getAccountNameForId(mAccountIdReconciled);
    return name && !name->empty() ? *name : "Na";
}

LineItemArray GXVATRate::getBookingsPaid(bool paid, DateT from, DateT to) const
{
    LineItemArray result;
    const std::optional<long>& accountId = paid ? mAccountIdPaid : mAccountIdReceived;
    if (!accountId || !parentDocument())
        return result;
    std::shared_ptr<CAcnTItem> account =
        parentDocument()->bridgeDocument().getAccountItemForId(static_cast<ObjectIdT>(*accountId));
    if (!account)
        return result;
    for (std::shared_ptr<CDebetItem>& line : account->allTransactionDetailsWithoutFinalizing()) {
        if (!line)
            continue;
        const DateT date = line->getTransactionDate();
        if (date >= from && date <= to)
            result.push_back(std::move(line));
    }
    return result;
}

std::optional<std::string> GXVATRate::getVATBalanceForTransactionDetail(const CDebetItem& line,
                                                                        VATFigures& figures) const
{
    bool ownOwner = false;
    std::string counterparty = line.counterPartyVATId(ownOwner);
    if (counterparty.empty())
        return std::nullopt;
    const bool balancing = ownOwner && line.isVATBalancingTransaction();

    const double local = line.getLocalAmount().value_or(0.0);
    double amount = local;
    if (mFiscalRecoverablePercentage && *mFiscalRecoverablePercentage != 100.0)
        amount = local * *mFiscalRecoverablePercentage / 100.0;

    figures = VATFigures();
    const bool onPaidAccount = mAccountIdPaid && line.account() == mAccountIdPaid;
    const FourCharCode kind = line.getType();
    if (onPaidAccount) {
        if (kind == fourCC("CreT"))
            figures.paid = amount;
        else if (!ownOwner)
            figures.paidCancelled = amount;
        else if (!balancing)
            figures.prepaid = -local;
    } else {
        if (kind == fourCC("DebT"))
            figures.received = amount;
        else if (!ownOwner)
            figures.receivedCancelled = amount;
        else if (!balancing)
            figures.prepaid = local;
    }
    return counterparty;
}

VATFigures GXVATRate::getBalanceInPeriod(DateT from, DateT to) const
{
    VATFigures sums;
    auto add = [&](bool paid) {
        for (const std::shared_ptr<CDebetItem>& line : getBookingsPaid(paid, from, to)) {
            VATFigures figures;
            getVATBalanceForTransactionDetail(*line, figures);
            sums += figures;
        }
    };
    add(true);
    // One account serving as both would otherwise count each of its lines twice.
    if (mAccountIdReceived != mAccountIdPaid)
        add(false);
    return sums;
}

Dictionary GXVATRate::dictionaryRepresentation() const
{
    Dictionary dictionary = GXNonVisual::dictionaryRepresentation();
    stored::putPresent(dictionary, "VATRate", mRate);
    stored::putPresent(dictionary, "FiscalRecoverablePct", mFiscalRecoverablePercentage);
    stored::putPresent(dictionary, "AccountIdPaid", mAccountIdPaid);
    stored::putPresent(dictionary, "AccountIdReceived", mAccountIdReceived);
    stored::putPresent(dictionary, "AccountIdReconciled", mAccountIdReconciled);
    stored::putPresent(dictionary, "CategoryInvoicedNotReceived", mCategoryInvoicedNotYetReceived);
    stored::putPresent(dictionary, "VATPaidKey", mKeyPaid);
    stored::putPresent(dictionary, "VATPaidCancelledKey", mKeyPaidCancelled);
    stored::putPresent(dictionary, "VATReceivedKey", mKeyReceived);
    stored::putPresent(dictionary, "VATReceivedCancelledKey", mKeyReceivedCancelled);
    return dictionary;
}

bool GXVATRate::setEqualToDictionaryRepresentation(const Dictionary& dictionary)
{
    if (!GXNonVisual::setEqualToDictionaryRepresentation(dictionary))
        return false;
    setRate(stored::real(dictionary["VATRate"]));
    setFiscalRecoverablePercentage(stored::real(dictionary["FiscalRecoverablePct"]));
    setAccountIdPaid(stored::integer(dictionary["AccountIdPaid"]));
    setAccountIdReceived(stored::integer(dictionary["AccountIdReceived"]));
    setAccountIdReconciled(stored::integer(dictionary["AccountIdReconciled"]));
    setCategoryInvoicedNotYetReceived(stored::integer(dictionary["CategoryInvoicedNotReceived"]));
    setKeyPaid(stored::text(dictionary["VATPaidKey"]));
    setKeyPaidCancelled(stored::text(dictionary["VATPaidCancelledKey"]));
    setKeyReceived(stored::text(dictionary["VATReceivedKey"]));
    setKeyReceivedCancelled(stored::text(dictionary["VATReceivedCancelledKey"]));
    return true;
}

} // namespace ch::business
