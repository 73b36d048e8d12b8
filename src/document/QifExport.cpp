#include "document/QifExport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <tuple>

#include "bridge/CTrnSItem.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/ModelCodes.h"
#include "model/foundation/CDate.h"

namespace ch {

namespace {

constexpr const char* kLineEnd = "\r\n";

CAccount* accountOf(const CDebit& line)
{
    CNonVisual* object = line.Get_mAccountPtr();
    return object && object->Get_ObjectType() == type::kAccount ? static_cast<CAccount*>(object) : nullptr;
}

const CExpenseType* categoryOf(const CDebit& line)
{
    CNonVisual* object = line.Get_mAccountPtr();
    return object && object->Get_ObjectType() == type::kExpenseType ? static_cast<const CExpenseType*>(object)
                                                                     : nullptr;
}

bool isOwnOrDebt(const CAccount& account)
{
    return account.thisIsAPropretyAccount() || account.thisIsADebtAccount();
}

// A text on one line: a line break would end the field early.
std::string field(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

std::string dateText(DateT date)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02ld/%02ld/%04ld", static_cast<long>(CDate::GetMonthFromDateT(date)),
                  static_cast<long>(CDate::GetDayFromDateT(date)), static_cast<long>(CDate::GetYearFromDateT(date)));
    return text;
}

// With a decimal point whatever the user's notation, as QIF files write it;
// cents, except for a share count, which keeps what it has.
std::string amountText(double amount, bool cents)
{
    char text[64];
    if (cents) amount = CCurrency::RoundAmount(amount);
    if (amount == 0.0) amount = 0.0;   // no "-0.00"
    const auto [end, error] = cents ? std::to_chars(text, text + sizeof text, amount, std::chars_format::fixed, 2)
                                    : std::to_chars(text, text + sizeof text, amount, std::chars_format::fixed);
    return error == std::errc() ? std::string(text, end) : std::string("0");
}

// "Bank" for an own account, "CCard" for a credit card, "Oth L" for another
// debt: the import makes a card of a "CCard" account again.
std::string registerType(const CAccount& account)
{
    if (!account.thisIsADebtAccount()) return "Bank";
    return account.Get_mAccountSpecialType() == CAccount::kCreditCard ? "CCard" : "Oth L";
}

bool countsInCents(CAccount& account)
{
    const CCurrency* currency = account.Get_mCurrencyPtr();
    return !currency || currency->Get_mCurrencyType() != currency_type::kShare;
}

// A line of nothing (a dividend's share line) moves no money; a cent of a
// currency worth less than the home one does, though it is 0.00 at home.
bool movesMoney(CAccount& account, const CDebit& line)
{
    return line.Get_mLocalAmount() != 0.0 || account.LineAmountInOwnCurrency(line) != 0.0;
}

// One booking line of a transaction and the side it is on.
struct SidedLine {
    CDebit* line;
    CAccount* account;
    bool arrives;   // a TO line: the money reaches the account
};

std::vector<SidedLine> accountLines(const CTransaction& transaction)
{
    std::vector<SidedLine> lines;
    for (const auto& [list, arrives] : {std::pair{transaction.GetDebitList(), false},
                                        std::pair{transaction.GetCreditList(), true}}) {
        for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            auto* line = static_cast<CDebit*>(list->ObjectAt(i));
            if (CAccount* account = line ? accountOf(*line) : nullptr) lines.push_back({line, account, arrives});
        }
    }
    return lines;
}

// What a record is booked against, in the home currency as its register
// sees it: another own or debt account ("[Name]") or a category.
struct Entry {
    std::string text;
    double amount;
    // Another own account kept in the register's currency: its amount in
    // that currency as the books hold it, which a split writes as it is
    // rather than through the record's rate (rounded both ways).
    std::optional<double> inRegisterCurrency;
};

} // namespace

double QifExport::Register::inCents(double amount)
{
    exact += amount;
    const double before = written;
    written = CCurrency::RoundAmount(exact);
    return CCurrency::RoundAmount(written - before);
}

const CExpenseType* QifExport::unspecifiedCategory(bool moneyIn) const
{
    const CPreference* settings = mBooks ? mBooks->mPreference : nullptr;
    if (!settings) return nullptr;
    return mBooks->GetExpenseTypeForID(moneyIn ? settings->Get_mDefExpTUnspecifiedIncome()
                                               : settings->Get_mDefExpTUnspecifiedExpense());
}

QifExport::Register& QifExport::registerOf(const CAccount& account)
{
    const auto [place, made] = mRegisterOfAccount.try_emplace(account.Get_Id(), mRegisters.size());
    if (made) mRegisters.push_back(Register{&account, {}});
    return mRegisters[place->second];
}

