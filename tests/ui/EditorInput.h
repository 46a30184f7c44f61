// Typing, picking and clicking in the service and tariff editors as a user does, and reading
// back what they store under the Services key.
#pragma once

#include "tests/ui/UiFixture.h"

#include <initializer_list>
#include <variant>

namespace uitest {

// Replaces a box's text as typing would, key by key; the focus stays in the box.
inline void TypeStaying(forms::Control& box, const std::string& text) {
    SetFocus(box.hwnd());
    Settle(1);
    SendMessageA(box.hwnd(), EM_SETSEL, 0, -1);
    SendMessageA(box.hwnd(), WM_CHAR, '\b', 0);
    for (char c : text)
        SendMessageA(box.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 0);
}

// Replaces a box's text as typing would, then leaves the box (its lost-focus check runs).
inline void TypeInto(forms::Control& box, const std::string& text, forms::Control& next) {
    TypeStaying(box, text);
    SetFocus(next.hwnd());
    Settle();
}

// Picks a list's item as the user does.
inline void Pick(forms::Form& form, forms::ComboBox& list, const std::string& item) {
    const LRESULT index = SendMessageA(list.hwnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item.c_str()));
    ASSERT_GE(index, 0) << item;
    SendMessageA(list.hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(list.id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.hwnd()));
    Settle();
}

inline void ClickOn(forms::Control& button) {
    SendMessageA(button.hwnd(), BM_CLICK, 0, 0);
    Settle();
}

inline std::string RegistryText(const std::string& name) {
    char value[512] = {};
    DWORD size = sizeof(value);
    RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV\\Services", name.c_str(), RRF_RT_REG_SZ,
                 nullptr, value, &size);
    return value;
}

inline DWORD RegistryNumber(const std::string& name) {
    DWORD value = 0xDEADBEEF;  // none
    DWORD size = sizeof(value);
    RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV\\Services", name.c_str(), RRF_RT_REG_DWORD,
                 nullptr, &value, &size);
    return value;
}

// What the Services key must hold: each value by name, a text (REG_SZ) or a number
// (REG_DWORD).
struct StoredValue {
    const char* name;
    std::variant<std::string, DWORD> value;
};

inline void ExpectServicesKey(std::initializer_list<StoredValue> values) {
    for (const StoredValue& v : values) {
        if (const auto* text = std::get_if<std::string>(&v.value))
            EXPECT_EQ(RegistryText(v.name), *text) << v.name;
        else
            EXPECT_EQ(RegistryNumber(v.name), std::get<DWORD>(v.value)) << v.name;
    }
}

}  // namespace uitest
