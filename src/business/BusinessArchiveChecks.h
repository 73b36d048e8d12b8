#pragma once
// What the business objects of an archive name in the books they were read
// with. An account, category or transaction id that names nothing of its
// kind, or a date that is no date, cannot come from the program that saved
// the file: it is damage, even though the archive itself could be read.

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
