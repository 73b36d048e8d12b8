// Writes a large, realistic set of books as a document file (.books) and as a
// ledger journal (.ledger), for the benchmarks and for comparison with
// plain-text accounting tools; or reads a document file and reports how long
// that took and how much memory it needed.
//
//   generate_books [-n TRANSACTIONS] [-s SEED] [-o PREFIX]
//   generate_books --read FILE

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "large_books.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The process's peak resident memory so far, in bytes.
long PeakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: generate_books [-n TRANSACTIONS] [-s SEED] [-o PREFIX]\n"
                 "       generate_books --read FILE\n");
    return 2;
}

bool ParseCount(const char* text, std::uint32_t& out)
{
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    if (!end || *end != '\0' || value == 0 || value > 10000000) return false;
    out = static_cast<std::uint32_t>(value);
    return true;
}

void ReportAlerts(ch::bench::BenchEnvironment& environment)
{
    std::vector<long> alerts = environment.TakeAlerts();
    if (alerts.empty()) return;
    std::fprintf(stderr, "the model raised %zu alert(s), the first: %ld\n", alerts.size(), alerts.front());
}

int Read(const std::string& path)
{
    ch::bench::BenchEnvironment environment;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const long before = PeakResidentBytes();

    auto start = Clock::now();
    ch::bench::LoadedDocument loaded = ch::bench::LoadDocument(bytes);
    const double seconds = SecondsSince(start);
    const long peak = PeakResidentBytes();

    std::printf("read %s: %zu bytes, %u transactions in %.3f s; model %s, archive %s\n", path.c_str(),
                bytes.size(), loaded.root->mTransactionList->GetCount(), seconds,
                loaded.modelRead ? "complete" : "INCOMPLETE", loaded.archiveRead ? "read" : "NOT READ");
    std::printf("peak memory while reading: %.1f MB above the %.1f MB held before (%.2f x the file size)\n",
                (peak - before) / 1e6, before / 1e6, double(peak - before) / double(bytes.size()));
    ReportAlerts(environment);
    return loaded.modelRead ? 0 : 1;
}

int Generate(const ch::bench::BookSize& size, const std::string& prefix)
{
    ch::bench::BenchEnvironment environment;
    ch::bench::BookCounts counts;

    auto start = Clock::now();
    auto root = ch::bench::BuildLargeBooks(size, &counts);
    const double built = SecondsSince(start);

    start = Clock::now();
    std::vector<std::uint8_t> bytes = ch::bench::SaveDocument(*root);
    const double saved = SecondsSince(start);
    const std::string documentPath = prefix + ".books";
    if (!ch::bench::WriteFileAtomically(documentPath, bytes.data(), bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", documentPath.c_str());
        return 1;
    }

    start = Clock::now();
    std::ostringstream ledger;
    ch::bench::WriteLedger(*root, ledger);
    const std::string journal = ledger.str();
    const std::string ledgerPath = prefix + ".ledger";
    if (!ch::bench::WriteFileAtomically(ledgerPath, journal.data(), journal.size())) {
        std::fprintf(stderr, "cannot write %s\n", ledgerPath.c_str());
        return 1;
    }
    const double written = SecondsSince(start);

    std::printf("%u owners, %u account types, %u accounts, %u currencies with %u rates, %u groups, "
                "%u categories, %u transactions with %u lines, %u recurring, %u budgets\n",
                counts.owners, counts.accountTypes, counts.accounts, counts.currencies, counts.rates,
                counts.groups, counts.categories, counts.transactions, counts.lines, counts.recurring,
                counts.budgets);
    std::printf("built in %.3f s, saved in %.3f s, ledger in %.3f s\n", built, saved, written);
    std::printf("%s: %zu bytes\n%s: %zu bytes\n", documentPath.c_str(), bytes.size(), ledgerPath.c_str(),
                journal.size());
    if (counts.invalid != 0) std::fprintf(stderr, "%u transactions failed validation\n", counts.invalid);
    ReportAlerts(environment);
    return counts.invalid == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    ch::bench::BookSize size;
    std::string prefix = "books";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--read" && hasValue) return Read(argv[i + 1]);
        if (argument == "-n" && hasValue) {
            if (!ParseCount(argv[++i], size.transactions)) return Usage();
        } else if (argument == "-s" && hasValue) {
            if (!ParseCount(argv[++i], size.seed)) return Usage();
        } else if (argument == "-o" && hasValue) {
            prefix = argv[++i];
        } else {
            return Usage();
        }
    }
    return Generate(size, prefix);
}
