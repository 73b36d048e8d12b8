// Random books, every round trip. Books are built by a seeded random series
// of the document's own steps (accounts of several kinds and currencies,
// categories, transactions with splits, transfers, rate changes, shares
// bought, paid dividends and sold, recurring templates, budgets, invoices,
// credit notes, payments linked, split and overpaid, a home-currency change,
// a year-start change, deletions), and then each test takes one round trip:
//   - save, close and open: every figure a person reads is what it was;
//   - save part way, more steps, crash, replay the journal: the same;
//   - QIF export, import into new books with the same accounts: every own
//     and debt account has its balance;
//   - every object's sheet opened to modify and OK pressed unchanged:
//     nothing changes.
// A failing series is printed with its seed, cut down to the steps it still
// fails with. RANDOM_BOOKS_SEED runs one seed, RANDOM_BOOKS_SEEDS=n runs the
// seeds 1..n instead of the few kept here, RANDOM_BOOKS_STEPS the length of
// a series, RANDOM_BOOKS_NO_SHRINK skips the cutting down,
// RANDOM_BOOKS_SHOW_QIF shows the books and the QIF file beside a wrong
// balance.

#include <gtest/gtest.h>

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
#include "business/InvoiceArguments.h"
#include "business/PaymentArguments.h"
#include "business/PaymentDrop.h"
#include "business/VATRateArguments.h"
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
#include "model/CTransaction.h"
#include "model/ModelCodes.h"
#include "model/budget/BudgetTypes.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/dispatcher.h"
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
    kCount
};

