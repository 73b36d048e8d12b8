#include "large_books.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <random>
#include <string_view>
#include <unistd.h>

#include "document/DocumentBusiness.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CCurrencyRate.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"
#include "model/budget/BudgetTypes.h"
#include "model/budget/CBudgetHeader.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/GXDataStream.h"
#include "model/foundation/LDataStream.h"
#include "platform/core/unicode.h"

namespace ch::bench {

// --- the environment

BenchEnvironment::BenchEnvironment()
    : mClock(kToday), mDefaultsScope(mDefaults), mAlertScope(mAlerts)
{
    registerModelDefaults(mDefaults);
    setNameOrderLocale("en_US");
    mDecimals = CDecimal::getNrOfDecimals();
    CDecimal::putNrOfDecimals(2);
}

BenchEnvironment::~BenchEnvironment()
{
    CDecimal::putNrOfDecimals(mDecimals);
}

std::vector<long> BenchEnvironment::TakeAlerts()
{
    std::vector<long> numbers = mAlerts.numbers();
    mAlerts.clear();
    return numbers;
}

namespace {

// --- fixed-seed randomness (mt19937 is the same everywhere; the standard
// distributions are not, so the few we need are written out)

class Random {
public:
    explicit Random(std::uint32_t seed) : mEngine(seed) {}

