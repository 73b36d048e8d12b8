#include "ui/GXAboutScreenController.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "../platform/gui/qt_test_application.h"
#include "document/app/ProductInfo.h"
#include "ui/GXURLField.h"
#include "url_catcher.h"

namespace ch {
namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

TEST(AboutWindow, LinksOpenTheMakersMailboxesAndSite)
{
    test::UrlCatcher catcher;
    GXAboutScreenController about;
    about.show();
    EXPECT_TRUE(about.findChild<QLabel*>("version")->text().contains(qs(kRunningVersion)));

    QTest::mouseClick(about.findChild<QPushButton*>("doSupportLink"), Qt::LeftButton);
    QTest::mouseClick(about.findChild<QPushButton*>("doSalesLink"), Qt::LeftButton);
    auto* site = about.findChild<GXURLField*>("siteLink");
    ASSERT_NE(site, nullptr);
    QTest::mouseClick(site, Qt::LeftButton);
    EXPECT_EQ(catcher.urls, (QStringList{qs(kSupportMail), qs(kSalesMail), qs(kHomePage)}));
}

TEST(AboutWindow, ALinkFieldOpensItsPlaceholderAndKeepsTheClick)
{
    test::UrlCatcher catcher;
    GXURLField field("https://v.example/page");
    field.setText("shown text");
    field.show();
    QTest::mouseClick(&field, Qt::LeftButton);
    EXPECT_EQ(catcher.urls, QStringList{"https://v.example/page"});
    EXPECT_FALSE(field.hasFocus());
    EXPECT_EQ(field.text(), "shown text");
}

} // namespace
} // namespace ch
