#include "plugin/BitmapMask.h"

#include <limits>

namespace OZKPELLMOR {

namespace {

uint32_t Read32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;

// Steps of the eight directions, x to the right and y downward.
constexpr int32_t kStepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int32_t kStepY[8] = {0, 1, 1, 1, 0, -1, -1, -1};

bool IsMask(const DibImage& image, uint32_t mask, int32_t x, int32_t y)
{
    return image.Inside(x, y) && image.PixelAt(x, y) == mask;
}

} // namespace

uint32_t DibImage::PixelAt(int32_t x, int32_t y) const
{
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
        return Read16(line + size_t(x) * 2);
    case 24: {
        const uint8_t* p = line + size_t(x) * 3;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    default:
        return Read32(line + size_t(x) * 4);
    }
}

bool ParseDib(const uint8_t* data, size_t size, DibImage& image)
{
    if (data == nullptr || size < 40)
        return false;
    const uint32_t headerSize = Read32(data);
    const int32_t width = int32_t(Read32(data + 4));
    const int32_t height = int32_t(Read32(data + 8));
    const uint16_t bitCount = Read16(data + 14);
    const uint32_t compression = Read32(data + 16);
    const uint32_t colorsUsed = Read32(data + 32);
    if (headerSize < 40 || headerSize > size || width <= 0 || height == 0 ||
        height == std::numeric_limits<int32_t>::min())
        return false;

    uint64_t table = uint64_t(colorsUsed) * 4;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
        if (compression != kRgb)
            return false;
        if (colorsUsed == 0)
            table = (uint64_t(1) << bitCount) * 4;
        break;
    case 16:
    case 32:
        if (compression != kRgb && compression != kBitFields)
            return false;
        if (compression == kBitFields && headerSize == 40)
            table += 12;
        break;
    case 24:
        if (compression != kRgb)
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

uint32_t MaskPixelValue(uint16_t bitCount, uint32_t paletteIndex, uint8_t blue, uint8_t green,
                        uint8_t red)
{
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

bool FindMaskStart(const DibImage& image, uint32_t mask, ShapePoint& start)
{
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            if (image.PixelAt(x, y) == mask) {
                start = {x, y};
                return true;
            }
    return false;
}

bool MaskOutlineCapacity(const DibImage& image, uint32_t multiplier, size_t& capacity)
{
    const uint64_t points =
        2 * uint64_t(image.height) * multiplier + 2 * uint64_t(image.width);
    if (points > std::numeric_limits<size_t>::max() / sizeof(ShapePoint))
        return false;
    capacity = size_t(points);
    return true;
}

size_t TraceMaskOutline(const DibImage& image, uint32_t mask, ShapePoint start,
                        ShapePoint* points, size_t capacity)
{
    if (capacity == 0)
        return 0;
    size_t count = 0;
    points[count++] = start;

    bool alone = true;
    for (int dir = 0; dir < 8 && alone; ++dir)
        alone = !IsMask(image, mask, start.x + kStepX[dir], start.y + kStepY[dir]);
    if (alone)
        return count;

    ShapePoint at = start;
    int d = 1;
    while (count < capacity) {
        const int first = (d % 2 == 0 ? d + 1 : d + 2) % 8;
        bool found = false;
        for (int i = 0; i < 8; ++i) {
            const int dir = (first - i + 8) % 8;
            const int32_t x = at.x + kStepX[dir];
            const int32_t y = at.y + kStepY[dir];
            if (IsMask(image, mask, x, y)) {
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

} // namespace OZKPELLMOR
