#include "document/arguments/CDeleteObjectParms.h"

namespace ch::arguments {

void CDeleteObjectParms::addEntries(Dictionary& dictionary) const
{
    dictionary.set("askBeforeDelete", false);
    dictionary.set("name", name.value_or("-"));
}

bool CDeleteObjectParms::recoverFromDictionary(const Dictionary&)
{
    withAsking.reset();
    name.reset();
    return true;
}

} // namespace ch::arguments
