#pragma once
// The random series of steps and the books they are made on: each step goes
// through the command or sheet logic the window uses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../document/document_test_support.h"
#include "../document/sheet_transaction.h"
#include "app/OpenDocument.h"
#include "bridge/CBuDdItem.h"
#include "bridge/CBuDxItem.h"
#include "document/commands/CCommandExecutor.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "business/VATRateSheetRules.h"
#include "business/VATRates.h"
#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/GXVATRate.h"
#include "business/InvoiceArguments.h"
#include "business/PaymentArguments.h"
#include "business/PaymentDrop.h"
#include "business/VATRateArguments.h"
#include "document/BookSettings.h"
#include "document/BooksDamageText.h"
#include "document/DocumentFile.h"
#include "document/MyDocument.h"
#include "document/StatementImport.h"
#include "document/TransactionExport.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/BudgetArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "import/CImpTItem.h"
#include "import/CQuickenData.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"
#include "model/ModelCodes.h"
#include "model/budget/BudgetTypes.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/dispatcher.h"
#include "platform/core/localized_strings.h"
#include "ui/sheets/AccountSheetLogic.h"
#include "ui/sheets/ChartSheetLogic.h"
#include "ui/sheets/CurrencySheetLogic.h"
#include "ui/sheets/OwnerSheetLogic.h"
#include "ui/sheets/ShareDealLogic.h"
#include "ui/sheets/TransactionEntryLogic.h"

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

template <class T>
std::vector<T*> objectsOf(CNamedListArray* list)
{
    std::vector<T*> out;
    if (!list) return out;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
        if (auto* object = static_cast<T*>(list->ObjectAt(i))) out.push_back(object);
    return out;
}

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

std::string text(const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : "none"; }
std::string number(std::optional<long> value) { return value ? std::to_string(*value) : "none"; }

// A day of last year or of this year up to today (15 March 2009).
DateT dayOf(unsigned pick)
{
    const int days = 365 + 31 + 28 + 15;
    int n = static_cast<int>(pick % static_cast<unsigned>(days));
    int year = 2008;
    if (n >= 366) {
        year = 2009;
        n -= 366;
    }
    static const int lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0;
    while (true) {
        int length = lengths[month];
        if (month == 1 && year == 2009) length = 28;
        if (n < length) break;
        n -= length;
        ++month;
    }
    return static_cast<DateT>(year * 10000 + (month + 1) * 100 + n + 1);
}

double cents(double amount) { return CCurrency::RoundAmount(amount); }

double amountOf(unsigned pick) { return static_cast<double>(pick % 50000 + 1) / 100.0 * ((pick >> 20) % 4 + 1); }

// --- one set of books and what a person does to it

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
    struct Invoice {
        double total = 0.0;
        std::map<std::string, double> payments;
        bool known = true;
    };
    std::map<std::string, Invoice> invoices;
    // Recurring templates by name: the date of the next copy they make.
    std::map<std::string, long> templates;
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

class Books;
// What the books hold that the ledger does not say; empty when they agree.
std::string ledgerDifferences(const Ledger& ledger, Books& books);

// Answers every question as a person answers it: OK (or Yes), or Cancel (or
// No) when declining; errors are only noted.
class AnswersAsAPerson : public AlertPresenter {
public:
    explicit AnswersAsAPerson(bool yes) : mYes(yes), mInstalled(*this) {}
    // RANDOM_BOOKS_SHOW_ALERTS shows what the steps were told and asked.
    void showError(const Alert& alert) override { show("error", alert); }
    void showInfo(const Alert& alert) override { show("info", alert); }
    AlertAnswer askQuestion(const Alert& alert) override
    {
        // An account keeps its name when a statement names its holder
        // otherwise: a person answers that No.
        const bool yes = mYes && alert.number != 206;
        show(yes ? "answered yes" : "answered no", alert);
        ++mAsked;
        const bool defaultIsNo = alert.defaultButton == localized("CANCEL") || alert.defaultButton == localized("NO");
        return yes == defaultIsNo ? AlertAnswer::Alternate : AlertAnswer::Default;
    }
    int asked() const { return mAsked; }

private:
    static void show(const char* what, const Alert& alert)
    {
        if (std::getenv("RANDOM_BOOKS_SHOW_ALERTS")) std::printf("  %s %ld: %s\n", what, alert.number, alert.message.c_str());
    }

    bool mYes;
    int mAsked = 0;
    ScopedAlertPresenter mInstalled;
};

class Books {
public:
    Books(Dispatcher& dispatcher, const std::string& journalFolder)
        : mOpen(std::make_unique<OpenDocument>(dispatcher, false)), mJournalFolder(journalFolder)
    {
        doc().setUntitledJournalFolder(journalFolder);
    }

    void setUpNew(const char* home)
    {
        doc().setUpNewDocument(home);
        doc().mPreference()->setMCustomerInvoiceCategory(doc().get_mDefExpTUnspecifiedIncome());
    }

    OpenDocument& open() { return *mOpen; }
    MyDocument& doc() { return mOpen->document(); }
    CDocAccounting& root() { return *doc().accounting(); }
    long run(int command, const std::shared_ptr<CNonVisualDataItem>& target, const CArgumentAncestor* arguments)
    {
        return mOpen->executeCommand(command, target, arguments);
    }
    // A choice in Books > Settings, as its window sends it.
    void setting(const char* name, long value)
    {
        arguments::BookSettingArguments values;
        values.name = name;
        values.value = value;
        run(kBookSettingCommand, nullptr, &values);
    }
    business::BusinessArrays& businessArrays()
    {
        return dynamic_cast<business::BusinessOfDocument&>(*doc().business()).businessArrays();
    }

    std::vector<CAccount*> accounts() { return objectsOf<CAccount>(root().mAccountList.get()); }
    std::vector<CExpenseType*> categories() { return objectsOf<CExpenseType>(root().mExpenseTypeList.get()); }
    std::vector<CMasterExpenseType*> groups()
    {
        return objectsOf<CMasterExpenseType>(root().mMasterExpenseTypeList.get());
    }
    std::vector<CNonVisual*> accountTypes() { return objectsOf<CNonVisual>(root().mAccountTypeList.get()); }

