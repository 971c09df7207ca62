#pragma once

#include "capture/screen_reader.h"
#include "common/pointer_image.h"

#include <memory>

namespace quorvex {

// Reads what `inner` reads, with `pointer` drawn over it: for a screen that gives its pixels without
// the pointer (X11) when the grab asks for it. Only the rows the pointer lies on are copied.
class PointerDrawingReader final : public ScreenReader {
public:
    PointerDrawingReader(std::unique_ptr<ScreenReader> inner, PointerImage pointer);

    PixelSize desktopSize() const override { return m_inner->desktopSize(); }
    Status readable() const override { return m_inner->readable(); }
    ScreenPixels readDesktop(const PixelRect& rect) override;
    bool readDesktopInBands(const PixelRect& rect, int bandRows, const BandSink& band) override;

private:
    std::unique_ptr<ScreenReader> m_inner;
    PointerImage m_pointer;
};

} // namespace quorvex
