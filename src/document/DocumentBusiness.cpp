#include "document/DocumentBusiness.h"

#include <vector>

#include "platform/core/keyed_archive.h"

namespace ch {

DocumentBusiness::~DocumentBusiness() = default;

PlistOutput emptyBusinessArchive()
{
    KeyedArchiver archiver;
    for (std::string_view key : kBusinessArchiveKeys)
        archiver.encodeObjectArray(std::vector<std::shared_ptr<const Archivable>>{}, key);
    return archiver.finish();
}

long readEmptyBusinessArchive(std::string_view bytes, std::string* problem)
{
    if (bytes.empty()) return 0;
    // No class is known: any archived object fails the archive.
    static const ArchiveClassRegistry noClasses;
    KeyedUnarchiver unarchiver(bytes, noClasses);
    for (std::string_view key : kBusinessArchiveKeys) unarchiver.decodeObjectArray(key);
    if (!unarchiver.failed()) return 0;
    if (problem) *problem = unarchiver.error();
    return kIncompleteBusinessArchiveWarning;
}

} // namespace ch
