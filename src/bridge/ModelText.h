#pragma once
// The model keeps a text twice: as Unicode and as a fixed-size 8-bit field in
// Mac Roman. Books written by older versions may have only the 8-bit field.

#include <cstddef>
#include <string>

#include "model/CNonVisual.h"

namespace ch {

// The object's Unicode text when it is not empty, else its 8-bit field
// converted, e.g. unicodeOrMacRoman(*account, &CAccount::Get_StringrefDesc,
// &CAccount::Get_mDescription).
template <class Object, class UnicodeOwner, class FieldOwner, std::size_t Size>
std::string unicodeOrMacRoman(const Object& object, const std::string& (UnicodeOwner::*unicode)() const,
                              void (FieldOwner::*field)(char (&)[Size]) const)
{
    const std::string& text = (object.*unicode)();
    if (!text.empty()) return text;
    char buffer[Size] = {};
    (object.*field)(buffer);
    return MacRomanToUnicode(buffer);
}

} // namespace ch
