#pragma once
// CCurrency ('CurR'): one currency or share of a set of books. It converts its
// amounts into its base currency (a factor per quantity) and, through the
// base, into the home currency; it keeps a dated history of earlier rates
// (CCurrencyRate, owned), the account and category that receive rate
// differences and, for a share, the portfolio, commission and dividend
// accounts of its trades. A change of factor, quantity or base revalues every
// balance-sheet account held in it and books the difference; a currency that
// is still new (status 2, until Validate) books nothing.
//
// Conversion to the home currency is amount x factor / quantity at the rate
// valid on the date; a share converts on through its base currency. With
// rounding, results have the document's number of decimals, a remainder of
// exactly one half rounding toward zero.
//
// The name is the short name (a code or ticker, at most 10 characters); the
// display name is "short name : description". Main thread only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/CNonVisual.h"

namespace ch {

class CAccount;
class CCurrencyRate;
class CExpenseType;

using CurrencyTypeT = EnumT;

namespace currency_type {
inline constexpr CurrencyTypeT kCurrency = 0;
inline constexpr CurrencyTypeT kShare = 1;     // valued through its base currency
} // namespace currency_type

class CCurrency : public CNonVisual {
public:
    static constexpr std::size_t kShortNameLength = 10;
    static constexpr std::size_t kSymbolSize = 35;
    static constexpr std::size_t kMaxDescriptionLength = 255;
    // Revaluations smaller than this are not booked.
    static constexpr double kFluctuationThreshold = 0.005;

    // The id (negative: a new one), then the defaults.
    CCurrency(ObjectIdT id, CDocAccounting* document);
    // The common fields, description, quantity, factor, base, difference
    // account and category, and decimals flag of the source; an empty history.
    CCurrency(const CCurrency& source, CDocAccounting* document);
    // Reads the record; its rates follow it in the stream (LinkRate). Nothing
    // is revalued or recorded while reading.
    CCurrency(LStream* stream, FourCharCode version, CDocAccounting* document);
    // Destroys the rates of the history.
    ~CCurrency() override;

    CCurrency(const CCurrency&) = delete;
    CCurrency& operator=(const CCurrency&) = delete;

    // Name "??", the home currency as base, 1 unit at factor 1, the settings'
    // default accounts and categories; records no history.
    void SetDefaults();
    // Status 0: from now on rate changes revalue balances.
    bool Validate() override;

    // --- names and texts
    void Get_ShortName(char (&out)[kNameSize]) const;
    // "short : description", cut to 34 characters.
    void Get_Name(char (&out)[kNameSize]) const override;
    // The short name (null: "None"), cut to 10 characters; the Unicode name
    // from the whole text; a share's portfolio and difference accounts are
    // renamed after it. 2001.
    bool Put_Name(const char* name) override;
    // A name equal to the current one ignoring case changes nothing; else it
    // is stored, a share's accounts are renamed, 2001.
    bool Put_StringrefName(TextRef name) override;
    // "short : description".
    const std::string& Get_StringrefName() const override;
    // The plain short name.
    virtual const std::string& Get_ShortStringRefName() const;
    // Null stores "-?-"; the Unicode description follows. 2001.
    bool Put_mDescription(const char* description);
    void Get_mDescription(char (&out)[kDescriptionSize]) const;
    // Null stores "----".
    bool Put_mCurrencySymbol(const char* symbol);
    void Get_mCurrencySymbol(char (&out)[kSymbolSize]) const;

    // --- rate and base
    QtyT Get_mConversionQuantity() const { return mConversionQuantity; }
    double Get_mConversionFactor() const { return mConversionFactor; }
    // A changed value revalues the balances (unless new) and is recorded in
    // the history at the date (0: today).
    bool Put_mConversionQuantity(QtyT quantity, DateT date);
    bool Put_mConversionFactor(double factor, DateT date);
    // Quantity and factor as of a date: they become the current ones only
    // when the rate of that date is the one of today; the history records them.
    bool Put_mConversionFactorAndAmount(QtyT quantity, double factor, DateT date);
    ObjectIdT Get_mBaseCurrency() const { return mBaseCurrency; }
    // Refused (214, false): naming itself unless it is the home currency, or
    // a base whose own chain of bases leads back to this currency.
    bool Put_mBaseCurrency(ObjectIdT id, CNonVisual* object, DateT date);
    // The base currency object (looked up and kept on first need).
    CCurrency* Search_Basecurrency() const;

