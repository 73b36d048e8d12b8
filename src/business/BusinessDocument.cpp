#include "business/BusinessDocument.h"

namespace ch::business {

BusinessDocument::~BusinessDocument() = default;

} // namespace ch::business
