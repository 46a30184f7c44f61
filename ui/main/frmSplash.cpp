#include "ui/main/frmSplash.h"

#include "core/AppInfo.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/Startup.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Pictures.h"
#include "ui/main/frmMain.h"

namespace {

forms::Form::Style SplashStyle() {
    forms::Form::Style style;
    style.style = WS_POPUP | WS_BORDER;
    style.exStyle = WS_EX_APPWINDOW;
    style.widthTwips = 6300;
    style.heightTwips = 3900;
    return style;
}

}  // namespace

frmSplash::frmSplash() : SingleForm("frmSplash", SplashStyle()) { keyPreview_ = true; }

void frmSplash::CreateControls() {
    // The labels lie on the picture: their rows come first. Places follow the picture's size
    // in Form_Load.
    // clang-format off
    forms::Declare<frmSplash>(*this, {
        // control     caption    place  tool tip  parent   look                                                             events
        {SplashLabel1, "",        {},    {},       nullptr, {.font = "Arial", .points = 9, .bold = true, .style = SS_CENTER}, {.click = &frmSplash::SplashLabel1_Click}},
        {LabelVersion, "Version", {},    {},       nullptr, {.font = "Arial", .points = 8, .bold = true, .style = SS_RIGHT}},
        {Picture1,     "",        {},    {},       nullptr, {},                                                              {.click = &frmSplash::Picture1_Click}},
    });
    // clang-format on
    Picture1.SetBitmap(Pictures::SplashPicture());
    SplashTimer1.Create(*this, 1000, false);
    SplashTimer1.Tick = [this] { SplashTimer1_Timer(); };
}

void frmSplash::Form_Load() {
    runtime::SetContext("frmSplash", "Form_Load");
    BITMAP picture = {};
    GetObjectA(Picture1.Bitmap(), sizeof(picture), &picture);
    int width = forms::PixelsToTwipsX(picture.bmWidth);
    int height = forms::PixelsToTwipsY(picture.bmHeight);
    runtime::Guard([&] { Picture1.Move(0, 0, width, height); });
    runtime::Guard([&] {
        // The window is exactly the picture's size (its border inside it).
        RECT r = {0, 0, picture.bmWidth, picture.bmHeight};
        AdjustWindowRectEx(&r, WS_POPUP | WS_BORDER, FALSE, WS_EX_APPWINDOW);
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        int w = r.right - r.left;
        int h = r.bottom - r.top;
        SetWindowPos(hwnd(), nullptr, (work.right - work.left - w) / 2,
                     (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    });
    const int labelWidth = width * 9 / 10;
    const int labelHeight = 300;
    runtime::Guard([&] {
        SplashLabel1.Move((width - labelWidth) / 2, (height - labelHeight) / 2 + 900, labelWidth,
                          labelHeight);
    });
    const int versionWidth = 1500;
    const int versionHeight = 255;
    runtime::Guard([&] {
        LabelVersion.Move(static_cast<int>((width - versionWidth) * 0.89),
                          static_cast<int>((height - versionHeight) * 0.89), versionWidth,
                          versionHeight);
    });
    Show();
    LabelVersion.SetText("Version " + std::to_string(AppInfo::Major) + "." +
                         std::to_string(AppInfo::Minor));
    forms::PumpMessages();
    runtime::Guard([] { DUVMain::Main(); });
}

void frmSplash::SplashTimer1_Timer() { SplashLabel1.SetVisible(!SplashLabel1.Visible()); }

void frmSplash::Form_KeyPress(int) { ContinueToMain(); }

void frmSplash::ContinueToMain() {
    if (!DUVMain::SplashWaitForClick) {
        return;
    }
    SplashTimer1.SetEnabled(false);
    frmMain::Get().Show();
    Unload();
    frmMain::Get().SetEnabled(true);
}

void frmSplash::Form_Unload(bool&) {
    SplashTimer1.SetEnabled(false);
    pictureBrush_.Reset();
    // Closed while waiting for a click, with no main window: the program ends.
    if (!frmMain::IfLoaded()) {
        PostQuitMessage(0);
    }
}

bool frmSplash::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC) {
        return false;
    }
    HWND label = reinterpret_cast<HWND>(lp);
    if (label != SplashLabel1.hwnd() && label != LabelVersion.hwnd()) {
        return false;
    }
    if (!pictureBrush_ && Picture1.Bitmap()) {
        pictureBrush_.Reset(CreatePatternBrush(Picture1.Bitmap()));
    }
    // The labels show the picture behind them: the brush is the picture, aligned to it.
    HDC dc = reinterpret_cast<HDC>(wp);
    POINT origin = {0, 0};
    MapWindowPoints(label, hwnd(), &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    result =
        reinterpret_cast<LRESULT>(pictureBrush_ ? pictureBrush_.Get() : GetStockObject(NULL_BRUSH));
    return true;
}
