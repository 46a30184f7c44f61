// A window written the declared way: controls from a table (inside frames and tab pages), a
// tab strip with its pages and Ctrl+Tab, a command table shared by menu and toolbar, the one
// instance of a window.
#include "ui/forms/Commands.h"
#include "ui/forms/Declare.h"
#include "ui/forms/TabStrip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Seams.h"

namespace {

void Settle(int rounds = 4) {
    for (int i = 0; i < rounds; ++i) {
        forms::PumpMessages();
        Sleep(5);
    }
}

class frmPages : public forms::SingleForm<frmPages> {
public:
    frmPages() : SingleForm("frmPages", Style{}) { keyPreview_ = true; }

    enum class Command { Save, Close, Served };

    forms::TabStrip TabStrip1;
    forms::Frame Settings[3];
    forms::TextBox txtName;
    forms::CheckBox chkFlag;
    forms::Button btnSave;
    forms::Label lblRight;
    forms::MenuItem mnuFile, mnuSave, mnuClose;
    std::vector<std::string> events;
    forms::CommandTable<Command> commands;

    void TabStrip1_Click() {
        events.push_back("TabStrip1_Click " + std::to_string(TabStrip1.SelectedIndex()));
    }
    void txtName_Change() { events.push_back("txtName_Change"); }
    void chkFlag_Click() { events.push_back("chkFlag_Click"); }
    void btnSave_Click() { events.push_back("Save"); }

protected:
    void CreateControls() override {
        // clang-format off
        forms::Declare<frmPages>(*this, {
            // control    caption    left  top  width height  tool tip     parent        look                         events
            {TabStrip1,   "",        {120, 120, 5000, 3000},  {},          nullptr,      {},                          {.click = &frmPages::TabStrip1_Click}},
            {Settings[0], "General", {240, 500, 4700, 2500}},
            {Settings[1], "Modem",   {240, 500, 4700, 2500}},
            {Settings[2], "Report",  {240, 500, 4700, 2500}},
            {txtName,     "",        {120, 300, 2000, 300},   "Your name", &Settings[0], {},                          {.change = &frmPages::txtName_Change}},
            {chkFlag,     "Flag",    {120, 300, 2000, 300},   {},          &Settings[1], {},                          {.click = &frmPages::chkFlag_Click}},
            {btnSave,     "&OK",     {120, 3300, 1000, 360},  "Save",      nullptr,      {.style = BS_DEFPUSHBUTTON}, {.click = &frmPages::btnSave_Click}},
            {lblRight,    "right",   {1200, 3300, 1000, 300}, {},          nullptr,      {.font = "Arial", .points = 12, .bold = true, .style = SS_RIGHT, .hidden = true}},
        });
        // clang-format on
        TabStrip1.SetTabs({{"General", "General Operating Parameters"},
                           {"Modem", "Modem Response Settings", "ModemKey"},
                           {"Report", ""}},
                          {&Settings[0], &Settings[1], &Settings[2]});
        HMENU bar = CreateMenu();
        HMENU file = CreatePopupMenu();
        mnuFile.CreatePopup(bar, file, "&File");
        mnuSave.Create(*this, file, "&Save");
        mnuClose.Create(*this, file, "&Close");
        SetMenu(hwnd(), bar);
        commands.Define({
            {Command::Save, "Save", &mnuSave, "Save", [this] { btnSave_Click(); }, FCONTROL, 'S'},
            {Command::Close, "Close", &mnuClose, nullptr, [this] { events.push_back("Close"); }},
            {Command::Served, "Served", nullptr, "Elsewhere"},
        });
    }
    void Form_KeyDown(int key, int shift) override {
        if (key == VK_TAB && shift == 2)
            TabStrip1.SelectNext();
    }
};

TEST(DeclaredForm, TableCreatesPlacesAndBindsEveryControl) {
    frmPages& form = frmPages::Get();
    EXPECT_EQ(frmPages::IfLoaded(), nullptr);
    form.Show();
    Settle();
    ASSERT_EQ(frmPages::IfLoaded(), &form);

    // Ids are the window's own and distinct; children sit in their frames.
    std::vector<int> ids{form.TabStrip1.id(), form.Settings[0].id(), form.txtName.id(),
                         form.chkFlag.id(),   form.btnSave.id(),     form.lblRight.id()};
    for (size_t i = 0; i < ids.size(); ++i) {
        EXPECT_GE(ids[i], forms::Form::kFirstReservedId);
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(ids[i], ids[j]);
    }
    EXPECT_EQ(GetParent(form.txtName.hwnd()), form.Settings[0].hwnd());
    EXPECT_EQ(GetParent(form.chkFlag.hwnd()), form.Settings[1].hwnd());
    EXPECT_NEAR(form.txtName.Left(), 120, 15);
    EXPECT_NEAR(form.btnSave.Width(), 1000, 15);
    EXPECT_TRUE(GetWindowLongPtrA(form.btnSave.hwnd(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(GetWindowLongPtrA(form.lblRight.hwnd(), GWL_STYLE) & SS_RIGHT);
    EXPECT_FALSE(form.lblRight.Visible());
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.lblRight.hwnd(), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_GE(font.lfWeight, FW_BOLD);

    // Events reach the procedures named in the table, from controls inside frames too.
    form.events.clear();
    form.txtName.SetText("x");
    SendMessageA(form.chkFlag.hwnd(), BM_CLICK, 0, 0);
    SendMessageA(form.btnSave.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.events, (std::vector<std::string>{"txtName_Change", "chkFlag_Click", "Save"}));
    form.Unload();
    EXPECT_EQ(frmPages::IfLoaded(), nullptr);
}

TEST(DeclaredForm, TabStripShowsOnePageAndCyclesWithCtrlTab) {
    frmPages& form = frmPages::Get();
    form.Show();
    Settle();
    forms::TabStrip& tabs = form.TabStrip1;
    ASSERT_EQ(tabs.TabCount(), 3);
    EXPECT_EQ(tabs.SelectedIndex(), 1);
    EXPECT_EQ(tabs.Key(1), "General") << "the key defaults to the caption";
    EXPECT_EQ(tabs.Key(2), "ModemKey");
    EXPECT_EQ(tabs.ToolTipText(1), "General Operating Parameters");
    EXPECT_EQ(tabs.ToolTipText(2), "Modem Response Settings");
    EXPECT_EQ(tabs.ToolTipText(3), "");
    EXPECT_TRUE(form.Settings[0].Visible());
    EXPECT_FALSE(form.Settings[1].Visible());
    EXPECT_FALSE(form.Settings[2].Visible());

    // The user picks a tab: the native control reports the change to the window.
    form.events.clear();
    SendMessageA(tabs.hwnd(), TCM_SETCURSEL, 1, 0);
    NMHDR change = {tabs.hwnd(), static_cast<UINT_PTR>(tabs.id()),
                    static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(form.hwnd(), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_FALSE(form.Settings[0].Visible());
    EXPECT_TRUE(form.Settings[1].Visible());
    tabs.Select(2);  // already selected: no event
    EXPECT_EQ(form.events, (std::vector<std::string>{"TabStrip1_Click 2"}));

    // Ctrl+Tab reaches the window before the dialog navigation takes it; after the last tab
    // comes the first.
    form.txtName.SetFocus();
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    for (int i = 0; i < 2; ++i) {
        PostMessageA(form.chkFlag.hwnd(), WM_KEYDOWN, VK_TAB, 0);
        Settle();
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(tabs.SelectedIndex(), 1);
    EXPECT_EQ(form.events, (std::vector<std::string>{"TabStrip1_Click 2", "TabStrip1_Click 3",
                                                     "TabStrip1_Click 1"}));
    EXPECT_TRUE(form.Settings[0].Visible());
    EXPECT_FALSE(form.Settings[2].Visible());
    form.Unload();
}

TEST(DeclaredForm, OneCommandTableDrivesMenuToolbarKeysAndShortcuts) {
    frmPages& form = frmPages::Get();
    form.Show();
    Settle();
    std::vector<std::string> unserved;
    test_support::ScopedSeam hook(forms::SetUnservedCommandHook,
                                  [&](const std::string& command) { unserved.push_back(command); });
    form.events.clear();
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.mnuSave.id(), 0), 0);
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.mnuClose.id(), 0), 0);
    EXPECT_TRUE(form.commands.RunKey("Save"));
    EXPECT_FALSE(form.commands.RunKey("save")) << "keys compare exactly";
    EXPECT_EQ(form.events, (std::vector<std::string>{"Save", "Close", "Save"}));
    std::vector<ACCEL> keys = form.commands.Accelerators();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].cmd, form.mnuSave.id());
    EXPECT_EQ(keys[0].key, 'S');

    // A command no window serves is reported, by its name.
    EXPECT_TRUE(form.commands.RunKey("Elsewhere"));
    EXPECT_EQ(unserved, (std::vector<std::string>{"Served"}));
    form.Unload();
}

// Two windows' menus number their items alike; each window runs only its own.
TEST(DeclaredForm, MenuIdsAreEachWindowsOwn) {
    struct frmOther : forms::Form {
        frmOther() : Form("frmOther", Style{}) {}
        forms::MenuItem mnuOnly;
        int clicks = 0;
        void CreateControls() override {
            // The same id as the other window's first menu item.
            ReserveIds(frmPages::Get().mnuSave.id() - kFirstReservedId);
            HMENU bar = CreateMenu();
            mnuOnly.Create(*this, bar, "&Only");
            mnuOnly.Click = [this] { ++clicks; };
            SetMenu(hwnd(), bar);
        }
    } other;
    frmPages& form = frmPages::Get();
    form.Show();
    other.Show();
    Settle();
    ASSERT_EQ(other.mnuOnly.id(), form.mnuSave.id());
    form.events.clear();
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.mnuSave.id(), 0), 0);
    EXPECT_EQ(other.clicks, 0);
    EXPECT_EQ(form.events, (std::vector<std::string>{"Save"}));
    SendMessageA(other.hwnd(), WM_COMMAND, MAKEWPARAM(other.mnuOnly.id(), 0), 0);
    EXPECT_EQ(other.clicks, 1);
    form.Unload();
    other.Unload();
}

