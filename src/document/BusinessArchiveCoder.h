#pragma once
// The business part of the document file: the keyed archive behind the model
// stream's end tag, which holds the document's five business arrays under
// these keys, in this order:
//
//   "SERIALIZEDVATARRAY"                 VAT rates
//   "SERIALIZEDAMORTISATIONSCHEMEARRAY"  amortisation schemes
//   "SERIALIZEDVATPERIODARRAY"           VAT periods
//   "SERIALIZEDCUSTOMERINVOICEARRAY"     customer invoices
//   "SERIALIZEDSUPPLIERINVOICEARRAY"     supplier invoices
//
// The document file only moves bytes; a coder turns the arrays into those
// bytes and back. The business bookkeeping supplies the coder that knows its
// objects; until it is installed, a document uses EmptyBusinessArchiveCoder.
//
// Reading must say whether everything was read: a document whose archive
// could not be read completely is never saved over its file, so that what it
// could not read is not replaced by nothing.

#include <array>
#include <string>
#include <string_view>

#include "platform/core/plist.h"

namespace ch {

class MyDocument;

inline constexpr std::array<std::string_view, 5> kBusinessArchiveKeys = {
    "SERIALIZEDVATARRAY", "SERIALIZEDAMORTISATIONSCHEMEARRAY", "SERIALIZEDVATPERIODARRAY",
    "SERIALIZEDCUSTOMERINVOICEARRAY", "SERIALIZEDSUPPLIERINVOICEARRAY",
};

class BusinessArchiveCoder {
public:
    struct Decoded {
        bool complete = true;
        std::string problem; // what could not be read, for the developer log
    };

    virtual ~BusinessArchiveCoder();

    // The archive of the document's business arrays; the error says why when
    // none can be made.
    virtual PlistOutput encode() const = 0;
    // Replaces the document's business arrays with what the archive holds
    // (the bytes behind the end tag; none in files older than the business
    // arrays: five empty arrays, complete). A missing key gives an empty
    // array and is no damage.
    virtual Decoded decode(std::string_view archive) = 0;
};

// The five arrays written empty; reading keeps them empty and counts any
// object in the archive as unread. It refuses to write arrays that hold
// objects, which it cannot archive.
class EmptyBusinessArchiveCoder final : public BusinessArchiveCoder {
public:
    explicit EmptyBusinessArchiveCoder(MyDocument& document) : mDocument(document) {}

    PlistOutput encode() const override;
    Decoded decode(std::string_view archive) override;

private:
    MyDocument& mDocument;
};

// The archive of five empty arrays.
PlistOutput emptyBusinessArchive();
// Reads an archive with no object in it (see EmptyBusinessArchiveCoder).
BusinessArchiveCoder::Decoded readEmptyBusinessArchive(std::string_view archive);

} // namespace ch
