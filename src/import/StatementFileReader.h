#pragma once
// StatementFileReader: the document's statement reader. It reads the chosen
// file and hands its bytes to the reader of the kind (the bank export with
// the built-in definition, a delimited text with the definition given, QIF
// or OFX), for the document it imports into; the lines come completed and
// marked when they duplicate a booked transaction. A file that cannot be
// read raises error 271 and gives no lines. What the reading has to say (no
// lines and why, a file cut short, rows left out, amounts that do not read,
// the date order used) is shown as one information message.

#include "document/StatementReader.h"

namespace ch {

class ImportDocument;

class StatementFileReader : public StatementReader {
public:
    // The document outlives the reader.
    explicit StatementFileReader(ImportDocument& document) : mDocument(document) {}

    StatementLines read(const std::string& path, StatementKind kind, const Dictionary* definition) override;
    // From the import-definition folder.
    std::optional<Dictionary> importDefinition(std::string_view title) override;

private:
    ImportDocument& mDocument;
};

} // namespace ch
