#include "import/CDexiaTableData.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "import/DefinitionDate.h"
#include "import/ImportDefinition.h"
#include "import/ImportDocument.h"
#include "import/ImportLookups.h"
#include "import/ImportText.h"
#include "import/StatementAmount.h"
#include "model/foundation/CErrorManager.h"

namespace ch {

namespace {

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

// Sign texts compare as written, composed, without blanks around them; the
// case counts.
bool sameSignText(std::string_view file, std::string_view definition)
{
    return composedText(trimmedText(withPlainBlanks(file))) == composedText(trimmedText(withPlainBlanks(definition)));
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
    setJoinsQuotedLineBreaks(true);
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
    mSummary = Summary();
    mNotation.reset();
    const bool datesNamed = hasDateColumn();
    std::map<std::size_t, std::size_t> fieldCounts;
    std::vector<Row> records;
    // The lines of the records left out for too few or too many fields.
    std::vector<std::size_t> outsideRange;
    std::uint64_t number = 0;
    while (hasNextRecord()) {
        const std::size_t lineNumber = nextLineIndex() + 1;
        std::optional<std::vector<std::string>> written = fetchNextRecordAsWritten();
        if (!written) break;
        ++number;
        ++mSummary.records;
        const std::size_t count = written->size();
        if (number <= recordsToSkip()) continue;
        // A row of nothing but separators holds nothing to lose.
        if (std::all_of(written->begin(), written->end(), [](const std::string& f) { return trimmedText(f).empty(); }))
            continue;
        ++fieldCounts[count];
        // Texts the model's 8-bit fields cannot hold are brought into their
        // reach; signs and amounts are read as written.
        std::vector<std::string> fields = *written;
        for (std::string& field : fields) field = inDestinationEncoding(field);
        if (count < fewestFields()) {
            ImportHeaderData(fields);
            outsideRange.push_back(lineNumber);
            continue;
        }
        if (count < minimumFields() || count > maximumFields()) {
            ++mSummary.outsideFieldRange;
            outsideRange.push_back(lineNumber);
            continue;
        }
        if (datesNamed) {
            const auto [booking, value] = dateTexts(fields);
            if (dateOf(booking) == 0 && dateOf(value) == 0) {
                ++mSummary.withoutDate;
                continue;
            }
        }
        records.push_back({std::move(fields), std::move(*written), lineNumber});
    }
    // Among the statement lines such a row is one lost; before the first and
    // after the last it is a heading or a total.
    for (const std::size_t line : outsideRange) {
        if (!records.empty() && line > records.front().line && line < records.back().line)
            mSummary.leftOutLines.push_back(line);
        else
            ++mSummary.unreadRows;
    }
    std::size_t most = 0;
    for (const auto& [count, rows] : fieldCounts)
        if (rows > most && count > 0) {
            most = rows;
            mSummary.mostCommonFieldCount = count;
        }

    // The file's amounts as a whole decide their notation.
    using namespace definition_key;
    std::vector<std::string> amounts;
    for (const Row& row : records)
        for (const std::string_view role : {kAmountColumn, kOutAmountColumn, kInAmountColumn})
            amounts.push_back(amountWithoutCurrency(roleText(role, row.written)).amount);
    mNotation = otherNotationForMost(amounts);
    if (mNotation) mSummary.otherNotation = mNotation->decimal;

    mSignRows = 0;
    mSignMatched = false;
    lines.reserve(records.size());
    for (const Row& row : records) {
        CImpTItem::Ptr line = importRecord(row.fields, row.written);
        if (line->amountUnread()) ++mSummary.unreadAmounts;
        lines.push_back(std::move(line));
    }
    if (mSignRows > 0 && !mSignMatched) {
        const Dictionary& own = *definition();
        mSummary.unmatchedSigns = {definitionText(own, kExpenseSign).value_or(std::string()),
                                   definitionText(own, kIncomeSign).value_or(std::string())};
    }
    return lines;
}

std::uint32_t CDexiaTableData::fewestFields() const
{
    // A definition's own range decides: a statement of three columns is no heading.
    if (definition()) return std::max<std::uint32_t>(minimumFields(), 1);
    return std::max(minimumFields(), kFewestFieldsOfARecord);
}

bool CDexiaTableData::hasDateColumn() const
{
    using namespace definition_key;
    for (const std::string_view role : {kBookingDateColumn, kValueDateColumn}) {
        const auto columns = mColumns.find(role);
        if (columns != mColumns.end() && columns->second && !columns->second->empty()) return true;
    }
    return false;
}

std::pair<std::string, std::string> CDexiaTableData::dateTexts(const std::vector<std::string>& fields) const
{
    using namespace definition_key;
    std::string booking = roleText(kBookingDateColumn, fields);
    std::string value = roleText(kValueDateColumn, fields);
    if (characterCount(booking) < 2) booking = value;
    if (characterCount(value) < 2) value = booking;
    return {booking, value};
}

DateT CDexiaTableData::dateOf(std::string_view text) const
{
    const Dictionary* own = definition();
    return definitionDate(text, own ? definitionText(*own, definition_key::kDateFormat) : std::nullopt);
}

CImpTItem::Ptr CDexiaTableData::ImportOneRecord(const std::vector<std::string>& fields)
{
    return importRecord(fields, fields);
}

CImpTItem::Ptr CDexiaTableData::importRecord(const std::vector<std::string>& fields,
                                             const std::vector<std::string>& written)
{
    using namespace definition_key;
    const std::string ownAccount = roleText(kOwnAccountNumberColumn, fields);
    const std::string reference = roleText(kTransactionRefColumn, fields);
    const std::string counterpartyNumber = roleText(kCounterpartyAccountNumberColumn, fields);
    const std::string partnerName = roleText(kCounterpartyNameColumn, fields);
    const std::string street = roleText(kCounterpartyStreetColumn, fields);
    const std::string city = roleText(kCounterpartyCityColumn, fields);
    const std::string communication = roleText(kCommunicationColumn, fields);
    const std::string amountText = roleText(kAmountColumn, written);
    const std::string outText = roleText(kOutAmountColumn, written);
    const std::string inText = roleText(kInAmountColumn, written);
    std::string currency = roleText(kCurrencyCodeColumn, fields);

    const Dictionary* own = definition();
    std::optional<std::string> signText;
    std::string expenseSign;
    std::optional<std::string> incomeSign;
    if (own && own->contains(kSignColumn)) {
        signText = roleText(kSignColumn, written);
        expenseSign = definitionText(*own, kExpenseSign).value_or(std::string());
        incomeSign = definitionText(*own, kIncomeSign);
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

    const auto [bookingText, valueText] = dateTexts(fields);
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

    // An empty column says nothing; a text that does not read is marked. A
    // currency's sign or code beside the digits is no part of the amount
    // but names its currency.
    std::string markedCurrency;
    auto amountOf = [&](const std::string& text) -> std::optional<double> {
        if (trimmedText(text).empty()) return 0.0;
        const AmountWithCurrency split = amountWithoutCurrency(text);
        // Read in the file's notation; a line the user writes otherwise is read so.
        std::optional<double> amount = mNotation ? amountInNotation(split.amount, *mNotation) : std::nullopt;
        if (!amount) amount = statementAmount(split.amount);
        if (amount && !split.currency.empty() && markedCurrency.empty()) {
            // The books' currency of that sign, else of that code; else the code, to be chosen.
            const bool signKnown = theDocument && currencyForSymbol(theDocument->books(), split.mark);
            markedCurrency = signKnown ? split.mark : split.currency;
        }
        return amount;
    };
    auto unread = [&](const std::string& text) {
        line->setMAmount(0.0);
        line->setMOriginalAmount(text);
        line->setAmountUnread(text);
    };
    const std::optional<double> outAmount = amountOf(outText);
    const std::optional<double> inAmount = amountOf(inText);
    if (!outAmount) {
        unread(outText);
    } else if (*outAmount != 0.0) {
        // Money out is negative, whether the bank wrote the sign or not.
        line->setMAmount(-std::fabs(*outAmount));
        line->setMOriginalAmount(trimmedText(outText).starts_with('-') ? outText : "-" + outText);
    } else if (!inAmount) {
        unread(inText);
    } else if (*inAmount != 0.0) {
        line->setMAmount(*inAmount);
        line->setMOriginalAmount(inText);
    } else if (!amountText.empty() || (outText.empty() && inText.empty())) {
        const std::string original = signText ? amountText + " " + *signText : amountText;
        if (const std::optional<double> read = amountOf(amountText)) {
            double amount = *read;
            if (signText) {
                const bool expense = sameSignText(*signText, expenseSign);
                if (expense) amount = -amount;
                ++mSignRows;
                if (expense || (incomeSign && sameSignText(*signText, *incomeSign))) mSignMatched = true;
            }
            line->setMAmount(amount);
            line->setMOriginalAmount(original);
        } else {
            unread(amountText);
            line->setMOriginalAmount(original);
        }
    } else {
        line->setMAmount(0.0);
        line->setMOriginalAmount(inText.empty() ? outText : inText);
    }

    // Without a currency column, the currency the amount is written with.
    const auto currencyColumns = mColumns.find(kCurrencyCodeColumn);
    const bool currencyColumn =
        currencyColumns != mColumns.end() && currencyColumns->second && !currencyColumns->second->empty();
    if (!currencyColumn && !markedCurrency.empty()) currency = markedCurrency;
    // None named: the line takes the currency of the account it is booked on.
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
    // A quoted line break belongs to the communication, not to the one-line title.
    std::replace(title.begin(), title.end(), '\n', ' ');
    line->setMTitle(title);
    line->autoComplete();
    return line;
}

} // namespace ch
