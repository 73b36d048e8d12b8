// The home currency new books start with, from the user's defaults or the
// locale, always with a name the model can store.

#include <gtest/gtest.h>

#include <string>

#include "document/app/NewBooksCurrency.h"
#include "platform/core/locale_settings.h"
#include "platform/core/text_encoding.h"
#include "platform/core/user_defaults.h"

namespace ch {
namespace {

TEST(NewBooksCurrency, SymbolFromTheDefaultsOrTheLocaleInMacRoman)
{
    const struct {
        const char* symbol; // nullptr: not in the defaults
        const char* code;
        std::string expected; // Mac OS Roman bytes; empty: the locale's, whatever it is
    } cases[] = {
        {"\u20AC", nullptr, "\xDB"},    // the euro sign is one Mac OS Roman byte
        {nullptr, "CHF", "CHF"},        // a code of the user's own brings its symbol
        {"\u20B9", "INR", "INR"},       // no Mac OS Roman for the rupee sign: the code
        {"", "", ""},                   // a first start: nothing in the defaults
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code ? c.code : "(no code)");
        UserDefaults defaults;
        if (c.symbol) defaults.set("NSCurrencySymbol", Value(std::string(c.symbol)));
        if (c.code) defaults.set("NSInternationalCurrencyString", Value(std::string(c.code)));
        const std::string symbol = newBooksCurrencySymbol(defaults);
        EXPECT_FALSE(symbol.empty());
        if (!c.expected.empty()) {
            EXPECT_EQ(symbol, c.expected);
        } else {
            const LocaleSettings locale = currentLocaleSettings(defaults);
            const std::string localeName =
                canEncode(locale.currencySymbol, encoding::macRoman) ? locale.currencySymbol : locale.currencyCode;
            if (!localeName.empty()) {
                EXPECT_EQ(decode(symbol, encoding::macRoman), localeName);
            }
        }
    }
}

} // namespace
} // namespace ch
