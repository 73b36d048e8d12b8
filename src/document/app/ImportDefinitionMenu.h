#pragma once
// The submenu of the import menu that lists the user's import definitions:
// one item per entry of the import-definition folder whose name contains
// ".plist" in any case, titled with the whole name, in name order, then an
// item that opens the import-definition assistant.

#include <filesystem>
#include <string>
#include <vector>

namespace ch {

struct ImportDefinitionMenuItem {
    enum class Action {
        ImportWithFileDesc,              // imports with the definition of that name
        ShowImportFileDefinitionAssistant,
    };
    std::string title;
    Action action;
};

// Names of the definitions in the folder (none when it cannot be read).
std::vector<std::string> listImportDefinitions(const std::filesystem::path& folder);

// The submenu's items; the last one is titled with the localized "DEFINEIMPORTFILE".
std::vector<ImportDefinitionMenuItem> importDefinitionMenuItems(const std::filesystem::path& folder);

} // namespace ch
