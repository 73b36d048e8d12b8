#pragma once
// CDebetItem: the item of one booking line of a transaction: a debit line
// ('DebT', from), a credit line ('CreT', to) or a category line ('ExtD', for).
// What concerns the whole transaction (status, flag, reference, payments) it
// forwards to the item of its transaction.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class CAcnTItem;
class CDebit;
class CTrnSItem;

// The keys of a line's dictionary form (besides those of every item).
namespace line_key {
inline constexpr std::string_view kAccountId = "AccountId";
inline constexpr std::string_view kAccountName = "AccountName";
inline constexpr std::string_view kCurrencyId = "CurrencyId";
inline constexpr std::string_view kCurrencySymbol = "CurrencySymbol";
inline constexpr std::string_view kAmount = "Amount";   // in the line's currency
// Only for a line of no amount in its currency that counts in the home
// currency (a rounding cent, a rate's fluctuation): that home amount, which
// the amount alone cannot give back.
inline constexpr std::string_view kLocalAmount = "LocalAmount";
} // namespace line_key

class CDebetItem : public CNonVisualDataItem {
public:
    CDebetItem();
    explicit CDebetItem(CNonVisual* line, const Ptr& parent = nullptr);
    ~CDebetItem() override;

    // --- identity and texts ("DELETEDITEM" text without a line)
    // 'DebT', 'CreT' or 'ExtD'; 'NoNe' without a line.
    FourCharCode getType() const;
    // The transaction's name and description.
    std::string getName() const override;
    std::string getDescription() const;
    std::string getAccountName() const;
    std::string accountName() const { return getAccountName(); }
    std::string getBankAccountNumber() const;
    std::string getBookingAccountNumber() const;
    std::string getForeignCurrency() const;
    std::string getForeignCurrencyName() const;
    std::string currencyName() const { return getForeignCurrencyName(); }
    std::string getLocalCurrency() const;
    std::string transactionDateAsString() const;
    std::optional<long> transactionDateAsNumber() const;
    std::optional<long> mDate() const { return transactionDateAsNumber(); }
    // 0 without a line.
    DateT getTransactionDate() const;
    // -1 without a line.
    ObjectIdT getTransactionId() const;
    std::string fullDescription() const;
    // The account or category id; its model object; the registry's account
    // item (a new one without a document; none for a category).
    std::optional<long> account() const;
    CNonVisual* accountObject() const;
    std::shared_ptr<CAcnTItem> accountItem() const;
    // The id of the line's currency.
    std::optional<long> currencyId() const;
    // The colour of the category or group the line books on; black otherwise.
    Colour getAccountColor() const;

    // --- amounts
    // Home currency.
    std::optional<double> getAmount() const;
    // Line currency.
    std::optional<double> getForeignAmount() const;
    std::optional<double> getLocalAmount() const;
    std::optional<double> getLocalBalance() const override;
    std::optional<double> getForeignBalance() const;
    std::string LocalAmountAsString() const;
    std::string ForeignAmountAsString() const;
    StyledText LocalAmountAsFString() const;
    StyledText ForeignAmountAsFString() const;
    // Right-aligned in tableTextColor (plain without a line).
    StyledText formatString(std::string text) const;
    std::optional<double> getCumulativeAmount() const;
    void setCumulativeAmount(std::optional<double> balance);

    // --- setters (nothing without a line); the account, currency and amount
    // setters tell the transaction's item that its lines changed.
    void setAccount(std::optional<long> accountId);
    // Finds the account (or category, for a category line) by name.
    void setAccountName(std::string_view name);
    void setCurrencyId(std::optional<long> currencyId);
    // Finds the currency by its display name.
    void setCurrencyName(std::string_view name);
    // The amount in the line's currency.
    void setGetForeignAmount(std::optional<double> amount);
    bool updateFromDetail(const CDebetItem& other);
    // Takes the dictionary's account, currency and amount in that currency.
    // A line given the ones it has keeps its amount in the home currency
    // unless its transaction moved to another date (redated).
    bool updateFromDictionary(const Dictionary& dictionary, bool redated = false);

    // --- the transaction
    // The registry's item of the line's transaction; null without a line or document.
    std::shared_ptr<CTrnSItem> parentTransaction() const;
    // A line of a sheet's own transaction (made unlinked, or recurring, and
    // in no list of the books) is not part of the books.
    bool belongsToBooks() const override;
    int objectStatus() const override;
    void setObjectStatus(int status) override;
    void toggleStatus() override;
    void toggleFlag() override;
    std::optional<long> referenceObjectId() const;
    void setReferenceObjectId(std::optional<long> id);
    std::optional<double> unaccountedForAmount();
    std::optional<double> amountOfDebtNotYetReplenishedByUs();
    void setUnaccountedForAmount();
    void setAmountOfDebtNotYetReplenishedByUs();
    std::optional<long> isLinkedToTransactionAsPayment();
    bool isLinkedToTransactionAsPaymentBoolReturn();
    std::optional<DateT> dueDate();
    std::optional<std::string> paymentReference();
    bool linkPaymentToInvoice(CTrnSItem& payment);
    bool isVATBalancingTransaction() const;

    // --- classification
    // 4 on a profit-and-loss account; 1 on a property or debt account or an
    // income category; 0 on an expense category; 3 otherwise.
    int isOnPLAccount() const;
    // The same code for the account or category a line is booked on.
    static int profitAndLossCodeOf(const CNonVisual* accountOrCategory);
    Colour tableTextColor() const;
    // The counterparty's VAT number or name for the VAT listings; "Na" when
    // there is none. isOwnCompany tells that the counterparty is owner 1.
    std::string counterPartyVATId(bool& isOwnCompany) const;

    // --- dictionary and export
    // "Amount" is the amount in the line's own currency ("CurrencyId"), as
    // the readers take it.
    Dictionary dictionaryRepresentation() const override;
    // The label, the account texts, the amount in the line's currency and
    // the currency (with amountAsWell), else the account texts alone.
    std::string exportAsTSV(bool amountAsWell, bool asQif) const;
    // One record of an account's or category's export: the transaction as
    // this line sees it (amounts negated for a debit line).
    std::string exportItsTransactionAsTSV(bool asQif) const;
    // A text as one export field: tabs and line ends become blanks.
    static std::string exportField(std::string text);

private:
    // The transaction's item: the registry's, or a new one without a document.
    std::shared_ptr<CTrnSItem> transactionItem() const;
    // Tells the registry's item of the transaction that its lines changed.
    void transactionLinesChanged() const;

    mutable std::weak_ptr<CTrnSItem> mParentTransaction;
};

// A line read from a dictionary with no amount in its currency takes the
// home amount the dictionary kept for it: a copy, a paste or a replayed
// entry of a rounding cent counts as the line did. Lines with an amount
// are left to their currency's rate.
void takeHomeAmountOnly(CDebit& line, const Dictionary& dictionary);

} // namespace ch
