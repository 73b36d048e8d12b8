#include "bridge/TextColours.h"

#include "platform/core/user_defaults.h"

namespace ch {

Colour colourFromUserDefaults(std::string_view key, Colour fallback)
{
    const Value stored = UserDefaults::standard().object(key);
    const Array* components = stored.asArray();
    if (!components || components->size() < 3) return fallback;
    for (std::size_t i = 0; i < 3; ++i)
        if (!(*components)[i].isNumber()) return fallback;
    return {(*components)[0].toDouble(), (*components)[1].toDouble(), (*components)[2].toDouble(), 1.0};
}

Colour getGreenColor()
{
    return colourFromUserDefaults(kGreenTextColorKey, {0.0, 1.0, 0.0, 1.0});
}

Colour getRedColor()
{
    return colourFromUserDefaults(kRedTextColorKey, {1.0, 0.0, 0.0, 1.0});
}

Colour getBlueColor()
{
    return colourFromUserDefaults(kBlueTextColorKey, {0.0, 0.0, 1.0, 1.0});
}

} // namespace ch
