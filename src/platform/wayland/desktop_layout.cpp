#include "platform/wayland/desktop_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace quorvex {

DesktopPicture desktopPicture(const std::vector<OutputPlace>& outputs)
{
    if (outputs.empty())
        return {};
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, scale = 1;
    for (const OutputPlace& output : outputs) {
        left = std::min(left, output.logical.x);
        top = std::min(top, output.logical.y);
        right = std::max(right, output.logical.x + output.logical.width);
        bottom = std::max(bottom, output.logical.y + output.logical.height);
        if (output.logical.width > 0) // device pixels per logical one, rounded up
            scale = std::max(scale, (output.device.width + output.logical.width - 1) / output.logical.width);
    }
    return {{(right - left) * scale, (bottom - top) * scale}, scale, left, top};
}

PixelRect placeInPicture(const DesktopPicture& picture, const OutputPlace& output)
{
    return logicalToPicture(picture, output.logical);
}

PixelRect logicalToPicture(const DesktopPicture& picture, const PixelRect& logical)
{
    return {(logical.x - picture.originX) * picture.scale, (logical.y - picture.originY) * picture.scale,
        logical.width * picture.scale, logical.height * picture.scale};
}

OutputRegion regionOfOutput(const DesktopPicture& picture, const OutputPlace& output, const PixelRect& wanted)
{
    const PixelRect place = placeInPicture(picture, output);
    const PixelRect part = place.intersected(wanted);
    if (part.isEmpty())
        return {};
    const int scale = picture.scale;
    const int left = (part.x - place.x) / scale, top = (part.y - place.y) / scale;
    const int right = (part.x + part.width - place.x + scale - 1) / scale;
    const int bottom = (part.y + part.height - place.y + scale - 1) / scale;
    return {{left, top, right - left, bottom - top},
        {place.x + left * scale, place.y + top * scale, (right - left) * scale, (bottom - top) * scale}};
}

BufferPoint bufferPoint(int shownX, int shownY, int width, int height, int transform)
{
    if (transform >= 4) // mirrored left to right before it is turned
        shownX = width - 1 - shownX;
    switch (transform % 4) {
    case 1:
        return {shownY, width - 1 - shownX};
    case 2:
        return {width - 1 - shownX, height - 1 - shownY};
    case 3:
        return {height - 1 - shownY, shownX};
    default:
        return {shownX, shownY};
    }
}

void drawOutput(
    ScreenPixels& picture, const PixelRect& place, const ScreenPixels& output, bool yInverted, int transform)
{
    const PixelRect inside = place.intersected({0, 0, picture.width, picture.height});
    if (inside.isEmpty() || output.isEmpty())
        return;
    const auto word = [&](BufferPoint at) {
        const int row = yInverted ? output.height - 1 - at.y : at.y;
        return reinterpret_cast<const uint32_t*>(output.bits + row * output.stride)[at.x];
    };
    const bool turned = transform % 2 == 1;
    const int shownWidth = turned ? output.height : output.width;
    const int shownHeight = turned ? output.width : output.height;
    for (int y = inside.y; y < inside.y + inside.height; ++y) {
        const int shownY = int(int64_t(y - place.y) * shownHeight / place.height);
        auto* out = reinterpret_cast<uint32_t*>(picture.bits + y * picture.stride);
        if (transform == 0) { // the usual case, a row at a time
            const int row = yInverted ? output.height - 1 - shownY : shownY;
            const auto* in = reinterpret_cast<const uint32_t*>(output.bits + row * output.stride);
            if (output.width == place.width) {
                for (int x = inside.x; x < inside.x + inside.width; ++x)
                    out[x] = 0xff000000u | in[x - place.x];
                continue;
            }
            for (int x = inside.x; x < inside.x + inside.width; ++x)
                out[x] = 0xff000000u | in[int64_t(x - place.x) * output.width / place.width];
            continue;
        }
        for (int x = inside.x; x < inside.x + inside.width; ++x) {
            const int shownX = int(int64_t(x - place.x) * shownWidth / place.width);
            out[x] = 0xff000000u | word(bufferPoint(shownX, shownY, shownWidth, shownHeight, transform));
        }
    }
}

} // namespace quorvex
