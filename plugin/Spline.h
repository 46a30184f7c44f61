// Smooth closed curves through control points, flattened to polygon points.
#pragma once

#include <cstddef>

#include "plugin/ShapePoint.h"

namespace OZKPELLMOR {

// Points the script method makes per segment between two control points.
inline constexpr size_t SplinePointsPerSegment = 10;

// Writes `total` points of the Catmull-Rom curve through `control[0..count)` to `out`.
// Each of the count - 1 segments gets total / (count - 1) points, the remainder spread over
// the segments; a segment starts at its first control point exactly, ends at its second
// exactly, and between them samples t = 1/g, 2/g, ... by repeated addition, truncated to
// whole pixels. Needs count >= 2; ends are doubled for the outer segments.
void SplineToPolygon(const ShapePoint* control, size_t count, ShapePoint* out, size_t total);

} // namespace OZKPELLMOR
