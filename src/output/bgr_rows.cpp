#include "output/bgr_rows.h"

#include <QtEndian>
#include <cstring>

namespace quorvex {

void rgb32ToBgrRow(const QRgb* source, uchar* target, int count)
{
    int i = 0;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // A QRgb is stored as the bytes B, G, R, A here, so the row is the source with every fourth
    // byte dropped. Four pixels make three whole 32-bit stores, which keeps this near memcpy speed.
    for (; i + 4 <= count; i += 4, target += 12) {
        const quint32 p0 = source[i], p1 = source[i + 1], p2 = source[i + 2], p3 = source[i + 3];
        const quint32 words[3] = {(p0 & 0xFFFFFFu) | (p1 << 24), ((p1 >> 8) & 0xFFFFu) | (p2 << 16),
            ((p2 >> 16) & 0xFFu) | (p3 << 8)};
        std::memcpy(target, words, sizeof words);
    }
#endif
    for (; i < count; ++i, target += 3) {
        target[0] = uchar(qBlue(source[i]));
        target[1] = uchar(qGreen(source[i]));
        target[2] = uchar(qRed(source[i]));
    }
}

void bgrToRgb32Row(const uchar* source, QRgb* target, int count)
{
    for (int i = 0; i < count; ++i, source += 3)
        target[i] = qRgb(source[2], source[1], source[0]);
}

} // namespace quorvex
