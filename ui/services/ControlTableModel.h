// The state of an editor window's controls as its portable model keeps it: one entry per
// control in the window's control order, with the texts, values, enabled states and colours
// its procedures set. The window shows this state; its rules (checks, enable-by-name passes)
// work on it without the system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ControlTableModel {

// Colours as the windows store them: 0x00BBGGRR, or 0x800000NN for the system colour NN.
inline constexpr std::uint32_t kWindowBackground = 0x80000005;
inline constexpr std::uint32_t kButtonFace = 0x8000000F;
inline constexpr std::uint32_t kButtonText = 0x80000012;
inline constexpr std::uint32_t kWindowText = 0x80000008;
inline constexpr std::uint32_t kGreyBackground = 0xC0C0C0;
inline constexpr std::uint32_t kGreyText = 0x808080;
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kRed = 0x0000FF;

enum class Kind {
    Frame,
    Label,
    TextBox,
    DropDownList,   // a list that takes only its own items
    DropDownCombo,  // a list whose text may also be typed
    CheckBox,
    OptionButton,
    Button,
    ListView,
    Picture,
    TabStrip,
};

struct Control {
    std::string Name;  // as the window names it: "txtNumber", "optDialCost(1)"
    Kind Type = Kind::Label;
    int Page = -1;  // the tab page it lies on; -1 for the window itself
    // Caption of a label, button, frame or check box; text of a box; the chosen item's text
    // of a list.
    std::string Text;
    std::string ToolTip;
    std::vector<std::string> Items;  // list items
    int Value = 0;                   // check box 0 unchecked, 1 checked, 2 greyed; option 0 or 1
    bool Enabled = true;
    bool Visible = true;
    std::uint32_t BackColor = kWindowBackground;
    std::uint32_t ForeColor = kBlack;
};

class Table {
public:
    Table() = default;
    explicit Table(std::vector<Control> controls);

    // The control of that name; an unknown name raises error 9 (a program fault).
    Control& operator[](std::string_view name);
    const Control& operator[](std::string_view name) const;
    bool Has(std::string_view name) const;

    std::vector<Control>& All() { return controls_; }
    const std::vector<Control>& All() const { return controls_; }

    // Index of the item whose text equals text without regard to case, -1 when none.
    static int FindItem(const Control& list, std::string_view text);

private:
    std::vector<Control> controls_;
    std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace ControlTableModel
