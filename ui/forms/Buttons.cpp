// Labels, push buttons, check boxes and option buttons.
#include "ui/forms/Controls.h"

namespace forms {

// A label declared with an access key ("Fi&nd") shows it; any other shows its text as it is.
void Label::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                           HWND parent) {
    const DWORD prefix = caption.find('&') == std::string::npos ? SS_NOPREFIX : 0;
    CreateChild(form, id, "STATIC", caption, style | SS_NOTIFY | prefix, 0, parent);
}

void Label::OnCommand(int code) {
    if (code == STN_CLICKED) {
        Raise(Click);
    } else if (code == STN_DBLCLK) {
        Raise(DblClick);
    }
}

void Button::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                            HWND parent) {
    const bool isDefault = (style & BS_DEFPUSHBUTTON) != 0;
    CreateChild(form, id, "BUTTON", caption,
                WS_TABSTOP | BS_NOTIFY | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, parent);
    if (isDefault)
        form.SetDefaultButton(this);
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

void CheckBox::CreateDeclared(Form& form, int id, const std::string& caption, DWORD, HWND parent) {
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
                 value == 1   ? BST_CHECKED
                 : value == 2 ? BST_INDETERMINATE
                              : BST_UNCHECKED,
                 0);
    Raise(Click);
}

void CheckBox::OnCommand(int code) {
    if (code == BN_CLICKED) {
        // A three-state box cycles through grayed; the user toggles between 0 and 1.
        SendMessageA(hwnd(), BM_SETCHECK, Value() == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
        Raise(Click);
    }
}

void OptionButton::CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                                  HWND parent) {
    const bool firstInGroup = (style & WS_GROUP) != 0;
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
            if (!prev)
                break;
            first = prev;
        }
        for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w != first && (GetWindowLongPtrA(w, GWL_STYLE) & WS_GROUP))
                break;
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

}  // namespace forms
