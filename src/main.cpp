#include <QApplication>

#include "app/DocumentController.h"
#include "app/UpdateCheckWindow.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/app/ProductInfo.h"
#include "import/StockQuoteService.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/alerts.h"
#include "platform/core/user_defaults.h"
#include "platform/core/preferences_autosave.h"
#include "platform/core/user_defaults_store.h"
#include "platform/gui/application_icon.h"
#include "platform/gui/qt_alert_presenter.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/ApplicationShell.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Countinghouse");
    QApplication::setApplicationVersion(QString::fromUtf8(ch::kRunningVersion.data(),
                                                          qsizetype(ch::kRunningVersion.size())));
    // The desktop matches the windows to the installed menu entry and icon.
    QApplication::setDesktopFileName("countinghouse");
    QApplication::setWindowIcon(ch::applicationIcon());

    ch::UserDefaults& defaults = ch::UserDefaults::standard();
    ch::GXApplicationDelegate::initialize(defaults);
    ch::business::registerBusinessDefaults(defaults);
    ch::business::registerBusinessArgumentClasses(ch::ArgumentClassRegistry::shared());
    ch::UserDefaultsStore store;
    store.load(defaults);

    ch::QtDispatcher dispatcher;
    ch::QtAlertPresenter alerts;
    ch::ScopedAlertPresenter scopedAlerts(alerts);

    // Written as they change: a killed program keeps them too.
    ch::PreferencesAutosave preferencesAutosave(defaults, store, dispatcher);
    ch::ApplicationShell shell(defaults, dispatcher, &store);
    ch::UpdateChecker updates(defaults, dispatcher, [&shell] { return shell.delegate().welkomSchermIsOpen(); });
    QObject::connect(&shell, &ch::ApplicationShell::updateCheckRequested, &updates, [&updates] { updates.check(true); });
    ch::StockQuoteService quotes(defaults);
    ch::VCardFolderContacts contacts(ch::VCardFolderContacts::defaultFolder());
    ch::DocumentController documents(defaults, dispatcher, &quotes, &contacts);
    shell.setDocumentHost(&documents);
    QObject::connect(&documents, &ch::DocumentController::documentsChanged, &shell,
                     &ch::ApplicationShell::documentsChanged);
    QObject::connect(&documents, &ch::DocumentController::updateCheckRequested, &updates,
                     [&updates] { updates.check(true); });
    QObject::connect(&documents, &ch::DocumentController::aboutRequested, &shell, &ch::ApplicationShell::doSplash);
    QObject::connect(&documents, &ch::DocumentController::quitAccepted, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&documents, &ch::DocumentController::preferencesRequested, &shell,
                     &ch::ApplicationShell::showPreferences);
    QStringList files = QApplication::arguments();
    files.removeFirst();
    shell.showSplash();
    shell.launch(files);
    // At launch the check speaks only when there is a new version to show.
    updates.check(false);

    const int result = app.exec();
    std::string error;
    if (!store.saveIfChanged(defaults, &error))
        qWarning("Countinghouse: the preferences could not be saved: %s", error.c_str());
    return result;
}
