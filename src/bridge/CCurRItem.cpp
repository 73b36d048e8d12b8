#include "bridge/CCurRItem.h"

#include <cmath>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCcoNItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "bridge/GXDebetItemArrayFinalizer.h"
#include "bridge/ItemsOfList.h"
#include "bridge/ModelText.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CNSStringToCString.h"
#include "platform/core/clock.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

constexpr std::size_t kMinimumSymbolLength = 2;

std::string shortNameOf(const CCurrency& currency)
{
    return unicodeOrMacRoman(currency, &CCurrency::Get_ShortStringRefName, &CCurrency::Get_ShortName);
}

std::string nameOf(const CNonVisual& object)
{
    return unicodeOrMacRoman(object, &CNonVisual::Get_StringrefName, &CNonVisual::Get_Name);
}

struct ConversionFactors {
    QtyT quantity = 1;
    double factor = 1.0;
};

ConversionFactors conversionFactorsOf(const CCurrency& currency)
{
    ConversionFactors factors;
    currency.GetConversionFactors(factors.quantity, factors.factor, 0);
    return factors;
}

} // namespace

CCurRItem::CCurRItem() = default;

CCurRItem::CCurRItem(CNonVisual* currency, const Ptr& parent) : CNonVisualDataItem(currency, parent) {}

CCurRItem::~CCurRItem() = default;

CCurrency* CCurRItem::currency() const
{
    return static_cast<CCurrency*>(getSourceItem());
}

// --- properties

bool CCurRItem::isShareType() const
{
    const CCurrency* c = currency();
    return c && c->Get_mCurrencyType() == currency_type::kShare;
}

bool CCurRItem::isCurrencyType() const
{
    const CCurrency* c = currency();
    return c && c->Get_mCurrencyType() == currency_type::kCurrency;
}

bool CCurRItem::isHomeCurrency() const
{
    const CCurrency* c = currency();
    return c && c->isHomeCurrency();
}

std::string CCurRItem::mShortName() const
{
    const CCurrency* c = currency();
    return c ? shortNameOf(*c) : std::string();
}

void CCurRItem::setMShortName(std::optional<std::string_view> name)
{
    CCurrency* c = currency();
    if (!c || !name) return;
    char shortName[kNameSize] = {};
    CNSStringToCString::convertStringToNameT(*name, shortName);
    c->Put_Name(shortName);
    c->Put_StringrefName(*name);
    announce("mShortName");
}

std::string CCurRItem::mBaseShortName() const
{
    const CCurrency* c = currency();
    const CCurrency* base = c ? c->Search_Basecurrency() : nullptr;
    return base ? shortNameOf(*base) : std::string();
}

std::string CCurRItem::mDescription() const
{
    const CCurrency* c = currency();
    return c ? unicodeOrMacRoman(*c, &CCurrency::Get_StringrefDesc, &CCurrency::Get_mDescription) : std::string();
}

void CCurRItem::setMDescription(std::optional<std::string_view> text)
{
    CCurrency* c = currency();
    if (!c || !text) return;
    char description[kDescriptionSize] = {};
    CNSStringToCString::convertStringToDescriptionT(*text, description);
    c->Put_mDescription(description);
    c->Put_StringrefDesc(*text);
    announce("mDescription");
}

std::optional<int> CCurRItem::mConversionQuantity() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(conversionFactorsOf(*c).quantity) : std::nullopt;
}

std::optional<double> CCurRItem::mConversionFactor() const
{
    const CCurrency* c = currency();
    return c ? std::optional<double>(conversionFactorsOf(*c).factor) : std::nullopt;
}

std::optional<double> CCurRItem::currencyRate() const
{
    const CCurrency* c = currency();
    if (!c) return std::nullopt;
    const auto [quantity, factor] = conversionFactorsOf(*c);
    // A quantity of 0 would make no rate: it counts as 1.
    return quantity > 1 ? factor / quantity : factor;
}

