#include "document/app/ApplicationPreferences.h"

#include <array>
#include <cmath>

#include "bridge/TextColours.h"
#include "document/app/ApplicationDefaults.h"
#include "model/foundation/CDate.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

// Minutes in a year: a longer interval is a typing slip.
constexpr long long kMaxMinutes = 366LL * 24 * 60;

constexpr std::array<PreferenceField, 23> kFields = {{
    // general
    {kNumberOfDecimalsKey, PreferenceKind::Number, 0, 4},
    {kTableTextSizeKey, PreferenceKind::Number, 8, 24},
    {kShowStartupChoiceKey, PreferenceKind::Flag},
    {kShowLastDocumentAtStartupKey, PreferenceKind::Flag},
    {kShowNewDocumentAssistantKey, PreferenceKind::Flag},
    {kShowFoldersInSequentialObjectListKey, PreferenceKind::Flag},
    // autosave
    {kAutoSaveKey, PreferenceKind::Flag},
    {kAutoSaveIntervalKey, PreferenceKind::Number, 1, kMaxMinutes},
    {kKeepLogFileKey, PreferenceKind::Flag},
    // colours
    {kGreenTextColorKey, PreferenceKind::Colour},
    {kRedTextColorKey, PreferenceKind::Colour},
    {kBlueTextColorKey, PreferenceKind::Colour},
    // graphs
    {kGraphStartDateAutomaticKey, PreferenceKind::Flag},
    {kGraphDateFromKey, PreferenceKind::Date},
    {kGraphEndDateAutomaticKey, PreferenceKind::Flag},
    {kGraphDateToKey, PreferenceKind::Date},
    // importing: month/day/year (0) or the user's short date format (1)
    {kQifDateFormatKey, PreferenceKind::Number, 0, 1},
    {kDestinationEncodingKey, PreferenceKind::Encoding},
    // on line
    {kOnLineUpdateCheckKey, PreferenceKind::Flag},
    {kOnLineSharepriceCheckKey, PreferenceKind::Flag},
    {kStockRefreshRateKey, PreferenceKind::Number, 1, kMaxMinutes},
    {kQuoteServiceAddressKey, PreferenceKind::Address},
    {kCurrencyConverterAddressKey, PreferenceKind::Address},
}};

constexpr std::array<TextEncoding, 5> kEncodings = {encoding::macRoman, encoding::windowsLatin1, encoding::isoLatin1,
                                                    encoding::utf8, encoding::ascii};

bool isWholeNumber(const Value& value)
{
    if (value.isInteger()) return true;
    if (const double* real = value.asReal()) return std::isfinite(*real) && std::floor(*real) == *real;
    return false;
}

Value acceptedAddress(const Value& value)
{
    const std::string* text = value.asString();
    if (!text) return {};
    std::string_view address(*text);
    // Blanks and line ends around a pasted address are no part of it.
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!address.empty() && blank(address.front())) address.remove_prefix(1);
    while (!address.empty() && blank(address.back())) address.remove_suffix(1);
    // The page's path and query are added to it.
    while (!address.empty() && address.back() == '/') address.remove_suffix(1);
    if (address.empty()) return Value(std::string());
    std::string_view rest;
    if (address.starts_with("http://")) rest = address.substr(7);
    else if (address.starts_with("https://")) rest = address.substr(8);
    else return {};
    if (rest.empty() || rest.front() == '/') return {};
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        // No blanks or control characters, and no query or fragment of its own
        // for the added query to land in.
        if (byte <= 0x20 || byte == 0x7f || c == '?' || c == '#') return {};
    }
    return Value(std::string(address));
}

Value acceptedColour(const Value& value)
{
    const Array* components = value.asArray();
    if (!components || components->size() < 3 || components->size() > 4) return {};
    Array colour;
    for (std::size_t i = 0; i < 3; ++i) {
        const Value& component = (*components)[i];
        if (!component.isInteger() && !component.isReal()) return {};
        const double part = component.toDouble();
        if (!(part >= 0.0 && part <= 1.0)) return {};
        colour.emplace_back(part);
    }
    colour.emplace_back(1.0);
    return Value(std::move(colour));
}

} // namespace

std::span<const PreferenceField> applicationPreferenceFields()
{
    return kFields;
}

const PreferenceField* applicationPreferenceField(std::string_view key)
{
    for (const PreferenceField& field : applicationPreferenceFields())
        if (field.key == key) return &field;
    return nullptr;
}

std::span<const TextEncoding> destinationEncodingChoices()
{
    return kEncodings;
}

Value acceptedPreferenceValue(const PreferenceField& field, const Value& value)
{
    switch (field.kind) {
    case PreferenceKind::Flag:
        if (value.isBool()) return value;
        if (value.isInteger() && (value.toLong() == 0 || value.toLong() == 1)) return Value(value.toLong() == 1);
        return {};
    case PreferenceKind::Number:
        if (!isWholeNumber(value) || value.toLong() < field.minimum || value.toLong() > field.maximum) return {};
        return Value(static_cast<long long>(value.toLong()));
    case PreferenceKind::Encoding:
        if (!isWholeNumber(value)) return {};
        for (const TextEncoding choice : kEncodings)
            if (value.toLong() == static_cast<long long>(choice)) return Value(static_cast<long long>(choice));
        return {};
    case PreferenceKind::Colour: return acceptedColour(value);
    case PreferenceKind::Date:
        if (!isWholeNumber(value) || value.toLong() < 10000101 || value.toLong() > 99991231 ||
            !CDate::IsValidDate(static_cast<DateT>(value.toLong())))
            return {};
        return Value(static_cast<long long>(value.toLong()));
    case PreferenceKind::Address: return acceptedAddress(value);
    }
    return {};
}

bool setApplicationPreference(UserDefaults& defaults, std::string_view key, const Value& value)
{
    const PreferenceField* field = applicationPreferenceField(key);
    if (!field) return false;
    Value accepted = acceptedPreferenceValue(*field, value);
    if (accepted.isAbsent()) return false;
    if (defaults.object(key) == accepted) return true;
    defaults.set(std::string(key), std::move(accepted));
    return true;
}

void restoreDefaultTextColours(UserDefaults& defaults)
{
    for (const std::string_view key : {kGreenTextColorKey, kRedTextColorKey, kBlueTextColorKey})
        defaults.remove(key);
}

} // namespace ch
