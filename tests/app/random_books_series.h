#pragma once
// The random series of steps: the kinds of step, how often each is drawn,
// and the tally of which ones took effect.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace ch::test {
namespace {

// --- the steps

enum class Op {
    NewAccount,
    NewCategory,
    Booking,
    SplitBooking,
    Transfer,
    NewCurrency,
    RateChange,
    NewShare,
    BuyShares,
    Dividend,
    SellShares,
    Recurring,
    Budget,
    Invoice,
    CreditNote,
    Payment,
    SplitPayment,
    HomeCurrency,
    YearStart,
    DeleteTransaction,
    DeleteAccount,
    DeleteCategory,
    ModifyTransaction,
    MoveAccount,
    NewOwner,
    NewAccountType,
    DeleteAccountType,
    BudgetLine,
    NewCategoryGroup,
    LinkGenerated,
    NewVATRate,
    EditVATRate,
    DeleteVATRate,
    SupplierInvoice,
    SupplierPayment,
    ModifyInvoice,
    CardSpending,
    VATBalancePayment,
    UnlinkPayment,
    UnlinkInvoicePayments,
    CreditNoteOfInvoice,
    TransactionStatus,
    CreditCard,
    Setting,
    ModifyAccount,
    ModifyCategory,
    ModifyCurrency,
    ModifyOwner,
    ModifyTemplate,
    DeleteOwner,
    DeleteCurrency,
    DeleteShare,
    DeleteTemplate,
    ImportStatement,
    CutAndPaste,
    DeletePaidInvoice,
    kCount
};

const char* opName(Op op)
{
    static const char* names[] = {
        "NewAccount",
        "NewCategory",
        "Booking",
        "SplitBooking",
        "Transfer",
        "NewCurrency",
        "RateChange",
        "NewShare",
        "BuyShares",
        "Dividend",
        "SellShares",
        "Recurring",
        "Budget",
        "Invoice",
        "CreditNote",
        "Payment",
        "SplitPayment",
        "HomeCurrency",
        "YearStart",
        "DeleteTransaction",
        "DeleteAccount",
        "DeleteCategory",
        "ModifyTransaction",
        "MoveAccount",
        "NewOwner",
        "NewAccountType",
        "DeleteAccountType",
        "BudgetLine",
        "NewCategoryGroup",
        "LinkGenerated",
        "NewVATRate",
        "EditVATRate",
        "DeleteVATRate",
        "SupplierInvoice",
        "SupplierPayment",
        "ModifyInvoice",
        "CardSpending",
        "VATBalancePayment",
        "UnlinkPayment",
        "UnlinkInvoicePayments",
        "CreditNoteOfInvoice",
        "TransactionStatus",
        "CreditCard",
        "Setting",
        "ModifyAccount",
        "ModifyCategory",
        "ModifyCurrency",
        "ModifyOwner",
        "ModifyTemplate",
        "DeleteOwner",
        "DeleteCurrency",
        "DeleteShare",
        "DeleteTemplate",
        "ImportStatement",
        "CutAndPaste",
        "DeletePaidInvoice",
    };
    return names[static_cast<int>(op)];
}

// One step: what it does and the random numbers it picks its objects and
// values with. It names objects by position among those that exist when it
// runs, so that any step can be left out and the others still run.
struct Step {
    Op op;
    unsigned a, b, c, d;
};

std::string describe(const std::vector<Step>& steps)
{
    std::ostringstream out;
    for (const Step& step : steps)
        out << "  " << opName(step.op) << "(" << step.a << ", " << step.b << ", " << step.c << ", " << step.d
            << ")\n";
    return out.str();
}

// How often each kind of step comes: bookings most, the changes of the
// whole books rarely. RANDOM_BOOKS_OPS="Booking,RateChange,..." keeps those
// kinds of step only, to look for one fault by hand.
const std::vector<std::pair<Op, int>>& stepWeights()
{
    static const std::vector<std::pair<Op, int>> chosen = [] {
        static const std::vector<std::pair<Op, int>> weights = {
            {Op::NewAccount, 8},
            {Op::NewCategory, 4},
            {Op::Booking, 14},
            {Op::SplitBooking, 6},
            {Op::Transfer, 6},
            {Op::NewCurrency, 3},
            {Op::RateChange, 5},
            {Op::NewShare, 2},
            {Op::BuyShares, 4},
            {Op::Dividend, 3},
            {Op::SellShares, 3},
            {Op::Recurring, 2},
            {Op::Budget, 2},
            {Op::Invoice, 6},
            {Op::CreditNote, 2},
            {Op::Payment, 6},
            {Op::SplitPayment, 2},
            {Op::HomeCurrency, 2},
            {Op::YearStart, 2},
            {Op::DeleteTransaction, 3},
            {Op::DeleteAccount, 2},
            {Op::DeleteCategory, 2},
            {Op::ModifyTransaction, 3},
            {Op::MoveAccount, 2},
            {Op::NewOwner, 2},
            {Op::NewAccountType, 2},
            {Op::DeleteAccountType, 2},
            {Op::BudgetLine, 3},
            {Op::NewCategoryGroup, 2},
            {Op::LinkGenerated, 2},
            {Op::NewVATRate, 2},
            {Op::EditVATRate, 2},
            {Op::DeleteVATRate, 2},
            {Op::SupplierInvoice, 4},
            {Op::SupplierPayment, 4},
            {Op::ModifyInvoice, 3},
            {Op::CardSpending, 2},
            {Op::VATBalancePayment, 2},
            {Op::UnlinkPayment, 2},
            {Op::UnlinkInvoicePayments, 2},
            {Op::CreditNoteOfInvoice, 2},
            {Op::TransactionStatus, 2},
            {Op::CreditCard, 2},
            {Op::Setting, 4},
            {Op::ModifyAccount, 2},
            {Op::ModifyCategory, 2},
            {Op::ModifyCurrency, 2},
            {Op::ModifyOwner, 2},
            {Op::ModifyTemplate, 2},
            {Op::DeleteOwner, 2},
            {Op::DeleteCurrency, 2},
            {Op::DeleteShare, 2},
            {Op::DeleteTemplate, 2},
            {Op::ImportStatement, 3},
            {Op::CutAndPaste, 3},
            {Op::DeletePaidInvoice, 2},
        };
        std::vector<std::pair<Op, int>> out;
        const char* only = std::getenv("RANDOM_BOOKS_OPS");
        for (const auto& entry : weights)
            if (!only || ("," + std::string(only) + ",").find("," + std::string(opName(entry.first)) + ",") !=
                             std::string::npos)
                out.push_back(entry);
        return out.empty() ? weights : out;
    }();
    return chosen;
}

Step drawStep(std::mt19937& random)
{
    const std::vector<std::pair<Op, int>>& weights = stepWeights();
    int total = 0;
    for (const auto& [op, weight] : weights) total += weight;
    int pick = static_cast<int>(random() % static_cast<unsigned>(total));
    Op op = weights.front().first;
    for (const auto& [candidate, weight] : weights) {
        if (pick < weight) {
            op = candidate;
            break;
        }
        pick -= weight;
    }
    return {op, static_cast<unsigned>(random()), static_cast<unsigned>(random()), static_cast<unsigned>(random()),
            static_cast<unsigned>(random())};
}

std::vector<Step> randomSteps(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::vector<Step> steps;
    for (int i = 0; i < count; ++i) steps.push_back(drawStep(random));
    return steps;
}

// The series a report printed ("Op(a, b, c, d)" per step), to run it again
// by itself: RANDOM_BOOKS_REPLAY takes it in place of the seed's series.
std::vector<Step> stepsFromReport(const std::string& report)
{
    std::vector<Step> steps;
    const std::regex step(R"((\w+)\((\d+), (\d+), (\d+), (\d+)\))");
    for (std::sregex_iterator it(report.begin(), report.end(), step), end; it != end; ++it)
        for (int op = 0; op < static_cast<int>(Op::kCount); ++op)
            if ((*it)[1] == opName(static_cast<Op>(op)))
                steps.push_back({static_cast<Op>(op), static_cast<unsigned>(std::stoul((*it)[2])),
                                 static_cast<unsigned>(std::stoul((*it)[3])), static_cast<unsigned>(std::stoul((*it)[4])),
                                 static_cast<unsigned>(std::stoul((*it)[5]))});
    return steps;
}

// A step that found nothing to act on is drawn again, from its own numbers:
// the same kind first, then any kind, so that a series cut down by the
// shrinking still draws the same.
Step redrawn(const Step& step, int attempt)
{
    std::seed_seq seeds{step.a, step.b, step.c, step.d, static_cast<unsigned>(attempt)};
    std::mt19937 random(seeds);
    Step again = drawStep(random);
    if (attempt <= 2) again.op = step.op;
    return again;
}

// How often each kind of step was drawn and how often it changed the books
// (a question answered Cancel counts when it changed nothing), over every
// series built since the last report.
struct StepTally {
    int drawn = 0;
    int tookEffect = 0;
};
std::map<std::string, StepTally>& stepTallies()
{
    static std::map<std::string, StepTally> tallies;
    return tallies;
}

// Prints the tallies and fails for a kind of step drawn that never took
// effect: the generator reaches less than it claims. Over many series (twenty
// steps a kind), a kind never drawn fails too. Starts the tallies afresh.
void expectEveryKindOfStepTakesEffect()
{
    std::map<std::string, StepTally> tallies;
    std::swap(tallies, stepTallies());
    int total = 0;
    for (const auto& [kind, tally] : tallies) total += tally.drawn;
    // One seed or a few kinds, chosen by hand, say nothing of the generator.
    const bool everyKind = !std::getenv("RANDOM_BOOKS_OPS") && !std::getenv("RANDOM_BOOKS_SEED");
    std::ostringstream table;
    table << "kinds of step, drawn / took effect:\n";
    for (const auto& [kind, tally] : tallies) {
        table << "  " << kind << " " << tally.drawn << " / " << tally.tookEffect << "\n";
        if (tally.drawn > 0 && tally.tookEffect == 0 && everyKind) ADD_FAILURE() << kind << " was drawn " << tally.drawn << " times and never took effect";
    }
    std::printf("%s", table.str().c_str());
    // A kind never drawn says nothing of the step until the series are long
    // enough to draw every kind many times.
    if (everyKind && total >= 20 * static_cast<int>(Op::kCount))
        for (int op = 0; op < static_cast<int>(Op::kCount); ++op)
            if (!tallies.contains(opName(static_cast<Op>(op))))
                ADD_FAILURE() << opName(static_cast<Op>(op)) << " was never drawn in " << total << " steps";
}

} // namespace
} // namespace ch::test
