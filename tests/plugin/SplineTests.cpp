#include <gtest/gtest.h>

#include <vector>

#include "plugin/Spline.h"

using OZKPELLMOR::ShapePoint;
using OZKPELLMOR::SplineToPolygon;

namespace {

std::vector<ShapePoint> Spline(const std::vector<ShapePoint>& control, size_t total) {
    std::vector<ShapePoint> out(total, ShapePoint{-9999, -9999});
    SplineToPolygon(control.data(), control.size(), out.data(), out.size());
    return out;
}

}  // namespace

TEST(SplineToPolygon, FourPointsGiveThirtyWithControlPointsAtSegmentEnds) {
    const std::vector<ShapePoint> control = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    const std::vector<ShapePoint> expected = {
        {0, 0},    {6, 0},    {15, -1},  {25, -3},   {37, -4},   {50, -6},  {62, -7},  {74, -7},
        {84, -6},  {100, 0},  {100, 0},  {104, 6},   {108, 15},  {110, 25}, {112, 37}, {112, 50},
        {112, 62}, {110, 74}, {108, 84}, {100, 100}, {100, 100}, {93, 104}, {84, 106}, {74, 107},
        {62, 107}, {50, 106}, {37, 104}, {25, 103},  {15, 101},  {0, 100}};
    const auto out = Spline(control, 30);
    EXPECT_EQ(out, expected);
    // 1st, 10th, 11th, 20th, 21st and 30th points are P0, P1, P1, P2, P2, P3.
    EXPECT_EQ(out[0], control[0]);
    EXPECT_EQ(out[9], control[1]);
    EXPECT_EQ(out[10], control[1]);
    EXPECT_EQ(out[19], control[2]);
    EXPECT_EQ(out[20], control[2]);
    EXPECT_EQ(out[29], control[3]);
}

TEST(SplineToPolygon, NegativeCoordinatesTruncateTowardZero) {
    const std::vector<ShapePoint> control = {{10, 20}, {40, -30}, {75, 60}, {-20, 90}, {5, 5}};
    const std::vector<ShapePoint> expected = {
        {10, 20},  {11, 16},  {14, 10},  {16, 4},   {19, -3},  {22, -10}, {26, -17}, {29, -23},
        {33, -28}, {40, -30}, {40, -30}, {43, -26}, {48, -20}, {54, -11}, {59, -1},  {65, 10},
        {70, 21},  {73, 32},  {76, 43},  {75, 60},  {75, 60},  {70, 65},  {62, 71},  {52, 77},
        {40, 81},  {28, 85},  {15, 89},  {3, 91},   {-6, 92},  {-20, 90}, {-20, 90}, {-22, 85},
        {-22, 79}, {-20, 70}, {-17, 60}, {-13, 49}, {-8, 38},  {-4, 27},  {0, 18},   {5, 5}};
    EXPECT_EQ(Spline(control, 40), expected);
}

TEST(SplineToPolygon, ParameterGrowsByRepeatedAddition) {
    // At the 29th point t is 0.1 added seven times (0.7000000000000001), not 0.7: the y
    // coordinate truncates to -6 where 7/10 would give -7.
    const std::vector<ShapePoint> control = {{-30, 68}, {116, 165}, {27, 181}, {-47, -41}};
    const auto out = Spline(control, 30);
    EXPECT_EQ(out[27], (ShapePoint{-30, 16}));
    EXPECT_EQ(out[28], (ShapePoint{-37, -6}));
    EXPECT_EQ(out[29], (ShapePoint{-47, -41}));
}

TEST(SplineToPolygon, RemainderSpreadsExtraPointsOverLaterSegments) {
    // 11 points over 4 segments: 2, 3, 3, 3.
    const std::vector<ShapePoint> control = {{10, 20}, {40, -30}, {75, 60}, {-20, 90}, {5, 5}};
    const std::vector<ShapePoint> expected = {{10, 20},  {40, -30}, {40, -30}, {56, -8},
                                              {75, 60},  {75, 60},  {48, 78},  {-20, 90},
                                              {-20, 90}, {-19, 67}, {5, 5}};
    EXPECT_EQ(Spline(control, 11), expected);
}
