// A small window layer with the event model the program's windows are written in: one
// object per window, created on first use, with Load / Activate / Deactivate / Resize /
// Unload events, modeless or modal showing, and controls that raise their own events.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace forms {

class Control;
class Button;
class Timer;
class MenuItem;

// Messages the layer posts to itself.
enum : UINT {
    WM_FORM_ACTIVATE = WM_APP + 0x100,  // raise Form_Activate after activation settles
    WM_FORM_REFOCUS,                    // wParam = control id: give it the focus again
    WM_FORM_POSTED_CALL,                // run a queued call on the window's thread
    WM_FORM_DEFAULT_LOOK,               // give the default look to the right push button
};

// A length in twips as it was last set, with the pixels it became. A pixel holds several
// twips, so converting the pixels back would give a neighbouring value (1000 twips are 67
// pixels at 96 DPI, which read back as 1005): while the pixels are still the ones set, the
// twips read back are the twips set, so a stored size survives being shown and stored
// again. Once the pixels differ (the user moved or sized), they are converted.
class KeptTwips {
public:
    enum Axis { Horizontal, Vertical };
    explicit KeptTwips(Axis axis) : axis_(axis) {}
    // The pixels for `twips`, remembered with them.
    int ToPixels(int twips);
    // The twips for `pixels`: the twips set while the pixels are the ones they became.
    int FromPixels(int pixels) const;

private:
    static constexpr int kNone = std::numeric_limits<int>::min();
    Axis axis_;
    int twips_ = 0;
    int pixels_ = kNone;
};

class Form {
public:
    // How the window is created: styles and design size.
    struct Style {
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = WS_EX_CONTROLPARENT;
        int widthTwips = 6000;
        int heightTwips = 4500;
        bool centred = true;
        HMENU menu = nullptr;
        int iconResource = 0;
        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);

        // A fixed-size dialog-like window: caption, system menu and modal frame.
        static Style Dialog(int widthTwips, int heightTwips) {
            Style style;
            style.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
            style.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
            style.widthTwips = widthTwips;
            style.heightTwips = heightTwips;
            return style;
        }
    };

    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool IsLoaded() const { return hwnd_ != nullptr; }
    const std::string& Name() const { return name_; }

    // Creates the window (running Form_Load) when it does not exist yet.
    void Load();
    // Shows the window modeless, loading it first when needed.
    void Show();
    // Shows the window modal: disables the other windows of the program and returns when it
    // is hidden or unloaded.
    void ShowModal();
    void Hide();
    // Runs Form_Unload; unless it cancels, destroys the window. Returns false when cancelled.
    // Unloading a window that was never loaded does nothing.
    bool Unload();

    bool Visible() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetCaption(const std::string& text);
    std::string Caption() const;
    bool IsModal() const { return modal_; }

    // Window position and size in twips (outer rectangle).
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width, int height);
    void SetSize(int width, int height);
    // Size of the client area in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    bool Minimized() const;

    // Queues a call to run after the current message (used for posted re-focus and the like).
    void Post(std::function<void()> call);

    // Keyboard shortcuts of the window's commands (WM_COMMAND with the command id).
    void SetAccelerators(const std::vector<ACCEL>& keys);
    HACCEL Accelerators() const { return accelerators_; }

    // The control with this id, or null.
    Control* FindControl(int id) const;
    // The menu item of this window's menus with this command id, or null.
    MenuItem* FindMenuItem(int id) const;

    // Ids for controls, menu items and toolbar buttons are handed out by the window, the only
    // place they come from: `count` consecutive ids, none used before in this window's life,
    // all from kFirstReservedId up, clear of the ids the dialog keys send (IDOK, IDCANCEL).
    int ReserveIds(int count = 1);
    static constexpr int kFirstReservedId = 1000;

    // Notifications whose sender is not a control of the window (the tool tips of a toolbar
    // or a tab strip) go to this control.
    void RouteNotifications(HWND sender, Control* control);

    // Enter runs the default button (the push button created as default) unless the focus is
    // on another push button; Escape runs the cancel button. Only the focused push button, or
    // else the default button, looks default. The focus moving to the cancel button runs no
    // leave check, so that Cancel closes whatever a box holds; the check runs when the focus
    // goes on from there to another control.
    void SetDefaultButton(Button* button);
    void SetCancelButton(Button* button);

    // Moves the focus to the button, so that the focused box's leave check runs as it does for
    // a click (an OK pressed by Enter): false when a leave check refused its box's text and
    // takes the focus back, so the button's action must not go on.
    bool LeaveFocusedBox(Control& button);

    // Keys the window sees before the dialog navigation takes them (Ctrl+Tab on a window that
    // previews keys reaches Form_KeyDown). True when the key was taken.
    bool PreviewDialogKey(const MSG& msg);

    // The program's loaded windows, oldest first.
    static const std::vector<Form*>& LoadedForms();
    // The loaded window of this name, or null.
    static Form* FindLoaded(const std::string& name);
    // The window of ours that was last activated, or null.
    static Form* ActiveForm();

