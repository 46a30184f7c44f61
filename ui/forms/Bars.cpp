// Progress bars, status bars and toolbars.
#include "ui/forms/Controls.h"

#include <utility>

namespace forms {

void ProgressBar::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    CreateChild(form, id, PROGRESS_CLASSA, "", WS_CLIPSIBLINGS, 0, parent);
}

void ProgressBar::SetMax(int max) {
    if (hwnd())
        SendMessageA(hwnd(), PBM_SETRANGE32, 0, max);
}

void ProgressBar::SetValue(int value) {
    if (hwnd())
        SendMessageA(hwnd(), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

int ProgressBar::Value() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), PBM_GETPOS, 0, 0)) : 0;
}

int ProgressBar::Max() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), PBM_GETRANGE, FALSE, 0)) : 0;
}

void StatusBar::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND) {
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
    if (!hwnd())
        return;
    std::vector<int> edges;
    for (int edge : rightEdgesTwips)
        edges.push_back(edge < 0 ? -1 : TwipsToPixelsX(edge));
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
    if (!hwnd())
        return {};
    LRESULT length = LOWORD(SendMessageA(hwnd(), SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(hwnd(), SB_GETTEXTA, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void StatusBar::Reposition() {
    if (!hwnd())
        return;
    SendMessageA(hwnd(), WM_SIZE, 0, 0);
    // Moved along the bottom edge, the bar keeps its size and would not repaint its panels.
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Toolbar::SetButtons(OwnedImageList images, std::vector<ButtonSpec> buttons) {
    images_ = std::move(images);
    buttons_ = std::move(buttons);
}

void Toolbar::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND) {
    CreateChild(form, id, TOOLBARCLASSNAMEA, "", TBSTYLE_TOOLTIPS | CCS_TOP | WS_CLIPSIBLINGS);
    // Position p is command firstCommand_ + p: ids of the window, apart from its controls'.
    firstCommand_ = form.ReserveIds(static_cast<int>(buttons_.size())) - 1;
    SendMessageA(hwnd(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (images_)
        SendMessageA(hwnd(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
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
    if (hwnd())
        SendMessageA(hwnd(), TB_ENABLEBUTTON, ButtonCommandId(position), enabled);
}

bool Toolbar::ButtonEnabled(int position) const {
    return hwnd() && SendMessageA(hwnd(), TB_ISBUTTONENABLED, ButtonCommandId(position), 0) != 0;
}

void Toolbar::SetButtonChecked(int position, bool checked) {
    if (hwnd())
        SendMessageA(hwnd(), TB_CHECKBUTTON, ButtonCommandId(position), checked);
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
    if (ButtonEnabled(position))
        HandleCommand(ButtonCommandId(position));
}

bool Toolbar::HandleCommand(int commandId) {
    int position = commandId - firstCommand_;
    if (position < 1 || position > ButtonCount())
        return false;
    if (ButtonClick)
        ButtonClick(ButtonKey(position));
    return true;
}

std::string Toolbar::ShownToolTip(int position) const {
    HWND tip =
        hwnd() ? reinterpret_cast<HWND>(SendMessageA(hwnd(), TB_GETTOOLTIPS, 0, 0)) : nullptr;
    if (!tip)
        return {};
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
            info->lpszText =
                const_cast<char*>(buttons_[static_cast<size_t>(position - 1)].toolTip.c_str());
        }
        result = 0;
        return true;
    }
    return false;
}

}  // namespace forms
