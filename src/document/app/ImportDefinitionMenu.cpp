#include "document/app/ImportDefinitionMenu.h"

#include <algorithm>
#include <system_error>

#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"

namespace ch {

std::vector<std::string> listImportDefinitions(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (containsCaseInsensitive(name, ".plist"))
            names.push_back(std::move(name));
    }
    // Listing order depends on the file system; the menu shows them sorted.
    std::sort(names.begin(), names.end());
    return names;
}

std::string importDefinitionTitle(const std::string& fileName)
{
    constexpr std::string_view kEnding = ".plist";
    if (fileName.size() <= kEnding.size()) return fileName;
    const std::string_view ending = std::string_view(fileName).substr(fileName.size() - kEnding.size());
    if (!equalsCaseInsensitive(ending, kEnding)) return fileName;
    return fileName.substr(0, fileName.size() - kEnding.size());
}

std::vector<ImportDefinitionMenuItem> importDefinitionMenuItems(const std::filesystem::path& folder)
{
    std::vector<ImportDefinitionMenuItem> items;
    for (std::string& name : listImportDefinitions(folder))
        items.push_back({importDefinitionTitle(name), ImportDefinitionMenuItem::Action::ImportWithFileDesc,
                         std::move(name)});
    items.push_back({localized("DEFINEIMPORTFILE"),
                     ImportDefinitionMenuItem::Action::ShowImportFileDefinitionAssistant, {}});
    return items;
}

} // namespace ch
