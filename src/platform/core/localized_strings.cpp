#include "platform/core/localized_strings.h"

#include <atomic>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/core/old_style_plist.h"
#include "platform/core/resource_folder.h"

namespace ch {

namespace {

std::atomic<LocalizedStrings*> gReplacement{nullptr};

// A strings file larger than this is not ours.
constexpr std::streamoff kMaxFileBytes = std::streamoff(16) << 20;

} // namespace

LocalizedStrings& LocalizedStrings::shared()
{
    if (LocalizedStrings* replacement = gReplacement.load())
        return *replacement;
    static LocalizedStrings instance = [] {
        LocalizedStrings table;
        if (!table.loadFile(defaultPath()))
            std::clog << "Countinghouse: cannot read " << defaultPath() << '\n';
        return table;
    }();
    return instance;
}

std::string LocalizedStrings::defaultPath()
{
    return (resourceFolder() / "strings" / "en.strings").string();
}

bool LocalizedStrings::loadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFileBytes)
        return false;
    in.seekg(0);
    std::string text(std::size_t(size), '\0');
    if (!in.read(text.data(), size))
        return false;
    return loadText(text);
}

bool LocalizedStrings::loadText(std::string_view text)
{
    // Files saved by some editors begin with a UTF-8 byte-order mark.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    ParseResult parsed = parseStringsFile(text);
    const Dictionary* entries = parsed ? parsed.value.asDictionary() : nullptr;
    if (!entries)
        return false;
    std::map<std::string, std::string, std::less<>> table;
    for (auto entry : *entries)
        table[entry.key] = entry.value.toString();
    mTable = std::move(table);
    return true;
}

void LocalizedStrings::set(std::string key, std::string text)
{
    mTable[std::move(key)] = std::move(text);
}

void LocalizedStrings::clear()
{
    mTable.clear();
}

std::string LocalizedStrings::lookup(std::string_view key) const
{
    auto it = mTable.find(key);
    return it == mTable.end() ? std::string(key) : it->second;
}

bool LocalizedStrings::contains(std::string_view key) const
{
    return mTable.find(key) != mTable.end();
}

std::string localized(std::string_view key)
{
    return LocalizedStrings::shared().lookup(key);
}

ScopedLocalizedStrings::ScopedLocalizedStrings(LocalizedStrings& replacement)
    : mPrevious(gReplacement.exchange(&replacement))
{
}

ScopedLocalizedStrings::~ScopedLocalizedStrings()
{
    gReplacement.store(mPrevious);
}

} // namespace ch
