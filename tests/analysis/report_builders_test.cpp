#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "analysis/CBalanceSheetReportBuilder.h"
#include "analysis/CExpenseOverviewReportBuilder.h"
#include "analysis/CMORVIKReportBuilder.h"
#include "analysis/CPLStatementReportBuilder.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportChoices.h"
#include "bridge/CAcnTItem.h"
#include "report_test_support.h"

namespace ch::test {
namespace {

struct Choice {
    const char* what;
    unsigned char periodicity;
    unsigned char relative;
    long periodsAgo;
};

const std::vector<Choice> kChoices{
    {"last complete months", periodicity::kMonth, relative_period::kLastComplete, 0},
    {"current quarter", periodicity::kQuarter, relative_period::kCurrent, 0},
    {"years, two ago", periodicity::kYear, relative_period::kPeriodsAgo, 2},
    {"months, five ago", periodicity::kMonth, relative_period::kPeriodsAgo, 5},
};

class ReportBuildersTest : public ::testing::Test {
protected:
    template <class Builder>
    std::unique_ptr<CReportContents> build(const Choice& choice, Builder& builder)
    {
        builder.setDocument(&books.root);
        builder.setPerdiodicityParms(choice.periodicity, choice.relative, choice.periodsAgo, 4, 1);
        return builder.buildContents();
    }

    // The values of the one line of the style titled so, read back.
    std::vector<double> valuesOf(const CReportContents& contents, const std::string& title,
                                 const std::string& style)
    {
        const std::vector<DumpedLine> lines = linesTitled(contents, title, style);
        EXPECT_EQ(lines.size(), 1u) << title << " in " << style;
        std::vector<double> values;
        if (lines.size() == 1)
            for (const std::string& text : lines[0].values) values.push_back(amountOf(text));
        return values;
    }

    static void expectAmounts(const std::vector<double>& shown, const std::vector<double>& expected,
                              const std::string& what)
    {
        ASSERT_EQ(shown.size(), expected.size()) << what;
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_NEAR(shown[i], expected[i], 0.005) << what << ", column " << i;
    }