    // 0 .. n-1
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>((std::uint64_t(mEngine()) * n) >> 32); }
    // [0, 1)
    double Unit() { return mEngine() / 4294967296.0; }
    bool Chance(double p) { return Unit() < p; }
    // An amount with two decimals between low and high, small amounts more likely.
    double Amount(double low, double high)
    {
        double u = Unit();
        return std::round((low + (high - low) * u * u * u) * 100.0) / 100.0;
    }
    // An index into weights.
    template <std::size_t N>
    std::size_t Weighted(const std::array<std::uint32_t, N>& weights)
    {
        std::uint32_t total = 0;
        for (auto w : weights) total += w;
        std::uint32_t pick = Below(total);
        for (std::size_t i = 0; i < N; ++i) {
            if (pick < weights[i]) return i;
            pick -= weights[i];
        }
        return N - 1;
    }

private:
    std::mt19937 mEngine;
};

// --- dates

// The date `days` days after 1 January of kFirstYear.
DateT DayToDate(std::int32_t days)
{
    // Days from 1970-01-01 to the civil date, and back (proleptic Gregorian).
    auto daysFromCivil = [](std::int32_t y, std::int32_t m, std::int32_t d) {
        y -= m <= 2;
        const std::int32_t era = (y >= 0 ? y : y - 399) / 400;
        const std::int32_t yoe = y - era * 400;
        const std::int32_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const std::int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe - 719468;
    };
    std::int32_t z = daysFromCivil(kFirstYear, 1, 1) + days + 719468;
    const std::int32_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int32_t doe = z - era * 146097;
    const std::int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int32_t mp = (5 * doy + 2) / 153;
    const std::int32_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int32_t m = mp + (mp < 10 ? 3 : -9);
    const std::int32_t y = yoe + era * 400 + (m <= 2);
    return y * 10000 + m * 100 + d;
}

constexpr std::int32_t kDaysInRange = 7305;   // 2006-01-01 .. 2025-12-31

// --- the chart of accounts

// Master types of account types (the account kinds).
constexpr long kOwnProperty = 1;
constexpr long kDebt = 2;
constexpr long kProfitAndLoss = 3;
constexpr long kAssets = 6;

struct TypePlan {
    const char* name;
    long masterType;
    const char* parent;   // null: below the default type of the master type
};

constexpr TypePlan kTypes[] = {
    {"Bank Accounts", kOwnProperty, nullptr}, {"Foreign Banks", kOwnProperty, "Bank Accounts"},
    {"Cash", kOwnProperty, nullptr},          {"Savings", kOwnProperty, nullptr},
    {"Credit Cards", kDebt, nullptr},         {"Loans", kDebt, nullptr},
    {"Real Estate", kAssets, nullptr},        {"Vehicles", kAssets, nullptr},
    {"Shops", kProfitAndLoss, nullptr},       {"Employers", kProfitAndLoss, nullptr},
    {"Services", kProfitAndLoss, nullptr},    {"Public Bodies", kProfitAndLoss, nullptr},
    {"Eating Out", kProfitAndLoss, nullptr},
};

enum Currency { kEUR, kUSD, kCHF };

// How an account takes part in the bookings.
enum class Role {
    kSpending,     // pays expenses, receives income and transfers
    kSaving,       // receives and gives transfers
    kCard,         // pays expenses, is paid off by transfers
    kLoan,         // paid off by transfers
    kAsset,        // bought now and then
    kShop,         // profit and loss: receives expenses
    kPayer,        // profit and loss: pays income
};

struct AccountPlan {
    const char* name;
    const char* type;
    Currency currency;
    Role role;
    std::uint32_t weight;   // how often it takes part
};

// 46 accounts; with the 4 default accounts the books hold 50.
constexpr AccountPlan kAccounts[] = {
    {"Current Account", "Bank Accounts", kEUR, Role::kSpending, 60},
    {"Joint Account", "Bank Accounts", kEUR, Role::kSpending, 14},
    {"Household Account", "Bank Accounts", kEUR, Role::kSpending, 8},
    {"Business Account", "Bank Accounts", kEUR, Role::kSpending, 6},
    {"Online Bank", "Bank Accounts", kEUR, Role::kSpending, 4},
    {"US Checking", "Foreign Banks", kUSD, Role::kSpending, 5},
    {"US Savings", "Foreign Banks", kUSD, Role::kSaving, 1},
    {"Swiss Account", "Foreign Banks", kCHF, Role::kSpending, 4},
    {"Swiss Savings", "Foreign Banks", kCHF, Role::kSaving, 1},
    {"Brokerage USD", "Foreign Banks", kUSD, Role::kSaving, 1},
    {"Wallet", "Cash", kEUR, Role::kSpending, 12},
    {"Petty Cash", "Cash", kEUR, Role::kSpending, 2},
    {"Dollar Cash", "Cash", kUSD, Role::kSpending, 1},
    {"Franc Cash", "Cash", kCHF, Role::kSpending, 1},
    {"Savings Book", "Savings", kEUR, Role::kSaving, 4},
    {"Holiday Savings", "Savings", kEUR, Role::kSaving, 2},
    {"Pension Savings", "Savings", kEUR, Role::kSaving, 2},
    {"Children Savings", "Savings", kEUR, Role::kSaving, 1},
    {"Swiss Pension", "Savings", kCHF, Role::kSaving, 1},
    {"Visa Card", "Credit Cards", kEUR, Role::kCard, 10},
    {"Mastercard", "Credit Cards", kEUR, Role::kCard, 5},
    {"Amex USD", "Credit Cards", kUSD, Role::kCard, 2},
    {"Store Card", "Credit Cards", kEUR, Role::kCard, 1},
    {"Mortgage", "Loans", kEUR, Role::kLoan, 3},
    {"Car Loan", "Loans", kEUR, Role::kLoan, 1},
    {"Swiss Loan", "Loans", kCHF, Role::kLoan, 1},
    {"House", "Real Estate", kEUR, Role::kAsset, 1},
    {"Holiday Flat", "Real Estate", kEUR, Role::kAsset, 1},
    {"Family Car", "Vehicles", kEUR, Role::kAsset, 1},
    {"Motorbike", "Vehicles", kEUR, Role::kAsset, 1},
    {"Supermarkets", "Shops", kEUR, Role::kShop, 30},
    {"Department Stores", "Shops", kEUR, Role::kShop, 8},
    {"Online Shops", "Shops", kEUR, Role::kShop, 10},
    {"US Online Shops", "Shops", kUSD, Role::kShop, 2},
    {"Employer", "Employers", kEUR, Role::kPayer, 10},
    {"Second Job", "Employers", kEUR, Role::kPayer, 3},
    {"US Client", "Employers", kUSD, Role::kPayer, 1},
    {"Swiss Client", "Employers", kCHF, Role::kPayer, 1},
    {"Utility Company", "Services", kEUR, Role::kShop, 6},
    {"Telephone Company", "Services", kEUR, Role::kShop, 4},
    {"Insurance Company", "Services", kEUR, Role::kShop, 3},
    {"Doctors", "Services", kEUR, Role::kShop, 3},
    {"Swiss Services", "Services", kCHF, Role::kShop, 1},
    {"Tax Office", "Public Bodies", kEUR, Role::kShop, 2},
    {"Town Hall", "Public Bodies", kEUR, Role::kShop, 1},
    {"Restaurants", "Eating Out", kEUR, Role::kShop, 12},
};

// Category groups: kind (0 income, 1 expense, 2 transfer), parent group name
// (null: the default group of the kind), and the categories filed in them.
struct GroupPlan {
    const char* name;
    MasterExpenseTypeT kind;
    const char* parent;
    std::vector<const char*> categories;
};

const std::vector<GroupPlan>& Groups()
{
    static const std::vector<GroupPlan> groups = {
        {"Salary", 0, nullptr, {"Net Salary", "Bonus", "Holiday Pay", "Thirteenth Month", "Overtime",
                                "Expense Refunds", "Commission", "Severance Pay"}},
        {"Investments", 0, nullptr, {"Interest", "Dividends", "Rental Income", "Capital Gains",
                                     "Bond Coupons", "Fund Distributions"}},
        {"Other Income", 0, nullptr, {"Gifts Received", "Sales of Used Goods", "Tax Refunds",
                                      "Child Benefit", "Insurance Payouts", "Lottery", "Freelance Work",
                                      "Tutoring", "Royalties", "Cashback", "Prizes",
                                      "Inheritance"}},
        {"Housing", 1, nullptr, {"Rent", "Mortgage Interest", "Service Charges", "Repairs",
                                 "Garden", "Furniture", "Property Tax", "Cleaning", "Decoration",
                                 "Home Insurance", "Removals"}},
        {"Utilities", 1, "Housing", {"Electricity", "Gas", "Water", "Heating Oil", "Waste Collection",
                                     "Sewage", "District Heating"}},
        {"Food", 1, nullptr, {"Groceries", "Bakery", "Butcher", "Market", "Organic Shop", "Beverages",
                              "Wine", "Fish Monger", "Cheese Shop", "Frozen Food"}},
        {"Eating Out", 1, "Food", {"Restaurant Meals", "Take-away", "Coffee Bars", "Lunch at Work",
                                   "Fast Food", "Ice Cream", "Bars", "Canteen"}},
        {"Transport", 1, nullptr, {"Public Transport", "Taxi", "Train Tickets", "Flights", "Bicycle",
                                   "Parking", "Tolls", "Car Sharing"}},
        {"Car", 1, "Transport", {"Fuel", "Car Insurance", "Car Tax", "Car Repairs", "Car Wash",
                                 "Tyres", "Car Inspection", "Car Accessories", "Driving Lessons"}},
        {"Health", 1, nullptr, {"Doctor", "Dentist", "Pharmacy", "Optician", "Physiotherapy",
                                "Health Insurance", "Hospital", "Fitness", "Vitamins"}},
        {"Leisure", 1, nullptr, {"Cinema", "Theatre", "Concerts", "Museums", "Books", "Music",
                                 "Games", "Hobbies", "Sports Club", "Streaming", "Newspapers",
                                 "Magazines", "Photography"}},
        {"Holidays", 1, "Leisure", {"Hotels", "Holiday Flights", "Holiday Rental", "Excursions",
                                    "Travel Insurance", "Souvenirs", "Camping"}},
        {"Insurance", 1, nullptr, {"Life Insurance", "Liability Insurance", "Legal Insurance",
                                   "Disability Insurance", "Pet Insurance",
                                   "Accident Insurance", "Funeral Insurance"}},
        {"Taxes", 1, nullptr, {"Income Tax", "Church Tax", "Dog Tax", "Tax Advisor", "Social Security",
                               "Solidarity Surcharge"}},
        {"Communication", 1, nullptr, {"Telephone", "Mobile Phone", "Internet", "Postage",
                                       "Television Licence", "Cable TV"}},
        {"Education", 1, nullptr, {"School Fees", "University", "Courses", "School Books",
                                   "Language Lessons", "Music Lessons", "Stationery",
                                   "Exam Fees", "Online Courses"}},
        {"Clothing", 1, nullptr, {"Clothes", "Shoes", "Children Clothes", "Sportswear", "Tailor",
                                  "Dry Cleaning", "Accessories"}},
        {"Children", 1, nullptr, {"Child Care", "Pocket Money", "Toys", "Babysitter", "School Trips",
                                  "Kindergarten"}},
        {"Household", 1, nullptr, {"Cleaning Products", "Kitchen Ware", "Appliances", "Tools",
                                   "Electronics", "Computer", "Software", "Bedding", "Lamps",
                                   "Curtains", "Batteries", "Plants"}},
        {"Personal Care", 1, nullptr, {"Hairdresser", "Cosmetics", "Toiletries", "Spa", "Manicure",
                                      "Barber", "Perfume"}},
        {"Gifts and Charity", 1, nullptr, {"Birthday Presents", "Christmas Presents", "Donations",
                                           "Wedding Gifts", "Flowers", "Greeting Cards"}},
        {"Pets", 1, nullptr, {"Pet Food", "Vet", "Pet Supplies", "Kennel", "Pet Grooming", "Aquarium"}},
        {"Finance", 1, nullptr, {"Bank Charges", "Card Fees", "Loan Interest", "Overdraft Interest",
                                 "Currency Exchange Fees", "Broker Fees"}},
        {"Savings Transfers", 2, nullptr, {"To Savings", "From Savings", "Card Payment",
                                           "Loan Repayment", "Between Own Accounts", "Cash Withdrawal",
                                           "Pension Contribution", "Currency Exchange"}},
    };
    return groups;
}

constexpr std::uint32_t kCategoriesWanted = 200;   // the default books bring 6

constexpr const char* kOwners[] = {
    "Anderson Plumbing", "Baker & Sons", "Carter Electrics", "Dupont Consulting", "Evans Garage",
    "Fischer Bookkeeping", "Garcia Catering", "Hoffmann Design", "Ivanova Translations",
    "Jensen Carpentry", "Keller Insurance", "Lambert Printing", "Moreau Architects", "Novak IT",
    "O'Brien Gardening", "Peeters Logistics", "Quinn Photography", "Rossi Imports",
    "Schmidt Tax Advisors", "Tanaka Trading", "Ulrich Medical", "Van Dijk Cleaning",
    "Weber Marketing", "Young Legal", "Zimmermann Transport",
};

constexpr const char* kPayeeFirst[] = {
    "Green", "City", "Corner", "Golden", "Royal", "Sunny", "Village", "Central", "Old Town",
    "Riverside", "Hill", "Park", "Star", "Market", "Station", "Harbour", "North", "South",
    "East", "West", "Lakeside", "Bridge", "Garden", "Castle",
};
constexpr const char* kPayeeSecond[] = {
    "Market", "Bakery", "Pharmacy", "Books", "Garage", "Bistro", "Cafe", "Hardware", "Fashion",
    "Electronics", "Pizzeria", "Butchers", "Florist", "Opticians", "Deli", "Stores",
};

// --- helpers

template <typename T>
T* Typed(CNonVisual* object)
{
    return static_cast<T*>(object);
}

std::string Text(double amount)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, amount, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

// --- the builder

class BooksBuilder {
public:
    BooksBuilder(const BookSize& size, BookCounts& counts)
        : mSize(size), mCounts(counts), mRandom(size.seed), mRoot(std::make_unique<CDocAccounting>())
    {
    }

