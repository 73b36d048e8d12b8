#include "import/ImportDefinitionAssistant.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

#include "import/CTextTableData.h"
#include "import/ImportDefinition.h"
#include "import/StatementText.h"
#include "platform/core/atomic_file.h"
#include "platform/core/plist.h"

namespace ch {

namespace {

// The key of each role, in the order they are written; none for the roles
// the definition has no key for.
constexpr std::array<std::string_view, kAssistantRoleCount> kRoleKeys = {
    definition_key::kOwnAccountNumberColumn,
    definition_key::kBookingDateColumn,
    definition_key::kValueDateColumn,
    definition_key::kTransactionRefColumn,
    definition_key::kCounterpartyAccountNumberColumn,
    definition_key::kCounterpartyNameColumn,
    definition_key::kCounterpartyStreetColumn,
    definition_key::kCounterpartyCityColumn,
    definition_key::kCommunicationColumn,
    definition_key::kAmountColumn,
    definition_key::kCurrencyCodeColumn,
    definition_key::kSignColumn,
    definition_key::kTransactionTypeCodeColumn,
    definition_key::kOutAmountColumn,
    definition_key::kInAmountColumn,
    {},
    {},
};

constexpr std::array<std::string_view, kAssistantRoleCount> kRoleLabelKeys = {
    "ASSROLEOWNACCOUNT",   "ASSROLEBOOKINGDATE", "ASSROLEVALUEDATE",     "ASSROLEREFERENCE",
    "ASSROLEPARTYACCOUNT", "ASSROLEPARTYNAME",   "ASSROLEPARTYSTREET",   "ASSROLEPARTYCITY",
    "ASSROLECOMMUNICATION", "ASSROLEAMOUNT",     "ASSROLECURRENCY",      "ASSROLESIGN",
    "ASSROLETYPECODE",     "ASSROLEOUTAMOUNT",   "ASSROLEINAMOUNT",      "ASSROLECOUNTRY",
    "ASSROLEBIC",
};

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

} // namespace

void ImportDefinitionAssistant::goPrevious()
{
    if (mCurrentPage > 0) --mCurrentPage;
}

bool ImportDefinitionAssistant::openExampleFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    std::string extension = path.extension().string();
    if (!extension.empty()) extension.erase(0, 1);
    setExampleText(statementText(bytes), extension.empty() ? "csv" : extension);
    return true;
}

void ImportDefinitionAssistant::setExampleText(std::string_view text, std::string extension)
{
    mContentOfFile = CTextTableData::splitLines(text);
    mFileExtension = std::move(extension);
}

Dictionary ImportDefinitionAssistant::splitRules() const
{
    Dictionary rules;
    rules.set(std::string(definition_key::kSeparatorCharacters), Value(settings.useTab ? "\t" : settings.separator));
    rules.set(std::string(definition_key::kSurroundingCharacters), Value(settings.quote));
    rules.set(std::string(definition_key::kDeleteSurroundingCharacters), Value(settings.deleteSurrounding));
    rules.set(std::string(definition_key::kMinimumColumns), Value(settings.minimumColumns));
    rules.set(std::string(definition_key::kMaximumColumns), Value(settings.maximumColumns));
    return rules;
}

std::vector<std::string> ImportDefinitionAssistant::dissectRecord(std::string_view line) const
{
    const Dictionary rules = splitRules();
    return CTextTableData(std::string_view(), &rules).dissectRecord(line);
}

const std::vector<std::vector<std::string>>& ImportDefinitionAssistant::makeSeparatedContentOfFile()
{
    mSeparated.clear();
    // Read as an import reads it: a quoted line break belongs to its field.
    std::string text;
    for (const std::string& line : mContentOfFile) {
        text += line;
        text += '\n';
    }
    const Dictionary rules = splitRules();
    CTextTableData reader(text, &rules);
    reader.setJoinsQuotedLineBreaks(true);
    for (std::uint32_t skipped = 0; skipped < settings.linesToSkip && reader.fetchNextRecordAsWritten(); ++skipped) {}
    while (std::optional<std::vector<std::string>> fields = reader.fetchNextRecordAsWritten()) {
        if (fields->size() < settings.minimumColumns || fields->size() > settings.maximumColumns) continue;
        mColumnCount = std::max<std::uint32_t>(mColumnCount, std::uint32_t(fields->size()));
        mSeparated.push_back(std::move(*fields));
    }
    return mSeparated;
}

