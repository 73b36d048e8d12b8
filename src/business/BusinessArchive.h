#pragma once
// The business archive: the part of the document file behind the model
// stream's end tag. It is a keyed archive in the standard binary form, so
// that files written on the original platform open here and ours open there,
// with five entries in this order:
//
//   "SERIALIZEDVATARRAY"                 VAT rates ("GXVATRate")
//   "SERIALIZEDAMORTISATIONSCHEMEARRAY"  amortisation schemes (always empty)
//   "SERIALIZEDVATPERIODARRAY"           VAT periods ("GXVATPeriod")
//   "SERIALIZEDCUSTOMERINVOICEARRAY"     customer invoices ("GXInvoice")
//   "SERIALIZEDSUPPLIERINVOICEARRAY"     supplier invoices ("GXInvoice")
//
// and two of ours, which other readers pass by: "SERIALIZEDCHECKSUM", the
// checksum of the archive of the five arrays alone (archives without it,
// written elsewhere or by earlier versions, are read without the check), and
// "SERIALIZEDIDCOUNTERS", the counters the books numbered their VAT rates,
// VAT periods and invoices from when saved ("3 2 0"): deleted objects had
// ids above those the arrays hold, and a journal replayed onto the books
// names the ids the saving run gave next.
//
// Reading treats the bytes as hostile. An archive that cannot be read
// completely is never dropped silently: every array that can still be read
// is kept, the others come back empty, and the result carries the numbered
// warning kIncompleteBusinessArchiveWarning. So is a damaged archive that
// still reads: a missing entry, a value of the wrong kind or out of range
// (the object is kept without it), or arrays that differ from their
// checksum; and, unless the checksum vouches for the arrays (a later version
// may add entries), an unknown entry, an entry nothing refers to or an
// object named twice. Saving such
// a document over its file would replace the unread data with nothing, so
// the document must then be saved under a new name.

#include <string>
#include <string_view>

#include <optional>

#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "document/DocumentBusiness.h"
#include "platform/core/plist.h"

namespace ch::business {

class BusinessDocument;

// The archive of the five arrays (and the counters, when given), or the
// reason why none could be made.
PlistOutput encodeBusinessArchive(const BusinessArrays& arrays, const BusinessIdCounters* counters = nullptr);

struct BusinessArchiveContents {
    BusinessArrays arrays;
    // 0, or kIncompleteBusinessArchiveWarning when something could not be read.
    long warning = 0;
    // What could not be read, for the developer log; empty when complete.
    std::string problem;
    // Whether the document should check its current and previous VAT period
    // on the next pass of the event loop: the archive was there and its VAT
    // periods could be read.
    bool checkVATPeriods = false;
    // Whether the arrays match the checksum they were saved with: they are
    // then as this program saved them, references to since deleted objects
    // included.
    bool matchesChecksum = false;
    // The counters saved with the arrays; none in archives without them or
    // with a value that does not read as three counters.
    std::optional<BusinessIdCounters> counters;

    bool complete() const { return warning == 0; }
};

// Reads the bytes behind the end tag (none: five empty arrays, complete, no
// period check). Every object read gets the document as its parent.
BusinessArchiveContents decodeBusinessArchive(std::string_view bytes, BusinessDocument* document);

} // namespace ch::business
