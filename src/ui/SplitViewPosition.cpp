#include "ui/SplitViewPosition.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ch {

namespace {

std::string number(double value)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

} // namespace

std::string splitPositionKey(std::string_view autosaveName)
{
    return "GXSplitView Position " + std::string(autosaveName);
}

std::string rectToString(const SplitRect& rect)
{
    return "{{" + number(rect.x) + ", " + number(rect.y) + "}, {" + number(rect.width) + ", " +
           number(rect.height) + "}}";
}

std::optional<SplitRect> rectFromString(std::string_view text)
{
    double values[4] = {};
    std::size_t found = 0;
    const std::string copy(text);
    const char* cursor = copy.c_str();
    while (*cursor && found < 4) {
        if ((*cursor >= '0' && *cursor <= '9') || *cursor == '-' || *cursor == '+' || *cursor == '.') {
            char* end = nullptr;
            const double value = std::strtod(cursor, &end);
            if (end == cursor) {
                ++cursor;
                continue;
            }
            values[found++] = value;
            cursor = end;
        } else {
            ++cursor;
        }
    }
    if (found < 4) return std::nullopt;
    return SplitRect{values[0], values[1], values[2], values[3]};
}

Value encodeSplitPosition(const SavedSplitPosition& position)
{
    Array subviews;
    for (const SavedSubview& subview : position.subviews)
        subviews.push_back(Dictionary{{"frame", rectToString(subview.frame)}, {"collapsed", subview.collapsed}});
    return Dictionary{{"version", 2}, {"subviews", std::move(subviews)}, {"isVertical", position.isVertical}};
}

std::optional<SavedSplitPosition> decodeSplitPosition(const Value& value)
{
    const Dictionary* dictionary = value.asDictionary();
    if (!dictionary) return std::nullopt;
    const std::int64_t* version = (*dictionary)["version"].asInteger();
    if (!version || *version != 2) return std::nullopt;
    SavedSplitPosition position;
    if (const Array* subviews = (*dictionary)["subviews"].asArray()) {
        for (const Value& entry : *subviews) {
            SavedSubview subview;
            if (const Dictionary* fields = entry.asDictionary()) {
                if (const std::string* frame = (*fields)["frame"].asString())
                    subview.frame = rectFromString(*frame).value_or(SplitRect{});
                if (const bool* collapsed = (*fields)["collapsed"].asBool()) subview.collapsed = *collapsed;
            }
            position.subviews.push_back(subview);
        }
    }
    if (const bool* vertical = (*dictionary)["isVertical"].asBool()) position.isVertical = *vertical;
    return position;
}

std::vector<int> proportionalLayout(const std::vector<double>& majorSizes, const std::vector<bool>& collapsed,
                                    double majorExtent, double dividerThickness,
                                    const SplitRandomSource& random)
{
    const std::size_t count = majorSizes.size();
    std::vector<int> sizes(count, 0);
    if (count == 0) return sizes;
    auto isCollapsed = [&](std::size_t i) { return i < collapsed.size() && collapsed[i]; };

    long long total = 0;
    std::optional<std::size_t> firstOpen;
    for (std::size_t i = 0; i < count; ++i) {
        if (isCollapsed(i)) continue;
        sizes[i] = static_cast<int>(std::floor(majorSizes[i]));
        total += sizes[i];
        if (!firstOpen) firstOpen = i;
    }
    double availableSpace = std::floor(majorExtent - static_cast<double>(count - 1) * dividerThickness);
    const int available = availableSpace > 0.0 ? static_cast<int>(availableSpace) : 0;

    if (total == 0) {
        std::fill(sizes.begin(), sizes.end(), 0);
        sizes[firstOpen.value_or(0)] = available;
    } else {
        long long newSum = 0;
        for (int& size : sizes) {
            if (size == 0) continue;
            const double scaled = std::floor(size * (static_cast<double>(available) / static_cast<double>(total)));
            size = scaled < 1.0 ? 1 : static_cast<int>(scaled);
            newSum += size;
        }
        const int sign = newSum < available ? 1 : -1;
        long long remainder = std::llabs(available - newSum);
        long long unvisited = 0;
        for (int size : sizes)
            if (size != 0) ++unvisited;
        for (std::size_t i = 0; i < count && remainder > 0; ++i) {
            if (sizes[i] == 0) continue;
            const bool gets = remainder == unvisited ||
                              (static_cast<float>(remainder) / static_cast<float>(unvisited)) * 2147483648.0 >
                                  static_cast<double>(random ? random() : std::rand());
            if (gets) {
                sizes[i] += sign;
                --remainder;
            }
            --unvisited;
        }
    }

    // The last subview with a size takes what the rounding left over.
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < count; ++i)
        if (sizes[i] != 0) last = i;
    double position = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        if (sizes[i] != 0 && last && i == *last) {
            const double rest = majorExtent - position - static_cast<double>(count - 1 - i) * dividerThickness;
            sizes[i] = rest > 0.0 ? static_cast<int>(rest) : 0;
        }
        position += sizes[i];
        if (i + 1 < count) position += dividerThickness;
    }
    return sizes;
}

} // namespace ch
