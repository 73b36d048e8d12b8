#pragma once
// IdCounters: where new ids come from. Each set of books (the model root) owns
// one, so that the ids a document hands out depend on its own history only:
// a journal replayed onto the saved books gives its objects the ids they had
// when it was written, whatever other books were open meanwhile. Objects
// that belong to no books number themselves from one set of their own.

#include "model/foundation/ModelTypes.h"

namespace ch {

struct IdCounters {
    ObjectIdT mi_MaxId = 0;      // objects in general
    ObjectIdT mi_TrnsNr = 0;     // transactions
    ObjectIdT mi_DebetNr = 0;    // booking lines
    ObjectIdT mi_MxptNr = 0;     // category groups
    ObjectIdT mi_ExptNr = 0;     // categories

    bool operator==(const IdCounters&) const = default;
};

} // namespace ch
