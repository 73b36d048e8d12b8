#include "ui/CStartupChoiceController.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "../platform/gui/qt_test_application.h"
#include "document/app/ProductInfo.h"
#include "url_catcher.h"

namespace ch {
namespace {

QPushButton* button(QWidget& sheet, const char* name)
{
    auto* b = sheet.findChild<QPushButton*>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
}

TEST(StartupChoice, ChoiceButtonsEndTheSheetWithTheirCodeAndWebButtonsLeaveItOpen)
{
    struct Case {
        const char* button;
        std::optional<int> code; // none: the sheet stays open
        QStringList urls;
    };
    const QString community = QString::fromUtf8(kCommunityPage.data(), qsizetype(kCommunityPage.size()));
    const QString home = QString::fromUtf8(kHomePage.data(), qsizetype(kHomePage.size()));
    const Case cases[] = {
        {"newDocumentClicked", 2, {}},
        {"newDocumentWithoutAssistantClicked", 4, {}},
        {"lastOpenedDocument", 6, {}},
        {"selectExistingDocument", 7, {}},
        {"visitCommunityClicked", std::nullopt, {community}},
        {"videoTutorials", std::nullopt, {home}}, // no links file here
    };
    for (const Case& c : cases) {
        test::UrlCatcher catcher;
        CStartupChoiceController sheet;
        std::vector<int> codes;
        sheet.begin(nullptr, [&](int code) { codes.push_back(code); });
        QTest::mouseClick(button(sheet, c.button), Qt::LeftButton);
        if (c.code) {
            EXPECT_EQ(codes, std::vector<int>{*c.code}) << c.button;
            EXPECT_FALSE(sheet.isVisible()) << c.button;
        } else {
            EXPECT_TRUE(codes.empty()) << c.button;
            EXPECT_TRUE(sheet.isVisible()) << c.button;
            sheet.reject();
        }
        EXPECT_EQ(catcher.urls, c.urls) << c.button;
    }
    // Code 3 has no button of its own here; its action still ends the sheet.
    CStartupChoiceController sheet;
    int code = 0;
    sheet.begin(nullptr, [&](int c) { code = c; });
    sheet.openRecentClicked();
    EXPECT_EQ(code, 3);
}

TEST(StartupChoice, VideoTutorialsOpenTheLinkOfTheLinksFile)
{
    const std::string home(kHomePage);
    struct Case {
        Value links;
        std::string expected;
    };
    const Case cases[] = {
        {Dictionary{{"videotutoriallink", Value("https://v.example/tutorials")}}, "https://v.example/tutorials"},
        {Dictionary{{"videotutoriallink", Value("https")}}, home}, // five characters: the fallback page
        {Value(), home},
    };
    for (const Case& c : cases) {
        test::UrlCatcher catcher;
        int reads = 0;
        CStartupChoiceController sheet([&](auto done) {
            ++reads;
            done(c.links);
        });
        sheet.begin(nullptr, [](int) {});
        QTest::mouseClick(button(sheet, "videoTutorials"), Qt::LeftButton);
        EXPECT_EQ(reads, 1);
        EXPECT_EQ(catcher.urls, QStringList{QString::fromStdString(c.expected)});
        EXPECT_TRUE(sheet.isVisible());
        sheet.reject();
    }
}

} // namespace
} // namespace ch
