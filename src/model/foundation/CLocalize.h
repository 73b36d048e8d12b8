#pragma once
// Localized texts delivered in the model's fixed text forms. A key without a
// text gives the key itself.

#include <string>

#include "model/foundation/LString.h"

namespace ch {

class CLocalize {
public:
    // The text of the key into a 35-byte name (34 characters); returns the text.
    static std::string LocalizedName(const char* key, char (&out)[35]);
    // The text of the key into a 256-byte description (254 characters).
    static std::string LocalizedDesc(const char* key, char (&out)[256]);
    // The key and the result as length-prefixed text (at most 255 bytes).
    static std::string Localize(const unsigned char* key, Str255& out);
};

} // namespace ch
