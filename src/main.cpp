#include <QApplication>

#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/app/ProductInfo.h"
#include "platform/core/alerts.h"
#include "platform/core/user_defaults.h"
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

    ch::ApplicationShell shell(defaults, dispatcher, &store);
    QStringList documents = QApplication::arguments();
    documents.removeFirst();
    shell.launch(documents);

    const int result = app.exec();
    std::string error;
    if (!store.saveIfChanged(defaults, &error))
        qWarning("Countinghouse: the preferences could not be saved: %s", error.c_str());
    return result;
}
