// Bitmap cast members turned into shapes by their mask-coloured area.
#include <gtest/gtest.h>

#include "tests/plugin/MaskDib.h"
#include "tests/plugin/RegionTestSupport.h"

namespace OZKPELLMOR::standin {

namespace {

const std::vector<const char*> kBlock = {
    "..........", "...####...", "..######..", "..######..", "...####...", "..........",
};

// The traced border of kBlock as a polygon.
const std::vector<POINT> kBlockOutline = {{3, 1}, {2, 2}, {2, 3}, {3, 4}, {4, 4}, {5, 4}, {6, 4},
                                          {7, 3}, {7, 2}, {6, 1}, {5, 1}, {4, 1}, {3, 1}};

class MaskRegion : public ShapeTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(MaskRegion, OutlineOfTheMaskAreaBecomesTheShape) {
    host.AddMember("shape", "bitmap", MakeDib(kBlock, GetParam()));
    ASSERT_EQ(Build("ozkbitmapmask", "ozkreplace", {host.Str("shape")}).code, 0);
    EXPECT_EQ(LastError(), 0);
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(PolygonRgn(kBlockOutline));
    auto read = RegionOf(host.MainWindow());
    EXPECT_TRUE(SameArea(read.region, expected));
    EXPECT_TRUE(PtInRegion(read.region, 4, 2));
    EXPECT_FALSE(PtInRegion(read.region, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, MaskRegion, ::testing::Values(1, 4, 8, 16, 24, 32));

using MaskRegionFailure = ShapeTest;

TEST_F(MaskRegionFailure, MembersWithoutAMaskAreaFailWithErrorSeven) {
    host.AddMember("text", "field");
    host.AddMember("white", "bitmap", MakeDib({"....", "...."}, 1));
    auto cut = MakeDib(kBlock, 24);
    cut.resize(cut.size() - 8);
    host.AddMember("cut", "bitmap", cut);
    auto deep = MakeDib(kBlock, 8);
    deep[14] = 2;  // a depth the plug-in does not read
    host.AddMember("deep", "bitmap", deep);

    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    for (const char* name : {"text", "missing", "white", "cut", "deep"}) {
        EXPECT_EQ(Build("ozkbitmapmask", "ozkor", {host.Str(name)}).code, kBadArgument) << name;
        EXPECT_EQ(LastError(), 7) << name;
    }
    EXPECT_EQ(Build("ozkbitmapmask", "ozkor", {host.Int(1)}).code, kBadArgument);
    EXPECT_EQ(LastError(), 6);

    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

}  // namespace

}  // namespace OZKPELLMOR::standin
