#include "document/arguments/CArgumentAncestor.h"

#include <charconv>
#include <limits>

#include "bridge/DeveloperLog.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/ArgumentTextCheck.h"
#include "platform/core/old_style_plist.h"

namespace ch {

namespace {

// A colour component as the single-precision number it is stored as, held in
// the double that prints as that float's shortest text ("0.2", not the float's
// exact 0.20000000298...).
double singlePrecision(double component)
{
    const float f = static_cast<float>(component);
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, f);
    double d = f;
    std::from_chars(buffer, written.ptr, d);
    return d;
}

} // namespace

CArgumentAncestor::~CArgumentAncestor() = default;

Value CArgumentAncestor::toDictionary() const
{
    Dictionary dictionary;
    dictionary.set(std::string(kArgumentClassKey), argumentClass());
    addEntries(dictionary);
    return dictionary;
}

std::string CArgumentAncestor::toText() const
{
    return writeOldStylePlist(toDictionary()).text;
}

bool CArgumentAncestor::recoverFromString(std::string_view text)
{
    const ParseResult parsed = readOldStylePlist(text);
    const Dictionary* dictionary = parsed.value.asDictionary();
    if (!dictionary) {
        developerLog("Argument text not readable: " + std::string(text));
        return false;
    }
    return recoverFromDictionary(*dictionary);
}

std::unique_ptr<CArgumentAncestor> CArgumentAncestor::fromDictionary(const Value& dictionary)
{
    return fromDictionary(dictionary, ArgumentClassRegistry::shared());
}

std::unique_ptr<CArgumentAncestor> CArgumentAncestor::fromDictionary(const Value& value,
                                                                     const ArgumentClassRegistry& registry)
{
    const Dictionary* dictionary = value.asDictionary();
    if (!dictionary)
        return nullptr;
    const std::string* name = (*dictionary)[kArgumentClassKey].asString();
    if (!name)
        return nullptr;
    std::unique_ptr<CArgumentAncestor> object = registry.make(*name);
    // An object the class refused holds nothing to act on.
    if (!object || !object->recoverFromDictionary(*dictionary))
        return nullptr;
    return object;
}

std::unique_ptr<CArgumentAncestor> CArgumentAncestor::fromText(std::string_view text)
{
    return fromText(text, ArgumentClassRegistry::shared());
}

std::unique_ptr<CArgumentAncestor> CArgumentAncestor::fromText(std::string_view text,
                                                               const ArgumentClassRegistry& registry)
{
    const ParseResult parsed = readOldStylePlist(text);
    if (!parsed.value.isDictionary()) {
        developerLog("Argument text not readable: " + std::string(text));
        return nullptr;
    }
    return fromDictionary(parsed.value, registry);
}

// ------------------------------------------------------------------ readers

bool CArgumentAncestor::dumpColor(const std::optional<Colour>& colour, Dictionary& dictionary, std::string key)
{
    if (!colour)
        return false;
    dictionary.set(std::move(key), Dictionary{{"red", singlePrecision(colour->red)},
                                              {"green", singlePrecision(colour->green)},
                                              {"blue", singlePrecision(colour->blue)},
                                              {"alpha", singlePrecision(colour->alpha)}});
    return true;
}

std::optional<Colour> CArgumentAncestor::getColorFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    const Value* entry = dictionary.find(key);
    ArgumentTextCheck::noteRead(key, entry, ArgumentTextCheck::Kind::Colour);
    if (!entry)
        return std::nullopt;
    const Value& colour = *entry;
    return Colour{colour["red"].toDouble(), colour["green"].toDouble(), colour["blue"].toDouble(),
                  colour["alpha"].toDouble()};
}

std::int32_t CArgumentAncestor::getObjectIdFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    const Value* entry = dictionary.find(key);
    ArgumentTextCheck::noteRead(key, entry, ArgumentTextCheck::Kind::Integer);
    if (!entry)
        return kMissingId;
    const int id = entry->toInt();
    return id == std::numeric_limits<std::int32_t>::max() ? kMissingId : id;
}

std::optional<long> CArgumentAncestor::getObjectIdAsNumberFromDictionary(const Dictionary& dictionary,
                                                                         std::string_view key)
{
    const std::int32_t id = getObjectIdFromDictionary(dictionary, key);
    return id == kMissingId ? std::nullopt : std::optional<long>(id);
}

std::optional<long> CArgumentAncestor::getDateFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    const Value* entry = dictionary.find(key);
    ArgumentTextCheck::noteRead(key, entry, ArgumentTextCheck::Kind::Date);
    if (!entry) return std::nullopt;
    const int date = entry->toInt();
    return date == std::numeric_limits<std::int32_t>::max() ? std::nullopt : std::optional<long>(date);
}

void CArgumentAncestor::acknowledgeKey(const Dictionary& dictionary, std::string_view key)
{
    ArgumentTextCheck::noteRead(key, dictionary.find(key), ArgumentTextCheck::Kind::Any);
}

double CArgumentAncestor::geDoubleFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    return getNumberFromDictionary(dictionary, key).value_or(0.0);
}

std::optional<std::string> CArgumentAncestor::getTextFromDictionary(const Dictionary& dictionary,
                                                                    std::string_view key)
{
    const Value* entry = dictionary.find(key);
    ArgumentTextCheck::noteRead(key, entry, ArgumentTextCheck::Kind::Text);
    return entry ? std::optional<std::string>(entry->toString()) : std::nullopt;
}

std::optional<int> CArgumentAncestor::getIntegerFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    const Value* entry = dictionary.find(key);
    ArgumentTextCheck::noteRead(key, entry, ArgumentTextCheck::Kind::Integer);
    return entry ? std::optional<int>(entry->toInt()) : std::nullopt;
}

std::optional<double> CArgumentAncestor::getNumberFromDictionary(const Dictionary& dictionary,
                                                                 std::string_view key)
{
    const Value* entry = dictionary.find(key);
    ArgumentTextCheck::noteRead(key, entry, ArgumentTextCheck::Kind::Number);
    return entry ? std::optional<double>(entry->toDouble()) : std::nullopt;
}

std::optional<bool> CArgumentAncestor::getBooleanFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    const Value* entry = dictionary.find(key);
    ArgumentTextCheck::noteRead(key, entry, ArgumentTextCheck::Kind::Flag);
    return entry ? std::optional<bool>(entry->toBool()) : std::nullopt;
}

} // namespace ch
