#include "platform/gui/help_opener.h"

#include "platform/core/resource_folder.h"

#include <QDesktopServices>

#include <string>
#include <system_error>

namespace ch {

std::filesystem::path HelpOpener::defaultFolder()
{
    return resourceFolder() / "help";
}

HelpOpener::HelpOpener(std::filesystem::path folder) : mFolder(folder.lexically_normal())
{
    if (!mFolder.has_filename())
        mFolder = mFolder.parent_path();
}

QUrl HelpOpener::urlFor(std::string_view page, std::string_view anchor) const
{
    std::filesystem::path file = mFolder / std::string(page);
    std::error_code ec;
    // Only a plain file inside the folder counts as the page; "../x" or a
    // folder name falls back to the index.
    const bool inside = !page.empty() && file.parent_path() == mFolder;
    if (!inside || !std::filesystem::is_regular_file(file, ec))
        file = mFolder / "index.html";
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(file.string()));
    if (!anchor.empty())
        url.setFragment(QString::fromStdString(std::string(anchor)));
    return url;
}

QUrl HelpOpener::urlForAnchor(std::string_view anchor) const
{
    return urlFor(std::string(anchor) + ".html", anchor);
}

bool HelpOpener::open(std::string_view page, std::string_view anchor) const
{
    return QDesktopServices::openUrl(urlFor(page, anchor));
}

bool HelpOpener::openAnchor(std::string_view anchor) const
{
    return QDesktopServices::openUrl(urlForAnchor(anchor));
}

} // namespace ch
