#include "model/foundation/CLocalize.h"

#include <algorithm>

#include "model/foundation/CNSStringToCString.h"
#include "platform/core/localized_strings.h"

namespace ch {

std::string CLocalize::LocalizedName(const char* key, char (&out)[35])
{
    const std::string text = localized(key ? key : "");
    CNSStringToCString::convertStringToNameT(text, out);
    return text;
}

std::string CLocalize::LocalizedDesc(const char* key, char (&out)[256])
{
    const std::string text = localized(key ? key : "");
    CNSStringToCString::convertStringToDescriptionT(text, out);
    return text;
}

std::string CLocalize::Localize(const unsigned char* key, Str255& out)
{
    const std::string_view keyText =
        key ? std::string_view(reinterpret_cast<const char*>(key + 1), key[0]) : std::string_view();
    const std::string text = localized(keyText);
    const std::string bytes = CNSStringToCString::convertToDestination(text, 255, 255);
    out[0] = static_cast<unsigned char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), out + 1);
    return text;
}

} // namespace ch
