#include "document/arguments/ArgumentTextCheck.h"

#include <cctype>
#include <charconv>
#include <map>

#include "bridge/CDebetItem.h"
#include "bridge/CNonVisualDataItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "model/foundation/CDate.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/old_style_plist.h"

namespace ch {
namespace {

using Kind = ArgumentTextCheck::Kind;
using KeyKinds = std::map<std::string, Kind, std::less<>>;

thread_local ArgumentTextCheck* gCurrent = nullptr;

constexpr std::string_view kClassKey = "ArgumentClass";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool isInteger(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool isNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool isFlag(std::string_view text)
{
    if (isInteger(text)) return true;
    std::string word(trimmed(text));
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word == "yes" || word == "no" || word == "true" || word == "false";
}

bool isDay(std::string_view text)
{
    if (!isInteger(text)) return false;
    const long long date = Value(std::string(text)).toLong();
    return date <= 0 || CDate::IsValidDate(static_cast<DateT>(date));
}

// The keys of the transaction dictionary, of a recurring one included
// (CTrnSItem and CRcrTItem write them), and of its lines.
const KeyKinds& transactionKeys()
{
    static const KeyKinds keys = [] {
        namespace key = transaction_key;
        namespace recurring = recurring_key;
        KeyKinds made = {
            {std::string(kPropertyObjectType), Kind::Text},    {std::string(kPropertyObjectName), Kind::Text},
            {std::string(kPropertyObjectDescription), Kind::Text},
            {std::string(key::kDate), Kind::Date},             {std::string(key::kName), Kind::Text},
            {std::string(key::kDescription), Kind::Text},      {std::string(key::kCurrencyId), Kind::Integer},
            {std::string(key::kCurrencySymbol), Kind::Text},   {std::string(key::kAmount), Kind::Number},
            {std::string(key::kDocumentReference), Kind::Text}, {std::string(key::kIsApproved), Kind::Flag},
            {std::string(key::kVATNr), Kind::Text},            {std::string(key::kBudgetOneOff), Kind::Flag},
            {std::string(key::kReferenceObjectId), Kind::Integer}, {std::string(key::kSpecialType), Kind::Integer},
            {std::string(key::kDocumentId), Kind::Integer},    {std::string(key::kTransactionType), Kind::Integer},
            {std::string(recurring::kRecurringType), Kind::Integer}, {std::string(recurring::kOnOff), Kind::Flag},
            {std::string(recurring::kAutomaticApproval), Kind::Flag},
            {std::string(recurring::kDayOfMonth), Kind::Integer}, {std::string(recurring::kWeekType), Kind::Integer},
            {std::string(recurring::kMonthlyType), Kind::Integer},
            {std::string(recurring::kNumberOfTimesPerYear), Kind::Integer},
            {std::string(recurring::kLastGeneratedOn), Kind::Date},
            // The lines: checked by problemOfTransaction.
            {std::string(key::kFromList), Kind::Any}, {std::string(key::kToList), Kind::Any},
            {std::string(key::kForList), Kind::Any},
        };
        for (std::string_view day : recurring::kWeekdays) made.emplace(std::string(day), Kind::Integer);
        for (int number = 1; number <= 12; ++number)
            made.emplace(std::string(recurring::kDateOfYearPrefix) + std::to_string(number), Kind::Date);
        return made;
    }();
    return keys;
}

const KeyKinds& lineKeys()
{
    static const KeyKinds keys = {
        {std::string(kPropertyObjectType), Kind::Text},   {std::string(kPropertyObjectName), Kind::Text},
        {std::string(kPropertyObjectDescription), Kind::Text}, {std::string(line_key::kAccountId), Kind::Integer},
        {std::string(line_key::kAccountName), Kind::Text}, {std::string(line_key::kCurrencyId), Kind::Integer},
        {std::string(line_key::kCurrencySymbol), Kind::Text}, {std::string(line_key::kAmount), Kind::Number},
        {std::string(line_key::kLocalAmount), Kind::Number},
    };
    return keys;
}

const KeyKinds& colourKeys()
{
    static const KeyKinds keys = {
        {"red", Kind::Number}, {"green", Kind::Number}, {"blue", Kind::Number}, {"alpha", Kind::Number}};
    return keys;
}

std::string shown(const Value& value)
{
    if (const std::string* text = value.asString()) return *text;
    return value.toString();
}

// Why the value is no value of the kind; none when it is one.
std::optional<std::string> problemOf(std::string_view key, const Value& value, Kind kind);

std::optional<std::string> problemOfDictionary(const Value& value, const KeyKinds& keys)
{
    const Dictionary* dictionary = value.asDictionary();
    if (!dictionary) return localized("ROLLFORWARDNOTRUN");
    for (const auto entry : *dictionary) {
        const auto known = keys.find(entry.key);
        if (known == keys.end()) return formatMessage(localized("ROLLFORWARDUNKNOWNKEY"), {entry.key});
        if (std::optional<std::string> problem = problemOf(entry.key, entry.value, known->second)) return problem;
    }
    return std::nullopt;
}

std::optional<std::string> problemOfTransaction(const Value& value)
{
    if (std::optional<std::string> problem = problemOfDictionary(value, transactionKeys())) return problem;
    for (std::string_view list : {transaction_key::kFromList, transaction_key::kToList, transaction_key::kForList}) {
        const Value* lines = value.asDictionary()->find(list);
        if (!lines) continue;
        const Array* array = lines->asArray();
        if (!array) return localized("ROLLFORWARDNOTRUN");
        for (const Value& line : *array)
            if (std::optional<std::string> problem = problemOfDictionary(line, lineKeys())) return problem;
    }
    return std::nullopt;
}

std::optional<std::string> problemOf(std::string_view key, const Value& value, Kind kind)
{
    switch (kind) {
    case Kind::Any:
        return std::nullopt;
    case Kind::Colour:
        return problemOfDictionary(value, colourKeys());
    case Kind::Transaction:
        return problemOfTransaction(value);
    default:
        break;
    }
    if (kind == Kind::Text) {
        if (value.isDictionary() || value.isArray()) return localized("ROLLFORWARDNOTRUN");
        return std::nullopt;
    }
    if (value.isNumber()) return std::nullopt;
    const std::string* text = value.asString();
    const bool whole = text && (kind == Kind::Integer  ? isInteger(*text)
                                : kind == Kind::Number ? isNumber(*text)
                                : kind == Kind::Flag   ? isFlag(*text)
                                                       : isDay(*text));
    if (whole) return std::nullopt;
    return formatMessage(localized(kind == Kind::Date ? "ROLLFORWARDNOTADATE" : "ROLLFORWARDNOTANUMBER"),
                         {key, shown(value)});
}

} // namespace

ArgumentTextCheck::ArgumentTextCheck() : mOuter(gCurrent)
{
    gCurrent = this;
}

ArgumentTextCheck::~ArgumentTextCheck()
{
    gCurrent = mOuter;
}

void ArgumentTextCheck::noteRead(std::string_view key, const Value* value, Kind kind)
{
    if (gCurrent) gCurrent->note(key, value, kind);
}

void ArgumentTextCheck::note(std::string_view key, const Value* value, Kind kind)
{
    mRead.emplace(key);
    if (mFirstDamage || !value) return;
    mFirstDamage = problemOf(key, *value, kind);
}

std::optional<std::string> ArgumentTextCheck::damage(std::string_view text) const
{
    if (mFirstDamage) return mFirstDamage;
    const ParseResult parsed = readOldStylePlist(text);
    const Dictionary* dictionary = parsed.value.asDictionary();
    if (!dictionary) return localized("ROLLFORWARDNOTRUN");
    for (const auto entry : *dictionary) {
        if (entry.key == kClassKey || mRead.contains(entry.key)) continue;
        return formatMessage(localized("ROLLFORWARDUNKNOWNKEY"), {entry.key});
    }
    return std::nullopt;
}

} // namespace ch
