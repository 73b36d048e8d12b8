#include "import/DefinitionDescription.h"

#include "import/ImportDefinition.h"
#include "import/ImportDefinitionAssistant.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

namespace {

std::string quoted(const std::string& text)
{
    return "“" + text + "”";
}

std::string columnsText(const std::vector<std::uint32_t>& columns)
{
    std::string out;
    for (std::uint32_t column : columns) {
        if (!out.empty()) out += ", ";
        out += ImportDefinitionAssistant::getColumnCode(column);
    }
    return out;
}

// The code rows of the type-code column: each entry a dictionary of code to description.
void describeTypeCodes(const Dictionary& definition, std::string& out)
{
    const Value* rows = definition.find(definition_key::kTransactionTypeDescriptions);
    const Array* entries = rows ? rows->asArray() : nullptr;
    if (!entries) return;
    for (const Value& entry : *entries)
        if (const Dictionary* codes = entry.asDictionary())
            for (const auto& [code, description] : *codes)
                if (const std::string* text = description.asString()) out += "\n        " + code + " = " + *text;
}

} // namespace

std::string describeImportDefinition(const Dictionary& definition)
{
    using namespace definition_key;
    const std::string extension = definitionText(definition, kFileExtension).value_or("");
    std::string out = formatMessage(localized("ASSDESCFILES"), {extension.empty() ? std::string("csv") : extension});

    const std::string separator = definitionText(definition, kSeparatorCharacters).value_or("");
    out += "\n" + formatMessage(localized("ASSDESCSEPARATOR"),
                                {separator == "\t" ? localized("ASSDESCTAB") : quoted(separator)});
    const std::string quote = definitionText(definition, kSurroundingCharacters).value_or("");
    if (!quote.empty())
        out += "\n" + formatMessage(localized(definitionFlag(definition, kDeleteSurroundingCharacters)
                                                  ? "ASSDESCQUOTESREMOVED"
                                                  : "ASSDESCQUOTESKEPT"),
                                    {quoted(quote)});
    if (const std::uint32_t skipped = definitionCount(definition, kFirstLinesToSkip))
        out += "\n" + formatMessage(localized("ASSDESCSKIP"), {long(skipped)});
    out += "\n" + formatMessage(localized("ASSDESCFIELDS"), {long(definitionCount(definition, kMinimumColumns)),
                                                             long(definitionCount(definition, kMaximumColumns))});
    if (const auto pattern = definitionText(definition, kDateFormat); pattern && !pattern->empty())
        out += "\n" + formatMessage(localized("ASSDESCDATES"), {*pattern});

    std::string roles;
    for (std::size_t i = 0; i < kAssistantRoleCount; ++i) {
        const auto role = AssistantRole(i);
        const std::string_view key = ImportDefinitionAssistant::roleKey(role);
        const auto columns = key.empty() ? std::nullopt : definitionColumns(definition, key);
        if (!columns || columns->empty()) continue;
        roles += "\n    " + localized(ImportDefinitionAssistant::roleLabelKey(role)) + ": " + columnsText(*columns);
        if (role == AssistantRole::Sign)
            roles += " " + formatMessage(localized("ASSDESCSIGNS"),
                                         {quoted(definitionText(definition, kIncomeSign).value_or("")),
                                          quoted(definitionText(definition, kExpenseSign).value_or(""))});
        else if (role == AssistantRole::TransactionTypeCode)
            describeTypeCodes(definition, roles);
    }
    out += "\n\n" + localized(roles.empty() ? "ASSDESCNOCOLUMNS" : "ASSDESCCOLUMNS") + roles;
    return out;
}

} // namespace ch
