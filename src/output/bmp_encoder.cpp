#include "output/bmp_encoder.h"

#include "output/bgr_rows.h"

#include <cerrno>
#include <cstring>

namespace quorvex {

namespace {

// Little-endian fields, one after the other.
struct FieldWriter {
    unsigned char* at;
    void put(uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            *at++ = static_cast<unsigned char>(value >> (8 * i));
    }
};

} // namespace

std::array<unsigned char, kBmpHeadersSize> bmpFileHeaders(const BitmapInfoHeader& info)
{
    std::array<unsigned char, kBmpHeadersSize> headers{};
    FieldWriter out{headers.data()};
    // BITMAPFILEHEADER: "BM", file size, two reserved words, offset of the pixels.
    out.put('B', 1);
    out.put('M', 1);
    out.put(kBmpHeadersSize + info.biSizeImage, 4);
    out.put(0, 2);
    out.put(0, 2);
    out.put(kBmpHeadersSize, 4);
    out.put(info.biSize, 4);
    out.put(uint32_t(info.biWidth), 4);
    out.put(uint32_t(info.biHeight), 4);
    out.put(info.biPlanes, 2);
    out.put(info.biBitCount, 2);
    out.put(info.biCompression, 4);
    out.put(info.biSizeImage, 4);
    out.put(uint32_t(info.biXPelsPerMeter), 4);
    out.put(uint32_t(info.biYPelsPerMeter), 4);
    out.put(info.biClrUsed, 4);
    out.put(info.biClrImportant, 4);
    return headers;
}

FileWriteResult writeBmpFile(
    const BitmapInfoHeader& info, const unsigned char* pixels, const std::string& path)
{
    if (!pixels)
        return {EINVAL};
    const auto headers = bmpFileHeaders(info);
    return replaceFileContents(path,
        {std::string_view(reinterpret_cast<const char*>(headers.data()), headers.size()),
            std::string_view(reinterpret_cast<const char*>(pixels), info.biSizeImage)});
}

BmpRows::BmpRows(int width, int height)
    : info_(dibHeader(width, height))
    , pixels_(info_.biSizeImage)
{
}

void BmpRows::addRows(const unsigned char* rows, int count, std::ptrdiff_t stride)
{
    const int stride24 = dibStride(info_.biWidth);
    for (int i = 0; i < count && nextRow_ < info_.biHeight; ++i, ++nextRow_)
        rgb32ToBgrRow(reinterpret_cast<const uint32_t*>(rows + i * stride),
            pixels_.data() + bottomUpOffset(0, nextRow_, info_.biHeight, stride24), info_.biWidth);
}

} // namespace quorvex
