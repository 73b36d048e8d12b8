#pragma once
// The update check: at launch (when "GXOnLineUpdateCheck" is on) and when
// the user asks from the menu, the running version is compared with the
// newest one the maker announces. A newer version that the user has not
// chosen to skip ("VersionToSkip", compared as exact text) opens the
// new-version window with the announcement as release notes; otherwise a
// check the user asked for says there is nothing new, or that the
// announcement could not be had. A check at launch stays silent.
//
// Versions compare their dot-separated parts as numbers: 2.0.10.0 is newer
// than 2.0.2.0, and missing parts count as 0.
//
// The fetch runs on a worker thread: the request is made on the main thread
// (it reads the user defaults), performUpdateCheck runs on the worker, and
// its result is shown on the main thread again.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/dispatcher.h"
#include "platform/core/observable.h"

namespace ch {

class UserDefaults;

inline constexpr std::string_view kVersionToSkipKey = "VersionToSkip";

// Whether the version text is newer than the running one. A text whose parts
// are not all decimal numbers is never newer.
bool isNewerVersion(std::string_view announced, std::string_view running);

// The text at the address; none when nothing could be fetched.
using FetchText = std::function<std::optional<std::string>(std::string_view address)>;

struct UpdateCheckRequest {
    bool askedByUser = false;
    std::optional<std::string> versionToSkip;
};

enum class UpdateCheckOutcome {
    Silent,              // a launch check with nothing to show
    ShowUpgradeWindow,
    NoUpgrades,          // "NOUPGRADES"
    NoConnection,        // "NOUPGRADESNOCONNECTION"
};

struct UpdateCheckResult {
    UpdateCheckOutcome outcome = UpdateCheckOutcome::Silent;
    std::string notes;          // the announcement's whole text
    std::string newVersion;
    std::string currentVersion; // the running version
};

// Main thread: the request, or none when no check is due (at launch with
// "GXOnLineUpdateCheck" off; a check the user asks for is always due).
std::optional<UpdateCheckRequest> updateCheckRequest(bool askedByUser, const UserDefaults& defaults);

// Any thread: fetches the announcement (usable when it has at least 5
// characters and starts with neither "//" nor "<!"; its first line is the
// version) or else the version page (the trimmed text between "<body>" and
// "</body>"), and compares.
UpdateCheckResult performUpdateCheck(const UpdateCheckRequest& request, const FetchText& fetch);

// Main thread: the alert of a "NOUPGRADES" or "NOUPGRADESNOCONNECTION"
// outcome, titled "Info" with the button "OK"; nothing for the others.
void showUpdateCheckAnswer(UpdateCheckOutcome outcome);

// The window's "Skip This Version": the version is kept under "VersionToSkip".
void skipVersion(UserDefaults& defaults, std::string_view version);

// Shows the new-version window 5 seconds after the check, and while the
// start-up choice is open, 4 seconds after each look. Cancelled with the
// handle.
[[nodiscard]] Subscription scheduleUpgradeWindow(Dispatcher& dispatcher, std::function<bool()> startupChoiceOpen,
                                                 std::function<void()> show);

} // namespace ch
