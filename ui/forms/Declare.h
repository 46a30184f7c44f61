// A window's controls in one table. Each row names the control member, its caption, its place
// in twips, its tool tip, its parent (the window, a Frame or a tab page), its optional look and
// the event procedures its events run. forms::Declare creates the controls in the table's
// order (a parent before its children), gives each an id of the window, places it, sets its
// tool tip and font, and binds its events:
//
//   forms::Declare<frmAbout>(*this, {
//       // control     caption  left  top  width height  tool tip  parent  look  events
//       {lblVersion,   "",      {240, 700, 3000, 260}},
//       {cmdOK,        "OK",    {4200, 2900, 1300, 360}, {}, nullptr, {.style = BS_DEFPUSHBUTTON},
//        {.click = &frmAbout::cmdOK_Click}},
//   });
#pragma once

#include "ui/forms/Controls.h"

#include <initializer_list>
#include <string>

namespace forms {

// A place in twips inside the parent's client area. An empty place (zero width and height)
// leaves the control where its class puts it: bars that dock, a calendar that sizes itself,
// a control the window lays out in code.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Optional look: a font (face, points, bold, italic), the class's style bits (see
// Control::CreateDeclared), whether the control starts hidden, and for a button whether
// Escape runs it (the window's cancel button).
struct Look {
    const char* font = nullptr;
    int points = 0;
    bool bold = false;
    bool italic = false;
    DWORD style = 0;
    bool hidden = false;
    bool cancel = false;
};

// The event procedures of window F a control's events run. A procedure taking arguments
// (KeyDown, KeyPress, Spin, a control array's index) is bound in code after the table.
template <class F>
struct Events {
    void (F::*click)() = nullptr;
    void (F::*dblClick)() = nullptr;
    void (F::*change)() = nullptr;
    void (F::*gotFocus)() = nullptr;
    void (F::*lostFocus)() = nullptr;
    void (F::*mouseMove)() = nullptr;  // the pointer's position and buttons are not passed
};

template <class F>
struct Declared {
    Control& control;
    std::string caption;
    Twips at;
    std::string toolTip = {};
    Control* parent = nullptr;  // null: the window itself
    Look look = {};
    Events<F> on = {};
};

template <class F>
void Declare(F& form, std::initializer_list<Declared<F>> table) {
    for (const Declared<F>& row : table) {
        Control& control = row.control;
        control.CreateDeclared(form, form.ReserveIds(), row.caption, row.look.style,
                               row.parent ? row.parent->hwnd() : nullptr);
        if (row.look.font) {
            control.SetFont(row.look.font, row.look.points, row.look.bold, row.look.italic);
        }
        if (row.at.width != 0 || row.at.height != 0) {
            control.Move(row.at.left, row.at.top, row.at.width, row.at.height);
        }
        if (!row.toolTip.empty())
            control.SetToolTip(row.toolTip);
        if (row.look.hidden)
            control.SetVisible(false);
        if (row.look.cancel)
            form.SetCancelButton(dynamic_cast<Button*>(&control));
        auto bind = [&form](void (F::*procedure)()) -> std::function<void()> {
            if (!procedure)
                return {};
            return [&form, procedure] { (form.*procedure)(); };
        };
        if (row.on.click)
            control.Click = bind(row.on.click);
        if (row.on.dblClick)
            control.DblClick = bind(row.on.dblClick);
        if (row.on.change)
            control.Change = bind(row.on.change);
        if (row.on.gotFocus)
            control.GotFocus = bind(row.on.gotFocus);
        if (row.on.lostFocus)
            control.LostFocus = bind(row.on.lostFocus);
        if (row.on.mouseMove) {
            control.MouseMove = [&form, procedure = row.on.mouseMove](int, int, int, int) {
                (form.*procedure)();
            };
        }
    }
}

}  // namespace forms
