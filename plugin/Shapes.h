// Builders of the new region of OzkBuildShape, one per shape symbol. Each reads the shape's
// own arguments (3 and up) and makes the region; on failure it sets the last error, answers
// the result code and leaves the region null.
#pragma once

#include <windows.h>

#include "plugin/MethodContext.h"
#include "plugin/ScriptObject.h"

namespace OZKPELLMOR {

// Owns a region handle until it is released to a new owner.
class OwnedRegion {
public:
    OwnedRegion() = default;
    explicit OwnedRegion(HRGN region) : region_(region) {}
    ~OwnedRegion() { Reset(); }
    OwnedRegion(const OwnedRegion&) = delete;
    OwnedRegion& operator=(const OwnedRegion&) = delete;

    HRGN Get() const { return region_; }
    HRGN Release() {
        HRGN region = region_;
        region_ = nullptr;
        return region;
    }
    void Reset(HRGN region = nullptr) {
        if (region_)
            DeleteObject(region_);
        region_ = region;
    }

private:
    HRGN region_ = nullptr;
};

HostResult BuildCurrentShape(MethodContext& call, OwnedRegion& region);
HostResult BuildRectShape(MethodContext& call, bool ellipse, OwnedRegion& region);
HostResult BuildPolygonShape(MethodContext& call, bool spline, OwnedRegion& region);
HostResult BuildTextShape(MethodContext& call, OwnedRegion& region);
HostResult BuildBitmapMaskShape(MethodContext& call, OwnedRegion& region);

}  // namespace OZKPELLMOR
