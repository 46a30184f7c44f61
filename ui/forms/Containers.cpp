// Frames (containers of controls) and picture boxes.
#include "ui/forms/Controls.h"

namespace forms {

namespace {

// A frame is a container: it draws an etched border with its caption and passes its
// children's notifications on to the form.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        {
            RECT r;
            GetClientRect(hwnd, &r);
            Selection font(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            r.top += tm.tmHeight / 2;
            DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
            char caption[256] = {};
            GetWindowTextA(hwnd, caption, sizeof(caption));
            if (caption[0]) {
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                TextOutA(dc, 8, 0, caption, lstrlenA(caption));
            }
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETFONT:
        SetPropA(hwnd, "DuveloFont", reinterpret_cast<HANDLE>(wp));
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetPropA(hwnd, "DuveloFont"));
    case WM_NCDESTROY:
        RemovePropA(hwnd, "DuveloFont");
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

const char* FrameClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &FrameProc;
        wc.hInstance = AppInstance();
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "DuveloFrame";
        RegisterClassExA(&wc);
        registered = true;
    }
    return "DuveloFrame";
}

}  // namespace

void Frame::CreateDeclared(Form& form, int id, const std::string& caption, DWORD, HWND parent) {
    CreateChild(form, id, FrameClass(), caption, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent);
}

void PictureBox::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    CreateChild(form, id, "STATIC", "", SS_NOTIFY | SS_OWNERDRAW, 0, parent);
}

void PictureBox::SetBitmap(HBITMAP bitmap) {
    bitmap_.Reset(bitmap);
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::OnCommand(int code) {
    if (code == STN_CLICKED) {
        Raise(Click);
    } else if (code == STN_DBLCLK) {
        Raise(DblClick);
    }
}

bool PictureBox::OnControlMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_PAINT)
        return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (bitmap_) {
        OwnedDC memory(CreateCompatibleDC(dc));
        Selection picture(memory.Get(), bitmap_.Get());
        BITMAP info = {};
        GetObjectA(bitmap_.Get(), sizeof(info), &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd(), &ps);
    result = 0;
    return true;
}

}  // namespace forms
