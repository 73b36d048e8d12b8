#pragma once
// GXGradient: an immutable colour gradient. An ordered list of colour stops
// and a blending mode that says how the colours between two stops mix: in
// RGB (linear), or in HSV with the hue always rising (chromatic) or always
// falling (inverse chromatic). Every changing operation returns a new
// gradient. Painting lives in GXGradientPainting.h; this class only answers
// colours and fill geometry, so it runs without a window.

#include <array>
#include <initializer_list>
#include <optional>
#include <vector>

#include "bridge/Colour.h"

namespace ch {

// One stop: colour components and position, each from 0 to 1.
struct GXGradientElement {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 0.0f;
    float position = 0.0f;
};

class GXGradient {
public:
    enum BlendingMode { kLinear = 0, kChromatic = 1, kInverseChromatic = 2 };

    // No stops (opaque white everywhere), linear blending.
    GXGradient() = default;

    // A linear gradient: the first colour at 0, the second at 1.
    static GXGradient gradientWithBeginningColor(Colour begin, Colour end);

    // Ready-made gradients.
    static GXGradient aquaSelectedGradient();
    static GXGradient aquaNormalGradient();
    static GXGradient aquaPressedGradient();
    static GXGradient unifiedSelectedGradient();
    static GXGradient unifiedNormalGradient();
    static GXGradient unifiedPressedGradient();
    static GXGradient unifiedDarkGradient();
    static GXGradient sourceListSelectedGradient();
    static GXGradient sourceListUnselectedGradient();
    static GXGradient rainbowGradient();
    static GXGradient hydrogenSpectrumGradient();

    // The same stops with every alpha replaced; always linear blending.
    GXGradient gradientWithAlphaComponent(float alpha) const;
    GXGradient gradientWithBlendingMode(int mode) const;
    // A copy with one more stop.
    GXGradient addColorStop(Colour colour, float position) const;
    // A copy without the first stop at exactly that position; throws
    // std::out_of_range when no stop has it.
    GXGradient removeColorStopAtPosition(float position) const;
    // A copy without the stop of that index (0 is the first); throws
    // std::out_of_range for an index beyond the last stop.
    GXGradient removeColorStopAtIndex(int index) const;
    // The stop's colour; throws std::out_of_range beyond the last stop.
    Colour colorStopAtIndex(int index) const;
    // The gradient's colour at the position, by the blending mode.
    Colour colorAtPosition(float position) const;

    int blendingMode() const { return mBlendingMode; }
    // Modes other than 0, 1 and 2 are not passed by callers; they evaluate
    // linearly.
    void setBlendingMode(int mode) { mBlendingMode = mode; }

    // --- the stop list
    const std::vector<GXGradientElement>& elements() const { return mElements; }
    // In front when the list is empty or its first stop lies further on;
    // otherwise right after the last stop whose position is not greater.
    void addElement(const GXGradientElement& element);
    // The removed stop, or the not-found stop (zeros, position NaN).
    GXGradientElement removeElementAtIndex(int index);
    GXGradientElement removeElementAtPosition(float position);
    std::optional<GXGradientElement> elementAtIndex(int index) const;

    // --- evaluation of a stop list at t into red, green, blue, alpha
    using Rgba = std::array<float, 4>;
    static Rgba linearEvaluation(const std::vector<GXGradientElement>& elements, float t);
    static Rgba chromaticEvaluation(const std::vector<GXGradientElement>& elements, float t);
    static Rgba inverseChromaticEvaluation(const std::vector<GXGradientElement>& elements, float t);

    // In place: red, green, blue -> hue (degrees, NaN for greys), saturation,
    // value; and back (the hue is taken modulo 359; a negative one gives black).
    static void transformRGB_HSV(float* components);
    static void transformHSV_RGB(float* components);

    // The line a fill at `angleDegrees` runs along, in coordinates whose y
    // grows upwards: from the first stop's end to the last stop's end.
    struct FillLine {
        double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    };
    static FillLine fillLine(double x, double y, double width, double height, double angleDegrees);

    friend bool operator==(const GXGradient& a, const GXGradient& b);

private:
    // A gradient of opaque stops {red, green, blue, position}.
    static GXGradient ofStops(std::initializer_list<std::array<float, 4>> stops, int mode = kLinear);

    std::vector<GXGradientElement> mElements;
    int mBlendingMode = kLinear;
};

} // namespace ch
