#include "platform/core/resource_folder.h"

#include <system_error>

namespace ch {

std::filesystem::path resourceFolderFor(const std::filesystem::path& executable,
                                        const std::filesystem::path& builtIn)
{
    if (!executable.empty()) {
        const std::filesystem::path installed =
            (executable.parent_path() / COUNTINGHOUSE_INSTALLED_RESOURCES).lexically_normal();
        std::error_code ec;
        if (std::filesystem::is_regular_file(installed / "strings" / "en.strings", ec))
            return installed;
    }
    return builtIn;
}

std::filesystem::path resourceFolder()
{
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
        return resourceFolderFor(ec ? std::filesystem::path() : executable, COUNTINGHOUSE_RESOURCES);
    }();
    return folder;
}

} // namespace ch
