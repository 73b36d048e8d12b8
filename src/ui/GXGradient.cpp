#include "ui/GXGradient.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

namespace ch {

namespace {

constexpr double kPi = 3.14159265358979323846;

GXGradientElement notFound()
{
    GXGradientElement element;
    element.position = std::numeric_limits<float>::quiet_NaN();
    return element;
}

GXGradientElement elementOf(Colour colour, float position)
{
    return {static_cast<float>(colour.red), static_cast<float>(colour.green), static_cast<float>(colour.blue),
            static_cast<float>(colour.alpha), position};
}

Colour colourOf(const GXGradient::Rgba& rgba)
{
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// The pair of stops around t: the stop reached by walking on while the next
// one lies before t, and that stop's successor (itself at the end).
std::pair<const GXGradientElement*, const GXGradientElement*> pairAround(
    const std::vector<GXGradientElement>& elements, float t)
{
    std::size_t a = 0;
    while (a + 1 < elements.size() && t > elements[a + 1].position) ++a;
    const std::size_t b = a + 1 < elements.size() ? a + 1 : a;
    return {&elements[a], &elements[b]};
}

// Step 2 of the evaluation on four channels: clamp to a stop or interpolate.
GXGradient::Rgba interpolate(const GXGradient::Rgba& a, float aPosition, const GXGradient::Rgba& b,
                             float bPosition, float t)
{
    if (t <= aPosition) return a;
    if (t >= bPosition) return b;
    const float u = (t - aPosition) / (bPosition - aPosition);
    GXGradient::Rgba result{};
    for (std::size_t i = 0; i < 4; ++i) result[i] = a[i] + (b[i] - a[i]) * u;
    return result;
}

GXGradient::Rgba rgbaOf(const GXGradientElement& element)
{
    return {element.red, element.green, element.blue, element.alpha};
}

GXGradient::Rgba chromatic(const std::vector<GXGradientElement>& elements, float t, bool inverse)
{
    if (elements.empty()) return {1.0f, 1.0f, 1.0f, 1.0f};
    const auto [a, b] = pairAround(elements, t);
    GXGradient::Rgba hsvA = rgbaOf(*a);
    GXGradient::Rgba hsvB = rgbaOf(*b);
    GXGradient::transformRGB_HSV(hsvA.data());
    GXGradient::transformRGB_HSV(hsvB.data());
    const bool aUndefined = std::isnan(hsvA[0]);
    const bool bUndefined = std::isnan(hsvB[0]);
    if (aUndefined && bUndefined) {
        hsvA[0] = 0.0f;
        hsvB[0] = 0.0f;
    } else if (aUndefined) {
        hsvA[0] = hsvB[0];
    } else if (bUndefined) {
        hsvB[0] = hsvA[0];
    }
    if (!inverse && hsvA[0] > hsvB[0]) hsvB[0] += 360.0f;
    if (inverse && hsvB[0] > hsvA[0]) hsvA[0] += 360.0f;
    GXGradient::Rgba result = interpolate(hsvA, a->position, hsvB, b->position, t);
    GXGradient::transformHSV_RGB(result.data());
    return result;
}

std::string formatted(const char* format, const char* operation, double value)
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, "GXGradient", operation, value);
    return buffer;
}

std::string indexMessage(const char* operation, int index)
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "-[%s %s]: index (%i) beyond bounds", "GXGradient", operation, index);
    return buffer;
}

} // namespace

GXGradient GXGradient::ofStops(std::initializer_list<std::array<float, 4>> stops, int mode)
{
    GXGradient gradient;
    gradient.mBlendingMode = mode;
    for (const auto& stop : stops) gradient.addElement({stop[0], stop[1], stop[2], 1.0f, stop[3]});
    return gradient;
}

GXGradient GXGradient::gradientWithBeginningColor(Colour begin, Colour end)
{
    GXGradient gradient;
    gradient.addElement(elementOf(begin, 0.0f));
    gradient.addElement(elementOf(end, 1.0f));
    return gradient;
}

GXGradient GXGradient::aquaSelectedGradient()
{
    return ofStops({{0.58f, 0.86f, 0.98f, 0.0f}, {0.42f, 0.68f, 0.90f, 0.5f}, {0.64f, 0.80f, 0.94f, 0.5f},
                    {0.56f, 0.70f, 0.90f, 1.0f}});
}

GXGradient GXGradient::aquaNormalGradient()
{
    return ofStops({{0.95f, 0.95f, 0.95f, 0.0f}, {0.83f, 0.83f, 0.83f, 0.5f}, {0.95f, 0.95f, 0.95f, 0.5f},
                    {0.92f, 0.92f, 0.92f, 1.0f}});
}

