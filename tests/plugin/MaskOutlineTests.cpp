#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "plugin/BitmapMask.h"
#include "tests/plugin/MaskDib.h"

using namespace OZKPELLMOR;

namespace OZKPELLMOR {
void PrintTo(const ShapePoint& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
}  // namespace OZKPELLMOR

namespace {

std::vector<ShapePoint> Outline(const std::vector<uint8_t>& dib, size_t capacity = 0) {
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
    "......", "..##..", ".####.", "..##..", "......",
};

// From the start the search turns toward lower directions first: down the left side, along
// the bottom, up the right side and back to the start, which closes the outline.
const std::vector<ShapePoint> kBlockOutline = {{2, 1}, {1, 2}, {2, 3}, {3, 3},
                                               {4, 2}, {3, 1}, {2, 1}};

}  // namespace

class MaskOutlineDepth : public ::testing::TestWithParam<uint16_t> {};

TEST_P(MaskOutlineDepth, TracesTheBorderOfTheMaskArea) {
    EXPECT_EQ(Outline(MakeDib(kBlock, GetParam())), kBlockOutline);
}

TEST_P(MaskOutlineDepth, TopDownRowsReadTopRowFirst) {
    EXPECT_EQ(Outline(MakeDib(kBlock, GetParam(), true)), kBlockOutline);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, MaskOutlineDepth, ::testing::Values(1, 4, 8, 16, 24, 32));

TEST(MaskOutline, BitFieldsAddTheirMasksAfterAFortyByteHeader) {
    EXPECT_EQ(Outline(MakeDib(kBlock, 16, false, 3)), kBlockOutline);
    EXPECT_EQ(Outline(MakeDib(kBlock, 32, false, 3)), kBlockOutline);
    // A larger header holds the masks itself.
    EXPECT_EQ(Outline(MakeDib(kBlock, 32, false, 3, 108)), kBlockOutline);
}

TEST(MaskOutline, SinglePixelIsAOnePointOutline) {
    EXPECT_EQ(Outline(MakeDib({"...", ".#.", "..."}, 8)), (std::vector<ShapePoint>{{1, 1}}));
}

TEST(MaskOutline, NoMaskPixelGivesNoOutline) {
    EXPECT_TRUE(Outline(MakeDib({"....", "...."}, 1)).empty());
}

TEST(MaskOutline, StartIsTheFirstMaskPixelFromTheTopLeft) {
    DibImage image;
    const auto dib = MakeDib({"....", "...#", "#..."}, 8);
    ASSERT_TRUE(ParseDib(dib.data(), dib.size(), image));
    ShapePoint start{};
    ASSERT_TRUE(FindMaskStart(image, 0, start));
    EXPECT_EQ(start, (ShapePoint{3, 1}));
}

TEST(MaskOutline, WholeImageFollowsItsEdgeInsideTheImage) {
    EXPECT_EQ(Outline(MakeDib({"###", "###"}, 24)),
              (std::vector<ShapePoint>{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}, {1, 0}, {0, 0}}));
}

TEST(MaskOutline, StopsWhenTheBufferIsFull) {
    const auto points = Outline(MakeDib(kBlock, 8), 3);
    EXPECT_EQ(points, (std::vector<ShapePoint>{{2, 1}, {1, 2}, {2, 3}}));
}

TEST(MaskOutline, CapacityIsTwiceHeightTimesMultiplierPlusTwiceWidth) {
    const auto dib = MakeDib(kBlock, 8);
    DibImage image;
    ASSERT_TRUE(ParseDib(dib.data(), dib.size(), image));
    size_t capacity = 0;
    ASSERT_TRUE(MaskOutlineCapacity(image, 5, capacity));
    EXPECT_EQ(capacity, 2u * 5 * 5 + 2u * 6);
}

TEST(MaskOutline, RefusesBlocksThatDoNotHoldWhatTheHeaderPromises) {
    DibImage image;
    auto good = MakeDib(kBlock, 8);
    ASSERT_TRUE(ParseDib(good.data(), good.size(), image));

    EXPECT_FALSE(ParseDib(good.data(), good.size() - 1, image)) << "last row cut short";
    EXPECT_FALSE(ParseDib(good.data(), 39, image)) << "header cut short";

    auto bad = good;
    PutLe32(bad, 0, 12);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "old small header";
    bad = good;
    PutLe32(bad, 4, 0);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "no width";
    bad = good;
    PutLe32(bad, 4, 0xFFFFFFFF);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "negative width";
    bad = good;
    PutLe32(bad, 8, 0);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "no height";
    bad = good;
    PutLe32(bad, 8, 0x80000000);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "height that cannot be negated";
    bad = good;
    bad[14] = 2;
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "2-bit depth";
    bad = good;
    PutLe32(bad, 16, 1);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "run-length compressed";
    bad = good;
    PutLe32(bad, 32, 0xFFFFFFFF);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "colour table past the end";
    bad = good;
    PutLe32(bad, 4, 0x7FFFFFFF);
    PutLe32(bad, 8, 0x7FFFFFFF);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "huge rows";
    bad = good;
    PutLe32(bad, 0, 0xFFFFFFF0);
    EXPECT_FALSE(ParseDib(bad.data(), bad.size(), image)) << "header larger than the block";
}

TEST(MaskOutline, MaskValueFollowsTheDepth) {
    EXPECT_EQ(MaskPixelValue(8, 3, 0xFF, 0xFF, 0xFF), 3u);
    EXPECT_EQ(MaskPixelValue(16, 0, 0xFF, 0x00, 0x08), 0x041Fu);
    EXPECT_EQ(MaskPixelValue(24, 0, 0x01, 0x02, 0x03), 0x030201u);
    EXPECT_EQ(MaskPixelValue(32, 0, 0x01, 0x02, 0x03), 0x030201u);
}
