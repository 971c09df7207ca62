#include "output/bgr_rows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUORVEX_HAS_SSSE3_PATH 1
#endif

namespace quorvex {

namespace {

#ifdef QUORVEX_HAS_SSSE3_PATH
// Sixteen pixels at a time: a byte shuffle drops every pixel's alpha byte, and the four 12-byte
// results are packed into three 16-byte stores. Returns how many pixels it converted.
__attribute__((target("ssse3"))) int rgb32ToBgrSsse3(const uint32_t* source, unsigned char* target, int count)
{
    const __m128i dropAlpha = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int i = 0;
    for (; i + 16 <= count; i += 16, target += 48) {
        const auto* in = reinterpret_cast<const __m128i*>(source + i);
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(in), dropAlpha);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(in + 1), dropAlpha);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(in + 2), dropAlpha);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(in + 3), dropAlpha);
        auto* out = reinterpret_cast<__m128i*>(target);
        _mm_storeu_si128(out, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(out + 1, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(out + 2, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    return i;
}

// Four pixels less the four above them, bytewise, each as red, green, blue in the low 12 bytes.
__attribute__((target("ssse3"))) inline __m128i rgbDifference(
    const __m128i* in, const __m128i* up, __m128i toRgb)
{
    return _mm_shuffle_epi8(_mm_sub_epi8(_mm_loadu_si128(in), _mm_loadu_si128(up)), toRgb);
}

// The same packing after a bytewise subtraction of the row above and a swap to red, green, blue.
__attribute__((target("ssse3"))) int rgb32ToUpFilteredRgbSsse3(
    const uint32_t* row, const uint32_t* above, unsigned char* target, int count)
{
    const __m128i toRgb = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int i = 0;
    for (; i + 16 <= count; i += 16, target += 48) {
        const auto* in = reinterpret_cast<const __m128i*>(row + i);
        const auto* up = reinterpret_cast<const __m128i*>(above + i);
        const __m128i a = rgbDifference(in, up, toRgb), b = rgbDifference(in + 1, up + 1, toRgb);
        const __m128i c = rgbDifference(in + 2, up + 2, toRgb), d = rgbDifference(in + 3, up + 3, toRgb);
        auto* out = reinterpret_cast<__m128i*>(target);
        _mm_storeu_si128(out, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(out + 1, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(out + 2, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    return i;
}

bool hasSsse3()
{
    static const bool supported = __builtin_cpu_supports("ssse3");
    return supported;
}
#endif

} // namespace

void rgb32ToBgrRow(const uint32_t* source, unsigned char* target, int count)
{
    int i = 0;
#ifdef QUORVEX_HAS_SSSE3_PATH
    if (hasSsse3()) {
        i = rgb32ToBgrSsse3(source, target, count);
        target += 3 * i;
    }
#endif
    for (; i < count; ++i, target += 3) {
        target[0] = static_cast<unsigned char>(source[i]);
        target[1] = static_cast<unsigned char>(source[i] >> 8);
        target[2] = static_cast<unsigned char>(source[i] >> 16);
    }
}

void rgb32ToUpFilteredRgbRow(const uint32_t* row, const uint32_t* above, unsigned char* target, int count)
{
    int i = 0;
#ifdef QUORVEX_HAS_SSSE3_PATH
    if (hasSsse3()) {
        i = rgb32ToUpFilteredRgbSsse3(row, above, target, count);
        target += 3 * i;
    }
#endif
    for (; i < count; ++i, target += 3) {
        target[0] = static_cast<unsigned char>((row[i] >> 16) - (above[i] >> 16));
        target[1] = static_cast<unsigned char>((row[i] >> 8) - (above[i] >> 8));
        target[2] = static_cast<unsigned char>(row[i] - above[i]);
    }
}

void bgrToRgb32Row(const unsigned char* source, uint32_t* target, int count)
{
    for (int i = 0; i < count; ++i, source += 3)
        target[i] = 0xff000000u | uint32_t(source[2]) << 16 | uint32_t(source[1]) << 8 | source[0];
}

} // namespace quorvex
