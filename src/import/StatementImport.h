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
// categories and accounts through the document while it is read. Errors
// raised while reading are gathered: one raised many times is one note.

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
    // What the user should know about how the file was read (localized),
    // shown together as one message: a QIF file's dates read in another
    // order than the setting says; 310 a file that gives no line for no
    // other reason said; 311 a definition whose field range no record fits;
    // 312 an investment statement only; 313 a file that ends inside a
    // transaction, with the lines read up to there; 314 records without a
    // date left out; 315 lines whose amount does not read; 317 an error the
    // reading raised many times, once with its count; delimited rows that
    // are no statement line (headings and totals counted, rows lost among
    // the statement lines by their line numbers), a sign column that held
    // neither sign, and amounts read in the other notation; OFX
    // transactions a damaged tag left out, or mended, or without an amount;
    // damaged QIF records, lines waiting for their own account, dotted
    // dates that read both ways, and a file without a "!Type:" line (see
    // CQuickenData).
    std::vector<std::string> notes;
};

// The lines as the document's pending list holds them.
StatementLines statementLines(const std::vector<CImpTItem::Ptr>& lines);

StatementImportResult readStatement(std::string_view bytes, StatementFormat format, ImportDocument& document,
                                    const Dictionary* definition = nullptr);

} // namespace ch
