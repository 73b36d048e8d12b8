#include "document/arguments/CDeleteObjectParms.h"

namespace ch::arguments {

void CDeleteObjectParms::addEntries(Dictionary& dictionary) const
{
    dictionary.set("askBeforeDelete", false);
    dictionary.set("name", name.value_or("-"));
}

bool CDeleteObjectParms::recoverFromDictionary(const Dictionary& dictionary)
{
    // A replayed deletion never asks: the flag is not read back. The name
    // tells the replay which object the deletion was of.
    withAsking.reset();
    acknowledgeKey(dictionary, "askBeforeDelete");
    name = getTextFromDictionary(dictionary, "name");
    return true;
}

} // namespace ch::arguments
