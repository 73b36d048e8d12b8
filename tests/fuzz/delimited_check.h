#pragma once
// The delimited-text reader on any bytes (see statement_check.h). The first
// eight bytes of an input choose the import definition, so that definitions
// are as hostile as texts: separator, quote, rejoining, the field range, the
// records skipped, and the columns of the roles; the rest is the statement.

#include <cstdint>

#include "import/ImportDefinition.h"
#include "statement_check.h"

namespace ch::fuzz {

inline Dictionary delimitedDefinition(std::string_view header)
{
    using namespace definition_key;
    static const char* const separators[] = {";", ",", "\t", "|", "", ";;", "\"", " "};
    static const char* const quotes[] = {"\"", "'", "", ";"};
    auto byte = [&](std::size_t i) { return i < header.size() ? static_cast<std::uint8_t>(header[i]) : 0u; };
    // 255 stands for a huge count, 254 for a negative one.
    auto count = [](unsigned value) -> Value {
        if (value == 255) return Value(4294967296.0);
        if (value == 254) return Value(-1);
        return Value(static_cast<int>(value % 40));
    };
    Dictionary definition{{std::string(kSeparatorCharacters), Value(separators[byte(0) % 8])},
                          {std::string(kSurroundingCharacters), Value(quotes[byte(1) % 4])},
                          {std::string(kDeleteSurroundingCharacters), Value((byte(2) & 1) != 0)},
                          {std::string(kMinimumColumns), count(byte(3))},
                          {std::string(kMaximumColumns), count(byte(4))},
                          {std::string(kFirstLinesToSkip), count(byte(5))},
                          {std::string(kExpenseSign), Value("D")}};
    if (byte(2) & 2) definition.set(std::string(kDateFormat), Value("dd/mm/yyyy"));
    static const std::string_view roles[] = {kOwnAccountNumberColumn, kBookingDateColumn, kCounterpartyNameColumn,
                                             kCommunicationColumn,    kValueDateColumn,   kAmountColumn,
                                             kCurrencyCodeColumn,     kSignColumn,        kOutAmountColumn,
                                             kInAmountColumn,         kTransactionTypeCodeColumn};
    // Roles take consecutive columns from an offset (-1: a column before the
    // first); the last three roles (out, in, type code) only when their bit is set.
    const int offset = static_cast<int>(byte(6) % 8) - 1;
    for (std::size_t i = 0; i < std::size(roles); ++i) {
        if (i >= 8 && !((byte(7) >> (i - 8)) & 1)) continue;
        definition.set(std::string(roles[i]), Value(Array{Value(offset + static_cast<int>(i)), Value(offset)}));
    }
    definition.set(std::string(kTransactionTypeDescriptions),
                   Value(Array{Value(Dictionary{{"POS", Value("Card")}}), Value("not a table")}));
    return definition;
}

inline std::string checkDelimited(std::string_view input)
{
    const std::string_view header = input.substr(0, 8);
    const Dictionary definition = delimitedDefinition(header);
    return checkStatement(input.substr(header.size()), StatementFormat::Delimited, &definition);
}

} // namespace ch::fuzz