// A menu bar declared with its commands: titles, items, separators and a submenu in menu
// order; the toolbar's buttons in row order with their gaps, found by command.
class frmMenus : public forms::SingleForm<frmMenus> {
public:
    enum class Command { Save, Sub, Exit, Served };
    using C = Command;
    using F = frmMenus;

    frmMenus() : SingleForm("frmMenus", Style{}) {
        // clang-format off
        commands.Declare(*this, {
            {0, &mnuFile,  "&File"},
            {1, &mnuSave,  "&Save",  C::Save,   "Save",   &F::Save, {"Save", "Save it", 0, forms::kGap}, FCONTROL, 'S'},
            {1, &mnuSep,   "-"},
            {1, &mnuMore,  "&More"},
            {2, &mnuSub,   "S&ub",   C::Sub,    "Sub",    &F::Sub,  {"Sub", "A sub item", 1}},
            {1, &mnuExit,  "E&xit",  C::Exit,   "Exit",   &F::Exit},
            {0, &mnuHelp,  "&Help"},
            {1, &mnuAbout, "&About", C::Served, "Served", {},       {"About", "About it", 2, forms::kGap}},
        });
        // clang-format on
    }

    forms::Toolbar bar;
    forms::MenuItem mnuFile, mnuSave, mnuSep, mnuMore, mnuSub, mnuExit, mnuHelp, mnuAbout;
    forms::CommandTable<Command> commands;
    std::vector<std::string> events;

