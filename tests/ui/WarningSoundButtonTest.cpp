// The warning sound's test button as the user sees it: its play symbol, enabled and disabled,
// read back from the pixels the button paints.
#include "tests/ui/EditorInput.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ui/services/frmService.h"

using namespace uitest;

namespace {

// The button painted into a bitmap of its own: one COLORREF per pixel, row by row.
struct Painted {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Painted Paint(const forms::Control& button) {
    Painted out;
    RECT client;
    GetClientRect(button.hwnd(), &client);
    out.width = client.right;
    out.height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = out.width;
    info.bmiHeader.biHeight = -out.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(button.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* bgrx = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < out.width * out.height; ++i) {
        const std::uint32_t p = bgrx[i];
        out.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return out;
}

// Inside the button's frame: the smallest box around every pixel that is not the button's
// face, and how many pixels in that box are the face.
struct Symbol {
    int left = 0, top = 0, right = -1, bottom = -1;
    int faceInside = 0;
    int Area() const { return (right - left + 1) * (bottom - top + 1); }
};

Symbol FindSymbol(const Painted& p) {
    constexpr int kFrame = 4;  // border and focus rectangle
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Symbol s{p.width, p.height, -1, -1, 0};
    for (int y = kFrame; y < p.height - kFrame; ++y) {
        for (int x = kFrame; x < p.width - kFrame; ++x) {
            if (p.At(x, y) == face)
                continue;
            s.left = std::min(s.left, x);
            s.top = std::min(s.top, y);
            s.right = std::max(s.right, x);
            s.bottom = std::max(s.bottom, y);
        }
    }
    for (int y = s.top; y <= s.bottom; ++y)
        for (int x = s.left; x <= s.right; ++x)
            s.faceInside += p.At(x, y) == face ? 1 : 0;
    return s;
}

class WarningSoundButton : public ProgramTest {};

}  // namespace

// Enabled, the button shows a black triangle; disabled, a greyed triangle of the same shape,
// not a grey square: much of the box around the symbol stays the button's face.
TEST_F(WarningSoundButton, DisabledPlayButtonShowsAGreyedTriangleNotASquare) {
    WriteLog(LogLine(12, 1, 2026, 9, 0, 0, "Recv: ATDT0123") + "\r\n");
    StartProgram();
    bool shown = false;
    auto previous = forms::SetModalHook([&](forms::Form& form) {
        if (&form != &frmService::Get())
            return;
        shown = true;
        frmService& s = frmService::Get();
        s.TabStrip1.Select(4);
        Settle();
        ASSERT_FALSE(s.btnWarnPlay.Enabled()) << "warnings are off for a new service";
        const Symbol disabled = FindSymbol(Paint(s.btnWarnPlay));
        ASSERT_GT(disabled.Area(), 20) << "a symbol is drawn";
        EXPECT_GT(disabled.faceInside * 4, disabled.Area())
            << "the disabled symbol fills its box: a square, not a triangle";

        ClickOn(s.chkWarnings);
        if (SendMessageA(s.chkWarnSound.hwnd(), BM_GETCHECK, 0, 0) != BST_CHECKED)
            ClickOn(s.chkWarnSound);
        ASSERT_TRUE(s.btnWarnPlay.Enabled());
        const Painted enabledPixels = Paint(s.btnWarnPlay);
        const Symbol enabled = FindSymbol(enabledPixels);
        EXPECT_EQ(enabledPixels.At((enabled.left + enabled.right) / 2,
                                   (enabled.top + enabled.bottom) / 2),
                  RGB(0, 0, 0));
        EXPECT_GT(enabled.faceInside * 4, enabled.Area());
        EXPECT_LE(enabled.Area(), disabled.Area()) << "the greyed symbol is the same shape";
        ClickOn(s.btnCancel);
    });
    DUVMain::ServiceIsNew = true;
    frmService::ShowEditor([] { return 0; });
    Settle();
    forms::SetModalHook(previous);
    EXPECT_TRUE(shown);
}
