#include "ui/ApplicationShell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QUrl>

#include "document/app/ApplicationDefaults.h"
#include "platform/core/alerts.h"
#include "platform/core/dispatcher.h"
#include "platform/core/message_format.h"
#include "platform/core/localized_strings.h"
#include "platform/core/user_defaults_store.h"
#include "bridge/TextColours.h"
#include "model/foundation/CDecimal.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/ApplicationPreferencesWindow.h"
#include "ui/CStartupChoiceController.h"
#include "ui/DocumentHost.h"
#include "ui/GXAboutScreenController.h"
#include "ui/GXSplashScreen.h"
#include "ui/HelpMenu.h"

namespace ch {

ApplicationShell::ApplicationShell(UserDefaults& defaults, Dispatcher& dispatcher, UserDefaultsStore* store,
                                   QObject* parent)
    : QObject(parent),
      mDelegate(*this, defaults),
      mDispatcher(dispatcher),
      mDefaults(defaults),
      mStore(store),
      mMainWindow(std::make_unique<QMainWindow>())
{
    mMainWindow->setObjectName("MainWindow");
    mMainWindow->setWindowTitle(QStringLiteral("Countinghouse"));
    mMainWindow->resize(1000, 700);
    QMenu* file = mMainWindow->menuBar()->addMenu(localizedText("FILEMENU"));
    file->setObjectName("FILEMENU");
    QAction* newDocument = file->addAction(localizedText("NEWDOCUMENTMENUITEM"), this, [this] { this->newDocument(); });
    newDocument->setObjectName("new");
    newDocument->setShortcuts(QKeySequence::New);
    QAction* open = file->addAction(localizedText("OPENDOCUMENTMENUITEM"), this, [this] { openDocument(); });
    open->setObjectName("open");
    open->setShortcuts(QKeySequence::Open);
    file->addSeparator();
    QAction* quit = file->addAction(localizedText("QUITMENUITEM"), qApp, &QApplication::closeAllWindows);
    quit->setObjectName("quit");
    // Not every desktop's key theme binds the standard Quit key: Ctrl+Q always.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    QMenu* edit = mMainWindow->menuBar()->addMenu(localizedText("EDITMENU"));
    edit->setObjectName("EDITMENU");
    QAction* preferences = edit->addAction(localizedText("PREFERENCESMENUITEM"), this, &ApplicationShell::showPreferences);
    preferences->setObjectName("preferences");
    preferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    preferences->setMenuRole(QAction::PreferencesRole);
    QMenu* help = mMainWindow->menuBar()->addMenu(localizedText("HELPMENU"));
    help->setObjectName("HELPMENU");
    addHelpBookAction(help);
    QAction* about = help->addAction(localizedText("ABOUTMENU"), this, &ApplicationShell::doSplash);
    about->setObjectName("doSplash");
    about->setMenuRole(QAction::AboutRole);
    QAction* updates = help->addAction(localizedText("UPDATECHECKMENUITEM"), this, &ApplicationShell::updateCheckRequested);
    updates->setObjectName("checkForUpdates");

    // Amounts, their colours and table texts are drawn from the defaults at
    // every paint: a repaint shows the new setting everywhere. Amount entry
    // fields round to the class-wide number of decimals, which follows too.
    for (const std::string_view key : {kNumberOfDecimalsKey, kGreenTextColorKey, kRedTextColorKey,
                                       kBlueTextColorKey, kTableTextSizeKey})
        mLookFollowed.push_back(mDefaults.observe(std::string(key), [this](const std::string& changed) {
            if (changed == kNumberOfDecimalsKey)
                CDecimal::putNrOfDecimals(static_cast<long>(mDefaults.integerForKey(kNumberOfDecimalsKey)));
            for (QWidget* widget : QApplication::allWidgets()) widget->update();
        }));
}

ApplicationShell::~ApplicationShell()
{
    delete mStartupChoice;
    delete mOpenPanel;
    delete mAbout;
    delete mPreferences;
    delete mSplash;
}

ApplicationPreferencesWindow* ApplicationShell::preferencesWindow() const
{
    return mPreferences;
}

GXSplashScreen* ApplicationShell::splashScreen() const
{
    return mSplash;
}

void ApplicationShell::showPreferences()
{
    if (!mPreferences) {
        mPreferences = new ApplicationPreferencesWindow(mDefaults);
        connect(mPreferences, &ApplicationPreferencesWindow::closed, this, [this] {
            if (!mStore) return;
            std::string error;
            if (!mStore->saveIfChanged(mDefaults, &error))
                qWarning("Countinghouse: the preferences could not be saved: %s", error.c_str());
        });
    }
    mPreferences->show();
    mPreferences->raise();
    mPreferences->activateWindow();
}

void ApplicationShell::showSplash()
{
    if (!mSplash) {
        mSplash = new GXSplashScreen;
        connect(mSplash, &GXSplashScreen::clicked, this, [this] {
            if (!mFade.fading()) closeSplashScreenPanel();
        });
    }
    mSplash->show();
    mSplash->raise();
}

void ApplicationShell::closeSplashScreenPanel()
{
    mSplashDelay.cancel();
    if (!mSplash) return;
    mFade.start();
    mSplashTimer = mDispatcher.startRepeating(SplashFade::kTick, [this] { splashScreenTimerHandler(); });
}

void ApplicationShell::splashScreenTimerHandler()
{
    if (const std::optional<double> opacity = mFade.tick(); opacity && mSplash) {
        mSplash->setWindowOpacity(*opacity);
        return;
    }
    mSplashTimer.cancel();
    delete mSplash;
}

CStartupChoiceController* ApplicationShell::startupChoice() const
{
    return mStartupChoice;
}

GXAboutScreenController* ApplicationShell::aboutWindow() const
{
    return mAbout;
}

void ApplicationShell::launch(const QStringList& documents)
{
    for (const QString& path : documents)
        mDelegate.application(path.toStdString());
    if (mDelegate.applicationShouldOpenUntitledFile())
        mDelegate.applicationOpenUntitledFile();
    mEndOfLaunch = mDispatcher.callAfter(Dispatcher::Duration{0}, [this] {
        if (mSplash)
            mSplashDelay = mDispatcher.callAfter(SplashFade::kDelay, [this] { closeSplashScreenPanel(); });
        mDelegate.applicationDidFinishLaunching();
        keepSomethingOnScreen();
        tellOfDamagedPreferences();
    });
}

void ApplicationShell::tellOfDamagedPreferences()
{
    if (!mStore || mStore->setAsidePath().empty() || mToldOfDamagedPreferences) return;
    mToldOfDamagedPreferences = true;
    const std::string message =
        formatMessage(localized(std::to_string(kPreferencesSetAside)), {mStore->setAsidePath().string()});
    alertPresenter().showInfo({kPreferencesSetAside, localized("INFO"), message, localized("OK"), ""});
}

void ApplicationShell::doSplash()
{
    if (!mAbout)
        mAbout = new GXAboutScreenController;
    mAbout->show();
    mAbout->raise();
    mAbout->activateWindow();
}

void ApplicationShell::showMainWindow(const QString& title)
{
    mMainWindow->setWindowTitle(title.isEmpty() ? QStringLiteral("Countinghouse")
                                                : title + QStringLiteral(" \u2014 Countinghouse"));
    mMainWindow->show();
    mMainWindow->raise();
}

void ApplicationShell::keepSomethingOnScreen()
{
    const bool choosing = (mStartupChoice && mStartupChoice->isRunning()) || mOpenPanel;
    const bool documents = mHost && mHost->hasOpenDocuments();
    if (!choosing && !documents && !mMainWindow->isVisible())
        showMainWindow(QString());
}

void ApplicationShell::documentsChanged()
{
    if (mHost && mHost->hasOpenDocuments()) mMainWindow->hide();
    else keepSomethingOnScreen();
}

void ApplicationShell::openFile(const std::string& path)
{
    if (mStore) {
        std::string error;
        if (!mStore->saveIfChanged(mDefaults, &error))
            qWarning("Countinghouse: the preferences could not be saved: %s", error.c_str());
    }
    if (mHost) {
        mHost->openDocumentFile(path);
        documentsChanged();
        return;
    }
    showMainWindow(QFileInfo(QString::fromStdString(path)).fileName());
}

void ApplicationShell::openDocument()
{
    if (mOpenPanel) {
        mOpenPanel->raise();
        return;
    }
    auto* panel = new QFileDialog(mMainWindow->isVisible() ? mMainWindow.get() : nullptr, QString(),
                                  QDir::homePath(), QStringLiteral("*.books"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setOption(QFileDialog::DontUseNativeDialog);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFiles);
    connect(panel, &QFileDialog::finished, this, [this, panel](int result) {
        const QStringList files = result == QDialog::Accepted ? panel->selectedFiles() : QStringList();
        mOpenPanel = nullptr;
        for (const QString& file : files)
            openFile(file.toStdString());
        keepSomethingOnScreen();
    });
    mOpenPanel = panel;
    panel->open();
}

void ApplicationShell::newDocument()
{
    if (mHost) {
        mHost->newDocument();
        documentsChanged();
        return;
    }
    showMainWindow(localizedText("UNTITLED"));
}

void ApplicationShell::openURL(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void ApplicationShell::beginStartupChoice()
{
    if (!mStartupChoice)
        mStartupChoice = new CStartupChoiceController;
    const std::string last = mDefaults.stringForKey(kLastSavedDocumentKey);
    mStartupChoice->setLastDocumentAvailable(!last.empty() && QFileInfo::exists(QString::fromStdString(last)));
    mStartupChoice->begin(nullptr, [this](int code) {
        mDelegate.sheetDidEnd(code);
        keepSomethingOnScreen();
    });
}

void ApplicationShell::terminate()
{
    QCoreApplication::exit(1);
}

} // namespace ch
