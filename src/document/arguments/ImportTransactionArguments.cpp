#include "document/arguments/ImportTransactionArguments.h"

#include <charconv>
#include <sstream>

namespace ch::arguments {

namespace {

// The lines as one text: "id currency amount" for each, separated by ";",
// the amount written to read back exactly.
std::string linesText(const std::vector<ImportedLine>& lines)
{
    std::string text;
    for (const ImportedLine& line : lines) {
        char amount[64];
        const auto [end, error] = std::to_chars(amount, amount + sizeof amount, line.amount);
        if (!text.empty()) text += ';';
        text += std::to_string(line.objectId) + ' ' + std::to_string(line.currencyId) + ' ' +
                (error == std::errc() ? std::string(amount, end) : std::string("0"));
    }
    return text;
}

std::vector<ImportedLine> linesOf(const std::optional<std::string>& text)
{
    std::vector<ImportedLine> lines;
    if (!text) return lines;
    std::istringstream in(*text);
    std::string one;
    while (std::getline(in, one, ';')) {
        std::istringstream fields(one);
        ImportedLine line;
        std::string amount;
        if (!(fields >> line.objectId >> line.currencyId >> amount)) continue;
        const auto [end, error] = std::from_chars(amount.data(), amount.data() + amount.size(), line.amount);
        if (error == std::errc()) lines.push_back(line);
    }
    return lines;
}

void putLines(Dictionary& dictionary, std::string key, const std::vector<ImportedLine>& lines)
{
    if (!lines.empty()) dictionary.set(std::move(key), Value(linesText(lines)));
}

} // namespace

void ImportTransactionArguments::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "ImportedName", name);
    putPresent(dictionary, "ImportedDescription", transactionDescription);
    putPresent(dictionary, "ImpportedDate", valueDate);
    putPresent(dictionary, "ImportedAmount", amount);
    putPresent(dictionary, "ImportedCurrencyId", currencyId);
    putPresent(dictionary, "ImportedFromAccountId", fromAccountId);
    putPresent(dictionary, "ImportedToAccountId", toAccountId);
    putPresent(dictionary, "ImportedReasonCodeId", expenseTypeId);
    dictionary.set("ImportedUnbalancedIndicator", unbalanced);
    putPresent(dictionary, "ImportedTransactionType", transactionType);
    putLines(dictionary, "ImportedDebitLines", debitLines);
    putLines(dictionary, "ImportedCreditLines", creditLines);
    putLines(dictionary, "ImportedReasonCodeLines", categoryLines);
}

bool ImportTransactionArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    name = getTextFromDictionary(dictionary, "ImportedName");
    transactionDescription = getTextFromDictionary(dictionary, "ImportedDescription");
    valueDate = getDateFromDictionary(dictionary, "ImpportedDate");
    amount = getNumberFromDictionary(dictionary, "ImportedAmount");
    currencyId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedCurrencyId");
    fromAccountId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedFromAccountId");
    toAccountId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedToAccountId");
    expenseTypeId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedReasonCodeId");
    unbalanced = getIntegerFromDictionary(dictionary, "ImportedUnbalancedIndicator").value_or(0) != 0;
    transactionType = getIntegerFromDictionary(dictionary, "ImportedTransactionType");
    debitLines = linesOf(getTextFromDictionary(dictionary, "ImportedDebitLines"));
    creditLines = linesOf(getTextFromDictionary(dictionary, "ImportedCreditLines"));
    categoryLines = linesOf(getTextFromDictionary(dictionary, "ImportedReasonCodeLines"));
    return true;
}

} // namespace ch::arguments
