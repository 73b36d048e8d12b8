#include "model/CCurrency.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <unordered_set>
#include <vector>

#include "model/CAccount.h"
#include "model/CCurrencyRate.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/LineConversionKeeper.h"
#include "model/ModelComparators.h"
#include "model/SettledSum.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CLocalize.h"
#include "model/foundation/LStream.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

// Shares priced in shares: a chain this long can only be a damaged file.
constexpr int kMaxBaseChain = 32;

template <typename T>
T* FindIn(const CNamedListArray* list, ObjectIdT id, FourCharCode typeCode)
{
    CNonVisual* object = list ? list->GetValueForId(id) : nullptr;
    return object && object->Get_ObjectType() == typeCode ? static_cast<T*>(object) : nullptr;
}

CCurrency* CurrencyWithId(const CDocAccounting* document, ObjectIdT id)
{
    return document ? FindIn<CCurrency>(document->mCurrencyList.get(), id, type::kCurrency) : nullptr;
}

std::vector<CNonVisual*> ObjectsOf(const CNamedListArray* list)
{
    std::vector<CNonVisual*> objects;
    auto count = list ? static_cast<ArrayIndexT>(list->GetCount()) : 0;
    objects.reserve(static_cast<std::size_t>(count));
    for (ArrayIndexT i = 1; i <= count; ++i) objects.push_back(list->ObjectAt(i));
    return objects;
}

bool AnyLineIn(const CNamedListArray* lines, ObjectIdT currencyId)
{
    auto count = lines ? static_cast<ArrayIndexT>(lines->GetCount()) : 0;
    for (ArrayIndexT i = 1; i <= count; ++i) {
        if (static_cast<const CDebit*>(lines->ObjectAt(i))->Get_mCurrency() == currencyId) return true;
    }
    return false;
}

// Whether a transaction (posted, unlinked or a recurring template) or one of
// its lines is in the currency.
bool TransactionUses(const CNonVisual* object, ObjectIdT currencyId)
{
    const auto* transaction = dynamic_cast<const CTransaction*>(object);
    if (!transaction) return false;
    return transaction->Get_mCurrencyId() == currencyId ||
           AnyLineIn(transaction->GetDebitList(), currencyId) ||
           AnyLineIn(transaction->GetCreditList(), currencyId) ||
           AnyLineIn(transaction->GetExpenseTypeList(), currencyId);
}

// The settings' default, or the one of the default set of books without settings.
template <typename Getter>
ObjectIdT SettingOr(const CDocAccounting* document, Getter getter, ObjectIdT fallback)
{
    return document && document->mPreference ? getter(*document->mPreference) : fallback;
}

} // namespace

// --- construction

CCurrency::CCurrency(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document), mHistoryList(std::make_unique<CNamedListArray>(new CCurrencyHistoryComparator, false))
{
    mDocument = document;
    SetDefaults();
}

CCurrency::CCurrency(const CCurrency& source, CDocAccounting* document)
    : CNonVisual(-1, document), mHistoryList(std::make_unique<CNamedListArray>(new CCurrencyHistoryComparator, false))
{
    mDocument = document;
    mInitialising = true;
    SetDefaults();
    mInitialising = true;
    char shortName[kNameSize];
    source.Get_ShortName(shortName);
    Put_Name(shortName);
    Put_StringrefName(source.Get_ShortStringRefName());
    Put_StringrefDesc(source.Get_StringrefDesc());
    Put_mb_IsOpen(source.Get_mb_IsOpen());
    std::memcpy(mDescription, source.mDescription, sizeof mDescription);
    mConversionQuantity = source.mConversionQuantity;
    mConversionFactor = source.mConversionFactor;
    mBaseCurrency = source.mBaseCurrency;
    mDiffAccount = source.mDiffAccount;
    mAllowDecimals = source.mAllowDecimals;
    mDiffExpType = source.mDiffExpType;
    SetObjectType(type::kCurrency);
    if (Get_ObjectStatus() == status::kNew) Put_Status(status::kNormal);
    mInitialising = false;
}

