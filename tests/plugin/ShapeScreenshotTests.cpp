// Pictures of shaped windows for the documentation. Runs only when DUV_SCREENSHOT_DIR names
// a folder; writes one bitmap file per picture there.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "tests/plugin/RegionTestSupport.h"
#include "tests/support/win32/Windows.h"

namespace OZKPELLMOR::standin {

namespace {

// Paints the movie window the way a movie might look: bands of colour and a caption line.
LRESULT CALLBACK PaintStage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
    if (message == WM_ERASEBKGND) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client{};
        GetClientRect(window, &client);
        for (int y = 0; y < client.bottom; y += 8) {
            const int shade = 40 + (y * 160) / (client.bottom ? client.bottom : 1);
            HBRUSH brush = CreateSolidBrush(RGB(20, shade / 2 + 40, shade + 60));
            RECT band{0, y, client.right, y + 8};
            FillRect(dc, &band, brush);
            DeleteObject(brush);
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, 150, 90, "Drag me by any point of the shape", 33);
        return 1;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK BackdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// A plain light backdrop behind the host window, so that the shape's edge shows.
HWND MakeBackdrop() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = BackdropProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = CreateSolidBrush(RGB(222, 222, 214));
        wc.lpszClassName = "OzkShotBackdrop";
        RegisterClassA(&wc);
        registered = true;
    }
    HWND backdrop = CreateWindowExA(0, "OzkShotBackdrop", "", WS_POPUP | WS_VISIBLE, 60, 60, 740,
                                    600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(backdrop);
    return backdrop;
}

void Settle() {
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(25);
    }
}

class ShapeScreenshot : public ShapeTest {
protected:
    void SetUp() override {
        const char* dir = std::getenv("DUV_SCREENSHOT_DIR");
        if (!dir || !*dir)
            GTEST_SKIP() << "DUV_SCREENSHOT_DIR not set";
        folder = dir;
        ShapeTest::SetUp();
        if (HasFatalFailure())
            return;
        backdrop = MakeBackdrop();
        SetWindowSubclass(host.StageWindowHandle(), PaintStage, 3, 0);
        SetWindowPos(host.MainWindow(), HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }

    void TearDown() override {
        if (folder.empty())
            return;
        RemoveWindowSubclass(host.StageWindowHandle(), PaintStage, 3);
        DestroyWindow(backdrop);
        ShapeTest::TearDown();
    }

    void Shoot(const char* name) {
        InvalidateRect(host.MainWindow(), nullptr, TRUE);
        RedrawWindow(host.MainWindow(), nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Settle();
        const RECT area{60, 60, 800, 660};
        EXPECT_TRUE(test_support::SaveScreenBitmap(area, folder + "/" + name));
    }

    std::string folder;
    HWND backdrop = nullptr;
};

TEST_F(ShapeScreenshot, EllipseWithRoundedTab) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 30), host.Point(600, 450)}).code, 0);
    ASSERT_EQ(Build("ozkroundrect", "ozkor",
                    {host.Point(200, 0), host.Point(460, 120), host.Int(60), host.Int(60)})
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    Shoot("plugin-ellipse-shape.bmp");
}

TEST_F(ShapeScreenshot, TextOutlineAndCurve) {
    ASSERT_EQ(Build("ozkpolyspline", "ozkreplace",
                    {host.List({host.Point(20, 200), host.Point(160, 40), host.Point(330, 150),
                                host.Point(480, 30), host.Point(630, 220), host.Point(470, 470),
                                host.Point(300, 360), host.Point(120, 480), host.Point(20, 200)})})
                  .code,
              0);
    ASSERT_EQ(Build("ozktext", "ozkdiff",
                    {host.Point(330, 220), host.Str("Duvelo"), host.Str("Tahoma"), host.Int(0),
                     host.Int(110), host.Int(1), host.Int(0), host.Sym("ozkcenter")})
                  .code,
              0);
    ASSERT_EQ(SetShape().code, 0);
    Shoot("plugin-curve-and-text-shape.bmp");
}

}  // namespace

}  // namespace OZKPELLMOR::standin
