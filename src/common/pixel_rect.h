#pragma once

#include <algorithm>

// Screen geometry in whole pixels, as plain values: the command-line grab and the screen readers
// use it without any GUI library.
namespace quorvex {

struct PixelSize {
    int width = 0;
    int height = 0;

    bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool isEmpty() const { return width < 1 || height < 1; }
    PixelSize size() const { return {width, height}; }
    bool contains(const PixelRect& other) const
    {
        return !other.isEmpty() && other.x >= x && other.y >= y
            && static_cast<long long>(other.x) + other.width <= static_cast<long long>(x) + width
            && static_cast<long long>(other.y) + other.height <= static_cast<long long>(y) + height;
    }
    // The part both share; empty when they do not meet.
    PixelRect intersected(const PixelRect& other) const
    {
        const long long left = std::max(x, other.x), top = std::max(y, other.y);
        const long long right
            = std::min(static_cast<long long>(x) + width, static_cast<long long>(other.x) + other.width);
        const long long bottom
            = std::min(static_cast<long long>(y) + height, static_cast<long long>(other.y) + other.height);
        if (right <= left || bottom <= top)
            return {};
        return {int(left), int(top), int(right - left), int(bottom - top)};
    }
    bool operator==(const PixelRect&) const = default;
};

} // namespace quorvex