protected:
    Form(std::string name, Style style);

    // Creates the controls (once per window creation, before Form_Load).
    virtual void CreateControls() {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    // Set cancel to true to keep the window.
    virtual void Form_Unload(bool& cancel) { (void)cancel; }
    virtual void Form_KeyPress(int ascii) { (void)ascii; }
    virtual void Form_KeyDown(int key, int shift) {
        (void)key;
        (void)shift;
    }
    virtual void Form_Click() {}
    virtual void Form_Paint(HDC dc) { (void)dc; }
    // Messages the layer does not handle itself; return true when handled.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // Raise Form_KeyDown / Form_KeyPress for keys typed in any control of the window.
    bool keyPreview_ = false;

private:
    friend class Control;
    friend class Timer;
    friend class MenuItem;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCommand(WPARAM wp, LPARAM lp);
    void OnActivate(WPARAM wp);
    void OnDestroyed();
    void Register(Control* control);
    void Unregister(Control* control);
    void RegisterMenuItem(MenuItem* item);
    void UnregisterMenuItem(MenuItem* item);
    void RegisterTimer(Timer* timer);
    void UnregisterTimer(Timer* timer);
    void RunModalLoop();
    void ShowDefaultLook();
    // A control lost the focus to `next`, a window of this form: its leave check runs, unless
    // the focus went to the cancel button.
    void ControlLeft(Control& control, HWND next);

    std::string name_;
    Style style_;
    HWND hwnd_ = nullptr;
    KeptTwips left_{KeptTwips::Horizontal};
    KeptTwips top_{KeptTwips::Vertical};
    KeptTwips width_{KeptTwips::Horizontal};
    KeptTwips height_{KeptTwips::Vertical};
    bool modal_ = false;
    bool unloading_ = false;
    std::map<int, Control*> controls_;
    std::map<int, MenuItem*> menuItems_;
    std::map<HWND, Control*> notifiers_;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    Control* leftForCancel_ = nullptr;  // left for the cancel button: its leave check waits
    int refocusing_ = 0;                // refused entries whose posted re-focus has not run yet
    int nextId_ = kFirstReservedId;
    std::map<UINT_PTR, Timer*> timers_;
    std::vector<std::function<void()>> posted_;
    HACCEL accelerators_ = nullptr;
};

// The one instance of a window class, created on first use.
template <class T>
T& Instance() {
    static T* form = new T();
    return *form;
}

// A window of which the program has one: `class frmAbout : public forms::SingleForm<frmAbout>`
// gives frmAbout::Get() (the window, created on first use, not loaded) and
// frmAbout::IfLoaded() (the window when it is loaded, else null; never creates it). At the
// program's end every loaded window is unloaded by its name, in the order of the shutdown table
// (DUVMain::WindowUnloadOrder), so a window registers nothing itself.
template <class T>
class SingleForm : public Form {
public:
    static T& Get() { return Instance<T>(); }
    static T* IfLoaded() { return current_ && current_->IsLoaded() ? current_ : nullptr; }

protected:
    SingleForm(std::string name, Style style) : Form(std::move(name), style) {
        current_ = static_cast<T*>(this);
    }
    ~SingleForm() override {
        if (current_ == static_cast<T*>(this))
            current_ = nullptr;
    }

private:
    static inline T* current_ = nullptr;
};

// Twips to pixels and back, with the screen's real DPI.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// Lets pending window messages run (paint, timers), while the program's own windows ignore
// the user's input, so that a running command is not entered again.
void PumpMessages();

// PumpMessages when at least the interval has passed since messages were last let run;
// otherwise nothing. For the steps of a run that shows its progress often: each step's
// change is painted at the next pump, and under wine every pump waits for the display, so
// pumping at every step would hold the run up.
void PumpMessagesIfDue(std::chrono::milliseconds interval);

// The hourglass pointer: shown over the program's windows while any BusyCursor lives, and
// while it lives, user input to our windows is held back by PumpMessages.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    static bool Active();
};

// The hourglass as a switch, for code that turns it on and off in separate places.
void SetHourglass(bool on);

// Where a C++ exception escaping an event procedure goes (the central error handler); returns
// the handler it replaces.
std::function<void()> SetEventErrorHandler(std::function<void()> handler);

// Hands the exception being caught to the event error handler (call only inside a catch).
void ReportEventError();

// Runs an event where a message enters the program (a window's or a control's): an exception
// escaping it goes to the event error handler, never through the system. False when it threw.
template <class Call>
bool RunGuarded(Call&& call) {
    try {
        call();
        return true;
    } catch (...) {
        ReportEventError();
        return false;
    }
}

// Tests answer modal windows as they answer message boxes: while a hook is installed, every
// window shown modal is handed to it once its modal loop runs (the hook may look at it and
// close it). Returns the previous hook.
std::function<void(Form&)> SetModalHook(std::function<void(Form&)> hook);

// The program instance (for resources).
HINSTANCE AppInstance();

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace forms
