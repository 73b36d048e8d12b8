#include "import/StatementImport.h"

#include "import/CDexiaTableData.h"
#include "import/COFXParser.h"
#include "import/CQuickenData.h"
#include "import/ImportDefinition.h"
#include "import/StatementText.h"

namespace ch {

StatementLines statementLines(const std::vector<CImpTItem::Ptr>& lines)
{
    return StatementLines(lines.begin(), lines.end());
}

StatementImportResult readStatement(std::string_view bytes, StatementFormat format, ImportDocument& document,
                                    const Dictionary* definition)
{
    switch (format) {
    case StatementFormat::Delimited: {
        CDexiaTableData reader(statementText(bytes), definition, &document);
        StatementImportResult result;
        result.lines = reader.Import();
        if (definition && !definitionProblem(*definition).empty())
            result.error = CDexiaTableData::kUnusableDefinitionError;
        return result;
    }
    case StatementFormat::Qif: {
        CQuickenData reader(statementText(bytes), nullptr, &document);
        StatementImportResult result;
        result.lines = reader.Import();
        result.error = reader.error();
        result.notes = reader.notes();
        return result;
    }
    case StatementFormat::Ofx: {
        OfxReadResult read = COFXParser::parseBytes(bytes, &document);
        StatementImportResult result;
        result.lines = std::move(read.lines);
        result.error = read.error;
        return result;
    }
    }
    return {};
}

} // namespace ch
