#include "document/FilePassword.h"

#include <string>

#include "bridge/CPrfRItem.h"
#include "document/MyDocument.h"
#include "model/foundation/CErrorManager.h"

namespace ch {

bool isPasswordProtected(MyDocument& document)
{
    std::shared_ptr<CPrfRItem> settings = document.mPreference();
    return settings && settings->mPasswordYes();
}

Dictionary passwordQuestionParameters(MyDocument& document)
{
    Dictionary parameters;
    if (std::shared_ptr<CPrfRItem> settings = document.mPreference())
        if (std::optional<std::string> password = settings->mPassword())
            parameters.set(std::string(kFilePasswordKey), Value(std::move(*password)));
    return parameters;
}

bool passwordAccepts(const Dictionary& parameters, std::string_view typed)
{
    const Value* expected = parameters.find(kFilePasswordKey);
    if (!expected || !expected->asString()) return true;
    // Compared as stored, so that a password cut or converted when it was
    // set (by an older version) still matches the text typed then.
    return CPrfRItem::passwordAsStored(typed) == *expected->asString();
}

bool checkFilePasswordCanBeStored(std::string_view text)
{
    // Stored, a text loses what the 8-bit field cannot hold: characters of
    // other scripts, everything past the 34th character, a zero byte.
    if (CPrfRItem::passwordAsStored(text) == text) return true;
    CErrorManager::RaiseError(kPasswordCannotBeStored);
    return false;
}

} // namespace ch
