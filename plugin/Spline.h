// Smooth closed curves through control points, flattened to polygon points.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "plugin/ShapePoint.h"

namespace OZKPELLMOR {

// Points the script method makes per segment between two control points.
inline constexpr size_t SplinePointsPerSegment = 10;

namespace spline_detail {

// One coordinate of the curve at t, from the coordinates of the four points around it.
inline int32_t CurveAt(double t, int32_t p0, int32_t p1, int32_t p2, int32_t p3) {
    const double x0 = p0, x1 = p1, x2 = p2, x3 = p3;
    const double c1 = -0.5 * x0 + 0.5 * x2;
    const double c2 = x0 - 2.5 * x1 + 2.0 * x2 - 0.5 * x3;
    const double c3 = -0.5 * x0 + 1.5 * x1 - 1.5 * x2 + 0.5 * x3;
    const double v = x1 + t * (c1 + t * (c2 + t * c3));
    return static_cast<int32_t>(std::trunc(v));
}

}  // namespace spline_detail

// Writes `total` points of the Catmull-Rom curve through `control[0..count)` to `out`.
// Each of the count - 1 segments gets total / (count - 1) points, the remainder spread over
// the segments; a segment starts at its first control point exactly, ends at its second
// exactly, and between them samples t = 1/g, 2/g, ... by repeated addition, truncated to
// whole pixels. Needs count >= 2; ends are doubled for the outer segments.
inline void SplineToPolygon(const ShapePoint* control, size_t count, ShapePoint* out,
                            size_t total) {
    if (count < 2)
        return;
    const size_t segments = count - 1;
    const size_t perSegment = total / segments;
    const size_t spread = total % segments;
    size_t remainder = 0;
    size_t k = 0;
    for (size_t h = 0; h < segments; ++h) {
        size_t g = perSegment;
        remainder += spread;
        if (remainder >= segments) {
            ++g;
            remainder -= segments;
        }
        if (g == 0)
            continue;
        const ShapePoint& a = control[h == 0 ? 0 : h - 1];
        const ShapePoint& b = control[h];
        const ShapePoint& c = control[h + 1];
        const ShapePoint& d = control[h + 2 < count ? h + 2 : count - 1];
        out[k++] = b;
        const double step = 1.0 / static_cast<double>(g);
        double t = 0.0;
        for (size_t i = 2; i < g; ++i) {
            t += step;
            out[k++] = {spline_detail::CurveAt(t, a.x, b.x, c.x, d.x),
                        spline_detail::CurveAt(t, a.y, b.y, c.y, d.y)};
        }
        if (g >= 2)
            out[k++] = c;
    }
}

}  // namespace OZKPELLMOR
