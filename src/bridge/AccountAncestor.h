#pragma once
// AccountAncestor: the common base of account-like rows (account types and
// accounts). Its answers are neutral; the two kinds give their own.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/CNonVisualDataItem.h"
#include "bridge/LineItemList.h"

namespace ch {

class AccountAncestor : public CNonVisualDataItem {
public:
    using CNonVisualDataItem::CNonVisualDataItem;

    // 0.0 here.
    virtual std::optional<double> getBalance() const;
    // Empty texts and no lines here.
    virtual std::string balanceAsString() const;
    virtual std::string currencySymbol() const;
    virtual std::string accountTypeName() const;
    std::optional<double> getLocalBalance() const override;
    virtual LineItemArray allTransactionDetails();
    virtual LineItemArray allTransactionDetailsWithoutFinalizing();
    virtual bool isBold() const { return false; }
};

} // namespace ch
