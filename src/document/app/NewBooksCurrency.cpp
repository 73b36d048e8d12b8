#include "document/app/NewBooksCurrency.h"

#include "platform/core/locale_settings.h"
#include "platform/core/text_encoding.h"

namespace ch {

std::string newBooksCurrencySymbol(const UserDefaults& defaults)
{
    const LocaleSettings locale = currentLocaleSettings(defaults);
    for (const std::string& name : {locale.currencySymbol, locale.currencyCode})
        if (!name.empty() && canEncode(name, encoding::macRoman))
            if (auto bytes = encodeLossy(name, encoding::macRoman); bytes && !bytes->empty()) return *bytes;
    // A locale without any currency: the generic sign still names one.
    return encodeLossy("\u00A4", encoding::macRoman).value_or(std::string());
}

} // namespace ch
