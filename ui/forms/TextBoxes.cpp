// Text boxes and the masked edit box.
#include "ui/forms/Controls.h"

#include <algorithm>

namespace forms {
namespace {

// The character that Ctrl+V types.
constexpr int kCtrlC = 0x03;
constexpr int kCtrlV = 0x16;
constexpr int kCtrlX = 0x18;

// The clipboard's text; false when it holds none.
bool ClipboardText(HWND owner, std::string& text) {
    if (!OpenClipboard(owner))
        return false;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (auto* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            found = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return found;
}

}  // namespace

void TextBox::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                             HWND parent) {
    CreateChild(form, id, "EDIT", caption, WS_TABSTOP | ES_AUTOHSCROLL | style, WS_EX_CLIENTEDGE,
                parent);
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
    if (hwnd())
        SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TextBox::SetSelStart(int start) {
    if (hwnd())
        SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), start);
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
    if (hwnd())
        SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), start + length);
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

void MaskedEdit::CreateDeclared(Form& form, int id, const std::string& caption, DWORD,
                                HWND parent) {
    // The caption is the mask.
    mask_ = EditMask(caption);
    TextBox::CreateDeclared(form, id, mask_.Conform(""), 0, parent);
    SetMaxLength(static_cast<int>(caption.size()));
}

void MaskedEdit::SetMask(const std::string& mask) {
    mask_ = EditMask(mask);
    Control::SetText(mask_.Conform(""));
    SetMaxLength(static_cast<int>(mask.size()));
}

void MaskedEdit::SetText(const std::string& text) {
    TextBox::SetText(mask_.Empty() ? text : mask_.Conform(text));
}

std::string MaskedEdit::ClipText() const { return mask_.ClipText(Text()); }

EditMask::State MaskedEdit::State() const { return {Text(), SelStart(), SelLength()}; }

void MaskedEdit::Show(const EditMask::State& state, bool changed) {
    if (changed)
        Control::SetText(state.text);
    SetSelStart(state.selStart);
    if (changed)
        Raise(Change);
}

void MaskedEdit::TypeChar(char c) {
    EditMask::State state = State();
    state.selLength = 0;
    switch (mask_.Type(state, c)) {
    case EditMask::Typed::Refused:
        MessageBeep(MB_OK);
        break;
    case EditMask::Typed::Skipped:
        Show(state, false);
        break;
    case EditMask::Typed::Changed:
        Show(state, true);
        break;
    }
}

void MaskedEdit::Erase(bool backwards) {
    EditMask::State state = State();
    if (mask_.Erase(state, backwards))
        Show(state, true);
}

void MaskedEdit::Paste() {
    std::string text;
    if (!ClipboardText(hwnd(), text))
        return;
    EditMask::State state = State();
    if (mask_.Paste(state, text))
        Show(state, true);
    else
        MessageBeep(MB_OK);
}

void MaskedEdit::Cut() {
    if (SelLength() == 0)
        return;
    SendMessageA(hwnd(), WM_COPY, 0, 0);
    Erase(false);
}

bool MaskedEdit::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (mask_.Empty()) {
        return false;
    }
    switch (msg) {
    case WM_CHAR: {
        int ascii = static_cast<int>(wp);
        PreviewKeyPress(ascii);
        if (KeyPress)
            KeyPress(ascii);
        // The edit control copies the selection itself.
        if (ascii == 0 || ascii == '\t' || ascii == '\r' || ascii == 27 || ascii == kCtrlC)
            return ascii == 0;
        if (ascii == kCtrlV) {
            Paste();
        } else if (ascii == kCtrlX) {
            Cut();
        } else if (ascii == '\b') {
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
        if (wp == VK_INSERT && ShiftState() == 1) {
            if (KeyDown)
                KeyDown(static_cast<int>(wp), ShiftState());
            Paste();
            result = 0;
            return true;
        }
        if (wp == VK_DELETE) {
            if (KeyDown)
                KeyDown(static_cast<int>(wp), ShiftState());
            if (ShiftState() == 1)
                Cut();
            else
                Erase(false);
            result = 0;
            return true;
        }
        return false;
    case WM_PASTE:
        Paste();
        result = 0;
        return true;
    case WM_CUT:
        Cut();
        result = 0;
        return true;
    case WM_CLEAR:
        Erase(false);
        result = 0;
        return true;
    default:
        (void)lp;
        return false;
    }
}

}  // namespace forms
