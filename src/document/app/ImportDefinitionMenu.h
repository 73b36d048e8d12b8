#pragma once
// The submenu of the import menu that lists the user's import definitions:
// one item per entry of the import-definition folder whose name contains
// ".plist" in any case, titled with the definition's name (the file name
// without its ".plist" ending), in name order, then an item that opens the
// import-definition assistant.

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
    // The definition's file in the folder (empty for the assistant's item).
    std::string fileName;
};

// File names of the definitions in the folder (none when it cannot be read).
std::vector<std::string> listImportDefinitions(const std::filesystem::path& folder);
// The name a person knows a definition by: its file name without a
// ".plist" ending (in any case).
std::string importDefinitionTitle(const std::string& fileName);

// The submenu's items; the last one is titled with the localized "DEFINEIMPORTFILE".
std::vector<ImportDefinitionMenuItem> importDefinitionMenuItems(const std::filesystem::path& folder);

} // namespace ch
