// The settings of the books and the tabs beside the side-bar pages, in the
// application's window: the month the accounting year starts in is chosen in
// the settings window and the reports and new budgets follow it at once; the
// toolbar's New Transaction books from the budget tab too.

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app_test_steps.h"
#include "../analysis/report_test_support.h"
#include "../ui/popup_clicks.h"
#include "../ui/sheets/sheet_test_support.h"
#include "analysis/ReportChoices.h"
#include "analysis/views/BudgetSheets.h"
#include "analysis/views/CReportView.h"
#include "analysis/views/CReportingController.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CPrfRItem.h"
#include "document/MyDocument.h"
#include "document/arguments/CurrencyArguments.h"
#include "model/CDocAccounting.h"
#include "model/CTransactionArray.h"
#include "platform/core/localized_strings.h"
#include "ui/MainToolbar.h"
#include "ui/pages/CBudgetPageController.h"
#include "ui/sheets/CCreateRecurringTrnsPopupController.h"
#include "ui/sheets/CFilePreferenceController.h"

namespace ch {
namespace {

using namespace ch::test;

class BooksSettingsWindowTest : public ApplicationFixture {
protected:
    BooksSettingsWindowTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        controller.makeNewDocument(false);
        settle();
        checking = makeAccount(books(), "Checking", 1, nullptr, 1000.0);
        shop = makeAccount(books(), "Corner Shop", 3);
        bookTransaction(books(), checking, shop, books().get_mDefExpTUnspecifiedExpense(), 40.0, "Bakery", 20250905);
        books().clearChangeCount();
    }

    void toolbarItem(const char* identifier)
    {
        QAction* item = frame().toolbar().itemAction(identifier);
        ASSERT_NE(item, nullptr) << identifier;
        frame().toolbar().widgetForAction(item) ? QTest::mouseClick(frame().toolbar().widgetForAction(item), Qt::LeftButton)
                                                : item->trigger();
        settle();
    }

    // The settings window shown over the document window.
    CFilePreferenceController* settingsWindow()
    {
        for (auto* shown : frame().findChildren<CFilePreferenceController*>())
            if (shown->isVisible()) return shown;
        return nullptr;
    }

    // The headings of the profit and loss report's periods.
    std::vector<std::string> reportHeadings(CReportingController& reports)
    {
        const auto& contents = reports.reportView()->mReportContents();
        if (!contents) return {};
        const std::vector<DumpedLine> lines = linesTitled(*contents, localized("PLSECTIONTITLE"));
        return lines.empty() ? std::vector<std::string>() : lines[0].values;
    }

