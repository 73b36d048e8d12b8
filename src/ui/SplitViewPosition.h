#pragma once
// What a split view keeps of its layout in the user defaults, and how it
// shares out its space. Both work on plain numbers, so they run without a
// window.
//
// A saved position is a dictionary under "GXSplitView Position " + the
// autosave name: "version" 2, "subviews" (one {"frame", "collapsed"} per
// subview in order, the frame as the text {{x, y}, {width, height}}) and
// "isVertical" (subviews side by side).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

namespace ch {

struct SplitRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    friend bool operator==(const SplitRect&, const SplitRect&) = default;
};

struct SavedSubview {
    SplitRect frame;
    bool collapsed = false;
    friend bool operator==(const SavedSubview&, const SavedSubview&) = default;
};

struct SavedSplitPosition {
    std::vector<SavedSubview> subviews;
    bool isVertical = false;
    friend bool operator==(const SavedSplitPosition&, const SavedSplitPosition&) = default;
};

// Where a collapsed subview's frame lies: far off screen, size unchanged.
inline constexpr double kCollapsedOrigin = 1000000.0;

// "GXSplitView Position " followed by the name.
std::string splitPositionKey(std::string_view autosaveName);

// {{x, y}, {width, height}}, numbers written as short as they read back.
std::string rectToString(const SplitRect& rect);
// The four numbers of such a text; none when it holds fewer.
std::optional<SplitRect> rectFromString(std::string_view text);

Value encodeSplitPosition(const SavedSplitPosition& position);
// Only a dictionary with "version" 2 is a saved position; a frame text that
// does not read gives an empty frame.
std::optional<SavedSplitPosition> decodeSplitPosition(const Value& value);

// Uniform over [0, 2147483648).
using SplitRandomSource = std::function<std::uint32_t()>;

// The proportional layout: the subviews' current major sizes (whole points;
// a collapsed subview counts 0) scaled to the space left by the dividers,
// the rounding remainder spread one point at a time over randomly chosen
// subviews, then the last subview with a size absorbing what is left. When
// nothing has a size, the first subview that is not collapsed (subview 0
// when all are) takes all the space. Returns the sizes to apply; a
// collapsed subview keeps 0.
std::vector<int> proportionalLayout(const std::vector<double>& majorSizes, const std::vector<bool>& collapsed,
                                    double majorExtent, double dividerThickness,
                                    const SplitRandomSource& random);

} // namespace ch
