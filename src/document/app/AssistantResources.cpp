#include "document/app/AssistantResources.h"

#include <unicode/ucurr.h>
#include <unicode/uloc.h>

#include <fstream>
#include <iostream>
#include <system_error>

#include "platform/core/plist.h"
#include "platform/core/resource_folder.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

// Shipped lists are small; anything larger is not ours.
constexpr std::size_t kMaxResourceBytes = 4u << 20;

std::optional<std::string> readFile(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxResourceBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes(std::size_t(size), '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(std::size_t(in.gcount()));
    return bytes;
}

Value readList(const std::filesystem::path& path)
{
    const std::optional<std::string> bytes = readFile(path);
    if (!bytes)
        return {};
    ParseResult parsed = readPlist(*bytes);
    if (!parsed) {
        std::clog << "Countinghouse: " << path.string() << ": " << parsed.error << '\n';
        return {};
    }
    return std::move(parsed.value);
}

} // namespace

std::filesystem::path resourcesFolder()
{
    return resourceFolder();
}

AssistantResources loadAssistantResources(const std::filesystem::path& folder)
{
    AssistantResources resources;
    Value sets = readList(folder / "defaultObjects.plist");
    if (Dictionary* d = sets.asDictionary())
        resources.defaultObjects = std::move(*d);
    Value currencies = readList(folder / "currencies.plist");
    if (Array* a = currencies.asArray())
        resources.currencies = std::move(*a);
    return resources;
}

std::string assistantText(std::string_view name, const std::filesystem::path& folder)
{
    return readFile(folder / "assistant" / (std::string(name) + ".html")).value_or(std::string());
}

std::string systemCurrencyCode(const UserDefaults& defaults)
{
    std::string code = defaults.stringForKey("NSInternationalCurrencyString");
    if (!code.empty())
        return code;
    UErrorCode status = U_ZERO_ERROR;
    UChar buffer[4] = {};
    const int32_t length = ucurr_forLocale(uloc_getDefault(), buffer, 4, &status);
    if (U_FAILURE(status) || length <= 0)
        return {};
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer), std::size_t(length)));
}

} // namespace ch
