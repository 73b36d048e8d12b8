#pragma once
// A key's text from the strings file, as the text of a Qt label, menu item
// or message.

#include <QString>

#include <string_view>

#include "platform/core/localized_strings.h"

namespace ch {

inline QString localizedText(std::string_view key)
{
    return QString::fromStdString(localized(key));
}

} // namespace ch
