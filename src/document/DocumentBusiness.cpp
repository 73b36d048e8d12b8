#include "document/DocumentBusiness.h"

namespace ch {

DocumentBusiness::~DocumentBusiness() = default;

} // namespace ch
