#include "document/GXNonVisual.h"

namespace ch {

GXNonVisual::~GXNonVisual() = default;

std::string GXNonVisual::calculateKey() const
{
    std::optional<ObjectIdT> id = idKey();
    return id ? objectType() + std::to_string(*id) : objectType();
}

} // namespace ch
