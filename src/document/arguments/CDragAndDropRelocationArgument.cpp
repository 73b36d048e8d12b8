#include "document/arguments/CDragAndDropRelocationArgument.h"

namespace ch::arguments {

void CDragAndDropRelocationArgument::addEntries(Dictionary& dictionary) const
{
    dictionary.set("droppedObjectId", idDroppedObject);
    dictionary.set("receivingObjectId", idReceivingObject);
    dictionary.set("droppedObjectType", fourCCToString(droppedObjectType));
    dictionary.set("receivingObjectType", fourCCToString(receivingObjectType));
    // The journal lists the entry under this name.
    dictionary.set("name", "Drag&Drop");
}

bool CDragAndDropRelocationArgument::recoverFromDictionary(const Dictionary& dictionary)
{
    acknowledgeKey(dictionary, "name");   // always "Drag&Drop", for the journal's list
    idDroppedObject = getObjectIdFromDictionary(dictionary, "droppedObjectId");
    idReceivingObject = getObjectIdFromDictionary(dictionary, "receivingObjectId");
    droppedObjectType = fourCCFromString(getTextFromDictionary(dictionary, "droppedObjectType").value_or(""));
    receivingObjectType = fourCCFromString(getTextFromDictionary(dictionary, "receivingObjectType").value_or(""));
    return true;
}

} // namespace ch::arguments