std::optional<int> CCurRItem::mCurrencyType() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mCurrencyType()) : std::nullopt;
}

std::optional<int> CCurRItem::mBaseCurrency() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mBaseCurrency()) : std::nullopt;
}

void CCurRItem::setMBaseCurrency(std::optional<int> currencyId)
{
    CCurrency* c = currency();
    if (!c || !currencyId) return;
    c->Put_mBaseCurrency(*currencyId, nullptr, 0);
    announce("mBaseCurrency");
}

std::shared_ptr<CCurRItem> CCurRItem::mCurrencyPtr() const
{
    const CCurrency* c = currency();
    return itemOf(c ? c->Search_Basecurrency() : nullptr, registry(),
                  &CNonVisualDataItemController::currencyItemForCurrency);
}

std::optional<int> CCurRItem::mDiffAccount() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mDiffAccount()) : std::nullopt;
}

void CCurRItem::setMDiffAccount(std::optional<long> accountId)
{
    if (CCurrency* c = currency(); c && accountId) c->Put_mDiffAccount(static_cast<ObjectIdT>(*accountId));
    announce("mDiffAccount");
}

std::optional<int> CCurRItem::mDiffExpType() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mDiffExpType()) : std::nullopt;
}

void CCurRItem::setMDiffExpType(std::optional<long> categoryId)
{
    if (CCurrency* c = currency(); c && categoryId) c->Put_mDiffExpType(static_cast<ObjectIdT>(*categoryId));
    announce("mDiffExpType");
}

std::optional<bool> CCurRItem::mAllowDecimals() const
{
    const CCurrency* c = currency();
    return c ? std::optional<bool>(c->AreDecimalsAllowed()) : std::nullopt;
}

std::optional<std::string> CCurRItem::fluctuationsAccountName() const
{
    const CCurrency* c = currency();
    if (!c) return std::nullopt;
    if (c->isHomeCurrency()) return "-";
    const CAccount* account = c->GetFluctationsAccount();
    return account ? std::optional<std::string>(nameOf(*account)) : std::nullopt;
}

std::optional<std::string> CCurRItem::fluctuationsReasonCodeName() const
{
    const CCurrency* c = currency();
    if (!c) return std::nullopt;
    if (c->isHomeCurrency()) return "-";
    const CExpenseType* category = c->GetFluctationsReason();
    return category ? std::optional<std::string>(nameOf(*category)) : std::nullopt;
}

std::optional<int> CCurRItem::mPortfolioAccountId() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mPortfolioAccountId()) : std::nullopt;
}

std::optional<int> CCurRItem::mComissionAccountId() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mComissionAccountId()) : std::nullopt;
}

void CCurRItem::setMComissionAccountId(std::optional<long> accountId)
{
    if (CCurrency* c = currency(); c && accountId) c->Put_mComissionAccountId(static_cast<ObjectIdT>(*accountId));
    announce("mComissionAccountId");
}

std::optional<int> CCurRItem::mComissionExpenseTypeId() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mComissionExpenseTypeId()) : std::nullopt;
}

void CCurRItem::setMComissionExpenseTypeId(std::optional<long> categoryId)
{
    if (CCurrency* c = currency(); c && categoryId)
        c->Put_mComissionExpenseTypeId(static_cast<ObjectIdT>(*categoryId));
    announce("mComissionExpenseTypeId");
}

std::optional<int> CCurRItem::mDividentAccountIdFrom() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mDividentAccountIdFrom()) : std::nullopt;
}

void CCurRItem::setMDividentAccountIdFrom(std::optional<long> accountId)
{
    if (CCurrency* c = currency(); c && accountId) c->Put_mDividentAccountIdFrom(static_cast<ObjectIdT>(*accountId));
    announce("mDividentAccountIdFrom");
}

std::optional<int> CCurRItem::mDividentAccountIdTo() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mDividentAccountIdTo()) : std::nullopt;
}