CCurrency::CCurrency(LStream* stream, FourCharCode version, CDocAccounting* document)
    : CNonVisual(stream, version, document),
      mHistoryList(std::make_unique<CNamedListArray>(new CCurrencyHistoryComparator, false))
{
    using namespace version;
    mDocument = document;
    mInitialising = true;   // nothing is revalued or recorded while reading

    stream->ReadCString(mDescription);
    stream->ReadQtyT(mConversionQuantity);
    stream->ReadAmountT(mConversionFactor);
    stream->ReadEnumT(mCurrencyType);
    stream->ReadObjectIdT(mBaseCurrency);
    stream->ReadObjectIdT(mDiffAccount);
    stream->ReadEnumT(mAllowDecimals);
    ObjectIdT reserved = 0;
    stream->ReadObjectIdT(reserved);
    stream->ReadObjectIdT(mDiffExpType);

    mPortfolioAccountId = -1;
    mComissionAccountId = 3;
    mComissionExpenseTypeId = 1;
    if (AtLeast(version, k1_07)) {
        stream->ReadObjectIdT(mPortfolioAccountId);
        stream->ReadObjectIdT(mComissionAccountId);
        stream->ReadObjectIdT(mComissionExpenseTypeId);
        if (mComissionExpenseTypeId < 0)
            mComissionExpenseTypeId = SettingOr(
                document, [](const CPreference& s) { return s.Get_mDefExpTStockCommission(); }, 1);
    }
    if (AtLeast(version, k1_08)) {
        stream->ReadObjectIdT(mDividentAccountIdFrom);
        stream->ReadObjectIdT(mDividentAccountIdTo);
        stream->ReadObjectIdT(mDividentExpenseTypeId);
    } else {
        mDividentAccountIdFrom = mDiffAccount;
        mDividentAccountIdTo =
            SettingOr(document, [](const CPreference& s) { return s.Get_mDefAccntOwnProperty(); }, 4);
        mDividentExpenseTypeId = mDiffExpType;
    }
    if (AtLeast(version, k1_09)) stream->ReadCString(mCurrencySymbol);

    // An ordinary currency is always priced in the home currency.
    if (mCurrencyType == currency_type::kCurrency) mBaseCurrency = HomeCurrencyId();
    SetObjectType(type::kCurrency);
    if (Get_ObjectStatus() == status::kNew) Put_Status(status::kNormal);
    if (!AtLeast(version, k1_10)) Put_StringrefDesc(MacRomanToUnicode(mDescription));
    mInitialising = false;
}

CCurrency::~CCurrency()
{
    std::vector<CNonVisual*> rates = ObjectsOf(mHistoryList.get());
    mHistoryList->StopBroadcasting();
    mHistoryList->RemoveItemsAt(mHistoryList->GetCount(), 1);
    for (CNonVisual* rate : rates) delete rate;
}

void CCurrency::SetDefaults()
{
    mInitialising = true;
    Put_Name("??");
    mBaseCurrency = HomeCurrencyId();
    mBaseCurrencyPtr = nullptr;
    mDescription[0] = '\0';
    Put_StringrefDesc(std::string_view());
    mConversionQuantity = 1;
    mConversionFactor = 1.0;
    mCurrencyType = currency_type::kCurrency;
    mDiffAccount = 1;
    mAllowDecimals = 1;
    mDiffExpType = 5;
    mPortfolioAccountId = 4;
    mComissionAccountId =
        SettingOr(mDocument, [](const CPreference& s) { return s.Get_mDefAccntStockCommission(); }, 3);
    mComissionExpenseTypeId =
        SettingOr(mDocument, [](const CPreference& s) { return s.Get_mDefExpTStockCommission(); }, 1);
    mDividentAccountIdFrom =
        SettingOr(mDocument, [](const CPreference& s) { return s.Get_mDefAccntCurrencyFluctuations(); }, 1);
    mDividentAccountIdTo =
        SettingOr(mDocument, [](const CPreference& s) { return s.Get_mDefAccntOwnProperty(); }, 4);
    mDividentExpenseTypeId = SettingOr(
        mDocument, [](const CPreference& s) { return s.Get_mDefExpTUnspecifiedCurrencyFluctuation(); }, 5);
    mCurrencySymbol[0] = '\0';
    SetObjectType(type::kCurrency);
    mInitialising = false;
}

