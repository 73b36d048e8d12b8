#pragma once
// The random-books test's own reckoning of what its steps must have done to
// the books, and what the books hold that it does not say.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "model/CCurrency.h"
#include "model/CRecurringTransaction.h"
#include "model/foundation/CDate.h"
#include "model/foundation/AmountRounding.h"

namespace ch::test {
namespace {

std::string money(std::optional<double> value)
{
    if (!value) return "none";
    if (*value == kNoLinkedTransactionMarker) return "(nothing linked)";
    if (*value == kCreditNoteLinkedMarker) return "(credit note linked)";
    char text[64];
    const double rounded = std::round(*value * 100.0) / 100.0;
    std::snprintf(text, sizeof text, "%.2f", rounded == 0.0 ? 0.0 : rounded);
    return text;
}

// An invoice's total: its net and its VAT, the VAT booked to the cent,
// halves away from zero on its decimal value.
double invoiceTotal(double net, double rate) { return net + roundedAmount(rate * net / 100.0, 2); }

// What the steps must have done to the books, reckoned by the test itself
// from what each step sent and not read back from the program.
struct Ledger {
    // An own account of money: what its lines add up to in its own currency,
    // to side less from side. Unknown once a step books on it what the test
    // does not reckon (a business booking, a conversion between currencies).
    struct Account {
        std::string name;
        double net = 0.0;
        bool known = true;
    };
    std::map<ObjectIdT, Account> accounts;
    // What each transaction the test reckons puts on own accounts, by its
    // name (the steps name every transaction they make apart).
    std::map<std::string, std::vector<std::pair<ObjectIdT, double>>> transactions;
    // Shares held, by symbol, and what each deal's transaction put in them,
    // by its id (deals share their names); a share whose deal was changed in
    // the transaction sheet is no longer reckoned.
    std::map<std::string, double> holdings;
    std::map<ObjectIdT, std::pair<std::string, double>> deals;
    std::set<std::string> sharesUnknown;
    // A customer's or supplier's invoice by name: its total and the payments
    // linked to it, by name. Unknown once a step changes it in a way the test
    // does not reckon.
    // Its open amount is in the home currency's amounts of its lines, so
    // a change of the home currency leaves it unreckoned.
    struct Invoice {
        double total = 0.0;
        std::map<std::string, double> payments;
        bool known = true;
        bool openKnown = true;
    };
    std::map<std::string, Invoice> invoices;
    // Recurring templates by name, with what their schedule says: monthly
    // on a day, weekly on a weekday (0 Monday .. 6 Sunday) or once, the date
    // their copies follow from, and whether they are switched on.
    struct Template {
        long kind = 0;
        bool on = true;
        int day = 1;
        int weekday = 0;
        long last = 0;
        bool known = true;
    };
    std::map<std::string, Template> templates;
    // What a step did that it must not have done (a question answered Cancel
    // that still changed the books, a change not marked as an edit).
    std::vector<std::string> faults;