    void Save() { events.push_back("Save"); }
    void Sub() { events.push_back("Sub"); }
    void Exit() { events.push_back("Exit"); }

protected:
    void CreateControls() override {
        commands.CreateMenuBar(*this);
        bar.SetButtons({}, commands.ToolbarButtons());
        forms::Declare<frmMenus>(*this, {{bar, "", {}}});
        bar.ButtonClick = [this](const std::string& key) { commands.RunKey(key); };
    }
};

std::string MenuText(HMENU menu, int position) {
    char text[64] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST(DeclaredForm, CommandRowsBuildTheMenuBarAndTheToolbar) {
    frmMenus& form = frmMenus::Get();
    form.Show();
    Settle();
    std::vector<std::string> unserved;
    test_support::ScopedSeam hook(forms::SetUnservedCommandHook,
                                  [&](const std::string& command) { unserved.push_back(command); });

    HMENU bar = GetMenu(form.hwnd());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 1), "&Help");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    HMENU more = GetSubMenu(file, 2);
    ASSERT_NE(more, nullptr);
    ASSERT_EQ(GetMenuItemCount(more), 1);
    EXPECT_EQ(MenuText(more, 0), "S&ub");
    EXPECT_EQ(MenuText(file, 3), "E&xit");
    EXPECT_NE(form.Accelerators(), nullptr);

    // gap, Save, Sub, gap, About
    ASSERT_EQ(form.bar.ButtonCount(), 5);
    EXPECT_EQ(form.bar.ButtonKey(1), "");
    EXPECT_EQ(form.commands.ToolbarPosition(frmMenus::C::Save), 2);
    EXPECT_EQ(form.commands.ToolbarPosition(frmMenus::C::Sub), 3);
    EXPECT_EQ(form.bar.ButtonKey(4), "");
    EXPECT_EQ(form.commands.ToolbarPosition(frmMenus::C::Served), 5);
    EXPECT_EQ(form.commands.ToolbarPosition(frmMenus::C::Exit), 0) << "no button";
    EXPECT_EQ(form.bar.ShownToolTip(3), "A sub item");

    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.mnuSub.id(), 0), 0);
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.mnuExit.id(), 0), 0);
    form.bar.PerformClick(2);
    form.bar.PerformClick(5);
    EXPECT_EQ(form.events, (std::vector<std::string>{"Sub", "Exit", "Save"}));
    EXPECT_EQ(unserved, (std::vector<std::string>{"Served"}));
    form.Unload();
}