bool CCurrency::Validate()
{
    Put_Status(status::kNormal);
    return true;
}

ObjectIdT CCurrency::HomeCurrencyId() const
{
    CNonVisual* home = nullptr;
    return mDocument ? mDocument->Get_HomeCurrency(home) : 1;
}

// --- names and texts

void CCurrency::Get_ShortName(char (&out)[kNameSize]) const
{
    CNonVisual::Get_Name(out);
}

void CCurrency::Get_Name(char (&out)[kNameSize]) const
{
    char shortName[kNameSize];
    CNonVisual::Get_Name(shortName);
    std::string text = std::string(shortName) + " : " + mDescription;
    CopyToField(out, text.c_str());
}

bool CCurrency::Put_Name(const char* name)
{
    char full[kNameSize];
    CopyToField(full, name ? name : "None");
    Put_StringrefName(MacRomanToUnicode(full));
    // The 8-bit name is the short name; the Unicode name keeps the whole text.
    char shortName[kShortNameLength + 1];
    CopyToField(shortName, full);
    mSettingShortName = true;
    CNonVisual::Put_Name(shortName);   // broadcasts 2001
    mSettingShortName = false;
    RenameShareAccounts(false);
    return true;
}

bool CCurrency::Put_StringrefName(TextRef name)
{
    if (mSettingShortName) return true;
    if (!name) return false;
    if (equalsCaseInsensitive(CNonVisual::Get_StringrefName(), *name)) return true;
    CNonVisual::Put_StringrefName(name);
    RenameShareAccounts(true);
    return true;
}

const std::string& CCurrency::Get_StringrefName() const
{
    return KeepMadeName(mDisplayName, CNonVisual::Get_StringrefName() + " : " + Get_StringrefDesc());
}

const std::string& CCurrency::Get_ShortStringRefName() const
{
    return CNonVisual::Get_StringrefName();
}

bool CCurrency::Put_mDescription(const char* description)
{
    CopyToField(mDescription, kMaxDescriptionLength + 1, description ? description : "-?-");
    Put_StringrefDesc(MacRomanToUnicode(mDescription));
    BroadcastMessage(msg::kNameChanged);
    return true;
}

void CCurrency::Get_mDescription(char (&out)[kDescriptionSize]) const
{
    std::memcpy(out, mDescription, kDescriptionSize);
}

bool CCurrency::Put_mCurrencySymbol(const char* symbol)
{
    CopyToField(mCurrencySymbol, symbol ? symbol : "----");
    return true;
}

void CCurrency::Get_mCurrencySymbol(char (&out)[kSymbolSize]) const
{
    std::memcpy(out, mCurrencySymbol, kSymbolSize);
}

void CCurrency::RenameShareAccounts(bool unicodeNames)
{
    if (mCurrencyType != currency_type::kShare || !mDocument || !mDocument->mAccountList) return;
    const struct {
        ObjectIdT accountId;
        const char* key;
    } accounts[] = {{mPortfolioAccountId, "porfolioAcntName"}, {mDiffAccount, "porfolioPLAcntName"}};
    for (const auto& entry : accounts) {
        auto* account = FindIn<CAccount>(mDocument->mAccountList.get(), entry.accountId, type::kAccount);
        if (!account) continue;
        if (unicodeNames) {
            const std::string text = localized(entry.key);
            if (account->Get_StringRefNameOnly().rfind(text, 0) != 0) continue;
            const std::string name = text + " " + CNonVisual::Get_StringrefName();
            account->Put_StringrefName(name);
            account->Put_StringrefDesc(name);
        } else {
            char text[kNameSize];
            CLocalize::LocalizedName(entry.key, text);
            char accountName[kNameSize];
            account->Get_NameOnly(accountName);
            if (std::strstr(accountName, text) == nullptr) continue;
            char shortName[kNameSize];
            CNonVisual::Get_Name(shortName);
            char name[kNameSize];
            CopyToField(name, (std::string(text) + shortName).c_str());
            account->Put_Name(name);
            account->Put_mDescription(name);
        }
    }
}

