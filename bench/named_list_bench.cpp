// Named object lists at the size of large books: 100,000 accounts appended
// (each insertion checks that its id is free), looked up by id and removed
// again, newest first (the way undo and deletion of recent objects go).
// Belongs with the benchmarks of bench/ (countinghouse_bench).

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"

namespace ch {
namespace {

class BenchAccount : public CNonVisual {
public:
    explicit BenchAccount(ObjectIdT id) : CNonVisual(id) { SetObjectType(type::kAccount); }
};

std::vector<std::unique_ptr<BenchAccount>> MakeAccounts(std::size_t count)
{
    std::vector<std::unique_ptr<BenchAccount>> accounts;
    accounts.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        accounts.push_back(std::make_unique<BenchAccount>(static_cast<ObjectIdT>(1000000 + i)));
    return accounts;
}

void BM_NamedListInsertLookUpRemove(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    auto accounts = MakeAccounts(count);
    for (auto _ : state) {
        CNamedListArray list;
        for (auto& account : accounts) list.AppendObject(account.get());
        for (auto& account : accounts) benchmark::DoNotOptimize(list.GetValueForId(account->Get_Id()));
        for (auto it = accounts.rbegin(); it != accounts.rend(); ++it) list.RemoveObject(it->get());
        benchmark::DoNotOptimize(list.GetCount());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}
BENCHMARK(BM_NamedListInsertLookUpRemove)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NamedListRenumberedLookUp(benchmark::State& state)
{
    // An id change of a listed object sends every list back to a full rebuild
    // of its index once; the look-ups after it are constant time again.
    const auto count = static_cast<std::size_t>(state.range(0));
    auto accounts = MakeAccounts(count);
    CNamedListArray list;
    for (auto& account : accounts) list.AppendObject(account.get());
    ObjectIdT next = 5000000;
    for (auto _ : state) {
        accounts.front()->Put_Id(next++);
        for (std::size_t i = 0; i < count; i += 100) benchmark::DoNotOptimize(list.GetValueForId(accounts[i]->Get_Id()));
    }
    list.RemoveItemsAt(list.GetCount(), 1);
}
BENCHMARK(BM_NamedListRenumberedLookUp)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ch
