#pragma once
// GXVATRate ('VatR'): one VAT percentage and the bookkeeping objects that
// carry its VAT: a paid and a received account, an optional reconciliation
// account, the category of VAT invoiced but not yet received, the share of
// the VAT that is fiscally recoverable, and four booking keys (stored and
// shown, used by no computation).
//
// Its ten values follow the base values in the archive in the order of the
// fields below. The paid account is the one labelled "VATRECEIVED" when the
// rate makes it, the received account the one labelled "VATPAID".
//
// The rate also classifies the booking lines on its two accounts into the
// five VAT figures (see getVATBalanceForTransactionDetail).

#include <memory>
#include <optional>
#include <string>

#include "bridge/LineItemList.h"
#include "business/GXNonVisual.h"
#include "business/VATFigures.h"
#include "model/foundation/ModelTypes.h"

namespace ch {
class CDebetItem;
namespace arguments {
class VATRateArguments;
}
} // namespace ch

namespace ch::business {

class GXVATRate final : public GXNonVisual {
public:
    static constexpr char kObjectType[] = "VatR";
    static constexpr char kClassName[] = "GXVATRate";

    // Type "VatR", recoverable percentage 100, no id yet.
    explicit GXVATRate(BusinessDocument* document = nullptr);
    // A new rate that takes the arguments (making its accounts and category
    // when they ask for it).
    static std::shared_ptr<GXVATRate> makeWithArguments(const arguments::VATRateArguments& arguments,
                                                        BusinessDocument* document);
    // The archived rate at the unarchiver's current object.
    static std::shared_ptr<Archivable> decode(KeyedUnarchiver& coder);

    // The id rule with the VAT-rate counter.
    void setIdKey(std::optional<long> id) override;
    // The last id given to a rate of no document; a session starts at 0.
    static std::int32_t sVATRateCounter;

    const std::optional<double>& rate() const { return mRate; }
    void setRate(std::optional<double> rate);
    const std::optional<double>& fiscalRecoverablePercentage() const { return mFiscalRecoverablePercentage; }
    void setFiscalRecoverablePercentage(std::optional<double> percentage);
    const std::optional<long>& accountIdPaid() const { return mAccountIdPaid; }
    void setAccountIdPaid(std::optional<long> id);
    const std::optional<long>& accountIdReceived() const { return mAccountIdReceived; }
    void setAccountIdReceived(std::optional<long> id);
    const std::optional<long>& accountIdReconciled() const { return mAccountIdReconciled; }
    void setAccountIdReconciled(std::optional<long> id);
    const std::optional<std::string>& keyPaid() const { return mKeyPaid; }
    void setKeyPaid(std::optional<std::string> key);
    const std::optional<std::string>& keyPaidCancelled() const { return mKeyPaidCancelled; }
    void setKeyPaidCancelled(std::optional<std::string> key);
    const std::optional<std::string>& keyReceived() const { return mKeyReceived; }
    void setKeyReceived(std::optional<std::string> key);
    const std::optional<std::string>& keyReceivedCancelled() const { return mKeyReceivedCancelled; }
    void setKeyReceivedCancelled(std::optional<std::string> key);
    const std::optional<long>& categoryInvoicedNotYetReceived() const { return mCategoryInvoicedNotYetReceived; }
    void setCategoryInvoicedNotYetReceived(std::optional<long> id);

    // Takes name, description, rate and keys; an id when it has none (-1
    // draws the next one); makes or takes the accounts and the category as
    // the flags say; the recoverable percentage; and updates the settings'
    // invoiced-not-received category while that is still 1. True.
    bool synchronizeWithArguments(const arguments::VATRateArguments& arguments);
    // The rate's values; the three create flags off.
    std::unique_ptr<arguments::VATRateArguments> getAsArguments() const;

    bool objectCanBeDeletedWithMessage(bool showMessage) const override;

    // rate x amount / 100; as deductible, times the recoverable percentage / 100.
    double calculateVATAmountFor(double amount, bool asDeductible) const;

    // Have the document make the account or category; its id, none when the
    // document made none.
    std::optional<long> createAccountPaid();
    std::optional<long> createAccountreceived();
    std::optional<long> createReconciledAccount();
    std::optional<long> createCategoryInvoicedNotReceived();

    std::optional<std::string> accountPaidName() const;
    std::optional<std::string> accountReceivedName() const;
    // "Na" without a reconciliation account or name.
    std::string accountReconciledName() const;

    // The booking lines on the paid (true) or received account whose
    // transaction date lies from `from` to `to`, both included: the account's
    // debit lines, then its credit lines.
    LineItemArray getBookingsPaid(bool paid, DateT from, DateT to) const;
    // The line's counterparty VAT id and its figures (exactly one of them
    // set): on the paid account a credit line is paid, another line paid
    // cancelled, or prepaid (minus the line) when the counterparty is the
    // own owner; on the other account a debit line is received, another
    // line received cancelled, or prepaid (plus the line) for the own owner.
    // The recoverable percentage applies to all but prepaid. A line of the
    // own owner in the VAT balancing transaction sets nothing. None (figures
    // untouched) when the line has no counterparty id.
    std::optional<std::string> getVATBalanceForTransactionDetail(const CDebetItem& line, VATFigures& figures) const;
    // The rate's figures over the range: its paid account's lines, then its
    // received account's (once when both are the same account).
    VATFigures getBalanceInPeriod(DateT from, DateT to) const;

    Dictionary dictionaryRepresentation() const override;
    bool setEqualToDictionaryRepresentation(const Dictionary& dictionary) override;

    std::vector<std::string> archiveClassNames() const override;
    void encodeWithCoder(KeyedArchiver& coder) const override;

protected:
    std::int32_t* idCounter(BusinessDocument* document) const override;

private:
    std::optional<long> createAccount(bool paid, bool received, bool reconciled);

    std::optional<double> mRate;
    std::optional<double> mFiscalRecoverablePercentage;
    std::optional<long> mAccountIdPaid;
    std::optional<long> mAccountIdReceived;
    std::optional<long> mAccountIdReconciled;
    std::optional<std::string> mKeyPaid;
    std::optional<std::string> mKeyPaidCancelled;
    std::optional<std::string> mKeyReceived;
    std::optional<std::string> mKeyReceivedCancelled;
    std::optional<long> mCategoryInvoicedNotYetReceived;
};

} // namespace ch::business
