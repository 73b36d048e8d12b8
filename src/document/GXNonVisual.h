#pragma once
// GXNonVisual: what the document and its commands know of a business object
// (a VAT rate, VAT period, invoice or amortisation scheme): its four-character
// type, its id and its key. The business bookkeeping derives its objects from
// it; the document keeps them in its business arrays and sends them as the
// targets of the business commands.

#include <optional>
#include <string>

#include "model/foundation/ModelTypes.h"
#include "platform/core/observable.h"

namespace ch {

class GXNonVisual : public virtual Observable {
public:
    ~GXNonVisual() override;

    // The type as four-character text ("VatR" for a VAT rate).
    virtual std::string objectType() const = 0;
    // The id; none while the object has none.
    virtual std::optional<ObjectIdT> idKey() const = 0;
    // The type followed by the decimal id ("VatR2"); the type alone without an id.
    std::string calculateKey() const;
};

} // namespace ch
