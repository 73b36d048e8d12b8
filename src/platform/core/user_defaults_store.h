#pragma once
// Keeps the user's own defaults (UserDefaults::userValues) in an XML
// property-list file, by default $XDG_CONFIG_HOME/countinghouse/preferences.plist
// (~/.config when XDG_CONFIG_HOME is unset). Registered defaults are never
// written. Writes are atomic: a temporary file in the same folder is renamed
// over the old one only when complete. A damaged file is set aside under a
// new name, a line goes to stderr, and the registered defaults apply.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/core/user_defaults.h"

namespace ch {

class UserDefaultsStore {
public:
    enum class LoadOutcome {
        Loaded,     // the file's values are now the user values
        NoFile,     // nothing stored yet (or the file cannot be opened)
        SetAside,   // the file was damaged and has been renamed
    };

    // The default location, from the environment.
    static std::filesystem::path defaultPath();

    explicit UserDefaultsStore(std::filesystem::path path = defaultPath());

    const std::filesystem::path& path() const { return mPath; }
    // Where the last damaged file was moved to (empty when none was).
    const std::filesystem::path& setAsidePath() const { return mSetAsidePath; }

    // Replaces the user values of `defaults` with those of the file; they
    // become empty when the file is damaged.
    LoadOutcome load(UserDefaults& defaults);

    // Writes the user values; on failure the old file stays as it was and
    // `error` (when given) says why.
    bool save(const UserDefaults& defaults, std::string* error = nullptr);
    // Writes only when the user values changed since the last load or save.
    bool saveIfChanged(const UserDefaults& defaults, std::string* error = nullptr);

private:
    std::filesystem::path mPath;
    std::filesystem::path mSetAsidePath;
    std::uint64_t mSavedChangeCount = ~std::uint64_t(0);
};

} // namespace ch
