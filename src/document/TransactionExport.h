#pragma once
// Export of transactions to a text file, dated within both limits
// (inclusive): the booking lines of one account, category, account type or
// category group, or every posted transaction of the books. Tab-separated
// text is one record per line ending in CR LF, no header; QIF is written as
// QIF, one register per account (QifExport), so that QIF readers, this
// program's included, read it back. The export changes nothing in the books
// and runs no command.
//
// The file is written beside its place and renamed over it, so a failed
// export leaves any earlier file whole; the failure is shown to the user
// (error 283) and answered false.

#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CNonVisualDataItem;
class MyDocument;

class TransactionExport {
public:
    explicit TransactionExport(MyDocument& document) : mDocument(document) {}

    // "qif" or "tsv".
    static std::string_view extension(bool asQif);

    // An empty path (the save panel cancelled) writes nothing and is no failure.
    bool exportTransactionsForObject(CNonVisualDataItem& object, DateT from, DateT to, bool asQif,
                                     const std::string& path);
    bool exportTransactionsFromDate(DateT from, DateT to, bool asQif, const std::string& path);

private:
    bool write(const std::string& path, const std::string& text);

    MyDocument& mDocument;
};

} // namespace ch
