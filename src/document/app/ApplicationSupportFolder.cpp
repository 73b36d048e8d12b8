#include "document/app/ApplicationSupportFolder.h"

#include <cstdlib>
#include <system_error>

namespace ch {

namespace {

std::string_view environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

} // namespace

std::optional<std::filesystem::path> applicationSupportBase(std::string_view xdgDataHome, std::string_view home)
{
    std::filesystem::path data(xdgDataHome);
    // The base directory rules ignore a relative XDG_DATA_HOME.
    if (xdgDataHome.empty() || !data.is_absolute()) {
        if (home.empty())
            return std::nullopt;
        data = std::filesystem::path(home) / ".local" / "share";
    }
    return data / "countinghouse";
}

std::optional<std::filesystem::path> applicationSupportBase()
{
    return applicationSupportBase(environment("XDG_DATA_HOME"), environment("HOME"));
}

SupportFolder prepareImportDefinitionFolder(const std::filesystem::path& base)
{
    SupportFolder folder{base / kImportDefinitionFolderName, {}};
    std::error_code ec;
    std::filesystem::create_directories(folder.path, ec);
    if (ec || !std::filesystem::is_directory(folder.path, ec))
        folder.creationError = ec ? ec.message() : "not a folder";
    return folder;
}

} // namespace ch