    CurrencyTypeT Get_mCurrencyType() const { return mCurrencyType; }
    bool Put_mCurrencyType(CurrencyTypeT currencyType);
    bool AreDecimalsAllowed() const { return mAllowDecimals != 0; }
    bool Put_mAllowDecimals(unsigned char allow);
    ObjectIdT Get_mDiffAccount() const { return mDiffAccount; }
    bool Put_mDiffAccount(ObjectIdT id);
    ObjectIdT Get_mDiffExpType() const { return mDiffExpType; }
    bool Put_mDiffExpType(ObjectIdT id);
    ObjectIdT Get_mPortfolioAccountId() const { return mPortfolioAccountId; }
    bool Put_mPortfolioAccountId(ObjectIdT id);
    ObjectIdT Get_mComissionAccountId() const { return mComissionAccountId; }
    bool Put_mComissionAccountId(ObjectIdT id);
    ObjectIdT Get_mComissionExpenseTypeId() const { return mComissionExpenseTypeId; }
    bool Put_mComissionExpenseTypeId(ObjectIdT id);
    ObjectIdT Get_mDividentAccountIdFrom() const { return mDividentAccountIdFrom; }
    bool Put_mDividentAccountIdFrom(ObjectIdT id);
    ObjectIdT Get_mDividentAccountIdTo() const { return mDividentAccountIdTo; }
    bool Put_mDividentAccountIdTo(ObjectIdT id);
    ObjectIdT Get_mDividentExpenseTypeId() const { return mDividentExpenseTypeId; }
    bool Put_mDividentExpenseTypeId(ObjectIdT id);
    // The difference account and category; null when the document has none with the id.
    CAccount* GetFluctationsAccount() const;
    CExpenseType* GetFluctationsReason() const;

    CNamedListArray* Get_mHistoryList() const { return mHistoryList.get(); }
    // Whether this is the document's home currency.
    bool isHomeCurrency() const;
    // The latest rate valid on the date (valid from that date or earlier);
    // null when the date lies before every rate or there is none.
    CCurrencyRate* GetRate(DateT date) const;
    // The quantity and factor that apply at the date (0: the current ones)
    // and the currency they are expressed in (null when missing).
    CCurrency* GetConversionFactors(QtyT& quantity, double& factor, DateT date) const;
    // Whether today's rate is valid from a date after the given one.
    bool didRateChangeAfter(DateT date) const;
    // A rate read from the stream joins the front of the history.
    bool LinkRate(CCurrencyRate* rate);

    // --- conversion
    // An amount of this currency in the home currency at the date (0: the
    // current rate); the home currency answers the amount itself, unrounded.
    double ConvertToLocal(double amount, DateT date, bool rounding) const;
    // A home-currency amount in this currency.
    double ConvertToForeign(double amount, DateT date, bool rounding) const;
    // An amount of `from` in this currency, rounded at each step.
    double ConvertFrom(double amount, ObjectIdT unused, const CCurrency* from, DateT date) const;
    // Rounds to the document's number of decimals: the magnitude is cut
    // toward zero and raised by one unit only when more than half a unit was
    // cut, so an exact half rounds toward zero.
    static double RoundAmount(double value);