    std::shared_ptr<CAcnTItem> accountItem(CAccount* account)
    {
        return doc().dataItemController().accountItemForAccount(account);
    }
    // Accounts of money: own property and debt, not a share's portfolio.
    std::vector<std::shared_ptr<CAcnTItem>> moneyAccounts()
    {
        std::vector<std::shared_ptr<CAcnTItem>> out;
        for (const auto& item : doc().allAccounts())
            if (item->getSourceItem() && (item->isProperty() || item->isDebt()) && !isShareAccount(*item))
                out.push_back(item);
        return out;
    }
    std::vector<std::shared_ptr<CAcnTItem>> plAccounts()
    {
        std::vector<std::shared_ptr<CAcnTItem>> out;
        for (const auto& item : doc().allAccounts())
            if (item->getSourceItem() && item->isProfitAndLoss()) out.push_back(item);
        return out;
    }
    bool isShareAccount(const CAcnTItem& account)
    {
        const auto currency = account.getCurrencyId();
        for (const auto& share : doc().mShareArray())
            if (share->getId() && currency && *share->getId() == *currency) return true;
        return false;
    }
    std::vector<CExpenseType*> categoriesOfKind(MasterExpenseTypeT kind)
    {
        std::vector<CExpenseType*> out;
        for (CExpenseType* category : categories())
            if (category->Get_mMasterType() == kind) out.push_back(category);
        return out;
    }
    std::vector<std::shared_ptr<CTrnSItem>> invoices(bool customer)
    {
        std::vector<std::shared_ptr<CTrnSItem>> out;
        for (const auto& item : doc().mTransactionArray())
            if (item->getSourceItem() && item->mTransactionType() == (customer ? 4 : 5)) out.push_back(item);
        return out;
    }
    std::vector<std::shared_ptr<CTrnSItem>> plainTransactions()
    {
        std::vector<std::shared_ptr<CTrnSItem>> out;
        for (const auto& item : doc().mTransactionArray())
            if (item->getSourceItem() && item->mTransactionType() == transaction_type::kOther) out.push_back(item);
        return out;
    }
    std::shared_ptr<GXNonVisual> vatRate(unsigned pick)
    {
        auto& rates = businessArrays().VATRateArray;
        if (rates.empty()) return nullptr;
        return rates[pick % rates.size()];
    }

    // A simple transaction as the transaction sheet makes it, with the
    // category line split in two when a second category is given.
    Dictionary sheetTransaction(ObjectIdT from, ObjectIdT to, ObjectIdT category, double amount, DateT date,
                                const std::string& name, ObjectIdT second = 0, double secondShare = 0.0)
    {
        return sheetTransactionDictionary(doc(), from, to, category, amount, date, name, second, secondShare);
    }

    // Makes the step, or, when it finds nothing to act on, one drawn again in
    // its place; tallies what it did and keeps the ledger.
    void apply(const Step& step);
    const Ledger& ledger() const { return mLedger; }
    std::shared_ptr<CAcnTItem> accountNamed(const std::string& name)
    {
        for (const auto& item : doc().allAccounts())
            if (item->getSourceItem() && item->getNameOnly() == name) return item;
        return nullptr;
    }
    std::shared_ptr<CAcnTItem> accountWithId(ObjectIdT id)
    {
        for (const auto& item : doc().allAccounts())
            if (item->getSourceItem() && item->getId() == std::optional<long>(id)) return item;
        return nullptr;
    }
    std::shared_ptr<CTrnSItem> transactionNamed(const std::string& name)
    {
        for (const auto& item : doc().mTransactionArray())
            if (item->getSourceItem() && item->getName() == name) return item;
        return nullptr;
    }

private:
    // What the transaction sheet's OK sends for the transaction: checked
    // first (the check turns a category line that shows the property the
    // wrong way round, an opening balance of a debt); none when refused. It
    // is made on a temporary transaction, which takes no ids of the books.
    std::optional<Dictionary> sheetSends(const Dictionary& transaction)
    {
        const IdCounters counters = root().Ids();
        const bool batch = CErrorManager::GetMode();
        CErrorManager::SetMode(true);
        std::optional<Dictionary> sent;
        if (std::shared_ptr<CTrnSItem> temporary = doc().makeEmptyTransactionOfType(transaction_type::kOther)) {
            temporary->initWithDictionaryRepresentation(transaction);
            if (temporary->validate()) sent = temporary->dictionaryRepresentation();
        }
        CErrorManager::SetMode(batch);
        root().Ids() = counters;
        return sent;
    }