void CCurRItem::setMDividentAccountIdTo(std::optional<long> accountId)
{
    if (CCurrency* c = currency(); c && accountId) c->Put_mDividentAccountIdTo(static_cast<ObjectIdT>(*accountId));
    announce("mDividentAccountIdTo");
}

std::optional<int> CCurRItem::mDividentExpenseTypeId() const
{
    const CCurrency* c = currency();
    return c ? std::optional<int>(c->Get_mDividentExpenseTypeId()) : std::nullopt;
}

void CCurRItem::setMDividentExpenseTypeId(std::optional<long> categoryId)
{
    if (CCurrency* c = currency(); c && categoryId)
        c->Put_mDividentExpenseTypeId(static_cast<ObjectIdT>(*categoryId));
    announce("mDividentExpenseTypeId");
}

std::string CCurRItem::internetSymbol() const
{
    const CCurrency* c = currency();
    if (!c) return {};
    char symbol[CCurrency::kSymbolSize] = {};
    c->Get_mCurrencySymbol(symbol);
    return MacRomanToUnicode(symbol);
}

void CCurRItem::setInternetSymbol(std::optional<std::string_view> symbol)
{
    CCurrency* c = currency();
    if (!c || !symbol) return;
    char cSymbol[kNameSize] = {};
    CNSStringToCString::convertStringToNameT(*symbol, cSymbol);
    c->Put_mCurrencySymbol(cSymbol);
    announce("internetSymbol");
}

std::shared_ptr<CAcnTItem> CCurRItem::portfolioAccount() const
{
    const CCurrency* c = currency();
    return itemOf(c ? c->GetPortfolioAccount() : nullptr, registry(),
                  &CNonVisualDataItemController::accountItemForAccount);
}

LineItemArray CCurRItem::bookingLines(RunningBalanceMap* balances) const
{
    if (isShareType()) {
        const std::shared_ptr<CAcnTItem> account = portfolioAccount();
        if (!account) return {};
        return balances ? GXDebetItemArrayFinalizer::finalizeArray(account->allTransactionDetailsWithoutFinalizing(),
                                                                   balances)
                        : account->allTransactionDetails();
    }
    BridgeDocument* document = parentDocument();
    const std::optional<ObjectIdT> id = getId();
    if (!document || !id || isHomeCurrency()) return {};
    LineItemArray lines;
    for (const std::shared_ptr<CAcnTItem>& account : document->allAccounts())
        if (account && account->getCurrencyId() == *id) {
            LineItemArray own = account->allTransactionDetailsWithoutFinalizing();
            lines.insert(lines.end(), own.begin(), own.end());
        }
    // Lines of several accounts: their running balances are this list's only.
    RunningBalanceMap own;
    return GXDebetItemArrayFinalizer::finalizeArray(lines, balances ? balances : &own, true);
}

double CCurRItem::numberOfShares() const
{
    const CCurrency* c = currency();
    const CAccount* account = c ? c->GetPortfolioAccount() : nullptr;
    return account ? account->Get_mBalance() : 0.0;
}

double CCurRItem::numberOfSharesOn(DateT date) const
{
    const CCurrency* c = currency();
    const CAccount* account = c ? c->GetPortfolioAccount() : nullptr;
    if (!account) return 0.0;
    // Shares come in on the credit side of the holding account and leave on
    // the debit side.
    double held = 0.0;
    auto add = [&](const CNamedListArray* lines, double sign) {
        for (ArrayIndexT i = 1; i <= CountOf(lines); ++i) {
            const CDebit* line = LineAt(lines, i);
            if (line && line->Get_mDate() <= date) held += sign * line->Get_mAmount();
        }
    };
    add(account->Get_mCreditList(), 1.0);
    add(account->Get_mDebitlist(), -1.0);
    return held;
}

