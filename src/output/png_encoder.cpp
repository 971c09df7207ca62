#include "output/png_encoder.h"

#include "output/bgr_rows.h"
#include "output/byte_sink.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <dlfcn.h>
#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <new>

namespace quorvex {

namespace {

// Chosen by measurement (bench/png_bench.cpp, bench/compare-peers): the Up filter feeding ISA-L's
// level 1 deflate, 5 to 25 x faster than zlib's level 1 (which libpng used here before), with files
// 2 to 5 % smaller on compare-peers' photo-like desktop and up to a fifth larger on flat panels,
// where they stay small (59 kB against 49 kB at 1080p). libdeflate's level 1 is 3 to 10 x slower than
// ISA-L and cannot stream; ISA-L's level 0 makes files a third larger, level 2 is no better than 1.
constexpr int kDeflateLevel = 1;
constexpr unsigned char kUpFilter = 2;
// Readers (libpng among them) refuse larger pictures by default.
constexpr int kLargestSide = 1000000;
// Rows filtered and deflated at a time, however many arrive at once.
constexpr int kRowsAtOnce = 32;
// The deflated bytes of one IDAT chunk.
constexpr size_t kChunkData = 128 * 1024;
// From 1080p up two cores encode a grab a tenth to a quarter sooner than one where the second is
// free, and no later where another program keeps it busy (bench/compare-peers).
constexpr long kLeastPixelsForTwoParts = 2000000;
// A zlib stream's header: deflate with a 32 KB window, the fastest level; its check bits make it a
// multiple of 31.
constexpr unsigned char kZlibHeader[2] = {0x78, 0x01};

// ISA-L, loaded when the first PNG is made: a grab in another format, or none, never loads it.
struct Isal {
    decltype(&isal_deflate_init) deflateInit = nullptr;
    decltype(&isal_deflate) deflate = nullptr;
    decltype(&crc32_gzip_refl) crc = nullptr;
    decltype(&isal_adler32) adler = nullptr;
    std::string failure; // why it could not be loaded; empty when it was
};

const Isal& isal()
{
    static const Isal loaded = [] {
        Isal functions;
        void* library = dlopen("libisal.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            functions.failure = std::string("cannot load ISA-L: ") + dlerror();
            return functions;
        }
        // Never closed: its functions are kept.
        functions.deflateInit
            = reinterpret_cast<decltype(&isal_deflate_init)>(dlsym(library, "isal_deflate_init"));
        functions.deflate = reinterpret_cast<decltype(&isal_deflate)>(dlsym(library, "isal_deflate"));
        functions.crc = reinterpret_cast<decltype(&crc32_gzip_refl)>(dlsym(library, "crc32_gzip_refl"));
        functions.adler = reinterpret_cast<decltype(&isal_adler32)>(dlsym(library, "isal_adler32"));
        if (!functions.deflateInit || !functions.deflate || !functions.crc || !functions.adler)
            functions.failure = "ISA-L (libisal.so.2) lacks its deflate";
        return functions;
    }();
    return loaded;
}

void putBigEndian(unsigned char* at, uint32_t value)
{
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}

// A chunk laid out in `chunk`: 4 bytes of length, 4 of type, `length` of data, 4 of CRC; the CRC
// (over type and data) is filled in here.
void sealChunk(unsigned char* chunk, const char* type, uint32_t length)
{
    putBigEndian(chunk, length);
    std::memcpy(chunk + 4, type, 4);
    putBigEndian(chunk + 8 + length, isal().crc(0, chunk + 4, 4 + uint64_t(length)));
}

// The Adler-32 checksum of two pieces of data one after the other, from each one's and the second
// one's length (zlib's adler32_combine).
uint32_t combinedAdler32(uint32_t first, uint32_t second, uint64_t secondLength)
{
    constexpr uint32_t kBase = 65521;
    const auto remainder = uint32_t(secondLength % kBase);
    uint32_t sum1 = first & 0xffff;
    uint32_t sum2 = uint32_t((uint64_t(remainder) * sum1) % kBase);
    sum1 += (second & 0xffff) + kBase - 1;
    sum2 += ((first >> 16) & 0xffff) + ((second >> 16) & 0xffff) + kBase - remainder;
    if (sum1 >= kBase)
        sum1 -= kBase;
    if (sum1 >= kBase)
        sum1 -= kBase;
    if (sum2 >= (kBase << 1))
        sum2 -= (kBase << 1);
    if (sum2 >= kBase)
        sum2 -= kBase;
    return sum1 | (sum2 << 16);
}

} // namespace

int pngBottomPartRow(int width, int height)
{
    if (width < 1 || height < 2 || long(width) * height < kLeastPixelsForTwoParts)
        return 0;
    return height / 2;
}

struct PngEncoder::Private {
    explicit Private(ByteSink& sink)
        : sink(sink)
    {
    }