    void book(const std::string& transaction, ObjectIdT account, double toLessFrom)
    {
        auto found = accounts.find(account);
        if (found == accounts.end()) return;
        found->second.net += toLessFrom;
        transactions[transaction].emplace_back(account, toLessFrom);
    }
    // A new home currency (by its step or the settings window) converts the
    // home amounts open amounts are reckoned in.
    void homeCurrencyChanged()
    {
        for (auto& [name, invoice] : invoices) invoice.openKnown = false;
    }
    void forget(ObjectIdT account)
    {
        if (auto found = accounts.find(account); found != accounts.end()) found->second.known = false;
    }
    // The transaction is gone: what it put on the accounts goes with it.
    void unbook(const std::string& transaction)
    {
        auto found = transactions.find(transaction);
        if (found == transactions.end()) return;
        for (const auto& [account, amount] : found->second)
            if (auto own = accounts.find(account); own != accounts.end()) own->second.net -= amount;
        transactions.erase(found);
    }
};



constexpr long kNoNextCopy = 99999999;

std::chrono::sys_days daysOf(long date)
{
    return std::chrono::year_month_day{std::chrono::year{static_cast<int>(date / 10000)},
                                       std::chrono::month{static_cast<unsigned>(date / 100 % 100)},
                                       std::chrono::day{static_cast<unsigned>(date % 100)}};
}
long dateOf(std::chrono::sys_days days)
{
    const std::chrono::year_month_day ymd{days};
    return static_cast<int>(ymd.year()) * 10000L + static_cast<unsigned>(ymd.month()) * 100L + static_cast<unsigned>(ymd.day());
}

// The date of the next copy after `last`, counted from the day after it.
long nextCopyAfter(const Ledger::Template& schedule, long last)
{
    const std::chrono::sys_days start = daysOf(last) + std::chrono::days{1};
    if (schedule.kind == recurring_type::kWeekly) {
        // Monday is 0 here, 1 in the calendar's count from Sunday.
        const std::chrono::weekday wanted{static_cast<unsigned>(schedule.weekday + 1) % 7};
        return dateOf(start + (wanted - std::chrono::weekday{start}));
    }
    if (schedule.kind == recurring_type::kMonthly) {
        std::chrono::year_month_day ymd{start};
        if (static_cast<unsigned>(ymd.day()) > static_cast<unsigned>(schedule.day)) ymd += std::chrono::months{1};
        return dateOf(std::chrono::year_month_day{ymd.year(), ymd.month(), std::chrono::day{static_cast<unsigned>(schedule.day)}});
    }
    return kNoNextCopy;
}

// The next copy's date once the template made every copy due by `today`.
long nextCopyDue(const Ledger::Template& schedule, long today)
{
    long last = schedule.last;
    if (schedule.on)
        for (long next = nextCopyAfter(schedule, last); next != kNoNextCopy && next <= today; next = nextCopyAfter(schedule, last))
            last = next;
    return nextCopyAfter(schedule, last);
}

std::shared_ptr<CAcnTItem> accountNamedIn(MyDocument& doc, const std::string& name)
{
    for (const auto& item : doc.allAccounts())
        if (item->getSourceItem() && item->getNameOnly() == name) return item;
    return nullptr;
}
std::shared_ptr<CAcnTItem> accountWithIdIn(MyDocument& doc, ObjectIdT id)
{
    for (const auto& item : doc.allAccounts())
        if (item->getSourceItem() && item->getId() == std::optional<long>(id)) return item;
    return nullptr;
}
std::shared_ptr<CTrnSItem> transactionNamedIn(MyDocument& doc, const std::string& name)
{
    for (const auto& item : doc.mTransactionArray())
        if (item->getSourceItem() && item->getName() == name) return item;
    return nullptr;
}

// What the books hold that the ledger does not say; empty when they agree.
std::string ledgerDifferences(const Ledger& ledger, MyDocument& doc)
{
    std::string out;
    for (const std::string& fault : ledger.faults) out += fault + "\n";
    for (const auto& [id, account] : ledger.accounts) {
        if (!account.known) continue;
        std::shared_ptr<CAcnTItem> item = accountNamedIn(doc, account.name);
        if (!item) item = accountWithIdIn(doc, id);
        if (!item) {
            out += "  account " + account.name + " is gone\n";
            continue;
        }
        const std::string expected = money(item->isDebt() ? -account.net : account.net);
        if (money(item->getBalance()) != expected)
            out += "  account " + account.name + " holds " + money(item->getBalance()) + ", its steps give " + expected + "\n";
    }
    for (const auto& [symbol, held] : ledger.holdings) {
        if (ledger.sharesUnknown.contains(symbol)) continue;
        std::shared_ptr<CCurRItem> share;
        for (const auto& candidate : doc.mShareArray())
            if (candidate->mShortName() == symbol) share = candidate;
        if (!share) out += "  share " + symbol + " is gone\n";
        else if (std::fabs(share->numberOfShares() - held) > 1e-9)
            out += "  share " + symbol + ": " + std::to_string(share->numberOfShares()) + " held, its deals give " +
                   std::to_string(held) + "\n";
    }
    for (const auto& [name, invoice] : ledger.invoices) {
        if (!invoice.known) continue;
        std::shared_ptr<CTrnSItem> item = transactionNamedIn(doc, name);
        if (!item) {
            out += "  invoice " + name + " is gone\n";
            continue;
        }
        double paid = 0.0;
        for (const auto& [payment, amount] : invoice.payments) paid += amount;
        const std::string total = money(item->mTotalAmount());
        if (total != money(invoice.total)) out += "  invoice " + name + " totals " + total + ", its step gave " + money(invoice.total) + "\n";
        // With nothing linked the invoice says so instead of an amount; it
        // counts only payments booked on its own open-invoice account, which
        // the ledger does not follow, so a marker is not compared.
        const std::optional<double> left = item->unaccountedForAmount();
        const std::string open = money(left);
        const std::string owed =
            invoice.payments.empty() ? money(kNoLinkedTransactionMarker) : money(invoice.total - paid);
        const bool marker = left && (*left == kNoLinkedTransactionMarker || *left == kCreditNoteLinkedMarker);
        if (invoice.openKnown && open != owed && !(marker && !invoice.payments.empty()))
            out += "  invoice " + name + " has " + open + " open, its total less its payments is " + owed + "\n";
        std::set<std::string> linked;
        for (const auto& transaction : doc.mTransactionArray())
            if (transaction->getSourceItem() && transaction != item &&
                transaction->mReferenceObjectId() == item->getId() &&
                transaction->isLinkedToTransactionAsPayment().value_or(-1) > 0)
                linked.insert(transaction->getName());
        std::set<std::string> expected;
        for (const auto& [payment, amount] : invoice.payments)
            if (payment != "paid with the invoice") expected.insert(payment);
        if (!std::includes(linked.begin(), linked.end(), expected.begin(), expected.end())) {
            out += "  invoice " + name + " has linked:";
            for (const std::string& payment : linked) out += " " + payment;
            out += "; its steps linked:";
            for (const std::string& payment : expected) out += " " + payment;
            out += "\n";
        }
    }
    for (const auto& [name, schedule] : ledger.templates) {
        if (!schedule.known) continue;
        CRecurringTransaction* made = nullptr;
        for (const auto& item : doc.mRecurringTransactionArray())
            if (item->getSourceItem() && item->getName() == name) made = dynamic_cast<CRecurringTransaction*>(item->getSourceItem());
        if (!made) {
            out += "  template " + name + " is gone\n";
            continue;
        }
        const long expected = nextCopyDue(schedule, CDate::GetNowAsDateT());
        if (made->GetNextGenerationDate() != expected)
            out += "  template " + name + " makes its next copy on " + std::to_string(made->GetNextGenerationDate()) +
                   ", its steps give " + std::to_string(expected) + "\n";
    }
    return out;
}

} // namespace
} // namespace ch::test
