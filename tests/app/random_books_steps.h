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
#include "random_books_ledger.h"
#include "random_books_series.h"

namespace ch::test {
namespace {

template <class T>
std::vector<T*> objectsOf(CNamedListArray* list)
{
    std::vector<T*> out;
    if (!list) return out;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
        if (auto* object = static_cast<T*>(list->ObjectAt(i))) out.push_back(object);
    return out;
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
    std::shared_ptr<CRcrTItem> recurringNamed(const std::string& name)
    {
        for (const auto& item : doc().mRecurringTransactionArray())
            if (item->getSourceItem() && item->getName() == name) return item;
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

std::string ledgerDifferences(const Ledger& ledger, Books& books) { return ledgerDifferences(ledger, books.doc()); }

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
        std::erase_if(mLedger.templates, [&](const auto& entry) { return !recurringNamed(entry.first); });
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
        if (!recurringNamed("Monthly " + std::to_string(mNames))) return;
        const int day = static_cast<int>(dayOf(step.d >> 3) % 100);
        // A day some months lack is not reckoned.
        mLedger.templates["Monthly " + std::to_string(mNames)] = {kinds[step.a % 4], step.b % 5 != 0, day,
                                                                 static_cast<int>(step.d % 7),
                                                                 static_cast<long>(dayOf(step.d >> 3)), day <= 28};
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
        mLedger.homeCurrencyChanged();
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
        // Mostly one the steps made that nothing stops going (a budget, a
        // template, a setting); now and then any, refusals and all.
        for (CAccount* account : all)
            if (account->Get_StringRefNameOnly().rfind("Account ", 0) == 0 && account->CanBeDeleted(false, nullptr))
                made.push_back(account);
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
        // Mostly the newest the steps made that no booking uses yet (a
        // category booked on is refused); one is made first when there is none.
        auto made = [&] {
            std::vector<CExpenseType*> out;
            for (CExpenseType* category : categories())
                if (category->Get_StringrefName().rfind("Category ", 0) == 0 &&
                    category->Get_Bookings()->GetCount() == 0)
                    out.push_back(category);
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
        // Any other booking on a share's holding account ("Rounding Errors"
        // after a home-currency change) moves shares the deals do not say.
        for (const auto& share : doc().mShareArray())
            if (auto held = share->mPortfolioAccountId(); held && (*held == fromId || *held == toId))
                mLedger.sharesUnknown.insert(share->mShortName());
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