const char* opName(Op op)
{
    static const char* names[] = {"NewAccount",   "NewCategory",       "Booking",       "SplitBooking",
                                  "Transfer",     "NewCurrency",       "RateChange",    "NewShare",
                                  "BuyShares",    "Dividend",          "SellShares",    "Recurring",
                                  "Budget",       "Invoice",           "CreditNote",    "Payment",
                                  "SplitPayment", "HomeCurrency",      "YearStart",     "DeleteTransaction",
                                  "DeleteAccount", "DeleteCategory",   "ModifyTransaction", "MoveAccount",
                                  "NewOwner",     "NewAccountType", "DeleteAccountType"};
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
// whole books rarely.
std::vector<Step> randomSteps(unsigned seed, int count)
{
    std::mt19937 random(seed);
    static const std::vector<std::pair<Op, int>> weights = {
        {Op::NewAccount, 8},     {Op::NewCategory, 4},       {Op::Booking, 14},       {Op::SplitBooking, 6},
        {Op::Transfer, 6},       {Op::NewCurrency, 3},       {Op::RateChange, 5},     {Op::NewShare, 2},
        {Op::BuyShares, 4},      {Op::Dividend, 3},          {Op::SellShares, 3},     {Op::Recurring, 2},
        {Op::Budget, 2},         {Op::Invoice, 6},           {Op::CreditNote, 2},     {Op::Payment, 6},
        {Op::SplitPayment, 2},   {Op::HomeCurrency, 1},      {Op::YearStart, 1},      {Op::DeleteTransaction, 3},
        {Op::DeleteAccount, 2},  {Op::DeleteCategory, 1},    {Op::ModifyTransaction, 3}, {Op::MoveAccount, 2},
        {Op::NewOwner, 2},       {Op::NewAccountType, 1},    {Op::DeleteAccountType, 1}};
    // RANDOM_BOOKS_OPS="Booking,RateChange,..." keeps those kinds of step
    // only, to look for one fault by hand.
    std::vector<std::pair<Op, int>> chosen;
    const char* only = std::getenv("RANDOM_BOOKS_OPS");
    for (const auto& entry : weights)
        if (!only || ("," + std::string(only) + ",").find("," + std::string(opName(entry.first)) + ",") !=
                         std::string::npos)
            chosen.push_back(entry);
    if (chosen.empty()) chosen = weights;
    int total = 0;
    for (const auto& [op, weight] : chosen) total += weight;
    std::vector<Step> steps;
    for (int i = 0; i < count; ++i) {
        int pick = static_cast<int>(random() % static_cast<unsigned>(total));
        Op op = chosen.front().first;
        for (const auto& [candidate, weight] : chosen) {
            if (pick < weight) {
                op = candidate;
                break;
            }
            pick -= weight;
        }
        steps.push_back({op, static_cast<unsigned>(random()), static_cast<unsigned>(random()),
                         static_cast<unsigned>(random()), static_cast<unsigned>(random())});
    }
    return steps;
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

double amountOf(unsigned pick) { return static_cast<double>(pick % 50000 + 1) / 100.0 * ((pick >> 20) % 4 + 1); }

// --- one set of books and what a person does to it

class Books {
public:
    Books(Dispatcher& dispatcher, const std::string& journalFolder)
        : mOpen(std::make_unique<OpenDocument>(dispatcher, false))
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

    void apply(const Step& step);

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
    void invoice(const Step& step, bool creditNote);
    void payment(const Step& step);
    void splitPayment(const Step& step);
    void budget(const Step& step);

    std::unique_ptr<OpenDocument> mOpen;
    int mNames = 0;
};

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
    if (step.c % 3 == 0 && type != 3) sheet.temporaryItem()->setNewBalance(amountOf(step.d));
    if (!sheet.checkContents()) return;
    sheet.dialogClosed(1, parameters);
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
    const ObjectIdT from = income ? *other->getId() : *ours->getId();
    const ObjectIdT to = income ? *ours->getId() : *other->getId();
    arguments::CTransactionArguments values;
    values.mTransactionDictionary = sheetTransaction(from, to, category, amountOf(step.d), dayOf(step.d >> 7),
                                                "Booking " + std::to_string(++mNames), second,
                                                static_cast<double>(step.c % 9 + 1) / 10.0);
    run(23, nullptr, &values);
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
    std::shared_ptr<CCurRItem> share = pick(doc().mShareArray(), step.a);
    if (!share) return;
    SheetParameters parameters = shareDealParameters(*mOpen, share, buy);
    ShareDealLogic sheet;
    sheet.initialize(parameters);
    ShareDealEntry entry;
    entry.price = share->mConversionFactor().value_or(10.0) * (0.8 + static_cast<double>(step.b % 40) / 100.0);
    const double held = share->numberOfShares();
    entry.quantity = buy ? static_cast<double>(step.c % 50 + 1) : std::floor(held * (step.c % 4 + 1) / 4.0);
    if (!buy && *entry.quantity <= 0) return;
    entry.commission = static_cast<double>(step.d % 1000) / 100.0;
    entry.date = dayOf(step.d >> 5);
    entry.description = (buy ? "Bought " : "Sold ") + std::to_string(++mNames);
    entry.updateRate = step.d % 2 == 0;
    if (auto from = parameters.number(share_deal_key::kFromAccount)) entry.fromAccount = *from;
    if (auto commission = parameters.number(share_deal_key::kCommissionToAccount)) entry.commissionAccount = *commission;
    entry.total = sheet.total(*entry.price, *entry.quantity, *entry.commission, entry.date);
    if (!sheet.checkContents(entry)) return;
    sheet.dialogClosed(1);
}

void Books::dividend(const Step& step)
{
    std::shared_ptr<CCurRItem> share = pick(doc().mShareArray(), step.a);
    if (!share) return;
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

void Books::invoice(const Step& step, bool creditNote)
{
    if (businessArrays().VATRateArray.empty()) {
        arguments::VATRateArguments rate;
        rate.name = "Standard";
        rate.rate = 21.0;
        run(33, nullptr, &rate);
    }
    std::vector<std::shared_ptr<CAcoWItem>> customers = doc().customerArray();
    if (customers.empty() || step.a % 4 == 0) {
        arguments::CAcoWArguments customer;
        customer.name = "Customer " + std::to_string(++mNames);
        customer.createCustomerOpenInvoices = true;
        run(26, nullptr, &customer);
        customers = doc().customerArray();
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
    if (auto rate = vatRate(step.d); rate && step.d % 3 != 0) values.firstVATRateId = *rate->idKey();
    values.paymentReference = "+++" + std::to_string(100 + mNames) + "+++";
    if (step.d % 5 == 0) {
        values.generatePayment = true;
        values.paymentCategoryId = doc().get_mDefExpTUnspecifiedIncome();
    }
    run(38, nullptr, &values);
}

// A payment of a customer, linked to one of its invoices by the drop on the
// invoice: of the whole, of a part, or of more than is open.
void Books::payment(const Step& step)
{
    std::vector<std::shared_ptr<CTrnSItem>> open = invoices(true);
    if (open.empty()) return;
    std::shared_ptr<CTrnSItem> invoice = pick(open, step.a);
    ObjectIdT customerId = 0;
    for (const auto& customer : doc().customerArray())
        for (const auto& line : invoice->mFromList())
            if (customer->openDebitInvoiceAccount() && line->account() == customer->openDebitInvoiceAccount())
                customerId = static_cast<ObjectIdT>(customer->getId().value_or(0));
    if (!customerId) return;
    const double due = invoice->unaccountedForAmount().value_or(invoice->mTotalAmount().value_or(0.0));
    const double share[] = {1.0, 0.5, 1.25, 0.3};
    arguments::PaymentArguments values;
    values.paymentName = "Payment " + std::to_string(++mNames);
    values.thirdPartyId = customerId;
    values.paymentAmount = std::round(std::fabs(due) * share[step.b % 4] * 100.0) / 100.0;
    if (*values.paymentAmount <= 0.0) values.paymentAmount = amountOf(step.c);
    values.paymentCategoryId = doc().get_mDefExpTUnspecifiedIncome();
    values.paymentDate = dayOf(step.d);
    values.paymentOwnerType = arguments::kOwnerTypeCustomer;
    const long made = run(44, nullptr, &values);
    if (made <= 0 || step.c % 5 == 0) return;
    if (auto payment = doc().getTransactionForId(static_cast<ObjectIdT>(made)))
        business::linkDroppedPayment(doc(), *invoice, *payment);
}

void Books::splitPayment(const Step& step)
{
    std::vector<std::shared_ptr<CTrnSItem>> payments;
    for (const auto& item : doc().mTransactionArray())
        if (item->getSourceItem() && item->isLinkedToTransactionAsPayment().value_or(-1) > 0)
            if (auto invoice = doc().getTransactionForId(static_cast<ObjectIdT>(item->mReferenceObjectId().value_or(0))))
                if (invoice->mTransactionType() == 4) payments.push_back(item);
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

void Books::apply(const Step& step)
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
        break;
    case Op::RateChange: {
        std::vector<std::shared_ptr<CCurRItem>> foreign;
        auto home = doc().getHomeCurrency();
        for (const auto& currency : doc().mCurrencyArray())
            if (currency != home) foreign.push_back(currency);
        std::shared_ptr<CCurRItem> currency = pick(foreign, step.a);
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
        break;
    }
    case Op::NewShare:
        newShare(step);
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
        run(25, nullptr, &values);
        break;
    }
    case Op::Budget:
        budget(step);
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
        std::shared_ptr<CCurRItem> currency = pickCurrency(step.a);
        if (currency && currency->getId()) setting("HomeCurrency", *currency->getId());
        break;
    }
    case Op::YearStart:
        setting("CurrentYearStart", static_cast<long>(step.a % 12 + 1));
        break;
    case Op::DeleteTransaction: {
        std::vector<std::shared_ptr<CTrnSItem>> all;
        for (const auto& item : doc().mTransactionArray())
            if (item->getSourceItem()) all.push_back(item);
        if (auto transaction = pick(all, step.a)) doc().deleteObject(transaction, false);
        break;
    }
    case Op::DeleteAccount: {
        const std::vector<CAccount*> all = accounts();
        if (CAccount* account = pick(all, step.a)) doc().deleteObject(accountItem(account), false);
        break;
    }
    case Op::DeleteCategory: {
        const std::vector<CExpenseType*> all = categories();
        if (CExpenseType* category = pick(all, step.a))
            doc().deleteObject(doc().dataItemController().categoryItemForCategory(category), false);
        break;
    }
    case Op::ModifyTransaction: {
        std::shared_ptr<CTrnSItem> transaction = pick(plainTransactions(), step.a);
        if (!transaction) return;
        LineItemArray from = transaction->mFromList();
        LineItemArray to = transaction->mToList();
        LineItemArray lines = transaction->mForList();
        if (from.size() != 1 || to.size() != 1 || lines.empty()) return;
        const std::optional<Dictionary> sent = sheetSends(
            sheetTransaction(static_cast<ObjectIdT>(from.front()->account().value_or(0)),
                             static_cast<ObjectIdT>(to.front()->account().value_or(0)),
                             static_cast<ObjectIdT>(lines.front()->account().value_or(0)), amountOf(step.b),
                             dayOf(step.c), transaction->getName()));
        if (!sent) return;
        arguments::CTransactionArguments values;
        values.mTransactionDictionary = *sent;
        run(24, transaction, &values);
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
        parameters.set(sheet_key::kName, "Type " + std::to_string(++mNames));
        parameters.set(sheet_key::kMasterAccountType, static_cast<long>(step.a % 2 + 1));
        sheet.initialize(parameters);
        if (!sheet.checkContents()) return;
        sheet.dialogClosed(1, parameters);
        break;
    }
    case Op::DeleteAccountType: {
        const std::vector<CNonVisual*> types = accountTypes();
        if (CNonVisual* type = pick(types, step.a))
            doc().deleteObject(doc().dataItemController().accountTypeItemForAccountType(type), false);
        break;
    }
    case Op::kCount:
        break;
    }
}

