// Device-independent bitmaps as the host hands them over, and the outline of their
// mask-coloured area. No system calls here: the bytes are checked and read directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "plugin/ShapePoint.h"

namespace OZKPELLMOR {

// A checked view of a bitmap in memory: header, colour table, pixel rows.
struct DibImage {
    const uint8_t* bits = nullptr;  // first stored row
    int32_t width = 0;
    int32_t height = 0;    // rows, always positive
    bool topDown = false;  // rows stored top row first
    uint16_t bitCount = 0;
    size_t stride = 0;  // bytes per stored row

    // Pixel value at column x of row y (row 0 = top). 1 and 4 bits: palette index with the
    // leftmost pixel in the high bits; 16: the little-endian word; 24: blue | green << 8 |
    // red << 16; 32: the four bytes as a little-endian value.
    uint32_t PixelAt(int32_t x, int32_t y) const;
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Checks a bitmap block of `size` bytes: header size at least 40, positive width, non-zero
// height, depth 1, 4, 8, 16, 24 or 32, uncompressed (bit fields allowed for 16 and 32), and
// header, colour table and rows all inside the block. False leaves `image` untouched.
inline bool ParseDib(const uint8_t* data, size_t size, DibImage& image);

// The pixel value that marks the mask area: the palette index up to 8 bits, the colour
// packed 5-5-5 for 16 bits, the colour bytes for 24 and 32 bits.
inline uint32_t MaskPixelValue(uint16_t bitCount, uint32_t paletteIndex, uint8_t blue,
                               uint8_t green, uint8_t red);

// First mask pixel scanning rows from the top, each row left to right.
inline bool FindMaskStart(const DibImage& image, uint32_t mask, ShapePoint& start);

// Point capacity of an outline buffer: 2 x height x multiplier + 2 x width. False when it
// does not fit in memory sizes.
inline bool MaskOutlineCapacity(const DibImage& image, uint32_t multiplier, size_t& capacity);

// Follows the border of the mask area from `start` (see FindMaskStart) and writes the points
// to `points`, at most `capacity` of them; the start point ends the outline again when it is
// reached. A mask pixel with no mask neighbour is an outline of one point. Returns the count.
inline size_t TraceMaskOutline(const DibImage& image, uint32_t mask, ShapePoint start,
                               ShapePoint* points, size_t capacity);

// Implementation.

namespace mask_detail {

inline uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

inline constexpr uint32_t kRgb = 0;
inline constexpr uint32_t kBitFields = 3;

// Steps of the eight directions, x to the right and y downward.
inline constexpr int32_t kStepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
inline constexpr int32_t kStepY[8] = {0, 1, 1, 1, 0, -1, -1, -1};

inline bool IsMask(const DibImage& image, uint32_t mask, int32_t x, int32_t y) {
    return image.Inside(x, y) && image.PixelAt(x, y) == mask;
}

}  // namespace mask_detail

inline uint32_t DibImage::PixelAt(int32_t x, int32_t y) const {
    const int32_t row = topDown ? y : height - 1 - y;
    const uint8_t* line = bits + size_t(row) * stride;
    switch (bitCount) {
    case 1:
        return (line[x / 8] >> (7 - x % 8)) & 1u;
    case 4:
        return (line[x / 2] >> (x % 2 ? 0 : 4)) & 0xFu;
    case 8:
        return line[x];
    case 16:
        return mask_detail::Read16(line + size_t(x) * 2);
    case 24: {
        const uint8_t* p = line + size_t(x) * 3;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    default:
        return mask_detail::Read32(line + size_t(x) * 4);
    }
}

inline bool ParseDib(const uint8_t* data, size_t size, DibImage& image) {
    if (data == nullptr || size < 40)
        return false;
    const uint32_t headerSize = mask_detail::Read32(data);
    const int32_t width = int32_t(mask_detail::Read32(data + 4));
    const int32_t height = int32_t(mask_detail::Read32(data + 8));
    const uint16_t bitCount = mask_detail::Read16(data + 14);
    const uint32_t compression = mask_detail::Read32(data + 16);
    const uint32_t colorsUsed = mask_detail::Read32(data + 32);
    if (headerSize < 40 || headerSize > size || width <= 0 || height == 0 ||
        height == std::numeric_limits<int32_t>::min())
        return false;

    uint64_t table = uint64_t(colorsUsed) * 4;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
        if (compression != mask_detail::kRgb)
            return false;
        if (colorsUsed == 0)
            table = (uint64_t(1) << bitCount) * 4;
        break;
    case 16:
    case 32:
        if (compression != mask_detail::kRgb && compression != mask_detail::kBitFields)
            return false;
        if (compression == mask_detail::kBitFields && headerSize == 40)
            table += 12;
        break;
    case 24:
        if (compression != mask_detail::kRgb)
            return false;
        break;
    default:
        return false;
    }

    const uint64_t rows = height < 0 ? uint64_t(-int64_t(height)) : uint64_t(height);
    const uint64_t stride = (uint64_t(width) * bitCount + 31) / 32 * 4;
    const uint64_t offset = uint64_t(headerSize) + table;
    if (offset > size)
        return false;
    const uint64_t room = uint64_t(size) - offset;
    if (stride > room / rows)
        return false;

    image.bits = data + offset;
    image.width = width;
    image.height = int32_t(rows);
    image.topDown = height < 0;
    image.bitCount = bitCount;
    image.stride = size_t(stride);
    return true;
}

inline uint32_t MaskPixelValue(uint16_t bitCount, uint32_t paletteIndex, uint8_t blue,
                               uint8_t green, uint8_t red) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
        return paletteIndex;
    case 16:
        return uint32_t(red >> 3) << 10 | uint32_t(green >> 3) << 5 | uint32_t(blue >> 3);
    default:
        return uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
    }
}

inline bool FindMaskStart(const DibImage& image, uint32_t mask, ShapePoint& start) {
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            if (image.PixelAt(x, y) == mask) {
                start = {x, y};
                return true;
            }
    return false;
}

inline bool MaskOutlineCapacity(const DibImage& image, uint32_t multiplier, size_t& capacity) {
    const uint64_t points = 2 * uint64_t(image.height) * multiplier + 2 * uint64_t(image.width);
    if (points > std::numeric_limits<size_t>::max() / sizeof(ShapePoint))
        return false;
    capacity = size_t(points);
    return true;
}

inline size_t TraceMaskOutline(const DibImage& image, uint32_t mask, ShapePoint start,
                               ShapePoint* points, size_t capacity) {
    if (capacity == 0)
        return 0;
    size_t count = 0;
    points[count++] = start;

    bool alone = true;
    for (int dir = 0; dir < 8 && alone; ++dir)
        alone = !mask_detail::IsMask(image, mask, start.x + mask_detail::kStepX[dir],
                                     start.y + mask_detail::kStepY[dir]);
    if (alone)
        return count;

    ShapePoint at = start;
    int d = 1;
    while (count < capacity) {
        const int first = (d % 2 == 0 ? d + 1 : d + 2) % 8;
        bool found = false;
        for (int i = 0; i < 8; ++i) {
            const int dir = (first - i + 8) % 8;
            const int32_t x = at.x + mask_detail::kStepX[dir];
            const int32_t y = at.y + mask_detail::kStepY[dir];
            if (mask_detail::IsMask(image, mask, x, y)) {
                at = {x, y};
                d = dir;
                found = true;
                break;
            }
        }
        if (!found)
            break;
        points[count++] = at;
        if (at == start)
            break;
    }
    return count;
}

}  // namespace OZKPELLMOR