void QifExport::add(const CTrnSItem& item, const CAccount* only)
{
    CNonVisual* object = item.getSourceItem();
    if (!object || object->Get_ObjectType() != type::kTransaction) return;
    const auto* transaction = static_cast<const CTransaction*>(object);
    const std::vector<SidedLine> lines = accountLines(*transaction);

    // The register: the given account, else an own or debt account: one
    // that counts money rather than shares, then one that the transaction
    // moves money on, then the one held in the transaction's currency (its
    // amount is exact there), then the first it comes from, else the first
    // it reaches. A transaction that moves money on no own or debt account
    // has no register: QIF keeps income and expense as categories.
    CAccount* chosen = nullptr;
    if (only) {
        for (const SidedLine& sided : lines)
            if (sided.account == only) chosen = sided.account;
        if (!chosen) return;
    } else {
        auto rank = [&](const SidedLine& sided) {
            return std::tuple(countsInCents(*sided.account) ? 0 : 1, movesMoney(*sided.account, *sided.line) ? 0 : 1,
                              sided.account->Get_mCurrency() == transaction->Get_mCurrencyId() ? 0 : 1,
                              sided.arrives ? 1 : 0);
        };
        const SidedLine* best = nullptr;
        for (const SidedLine& sided : lines)
            if (isOwnOrDebt(*sided.account) && (!best || rank(sided) < rank(*best))) best = &sided;
        if (!best) return;
        chosen = best->account;
    }

    // The record's amount, in the home currency and in the register's own.
    double local = 0.0;
    double own = 0.0;
    std::vector<Entry> entries;
    for (const SidedLine& sided : lines) {
        const double sign = sided.arrives ? 1.0 : -1.0;
        if (sided.account == chosen) {
            local += sign * sided.line->Get_mLocalAmount();
            own += sign * chosen->LineAmountInOwnCurrency(*sided.line);
        } else if (isOwnOrDebt(*sided.account) && movesMoney(*sided.account, *sided.line)) {
            // Money that reaches another own account leaves this one.
            const std::string text = "[" + field(sided.account->Get_StringRefNameOnly()) + "]";
            const double amount = -sign * sided.line->Get_mLocalAmount();
            std::optional<double> inRegisterCurrency;
            if (sided.account->Get_mCurrency() == chosen->Get_mCurrency())
                inRegisterCurrency = -sign * sided.account->LineAmountInOwnCurrency(*sided.line);
            auto same = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.text == text; });
            if (same == entries.end()) {
                entries.push_back({text, amount, inRegisterCurrency});
            } else {
                same->amount += amount;
                if (same->inRegisterCurrency && inRegisterCurrency) *same->inRegisterCurrency += *inRegisterCurrency;
            }
        }
    }
    // What the other own accounts do not take is the categories'.
    double rest = local;
    for (const Entry& entry : entries) rest -= entry.amount;
    struct CategoryLine {
        std::string name;
        double amount;   // as the line holds it
        double signedAmount;   // as the money goes: income in, expense out
    };
    std::vector<CategoryLine> categories;
    // A cent worth nothing at home still goes one way in the register.
    const CExpenseType* uncategorized = unspecifiedCategory((rest != 0.0 ? rest : own) >= 0.0);
    const CNamedListArray* forList = transaction->GetExpenseTypeList();
    for (ArrayIndexT i = 1; forList && i <= static_cast<ArrayIndexT>(forList->GetCount()); ++i) {
        const auto* line = static_cast<const CDebit*>(forList->ObjectAt(i));
        if (!line) continue;
        const CExpenseType* category = categoryOf(*line);
        if (!category) category = uncategorized;
        // A transfer category explains the money moved to the other own accounts.
        if (!category || (!entries.empty() && category->IsTransfer())) continue;
        const double amount = line->Get_mLocalAmount();
        categories.push_back({field(category->Get_StringrefName()), amount,
                              category->IsIncome(false) ? amount : -amount});
    }
    if (std::fabs(rest) > 0.005 || (entries.empty() && !categories.empty())) {
        double signedTotal = 0.0;
        double absoluteTotal = 0.0;
        for (const CategoryLine& c : categories) {
            signedTotal += c.signedAmount;
            absoluteTotal += std::fabs(c.amount);
        }
        const auto whole = std::find_if(categories.begin(), categories.end(),
                                        [&](const CategoryLine& c) { return std::fabs(std::fabs(c.amount) - std::fabs(rest)) < 0.005; });
        if (categories.size() <= 1) {
            const std::string name = !categories.empty() ? categories.front().name
                                     : uncategorized     ? field(uncategorized->Get_StringrefName())
                                                         : std::string();
            entries.push_back({name, rest, std::nullopt});
        } else if (std::fabs(signedTotal - rest) < 0.005 || std::fabs(signedTotal + rest) < 0.005) {
            // Income and expense together give what the register moves (a
            // trade's gain and commission): each as it goes, or each
            // turned when the whole goes the other way (a refund).
            const double turn = std::fabs(signedTotal - rest) < 0.005 ? 1.0 : -1.0;
            for (const CategoryLine& c : categories) entries.push_back({c.name, turn * c.signedAmount, std::nullopt});
        } else if (whole != categories.end()) {
            // One category explains the whole (an invoice's VAT in the VAT account).
            entries.push_back({whole->name, rest, std::nullopt});
        } else if (absoluteTotal == 0.0) {
            entries.push_back({categories.front().name, rest, std::nullopt});
        } else {
            // Shared as the category lines share the transaction; the last
            // takes what rounding leaves.
            double given = 0.0;
            for (std::size_t i = 0; i < categories.size(); ++i) {
                const double amount =
                    i + 1 < categories.size()
                        ? CCurrency::RoundAmount(rest * std::fabs(categories[i].amount) / absoluteTotal)
                        : rest - given;
                given += amount;
                entries.push_back({categories[i].name, amount, std::nullopt});
            }
        }
    }

    // Split amounts in the register's currency, as its record's amount.
    const double factor = local != 0.0 ? own / local : 1.0;
    const bool cents = countsInCents(*chosen);
    const DateT date = transaction->Get_mDate();
    Register& chosenRegister = registerOf(*chosen);
    if (cents) own = chosenRegister.inCents(own);
    std::string& out = chosenRegister.records;
    out += "D" + dateText(date) + kLineEnd;
    out += "T" + amountText(own, cents) + kLineEnd;
    out += "P" + field(item.getName()) + kLineEnd;
    if (const std::string memo = field(item.mDescription()); !memo.empty()) out += "M" + memo + kLineEnd;
    if (!entries.empty() && !entries.front().text.empty()) out += "L" + entries.front().text + kLineEnd;
    if (entries.size() > 1) {
        // The last split takes what rounding leaves, so that they add up to the record's amount.
        double written = 0.0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            double amount = entries[i].inRegisterCurrency.value_or(entries[i].amount * factor);
            if (cents) amount = CCurrency::RoundAmount(amount);
            if (i + 1 == entries.size()) amount = own - written;
            written += amount;
            out += "S" + entries[i].text + kLineEnd;
            out += "$" + amountText(amount, cents) + kLineEnd;
        }
    }
    out += std::string("^") + kLineEnd;

    // Money that reaches or leaves an own account kept in another currency
    // than the register's is written again in that account's register, in
    // its own currency: a transfer's other half, as QIF keeps transfers
    // between accounts of two currencies. The import books the transfer
    // once and takes this amount for that account.
    if (only) return;
    std::vector<std::pair<CAccount*, double>> otherHalves;
    for (const SidedLine& sided : lines) {
        CAccount* account = sided.account;
        if (account == chosen || !isOwnOrDebt(*account) || !countsInCents(*account) ||
            !movesMoney(*account, *sided.line) || account->Get_mCurrency() == chosen->Get_mCurrency())
            continue;
        const double amount = (sided.arrives ? 1.0 : -1.0) * account->LineAmountInOwnCurrency(*sided.line);
        auto same = std::find_if(otherHalves.begin(), otherHalves.end(), [&](const auto& h) { return h.first == account; });
        if (same != otherHalves.end()) same->second += amount;
        else otherHalves.emplace_back(account, amount);
    }
    for (const auto& [account, amount] : otherHalves) {
        if (CCurrency::RoundAmount(amount) == 0.0) continue;
        Register& other = registerOf(*account);
        std::string& half = other.records;
        half += "D" + dateText(date) + kLineEnd;
        half += "T" + amountText(other.inCents(amount), true) + kLineEnd;
        half += "P" + field(item.getName()) + kLineEnd;
        if (const std::string memo = field(item.mDescription()); !memo.empty()) half += "M" + memo + kLineEnd;
        half += "L[" + field(chosen->Get_StringRefNameOnly()) + "]" + kLineEnd;
        half += std::string("^") + kLineEnd;
    }
}

std::string QifExport::text() const
{
    if (mRegisters.empty()) return {};
    auto header = [](const CAccount& account) {
        return std::string("!Account") + kLineEnd + "N" + field(account.Get_StringRefNameOnly()) + kLineEnd + "T" +
               registerType(account) + kLineEnd + "^" + kLineEnd;
    };
    std::string text = std::string("!Option:AutoSwitch") + kLineEnd + "!Account" + kLineEnd;
    for (const Register& r : mRegisters)
        text += "N" + field(r.account->Get_StringRefNameOnly()) + kLineEnd + "T" + registerType(*r.account) + kLineEnd +
                "^" + kLineEnd;
    text += std::string("!Clear:AutoSwitch") + kLineEnd;
    for (const Register& r : mRegisters)
        text += header(*r.account) + "!Type:" + registerType(*r.account) + kLineEnd + r.records;
    return text;
}

} // namespace ch
