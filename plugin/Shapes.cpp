// Rectangles, ellipses, polygons, curves, text and the window's own region as new shapes.
#include "plugin/Shapes.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "plugin/ShapePoint.h"
#include "plugin/Spline.h"
#include "plugin/TextRegion.h"
#include "plugin/WindowMethods.h"

namespace OZKPELLMOR {

static_assert(sizeof(ShapePoint) == sizeof(POINT));
static_assert(ALTERNATE == FillAlternate && WINDING == FillWinding);

namespace {

constexpr int32_t kShapeArg = 3;  // first argument of the shape itself

int PolygonFillMode(const ScriptObject& object) {
    return object.polyFillMode == FillWinding ? WINDING : ALTERNATE;
}

HRGN PolygonRegion(const ShapePoint* points, size_t count, const ScriptObject& object) {
    if (count > size_t(std::numeric_limits<int>::max()))
        return nullptr;
    return CreatePolygonRgn(reinterpret_cast<const POINT*>(points), int(count),
                            PolygonFillMode(object));
}

// Optional integer corner size: present and an integer, else 0.
int32_t OptionalInteger(MethodContext& call, int32_t index) {
    int32_t value = 0;
    if (call.ArgIs(index, HostTypeInteger))
        call.ReadInteger(index, value);
    return value;
}

}  // namespace

HostResult BuildCurrentShape(MethodContext& call, OwnedRegion& region) {
    HWND window = nullptr;
    if (!GetTargetWindow(call, WindowKindMovie, window))
        return call.Fail(ResultBadArgument, ErrNoFunction);
    OwnedRegion copy(CreateRectRgn(0, 0, 0, 0));
    if (!copy.Get())
        return call.Fail(ResultBadArgument, ErrNoRegion);
    if (GetWindowRgn(window, copy.Get()) == ERROR) {
        // No window region: the window is its whole rectangle.
        RECT bounds{};
        if (!GetWindowRect(window, &bounds))
            return call.Fail(ResultBadArgument, ErrNoRegion);
        copy.Reset(CreateRectRgn(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top));
        if (!copy.Get())
            return call.Fail(ResultBadArgument, ErrNoRegion);
    }
    region.Reset(copy.Release());
    return ResultSuccess;
}

HostResult BuildRectShape(MethodContext& call, bool ellipse, OwnedRegion& region) {
    HostPoint topLeft{}, bottomRight{};
    if (!call.ReadPoint(kShapeArg, topLeft) || !call.ReadPoint(kShapeArg + 1, bottomRight))
        return call.Fail(ResultBadArgument, ErrWrongType);
    HRGN made = nullptr;
    if (ellipse) {
        made = CreateEllipticRgn(topLeft.h, topLeft.v, bottomRight.h, bottomRight.v);
    } else {
        const int32_t cornerWidth = OptionalInteger(call, kShapeArg + 2);
        const int32_t cornerHeight = OptionalInteger(call, kShapeArg + 3);
        made = CreateRoundRectRgn(topLeft.h, topLeft.v, bottomRight.h, bottomRight.v, cornerWidth,
                                  cornerHeight);
    }
    if (!made)
        return call.Fail(ResultBadArgument, ErrNoRegion);
    region.Reset(made);
    return ResultSuccess;
}

HostResult BuildPolygonShape(MethodContext& call, bool spline, OwnedRegion& region) {
    int32_t count = 0;
    if (!call.ReadListCount(kShapeArg, count))
        return call.Fail(ResultBadArgument, ErrParameterCount);
    if (count < (spline ? 4 : 3))
        return call.Fail(ResultTooFewArguments, ErrParameterCount);

    const size_t points = size_t(count);
    size_t total = points;
    if (spline) {
        if (points - 1 > std::numeric_limits<int>::max() / SplinePointsPerSegment)
            return call.Fail(ResultFailure, ErrNoMemory);
        total = (points - 1) * SplinePointsPerSegment;
    }
    std::unique_ptr<ShapePoint[]> control(new (std::nothrow) ShapePoint[points]);
    std::unique_ptr<ShapePoint[]> curve(spline ? new (std::nothrow) ShapePoint[total] : nullptr);
    if (!control || (spline && !curve))
        return call.Fail(ResultFailure, ErrNoMemory);

    for (int32_t i = 0; i < count; ++i) {
        HostPoint point{};
        if (!call.ReadListPoint(kShapeArg, i + 1, point))
            return call.Fail(ResultBadArgument, ErrWrongType);
        control[i] = {point.h, point.v};
    }
    HRGN made = nullptr;
    if (spline) {
        SplineToPolygon(control.get(), points, curve.get(), total);
        made = PolygonRegion(curve.get(), total, call.Object());
    } else {
        made = PolygonRegion(control.get(), points, call.Object());
    }
    if (!made)
        return call.Fail(ResultBadArgument, ErrNoRegion);
    region.Reset(made);
    return ResultSuccess;
}

HostResult BuildTextShape(MethodContext& call, OwnedRegion& region) {
    ScriptObject& object = call.Object();
    const bool typesOk = call.ArgIs(kShapeArg, HostTypePoint) && call.ArgIs(4, HostTypeString) &&
                         call.ArgIs(5, HostTypeString) && call.ArgIs(6, HostTypeInteger) &&
                         call.ArgIs(7, HostTypeInteger) && call.ArgIs(8, HostTypeInteger) &&
                         (!call.HasArg(9) || call.ArgIs(9, HostTypeInteger)) &&
                         (!call.HasArg(10) || call.ArgIs(10, HostTypeSymbol)) &&
                         (!call.HasArg(11) || call.ArgIs(11, HostTypeInteger));
    if (!typesOk)
        return call.Fail(ResultBadArgument, ErrWrongType);

    HostPoint origin{};
    char text[1024];
    char face[128];
    int32_t charWidth = 0, charHeight = 0, bold = 0, italic = 0, extra = 0;
    HostSymbol align = 0;
    const bool read = call.ReadPoint(kShapeArg, origin) && call.ReadString(4, text, sizeof text) &&
                      call.ReadString(5, face, sizeof face) && call.ReadInteger(6, charWidth) &&
                      call.ReadInteger(7, charHeight) && call.ReadInteger(8, bold) &&
                      (!call.HasArg(9) || call.ReadInteger(9, italic)) &&
                      (!call.HasArg(10) || call.ReadSymbol(10, align)) &&
                      (!call.HasArg(11) || call.ReadInteger(11, extra));
    if (!read)
        return call.Fail(ResultBadArgument, ErrWrongType);

    TextAlign where = TextAlign::Left;
    if (call.HasArg(10) && align == object.Symbol(Sym::Center))
        where = TextAlign::Center;
    else if (call.HasArg(10) && align == object.Symbol(Sym::Right))
        where = TextAlign::Right;

    TextShape shape;
    shape.text = text;
    shape.face = face;
    shape.x = origin.h;
    shape.y = origin.v;
    shape.charWidth = charWidth;
    shape.charHeight = charHeight;
    shape.bold = bold != 0;
    shape.italic = italic != 0;
    shape.alignment = TextAlignment(where, extra, object.rightToLeft != 0);
    HRGN made = TextToRegion(shape);
    if (!made)
        return call.Fail(ResultFailure, ErrNoRegion);
    region.Reset(made);
    return ResultSuccess;
}

}  // namespace OZKPELLMOR
