#include "platform/wayland/desktop_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

namespace quorvex {

namespace {

std::string sizeText(int64_t width, int64_t height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

} // namespace

Result<DesktopPicture> desktopPicture(const std::vector<OutputPlace>& outputs)
{
    if (outputs.empty())
        return DesktopPicture{};
    // In 64 bits: a compositor may say anything, and int would overflow on the way.
    int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN, scale = 1;
    for (const OutputPlace& output : outputs) {
        const PixelRect& place = output.logical;
        if (place.width < 0 || place.height < 0 || output.device.width < 0 || output.device.height < 0)
            return fail("the compositor gives an output a negative size ("
                + sizeText(place.width, place.height) + ", "
                + sizeText(output.device.width, output.device.height) + " pixels)");
        left = std::min<int64_t>(left, place.x);
        top = std::min<int64_t>(top, place.y);
        right = std::max(right, int64_t(place.x) + place.width);
        bottom = std::max(bottom, int64_t(place.y) + place.height);
        if (place.width > 0) // device pixels per logical one, rounded up
            scale = std::max(scale, (int64_t(output.device.width) + place.width - 1) / place.width);
    }
    const int64_t width = (right - left) * scale, height = (bottom - top) * scale;
    if (scale > kMostPictureSide || width > kMostPictureSide || height > kMostPictureSide)
        return fail("the compositor's outputs make a desktop of " + sizeText(right - left, bottom - top)
            + " at scale " + std::to_string(scale) + ", too large to be read");
    return DesktopPicture{{int(width), int(height)}, int(scale), int(left), int(top)};
}

Status checkOutputBuffer(int64_t width, int64_t height, int64_t stride)
{
    if (width < 1 || height < 1 || width > kMostPictureSide || height > kMostPictureSide)
        return fail("the compositor offers an output's pixels in a buffer of " + sizeText(width, height));
    if (stride < width * 4 || stride % 4 != 0 || stride > int64_t(kMostPictureSide) * 4)
        return fail("the compositor offers " + std::to_string(width) + " pixels a row in rows of "
            + std::to_string(stride) + " bytes");
    return {};
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

Status drawOutput(
    ScreenPixels& picture, const PixelRect& place, const ScreenPixels& output, bool yInverted, int transform)
{
    if (Status layout = checkOutputBuffer(output.width, output.height, output.stride); !layout)
        return layout;
    const PixelRect inside = place.intersected({0, 0, picture.width, picture.height});
    if (inside.isEmpty() || output.isEmpty())
        return {};
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
    return {};
}

} // namespace quorvex