    long checking = 0, shop = 0;
};

TEST_F(BooksSettingsWindowTest, TheMonthTheYearStartsInIsChosenInTheSettingsAndTheReportsAndBudgetsFollow)
{
    // The profit and loss of this year (15 September 2025) on the reports tab.
    toolbarItem("reports");
    auto* reports = dynamic_cast<CReportingController*>(frame().mainTab("repo"));
    ASSERT_NE(reports, nullptr);
    auto* kinds = reports->findChild<QComboBox*>("mGraphSelectionMenu");
    clickPopupEntry(kinds, kinds->itemText(kinds->findData(report_tag::kProfitAndLoss)));
    QTest::mouseClick(reports->findChild<QButtonGroup*>("mPeriodicitySelection")->button(2), Qt::LeftButton);
    settle();
    const std::vector<std::string> calendarYears = reportHeadings(*reports);
    ASSERT_FALSE(calendarYears.empty());

    toolbarItem("settings");
    CFilePreferenceController* settings = settingsWindow();
    ASSERT_TRUE(settings && settings->isVisible());
    EXPECT_EQ(settings->shownPage(), "general");
    auto* yearStart = outlet<QComboBox>(*settings, "mPrefYearStartPopup");
    ASSERT_NE(yearStart, nullptr);
    EXPECT_EQ(yearStart->currentText().toStdString(), localized("MONTHNAME1"));
    clickPopupEntry(yearStart, QString::fromStdString(localized("MONTHNAME4")));

    const std::shared_ptr<CPrfRItem> item = books().mPreference();
    EXPECT_EQ(item->mCurrentYearStart(), 4);
    EXPECT_EQ(item->mCurrentPeriodStart(), 20250401);
    EXPECT_EQ(item->mCurrentPeriodEnd(), 20260331);
    EXPECT_EQ(item->mPreviousPeriodStart(), 20240401);
    EXPECT_EQ(outlet<QLabel>(*settings, "mCurrentPeriodLabel")->text(), QStringLiteral("01.04.2025 \u2013 31.03.2026"));
    EXPECT_TRUE(books().isDocumentEdited());
    EXPECT_TRUE(environment.alerts().numbers().empty());
    // The report shown below was built again over the new years.
    const std::vector<std::string> fiscalYears = reportHeadings(*reports);
    ASSERT_FALSE(fiscalYears.empty());
    EXPECT_NE(fiscalYears, calendarYears);
    click(*settings, "OKButton");
    settle();

    // A budget for this year is one for the year from April.
    toolbarItem("budgets");
    auto* budgets = dynamic_cast<CBudgetPageController*>(frame().mainTab("budg"));
    ASSERT_NE(budgets, nullptr);
    for (QPushButton* button : budgets->findChildren<QPushButton*>())
        if (button->text() == QString::fromStdString(localized("NewBud"))) QTest::mouseClick(button, Qt::LeftButton);
    settle();
    auto* made = dynamic_cast<CNewBudgetController*>(budgets->openSheet());
    ASSERT_NE(made, nullptr);
    typeInto(made->budgetNameField, "Plan");
    // On its round button: the row is wider than the button and its text.
    QAbstractButton* thisYear = made->budgetPeriodMatrix->button(budget_period::kCurrentYear);
    QTest::mouseClick(thisYear, Qt::LeftButton, {}, QPoint(8, thisYear->height() / 2));
    click(*made, "OKButton");
    settle();
    ASSERT_NE(budgets->selectedBudget(), nullptr);
    EXPECT_EQ(budgets->selectedBudget()->mStartDate(), 20250401);
    EXPECT_EQ(budgets->selectedBudget()->mEndDate(), 20260331);

    // Unchanged, the month marks nothing.
    books().clearChangeCount();
    toolbarItem("settings");
    settings = settingsWindow();
    ASSERT_TRUE(settings && settings->isVisible());
    yearStart = outlet<QComboBox>(*settings, "mPrefYearStartPopup");
    EXPECT_EQ(yearStart->currentText().toStdString(), localized("MONTHNAME4"));
    clickPopupEntry(yearStart, QString::fromStdString(localized("MONTHNAME4")));
    EXPECT_FALSE(books().isDocumentEdited());
    click(*settings, "OKButton");
    settle();
}

TEST_F(BooksSettingsWindowTest, NewTransactionInTheToolbarBooksFromTheBudgetTab)
{
    toolbarItem("budgets");
    ASSERT_TRUE(frame().mainTab("budg")->isVisible());
    const std::size_t before = books().accounting()->Get_TransactionArray()->GetCount();
    QAction* newTransaction = frame().toolbar().itemAction("newTrans");
    ASSERT_NE(newTransaction, nullptr);
    toolbarItem("newTrans");
    ASSERT_TRUE(newTransaction->isEnabled());
    auto* sheet = dynamic_cast<CCreateTransactionPopupController*>(window().books().lastSheet());
    ASSERT_TRUE(sheet && sheet->isVisible());
    EXPECT_EQ(dynamic_cast<CCreateRecurringTrnsPopupController*>(sheet), nullptr);
    typeInto(outlet(*sheet, "mNameField"), "Newspaper");
    typeInto(outlet(*sheet, "mAmountField"), "3");
    QTest::keyClick(outlet(*sheet, "mAmountField"), Qt::Key_Tab);
    click(*sheet, "OKButton");
    settle();
    EXPECT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_EQ(books().accounting()->Get_TransactionArray()->GetCount(), before + 1);
    EXPECT_TRUE(books().isDocumentEdited());
}

// Books are kept and entered in a currency, never in a share: the settings'
// home- and input-currency pop-ups offer the currencies only.
TEST_F(BooksSettingsWindowTest, TheHomeAndInputCurrencyPopupsOfferNoShare)
{
    arguments::CurrencyArguments dollar;
    dollar.symbol = "USD";
    dollar.description = "US Dollar";
    dollar.conversionQuantity = 1;
    dollar.conversionFactor = 0.9;
    ASSERT_GT(books().commandExecutor().executeCommand(6, nullptr, dollar), 0);
    arguments::CShareArguments acme;
    acme.symbol = "ACME";
    acme.description = "Acme Corporation";
    acme.conversionQuantity = 1;
    acme.conversionFactor = 50.0;
    ASSERT_GT(books().commandExecutor().executeCommand(8, nullptr, acme), 0);

    toolbarItem("settings");
    CFilePreferenceController* settings = settingsWindow();
    ASSERT_TRUE(settings && settings->isVisible());
    for (const char* name : {"mPrefHomeCurrency", "mPrefInputCurrency"}) {
        auto* popup = outlet<QComboBox>(*settings, name);
        ASSERT_NE(popup, nullptr) << name;
        QStringList offered;
        for (int i = 0; i < popup->count(); ++i) offered << popup->itemText(i);
        EXPECT_TRUE(offered.filter("USD").size() == 1) << name << ": " << offered.join(", ").toStdString();
        EXPECT_TRUE(offered.filter("EUR").size() == 1) << name << ": " << offered.join(", ").toStdString();
        EXPECT_TRUE(offered.filter("ACME").isEmpty()) << name << ": " << offered.join(", ").toStdString();
    }
    click(*settings, "OKButton");
    settle();
}

} // namespace
} // namespace ch