std::vector<double> CCurRItem::performance() const
{
    std::vector<double> figures(7, 0.0);
    if (CCurrency* c = currency())
        c->getStockPerformance(figures[0], figures[1], figures[2], figures[3], figures[4], figures[5], figures[6], 0,
                               0);
    return figures;
}

double CCurRItem::bruttoResultaat() const
{
    return performance()[3];
}

double CCurRItem::nettoResultaat() const
{
    return performance()[4];
}

double CCurRItem::bruttoPercentage() const
{
    return performance()[5];
}

double CCurRItem::nettoPercentage() const
{
    return performance()[6];
}

std::vector<std::shared_ptr<CCcoNItem>> CCurRItem::mHistoryList() const
{
    std::vector<std::shared_ptr<CCcoNItem>> items;
    const CCurrency* c = currency();
    const CNamedListArray* history = c ? c->Get_mHistoryList() : nullptr;
    for (ArrayIndexT i = 1; history && i <= static_cast<ArrayIndexT>(history->GetCount()); ++i)
        items.push_back(std::make_shared<CCcoNItem>(history->ObjectAt(i)));
    return items;
}

std::vector<std::shared_ptr<CTrnSItem>> CCurRItem::mStockTransactionList() const
{
    CCurrency* c = currency();
    if (!c) return {};
    const std::unique_ptr<CNamedListArray> transactions = c->getStockTransactionList();
    std::vector<std::shared_ptr<CTrnSItem>> items =
        itemsOfList(transactions.get(), registry(), &CNonVisualDataItemController::transactionItemForTrnS);
    for (const std::shared_ptr<CTrnSItem>& item : items) item->setTheBaseShare(c);
    return items;
}

const std::vector<CStockPrice>& CCurRItem::mRealTimeRateHistory() const
{
    return mHistory;
}

void CCurRItem::setMRealTimeSharePrice(std::optional<double> price)
{
    mSharePrice = price;
    announceDisplayState("mRealTimeSharePrice");
}

void CCurRItem::setMRateDifference(std::optional<double> difference)
{
    mDifference = difference;
    announceDisplayState("mRateDifference");
}

// --- exchange rate from the web

std::optional<CCurRItem::RateRequest> CCurRItem::rateRequest(std::string_view homeSymbol) const
{
    if (!currency()) return std::nullopt;
    const std::string symbol = internetSymbol();
    if (utf16Length(symbol) < kMinimumSymbolLength || symbol == homeSymbol) return std::nullopt;
    return RateRequest{symbol, std::string(homeSymbol), mConversionQuantity().value_or(1)};
}

std::optional<double> CCurRItem::fetchRate(QuoteService& service, const RateRequest& request)
{
    try {
        const std::optional<double> value =
            service.convertForeignQuantity(request.quantity, request.symbol, request.homeSymbol);
        // A page may give anything: only a real number counts.
        if (value && std::isfinite(*value)) return value;
    } catch (const FetchError& error) {
        developerLog(std::string("Rate of ") + request.symbol + " not fetched: " + error.what());
    }
    return std::nullopt;
}

double CCurRItem::acceptFetchedRate(std::optional<double> fetched) const
{
    const std::optional<double> current = mConversionFactor();
    if (!fetched || !current) return -1.0;
    // Both in double: a fetched 1.9 books as 1.9, not as its nearest float.
    const double newFactor = *fetched;
    const double oldFactor = *current;
    if (std::fabs(oldFactor - newFactor) > oldFactor / 3.0 && oldFactor != 1.0) return -1.0;
    if (newFactor == oldFactor) return -1.0;
    return newFactor;
}

double CCurRItem::getRateFromWebWithHomeSymbol(QuoteService& service, std::string_view homeSymbol, bool)
{
    const std::optional<RateRequest> request = rateRequest(homeSymbol);
    if (!request) return -1.0;
    return acceptFetchedRate(fetchRate(service, *request));
}

// --- share quotes from the web

