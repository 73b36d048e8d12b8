#pragma once
// Fills the placeholders of a localized text with arguments, by our own code
// (never printf on a text from resources): a translation with more or fewer
// placeholders than the caller's arguments never crashes.

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace ch {

// One argument: a text, an integer or a real.
class FormatArg {
public:
    FormatArg(std::string_view text) : mValue(std::string(text)) {}
    FormatArg(const char* text) : mValue(std::string(text ? text : "")) {}
    FormatArg(const std::string& text) : mValue(text) {}
    FormatArg(std::integral auto v) : mValue(static_cast<std::int64_t>(v)) {}
    FormatArg(std::floating_point auto v) : mValue(static_cast<double>(v)) {}

    const std::variant<std::string, std::int64_t, double>& value() const { return mValue; }

private:
    std::variant<std::string, std::int64_t, double> mValue;
};

// Placeholders: %@ and %s (text), %d %i %ld %li %lld %u %lu (integer), %f with
// an optional precision such as %.2f (real), %% (a percent sign); each may be
// positional as in %2$@. Arguments are taken in order. Any argument fits any
// placeholder: a number for %@ is written in decimal, a text for %d is
// inserted as it is, an integer for %f is formatted as a real. A placeholder
// without an argument becomes empty; extra arguments are ignored; anything
// else after '%' is copied unchanged.
std::string formatMessage(std::string_view format, std::span<const FormatArg> args);
std::string formatMessage(std::string_view format, std::initializer_list<FormatArg> args);

} // namespace ch