    std::unique_ptr<CDocAccounting> Build()
    {
        mRoot->SetDefaults("EUR");
        AddOwners();
        AddCurrencies();
        AddAccountTypes();
        AddAccounts();
        AddCategories();
        AddTransactions();
        AddRecurring();
        AddBudgets();
        return std::move(mRoot);
    }

private:
    void AddOwners()
    {
        for (const char* name : kOwners) {
            std::string mail = std::string("office@") + std::to_string(mCounts.owners + 1) + ".example";
            mRoot->InsertAccountOwner(0, std::string_view(name), std::nullopt, std::string_view("Main Street 1"),
                                      std::string_view("+1 555 0100"), std::nullopt, std::string_view(mail),
                                      std::nullopt);
            ++mCounts.owners;
        }
    }

    void AddCurrencies()
    {
        mCurrencies[kEUR] = Typed<CCurrency>(mRoot->mCurrencyList->GetValueForId(1));
        struct Foreign {
            Currency which;
            const char* symbol;
            const char* name;
            double start;   // home units per unit in the first month
        };
        const Foreign foreign[] = {{kUSD, "USD", "US Dollar", 0.80}, {kCHF, "CHF", "Swiss Franc", 0.65}};
        for (const Foreign& f : foreign) {
            CCurrency* currency = mRoot->InsertCurrency(-1, f.symbol, std::nullopt, f.name, std::string_view(f.name),
                                                        1, 0, 1, f.start, 20060101, 1, -1, -1);
            mCurrencies[f.which] = currency;
            // A rate for the first of every month, drifting a little; recorded
            // oldest first, as a user or the web fetch would have entered them.
            double factor = f.start;
            for (std::int32_t month = 1; month < kYears * 12; ++month) {
                factor *= 1.0 + (mRandom.Unit() - 0.5) * 0.04;
                factor = std::round(factor * 10000.0) / 10000.0;
                DateT date = (kFirstYear + month / 12) * 10000 + (month % 12 + 1) * 100 + 1;
                currency->ImportCurrencyRate(date, 1, factor, 1);
            }
            mCounts.rates += currency->Get_mHistoryList()->GetCount();
        }
        mCounts.currencies = mRoot->mCurrencyList->GetCount();
    }

