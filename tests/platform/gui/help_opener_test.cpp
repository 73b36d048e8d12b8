#include "platform/gui/help_opener.h"

#include <QDesktopServices>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

#include "qt_test_application.h"

namespace ch {
namespace {

class HelpOpenerTest : public ::testing::Test {
protected:
    HelpOpenerTest()
    {
        std::ofstream(path("index.html")) << "<html></html>";
        std::ofstream(path("shares.html")) << "<html></html>";
        std::filesystem::create_directory(path("folder.html"));
    }

    std::filesystem::path path(const char* name) const { return std::filesystem::path(mDir.path().toStdString()) / name; }
    QUrl fileUrl(const char* name, const char* anchor) const
    {
        QUrl url = QUrl::fromLocalFile(QString::fromStdString(path(name).string()));
        if (*anchor)
            url.setFragment(anchor);
        return url;
    }

    QTemporaryDir mDir;
};

TEST_F(HelpOpenerTest, APageOpensAtItsAnchorAndAMissingOneOpensTheIndex)
{
    HelpOpener help(mDir.path().toStdString());
    struct Case {
        const char* page;
        const char* anchor;
        const char* expectedFile;
    };
    const Case cases[] = {
        {"shares.html", "shares", "shares.html"},
        {"shares.html", "", "shares.html"},
        {"budgets.html", "budgets", "index.html"},
        {"folder.html", "x", "index.html"},
        {"../shares.html", "x", "index.html"},
        {"", "startPage", "index.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(help.urlFor(c.page, c.anchor), fileUrl(c.expectedFile, c.anchor)) << c.page;

    EXPECT_EQ(help.urlForAnchor("shares"), fileUrl("shares.html", "shares"));
    EXPECT_EQ(help.urlForAnchor("indexpage"), fileUrl("index.html", "indexpage"));
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void catchUrl(const QUrl& url) { urls << url; }
};

TEST_F(HelpOpenerTest, OpeningHandsTheAddressToTheDesktop)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "catchUrl");
    HelpOpener help(mDir.path().toStdString() + "/");
    EXPECT_TRUE(help.openAnchor("budgets"));
    EXPECT_TRUE(help.open("shares.html", "top"));
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(catcher.urls, (QList<QUrl>{fileUrl("index.html", "budgets"), fileUrl("shares.html", "top")}));
}

} // namespace
} // namespace ch

#include "help_opener_test.moc"
