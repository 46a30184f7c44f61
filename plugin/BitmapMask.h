// Device-independent bitmaps as the host hands them over, and the outline of their
// mask-coloured area. No system calls here: the bytes are checked and read directly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/ShapePoint.h"

namespace OZKPELLMOR {

// A checked view of a bitmap in memory: header, colour table, pixel rows.
struct DibImage {
    const uint8_t* bits = nullptr; // first stored row
    int32_t width = 0;
    int32_t height = 0;            // rows, always positive
    bool topDown = false;          // rows stored top row first
    uint16_t bitCount = 0;
    size_t stride = 0;             // bytes per stored row

    // Pixel value at column x of row y (row 0 = top). 1 and 4 bits: palette index with the
    // leftmost pixel in the high bits; 16: the little-endian word; 24: blue | green << 8 |
    // red << 16; 32: the four bytes as a little-endian value.
    uint32_t PixelAt(int32_t x, int32_t y) const;
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Checks a bitmap block of `size` bytes: header size at least 40, positive width, non-zero
// height, depth 1, 4, 8, 16, 24 or 32, uncompressed (bit fields allowed for 16 and 32), and
// header, colour table and rows all inside the block. False leaves `image` untouched.
bool ParseDib(const uint8_t* data, size_t size, DibImage& image);

// The pixel value that marks the mask area: the palette index up to 8 bits, the colour
// packed 5-5-5 for 16 bits, the colour bytes for 24 and 32 bits.
uint32_t MaskPixelValue(uint16_t bitCount, uint32_t paletteIndex, uint8_t blue, uint8_t green,
                        uint8_t red);

// First mask pixel scanning rows from the top, each row left to right.
bool FindMaskStart(const DibImage& image, uint32_t mask, ShapePoint& start);

// Point capacity of an outline buffer: 2 x height x multiplier + 2 x width. False when it
// does not fit in memory sizes.
bool MaskOutlineCapacity(const DibImage& image, uint32_t multiplier, size_t& capacity);

// Follows the border of the mask area from `start` (see FindMaskStart) and writes the points
// to `points`, at most `capacity` of them; the start point ends the outline again when it is
// reached. A mask pixel with no mask neighbour is an outline of one point. Returns the count.
size_t TraceMaskOutline(const DibImage& image, uint32_t mask, ShapePoint start,
                        ShapePoint* points, size_t capacity);

} // namespace OZKPELLMOR