    ByteSink& sink;
    PngPart part = PngPart::Whole;
    int width = 0;
    int height = 0; // the rows this encoder deflates
    int rowsDone = 0;
    bool aboveGiven = true; // false while the bottom part's encoder waits for the row above the part
    uint32_t adler = 1; // of a part's deflated data
    uint64_t deflatedLength = 0;
    size_t rowBytes = 0; // filter type and red, green, blue of each pixel
    std::string error;

    std::unique_ptr<uint32_t[]> above; // the last row given, for the next one's filter
    std::unique_ptr<unsigned char[]> filtered; // kRowsAtOnce rows ready to deflate
    std::unique_ptr<isal_zstream> stream;
    std::unique_ptr<uint8_t[]> levelBuffer;
    std::unique_ptr<unsigned char[]> chunk; // an IDAT chunk being filled: 8 + kChunkData + 4 bytes

    void fail(std::string message)
    {
        if (error.empty())
            error = std::move(message);
    }

    void writeChunk(const char* type, const unsigned char* data, uint32_t length)
    {
        std::array<unsigned char, 8 + 13 + 4> small{};
        if (length > 0)
            std::memcpy(small.data() + 8, data, length);
        sealChunk(small.data(), type, length);
        sink.append(small.data(), 12 + length);
    }

    void startStream()
    {
        stream = std::make_unique<isal_zstream>();
        isal().deflateInit(stream.get());
        levelBuffer.reset(new uint8_t[ISAL_DEF_LVL1_DEFAULT]);
        stream->level = kDeflateLevel;
        stream->level_buf = levelBuffer.get();
        stream->level_buf_size = ISAL_DEF_LVL1_DEFAULT;
        // A part's stream is plain deflate: the zlib header begins the top part, the checksum
        // follows the bottom one.
        stream->gzip_flag = part == PngPart::Whole ? IGZIP_ZLIB : IGZIP_DEFLATE;
        stream->flush = NO_FLUSH;
        chunk.reset(new unsigned char[8 + kChunkData + 4]);
        stream->next_out = chunk.get() + 8;
        stream->avail_out = kChunkData;
        if (part == PngPart::Top) {
            std::memcpy(stream->next_out, kZlibHeader, sizeof kZlibHeader);
            stream->next_out += sizeof kZlibHeader;
            stream->avail_out -= sizeof kZlibHeader;
        }
    }

    void writeIdat()
    {
        const auto length = uint32_t(kChunkData - stream->avail_out);
        if (length > 0) {
            sealChunk(chunk.get(), "IDAT", length);
            sink.append(chunk.get(), 12 + length);
        }
        stream->next_out = chunk.get() + 8;
        stream->avail_out = kChunkData;
    }

