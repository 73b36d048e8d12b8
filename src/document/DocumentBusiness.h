#pragma once
// DocumentBusiness: the document's business bookkeeping (its VAT rates, VAT
// periods and invoices) as the document sees it. The business library, which
// builds on the document, implements it and installs it on each document it
// serves; the document owns it and forwards to it what concerns business
// objects: the VAT rate of an id or key, the objects a new document starts
// with, and the business archive of the document file.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/foundation/ModelTypes.h"
#include "platform/core/plist.h"

namespace ch {

class CDocAccounting;
class GXNonVisual;
class InvoiceHooks;

// Message: the business data could not be read completely.
inline constexpr long kIncompleteBusinessArchiveWarning = 281;

// The keys of the business archive, one array each, in the order written:
// VAT rates, amortisation schemes, VAT periods, customer and supplier invoices.
inline constexpr std::array<std::string_view, 5> kBusinessArchiveKeys = {
    "SERIALIZEDVATARRAY", "SERIALIZEDAMORTISATIONSCHEMEARRAY", "SERIALIZEDVATPERIODARRAY",
    "SERIALIZEDCUSTOMERINVOICEARRAY", "SERIALIZEDSUPPLIERINVOICEARRAY",
};

// What a document without business bookkeeping writes: the five keys with
// empty arrays, which every reader of the file takes as "no business data".
PlistOutput emptyBusinessArchive();
// What a document without business bookkeeping reads: 0 when the archive
// holds no object (no bytes at all: a file older than the business arrays);
// else kIncompleteBusinessArchiveWarning, with the reason in `problem` when
// given, since nothing here can keep those objects.
long readEmptyBusinessArchive(std::string_view bytes, std::string* problem = nullptr);
// Whether the books hold what only business bookkeeping makes (its invoices
// and payments, a VAT setting other than a new document's, a VAT declaration
// or a closed VAT period), so that their file must carry a business archive:
// one that ends at the model's end tag then lost its archive, it is not a
// file from before the business arrays.
bool booksNeedBusinessArchive(const CDocAccounting& books);

class DocumentBusiness {
public:
    virtual ~DocumentBusiness();

    // The VAT rate with the id; the first rate when asked and none has it;
    // null otherwise.
    virtual std::shared_ptr<GXNonVisual> VATRateWithId(ObjectIdT id, bool alwaysReturnOne) = 0;
    // Makes what a new document's business bookkeeping starts with.
    virtual void setUpNewDocument() = 0;
    // The business archive (the bytes behind the model stream's end tag), or
    // the reason why none could be made.
    virtual PlistOutput archiveBytes() const = 0;
    // Replaces the business objects by those of the archive bytes (none: no
    // business objects). 0, or the numbered warning when not everything could
    // be read: what could be read is kept.
    virtual long readArchive(std::string_view bytes) = 0;
    // What the transaction items use of the invoices; null: no invoices.
    virtual InvoiceHooks* invoiceHooks() { return nullptr; }
    // The name of the business object (a VAT rate) that books on the
    // account or the category with the id; none when nothing does.
    virtual std::optional<std::string> userOfAccount(ObjectIdT) const { return std::nullopt; }
    virtual std::optional<std::string> userOfCategory(ObjectIdT) const { return std::nullopt; }
    // The transactions with the ids are gone (by themselves or with their
    // account): what the business objects keep of them is let go.
    virtual void transactionsDeleted(const std::vector<ObjectIdT>&) {}
};

} // namespace ch
