#pragma once
// The folder of the user's own application files: $XDG_DATA_HOME/countinghouse
// (~/.local/share/countinghouse when XDG_DATA_HOME is unset or not absolute),
// with the import definitions in its folder "IOFile Descriptors".

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ch {

inline constexpr std::string_view kImportDefinitionFolderName = "IOFile Descriptors";

// The application's folder for the given environment values (empty when
// unset); none when neither gives a place.
std::optional<std::filesystem::path> applicationSupportBase(std::string_view xdgDataHome, std::string_view home);
// The same from the environment.
std::optional<std::filesystem::path> applicationSupportBase();

struct SupportFolder {
    std::filesystem::path path;   // the import-definition folder
    std::string creationError;    // why it could not be made; empty when it exists
};

// The import-definition folder inside `base`, made with its parents when
// missing. When that fails the path is still given, with the reason.
SupportFolder prepareImportDefinitionFolder(const std::filesystem::path& base);

} // namespace ch
