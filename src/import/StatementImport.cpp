#include "import/StatementImport.h"

#include <algorithm>

#include "import/CDexiaTableData.h"
#include "import/COFXParser.h"
#include "import/CQuickenData.h"
#include "import/GatheredErrors.h"
#include "import/ImportDefinition.h"
#include "import/ImportText.h"
#include "import/StatementText.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

namespace {

std::string message(std::string_view key, std::initializer_list<FormatArg> args = {})
{
    return formatMessage(localized(key), args);
}

long count(std::size_t n)
{
    return static_cast<long>(n);
}


// The user's settings could not read some amounts: those lines wait for one.
void noteUnreadAmounts(std::size_t unread, std::vector<std::string>& notes)
{
    if (unread > 0) notes.push_back(message("315", {count(unread)}));
}

StatementImportResult readDelimited(std::string_view bytes, ImportDocument& document, const Dictionary* definition)
{
    CDexiaTableData reader(statementText(bytes), definition, &document);
    StatementImportResult result;
    result.lines = reader.Import();
    if (definition && !definitionProblem(*definition).empty()) {
        result.error = CDexiaTableData::kUnusableDefinitionError;
        return result;
    }
    const CDexiaTableData::Summary& summary = reader.summary();
    if (result.lines.empty() && summary.outsideFieldRange > 0 && summary.withoutDate == 0)
        result.notes.push_back(message("311", {count(summary.outsideFieldRange), count(reader.minimumFields()),
                                               count(reader.maximumFields()), count(summary.mostCommonFieldCount)}));
    else if (summary.unreadRows > 0)
        result.notes.push_back(message(
            "DELIMITEDROWSUNREAD", {count(summary.unreadRows),
                                    count(reader.fewestFields()),
                                    count(reader.maximumFields())}));
    if (!summary.leftOutLines.empty())
        result.notes.push_back(message("DELIMITEDROWSLEFTOUT", {lineNumberList(summary.leftOutLines),
                                                                count(reader.fewestFields()),
                                                                count(reader.maximumFields())}));
    if (summary.withoutDate > 0) result.notes.push_back(message("314", {count(summary.withoutDate)}));
    if (summary.unmatchedSigns) {
        const auto& [expense, income] = *summary.unmatchedSigns;
        result.notes.push_back(income.empty() ? message("DELIMITEDSIGNUNMATCHED", {expense})
                                              : message("DELIMITEDSIGNSUNMATCHED", {expense, income}));
    }
    if (!summary.otherNotation.empty()) {
        const bool comma = summary.otherNotation == ",";
        result.notes.push_back(message(comma ? "DELIMITEDDECIMALCOMMA" : "DELIMITEDDECIMALPOINT"));
    }
    noteUnreadAmounts(summary.unreadAmounts, result.notes);
    return result;
}

StatementImportResult readQif(std::string_view bytes, ImportDocument& document)
{
    CQuickenData reader(statementText(bytes), nullptr, &document);
    StatementImportResult result;
    result.lines = reader.Import();
    result.error = reader.error();
    result.notes = reader.notes();
    if (reader.endsInsideRecord()) result.notes.push_back(message("313", {count(result.lines.size())}));
    noteUnreadAmounts(reader.unreadAmounts(), result.notes);
    return result;
}

StatementImportResult readOfx(std::string_view bytes, ImportDocument& document)
{
    OfxReadResult read = COFXParser::parseBytes(bytes, &document);
    StatementImportResult result;
    result.lines = std::move(read.lines);
    result.error = read.error;
    if (result.error != 0) return result;
    if (read.truncated) result.notes.push_back(message("313", {count(result.lines.size())}));
    if (read.leftOut > 0)
        result.notes.push_back(message("OFXPARTUNREAD", {count(read.leftOut), count(result.lines.size())}));
    if (read.statements == 0 && read.investmentStatement) result.notes.push_back(message("312"));
    if (!read.mendedLines.empty()) result.notes.push_back(message("OFXMENDED", {lineNumberList(read.mendedLines)}));
    if (!read.linesWithoutAmount.empty())
        result.notes.push_back(message("OFXNOAMOUNT", {lineNumberList(read.linesWithoutAmount)}));
    noteUnreadAmounts(read.unreadAmounts, result.notes);
    return result;
}

} // namespace

StatementLines statementLines(const std::vector<CImpTItem::Ptr>& lines)
{
    return StatementLines(lines.begin(), lines.end());
}

StatementImportResult readStatement(std::string_view bytes, StatementFormat format, ImportDocument& document,
                                    const Dictionary* definition)
{
    GatheredErrors gathered;
    StatementImportResult result;
    switch (format) {
    case StatementFormat::Delimited: result = readDelimited(bytes, document, definition); break;
    case StatementFormat::Qif: result = readQif(bytes, document); break;
    case StatementFormat::Ofx: result = readOfx(bytes, document); break;
    }
    for (std::string& note : gathered.finish()) result.notes.push_back(std::move(note));
    // A file that gives nothing says so, unless an error said why already.
    if (result.lines.empty() && result.error == 0 && result.notes.empty()) result.notes.push_back(message("310"));
    return result;
}

} // namespace ch
