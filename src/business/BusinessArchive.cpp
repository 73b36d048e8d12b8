#include "business/BusinessArchive.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <limits>
#include <set>
#include <sstream>
#include <string>

#include "platform/core/keyed_archive.h"

namespace ch::business {

namespace {

constexpr std::string_view kVATRateKey = kBusinessArchiveKeys[0];
constexpr std::string_view kAmortisationSchemeKey = kBusinessArchiveKeys[1];
constexpr std::string_view kVATPeriodKey = kBusinessArchiveKeys[2];
constexpr std::string_view kCustomerInvoiceKey = kBusinessArchiveKeys[3];
constexpr std::string_view kSupplierInvoiceKey = kBusinessArchiveKeys[4];
// Ours only: the checksum of the five arrays as saved. Other readers pass it by.
constexpr std::string_view kChecksumKey = "SERIALIZEDCHECKSUM";
constexpr std::string_view kIdCountersKey = "SERIALIZEDIDCOUNTERS";

std::string countersText(const BusinessIdCounters& counters)
{
    return std::to_string(counters.VATRates) + " " + std::to_string(counters.VATPeriods) + " " +
           std::to_string(counters.invoices);
}

std::optional<BusinessIdCounters> countersFromText(const std::string& text)
{
    BusinessIdCounters counters;
    std::istringstream in(text);
    long long values[3];
    for (long long& value : values)
        if (!(in >> value) || value < 0 || value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    std::string rest;
    if (in >> rest) return std::nullopt;
    counters.VATRates = static_cast<std::int32_t>(values[0]);
    counters.VATPeriods = static_cast<std::int32_t>(values[1]);
    counters.invoices = static_cast<std::int32_t>(values[2]);
    return counters;
}

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

void encodeArrays(KeyedArchiver& archiver, const BusinessArrays& arrays)
{
    archiver.encodeObjectArray(arrays.VATRateArray, kVATRateKey);
    archiver.encodeObjectArray(arrays.amortisationSchemeArray, kAmortisationSchemeKey);
    archiver.encodeObjectArray(arrays.VATPeriodArray, kVATPeriodKey);
    archiver.encodeObjectArray(arrays.customerInvoiceArray, kCustomerInvoiceKey);
    archiver.encodeObjectArray(arrays.supplierInvoiceArray, kSupplierInvoiceKey);
}

// The checksum of the archive of the five arrays alone (64-bit FNV-1a).
std::string checksumOf(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "fnv1a64:";
    for (int shift = 60; shift >= 0; shift -= 4)
        text += kDigits[(hash >> shift) & 0xF];
    return text;
}

// The key of an array that names an object already named, or empty.
std::string objectNamedTwice(const BusinessArrays& arrays)
{
    std::set<const void*> seen;
    auto check = [&](const auto& array, std::string_view key) -> std::string {
        for (const auto& object : array)
            if (!seen.insert(object.get()).second)
                return std::string(key);
        return {};
    };
    for (std::string found : {check(arrays.VATRateArray, kVATRateKey), check(arrays.VATPeriodArray, kVATPeriodKey),
                              check(arrays.customerInvoiceArray, kCustomerInvoiceKey),
                              check(arrays.supplierInvoiceArray, kSupplierInvoiceKey)})
        if (!found.empty())
            return found;
    return {};
}

} // namespace

PlistOutput encodeBusinessArchive(const BusinessArrays& arrays, const BusinessIdCounters* counters)
{
    KeyedArchiver archiver;
    encodeArrays(archiver, arrays);
    PlistOutput arraysOnly = archiver.finish();
    if (!arraysOnly.ok())
        return arraysOnly;
    archiver.encodeValue(Value(checksumOf(arraysOnly.bytes)), kChecksumKey);
    if (counters)
        archiver.encodeValue(Value(countersText(*counters)), kIdCountersKey);
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
    auto report = [&](std::string_view where, const std::string& problem) {
        contents.warning = kIncompleteBusinessArchiveWarning;
        if (!contents.problem.empty())
            contents.problem += "; ";
        contents.problem += std::string(where) + ": " + problem;
    };

    // The table of entries: one of ours that is missing is a damaged name
    // (archives without the amortisation schemes were written before there
    // were any). So is a name that is not ours, unless the checksum vouches
    // for the arrays: then a later version wrote it.
    const std::vector<std::string> entries = unarchiver->keys();
    std::vector<std::string> unknownEntries;
    for (const std::string& entry : entries)
        if (entry != kChecksumKey && entry != kIdCountersKey &&
            std::find(kBusinessArchiveKeys.begin(), kBusinessArchiveKeys.end(), entry) == kBusinessArchiveKeys.end())
            unknownEntries.push_back(entry);
    auto reportUnknownEntries = [&] {
        for (const std::string& entry : unknownEntries)
            report("\"" + entry + "\"", "an entry no version writes");
    };
    for (std::string_view key : kBusinessArchiveKeys)
        if (key != kAmortisationSchemeKey && std::find(entries.begin(), entries.end(), key) == entries.end())
            report(key, "missing");
    const Value checksum = unarchiver->decodeValue(kChecksumKey);
    if (std::find(entries.begin(), entries.end(), kIdCountersKey) != entries.end()) {
        const Value counters = unarchiver->decodeValue(kIdCountersKey);
        const std::string* text = counters.asString();
        contents.counters = text ? countersFromText(*text) : std::nullopt;
        if (!contents.counters)
            report(kIdCountersKey, "no three counters");
    }

    bool readWhole = true; // by one unarchiver, no array dropped
    auto read = [&]<class T>(std::vector<std::shared_ptr<T>>& array, std::string_view key) {
        if (unarchiver->failed()) {
            unarchiver.emplace(bytes, businessClasses());
            readWhole = false;
        }
        array = unarchiver->decodeObjectArrayOf<T>(key);
        completeBusinessObjectArray(array, document);
        std::string problem = unarchiver->failed() ? unarchiver->error() : unwritable(array, key);
        // Values that could not be used cost only themselves: the objects stay.
        std::string damage;
        for (const std::string& note : unarchiver->takeNotedDamage())
            damage += (damage.empty() ? "" : ", ") + note;
        if (!damage.empty())
            report(key, damage);
        if (problem.empty())
            return true;
        array.clear();
        readWhole = false;
        report(key, problem);
        return false;
    };
    BusinessArrays& arrays = contents.arrays;
    read(arrays.VATRateArray, kVATRateKey);
    // No kind of amortisation scheme exists: whatever stands there cannot be kept.
    if (read(arrays.amortisationSchemeArray, kAmortisationSchemeKey) && !arrays.amortisationSchemeArray.empty()) {
        arrays.amortisationSchemeArray.clear();
        report(kAmortisationSchemeKey, "objects of no amortisation-scheme kind");
    }
    contents.checkVATPeriods = read(arrays.VATPeriodArray, kVATPeriodKey);
    read(arrays.customerInvoiceArray, kCustomerInvoiceKey);
    read(arrays.supplierInvoiceArray, kSupplierInvoiceKey);
    readWhole = readWhole && !unarchiver->failed();
    if (!readWhole) {
        reportUnknownEntries();
        return contents;
    }

    // What a damaged value changed shows against the checksum it was saved
    // with. Arrays that match it are as saved, whatever else a later version
    // put beside them.
    if (!checksum.isAbsent()) {
        KeyedArchiver archiver;
        encodeArrays(archiver, arrays);
        const PlistOutput again = archiver.finish();
        const std::string* saved = checksum.asString();
        contents.matchesChecksum = saved && again.ok() && *saved == checksumOf(again.bytes);
        if (!contents.matchesChecksum)
            report(kChecksumKey, "the business data differs from what was saved");
    }
    if (contents.matchesChecksum)
        return contents;
    reportUnknownEntries();
    // A damaged reference leaves the entry it should name behind, and an
    // object named twice would be kept twice or dropped as a duplicate.
    if (const std::size_t unreached = unarchiver->unreachedEntryCount())
        report("archive", std::to_string(unreached) + " entries nothing refers to");
    if (const std::string twice = objectNamedTwice(arrays); !twice.empty())
        report(twice, "the same object named twice");
    return contents;
}

} // namespace ch::business