// --- rate and base

bool CCurrency::Put_mConversionQuantity(QtyT quantity, DateT date)
{
    if (quantity == mConversionQuantity) return true;
    LineConversionKeeper keeper(mDocument);
    const QtyT old = mConversionQuantity;
    mConversionQuantity = quantity;
    if (Get_ObjectStatus() != status::kNew)
        BookFluctuations(old, quantity, mConversionFactor, mConversionFactor, std::nullopt, 0);
    if (!mInitialising) UpdateCurrencyHistory(date, 0, 0.0);
    return true;
}

bool CCurrency::Put_mConversionFactor(double factor, DateT date)
{
    if (factor == mConversionFactor) return true;
    LineConversionKeeper keeper(mDocument);
    const double old = mConversionFactor;
    mConversionFactor = factor;
    if (Get_ObjectStatus() != status::kNew)
        BookFluctuations(mConversionQuantity, mConversionQuantity, old, factor, std::nullopt, 0);
    if (!mInitialising) UpdateCurrencyHistory(date, 0, 0.0);
    return true;
}

bool CCurrency::Put_mConversionFactorAndAmount(QtyT quantity, double factor, DateT date)
{
    if (quantity == mConversionQuantity && factor == mConversionFactor) return true;
    LineConversionKeeper keeper(mDocument);
    const DateT today = CDate::GetNowAsDateT();
    // Only a rate for the period that holds today is the current one; a rate
    // entered for an earlier period changes the history only.
    if (GetRate(date != 0 ? date : today) == GetRate(today)) {
        const QtyT oldQuantity = mConversionQuantity;
        const double oldFactor = mConversionFactor;
        mConversionQuantity = quantity;
        mConversionFactor = factor;
        if (Get_ObjectStatus() != status::kNew)
            BookFluctuations(oldQuantity, quantity, oldFactor, factor, std::nullopt, date);
    }
    if (!mInitialising) UpdateCurrencyHistory(date, quantity, factor);
    return true;
}

bool CCurrency::BaseChainReaches(const CCurrency* base) const
{
    std::unordered_set<const CCurrency*> seen;
    for (const CCurrency* step = base; step && seen.insert(step).second;) {
        if (step == this) return true;
        if (step->mBaseCurrency == step->Get_Id()) break;   // a currency priced in itself ends the chain
        step = step->Search_Basecurrency();
    }
    return false;
}

bool CCurrency::Put_mBaseCurrency(ObjectIdT id, CNonVisual* object, DateT date)
{
    const bool ownId = id == Get_Id();
    if (ownId && Get_Id() != HomeCurrencyId()) {
        CErrorManager::RaiseError(214);
        return false;
    }
    CCurrency* newBase = nullptr;
    if (object && object->Get_ObjectType() == type::kCurrency)
        newBase = static_cast<CCurrency*>(object);
    else
        newBase = ownId ? this : CurrencyWithId(mDocument, id);
    // A base priced (through others) in this currency would make conversion endless.
    if (!ownId && newBase && BaseChainReaches(newBase)) {
        CErrorManager::RaiseError(214);
        return false;
    }

    LineConversionKeeper keeper(mDocument);
    std::optional<std::string> oldBaseName;
    if (const CCurrency* oldBase = Search_Basecurrency()) oldBaseName = oldBase->Get_ShortStringRefName();
    const bool changed = id != mBaseCurrency;
    mBaseCurrency = id;
    mBaseCurrencyPtr = newBase;
    if (changed && Get_ObjectStatus() != status::kNew) {
        BookFluctuations(mConversionQuantity, mConversionQuantity, mConversionFactor, mConversionFactor,
                         oldBaseName ? TextRef(*oldBaseName) : TextRef(), 0);
    }
    // The same base again (a currency sheet okayed unchanged) has no new
    // rate to record.
    if (changed && !mInitialising) UpdateCurrencyHistory(date, 0, 0.0);
    return true;
}

