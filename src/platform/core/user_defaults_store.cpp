#include "platform/core/user_defaults_store.h"

#include "platform/core/atomic_file.h"
#include "platform/core/plist.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace ch {

namespace {

// Far above any real preferences file; a bigger one is treated as damaged.
constexpr std::uintmax_t kMaxFileBytes = 16u << 20;

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return std::filesystem::current_path();
}

} // namespace

std::filesystem::path UserDefaultsStore::defaultPath() {
    // Only an absolute XDG_CONFIG_HOME counts, as the XDG rules say.
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else
        base = homeFolder() / ".config";
    return base / "countinghouse" / "preferences.plist";
}

UserDefaultsStore::UserDefaultsStore(std::filesystem::path path) : mPath(std::move(path)) {}

UserDefaultsStore::LoadOutcome UserDefaultsStore::load(UserDefaults& defaults) {
    std::error_code ec;
    if (!std::filesystem::exists(mPath, ec)) {
        mSavedChangeCount = defaults.changeCount();
        return LoadOutcome::NoFile;
    }
    std::string problem;
    Dictionary values;
    const std::uintmax_t size = std::filesystem::file_size(mPath, ec);
    if (ec || size > kMaxFileBytes) {
        problem = ec ? ec.message() : "file too large";
    } else {
        std::ifstream in(mPath, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "countinghouse: cannot open the user defaults file %s; defaults apply\n",
                         mPath.c_str());
            mSavedChangeCount = defaults.changeCount();
            return LoadOutcome::NoFile;
        }
        std::ostringstream contents;
        contents << in.rdbuf();
        ParseResult parsed = readPlist(contents.str());
        if (!parsed)
            problem = parsed.error;
        else if (!parsed.value.isDictionary())
            problem = "not a dictionary";
        else
            values = std::move(*parsed.value.asDictionary());
    }

    if (!problem.empty()) {
        // Kept for the user to inspect rather than overwritten by the next save.
        for (int n = 1; n <= 1000; ++n) {
            std::filesystem::path aside = mPath;
            aside += n == 1 ? ".damaged" : ".damaged-" + std::to_string(n);
            if (std::filesystem::exists(aside, ec))
                continue;
            std::filesystem::rename(mPath, aside, ec);
            if (!ec)
                mSetAsidePath = aside;
            break;
        }
        std::fprintf(stderr, "countinghouse: the user defaults file %s is damaged (%s); %s%s; defaults apply\n",
                     mPath.c_str(), problem.c_str(), mSetAsidePath.empty() ? "could not move it" : "moved to ",
                     mSetAsidePath.c_str());
        defaults.setUserValues({});
        mSavedChangeCount = defaults.changeCount();
        return LoadOutcome::SetAside;
    }
    defaults.setUserValues(std::move(values));
    mSavedChangeCount = defaults.changeCount();
    return LoadOutcome::Loaded;
}

bool UserDefaultsStore::save(const UserDefaults& defaults, std::string* error) {
    auto failWith = [&](std::string message) {
        if (error)
            *error = std::move(message);
        return false;
    };
    const std::uint64_t changeCount = defaults.changeCount();
    PlistOutput out = writePlist(Value(defaults.userValues()), PlistFormat::Xml);
    if (!out)
        return failWith("cannot write the user defaults: " + out.error);

    std::error_code ec;
    const std::filesystem::path folder = mPath.parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);

    std::string problem;
    // The file holds the user's settings only: readable by the user alone.
    if (!writeFileAtomically(mPath, out.bytes, &problem, 0600))
        return failWith(std::move(problem));
    mSavedChangeCount = changeCount;
    return true;
}

bool UserDefaultsStore::saveIfChanged(const UserDefaults& defaults, std::string* error) {
    if (defaults.changeCount() == mSavedChangeCount)
        return true;
    return save(defaults, error);
}

} // namespace ch
