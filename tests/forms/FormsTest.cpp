// The window layer on real windows: events raised once, masked typing, posted re-focus,
// activation only between our own windows, modal showing, busy input filtering.
#include "ui/forms/Controls.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Form.h"

#include <gtest/gtest.h>

#include "tests/support/Seams.h"
#include "tests/support/win32/Windows.h"

#include <algorithm>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using forms::Form;

// Messages run a little longer here than in the program's tests (posted re-focus, activation).
void Settle(int rounds = 10) { test_support::Settle(rounds); }

class TestForm : public Form {
public:
    TestForm() : Form("frmTest", Style{}) {}
    forms::TextBox txtName;
    forms::MaskedEdit mskDate;
    forms::Button btnOK;
    forms::CheckBox chkOption;
    forms::OptionButton optA;
    forms::OptionButton optB;
    forms::Label lblInfo;
    forms::Timer tmrTick;
    std::vector<std::string> events;

protected:
    void CreateControls() override {
        // clang-format off
        forms::Declare<TestForm>(*this, {
            // control  caption       left  top  width height  tool tip  parent   look
            {txtName,   "",           {120, 120, 2000, 300}},
            {mskDate,   "##/##/####", {120, 600, 2000, 300}},
            {btnOK,     "&OK",        {120, 1000, 1000, 360},  {},       nullptr, {.style = BS_DEFPUSHBUTTON}},
            {chkOption, "Option",     {120, 1500, 2000, 300}},
            {optA,      "A",          {120, 1900, 1000, 300},  {},       nullptr, {.style = WS_GROUP}},
            {optB,      "B",          {1200, 1900, 1000, 300}},
            {lblInfo,   "info",       {120, 2300, 2000, 300}},
        });
        // clang-format on
        tmrTick.Create(*this, 0, false);
        txtName.Change = [this] { events.push_back("txtName_Change"); };
        txtName.LostFocus = [this] {
            events.push_back("txtName_LostFocus");
            if (txtName.Text() == "bad")
                txtName.RefocusLater();
        };
        mskDate.Change = [this] { events.push_back("mskDate_Change"); };
        mskDate.LostFocus = [this] {
            events.push_back("mskDate_LostFocus");
            if (mskDate.ClipText() == "bad")
                mskDate.RefocusLater();
        };
        btnOK.Click = [this] { events.push_back("btnOK_Click"); };
        chkOption.Click = [this] { events.push_back("chkOption_Click"); };
        optA.Click = [this] { events.push_back("optA_Click"); };
        optB.Click = [this] { events.push_back("optB_Click"); };
        tmrTick.Tick = [this] { events.push_back("tmrTick_Timer"); };
    }
    void Form_Load() override { events.push_back("Form_Load"); }
    void Form_Activate() override { events.push_back("Form_Activate"); }
    void Form_Unload(bool& cancel) override {
        events.push_back("Form_Unload");
        cancel = keepOnUnload;
    }

public:
    bool keepOnUnload = false;
};

class ModalForm : public Form {
public:
    ModalForm()
        : Form("frmModal",
               Style{WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 4000, 2000}) {}
    forms::Button btnClose;
    bool ownerWasDisabled = false;

protected:
    void CreateControls() override {
        forms::Declare<ModalForm>(*this, {{btnClose, "Close", {}}});
        btnClose.Click = [this] { Unload(); };
    }
    void Form_Activate() override {
        ownerWasDisabled = !forms::Instance<TestForm>().Enabled();
        btnClose.PerformClick();
    }
};

TEST(FormsLifecycle, LoadsOnceShowsAndUnloads) {
    TestForm form;
    EXPECT_FALSE(form.IsLoaded());
    form.Show();
    form.Show();
    Settle();
    ASSERT_TRUE(form.IsLoaded());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "Form_Load"), 1);
    EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "Form_Activate"), 1);

    form.keepOnUnload = true;
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.IsLoaded()) << "a cancelled unload keeps the window";
    form.keepOnUnload = false;
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_TRUE(form.Unload()) << "unloading an unloaded window does nothing";
    EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "Form_Unload"), 2);

    form.events.clear();
    form.Show();  // created again on next use
    Settle();
    EXPECT_EQ(form.events.front(), "Form_Load");
    form.Unload();
}

TEST(FormsEvents, SettingValuesRaisesTheirEventOnce) {
    TestForm form;
    form.Show();
    Settle();
    form.events.clear();

    form.txtName.SetText("hello");
    form.txtName.SetText("hello");  // same text: no change
    form.chkOption.SetValue(1);
    form.chkOption.SetValue(1);
    form.optB.SetValue(true);
    Settle();
    EXPECT_EQ(form.events,
              (std::vector<std::string>{"txtName_Change", "chkOption_Click", "optB_Click"}));
    EXPECT_EQ(form.txtName.Text(), "hello");
    EXPECT_FALSE(form.optA.Value());

    // Typing raises Change from the native control.
    form.events.clear();
    form.txtName.SetFocus();
    form.txtName.SetSelStart(5);
    SendMessageA(form.txtName.hwnd(), WM_CHAR, 'x', 0);
    EXPECT_EQ(form.events, (std::vector<std::string>{"txtName_Change"}));
    EXPECT_EQ(form.txtName.Text(), "hellox");

    // A click on the button, as the system reports it.
    form.events.clear();
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(form.btnOK.id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.btnOK.hwnd()));
    form.btnOK.SetEnabled(false);
    form.btnOK.PerformClick();
    EXPECT_EQ(form.events, (std::vector<std::string>{"btnOK_Click"}));

    form.tmrTick.Fire();
    EXPECT_EQ(form.events.back(), "tmrTick_Timer");
    form.Unload();
}

