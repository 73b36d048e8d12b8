#include <gtest/gtest.h>

#include <memory>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "../report_test_support.h"
#include "analysis/CReportContents.h"
#include "analysis/views/CReportPrintView.h"
#include "analysis/views/CReportView.h"
#include "analysis/views/CReportingController.h"
#include "views_test_support.h"

namespace ch::test {
namespace {

class ReportingControllerTest : public ::testing::Test {
protected:
    ReportingControllerTest()
    {
        page.setDocument(&books.root);
        page.resize(1000, 500);
        page.show();
    }

    QAbstractButton* radio(const char* group, int tag)
    {
        return page.findChild<QButtonGroup*>(QString::fromLatin1(group))->button(tag);
    }
    void click(const char* group, int tag) { QTest::mouseClick(radio(group, tag), Qt::LeftButton); }
    void clickButton(const char* name)
    {
        QTest::mouseClick(page.findChild<QToolButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    QString label() { return page.findChild<QLabel*>(QStringLiteral("mPageDescriptionField"))->text(); }
    QSpinBox* periodsAgo() { return page.findChild<QSpinBox*>(QStringLiteral("mPeriodsAgoField")); }
    QComboBox* reports() { return page.findChild<QComboBox*>(QStringLiteral("mGraphSelectionMenu")); }
    const std::shared_ptr<CReportContents>& shown() { return page.reportView()->mReportContents(); }

    ReportEnvironment env;
    ReportBooks books;
    CReportingController page;
};

// A first view is the report of the choices at hand (the balance sheet by
// month), not an empty page; a page never shown builds nothing.
TEST_F(ReportingControllerTest, ShowsTheChosenReportWhenFirstShown)
{
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(shown()->title(), localized("BALANCESHEET"));
    EXPECT_GT(page.reportView()->numberOfPages(), 0);
    EXPECT_EQ(label().toStdString(), "1/" + std::to_string(page.reportView()->numberOfPages()));
    EXPECT_FALSE(periodsAgo()->isEnabled());
    reports()->setCurrentIndex(2);
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(shown()->title(), localized("EXPENSEREPORTTITLE"));
    EXPECT_EQ(label().toStdString(), "1/" + std::to_string(page.reportView()->numberOfPages()));

    CReportingController hidden;
    hidden.setDocument(&books.root);
    EXPECT_EQ(hidden.reportView()->mReportContents(), nullptr);
    EXPECT_EQ(hidden.findChild<QLabel*>(QStringLiteral("mPageDescriptionField"))->text(), "1/0");
    hidden.resize(1000, 500);
    hidden.show();
    ASSERT_NE(hidden.reportView()->mReportContents(), nullptr);
    EXPECT_EQ(hidden.reportView()->mReportContents()->title(), localized("BALANCESHEET"));
    // Other books given to a page on show are reported at once.
    ReportBooks other(false);
    const auto before = hidden.reportView()->mReportContents();
    hidden.setDocument(&other.root);
    EXPECT_NE(hidden.reportView()->mReportContents(), before);
    hidden.setDocument(nullptr);
}

TEST_F(ReportingControllerTest, OnlyThePeriodsAgoChoiceEnablesItsField)
{
    for (const auto& [tag, enabled] : std::vector<std::pair<int, bool>>{{2, true}, {0, false}, {2, true}, {1, false}}) {
        click("mTimeSelection", tag);
        EXPECT_EQ(periodsAgo()->isEnabled(), enabled) << tag;
        EXPECT_EQ(page.isNumberOfPeriodsAgoEnabled(), enabled) << tag;
    }
}

TEST_F(ReportingControllerTest, OnePeriodAgoIsTheLastCompletePeriod)
{
    reports()->setCurrentIndex(1);
    click("mPeriodicitySelection", 1);
    click("mTimeSelection", 1);
    const std::vector<DumpedLine> lastComplete = dump(*shown());
    click("mTimeSelection", 2);
    periodsAgo()->setValue(1);
    const std::vector<DumpedLine> oneAgo = dump(*shown());
    ASSERT_EQ(lastComplete.size(), oneAgo.size());
    for (std::size_t i = 0; i < oneAgo.size(); ++i) {
        EXPECT_EQ(oneAgo[i].title, lastComplete[i].title) << i;
        EXPECT_EQ(oneAgo[i].values, lastComplete[i].values) << i;
    }
    // Two ago moves the headings back a quarter.
    const std::vector<std::string> oneAgoHeadings = linesTitled(*shown(), localized("PLSECTIONTITLE"))[0].values;
    periodsAgo()->setValue(2);
    const std::vector<std::string> twoAgoHeadings = linesTitled(*shown(), localized("PLSECTIONTITLE"))[0].values;
    ASSERT_EQ(twoAgoHeadings.size(), 4u);
    EXPECT_EQ(twoAgoHeadings[0], oneAgoHeadings[1]);
}

TEST_F(ReportingControllerTest, PeriodsAgoStayWithinACentury)
{
    click("mTimeSelection", 2);
    periodsAgo()->selectAll();
    QTest::keyClicks(periodsAgo(), "99999999999");
    EXPECT_LE(periodsAgo()->value(), 1200);
    periodsAgo()->setValue(1000000000);
    EXPECT_EQ(periodsAgo()->value(), 1200);
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(shown()->title(), localized("BALANCESHEET"));
}

TEST_F(ReportingControllerTest, PagingMovesThePageAndNeverRebuilds)
{
    reports()->setCurrentIndex(1);
    reports()->setCurrentIndex(0);   // the balance sheet: four pages at least
    const std::shared_ptr<CReportContents> built = shown();
    const unsigned pages = page.reportView()->numberOfPages();
    ASSERT_GE(pages, 4u);
    const QString count = QStringLiteral("/%1").arg(pages);
    clickButton("nextPage");
    EXPECT_EQ(label(), "2" + count);
    clickButton("lastPage");
    EXPECT_EQ(label(), QString::number(pages) + count);
    clickButton("nextPage");
    EXPECT_EQ(label(), QString::number(pages) + count);
    clickButton("previousPage");
    EXPECT_EQ(label(), QString::number(pages - 1) + count);
    clickButton("firstPage");
    clickButton("previousPage");
    EXPECT_EQ(label(), "1" + count);
    EXPECT_EQ(shown(), built);
    // A new choice rebuilds and shows page 1.
    clickButton("lastPage");
    click("mPeriodicitySelection", 2);
    EXPECT_NE(shown(), built);
    EXPECT_EQ(page.reportView()->currentPage(), 1u);
}

TEST_F(ReportingControllerTest, PrintsTheReportShownLaidOutForPaper)
{
    reports()->setCurrentIndex(1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    ASSERT_TRUE(page.printToPdf(path));
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const std::optional<std::string> text = pdfText(path);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find(localized("PLSTATEMENTREPORTTITLE")), std::string::npos);
    EXPECT_NE(text->find("Supermarket"), std::string::npos);
    EXPECT_NE(text->find(localized("PLSECTIONFOOTER")), std::string::npos);
    QPdfWriter measure(dir.filePath(QStringLiteral("measure.pdf")));
    measure.setResolution(72);
    EXPECT_EQ(pagesOf(*text), CReportPrintView(shown(), page.printSettings(), measure).numberOfPages());
}

TEST_F(ReportingControllerTest, PrintOpensTheDialogOnTheWindow)
{
    reports()->setCurrentIndex(0);
    clickButton("print");
    auto* dialog = page.findChild<QPrintDialog*>(QStringLiteral("printDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    dialog->reject();
}

// The page as the user sees it, for a person to look at: review/reports/.
TEST_F(ReportingControllerTest, WritesReviewImageOfThePage)
{
    reports()->setCurrentIndex(1);
    reports()->setCurrentIndex(0);
    clickButton("nextPage");
    QDir().mkpath(QStringLiteral("review/reports"));
    EXPECT_TRUE(page.grab().save(QStringLiteral("review/reports/reports-page.png")));
}

} // namespace
} // namespace ch::test
