#pragma once
// An import definition as a person reads it: which files it is for, how a
// record is split and which lines count, how dates read, and which column
// holds which part of a statement line (columns named as the assistant's
// column table names them, "COL0", "COL1", ...). Only what the definition
// holds is said; the texts are localized.

#include <string>

#include "platform/core/value.h"

namespace ch {

// One statement per line, separated by "\n".
std::string describeImportDefinition(const Dictionary& definition);

} // namespace ch