// A toolbar whose order is not the menu's: the button marked kAtEnd follows the others, the
// menu keeps its row. Check buttons and a group of them take the toolbar's own styles.
class frmChecks : public forms::SingleForm<frmChecks> {
public:
    enum class Command { Numbers, One, Two, Bigger };
    using C = Command;
    using F = frmChecks;
    using B = forms::ButtonKind;

    frmChecks() : SingleForm("frmChecks", Style{}) {
        using forms::kAtEnd;
        using forms::kGap;
        using forms::kNoGap;
        // clang-format off
        commands.Declare(*this, {
            {0, &mnuView,    "&View"},
            {1, &mnuNumbers, "&Numbers", C::Numbers, "Numbers", &F::Numbers, {"Numbers", "Numbered", 0, kGap, B::Check, kAtEnd}},
            {1, &mnuOne,     "&One",     C::One,     "One",     &F::One,     {"One", "The first", 1, kGap, B::GroupCheck}},
            {1, &mnuTwo,     "&Two",     C::Two,     "Two",     &F::Two,     {"Two", "The second", 2, kNoGap, B::GroupCheck}},
            {1, &mnuBigger,  "&Bigger",  C::Bigger,  "Bigger",  &F::Bigger,  {"Bigger", "Bigger", 3, kGap}},
        });
        // clang-format on
    }

    forms::Toolbar bar;
    forms::MenuItem mnuView, mnuNumbers, mnuOne, mnuTwo, mnuBigger;
    forms::CommandTable<Command> commands;
    std::vector<std::string> events;

    void Numbers() { events.push_back("Numbers"); }
    void One() { events.push_back("One"); }
    void Two() { events.push_back("Two"); }
    void Bigger() { events.push_back("Bigger"); }

    // The native style of the button at a toolbar position.
    BYTE ButtonStyle(int position) const {
        TBBUTTON button = {};
        SendMessageA(bar.hwnd(), TB_GETBUTTON, static_cast<WPARAM>(position - 1),
                     reinterpret_cast<LPARAM>(&button));
        return button.fsStyle;
    }

protected:
    void CreateControls() override {
        commands.CreateMenuBar(*this);
        bar.SetButtons({}, commands.ToolbarButtons());
        forms::Declare<frmChecks>(*this, {{bar, "", {}}});
        bar.ButtonClick = [this](const std::string& key) { commands.RunKey(key); };
    }
};

TEST(DeclaredForm, AButtonAtTheEndAndCheckButtonsFromTheCommandRows) {
    frmChecks& form = frmChecks::Get();
    form.Show();
    Settle();
    using C = frmChecks::C;

    // gap, One, Two, gap, Bigger, gap, Numbers
    ASSERT_EQ(form.bar.ButtonCount(), 7);
    EXPECT_EQ(form.commands.ToolbarPosition(C::One), 2);
    EXPECT_EQ(form.commands.ToolbarPosition(C::Two), 3);
    EXPECT_EQ(form.commands.ToolbarPosition(C::Bigger), 5);
    EXPECT_EQ(form.bar.ButtonKey(6), "");
    EXPECT_EQ(form.commands.ToolbarPosition(C::Numbers), 7);
    EXPECT_EQ(form.bar.ShownToolTip(7), "Numbered");
    HMENU view = GetSubMenu(GetMenu(form.hwnd()), 0);
    EXPECT_EQ(MenuText(view, 0), "&Numbers") << "the menu keeps the row's place";

    EXPECT_EQ(form.ButtonStyle(7) & (BTNS_CHECK | BTNS_GROUP), BTNS_CHECK);
    EXPECT_EQ(form.ButtonStyle(2) & BTNS_CHECKGROUP, BTNS_CHECKGROUP);
    EXPECT_EQ(form.ButtonStyle(3) & BTNS_CHECKGROUP, BTNS_CHECKGROUP);
    EXPECT_EQ(form.ButtonStyle(5) & BTNS_CHECKGROUP, 0);

    form.bar.PerformClick(7);
    form.bar.PerformClick(2);
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.mnuNumbers.id(), 0), 0);
    EXPECT_EQ(form.events, (std::vector<std::string>{"Numbers", "One", "Numbers"}));
    form.Unload();
}

}  // namespace
