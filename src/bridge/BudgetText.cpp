#include "bridge/BudgetText.h"

#include "bridge/ModelText.h"
#include "model/CNonVisual.h"
#include "model/foundation/CNSStringToCString.h"

namespace ch {

std::string budgetObjectName(const CNonVisual* object)
{
    if (!object) return std::string();
    return unicodeOrMacRoman(*object, &CNonVisual::Get_StringrefName, &CNonVisual::Get_Name);
}

std::string budgetModelText(const char* text)
{
    return text ? MacRomanToUnicode(text) : std::string();
}

std::string budgetCommentToModel(std::string_view text)
{
    char converted[256] = {};
    CNSStringToCString::convertStringToDescriptionT(text, converted);
    return converted;
}

} // namespace ch
