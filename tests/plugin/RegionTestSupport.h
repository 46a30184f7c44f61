// A script object on the stand-in host, with short ways to build shapes and read back the
// regions the windows got.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/plugin/StandInFixture.h"

namespace OZKPELLMOR::standin {

// A region handle deleted at the end of the scope.
class Rgn {
public:
    explicit Rgn(HRGN region = CreateRectRgn(0, 0, 0, 0)) : region_(region) {}
    ~Rgn() {
        if (region_)
            ::DeleteObject(region_);
    }
    Rgn(const Rgn&) = delete;
    Rgn& operator=(const Rgn&) = delete;
    Rgn(Rgn&& other) noexcept : region_(other.region_) { other.region_ = nullptr; }
    operator HRGN() const { return region_; }

private:
    HRGN region_;
};

class ShapeTest : public StandInTest {
protected:
    void SetUp() override {
        StandInTest::SetUp();
        if (HasFatalFailure())
            return;
        me = NewObject();
        ASSERT_NE(me, nullptr);
    }

    CallResult Build(const std::string& shape, const std::string& combine,
                     std::vector<HostValue> args = {}, ScriptInstance* object = nullptr) {
        std::vector<HostValue> all{host.Sym(shape), host.Sym(combine)};
        all.insert(all.end(), args.begin(), args.end());
        return host.Call(object ? object : me, "OzkBuildShape", all);
    }

    // The shape to the host's main window (the projector's default window).
    CallResult SetShape(ScriptInstance* object = nullptr) {
        return host.Call(object ? object : me, "OzkSetWindowShape");
    }

    int32_t LastError(ScriptInstance* object = nullptr) {
        return host.Call(object ? object : me, "OzkGetLastError").integer;
    }

    // The window's region; has() is false when the window has none.
    struct WindowRgn {
        Rgn region;
        bool has = false;
    };
    static WindowRgn RegionOf(HWND window) {
        WindowRgn read;
        read.has = GetWindowRgn(window, read.region) != ERROR;
        return read;
    }

    static HRGN PolygonRgn(const std::vector<POINT>& points, int mode = ALTERNATE) {
        return CreatePolygonRgn(points.data(), int(points.size()), mode);
    }

    // Same pixels, however the regions are cut into rectangles.
    static bool SameArea(HRGN a, HRGN b) {
        Rgn difference;
        return CombineRgn(difference, a, b, RGN_XOR) == NULLREGION;
    }

    static RECT Box(HRGN region) {
        RECT box{};
        GetRgnBox(region, &box);
        return box;
    }

    ScriptInstance* me = nullptr;
};

inline constexpr HostResult kTooFew = static_cast<HostResult>(0x800407E5);
inline constexpr HostResult kBadArgument = static_cast<HostResult>(0x800407EF);
inline constexpr HostResult kFailure = static_cast<HostResult>(0x800407D2);

}  // namespace OZKPELLMOR::standin