    template <class T>
    static T* pick(const std::vector<T*>& list, unsigned n)
    {
        return list.empty() ? nullptr : list[n % list.size()];
    }
    template <class T>
    static std::shared_ptr<T> pick(const std::vector<std::shared_ptr<T>>& list, unsigned n)
    {
        return list.empty() ? nullptr : list[n % list.size()];
    }
    std::shared_ptr<CCurRItem> pickCurrency(unsigned n)
    {
        return pick(doc().mCurrencyArray(), n);
    }
    SheetParameters sheetParameters(long action)
    {
        SheetParameters parameters;
        parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(mOpen.get()));
        parameters.set(sheet_key::kDialogAction, action);
        return parameters;
    }
    void newAccount(const Step& step);
    void booking(const Step& step, bool split, bool transfer);
    void newCurrency(const Step& step);
    void newShare(const Step& step);
    void shareDeal(const Step& step, bool buy);
    void dividend(const Step& step);
    void invoice(const Step& step, bool creditNote, bool supplier = false);
    void payment(const Step& step, bool supplier = false);
    void splitPayment(const Step& step);
    void budget(const Step& step);
    // The steps of random_books_more_steps.h.
    void moreSteps(const Step& step);
    void budgetLine(const Step& step);
    void vatRateSheet(const Step& step, bool create);
    void modifyInvoice(const Step& step);
    void invoiceLink(const Step& step);
    void bookSetting(const Step& step);
    void modifySheet(const Step& step);
    void modifyTemplate(const Step& step);
    void deleteOther(const Step& step);
    void importStatement(const Step& step);
    void cutAndPaste(const Step& step);

    void applyOnce(const Step& step);
    // Settles the ledger for what the step did so far, and takes the books
    // as they now are as those the step's own action starts from.
    void madeReady();
    bool makeFirst(Op op, const Step& step, unsigned c);
    std::map<ObjectIdT, std::string> ownBalances()
    {
        std::map<ObjectIdT, std::string> out;
        for (const auto& account : moneyAccounts()) out[*account->getId()] = money(account->getBalance());
        return out;
    }
    // A question of the step, answered as the person does: Cancel in a share
    // of draws, after which nothing may change.
    bool declines(unsigned pick)
    {
        mDeclined = pick % 5 == 0;
        return mDeclined;
    }
    // A transaction deleted: what it put on the accounts goes, and an invoice
    // or payment leaves the ledger's invoices. Reckoned when the ledger knew
    // every account it booked on.
    void forgetTransaction(const std::string& name)
    {
        mReckoned = mLedger.transactions.contains(name);
        mLedger.unbook(name);
        mLedger.invoices.erase(name);
        for (auto& [invoice, reckoned] : mLedger.invoices) reckoned.payments.erase(name);
    }
    // A deal's transaction gone: the shares it moved go back.
    void forgetDeal(ObjectIdT id)
    {
        auto deal = mLedger.deals.find(id);
        if (deal == mLedger.deals.end()) return;
        if (mLedger.holdings.contains(deal->second.first)) mLedger.holdings[deal->second.first] -= deal->second.second;
        mLedger.deals.erase(deal);
    }
    // The ledger's own accounts of money, as a step made them.
    void reckonAccount(ObjectIdT id, const std::string& name, double net = 0.0)
    {
        mLedger.accounts[id] = {name, net, true};
    }
    // A transaction booked between two accounts: reckoned where both keep
    // the home currency the amount is in; a conversion the ledger does not
    // follow.
    void reckonBooking(const std::string& name, const std::shared_ptr<CAcnTItem>& from,
                       const std::shared_ptr<CAcnTItem>& to, double amount)
    {
        // The sheet's amount is in the input currency of the settings.
        const std::optional<long> homeId = static_cast<long>(doc().mPreference()->mInputCurrency());
        if (from->getCurrencyId() != to->getCurrencyId() || from->getCurrencyId() != homeId) {
            mLedger.forget(*from->getId());
            mLedger.forget(*to->getId());
            return;
        }
        mLedger.book(name, *from->getId(), -amount);
        mLedger.book(name, *to->getId(), amount);
    }

    std::unique_ptr<OpenDocument> mOpen;
    std::string mJournalFolder;
    int mNames = 0;
    std::map<std::string, DateT> mLastDeal;
    Ledger mLedger;
    bool mDeclined = false;
    std::vector<std::uint8_t> mBefore;
    std::map<ObjectIdT, std::string> mBalancesBefore;
    // Whether the step told the ledger all it did to the own accounts.
    bool mReckoned = false;
};

void Books::apply(const Step& step)
{
    constexpr int kRedraws = 12;
    Step drawn = step;
    for (int attempt = 0; attempt <= kRedraws; ++attempt) {
        if (attempt > 0) drawn = redrawn(step, attempt);
        const std::vector<std::uint8_t> start = dataRepresentation(doc()).bytes;
        const long edits = doc().changeCount();
        const Ledger ledger = mLedger;
        mBefore = start;
        mBalancesBefore = ownBalances();
        mDeclined = false;
        mReckoned = false;
        {
            AnswersAsAPerson person(true);
            applyOnce(drawn);
        }
        const std::vector<std::uint8_t> after = dataRepresentation(doc()).bytes;
        // Took effect: changed the books beyond what it made ready first.
        const bool tookEffect = after != mBefore;
        const bool changed = tookEffect || after != start;
        std::string kind = opName(drawn.op);
        if (mDeclined) kind += " (Cancel)";
        StepTally& tally = stepTallies()[kind];
        ++tally.drawn;
        // RANDOM_BOOKS_TRACE shows each step drawn and whether it changed the books.
        if (std::getenv("RANDOM_BOOKS_TRACE"))
            std::printf("%s%s%s", mDeclined ? "(declined) " : "", tookEffect ? "changed: " : changed ? "made ready only: " : "nothing: ",
                        describe({drawn}).c_str());
        if (mDeclined) {
            if (tookEffect) mLedger.faults.push_back(describe({drawn}) + "    answered Cancel, and still changed the books");
            else ++tally.tookEffect;
        }
        if (!changed) {
            mLedger = ledger;
            if (mDeclined) return;
            continue;
        }
        if (tookEffect && !mDeclined) ++tally.tookEffect;
        if (doc().changeCount() == edits)
            mLedger.faults.push_back(describe({drawn}) + "    changed the books without marking them edited");
        madeReady();
        return;
    }
}

void Books::madeReady()
{
    const std::map<ObjectIdT, std::string> now = ownBalances();
    for (auto own = mLedger.accounts.begin(); own != mLedger.accounts.end();) {
        const bool gone = !now.contains(own->first);
        if (gone && !mReckoned) {
            own = mLedger.accounts.erase(own);
            continue;
        }
        if (!mReckoned && !gone && mBalancesBefore.contains(own->first) &&
            mBalancesBefore.at(own->first) != now.at(own->first))
            own->second.known = false;
        ++own;
    }
    for (const auto& account : moneyAccounts())
        if (!mLedger.accounts.contains(*account->getId()))
            mLedger.accounts[*account->getId()] = {account->getNameOnly(), 0.0, mReckoned && !account->hasTransactions()};
    // Invoices and deals a step took away with what it deleted, without
    // saying.
    if (!mReckoned) {
        std::erase_if(mLedger.invoices, [&](const auto& entry) { return !transactionNamed(entry.first); });
    }
    // Deals whose transaction went (deleted, cut, with its account).
    {
        std::vector<ObjectIdT> gone;
        for (const auto& [id, deal] : mLedger.deals)
            if (!doc().getTransactionForId(id)) gone.push_back(id);
        for (ObjectIdT id : gone) forgetDeal(id);
    }
    mBefore = dataRepresentation(doc()).bytes;
    mBalancesBefore = now;
    mReckoned = false;
}

