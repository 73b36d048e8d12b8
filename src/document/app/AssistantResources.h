#pragma once
// What the new-document assistant reads from the application's resources:
// the standard sets ("defaultObjects.plist"), the currencies
// ("currencies.plist") and its explanation texts (HTML under "assistant/").
// Anything missing or unreadable gives empty lists or an empty text.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/core/value.h"

namespace ch {

class UserDefaults;

struct AssistantResources {
    Dictionary defaultObjects;  // standard-set name -> its entry arrays
    Array currencies;           // currency entries
};

// The application's resources folder.
std::filesystem::path resourcesFolder();

AssistantResources loadAssistantResources(const std::filesystem::path& folder = resourcesFolder());

// The explanation text of the name ("startingSet", "currencies", ...).
std::string assistantText(std::string_view name, const std::filesystem::path& folder = resourcesFolder());

// The user's currency code ("EUR"): the user default
// "NSInternationalCurrencyString" when set, else the locale's.
std::string systemCurrencyCode(const UserDefaults& defaults);

} // namespace ch
