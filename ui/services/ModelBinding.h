// Joins an editor window's controls to its portable model: each declaration row takes its
// caption and tool tip from the model's control table, every user event goes to the model by
// the control's name, and Show puts the model's state (texts, values, choices, enabled and
// visible states, colours, tool tips) back into the controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/forms/Declare.h"
#include "ui/forms/Gdi.h"
#include "ui/services/ControlTableModel.h"

namespace services_ui {

// What the controls tell the model. Every member may be empty.
struct ModelEvents {
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

    // A declaration row for the model's control of that name.
    template <class F>
    forms::Declared<F> Row(const char* name, forms::Control& control, forms::Twips at,
                           forms::Control* parent = nullptr, forms::Look look = {}) {
        const ControlTableModel::Control& c = table_[name];
        entries_.push_back({name, &control, c.Type, c.ToolTip});
        if (c.Type == ControlTableModel::Kind::DropDownList)
            look.style |= CBS_DROPDOWNLIST;
        return forms::Declared<F>{control, c.Text, at, c.ToolTip, parent, look, {}};
    }

    // Binds every declared control's events to the model; run after the declaration table.
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
    ModelEvents events_;
    std::function<void()> after_;
    bool showing_ = false;
    std::vector<std::pair<COLORREF, forms::OwnedBrush>> brushes_;  // one per colour in use
};

// A colour of the model (0x00BBGGRR or 0x800000NN for system colour NN) as a COLORREF.
COLORREF SystemColour(std::uint32_t colour);

}  // namespace services_ui