    void AddAccountTypes()
    {
        for (const TypePlan& plan : kTypes) {
            // Below the default type of the master type (which has its id), or the named type.
            ObjectIdT parent = plan.masterType;
            if (plan.parent) parent = mTypes.at(plan.parent)->Get_Id();
            CAccType* type = mRoot->InsertAccountType(-1, plan.name, std::string_view(plan.name), nullptr,
                                                      std::nullopt, plan.masterType, parent);
            mTypes[plan.name] = type;
        }
        mCounts.accountTypes = mRoot->mAccountTypeList->GetCount();
    }

    void AddAccounts()
    {
        for (const AccountPlan& plan : kAccounts) {
            CAccType* type = mTypes.at(plan.type);
            CAccount* account = mRoot->InsertAccount(-1, plan.name, std::string_view(plan.name), nullptr,
                                                     std::nullopt, type->Get_Id(),
                                                     mCurrencies[plan.currency]->Get_Id(), type);
            account->Put_mAccountOwnerId(1);
            mAccounts.push_back({account, &plan});
        }
        mCounts.accounts = mRoot->mAccountList->GetCount();
    }

    void AddCategories()
    {
        std::uint32_t wanted = kCategoriesWanted - mRoot->mExpenseTypeList->GetCount();
        for (const GroupPlan& plan : Groups()) {
            ObjectIdT parent = plan.parent ? mGroups.at(plan.parent)->Get_Id() : plan.kind;
            CMasterExpenseType* group = mRoot->InsertMasterExpenseType(
                -1, plan.name, std::string_view(plan.name), nullptr, std::nullopt, plan.kind, parent);
            mGroups[plan.name] = group;
            for (const char* name : plan.categories) {
                if (wanted == 0) break;
                CExpenseType* category = mRoot->InsertExpenseType(-1, name, std::string_view(name), nullptr,
                                                                  std::nullopt, group->Get_Id(), std::nullopt,
                                                                  group, plan.kind == 1 ? 10.0 : 0.0);
                (plan.kind == 0 ? mIncomeCategories : plan.kind == 1 ? mExpenseCategories : mTransferCategories)
                    .push_back(category);
                --wanted;
            }
        }
        mCounts.groups = mRoot->mMasterExpenseTypeList->GetCount();
        mCounts.categories = mRoot->mExpenseTypeList->GetCount();
    }