    ReportEnvironment env;   // before the books: their default names are localized texts
    ReportBooks books;
};

TEST_F(ReportBuildersTest, BalanceSheetShowsEachAccountsBalanceAtEachPeriodEnd)
{
    const std::vector<CAccount*> accounts{books.checking, books.joint,    books.savingsBook, books.fund,
                                          books.mortgage, books.car,      books.root.GetAccountForID(4)};
    for (const Choice& choice : kChoices) {
        CBalanceSheetReportBuilder builder;
        const auto contents = build(choice, builder);
        const CPeriods& periods = builder.reportingPeriods();
        ASSERT_EQ(periods.countOfPeriods(), 4u) << choice.what;

        auto balances = [&](std::vector<CAccount*> of) {
            std::vector<double> sums(4, 0.0);
            for (CAccount* account : of)
                for (std::size_t p = 0; p < 4; ++p)
                    sums[p] += books.accountSum(account, std::nullopt, periods.getPeriodNumber(p).dateTo());
            return sums;
        };
        for (CAccount* account : accounts) {
            const std::string name = CAcnTItem(account).getName();
            expectAmounts(valuesOf(*contents, name, "DETAIL"), balances({account}), choice.what + (": " + name));
        }
        const std::string totalFor = localized("TOTALFOR") + " ";
        expectAmounts(valuesOf(*contents, totalFor + "Banks", "LEVEL1FOOTER"), balances({books.checking, books.joint}),
                      "banks");
        const std::vector<double> assets = balances({books.car});
        const std::vector<double> property =
            balances({books.checking, books.joint, books.savingsBook, books.fund, books.root.GetAccountForID(4)});
        const std::vector<double> debts = balances({books.mortgage});
        expectAmounts(valuesOf(*contents, localized("ASSETSECTIONFOOTER"), "SECTIONFOOTER"), assets, "assets");
        expectAmounts(valuesOf(*contents, localized("PROPERTYSECTIONFOOTER"), "SECTIONFOOTER"), property, "property");
        expectAmounts(valuesOf(*contents, localized("DEBTSECTIONFOOTER"), "SECTIONFOOTER"), debts, "debts");
        std::vector<double> netWorth(4);
        for (std::size_t p = 0; p < 4; ++p) netWorth[p] = assets[p] + property[p] - debts[p];
        expectAmounts(valuesOf(*contents, localized("GRANDTOTALTITLE"), "GRANDTOTAL"), netWorth, choice.what);
    }
}

TEST_F(ReportBuildersTest, LargeBalancesKeepTheirCents)
{
    CBalanceSheetReportBuilder builder;
    const auto contents = build(kChoices[0], builder);
    const std::vector<DumpedLine> fund = linesTitled(*contents, "Millionaire Fund", "DETAIL");
    ASSERT_EQ(fund.size(), 1u);
    // Booked on 20 December 2023: in the balances of February, January and
    // December, not yet in November's.
    EXPECT_EQ(fund[0].values, (std::vector<std::string>{"1,234,567.89", "1,234,567.89", "1,234,567.89", "0.00"}));
}

TEST_F(ReportBuildersTest, ProfitAndLossShowsMovementsWithinEachPeriod)
{
    const std::vector<CAccount*> accounts{books.supermarket, books.employer, books.root.GetAccountForID(2)};
    for (const Choice& choice : kChoices) {
        CPLStatementReportBuilder builder;
        const auto contents = build(choice, builder);
        const CPeriods& periods = builder.reportingPeriods();
        std::vector<double> result(4, 0.0);
        for (CAccount* account : accounts) {
            std::vector<double> movements;
            for (std::size_t p = 0; p < 4; ++p) {
                const CPeriod& period = periods.getPeriodNumber(p);
                movements.push_back(books.accountSum(account, period.dateFrom(), period.dateTo()));
                result[p] += movements.back();
            }
            const std::string name = CAcnTItem(account).getName();
            expectAmounts(valuesOf(*contents, name, "DETAIL"), movements, choice.what + (": " + name));
        }
        expectAmounts(valuesOf(*contents, localized("PLSECTIONFOOTER"), "SECTIONFOOTER"), result, choice.what);
        // Periods are headed by their first and last day, and the statement
        // ends with its section footer.
        const std::vector<DumpedLine> lines = dump(*contents);
        const auto header = std::find_if(lines.begin(), lines.end(),
                                         [](const DumpedLine& line) { return line.style == "SECTIONHEADER"; });
        ASSERT_NE(header, lines.end());
        EXPECT_EQ(header->values[0], periods.getPeriodTitleAtIndex(0, false));
        EXPECT_EQ(lines.back().style, "SECTIONFOOTER");
        EXPECT_EQ(lines.back().title, localized("PCTEVOLUTION"));
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const DumpedLine& line) { return line.style == "break"; }),
                  0);
    }
}

TEST_F(ReportBuildersTest, ExpenseOverviewShowsCategoryTotalsAndLeavesTransfersOut)
{
    for (const Choice& choice : kChoices) {
        CExpenseOverviewReportBuilder builder;
        const auto contents = build(choice, builder);
        const CPeriods& periods = builder.reportingPeriods();
        auto totals = [&](std::vector<CExpenseType*> of) {
            std::vector<double> sums(4, 0.0);
            for (CExpenseType* category : of)
                for (std::size_t p = 0; p < 4; ++p)
                    sums[p] += books.categorySum(category, periods.getPeriodNumber(p).dateFrom(),
                                                 periods.getPeriodNumber(p).dateTo());
            return sums;
        };
        CExpenseType* transfer = books.root.GetExpenseTypeForID(3);
        for (CExpenseType* category : {books.groceries, books.restaurants, books.rent, books.salary, books.bonus, transfer})
            expectAmounts(valuesOf(*contents, category->Get_StringrefName(), "DETAIL"), totals({category}),
                          choice.what);
        const std::string totalFor = localized("TOTALFOR") + " ";
        expectAmounts(valuesOf(*contents, totalFor + "Household", "LEVEL1FOOTER"),
                      totals({books.groceries, books.restaurants, books.rent}), "household");
        const std::vector<double> income = totals({books.salary, books.bonus});
        const std::vector<double> expenses = totals({books.groceries, books.restaurants, books.rent});
        expectAmounts(valuesOf(*contents, localized("INCOMESECTIONFOOTER"), "SECTIONFOOTER"), income, "income");
        expectAmounts(valuesOf(*contents, localized("EXPENSESECTIONFOOTER"), "SECTIONFOOTER"), expenses, "expenses");
        expectAmounts(valuesOf(*contents, localized("TRANSFERSECTIONFOOTER"), "SECTIONFOOTER"), totals({transfer}),
                      "transfers");
        std::vector<double> grand(4);
        for (std::size_t p = 0; p < 4; ++p) grand[p] = income[p] - expenses[p];
        expectAmounts(valuesOf(*contents, localized("GRANDTOTALTITLE"), "GRANDTOTAL"), grand, choice.what);
    }
}

