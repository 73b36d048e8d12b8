#pragma once
// CBank ('BanK'): a bank, with the name of the plug-in to use for it and its
// contact data. Banks are only carried: read from the document file into the
// root's bank list and written back unchanged. Every text stays within its
// fixed field (cut to the width minus one).

#include <cstddef>

#include "model/CNonVisual.h"

namespace ch {

class CBank : public CNonVisual {
public:
    static constexpr std::size_t kPluginNameSize = 35;
    static constexpr std::size_t kAddressSize = 256;
    static constexpr std::size_t kPhoneSize = 18;
    static constexpr std::size_t kFaxSize = 18;
    static constexpr std::size_t kEmailSize = 50;
    static constexpr std::size_t kVATNrSize = 12;

    explicit CBank(CDocAccounting* document);
    CBank(ObjectIdT id, CDocAccounting* document);
    CBank(const CBank& source, CDocAccounting* document);
    CBank(LStream* stream, CDocAccounting* document, FourCharCode version);

    void SetDefaults();

    // Getters copy into a caller buffer of the field's width.
    void Get_mBanK_PluginName(char (&out)[kPluginNameSize]) const;
    void Get_mBanK_Address(char (&out)[kAddressSize]) const;
    void Get_mBanK_Phone(char (&out)[kPhoneSize]) const;
    void Get_mBanK_Fax(char (&out)[kFaxSize]) const;
    void Get_mBanK_Email(char (&out)[kEmailSize]) const;
    void Get_mBanK_VATNr(char (&out)[kVATNrSize]) const;
    bool Put_mBanK_PluginName(const char* text);
    bool Put_mBanK_Address(const char* text);
    bool Put_mBanK_Phone(const char* text);
    bool Put_mBanK_Fax(const char* text);
    bool Put_mBanK_Email(const char* text);
    bool Put_mBanK_VATNr(const char* text);

    // The name (8-bit) and the six texts; true.
    bool Import(const char* name, const char* pluginName, const char* address, const char* phone,
                const char* fax, const char* eMail, const char* vatNumber);

    void PutStream(LStream* stream) override;
    // The common columns, then the texts separated by tabs, ended by a carriage return.
    bool Export(LStream* stream, char separator) const override;

private:
    char mPluginName[kPluginNameSize] = {};
    char mAddress[kAddressSize] = {};
    char mPhone[kPhoneSize] = {};
    char mFax[kFaxSize] = {};
    char mEmail[kEmailSize] = {};
    char mVATNr[kVATNrSize] = {};
};

} // namespace ch
