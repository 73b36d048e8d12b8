#include "document/app/GXApplicationDelegate.h"

#include "document/app/ApplicationDefaults.h"
#include "document/app/ApplicationSupportFolder.h"
#include "document/app/ProductInfo.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/user_defaults.h"

namespace ch {

void GXApplicationDelegate::initialize(UserDefaults& defaults)
{
    registerApplicationDefaults(defaults);
}

std::optional<std::filesystem::path> GXApplicationDelegate::getApplicationSupportFolder(ApplicationHost& host)
{
    const std::optional<std::filesystem::path> base = applicationSupportBase();
    if (!base) {
        alertPresenter().showError({0, localized("Alert"), localized("Can't find application support folder"),
                                    localized("Quit"), ""});
        host.terminate();
        return std::nullopt;
    }
    SupportFolder folder = prepareImportDefinitionFolder(*base);
    if (!folder.creationError.empty())
        alertPresenter().showError({0, "", folder.path.string() + ": " + folder.creationError, localized("Ok"), ""});
    return folder.path;
}

GXApplicationDelegate::GXApplicationDelegate(ApplicationHost& host, UserDefaults& defaults)
    : mHost(host), mDefaults(defaults)
{
}

void GXApplicationDelegate::application(const std::string& path)
{
    mDocumentWasOpened = true;
    mHost.openFile(path);
}

bool GXApplicationDelegate::applicationShouldOpenUntitledFile() const
{
    return !mDefaults.boolForKey(kShowStartupChoiceKey);
}

bool GXApplicationDelegate::applicationOpenUntitledFile()
{
    if (!mDefaults.boolForKey(kShowLastDocumentAtStartupKey))
        return false;
    return openLastSavedFile();
}

void GXApplicationDelegate::applicationDidFinishLaunching()
{
    if (!mDefaults.boolForKey(kShowStartupChoiceKey) || mDocumentWasOpened)
        return;
    mWelkomSchermIsOpen = true;
    mHost.beginStartupChoice();
}

void GXApplicationDelegate::sheetDidEnd(int returnCode)
{
    mWelkomSchermIsOpen = false;
    switch (StartupChoice(returnCode)) {
    case StartupChoice::NewDocument: makeEmptyDocument(); break;
    case StartupChoice::OpenRecent: openLastSavedFile(); break;
    case StartupChoice::NewDocumentWithoutAssistant: makeEmptyDocumentWithoutAssistant(); break;
    case StartupChoice::VisitCommunity: browseCommunity(); break;
    case StartupChoice::LastOpenedDocument: openLastSavedFile(); break;
    case StartupChoice::SelectExistingDocument: selectDocument(); break;
    default: break;
    }
}

bool GXApplicationDelegate::openLastSavedFile()
{
    const std::string path = mDefaults.stringForKey(kLastSavedDocumentKey);
    if (path.empty())
        return false;
    mDefaults.set(std::string(kLastSavedDocumentKey), Value(""));
    mHost.openFile(path);
    return true;
}

bool GXApplicationDelegate::reopenLastSavedDocument()
{
    openLastSavedFile();
    return true;
}

bool GXApplicationDelegate::selectDocument()
{
    mHost.openDocument();
    return true;
}

bool GXApplicationDelegate::makeEmptyDocument()
{
    mDefaults.set(std::string(kShowNewDocumentAssistantKey), Value(true));
    mHost.newDocument();
    return true;
}

bool GXApplicationDelegate::makeEmptyDocumentWithoutAssistant()
{
    mDefaults.set(std::string(kShowNewDocumentAssistantKey), Value(false));
    mHost.newDocument();
    return true;
}

bool GXApplicationDelegate::browseCommunity()
{
    mHost.openURL(std::string(kCommunityPage));
    return true;
}

} // namespace ch
