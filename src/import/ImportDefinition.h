#pragma once
// Import definitions: property-list dictionaries that say how a delimited
// bank statement is split, which records count and which columns hold which
// part of a statement line. The user keeps them, one "<name>.plist" per
// definition, in the folder "IOFile Descriptors" of the application-support
// folder; the application brings one built-in definition for a bank's
// semicolon export.
//
// A definition is a file the user may have edited: every value is read by
// its type, and a value of another type counts as absent.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

namespace ch {

// The keys, spelled as stored ("Colums" and both amount keys' 14 included).
namespace definition_key {
inline constexpr std::string_view kFileExtension = "A00FileExtension";
inline constexpr std::string_view kSurroundingCharacters = "A01SurroundingCharacters";
inline constexpr std::string_view kDeleteSurroundingCharacters = "A05DeleteSurroundingCharacters";
inline constexpr std::string_view kMinimumColumns = "A06MinimumNumberOfColumsForValidRow";
inline constexpr std::string_view kMaximumColumns = "A07MaximumNumberOfColumsForValidRow";
inline constexpr std::string_view kFirstLinesToSkip = "A08NumberOfFirstLinesToSkip";
inline constexpr std::string_view kSeparatorCharacters = "A09SeparatorCharacters";
inline constexpr std::string_view kIncomeSign = "A10IncomeSign";
inline constexpr std::string_view kExpenseSign = "A11ExpenseSign";
inline constexpr std::string_view kTransactionTypeDescriptions = "A12TransactionTypeCodeDescriptionDict";
inline constexpr std::string_view kDateFormat = "A13DateFormat";
inline constexpr std::string_view kOwnAccountNumberColumn = "C01OwnAccountNumberColumn";
inline constexpr std::string_view kBookingDateColumn = "C02BookingDateColumn";
inline constexpr std::string_view kTransactionRefColumn = "C03TransactionRefColumn";
inline constexpr std::string_view kCounterpartyAccountNumberColumn = "C04CounterpartyAccountNumberColumn";
inline constexpr std::string_view kCounterpartyNameColumn = "C05CounterpartyNameColumn";
inline constexpr std::string_view kCounterpartyStreetColumn = "C06CounterpartyStreetColumn";
inline constexpr std::string_view kCounterpartyCityColumn = "C07CounterpartyCityColumn";
inline constexpr std::string_view kCommunicationColumn = "C08CommunicationColumn";
inline constexpr std::string_view kValueDateColumn = "C09ValueDateColumn";
inline constexpr std::string_view kAmountColumn = "C10AmountColumn";
inline constexpr std::string_view kCurrencyCodeColumn = "C11CurrencyCodeColumn";
inline constexpr std::string_view kSignColumn = "C12SignColumn";
inline constexpr std::string_view kTransactionTypeCodeColumn = "C13TransactionTypeCodeColumn";
inline constexpr std::string_view kOutAmountColumn = "C14OutAmountColumn";
inline constexpr std::string_view kInAmountColumn = "C14InAmountColumn";
} // namespace definition_key

// The text under the key; none when absent or not a text.
std::optional<std::string> definitionText(const Dictionary& definition, std::string_view key);
// A count under the key: an integer (a real is cut), held to 0..4294967295;
// 0 when absent or of another type.
std::uint32_t definitionCount(const Dictionary& definition, std::string_view key);
// On only when present and true (a Boolean, or a number other than 0).
bool definitionFlag(const Dictionary& definition, std::string_view key);
// The column numbers under the key, in order: the integers of the array
// that are 0 or more. None when the key is absent or not an array.
std::optional<std::vector<std::uint32_t>> definitionColumns(const Dictionary& definition, std::string_view key);

// The built-in definition of the bank's semicolon export (a new dictionary
// on every call).
Dictionary standardFileDescriptor();

// Why a definition cannot be used; empty when it can. A definition without a
// separator cannot split a record.
std::string definitionProblem(const Dictionary& definition);

// $XDG_DATA_HOME/countinghouse/IOFile Descriptors (XDG_DATA_HOME only when
// absolute, else ~/.local/share/countinghouse/IOFile Descriptors).
std::filesystem::path importDefinitionFolder();

struct LoadedDefinition {
    std::optional<Dictionary> definition;
    std::string error;   // why none was read
};
// Reads "<name>.plist" from the folder (XML or binary property list holding
// a dictionary). A name with a path separator, or starting with ".", names
// no definition.
LoadedDefinition loadImportDefinition(const std::filesystem::path& folder, std::string_view name);

} // namespace ch
