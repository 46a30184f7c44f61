// A window's commands in one table: each row names the command (the window's enum), its menu
// item, its toolbar key and the procedure that runs it. The table binds the menu items' clicks,
// answers the toolbar's key, and runs a command by its enum. A row without a procedure is a
// command another window serves (it hands its procedure over through `served`); running one
// that nobody serves goes to the unserved-command hook, which the program ignores and the
// tests turn into a failure.
//
// A window declares its menu bar with its commands (CommandTable::Declare), one row per menu
// title, item or separator in menu order; an item's row holds its command, its procedure and
// its toolbar button. The table then creates the menu bar and gives the toolbar its buttons:
//
//   commands_.Declare(*this, {
//       // level menu item  caption  command  name    procedure             toolbar button
//       {0, &mnuFile,  "&File"},
//       {1, &mnuSave,  "&Save",  C::Save,  "Save",  &frmX::mnuSave_Click,  {"Save", "Save", 3}},
//       {1, &mnuSep1,  "-"},
//       {1, &mnuExit,  "E&xit",  C::Exit,  "Exit",  &frmX::mnuExit_Click},
//       {1, nullptr,   "",       C::Other, "Other"},  // no menu item: served by another window
//   });
#pragma once

#include "ui/forms/Controls.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace forms {

// How a toolbar button acts: pressed and let go, a check button, or a check button of a group
// (buttons side by side) whose buttons release each other.
enum class ButtonKind { Push, Check, GroupCheck };

// A command's toolbar button: the key the toolbar raises, its tool tip and its picture (index
// in the toolbar's image list). gapBefore puts a separator before it. The buttons follow the
// rows' order; atEnd places a button after those of the rows without it, for a toolbar whose
// order is not the menu's.
struct ToolButton {
    const char* key = nullptr;  // null: the command has no button
    const char* toolTip = "";
    int image = -1;
    bool gapBefore = false;
    ButtonKind kind = ButtonKind::Push;
    bool atEnd = false;
};
inline constexpr bool kGap = true;
inline constexpr bool kNoGap = false;
inline constexpr bool kAtEnd = true;

// One row of a window's declared menu bar and commands (CommandTable::Declare), in menu order.
// level 0 is a title of the menu bar, 1 an item of its menu, 2 an item of a submenu (the row
// before it, one level up, opens the submenu). A caption "-" is a separator. A row with a
// command and no menu item is a command only another window or the code runs. The toolbar
// shows the rows' buttons in row order.
template <class F, class Id>
struct CommandRow {
    int level = 1;
    MenuItem* menu = nullptr;
    std::string caption = {};
    std::optional<Id> id = std::nullopt;     // none: a menu title or a separator
    const char* name = nullptr;              // for the unserved-command report
    std::function<void(F&)> procedure = {};  // empty: served by another window
    ToolButton button = {};
    // A keyboard shortcut of the menu item: FCONTROL / FSHIFT / FALT and a virtual key.
    BYTE keyFlags = 0;
    WORD key = 0;
};

using UnservedCommandHook = std::function<void(const std::string& command)>;
// Installs the hook; returns the previous one.
UnservedCommandHook SetUnservedCommandHook(UnservedCommandHook hook);
void ReportUnservedCommand(const std::string& command);

template <class Id>
class CommandTable {
public:
    struct Row {
        Id id;
        const char* name;                  // for the unserved-command report
        MenuItem* menu = nullptr;          // the menu item that runs it, if any
        const char* toolbarKey = nullptr;  // the toolbar button's key, if any
        std::function<void()> run = {};    // empty: served by another window
        // A keyboard shortcut of the menu item: FCONTROL / FSHIFT / FALT and a virtual key.
        BYTE keyFlags = 0;
        WORD key = 0;
    };
    // The procedure another window hands over for a command, or null.
    using ServedLookup = std::function<const std::function<void()>*(Id)>;

    void Define(std::vector<Row> rows, ServedLookup served = {}) {
        rows_ = std::move(rows);
        served_ = std::move(served);
        for (const Row& row : rows_) {
            if (row.menu)
                row.menu->Click = [this, id = row.id] { Run(id); };
        }
    }

    void Run(Id id) const {
        for (const Row& row : rows_) {
            if (row.id != id)
                continue;
            if (row.run) {
                row.run();
                return;
            }
            const std::function<void()>* served = served_ ? served_(id) : nullptr;
            if (served && *served) {
                (*served)();
            } else {
                ReportUnservedCommand(row.name);
            }
            return;
        }
    }