// What a step needs and does not find, a person makes first: the step
// named, drawn from the step's own numbers. False when it could not be made.
bool Books::makeFirst(Op op, const Step& step, unsigned c)
{
    const Step first{op, step.b, step.c, c, step.a};
    const std::vector<std::uint8_t> before = dataRepresentation(doc()).bytes;
    const bool declined = mDeclined;
    applyOnce(first);
    mDeclined = declined;
    if (dataRepresentation(doc()).bytes == before) return false;
    madeReady();
    return true;
}

void Books::newAccount(const Step& step)
{
    AccountSheetLogic sheet;
    SheetParameters parameters = sheetParameters(kActionCreate);
    // Own property, debt or profit and loss, or a type made earlier.
    const std::vector<CNonVisual*> types = accountTypes();
    long type = 1 + static_cast<long>(step.a % 3);
    if (step.a % 5 == 4 && !types.empty()) type = pick(types, step.a / 5)->Get_Id();
    parameters.set(sheet_key::kAccountType, type);
    parameters.set(sheet_key::kName, "Account " + std::to_string(++mNames));
    if (step.b % 3 == 0)
        if (auto currency = pickCurrency(step.b / 3))
            parameters.set(sheet_key::kCurrencyId, static_cast<long>(currency->getId().value_or(1)));
    sheet.initialize(parameters);
    const double opening = step.c % 3 == 0 && type != 3 ? amountOf(step.d) : 0.0;
    if (opening != 0.0) sheet.temporaryItem()->setNewBalance(opening);
    if (!sheet.checkContents()) return;
    sheet.dialogClosed(1, parameters);
    // What the sheet shows as the balance is the account's own.
    mReckoned = true;
    if (auto made = accountNamed("Account " + std::to_string(mNames)); made && (made->isProperty() || made->isDebt()))
        reckonAccount(*made->getId(), made->getNameOnly(), made->isDebt() ? -opening : opening);
}

void Books::booking(const Step& step, bool split, bool transfer)
{
    std::vector<std::shared_ptr<CAcnTItem>> own = moneyAccounts();
    std::vector<std::shared_ptr<CAcnTItem>> pl = plAccounts();
    if (own.empty()) return;
    std::shared_ptr<CAcnTItem> ours = pick(own, step.a);
    std::shared_ptr<CAcnTItem> other;
    ObjectIdT category = 0;
    ObjectIdT second = 0;
    const bool income = step.b % 3 == 0;
    if (transfer) {
        other = pick(own, step.b);
        if (other == ours) return;
        category = 3;
    } else {
        if (pl.empty()) return;
        other = pick(pl, step.b / 3);
        const auto kinds = categoriesOfKind(income ? group_kind::kIncome : group_kind::kExpense);
        if (kinds.empty()) return;
        category = pick(kinds, step.c)->Get_Id();
        if (split && kinds.size() > 1) {
            second = pick(kinds, step.c / 7 + 1)->Get_Id();
            if (second == category) second = 0;
        }
    }
    const std::shared_ptr<CAcnTItem>& from = income ? other : ours;
    const std::shared_ptr<CAcnTItem>& to = income ? ours : other;
    const std::string name = "Booking " + std::to_string(++mNames);
    arguments::CTransactionArguments values;
    values.mTransactionDictionary = sheetTransaction(*from->getId(), *to->getId(), category, amountOf(step.d),
                                                     dayOf(step.d >> 7), name, second,
                                                     static_cast<double>(step.c % 9 + 1) / 10.0);
    run(23, nullptr, &values);
    mReckoned = true;
    reckonBooking(name, from, to, amountOf(step.d));
}

void Books::newCurrency(const Step& step)
{
    static const char* symbols[] = {"EUR", "GBP", "CHF", "JPY", "USD"};
    const char* symbol = symbols[step.a % 5];
    for (const auto& currency : doc().mCurrencyArray())
        if (currency->mShortName() == symbol) return;
    CurrencySheetLogic sheet(false);
    SheetParameters parameters = sheetParameters(kActionCreate);
    if (auto home = doc().getHomeCurrency(); home && home->getId()) parameters.set(sheet_key::kCurrencyId, static_cast<long>(*home->getId()));
    sheet.initialize(parameters);
    sheet.values().symbol = symbol;
    sheet.values().fullName = std::string("Currency ") + symbol;
    sheet.values().factor = 0.5 + static_cast<double>(step.b % 150) / 100.0;
    if (!sheet.checkContents()) return;
    sheet.dialogClosed(1, parameters);
}

void Books::newShare(const Step& step)
{
    CurrencySheetLogic sheet(true);
    SheetParameters parameters = sheetParameters(kActionCreate);
    if (auto home = doc().getHomeCurrency(); home && home->getId()) parameters.set(sheet_key::kCurrencyId, static_cast<long>(*home->getId()));
    sheet.initialize(parameters);
    const std::string name = "SH" + std::to_string(++mNames);
    sheet.values().symbol = name;
    sheet.values().fullName = "Share " + name;
    sheet.values().factor = 5.0 + static_cast<double>(step.b % 5000) / 100.0;
    if (!sheet.checkContents()) return;
    sheet.dialogClosed(1, parameters);
}

