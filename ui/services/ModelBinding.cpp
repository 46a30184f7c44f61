#include "ui/services/ModelBinding.h"

#include "core/ErrorContext.h"
#include "core/RuntimeError.h"
#include "ui/forms/ListView.h"
#include "ui/forms/TabStrip.h"

namespace services_ui {

using ControlTableModel::Kind;

COLORREF SystemColour(std::uint32_t colour) {
    if (colour & 0x80000000u)
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return static_cast<COLORREF>(colour & 0xFFFFFF);
}

void ModelBinding::Bind(ModelEvents events, std::function<void()> after) {
    events_ = std::move(events);
    after_ = std::move(after);
    for (Entry& e : entries_) {
        forms::Control* c = e.control;
        const std::string name = e.name;
        const std::string procedure = name.substr(0, name.find('('));
        // Each event goes to the model, then the window shows what it left behind.
        auto send = [this, procedure](const char* event, std::function<void()> toModel) {
            return [this, proc = procedure + event, toModel] {
                if (showing_)
                    return;
                runtime::SetContext(events_.Module, proc);
                toModel();
                if (after_)
                    after_();
            };
        };
        auto call = [this, name](const std::function<void(const std::string&)>& f) {
            return [&f, name] {
                if (f)
                    f(name);
            };
        };
        // A choice from a list is the text of the chosen item.
        auto pick = [this, c, name] {
            auto* combo = static_cast<forms::ComboBox*>(c);
            if (events_.Text && combo->ListIndex() >= 0)
                events_.Text(name, combo->List(combo->ListIndex()));
        };
        switch (e.kind) {
        case Kind::TextBox:
        case Kind::DropDownCombo:
            c->Change = send("_Change", [this, c, name] {
                if (events_.Text)
                    events_.Text(name, c->Text());
            });
            if (e.kind == Kind::DropDownCombo)
                c->Click = send("_Click", pick);
            break;
        case Kind::DropDownList:
            c->Click = send("_Click", pick);
            break;
        case Kind::CheckBox:
            c->Click = send("_Click", [this, c, name] {
                if (events_.Value)
                    events_.Value(name, static_cast<forms::CheckBox*>(c)->Value());
            });
            break;
        case Kind::OptionButton:
            c->Click = send("_Click", [this, c, name] {
                if (events_.Value && static_cast<forms::OptionButton*>(c)->Value())
                    events_.Value(name, 1);
            });
            break;
        case Kind::Button:
            c->Click = send("_Click", call(events_.Click));
            break;
        default:
            break;
        }
        if (e.kind == Kind::TextBox || e.kind == Kind::DropDownList ||
            e.kind == Kind::DropDownCombo) {
            c->GotFocus = send("_GotFocus", call(events_.GotFocus));
            c->LostFocus = send("_LostFocus", call(events_.LostFocus));
        }
    }
    if (!unknown_.empty())
        throw runtime::RuntimeError(
            9, "Subscript out of range: the model has no control named " + unknown_.front());
    for (const ControlTableModel::Control& c : table_.All()) {
        if (c.Type != Kind::TabStrip && !Find(c.Name))
            throw runtime::RuntimeError(51, "Internal error: the model's control " + c.Name +
                                                " is declared by no row of the window");
    }
}

void ModelBinding::FillLists() {
    showing_ = true;
    for (Entry& e : entries_) {
        if (e.kind != Kind::DropDownList && e.kind != Kind::DropDownCombo)
            continue;
        auto* combo = static_cast<forms::ComboBox*>(e.control);
        combo->Clear();
        for (const std::string& item : table_[e.name].Items)
            combo->AddItem(item);
    }
    showing_ = false;
}

void ModelBinding::Show() {
    showing_ = true;
    for (Entry& e : entries_) {
        const ControlTableModel::Control& m = table_[e.name];
        forms::Control* c = e.control;
        if (c->Enabled() != m.Enabled)
            c->SetEnabled(m.Enabled);
        if (e.kind != Kind::Frame && c->Visible() != m.Visible)
            c->SetVisible(m.Visible);
        if (e.toolTip != m.ToolTip) {
            c->SetToolTip(m.ToolTip);
            e.toolTip = m.ToolTip;
        }
        switch (e.kind) {
        case Kind::DropDownList: {
            auto* combo = static_cast<forms::ComboBox*>(c);
            const int index = ControlTableModel::Table::FindItem(m, m.Text);
            if (combo->ListIndex() != index)
                combo->SetListIndex(index);
            break;
        }
        case Kind::CheckBox: {
            auto* check = static_cast<forms::CheckBox*>(c);
            if (check->Value() != m.Value)
                check->SetValue(m.Value);
            break;
        }
        case Kind::OptionButton: {
            auto* option = static_cast<forms::OptionButton*>(c);
            if (option->Value() != (m.Value != 0))
                option->SetValue(m.Value != 0);
            break;
        }
        case Kind::ListView:
        case Kind::TabStrip:
        case Kind::Picture:
            break;
        default:
            if (c->Text() != m.Text) {
                c->SetText(m.Text);
                // A text put back while the user types in the box: typing goes on at its end.
                if (e.kind == Kind::TextBox && GetFocus() == c->hwnd())
                    SendMessageA(c->hwnd(), EM_SETSEL, m.Text.size(), m.Text.size());
            }
            break;
        }
        InvalidateRect(c->hwnd(), nullptr, TRUE);
    }
    showing_ = false;
}

forms::Control* ModelBinding::Find(const std::string& name) const {
    for (const Entry& e : entries_)
        if (e.name == name)
            return e.control;
    return nullptr;
}

void ModelBinding::FocusLater(const std::string& name) {
    if (forms::Control* c = Find(name))
        c->RefocusLater();
}

bool ModelBinding::AnswerColours(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORLISTBOX)
        return false;
    HBRUSH brush = Colours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp));
    if (brush)
        result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
}

HBRUSH ModelBinding::Colours(HWND control, HDC dc) {
    for (const Entry& e : entries_) {
        if (e.control->hwnd() != control)
            continue;
        const ControlTableModel::Control& m = table_[e.name];
        if (e.kind != Kind::TextBox && e.kind != Kind::DropDownList &&
            e.kind != Kind::DropDownCombo && e.kind != Kind::Label)
            return nullptr;
        const COLORREF back = SystemColour(m.BackColor);
        SetTextColor(dc, SystemColour(m.ForeColor));
        SetBkColor(dc, back);
        for (const auto& [colour, brush] : brushes_)
            if (colour == back)
                return brush.Get();
        brushes_.emplace_back(back, forms::OwnedBrush(CreateSolidBrush(back)));
        return brushes_.back().second.Get();
    }
    return nullptr;
}

}  // namespace services_ui
