#include "ui/sheets/ShareDealLogic.h"

#include <cmath>
#include <cstdio>

#include "bridge/BridgeDocument.h"
#include "bridge/CCurRItem.h"
#include "document/arguments/ShareTradeArguments.h"
#include "model/BookingLookups.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CPreference.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LString.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

bool given(const std::optional<long>& id)
{
    return id && *id >= 1;
}

bool nonZero(const std::optional<double>& amount)
{
    return amount && *amount != 0.0;
}

// Shares are counted to four decimals at most.
constexpr double kShareTolerance = 0.00005;
constexpr long kErrorSaleBeyondHolding = 360;
constexpr long kErrorMoneyOnAHolding = 362;

// An account holding a share counts shares: money booked on it would turn
// into shares. Refused with the share's name.
bool refusedAsHolding(SheetDocument* document, const std::optional<long>& account)
{
    const CCurrency* share =
        document ? booking::ShareCountedInAccount(document->books(), static_cast<ObjectIdT>(*account)) : nullptr;
    if (!share)
        return false;
    char name[kNameSize] = {};
    share->Get_ShortName(name);
    CErrorManager::RaiseError(kErrorMoneyOnAHolding, LStr255(name), LStr255());
    return true;
}

// A share count as a person writes it: no decimals for whole shares.
std::string shareCountText(double shares)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", shares);
    std::string out(text);
    out.erase(out.find_last_not_of('0') + 1);
    if (!out.empty() && out.back() == '.') out.pop_back();
    return out == "-0" ? "0" : out;
}

std::string homeCurrencySymbol(SheetDocument& document)
{
    const std::shared_ptr<CCurRItem> home = document.bridge().getHomeCurrency();
    return home ? home->mShortName() : std::string();
}

const CPreference* settingsOf(SheetDocument& document)
{
    CDocAccounting* books = document.books();
    return books ? books->mPreference : nullptr;
}

} // namespace

bool carriesMoney(const CDocAccounting* books, const CNonVisual& account)
{
    return !booking::ShareCountedInAccount(books, account.Get_Id());
}

SheetParameters shareDealParameters(SheetDocument& document, const std::shared_ptr<CCurRItem>& share, bool isBuy)
{
    namespace key = share_deal_key;
    SheetParameters parameters;
    parameters.set(key::kHomeCurrency, homeCurrencySymbol(document));
    parameters.set(key::kFromAccount, book_defaults::ownPropertyAccount(document.books()));
    parameters.set(key::kCommissionToAccount, static_cast<long>(share->mComissionAccountId().value_or(0)));
    parameters.set(key::kPricePaid, share->mConversionFactor().value_or(0.0));
    parameters.set(key::kShareCurrency, share->mBaseShortName());
    parameters.set(key::kIsBuy, isBuy ? 1L : 0L);
    parameters.set(key::kShareName, share->mDescription());
    parameters.set(key::kCurrentBalance, share->numberOfShares());
    parameters.set(key::kShare, std::static_pointer_cast<CNonVisualDataItem>(share));
    parameters.set(key::kDocument, &document);
    return parameters;
}

SheetParameters dividendParameters(SheetDocument& document, const std::shared_ptr<CCurRItem>& share)
{
    namespace key = share_deal_key;
    const CPreference* settings = settingsOf(document);
    SheetParameters parameters;
    parameters.set(key::kHomeCurrency, homeCurrencySymbol(document));
    parameters.set(key::kShareCurrency, share->mBaseShortName());
    parameters.set(key::kDividendTo, static_cast<long>(share->mDividentAccountIdTo().value_or(0)));
    parameters.set(key::kDividendFrom, static_cast<long>(share->mDividentAccountIdFrom().value_or(0)));
    parameters.set(key::kDividendExpenseType, static_cast<long>(share->mDividentExpenseTypeId().value_or(0)));
    parameters.set(key::kStockTaxAccount, settings ? static_cast<long>(settings->Get_mDefAccntStockTax()) : 0L);
    parameters.set(key::kStockTaxExpenseType, settings ? static_cast<long>(settings->Get_mDefExptStockTax()) : 0L);
    parameters.set(key::kShare, std::static_pointer_cast<CNonVisualDataItem>(share));
    parameters.set(key::kDocument, &document);
    return parameters;
}

// --- buy or sell

void ShareDealLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document(share_deal_key::kDocument);
    mShare = parameters.itemAs<CCurRItem>(share_deal_key::kShare);
    mIsBuy = parameters.number(share_deal_key::kIsBuy).value_or(1) != 0;
    mQuotedAtHome = parameters.text(share_deal_key::kShareCurrency).value_or("") ==
                    parameters.text(share_deal_key::kHomeCurrency).value_or("");
    mAccepted = {};
}

