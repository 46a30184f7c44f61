// Joins an editor window's controls to its portable model: each declaration row takes its
// caption and tool tip from the model's control table, every user event goes to the model by
// the control's name, and Show puts the model's state (texts, values, choices, enabled and
// visible states, colours, tool tips) back into the controls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/forms/Declare.h"
#include "ui/forms/Gdi.h"
#include "ui/services/ControlTableModel.h"

namespace services_ui {

// What the controls tell the model. Every member may be empty. Each event records its
// procedure (the control's name without its index, then "_Change", "_Click", "_GotFocus" or
// "_LostFocus") under the window's module name first.
struct ModelEvents {
    std::string Module;
    std::function<void(const std::string& control, const std::string& text)> Text;
    std::function<void(const std::string& control, int value)> Value;
    std::function<void(const std::string& control)> Click;
    std::function<void(const std::string& control)> GotFocus;
    std::function<void(const std::string& control)> LostFocus;
};

class ModelBinding {
public:
    explicit ModelBinding(const ControlTableModel::Table& table) : table_(table) {}
    ModelBinding(const ModelBinding&) = delete;
    ModelBinding& operator=(const ModelBinding&) = delete;

    // A declaration row for the model's control of that name. A name the model lacks gives a
    // bare control, which Bind names in its error.
    template <class F>
    forms::Declared<F> Row(const char* name, forms::Control& control, forms::Twips at,
                           forms::Control* parent = nullptr, forms::Look look = {}) {
        // A window loaded again declares its rows again: each name is kept once.
        std::erase_if(entries_, [&](const Entry& e) { return e.name == name; });
        std::erase(unknown_, name);
        if (!table_.Has(name)) {
            unknown_.push_back(name);
            return forms::Declared<F>{control, "", at, "", parent, look, {}};
        }
        const ControlTableModel::Control& c = table_[name];
        entries_.push_back({name, &control, c.Type, c.ToolTip});
        if (c.Type == ControlTableModel::Kind::DropDownList)
            look.style |= CBS_DROPDOWNLIST;
        return forms::Declared<F>{control, c.Text, at, c.ToolTip, parent, look, {}};
    }

    // Binds every declared control's events to the model; run after the declaration table.
    // Then a row whose name the model lacks raises error 9, and a control of the model that no
    // row declared (its tab strip apart, which the window declares itself) error 51, each
    // naming the control; the controls that match stay bound.
    void Bind(ModelEvents events, std::function<void()> after);
    // Puts each list's items into its control (once the model has filled them).
    void FillLists();
    // Shows the model's state in the controls; their own echo of it reaches no model.
    void Show();
    // The control of a name, or null.
    forms::Control* Find(const std::string& name) const;
    // Gives a control the focus after the current message.
    void FocusLater(const std::string& name);
    bool Showing() const { return showing_; }

    // Answers a WM_CTLCOLOR* message for a control of the model with its colours; false for
    // any other message or control, which the window answers as usual.
    bool AnswerColours(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    // Paints a control's colours: the brush, or null for the default.
    HBRUSH Colours(HWND control, HDC dc);

    struct Entry {
        std::string name;
        forms::Control* control = nullptr;
        ControlTableModel::Kind kind = ControlTableModel::Kind::Label;
        std::string toolTip;
    };
    const ControlTableModel::Table& table_;
    std::vector<Entry> entries_;
    std::vector<std::string> unknown_;  // rows whose name the model lacks
    ModelEvents events_;
    std::function<void()> after_;
    bool showing_ = false;
    std::vector<std::pair<COLORREF, forms::OwnedBrush>> brushes_;  // one per colour in use
};

// A colour of the model (0x00BBGGRR or 0x800000NN for system colour NN) as a COLORREF.
COLORREF SystemColour(std::uint32_t colour);

}  // namespace services_ui
