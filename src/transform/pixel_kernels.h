#pragma once

#include <QRgb>
#include <QtGlobal>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The two inner loops the mirrors and turns spend their time in, with SSE2 (always there on
// x86-64) where the compiler does not find it by itself, and a plain fallback elsewhere.
namespace quorvex::kernels {

// Cached stores suit results that are looked at right away; streaming stores go around the caches,
// for results larger than the caches could hold anyway. After streaming, call finishStreaming().
enum class Stores { Cached, Streaming };

// to[count - 1 - i] = from[i]. Reads go forwards and writes backwards: the other way round measured
// markedly slower on large pictures.
inline void reversedCopy(const QRgb* from, QRgb* to, int count, Stores stores)
{
    int i = 0;
#if defined(__SSE2__)
    if (stores == Stores::Streaming) {
        // Streaming stores need the place they write on a 16-byte boundary.
        for (; i < count && reinterpret_cast<quintptr>(to + count - i) % 16 != 0; ++i)
            to[count - 1 - i] = from[i];
    }
    for (; i + 4 <= count; i += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i reversed = _mm_shuffle_epi32(four, _MM_SHUFFLE(0, 1, 2, 3));
        auto* place = reinterpret_cast<__m128i*>(to + count - 4 - i);
        if (stores == Stores::Streaming)
            _mm_stream_si128(place, reversed);
        else
            _mm_storeu_si128(place, reversed);
    }
#else
    (void)stores;
#endif
    for (; i < count; ++i)
        to[count - 1 - i] = from[i];
}

// Makes streamed pixels visible to every later reader.
inline void finishStreaming()
{
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

// Four pixels from each of four rows, turned so that column j of the sources becomes row j of the
// destinations: to[j][k] = from[k][j]. Streaming needs every to[j] on a 16-byte boundary.
inline void transpose4x4(const QRgb* const from[4], QRgb* const to[4], Stores stores)
{
#if defined(__SSE2__)
    auto load = [&](int k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from[k])); };
    auto store = [&](int j, __m128i v) {
        auto* place = reinterpret_cast<__m128i*>(to[j]);
        if (stores == Stores::Streaming)
            _mm_stream_si128(place, v);
        else
            _mm_storeu_si128(place, v);
    };
    const __m128i a = load(0), b = load(1), c = load(2), d = load(3);
    const __m128i ab01 = _mm_unpacklo_epi32(a, b), ab23 = _mm_unpackhi_epi32(a, b);
    const __m128i cd01 = _mm_unpacklo_epi32(c, d), cd23 = _mm_unpackhi_epi32(c, d);
    store(0, _mm_unpacklo_epi64(ab01, cd01));
    store(1, _mm_unpackhi_epi64(ab01, cd01));
    store(2, _mm_unpacklo_epi64(ab23, cd23));
    store(3, _mm_unpackhi_epi64(ab23, cd23));
#else
    (void)stores;
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 4; ++k)
            to[j][k] = from[k][j];
#endif
}

} // namespace quorvex::kernels
