#include "bridge/CategoryAncestor.h"

#include "bridge/TextColours.h"
#include "model/CMasterExpenseType.h"

namespace ch {

std::optional<bool> CategoryAncestor::isExpense() const { return std::nullopt; }
std::optional<bool> CategoryAncestor::isIncome() const { return std::nullopt; }
std::optional<double> CategoryAncestor::YTDThisYear() const { return std::nullopt; }
std::optional<double> CategoryAncestor::YTDLastYear() const { return std::nullopt; }
std::optional<double> CategoryAncestor::AvgMonthThisYear() const { return std::nullopt; }
std::optional<double> CategoryAncestor::AvgMonthLastYear() const { return std::nullopt; }
std::optional<double> CategoryAncestor::TotalLastYear() const { return std::nullopt; }
std::optional<double> CategoryAncestor::getBalance() const { return std::nullopt; }

Colour CategoryAncestor::getColor() const
{
    return Colour::white();
}

Colour CategoryAncestor::objectColor() const
{
    if (!isBound()) return Colour::black();
    if (isIncome().value_or(false)) return getGreenColor();
    if (isExpense().value_or(false)) return getRedColor();
    return getBlueColor();
}

Colour CategoryAncestor::chartColor() const
{
    const Colour colour = getColor();
    return colour.isWhite() ? objectColor() : colour;
}

Colour CategoryAncestor::colourOf(const RGBColor& colour)
{
    return Colour::fromComponents16(colour.red, colour.green, colour.blue);
}

RGBColor CategoryAncestor::modelColour(const Colour& colour)
{
    const auto components = colour.components16();
    return {components[0], components[1], components[2]};
}

void CategoryAncestor::setSourceItemColor(std::optional<Colour> colour)
{
    mSourceItemColor = colour;
    announceDisplayState("sourceItemColor");
}

} // namespace ch
