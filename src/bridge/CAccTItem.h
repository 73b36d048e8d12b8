#pragma once
// CAccTItem: the item of an account type ('AccT'), a folder of accounts and
// of child account types in the outline of the chart of accounts. It turns
// the type's balance and tree messages into the document's notifications
// "FOLDERBALANCECHANGED", "CHILDFOLDERSCHANGEDNOTIFICATION" and
// "CHILDOBJECTSCHANGEDNOTIFICATION" (object: the item).

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/AccountAncestor.h"

namespace ch {

class CAcnTItem;
struct AccountTypeArguments;

class CAccTItem : public AccountAncestor {
public:
    using AccountAncestor::AccountAncestor;

    // --- properties (bound: the model; detached: the kept values)
    // The name without the accounting number.
    std::string getNameOnly() const;
    void setGetNameOnly(std::optional<std::string_view> name) { setGetName(name); }
    std::string getDescription() const;
    // Cut to 254 characters; the 8-bit and the Unicode description.
    void setGetDescription(std::optional<std::string_view> description);
    std::optional<double> getBalance() const override;
    // Changes no model; a detached item keeps the value.
    void setGetBalance(std::optional<double> balance);
    std::optional<double> getLocalBalance() const override { return getBalance(); }
    std::string getAccountNumber() const;
    void setGetAccountNumber(std::optional<std::string_view> number);
    std::optional<long> getMasterType() const;
    void setGetMasterType(std::optional<long> masterType);
    // Id of the parent account type.
    std::optional<long> getParentType() const;
    void setGetParentType(std::optional<long> parentId);

    std::string outlineBalance() const override;
    std::string outlineCurrency() const override { return {}; }
    // The short name of the home currency.
    std::string currencySymbol() const override;
    // The name of the parent type's item; empty when there is none.
    std::string accountTypeName() const override;
    bool isBold() const override { return true; }
    bool isRootItem() const override { return sourceIsRootItem(); }
    // A type below another, or a top-level type with id 6 or more.
    bool canItemBeRelocated() const override { return folderCanBeRelocated(); }

    // --- collections
    // The items of the child types (kept once built, rebuilt after 2020).
    ItemArray children() override;
    std::size_t childrenCount() override { return folderChildrenCount(); }
    // The items of the accounts of this type, in model order.
    std::vector<std::shared_ptr<CAcnTItem>> accountArray();
    ItemArray pieChartChildrenArray() override;
    // [this type when "GXCShowFoldersInSequentialObjectList" is on,] the
    // leaves of the child types, then the accounts.
    ItemArray leafArray() override;
    // The lines of every account of the type, then those of the child types.
    LineItemArray allTransactionDetails() override;
    // Its model lines, in the same order, no item made.
    void appendModelLines(std::vector<CNonVisual*>& lines);

    GXObjectDescriptionStrings getObjectDescription() const override;
    void synchronizeWithObject(const CNonVisualDataItem& other) override;
    void synchronizeWithParameters(const AccountTypeArguments& arguments);

    // 2004, 2020 and 2021 become notifications; the rest as the base.
    void ListenToMessage(MessageT message, void* param) override;

private:
    std::optional<std::string> mDescription;
    std::optional<double> mBalance;
    std::optional<std::string> mAccountNumber;
    std::optional<long> mMasterType;
    std::optional<long> mParentType;
};

} // namespace ch