void Books::shareDeal(const Step& step, bool buy)
{
    if (doc().mShareArray().empty() && !makeFirst(Op::NewShare, step, 0)) return;
    std::shared_ptr<CCurRItem> share = pick(doc().mShareArray(), step.a);
    if (!share) return;
    if (!buy && share->numberOfShares() <= 0.0 && !makeFirst(Op::BuyShares, {Op::BuyShares, step.a, step.b, step.c, step.d}, 3))
        return;
    SheetParameters parameters = shareDealParameters(*mOpen, share, buy);
    ShareDealLogic sheet;
    sheet.initialize(parameters);
    ShareDealEntry entry;
    entry.price = share->mConversionFactor().value_or(10.0) * (0.8 + static_cast<double>(step.b % 40) / 100.0);
    const double held = share->numberOfShares();
    // Some, all, more than held, none, less than none.
    switch (step.c % 8) {
    case 0: entry.quantity = buy ? 0.0 : held + 1.0 + static_cast<double>(step.c % 7); break;
    case 1: entry.quantity = -1.0; break;
    case 2: entry.quantity = buy ? 1.0 : held; break;
    default: entry.quantity = buy ? static_cast<double>(step.c % 50 + 1) : std::ceil(held * (step.c % 4 + 1) / 5.0);
    }
    entry.commission = static_cast<double>(step.d % 1000) / 100.0;
    entry.date = dayOf(step.d >> 5);
    // Mostly on or after the share's last deal, when it is held.
    if (step.b % 8 != 0 && mLastDeal[share->mShortName()] > entry.date) entry.date = mLastDeal[share->mShortName()];
    entry.description = (buy ? "Bought " : "Sold ") + std::to_string(++mNames);
    entry.updateRate = step.d % 2 == 0;
    if (auto from = parameters.number(share_deal_key::kFromAccount)) entry.fromAccount = *from;
    if (auto commission = parameters.number(share_deal_key::kCommissionToAccount)) entry.commissionAccount = *commission;
    entry.total = sheet.total(*entry.price, *entry.quantity, *entry.commission, entry.date);
    if (!sheet.checkContents(entry)) return;
    std::set<long> before;
    for (const auto& item : doc().mTransactionArray()) before.insert(item->getId().value_or(0));
    sheet.dialogClosed(1);
    mLedger.holdings[share->mShortName()] += buy ? *entry.quantity : -*entry.quantity;
    // The deal's transaction is the one it made.
    for (const auto& item : doc().mTransactionArray())
        if (item->getSourceItem() && item->getId() && !before.contains(*item->getId()))
            mLedger.deals[static_cast<ObjectIdT>(*item->getId())] = {share->mShortName(),
                                                                     buy ? *entry.quantity : -*entry.quantity};
    mLastDeal[share->mShortName()] = std::max(mLastDeal[share->mShortName()], entry.date);
}

void Books::dividend(const Step& step)
{
    if (doc().mShareArray().empty() && !makeFirst(Op::NewShare, step, 0)) return;
    std::shared_ptr<CCurRItem> share = pick(doc().mShareArray(), step.a);
    if (!share) return;
    if (share->numberOfShares() <= 0.0 && !makeFirst(Op::BuyShares, {Op::BuyShares, step.a, step.b, step.c, step.d}, 3))
        return;
    SheetParameters parameters = dividendParameters(*mOpen, share);
    DividendLogic sheet;
    sheet.initialize(parameters);
    DividendEntry entry;
    entry.dividend = std::round(amountOf(step.b) * 25.0) / 100.0;
    entry.tax = static_cast<double>(step.c % 500) / 100.0;
    entry.date = dayOf(step.d);
    entry.fromAccount = parameters.number(share_deal_key::kDividendFrom);
    entry.toAccount = parameters.number(share_deal_key::kDividendTo);
    entry.category = parameters.number(share_deal_key::kDividendExpenseType);
    entry.taxAccount = parameters.number(share_deal_key::kStockTaxAccount);
    entry.taxCategory = parameters.number(share_deal_key::kStockTaxExpenseType);
    entry.description = "Dividend " + std::to_string(++mNames);
    if (!sheet.checkContents(entry)) return;
    sheet.dialogClosed(1);
}

void Books::invoice(const Step& step, bool creditNote, bool supplier)
{
    if (businessArrays().VATRateArray.empty()) {
        arguments::VATRateArguments rate;
        rate.name = "Standard";
        rate.rate = 21.0;
        run(33, nullptr, &rate);
    }
    std::vector<std::shared_ptr<CAcoWItem>> customers = supplier ? doc().supplierArray() : doc().customerArray();
    if (customers.empty() || step.a % 4 == 0) {
        arguments::CAcoWArguments customer;
        customer.name = (supplier ? "Supplier " : "Customer ") + std::to_string(++mNames);
        if (supplier) customer.createSupplierOpenInvoices = true;
        else customer.createCustomerOpenInvoices = true;
        run(26, nullptr, &customer);
        customers = supplier ? doc().supplierArray() : doc().customerArray();
    }
    std::shared_ptr<CAcoWItem> customer = pick(customers, step.a / 4);
    if (!customer || !customer->getId()) return;
    arguments::InvoiceArguments values;
    values.invoiceName = (creditNote ? "Credit note " : "Invoice ") + std::to_string(++mNames);
    values.thirdPartyId = *customer->getId();
    values.invoiceNumber = "2009" + std::to_string(100000 + mNames);
    values.invoiceDate = dayOf(step.b);
    values.dueDate = values.invoiceDate;
    values.amountWithoutVAT = (creditNote ? -1.0 : 1.0) * amountOf(step.c);
    double rate = 0.0;
    if (auto chosen = vatRate(step.d); chosen && step.d % 3 != 0) {
        values.firstVATRateId = *chosen->idKey();
        if (auto* vat = dynamic_cast<business::GXVATRate*>(chosen.get())) rate = vat->rate().value_or(0.0);
    }
    values.paymentReference = "+++" + std::to_string(100 + mNames) + "+++";
    if (step.d % 5 == 0) {
        values.generatePayment = true;
        values.paymentCategoryId = doc().get_mDefExpTUnspecifiedIncome();
    }
    if (run(supplier ? 41 : 38, nullptr, &values) <= 0) return;
    Ledger::Invoice& made = mLedger.invoices[*values.invoiceName];
    made.total = cents(*values.amountWithoutVAT + cents(*values.amountWithoutVAT * rate / 100.0));
    // What the payment booked with it leaves open the ledger does not say.
    if (values.generatePayment) made.known = false;
}

