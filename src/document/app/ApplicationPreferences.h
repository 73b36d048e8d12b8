#pragma once
// The defaults the application preferences window lets the user set, and
// what each accepts. Values are checked here, not in the window, so that a
// value out of range never reaches the defaults from any side: a number of
// decimals of 7, an autosave every 0 minutes, an encoding the model cannot
// write or a quote address with blanks in it is refused and nothing changes.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/text_encoding.h"
#include "platform/core/value.h"

namespace ch {

class UserDefaults;

inline constexpr std::string_view kGraphStartDateAutomaticKey = "GXGraphStartDateAutomaticFlag";
inline constexpr std::string_view kGraphDateFromKey = "GXGraphDateFrom";
inline constexpr std::string_view kGraphEndDateAutomaticKey = "GXGraphEndDateAutomaticFlag";
inline constexpr std::string_view kGraphDateToKey = "GXGraphDateTo";
// Where share quotes and exchange rates are asked for (the quote service).
inline constexpr std::string_view kQuoteServiceAddressKey = "GXQuoteServiceAddress";
inline constexpr std::string_view kCurrencyConverterAddressKey = "GXCurrencyConverterAddress";

enum class PreferenceKind {
    Flag,     // YES or NO
    Number,   // a whole number from minimum to maximum
    Encoding, // one of destinationEncodingChoices()
    Colour,   // red, green, blue (and alpha), each 0 to 1
    Date,     // a calendar date as year * 10000 + month * 100 + day
    Address,  // empty, or an http(s) address
};

struct PreferenceField {
    std::string_view key;
    PreferenceKind kind;
    long long minimum = 0;
    long long maximum = 0;
};

// Every default the window sets, in the order of its pages.
std::span<const PreferenceField> applicationPreferenceFields();
// The field of the key; null for a key the window does not set.
const PreferenceField* applicationPreferenceField(std::string_view key);

// The encodings the model's text fields may be written in, Mac Roman first.
std::span<const TextEncoding> destinationEncodingChoices();

// The value as the field stores it (numbers as integers, an address trimmed
// and without a closing "/"), or an absent value when the field refuses it.
Value acceptedPreferenceValue(const PreferenceField& field, const Value& value);

// Stores the value under the key when its field accepts it; false, storing
// nothing, for a refused value or a key the window does not set. Storing a
// value equal to the present one changes nothing and is no refusal.
bool setApplicationPreference(UserDefaults& defaults, std::string_view key, const Value& value);

// The three text colours back to their registered defaults.
void restoreDefaultTextColours(UserDefaults& defaults);

} // namespace ch
