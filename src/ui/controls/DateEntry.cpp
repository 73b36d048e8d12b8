#include "ui/controls/DateEntry.h"

#include <string>

#include "bridge/CNSStringDateTBridge.h"
#include "model/foundation/CDate.h"

namespace ch {

DateT dateFromText(std::string_view text)
{
    const std::string copy(text);
    const DateT date = CDate::CStringToDateT(copy.c_str());
    return date != kNoDate ? date : CNSStringDateTBridge::NSStringToDateT(text);
}

std::string textForDate(DateT date)
{
    return CNSStringDateTBridge::dateTToNSString(date);
}

std::string textForNumber(long number)
{
    return number >= kFirstDateNumber ? textForDate(static_cast<DateT>(number)) : std::to_string(number);
}

} // namespace ch