// A payment of a customer, linked to one of its invoices by the drop on the
// invoice: of the whole, of a part, or of more than is open.
void Books::payment(const Step& step, bool supplier)
{
    if (invoices(!supplier).empty() && !makeFirst(supplier ? Op::SupplierInvoice : Op::Invoice, step, 0)) return;
    std::vector<std::shared_ptr<CTrnSItem>> open = invoices(!supplier);
    if (open.empty()) return;
    std::shared_ptr<CTrnSItem> invoice = pick(open, step.a);
    ObjectIdT customerId = 0;
    for (const auto& customer : supplier ? doc().supplierArray() : doc().customerArray()) {
        const std::optional<long> account =
            supplier ? customer->openCreditInvoiceAccount() : customer->openDebitInvoiceAccount();
        for (const LineItemArray& lines : {invoice->mFromList(), invoice->mToList()})
            for (const auto& line : lines)
                if (account && line->account() == account)
                    customerId = static_cast<ObjectIdT>(customer->getId().value_or(0));
    }
    if (!customerId) return;
    // What is open, or the whole when nothing is linked yet (the invoice
    // then answers a marker, not an amount).
    std::optional<double> openNow = invoice->unaccountedForAmount();
    if (!openNow || *openNow == kNoLinkedTransactionMarker || *openNow == kCreditNoteLinkedMarker) openNow = invoice->mTotalAmount();
    const double due = openNow.value_or(0.0);
    // The whole, a part, more than is open, nothing, less than nothing.
    const double share[] = {1.0, 0.5, 1.25, 0.3, 1.0, 0.0, -0.5};
    arguments::PaymentArguments values;
    values.paymentName = "Payment " + std::to_string(++mNames);
    values.thirdPartyId = customerId;
    values.paymentAmount = std::round(std::fabs(due) * share[step.b % 7] * 100.0) / 100.0;
    if (due == 0.0 && step.b % 7 < 5) values.paymentAmount = amountOf(step.c);
    values.paymentCategoryId = supplier ? doc().get_mDefExpTUnspecifiedExpense() : doc().get_mDefExpTUnspecifiedIncome();
    values.paymentDate = dayOf(step.d);
    values.paymentOwnerType = supplier ? arguments::kOwnerTypeSupplier : arguments::kOwnerTypeCustomer;
    const long made = run(supplier ? 46 : 44, nullptr, &values);
    if (made <= 0 || step.c % 5 == 0) return;
    if (auto payment = doc().getTransactionForId(static_cast<ObjectIdT>(made))) {
        if (!business::linkDroppedPayment(doc(), *invoice, *payment)) return;
        if (auto reckoned = mLedger.invoices.find(invoice->getName()); reckoned != mLedger.invoices.end())
            reckoned->second.payments[*values.paymentName] = *values.paymentAmount;
    }
}

void Books::splitPayment(const Step& step)
{
    std::vector<std::shared_ptr<CTrnSItem>> payments;
    for (const auto& item : doc().mTransactionArray())
        if (item->getSourceItem() && item->isLinkedToTransactionAsPayment().value_or(-1) > 0)
            if (auto invoice = doc().getTransactionForId(static_cast<ObjectIdT>(item->mReferenceObjectId().value_or(0))))
                if (invoice->mTransactionType() == 4) payments.push_back(item);
    if (payments.empty() && makeFirst(Op::Payment, step, 1)) {
        splitPayment(step);
        return;
    }
    std::shared_ptr<CTrnSItem> payment = pick(payments, step.a);
    if (!payment) return;
    const double whole = payment->mTotalAmount().value_or(0.0);
    if (whole < 0.02) return;
    arguments::SplitPaymentArguments values;
    values.paymentName = "Rest of " + payment->getName();
    values.originalAmount = whole;
    values.splitAmount = std::round(whole * (step.b % 8 + 1) * 10.0) / 100.0;
    values.leftOverAmount = whole - *values.splitAmount;
    values.ownerType = arguments::kOwnerTypeCustomer;
    run(45, payment, &values);
    if (auto invoice = doc().getTransactionForId(static_cast<ObjectIdT>(payment->mReferenceObjectId().value_or(0))))
        if (auto reckoned = mLedger.invoices.find(invoice->getName()); reckoned != mLedger.invoices.end())
            reckoned->second.known = false;
}

void Books::budget(const Step& step)
{
    std::shared_ptr<CBuDhItem> made;
    if (doc().mBudgetArray().empty() || step.a % 3 == 0) {
        // As the new-budget sheet sends it.
        arguments::NewBudgetArguments values;
        values.name = "Budget " + std::to_string(++mNames);
        values.comment = "";
        values.base = budget_base::kLastYear;
        values.baseMonth = 0;
        values.period = budget_period::kCurrentYear;
        values.nrOfYears = 0;
        values.nrOfMonths = 0;
        const long id = run(kNewBudgetCommand, nullptr, &values);
        for (const auto& budget : doc().mBudgetArray())
            if (budget->getId() && *budget->getId() == id) made = budget;
    }
    std::shared_ptr<CBuDhItem> budget = made ? made : pick(doc().mBudgetArray(), step.a);
    if (!budget) return;
    std::vector<std::shared_ptr<CAcnTItem>> own = moneyAccounts();
    const auto expenses = categoriesOfKind(group_kind::kExpense);
    if (own.empty() || expenses.empty()) return;
    const int first = static_cast<int>(step.b % 12);
    arguments::NewBudgetXRefArguments create(amountOf(step.c), 0.0, 0.0, 0.0, "Plan", false, first, first,
                                             std::min(11, first + static_cast<int>(step.d % 4)),
                                             *pick(own, step.c)->getId(), pick(expenses, step.d)->Get_Id());
    run(2, budget, &create);
}