CCurrency* CCurrency::Search_Basecurrency() const
{
    if (!mBaseCurrencyPtr) {
        mBaseCurrencyPtr = mBaseCurrency == Get_Id() ? const_cast<CCurrency*>(this)
                                                     : CurrencyWithId(mDocument, mBaseCurrency);
    }
    return mBaseCurrencyPtr;
}

bool CCurrency::Put_mCurrencyType(CurrencyTypeT currencyType)
{
    mCurrencyType = currencyType;
    return true;
}

bool CCurrency::Put_mAllowDecimals(unsigned char allow)
{
    mAllowDecimals = allow;
    return true;
}

bool CCurrency::Put_mDiffAccount(ObjectIdT id)
{
    mDiffAccount = id;
    return true;
}

bool CCurrency::Put_mDiffExpType(ObjectIdT id)
{
    mDiffExpType = id;
    return true;
}

bool CCurrency::Put_mPortfolioAccountId(ObjectIdT id)
{
    mPortfolioAccountId = id;
    return true;
}

bool CCurrency::Put_mComissionAccountId(ObjectIdT id)
{
    mComissionAccountId = id;
    return true;
}

bool CCurrency::Put_mComissionExpenseTypeId(ObjectIdT id)
{
    mComissionExpenseTypeId = id;
    return true;
}

bool CCurrency::Put_mDividentAccountIdFrom(ObjectIdT id)
{
    mDividentAccountIdFrom = id;
    return true;
}

bool CCurrency::Put_mDividentAccountIdTo(ObjectIdT id)
{
    mDividentAccountIdTo = id;
    return true;
}

bool CCurrency::Put_mDividentExpenseTypeId(ObjectIdT id)
{
    mDividentExpenseTypeId = id;
    return true;
}

CAccount* CCurrency::GetFluctationsAccount() const
{
    return mDocument ? FindIn<CAccount>(mDocument->mAccountList.get(), mDiffAccount, type::kAccount)
                     : nullptr;
}

CExpenseType* CCurrency::GetFluctationsReason() const
{
    return mDocument ? FindIn<CExpenseType>(mDocument->mExpenseTypeList.get(), mDiffExpType,
                                            type::kExpenseType)
                     : nullptr;
}

bool CCurrency::isHomeCurrency() const
{
    CNonVisual* home = nullptr;
    if (mDocument) mDocument->Get_HomeCurrency(home);
    return home == this;
}

void CCurrency::SortHistory() const
{
    mHistoryList->SetNotSorted();
    mHistoryList->Sort();
    mHistorySortedAt = CCurrencyRate::ValidFromChanges();
}

CCurrencyRate* CCurrency::GetRate(DateT date) const
{
    if (mHistoryList->GetCount() == 0) return nullptr;
    // Rates may have been linked or changed out of order: a rate joining the
    // list clears its sorted flag, a rate changing its date moves the count.
    // Sorting an ordered history would change nothing, and every conversion
    // asks: only a history that may be out of order is sorted again.
    if (!mHistoryList->IsSorted() || mHistorySortedAt != CCurrencyRate::ValidFromChanges()) SortHistory();
    // Newest first: the first rate already valid on the date is the latest
    // one. The dates fall along the list, so the first such rate is found by
    // halving.
    ArrayIndexT low = 1;
    ArrayIndexT high = static_cast<ArrayIndexT>(mHistoryList->GetCount()) + 1;
    while (low < high) {
        ArrayIndexT middle = low + (high - low) / 2;
        if (static_cast<CCurrencyRate*>(mHistoryList->ObjectAt(middle))->Get_mValidFrom() <= date)
            high = middle;
        else
            low = middle + 1;
    }
    return static_cast<CCurrencyRate*>(mHistoryList->ObjectAt(low));
}