// The lines of one section, from its header to its footer's last line.
std::vector<DumpedLine> sectionOf(const CReportContents& contents, const std::string& title)
{
    const std::vector<DumpedLine> lines = dump(contents);
    auto begin = std::find_if(lines.begin(), lines.end(), [&](const DumpedLine& line) {
        return line.style == "SECTIONHEADER" && line.title == title;
    });
    auto end = std::find_if(begin, lines.end(), [&](const DumpedLine& line) {
        return line.style == "SECTIONFOOTER" && line.title == localized("PCTEVOLUTION");
    });
    return end == lines.end() ? std::vector<DumpedLine>() : std::vector<DumpedLine>(begin, end + 1);
}

// style level title, one text per line.
std::vector<std::string> outline(const std::vector<DumpedLine>& lines)
{
    std::vector<std::string> out;
    for (const DumpedLine& line : lines) out.push_back(line.style + " " + std::to_string(line.level) + " " + line.title);
    return out;
}

TEST_F(ReportBuildersTest, SectionsListTypesWithSubTypesFirstThenAccounts)
{
    CBalanceSheetReportBuilder builder;
    const auto contents = build(kChoices[0], builder);
    const std::string total = localized("TOTALFOR") + " ";
    const std::string cash = CAcnTItem(books.root.GetAccountForID(4)).getName();
    const std::string ownProperty = books.root.GetAccountTypeForId(1)->Get_StringrefName();
    // Top-level types in the reverse of the list's (name) order; type 4
    // (Savings) counts as property; sub-types one level deeper under their
    // parent, then its accounts; a type without anything totals zeros.
    EXPECT_EQ(outline(sectionOf(*contents, localized("PROPERTYSECTIONTITLE"))),
              (std::vector<std::string>{
                  "SECTIONHEADER 1 " + localized("PROPERTYSECTIONTITLE"),
                  "LEVEL1HEADER 1 ",
                  "LEVEL1HEADER 1 Savings",
                  "DETAIL 2 Millionaire Fund",
                  "DETAIL 2 Savings Book",
                  "LEVEL1HEADER 1 ",
                  "LEVEL1FOOTER 1 " + total + "Savings",
                  "LEVEL1HEADER 1 " + ownProperty,
                  "DETAIL 2 " + cash,
                  "LEVEL1HEADER 1 ",
                  "LEVEL1FOOTER 1 " + total + ownProperty,
                  "LEVEL1HEADER 1 Empty Folder",
                  "LEVEL1HEADER 1 ",
                  "LEVEL1FOOTER 1 " + total + "Empty Folder",
                  "LEVEL1HEADER 1 Banks",
                  "LEVEL1HEADER 2 Current Accounts",
                  "DETAIL 3 Current Account",
                  "DETAIL 3 Joint Account",
                  "LEVEL1HEADER 1 ",
                  "LEVEL1FOOTER 2 " + total + "Current Accounts",
                  "LEVEL1HEADER 1 ",
                  "LEVEL1FOOTER 1 " + total + "Banks",
                  "LEVEL1HEADER 1 ",
                  "SECTIONFOOTER 1 " + localized("PROPERTYSECTIONFOOTER"),
                  "SECTIONFOOTER 1 " + localized("EVOLUTION"),
                  "SECTIONFOOTER 1 " + localized("PCTEVOLUTION"),
              }));
    EXPECT_EQ(linesTitled(*contents, total + "Empty Folder")[0].values,
              (std::vector<std::string>{"0.00", "0.00", "0.00", "0.00"}));
    // Master type 5 lands among the debts.
    const std::vector<std::string> debts = outline(sectionOf(*contents, localized("DEBTSECTIONTITLE")));
    EXPECT_NE(std::find(debts.begin(), debts.end(), "LEVEL1HEADER 1 Loans"), debts.end());

    // The balance sheet: header, blank, three sections each followed by a
    // break, then the grand totals; headings are positions at each period's end.
    const std::vector<DumpedLine> lines = dump(*contents);
    EXPECT_EQ(lines[0].style, "REPORTHEADER");
    EXPECT_EQ(lines[0].title, localized("BALANCESHEET"));
    EXPECT_EQ(contents->title(), localized("BALANCESHEET"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const DumpedLine& line) { return line.style == "break"; }),
              3);
    EXPECT_EQ(outline({lines.end() - 4, lines.end()}),
              (std::vector<std::string>{"break 1 ", "GRANDTOTAL 1 " + localized("GRANDTOTALTITLE"),
                                        "GRANDTOTAL 1 " + localized("EVOLUTION"),
                                        "GRANDTOTAL 1 " + localized("PCTEVOLUTION")}));
    EXPECT_EQ(linesTitled(*contents, localized("ASSETSECTIONTITLE"))[0].values[3],
              localized("POSITION") + " \r\n 30.11.2023");
}

