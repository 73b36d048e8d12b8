#include "import/StatementFileReader.h"

#include <fstream>
#include <iterator>

#include "import/COFXParser.h"
#include "import/ImportDefinition.h"
#include "import/StatementImport.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

std::optional<std::string> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

} // namespace

StatementLines StatementFileReader::read(const std::string& path, StatementKind kind, const Dictionary* definition)
{
    const std::optional<std::string> bytes = fileBytes(path);
    if (!bytes) {
        CErrorManager::RaiseError(COFXParser::kUnreadableFileError);
        return {};
    }
    StatementImportResult result;
    switch (kind) {
    case StatementKind::BankExport: {
        const Dictionary standard = standardFileDescriptor();
        result = readStatement(*bytes, StatementFormat::Delimited, mDocument, &standard);
        break;
    }
    case StatementKind::Definition:
        result = readStatement(*bytes, StatementFormat::Delimited, mDocument, definition);
        break;
    case StatementKind::OFX: result = readStatement(*bytes, StatementFormat::Ofx, mDocument); break;
    case StatementKind::QIF: result = readStatement(*bytes, StatementFormat::Qif, mDocument); break;
    }
    // What the reading has to say is one message, after the file is read.
    if (!result.notes.empty()) {
        Alert alert;
        alert.title = localized("INFO");
        for (const std::string& note : result.notes) alert.message += (alert.message.empty() ? "" : "\n\n") + note;
        alert.defaultButton = localized("OK");
        alertPresenter().showInfo(alert);
    }
    return statementLines(result.lines);
}

std::optional<Dictionary> StatementFileReader::importDefinition(std::string_view title)
{
    // The submenu shows the file names; the folder is searched by name.
    constexpr std::string_view kExtension = ".plist";
    std::string_view name = title;
    if (name.size() > kExtension.size() && name.ends_with(kExtension)) name.remove_suffix(kExtension.size());
    return loadImportDefinition(importDefinitionFolder(), name).definition;
}

} // namespace ch
