#include "document/app/ProductInfo.h"

#include "platform/core/unicode.h"
#include "platform/core/value.h"

namespace ch {

std::string videoTutorialLink(const Value& links)
{
    const std::string* link = links["videotutoriallink"].asString();
    if (link && utf16Length(*link) >= 6)
        return *link;
    return std::string(kHomePage);
}

} // namespace ch
