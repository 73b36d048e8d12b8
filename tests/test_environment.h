#pragma once
// What the libraries' test environments share: today fixed, user defaults,
// texts and recorded alerts of the test's own, installed for its lifetime;
// the model's defaults registered, names ordered as in English, dates read
// dd.MM.yyyy, amounts written with "." and "," and 2 decimals. Everything is
// restored afterwards.

#include "model/foundation/CDecimal.h"
#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch::test {

class TestEnvironment {
public:
    explicit TestEnvironment(CalendarDate today)
        : mClock(today), mDefaultsScope(mDefaults), mStringsScope(mStrings), mAlertScope(mAlerts)
    {
        registerModelDefaults(mDefaults);
        setNameOrderLocale("en_US");
        mDefaults.set("NSShortDateFormatString", "dd.MM.yyyy");
        mDefaults.set("NSDecimalSeparator", ".");
        mDefaults.set("NSThousandsSeparator", ",");
        mDecimals = CDecimal::getNrOfDecimals();
        CDecimal::putNrOfDecimals(2);
    }
    ~TestEnvironment() { CDecimal::putNrOfDecimals(mDecimals); }
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    UserDefaults& defaults() { return mDefaults; }
    RecordingAlertPresenter& alerts() { return mAlerts; }
    ScopedFixedClock& clock() { return mClock; }

protected:
    LocalizedStrings& strings() { return mStrings; }

private:
    ScopedFixedClock mClock;
    UserDefaults mDefaults;
    ScopedUserDefaults mDefaultsScope;
    LocalizedStrings mStrings;
    ScopedLocalizedStrings mStringsScope;
    RecordingAlertPresenter mAlerts;
    ScopedAlertPresenter mAlertScope;
    long mDecimals = 2;
};

} // namespace ch::test
