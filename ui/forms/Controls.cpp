#include "ui/forms/Controls.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace forms {
namespace {

// Tool tips: one tool-tip window per form window.
std::map<HWND, HWND> g_toolTips;

HWND ToolTipFor(HWND formWindow) {
    auto it = g_toolTips.find(formWindow);
    if (it != g_toolTips.end() && IsWindow(it->second)) {
        return it->second;
    }
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, formWindow, nullptr,
                               AppInstance(), nullptr);
    g_toolTips[formWindow] = tip;
    return tip;
}

std::map<HMENU, std::vector<MenuItem*>>& MenuSiblings() {
    static std::map<HMENU, std::vector<MenuItem*>> siblings;
    return siblings;
}

// Day counts (from 30 December 1899) to and from SYSTEMTIME.
SYSTEMTIME DayToSystemTime(double day) {
    // Civil date from days counted from 1970-01-01 (day 25569).
    long days = static_cast<long>(day) - 25569;
    long z = days + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long d = doy - (153 * mp + 2) / 5 + 1;
    long m = mp < 10 ? mp + 3 : mp - 9;
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(y + (m <= 2 ? 1 : 0));
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    st.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    return st;
}

double SystemTimeToDay(const SYSTEMTIME& st) {
    long y = st.wYear;
    long m = st.wMonth;
    long d = st.wDay;
    y -= m <= 2 ? 1 : 0;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long days = era * 146097 + doe - 719468;
    return static_cast<double>(days + 25569);
}

}  // namespace

int ShiftState() {
    int state = 0;
    if (GetKeyState(VK_SHIFT) < 0) state |= 1;
    if (GetKeyState(VK_CONTROL) < 0) state |= 2;
    if (GetKeyState(VK_MENU) < 0) state |= 4;
    return state;
}

// ---- Control ------------------------------------------------------------------------------

Control::~Control() {
    if (form_) {
        form_->Unregister(this);
    }
    if (font_) {
        DeleteObject(font_);
    }
}

