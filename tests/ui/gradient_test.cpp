// The gradient: its stop list, its three blending modes, the ready-made
// gradients, the colour conversions and the line a fill runs along, and
// that painting shows the colours the gradient answers.

#include <QImage>
#include <QPainter>

#include <array>
#include <cmath>
#include <functional>
#include <stdexcept>

#include "ui/GXGradient.h"
#include "ui/GXGradientPainting.h"
#include "../platform/gui/qt_test_application.h"

namespace ch {
namespace {

constexpr Colour kRed{1.0, 0.0, 0.0, 1.0};
constexpr Colour kBlue{0.0, 0.0, 1.0, 1.0};

void expectColour(const Colour& actual, const Colour& expected, const std::string& label)
{
    EXPECT_NEAR(actual.red, expected.red, 1e-5) << label;
    EXPECT_NEAR(actual.green, expected.green, 1e-5) << label;
    EXPECT_NEAR(actual.blue, expected.blue, 1e-5) << label;
    EXPECT_NEAR(actual.alpha, expected.alpha, 1e-5) << label;
}

TEST(GradientTest, EvaluatesInEachBlendingMode)
{
    const GXGradient redToBlue = GXGradient::gradientWithBeginningColor(kRed, kBlue);
    struct Case {
        int mode;
        float position;
        Colour expected;
    };
    const Case cases[] = {
        // Linear mixes the components; before and after the stops the end colours.
        {GXGradient::kLinear, 0.5f, {0.5, 0.0, 0.5, 1.0}},
        {GXGradient::kLinear, -0.2f, kRed},
        {GXGradient::kLinear, 1.7f, kBlue},
        // Chromatic turns the hue up from 0 to 240: the middle is green.
        {GXGradient::kChromatic, 0.5f, {0.0, 1.0, 0.0, 1.0}},
        // Inverse chromatic turns it down from 360 to 240: magenta.
        {GXGradient::kInverseChromatic, 0.5f, {1.0, 0.0, 1.0, 1.0}},
    };
    for (const Case& c : cases)
        expectColour(redToBlue.gradientWithBlendingMode(c.mode).colorAtPosition(c.position), c.expected,
                     "mode " + std::to_string(c.mode) + " at " + std::to_string(c.position));
    // The empty gradient is opaque white everywhere.
    expectColour(GXGradient().colorAtPosition(0.3f), Colour::white(), "empty");
}

TEST(GradientTest, EqualPositionsMakeAStep)
{
    // The aqua gradients' two stops at 0.5: the first reached at 0.5, the
    // second's run just after.
    const GXGradient aqua = GXGradient::aquaSelectedGradient();
    ASSERT_EQ(aqua.elements().size(), 4u);
    expectColour(aqua.colorAtPosition(0.5f), {0.42f, 0.68f, 0.90f, 1.0}, "at the step");
    EXPECT_NEAR(aqua.colorAtPosition(0.5001f).red, 0.64, 1e-3);

    // A stop added at an existing position goes after it.
    const GXGradient added = GXGradient::gradientWithBeginningColor(kRed, kBlue).addColorStop(Colour::white(), 1.0f);
    ASSERT_EQ(added.elements().size(), 3u);
    EXPECT_EQ(added.colorStopAtIndex(1), kBlue);
    EXPECT_EQ(added.colorStopAtIndex(2), Colour::white());
    // Every changing operation leaves the receiver as it was.
    EXPECT_EQ(GXGradient::gradientWithBeginningColor(kRed, kBlue).elements().size(), 2u);
}

TEST(GradientTest, RemovesStopsAndRefusesWhatIsNotThere)
{
    const GXGradient gradient =
        GXGradient::gradientWithBeginningColor(kRed, kBlue).addColorStop(Colour::white(), 0.25f);
    const GXGradient withoutLast = gradient.removeColorStopAtPosition(1.0f);
    ASSERT_EQ(withoutLast.elements().size(), 2u);
    EXPECT_EQ(withoutLast.colorStopAtIndex(1), Colour::white());
    EXPECT_EQ(gradient.removeColorStopAtIndex(0).colorStopAtIndex(0), Colour::white());

    struct Refusal {
        std::function<void()> call;
        std::string message;
    };
    const Refusal refusals[] = {
        {[&] { (void)gradient.removeColorStopAtPosition(0.7f); },
         "-[GXGradient removeColorStopAtPosition:]: no such colorStop at position (0.700000)"},
        {[&] { (void)gradient.removeColorStopAtIndex(3); }, "-[GXGradient removeColorStopAtIndex:]: index (3) beyond bounds"},
        {[&] { (void)gradient.colorStopAtIndex(5); }, "-[GXGradient colorStopAtIndex:]: index (5) beyond bounds"},
    };
    for (const Refusal& refusal : refusals) {
        try {
            refusal.call();
            ADD_FAILURE() << "no exception: " << refusal.message;
        } catch (const std::out_of_range& error) {
            EXPECT_EQ(std::string(error.what()), refusal.message);
        }
    }
    GXGradient list;
    EXPECT_TRUE(std::isnan(list.removeElementAtIndex(0).position));
    EXPECT_TRUE(std::isnan(list.removeElementAtPosition(0.0f).position));
}

TEST(GradientTest, ReadyMadeGradientsAndAlphaCopies)
{
    EXPECT_EQ(GXGradient::rainbowGradient().blendingMode(), GXGradient::kChromatic);
    const GXGradient hydrogen = GXGradient::hydrogenSpectrumGradient();
    EXPECT_EQ(hydrogen.blendingMode(), GXGradient::kChromatic);
    ASSERT_EQ(hydrogen.elements().size(), 12u);
    EXPECT_FLOAT_EQ(hydrogen.elements()[0].position, 0.135f);
    EXPECT_FLOAT_EQ(hydrogen.elements()[1].position, 0.145f);
    expectColour(GXGradient::sourceListSelectedGradient().colorAtPosition(0.0f), {0.06, 0.37, 0.85, 1.0}, "source");
    expectColour(GXGradient::unifiedDarkGradient().colorAtPosition(1.0f), {0.83, 0.83, 0.83, 1.0}, "dark");

    const GXGradient faded = GXGradient::rainbowGradient().gradientWithAlphaComponent(0.25f);
    EXPECT_EQ(faded.blendingMode(), GXGradient::kLinear);
    for (const GXGradientElement& element : faded.elements()) EXPECT_FLOAT_EQ(element.alpha, 0.25f);
}

TEST(GradientTest, ConvertsBetweenRgbAndHsv)
{
    struct Case {
        std::array<float, 3> hsv;
        std::array<float, 3> rgb;
    };
    const Case cases[] = {
        {{0.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 0.0f}},
        {{120.0f, 1.0f, 1.0f}, {0.0f, 1.0f, 0.0f}},
        {{240.0f, 1.0f, 0.5f}, {0.0f, 0.0f, 0.5f}},
        {{300.0f, 0.5f, 1.0f}, {1.0f, 0.5f, 1.0f}},
    };
    for (const Case& c : cases) {
        std::array<float, 3> rgb = c.hsv;
        GXGradient::transformHSV_RGB(rgb.data());
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(rgb[i], c.rgb[i], 1e-5) << c.hsv[0];
        std::array<float, 3> back = c.rgb;
        GXGradient::transformRGB_HSV(back.data());
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(back[i], c.hsv[i], 1e-3) << c.hsv[0];
    }
    // The hue is taken modulo 359: 359.5 is 0.5.
    float wrapped[3] = {359.5f, 1.0f, 1.0f};
    float small[3] = {0.5f, 1.0f, 1.0f};
    GXGradient::transformHSV_RGB(wrapped);
    GXGradient::transformHSV_RGB(small);
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(wrapped[i], small[i]);
    // A negative hue is black; a grey has no hue.
    float negative[3] = {-10.0f, 1.0f, 1.0f};
    GXGradient::transformHSV_RGB(negative);
    EXPECT_EQ(negative[0] + negative[1] + negative[2], 0.0f);
    float grey[3] = {0.4f, 0.4f, 0.4f};
    GXGradient::transformRGB_HSV(grey);
    EXPECT_TRUE(std::isnan(grey[0]));
    EXPECT_FLOAT_EQ(grey[1], 0.0f);
}

TEST(GradientTest, FillLinesMeetTheFarthestCorners)
{
    struct Case {
        double angle;
        double x0, y0, x1, y1;
    };
    const Case cases[] = {
        {0.0, 0, 0, 100, 0},   {90.0, 0, 0, 0, 100},   {45.0, 0, 0, 100, 100},
        {135.0, 100, 0, 0, 100}, {180.0, 100, 50, 0, 50},
    };
    for (const Case& c : cases) {
        const auto line = GXGradient::fillLine(0, 0, 100, 100, c.angle);
        EXPECT_NEAR(line.x0, c.x0, 1e-9) << c.angle;
        EXPECT_NEAR(line.y0, c.y0, 1e-9) << c.angle;
        EXPECT_NEAR(line.x1, c.x1, 1e-9) << c.angle;
        EXPECT_NEAR(line.y1, c.y1, 1e-9) << c.angle;
    }
}

TEST(GradientTest, PaintsUpwardsAtNinetyDegrees)
{
    QImage image(20, 100, QImage::Format_ARGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        fillRect(painter, GXGradient::gradientWithBeginningColor(kRed, kBlue), QRectF(0, 0, 20, 100), 90.0);
    }
    // The first stop lies at the bottom edge, as on a page whose y grows up.
    EXPECT_GT(qRed(image.pixel(10, 99)), 240);
    EXPECT_GT(qBlue(image.pixel(10, 0)), 240);

    // A step paints as a step, whatever the mode.
    QImage stepped(1, 100, QImage::Format_ARGB32);
    {
        QPainter painter(&stepped);
        fillRect(painter, GXGradient::aquaNormalGradient().gradientWithBlendingMode(GXGradient::kChromatic),
                 QRectF(0, 0, 1, 100), 90.0);
    }
    EXPECT_GT(qRed(stepped.pixel(0, 48)) - qRed(stepped.pixel(0, 51)), 20);
}

} // namespace
} // namespace ch
