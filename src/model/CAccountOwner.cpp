#include "model/CAccountOwner.h"

#include "model/CDocAccounting.h"
#include "model/foundation/LStream.h"
#include "platform/core/unicode.h"

namespace ch {

CAccountOwner::CAccountOwner()
{
    SetDefaults();
}

CAccountOwner::CAccountOwner(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document)
{
    SetDefaults();
}

void CAccountOwner::SetDefaults()
{
    mOpenDebitInvoiceAccount = -1;
    mDebitorAccount = -1;
    mOpenCreditInvoiceAccount = -1;
    mCreditorAccount = -1;
    mFirstName = "First Name";
    mAddress = "Address";
    mPostCode.reset();
    mState.reset();
    mCity.reset();
    mPhone = "Telephone Nr";
    mFax = "Fax Number";
    mEMail = "E-mail address";
    mVATNr = std::string();
    mAddressbookId.reset();
    mCustomerPaymentCategory = -1;
    mSupplierInvoiceCategory = -1;
    SetObjectType(type::kAccountOwner);
}

CAccountOwner::CAccountOwner(LStream* stream, FourCharCode version, CDocAccounting* document)
    : CNonVisual(stream, version, document)
{
    SetDefaults();
    auto readId = [stream] {
        ObjectIdT id = 0;
        stream->ReadObjectIdT(id);
        return id;
    };

    if (!version::AtLeast(version, version::k1_10)) {
        // The old layout: six 8-bit texts, then the four accounts.
        for (std::optional<std::string>* field : {&mFirstName, &mAddress, &mPhone, &mFax, &mEMail, &mVATNr}) {
            char text[kDescriptionSize] = {};
            stream->ReadCString(text);
            *field = MacRomanToUnicode(text);
        }
        mOpenDebitInvoiceAccount = readId();
        mDebitorAccount = readId();
        mOpenCreditInvoiceAccount = readId();
        mCreditorAccount = readId();
    } else {
        mOpenDebitInvoiceAccount = readId();
        mDebitorAccount = readId();
        mOpenCreditInvoiceAccount = readId();
        mCreditorAccount = readId();
        for (std::optional<std::string>* field : {&mFirstName, &mAddress, &mPostCode, &mState, &mCity,
                                                  &mPhone, &mFax, &mEMail, &mVATNr, &mAddressbookId})
            *field = stream->ReadCFString();
    }

    if (version::AtLeast(version, version::k2_00)) {
        mCustomerPaymentCategory = readId();
        mSupplierInvoiceCategory = readId();
    } else {
        mCustomerPaymentCategory = 2;
        mSupplierInvoiceCategory = 1;
    }
}

void CAccountOwner::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteObjectIdT(mOpenDebitInvoiceAccount);
    stream->WriteObjectIdT(mDebitorAccount);
    stream->WriteObjectIdT(mOpenCreditInvoiceAccount);
    stream->WriteObjectIdT(mCreditorAccount);
    for (const std::optional<std::string>* field : {&mFirstName, &mAddress, &mPostCode, &mState, &mCity,
                                                    &mPhone, &mFax, &mEMail, &mVATNr, &mAddressbookId})
        stream->WriteCFString(field->value_or(std::string()));

    // The settings record is written first and states the version the reader
    // will apply to this record.
    if (mDocument && version::AtLeast(mDocument->fileVersion(), version::k2_00)) {
        stream->WriteObjectIdT(mCustomerPaymentCategory);
        stream->WriteObjectIdT(mSupplierInvoiceCategory);
    }
}

void CAccountOwner::PutText(std::optional<std::string>& field, TextRef text)
{
    std::string_view value = text.value_or(std::string_view());
    if (field && equalsCaseInsensitive(*field, value)) return;
    field = std::string(value);
}

bool CAccountOwner::Put_mCFfirstName(TextRef text) { PutText(mFirstName, text); return true; }
bool CAccountOwner::Put_mCFaddress(TextRef text) { PutText(mAddress, text); return true; }
bool CAccountOwner::Put_mCFpostCode(TextRef text) { PutText(mPostCode, text); return true; }
bool CAccountOwner::Put_mCFstate(TextRef text) { PutText(mState, text); return true; }
bool CAccountOwner::Put_mCFcity(TextRef text) { PutText(mCity, text); return true; }
bool CAccountOwner::Put_mCFphone(TextRef text) { PutText(mPhone, text); return true; }
bool CAccountOwner::Put_mCFfax(TextRef text) { PutText(mFax, text); return true; }
bool CAccountOwner::Put_mCFeMail(TextRef text) { PutText(mEMail, text); return true; }
bool CAccountOwner::Put_mCFVATNr(TextRef text) { PutText(mVATNr, text); return true; }
bool CAccountOwner::Put_mCFAddressbookId(TextRef text) { PutText(mAddressbookId, text); return true; }

bool CAccountOwner::Import(TextRef name, TextRef firstName, TextRef address, TextRef phone,
                           TextRef fax, TextRef eMail, TextRef vatNumber)
{
    Put_StringrefName(name);
    Put_mCFfirstName(firstName);
    Put_mCFaddress(address);
    Put_mCFphone(phone);
    Put_mCFfax(fax);
    Put_mCFeMail(eMail);
    Put_mCFVATNr(vatNumber);
    return true;
}

} // namespace ch