// --- what a person reads of the books

using Figures = std::map<std::string, std::string>;

// The figures; `wrong` gets what is wrong whatever the books were before:
// an account's running balances that change when the Currencies and Shares
// pages build their own lists of the same lines.
Figures figuresOf(Books& books, std::string* wrong = nullptr)
{
    Figures out;
    MyDocument& doc = books.doc();
    CNonVisualDataItemController& registry = doc.dataItemController();
    std::vector<std::pair<std::string, LineItemArray>> shown;
    for (CAccount* account : books.accounts()) {
        auto item = books.accountItem(account);
        const std::string key = "account " + std::to_string(account->Get_Id()) + " " + account->Get_StringRefNameOnly();
        out[key] = "type " + number(item->getAccountTypeId()) + " currency " + number(item->getCurrencyId()) +
                   " owner " + number(item->getAccountOwnerId()) + " balance " + money(item->getBalance()) +
                   " home " + money(item->getLocalBalance());
        LineItemArray lines = item->allTransactionDetails();
        std::string running;
        for (const auto& line : lines) running += money(line->getCumulativeAmount()) + " ";
        out[key + " running"] = running;
        shown.emplace_back(key, std::move(lines));
    }
    for (bool share : {false, true})
        for (const auto& currency : share ? doc.mShareArray() : doc.mCurrencyArray()) currency->bookingLines();
    if (wrong)
        for (const auto& [key, lines] : shown) {
            std::string running;
            for (const auto& line : lines) running += money(line->getCumulativeAmount()) + " ";
            if (running != out[key + " running"])
                *wrong += "  " + key + " shows running balances " + running + "once the currency pages listed its lines; " +
                          out[key + " running"] + "before\n";
        }
    for (CExpenseType* category : books.categories()) {
        auto item = registry.categoryItemForCategory(category);
        out["category " + std::to_string(category->Get_Id()) + " " + category->Get_StringrefName()] =
            "balance " + money(item->getBalance()) + " this year " + money(item->YTDThisYear()) + " last year " +
            money(item->YTDLastYear()) + " total last year " + money(item->TotalLastYear()) + " average " +
            money(item->AvgMonthThisYear()) + " / " + money(item->AvgMonthLastYear());
    }
    for (CMasterExpenseType* group : books.groups()) {
        auto item = registry.categoryTypeItemForCategoryType(group);
        out["group " + std::to_string(group->Get_Id()) + " " + group->Get_StringrefName()] =
            "balance " + money(item->getBalance()) + " this year " + money(item->YTDThisYear()) + " last year " +
            money(item->YTDLastYear());
    }
    for (CNonVisual* type : books.accountTypes()) {
        auto item = registry.accountTypeItemForAccountType(type);
        out["account type " + std::to_string(type->Get_Id()) + " " + type->Get_StringrefName()] =
            "balance " + money(item->getBalance()) + " home " + money(item->getLocalBalance());
    }
    for (bool customer : {true, false})
        for (const auto& invoice : books.invoices(customer)) {
            out["invoice " + number(invoice->getId()) + " " + invoice->getName()] =
                "number " + text(invoice->mDocumentRef()) + " reference " + text(invoice->paymentReference()) +
                " open " + money(invoice->unaccountedForAmount()) + " total " + money(invoice->mTotalAmount());
        }
    for (const auto& owner : doc.mOwnerArray()) {
        if (!owner->getSourceItem()) continue;
        out["owner " + number(owner->getId())] =
            owner->getName() + " | " + text(owner->firstName()) + " | " + text(owner->officialAddress()) + " | " +
            text(owner->phone()) + " | " + text(owner->eMail()) + " | " + text(owner->VATNr()) + " | accounts " +
            number(owner->openDebitInvoiceAccount()) + " " + number(owner->debitorAccount()) + " " +
            number(owner->openCreditInvoiceAccount()) + " " + number(owner->creditorAccount()) + " categories " +
            number(owner->customerPaymentCategory()) + " " + number(owner->supplierInvoiceCategory());
    }
    for (const auto& budget : doc.mBudgetArray()) {
        if (!budget->getSourceItem()) continue;
        const std::string key = "budget " + number(budget->getId()) + " " + budget->getName();
        auto cells = [&](FourCharCode type, long id, const std::string& name) {
            auto line = budget->getDetailForType(type, id);
            if (!line) return;
            std::string row;
            for (int month = 0; month < 12; ++month)
                for (BudgetItemTypeT figure :
                     {budget_item::kBudgetIn, budget_item::kBudgetOut, budget_item::kBudgetEnd, budget_item::kActualIn,
                      budget_item::kActualOut, budget_item::kActualEnd})
                    row += money(line->getBudgettedAmountWithType(figure, month)) + " ";
            out[key + " " + name] = row;
        };
        for (CAccount* account : books.accounts())
            cells(type::kAccount, account->Get_Id(), "account " + std::to_string(account->Get_Id()));
        for (CExpenseType* category : books.categories())
            cells(type::kExpenseType, category->Get_Id(), "category " + std::to_string(category->Get_Id()));
    }
    return out;
}

