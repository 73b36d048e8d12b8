// The model on large books: reading and saving the document file (the model
// alone, and through the document with its registry, item arrays and file
// container), the check of the books that reading ends with, posting and unposting one transaction, the analysis list of a busy account and of
// a whole category group, and look-ups by id and by name. The books are
// those of the generator (fixed seed), made once per size and kept.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/DocumentFile.h"
#include "document/MyDocument.h"
#include "large_books.h"
#include "model/BooksCheck.h"
#include "model/BooksDamage.h"
#include "model/CAccount.h"
#include "model/CAnalysisArray.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/CTransactionDetailComparator.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/dispatcher.h"

#include <filesystem>
#include <unistd.h>

namespace ch::bench {
namespace {

constexpr std::uint32_t kLarge = 100000;
// The size opening is held to at most three model reads at.
constexpr std::uint32_t kMillion = 1000000;

struct Books {
    std::vector<std::uint8_t> bytes;        // the document file
    std::unique_ptr<CDocAccounting> root;   // the books read back from it
    BookCounts counts;
};

BenchEnvironment& Environment()
{
    static BenchEnvironment environment;
    return environment;
}

// The books of a size: generated, saved and read back once.
Books& BooksOf(std::uint32_t transactions)
{
    Environment();   // made first, so that it outlives the books
    // Kept to the end of the process and not taken apart at exit.
    static auto* cache = new std::map<std::uint32_t, std::unique_ptr<Books>>;
    auto& slot = (*cache)[transactions];
    if (!slot) {
        slot = std::make_unique<Books>();
        auto generated = BuildLargeBooks({transactions, 1}, &slot->counts);
        slot->bytes = SaveDocument(*generated);
        generated.reset();
        LoadedDocument loaded = LoadDocument(slot->bytes);
        if (!loaded.modelRead || loaded.root->mTransactionList->GetCount() != transactions)
            throw std::runtime_error("the generated document does not read back");
        slot->root = std::move(loaded.root);
    }
    return *slot;
}

void Describe(benchmark::State& state, const Books& books)
{
    state.counters["file_MB"] = double(books.bytes.size()) / 1e6;
    state.counters["lines"] = double(books.counts.lines);
}

void BM_ReadDocument(benchmark::State& state)
{
    const auto transactions = static_cast<std::uint32_t>(state.range(0));
    Books& books = BooksOf(transactions);
    for (auto _ : state) {
        LoadedDocument loaded = LoadDocument(books.bytes);
        state.PauseTiming();
        if (!loaded.modelRead || !loaded.archiveRead) state.SkipWithError("the document did not read");
        loaded.root.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * transactions);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(books.bytes.size()));
    Describe(state, books);
}
BENCHMARK(BM_ReadDocument)->Arg(1000)->Arg(10000)->Arg(kLarge)->Arg(kMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

// The check of the books as a whole that reading ends with (part of
// BM_ReadDocument): ids, lines, balances and references of every object.
void BM_CheckBooks(benchmark::State& state)
{
    const auto transactions = static_cast<std::uint32_t>(state.range(0));
    Books& books = BooksOf(transactions);
    for (auto _ : state) {
        BooksDamage damage;
        CheckBooks(*books.root, damage);
        if (!damage.Empty()) state.SkipWithError("the generated books are found damaged");
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * transactions);
    Describe(state, books);
}
BENCHMARK(BM_CheckBooks)->Arg(10000)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveDocument(benchmark::State& state)
{
    const auto transactions = static_cast<std::uint32_t>(state.range(0));
    Books& books = BooksOf(transactions);
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = SaveDocument(*books.root);
        benchmark::DoNotOptimize(bytes.data());
        if (bytes.size() != books.bytes.size()) state.SkipWithError("saving changed the document");
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * transactions);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(books.bytes.size()));
    Describe(state, books);
}
BENCHMARK(BM_SaveDocument)->Arg(1000)->Arg(10000)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Closing the books: the root and every object it owns go, as when the
// document's window closes.
void BM_CloseDocument(benchmark::State& state)
{
    const auto transactions = static_cast<std::uint32_t>(state.range(0));
    Books& books = BooksOf(transactions);
    for (auto _ : state) {
        state.PauseTiming();
        LoadedDocument loaded = LoadDocument(books.bytes);
        if (!loaded.modelRead) state.SkipWithError("the document did not read");
        state.ResumeTiming();
        loaded.root.reset();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * transactions);
    Describe(state, books);
}
BENCHMARK(BM_CloseDocument)->Arg(1000)->Arg(10000)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening through the document: the same bytes read into a new document,
// whose item registry and arrays are then filled (no file, no journal).
void BM_OpenDocument(benchmark::State& state)
{
    const auto transactions = static_cast<std::uint32_t>(state.range(0));
    Books& books = BooksOf(transactions);
    ManualDispatcher dispatcher;
    for (auto _ : state) {
        auto document = std::make_unique<MyDocument>(dispatcher);
        FileOutcome outcome = loadDataRepresentation(*document, books.bytes);
        state.PauseTiming();
        if (!outcome.ok() || document->mTransactionArray().size() != transactions)
            state.SkipWithError("the document did not open");
        document.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * transactions);
    Describe(state, books);
}
BENCHMARK(BM_OpenDocument)->Arg(1000)->Arg(10000)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Saving through the document: the bytes of its file, from an opened document.
void BM_SaveOpenedDocument(benchmark::State& state)
{
    const auto transactions = static_cast<std::uint32_t>(state.range(0));
    Books& books = BooksOf(transactions);
    ManualDispatcher dispatcher;
    MyDocument document(dispatcher);
    if (!loadDataRepresentation(document, books.bytes).ok()) state.SkipWithError("the document did not open");
    for (auto _ : state) {
        DocumentBytes made = dataRepresentation(document);
        benchmark::DoNotOptimize(made.bytes.data());
        if (made.bytes.size() != books.bytes.size()) state.SkipWithError("saving changed the document");
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * transactions);
    Describe(state, books);
}
BENCHMARK(BM_SaveOpenedDocument)->Arg(1000)->Arg(10000)->Arg(kLarge)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the document file as the window does (readFromFile): the file
// read, the model read from its bytes, the document's registry and item
// arrays filled. The document is taken apart outside the timing; compare
// with BM_ReadDocument of the same size, measured in the same run.
void BM_OpenDocumentFile(benchmark::State& state)
{
    const auto transactions = static_cast<std::uint32_t>(state.range(0));
    Books& books = BooksOf(transactions);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("bench-open-" + std::to_string(::getpid()) + "-" + std::to_string(transactions) + ".books"))
                                 .string();
    if (!writeFileAtomically(path, books.bytes).ok()) state.SkipWithError("no file to open");
    ManualDispatcher dispatcher;
    for (auto _ : state) {
        auto document = std::make_unique<MyDocument>(dispatcher);
        const bool opened = readFromFile(*document, path).ok();
        state.PauseTiming();
        if (!opened || document->accounting()->mTransactionList->GetCount() != transactions)
            state.SkipWithError("the document did not open");
        document.reset();
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
    std::filesystem::remove(backupPathForDocument(path));
    state.SetItemsProcessed(std::int64_t(state.iterations()) * transactions);
    Describe(state, books);
}
BENCHMARK(BM_OpenDocumentFile)->Arg(kLarge)->Arg(kMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole round through a file on disk: open from the file, then save over
// it (temporary file, flush to the disk, backup, rename).
void BM_OpenAndSaveDocumentFile(benchmark::State& state)
{
    Books& books = BooksOf(kLarge);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("bench-" + std::to_string(::getpid()) + ".books")).string();
    if (!writeFileAtomically(path, books.bytes).ok()) state.SkipWithError("no file to open");
    ManualDispatcher dispatcher;
    for (auto _ : state) {
        MyDocument document(dispatcher);
        bool done = readFromFile(document, path).ok();
        document.updateChangeCount();
        done = done && saveDocument(document).ok();
        if (!done) state.SkipWithError("the file did not open and save");
    }
    std::filesystem::remove(path);
    std::filesystem::remove(backupPathForDocument(path));
    Describe(state, books);
}
BENCHMARK(BM_OpenAndSaveDocumentFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Unposts a transaction from the middle of the large book (out of every
// balance, into the unlinked list) and posts it again, which puts it in
// front of the transaction list. Every round takes the transaction then in
// the middle, so that each one is found and moved the long way.
void BM_UnpostAndPostTransaction(benchmark::State& state)
{
    CDocAccounting& root = *BooksOf(kLarge).root;
    for (auto _ : state) {
        auto* transaction = static_cast<CTransaction*>(root.mTransactionList->ObjectAt(kLarge / 2));
        if (!root.UnlinkTrans(transaction) || !root.LinkTrans(transaction)) {
            state.SkipWithError("the transaction did not move");
            break;
        }
    }
    if (root.mTransactionList->GetCount() != kLarge) state.SkipWithError("the list changed");
}
BENCHMARK(BM_UnpostAndPostTransaction)->Unit(benchmark::kMicrosecond);

// Deletes a credit card account with all its transactions (about 3,300 of
// the 100,000) from a freshly read copy of the large book.
void BM_DeleteAccountWithItsTransactions(benchmark::State& state)
{
    Books& books = BooksOf(kLarge);
    const bool batch = CErrorManager::GetMode();
    CErrorManager::SetMode(true);   // the question whether to delete them all answers yes
    std::uint32_t deleted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LoadedDocument copy = LoadDocument(books.bytes);
        CAccount* account = copy.root->GetAccountForName(std::string_view("Mastercard"));
        const std::uint32_t before = copy.root->mTransactionList->GetCount();
        state.ResumeTiming();
        if (!account || !copy.root->DeleteObject(account)) {
            state.SkipWithError("the account was not deleted");
            break;
        }
        state.PauseTiming();
        deleted = before - copy.root->mTransactionList->GetCount();
        copy.root.reset();
        state.ResumeTiming();
    }
    CErrorManager::SetMode(batch);
    state.counters["transactions"] = deleted;
}
BENCHMARK(BM_DeleteAccountWithItsTransactions)->Unit(benchmark::kMillisecond)->Iterations(3);

// The account with the most lines.
CAccount* BusiestAccount(CDocAccounting& root)
{
    CAccount* busiest = nullptr;
    std::uint32_t most = 0;
    const auto count = static_cast<ArrayIndexT>(root.mAccountList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        auto* account = static_cast<CAccount*>(root.mAccountList->ObjectAt(i));
        std::uint32_t lines = account->Get_mDebitlist()->GetCount() + account->Get_mCreditList()->GetCount();
        if (lines > most) {
            most = lines;
            busiest = account;
        }
    }
    return busiest;
}

void RunAnalysis(benchmark::State& state, CNonVisual* object)
{
    std::uint32_t lines = 0;
    for (auto _ : state) {
        CAnalysisArray analysis(new CTransactionDetailComparator, false);
        analysis.InitFromObject(object, true);
        analysis.Finalize();
        lines = analysis.GetCount();
    }
    state.counters["lines"] = lines;
    state.SetItemsProcessed(std::int64_t(state.iterations()) * lines);
}

void BM_AnalysisListOfBusyAccount(benchmark::State& state)
{
    RunAnalysis(state, BusiestAccount(*BooksOf(kLarge).root));
}
BENCHMARK(BM_AnalysisListOfBusyAccount)->Unit(benchmark::kMillisecond);

// Every expense category, through the tree of groups below "Expense".
void BM_AnalysisListOfExpenseGroup(benchmark::State& state)
{
    CDocAccounting& root = *BooksOf(kLarge).root;
    RunAnalysis(state, root.GetMasterExpenseTypeForId(1));
}
BENCHMARK(BM_AnalysisListOfExpenseGroup)->Unit(benchmark::kMillisecond);

// Ids and names to look up, spread over the lists.
struct Keys {
    std::vector<ObjectIdT> accounts, categories, currencies, transactions;
    std::vector<std::string> accountNames, categoryNames, ownerNames;
};

Keys KeysOf(CDocAccounting& root)
{
    Keys keys;
    auto each = [](CNamedListArray& list, std::uint32_t step, auto&& take) {
        const auto count = static_cast<ArrayIndexT>(list.GetCount());
        for (ArrayIndexT i = 1; i <= count; i += static_cast<ArrayIndexT>(step)) take(list.ObjectAt(i));
    };
    each(*root.mAccountList, 1, [&](CNonVisual* o) {
        keys.accounts.push_back(o->Get_Id());
        keys.accountNames.push_back(static_cast<CAccount*>(o)->Get_StringrefName());
    });
    each(*root.mExpenseTypeList, 1, [&](CNonVisual* o) {
        keys.categories.push_back(o->Get_Id());
        keys.categoryNames.push_back(o->Get_StringrefName());
    });
    each(*root.mCurrencyList, 1, [&](CNonVisual* o) { keys.currencies.push_back(o->Get_Id()); });
    each(*root.mAccountOwnerList, 1, [&](CNonVisual* o) { keys.ownerNames.push_back(o->Get_StringrefName()); });
    each(*root.mTransactionList, 97, [&](CNonVisual* o) { keys.transactions.push_back(o->Get_Id()); });
    return keys;
}

void BM_LookUpById(benchmark::State& state)
{
    CDocAccounting& root = *BooksOf(kLarge).root;
    const Keys keys = KeysOf(root);
    std::int64_t lookUps = 0;
    for (auto _ : state) {
        for (ObjectIdT id : keys.accounts) benchmark::DoNotOptimize(root.GetAccountForID(id));
        for (ObjectIdT id : keys.categories) benchmark::DoNotOptimize(root.GetExpenseTypeForID(id));
        for (ObjectIdT id : keys.currencies) benchmark::DoNotOptimize(root.GetCurrencyForId(id));
        for (ObjectIdT id : keys.transactions) benchmark::DoNotOptimize(root.mTransactionList->GetValueForId(id));
        lookUps += std::int64_t(keys.accounts.size() + keys.categories.size() + keys.currencies.size() +
                                keys.transactions.size());
    }
    state.SetItemsProcessed(lookUps);
}
BENCHMARK(BM_LookUpById)->Unit(benchmark::kMicrosecond);

void BM_LookUpByName(benchmark::State& state)
{
    CDocAccounting& root = *BooksOf(kLarge).root;
    const Keys keys = KeysOf(root);
    std::int64_t lookUps = 0;
    for (auto _ : state) {
        for (const auto& name : keys.accountNames) benchmark::DoNotOptimize(root.GetAccountForName(name));
        for (const auto& name : keys.categoryNames) benchmark::DoNotOptimize(root.GetExpenseTypeForName(name));
        for (const auto& name : keys.ownerNames) benchmark::DoNotOptimize(root.GetAccountOwnerForName(name));
        benchmark::DoNotOptimize(root.GetCurrencyForSymbol(std::string_view("CHF")));
        lookUps += std::int64_t(keys.accountNames.size() + keys.categoryNames.size() + keys.ownerNames.size() + 1);
    }
    state.SetItemsProcessed(lookUps);
}
BENCHMARK(BM_LookUpByName)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ch::bench
