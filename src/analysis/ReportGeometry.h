#pragma once
// Sizes and rectangles of report layout, in points, single precision. Layout
// positions run from the top of the report downwards.

namespace ch {

struct ReportSize {
    float width = 0.0f;
    float height = 0.0f;
    friend bool operator==(const ReportSize&, const ReportSize&) = default;
};

// y is the top edge, measured downwards.
struct ReportRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float bottom() const { return y + height; }
    float right() const { return x + width; }
    friend bool operator==(const ReportRect&, const ReportRect&) = default;
};

struct ReportPoint {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const ReportPoint&, const ReportPoint&) = default;
};

} // namespace ch
