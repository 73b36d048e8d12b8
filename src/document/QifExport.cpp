#include "document/QifExport.h"

#include <charconv>
#include <cstdio>

#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/LineItemList.h"
#include "model/CAccount.h"
#include "model/CExpenseType.h"
#include "model/ModelCodes.h"
#include "model/foundation/CDate.h"

namespace ch {

namespace {

constexpr const char* kLineEnd = "\r\n";

const CAccount* accountOf(const CDebetItem& line)
{
    CNonVisual* object = line.accountObject();
    return object && object->Get_ObjectType() == type::kAccount ? static_cast<const CAccount*>(object) : nullptr;
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

// With a decimal point whatever the user's notation, as QIF files write it.
std::string amountText(double amount)
{
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, amount, std::chars_format::fixed);
    return error == std::errc() ? std::string(text, end) : std::string("0");
}

} // namespace

QifExport::Register& QifExport::registerOf(const CAccount& account)
{
    const auto [place, made] = mRegisterOfAccount.try_emplace(account.Get_Id(), mRegisters.size());
    if (made) {
        mRegisters.push_back(Register{std::string("!Account") + kLineEnd + "N" + field(account.Get_StringRefNameOnly()) +
                                          kLineEnd + "TBank" + kLineEnd + "^" + kLineEnd + "!Type:Bank" + kLineEnd,
                                      {}});
    }
    return mRegisters[place->second];
}

void QifExport::add(const CTrnSItem& transaction, const CAccount* only)
{
    const LineItemArray from = transaction.mFromList();
    const LineItemArray to = transaction.mToList();
    const LineItemArray forList = transaction.mForList();

    std::string category;
    for (const auto& line : forList) {
        CNonVisual* object = line ? line->accountObject() : nullptr;
        if (object && object->Get_ObjectType() == type::kExpenseType) {
            category = static_cast<const CExpenseType*>(object)->Get_StringrefName();
            break;
        }
    }
    auto firstAccount = [](const LineItemArray& lines) -> const CAccount* {
        for (const auto& line : lines)
            if (const CAccount* account = line ? accountOf(*line) : nullptr) return account;
        return nullptr;
    };
    const DateT date = static_cast<DateT>(transaction.mDate().value_or(0));

    auto record = [&](const CDebetItem& line, const CAccount& account, double sign, const LineItemArray& otherSide) {
        const CAccount* other = firstAccount(otherSide);
        std::string& out = registerOf(account).records;
        out += "D" + dateText(date) + kLineEnd;
        out += "T" + amountText(sign * line.getLocalAmount().value_or(0.0)) + kLineEnd;
        out += "P" + field(transaction.getName()) + kLineEnd;
        if (const std::string memo = field(transaction.mDescription()); !memo.empty()) out += "M" + memo + kLineEnd;
        if (other && isOwnOrDebt(*other) && other != &account)
            out += "L[" + field(other->Get_StringRefNameOnly()) + "]" + kLineEnd;
        else if (!category.empty())
            out += "L" + field(category) + kLineEnd;
        out += std::string("^") + kLineEnd;
    };

    bool written = false;
    for (const auto& [lines, sign, otherSide] :
         {std::tuple<const LineItemArray&, double, const LineItemArray&>{from, -1.0, to},
          std::tuple<const LineItemArray&, double, const LineItemArray&>{to, 1.0, from}}) {
        for (const auto& line : lines) {
            const CAccount* account = line ? accountOf(*line) : nullptr;
            if (!account || (only ? account != only : !isOwnOrDebt(*account))) continue;
            record(*line, *account, sign, otherSide);
            written = true;
        }
    }
    if (!written && !only) {
        for (const auto& line : from) {
            if (const CAccount* account = line ? accountOf(*line) : nullptr) {
                record(*line, *account, -1.0, to);
                break;
            }
        }
    }
}

std::string QifExport::text() const
{
    std::string text;
    for (const Register& r : mRegisters) text += r.header + r.records;
    return text;
}

} // namespace ch
