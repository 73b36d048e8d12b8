#pragma once
// The entry point of statement import: a statement file's bytes, read by the
// reader of its format, become the import lines the document installs as its
// pending list (statementLines). Every line comes completed against the
// document's books, marked when it duplicates a booked transaction.
//
// The document's import commands call readStatement with the format the user
// chose: a delimited text with an import definition (none: the bank export's
// own settings; standardFileDescriptor() for the built-in definition), QIF,
// or OFX. Nothing is booked here; a QIF file may create category groups,
// categories and accounts through the document while it is read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/CImpTItem.h"
#include "platform/core/value.h"

namespace ch {

class ImportDocument;

enum class StatementFormat { Delimited, Qif, Ofx };

struct StatementImportResult {
    std::vector<CImpTItem::Ptr> lines;
    // The numbered error the reader raised (already shown); 0 for none:
    // 259 a credit-card QIF file without default credit-card account, 270 an
    // import definition without separator, 271, 279 and 280 an OFX file that
    // cannot be read.
    long error = 0;
    // What the user should know about how the file was read (localized):
    // a QIF file's dates read in another order than the setting says.
    std::vector<std::string> notes;
};

// The lines as the document's pending list holds them.
StatementLines statementLines(const std::vector<CImpTItem::Ptr>& lines);

StatementImportResult readStatement(std::string_view bytes, StatementFormat format, ImportDocument& document,
                                    const Dictionary* definition = nullptr);

} // namespace ch