    // The keyboard shortcuts of the rows' menu items (once the menus are created).
    std::vector<ACCEL> Accelerators() const {
        std::vector<ACCEL> keys;
        for (const Row& row : rows_) {
            if (row.key && row.menu && row.menu->id()) {
                keys.push_back({static_cast<BYTE>(row.keyFlags | FVIRTKEY), row.key,
                                static_cast<WORD>(row.menu->id())});
            }
        }
        return keys;
    }

    // Runs the command of a toolbar key; false (doing nothing) when no row has the key.
    bool RunKey(const std::string& key) const {
        for (const Row& row : rows_) {
            if (row.toolbarKey && key == row.toolbarKey) {
                Run(row.id);
                return true;
            }
        }
        return false;
    }

    // Declares the window's commands with its menu bar and toolbar buttons (in the window's
    // constructor: the rows name its members). CreateMenuBar makes the menu bar and
    // ToolbarButtons the toolbar's buttons at each creation of the window.
    template <class F>
    void Declare(F& form, std::initializer_list<CommandRow<F, Id>> rows, ServedLookup served = {}) {
        std::vector<Row> commands;
        std::vector<ToolbarEntry> atEnd;
        menuBar_.clear();
        buttons_.clear();
        for (const CommandRow<F, Id>& row : rows) {
            menuBar_.push_back({row.level, row.menu, row.caption});
            if (row.button.key) {
                const ToolButton& b = row.button;
                std::vector<ToolbarEntry>& into = b.atEnd ? atEnd : buttons_;
                if (b.gapBefore)
                    into.push_back({{"", "", -1, false, false}, std::nullopt});
                into.push_back({{b.key, b.toolTip, b.image, b.kind != ButtonKind::Push,
                                 b.kind == ButtonKind::GroupCheck},
                                row.id});
            }
            if (!row.id)
                continue;
            std::function<void()> run;
            if (row.procedure)
                run = [&form, procedure = row.procedure] { procedure(form); };
            commands.push_back({*row.id, row.name, row.menu, row.button.key, std::move(run),
                                row.keyFlags, row.key});
        }
        buttons_.insert(buttons_.end(), atEnd.begin(), atEnd.end());
        Define(std::move(commands), std::move(served));
    }

    // Creates the declared menu bar on the window, with the keyboard shortcuts of its items.
    void CreateMenuBar(Form& form) const {
        HMENU bar = CreateMenu();
        std::vector<HMENU> into = {bar};  // the menu a row of each level goes into
        for (size_t i = 0; i < menuBar_.size(); ++i) {
            const MenuEntry& entry = menuBar_[i];
            if (!entry.menu)
                continue;
            into.resize(static_cast<size_t>(entry.level) + 1);
            if (i + 1 < menuBar_.size() && menuBar_[i + 1].menu &&
                menuBar_[i + 1].level > entry.level) {
                HMENU popup = CreatePopupMenu();
                entry.menu->CreatePopup(into.back(), popup, entry.caption);
                into.push_back(popup);
            } else if (entry.caption == "-") {
                entry.menu->CreateSeparator(into.back());
            } else {
                entry.menu->Create(form, into.back(), entry.caption);
            }
        }
        SetMenu(form.hwnd(), bar);
        form.SetAccelerators(Accelerators());
    }

    // The declared toolbar buttons, separators included, in toolbar order.
    std::vector<Toolbar::ButtonSpec> ToolbarButtons() const {
        std::vector<Toolbar::ButtonSpec> specs;
        for (const ToolbarEntry& button : buttons_)
            specs.push_back(button.spec);
        return specs;
    }

    // The 1-based toolbar position of a command's button (for Toolbar's positional calls),
    // or 0 when the command has none.
    int ToolbarPosition(Id id) const {
        for (size_t i = 0; i < buttons_.size(); ++i) {
            if (buttons_[i].id == id)
                return static_cast<int>(i) + 1;
        }
        return 0;
    }

private:
    struct MenuEntry {
        int level;
        MenuItem* menu;
        std::string caption;
    };
    struct ToolbarEntry {
        Toolbar::ButtonSpec spec;
        std::optional<Id> id;
    };
    std::vector<Row> rows_;
    ServedLookup served_;
    std::vector<MenuEntry> menuBar_;
    std::vector<ToolbarEntry> buttons_;
};

}  // namespace forms