std::string_view ImportDefinitionAssistant::roleKey(AssistantRole role)
{
    return kRoleKeys[std::size_t(role)];
}

std::string_view ImportDefinitionAssistant::roleLabelKey(AssistantRole role)
{
    return kRoleLabelKeys[std::size_t(role)];
}

std::string ImportDefinitionAssistant::getColumnCode(std::uint32_t number)
{
    return "COL" + std::to_string(number);
}

std::optional<std::vector<std::uint32_t>>
ImportDefinitionAssistant::getFieldArrayFromTokens(const std::vector<std::string>& tokens)
{
    if (tokens.empty()) return std::nullopt;
    std::vector<std::uint32_t> columns;
    for (const std::string& token : tokens) {
        if (token.size() <= 3) continue;
        std::uint32_t number = 0;
        const char* first = token.data() + 3;
        const auto [end, ec] = std::from_chars(first, token.data() + token.size(), number);
        if (ec == std::errc() && end != first) columns.push_back(number);
    }
    return columns;
}

Dictionary ImportDefinitionAssistant::makePLISTDictionary() const
{
    using namespace definition_key;
    Dictionary definition;
    auto put = [&](std::string_view key, Value value) { definition.set(std::string(key), std::move(value)); };
    put(kSurroundingCharacters, Value(settings.quote));
    put(kFileExtension, Value(mFileExtension));
    put(kSeparatorCharacters, Value(settings.useTab ? "\t" : settings.separator));
    put(kDeleteSurroundingCharacters, Value(settings.deleteSurrounding));
    put(kMinimumColumns, Value(settings.minimumColumns));
    put(kMaximumColumns, Value(settings.maximumColumns));
    put(kFirstLinesToSkip, Value(settings.linesToSkip));

    for (std::size_t role = 0; role < kAssistantRoleCount; ++role) {
        if (kRoleKeys[role].empty()) continue;
        const auto columns = getFieldArrayFromTokens(mRoles[role]);
        if (!columns) continue;
        Array numbers;
        for (std::uint32_t column : *columns) numbers.emplace_back(column);
        put(kRoleKeys[role], Value(std::move(numbers)));
        if (AssistantRole(role) == AssistantRole::Sign) {
            put(kIncomeSign, Value(incomeSign));
            put(kExpenseSign, Value(expenseSign));
        } else if (AssistantRole(role) == AssistantRole::TransactionTypeCode) {
            Array descriptions;
            for (const TypeCodeRow& row : transactionTypeCodes) {
                if (row.code.empty() || row.description.empty()) continue;
                Dictionary entry;
                entry.set(row.code, Value(row.description));
                descriptions.emplace_back(std::move(entry));
            }
            put(kTransactionTypeDescriptions, Value(std::move(descriptions)));
        }
    }
    // The reader honours a date pattern, so the one typed here is kept.
    if (!dateFormat.empty()) put(kDateFormat, Value(dateFormat));
    return definition;
}

std::optional<std::string> ImportDefinitionAssistant::definitionFileName(std::string_view name)
{
    if (name.empty() || name.front() == '.') return std::nullopt;
    for (unsigned char c : name)
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return std::nullopt;
    std::string file(name);
    if (file.find(".plist") == std::string::npos) file += ".plist";
    return file;
}

long ImportDefinitionAssistant::saveDefinition(const std::filesystem::path& folder, std::string_view name,
                                               const Dictionary& definition, std::string* error) const
{
    if (name.empty()) return 202;
    const std::optional<std::string> file = definitionFileName(name);
    if (!file) return 370;
    const PlistOutput written = writePlist(Value(definition), PlistFormat::Xml);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!written) {
        if (error) *error = written.error;
        return 371;
    }
    if (!writeFileAtomically(folder / *file, written.bytes, error)) return 371;
    return 0;
}

std::vector<std::string> ImportDefinitionAssistant::installedDefinitions(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (lowerAscii(name).find(".plist") != std::string::npos) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ch
