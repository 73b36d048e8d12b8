// The bar chart and the two-pie chart of the busiest account of the
// 100,000-transaction book: refilled from the account's line list (as a page
// does when the selection changes) and laid out at 900 x 340.

#include <benchmark/benchmark.h>

#include <memory>

#include "analysis/CBarChart.h"
#include "analysis/CPieChart.h"
#include "bridge/CAnalysisArrayEncaplusator.h"
#include "large_books.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CDocAccounting.h"

namespace ch::bench {
namespace {

struct BusiestAccount {
    BenchEnvironment environment;   // made first, so that it outlives the books
    std::unique_ptr<CDocAccounting> books = BuildLargeBooks({100000, 1});
    std::shared_ptr<CAnalysisArrayEncaplusator> lines;

    BusiestAccount()
    {
        const auto* accounts = books->mAccountList.get();
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(accounts->GetCount()); ++i) {
            auto array = std::make_shared<CAnalysisArrayEncaplusator>(accounts->ObjectAt(i));
            if (!lines || array->count() > lines->count()) lines = array;
        }
    }
};

BusiestAccount& Busiest()
{
    // Kept to the end of the process and not taken apart at exit.
    static auto* busiest = new BusiestAccount;
    return *busiest;
}

template <class Chart>
void RefillAndLayOut(benchmark::State& state)
{
    BusiestAccount& busiest = Busiest();
    auto chart = CGraph::make<Chart>();
    chart->setViewSize(900, 340);
    for (auto _ : state) {
        chart->synchronizeWithArray(busiest.lines);
        chart->layout();
        benchmark::DoNotOptimize(chart.get());
    }
    state.counters["account_lines"] = static_cast<double>(busiest.lines->count());
}

void BM_BarChartRefillAndLayout(benchmark::State& state)
{
    RefillAndLayOut<CBarChart>(state);
}
BENCHMARK(BM_BarChartRefillAndLayout)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PieChartRefillAndLayout(benchmark::State& state)
{
    RefillAndLayOut<CPieChart>(state);
}
BENCHMARK(BM_PieChartRefillAndLayout)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace ch::bench