GXGradient GXGradient::aquaPressedGradient()
{
    return ofStops({{0.80f, 0.80f, 0.80f, 0.0f}, {0.64f, 0.64f, 0.64f, 0.5f}, {0.80f, 0.80f, 0.80f, 0.5f},
                    {0.77f, 0.77f, 0.77f, 1.0f}});
}

GXGradient GXGradient::unifiedSelectedGradient()
{
    return ofStops({{0.85f, 0.85f, 0.85f, 0.0f}, {0.95f, 0.95f, 0.95f, 1.0f}});
}

GXGradient GXGradient::unifiedNormalGradient()
{
    return ofStops({{0.75f, 0.75f, 0.75f, 0.0f}, {0.90f, 0.90f, 0.90f, 1.0f}});
}

GXGradient GXGradient::unifiedPressedGradient()
{
    return ofStops({{0.60f, 0.60f, 0.60f, 0.0f}, {0.75f, 0.75f, 0.75f, 1.0f}});
}

GXGradient GXGradient::unifiedDarkGradient()
{
    return ofStops({{0.68f, 0.68f, 0.68f, 0.0f}, {0.83f, 0.83f, 0.83f, 1.0f}});
}

GXGradient GXGradient::sourceListSelectedGradient()
{
    return ofStops({{0.06f, 0.37f, 0.85f, 0.0f}, {0.30f, 0.60f, 0.92f, 1.0f}});
}

GXGradient GXGradient::sourceListUnselectedGradient()
{
    return ofStops({{0.43f, 0.43f, 0.43f, 0.0f}, {0.60f, 0.60f, 0.60f, 1.0f}});
}

GXGradient GXGradient::rainbowGradient()
{
    return ofStops({{1.0f, 0.0f, 0.0f, 0.0f}, {0.54f, 0.0f, 1.0f, 1.0f}}, kChromatic);
}

GXGradient GXGradient::hydrogenSpectrumGradient()
{
    struct Line {
        float hue, position, halfWidth;
    };
    constexpr Line kLines[] = {{22.0f, 0.145f, 0.01f}, {200.0f, 0.71f, 0.008f}, {253.0f, 0.885f, 0.005f},
                               {275.0f, 0.965f, 0.003f}};
    GXGradient gradient;
    gradient.mBlendingMode = kChromatic;
    for (const Line& line : kLines) {
        const float stops[3][3] = {{line.hue - 180.0f * line.halfWidth, 0.001f, line.position - line.halfWidth},
                                   {line.hue, 1.0f, line.position},
                                   {line.hue + 180.0f * line.halfWidth, 0.001f, line.position + line.halfWidth}};
        for (const auto& stop : stops) {
            float hsv[3] = {stop[0], 1.0f, stop[1]};
            transformHSV_RGB(hsv);
            gradient.addElement({hsv[0], hsv[1], hsv[2], 1.0f, stop[2]});
        }
    }
    return gradient;
}

GXGradient GXGradient::gradientWithAlphaComponent(float alpha) const
{
    GXGradient copy;
    for (GXGradientElement element : mElements) {
        element.alpha = alpha;
        copy.addElement(element);
    }
    return copy;
}

GXGradient GXGradient::gradientWithBlendingMode(int mode) const
{
    GXGradient copy = *this;
    copy.setBlendingMode(mode);
    return copy;
}

GXGradient GXGradient::addColorStop(Colour colour, float position) const
{
    GXGradient copy = *this;
    copy.addElement(elementOf(colour, position));
    return copy;
}

GXGradient GXGradient::removeColorStopAtPosition(float position) const
{
    GXGradient copy = *this;
    if (std::isnan(copy.removeElementAtPosition(position).position))
        throw std::out_of_range(formatted("-[%s %s]: no such colorStop at position (%f)",
                                          "removeColorStopAtPosition:", position));
    return copy;
}

GXGradient GXGradient::removeColorStopAtIndex(int index) const
{
    GXGradient copy = *this;
    if (std::isnan(copy.removeElementAtIndex(index).position))
        throw std::out_of_range(indexMessage("removeColorStopAtIndex:", index));
    return copy;
}

Colour GXGradient::colorStopAtIndex(int index) const
{
    const auto element = elementAtIndex(index);
    if (!element) throw std::out_of_range(indexMessage("colorStopAtIndex:", index));
    return {element->red, element->green, element->blue, element->alpha};
}

Colour GXGradient::colorAtPosition(float position) const
{
    switch (mBlendingMode) {
    case kChromatic: return colourOf(chromaticEvaluation(mElements, position));
    case kInverseChromatic: return colourOf(inverseChromaticEvaluation(mElements, position));
    default: return colourOf(linearEvaluation(mElements, position));
    }
}

