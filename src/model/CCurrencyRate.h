#pragma once
// CCurrencyRate ('CcoN'): one dated entry of a currency's rate history: the
// quantity and factor that held from a date on, the currency the factor is
// expressed in, and the lowest and highest factor seen for the entry. The
// history (CCurrency::Get_mHistoryList) owns its rates and orders them newest
// first (CCurrencyHistoryComparator, through Get_SortDate). Main thread only.

#include <cstdint>
#include <string>

#include "model/CNonVisual.h"

namespace ch {

class CCurrency;

class CCurrencyRate : public CNonVisual {
public:
    static constexpr DateT kDefaultValidTo = 99991212;
    static constexpr std::int32_t kDefaultTransactionFrom = 1;
    static constexpr std::int32_t kDefaultTransactionTo = 9999999;
    static constexpr double kDefaultMinFactor = 9999999.0;
    // The bytes of a record after its common header.
    static constexpr std::int32_t kBodySize = 48;

    // The id (negative: a new one), then the defaults: quantity 1, factor 1,
    // valid from today, the home currency as intermediate currency.
    CCurrencyRate(ObjectIdT id, CDocAccounting* document);
    // Copies the common fields (a new id) and every field.
    CCurrencyRate(const CCurrencyRate& source, CDocAccounting* document);
    // Reads the common header only; InitFromStream reads the body.
    CCurrencyRate(LStream* stream, CDocAccounting* document, FourCharCode version);

    CCurrencyRate(const CCurrencyRate&) = delete;
    CCurrencyRate& operator=(const CCurrencyRate&) = delete;

    void SetDefaults();
    // Reads the body and joins the history of the given currency (at its
    // front). Without a currency it joins nothing and answers false: the
    // caller then owns the rate.
    bool InitFromStream(LStream* stream, CDocAccounting* document, CNonVisual* currency,
                        FourCharCode version);

    // --- fields (setters store without a broadcast)
    QtyT Get_mConversionQuantity() const { return mConversionQuantity; }
    bool Put_mConversionQuantity(QtyT quantity) { mConversionQuantity = quantity; return true; }
    double Get_mConversionFactor() const { return mConversionFactor; }
    bool Put_mConversionFactor(double factor) { mConversionFactor = factor; return true; }
    DateT Get_mValidFrom() const { return mValidFrom; }
    bool Put_mValidFrom(DateT date)
    {
        if (date != mValidFrom) ++sValidFromChanges;
        mValidFrom = date;
        return true;
    }
    // Counts the changes of any rate's date: a history found in order before
    // the last change must be checked again.
    static std::uint64_t ValidFromChanges() { return sValidFromChanges; }
    DateT Get_mValidTo() const { return mValidTo; }
    bool Put_mValidTo(DateT date) { mValidTo = date; return true; }
    std::int32_t Get_mTransactionFrom() const { return mTransactionFrom; }
    bool Put_mTransactionFrom(std::int32_t value) { mTransactionFrom = value; return true; }
    std::int32_t Get_mTransactionTo() const { return mTransactionTo; }
    bool Put_mTransactionTo(std::int32_t value) { mTransactionTo = value; return true; }
    double Get_mMaxFactor() const { return mMaxFactor; }
    bool Put_mMaxFactor(double factor) { mMaxFactor = factor; return true; }
    double Get_mMinFactor() const { return mMinFactor; }
    bool Put_mMinFactor(double factor) { mMinFactor = factor; return true; }
    ObjectIdT Get_mCurrencyId() const { return mCurrencyId; }
    bool Put_mCurrencyId(ObjectIdT id) { mCurrencyId = id; return true; }
    ObjectIdT Get_mIntermediateCurrencyId() const { return mIntermediateCurrencyId; }
    bool Put_mIntermediateCurrencyId(ObjectIdT id) { mIntermediateCurrencyId = id; return true; }

    // The history's order: the valid-from date.
    DateT Get_SortDate() const override { return mValidFrom; }
    // The valid-from date as date text.
    void Get_Name(char (&out)[kNameSize]) const override;
    // The short name of the currency mCurrencyId into out; null (out
    // untouched) when the document has no such currency.
    virtual const char* Get_CurrencyName(char (&out)[kNameSize]) const;

    void PutStream(LStream* stream) override;
    bool Export(LStream* stream, char separator) const override;

private:
    ObjectIdT mCurrencyId = 0;
    QtyT mConversionQuantity = 1;
    double mConversionFactor = 1.0;
    DateT mValidFrom = 0;
    inline static std::uint64_t sValidFromChanges = 0;
    std::int32_t mTransactionFrom = kDefaultTransactionFrom;
    DateT mValidTo = kDefaultValidTo;
    std::int32_t mTransactionTo = kDefaultTransactionTo;
    double mMaxFactor = 0.0;
    double mMinFactor = kDefaultMinFactor;
    ObjectIdT mIntermediateCurrencyId = 1;
};

} // namespace ch
