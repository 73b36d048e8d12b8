#pragma once
// User-visible texts by key (resources/strings/en.strings). A key without a
// text gives the key itself, so numbered messages show their number.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace ch {

class LocalizedStrings {
public:
    LocalizedStrings() = default;

    // The process-wide table, loaded from the application's en.strings on
    // first use. Tests replace it with ScopedLocalizedStrings.
    static LocalizedStrings& shared();

    // Path of the application's string table.
    static std::string defaultPath();

    // Replaces the table with the entries of a strings file; false (table
    // unchanged) when the file cannot be read or parsed.
    bool loadFile(const std::string& path);
    // The same from the file's text.
    bool loadText(std::string_view text);

    void set(std::string key, std::string text);
    void clear();

    // The text of the key, or the key when there is none.
    std::string lookup(std::string_view key) const;
    bool contains(std::string_view key) const;
    std::size_t size() const { return mTable.size(); }

private:
    std::map<std::string, std::string, std::less<>> mTable;
};

// Shortcut for LocalizedStrings::shared().lookup(key).
std::string localized(std::string_view key);

// While alive, LocalizedStrings::shared() is the given table.
class ScopedLocalizedStrings {
public:
    explicit ScopedLocalizedStrings(LocalizedStrings& replacement);
    ~ScopedLocalizedStrings();
    ScopedLocalizedStrings(const ScopedLocalizedStrings&) = delete;
    ScopedLocalizedStrings& operator=(const ScopedLocalizedStrings&) = delete;

private:
    LocalizedStrings* mPrevious;
};

} // namespace ch
