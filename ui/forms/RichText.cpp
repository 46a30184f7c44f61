#include "ui/forms/RichText.h"

#include <richedit.h>

namespace forms {

void RichText::Create(Form& form, int id, HWND parent) {
    LoadLibraryA("riched20.dll");
    CreateChild(form, id, RICHEDIT_CLASSA, "",
                ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                    WS_HSCROLL | WS_TABSTOP | WS_BORDER,
                0, parent);
    if (hwnd()) {
        SendMessageA(hwnd(), EM_EXLIMITTEXT, 0, 64 * 1024 * 1024);
        SendMessageA(hwnd(), EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_WINDOW));
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

std::string RichText::PlainText() const {
    if (!hwnd())
        return {};
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_USECRLF, CP_ACP};
    LRESULT count = SendMessageA(hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::string text(static_cast<size_t>(count) * 2 + 2, '\0');
    GETTEXTEX get = {};
    get.cb = static_cast<DWORD>(text.size());
    get.flags = GT_USECRLF;
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
