#pragma once
// What the document settings window shows without its window: its pages,
// in toolbar order, and the pop-ups of each - the setting a pop-up edits on
// the settings item and the list it offers, less what the setting does not
// take (document/BookSettings.h). A choice is written to the
// settings item at once; an empty or unlisted choice writes nothing.

#include <string_view>
#include <vector>

namespace ch {

class CDocAccounting;
class CNamedListArray;
class CNonVisual;
class CPrfRItem;

namespace settings_page {
inline constexpr std::string_view kGeneral = "general";
inline constexpr std::string_view kPassword = "password";
inline constexpr std::string_view kDefaultAccounts = "defaultAccounts2";
inline constexpr std::string_view kDefaultCategories = "defaultCategories2";
inline constexpr std::string_view kPortfolio = "portfolioDefaults";
inline constexpr std::string_view kBusiness = "businessDefaults";
} // namespace settings_page

struct SettingsPage {
    std::string_view identifier;
    const char* labelKey;
    const char* image;
};

// The six pages, in toolbar order.
const std::vector<SettingsPage>& settingsPages();

struct SettingsPopup {
    const char* outlet;
    std::string_view page;
    const char* labelKey;
    CNamedListArray* (*list)(CDocAccounting* books);
    const char* setting;    // its name in document/BookSettings.h

    // What the settings item holds for it.
    long read(const CPrfRItem& settings) const;
    // Whether it offers the object of its list: only what the setting takes.
    bool offers(const CDocAccounting* books, const CNonVisual& object) const;
};

// The pop-ups, page by page.
const std::vector<SettingsPopup>& settingsPopups();

} // namespace ch
