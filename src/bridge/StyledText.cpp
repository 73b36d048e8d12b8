#include "bridge/StyledText.h"

namespace ch {

std::string StyledText::plainText() const
{
    std::string text;
    for (const StyledRun& run : runs) text += run.text;
    return text;
}

} // namespace ch