    // --- maintenance
    // Records the rate at the date (0: today; a quantity of 0 or factor of 0:
    // the current one), in the entry of that date or a new one.
    bool UpdateCurrencyHistory(DateT date, QtyT quantity, double factor);
    // Revalues the balance-sheet accounts held in this currency (or in
    // currencies priced through another) at the current rate and books each
    // difference above the threshold. 0.
    double BookFluctuations(QtyT oldQuantity, QtyT newQuantity, double oldFactor, double newFactor,
                            TextRef text, DateT date);
    // The home currency moves from oldHome to newHome; rate is one unit of the
    // old home currency in the new one. Nothing is revalued.
    virtual bool SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome, double rate);
    // A currency made or updated by import; see the definition.
    bool ImportCurrency(const char* name, const char* description, unsigned char allowDecimals,
                        CurrencyTypeT currencyType, DateT date, QtyT quantity, double factor,
                        ObjectIdT baseId, ObjectIdT diffAccount, ObjectIdT diffCategory);
    bool ImportCurrencyRate(DateT date, QtyT quantity, double factor, ObjectIdT baseId);

    // --- share operations (CCurrencyShares.cpp)
    CAccount* GetPortfolioAccount() const;
    CAccount* searchPortfolioAccount();
    long BuyStock(double price, double commission, double quantity, double value, ObjectIdT account,
                  ObjectIdT commissionAccount, TextRef description, bool updateRate, DateT date);
    long SellStock(double price, double commission, double quantity, double value, ObjectIdT account,
                   ObjectIdT commissionAccount, TextRef description, bool updateRate, DateT date);
    long MakeStockTransaction(double price, double commission, double quantity, double value,
                              ObjectIdT account, ObjectIdT commissionAccount, TextRef description,
                              bool updateRate, DateT date, bool isBuy);
    long RegisterDividend(DateT date, double amount, double tax, ObjectIdT fromAccount, ObjectIdT toAccount,
                          ObjectIdT category, ObjectIdT taxAccount, ObjectIdT taxCategory,
                          const char* description);
    long getStockPerformance(double& invested, double& returned, double& costs, double& result,
                             double& netResult, double& resultPercent, double& netResultPercent, DateT from,
                             DateT to);
    std::unique_ptr<CNamedListArray> getStockTransactionList();

    // --- deletion and persistence
    // 180 an account is held in it, 181 a currency (itself included) is based
    // on it, 182 a transaction (posted, unlinked or recurring) or one of its
    // lines is in it.
    bool BeforeDelete() override;
    // Whether no account but the given one is held in the currency and no
    // currency is based on it; raises 180 or 181 when not. A share's deletion
    // asks it before its portfolio account goes with it.
    bool CanGoWithAccount(ObjectIdT account) const;
    // The record, then one rate record per entry of the history, in its order.
    void PutStream(LStream* stream) override;
    bool Export(LStream* stream, char separator) const override;

private:
    double ToLocal(double amount, DateT date, bool rounding, int depth) const;
    double ToForeign(double amount, DateT date, bool rounding, int depth) const;
    ObjectIdT HomeCurrencyId() const;
    // Whether the chain of bases from `base` on reaches this currency.
    bool BaseChainReaches(const CCurrency* base) const;
    // A share's portfolio and difference accounts follow its name.
    void RenameShareAccounts(bool unicodeNames);
    void SortHistory() const;

    char mDescription[kDescriptionSize] = {};
    QtyT mConversionQuantity = 1;
    double mConversionFactor = 1.0;
    CurrencyTypeT mCurrencyType = currency_type::kCurrency;
    ObjectIdT mBaseCurrency = 1;
    mutable CCurrency* mBaseCurrencyPtr = nullptr;
    ObjectIdT mDiffAccount = 1;
    unsigned char mAllowDecimals = 1;
    ObjectIdT mDiffExpType = 5;
    std::unique_ptr<CNamedListArray> mHistoryList;
    // CCurrencyRate::ValidFromChanges() when the history was last sorted.
    mutable std::uint64_t mHistorySortedAt = 0;
    ObjectIdT mPortfolioAccountId = -1;
    ObjectIdT mComissionAccountId = 3;
    ObjectIdT mComissionExpenseTypeId = 1;
    ObjectIdT mDividentAccountIdFrom = 1;
    ObjectIdT mDividentAccountIdTo = 4;
    ObjectIdT mDividentExpenseTypeId = 5;
    char mCurrencySymbol[kSymbolSize] = {};
    bool mInitialising = false;
    bool mSettingShortName = false;
    mutable std::string mDisplayName;
};

} // namespace ch