    // An account of one of the roles, chosen by weight.
    // Not `other`; in the currency of `sameCurrency` when one is given.
    CAccount* Pick(std::initializer_list<Role> roles, const CAccount* other = nullptr,
                   const CAccount* sameCurrency = nullptr)
    {
        auto eligible = [&](const AccountEntry& entry) {
            return entry.account != other &&
                   std::find(roles.begin(), roles.end(), entry.plan->role) != roles.end() &&
                   (!sameCurrency || entry.account->Get_mCurrency() == sameCurrency->Get_mCurrency());
        };
        std::uint32_t total = 0;
        for (const auto& entry : mAccounts)
            if (eligible(entry)) total += entry.plan->weight;
        if (total == 0) return nullptr;
        std::uint32_t pick = mRandom.Below(total);
        for (const auto& entry : mAccounts) {
            if (!eligible(entry)) continue;
            if (pick < entry.plan->weight) return entry.account;
            pick -= entry.plan->weight;
        }
        return nullptr;
    }

    template <typename T>
    T* PickFrom(const std::vector<T*>& list)
    {
        // Earlier entries are the everyday ones: favour them.
        double u = mRandom.Unit();
        return list[static_cast<std::size_t>(u * u * list.size())];
    }

    std::string Payee()
    {
        std::string name = kPayeeFirst[mRandom.Below(std::size(kPayeeFirst))];
        name += ' ';
        name += kPayeeSecond[mRandom.Below(std::size(kPayeeSecond))];
        return name;
    }

    void AddTransactions()
    {
        std::vector<CTransaction*> made;
        made.reserve(mSize.transactions);
        for (std::uint32_t i = 0; i < mSize.transactions; ++i) {
            // Spread evenly over the 20 years, oldest first.
            DateT date = DayToDate(static_cast<std::int32_t>(std::uint64_t(i) * kDaysInRange / mSize.transactions));
            made.push_back(MakeTransaction(date));
        }
        // The list runs newest first: appending from the newest keeps it in order.
        for (auto it = made.rbegin(); it != made.rend(); ++it) mRoot->mTransactionList->AppendObject(*it);
        mRoot->mTransactionList->SetNotSorted();
        mRoot->mTransactionList->Sort();
        mCounts.transactions = mRoot->mTransactionList->GetCount();
    }

    // Standing orders and other templates. Each was last generated today, so
    // nothing falls due when the books are read on the same day.
    void AddRecurring()
    {
        using namespace recurring_type;
        struct Template {
            const char* name;
            const char* from;
            const char* to;
            const char* category;
            double amount;
            RecurringTypeT kind;
            long day;   // day of the month, interval in days, or weekday (Monday 0)
        };
        const Template templates[] = {
            {"Rent", "Current Account", "Town Hall", "Rent", 950.0, kMonthly, 1},
            {"Salary", "Employer", "Current Account", "Net Salary", 3150.0, kMonthly, 25},
            {"Electricity", "Current Account", "Utility Company", "Electricity", 78.5, kMonthly, 15},
            {"Mobile Phone", "Current Account", "Telephone Company", "Mobile Phone", 29.99, kMonthly, 5},
            {"Health Insurance", "Current Account", "Insurance Company", "Health Insurance", 310.2, kMonthly, 1},
            {"Savings Plan", "Current Account", "Savings Book", "To Savings", 200.0, kMonthly, 28},
            {"Mortgage Payment", "Joint Account", "Mortgage", "Loan Repayment", 720.0, kMonthly, 2},
            {"Weekly Market", "Wallet", "Supermarkets", "Market", 45.0, kWeekly, 5},
            {"Newspaper", "Visa Card", "Online Shops", "Newspapers", 19.9, kSeveralTimesAMonth, 30},
            {"Car Insurance", "Current Account", "Insurance Company", "Car Insurance", 265.0,
             kSeveralTimesAYear, 0},
            {"Property Tax", "Current Account", "Tax Office", "Property Tax", 412.0, kYearly, 0},
            {"Birthday Present", "Wallet", "Department Stores", "Birthday Presents", 50.0, kManual, 0},
        };
        for (const Template& plan : templates) {
            CAccount* from = mRoot->GetAccountForName(std::string_view(plan.from));
            CAccount* to = mRoot->GetAccountForName(std::string_view(plan.to));
            CExpenseType* category = mRoot->GetExpenseTypeForName(std::string_view(plan.category));
            if (!from || !to || !category) continue;
            CRecurringTransaction* t = mRoot->InsertRecurringTransaction(1, 1);
            t->Put_Name(plan.name);
            t->Put_mCurrencyId(from->Get_mCurrency(), nullptr);
            t->Set_Debit_Account(static_cast<CDebit*>(t->GetDebitList()->ObjectAt(1)), from->Get_Id());
            t->Set_Credit_Account(static_cast<CCredit*>(t->GetCreditList()->ObjectAt(1)), to->Get_Id());
            t->Set_ExpenseType_Account(static_cast<CExptypeDetail*>(t->GetExpenseTypeList()->ObjectAt(1)),
                                       category->Get_Id());
            t->Put_mTotalAmount(plan.amount);
            t->Put_mRecurringType(plan.kind);
            if (plan.kind == kMonthly) {
                t->Put_mMonthlyType(monthly_type::kDayOfMonth);
                t->Put_mDayOfMonth(plan.day);
            } else if (plan.kind == kSeveralTimesAMonth) {
                t->Put_mDayOfMonth(plan.day);
            } else if (plan.kind == kWeekly) {
                t->Put_mMonday(0);
                t->Put_mSaturDay(1);
            } else if (plan.kind == kSeveralTimesAYear) {
                t->Put_mNumberOfTimesPerYear(2);
                t->Put_mDateOfYear1(20060115);
                t->Put_mDateOfYear2(20060715);
            }
            t->Put_mLastGeneratedOn(20260101);
        }
        mCounts.recurring = mRoot->mRecurringList->GetCount();
    }

