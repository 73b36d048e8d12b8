#pragma once
// Shared pieces of the document tests: a fixed environment (clock, time
// zone, defaults with journaling on, texts, recorded alerts, decimals) and a
// scratch folder for journals and files.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/DeveloperLog.h"
#include "document/commands/CCommandExecutor.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch::test {

// 2009-03-15 14:22:05 UTC.
inline constexpr std::int64_t kJournalNow = 1237126925;

// The local time zone is UTC while alive.
class ScopedUtc {
public:
    ScopedUtc()
    {
        if (const char* tz = std::getenv("TZ")) mPrevious = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~ScopedUtc()
    {
        if (mPrevious) setenv("TZ", mPrevious->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    ScopedUtc(const ScopedUtc&) = delete;
    ScopedUtc& operator=(const ScopedUtc&) = delete;

private:
    std::optional<std::string> mPrevious;
};

// A fixed day and time in UTC, the model's defaults with journaling on, the
// application's texts, recorded alerts (questions answered with the default
// button unless scripted), developer messages collected, 2 decimals.
class DocumentEnvironment {
public:
    DocumentEnvironment()
        : mClock(CalendarDate{2009, 3, 15}, kJournalNow), mDefaultsScope(mDefaults), mStringsScope(mStrings),
          mAlertScope(mAlerts), mLogCapture([this](const std::string& line) { developerLines.push_back(line); })
    {
        registerModelDefaults(mDefaults);
        mDefaults.registerDefault(std::string(kKeepLogFileKey), true);
        setNameOrderLocale("en_US");
        mStrings.loadFile(LocalizedStrings::defaultPath());
        CErrorManager::SetMode(false);
        mDecimals = CDecimal::getNrOfDecimals();
        CDecimal::putNrOfDecimals(2);
    }
    ~DocumentEnvironment() { CDecimal::putNrOfDecimals(mDecimals); }
    DocumentEnvironment(const DocumentEnvironment&) = delete;
    DocumentEnvironment& operator=(const DocumentEnvironment&) = delete;

    UserDefaults& defaults() { return mDefaults; }
    RecordingAlertPresenter& alerts() { return mAlerts; }
    void setJournaling(bool on) { mDefaults.set(std::string(kKeepLogFileKey), on); }

    std::vector<std::string> developerLines;

private:
    ScopedUtc mUtc;
    ScopedFixedClock mClock;
    UserDefaults mDefaults;
    ScopedUserDefaults mDefaultsScope;
    LocalizedStrings mStrings;
    ScopedLocalizedStrings mStringsScope;
    RecordingAlertPresenter mAlerts;
    ScopedAlertPresenter mAlertScope;
    ScopedDeveloperLogCapture mLogCapture;
    long mDecimals = 2;
};

// A folder of its own for one test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::path(testing::TempDir()) / "ch_document_XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data())) mPath = buffer.data();
    }
    ~ScratchFolder()
    {
        std::error_code error;
        if (!mPath.empty()) std::filesystem::remove_all(mPath, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return mPath; }
    std::string file(const std::string& name) const { return mPath + "/" + name; }

private:
    std::string mPath;
};

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The file's bytes (none when it cannot be read).
inline std::vector<std::uint8_t> fileBytes(const std::string& path)
{
    const std::string text = readFile(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

inline void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// Where two byte strings first differ, with 16 bytes of each from there on;
// empty when they are equal.
inline std::string firstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size()) return std::string();
    auto bytes = [i](const std::vector<std::uint8_t>& v) {
        std::string text;
        char hex[4];
        for (std::size_t j = i; j < i + 16 && j < v.size(); ++j) {
            std::snprintf(hex, sizeof hex, "%02x ", v[j]);
            text += hex;
        }
        return text;
    };
    return "at byte " + std::to_string(i) + " of " + std::to_string(a.size()) + "/" + std::to_string(b.size()) +
           ": " + bytes(a) + "/ " + bytes(b);
}

inline bool fileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace ch::test
