// The reports of the reports page on the 100,000-transaction book: the
// balance sheet, the profit-and-loss statement and the expense overview,
// each built from the books into a page model (four monthly columns, the
// last complete months), and the layout of the balance sheet's page model.

#include <benchmark/benchmark.h>

#include <memory>

#include "analysis/CBalanceSheetReportBuilder.h"
#include "analysis/CExpenseOverviewReportBuilder.h"
#include "analysis/CPLStatementReportBuilder.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportCanvas.h"
#include "large_books.h"
#include "model/CDocAccounting.h"

namespace ch::bench {
namespace {

constexpr std::uint32_t kLarge = 100000;

CDocAccounting& LargeBooks()
{
    static BenchEnvironment environment;   // made first, so that it outlives the books
    // Kept to the end of the process and not taken apart at exit.
    static CDocAccounting* books = BuildLargeBooks({kLarge, 1}).release();
    return *books;
}

template <class Builder>
void BuildReport(benchmark::State& state)
{
    CDocAccounting& books = LargeBooks();
    std::size_t lines = 0;
    for (auto _ : state) {
        Builder builder;
        builder.setDocument(&books);
        builder.setPerdiodicityParms(periodicity::kMonth, relative_period::kLastComplete, 0, 4, 1);
        const std::unique_ptr<CReportContents> contents = builder.buildContents();
        lines = contents->count();
        benchmark::DoNotOptimize(contents.get());
    }
    state.counters["report_lines"] = static_cast<double>(lines);
}

void BM_BalanceSheet(benchmark::State& state)
{
    BuildReport<CBalanceSheetReportBuilder>(state);
}
BENCHMARK(BM_BalanceSheet)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProfitAndLossStatement(benchmark::State& state)
{
    BuildReport<CPLStatementReportBuilder>(state);
}
BENCHMARK(BM_ProfitAndLossStatement)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExpenseOverview(benchmark::State& state)
{
    BuildReport<CExpenseOverviewReportBuilder>(state);
}
BENCHMARK(BM_ExpenseOverview)->Unit(benchmark::kMillisecond)->UseRealTime();

// Sizes that follow from the text alone: the layout's own cost.
class CountingMeasurer : public ReportTextMeasurer {
public:
    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override
    {
        return {static_cast<float>(text.size()) * attributes.font.size * 0.5f, attributes.font.size * 1.25f};
    }
};

void BM_LayOutBalanceSheet(benchmark::State& state)
{
    CBalanceSheetReportBuilder builder;
    builder.setDocument(&LargeBooks());
    builder.setPerdiodicityParms(periodicity::kMonth, relative_period::kLastComplete, 0, 4, 1);
    const std::unique_ptr<CReportContents> contents = builder.buildContents();
    CountingMeasurer measurer;
    for (auto _ : state) benchmark::DoNotOptimize(contents->reportSizeForScreenDisplay(false, 451, 662, measurer));
    state.counters["report_lines"] = static_cast<double>(contents->count());
}
BENCHMARK(BM_LayOutBalanceSheet)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ch::bench