std::string ledgerDifferences(const Ledger& ledger, Books& books)
{
    std::string out;
    for (const std::string& fault : ledger.faults) out += fault + "\n";
    for (const auto& [id, account] : ledger.accounts) {
        if (!account.known) continue;
        std::shared_ptr<CAcnTItem> item = books.accountNamed(account.name);
        if (!item) item = books.accountWithId(id);
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
        for (const auto& candidate : books.doc().mShareArray())
            if (candidate->mShortName() == symbol) share = candidate;
        if (!share) out += "  share " + symbol + " is gone\n";
        else if (std::fabs(share->numberOfShares() - held) > 1e-9)
            out += "  share " + symbol + ": " + std::to_string(share->numberOfShares()) + " held, its deals give " +
                   std::to_string(held) + "\n";
    }
    for (const auto& [name, invoice] : ledger.invoices) {
        if (!invoice.known) continue;
        std::shared_ptr<CTrnSItem> item = books.transactionNamed(name);
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
        if (open != owed && !(marker && !invoice.payments.empty()))
            out += "  invoice " + name + " has " + open + " open, its total less its payments is " + owed + "\n";
        std::set<std::string> linked;
        for (const auto& transaction : books.doc().mTransactionArray())
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
    return out;
}

void Books::applyOnce(const Step& step)
{
    switch (step.op) {
    case Op::NewAccount:
        newAccount(step);
        break;
    case Op::NewCategory: {
        CategorySheetLogic sheet;
        SheetParameters parameters = sheetParameters(kActionCreate);
        std::vector<CMasterExpenseType*> all = groups();
        std::vector<CMasterExpenseType*> usable;
        for (CMasterExpenseType* group : all)
            if (group->Get_mMasterExpenseType() == group_kind::kIncome || group->Get_mMasterExpenseType() == group_kind::kExpense)
                usable.push_back(group);
        if (usable.empty()) return;
        parameters.set(sheet_key::kMasterExpenseType, static_cast<long>(pick(usable, step.a)->Get_Id()));
        parameters.set(sheet_key::kName, "Category " + std::to_string(++mNames));
        sheet.initialize(parameters);
        if (!sheet.checkContents()) return;
        sheet.dialogClosed(1, parameters);
        mReckoned = true;
        break;
    }
    case Op::Booking:
        booking(step, false, false);
        break;
    case Op::SplitBooking:
        booking(step, true, false);
        break;
    case Op::Transfer:
        booking(step, false, true);
        break;
    case Op::NewCurrency:
        newCurrency(step);
        mReckoned = true;
        break;
    case Op::RateChange: {
        auto foreignOnes = [&] {
            std::vector<std::shared_ptr<CCurRItem>> foreign;
            auto home = doc().getHomeCurrency();
            for (const auto& currency : doc().mCurrencyArray())
                if (currency != home) foreign.push_back(currency);
            return foreign;
        };
        if (foreignOnes().empty()) makeFirst(Op::NewCurrency, step, 0);
        std::shared_ptr<CCurRItem> currency = pick(foreignOnes(), step.a);
        if (!currency) return;
        // On the day of a booking in the currency, or before it.
        DateT date = dayOf(step.b);
        if (step.c % 3 != 0) {
            std::vector<DateT> booked;
            for (const auto& account : doc().allAccounts())
                if (account->getSourceItem() && account->getCurrencyId() == currency->getId())
                    for (const auto& line : account->allTransactionDetailsWithoutFinalizing())
                        booked.push_back(line->getTransactionDate());
            if (!booked.empty()) {
                date = booked[step.c % booked.size()];
                if (step.c % 3 == 2) date = date % 100 > 1 ? date - 1 : date;
            }
        }
        arguments::CurrencyRateParameters rate;
        rate.quantity = 1;
        rate.factor = 0.5 + static_cast<double>(step.d % 150) / 100.0;
        rate.dateStart = date;
        run(18, currency, &rate);
        // A rate converts: what an account holds in its own currency stays.
        mReckoned = true;
        break;
    }
    case Op::NewShare:
        newShare(step);
        mReckoned = true;
        break;
    case Op::BuyShares:
        shareDeal(step, true);
        break;
    case Op::Dividend:
        dividend(step);
        break;
    case Op::SellShares:
        shareDeal(step, false);
        break;
    case Op::Recurring: {
        std::vector<std::shared_ptr<CAcnTItem>> own = moneyAccounts();
        std::vector<std::shared_ptr<CAcnTItem>> pl = plAccounts();
        const auto expenses = categoriesOfKind(group_kind::kExpense);
        if (own.empty() || pl.empty() || expenses.empty()) return;
        arguments::CTransactionArguments values;
        values.mTransactionDictionary = sheetTransaction(*pick(own, step.a)->getId(), *pick(pl, step.b)->getId(),
                                                    pick(expenses, step.c)->Get_Id(), amountOf(step.d),
                                                    dayOf(step.d >> 3), "Monthly " + std::to_string(++mNames));
        // Monthly, weekly or once, switched on mostly; half of them leave
        // their copies waiting to be linked.
        Dictionary& schedule = *values.mTransactionDictionary;
        static const long kinds[] = {recurring_type::kMonthly, recurring_type::kWeekly, recurring_type::kOnce,
                                     recurring_type::kMonthly};
        schedule.set(std::string(recurring_key::kRecurringType), kinds[step.a % 4]);
        // "OnOff" set switches the template off.
        schedule.set(std::string(recurring_key::kOnOff), step.b % 5 == 0);
        schedule.set(std::string(recurring_key::kAutomaticApproval), step.c % 2 == 0);
        schedule.set(std::string(recurring_key::kDayOfMonth), static_cast<int>(dayOf(step.d >> 3) % 100));
        schedule.set(std::string(recurring_key::kWeekdays[step.d % 7]), 1);
        schedule.set(std::string(recurring_key::kMonthlyType), 0);
        // The copies follow from the template's date on.
        schedule.set(std::string(recurring_key::kLastGeneratedOn), static_cast<long>(dayOf(step.d >> 3)));
        run(25, nullptr, &values);
        break;
    }
    case Op::Budget:
        budget(step);
        mReckoned = true;
        break;
    case Op::SupplierInvoice:
        invoice(step, step.b % 4 == 0, true);
        break;
    case Op::SupplierPayment:
        payment(step, true);
        break;
    case Op::Invoice:
        invoice(step, false);
        break;
    case Op::CreditNote:
        invoice(step, true);
        break;
    case Op::Payment:
        payment(step);
        break;
    case Op::SplitPayment:
        splitPayment(step);
        break;
    case Op::HomeCurrency: {
        if (doc().mCurrencyArray().size() < 2) makeFirst(Op::NewCurrency, step, 0);
        std::shared_ptr<CCurRItem> currency = pickCurrency(step.a);
        if (currency && currency->getId()) setting("HomeCurrency", *currency->getId());
        mReckoned = true;
        break;
    }
    case Op::YearStart:
        setting("CurrentYearStart", static_cast<long>(step.a % 12 + 1));
        mReckoned = true;
        break;
    case Op::DeleteTransaction: {
        std::vector<std::shared_ptr<CTrnSItem>> all;
        for (const auto& item : doc().mTransactionArray())
            if (item->getSourceItem()) all.push_back(item);
        std::shared_ptr<CTrnSItem> transaction = pick(all, step.a);
        if (!transaction) return;
        const std::string name = transaction->getName();
        AnswersAsAPerson person(!declines(step.b));
        if (!doc().deleteObject(transaction, true)) return;
        forgetTransaction(name);
        break;
    }
    case Op::DeleteAccount: {
        std::vector<CAccount*> all = accounts();
        std::vector<CAccount*> made;
        for (CAccount* account : all)
            if (account->Get_StringRefNameOnly().rfind("Account ", 0) == 0) made.push_back(account);
        CAccount* account = pick(step.c % 4 != 0 && !made.empty() ? made : all, step.a);
        if (!account) return;
        const ObjectIdT id = account->Get_Id();
        AnswersAsAPerson person(!declines(step.b));
        if (!doc().deleteObject(accountItem(account), true)) return;
        // Its transactions go with it; what they put on other accounts the
        // ledger takes back, and forgets those it never reckoned.
        std::vector<std::string> gone;
        for (const auto& [name, lines] : mLedger.transactions)
            for (const auto& line : lines)
                if (line.first == id) gone.push_back(name);
        for (const std::string& name : gone) mLedger.unbook(name);
        mLedger.accounts.erase(id);
        break;
    }
    case Op::DeleteCategory: {
        // Mostly the newest the steps made, which no booking may use yet;
        // one is made first when there is none.
        auto made = [&] {
            std::vector<CExpenseType*> out;
            for (CExpenseType* category : categories())
                if (category->Get_StringrefName().rfind("Category ", 0) == 0) out.push_back(category);
            return out;
        };
        if (made().empty()) makeFirst(Op::NewCategory, step, 0);
        CExpenseType* category = step.c % 4 != 0 && !made().empty() ? made().back() : pick(categories(), step.a);
        if (!category) return;
        AnswersAsAPerson person(!declines(step.b));
        doc().deleteObject(doc().dataItemController().categoryItemForCategory(category), true);
        break;
    }
    case Op::ModifyTransaction: {
        std::shared_ptr<CTrnSItem> transaction = pick(plainTransactions(), step.a);
        if (!transaction) return;
        LineItemArray from = transaction->mFromList();
        LineItemArray to = transaction->mToList();
        LineItemArray lines = transaction->mForList();
        if (from.size() != 1 || to.size() != 1 || lines.empty()) return;
        const ObjectIdT fromId = static_cast<ObjectIdT>(from.front()->account().value_or(0));
        const ObjectIdT toId = static_cast<ObjectIdT>(to.front()->account().value_or(0));
        const std::string name = transaction->getName();
        if (auto deal = mLedger.deals.find(static_cast<ObjectIdT>(transaction->getId().value_or(0)));
            deal != mLedger.deals.end())
            mLedger.sharesUnknown.insert(deal->second.first);
        const std::optional<Dictionary> sent =
            sheetSends(sheetTransaction(fromId, toId, static_cast<ObjectIdT>(lines.front()->account().value_or(0)),
                                        amountOf(step.b), dayOf(step.c), name));
        if (!sent) return;
        arguments::CTransactionArguments values;
        values.mTransactionDictionary = *sent;
        run(24, transaction, &values);
        // The same accounts, another amount: reckoned when the ledger knew
        // the transaction.
        if (!mLedger.transactions.contains(name)) return;
        auto fromItem = accountWithId(fromId);
        auto toItem = accountWithId(toId);
        if (!fromItem || !toItem) return;
        mLedger.unbook(name);
        mReckoned = true;
        reckonBooking(name, fromItem, toItem, amountOf(step.b));
        break;
    }
    case Op::MoveAccount: {
        const std::vector<CAccount*> all = accounts();
        const std::vector<CNonVisual*> types = accountTypes();
        CAccount* account = pick(all, step.a);
        CNonVisual* type = pick(types, step.b);
        if (!account || !type) return;
        arguments::CDragAndDropRelocationArgument move;
        move.idDroppedObject = account->Get_Id();
        move.droppedObjectType = type::kAccount;
        move.idReceivingObject = type->Get_Id();
        move.receivingObjectType = type::kAccountType;
        run(30, nullptr, &move);
        // Its lines stay; what it holds reads the other way round as a debt.
        mReckoned = true;
        if (auto moved = accountItem(account); moved && !(moved->isProperty() || moved->isDebt()))
            mLedger.accounts.erase(account->Get_Id());
        break;
    }
    case Op::NewOwner: {
        OwnerSheetLogic sheet;
        SheetParameters parameters = sheetParameters(kActionCreate);
        parameters.set(sheet_key::kPartnerName, "Owner " + std::to_string(++mNames));
        parameters.set(sheet_key::kPartnerAddress, "Street " + std::to_string(step.b % 100));
        sheet.initialize(parameters);
        if (!sheet.checkContents(false, false)) return;
        sheet.dialogClosed(1, parameters, step.c % 2 == 0, step.d % 2 == 0);
        break;
    }
    case Op::NewAccountType: {
        AccountTypeSheetLogic sheet;
        SheetParameters parameters = sheetParameters(kActionCreate);
        parameters.set(sheet_key::kMasterAccountType, static_cast<long>(step.a % 2 + 1));
        sheet.initialize(parameters);
        // The sheet opens with its name empty; the person types one.
        sheet.temporaryItem()->setGetNameOnly("Type " + std::to_string(++mNames));
        if (!sheet.checkContents()) return;
        sheet.dialogClosed(1, parameters);
        mReckoned = true;
        break;
    }
    case Op::DeleteAccountType: {
        std::vector<CNonVisual*> types = accountTypes();
        std::vector<CNonVisual*> made;
        for (CNonVisual* type : types)
            if (type->Get_StringrefName().rfind("Type ", 0) == 0) made.push_back(type);
        CNonVisual* type = pick(step.c % 4 != 0 && !made.empty() ? made : types, step.a);
        if (!type) return;
        AnswersAsAPerson person(!declines(step.b));
        doc().deleteObject(doc().dataItemController().accountTypeItemForAccountType(type), true);
        mReckoned = true;
        break;
    }
    default:
        moreSteps(step);
        break;
    }
}

} // namespace
} // namespace ch::test

#include "random_books_more_steps.h"
