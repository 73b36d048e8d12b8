#include "document/app/UpdateCheck.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "document/app/ApplicationDefaults.h"
#include "document/app/ProductInfo.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {
namespace {

constexpr std::size_t kShortestAnnouncement = 5;
constexpr std::string_view kSpace = " \t\r\n\v\f";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// The parts of a version as decimal digits without leading zeros; none when
// a part is empty or holds anything else.
std::optional<std::vector<std::string_view>> versionParts(std::string_view version)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t dot = version.find('.');
        std::string_view part = version.substr(0, dot);
        if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
        const std::size_t digit = part.find_first_not_of('0');
        parts.push_back(digit == std::string_view::npos ? std::string_view() : part.substr(digit));
        if (dot == std::string_view::npos) return parts;
        version.remove_prefix(dot + 1);
    }
}

// Compares two numbers of any length given as digits without leading zeros.
int compareNumbers(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

bool usableAnnouncement(const std::optional<std::string>& text)
{
    return text && utf16Length(*text) >= kShortestAnnouncement && !text->starts_with("//") &&
           !text->starts_with("<!");
}

// The trimmed text between "<body>" and "</body>"; none without both.
std::optional<std::string> versionFromPage(const std::optional<std::string>& page)
{
    if (!page) return std::nullopt;
    constexpr std::string_view kOpen = "<body>";
    constexpr std::string_view kClose = "</body>";
    const std::size_t open = page->find(kOpen);
    if (open == std::string::npos) return std::nullopt;
    const std::size_t start = open + kOpen.size();
    const std::size_t close = page->find(kClose, start);
    if (close == std::string::npos) return std::nullopt;
    return std::string(trimmed(std::string_view(*page).substr(start, close - start)));
}

struct UpgradeWait : std::enable_shared_from_this<UpgradeWait> {
    UpgradeWait(Dispatcher& d, std::function<bool()> open, std::function<void()> s)
        : dispatcher(d), startupChoiceOpen(std::move(open)), show(std::move(s))
    {
    }

    void lookAfter(Dispatcher::Duration delay)
    {
        std::weak_ptr<UpgradeWait> self = weak_from_this();
        pending = dispatcher.callAfter(delay, [self] {
            if (std::shared_ptr<UpgradeWait> wait = self.lock()) wait->look();
        });
    }
    void look()
    {
        if (startupChoiceOpen && startupChoiceOpen()) lookAfter(std::chrono::seconds(4));
        else if (show) show();
    }

    Dispatcher& dispatcher;
    std::function<bool()> startupChoiceOpen;
    std::function<void()> show;
    Subscription pending;
};

} // namespace

bool isNewerVersion(std::string_view announced, std::string_view running)
{
    const auto newer = versionParts(announced);
    const auto current = versionParts(running);
    if (!newer || !current) return false;
    const std::size_t count = std::max(newer->size(), current->size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view a = i < newer->size() ? (*newer)[i] : std::string_view();
        const std::string_view b = i < current->size() ? (*current)[i] : std::string_view();
        if (int order = compareNumbers(a, b)) return order > 0;
    }
    return false;
}

std::optional<UpdateCheckRequest> updateCheckRequest(bool askedByUser, const UserDefaults& defaults)
{
    if (!askedByUser && !defaults.boolForKey(kOnLineUpdateCheckKey)) return std::nullopt;
    UpdateCheckRequest request;
    request.askedByUser = askedByUser;
    const Value skip = defaults.object(kVersionToSkipKey);
    if (const std::string* text = skip.asString()) request.versionToSkip = *text;
    return request;
}

UpdateCheckResult performUpdateCheck(const UpdateCheckRequest& request, const FetchText& fetch)
{
    UpdateCheckResult result;
    result.currentVersion = std::string(kRunningVersion);
    const UpdateCheckOutcome nothingNew =
        request.askedByUser ? UpdateCheckOutcome::NoUpgrades : UpdateCheckOutcome::Silent;

    const std::optional<std::string> announcement = fetch ? fetch(kVersionAnnouncement) : std::nullopt;
    std::string version;
    if (usableAnnouncement(announcement)) {
        // The first line; a line end of CR LF leaves no CR behind.
        version = std::string(trimmed(std::string_view(*announcement).substr(0, announcement->find('\n'))));
    } else {
        const std::optional<std::string> fromPage = versionFromPage(fetch ? fetch(kVersionPage) : std::nullopt);
        if (!fromPage) {
            result.outcome = request.askedByUser ? UpdateCheckOutcome::NoConnection : UpdateCheckOutcome::Silent;
            return result;
        }
        version = *fromPage;
    }

    const bool skipped = request.versionToSkip && *request.versionToSkip == version;
    if (!isNewerVersion(version, kRunningVersion) || skipped) {
        result.outcome = nothingNew;
        return result;
    }
    result.outcome = UpdateCheckOutcome::ShowUpgradeWindow;
    // Only a usable announcement serves as notes: never the page, nor an
    // error page that came in its place.
    if (usableAnnouncement(announcement)) result.notes = *announcement;
    result.newVersion = std::move(version);
    return result;
}

void showUpdateCheckAnswer(UpdateCheckOutcome outcome)
{
    const char* key = outcome == UpdateCheckOutcome::NoUpgrades     ? "NOUPGRADES"
                      : outcome == UpdateCheckOutcome::NoConnection ? "NOUPGRADESNOCONNECTION"
                                                                    : nullptr;
    if (!key) return;
    alertPresenter().showInfo(Alert{0, localized("Info"), localized(key), localized("OK"), {}});
}

void skipVersion(UserDefaults& defaults, std::string_view version)
{
    defaults.set(std::string(kVersionToSkipKey), Value(version));
}

Subscription scheduleUpgradeWindow(Dispatcher& dispatcher, std::function<bool()> startupChoiceOpen,
                                   std::function<void()> show)
{
    auto wait = std::make_shared<UpgradeWait>(dispatcher, std::move(startupChoiceOpen), std::move(show));
    wait->lookAfter(std::chrono::seconds(5));
    return Subscription([wait]() mutable {
        wait->pending.cancel();
        wait.reset();
    });
}

} // namespace ch
