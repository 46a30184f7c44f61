#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "plugin/BitmapMask.h"

using namespace OZKPELLMOR;

namespace OZKPELLMOR {
void PrintTo(const ShapePoint& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
} // namespace OZKPELLMOR

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

// A bitmap block drawn from rows of characters (top row first): '#' is the mask value 0,
// anything else a non-zero pixel. Stored bottom-up unless topDown.
std::vector<uint8_t> MakeDib(const std::vector<const char*>& rows, uint16_t bitCount,
                             bool topDown = false, uint32_t compression = 0,
                             uint32_t headerSize = 40)
{
    const int32_t w = int32_t(std::strlen(rows[0]));
    const int32_t h = int32_t(rows.size());
    size_t table = 0;
    if (bitCount <= 8)
        table = (size_t(1) << bitCount) * 4;
    else if (compression == 3 && headerSize == 40)
        table = 12;
    const size_t stride = (size_t(w) * bitCount + 31) / 32 * 4;
    std::vector<uint8_t> b(headerSize + table + stride * h, 0);
    Put32(b, 0, headerSize);
    Put32(b, 4, uint32_t(w));
    Put32(b, 8, uint32_t(topDown ? -h : h));
    b[12] = 1;
    b[14] = uint8_t(bitCount);
    Put32(b, 16, compression);
    for (int32_t y = 0; y < h; ++y) {
        const int32_t stored = topDown ? y : h - 1 - y;
        uint8_t* line = b.data() + headerSize + table + stride * stored;
        for (int32_t x = 0; x < w; ++x) {
            if (rows[y][x] == '#')
                continue;
            switch (bitCount) {
            case 1: line[x / 8] |= uint8_t(0x80 >> (x % 8)); break;
            case 4: line[x / 2] |= uint8_t(x % 2 ? 0x03 : 0x30); break;
            case 8: line[x] = 7; break;
            case 16: line[2 * x] = 0x1F; line[2 * x + 1] = 0x7C; break;
            case 24: line[3 * x + 2] = 0xFF; break;
            case 32: line[4 * x + 3] = 0x01; break;
            }
        }
    }
    return b;
}

std::vector<ShapePoint> Outline(const std::vector<uint8_t>& dib, size_t capacity = 0)
{
    DibImage image;
    if (!ParseDib(dib.data(), dib.size(), image))
        return {{-1, -1}};
    const uint32_t mask = MaskPixelValue(image.bitCount, 0, 0, 0, 0);
    ShapePoint start{};
    if (!FindMaskStart(image, mask, start))
        return {};
    if (capacity == 0 && !MaskOutlineCapacity(image, 5, capacity))
        return {{-2, -2}};
    std::vector<ShapePoint> points(capacity);
    points.resize(TraceMaskOutline(image, mask, start, points.data(), capacity));
    return points;
}

const std::vector<const char*> kBlock = {
    "......",
    "..##..",
    ".####.",
    "..##..",
    "......",
};

// From the start the search turns toward lower directions first: down the left side, along
// the bottom, up the right side and back to the start, which closes the outline.
const std::vector<ShapePoint> kBlockOutline = {
    {2, 1}, {1, 2}, {2, 3}, {3, 3}, {4, 2}, {3, 1}, {2, 1}};

} // namespace

class MaskOutlineDepth : public ::testing::TestWithParam<uint16_t> {};

TEST_P(MaskOutlineDepth, TracesTheBorderOfTheMaskArea)
{
    EXPECT_EQ(Outline(MakeDib(kBlock, GetParam())), kBlockOutline);
}

TEST_P(MaskOutlineDepth, TopDownRowsReadTopRowFirst)
{
    EXPECT_EQ(Outline(MakeDib(kBlock, GetParam(), true)), kBlockOutline);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, MaskOutlineDepth, ::testing::Values(1, 4, 8, 16, 24, 32));

