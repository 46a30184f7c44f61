// Combo boxes and list boxes.
#include "ui/forms/Controls.h"

namespace forms {

void ComboBox::CreateDeclared(Form& form, int id, const std::string&, DWORD style, HWND parent) {
    const bool dropDownList = (style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
    // A typed text scrolls in its box rather than stopping at the box's width.
    CreateChild(form, id, "COMBOBOX", "",
                WS_TABSTOP | WS_VSCROLL |
                    (dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL),
                0, parent);
}

void ComboBox::AddItem(const std::string& text) {
    if (hwnd())
        SendMessageA(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboBox::Clear() {
    if (hwnd())
        SendMessageA(hwnd(), CB_RESETCONTENT, 0, 0);
}

int ComboBox::ListCount() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0)) : 0;
}

std::string ComboBox::List(int index) const {
    if (!hwnd() || index < 0 || index >= ListCount())
        return {};
    std::string text(static_cast<size_t>(SendMessageA(hwnd(), CB_GETLBTEXTLEN, index, 0)) + 1,
                     '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(hwnd(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

int ComboBox::ListIndex() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0)) : -1;
}

void ComboBox::SetListIndex(int index) {
    if (!hwnd() || ListIndex() == index)
        return;
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

void ListBox::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    CreateChild(form, id, "LISTBOX", "",
                WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
                parent);
}

void ListBox::AddItem(const std::string& text, int index) {
    if (hwnd()) {
        SendMessageA(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void ListBox::RemoveItem(int index) {
    if (hwnd())
        SendMessageA(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::Clear() {
    if (hwnd())
        SendMessageA(hwnd(), LB_RESETCONTENT, 0, 0);
}

int ListBox::ListCount() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), LB_GETCOUNT, 0, 0)) : 0;
}

std::string ListBox::List(int index) const {
    if (!hwnd() || index < 0 || index >= ListCount())
        return {};
    std::string text(static_cast<size_t>(SendMessageA(hwnd(), LB_GETTEXTLEN, index, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(hwnd(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

int ListBox::ListIndex() const {
    return hwnd() ? static_cast<int>(SendMessageA(hwnd(), LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetListIndex(int index) {
    if (!hwnd() || ListIndex() == index)
        return;
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

}  // namespace forms
