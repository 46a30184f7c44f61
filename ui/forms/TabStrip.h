// A tab strip with its pages: each tab shows one page (a Frame, with its own controls) while
// it is selected and hides the others. Tabs are numbered from 1; each has a caption, a key
// (its caption unless given) and a tool tip. Selecting another tab, by the user or from code,
// shows its page and raises Click once.
#pragma once

#include "ui/forms/Controls.h"

#include <string>
#include <vector>

namespace forms {

class TabStrip : public Control {
public:
    struct Tab {
        std::string caption = {};
        std::string toolTip = {};
        std::string key = {};  // empty: the caption
    };

    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    // The tabs and the page of each (pages may be null, or fewer than the tabs). The first tab
    // is selected; no Click is raised.
    void SetTabs(const std::vector<Tab>& tabs, const std::vector<Control*>& pages = {});

    int TabCount() const { return static_cast<int>(tabs_.size()); }
    const std::string& Caption(int index) const;
    const std::string& Key(int index) const;
    // The tool tip the strip shows over tab `index` (read back from the native tool tip).
    std::string ToolTipText(int index) const;
    Control* Page(int index) const;

    // The selected tab, 1 the first (0 when there are no tabs).
    int SelectedIndex() const;
    void Select(int index);
    // Ctrl+Tab: the next tab, after the last the first.
    void SelectNext();

    // The help topic of the selected tab, kept for the window's help.
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ShowSelectedPage();
    void PlaceToolTips();
    std::vector<Tab> tabs_;
    std::vector<Control*> pages_;
    HWND toolTip_ = nullptr;
    int helpContext_ = 0;
};

}  // namespace forms
