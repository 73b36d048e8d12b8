#include "business/views/BusinessSheet.h"

#include "model/foundation/CErrorManager.h"

namespace ch::business {

void BusinessSheet::dialogClosed(int returnCode, const SheetParameters& context)
{
    CPopupWindowAncestor::dialogClosed(returnCode, context);
    if (returnCode > 0 && mAccepted) mAccepted();
}

bool BusinessSheet::refuse(long error)
{
    if (error == 0) return false;
    CErrorManager::RaiseError(error);
    return true;
}

} // namespace ch::business
