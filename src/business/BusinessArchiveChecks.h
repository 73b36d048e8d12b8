#pragma once
// What the business objects of an archive name in the books they were read
// with, for archives without our checksum (written elsewhere or by earlier
// versions), where nothing else tells a damaged value. An id that names
// nothing of its kind, or a date that is no date, is taken for damage, even
// though the archive itself could be read. Except where objects are known to
// outlive what they name: an invoice its deleted transaction, a reminder
// list its deleted reminders; those ids need only be ids.

#include <string>

#include "business/BusinessArrays.h"

namespace ch {
class CDocAccounting;
}

namespace ch::business {

// What is wrong, for the developer log; empty when every object names what
// it should. Absent values name nothing and are not checked.
std::string namesMissingFromBooks(const BusinessArrays& arrays, const CDocAccounting& books);

} // namespace ch::business