TEST(FormsMaskedEdit, TypingFollowsTheMask) {
    TestForm form;
    form.Show();
    Settle();
    EXPECT_EQ(form.mskDate.Text(), "__/__/____");
    form.mskDate.SetFocus();
    form.mskDate.SetSelStart(0);
    for (char c : std::string("12a3120")) {
        SendMessageA(form.mskDate.hwnd(), WM_CHAR, static_cast<WPARAM>(c), 0);
    }
    EXPECT_EQ(form.mskDate.Text(), "12/31/20__") << "letters are refused, literals skipped";
    EXPECT_EQ(form.mskDate.ClipText(), "123120");
    SendMessageA(form.mskDate.hwnd(), WM_CHAR, '\b', 0);
    EXPECT_EQ(form.mskDate.Text(), "12/31/2___");

    form.events.clear();
    form.mskDate.SetText("3/5/1999");
    EXPECT_EQ(form.mskDate.Text(), "3_/5_/1999") << "characters fit place by place";
    form.mskDate.SetText("03/05/1999");
    EXPECT_EQ(form.mskDate.Text(), "03/05/1999");
    EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "mskDate_Change"), 2);
    form.Unload();
}

TEST(FormsFocus, RefusedEntryTakesTheFocusBackWithoutPingPong) {
    TestForm form;
    form.Show();
    Settle();
    form.txtName.SetText("bad");
    form.txtName.SetFocus();
    Settle();
    form.events.clear();
    form.chkOption.SetFocus();  // the user moves on
    Settle();
    EXPECT_TRUE(form.txtName.HasFocus());
    EXPECT_EQ(std::count(form.events.begin(), form.events.end(), "txtName_LostFocus"), 1);
    form.Unload();
}

TEST(FormsErrors, AControlEventThatThrowsReachesTheEventErrorHandler) {
    TestForm form;
    form.Show();
    Settle();
    std::vector<std::string> reported;
    test_support::ScopedSeam handler(forms::SetEventErrorHandler, [&reported] {
        try {
            throw;
        } catch (const std::exception& error) {
            reported.push_back(error.what());
        }
    });
    form.txtName.SetFocus();
    Settle();
    form.txtName.LostFocus = [] { throw std::runtime_error("LostFocus"); };
    form.chkOption.GotFocus = [] { throw std::runtime_error("GotFocus"); };
    form.chkOption.KeyDown = [](int, int) { throw std::runtime_error("KeyDown"); };
    form.txtName.KeyPress = [](int&) { throw std::runtime_error("KeyPress"); };
    form.txtName.DblClick = [] { throw std::runtime_error("DblClick"); };
    form.txtName.MouseMove = [](int, int, int, int) { throw std::runtime_error("MouseMove"); };

    form.chkOption.SetFocus();
    Settle();
    EXPECT_TRUE(form.chkOption.HasFocus()) << "the focus change is not held up";
    SendMessageA(form.chkOption.hwnd(), WM_KEYDOWN, VK_F5, 0);
    SendMessageA(form.txtName.hwnd(), WM_CHAR, 'q', 0);
    SendMessageA(form.txtName.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(form.txtName.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(reported, (std::vector<std::string>{"LostFocus", "GotFocus", "KeyDown", "KeyPress",
                                                  "DblClick", "MouseMove"}));
    EXPECT_EQ(form.txtName.Text(), "q") << "the key still reaches the box";
    form.Unload();
}

TEST(FormsModal, DisablesTheOtherWindowsAndReturnsWhenUnloaded) {
    TestForm& owner = forms::Instance<TestForm>();
    owner.Show();
    Settle();
    ModalForm modal;
    modal.ShowModal();  // its Activate closes it
    EXPECT_TRUE(modal.ownerWasDisabled);
    EXPECT_FALSE(modal.IsLoaded());
    EXPECT_TRUE(owner.Enabled());
    Settle();
    // Coming back from the modal window is a new activation of the owner.
    EXPECT_EQ(owner.events.back(), "Form_Activate");

    // A message box is not one of our windows: no Activate after it.
    owner.events.clear();
    SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (HWND box = FindWindowA("#32770", "box"))
            PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    MessageBoxA(owner.hwnd(), "text", "box", MB_OK);
    Settle();
    EXPECT_EQ(std::count(owner.events.begin(), owner.events.end(), "Form_Activate"), 0);
    owner.Unload();
}

TEST(FormsBusy, InputIsHeldBackWhileACommandRuns) {
    TestForm form;
    form.Show();
    Settle();
    form.events.clear();
    {
        forms::BusyCursor busy;
        PostMessageA(form.txtName.hwnd(), WM_CHAR, 'z', 0);
        forms::PumpMessages();
    }
    EXPECT_EQ(form.txtName.Text(), "");
    PostMessageA(form.txtName.hwnd(), WM_CHAR, 'z', 0);
    forms::PumpMessages();
    EXPECT_EQ(form.txtName.Text(), "z");
    form.Unload();
}

TEST(FormsGeometry, TwipsFollowTheScreenResolution) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(forms::TwipsToPixelsX(1440), dpi);
    EXPECT_EQ(forms::PixelsToTwipsX(dpi), 1440);
    TestForm form;
    form.Show();
    form.txtName.Move(300, 450, 1500, 300);
    EXPECT_NEAR(form.txtName.Left(), 300, 15);
    EXPECT_NEAR(form.txtName.Width(), 1500, 15);
    form.Unload();
}

}  // namespace
