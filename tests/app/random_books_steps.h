#pragma once
// The random series of steps and the books they are made on: each step goes
// through the command or sheet logic the window uses.

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

// What the steps must have done to the books, reckoned by the test itself
// and not read back from the program.
struct Ledger {
};

class Books;
// What the books hold that the ledger does not say; empty when they agree.
std::string ledgerDifferences(const Ledger& ledger, Books& books);

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
    const Ledger& ledger() const { return mLedger; }

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
    Ledger mLedger;
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

std::string ledgerDifferences(const Ledger&, Books&) { return {}; }

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

} // namespace
} // namespace ch::test
