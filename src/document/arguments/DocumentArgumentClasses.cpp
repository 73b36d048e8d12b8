#include "document/arguments/ArgumentClassRegistry.h"

namespace ch {

void registerDocumentArgumentClasses(ArgumentClassRegistry&)
{
}

} // namespace ch
