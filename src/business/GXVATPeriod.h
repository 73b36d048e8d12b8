#pragma once
// GXVATPeriod ('VatP'): one VAT declaration period (a month, a quarter or an
// accounting year) with its five VAT figures as last calculated, the advance
// payment expected for the next period, its VAT balancing transaction and a
// status text.
//
// Its twelve values follow the base values in the archive in the order of
// the fields below. The dates are fixed when the period is made: neither
// arguments nor a dictionary change them. The balance amount is stored and
// carried, computed by nothing; the status is "open" unless a stored file or
// taken arguments say otherwise.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "business/GXNonVisual.h"
#include "model/foundation/ModelTypes.h"

namespace ch::arguments {
class VATPeriodArguments;
}

namespace ch::business {

class GXVATPeriod final : public GXNonVisual {
public:
    static constexpr char kObjectType[] = "VatP";
    static constexpr char kClassName[] = "GXVATPeriod";

    // Type "VatP", no id yet (the document gives a new period its id).
    explicit GXVATPeriod(BusinessDocument* document = nullptr);
    static std::shared_ptr<Archivable> decode(KeyedUnarchiver& coder);

    // The id rule with the VAT-period counter.
    void setIdKey(std::optional<long> id) override;
    // The last id given to a period of no document; a session starts at 0.
    static std::int32_t sVATPeriodCounter;

    const std::optional<long>& startDate() const { return mStartDate; }
    void setStartDate(std::optional<long> date);
    const std::optional<long>& endDate() const { return mEndDate; }
    void setEndDate(std::optional<long> date);
    const std::optional<double>& amountPaid() const { return mAmountPaid; }
    void setAmountPaid(std::optional<double> amount);
    const std::optional<double>& amountPaidCancelled() const { return mAmountPaidCancelled; }
    void setAmountPaidCancelled(std::optional<double> amount);
    const std::optional<double>& amountReceived() const { return mAmountReceived; }
    void setAmountReceived(std::optional<double> amount);
    const std::optional<double>& amountReceivedCancelled() const { return mAmountReceivedCancelled; }
    void setAmountReceivedCancelled(std::optional<double> amount);
    const std::optional<double>& amountPrepaid() const { return mAmountPrepaid; }
    void setAmountPrepaid(std::optional<double> amount);
    const std::optional<double>& balanceAmount() const { return mBalanceAmount; }
    void setBalanceAmount(std::optional<double> amount);
    const std::optional<double>& paymentAmountNextPeriod() const { return mPaymentAmountNextPeriod; }
    void setPaymentAmountNextPeriod(std::optional<double> amount);
    const std::optional<long>& closingTransactionId() const { return mClosingTransactionId; }
    void setClosingTransactionId(std::optional<long> id);
    // The stored closing date; without one but with a closing transaction,
    // that transaction's date (none when it no longer exists).
    std::optional<long> closingDate() const;
    const std::optional<long>& storedClosingDate() const { return mClosingDate; }
    void setClosingDate(std::optional<long> date);
    // "open" when none is stored or the stored text is shorter than 4 characters.
    std::string status() const;
    const std::optional<std::string>& storedStatus() const { return mStatus; }
    void setStatus(std::optional<std::string> status);

    // start <= date <= end.
    bool containsDate(DateT date) const;
    bool hasStartDate(DateT start, DateT end) const;
    // The name of the closing transaction; "-" when there is none.
    std::string closingTransactionDescription() const;

    // Name, description, an id when it has none, the figures, the closing
    // fields and the status (not the dates). True.
    bool synchronizeWithArguments(const arguments::VATPeriodArguments& arguments);
    // Id, name, description, type, figures, closing fields and status; no dates.
    std::unique_ptr<arguments::VATPeriodArguments> getAsArguments() const;

    // Recalculates the five figures over the period's dates and the advance
    // payment for the next period, (received - paid) / 3. The balance, the
    // status and the closing fields stay; the document is not marked changed.
    void calculatePeriod();

    bool objectCanBeDeletedWithMessage(bool showMessage) const override;

    Dictionary dictionaryRepresentation() const override;
    bool setEqualToDictionaryRepresentation(const Dictionary& dictionary) override;

    std::vector<std::string> archiveClassNames() const override;
    void encodeWithCoder(KeyedArchiver& coder) const override;

protected:
    std::int32_t* idCounter(BusinessDocument* document) const override;

private:
    std::optional<long> mStartDate;
    std::optional<long> mEndDate;
    std::optional<double> mAmountPaid;
    std::optional<double> mAmountPaidCancelled;
    std::optional<double> mAmountReceived;
    std::optional<double> mAmountReceivedCancelled;
    std::optional<double> mAmountPrepaid;
    std::optional<double> mBalanceAmount;
    std::optional<double> mPaymentAmountNextPeriod;
    std::optional<long> mClosingTransactionId;
    std::optional<long> mClosingDate;
    std::optional<std::string> mStatus;
};

// The name of the image that shows a period's status ("open" shows
// "openPeriod", and likewise "closed", "next", "overdue"); none for any other
// text. Registered for the tables as "VATPeriodStatusTransformer".
std::optional<std::string> VATPeriodStatusImageName(std::string_view status);

} // namespace ch::business
