#include "import/CDexiaTableData.h"

#include <cmath>
#include <utility>

#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "import/ImportDefinition.h"
#include "import/ImportDocument.h"
#include "import/ImportLookups.h"
#include "import/ImportText.h"
#include "model/foundation/CErrorManager.h"

namespace ch {

namespace {

constexpr std::uint32_t kFewestFieldsOfARecord = 4;
constexpr std::size_t kShortPartnerName = 20;

// The columns of the bank export when no definition says otherwise.
const std::vector<std::pair<std::string_view, std::uint32_t>>& fallbackColumns()
{
    using namespace definition_key;
    static const std::vector<std::pair<std::string_view, std::uint32_t>> table = {
        {kOwnAccountNumberColumn, 0}, {kBookingDateColumn, 1},  {kTransactionRefColumn, 2},
        {kCounterpartyAccountNumberColumn, 3}, {kCounterpartyNameColumn, 4}, {kCounterpartyStreetColumn, 5},
        {kCounterpartyCityColumn, 6}, {kCommunicationColumn, 7}, {kValueDateColumn, 8},
        {kAmountColumn, 9},           {kCurrencyCodeColumn, 10},
    };
    return table;
}

// An amount text as read: blanks and a leading "+" do not belong to the number.
double amountOf(std::string_view text)
{
    text = trimmedText(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    return CNSNumberAmountTBridge::NSStringToNSNumber(text);
}

std::string cutTitle(std::string text)
{
    return characterCount(text) > CDexiaTableData::kTitleLength - 1 ? firstCharacters(text, CDexiaTableData::kTitleLength)
                                                                    : text;
}

} // namespace

CDexiaTableData::CDexiaTableData(std::string_view text, const Dictionary* definition, ImportDocument* document)
    : CTextTableData(text, definition), theDocument(document)
{
    using namespace definition_key;
    for (const std::string_view role :
         {kOwnAccountNumberColumn, kBookingDateColumn, kTransactionRefColumn, kCounterpartyAccountNumberColumn,
          kCounterpartyNameColumn, kCounterpartyStreetColumn, kCounterpartyCityColumn, kCommunicationColumn,
          kValueDateColumn, kAmountColumn, kCurrencyCodeColumn, kSignColumn, kTransactionTypeCodeColumn,
          kOutAmountColumn, kInAmountColumn})
        mColumns.emplace(std::string(role), GetPostitionForField(role));
}

std::optional<std::vector<std::uint32_t>> CDexiaTableData::GetPostitionForField(std::string_view key) const
{
    if (const Dictionary* own = definition()) return definitionColumns(*own, key);
    for (const auto& [role, column] : fallbackColumns())
        if (role == key) return std::vector<std::uint32_t>{column};
    return std::nullopt;
}

std::string CDexiaTableData::constructStringFromArrayIndices(const std::optional<std::vector<std::uint32_t>>& columns,
                                                             const std::vector<std::string>& fields) const
{
    std::string text;
    if (!columns) return text;
    bool first = true;
    for (const std::uint32_t column : *columns) {
        if (column >= fields.size()) continue;
        if (!first) text += ' ';
        text += unquoted(fields[column]);
        first = false;
    }
    return text;
}

std::string CDexiaTableData::roleText(std::string_view key, const std::vector<std::string>& fields) const
{
    const auto columns = mColumns.find(key);
    return constructStringFromArrayIndices(columns != mColumns.end() ? columns->second : GetPostitionForField(key),
                                           fields);
}

std::vector<CImpTItem::Ptr> CDexiaTableData::Import()
{
    std::vector<CImpTItem::Ptr> lines;
    if (const Dictionary* own = definition(); own && !definitionProblem(*own).empty()) {
        CErrorManager::RaiseError(kUnusableDefinitionError);
        return lines;
    }
    std::uint64_t number = 0;
    while (std::optional<std::vector<std::string>> fields = FetchNextRecord()) {
        ++number;
        const std::size_t count = fields->size();
        if (count < kFewestFieldsOfARecord) {
            ImportHeaderData(*fields);
            continue;
        }
        if (count >= minimumFields() && count <= maximumFields() && number > recordsToSkip())
            lines.push_back(ImportOneRecord(*fields));
    }
    return lines;
}

CImpTItem::Ptr CDexiaTableData::ImportOneRecord(const std::vector<std::string>& fields)
{
    using namespace definition_key;
    const std::string ownAccount = roleText(kOwnAccountNumberColumn, fields);
    std::string bookingText = roleText(kBookingDateColumn, fields);
    const std::string reference = roleText(kTransactionRefColumn, fields);
    const std::string counterpartyNumber = roleText(kCounterpartyAccountNumberColumn, fields);
    const std::string partnerName = roleText(kCounterpartyNameColumn, fields);
    const std::string street = roleText(kCounterpartyStreetColumn, fields);
    const std::string city = roleText(kCounterpartyCityColumn, fields);
    const std::string communication = roleText(kCommunicationColumn, fields);
    std::string valueText = roleText(kValueDateColumn, fields);
    const std::string amountText = roleText(kAmountColumn, fields);
    const std::string outText = roleText(kOutAmountColumn, fields);
    const std::string inText = roleText(kInAmountColumn, fields);
    std::string currency = roleText(kCurrencyCodeColumn, fields);

    const Dictionary* own = definition();
    std::optional<std::string> signText;
    std::string expenseSign;
    if (own && own->contains(kSignColumn)) {
        signText = roleText(kSignColumn, fields);
        expenseSign = definitionText(*own, kExpenseSign).value_or(std::string());
    }
    std::string typeDescription;
    if (own && own->contains(kTransactionTypeCodeColumn)) {
        const std::string code = roleText(kTransactionTypeCodeColumn, fields);
        const Array* tables = (*own)[kTransactionTypeDescriptions].asArray();
        if (!code.empty() && tables) {
            // Every table that knows the code replaces the description: the last one wins.
            for (const Value& table : *tables)
                if (const std::string* description = table[code].asString()) typeDescription = *description;
        }
    }

    auto line = std::make_shared<CImpTItem>();
    line->setMOurAccountNumber(ownAccount);

    if (characterCount(bookingText) < 2) bookingText = valueText;
    if (characterCount(valueText) < 2) valueText = bookingText;
    const std::optional<std::string> pattern = own ? definitionText(*own, kDateFormat) : std::nullopt;
    auto dateOf = [&](const std::string& text) {
        if (pattern)
            if (const std::optional<DateT> date = CNSStringDateTBridge::NSStringToDateT(text, *pattern)) return *date;
        return CNSStringDateTBridge::NSStringToDateT(text);
    };
    line->setMBookingDate(dateOf(bookingText));
    line->setMOriginalBookingDate(bookingText);
    line->setMValueDate(dateOf(valueText));
    line->setMOriginalValueDate(valueText);

    line->setMDocumentRef(reference);
    line->setMForeignAccountNumber(counterpartyNumber);
    line->setMPartnerName(partnerName);
    line->setMPartnerAdress(street);
    line->setMPartnerCity(city);
    line->setMTransactionDescription(communication);

    const double outAmount = amountOf(outText);
    const double inAmount = amountOf(inText);
    if (outAmount != 0.0) {
        // Money out is negative, whether the bank wrote the sign or not.
        line->setMAmount(-std::fabs(outAmount));
        line->setMOriginalAmount(trimmedText(outText).starts_with('-') ? outText : "-" + outText);
    } else if (inAmount != 0.0) {
        line->setMAmount(inAmount);
        line->setMOriginalAmount(inText);
    } else if (!amountText.empty() || (outText.empty() && inText.empty())) {
        double amount = amountOf(amountText);
        if (signText && *signText == expenseSign) amount = -amount;
        line->setMAmount(amount);
        line->setMOriginalAmount(signText ? amountText + " " + *signText : amountText);
    } else {
        line->setMAmount(0.0);
        line->setMOriginalAmount(inText.empty() ? outText : inText);
    }

    if (currency.empty() && theDocument) currency = homeCurrencySymbol(theDocument->books());
    line->setMCurrency(currency);
    line->setDocument(theDocument);

    std::string title;
    if (!typeDescription.empty()) {
        title = partnerName.empty() ? typeDescription : cutTitle(typeDescription + " : " + partnerName);
    } else if (!partnerName.empty()) {
        title = characterCount(partnerName) < kShortPartnerName ? partnerName + " : " + communication : partnerName;
        title = cutTitle(title);
    } else {
        title = cutTitle(communication);
    }
    line->setMTitle(title);
    line->autoComplete();
    return line;
}

} // namespace ch