    // Deflates `size` bytes; the last ones end the stream, or the top part's data at a byte's end.
    void deflate(unsigned char* input, size_t size, bool last)
    {
        if (part != PngPart::Whole) {
            adler = isal().adler(adler, input, size);
            deflatedLength += size;
        }
        stream->next_in = input;
        stream->avail_in = uint32_t(size);
        const bool endsTop = last && part == PngPart::Top;
        stream->end_of_stream = last && !endsTop ? 1 : 0;
        stream->flush = endsTop ? SYNC_FLUSH : NO_FLUSH;
        const auto ended = [&] {
            return endsTop ? stream->internal_state.state == ZSTATE_NEW_HDR && stream->avail_out > 0
                           : stream->internal_state.state == ZSTATE_END;
        };
        while (stream->avail_in > 0 || (last && !ended())) {
            if (stream->avail_out == 0)
                writeIdat();
            const uint32_t inBefore = stream->avail_in, outBefore = stream->avail_out;
            const int status = isal().deflate(stream.get());
            if (status != COMP_OK
                || (stream->avail_in == inBefore && stream->avail_out == outBefore && !ended())) {
                fail("the deflate failed (ISA-L status " + std::to_string(status) + ")");
                return;
            }
        }
        if (last)
            writeIdat();
    }
};

PngEncoder::PngEncoder(int width, int height, ByteSink& sink, PngPart part)
    : d(std::make_unique<Private>(sink))
{
    const int split = part == PngPart::Whole ? 0 : pngBottomPartRow(width, height);
    d->part = part;
    d->width = width;
    d->height = part == PngPart::Top ? split : height - split;
    d->aboveGiven = part != PngPart::Bottom;
    if (part != PngPart::Whole && split == 0) {
        d->fail("the picture is too small to encode in two parts");
        return;
    }
    if (width < 1 || height < 1) {
        d->fail("the picture is empty");
        return;
    }
    if (width > kLargestSide || height > kLargestSide) {
        d->fail("the picture is larger than a PNG reader takes (1000000 pixels a side)");
        return;
    }
    if (!isal().failure.empty()) {
        d->fail(isal().failure);
        return;
    }
    d->rowBytes = 1 + 3 * size_t(width);
    try {
        d->above.reset(new uint32_t[size_t(width)]());
        d->filtered.reset(new unsigned char[d->rowBytes * size_t(std::min(d->height, kRowsAtOnce))]);
        d->startStream();
    } catch (const std::bad_alloc&) {
        d->fail("not enough memory for the PNG encoder");
        return;
    }
    if (part == PngPart::Bottom)
        return;
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    sink.append(kSignature, sizeof kSignature);
    // IHDR: width, height, 8 bits a channel, RGB, deflate, adaptive filtering, no interlace.
    unsigned char header[13] = {0, 0, 0, 0, 0, 0, 0, 0, 8, 2, 0, 0, 0};
    putBigEndian(header, uint32_t(width));
    putBigEndian(header + 4, uint32_t(height));
    d->writeChunk("IHDR", header, sizeof header);
}

PngEncoder::~PngEncoder() = default;

void PngEncoder::addRows(const unsigned char* rows, int count, std::ptrdiff_t stride)
{
    if (!d->error.empty())
        return;
    if (!d->aboveGiven && count > 0) {
        std::memcpy(d->above.get(), rows, 4 * size_t(d->width));
        d->aboveGiven = true;
        rows += stride;
        --count;
    }
    if (count < 0 || count > d->height - d->rowsDone) {
        d->fail("more rows than the picture has");
        return;
    }
    for (int done = 0; done < count && d->error.empty();) {
        const int now = std::min(kRowsAtOnce, count - done);
        for (int i = 0; i < now; ++i) {
            const auto* row = reinterpret_cast<const uint32_t*>(rows + (done + i) * stride);
            const uint32_t* above = done + i == 0
                ? d->above.get()
                : reinterpret_cast<const uint32_t*>(rows + (done + i - 1) * stride);
            unsigned char* out = d->filtered.get() + size_t(i) * d->rowBytes;
            out[0] = kUpFilter;
            rgb32ToUpFilteredRgbRow(row, above, out + 1, d->width);
        }
        done += now;
        d->rowsDone += now;
        d->deflate(d->filtered.get(), size_t(now) * d->rowBytes, d->rowsDone == d->height);
    }
    if (count > 0)
        std::memcpy(d->above.get(), rows + (count - 1) * stride, 4 * size_t(d->width));
}

Status PngEncoder::finish()
{
    if (d->error.empty() && d->rowsDone != d->height)
        d->fail("the picture's rows are incomplete");
    if (!d->error.empty())
        return fail(d->error);
    if (d->part == PngPart::Whole)
        d->writeChunk("IEND", nullptr, 0);
    return {};
}

uint32_t PngEncoder::partChecksum() const
{
    return d->adler;
}

uint64_t PngEncoder::partLength() const
{
    return d->deflatedLength;
}

std::vector<unsigned char> pngPartsEnd(const PngEncoder& top, const PngEncoder& bottom)
{
    std::vector<unsigned char> end(12 + 4 + 12);
    putBigEndian(
        end.data() + 8, combinedAdler32(top.partChecksum(), bottom.partChecksum(), bottom.partLength()));
    sealChunk(end.data(), "IDAT", 4);
    sealChunk(end.data() + 16, "IEND", 0);
    return end;
}

Result<std::vector<unsigned char>> encodePng(const PixelRows& picture)
{
    MemorySink sink;
    PngEncoder encoder(picture.width, picture.height, sink);
    if (picture.top)
        encoder.addRows(picture.top, picture.height, picture.stride);
    const Status finished = encoder.finish();
    if (!finished)
        return fail(finished.error());
    if (sink.error())
        return fail("not enough memory for the PNG file");
    return sink.take();
}

} // namespace quorvex
