// The warning sound's test button as the user sees it: its play symbol, enabled and disabled,
// read back from the pixels the button paints.
#include "tests/ui/EditorInput.h"
#include "tests/support/Seams.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ui/services/frmService.h"

using namespace uitest;

namespace {

// The symbol a button paints, inside its frame: the smallest box around every pixel that is
// not the button's face, how many pixels in that box are the face, and the box's middle pixel.
struct Symbol {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    int faceInside = 0;
    COLORREF middle = 0;
    int Area() const { return (right - left + 1) * (bottom - top + 1); }
};

Symbol PaintedSymbol(const forms::Control& button) {
    RECT client;
    GetClientRect(button.hwnd(), &client);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(button.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto pixel = [&](int x, int y) {
        const std::uint32_t p = static_cast<const std::uint32_t*>(bits)[y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    constexpr int kFrame = 4;  // border and focus rectangle
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Symbol s;
    for (int y = kFrame; y < height - kFrame; ++y) {
        for (int x = kFrame; x < width - kFrame; ++x) {
            if (pixel(x, y) != face) {
                s.left = std::min(s.left, x);
                s.top = std::min(s.top, y);
                s.right = std::max(s.right, x);
                s.bottom = std::max(s.bottom, y);
            }
        }
    }
    for (int y = s.top; y <= s.bottom; ++y)
        for (int x = s.left; x <= s.right; ++x)
            s.faceInside += pixel(x, y) == face ? 1 : 0;
    if (s.right >= 0)
        s.middle = pixel((s.left + s.right) / 2, (s.top + s.bottom) / 2);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
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
    {
        test_support::ScopedSeam hook(forms::SetModalHook, [&](forms::Form& form) {
            if (&form != &frmService::Get())
                return;
            shown = true;
            frmService& s = frmService::Get();
            s.TabStrip1.Select(4);
            Settle();
            ASSERT_FALSE(s.btnWarnPlay.Enabled()) << "warnings are off for a new service";
            const Symbol disabled = PaintedSymbol(s.btnWarnPlay);
            ASSERT_GT(disabled.Area(), 20) << "a symbol is drawn";
            EXPECT_GT(disabled.faceInside * 4, disabled.Area())
                << "the disabled symbol fills its box: a square, not a triangle";

            ClickOn(s.chkWarnings);
            if (SendMessageA(s.chkWarnSound.hwnd(), BM_GETCHECK, 0, 0) != BST_CHECKED)
                ClickOn(s.chkWarnSound);
            ASSERT_TRUE(s.btnWarnPlay.Enabled());
            const Symbol enabled = PaintedSymbol(s.btnWarnPlay);
            EXPECT_EQ(enabled.middle, RGB(0, 0, 0));
            EXPECT_GT(enabled.faceInside * 4, enabled.Area());
            EXPECT_LE(enabled.Area(), disabled.Area()) << "the greyed symbol is the same shape";
            ClickOn(s.btnCancel);
        });
        DUVMain::ServiceIsNew = true;
        frmService::ShowEditor([] { return 0; });
        Settle();
    }
    EXPECT_TRUE(shown);
}