CCurrency* CCurrency::GetConversionFactors(QtyT& quantity, double& factor, DateT date) const
{
    if (date != 0) {
        if (const CCurrencyRate* rate = GetRate(date)) {
            quantity = rate->Get_mConversionQuantity();
            factor = rate->Get_mConversionFactor();
            return CurrencyWithId(mDocument, rate->Get_mCurrencyId());
        }
    }
    quantity = mConversionQuantity;
    factor = mConversionFactor;
    return Search_Basecurrency();
}

bool CCurrency::didRateChangeAfter(DateT date) const
{
    const CCurrencyRate* rate = GetRate(CDate::GetNowAsDateT());
    return rate && rate->Get_mValidFrom() > date;
}

bool CCurrency::LinkRate(CCurrencyRate* rate)
{
    if (rate) mHistoryList->InsertObjectAt(rate, 1);
    return true;
}

// --- conversion

double CCurrency::RoundAmount(double value)
{
    double scale = 1.0;
    for (long i = CDecimal::getNrOfDecimals(); i > 0; --i) scale *= 10.0;
    const double magnitude = std::fabs(value * scale);
    double whole = std::trunc(magnitude);
    // Exactly one half is not more than one half: it rounds toward zero.
    if (magnitude - whole > 0.5) whole += 1.0;
    const double rounded = whole / scale;
    return value < 0.0 ? -rounded : rounded;
}

double CCurrency::ToLocal(double amount, DateT date, bool rounding, int depth) const
{
    const ObjectIdT home = HomeCurrencyId();
    if (Get_Id() == home) return amount;
    QtyT quantity = 1;
    double factor = 1.0;
    const CCurrency* via = GetConversionFactors(quantity, factor, date);
    // A rate without a quantity prices nothing.
    double value = quantity != 0 ? amount * factor / quantity : 0.0;
    if (mCurrencyType == currency_type::kShare && via && via != this && via->Get_Id() != home &&
        depth < kMaxBaseChain)
        value = via->ToLocal(value, date, rounding, depth + 1);
    return rounding ? RoundAmount(value) : value;
}

double CCurrency::ToForeign(double amount, DateT date, bool rounding, int depth) const
{
    const ObjectIdT home = HomeCurrencyId();
    if (Get_Id() == home) return amount;
    QtyT quantity = 1;
    double factor = 1.0;
    const CCurrency* via = GetConversionFactors(quantity, factor, date);
    // A currency worth nothing buys nothing.
    double value = factor != 0.0 ? quantity * amount / factor : 0.0;
    if (mCurrencyType == currency_type::kShare && via && via != this && via->Get_Id() != home &&
        depth < kMaxBaseChain)
        value = via->ToForeign(value, date, rounding, depth + 1);
    return rounding ? RoundAmount(value) : value;
}

double CCurrency::ConvertToLocal(double amount, DateT date, bool rounding) const
{
    return ToLocal(amount, date, rounding, 0);
}

double CCurrency::ConvertToForeign(double amount, DateT date, bool rounding) const
{
    return ToForeign(amount, date, rounding, 0);
}

double CCurrency::ConvertFrom(double amount, ObjectIdT, const CCurrency* from, DateT date) const
{
    const double local = from ? from->ConvertToLocal(amount, date, true) : amount;
    return ConvertToForeign(local, date, true);
}

// --- maintenance

bool CCurrency::UpdateCurrencyHistory(DateT date, QtyT quantity, double factor)
{
    if (factor == 0.0) factor = mConversionFactor;
    if (date == 0) date = CDate::GetNowAsDateT();
    if (quantity == 0) quantity = mConversionQuantity;

    CCurrencyRate* rate = GetRate(date);
    if (!rate || rate->Get_mValidFrom() != date) {
        rate = new CCurrencyRate(-1, mDocument);
        mHistoryList->AppendObject(rate);
        SortHistory();
    }
    rate->Put_mConversionQuantity(quantity);
    rate->Put_mConversionFactor(factor);
    rate->Put_mValidFrom(date);
    if (factor > rate->Get_mMaxFactor()) rate->Put_mMaxFactor(factor);
    if (factor < rate->Get_mMinFactor()) rate->Put_mMinFactor(factor);
    rate->Put_mCurrencyId(mBaseCurrency);
    rate->Put_mIntermediateCurrencyId(mBaseCurrency);
    return true;
}