std::optional<CCurRItem::QuoteRequest> CCurRItem::quoteRequest() const
{
    if (!currency()) return std::nullopt;
    return QuoteRequest{mShortName(), mConversionQuantity().value_or(1), std::trunc(numberOfShares()),
                        currencyRate().value_or(0.0)};
}

std::optional<double> CCurRItem::fetchQuote(QuoteService& service, const QuoteRequest& request)
{
    try {
        const std::optional<double> quote = service.getQuote(request.symbol);
        if (quote && std::isfinite(*quote)) return quote;
    } catch (const FetchError& error) {
        developerLog(std::string("Quote of ") + request.symbol + " not fetched: " + error.what());
    }
    return std::nullopt;
}

double CCurRItem::applyQuote(const QuoteRequest& request, std::optional<double> quote)
{
    if (!quote || !(*quote > 0.0)) return 0.0;
    const double q = *quote;
    const double valueChange = request.shares * q - request.shares * request.rate;
    CStockPrice price;
    price.theDate = nowSeconds();
    price.theRate = q * request.quantity;
    price.theDifferenceRate = q - request.rate;
    price.theDifferenceValue = valueChange;
    mHistory.insert(mHistory.begin(), price);
    announceDisplayState("mRealTimeRateHistory");
    setMRealTimeSharePrice(q * request.quantity);
    setMRateDifference(q - request.rate);
    return valueChange;
}

double CCurRItem::updateRealTimeCurrencyList(QuoteService& service, bool)
{
    const std::optional<QuoteRequest> request = quoteRequest();
    if (!request) return 0.0;
    return applyQuote(*request, fetchQuote(service, *request));
}

// --- operations

void CCurRItem::changeRateToQuantity(long quantity, double factor, DateT date)
{
    if (CCurrency* c = currency()) c->Put_mConversionFactorAndAmount(static_cast<QtyT>(quantity), factor, date);
    announce("mConversionFactor");
    announce("mConversionQuantity");
    announce("mHistoryList");
}

void CCurRItem::buyOrSellShares(double price, double commission, double quantity, double transactionValue,
                                long fromAccountId, long commissionAccountId, std::string_view description,
                                bool updateRate, DateT date, bool isBuy)
{
    CCurrency* c = currency();
    if (!c) return;
    const auto account = static_cast<ObjectIdT>(fromAccountId);
    const auto commissionAccount = static_cast<ObjectIdT>(commissionAccountId);
    if (isBuy)
        c->BuyStock(price, commission, quantity, transactionValue, account, commissionAccount, description, updateRate,
                    date);
    else
        c->SellStock(price, commission, quantity, transactionValue, account, commissionAccount, description,
                     updateRate, date);
}

bool CCurRItem::registerDividend(DateT date, double amount, double tax, long fromId, long toId, long forId,
                                 long taxesAccountId, long taxesExpenseTypeId, std::string_view description)
{
    CCurrency* c = currency();
    if (!c) return false;
    char cDescription[kDescriptionSize] = {};
    CNSStringToCString::convertStringToDescriptionT(description, cDescription);
    return c->RegisterDividend(date, amount, tax, static_cast<ObjectIdT>(fromId), static_cast<ObjectIdT>(toId),
                               static_cast<ObjectIdT>(forId), static_cast<ObjectIdT>(taxesAccountId),
                               static_cast<ObjectIdT>(taxesExpenseTypeId), cDescription) != 0;
}

double CCurRItem::convertAmountToLocal(double amount, DateT date) const
{
    const CCurrency* c = currency();
    return c ? c->ConvertToLocal(amount, date, true) : 0.0;
}

void CCurRItem::bookRealTimeRate()
{
    if (mHistory.empty() || !isBound()) return;
    const std::optional<double> rate = mHistory.front().theRate;
    if (!rate || !(*rate > 0.0)) return;
    const int quantity = mConversionQuantity().value_or(1);
    changeRateToQuantity(quantity == 0 ? 1 : quantity, *rate, CDate::GetNowAsDateT());
}

} // namespace ch
