#include "ui/forms/TabStrip.h"

namespace forms {

void TabStrip::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    CreateChild(form, id, WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS, 0, parent);
    tabs_.clear();
    pages_.clear();
    toolTip_ = nullptr;
    if (!hwnd())
        return;
    toolTip_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, form.hwnd(), nullptr, AppInstance(), nullptr);
}

void TabStrip::SetTabs(const std::vector<Tab>& tabs, const std::vector<Control*>& pages) {
    tabs_ = tabs;
    pages_ = pages;
    pages_.resize(tabs_.size(), nullptr);
    for (Tab& tab : tabs_) {
        if (tab.key.empty())
            tab.key = tab.caption;
    }
    if (!hwnd())
        return;
    SendMessageA(hwnd(), TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < tabs_.size(); ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tabs_[i].caption.c_str());
        SendMessageA(hwnd(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    if (!tabs_.empty())
        SendMessageA(hwnd(), TCM_SETCURSEL, 0, 0);
    ShowSelectedPage();
    PlaceToolTips();
}

const std::string& TabStrip::Caption(int index) const {
    static const std::string none;
    return index >= 1 && index <= TabCount() ? tabs_[static_cast<size_t>(index - 1)].caption : none;
}

const std::string& TabStrip::Key(int index) const {
    static const std::string none;
    return index >= 1 && index <= TabCount() ? tabs_[static_cast<size_t>(index - 1)].key : none;
}

Control* TabStrip::Page(int index) const {
    return index >= 1 && index <= TabCount() ? pages_[static_cast<size_t>(index - 1)] : nullptr;
}

std::string TabStrip::ToolTipText(int index) const {
    if (!toolTip_ || index < 1 || index > TabCount())
        return {};
    char text[256] = {};
    TTTOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.hwnd = hwnd();
    info.uId = static_cast<UINT_PTR>(index);
    info.lpszText = text;
    SendMessageA(toolTip_, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    return text;
}

int TabStrip::SelectedIndex() const {
    if (!hwnd() || tabs_.empty())
        return 0;
    return static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0)) + 1;
}

void TabStrip::Select(int index) {
    if (!hwnd() || index < 1 || index > TabCount() || index == SelectedIndex())
        return;
    SendMessageA(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
    ShowSelectedPage();
    Raise(Click);
}

void TabStrip::SelectNext() {
    if (TabCount() == 0)
        return;
    int selected = SelectedIndex();
    Select(selected >= TabCount() ? 1 : selected + 1);
}

void TabStrip::ShowSelectedPage() {
    Control* shown = Page(SelectedIndex());
    for (Control* page : pages_) {
        if (page && page != shown)
            page->SetVisible(false);
    }
    if (shown && shown->hwnd()) {
        // In front of the strip and of the other pages.
        SetWindowPos(shown->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        shown->SetVisible(true);
        InvalidateRect(shown->hwnd(), nullptr, TRUE);
    }
}

void TabStrip::PlaceToolTips() {
    if (!toolTip_ || !hwnd())
        return;
    for (int index = 1; index <= TabCount(); ++index) {
        TTTOOLINFOA info = {};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_SUBCLASS;
        info.hwnd = hwnd();
        info.uId = static_cast<UINT_PTR>(index);
        SendMessageA(toolTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
        const std::string& text = tabs_[static_cast<size_t>(index - 1)].toolTip;
        if (text.empty())
            continue;
        SendMessageA(hwnd(), TCM_GETITEMRECT, static_cast<WPARAM>(index - 1),
                     reinterpret_cast<LPARAM>(&info.rect));
        info.lpszText = const_cast<char*>(text.c_str());
        SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

bool TabStrip::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code == TCN_SELCHANGE) {
        ShowSelectedPage();
        Raise(Click);
        result = 0;
        return true;
    }
    return false;
}

bool TabStrip::OnControlMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_SIZE)
        PlaceToolTips();  // the tabs' rectangles follow the strip's size
    return false;
}

}  // namespace forms
