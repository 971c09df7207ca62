#pragma once

#include "capture/screen_reader.h"
#include "common/result.h"

#include <cstdint>
#include <vector>

// How the outputs of a Wayland desktop make one picture: each output at its place in the
// compositor's logical layout, the whole at the largest output scale, so that on the sharpest
// output one picture pixel is one device pixel.
namespace quorvex {

struct OutputPlace {
    PixelRect logical; // where the compositor puts the output, in logical pixels
    PixelSize device; // the output's own pixels
};

struct DesktopPicture {
    PixelSize size; // in picture pixels
    int scale = 1; // picture pixels per logical pixel
    int originX = 0, originY = 0; // the logical point at the picture's top-left corner
};

// The longest side of a desktop's picture or of an output's buffer, in pixels: far beyond any real
// desktop, and far enough from int's limits that no place or size in that picture overflows.
inline constexpr int kMostPictureSide = 1 << 20;

// The picture all `outputs` make; empty for none. A compositor's numbers are not trusted: an output
// of negative size, or a picture whose side would pass kMostPictureSide, is refused.
Result<DesktopPicture> desktopPicture(const std::vector<OutputPlace>& outputs);

// Whether a buffer the compositor describes for an output can be read as drawOutput reads it:
// `height` rows of `width` 32-bit words (each at least 1, at most kMostPictureSide), rows `stride`
// bytes apart, a whole number of words and no shorter than a row of pixels. Refused otherwise.
Status checkOutputBuffer(int64_t width, int64_t height, int64_t stride);

// Where an output lies in that picture.
PixelRect placeInPicture(const DesktopPicture& picture, const OutputPlace& output);

// A rectangle of the compositor's logical layout (Qt's global coordinates on Wayland) in picture pixels.
PixelRect logicalToPicture(const DesktopPicture& picture, const PixelRect& logical);

// The part of an output a read of `wanted` (picture pixels) needs: `logical` in the output's own
// logical pixels, whole ones reaching out to cover all of `wanted` that lies on it, and `inPicture`
// where that part lies in the picture. Both empty where the output has none of `wanted`.
struct OutputRegion {
    PixelRect logical;
    PixelRect inPicture;
};
OutputRegion regionOfOutput(
    const DesktopPicture& picture, const OutputPlace& output, const PixelRect& wanted);

// Where the pixel at `shown` of an output as it shows (`width` x `height`) lies in the compositor's
// buffer of it, which holds the output as its panel is mounted: `transform` is wl_output's (0 to 3
// turns of 90 degrees, 4 to 7 the same mirrored).
struct BufferPoint {
    int x = 0, y = 0;
};
BufferPoint bufferPoint(int shownX, int shownY, int width, int height, int transform);

// Copies an output's pixels (0xAARRGGBB words; rows bottom-up when `yInverted`; turned by
// `transform` as bufferPoint says) into `picture` at `place`, resampling by the nearest pixel where
// the output has fewer pixels than its place (an output of a lower scale). Every pixel written is
// opaque. Refused, with nothing drawn, where checkOutputBuffer refuses the output's layout.
Status drawOutput(ScreenPixels& picture, const PixelRect& place, const ScreenPixels& output, bool yInverted,
    int transform = 0);

} // namespace quorvex