double CCurrency::BookFluctuations(QtyT oldQuantity, QtyT newQuantity, double oldFactor,
                                   double newFactor, TextRef text, DateT date)
{
    if (!mDocument) return 0.0;
    const ObjectIdT home = HomeCurrencyId();
    // Booking a correction may change the lists; walk a copy.
    for (CNonVisual* object : ObjectsOf(mDocument->mAccountList.get())) {
        if (!object || object->Get_ObjectType() != type::kAccount) continue;
        auto* account = static_cast<CAccount*>(object);
        if (account->thisIsAProfitAndLossAccount()) continue;
        CCurrency* currency = account->Get_mCurrency() == Get_Id() ? this : account->Get_mCurrencyPtr();
        if (!currency) continue;
        // Other currencies priced in the home currency do not move with this one.
        if (currency != this && currency->Get_mBaseCurrency() == home) continue;
        // The balance is settled first: its binary error depends on the order
        // its lines were added in, and would round a half cent one way here
        // and the other way when the books are read again.
        const double difference =
            currency->ConvertToLocal(SettledSum(account->Get_mBalance()), 0, true) - account->Get_mLocalBalance();
        if (difference != 0.0 && std::fabs(difference) > kFluctuationThreshold) {
            account->AdjustLocalBalance(difference, oldQuantity, newQuantity, oldFactor, newFactor, this,
                                        text, true, date);
        }
    }
    return 0.0;
}

bool CCurrency::SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome, double rate)
{
    const ObjectIdT oldHomeId = oldHome ? oldHome->Get_Id() : HomeCurrencyId();
    // Shares priced in other currencies keep their base.
    if (mBaseCurrency != oldHomeId || !newHome) return true;

    // A value below 1 is kept per 100 units, so that it keeps its precision.
    auto store = [this](double factor) {
        if (factor < 1.0) {
            mConversionFactor = factor * 100.0;
            mConversionQuantity = 100;
        } else {
            mConversionFactor = factor;
            mConversionQuantity = 1;
        }
    };
    if (this == oldHome) {
        store(rate);
    } else if (this == newHome) {
        mConversionQuantity = 1;
        mConversionFactor = 1.0;
    } else {
        const double perUnit = mConversionQuantity != 0 ? rate * mConversionFactor / mConversionQuantity : 0.0;
        store(perUnit);
    }
    mBaseCurrency = newHome->Get_Id();
    mBaseCurrencyPtr = newHome;
    UpdateCurrencyHistory(CDate::GetNowAsDateT(), 0, 0.0);
    return true;
}

bool CCurrency::ImportCurrency(const char* name, const char* description, unsigned char allowDecimals,
                               CurrencyTypeT, DateT date, QtyT quantity, double factor,
                               ObjectIdT baseId, ObjectIdT diffAccount, ObjectIdT diffCategory)
{
    if (name) {
        const std::string& current = Get_ShortStringRefName();
        if ((equalsCaseInsensitive(current, "??") || equalsCaseInsensitive(current, Get_StringrefDesc())) &&
            name[0] != '\0')
            Put_Name(name);
    }
    if (description)
        Put_mDescription(description);
    else if (mDescription[0] == '\0' && name)
        Put_mDescription(name);
    if (allowDecimals != 'c') mAllowDecimals = allowDecimals;

    if (!(factor == 1.0 && quantity == 1)) ImportCurrencyRate(date, quantity, factor, baseId);
    if (diffAccount != -1) mDiffAccount = diffAccount;
    if (diffCategory != -1) mDiffExpType = diffCategory;
    return true;
}

bool CCurrency::ImportCurrencyRate(DateT date, QtyT quantity, double factor, ObjectIdT baseId)
{
    const DateT today = CDate::GetNowAsDateT();
    if (date == 0) date = today;
    // An import older than the rate of today changes nothing.
    const CCurrencyRate* todays = GetRate(today);
    if (todays && todays->Get_mValidFrom() > date) return true;
    if (quantity != mConversionQuantity) Put_mConversionQuantity(quantity, date);
    if (factor != mConversionFactor) Put_mConversionFactor(factor, date);
    if (baseId != 0 && baseId != mBaseCurrency && (!todays || mCurrencyType == currency_type::kShare))
        Put_mBaseCurrency(baseId, nullptr, date);
    return true;
}

