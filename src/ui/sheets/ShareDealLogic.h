#pragma once
// What the buy/sell and dividend sheets do without their window: the deal's
// total, the checks on OK and the values accepted, and the commands they end
// in (20 for a purchase or a sale, the direction in the arguments; 22 for a
// dividend), both on the share.
//
// The deal's value is price x quantity in the home currency at the date
// shown; a share quoted in itself is worth price x quantity unconverted. A
// purchase costs value + commission, a sale brings value - commission. Only a
// share quoted in the home currency has its total recomputed on OK; for a
// share quoted elsewhere the total the user typed stands.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"
#include "ui/sheets/SheetParameters.h"

namespace ch {

class CCurRItem;
class CDocAccounting;
class CNonVisual;

namespace share_deal_key {
inline constexpr std::string_view kShare = "share";
inline constexpr std::string_view kIsBuy = "isBuy";
inline constexpr std::string_view kPricePaid = "pricePaid";
inline constexpr std::string_view kDocument = "document";
inline constexpr std::string_view kCommissionToAccount = "commissionToAccount";
inline constexpr std::string_view kFromAccount = "fromAccount";
inline constexpr std::string_view kHomeCurrency = "mHomeCurrency";
inline constexpr std::string_view kShareCurrency = "shareCurrency";
inline constexpr std::string_view kShareName = "shareName";
inline constexpr std::string_view kCurrentBalance = "currentBalance";
// The dividend sheet's own keys.
inline constexpr std::string_view kDividendFrom = "dividendFrom";
inline constexpr std::string_view kDividendTo = "dividendTo";
inline constexpr std::string_view kDividendExpenseType = "dividendExpenseType";
inline constexpr std::string_view kStockTaxExpenseType = "stockTaxExpensetype";
inline constexpr std::string_view kStockTaxAccount = "stockTaxAccount";
} // namespace share_deal_key

// Whether money can be paid from or into the account: not when it holds a
// share. The sheets' pop-ups of own accounts offer only these.
bool carriesMoney(const CDocAccounting* books, const CNonVisual& account);

// The dictionaries the document opens the sheets with, from the share and
// the books' defaults.
SheetParameters shareDealParameters(SheetDocument& document, const std::shared_ptr<CCurRItem>& share, bool isBuy);
SheetParameters dividendParameters(SheetDocument& document, const std::shared_ptr<CCurRItem>& share);

struct ShareDealEntry {
    std::optional<double> price;
    std::optional<double> quantity;
    std::optional<double> commission;
    std::optional<double> total;
    std::optional<long> fromAccount;
    std::optional<long> commissionAccount;
    DateT date = 0;
    std::string description;
    bool updateRate = false;
};

class ShareDealLogic {
public:
    void initialize(const SheetParameters& parameters);
    bool isBuy() const { return mIsBuy; }
    const std::shared_ptr<CCurRItem>& share() const { return mShare; }
    // The share is quoted in the home currency: its total follows the figures.
    bool quotedAtHome() const { return mQuotedAtHome; }

    // Value of the shares at the date, in the home currency.
    double value(double price, double quantity, DateT date) const;
    double total(double price, double quantity, double commission, DateT date) const;

    // The total is recomputed first for a share quoted at home. Refused:
    // price, quantity or total 0 (219), no account (220), no commission
    // account (221), no date (217), a sale of more shares than are held at
    // the end of its date (360, with that number and the date), an account
    // that holds a share (362, with the share).
    bool checkContents(ShareDealEntry& entry);
    const ShareDealEntry& accepted() const { return mAccepted; }
    // Code > 0: command 20 on the share.
    void dialogClosed(int returnCode) const;

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CCurRItem> mShare;
    bool mIsBuy = true;
    bool mQuotedAtHome = true;
    ShareDealEntry mAccepted;
};

struct DividendEntry {
    std::optional<double> dividend;
    std::optional<double> tax;
    DateT date = 0;
    std::optional<long> fromAccount;
    std::optional<long> toAccount;
    std::optional<long> category;
    std::optional<long> taxAccount;
    std::optional<long> taxCategory;
    std::string description;
};

class DividendLogic {
public:
    void initialize(const SheetParameters& parameters);
    const std::shared_ptr<CCurRItem>& share() const { return mShare; }
    // Refused: no dividend (222), no date (217), an account or category
    // missing (223), paid into an account that holds a share (362). The
    // dividend category is the one the dividend is booked on.
    bool checkContents(const DividendEntry& entry);
    const DividendEntry& accepted() const { return mAccepted; }
    // Code > 0: command 22 on the share.
    void dialogClosed(int returnCode) const;

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CCurRItem> mShare;
    DividendEntry mAccepted;
};

} // namespace ch
