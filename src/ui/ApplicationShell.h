#pragma once
// The application around its documents: the launch sequence, the splash,
// the start-up choice, the About window, the preferences window and the open
// panel. The documents themselves are the document host's; the shell's own
// window (File, Edit with Preferences, and Help; no books) shows only while
// no document is open.
//
// A change of the amount decimals, the text colours or the table text size
// repaints every window at once, so that amounts show as the defaults now
// say.

#include <QFileDialog>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

#include "document/app/GXApplicationDelegate.h"
#include "document/app/SplashFade.h"
#include "platform/core/observable.h"

class QMainWindow;

namespace ch {

class CStartupChoiceController;
class DocumentHost;
class Dispatcher;
class ApplicationPreferencesWindow;
class GXAboutScreenController;
class GXSplashScreen;
class UserDefaults;
class UserDefaultsStore;

// Message: the preferences file was damaged and set aside.
inline constexpr long kPreferencesSetAside = 293;

class ApplicationShell : public QObject, public ApplicationHost {
    Q_OBJECT

public:
    // `store` (may be null) keeps the defaults on disk: they are written
    // before a document opens, so that a last saved document that brings the
    // application down is not reopened at the next launch.
    ApplicationShell(UserDefaults& defaults, Dispatcher& dispatcher, UserDefaultsStore* store = nullptr,
                     QObject* parent = nullptr);
    ~ApplicationShell() override;

    // The launch: the documents the system handed over open, or the last
    // saved one, and at the end of launch (the dispatcher's next turn) the
    // start-up choice begins when it is due. Something is always left on
    // screen. A preferences file the store found damaged and set aside is
    // told then, once, with where it was put (message 293).
    void launch(const QStringList& documents);

    GXApplicationDelegate& delegate() { return mDelegate; }
    // Where documents open; without one a document only titles the shell's window.
    void setDocumentHost(DocumentHost* host) { mHost = host; }
    // A document window opened or closed: the shell's window shows when
    // nothing else is on screen and hides otherwise.
    void documentsChanged();
    QMainWindow* mainWindow() const { return mMainWindow.get(); }
    // The start-up choice while it is or was shown, else null.
    CStartupChoiceController* startupChoice() const;
    // The open panel while it runs, else null.
    QFileDialog* openPanel() const { return mOpenPanel; }
    GXAboutScreenController* aboutWindow() const;
    // The preferences window once shown, else null.
    ApplicationPreferencesWindow* preferencesWindow() const;
    // The splash while it is on screen, else null.
    GXSplashScreen* splashScreen() const;

    // Shows the splash; it fades out 10 seconds after the end of launch (or
    // at once when clicked) and is then gone.
    void showSplash();
    // Starts the fade: 20 steps of 0.05 seconds.
    void closeSplashScreenPanel();

signals:
    // The user asked for the update check.
    void updateCheckRequested();

public slots:
    // Shows the About window, made on first use.
    void doSplash();
    // Shows the preferences window, made on first use; closing it writes
    // the defaults to disk.
    void showPreferences();

public:
    void openFile(const std::string& path) override;
    void openDocument() override;
    void newDocument() override;
    void openURL(const std::string& url) override;
    void beginStartupChoice() override;
    void terminate() override;

private:
    void showMainWindow(const QString& title);
    void splashScreenTimerHandler();
    // Shows the main window when nothing else is on screen.
    void keepSomethingOnScreen();
    void tellOfDamagedPreferences();

    GXApplicationDelegate mDelegate;
    Dispatcher& mDispatcher;
    UserDefaults& mDefaults;
    UserDefaultsStore* mStore;
    bool mToldOfDamagedPreferences = false;
    DocumentHost* mHost = nullptr;
    Subscription mEndOfLaunch;
    std::unique_ptr<QMainWindow> mMainWindow;
    QPointer<CStartupChoiceController> mStartupChoice;
    QPointer<QFileDialog> mOpenPanel;
    QPointer<GXAboutScreenController> mAbout;
    QPointer<ApplicationPreferencesWindow> mPreferences;
    QPointer<GXSplashScreen> mSplash;
    SplashFade mFade;
    Subscription mSplashDelay;
    Subscription mSplashTimer;
    std::vector<Subscription> mLookFollowed;
};

} // namespace ch
