#pragma once
// The call-backs an object sheet makes after its command, each only when the
// dictionary names a call-back ("CALLBACKSELECTORNAME"):
// - afterAccount: to "CALLBACKOBJECT", else the document; the arguments are
//   "CALLBACKARGUMENTS" or a new dictionary, with "NEWKEY" = the new id
//   unless the sheet modified.
// - afterCategory: the same, "NEWKEY" always (the new or the modified id).
// - toDocument: the document, with "CALLBACKARGUMENTS" as it is (none when
//   absent), no "NEWKEY".

#include <optional>

#include "ui/sheets/SheetParameters.h"

namespace ch {

namespace sheet_callbacks {
void afterAccount(const SheetParameters& context, SheetDocument* document, std::optional<long> newId, int action);
void afterCategory(const SheetParameters& context, SheetDocument* document, long id);
void toDocument(const SheetParameters& context, SheetDocument* document);
} // namespace sheet_callbacks

} // namespace ch
