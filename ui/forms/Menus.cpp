// Menu items and timers of a window.
#include "ui/forms/Controls.h"

#include <algorithm>
#include <map>

namespace forms {
namespace {

// The items of each menu in order, hidden ones included (Win32 menus have no hidden items).
std::map<HMENU, std::vector<MenuItem*>>& MenuSiblings() {
    static std::map<HMENU, std::vector<MenuItem*>> siblings;
    return siblings;
}

}  // namespace

Timer::~Timer() {
    if (form_ && form_->hwnd() && enabled_)
        KillTimer(form_->hwnd(), id_);
    if (form_)
        form_->UnregisterTimer(this);
}

void Timer::Create(Form& form, int interval, bool enabled) {
    static UINT_PTR next = 1000;
    if (form_)
        form_->UnregisterTimer(this);
    form_ = &form;
    if (id_ == 0)
        id_ = ++next;
    interval_ = interval;
    enabled_ = enabled;
    form.RegisterTimer(this);
    Apply();
}

void Timer::Apply() {
    if (!form_ || !form_->hwnd())
        return;
    KillTimer(form_->hwnd(), id_);
    if (enabled_ && interval_ > 0)
        SetTimer(form_->hwnd(), id_, static_cast<UINT>(interval_), nullptr);
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
    if (Tick)
        Tick();
}

MenuItem::~MenuItem() { Detach(); }

void MenuItem::Detach() {
    if (form_ && id_)
        form_->UnregisterMenuItem(this);
    form_ = nullptr;
    id_ = 0;
    if (parent_) {
        auto& list = MenuSiblings()[parent_];
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        if (list.empty())
            MenuSiblings().erase(parent_);
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
        if (item == this)
            return position;
        if (item->visible_)
            ++position;
    }
    return -1;
}

void MenuItem::Refresh() {
    if (!parent_ || !visible_)
        return;
    int position = Position();
    UINT flags = MF_BYPOSITION | (enabled_ ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(parent_, static_cast<UINT>(position), flags);
    for (Form* form : Form::LoadedForms()) {
        if (form->hwnd() && GetMenu(form->hwnd()))
            DrawMenuBar(form->hwnd());
    }
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Refresh();
}

void MenuItem::SetChecked(bool checked) {
    if (parent_ && id_)
        CheckMenuItem(parent_, static_cast<UINT>(id_),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItem::Checked() const {
    return parent_ && id_ &&
           (GetMenuState(parent_, static_cast<UINT>(id_), MF_BYCOMMAND) & MF_CHECKED);
}

void MenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (!parent_ || !visible_)
        return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption_.c_str());
    SetMenuItemInfoA(parent_, static_cast<UINT>(Position()), TRUE, &info);
    Refresh();
}

void MenuItem::SetVisible(bool visible) {
    if (visible == visible_ || !parent_)
        return;
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
            InsertMenuA(parent_, position, MF_BYPOSITION | MF_STRING, static_cast<UINT_PTR>(id_),
                        caption_.c_str());
        }
        Refresh();
    }
}

}  // namespace forms
