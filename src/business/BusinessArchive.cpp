#include "business/BusinessArchive.h"

#include <optional>

#include "platform/core/keyed_archive.h"

namespace ch::business {

namespace {

constexpr std::string_view kVATRateKey = kBusinessArchiveKeys[0];
constexpr std::string_view kAmortisationSchemeKey = kBusinessArchiveKeys[1];
constexpr std::string_view kVATPeriodKey = kBusinessArchiveKeys[2];
constexpr std::string_view kCustomerInvoiceKey = kBusinessArchiveKeys[3];
constexpr std::string_view kSupplierInvoiceKey = kBusinessArchiveKeys[4];

// The business classes only: anything else in the archive is refused.
const ArchiveClassRegistry& businessClasses()
{
    static const ArchiveClassRegistry registry = [] {
        ArchiveClassRegistry classes;
        classes.add(GXVATRate::kClassName, &GXVATRate::decode);
        classes.add(GXVATPeriod::kClassName, &GXVATPeriod::decode);
        classes.add(GXInvoice::kClassName, &GXInvoice::decode);
        return classes;
    }();
    return registry;
}

template <class T>
void completeBusinessObjectArray(const std::vector<std::shared_ptr<T>>& objects, BusinessDocument* document)
{
    for (const std::shared_ptr<T>& object : objects)
        object->setParentDocument(document);
}

// Why the objects could not be archived again; empty when they can. Reading
// accepts texts (one holding a NUL character) that writing refuses: such an
// array counts as unreadable, or the document could never be saved again.
template <class T>
std::string unwritable(const std::vector<std::shared_ptr<T>>& objects, std::string_view key)
{
    KeyedArchiver archiver;
    archiver.encodeObjectArray(objects, key);
    return archiver.finish().error;
}

} // namespace

PlistOutput encodeBusinessArchive(const BusinessArrays& arrays)
{
    KeyedArchiver archiver;
    archiver.encodeObjectArray(arrays.VATRateArray, kVATRateKey);
    archiver.encodeObjectArray(arrays.amortisationSchemeArray, kAmortisationSchemeKey);
    archiver.encodeObjectArray(arrays.VATPeriodArray, kVATPeriodKey);
    archiver.encodeObjectArray(arrays.customerInvoiceArray, kCustomerInvoiceKey);
    archiver.encodeObjectArray(arrays.supplierInvoiceArray, kSupplierInvoiceKey);
    return archiver.finish();
}

BusinessArchiveContents decodeBusinessArchive(std::string_view bytes, BusinessDocument* document)
{
    BusinessArchiveContents contents;
    if (bytes.empty())
        return contents;

    // An unarchiver stops at the first damage. Each array is read by one that
    // has met none yet, so that damage in one array costs no other.
    std::optional<KeyedUnarchiver> unarchiver;
    unarchiver.emplace(bytes, businessClasses());
    if (unarchiver->failed()) {
        contents.warning = kIncompleteBusinessArchiveWarning;
        contents.problem = unarchiver->error();
        return contents;
    }
    auto read = [&]<class T>(std::vector<std::shared_ptr<T>>& array, std::string_view key) {
        if (unarchiver->failed())
            unarchiver.emplace(bytes, businessClasses());
        array = unarchiver->decodeObjectArrayOf<T>(key);
        completeBusinessObjectArray(array, document);
        std::string problem = unarchiver->failed() ? unarchiver->error() : unwritable(array, key);
        if (problem.empty())
            return true;
        array.clear();
        contents.warning = kIncompleteBusinessArchiveWarning;
        if (!contents.problem.empty())
            contents.problem += "; ";
        contents.problem += std::string(key) + ": " + problem;
        return false;
    };
    BusinessArrays& arrays = contents.arrays;
    read(arrays.VATRateArray, kVATRateKey);
    // No kind of amortisation scheme exists: whatever stands there cannot be kept.
    if (read(arrays.amortisationSchemeArray, kAmortisationSchemeKey) && !arrays.amortisationSchemeArray.empty()) {
        arrays.amortisationSchemeArray.clear();
        contents.warning = kIncompleteBusinessArchiveWarning;
        contents.problem += std::string(contents.problem.empty() ? "" : "; ") + std::string(kAmortisationSchemeKey) +
                            ": objects of no amortisation-scheme kind";
    }
    contents.checkVATPeriods = read(arrays.VATPeriodArray, kVATPeriodKey);
    read(arrays.customerInvoiceArray, kCustomerInvoiceKey);
    read(arrays.supplierInvoiceArray, kSupplierInvoiceKey);
    return contents;
}

} // namespace ch::business
