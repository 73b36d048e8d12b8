#include "ui/ApplicationShell.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

#include "../platform/gui/qt_test_application.h"
#include "platform/core/alerts.h"
#include "platform/core/dispatcher.h"
#include "platform/core/plist.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_store.h"
#include "ui/CStartupChoiceController.h"
#include "ui/GXAboutScreenController.h"
#include "url_catcher.h"

namespace ch {
namespace {

class ShellTest : public ::testing::Test {
protected:
    ShellTest() : mScoped(mDefaults), mStore(std::filesystem::path(mDir.path().toStdString()) / "prefs.plist")
    {
        GXApplicationDelegate::initialize(mDefaults);
    }

    // Launches and runs the end of launch.
    ApplicationShell& launch(const QStringList& documents = {})
    {
        mShell = std::make_unique<ApplicationShell>(mDefaults, mDispatcher, &mStore);
        mShell->launch(documents);
        mDispatcher.runDue();
        return *mShell;
    }

    QString title() const { return mShell->mainWindow()->windowTitle(); }
    bool windowShown() const { return mShell->mainWindow()->isVisible(); }
    bool choiceShown() const { return mShell->startupChoice() && mShell->startupChoice()->isVisible(); }
    void click(const char* name)
    {
        auto* b = mShell->startupChoice()->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QTemporaryDir mDir;
    UserDefaults mDefaults;
    ScopedUserDefaults mScoped;
    UserDefaultsStore mStore;
    ManualDispatcher mDispatcher;
    std::unique_ptr<ApplicationShell> mShell;
};

TEST_F(ShellTest, WithoutADocumentTheStartupChoiceIsOfferedAtTheEndOfLaunch)
{
    mShell = std::make_unique<ApplicationShell>(mDefaults, mDispatcher, &mStore);
    mShell->launch({});
    EXPECT_FALSE(choiceShown()); // not before the end of launch
    mDispatcher.runDue();
    ASSERT_TRUE(choiceShown());
    EXPECT_EQ(mShell->startupChoice()->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(mShell->delegate().welkomSchermIsOpen());
    EXPECT_FALSE(windowShown());

    click("newDocumentClicked");
    EXPECT_FALSE(choiceShown());
    EXPECT_FALSE(mShell->delegate().welkomSchermIsOpen());
    EXPECT_TRUE(windowShown());
    EXPECT_EQ(title(), "Untitled \u2014 Countinghouse");
    EXPECT_TRUE(mDefaults.boolForKey("GXShowNewDocumentAssistant"));
}

TEST_F(ShellTest, EachWayOfLaunchingLeavesAWindow)
{
    struct Case {
        const char* name;
        bool showStartupChoice;
        const char* lastSaved;
        QStringList handedOver;
        QString title;
    };
    const Case cases[] = {
        {"document handed over", true, "/b/house.books", {"/b/other.books"}, "other.books \u2014 Countinghouse"},
        {"last document reopened", false, "/b/house.books", {}, "house.books \u2014 Countinghouse"},
        {"nothing to open", false, "", {}, "Countinghouse"},
    };
    for (const Case& c : cases) {
        mDefaults.set("GXShowStartupChoice", c.showStartupChoice);
        mDefaults.set("GXLastSavedDocument", c.lastSaved);
        launch(c.handedOver);
        EXPECT_FALSE(choiceShown()) << c.name;
        EXPECT_TRUE(windowShown()) << c.name;
        EXPECT_EQ(title(), c.title) << c.name;
        mShell.reset();
    }
}

TEST_F(ShellTest, TheLastDocumentIsOfferedOnlyWhenThereIsOne)
{
    const QString house = mDir.filePath("house.books");
    ASSERT_TRUE(QFile(house).open(QIODevice::WriteOnly));
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"first start", "", false}, {"file gone", "/b/house.books", false}, {"file there", house.toStdString(), true}};
    for (const auto& [name, last, offered] : cases) {
        mDefaults.set("GXShowStartupChoice", true);
        mDefaults.set("GXLastSavedDocument", last);
        launch();
        ASSERT_TRUE(choiceShown()) << name;
        auto* button = mShell->startupChoice()->findChild<QPushButton*>("lastOpenedDocument");
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->isEnabled(), offered) << name;
        mShell.reset();
    }
}

TEST_F(ShellTest, TheLastDocumentIsForgottenOnDiskBeforeItOpens)
{
    const QString house = mDir.filePath("house.books");
    ASSERT_TRUE(QFile(house).open(QIODevice::WriteOnly));
    mDefaults.set("GXShowStartupChoice", true);
    mDefaults.set("GXLastSavedDocument", house.toStdString());
    ASSERT_TRUE(mStore.save(mDefaults));
    launch();
    click("lastOpenedDocument");
    EXPECT_EQ(title(), "house.books \u2014 Countinghouse");
    // What a crash while opening would leave behind: the key already empty.
    UserDefaults reread;
    UserDefaultsStore(mStore.path()).load(reread);
    EXPECT_EQ(reread.stringForKey("GXLastSavedDocument"), "");
}

TEST_F(ShellTest, ClosingTheChoiceOrCancellingTheOpenPanelStillLeavesAWindow)
{
    launch();
    QTest::keyClick(mShell->startupChoice(), Qt::Key_Escape);
    EXPECT_FALSE(choiceShown());
    EXPECT_TRUE(windowShown());
    mShell.reset();

    launch();
    click("selectExistingDocument");
    QFileDialog* panel = mShell->openPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(windowShown()); // the panel is what is on screen
    panel->reject();
    EXPECT_EQ(mShell->openPanel(), nullptr);
    EXPECT_TRUE(windowShown());
    EXPECT_EQ(title(), "Countinghouse");
}

TEST_F(ShellTest, TheOpenPanelOpensTheChosenDocument)
{
    launch();
    click("selectExistingDocument");
    QFileDialog* panel = mShell->openPanel();
    ASSERT_NE(panel, nullptr);
    const QString file = mDir.filePath("firm.books");
    QFile(file).open(QIODevice::WriteOnly);
    panel->selectFile(file);
    static_cast<QDialog*>(panel)->accept();
    EXPECT_EQ(title(), "firm.books \u2014 Countinghouse");
}

TEST_F(ShellTest, TheCommunityChoiceOpensItsPageAndTheAboutWindowIsMadeOnce)
{
    test::UrlCatcher catcher;
    launch();
    mShell->delegate().sheetDidEnd(5);
    EXPECT_EQ(catcher.urls, QStringList{"https://countinghouse.example/community"});

    mShell->doSplash();
    GXAboutScreenController* about = mShell->aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    about->close();
    mShell->doSplash();
    EXPECT_EQ(mShell->aboutWindow(), about);
    EXPECT_TRUE(about->isVisible());
}

TEST_F(ShellTest, TheHelpMenuOpensTheHelpBookAtItsContents)
{
    test::UrlCatcher catcher;
    launch();
    auto* help = mShell->mainWindow()->findChild<QAction*>("showHelp");
    ASSERT_NE(help, nullptr);
    help->trigger();
    ASSERT_EQ(catcher.urls.size(), 1);
    const QUrl url(catcher.urls.front());
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(QFileInfo(url.toLocalFile()).fileName(), "index.html");
    EXPECT_TRUE(QFileInfo::exists(url.toLocalFile()));
    EXPECT_EQ(url.fragment(), "indexpage");
}

TEST_F(ShellTest, ADamagedPreferencesFileIsToldOnceWithWhereItWasPut)
{
    std::ofstream(mStore.path()) << "<?xml version=\"1.0\"?><plist><dict><key>GXCKeepLogF";
    ASSERT_EQ(mStore.load(mDefaults), UserDefaultsStore::LoadOutcome::SetAside);
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter scope(alerts);
    launch();
    mShell->openFile(mDir.filePath("other.books").toStdString());
    mDispatcher.runDue();
    ASSERT_EQ(alerts.numbers(), std::vector<long>{kPreferencesSetAside});
    EXPECT_EQ(alerts.records().front().kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_NE(alerts.records().front().alert.message.find(mStore.setAsidePath().string()), std::string::npos);
}

} // namespace
} // namespace ch