    // The budget of the current year planned from last year's bookings, and
    // the next year's continuing it.
    void AddBudgets()
    {
        CBudgetHeader* current = mRoot->MakeNewBudget(budget_base::kLastYear, 0, budget_period::kCurrentYear, 1,
                                                      12, -1, "Planned from last year", "Household budget");
        mRoot->MakeNewBudget(budget_base::kBaseBudget, 0, budget_period::kFollowBase, 1, 12, current->Get_Id(),
                             "Continues the household budget", "Next year");
        mCounts.budgets = mRoot->mBudgetList->GetCount();
    }

    CTransaction* MakeTransaction(DateT date)
    {
        // 55% expenses, 10% split expenses, 15% income, 15% transfers, 5%
        // other bookings paid from two accounts.
        const std::array<std::uint32_t, 5> kinds{55, 10, 15, 15, 5};
        switch (mRandom.Weighted(kinds)) {
        case 0: return Expense(date, false);
        case 1: return Expense(date, true);
        case 2: return Income(date);
        case 3: return Transfer(date);
        default: return SplitPayment(date);
        }
    }

    CTransaction* NewTransaction(TransactionTypeT type, DateT date, const std::string& name, CAccount* own)
    {
        auto* transaction = new CTransaction(-1, mRoot.get(), false, type, false);
        transaction->Put_mDate(date);
        transaction->Put_Name(name.c_str());
        transaction->Put_mCurrencyId(own->Get_mCurrency(), nullptr);
        if (mRandom.Chance(0.2)) {
            std::string description = "Invoice " + std::to_string(100000 + mRandom.Below(900000));
            transaction->Put_mDescription(description.c_str());
        }
        if (mRandom.Chance(0.1)) transaction->Put_CFExternalReference(std::to_string(mRandom.Below(1u << 30)));
        return transaction;
    }

    CTransaction* Finish(CTransaction* transaction, double amount, std::uint32_t lines)
    {
        transaction->Put_mTotalAmount(amount);
        if (!transaction->Validate()) ++mCounts.invalid;
        mCounts.lines += lines;
        return transaction;
    }

    CTransaction* Expense(DateT date, bool split)
    {
        CAccount* from = Pick({Role::kSpending, Role::kCard});
        CAccount* to = Pick({Role::kShop});
        CTransaction* t = NewTransaction(transaction_type::kExpense, date, Payee(), from);
        double amount = mRandom.Amount(1.0, 600.0);
        t->Set_Debit_Account(t->Add_Debit(-1, true, amount), from->Get_Id());
        t->Set_Credit_Account(t->Add_Credit(-1, true, amount), to->Get_Id());
        if (!split) {
            t->Set_ExpenseType_Account(t->Add_ExpenseType(-1, true, amount), PickFrom(mExpenseCategories)->Get_Id());
            return Finish(t, amount, 3);
        }
        double first = std::round(amount * (0.3 + 0.4 * mRandom.Unit()) * 100.0) / 100.0;
        t->Set_ExpenseType_Account(t->Add_ExpenseType(-1, true, first), PickFrom(mExpenseCategories)->Get_Id());
        CExptypeDetail* rest = t->Add_ExpenseType(-1, true, std::round((amount - first) * 100.0) / 100.0);
        t->Set_ExpenseType_Account(rest, PickFrom(mExpenseCategories)->Get_Id());
        t->Put_mTotalAmount(amount);
        // The two parts convert to the home currency one by one: the second
        // takes up what rounding left over.
        t->BalanceExpenseType(rest);
        return Finish(t, amount, 4);
    }

