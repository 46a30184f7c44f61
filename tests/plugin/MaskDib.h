// Small device-independent bitmaps drawn from text rows, for the mask tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace OZKPELLMOR {

inline void PutLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

// A bitmap block drawn from rows of characters (top row first): '#' is the mask value 0,
// anything else a non-zero pixel. Stored bottom-up unless topDown.
inline std::vector<uint8_t> MakeDib(const std::vector<const char*>& rows, uint16_t bitCount,
                                    bool topDown = false, uint32_t compression = 0,
                                    uint32_t headerSize = 40) {
    const int32_t w = int32_t(std::strlen(rows[0]));
    const int32_t h = int32_t(rows.size());
    size_t table = 0;
    if (bitCount <= 8)
        table = (size_t(1) << bitCount) * 4;
    else if (compression == 3 && headerSize == 40)
        table = 12;
    const size_t stride = (size_t(w) * bitCount + 31) / 32 * 4;
    std::vector<uint8_t> b(headerSize + table + stride * h, 0);
    PutLe32(b, 0, headerSize);
    PutLe32(b, 4, uint32_t(w));
    PutLe32(b, 8, uint32_t(topDown ? -h : h));
    b[12] = 1;
    b[14] = uint8_t(bitCount);
    PutLe32(b, 16, compression);
    for (int32_t y = 0; y < h; ++y) {
        const int32_t stored = topDown ? y : h - 1 - y;
        uint8_t* line = b.data() + headerSize + table + stride * stored;
        for (int32_t x = 0; x < w; ++x) {
            if (rows[y][x] == '#')
                continue;
            switch (bitCount) {
            case 1:
                line[x / 8] |= uint8_t(0x80 >> (x % 8));
                break;
            case 4:
                line[x / 2] |= uint8_t(x % 2 ? 0x03 : 0x30);
                break;
            case 8:
                line[x] = 7;
                break;
            case 16:
                line[2 * x] = 0x1F;
                line[2 * x + 1] = 0x7C;
                break;
            case 24:
                line[3 * x + 2] = 0xFF;
                break;
            case 32:
                line[4 * x + 3] = 0x01;
                break;
            }
        }
    }
    return b;
}

}  // namespace OZKPELLMOR
