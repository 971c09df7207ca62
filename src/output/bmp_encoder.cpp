#include "output/bmp_encoder.h"

#include "output/bgr_rows.h"

#include <algorithm>
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

Status writeBmpFile(const BitmapInfoHeader& info, const unsigned char* pixels, const std::string& path)
{
    if (!pixels)
        return fail("there are no pixels to write");
    const auto headers = bmpFileHeaders(info);
    return replaceFileContents(path,
        {std::string_view(reinterpret_cast<const char*>(headers.data()), headers.size()),
            std::string_view(reinterpret_cast<const char*>(pixels), info.biSizeImage)});
}

namespace {

// Rows converted and written at a time, however many arrive at once.
constexpr int kRowsAtOnce = 32;

} // namespace

BmpBandWriter::BmpBandWriter(int width, int height, ByteSink& sink)
    : m_info(dibHeader(width, height))
    , m_sink(sink)
    , m_stride(dibStride(width))
    , m_band(size_t(m_stride) * size_t(std::min(height, kRowsAtOnce)))
{
    const auto headers = bmpFileHeaders(m_info);
    m_sink.writeAt(0, headers.data(), headers.size());
}

void BmpBandWriter::addRows(const unsigned char* rows, int count, std::ptrdiff_t stride)
{
    const int height = m_info.biHeight;
    if (count > height - m_nextRow) {
        m_tooMany = true;
        count = height - m_nextRow;
    }
    for (int done = 0; done < count;) {
        // Rows y to y + now - 1 from the top lie in the file one after the other, the last first.
        const int now = std::min(kRowsAtOnce, count - done);
        for (int i = 0; i < now; ++i)
            rgb32ToBgrRow(reinterpret_cast<const uint32_t*>(rows + (done + i) * stride),
                m_band.data() + size_t(now - 1 - i) * size_t(m_stride), m_info.biWidth);
        const uint64_t firstInFile = uint64_t(height - m_nextRow - now);
        m_sink.writeAt(kBmpHeadersSize + firstInFile * uint64_t(m_stride), m_band.data(),
            size_t(now) * size_t(m_stride));
        done += now;
        m_nextRow += now;
    }
}

Status BmpBandWriter::finish() const
{
    if (m_tooMany)
        return fail("more rows than the picture has");
    if (m_nextRow != m_info.biHeight)
        return fail("the picture's rows are incomplete");
    return {};
}

} // namespace quorvex
