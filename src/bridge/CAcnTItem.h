#pragma once
// CAcnTItem: the item of an account ('AcnT'). Besides the account's fields and
// balances it keeps the account's booking lines as two lists of line items
// (debit lines "from", credit lines "to"), built on first request and kept in
// step with the model's line messages (2022-2025).
//
// A detached item is the temporary account of the creation sheet: fiscal
// percentage 100, bank account number "000-0000000-00", empty texts.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/AccountAncestor.h"

namespace ch {

class CAcoWItem;
class CNamedListArray;
struct AccountArguments;

class CAcnTItem : public AccountAncestor {
public:
    static constexpr std::string_view kDefaultBankAccountNumber = "000-0000000-00";

    CAcnTItem();
    explicit CAcnTItem(CNonVisual* account, const Ptr& parent = nullptr);
    ~CAcnTItem() override;

    // --- properties (bound: the model; detached: the kept values)
    std::string getNameOnly() const;
    void setGetNameOnly(std::optional<std::string_view> name) { setGetName(name); }
    std::string getDescription() const;
    // Ignores none; cut to 254 characters.
    void setGetDescription(std::optional<std::string_view> description);
    std::string getAccountNumber() const;
    // None clears the accounting number (8-bit and Unicode).
    void setGetAccountNumber(std::optional<std::string_view> number);
    std::string getBankAccountNumber() const;
    void setGetBankAccountNumber(std::optional<std::string_view> number);
    std::optional<long> getAccountOwnerId() const;
    void setGetAccountOwnerId(std::optional<long> ownerId);
    std::optional<long> getAccountTypeId() const;
    // Moves the account to the type (posting its balance) when the id differs.
    void setGetAccountTypeId(std::optional<long> typeId);
    std::optional<long> getGroupingAccountId() const;
    // Kept only.
    void setGetGroupingAccountId(std::optional<long> accountId);
    // In the account's currency.
    std::optional<double> getBalance() const override;
    void setGetBalance(std::optional<double> balance);
    // In the home currency.
    std::optional<double> getLocalBalance() const override;
    void setGetLocalBalance(std::optional<double> balance);
    std::string balanceAsString() const override;
    std::string localBalanceAsString() const;
    std::string getLocalBalanceAsString() const;
    std::optional<long> getCurrencyId() const;
    void setGetCurrencyId(std::optional<long> currencyId);
    std::string currencySymbol() const override;
    std::string accountTypeName() const override;
    std::shared_ptr<CAcoWItem> accountOwner() const;
    std::optional<double> getFiscalPct() const;
    void setGetFiscalPct(std::optional<double> percentage);
    // Id of the default category; -1 when the account has none.
    std::optional<long> getDefaultExensetypeId() const;
    void setGetDefaultExensetypeId(std::optional<long> categoryId);
    int specialType() const;
    void setSpecialType(std::optional<int> type);
    std::optional<int> specialSubType() const;
    void setSpecialSubType(std::optional<int> subType);
    bool isAccountOfSpecialType(int type) const;
    bool isCreditCard() const;
    void setIsCreditCard(bool isCard);
    bool isProperty() const;
    bool isDebt() const;
    bool isProfitAndLoss() const;
    bool isRootItem() const override { return sourceIsRootItem(); }
    bool hasTransactions() const;
    // Name, bank account number, description and balance on their own lines;
    // the balance red from 0 up, green below 0.
    StyledText creditCardDescription() const;
    // The balance typed in the account sheet.
    std::optional<double> newBalance() const { return mNewBalance; }
    void setNewBalance(std::optional<double> balance);

    // --- operations
    // Balances at the four end dates (balance-sheet accounts) or movements
    // within the four periods (profit-and-loss accounts).
    std::optional<CLevelCounters> getBalanceInPeriod(DateT p1Start, DateT p1End, DateT p2Start,
                                                     DateT p2End, DateT p3Start, DateT p3End,
                                                     DateT p4Start, DateT p4End) override;
    // The id of an earlier transaction that looks the same; 0 when none.
    long checkDuplicateTransaction(long fromAccountId, long toAccountId, double amount,
                                   long currencyId, DateT dateFrom, DateT dateTo,
                                   std::string_view documentRef, std::string_view description) const;
    bool objectCanBeDeleted() const override;
    bool objectCanBeDeletedWithMessage(bool showMessage, const CNonVisualDataItem* ignoringOwner) const;
    GXObjectDescriptionStrings getObjectDescription() const override;

    // --- booking lines
    LineItemArray fromTransactionDetails();
    LineItemArray toTransactionDetails();
    // Drop the kept list; the next request rebuilds it.
    void setFromTransactionDetails();
    void setToTransactionDetails();
    // Appends the registry's item of every line of the list.
    void initializeArray(LineItemArray& items, const CNamedListArray* lines) const
    {
        appendLineItems(items, lines, registry());
    }
    LineItemArray allTransactionDetailsWithoutFinalizing() override;
    // The model lines of allTransactionDetailsWithoutFinalizing, no item made.
    void appendModelLines(std::vector<CNonVisual*>& lines) const;
    // Sorted by date and id, with running balances.
    LineItemArray allTransactionDetails() override;

    void synchronizeWithObject(const CNonVisualDataItem& other) override;
    void synchronizeWithArguments(const AccountArguments& arguments);

    // 2022-2025 keep the line lists; the rest as the base.
    void ListenToMessage(MessageT message, void* param) override;

private:
    // The kept list over the model's lines, built on first request.
    LineItemList& keptLines(std::unique_ptr<LineItemList>& list, const CNamedListArray* lines);

    std::optional<long> mAccountOwnerId;
    std::optional<long> mAccountTypeId;
    std::optional<std::string> mDescription;
    std::optional<std::string> mAccountNumber;
    std::optional<std::string> mBankAccountNumber;
    std::optional<long> mGroupingAccountId;
    std::optional<double> mBalance;
    std::optional<double> mLocalBalance;
    std::optional<long> mCurrencyId;
    std::optional<double> mFiscalPct;
    std::optional<long> mDefaultExpenseTypeId;
    std::optional<double> mNewBalance;
    std::optional<int> mSpecialType;
    std::optional<int> mCreditCardSubtype;
    std::unique_ptr<LineItemList> mFromTransactionDetails;
    std::unique_ptr<LineItemList> mToTransactionDetails;
};

} // namespace ch
