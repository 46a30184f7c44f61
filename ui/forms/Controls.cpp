#include "ui/forms/Controls.h"

#include <map>
#include <utility>

namespace forms {
namespace {

// Tool tips: one tool-tip window per form window.
std::map<HWND, HWND> g_toolTips;

HWND ToolTipFor(HWND formWindow) {
    auto it = g_toolTips.find(formWindow);
    if (it != g_toolTips.end() && IsWindow(it->second)) {
        return it->second;
    }
    HWND tip =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, formWindow, nullptr, AppInstance(), nullptr);
    g_toolTips[formWindow] = tip;
    return tip;
}

}  // namespace

int ShiftState() {
    int state = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        state |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        state |= 2;
    if (GetKeyState(VK_MENU) < 0)
        state |= 4;
    return state;
}

// ---- Control ------------------------------------------------------------------------------

Control::~Control() {
    if (form_) {
        form_->Unregister(this);
    }
}

void Control::CreateChild(Form& form, int id, const char* className, const std::string& text,
                          DWORD style, DWORD exStyle, HWND parent) {
    form_ = &form;
    id_ = id;
    form.Load();
    hwnd_ = CreateWindowExA(
        exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 10,
        10, parent ? parent : form.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        AppInstance(), nullptr);
    form.Register(this);
    if (hwnd_) {
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
        SetWindowSubclass(hwnd_, &Control::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
        if (font_) {
            font_.Reset();
            SetFont(fontFace_, fontSize_, fontBold_, fontItalic_);
        }
    }
}

void Control::Raise(const std::function<void()>& event) const {
    if (event) {
        event();
    }
}

void Control::PreviewKeyPress(int ascii) const {
    if (form_ && form_->keyPreview_) {
        form_->Form_KeyPress(ascii);
    }
}

void Control::SetEnabled(bool enabled) {
    if (hwnd_) {
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
}

bool Control::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Control::SetVisible(bool visible) {
    if (hwnd_) {
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    }
}

bool Control::Visible() const {
    return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetText(const std::string& text) {
    if (!hwnd_) {
        return;
    }
    suppress_ = true;
    SetWindowTextA(hwnd_, text.c_str());
    suppress_ = false;
}

std::string Control::Text() const {
    if (!hwnd_) {
        return {};
    }
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Control::Move(int left, int top, int width, int height) {
    if (hwnd_) {
        MoveWindow(hwnd_, TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                   TwipsToPixelsY(height), TRUE);
    }
}

namespace {
RECT ChildRect(HWND hwnd) {
    RECT r = {};
    if (hwnd) {
        GetWindowRect(hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}
}  // namespace

int Control::Left() const { return PixelsToTwipsX(ChildRect(hwnd_).left); }
int Control::Top() const { return PixelsToTwipsY(ChildRect(hwnd_).top); }
int Control::Width() const {
    RECT r = ChildRect(hwnd_);
    return PixelsToTwipsX(r.right - r.left);
}
int Control::Height() const {
    RECT r = ChildRect(hwnd_);
    return PixelsToTwipsY(r.bottom - r.top);
}

void Control::SetFocus() {
    if (hwnd_) {
        ::SetFocus(hwnd_);
    }
}

bool Control::HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

void Control::RefocusLater() {
    if (form_ && form_->hwnd() &&
        PostMessageA(form_->hwnd(), WM_FORM_REFOCUS, static_cast<WPARAM>(id_), 0)) {
        ++form_->refocusing_;
    }
}

void Control::SetToolTip(const std::string& text) {
    if (!hwnd_ || !form_ || !form_->hwnd()) {
        return;
    }
    HWND tip = ToolTipFor(form_->hwnd());
    TTTOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = form_->hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    info.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    if (!text.empty()) {
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void Control::SetFont(const std::string& face, int pointSize, bool bold, bool italic) {
    fontFace_ = face;
    fontSize_ = pointSize;
    fontBold_ = bold;
    fontItalic_ = italic;
    if (!hwnd_) {
        return;
    }
    int height = -MulDiv(pointSize, GetDeviceCaps(WindowDC(hwnd_).Get(), LOGPIXELSY), 72);
    OwnedFont font(CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str()));
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    font_ = std::move(font);  // the one the control had is deleted now that it is not used
}

void Control::SetBold(bool bold) {
    if (fontFace_.empty()) {
        LOGFONTA lf = {};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        fontFace_ = lf.lfFaceName;
        fontSize_ = 8;
    }
    SetFont(fontFace_, fontSize_, bold, fontItalic_);
}

void Control::SetForeColor(COLORREF colour) {
    if (colour == foreColor_)
        return;
    foreColor_ = colour;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Control::OnControlMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &Control::SubclassProc, 1);
        const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
        self->OnNativeDestroyed();
        return result;
    }
    LRESULT result = 0;
    bool answered = false;
    RunGuarded([&] { answered = self->RaiseEvents(msg, wp, lp, result); });
    return answered ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

bool Control::RaiseEvents(UINT msg, WPARAM& wp, LPARAM lp, LRESULT& result) {
    if (OnControlMessage(msg, wp, lp, result)) {
        return true;
    }
    switch (msg) {
    case WM_SETFOCUS:
        // After the dialog navigation has done its own part.
        if (form_ && form_->hwnd()) {
            PostMessageA(form_->hwnd(), WM_FORM_DEFAULT_LOOK, 0, 0);
        }
        Raise(GotFocus);
        break;
    case WM_KILLFOCUS: {
        // Focus leaving for a window of another program, or a message box, is not a
        // change of control; a refused entry takes the focus back by posting.
        HWND next = reinterpret_cast<HWND>(wp);
        if (next && form_ && GetAncestor(next, GA_ROOT) == form_->hwnd()) {
            form_->ControlLeft(*this, next);
        }
        break;
    }
    case WM_KEYDOWN:
        if (form_ && form_->keyPreview_) {
            form_->Form_KeyDown(static_cast<int>(wp), ShiftState());
        }
        if (KeyDown) {
            KeyDown(static_cast<int>(wp), ShiftState());
        }
        break;
    case WM_CHAR: {
        int ascii = static_cast<int>(wp);
        PreviewKeyPress(ascii);
        if (KeyPress) {
            KeyPress(ascii);
            if (ascii == 0) {
                result = 0;
                return true;
            }
            wp = static_cast<WPARAM>(ascii);
        }
        break;
    }
    case WM_LBUTTONDBLCLK:
        Raise(DblClick);
        break;
    case WM_MOUSEMOVE:
        if (MouseMove) {
            MouseMove((wp & MK_LBUTTON) ? 1 : 0, ShiftState(),
                      PixelsToTwipsX(static_cast<short>(LOWORD(lp))),
                      PixelsToTwipsY(static_cast<short>(HIWORD(lp))));
        }
        break;
    default:
        break;
    }
    return false;
}

void Control::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                             HWND parent) {
    CreateChild(form, id, "STATIC", caption, style, 0, parent);
}

}  // namespace forms
