#include "ui/forms/RichText.h"

#include <richedit.h>

namespace forms {

void RichText::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    LoadLibraryA("riched20.dll");
    CreateChild(form, id, RICHEDIT_CLASSA, "",
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                    WS_HSCROLL | WS_TABSTOP | WS_BORDER,
                0, parent);
    if (hwnd()) {
        // No limit of the control's own: a file of any size is shown whole.
        SendMessageA(hwnd(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        SendMessageA(hwnd(), EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_WINDOW));
        SendMessageA(hwnd(), EM_SETEVENTMASK, 0, ENM_CHANGE);
    }
}

void RichText::SetPlainText(const std::string& text, const std::string& face, int points) {
    if (!hwnd())
        return;
    suppress_ = true;
    SETTEXTEX set = {ST_DEFAULT, CP_ACP};
    SendMessageA(hwnd(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set),
                 reinterpret_cast<LPARAM>(text.c_str()));
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
    format.yHeight = points * 20;
    format.bCharSet = DEFAULT_CHARSET;
    // Where the face is missing a fixed-pitch face stands in, so that columns stay aligned.
    format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(format.szFaceName, face.c_str(), LF_FACESIZE);
    SendMessageA(hwnd(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageA(hwnd(), EM_SETSEL, 0, 0);
    suppress_ = false;
}

std::string RichText::PlainText() const { return TextOf(true); }
std::string RichText::ControlText() const { return TextOf(false); }

std::string RichText::TextOf(bool crlf) const {
    if (!hwnd())
        return {};
    GETTEXTLENGTHEX length = {static_cast<DWORD>(GTL_NUMCHARS | (crlf ? GTL_USECRLF : 0)), CP_ACP};
    LRESULT count = SendMessageA(hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::string text(static_cast<size_t>(count) * 2 + 2, '\0');
    GETTEXTEX get = {};
    get.cb = static_cast<DWORD>(text.size());
    get.flags = crlf ? GT_USECRLF : GT_DEFAULT;
    get.codepage = CP_ACP;
    LRESULT got = SendMessageA(hwnd(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

void RichText::MarkTitle(int start, int length, int points) {
    if (!hwnd() || length <= 0)
        return;
    CHARRANGE range = {start, start + length};
    SendMessageA(hwnd(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE | CFM_BOLD | CFM_ITALIC;
    format.dwEffects = CFE_BOLD | CFE_ITALIC;
    format.yHeight = points * 20;
    SendMessageA(hwnd(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageA(hwnd(), EM_SETSEL, 0, 0);
}

namespace {
CHARFORMAT2A FormatAt(HWND hwnd, int position) {
    CHARRANGE range = {position, position + 1};
    SendMessageA(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    SendMessageA(hwnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageA(hwnd, EM_SETSEL, 0, 0);
    return format;
}
}  // namespace

int RichText::PointSizeAt(int position) const {
    return hwnd() ? static_cast<int>(FormatAt(hwnd(), position).yHeight / 20) : 0;
}

bool RichText::BoldAt(int position) const {
    return hwnd() && (FormatAt(hwnd(), position).dwEffects & CFE_BOLD) != 0;
}

}  // namespace forms

namespace forms {

void RichText::SetLocked(bool locked) {
    if (hwnd())
        SendMessageA(hwnd(), EM_SETREADONLY, locked ? TRUE : FALSE, 0);
}

bool RichText::Locked() const {
    return hwnd() && (GetWindowLongA(hwnd(), GWL_STYLE) & ES_READONLY) != 0;
}

void RichText::SetText(const std::string& text) {
    if (!hwnd())
        return;
    suppress_ = true;
    SETTEXTEX set = {ST_DEFAULT, CP_ACP};
    SendMessageA(hwnd(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set),
                 reinterpret_cast<LPARAM>(text.c_str()));
    // A text set from code is where editing starts: Undo cannot take it away.
    SendMessageA(hwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageA(hwnd(), EM_SETSEL, 0, 0);
    suppress_ = false;
}

void RichText::SetTextFont(const std::string& face, int points, bool bold, bool italic) {
    if (!hwnd())
        return;
    suppress_ = true;
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_CHARSET;
    format.dwEffects = (bold ? CFE_BOLD : 0) | (italic ? CFE_ITALIC : 0);
    format.yHeight = points * 20;
    format.bCharSet = DEFAULT_CHARSET;
    lstrcpynA(format.szFaceName, face.c_str(), LF_FACESIZE);
    SendMessageA(hwnd(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageA(hwnd(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    // Undo would take the font back as if it were an edit of the text.
    SendMessageA(hwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
    suppress_ = false;
}

long long RichText::SelStart() const {
    CHARRANGE range = {0, 0};
    if (hwnd())
        SendMessageA(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

long long RichText::SelLength() const {
    CHARRANGE range = {0, 0};
    if (hwnd())
        SendMessageA(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax - range.cpMin;
}

void RichText::SetSel(long long start, long long length) {
    if (!hwnd())
        return;
    CHARRANGE range = {static_cast<LONG>(start), static_cast<LONG>(start + length)};
    SendMessageA(hwnd(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
}

std::string RichText::SelText() const {
    if (!hwnd())
        return {};
    std::string text(static_cast<size_t>(SelLength()) * 2 + 2, '\0');
    LRESULT got = SendMessageA(hwnd(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

void RichText::Cut() {
    if (hwnd())
        SendMessageA(hwnd(), WM_CUT, 0, 0);
}
void RichText::Copy() {
    if (hwnd())
        SendMessageA(hwnd(), WM_COPY, 0, 0);
}
void RichText::Paste() {
    if (hwnd())
        SendMessageA(hwnd(), WM_PASTE, 0, 0);
}

void RichText::OnCommand(int code) {
    if (code == EN_CHANGE && !suppress_)
        Raise(Change);
}

}  // namespace forms
