#pragma once
// The update check of the application and its new-version window. The
// check's request is made on the main thread, the announcement is fetched
// (libcurl) on a worker thread, and the answer comes back to the main
// thread: the new-version window (shown 5 seconds later, later still while
// the start-up choice is open), the "no upgrades"/"no connection" alerts
// when the user asked, and nothing at launch when there is nothing to show
// or no network. The worker is joined when the checker goes.
//
// The window ("UpdateAvailableWindow") shows the running and the new
// version and the release notes; Upgrade opens the download page, Skip This
// Version keeps the version under "VersionToSkip", Cancel closes it.

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <thread>

#include "document/app/UpdateCheck.h"
#include "platform/core/observable.h"

class QLabel;
class QTextEdit;

namespace ch {

class Dispatcher;
class UserDefaults;

class UpdateAvailableWindow : public QDialog {
    Q_OBJECT

public:
    UpdateAvailableWindow(UserDefaults& defaults, const UpdateCheckResult& result, QWidget* parent = nullptr);

private:
    UserDefaults& mDefaults;
    std::string mNetworkVersion;
};

class UpdateChecker : public QObject {
    Q_OBJECT

public:
    UpdateChecker(UserDefaults& defaults, Dispatcher& dispatcher, std::function<bool()> startupChoiceOpen,
                  FetchText fetch = {}, QObject* parent = nullptr);
    ~UpdateChecker() override;

    // At launch (askedByUser false) or from the menu. A check already
    // running is left to finish.
    void check(bool askedByUser);
    UpdateAvailableWindow* window() const { return mWindow; }

private:
    void answered(const UpdateCheckRequest& request, const UpdateCheckResult& result);

    UserDefaults& mDefaults;
    Dispatcher& mDispatcher;
    std::function<bool()> mStartupChoiceOpen;
    FetchText mFetch;
    std::thread mWorker;
    // Expires with the checker: an answer arriving later is dropped.
    std::shared_ptr<UpdateChecker*> mAlive;
    Subscription mShowWindow;
    QPointer<UpdateAvailableWindow> mWindow;
};

} // namespace ch