std::string differences(const Figures& before, const Figures& after)
{
    std::ostringstream out;
    for (const auto& [key, value] : before) {
        auto found = after.find(key);
        if (found == after.end()) out << "  gone: " << key << " = " << value << "\n";
        else if (found->second != value) out << "  " << key << "\n    was " << value << "\n    now " << found->second << "\n";
    }
    for (const auto& [key, value] : after)
        if (!before.contains(key)) out << "  new: " << key << " = " << value << "\n";
    return out.str();
}

// --- the seeds

std::vector<unsigned> seeds()
{
    if (const char* one = std::getenv("RANDOM_BOOKS_SEED")) return {static_cast<unsigned>(std::strtoul(one, nullptr, 10))};
    if (const char* many = std::getenv("RANDOM_BOOKS_SEEDS")) {
        std::vector<unsigned> all;
        const unsigned count = static_cast<unsigned>(std::strtoul(many, nullptr, 10));
        for (unsigned seed = 1; seed <= count; ++seed) all.push_back(seed);
        return all;
    }
    return {1, 2, 3, 4, 5};
}

int stepCount()
{
    if (const char* count = std::getenv("RANDOM_BOOKS_STEPS")) return std::atoi(count);
    return 60;
}

class RandomBooksTest : public ::testing::Test {
protected:
    RandomBooksTest()
    {
        business::registerBusinessDefaults(environment.defaults());
        business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
        UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    }

