#pragma once
// GXNonVisual: what the document and its commands know of a business object
// (a VAT rate, VAT period, invoice or amortisation scheme): its four-character
// type, its id and its key. The business bookkeeping derives its objects from
// it; the document keeps them in its business arrays and sends them as the
// targets of the business commands.

#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// The first business object of the array whose id is the id; when none has
// it, the first business object of the array if asked to return one, else
// none. Elements that are no business objects are passed over.
template <typename Element>
std::shared_ptr<GXNonVisual> objectFromArray(const std::vector<std::shared_ptr<Element>>& array,
                                             std::optional<long> id, bool returnFirstIfNoneFound)
{
    std::shared_ptr<GXNonVisual> first;
    for (const std::shared_ptr<Element>& element : array) {
        auto object = std::dynamic_pointer_cast<GXNonVisual>(element);
        if (!object) continue;
        if (!first) first = object;
        const std::optional<ObjectIdT> key = object->idKey();
        if (id && key && static_cast<long>(*key) == *id) return object;
    }
    return returnFirstIfNoneFound ? first : nullptr;
}

} // namespace ch
