// Shapes built by script and given to real windows, read back with GetWindowRgn.
#include <gtest/gtest.h>

#include "tests/plugin/RegionTestSupport.h"

namespace OZKPELLMOR::standin {

namespace {

using RegionShapes = ShapeTest;

TEST_F(RegionShapes, EllipseBecomesTheWindowShape) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    EXPECT_EQ(LastError(), 0);

    auto read = RegionOf(host.MainWindow());
    ASSERT_TRUE(read.has);
    Rgn expected(CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(SameArea(read.region, expected));
    EXPECT_TRUE(PtInRegion(read.region, 50, 25));
    EXPECT_FALSE(PtInRegion(read.region, 3, 3));
    EXPECT_FALSE(PtInRegion(read.region, 150, 25));
}

TEST_F(RegionShapes, RoundRectTakesOptionalCornerSizes) {
    ASSERT_EQ(Build("ozkroundrect", "ozkreplace",
                    {host.Point(10, 20), host.Point(210, 120), host.Int(40), host.Int(30)})
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateRoundRectRgn(10, 20, 210, 120, 40, 30));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
    EXPECT_FALSE(PtInRegion(RegionOf(host.MainWindow()).region, 10, 20)) << "rounded corner";

    // Without corner sizes, or with a corner that is not an integer, the corners are square.
    ASSERT_EQ(Build("ozkroundrect", "ozkreplace",
                    {host.Point(10, 20), host.Point(210, 120), host.Str("40")})
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    auto read = RegionOf(host.MainWindow());
    EXPECT_TRUE(PtInRegion(read.region, 10, 20)) << "square corner";
    Rgn square(CreateRoundRectRgn(10, 20, 210, 120, 0, 0));
    EXPECT_TRUE(SameArea(read.region, square));
}

TEST_F(RegionShapes, UnionOfEllipseAndRoundRect) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(Build("ozkroundrect", "ozkor", {host.Point(80, 0), host.Point(180, 50)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    Rgn ellipse(CreateEllipticRgn(0, 0, 100, 50));
    Rgn rect(CreateRoundRectRgn(80, 0, 180, 50, 0, 0));
    Rgn expected;
    CombineRgn(expected, ellipse, rect, RGN_OR);
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

struct CombineCase {
    const char* symbol;
    int mode;  // 0: the new region replaces the stored one
};

class RegionCombine : public ShapeTest, public ::testing::WithParamInterface<CombineCase> {};

TEST_P(RegionCombine, StoredShapeIsCombinedWithTheNewRegion) {
    ASSERT_EQ(Build("ozkroundrect", "ozkreplace", {host.Point(0, 0), host.Point(100, 100)}).code,
              0);
    ASSERT_EQ(
        Build("ozkellipse", GetParam().symbol, {host.Point(50, 20), host.Point(150, 80)}).code, 0);
    EXPECT_EQ(LastError(), 0);
    ASSERT_EQ(SetShape().code, 0);

    Rgn stored(CreateRoundRectRgn(0, 0, 100, 100, 0, 0));
    Rgn added(CreateEllipticRgn(50, 20, 150, 80));
    Rgn expected;
    if (GetParam().mode)
        CombineRgn(expected, stored, added, GetParam().mode);
    else
        CombineRgn(expected, added, nullptr, RGN_COPY);
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected)) << GetParam().symbol;
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, RegionCombine,
    ::testing::Values(CombineCase{"ozkor", RGN_OR}, CombineCase{"ozkxor", RGN_XOR},
                      CombineCase{"ozkdiff", RGN_DIFF}, CombineCase{"ozkand", RGN_AND},
                      CombineCase{"foo", RGN_AND}, CombineCase{"ozkreplace", 0}));

TEST_F(RegionShapes, FirstShapeIsStoredWhateverTheCombineSymbol) {
    ASSERT_EQ(Build("ozkellipse", "ozkand", {host.Point(0, 0), host.Point(60, 60)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateEllipticRgn(0, 0, 60, 60));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

// A five-pointed star drawn in one stroke: its middle is inside only with winding fill.
const std::vector<HostPoint> kStar = {{0, 50}, {90, 79}, {35, 2}, {35, 98}, {90, 21}};

TEST_F(RegionShapes, PolygonUsesTheObjectsFillMode) {
    auto starList = [&] {
        std::vector<HostValue> items;
        for (const HostPoint& p : kStar)
            items.push_back(host.Point(p.h, p.v));
        return host.List(items);
    };
    ASSERT_EQ(Build("ozkpolygon", "ozkreplace", {starList()}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    {
        auto read = RegionOf(host.MainWindow());
        EXPECT_FALSE(PtInRegion(read.region, 50, 50)) << "alternate leaves the middle out";
        EXPECT_TRUE(PtInRegion(read.region, 50, 10));
    }

    ASSERT_EQ(
        host.Call(me, "OzkSetProp", {host.Sym("ozkpolyfillmode"), host.Sym("ozkwinding")}).integer,
        1);
    ASSERT_EQ(Build("ozkpolygon", "ozkreplace", {starList()}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    auto read = RegionOf(host.MainWindow());
    EXPECT_TRUE(PtInRegion(read.region, 50, 50)) << "winding fills the middle";
    std::vector<POINT> points;
    for (const HostPoint& p : kStar)
        points.push_back({p.h, p.v});
    Rgn expected(PolygonRgn(points, WINDING));
    EXPECT_TRUE(SameArea(read.region, expected));
}

TEST_F(RegionShapes, PolySplineIsTheThirtyPointCurve) {
    ASSERT_EQ(Build("ozkpolyspline", "ozkreplace",
                    {host.List({host.Point(0, 0), host.Point(100, 0), host.Point(100, 100),
                                host.Point(0, 100)})})
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    const std::vector<POINT> curve = {
        {0, 0},    {6, 0},    {15, -1},  {25, -3},   {37, -4},   {50, -6},  {62, -7},  {74, -7},
        {84, -6},  {100, 0},  {100, 0},  {104, 6},   {108, 15},  {110, 25}, {112, 37}, {112, 50},
        {112, 62}, {110, 74}, {108, 84}, {100, 100}, {100, 100}, {93, 104}, {84, 106}, {74, 107},
        {62, 107}, {50, 106}, {37, 104}, {25, 103},  {15, 101},  {0, 100}};
    Rgn expected(PolygonRgn(curve));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

TEST_F(RegionShapes, PolygonArgumentsAreCheckedAndTheStoredShapeKept) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);

    auto r = Build("ozkpolygon", "ozkor", {host.List({host.Point(0, 0), host.Point(10, 10)})});
    EXPECT_EQ(r.code, kTooFew);
    EXPECT_EQ(LastError(), 4);

    r = Build("ozkpolygon", "ozkor",
              {host.List({host.Point(0, 0), host.Str("x"), host.Point(10, 10)})});
    EXPECT_EQ(r.code, kBadArgument);
    EXPECT_EQ(LastError(), 6);

    r = Build("ozkpolygon", "ozkor", {host.Int(3)});
    EXPECT_EQ(r.code, kBadArgument);
    EXPECT_EQ(LastError(), 4);

    r = Build("ozkpolyspline", "ozkor",
              {host.List({host.Point(0, 0), host.Point(10, 10), host.Point(20, 0)})});
    EXPECT_EQ(r.code, kTooFew);
    EXPECT_EQ(LastError(), 4);

    r = Build("ozkpolygon", "ozkor");
    EXPECT_EQ(r.code, kTooFew);
    EXPECT_EQ(LastError(), 4);

    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

TEST_F(RegionShapes, CornerArgumentsMustBePoints) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    EXPECT_EQ(Build("ozkellipse", "ozkor", {host.Point(0, 0), host.Int(5)}).code, kBadArgument);
    EXPECT_EQ(LastError(), 6);
    EXPECT_EQ(Build("ozkroundrect", "ozkor", {host.Point(0, 0)}).code, kTooFew);
    EXPECT_EQ(LastError(), 4);
    EXPECT_EQ(Build("ozkstar", "ozkor", {host.Point(0, 0), host.Point(9, 9)}).code, kBadArgument);
    EXPECT_EQ(LastError(), 4);
    EXPECT_EQ(Build("ozkellipse", "ozkor", {}).code, kTooFew);

    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

TEST_F(RegionShapes, ClearDropsTheStoredShape) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(Build("ozkclear", "ozkor").code, 0);
    ASSERT_EQ(Build("ozkroundrect", "ozkand", {host.Point(0, 0), host.Point(30, 30)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateRoundRectRgn(0, 0, 30, 30, 0, 0));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

TEST_F(RegionShapes, SetWindowShapeWithoutShapeOrClearWindowMakesTheWindowRectangular) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    ASSERT_TRUE(RegionOf(host.MainWindow()).has);
    ASSERT_EQ(SetShape().code, 0);
    EXPECT_FALSE(RegionOf(host.MainWindow()).has);

    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(10, 10)}).code, 0);
    ASSERT_EQ(host.Call(me, "OzkClearWindow").code, 0);
    EXPECT_EQ(LastError(), 0);
    EXPECT_FALSE(RegionOf(host.MainWindow()).has);
    // The stored shape went with the clear.
    ASSERT_EQ(SetShape().code, 0);
    EXPECT_FALSE(RegionOf(host.MainWindow()).has);
}

TEST_F(RegionShapes, WhichWinChoosesTheMovieWindow) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(host.Call(me, "OzkSetWindowShape", {host.Int(1), host.Sym("ozkmiaw")}).code, 0);
    EXPECT_TRUE(RegionOf(host.StageWindowHandle()).has);
    EXPECT_FALSE(RegionOf(host.MainWindow()).has);
    ASSERT_EQ(host.Call(me, "OzkClearWindow", {host.Int(0), host.Sym("ozkmiaw")}).code, 0);
    EXPECT_FALSE(RegionOf(host.StageWindowHandle()).has);
}

TEST_F(RegionShapes, ProjectorFrameWindowIsTheParentOfTheMainWindow) {
    // The main window is top-level: it has no parent, so there is no window to shape.
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    EXPECT_EQ(host.Call(me, "OzkSetWindowShape", {host.Int(1), host.Sym("ozknetscapegold")}).code,
              kFailure);
    EXPECT_EQ(LastError(), 2);
    ASSERT_EQ(SetShape().code, 0);
    EXPECT_TRUE(RegionOf(host.MainWindow()).has);
}

TEST_F(RegionShapes, AuthoringEnvironmentShapesTheMovieWindowOrItsParentInVersionSeven) {
    host.appInfo.name = "Authoring Tool";
    host.appInfo.version = "7.0.2";
    ScriptInstance* seven = NewObject();
    ASSERT_EQ(
        Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}, seven).code, 0);
    ASSERT_EQ(SetShape(seven).code, 0);
    EXPECT_TRUE(RegionOf(host.MainWindow()).has) << "the movie window's parent";
    EXPECT_FALSE(RegionOf(host.StageWindowHandle()).has);
    ASSERT_EQ(host.Call(seven, "OzkClearWindow").code, 0);

    host.appInfo.version = "6.5";
    ScriptInstance* six = NewObject();
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}, six).code,
              0);
    ASSERT_EQ(host.Call(six, "OzkSetWindowShape", {host.Int(1), host.Sym("ozknetscapegold")}).code,
              0);
    EXPECT_TRUE(RegionOf(host.StageWindowHandle()).has) << "the movie window itself";
    EXPECT_FALSE(RegionOf(host.MainWindow()).has);
}

TEST_F(RegionShapes, CurrentCopiesTheMovieWindowsRegion) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(host.Call(me, "OzkSetWindowShape", {host.Int(1), host.Sym("ozkmiaw")}).code, 0);
    ASSERT_EQ(Build("ozkcurrent", "ozkreplace").code, 0);
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
    // The movie window keeps its own.
    EXPECT_TRUE(SameArea(RegionOf(host.StageWindowHandle()).region, expected));
}

TEST_F(RegionShapes, CurrentOfAWindowWithoutRegionIsItsRectangle) {
    ASSERT_EQ(Build("ozkcurrent", "ozkreplace").code, 0);
    ASSERT_EQ(SetShape().code, 0);
    RECT stage{};
    GetWindowRect(host.StageWindowHandle(), &stage);
    Rgn expected(CreateRectRgn(0, 0, stage.right - stage.left, stage.bottom - stage.top));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

TEST_F(RegionShapes, NoMovieWindowKeepsErrorTwoAndTheStoredShape) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    host.stage.kind = 2;  // the host hands out something that is not a window
    EXPECT_EQ(SetShape().code, kFailure);
    EXPECT_EQ(LastError(), 2);
    EXPECT_EQ(Build("ozkcurrent", "ozkor").code, kBadArgument);
    EXPECT_EQ(LastError(), 2);
    EXPECT_EQ(host.Call(me, "OzkClearWindow").code, kFailure);
    EXPECT_FALSE(RegionOf(host.MainWindow()).has);

    host.stage.kind = 1;
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

TEST_F(RegionShapes, MissingHostServicesGiveErrorTwo) {
    host.SetMissing(Host::PlayerId, true);
    host.SetMissing(Host::HandlesId, true);
    ScriptInstance* bare = NewObject();
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}, bare).code,
              0);
    EXPECT_EQ(SetShape(bare).code, kFailure);
    EXPECT_EQ(LastError(bare), 2);
    EXPECT_EQ(host.Call(bare, "OzkSetTitleBar").code, kFailure);
    EXPECT_EQ(LastError(bare), 2);
    EXPECT_EQ(Build("ozkbitmapmask", "ozkor", {host.Str("mask")}, bare).code, kFailure);
    EXPECT_EQ(LastError(bare), 2);
}

TEST_F(RegionShapes, SetWindowShapeAfterShapeWasGivenAwayStartsFromNone) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(100, 50)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    ASSERT_EQ(Build("ozkroundrect", "ozkand", {host.Point(0, 0), host.Point(20, 20)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    Rgn expected(CreateRoundRectRgn(0, 0, 20, 20, 0, 0));
    EXPECT_TRUE(SameArea(RegionOf(host.MainWindow()).region, expected));
}

}  // namespace

}  // namespace OZKPELLMOR::standin
