#pragma once
// The product's own facts: its version and the addresses of its maker's
// pages and mailboxes.

#include <string>
#include <string_view>

namespace ch {

class Value;

// The running version, as the About window shows it and the update check
// compares it. The build reads its project version from this line.
inline constexpr std::string_view kRunningVersion = "2.0.2.0";

// The maker's pages. The maker's site is not set up yet: the addresses lie
// under a reserved domain until it is.
inline constexpr std::string_view kHomePage = "https://countinghouse.example/";
inline constexpr std::string_view kCommunityPage = "https://countinghouse.example/community";
// A property-list dictionary of current links ("videotutoriallink", ...).
inline constexpr std::string_view kLinksFile = "https://countinghouse.example/links.plist";
inline constexpr std::string_view kSupportMail = "mailto:support@countinghouse.example";
inline constexpr std::string_view kSalesMail = "mailto:sales@countinghouse.example";
// The update check: a text whose first line is the newest version and whose
// whole text is its release notes; the page that says the same between
// "<body>" and "</body>" when the text cannot be had; the download page.
inline constexpr std::string_view kVersionAnnouncement = "https://countinghouse.example/version.txt";
inline constexpr std::string_view kVersionPage = "https://countinghouse.example/version.html";
inline constexpr std::string_view kDownloadPage = "https://countinghouse.example/download";

// The address of the video tutorials: the links file's "videotutoriallink"
// when it is a text of at least 6 characters, else the home page. `links` is
// what the links file gave (anything else than a dictionary counts as none).
std::string videoTutorialLink(const Value& links);

} // namespace ch
