// Text outlines as shapes.
#include <gtest/gtest.h>

#include "tests/plugin/RegionTestSupport.h"

namespace OZKPELLMOR::standin {

namespace {

using ShapeText = ShapeTest;

// Arguments after shape and combine: origin, text, face, width, height, bold, then extras.
std::vector<HostValue> TextArgs(Host& host, int32_t x, int32_t y, const std::string& text,
                                std::vector<HostValue> extra = {}) {
    std::vector<HostValue> args{host.Point(x, y), host.Str(text), host.Str("Tahoma"),
                                host.Int(0),      host.Int(40),   host.Int(1)};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST_F(ShapeText, TextOutlineLiesInsideItsBox) {
    ASSERT_EQ(Build("ozktext", "ozkreplace", TextArgs(host, 20, 30, "Duvelo")).code, 0);
    EXPECT_EQ(LastError(), 0);
    ASSERT_EQ(SetShape().code, 0);
    auto read = RegionOf(host.MainWindow());
    ASSERT_TRUE(read.has);
    const RECT box = Box(read.region);
    EXPECT_GT(box.right, box.left);
    EXPECT_GT(box.bottom, box.top);
    // Left/top alignment: the text hangs right and down from its origin, one line high.
    EXPECT_GE(box.left, 20);
    EXPECT_GE(box.top, 30);
    EXPECT_LE(box.bottom, 30 + 40 + 2);
    EXPECT_LT(box.right, 20 + 6 * 40);
    // Outlines, not a filled box: the corner of the box is outside the letters.
    EXPECT_FALSE(PtInRegion(read.region, box.right - 1, box.top));
}

TEST_F(ShapeText, AlignmentMovesTheTextAroundItsOrigin) {
    ASSERT_EQ(Build("ozktext", "ozkreplace",
                    TextArgs(host, 300, 30, "Duvelo", {host.Int(0), host.Sym("ozkcenter")}))
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    RECT box = Box(RegionOf(host.MainWindow()).region);
    EXPECT_LT(box.left, 300);
    EXPECT_GT(box.right, 300);

    ASSERT_EQ(Build("ozktext", "ozkreplace",
                    TextArgs(host, 300, 30, "Duvelo", {host.Int(1), host.Sym("ozkright")}))
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    box = Box(RegionOf(host.MainWindow()).region);
    EXPECT_LE(box.right, 301);
    EXPECT_LT(box.left, 300);
}

TEST_F(ShapeText, WiderCharactersMakeAWiderOutline) {
    ASSERT_EQ(Build("ozktext", "ozkreplace", TextArgs(host, 0, 0, "Duvelo")).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    const RECT normal = Box(RegionOf(host.MainWindow()).region);
    std::vector<HostValue> wide{host.Point(0, 0), host.Str("Duvelo"), host.Str("Tahoma"),
                                host.Int(40),     host.Int(40),       host.Int(1)};
    ASSERT_EQ(Build("ozktext", "ozkreplace", wide).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    const RECT wider = Box(RegionOf(host.MainWindow()).region);
    EXPECT_GT(wider.right - wider.left, normal.right - normal.left);
    EXPECT_NEAR(wider.bottom - wider.top, normal.bottom - normal.top, 3);
}

TEST_F(ShapeText, ExtraAlignmentIsAddedAndRightToLeftReplacesIt) {
    // Left plus extra 2 is centred; left plus extra 3 is right-aligned.
    ASSERT_EQ(
        Build("ozktext", "ozkreplace",
              TextArgs(host, 300, 30, "Duvelo", {host.Int(0), host.Sym("ozkleft"), host.Int(2)}))
            .code,
        0);
    ASSERT_EQ(SetShape().code, 0);
    RECT box = Box(RegionOf(host.MainWindow()).region);
    EXPECT_LT(box.left, 300);
    EXPECT_GT(box.right, 300);

    ASSERT_EQ(
        Build("ozktext", "ozkreplace",
              TextArgs(host, 300, 30, "Duvelo", {host.Int(0), host.Sym("ozkleft"), host.Int(3)}))
            .code,
        0);
    ASSERT_EQ(SetShape().code, 0);
    box = Box(RegionOf(host.MainWindow()).region);
    EXPECT_LE(box.right, 301);

    // Right-to-left reading alone: the centre request is dropped.
    ASSERT_EQ(host.Call(me, "OzkSetProp", {host.Sym("ozkrtl"), host.Int(1)}).integer, 1);
    ASSERT_EQ(Build("ozktext", "ozkreplace",
                    TextArgs(host, 300, 30, "Duvelo", {host.Int(0), host.Sym("ozkcenter")}))
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    box = Box(RegionOf(host.MainWindow()).region);
    EXPECT_GE(box.left, 300);
}

TEST_F(ShapeText, EmptyTextFailsAndKeepsTheStoredShape) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    EXPECT_EQ(Build("ozktext", "ozkor", TextArgs(host, 0, 0, "")).code, kFailure);
    EXPECT_EQ(LastError(), 7);
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

TEST_F(ShapeText, ArgumentTypesAreChecked) {
    std::vector<HostValue> args{host.Point(0, 0), host.Str("x"), host.Int(5),
                                host.Int(0),      host.Int(40),  host.Int(1)};
    EXPECT_EQ(Build("ozktext", "ozkor", args).code, kBadArgument);
    EXPECT_EQ(LastError(), 6);
    EXPECT_EQ(Build("ozktext", "ozkor", TextArgs(host, 0, 0, "x", {host.Int(0), host.Int(3)})).code,
              kBadArgument);
    EXPECT_EQ(LastError(), 6);
    std::vector<HostValue> few{host.Point(0, 0), host.Str("x"), host.Str("Tahoma"), host.Int(0),
                               host.Int(40)};
    EXPECT_EQ(Build("ozktext", "ozkor", few).code, kTooFew);
    EXPECT_EQ(LastError(), 4);
}

}  // namespace

}  // namespace OZKPELLMOR::standin
