#pragma once
// GXInvoice ('InvC'): the invoice extension of a customer invoice
// transaction (type 4) or a supplier invoice transaction (type 5): what the
// model transaction has no field for. It is found through its transaction
// id, never through its own id: a new extension has none, so its key is the
// type code alone.
//
// Its thirteen values follow the base values in the archive in the order of
// the fields below. The dictionary keys are spelled as stored files have
// them ("constestationDate", "contestationDecicion").

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/InvoiceHooks.h"
#include "business/GXNonVisual.h"

namespace ch::business {

class GXInvoice final : public GXNonVisual, public ch::GXInvoice {
public:
    static constexpr char kObjectType[] = "InvC";
    static constexpr char kClassName[] = "GXInvoice";

    // Type "InvC", no id, both id lists empty.
    explicit GXInvoice(BusinessDocument* document = nullptr);
    static std::shared_ptr<Archivable> decode(KeyedUnarchiver& coder);

    // The id rule with the invoice counter.
    void setIdKey(std::optional<long> id) override;

    const std::optional<long>& invoiceDate() const { return mInvoiceDate; }
    void setInvoiceDate(std::optional<long> value);
    const std::optional<long>& dueDate() const { return mDueDate; }
    void setDueDate(std::optional<long> value);
    const std::optional<long>& transactionId() const { return mTransactionId; }
    void setTransactionId(std::optional<long> value);
    // True for a customer invoice.
    const std::optional<bool>& isReceivable() const { return mIsReceivable; }
    void setIsReceivable(std::optional<bool> value);
    const std::optional<std::string>& paymentReference() const { return mPaymentReference; }
    void setPaymentReference(std::optional<std::string> value);
    // The payment transactions linked to the invoice, in the order of
    // linking; linking adds to it in place.
    const std::vector<long>& paymentTransactionIdArray() const { return mPaymentTransactionIdArray; }
    std::vector<long>& paymentTransactionIdArray() override { return mPaymentTransactionIdArray; }
    void setPaymentTransactionIdArray(std::vector<long> value);
    // Stored and restored; nothing fills it.
    const std::optional<std::vector<long>>& reminderTransactionIdArray() const { return mReminderTransactionIdArray; }
    void setReminderTransactionIdArray(std::optional<std::vector<long>> value);
    const std::optional<long>& contestationInd() const { return mContestationInd; }
    void setcontestationInd(std::optional<long> value);
    const std::optional<long>& contestationDate() const { return mContestationDate; }
    void setContestationDate(std::optional<long> value);
    const std::optional<long>& contestationStatus() const { return mContestationStatus; }
    void setContestationStatus(std::optional<long> value);
    const std::optional<long>& contestationDecision() const { return mContestationDecision; }
    void setContestationDecision(std::optional<long> value);
    const std::optional<std::string>& contestationDescription() const { return mContestationDescription; }
    void setContestationDescription(std::optional<std::string> value);
    const std::optional<bool>& blockedForReminders() const { return mBlockedForReminders; }
    void setBlockedForReminders(std::optional<bool> value);

    bool objectCanBeDeletedWithMessage(bool showMessage) const override;

    Dictionary dictionaryRepresentation() const override;
    // Every field from its key; a missing key clears the field.
    bool setEqualToDictionaryRepresentation(const Dictionary& dictionary) override;

    std::vector<std::string> archiveClassNames() const override;
    void encodeWithCoder(KeyedArchiver& coder) const override;

protected:
    std::int32_t* idCounter(BusinessDocument* document) const override;

private:
    static std::int32_t sInvoiceCounter;

    std::optional<long> mInvoiceDate;
    std::optional<long> mDueDate;
    std::optional<long> mTransactionId;
    std::optional<bool> mIsReceivable;
    std::optional<std::string> mPaymentReference;
    std::vector<long> mPaymentTransactionIdArray;
    std::optional<std::vector<long>> mReminderTransactionIdArray;
    std::optional<long> mContestationInd;
    std::optional<long> mContestationDate;
    std::optional<long> mContestationStatus;
    std::optional<long> mContestationDecision;
    std::optional<std::string> mContestationDescription;
    std::optional<bool> mBlockedForReminders;
};

} // namespace ch::business
