#include "document/arguments/CategoryParameters.h"

namespace ch::arguments {

void CategoryParameters::addEntries(Dictionary& dictionary) const
{
    dictionary.set("idKey", idKey.value_or(-1));
    putPresent(dictionary, "name", name);
    putPresent(dictionary, "description", description);
    putPresent(dictionary, "balance", mBalance);
    putPresent(dictionary, "systemType", mMasterTypeId);
    dumpColor(mColor, dictionary, "color");
    putPresent(dictionary, "parentId", mParentId);
    putPresent(dictionary, "taxDecuctiblePct", mTaxDeductiblePct);
}

bool CategoryParameters::recoverFromDictionary(const Dictionary& dictionary)
{
    idKey = getObjectIdAsNumberFromDictionary(dictionary, "idKey");
    name = getTextFromDictionary(dictionary, "name");
    description = getTextFromDictionary(dictionary, "description");
    mBalance = getNumberFromDictionary(dictionary, "balance");
    mMasterTypeId = getObjectIdAsNumberFromDictionary(dictionary, "systemType");
    mColor = getColorFromDictionary(dictionary, "color").value_or(Colour::white());
    mParentId = getObjectIdAsNumberFromDictionary(dictionary, "parentId");
    mTaxDeductiblePct = getNumberFromDictionary(dictionary, "taxDecuctiblePct");
    return true;
}

void CategoryGroupParameters::addEntries(Dictionary& dictionary) const
{
    dictionary.set("idKey", idKey.value_or(-1));
    putPresent(dictionary, "name", name);
    putPresent(dictionary, "balance", mBalance);
    putPresent(dictionary, "systemType", mMasterType);
    dumpColor(mColor, dictionary, "color");
    putPresent(dictionary, "parentId", mParentId);
}

bool CategoryGroupParameters::recoverFromDictionary(const Dictionary& dictionary)
{
    idKey = getObjectIdAsNumberFromDictionary(dictionary, "idKey");
    name = getTextFromDictionary(dictionary, "name");
    mBalance = getNumberFromDictionary(dictionary, "balance");
    mMasterType = getIntegerFromDictionary(dictionary, "systemType");
    mColor = getColorFromDictionary(dictionary, "color").value_or(Colour::white());
    mParentId = getObjectIdAsNumberFromDictionary(dictionary, "parentId");
    return true;
}

} // namespace ch::arguments
