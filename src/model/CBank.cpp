#include "model/CBank.h"

#include <cstring>
#include <string>

#include "model/foundation/LStream.h"

namespace ch {

namespace {
template <std::size_t N>
void CopyOut(char (&out)[N], const char (&field)[N])
{
    std::memcpy(out, field, N);
}
} // namespace

CBank::CBank(CDocAccounting* document)
    : CNonVisual(-1, document)
{
    Put_Document(document);
    SetDefaults();
}

CBank::CBank(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document)
{
    Put_Document(document);
    SetDefaults();
}

CBank::CBank(const CBank& source, CDocAccounting* document)
    : CNonVisual(-1, document)
{
    Put_Document(document);
    CopyFromObject(&source);
    SetObjectType(type::kBank);
    std::memcpy(mPluginName, source.mPluginName, sizeof mPluginName);
    std::memcpy(mAddress, source.mAddress, sizeof mAddress);
    std::memcpy(mPhone, source.mPhone, sizeof mPhone);
    std::memcpy(mFax, source.mFax, sizeof mFax);
    std::memcpy(mEmail, source.mEmail, sizeof mEmail);
    std::memcpy(mVATNr, source.mVATNr, sizeof mVATNr);
}

CBank::CBank(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    Put_Document(document);
    SetObjectType(type::kBank);
    stream->ReadCString(mPluginName);
    stream->ReadCString(mAddress);
    stream->ReadCString(mPhone);
    stream->ReadCString(mFax);
    stream->ReadCString(mEmail);
    stream->ReadCString(mVATNr);
    for (int reserved = 0; reserved < 4; ++reserved) {
        ObjectIdT ignored = 0;
        stream->ReadObjectIdT(ignored);
    }
}

void CBank::SetDefaults()
{
    CopyToField(mPluginName, "Plugin To Use");
    CopyToField(mAddress, "Address");
    CopyToField(mPhone, "Telephone Nr");
    CopyToField(mFax, "Fax Number");
    CopyToField(mEmail, "E-mail address");
    CopyToField(mVATNr, "");
    SetObjectType(type::kBank);
}

void CBank::Get_mBanK_PluginName(char (&out)[kPluginNameSize]) const { CopyOut(out, mPluginName); }
void CBank::Get_mBanK_Address(char (&out)[kAddressSize]) const { CopyOut(out, mAddress); }
void CBank::Get_mBanK_Phone(char (&out)[kPhoneSize]) const { CopyOut(out, mPhone); }
void CBank::Get_mBanK_Fax(char (&out)[kFaxSize]) const { CopyOut(out, mFax); }
void CBank::Get_mBanK_Email(char (&out)[kEmailSize]) const { CopyOut(out, mEmail); }
void CBank::Get_mBanK_VATNr(char (&out)[kVATNrSize]) const { CopyOut(out, mVATNr); }

bool CBank::Put_mBanK_PluginName(const char* text) { CopyToField(mPluginName, text); return true; }
bool CBank::Put_mBanK_Address(const char* text) { CopyToField(mAddress, text); return true; }
bool CBank::Put_mBanK_Phone(const char* text) { CopyToField(mPhone, text); return true; }
bool CBank::Put_mBanK_Fax(const char* text) { CopyToField(mFax, text); return true; }
bool CBank::Put_mBanK_Email(const char* text) { CopyToField(mEmail, text); return true; }
bool CBank::Put_mBanK_VATNr(const char* text) { CopyToField(mVATNr, text); return true; }

bool CBank::Import(const char* name, const char* pluginName, const char* address, const char* phone,
                   const char* fax, const char* eMail, const char* vatNumber)
{
    Put_Name(name);
    Put_mBanK_PluginName(pluginName);
    Put_mBanK_Address(address);
    Put_mBanK_Phone(phone);
    Put_mBanK_Fax(fax);
    Put_mBanK_Email(eMail);
    Put_mBanK_VATNr(vatNumber);
    return true;
}

void CBank::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteCString(mPluginName);
    stream->WriteCString(mAddress);
    stream->WriteCString(mPhone);
    stream->WriteCString(mFax);
    stream->WriteCString(mEmail);
    stream->WriteCString(mVATNr);
    for (int reserved = 0; reserved < 4; ++reserved) stream->WriteObjectIdT(0);
}

bool CBank::Export(LStream* stream, char separator) const
{
    CNonVisual::Export(stream, separator);
    std::string line;
    for (const char* text : {mPluginName, mAddress, mPhone, mFax, mEmail}) {
        line += text;
        line += '\t';
    }
    line += mVATNr;
    line += '\r';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    return true;
}

} // namespace ch