    // A folder of its own for every run of a series: journals of books
    // dropped earlier are never offered to later ones.
    std::string freshFolder()
    {
        mRunFolder = folder.file("run" + std::to_string(++mRuns));
        std::filesystem::create_directories(mRunFolder);
        return mRunFolder;
    }
    std::string file(const std::string& name) const { return mRunFolder + "/" + name; }

    std::unique_ptr<Books> newBooks()
    {
        freshFolder();
        auto books = std::make_unique<Books>(dispatcher, mRunFolder);
        books->setUpNew("USD");
        settle();
        return books;
    }
    // Opens the file into new books, the journal's replay offered and
    // accepted when asked.
    // What the opening said goes to `report`: books this program wrote open
    // without a word.
    std::unique_ptr<Books> openBooks(const std::string& path, bool replay, std::string& report)
    {
        auto books = std::make_unique<Books>(dispatcher, mRunFolder);
        if (replay) environment.alerts().scriptAnswer(AlertAnswer::Default);
        const FileOutcome outcome = readFromFile(books->doc(), path);
        if (!outcome.ok()) report += "  opening failed: error " + std::to_string(outcome.error) + "\n";
        if (outcome.warning) {
            report += "  opening warned " + std::to_string(outcome.warning) + " about books this program wrote\n";
            if (outcome.warning == kBooksDamagedWarning)
                report += booksDamageLines(books->doc().accounting()->ReadDamage(), *books->doc().accounting()) + "\n";
        }
        settle();
        return books;
    }
    void settle() { dispatcher.advance(std::chrono::milliseconds(200)); }

    // What goes wrong with the steps, empty when nothing does.
    using Check = std::function<std::string(const std::vector<Step>&)>;

    // Runs the check on each seed's steps; a failing series is cut down by
    // leaving out steps while it still fails, and reported with its seed.
    void checkEverySeed(const Check& check)
    {
        for (unsigned seed : seeds()) {
            std::vector<Step> steps = randomSteps(seed, stepCount());
            std::string failure = check(steps);
            if (failure.empty()) continue;
            std::vector<Step> shortest = shrink(steps, check);
            ADD_FAILURE() << "seed " << seed << " (" << steps.size() << " steps) fails:\n"
                          << failure << "cut down to " << shortest.size() << " steps:\n"
                          << describe(shortest) << "which fails with:\n"
                          << check(shortest);
        }
    }

    static std::vector<Step> shrink(std::vector<Step> steps, const Check& check)
    {
        if (std::getenv("RANDOM_BOOKS_NO_SHRINK")) return steps;
        for (std::size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2) {
            bool cut = true;
            while (cut) {
                cut = false;
                for (std::size_t at = 0; at + chunk <= steps.size();) {
                    std::vector<Step> shorter = steps;
                    shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(at),
                                  shorter.begin() + static_cast<std::ptrdiff_t>(at + chunk));
                    if (!check(shorter).empty()) {
                        steps = std::move(shorter);
                        cut = true;
                    } else {
                        at += chunk;
                    }
                }
            }
        }
        return steps;
    }

    std::unique_ptr<Books> build(const std::vector<Step>& steps, std::size_t from = 0,
                                 std::unique_ptr<Books> books = nullptr)
    {
        if (!books) books = newBooks();
        for (std::size_t i = from; i < steps.size(); ++i) {
            books->apply(steps[i]);
            settle();
        }
        return books;
    }

    DocumentEnvironment environment;
    ManualDispatcher dispatcher;
    ScratchFolder folder;
    std::string mRunFolder;
    int mRuns = 0;
};

TEST_F(RandomBooksTest, FiguresAreTheSameAfterSaveCloseAndOpen)
{
    checkEverySeed([&](const std::vector<Step>& steps) {
        const std::string path = "Saved.books";
        Figures before;
        std::string wrong;
        {
            std::unique_ptr<Books> books = build(steps);
            before = figuresOf(*books, &wrong);
            const FileOutcome saved = saveDocumentAs(books->doc(), file(path));
            if (!saved.ok()) return "save failed: " + std::to_string(saved.error) + "\n";
        }
        std::string report = wrong;
        std::unique_ptr<Books> opened = openBooks(file(path), false, report);
        return report + differences(before, figuresOf(*opened));
    });
}

TEST_F(RandomBooksTest, ACrashLosesNothingThatTheJournalReplays)
{
    checkEverySeed([&](const std::vector<Step>& steps) {
        const std::string path = "Crashed.books";
        const std::size_t half = steps.size() / 2;
        Figures before;
        {
            std::unique_ptr<Books> books = build(std::vector<Step>(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(half)));
            const FileOutcome saved = saveDocumentAs(books->doc(), file(path));
            if (!saved.ok()) return "save failed: " + std::to_string(saved.error) + "\n";
            books = build(steps, half, std::move(books));
            before = figuresOf(*books);
            // The crash: the books go without a save.
        }
        std::string report;
        std::unique_ptr<Books> replayed = openBooks(file(path), true, report);
        for (const std::string& line : replayed->doc().commandExecutor().lastReplayReport())
            report += "  not made again: " + line + "\n";
        return report + differences(before, figuresOf(*replayed));
    });
}