TEST(MaskOutline, BitFieldsAddTheirMasksAfterAFortyByteHeader)
{
    EXPECT_EQ(Outline(MakeDib(kBlock, 16, false, 3)), kBlockOutline);
    EXPECT_EQ(Outline(MakeDib(kBlock, 32, false, 3)), kBlockOutline);
    // A larger header holds the masks itself.
    EXPECT_EQ(Outline(MakeDib(kBlock, 32, false, 3, 108)), kBlockOutline);
}

TEST(MaskOutline, SinglePixelIsAOnePointOutline)
{
    EXPECT_EQ(Outline(MakeDib({"...", ".#.", "..."}, 8)), (std::vector<ShapePoint>{{1, 1}}));
}

TEST(MaskOutline, NoMaskPixelGivesNoOutline)
{
    EXPECT_TRUE(Outline(MakeDib({"....", "...."}, 1)).empty());
}

TEST(MaskOutline, StartIsTheFirstMaskPixelFromTheTopLeft)
{
    DibImage image;
    const auto dib = MakeDib({"....", "...#", "#..."}, 8);
    ASSERT_TRUE(ParseDib(dib.data(), dib.size(), image));
    ShapePoint start{};
    ASSERT_TRUE(FindMaskStart(image, 0, start));
    EXPECT_EQ(start, (ShapePoint{3, 1}));
}

TEST(MaskOutline, WholeImageFollowsItsEdgeInsideTheImage)
{
    EXPECT_EQ(Outline(MakeDib({"###", "###"}, 24)),
              (std::vector<ShapePoint>{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}, {0, 0}}));
}

TEST(MaskOutline, StopsWhenTheBufferIsFull)
{
    const auto points = Outline(MakeDib(kBlock, 8), 3);
    EXPECT_EQ(points, (std::vector<ShapePoint>{{2, 1}, {1, 2}, {2, 3}}));
}

TEST(MaskOutline, CapacityIsTwiceHeightTimesMultiplierPlusTwiceWidth)
{
    const auto dib = MakeDib(kBlock, 8);
    DibImage image;
    ASSERT_TRUE(ParseDib(dib.data(), dib.size(), image));
    size_t capacity = 0;
    ASSERT_TRUE(MaskOutlineCapacity(image, 5, capacity));
    EXPECT_EQ(capacity, 2u * 5 * 5 + 2u * 6);
}

TEST(MaskOutline, RefusesBlocksThatDoNotHoldWhatTheHeaderPromises)
{
    DibImage image;
    auto good = MakeDib(kBlock, 8);
    ASSERT_TRUE(ParseDib(good.data(), good.size(), image));

    EXPECT_FALSE(ParseDib(good.data(), good.size() - 1, image)) << "last row cut short";
    EXPECT_FALSE(ParseDib(good.data(), 39, image)) << "header cut short";

    auto bad = good;
    Put32(bad, 0, 12);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "old small header";
    bad = good;
    Put32(bad, 4, 0);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "no width";
    bad = good;
    Put32(bad, 4, 0xFFFFFFFF);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "negative width";
    bad = good;
    Put32(bad, 8, 0);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "no height";
    bad = good;
    Put32(bad, 8, 0x80000000);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "height that cannot be negated";
    bad = good;
    bad[14] = 2;
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "2-bit depth";
    bad = good;
    Put32(bad, 16, 1);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "run-length compressed";
    bad = good;
    Put32(bad, 32, 0xFFFFFFFF);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "colour table past the end";
    bad = good;
    Put32(bad, 4, 0x7FFFFFFF);
    Put32(bad, 8, 0x7FFFFFFF);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "huge rows";
    bad = good;
    Put32(bad, 0, 0xFFFFFFF0);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "header larger than the block";
}

TEST(MaskOutline, MaskValueFollowsTheDepth)
{
    EXPECT_EQ(MaskPixelValue(8, 3, 0xFF, 0xFF, 0xFF), 3u);
    EXPECT_EQ(MaskPixelValue(16, 0, 0xFF, 0x00, 0x08), 0x041Fu);
    EXPECT_EQ(MaskPixelValue(24, 0, 0x01, 0x02, 0x03), 0x030201u);
    EXPECT_EQ(MaskPixelValue(32, 0, 0x01, 0x02, 0x03), 0x030201u);
}
