#pragma once
// Argument objects of the currency, share and exchange-rate commands.

#include <cstdint>
#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

// New currency (6) and modify currency (7).
class CurrencyArguments : public CArgumentAncestor {
public:
    // The sheet's action: 1 create, 2 modify.
    std::uint8_t actionToPerform = 0;
    std::optional<std::string> symbol;                 // the short name
    std::optional<std::string> description;
    std::optional<long> baseCurrencyId;                // the currency the rate is expressed in
    std::optional<long> conversionQuantity;            // units the factor applies to
    std::optional<double> conversionFactor;
    std::optional<long> fluctuationPlAccountId;        // profit and loss of exchange differences
    std::optional<long> fluctuationsReasonCodeId;      // their category
    std::optional<std::string> internetSymbol;         // the symbol of the web look-up

    std::string argumentClass() const override { return "CurrencyArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// New share (8) and modify share (9): a share is held like a currency whose
// rate is its price.
class CShareArguments : public CurrencyArguments {
public:
    std::optional<long> portfolioAccountId;
    std::optional<long> comissionPLAccountId;
    std::optional<long> comissionReasonCodeId;
    std::optional<long> dividendSourcePLAccountId;
    std::optional<long> dividendDestinationPropertyAccountId;
    std::optional<long> dividendReasonCodId;

    std::string argumentClass() const override { return "CShareArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Change the rate of the target currency or share (18).
class CurrencyRateParameters : public CArgumentAncestor {
public:
    std::optional<long> quantity;                 // units the factor applies to
    std::optional<double> factor;
    std::optional<long> dateStart;                // DateT from which the rate applies
    std::optional<std::string> otherCurrenySymbol; // an intermediate currency

    std::string argumentClass() const override { return "CurrencyRateParameters"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
