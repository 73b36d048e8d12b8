#pragma once
// Opens the help: local HTML pages in one folder, shown by the desktop's
// browser at an anchor. A page that is missing opens the folder's
// "index.html" at the same anchor.

#include <filesystem>
#include <string_view>

#include <QUrl>

namespace ch {

class HelpOpener {
public:
    // The application's help folder (resources/help).
    static std::filesystem::path defaultFolder();

    explicit HelpOpener(std::filesystem::path folder = defaultFolder());

    // The address of `page` (a file name in the folder) at `anchor` (none when empty).
    QUrl urlFor(std::string_view page, std::string_view anchor) const;
    // The address of an anchor alone: its own page "<anchor>.html" when there
    // is one, else the index.
    QUrl urlForAnchor(std::string_view anchor) const;

    // Asks the desktop to show the address; false when it could not.
    bool open(std::string_view page, std::string_view anchor) const;
    bool openAnchor(std::string_view anchor) const;

private:
    std::filesystem::path mFolder;
};

} // namespace ch
