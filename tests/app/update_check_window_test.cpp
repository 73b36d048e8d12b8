// The update check as the application runs it: the announcement fetched off
// the main thread, the answer shown on it.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "../ui/ui_test_support.h"
#include "app/UpdateCheckWindow.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/app/ProductInfo.h"
#include "platform/core/dispatcher.h"

namespace ch {
namespace {

using namespace ch::test;
using namespace std::chrono_literals;

class UpdateCheckWindowTest : public ::testing::Test {
protected:
    UpdateCheckWindowTest() { GXApplicationDelegate::initialize(environment.defaults()); }

    // Runs the worker's answer once it has been handed over.
    void waitForAnswer()
    {
        for (int i = 0; i < 500 && dispatcher.pendingCount() == 0; ++i) std::this_thread::sleep_for(2ms);
        dispatcher.runDue();
    }

    UiEnvironment environment;
    ManualDispatcher dispatcher;
    bool startupChoiceOpen = false;
    std::atomic<bool> fetchedOffMainThread{false};
    std::thread::id mainThread = std::this_thread::get_id();
};

TEST_F(UpdateCheckWindowTest, ANewerVersionOpensTheWindowWithItsNotesAfterTheWaitAndCanBeSkipped)
{
    const std::string announcement = "2.0.10.0\nFaster reports.\n";
    UpdateChecker checker(environment.defaults(), dispatcher, [this] { return startupChoiceOpen; },
                          [&](std::string_view) -> std::optional<std::string> {
                              fetchedOffMainThread = std::this_thread::get_id() != mainThread;
                              return announcement;
                          });
    startupChoiceOpen = true;
    checker.check(false);
    waitForAnswer();
    EXPECT_TRUE(fetchedOffMainThread);
    dispatcher.advance(9s);
    EXPECT_EQ(checker.window(), nullptr);   // waits while the start-up choice is open
    startupChoiceOpen = false;
    dispatcher.advance(4s);
    UpdateAvailableWindow* window = checker.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QLabel*>("currentVersionField")->text().toStdString(), kRunningVersion);
    EXPECT_EQ(window->findChild<QLabel*>("newVersionField")->text(), "2.0.10.0");
    EXPECT_EQ(window->findChild<QTextEdit*>("releaseNotesField")->toPlainText().toStdString(), announcement);

    QTest::mouseClick(window->findChild<QPushButton*>("skipVersionButton"), Qt::LeftButton);
    EXPECT_EQ(environment.defaults().stringForKey(kVersionToSkipKey), "2.0.10.0");
    environment.alerts().clear();
    checker.check(true);   // the skipped version is not offered again
    waitForAnswer();
    dispatcher.advance(10s);
    EXPECT_EQ(environment.alerts().records().size(), 1u);
}

TEST_F(UpdateCheckWindowTest, WithoutNetworkALaunchCheckIsSilentAndAnAskedOneSaysSo)
{
    UpdateChecker checker(environment.defaults(), dispatcher, [] { return false; },
                          [](std::string_view) { return std::optional<std::string>(); });
    checker.check(false);
    waitForAnswer();
    dispatcher.advance(10s);
    EXPECT_TRUE(environment.alerts().records().empty());
    EXPECT_EQ(checker.window(), nullptr);

    checker.check(true);
    waitForAnswer();
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records().front().alert.message, localized("NOUPGRADESNOCONNECTION"));
    EXPECT_EQ(checker.window(), nullptr);
}

} // namespace
} // namespace ch
