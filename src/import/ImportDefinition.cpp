#include "import/ImportDefinition.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>

#include "platform/core/plist.h"

namespace ch {

namespace {

// Definitions are a few hundred bytes; anything far larger is no definition.
constexpr std::uintmax_t kMaxDefinitionBytes = 1u << 20;

std::optional<std::int64_t> integerOf(const Value& value)
{
    if (const std::int64_t* integer = value.asInteger()) return *integer;
    if (const double* real = value.asReal()) {
        if (!(*real == *real)) return std::nullopt;   // NaN
        if (*real >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
        if (*real <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
        return static_cast<std::int64_t>(*real);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> definitionText(const Dictionary& definition, std::string_view key)
{
    const Value* value = definition.find(key);
    if (!value || !value->asString()) return std::nullopt;
    return *value->asString();
}

std::uint32_t definitionCount(const Dictionary& definition, std::string_view key)
{
    const Value* value = definition.find(key);
    const std::optional<std::int64_t> number = value ? integerOf(*value) : std::nullopt;
    if (!number || *number < 0) return 0;
    if (*number > std::numeric_limits<std::uint32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(*number);
}

bool definitionFlag(const Dictionary& definition, std::string_view key)
{
    const Value* value = definition.find(key);
    if (!value) return false;
    if (const bool* flag = value->asBool()) return *flag;
    const std::optional<std::int64_t> number = integerOf(*value);
    return number && *number != 0;
}

std::optional<std::vector<std::uint32_t>> definitionColumns(const Dictionary& definition, std::string_view key)
{
    const Value* value = definition.find(key);
    const Array* array = value ? value->asArray() : nullptr;
    if (!array) return std::nullopt;
    std::vector<std::uint32_t> columns;
    for (const Value& element : *array) {
        const std::optional<std::int64_t> number = integerOf(element);
        // A column before the first names nothing; one beyond the record is skipped later.
        if (!number || *number < 0 || *number > std::numeric_limits<std::uint32_t>::max()) continue;
        columns.push_back(static_cast<std::uint32_t>(*number));
    }
    return columns;
}

Dictionary standardFileDescriptor()
{
    using namespace definition_key;
    auto column = [](int n) { return Value(Array{Value(n)}); };
    return Dictionary{
        {std::string(kSurroundingCharacters), Value("\"")},
        {std::string(kSeparatorCharacters), Value(";")},
        {std::string(kDeleteSurroundingCharacters), Value(true)},
        {std::string(kMinimumColumns), Value(10)},
        {std::string(kMaximumColumns), Value(30)},
        {std::string(kFirstLinesToSkip), Value(14)},
        {std::string(kOwnAccountNumberColumn), column(0)},
        {std::string(kBookingDateColumn), column(1)},
        {std::string(kTransactionRefColumn), column(2)},
        {std::string(kCounterpartyAccountNumberColumn), column(4)},
        {std::string(kCounterpartyNameColumn), column(5)},
        {std::string(kCounterpartyStreetColumn), column(6)},
        {std::string(kCounterpartyCityColumn), column(7)},
        {std::string(kCommunicationColumn), column(8)},
        {std::string(kValueDateColumn), column(9)},
        {std::string(kAmountColumn), column(10)},
        {std::string(kCurrencyCodeColumn), column(11)},
        {std::string(kFileExtension), Value("csv")},
    };
}

std::string definitionProblem(const Dictionary& definition)
{
    const std::optional<std::string> separator = definitionText(definition, definition_key::kSeparatorCharacters);
    if (!separator || separator->empty()) return "the definition has no field separator";
    return {};
}

std::filesystem::path importDefinitionFolder()
{
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : "/") / ".local" / "share";
    }
    return base / "countinghouse" / "IOFile Descriptors";
}

LoadedDefinition loadImportDefinition(const std::filesystem::path& folder, std::string_view name)
{
    if (name.empty() || name.front() == '.' || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return {std::nullopt, "not a definition name"};
    const std::filesystem::path path = folder / (std::string(name) + ".plist");
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return {std::nullopt, "cannot read " + path.string()};
    if (size > kMaxDefinitionBytes) return {std::nullopt, "too large: " + path.string()};
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) return {std::nullopt, "cannot read " + path.string()};
    ParseResult read = readPlist(bytes);
    if (!read) return {std::nullopt, read.error};
    if (!read.value.asDictionary()) return {std::nullopt, "not a dictionary: " + path.string()};
    return {*read.value.asDictionary(), {}};
}

} // namespace ch