    CTransaction* Income(DateT date)
    {
        CAccount* from = Pick({Role::kPayer});
        CAccount* to = Pick({Role::kSpending});
        CTransaction* t = NewTransaction(transaction_type::kIncome, date, from->Get_StringrefName(), to);
        double amount = mRandom.Amount(20.0, 4000.0);
        t->Set_Debit_Account(t->Add_Debit(-1, true, amount), from->Get_Id());
        t->Set_Credit_Account(t->Add_Credit(-1, true, amount), to->Get_Id());
        t->Set_ExpenseType_Account(t->Add_ExpenseType(-1, true, amount), PickFrom(mIncomeCategories)->Get_Id());
        return Finish(t, amount, 3);
    }

    CTransaction* Transfer(DateT date)
    {
        // Two lines: a transfer between own accounts needs no category.
        CAccount* from = Pick({Role::kSpending, Role::kSaving});
        CAccount* to = Pick({Role::kSpending, Role::kSaving, Role::kCard, Role::kLoan, Role::kAsset}, from);
        CTransaction* t = NewTransaction(transaction_type::kTransfer, date, "Transfer", from);
        double amount = mRandom.Amount(10.0, 2500.0);
        t->Set_Debit_Account(t->Add_Debit(-1, true, amount), from->Get_Id());
        t->Set_Credit_Account(t->Add_Credit(-1, true, amount), to->Get_Id());
        return Finish(t, amount, 2);
    }

    CTransaction* SplitPayment(DateT date)
    {
        // Both paying accounts in the home currency: the parts then add up to
        // the whole in every currency the books know.
        CAccount* first = Pick({Role::kSpending}, nullptr, mAccounts.front().account);
        CAccount* second = Pick({Role::kSpending, Role::kCard}, first, first);
        if (!second) return Expense(date, false);
        CAccount* to = Pick({Role::kShop});
        CTransaction* t = NewTransaction(transaction_type::kOther, date, Payee(), first);
        double amount = mRandom.Amount(20.0, 1500.0);
        double part = std::round(amount * (0.2 + 0.6 * mRandom.Unit()) * 100.0) / 100.0;
        t->Set_Debit_Account(t->Add_Debit(-1, true, part), first->Get_Id());
        t->Set_Debit_Account(t->Add_Debit(-1, true, std::round((amount - part) * 100.0) / 100.0),
                             second->Get_Id());
        t->Set_Credit_Account(t->Add_Credit(-1, true, amount), to->Get_Id());
        t->Set_ExpenseType_Account(t->Add_ExpenseType(-1, true, amount), PickFrom(mExpenseCategories)->Get_Id());
        t->Put_mTotalAmount(amount);
        return Finish(t, amount, 4);
    }

    struct AccountEntry {
        CAccount* account;
        const AccountPlan* plan;
    };

    const BookSize& mSize;
    BookCounts& mCounts;
    Random mRandom;
    std::unique_ptr<CDocAccounting> mRoot;
    std::array<CCurrency*, 3> mCurrencies{};
    std::map<std::string, CAccType*, std::less<>> mTypes;
    std::map<std::string, CMasterExpenseType*, std::less<>> mGroups;
    std::vector<AccountEntry> mAccounts;
    std::vector<CExpenseType*> mExpenseCategories;
    std::vector<CExpenseType*> mIncomeCategories;
    std::vector<CExpenseType*> mTransferCategories;
};

// --- the ledger journal

// A ledger account name: our names may hold the ledger's separators.
std::string LedgerName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == ':') c = '-';
        if (c == '\t' || c == '(' || c == ')' || c == '[' || c == ']' || c == ';') c = ' ';
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;   // two blanks end a name
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out.empty() ? "-" : out;
}

std::string AccountPath(const CNonVisual* object)
{
    if (!object) return "Unknown";
    std::vector<std::string> parts;
    if (object->Get_ObjectType() == type::kAccount) {
        auto* account = static_cast<const CAccount*>(object);
        parts.push_back(LedgerName(account->Get_StringRefNameOnly()));
        for (const CAccType* type = account->Get_mAccountTypePtr(); type && parts.size() < 16;
             type = type->Get_mParentTypePtr())
            parts.push_back(LedgerName(type->Get_StringRefNameOnly()));
    } else if (object->Get_ObjectType() == type::kExpenseType) {
        auto* category = static_cast<const CExpenseType*>(object);
        parts.push_back(LedgerName(category->Get_StringrefName()));
        for (const CMasterExpenseType* group = category->Get_mMasterExpensetypePtr(); group && parts.size() < 16;
             group = group->Get_mParentTypePtr())
            parts.push_back(LedgerName(group->Get_StringrefName()));
    } else {
        parts.push_back(LedgerName(object->Get_StringrefName()));
    }
    std::string path;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (!path.empty()) path += ':';
        path += *it;
    }
    return path;
}

