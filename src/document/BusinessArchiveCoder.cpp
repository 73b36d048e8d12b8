#include "document/BusinessArchiveCoder.h"

#include <memory>
#include <vector>

#include "document/MyDocument.h"
#include "platform/core/keyed_archive.h"

namespace ch {

BusinessArchiveCoder::~BusinessArchiveCoder() = default;

PlistOutput emptyBusinessArchive()
{
    KeyedArchiver archiver;
    for (std::string_view key : kBusinessArchiveKeys)
        archiver.encodeObjectArray(std::vector<std::shared_ptr<const Archivable>>{}, key);
    return archiver.finish();
}

BusinessArchiveCoder::Decoded readEmptyBusinessArchive(std::string_view archive)
{
    BusinessArchiveCoder::Decoded decoded;
    if (archive.empty()) return decoded;
    // No class is known: any archived object fails the archive.
    static const ArchiveClassRegistry noClasses;
    KeyedUnarchiver unarchiver(archive, noClasses);
    for (std::string_view key : kBusinessArchiveKeys) unarchiver.decodeObjectArray(key);
    if (unarchiver.failed()) {
        decoded.complete = false;
        decoded.problem = unarchiver.error();
    }
    return decoded;
}

PlistOutput EmptyBusinessArchiveCoder::encode() const
{
    for (const MyDocument::BusinessArray* array :
         {&mDocument.VATRateArray(), &mDocument.amortisationSchemeArray(), &mDocument.VATPeriodArray(),
          &mDocument.customerInvoiceArray(), &mDocument.supplierInvoiceArray()})
        if (!array->empty()) return PlistOutput{{}, "business objects without an archive coder"};
    return emptyBusinessArchive();
}

BusinessArchiveCoder::Decoded EmptyBusinessArchiveCoder::decode(std::string_view archive)
{
    mDocument.clearBusinessArrays();
    return readEmptyBusinessArchive(archive);
}

} // namespace ch
