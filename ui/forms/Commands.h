// A window's commands in one table: each row names the command (the window's enum), its menu
// item, its toolbar key and the procedure that runs it. The table binds the menu items' clicks,
// answers the toolbar's key, and runs a command by its enum. A row without a procedure is a
// command another window serves (it hands its procedure over through `served`); running one
// that nobody serves goes to the unserved-command hook, which the program ignores and the
// tests turn into a failure.
#pragma once

#include "ui/forms/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace forms {

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

private:
    std::vector<Row> rows_;
    ServedLookup served_;
};

}  // namespace forms
