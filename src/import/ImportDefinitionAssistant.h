#pragma once
// ImportDefinitionAssistant: the state and rules behind the assistant that
// describes a bank's delimited-text statement by example and saves it as an
// import definition. Four pages: choose an example file; set separator,
// quote and record rules and split the file into columns; give columns to
// the roles of a statement line; name and save the definition.
//
// Columns are named "COL" + their number from 0; a role holds such names
// (tokens) and the definition stores their numbers.
//
// The example file is split into lines as the reader splits a statement, so
// the columns seen here are the columns an import will read.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

namespace ch {

// The roles a column can play, in the order their keys are written.
enum class AssistantRole {
    OwnAccountNumber,
    BookingDate,
    ValueDate,
    TransactionRef,
    CounterpartyAccountNumber,
    CounterpartyName,
    CounterpartyStreet,
    CounterpartyCity,
    Communication,
    Amount,
    CurrencyCode,
    Sign,
    TransactionTypeCode,
    OutAmount,
    InAmount,
    Country,
    BIC,
};
inline constexpr std::size_t kAssistantRoleCount = 17;

struct AssistantSettings {
    bool useTab = false;           // the tab, whatever the separator field says
    std::string separator = ";";
    std::string quote = "\"";
    bool deleteSurrounding = true;
    std::uint32_t linesToSkip = 0;
    std::uint32_t minimumColumns = 1;
    std::uint32_t maximumColumns = 30;
};

struct TypeCodeRow {
    std::string code;
    std::string description;
};

class ImportDefinitionAssistant {
public:
    static constexpr int kPageCount = 4;

    // --- pages
    int currentPage() const { return mCurrentPage; }
    bool isFirstPage() const { return mCurrentPage == 0; }
    void setCurrentPage(int page) { mCurrentPage = page; }
    // One page back; nothing on the first.
    void goPrevious();

    // --- page 0: the example file
    // Reads the file; false (and nothing changed) when it cannot be read.
    bool openExampleFile(const std::filesystem::path& path);
    // The same from text already read.
    void setExampleText(std::string_view text, std::string extension);
    const std::vector<std::string>& contentOfFile() const { return mContentOfFile; }
    const std::string& fileExtension() const { return mFileExtension; }

    // --- page 1: the record rules and the split
    AssistantSettings settings;
    // Splits the lines from the skip count on; keeps the records whose field
    // count lies within the minimum and maximum. The column count only grows.
    const std::vector<std::vector<std::string>>& makeSeparatedContentOfFile();
    const std::vector<std::vector<std::string>>& separatedContentOfFile() const { return mSeparated; }
    std::uint32_t numberOfColumnsInColumnTable() const { return mColumnCount; }
    std::vector<std::string> dissectRecord(std::string_view line) const;

    // --- page 2: roles
    // The definition key a role is stored under (empty for the roles the
    // definition has no key for), and the localized key of its label.
    static std::string_view roleKey(AssistantRole role);
    static std::string_view roleLabelKey(AssistantRole role);
    static std::string getColumnCode(std::uint32_t number);
    // The column numbers of tokens such as "COL7", in order; none for no
    // tokens. A token that names no column is left out.
    static std::optional<std::vector<std::uint32_t>> getFieldArrayFromTokens(const std::vector<std::string>& tokens);
    std::vector<std::string>& roleTokens(AssistantRole role) { return mRoles[std::size_t(role)]; }
    const std::vector<std::string>& roleTokens(AssistantRole role) const { return mRoles[std::size_t(role)]; }
    std::string incomeSign;
    std::string expenseSign;
    std::string dateFormat;
    std::vector<TypeCodeRow> transactionTypeCodes;

    // --- page 3: the definition and its name
    Dictionary makePLISTDictionary() const;
    // The file name a definition name is saved under (".plist" added when
    // the name lacks it); none for a name that would leave the folder or
    // hide the file: a path separator, a leading "." or a control character.
    static std::optional<std::string> definitionFileName(std::string_view name);
    // Writes the definition under the name into the folder (made when
    // missing), replacing a file of that name whole or not at all. The number
    // of the message that says why not (202 an empty name, 370 a name that
    // cannot be a file name, 371 a failed write), or 0.
    long saveDefinition(const std::filesystem::path& folder, std::string_view name, const Dictionary& definition,
                        std::string* error = nullptr) const;

    // The definitions of the folder: every entry whose name holds ".plist"
    // in any case, sorted by name.
    static std::vector<std::string> installedDefinitions(const std::filesystem::path& folder);

private:
    // The settings of page 1 as a definition's split rules.
    Dictionary splitRules() const;

    int mCurrentPage = 0;
    std::vector<std::string> mContentOfFile;
    std::string mFileExtension = "csv";
    std::vector<std::vector<std::string>> mSeparated;
    std::uint32_t mColumnCount = 0;
    std::array<std::vector<std::string>, kAssistantRoleCount> mRoles;
};

} // namespace ch