// --- deletion and persistence

bool CCurrency::CanGoWithAccount(ObjectIdT account) const
{
    if (!mDocument) return true;
    const ObjectIdT id = Get_Id();
    for (CNonVisual* object : ObjectsOf(mDocument->mAccountList.get())) {
        if (object && object->Get_ObjectType() == type::kAccount && object->Get_Id() != account &&
            static_cast<CAccount*>(object)->Get_mCurrency() == id) {
            CErrorManager::RaiseError(180);
            return false;
        }
    }
    for (CNonVisual* object : ObjectsOf(mDocument->mCurrencyList.get())) {
        if (object && object->Get_ObjectType() == type::kCurrency &&
            static_cast<CCurrency*>(object)->mBaseCurrency == id) {
            CErrorManager::RaiseError(181);
            return false;
        }
    }
    return true;
}

bool CCurrency::BeforeDelete()
{
    if (!mDocument) return true;
    if (!CanGoWithAccount(-1)) return false;
    const ObjectIdT id = Get_Id();
    // Unlinked transactions and recurring templates keep their currency as
    // much as posted ones do.
    for (const CNamedListArray* list : std::initializer_list<const CNamedListArray*>{
             mDocument->mTransactionList.get(), mDocument->mUnlinkedList.get(), mDocument->mRecurringList.get()}) {
        auto count = list ? static_cast<ArrayIndexT>(list->GetCount()) : 0;
        for (ArrayIndexT i = 1; i <= count; ++i) {
            if (TransactionUses(list->ObjectAt(i), id)) {
                CErrorManager::RaiseError(182);
                return false;
            }
        }
    }
    return true;
}

void CCurrency::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteCString(mDescription);
    stream->WriteQtyT(mConversionQuantity);
    stream->WriteAmountTT(mConversionFactor);
    stream->WriteEnumT(mCurrencyType);
    stream->WriteObjectIdT(mBaseCurrency);
    stream->WriteObjectIdT(mDiffAccount);
    stream->WriteEnumT(mAllowDecimals);
    stream->WriteObjectIdT(1);   // reserved
    stream->WriteObjectIdT(mDiffExpType);
    stream->WriteObjectIdT(mPortfolioAccountId);
    stream->WriteObjectIdT(mComissionAccountId);
    stream->WriteObjectIdT(mComissionExpenseTypeId);
    stream->WriteObjectIdT(mDividentAccountIdFrom);
    stream->WriteObjectIdT(mDividentAccountIdTo);
    stream->WriteObjectIdT(mDividentExpenseTypeId);
    stream->WriteCString(mCurrencySymbol);
    // Newest first, as the history is used: reading links each rate at the
    // front, so an unsorted history would be written reversed on every save.
    SortHistory();
    auto count = static_cast<ArrayIndexT>(mHistoryList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) mHistoryList->ObjectAt(i)->PutStream(stream);
}

bool CCurrency::Export(LStream* stream, char separator) const
{
    CNonVisual::Export(stream, separator);
    char baseName[kNameSize] = {};
    if (const CCurrency* base = Search_Basecurrency()) base->Get_ShortName(baseName);
    std::string line = std::string(mDescription) + '\t' + std::to_string(mConversionQuantity) + '\t' +
                       CDecimal::DoubleToString(mConversionFactor) + '\t' +
                       std::to_string(mCurrencyType) + '\t' + std::to_string(mBaseCurrency) + '\t' +
                       baseName + '\t' + std::to_string(mAllowDecimals) + '\t' +
                       std::to_string(mDiffAccount) + '\t' + std::to_string(mDiffExpType) + '\r';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    auto count = static_cast<ArrayIndexT>(mHistoryList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) mHistoryList->ObjectAt(i)->Export(stream, separator);
    return true;
}

} // namespace ch
