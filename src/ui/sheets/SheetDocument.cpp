#include "ui/sheets/SheetDocument.h"

#include "bridge/BridgeDocument.h"

namespace ch {

CDocAccounting* SheetDocument::books()
{
    return bridge().accounting();
}

void SheetDocument::updateChangeCount()
{
    bridge().updateChangeCount();
}

} // namespace ch