double ShareDealLogic::value(double price, double quantity, DateT date) const
{
    const double amount = price * quantity;
    if (!mShare)
        return amount;
    const std::shared_ptr<CCurRItem> quote = mShare->mCurrencyPtr();
    // A share quoted in itself has no other currency to convert from.
    if (!quote || quote->getId() == mShare->getId())
        return amount;
    return quote->convertAmountToLocal(amount, date);
}

double ShareDealLogic::total(double price, double quantity, double commission, DateT date) const
{
    const double worth = value(price, quantity, date);
    return mIsBuy ? worth + commission : worth - commission;
}

bool ShareDealLogic::checkContents(ShareDealEntry& entry)
{
    if (mQuotedAtHome)
        entry.total = total(entry.price.value_or(0.0), entry.quantity.value_or(0.0),
                            entry.commission.value_or(0.0), entry.date);
    if (!nonZero(entry.price) || !nonZero(entry.quantity) || !nonZero(entry.total)) {
        CErrorManager::RaiseError(219);
        return false;
    }
    if (!given(entry.fromAccount)) {
        CErrorManager::RaiseError(220);
        return false;
    }
    if (refusedAsHolding(mDocument, entry.fromAccount))
        return false;
    if (!given(entry.commissionAccount)) {
        CErrorManager::RaiseError(221);
        return false;
    }
    // A deal booked at a date no one can read would land before every other.
    if (entry.date == 0) {
        CErrorManager::RaiseError(217);
        return false;
    }
    // The books cannot hold fewer than no shares.
    if (!mIsBuy && mShare) {
        const double held = mShare->numberOfSharesOn(entry.date);
        if (std::fabs(*entry.quantity) > held + kShareTolerance) {
            Str255 heldText, dateText;
            TCLctopstrcpy(heldText, shareCountText(held).c_str());
            CDate::DateTToString(entry.date, dateText);
            CErrorManager::RaiseError(kErrorSaleBeyondHolding, heldText, dateText);
            return false;
        }
    }
    mAccepted = entry;
    return true;
}

void ShareDealLogic::dialogClosed(int returnCode) const
{
    if (returnCode <= 0 || !mDocument || !mShare)
        return;
    arguments::BuySellSharesParameters deal;
    deal.price = mAccepted.price.value_or(0.0);
    deal.commission = mAccepted.commission.value_or(0.0);
    deal.quantity = mAccepted.quantity.value_or(0.0);
    deal.totalValue = mAccepted.total.value_or(0.0);
    deal.fromAccountId = mAccepted.fromAccount;
    deal.commissionAccountId = mAccepted.commissionAccount;
    deal.description = mAccepted.description;
    deal.updateRateInd = mAccepted.updateRate;
    deal.transactionDate = mAccepted.date;
    deal.isBuyInd = mIsBuy;
    mDocument->commands().executeCommand(command::kBuyOrSellShares, mShare, &deal);
}

// --- dividend

void DividendLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document(share_deal_key::kDocument);
    mShare = parameters.itemAs<CCurRItem>(share_deal_key::kShare);
    mAccepted = {};
}

bool DividendLogic::checkContents(const DividendEntry& entry)
{
    if (!nonZero(entry.dividend)) {
        CErrorManager::RaiseError(222);
        return false;
    }
    if (entry.date == 0) {
        CErrorManager::RaiseError(217);
        return false;
    }
    if (!given(entry.fromAccount) || !given(entry.toAccount) || !given(entry.taxAccount) ||
        !given(entry.taxCategory) || !given(entry.category)) {
        CErrorManager::RaiseError(223);
        return false;
    }
    if (refusedAsHolding(mDocument, entry.toAccount))
        return false;
    mAccepted = entry;
    return true;
}

void DividendLogic::dialogClosed(int returnCode) const
{
    if (returnCode <= 0 || !mDocument || !mShare)
        return;
    arguments::RegisterDividendParameters dividend;
    dividend.transactionDate = mAccepted.date;
    dividend.dividend = mAccepted.dividend.value_or(0.0);
    dividend.tax = mAccepted.tax.value_or(0.0);
    dividend.fromAccountId = mAccepted.fromAccount;
    dividend.toAccountId = mAccepted.toAccount;
    dividend.forAccountId = mAccepted.category;
    dividend.taxesAccountId = mAccepted.taxAccount;
    dividend.taxesCategoryId = mAccepted.taxCategory;
    dividend.description = mAccepted.description;
    mDocument->commands().executeCommand(command::kRegisterDividend, mShare, &dividend);
}

} // namespace ch