// The books' transactions line by line: what the QIF check shows beside a
// wrong balance.
std::string booked(Books& books)
{
    std::string out;
    for (CTransaction* transaction : objectsOf<CTransaction>(books.root().mTransactionList.get())) {
        out += "  " + std::to_string(transaction->Get_mDate()) + " \"" + transaction->Get_StringrefName() +
               "\" type " + std::to_string(transaction->Get_mTransactionType()) + " " +
               money(transaction->Get_mTotalAmount()) + " in " + std::to_string(transaction->Get_mCurrencyId()) + "\n";
        for (const auto& [list, side] : {std::pair{transaction->GetDebitList(), "from"},
                                         std::pair{transaction->GetCreditList(), "to"},
                                         std::pair{transaction->GetExpenseTypeList(), "for"}})
            for (CDebit* line : objectsOf<CDebit>(list)) {
                CNonVisual* object = line->Get_mAccountPtr();
                out += std::string("    ") + side + " " + (object ? object->Get_StringrefName() : "?") + " " +
                       money(line->Get_mAmount()) + " " + std::to_string(line->Get_mCurrency()) + " = " +
                       money(line->Get_mLocalAmount()) + "\n";
            }
    }
    return out;
}

TEST_F(RandomBooksTest, QifExportImportedIntoNewBooksGivesEveryAccountItsBalance)
{
    checkEverySeed([&](const std::vector<Step>& steps) {
        std::unique_ptr<Books> books = build(steps);
        const std::string file = this->file("Books.qif");
        TransactionExport exporter(books->doc());
        if (!exporter.exportTransactionsFromDate(19000101, 21001231, true, file)) return std::string("export failed\n");

        // New books with the same currencies, accounts and categories, by name.
        std::unique_ptr<Books> fresh = std::make_unique<Books>(dispatcher, mRunFolder);
        auto home = books->doc().getHomeCurrency();
        fresh->setUpNew(home ? home->mShortName().c_str() : "USD");
        settle();
        std::map<std::string, long> currencyIds;
        for (const auto& currency : fresh->doc().mCurrencyArray()) currencyIds[currency->mShortName()] = *currency->getId();
        for (const auto& currency : books->doc().mCurrencyArray()) {
            if (currencyIds.contains(currency->mShortName())) continue;
            arguments::CurrencyArguments values;
            values.symbol = currency->mShortName();
            values.description = currency->mDescription();
            values.baseCurrencyId = currencyIds[home->mShortName()];
            values.conversionQuantity = currency->mConversionQuantity().value_or(1);
            values.conversionFactor = currency->mConversionFactor().value_or(1.0);
            values.fluctuationPlAccountId = 1;
            values.fluctuationsReasonCodeId = 5;
            fresh->run(6, nullptr, &values);
            for (const auto& made : fresh->doc().mCurrencyArray()) currencyIds[made->mShortName()] = *made->getId();
        }
        for (const auto& share : books->doc().mShareArray()) {
            CurrencySheetLogic sheet(true);
            SheetParameters parameters;
            parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(&fresh->open()));
            parameters.set(sheet_key::kDialogAction, static_cast<long>(kActionCreate));
            parameters.set(sheet_key::kCurrencyId, currencyIds[home->mShortName()]);
            sheet.initialize(parameters);
            sheet.values().symbol = share->mShortName();
            sheet.values().fullName = share->mDescription();
            sheet.values().factor = share->mConversionFactor();
            if (sheet.checkContents()) sheet.dialogClosed(1, parameters);
        }
        for (const auto& made : fresh->doc().mShareArray()) currencyIds[made->mShortName()] = *made->getId();
        auto currencySymbol = [&](Books& of, std::optional<long> id) {
            for (const auto& currency : of.doc().mCurrencyArray())
                if (currency->getId() == id) return currency->mShortName();
            return std::string();
        };
        std::set<std::string> names;
        for (const auto& account : fresh->doc().allAccounts()) names.insert(account->getNameOnly());
        for (const auto& account : books->doc().allAccounts()) {
            if (books->isShareAccount(*account)) continue;
            const bool money = account->isProperty() || account->isDebt();
            if (names.contains(account->getNameOnly())) {
                // One of the books' own accounts kept in the former home
                // currency: the same currency here.
                const std::string symbol = currencySymbol(*books, account->getCurrencyId());
                for (const auto& same : fresh->doc().allAccounts())
                    if (same->getNameOnly() == account->getNameOnly() && currencyIds.contains(symbol) &&
                        same->getCurrencyId() != std::optional<long>(currencyIds[symbol])) {
                        arguments::AccountArguments values;
                        values.idKey = *same->getId();
                        values.name = same->getNameOnly();
                        values.currencyId = currencyIds[symbol];
                        fresh->run(12, same, &values);
                    }
                // One of the books' own accounts moved to another kind: the
                // same move here.
                for (const auto& same : fresh->doc().allAccounts())
                    if (same->getNameOnly() == account->getNameOnly() && money &&
                        (same->isProperty() != account->isProperty() || same->isDebt() != account->isDebt())) {
                        arguments::CDragAndDropRelocationArgument move;
                        move.idDroppedObject = *same->getId();
                        move.droppedObjectType = type::kAccount;
                        move.idReceivingObject = account->isProperty() ? 1 : 2;
                        move.receivingObjectType = type::kAccountType;
                        fresh->run(30, nullptr, &move);
                    }
                continue;
            }
            const std::string symbol = currencySymbol(*books, account->getCurrencyId());
            if (!currencyIds.contains(symbol)) continue;
            const long kind = account->isProperty() ? 1 : account->isDebt() ? 2 : 3;
            arguments::AccountArguments values(std::nullopt, account->getNameOnly(), std::nullopt, kind,
                                               currencyIds[symbol], std::nullopt, std::nullopt, std::nullopt,
                                               std::nullopt, std::nullopt, std::nullopt);
            fresh->run(13, nullptr, &values);
        }
        std::set<std::string> categoryNames;
        for (CExpenseType* category : fresh->categories()) categoryNames.insert(category->Get_StringrefName());
        for (CExpenseType* category : books->categories()) {
            if (categoryNames.contains(category->Get_StringrefName())) continue;
            arguments::CategoryParameters values;
            values.name = category->Get_StringrefName();
            values.mMasterTypeId = category->Get_mMasterType();
            values.mParentId = category->Get_mMasterType() == group_kind::kIncome ? 0 : 1;
            fresh->run(15, nullptr, &values);
        }
        settle();

        std::map<std::string, std::string> expected;
        bool anything = false;
        for (const auto& account : books->moneyAccounts()) anything = anything || account->hasTransactions();
        StatementImport& import = fresh->doc().statementImport();
        if (!import.importFile(file, StatementKind::QIF))
            return std::string(anything ? "the QIF file was not read\n" : "");
        import.doActualImport();
        settle();

        std::map<std::string, std::string> read;
        for (const auto& account : books->moneyAccounts())
            expected[account->getNameOnly()] = money(account->getBalance());
        for (const auto& account : fresh->moneyAccounts())
            if (expected.contains(account->getNameOnly())) read[account->getNameOnly()] = money(account->getBalance());
        // What an account's own lines give in its currency, to the fraction
        // of a cent where they hold one (which a file of cents cannot
        // carry): where the books' balance is not that, the books disagree
        // with themselves.
        auto linesGive = [&](const std::string& name) {
            double total = 0.0;
            for (CTransaction* transaction : objectsOf<CTransaction>(books->root().mTransactionList.get()))
                for (const auto& [list, debit] : {std::pair{transaction->GetDebitList(), true},
                                                  std::pair{transaction->GetCreditList(), false}})
                    for (CDebit* line : objectsOf<CDebit>(list)) {
                        CNonVisual* object = line->Get_mAccountPtr();
                        auto* account = object && object->Get_ObjectType() == type::kAccount
                                            ? static_cast<CAccount*>(object)
                                            : nullptr;
                        if (!account || account->Get_StringRefNameOnly() != name) continue;
                        const double amount = account->LineAmountInOwnCurrency(*line);
                        total += (debit == account->thisIsADebtAccount()) ? amount : -amount;
                    }
            if (std::fabs(total * 100.0 - std::round(total * 100.0)) < 1e-6) return money(total);
            char text[64];
            std::snprintf(text, sizeof text, "%.4f", total);
            return std::string(text);
        };
        std::string out;
        for (const auto& [name, balance] : expected)
            if (read[name] != balance)
                out += "  " + name + ": " + balance + " in the books (its lines give " + linesGive(name) + "), " +
                       read[name] + " imported\n";
        if (!out.empty())
            for (const auto& line : import.mImportedTransactionArray())
            if (auto pending = std::dynamic_pointer_cast<CImpTItem>(line))
                out += "  not booked: \"" + pending->mTitle() + "\" " + money(pending->mAmount()) + ": " +
                       pending->mRemark() + "\n";
        // RANDOM_BOOKS_SHOW_QIF shows the file beside a wrong balance.
        if (!out.empty() && std::getenv("RANDOM_BOOKS_SHOW_QIF")) {
            out += booked(*books);
            std::ifstream written(file, std::ios::binary);
            out += std::string(std::istreambuf_iterator<char>(written), {});
        }
        return out;
    });
}