TEST_F(ReportBuildersTest, EvolutionLinesCompareEachPeriodWithTheOneBefore)
{
    CBalanceSheetReportBuilder builder;
    const auto contents = build(kChoices[0], builder);
    const std::vector<double> totals = valuesOf(*contents, localized("DEBTSECTIONFOOTER"), "SECTIONFOOTER");
    const std::vector<DumpedLine> section = sectionOf(*contents, localized("DEBTSECTIONTITLE"));
    ASSERT_GE(section.size(), 2u);
    const DumpedLine& change = section[section.size() - 2];
    const DumpedLine& ratio = section.back();
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(amountOf(change.values[i]), totals[i] - totals[i + 1], 0.005) << i;
        // "%8.2f%%": the ratio in percent, padded to eight.
        char expected[32];
        std::snprintf(expected, sizeof expected, "%8.2f%%", totals[i] / totals[i + 1] * 100.0);
        EXPECT_EQ(ratio.values[i], expected) << i;
    }
    // The last column has no earlier period beside it.
    EXPECT_EQ(change.values[3], "0.00");
    EXPECT_EQ(ratio.values[3], "    0.00%");
    // The grand total's ratio is a percentage too.
    const std::vector<DumpedLine> grandRatio = linesTitled(*contents, localized("PCTEVOLUTION"), "GRANDTOTAL");
    ASSERT_EQ(grandRatio.size(), 1u);
    for (const std::string& text : grandRatio[0].values) EXPECT_EQ(text.back(), '%') << text;
}

