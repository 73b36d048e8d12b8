#include "model/CCurrencyRate.h"

#include <cstring>

#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/LStream.h"

namespace ch {

namespace {

ObjectIdT HomeCurrencyIdOf(const CDocAccounting* document)
{
    CNonVisual* home = nullptr;
    return document ? document->Get_HomeCurrency(home) : 1;
}

} // namespace

CCurrencyRate::CCurrencyRate(ObjectIdT id, CDocAccounting* document) : CNonVisual(id, document)
{
    mDocument = document;
    SetDefaults();
}

CCurrencyRate::CCurrencyRate(const CCurrencyRate& source, CDocAccounting* document)
    : CNonVisual(-1, document)
{
    mDocument = document;
    CopyFromObject(&source);
    Put_StringrefName(source.Get_StringrefName());
    Put_StringrefDesc(source.Get_StringrefDesc());
    SetObjectType(type::kCurrencyRate);
    mCurrencyId = source.mCurrencyId;
    mConversionQuantity = source.mConversionQuantity;
    mConversionFactor = source.mConversionFactor;
    mValidFrom = source.mValidFrom;
    mTransactionFrom = source.mTransactionFrom;
    mValidTo = source.mValidTo;
    mTransactionTo = source.mTransactionTo;
    mMaxFactor = source.mMaxFactor;
    mMinFactor = source.mMinFactor;
    mIntermediateCurrencyId = source.mIntermediateCurrencyId;
}

CCurrencyRate::CCurrencyRate(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    mDocument = document;
}

void CCurrencyRate::SetDefaults()
{
    SetObjectType(type::kCurrencyRate);
    mConversionQuantity = 1;
    mConversionFactor = 1.0;
    mValidFrom = CDate::GetNowAsDateT();
    ++sValidFromChanges;
    mTransactionFrom = kDefaultTransactionFrom;
    mValidTo = kDefaultValidTo;
    mTransactionTo = kDefaultTransactionTo;
    mMaxFactor = 0.0;
    mMinFactor = kDefaultMinFactor;
    mIntermediateCurrencyId = HomeCurrencyIdOf(mDocument);
}

bool CCurrencyRate::InitFromStream(LStream* stream, CDocAccounting* document, CNonVisual* currency,
                                   FourCharCode)
{
    mDocument = document;
    stream->ReadQtyT(mConversionQuantity);
    stream->ReadAmountT(mConversionFactor);
    stream->ReadDateT(mValidFrom);
    ++sValidFromChanges;
    stream->ReadObjectIdT(mTransactionFrom);
    stream->ReadDateT(mValidTo);
    stream->ReadObjectIdT(mTransactionTo);
    stream->ReadAmountT(mMaxFactor);
    stream->ReadAmountT(mMinFactor);
    stream->ReadObjectIdT(mCurrencyId);
    // Not stored: a read rate gets what a new one has.
    mIntermediateCurrencyId = HomeCurrencyIdOf(document);
    SetObjectType(type::kCurrencyRate);
    if (!currency || currency->Get_ObjectType() != type::kCurrency) return false;
    return static_cast<CCurrency*>(currency)->LinkRate(this);
}

void CCurrencyRate::Get_Name(char (&out)[kNameSize]) const
{
    CopyToField(out, CDate::DateTToString(mValidFrom).c_str());
}

const char* CCurrencyRate::Get_CurrencyName(char (&out)[kNameSize]) const
{
    if (!mDocument || !mDocument->mCurrencyList) return nullptr;
    CNonVisual* currency = mDocument->mCurrencyList->GetValueForId(mCurrencyId);
    if (!currency || currency->Get_ObjectType() != type::kCurrency) return nullptr;
    static_cast<CCurrency*>(currency)->Get_ShortName(out);
    return out;
}

void CCurrencyRate::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteQtyT(mConversionQuantity);
    stream->WriteAmountTT(mConversionFactor);
    stream->WriteDateT(mValidFrom);
    stream->WriteObjectIdT(mTransactionFrom);
    stream->WriteDateT(mValidTo);
    stream->WriteObjectIdT(mTransactionTo);
    stream->WriteAmountTT(mMaxFactor);
    stream->WriteAmountTT(mMinFactor);
    stream->WriteObjectIdT(mCurrencyId);
}

bool CCurrencyRate::Export(LStream* stream, char separator) const
{
    CNonVisual::Export(stream, separator);
    // The minimum comes before the maximum here, the reverse of the record.
    std::string line = std::to_string(mValidFrom) + '\t' + std::to_string(mConversionQuantity) + '\t' +
                       CDecimal::DoubleToString(mConversionFactor) + '\t' + std::to_string(mCurrencyId) +
                       '\t' + std::to_string(mTransactionFrom) + '\t' +
                       CDecimal::DoubleToString(mMinFactor) + '\t' +
                       CDecimal::DoubleToString(mMaxFactor) + '\t' + std::to_string(mValidTo) + '\t' +
                       std::to_string(mTransactionTo) + '\r';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    return true;
}

} // namespace ch
