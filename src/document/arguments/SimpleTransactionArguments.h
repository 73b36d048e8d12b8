#pragma once
// SimpleTransactionArguments: the model of the side bar's quick entry. It
// holds what the user typed (date, our account, the other account, a signed
// amount as seen from our account, name) and works out the accounts, the
// transaction type, the category and the signed category amount of a simple
// transaction, looked up in the given document.
//
// Each setter that changes a value announces its key; amount, our account
// and the other account also announce "actionTitle", whose text depends on
// them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "bridge/ArgumentRecords.h"
#include "document/arguments/CArgumentAncestor.h"
#include "platform/core/observable.h"

namespace ch {
class BridgeDocument;
class CAcnTItem;
} // namespace ch

namespace ch::arguments {

class SimpleTransactionArguments : public CArgumentAncestor, public Observable {
public:
    // Transaction types of the quick entry.
    static constexpr std::uint8_t kIncome = 0;
    static constexpr std::uint8_t kExpense = 1;
    static constexpr std::uint8_t kTransfer = 2;
    static constexpr std::uint8_t kIncomplete = 6;

    SimpleTransactionArguments() = default;
    // A new entry on the date in our account.
    SimpleTransactionArguments(std::optional<long> date, std::optional<long> ourAccountId);

    std::string argumentClass() const override { return "SimpleTransactionArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

    std::uint8_t actionToPerform() const { return mActionToPerform; }
    void setActionToPerform(std::uint8_t action);
    const std::optional<std::string>& name() const { return mName; }
    void setName(std::optional<std::string> name);
    const std::optional<std::string>& description() const { return mDescription; }
    void setDescription(std::optional<std::string> description);
    std::optional<long> date() const { return mDate; }   // DateT
    void setDate(std::optional<long> date);
    std::optional<double> amount() const { return mAmount; }
    void setAmount(std::optional<double> amount);
    std::optional<long> ourAccountId() const { return mOurAccountId; }
    void setOurAccountId(std::optional<long> id);
    std::optional<long> otherAccountId() const { return mOtherAccountId; }
    void setOtherAccountId(std::optional<long> id);
    // The category the user chose.
    std::optional<long> reasonId() const { return mReasonId; }
    void setReasonId(std::optional<long> id);
    // The document of actionTitle; not owned, not written.
    BridgeDocument* parentDocument() const { return mParentDocument; }
    void setParentDocument(BridgeDocument* document) { mParentDocument = document; }

    // The account the money comes from (asFrom) or goes to, for our account,
    // the other account and the amount (positive from 0 up); null accounts
    // count as neither asset nor debt.
    static std::shared_ptr<CAcnTItem> getAccountWhenOurAccount(const std::shared_ptr<CAcnTItem>& ourAccount,
                                                               const std::shared_ptr<CAcnTItem>& otherAccount,
                                                               std::optional<double> amount, bool asFrom);
    // The same with our and the other account looked up in the document.
    std::shared_ptr<CAcnTItem> getAccount(BridgeDocument& document, bool asFrom) const;
    std::optional<long> accountId(BridgeDocument& document, bool asFrom) const;
    std::optional<long> fromAccountId(BridgeDocument& document) const { return accountId(document, true); }
    std::optional<long> toAccountId(BridgeDocument& document) const { return accountId(document, false); }

    // kIncomplete while an account is missing; otherwise kTransfer between
    // asset or debt accounts, kExpense out of one, kIncome into one, and
    // kTransfer between two others.
    std::uint8_t getTransactionType(BridgeDocument& document) const;
    // The amount without its sign (0 without an amount).
    double absoluteAmount() const;
    // The other account's default category when the document knows it, else
    // the document's unspecified income, expense or transfer category by type.
    std::optional<long> category(BridgeDocument& document) const;
    // The absolute amount, negated when the category's kind runs against the
    // type: an income category on an expense, an expense category on an income.
    double categoryAmount(BridgeDocument& document) const;

    // Ready for the next entry: no amount (0), an empty name, no other account;
    // date, our account, description and category stay.
    void reset();

    // "STORE" and a blank, followed by the group name of the type ("incomeMxpTName",
    // "expenseMxpTName", "transferMxpTName"), localized; nothing after the blank
    // while the entry is incomplete or has no document.
    std::string actionTitle() const;
    // Tells the observers of "actionTitle" that it may have changed.
    void setActionTitle();

    // What the transaction item's simple entry applies; none while an account
    // or the category is missing. Its transactionType is the quick entry's.
    std::optional<ch::SimpleTransactionArguments> transactionValues(BridgeDocument& document) const;

protected:
    void addEntries(Dictionary& dictionary) const override;

private:
    template <typename T>
    void change(T& field, T value, const char* key, bool titleDepends = false);

    std::uint8_t mActionToPerform = 0;
    std::optional<std::string> mName;
    std::optional<std::string> mDescription;
    std::optional<long> mDate;
    std::optional<double> mAmount;
    std::optional<long> mOurAccountId;
    std::optional<long> mOtherAccountId;
    std::optional<long> mReasonId;
    BridgeDocument* mParentDocument = nullptr;
};

} // namespace ch::arguments