std::string LedgerDate(DateT date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", static_cast<int>(date / 10000),
                  static_cast<int>(date / 100 % 100), static_cast<int>(date % 100));
    return buffer;
}

} // namespace

std::unique_ptr<CDocAccounting> BuildLargeBooks(const BookSize& size, BookCounts* counts)
{
    BookCounts local;
    BookCounts& out = counts ? *counts : local;
    out = BookCounts{};
    return BooksBuilder(size, out).Build();
}

std::vector<std::uint8_t> SaveDocument(CDocAccounting& root)
{
    // As the document does: room for the books as last read or written.
    auto data = std::make_shared<GXDataStream::Buffer>();
    const std::size_t hint = root.StreamSizeHint();
    data->reserve(hint + hint / 8 + 4096);
    GXDataStream stream;
    stream.setDataObject(data);
    root.DoSave(&stream);

    PlistOutput archive = emptyBusinessArchive();
    data->insert(data->end(), archive.bytes.begin(), archive.bytes.end());
    return std::move(*data);
}

LoadedDocument LoadDocument(std::vector<std::uint8_t>& bytes)
{
    LoadedDocument loaded;
    loaded.root = std::make_unique<CDocAccounting>();
    LDataStream stream(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    loaded.modelRead = loaded.root->initFromStream(&stream);

    // The archive starts behind the end tag on which the reader stopped.
    std::int64_t start = std::int64_t(stream.GetMarker()) + 4;
    if (start < std::int64_t(bytes.size())) {
        std::string_view archive(reinterpret_cast<const char*>(bytes.data()) + start, bytes.size() - start);
        loaded.archiveRead = readEmptyBusinessArchive(archive) == 0;
    }
    return loaded;
}

void WriteLedger(const CDocAccounting& root, std::ostream& out)
{
    out << "; Countinghouse books as a ledger journal.\n"
           "; FROM lines are negative, TO lines positive, in the line's currency;\n"
           "; categories are virtual postings.\n\n";

    CNonVisual* home = nullptr;
    root.Get_HomeCurrency(home);
    const std::string homeSymbol = home ? static_cast<CCurrency*>(home)->Get_ShortStringRefName() : "EUR";
    const auto currencies = static_cast<ArrayIndexT>(root.mCurrencyList->GetCount());
    for (ArrayIndexT i = 1; i <= currencies; ++i) {
        auto* currency = static_cast<CCurrency*>(root.mCurrencyList->ObjectAt(i));
        if (!currency || currency == home) continue;
        CNamedListArray* history = currency->Get_mHistoryList();
        // The history runs newest first.
        for (auto r = static_cast<ArrayIndexT>(history->GetCount()); r >= 1; --r) {
            auto* rate = static_cast<CCurrencyRate*>(history->ObjectAt(r));
            if (!rate || rate->Get_mConversionQuantity() == 0) continue;
            char price[64];
            std::snprintf(price, sizeof price, "%.6f",
                          rate->Get_mConversionFactor() / rate->Get_mConversionQuantity());
            out << "P " << LedgerDate(rate->Get_mValidFrom()) << ' ' << currency->Get_ShortStringRefName() << ' '
                << price << ' ' << homeSymbol << '\n';
        }
    }
    out << '\n';

    const auto count = static_cast<ArrayIndexT>(root.mTransactionList->GetCount());
    std::string block;
    for (ArrayIndexT i = count; i >= 1; --i) {   // the list runs newest first
        auto* t = static_cast<CTransaction*>(root.mTransactionList->ObjectAt(i));
        if (!t) continue;
        block.clear();
        block += LedgerDate(t->Get_mDate());
        block += ' ';
        block += LedgerName(t->Get_StringrefName());
        if (!t->Get_StringrefDesc().empty()) {
            block += "  ; ";
            block += t->Get_StringrefDesc();
        }
        block += '\n';
        auto posting = [&](CNamedListArray* lines, double sign, bool isVirtual) {
            const auto n = static_cast<ArrayIndexT>(lines ? lines->GetCount() : 0);
            for (ArrayIndexT l = 1; l <= n; ++l) {
                auto* line = static_cast<CDebit*>(lines->ObjectAt(l));
                if (!line) continue;
                double amount = sign * line->Get_mAmount();
                if (isVirtual) {
                    auto* category = static_cast<CExpenseType*>(line->Get_mAccountPtr());
                    if (category && category->Get_ObjectType() == type::kExpenseType && category->IsIncome(true))
                        amount = -amount;
                }
                block += "    ";
                if (isVirtual) block += '(';
                block += AccountPath(line->Get_mAccountPtr());
                if (isVirtual) block += ')';
                block += "  ";
                block += Text(amount);
                block += ' ';
                block += line->Get_ForeingCurrency();
                block += '\n';
            }
        };
        posting(t->GetDebitList(), -1.0, false);
        posting(t->GetCreditList(), 1.0, false);
        posting(t->GetExpenseTypeList(), 1.0, true);
        block += '\n';
        out << block;
    }
}

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size)
{
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        file.flush();
        if (!file) {
            file.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace ch::bench