// Evolution lines against sums of the booking lines, on books holding only
// the case's bookings: a period whose total cancels to a binary remainder
// (0.10 + 0.20 in, 0.30 out) counts as 0, a change from 0 is the whole
// amount, and no ratio overflows its column.
TEST_F(ReportBuildersTest, EvolutionLinesAcrossPeriodsWhoseTotalCancels)
{
    struct Booking {
        DateT date;
        const char* from;
        const char* to;
        double amount;
    };
    struct Case {
        const char* what;
        bool balanceSheet;
        std::vector<Booking> bookings;
    };
    // Months shown: February, January, December, November.
    const std::vector<Case> cases{
        {"debt paid off in January",
         true,
         {{20240110, "Current Account", "Mortgage", 0.10},
          {20240111, "Current Account", "Mortgage", 0.20},
          {20240112, "Mortgage", "Current Account", 0.30},
          {20240205, "Current Account", "Mortgage", 5.00}}},
        {"debt of many cents paid off in December",
         true,
         {{20231201, "Current Account", "Mortgage", 0.70},
          {20231202, "Current Account", "Mortgage", 0.10},
          {20231203, "Current Account", "Mortgage", 0.20},
          {20231204, "Current Account", "Mortgage", 0.30},
          {20231205, "Mortgage", "Current Account", 1.30},
          {20240115, "Current Account", "Mortgage", 12.34},
          {20240215, "Current Account", "Mortgage", 0.01}}},
        {"result from nothing", false, {{20240201, "Employer", "Current Account", 3914.60}}},
        {"result that cancels in January",
         false,
         {{20240102, "Employer", "Current Account", 0.10},
          {20240103, "Employer", "Current Account", 0.20},
          {20240104, "Current Account", "Employer", 0.30},
          {20240202, "Employer", "Current Account", 7.00}}},
    };
    for (const Case& c : cases) {
        ReportBooks quiet(false);
        std::map<std::string, CAccount*> accounts{{"Current Account", quiet.checking},
                                                   {"Mortgage", quiet.mortgage},
                                                   {"Employer", quiet.employer}};
        for (const Booking& b : c.bookings)
            quiet.book(b.date, accounts[b.from], accounts[b.to], b.amount, c.balanceSheet ? nullptr : quiet.salary);
        quiet.root.mTransactionList->SetNotSorted();
        quiet.root.mTransactionList->Sort();

        CBalanceSheetReportBuilder sheet;
        CPLStatementReportBuilder statement;
        CMORVIKReportBuilder& builder = c.balanceSheet ? static_cast<CMORVIKReportBuilder&>(sheet) : statement;
        builder.setDocument(&quiet.root);
        builder.setPerdiodicityParms(periodicity::kMonth, relative_period::kLastComplete, 0, 4, 1);
        const auto contents = builder.buildContents();
        const CPeriods& periods = builder.reportingPeriods();
        CAccount* subject = c.balanceSheet ? quiet.mortgage : quiet.employer;
        std::vector<double> sums;
        for (std::size_t p = 0; p < 4; ++p) {
            const CPeriod& period = periods.getPeriodNumber(p);
            sums.push_back(quiet.accountSum(subject, c.balanceSheet ? std::nullopt : std::optional(period.dateFrom()),
                                            period.dateTo()));
        }
        const std::string title = localized(c.balanceSheet ? "DEBTSECTIONTITLE" : "PLSECTIONTITLE");
        const std::vector<DumpedLine> section = sectionOf(*contents, title);
        ASSERT_GE(section.size(), 2u) << c.what;
        const DumpedLine& change = section[section.size() - 2];
        const DumpedLine& ratio = section.back();
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(amountOf(change.values[i]), sums[i] - sums[i + 1], 0.005) << c.what << ", column " << i;
            char expected[32];
            const bool fromNothing = std::fabs(sums[i + 1]) < 0.005;
            std::snprintf(expected, sizeof expected, "%8.2f%%", fromNothing ? 0.0 : sums[i] / sums[i + 1] * 100.0);
            EXPECT_EQ(ratio.values[i], expected) << c.what << ", column " << i;
            EXPECT_LE(ratio.values[i].size(), 12u) << c.what;
        }
        EXPECT_EQ(change.values[3], "0.00") << c.what;
    }
}

TEST_F(ReportBuildersTest, ChoicesOfTheReportsPageMakeTheMatchingReport)
{
    struct Case {
        int report;
        std::string title;
    };
    for (const Case& c : std::vector<Case>{{0, localized("BALANCESHEET")},
                                          {1, localized("PLSTATEMENTREPORTTITLE")},
                                          {2, localized("EXPENSEREPORTTITLE")},
                                          {7, ""}}) {
        const auto contents = buildReport(&books.root, ReportChoices{c.report, 1, 1, 0});
        EXPECT_EQ(contents->title(), c.title) << c.report;
        EXPECT_EQ(contents->count() == 0, c.report == 7) << c.report;
    }
    // Periods ago with N = 1 is the last complete period.
    const auto lastComplete = buildReport(&books.root, ReportChoices{1, 0, 1, 0});
    const auto oneAgo = buildReport(&books.root, ReportChoices{1, 0, 2, 1});
    EXPECT_EQ(dump(*lastComplete).size(), dump(*oneAgo).size());
    EXPECT_EQ(outline(dump(*lastComplete)), outline(dump(*oneAgo)));
    EXPECT_EQ(linesTitled(*lastComplete, localized("PLSECTIONTITLE"))[0].values,
              linesTitled(*oneAgo, localized("PLSECTIONTITLE"))[0].values);
    EXPECT_EQ(periodicityOfChoice(0), periodicity::kMonth);
    EXPECT_EQ(periodicityOfChoice(1), periodicity::kQuarter);
    EXPECT_EQ(periodicityOfChoice(2), periodicity::kYear);
    EXPECT_EQ(periodicityOfChoice(3), 0);
    // Without books, a report of empty sections.
    const auto none = buildReport(nullptr, ReportChoices{0, 0, 1, 0});
    EXPECT_EQ(linesTitled(*none, localized("GRANDTOTALTITLE"))[0].values,
              (std::vector<std::string>{"0.00", "0.00", "0.00", "0.00"}));
}

} // namespace
} // namespace ch::test