void GXGradient::addElement(const GXGradientElement& element)
{
    if (mElements.empty() || mElements.front().position > element.position) {
        mElements.insert(mElements.begin(), element);
        return;
    }
    std::size_t after = 0;
    for (std::size_t i = 0; i < mElements.size(); ++i)
        if (mElements[i].position <= element.position) after = i;
    mElements.insert(mElements.begin() + static_cast<std::ptrdiff_t>(after + 1), element);
}

GXGradientElement GXGradient::removeElementAtIndex(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= mElements.size()) return notFound();
    const GXGradientElement removed = mElements[static_cast<std::size_t>(index)];
    mElements.erase(mElements.begin() + index);
    return removed;
}

GXGradientElement GXGradient::removeElementAtPosition(float position)
{
    const auto found = std::find_if(mElements.begin(), mElements.end(),
                                    [position](const GXGradientElement& e) { return e.position == position; });
    if (found == mElements.end()) return notFound();
    const GXGradientElement removed = *found;
    mElements.erase(found);
    return removed;
}

std::optional<GXGradientElement> GXGradient::elementAtIndex(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= mElements.size()) return std::nullopt;
    return mElements[static_cast<std::size_t>(index)];
}

GXGradient::Rgba GXGradient::linearEvaluation(const std::vector<GXGradientElement>& elements, float t)
{
    if (elements.empty()) return {1.0f, 1.0f, 1.0f, 1.0f};
    const auto [a, b] = pairAround(elements, t);
    return interpolate(rgbaOf(*a), a->position, rgbaOf(*b), b->position, t);
}

GXGradient::Rgba GXGradient::chromaticEvaluation(const std::vector<GXGradientElement>& elements, float t)
{
    return chromatic(elements, t, false);
}

GXGradient::Rgba GXGradient::inverseChromaticEvaluation(const std::vector<GXGradientElement>& elements, float t)
{
    return chromatic(elements, t, true);
}

void GXGradient::transformRGB_HSV(float* c)
{
    const float red = c[0], green = c[1], blue = c[2];
    const float max = std::max({red, green, blue});
    const float min = std::min({red, green, blue});
    float hue = std::numeric_limits<float>::quiet_NaN();
    if (max != min) {
        const float d = max - min;
        if (max == red)
            hue = 60.0f * (green - blue) / d + (green < blue ? 360.0f : 0.0f);
        else if (max == green)
            hue = 60.0f * (blue - red) / d + 120.0f;
        else
            hue = 60.0f * (red - green) / d + 240.0f;
    }
    c[0] = hue;
    c[1] = max == 0.0f ? 0.0f : 1.0f - min / max;
    c[2] = max;
}

void GXGradient::transformHSV_RGB(float* c)
{
    const float hue = std::fmod(c[0], 359.0f);
    const float s = c[1];
    const float v = c[2];
    if (hue < 0.0f) {
        c[0] = c[1] = c[2] = 0.0f;
        return;
    }
    const float sector = std::floor(hue / 60.0f);
    const int i = static_cast<int>(sector) % 6;
    const float f = hue / 60.0f - sector;
    const float p = v * (1.0f - s);
    const float q = v * (1.0f - f * s);
    const float r = v * (1.0f - (1.0f - f) * s);
    const float table[6][3] = {{v, r, p}, {q, v, p}, {p, v, r}, {p, q, v}, {r, p, v}, {v, p, q}};
    c[0] = table[i][0];
    c[1] = table[i][1];
    c[2] = table[i][2];
}

GXGradient::FillLine GXGradient::fillLine(double x, double y, double width, double height, double angleDegrees)
{
    if (angleDegrees == 0.0) return {x, y, x + width, y};
    if (angleDegrees == 90.0) return {x, y, x, y + height};
    const double radians = angleDegrees * kPi / 180.0;
    const double dx = std::cos(radians);
    const double dy = std::sin(radians);
    const double length = width * std::fabs(dx) + height * std::fabs(dy);
    const double cx = x + width / 2.0;
    const double cy = y + height / 2.0;
    return {cx - length / 2.0 * dx, cy - length / 2.0 * dy, cx + length / 2.0 * dx, cy + length / 2.0 * dy};
}

bool operator==(const GXGradient& a, const GXGradient& b)
{
    if (a.mBlendingMode != b.mBlendingMode || a.mElements.size() != b.mElements.size()) return false;
    for (std::size_t i = 0; i < a.mElements.size(); ++i) {
        const GXGradientElement& x = a.mElements[i];
        const GXGradientElement& y = b.mElements[i];
        if (x.red != y.red || x.green != y.green || x.blue != y.blue || x.alpha != y.alpha ||
            x.position != y.position)
            return false;
    }
    return true;
}

} // namespace ch
