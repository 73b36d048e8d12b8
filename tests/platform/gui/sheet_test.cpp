#include "platform/gui/sheet.h"

#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "qt_test_application.h"

namespace ch {
namespace {

class SheetTest : public ::testing::Test {
protected:
    SheetTest() { mWindow.show(); }
    QMainWindow mWindow;
};

TEST_F(SheetTest, BeginReturnsAtOnceAndEachEndingDeliversItsCodeOnce)
{
    struct Case {
        const char* name;
        void (*end)(Sheet&);
        int expected;
    };
    const Case cases[] = {
        {"accept", [](Sheet& s) { s.accept(); }, Sheet::kConfirmed},
        {"reject", [](Sheet& s) { s.reject(); }, Sheet::kCancelled},
        {"Escape", [](Sheet& s) { QTest::keyClick(&s, Qt::Key_Escape); }, Sheet::kCancelled},
        {"close box", [](Sheet& s) { s.close(); }, Sheet::kCancelled},
        {"own code", [](Sheet& s) { s.endSheet(7); }, 7},
    };
    for (const Case& c : cases) {
        Sheet sheet;
        std::vector<int> codes;
        sheet.begin(&mWindow, [&](int code) {
            EXPECT_FALSE(sheet.isVisible()) << c.name; // hidden before the handler runs
            codes.push_back(code);
        });
        EXPECT_TRUE(sheet.isVisible()) << c.name;
        EXPECT_TRUE(sheet.isRunning()) << c.name;
        EXPECT_EQ(sheet.windowModality(), Qt::WindowModal) << c.name;
        EXPECT_EQ(sheet.parentWidget(), &mWindow) << c.name;
        EXPECT_TRUE(codes.empty()) << c.name;

        c.end(sheet);
        sheet.endSheet(99); // a second ending of the same run is ignored
        EXPECT_EQ(codes, std::vector<int>{c.expected}) << c.name;
        EXPECT_FALSE(sheet.isRunning()) << c.name;
        sheet.setParent(nullptr);
    }
}

TEST_F(SheetTest, ASheetCanBeBegunAgainFromItsOwnHandlerAndReused)
{
    Sheet sheet(&mWindow);
    std::vector<int> codes;
    sheet.begin(&mWindow, [&](int code) {
        codes.push_back(code);
        sheet.begin(&mWindow, [&](int again) { codes.push_back(100 + again); });
    });
    sheet.endSheet(2);
    EXPECT_TRUE(sheet.isVisible());
    sheet.endSheet(3);
    EXPECT_EQ(codes, (std::vector<int>{2, 103}));
}

TEST_F(SheetTest, WithoutAWindowTheSheetIsModalForTheApplication)
{
    Sheet sheet;
    int code = 0;
    sheet.begin(nullptr, [&](int c) { code = c; });
    EXPECT_EQ(sheet.windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(sheet.isVisible());
    sheet.begin(nullptr, [&](int) { code = -100; }); // ignored while running
    sheet.accept();
    EXPECT_EQ(code, 1);
}

} // namespace
} // namespace ch
