#pragma once
// Pins what the text conversions read from the environment: user defaults with
// the model's registered values, a German-style short date and separators, and
// a fixed today. Tests change single values through defaults().

#include <string>

#include "model/foundation/CDecimal.h"
#include "platform/core/clock.h"
#include "platform/core/localized_strings.h"
#include "platform/core/locale_settings.h"
#include "platform/core/user_defaults.h"

namespace ch::test {

class PinnedTextSettings {
public:
    PinnedTextSettings()
    {
        registerModelDefaults(mDefaults);
        mDefaults.set(std::string(kShortDateFormatKey), Value("dd.MM.yy"));
        mDefaults.set(std::string(kDecimalSeparatorKey), Value(","));
        mDefaults.set(std::string(kThousandsSeparatorKey), Value("."));
        CDecimal::putNrOfDecimals(2);
    }
    ~PinnedTextSettings() { CDecimal::putNrOfDecimals(2); }

    UserDefaults& defaults() { return mDefaults; }
    LocalizedStrings& strings() { return mStrings; }

private:
    UserDefaults mDefaults;
    ScopedUserDefaults mDefaultsScope{mDefaults};
    LocalizedStrings mStrings;
    ScopedLocalizedStrings mStringsScope{mStrings};
    ScopedFixedClock mClock{CalendarDate{2024, 6, 15}};
};

} // namespace ch::test