TEST_F(RandomBooksTest, EverySheetOpenedToModifyAndOkayedUnchangedChangesNothing)
{
    checkEverySeed([&](const std::vector<Step>& steps) {
        std::unique_ptr<Books> books = build(steps);
        OpenDocument& open = books->open();
        MyDocument& doc = books->doc();
        CNonVisualDataItemController& registry = doc.dataItemController();
        auto sheet = [&](long action) {
            SheetParameters parameters;
            parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(&open));
            parameters.set(sheet_key::kDialogAction, action);
            return parameters;
        };
        std::string out;
        Figures before = figuresOf(*books);
        auto after = [&](const std::string& what) {
            settle();
            Figures now = figuresOf(*books);
            const std::string changed = differences(before, now);
            if (!changed.empty()) out += what + " changed:\n" + changed;
            before = std::move(now);
        };
        for (CAccount* account : books->accounts()) {
            SheetParameters parameters = sheet(kActionModify);
            parameters.set(sheet_key::kAccountToModify, books->accountItem(account));
            AccountSheetLogic logic;
            logic.initialize(parameters);
            if (logic.checkContents()) logic.dialogClosed(1, parameters);
            after("the sheet of account " + account->Get_StringRefNameOnly());
        }
        for (CExpenseType* category : books->categories()) {
            SheetParameters parameters = sheet(kActionModify);
            parameters.set(sheet_key::kExpenseTypeToModify, registry.categoryItemForCategory(category));
            CategorySheetLogic logic;
            logic.initialize(parameters);
            if (logic.checkContents()) logic.dialogClosed(1, parameters);
            after("the sheet of category " + category->Get_StringrefName());
        }
        for (CMasterExpenseType* group : books->groups()) {
            SheetParameters parameters = sheet(kActionModify);
            parameters.set(sheet_key::kMasterExpenseTypeToModify, registry.categoryTypeItemForCategoryType(group));
            CategoryGroupSheetLogic logic;
            logic.initialize(parameters);
            if (logic.checkContents()) logic.dialogClosed(1, parameters);
            after("the sheet of category group " + group->Get_StringrefName());
        }
        for (CNonVisual* type : books->accountTypes()) {
            SheetParameters parameters = sheet(kActionModify);
            parameters.set(sheet_key::kAccountTypeToModify, registry.accountTypeItemForAccountType(type));
            AccountTypeSheetLogic logic;
            logic.initialize(parameters);
            if (logic.checkContents()) logic.dialogClosed(1, parameters);
            after("the sheet of account type " + type->Get_StringrefName());
        }
        for (bool share : {false, true}) {
            std::vector<std::shared_ptr<CCurRItem>> list = share ? doc.mShareArray() : doc.mCurrencyArray();
            for (const auto& currency : list) {
                SheetParameters parameters = sheet(kActionModify);
                parameters.set(sheet_key::kCurrencyToModify, currency);
                if (auto home = doc.getHomeCurrency(); home && home->getId()) parameters.set(sheet_key::kCurrencyId, static_cast<long>(*home->getId()));
                CurrencySheetLogic logic(share);
                logic.initialize(parameters);
                if (logic.checkContents()) logic.dialogClosed(1, parameters);
                after("the sheet of " + std::string(share ? "share " : "currency ") + currency->mShortName());
            }
        }
        for (const auto& owner : std::vector<std::shared_ptr<CAcoWItem>>(doc.mOwnerArray())) {
            SheetParameters parameters = sheet(kActionModify);
            parameters.set(sheet_key::kOwnerToModify, owner);
            OwnerSheetLogic logic;
            logic.initialize(parameters);
            if (logic.checkContents(false, false)) logic.dialogClosed(1, parameters, false, false);
            after("the sheet of owner " + owner->getName());
        }
        std::vector<std::shared_ptr<CTrnSItem>> transactions;
        for (const auto& item : doc.mTransactionArray())
            if (item->getSourceItem()) transactions.push_back(item);
        for (const auto& transaction : transactions) {
            if (!transaction->getSourceItem()) continue;
            SheetParameters parameters;
            parameters.set(transaction_sheet_key::kDocument, static_cast<SheetDocument*>(&open));
            parameters.set(transaction_sheet_key::kAction, static_cast<long>(kActionModify));
            parameters.set(transaction_sheet_key::kTransaction, transaction);
            TransactionEntryLogic logic;
            logic.initialize(parameters);
            const std::string name = transaction->getName();
            if (logic.checkContents(name)) logic.dialogClosed(1);
            after("the sheet of transaction " + name);
        }
        for (const auto& recurring : std::vector<std::shared_ptr<CRcrTItem>>(doc.mRecurringTransactionArray())) {
            SheetParameters parameters;
            parameters.set(transaction_sheet_key::kDocument, static_cast<SheetDocument*>(&open));
            parameters.set(transaction_sheet_key::kAction, static_cast<long>(kActionModify));
            parameters.set(transaction_sheet_key::kTransaction, recurring);
            TransactionEntryLogic logic(true);
            logic.initialize(parameters);
            const std::string name = recurring->getName();
            if (logic.checkContents(name)) logic.dialogClosed(1);
            after("the sheet of recurring transaction " + name);
        }
        return out;
    });
}

} // namespace
} // namespace ch::test
