#include "document/arguments/CTransactionArguments.h"

#include "document/arguments/ArgumentTextCheck.h"
#include "platform/core/old_style_plist.h"

namespace ch::arguments {

namespace {
constexpr std::string_view kDetailsKey = "TransactionDetails";
}

void CTransactionArguments::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, std::string(kDetailsKey), mTransactionDictionary);
}

bool CTransactionArguments::recoverFromString(std::string_view text)
{
    const ParseResult parsed = readOldStylePlist(text);
    const Dictionary* dictionary = parsed.value.asDictionary();
    return dictionary && recoverFromDictionary(*dictionary);
}

bool CTransactionArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    ArgumentTextCheck::noteRead(kDetailsKey, dictionary.find(kDetailsKey), ArgumentTextCheck::Kind::Transaction);
    const Dictionary* details = dictionary[kDetailsKey].asDictionary();
    if (!details)
        return false;
    mTransactionDictionary = *details;
    return true;
}

} // namespace ch::arguments
