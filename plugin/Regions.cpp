// The stored shape: building and combining it, and giving it to a window.
#include "plugin/Shapes.h"
#include "plugin/WindowMethods.h"

namespace OZKPELLMOR {

namespace {

// Smallest argument counts (with "me", shape and combine symbol) per shape.
constexpr int32_t kMinPlain = 3;
constexpr int32_t kMinList = 4;
constexpr int32_t kMinCorners = 5;
constexpr int32_t kMinText = 9;

int CombineMode(const ScriptObject& object, HostSymbol combine) {
    if (combine == object.Symbol(Sym::Or))
        return RGN_OR;
    if (combine == object.Symbol(Sym::Xor))
        return RGN_XOR;
    if (combine == object.Symbol(Sym::Diff))
        return RGN_DIFF;
    return RGN_AND;
}

HostResult TooFew(MethodContext& call, int32_t minimum) {
    if (call.ArgCount() < minimum)
        return call.Fail(ResultTooFewArguments, ErrParameterCount);
    return ResultSuccess;
}

// Makes the new region for the shape symbol. `cleared` is set for #ozkclear.
HostResult BuildNewRegion(MethodContext& call, HostSymbol shape, OwnedRegion& region,
                          bool& cleared) {
    const ScriptObject& object = call.Object();
    cleared = false;
    HostResult result = ResultSuccess;
    if (shape == object.Symbol(Sym::Current))
        return BuildCurrentShape(call, region);
    if (shape == object.Symbol(Sym::Clear)) {
        cleared = true;
        return ResultSuccess;
    }
    if (shape == object.Symbol(Sym::RoundRect) || shape == object.Symbol(Sym::Ellipse)) {
        if ((result = TooFew(call, kMinCorners)) != ResultSuccess)
            return result;
        return BuildRectShape(call, shape == object.Symbol(Sym::Ellipse), region);
    }
    if (shape == object.Symbol(Sym::Polygon) || shape == object.Symbol(Sym::PolySpline)) {
        if ((result = TooFew(call, kMinList)) != ResultSuccess)
            return result;
        return BuildPolygonShape(call, shape == object.Symbol(Sym::PolySpline), region);
    }
    if (shape == object.Symbol(Sym::Text)) {
        if ((result = TooFew(call, kMinText)) != ResultSuccess)
            return result;
        return BuildTextShape(call, region);
    }
    if (shape == object.Symbol(Sym::BitmapMask)) {
        if ((result = TooFew(call, kMinList)) != ResultSuccess)
            return result;
        return BuildBitmapMaskShape(call, region);
    }
    return call.Fail(ResultBadArgument, ErrParameterCount);
}

// Gives the stored shape (or none) to the window of WhichWin; the system owns it then.
HostResult GiveShapeToWindow(ScriptObject& object, MethodContext& call, bool clearFirst) {
    int32_t redraw = TRUE;
    if (int32_t given = 0; call.HasArg(1) && call.ReadInteger(1, given))
        redraw = given;
    int32_t kind = WindowKindDefault;
    HostSymbol which = 0;
    if (call.HasArg(2) && call.ReadSymbol(2, which)) {
        if (which == object.Symbol(Sym::Miaw))
            kind = WindowKindMovie;
        else if (which == object.Symbol(Sym::NetscapeGold))
            kind = WindowKindFrame;
    }
    HWND window = nullptr;
    if (!GetTargetWindow(call, kind, window))
        return call.Fail(ResultFailure, ErrNoFunction);

    if (clearFirst && object.storedShape) {
        DeleteObject(object.storedShape);
        object.storedShape = nullptr;
    }
    if (!SetWindowRgn(window, object.storedShape, redraw != 0))
        return call.Fail(ResultBadArgument, ErrNoRegion);
    object.storedShape = nullptr;
    return call.SucceedClearingError();
}

}  // namespace

HostResult OzkBuildShape(ScriptObject& object, MethodContext& call) {
    HostSymbol shape = 0;
    if (!call.ReadSymbol(1, shape))
        return call.Fail(ResultBadArgument, ErrParameterCount);
    OwnedRegion made;
    bool cleared = false;
    const HostResult result = BuildNewRegion(call, shape, made, cleared);
    if (result != ResultSuccess)
        return result;

    HostSymbol combine = 0;
    call.ReadSymbol(2, combine);
    if (cleared) {
        if (object.storedShape)
            DeleteObject(object.storedShape);
        object.storedShape = nullptr;
        return call.SucceedClearingError();
    }

    if (object.storedShape && combine != object.Symbol(Sym::Replace)) {
        // Combined into a fresh region, so that a failure leaves the stored shape as it was.
        OwnedRegion combined(CreateRectRgn(0, 0, 0, 0));
        if (!combined.Get() || CombineRgn(combined.Get(), object.storedShape, made.Get(),
                                          CombineMode(object, combine)) == ERROR)
            return call.Fail(ResultBadArgument, ErrNoRegion);
        DeleteObject(object.storedShape);
        object.storedShape = combined.Release();
    } else {
        if (object.storedShape)
            DeleteObject(object.storedShape);
        object.storedShape = made.Release();
    }
    return call.SucceedClearingError();
}

HostResult OzkSetWindowShape(ScriptObject& object, MethodContext& call) {
    return GiveShapeToWindow(object, call, false);
}

HostResult OzkClearWindow(ScriptObject& object, MethodContext& call) {
    return GiveShapeToWindow(object, call, true);
}

}  // namespace OZKPELLMOR