void Control::CreateChild(Form& form, int id, const char* className, const std::string& text,
                          DWORD style, DWORD exStyle, HWND parent) {
    form_ = &form;
    id_ = id;
    form.Load();
    hwnd_ = CreateWindowExA(exStyle, className, text.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0,
                            10, 10, parent ? parent : form.hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance(),
                            nullptr);
    form.Register(this);
    if (hwnd_) {
        SendMessageA(hwnd_, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        SetWindowSubclass(hwnd_, &Control::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
        if (font_) {
            DeleteObject(font_);
            font_ = nullptr;
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
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
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
    if (form_ && form_->hwnd()) {
        PostMessageA(form_->hwnd(), WM_FORM_REFOCUS, static_cast<WPARAM>(id_), 0);
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
    HDC dc = GetDC(hwnd_);
    int height = -MulDiv(pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(hwnd_, dc);
    HFONT font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (font_) {
        DeleteObject(font_);
    }
    font_ = font;
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

bool Control::OnControlMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    LRESULT result = 0;
    try {
        if (self->OnControlMessage(msg, wp, lp, result)) {
            return result;
        }
        switch (msg) {
        case WM_SETFOCUS:
            self->Raise(self->GotFocus);
            break;
        case WM_KILLFOCUS: {
            // Focus leaving for a window of another program, or a message box, is not a
            // change of control; a refused entry takes the focus back by posting.
            HWND next = reinterpret_cast<HWND>(wp);
            if (next && self->form_ && GetAncestor(next, GA_ROOT) == self->form_->hwnd()) {
                self->Raise(self->LostFocus);
            }
            break;
        }
        case WM_KEYDOWN:
            if (self->form_ && self->form_->keyPreview_) {
                self->form_->Form_KeyDown(static_cast<int>(wp), ShiftState());
            }
            if (self->KeyDown) {
                self->KeyDown(static_cast<int>(wp), ShiftState());
            }
            break;
        case WM_CHAR: {
            int ascii = static_cast<int>(wp);
            self->PreviewKeyPress(ascii);
            if (self->KeyPress) {
                self->KeyPress(ascii);
                if (ascii == 0) {
                    return 0;
                }
                wp = static_cast<WPARAM>(ascii);
            }
            break;
        }
        case WM_LBUTTONDBLCLK:
            self->Raise(self->DblClick);
            break;
        case WM_MOUSEMOVE:
            if (self->MouseMove) {
                self->MouseMove((wp & MK_LBUTTON) ? 1 : 0, ShiftState(),
                                PixelsToTwipsX(static_cast<short>(LOWORD(lp))),
                                PixelsToTwipsY(static_cast<short>(HIWORD(lp))));
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &Control::SubclassProc, 1);
            break;
        default:
            break;
        }
    } catch (...) {
        // Event procedures report their own errors; nothing may unwind through the system.
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

// ---- Label, Button, CheckBox, OptionButton -------------------------------------------------

void Label::Create(Form& form, int id, const std::string& caption, DWORD align, HWND parent) {
    CreateChild(form, id, "STATIC", caption, align | SS_NOTIFY | SS_NOPREFIX, 0, parent);
}

void Label::OnCommand(int code) {
    if (code == STN_CLICKED) {
        Raise(Click);
    } else if (code == STN_DBLCLK) {
        Raise(DblClick);
    }
}

void Button::Create(Form& form, int id, const std::string& caption, bool isDefault,
                    HWND parent) {
    CreateChild(form, id, "BUTTON", caption,
                WS_TABSTOP | BS_NOTIFY | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
                parent);
}

void Button::PerformClick() {
    if (Enabled()) {
        Raise(Click);
    }
}

void Button::OnCommand(int code) {
    if (code == BN_CLICKED) {
        Raise(Click);
    }
}

void CheckBox::Create(Form& form, int id, const std::string& caption, HWND parent) {
    CreateChild(form, id, "BUTTON", caption, WS_TABSTOP | BS_3STATE | BS_NOTIFY, 0, parent);
}

int CheckBox::Value() const {
    LRESULT state = hwnd() ? SendMessageA(hwnd(), BM_GETCHECK, 0, 0) : 0;
    return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

void CheckBox::SetValue(int value) {
    if (!hwnd() || Value() == value) {
        return;
    }
    SendMessageA(hwnd(), BM_SETCHECK,
                 value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
    Raise(Click);
}

void CheckBox::OnCommand(int code) {
    if (code == BN_CLICKED) {
        // A three-state box cycles through grayed; the user toggles between 0 and 1.
        SendMessageA(hwnd(), BM_SETCHECK, Value() == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
        Raise(Click);
    }
}

void OptionButton::Create(Form& form, int id, const std::string& caption, bool firstInGroup,
                          HWND parent) {
    CreateChild(form, id, "BUTTON", caption,
                BS_RADIOBUTTON | BS_NOTIFY | (firstInGroup ? (WS_GROUP | WS_TABSTOP) : 0), 0,
                parent);
}

bool OptionButton::Value() const {
    return hwnd() && SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::SetValue(bool value) {
    if (!hwnd() || Value() == value) {
        return;
    }
    if (value) {
        // Clear the other buttons of the group.
        HWND parent = GetParent(hwnd());
        HWND first = hwnd();
        while (first && !(GetWindowLongPtrA(first, GWL_STYLE) & WS_GROUP)) {
            HWND prev = GetWindow(first, GW_HWNDPREV);
            if (!prev) break;
            first = prev;
        }
        for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w != first && (GetWindowLongPtrA(w, GWL_STYLE) & WS_GROUP)) break;
            if (w != hwnd() && GetParent(w) == parent) {
                SendMessageA(w, BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
    }
    SendMessageA(hwnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value) {
        Raise(Click);
    }
}

void OptionButton::OnCommand(int code) {
    if (code == BN_CLICKED && !Value()) {
        SetValue(true);
    }
}

// ---- TextBox and MaskedEdit ---------------------------------------------------------------

void TextBox::Create(Form& form, int id, const std::string& text, DWORD extraStyle,
                     HWND parent) {
    CreateChild(form, id, "EDIT", text, WS_TABSTOP | ES_AUTOHSCROLL | extraStyle,
                WS_EX_CLIENTEDGE, parent);
}

void TextBox::SetText(const std::string& text) {
    if (!hwnd() || Text() == text) {
        return;
    }
    Control::SetText(text);
    Raise(Change);
}

void TextBox::SetLocked(bool locked) {
    if (hwnd()) {
        SendMessageA(hwnd(), EM_SETREADONLY, locked ? TRUE : FALSE, 0);
    }
}

void TextBox::SetMaxLength(int length) {
    if (hwnd()) {
        SendMessageA(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
    }
}

int TextBox::SelStart() const {
    DWORD start = 0;
    if (hwnd()) SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TextBox::SetSelStart(int start) {
    if (hwnd()) SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), start);
}

int TextBox::SelLength() const {
    DWORD start = 0, end = 0;
    if (hwnd()) {
        SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    }
    return static_cast<int>(end - start);
}

void TextBox::SetSelLength(int length) {
    int start = SelStart();
    if (hwnd()) SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

std::string TextBox::SelText() const {
    std::string text = Text();
    size_t start = std::min(text.size(), static_cast<size_t>(SelStart()));
    return text.substr(start, static_cast<size_t>(SelLength()));
}

void TextBox::OnCommand(int code) {
    if (code == EN_CHANGE && !suppress_) {
        Raise(Change);
    }
}

void MaskedEdit::Create(Form& form, int id, const std::string& mask, HWND parent) {
    mask_ = mask;
    TextBox::Create(form, id, Conform(""), 0, parent);
    SetMaxLength(static_cast<int>(mask_.size()));
}

void MaskedEdit::SetMask(const std::string& mask) {
    std::string clip = ClipText();
    mask_ = mask;
    Control::SetText(Conform(""));
    SetMaxLength(static_cast<int>(mask_.size()));
    (void)clip;
}

bool MaskedEdit::IsPlace(size_t pos) const {
    if (pos >= mask_.size()) return false;
    char m = mask_[pos];
    return m == '#' || m == 'A' || m == '?' || m == '9' || m == 'a';
}

bool MaskedEdit::Accepts(size_t pos, char c) const {
    unsigned char u = static_cast<unsigned char>(c);
    switch (mask_[pos]) {
    case '#':
    case '9':
        return std::isdigit(u) != 0;
    case 'A':
    case 'a':
        return std::isalnum(u) != 0;
    case '?':
        return std::isalpha(u) != 0;
    default:
        return false;
    }
}

std::string MaskedEdit::Conform(const std::string& text) const {
    std::string out;
    size_t src = 0;
    for (size_t pos = 0; pos < mask_.size(); ++pos) {
        if (!IsPlace(pos)) {
            out += mask_[pos];
            if (src < text.size() && text[src] == mask_[pos]) ++src;
            continue;
        }
        if (src < text.size() && Accepts(pos, text[src])) {
            out += text[src++];
        } else {
            if (src < text.size() && text[src] == prompt_) ++src;
            out += prompt_;
        }
    }
    return out;
}

void MaskedEdit::SetText(const std::string& text) {
    if (mask_.empty()) {
        TextBox::SetText(text);
        return;
    }
    TextBox::SetText(Conform(text));
}

std::string MaskedEdit::ClipText() const {
    std::string text = Text();
    std::string out;
    for (size_t pos = 0; pos < text.size() && pos < mask_.size(); ++pos) {
        if (IsPlace(pos) && text[pos] != prompt_) out += text[pos];
    }
    return out;
}

void MaskedEdit::TypeChar(char c) {
    std::string text = Text();
    if (text.size() != mask_.size()) text = Conform(text);
    size_t pos = static_cast<size_t>(SelStart());
    while (pos < mask_.size() && !IsPlace(pos)) {
        if (mask_[pos] == c) {  // typing the literal moves past it
            SetSelStart(static_cast<int>(pos + 1));
            return;
        }
        ++pos;
    }
    if (pos >= mask_.size() || !Accepts(pos, c)) {
        MessageBeep(MB_OK);
        return;
    }
    text[pos] = c;
    ++pos;
    while (pos < mask_.size() && !IsPlace(pos)) ++pos;
    Control::SetText(text);
    SetSelStart(static_cast<int>(pos));
    Raise(Change);
}

void MaskedEdit::Erase(bool backwards) {
    std::string text = Text();
    if (text.size() != mask_.size()) text = Conform(text);
    int start = SelStart();
    int length = SelLength();
    if (length == 0) {
        if (backwards) {
            if (start == 0) return;
            --start;
            while (start > 0 && !IsPlace(static_cast<size_t>(start))) --start;
        }
        length = 1;
    }
    for (int i = start; i < start + length && i < static_cast<int>(mask_.size()); ++i) {
        if (IsPlace(static_cast<size_t>(i))) text[static_cast<size_t>(i)] = prompt_;
    }
    Control::SetText(text);
    SetSelStart(start);
    Raise(Change);
}

bool MaskedEdit::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (mask_.empty()) {
        return false;
    }
    switch (msg) {
    case WM_CHAR: {
        int ascii = static_cast<int>(wp);
        PreviewKeyPress(ascii);
        if (KeyPress) KeyPress(ascii);
        if (ascii == 0 || ascii == '\t' || ascii == '\r' || ascii == 27) return ascii == 0;
        if (ascii == '\b') {
            Erase(true);
        } else if (ascii >= 32) {
            if (SelLength() > 0) {
                int start = SelStart();
                Erase(false);
                SetSelStart(start);
            }
            TypeChar(static_cast<char>(ascii));
        }
        result = 0;
        return true;
    }
    case WM_KEYDOWN:
        if (wp == VK_DELETE) {
            if (KeyDown) KeyDown(static_cast<int>(wp), ShiftState());
            Erase(false);
            result = 0;
            return true;
        }
        return false;
    case WM_PASTE: {
        std::string paste;
        if (OpenClipboard(hwnd())) {
            if (HANDLE data = GetClipboardData(CF_TEXT)) {
                if (auto* chars = static_cast<const char*>(GlobalLock(data))) {
                    paste = chars;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        for (char c : paste) TypeChar(c);
        result = 0;
        return true;
    }
    case WM_CUT:
    case WM_CLEAR:
        Erase(false);
        result = 0;
        return true;
    default:
        (void)lp;
        return false;
    }
}

// ---- Lists --------------------------------------------------------------------------------

void ComboBox::Create(Form& form, int id, bool dropDownList, HWND parent) {
    CreateChild(form, id, "COMBOBOX", "",
                WS_TABSTOP | WS_VSCROLL | (dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN), 0,
                parent);
}

void ComboBox::AddItem(const std::string& text) {
    if (hwnd()) SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::Clear() {
    if (hwnd()) SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
}

int ComboBox::ListCount() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0)) : 0;
}

std::string ComboBox::List(int index) const {
    if (!hwnd() || index < 0 || index >= ListCount()) return {};
    std::string text(static_cast<size_t>(SendMessageA(hwnd(), CB_GETLBTEXTLEN, index, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(hwnd(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

int ComboBox::ListIndex() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0)) : -1;
}

void ComboBox::SetListIndex(int index) {
    if (!hwnd() || ListIndex() == index) return;
    SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Raise(Click);
}

void ComboBox::OnCommand(int code) {
    if (code == CBN_SELCHANGE) {
        Raise(Click);
    } else if (code == CBN_EDITCHANGE && !suppress_) {
        Raise(Change);
    } else if (code == CBN_DBLCLK) {
        Raise(DblClick);
    }
}

void ListBox::Create(Form& form, int id, HWND parent) {
    CreateChild(form, id, "LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE, parent);
}

void ListBox::AddItem(const std::string& text, int index) {
    if (hwnd()) {
        SendMessageA(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void ListBox::RemoveItem(int index) {
    if (hwnd()) SendMessageA(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::Clear() {
    if (hwnd()) SendMessageA(hwnd(), LB_RESETCONTENT, 0, 0);
}

int ListBox::ListCount() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), LB_GETCOUNT, 0, 0)) : 0;
}

std::string ListBox::List(int index) const {
    if (!hwnd() || index < 0 || index >= ListCount()) return {};
    std::string text(static_cast<size_t>(SendMessageA(hwnd(), LB_GETTEXTLEN, index, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(hwnd(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

int ListBox::ListIndex() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetListIndex(int index) {
    if (!hwnd() || ListIndex() == index) return;
    SendMessageA(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Raise(Click);
}

void ListBox::OnCommand(int code) {
    if (code == LBN_SELCHANGE) {
        Raise(Click);
    } else if (code == LBN_DBLCLK) {
        Raise(DblClick);
    }
}

// ---- Frame, PictureBox, ProgressBar, StatusBar ---------------------------------------------

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
        RECT r;
        GetClientRect(hwnd, &r);
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
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
        SelectObject(dc, oldFont);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETFONT:
        SetPropA(hwnd, "DuveloFont", reinterpret_cast<HANDLE>(wp));
        if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
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

void Frame::Create(Form& form, int id, const std::string& caption, HWND parent) {
    CreateChild(form, id, FrameClass(), caption, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent);
}

void PictureBox::Create(Form& form, int id, HWND parent) {
    CreateChild(form, id, "STATIC", "", SS_NOTIFY | SS_OWNERDRAW, 0, parent);
}

PictureBox::~PictureBox() {
    if (bitmap_) DeleteObject(bitmap_);
}

void PictureBox::SetBitmap(HBITMAP bitmap) {
    if (bitmap_ && bitmap_ != bitmap) DeleteObject(bitmap_);
    bitmap_ = bitmap;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureBox::OnCommand(int code) {
    if (code == STN_CLICKED) {
        Raise(Click);
    } else if (code == STN_DBLCLK) {
        Raise(DblClick);
    }
}

bool PictureBox::OnControlMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (bitmap_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap_);
        BITMAP info = {};
        GetObjectA(bitmap_, sizeof(info), &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(hwnd(), &ps);
    result = 0;
    return true;
}

void ProgressBar::Create(Form& form, int id, HWND parent) {
    CreateChild(form, id, PROGRESS_CLASSA, "", WS_CLIPSIBLINGS, 0, parent);
}

void ProgressBar::SetMax(int max) {
    if (hwnd()) SendMessageA(hwnd(), PBM_SETRANGE32, 0, max);
}

void ProgressBar::SetValue(int value) {
    if (hwnd()) SendMessageA(hwnd(), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

int ProgressBar::Value() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), PBM_GETPOS, 0, 0)) : 0;
}

int ProgressBar::Max() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), PBM_GETRANGE, FALSE, 0)) : 0;
}

void StatusBar::Create(Form& form, int id) {
    CreateChild(form, id, STATUSCLASSNAMEA, "", SBARS_SIZEGRIP | WS_CLIPSIBLINGS);
    SendMessageA(hwnd(), SB_SIMPLE, TRUE, 0);
}

void StatusBar::SetSimpleText(const std::string& text) {
    simpleText_ = text;
    if (hwnd()) {
        SendMessageA(hwnd(), SB_SIMPLE, TRUE, 0);
        SendMessageA(hwnd(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void StatusBar::SetPanels(const std::vector<int>& rightEdgesTwips) {
    if (!hwnd()) return;
    std::vector<int> edges;
    for (int edge : rightEdgesTwips) edges.push_back(edge < 0 ? -1 : TwipsToPixelsX(edge));
    SendMessageA(hwnd(), SB_SIMPLE, FALSE, 0);
    SendMessageA(hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetPanelText(int panel, const std::string& text) {
    if (hwnd()) {
        SendMessageA(hwnd(), SB_SETTEXTA, static_cast<WPARAM>(panel),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
}

std::string StatusBar::PanelText(int panel) const {
    if (!hwnd()) return {};
    LRESULT length = LOWORD(SendMessageA(hwnd(), SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(hwnd(), SB_GETTEXTA, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void StatusBar::Reposition() {
    if (hwnd()) SendMessageA(hwnd(), WM_SIZE, 0, 0);
}

// ---- UpDown, MonthCalendar ------------------------------------------------------------------

void UpDown::Create(Form& form, int id, HWND parent) {
    CreateChild(form, id, UPDOWN_CLASSA, "", UDS_ARROWKEYS, 0, parent);
    SendMessageA(hwnd(), UDM_SETRANGE32, 0, 100);
    SendMessageA(hwnd(), UDM_SETPOS32, 0, 50);
}

bool UpDown::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code != UDN_DELTAPOS) return false;
    auto* change = reinterpret_cast<NMUPDOWN*>(header);
    if (Spin && change->iDelta != 0) Spin(change->iDelta > 0 ? 1 : -1);
    result = 1;  // keep the position: the control only reports presses
    return true;
}

void MonthCalendar::Create(Form& form, int id, HWND parent) {
    CreateChild(form, id, MONTHCAL_CLASSA, "", WS_TABSTOP, 0, parent);
    RECT fit = {};
    if (hwnd() && MonthCal_GetMinReqRect(hwnd(), &fit)) {
        SetWindowPos(hwnd(), nullptr, 0, 0, fit.right, fit.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
}

double MonthCalendar::Value() const {
    SYSTEMTIME st = {};
    if (!hwnd() || !MonthCal_GetCurSel(hwnd(), &st)) return 0;
    return SystemTimeToDay(st);
}

void MonthCalendar::SetValue(double day) {
    if (!hwnd()) return;
    SYSTEMTIME st = DayToSystemTime(day);
    settingValue_ = true;
    MonthCal_SetCurSel(hwnd(), &st);
    settingValue_ = false;
}

void MonthCalendar::SetRange(double first, double last) {
    if (!hwnd()) return;
    SYSTEMTIME range[2] = {DayToSystemTime(first), DayToSystemTime(last)};
    MonthCal_SetRange(hwnd(), GDTR_MIN | GDTR_MAX, range);
}

bool MonthCalendar::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code == MCN_SELECT && !settingValue_) {
        Raise(Click);
        result = 0;
        return true;
    }
    return false;
}

// ---- Toolbar --------------------------------------------------------------------------------

void Toolbar::Create(Form& form, int id, HIMAGELIST images,
                     const std::vector<ButtonSpec>& buttons) {
    CreateChild(form, id, TOOLBARCLASSNAMEA, "",
                TBSTYLE_TOOLTIPS | CCS_TOP | WS_CLIPSIBLINGS);
    buttons_ = buttons;
    // Position p is command firstCommand_ + p: ids of the window, apart from its controls'.
    firstCommand_ = form.ReserveIds(static_cast<int>(buttons_.size())) - 1;
    SendMessageA(hwnd(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (images) SendMessageA(hwnd(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    std::vector<TBBUTTON> native(buttons_.size());
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TBBUTTON& b = native[i];
        b.idCommand = firstCommand_ + static_cast<int>(i) + 1;
        b.fsState = TBSTATE_ENABLED;
        if (buttons_[i].key.empty()) {
            b.fsStyle = BTNS_SEP;
            b.iBitmap = 6;
        } else {
            b.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (buttons_[i].group   ? BTNS_CHECKGROUP
                                                         : buttons_[i].check ? BTNS_CHECK
                                                                             : 0));
            b.iBitmap = buttons_[i].image;
        }
    }
    SendMessageA(hwnd(), TB_ADDBUTTONSA, native.size(), reinterpret_cast<LPARAM>(native.data()));
    SendMessageA(hwnd(), TB_AUTOSIZE, 0, 0);
    form.RouteNotifications(reinterpret_cast<HWND>(SendMessageA(hwnd(), TB_GETTOOLTIPS, 0, 0)),
                            this);
}

void Toolbar::SetButtonEnabled(int position, bool enabled) {
    if (hwnd()) SendMessageA(hwnd(), TB_ENABLEBUTTON, ButtonCommandId(position), enabled);
}

bool Toolbar::ButtonEnabled(int position) const {
    return hwnd() && SendMessageA(hwnd(), TB_ISBUTTONENABLED, ButtonCommandId(position), 0) != 0;
}

void Toolbar::SetButtonChecked(int position, bool checked) {
    if (hwnd()) SendMessageA(hwnd(), TB_CHECKBUTTON, ButtonCommandId(position), checked);
}

bool Toolbar::ButtonChecked(int position) const {
    return hwnd() && SendMessageA(hwnd(), TB_ISBUTTONCHECKED, ButtonCommandId(position), 0) != 0;
}

const std::string& Toolbar::ButtonKey(int position) const {
    static const std::string none;
    return position >= 1 && position <= ButtonCount()
               ? buttons_[static_cast<size_t>(position - 1)].key
               : none;
}

int Toolbar::ButtonCommandId(int position) const { return firstCommand_ + position; }

void Toolbar::PerformClick(int position) {
    if (ButtonEnabled(position)) HandleCommand(ButtonCommandId(position));
}

bool Toolbar::HandleCommand(int commandId) {
    int position = commandId - firstCommand_;
    if (position < 1 || position > ButtonCount()) return false;
    if (ButtonClick) ButtonClick(ButtonKey(position));
    return true;
}

std::string Toolbar::ShownToolTip(int position) const {
    HWND tip = hwnd() ? reinterpret_cast<HWND>(SendMessageA(hwnd(), TB_GETTOOLTIPS, 0, 0)) : nullptr;
    if (!tip) return {};
    char text[256] = {};
    TTTOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.hwnd = hwnd();
    info.uId = static_cast<UINT_PTR>(ButtonCommandId(position));
    info.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    return text;
}

bool Toolbar::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        int position = static_cast<int>(info->hdr.idFrom) - firstCommand_;
        if (position >= 1 && position <= ButtonCount()) {
            info->lpszText = const_cast<char*>(buttons_[static_cast<size_t>(position - 1)].toolTip.c_str());
        }
        result = 0;
        return true;
    }
    return false;
}

// ---- Timer ----------------------------------------------------------------------------------

Timer::~Timer() {
    if (form_ && form_->hwnd() && enabled_) KillTimer(form_->hwnd(), id_);
    if (form_) form_->UnregisterTimer(this);
}

void Timer::Create(Form& form, int interval, bool enabled) {
    static UINT_PTR next = 1000;
    if (form_) form_->UnregisterTimer(this);
    form_ = &form;
    if (id_ == 0) id_ = ++next;
    interval_ = interval;
    enabled_ = enabled;
    form.RegisterTimer(this);
    Apply();
}

void Timer::Apply() {
    if (!form_ || !form_->hwnd()) return;
    KillTimer(form_->hwnd(), id_);
    if (enabled_ && interval_ > 0) SetTimer(form_->hwnd(), id_, static_cast<UINT>(interval_), nullptr);
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::SetInterval(int interval) {
    interval_ = interval;
    Apply();
}

void Timer::Fire() {
    if (Tick) Tick();
}

// ---- MenuItem -------------------------------------------------------------------------------

MenuItem::~MenuItem() { Detach(); }

void MenuItem::Detach() {
    if (form_ && id_) form_->UnregisterMenuItem(this);
    form_ = nullptr;
    id_ = 0;
    if (parent_) {
        auto& list = MenuSiblings()[parent_];
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (list.empty()) MenuSiblings().erase(parent_);
    }
    parent_ = nullptr;
    popup_ = nullptr;
    visible_ = true;
    enabled_ = true;
}

void MenuItem::Create(Form& form, HMENU popup, const std::string& caption) {
    Detach();  // a window created again builds its menus anew
    form_ = &form;
    parent_ = popup;
    id_ = form.ReserveIds();
    caption_ = caption;
    AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(id_), caption.c_str());
    form.RegisterMenuItem(this);
    MenuSiblings()[popup].push_back(this);
}

void MenuItem::CreatePopup(HMENU parent, HMENU popup, const std::string& caption) {
    Detach();  // a window created again builds its menus anew
    parent_ = parent;
    popup_ = popup;
    caption_ = caption;
    AppendMenuA(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
    MenuSiblings()[parent].push_back(this);
}

void MenuItem::CreateSeparator(HMENU popup) {
    Detach();  // a window created again builds its menus anew
    parent_ = popup;
    separator_ = true;
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    MenuSiblings()[popup].push_back(this);
}

int MenuItem::Position() const {
    int position = 0;
    for (MenuItem* item : MenuSiblings()[parent_]) {
        if (item == this) return position;
        if (item->visible_) ++position;
    }
    return -1;
}

void MenuItem::Refresh() {
    if (!parent_ || !visible_) return;
    int position = Position();
    UINT flags = MF_BYPOSITION | (enabled_ ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(parent_, static_cast<UINT>(position), flags);
    for (Form* form : Form::LoadedForms()) {
        if (form->hwnd() && GetMenu(form->hwnd())) DrawMenuBar(form->hwnd());
    }
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Refresh();
}

void MenuItem::SetChecked(bool checked) {
    if (parent_ && id_) CheckMenuItem(parent_, static_cast<UINT>(id_), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItem::Checked() const {
    return parent_ && id_ && (GetMenuState(parent_, static_cast<UINT>(id_), MF_BYCOMMAND) & MF_CHECKED);
}

void MenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (!parent_ || !visible_) return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption_.c_str());
    SetMenuItemInfoA(parent_, static_cast<UINT>(Position()), TRUE, &info);
    Refresh();
}

void MenuItem::SetVisible(bool visible) {
    if (visible == visible_ || !parent_) return;
    if (!visible) {
        RemoveMenu(parent_, static_cast<UINT>(Position()), MF_BYPOSITION);
        visible_ = false;
    } else {
        visible_ = true;
        UINT position = static_cast<UINT>(Position());
        if (separator_) {
            InsertMenuA(parent_, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        } else if (popup_) {
            InsertMenuA(parent_, position, MF_BYPOSITION | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(popup_), caption_.c_str());
        } else {
            InsertMenuA(parent_, position, MF_BYPOSITION | MF_STRING,
                        static_cast<UINT_PTR>(id_), caption_.c_str());
        }
        Refresh();
    }
}

// ---- Declared creation ----------------------------------------------------------------------

void Control::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                             HWND parent) {
    CreateChild(form, id, "STATIC", caption, style, 0, parent);
}
void Label::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                           HWND parent) {
    Create(form, id, caption, style, parent);
}
void Button::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                            HWND parent) {
    Create(form, id, caption, (style & BS_DEFPUSHBUTTON) != 0, parent);
}
void CheckBox::CreateDeclared(Form& form, int id, const std::string& caption, DWORD,
                              HWND parent) {
    Create(form, id, caption, parent);
}
void OptionButton::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                                  HWND parent) {
    Create(form, id, caption, (style & WS_GROUP) != 0, parent);
}
void TextBox::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                             HWND parent) {
    Create(form, id, caption, style, parent);
}
void MaskedEdit::CreateDeclared(Form& form, int id, const std::string& caption, DWORD,
                                HWND parent) {
    Create(form, id, caption, parent);
}
void ComboBox::CreateDeclared(Form& form, int id, const std::string&, DWORD style, HWND parent) {
    Create(form, id, (style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST, parent);
}
void ListBox::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    Create(form, id, parent);
}
void Frame::CreateDeclared(Form& form, int id, const std::string& caption, DWORD, HWND parent) {
    Create(form, id, caption, parent);
}
void PictureBox::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    Create(form, id, parent);
}
void ProgressBar::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    Create(form, id, parent);
}
void StatusBar::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND) {
    Create(form, id);
}
void UpDown::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    Create(form, id, parent);
}
void MonthCalendar::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    Create(form, id, parent);
}

}  // namespace forms
