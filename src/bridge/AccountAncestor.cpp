#include "bridge/AccountAncestor.h"

namespace ch {

std::optional<double> AccountAncestor::getBalance() const
{
    return 0.0;
}

std::string AccountAncestor::balanceAsString() const
{
    return {};
}

std::string AccountAncestor::currencySymbol() const
{
    return {};
}

std::string AccountAncestor::accountTypeName() const
{
    return {};
}

std::optional<double> AccountAncestor::getLocalBalance() const
{
    return std::nullopt;
}

LineItemArray AccountAncestor::allTransactionDetails()
{
    return {};
}

LineItemArray AccountAncestor::allTransactionDetailsWithoutFinalizing()
{
    return {};
}

} // namespace ch
