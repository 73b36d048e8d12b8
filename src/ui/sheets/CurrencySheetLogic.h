#pragma once
// What the currency and share sheets do without their window: the values
// they show (preset for a new currency or share, read from the one to
// modify), the check on OK and the command they end in (currency: 6 new,
// 7 modify; share: 8 new, 9 modify, each with "CURRENCYTOMODIFY" as the
// target of a modification).
//
// A currency or share is refused (error 129) without a symbol, a full name,
// a base currency, its fluctuation account and category, and unless its
// quantity is at least 1 and its rate above 0: amounts are divided by the
// quantity when they are converted. A share also needs its commission
// account and category and its dividend accounts and category; its
// fluctuation and portfolio accounts may stay empty.

#include <memory>
#include <optional>
#include <string>

#include "ui/sheets/SheetParameters.h"

namespace ch {

class CCurRItem;
namespace arguments {
class CurrencyArguments;
}

struct CurrencySheetValues {
    std::string symbol;
    std::string fullName;
    std::string internetSymbol;
    std::optional<long> baseCurrencyId;
    std::optional<long> quantity;
    std::optional<double> factor;
    std::optional<long> fluctuationAccountId;
    std::optional<long> fluctuationCategoryId;
    // Shares only.
    std::optional<long> portfolioAccountId;
    std::optional<long> commissionAccountId;
    std::optional<long> commissionCategoryId;
    std::optional<long> dividendSourceAccountId;
    std::optional<long> dividendDestinationAccountId;
    std::optional<long> dividendCategoryId;
    double grossResult = 0.0;
    double netResult = 0.0;
};

class CurrencySheetLogic {
public:
    // The fluctuation account and category a new currency starts with.
    static constexpr long kNewFluctuationAccount = 1;
    static constexpr long kNewFluctuationCategory = 5;

    explicit CurrencySheetLogic(bool share) : mShare(share) {}

    void initialize(const SheetParameters& parameters);
    SheetDocument* document() const { return mDocument; }
    bool isShare() const { return mShare; }
    const std::shared_ptr<CCurRItem>& itemToModify() const { return mItemToModify; }
    // The quantity and rate of an existing currency change through its rate.
    bool isNewCurrency() const { return !mItemToModify; }
    // An existing currency that is the opener's home currency.
    bool isHomeCurrency() const;

    CurrencySheetValues& values() { return mValues; }
    const CurrencySheetValues& values() const { return mValues; }

    bool checkContents() const;
    void fillCommandArguments(arguments::CurrencyArguments& arguments) const;
    // Code > 0: the command of the class comment; the document is changed.
    void dialogClosed(int returnCode, const SheetParameters& context);

private:
    bool mShare;
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CCurRItem> mItemToModify;
    std::optional<long> mHomeCurrencyId;
    CurrencySheetValues mValues;
};

} // namespace ch
