#include "model/DocumentServices.h"

namespace ch {

DocumentServices::~DocumentServices() = default;

} // namespace ch
