// A point of a shape outline, in pixels.
#pragma once

#include <cstdint>

namespace OZKPELLMOR {

// Same layout as the system's POINT (two 32-bit coordinates).
struct ShapePoint {
    int32_t x;
    int32_t y;
    bool operator==(const ShapePoint&) const = default;
};

}  // namespace OZKPELLMOR
