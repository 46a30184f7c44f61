#include "ui/forms/Form.h"

#include "ui/forms/Controls.h"
#include "ui/forms/Gdi.h"

#include <algorithm>
#include <utility>

namespace forms {
namespace {

const char kFormClass[] = "DuveloForm";

std::vector<Form*> g_loaded;
Form* g_active = nullptr;
int g_busy = 0;
bool g_hourglass = false;
std::chrono::steady_clock::time_point g_lastPump;
std::function<void()> g_errorHandler;
std::function<void(Form&)> g_modalHook;

int ScreenDpi(int index) {
    WindowDC screen(nullptr);
    int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), index) : 96;
    return dpi > 0 ? dpi : 96;
}

int Round(double value) { return static_cast<int>(value < 0 ? value - 0.5 : value + 0.5); }

bool IsUserInput(const MSG& msg) {
    return (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
           (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
            msg.message != WM_MOUSEMOVE) ||
           (msg.message >= WM_NCLBUTTONDOWN && msg.message <= WM_NCMBUTTONDBLCLK);
}

bool IsOurWindow(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid == GetCurrentProcessId();
}

bool TranslateForActiveForm(MSG& msg) {
    if (g_active && g_active->hwnd() && g_active->PreviewDialogKey(msg)) {
        return true;
    }
    if (g_active && g_active->hwnd() && g_active->Accelerators() &&
        TranslateAcceleratorA(g_active->hwnd(), g_active->Accelerators(), &msg)) {
        return true;
    }
    if (g_active && g_active->hwnd() && IsDialogMessageA(g_active->hwnd(), &msg)) {
        return true;
    }
    return false;
}

}  // namespace

int TwipsToPixelsX(int twips) { return Round(twips * ScreenDpi(LOGPIXELSX) / 1440.0); }
int TwipsToPixelsY(int twips) { return Round(twips * ScreenDpi(LOGPIXELSY) / 1440.0); }
int PixelsToTwipsX(int pixels) { return Round(pixels * 1440.0 / ScreenDpi(LOGPIXELSX)); }
int PixelsToTwipsY(int pixels) { return Round(pixels * 1440.0 / ScreenDpi(LOGPIXELSY)); }

int KeptTwips::ToPixels(int twips) {
    twips_ = twips;
    pixels_ = axis_ == Horizontal ? TwipsToPixelsX(twips) : TwipsToPixelsY(twips);
    return pixels_;
}

int KeptTwips::FromPixels(int pixels) const {
    if (pixels == pixels_)
        return twips_;
    return axis_ == Horizontal ? PixelsToTwipsX(pixels) : PixelsToTwipsY(pixels);
}

HINSTANCE AppInstance() { return GetModuleHandleA(nullptr); }

std::function<void()> SetEventErrorHandler(std::function<void()> handler) {
    return std::exchange(g_errorHandler, std::move(handler));
}

void ReportEventError() {
    if (g_errorHandler) {
        g_errorHandler();
    }
}

std::function<void(Form&)> SetModalHook(std::function<void(Form&)> hook) {
    return std::exchange(g_modalHook, std::move(hook));
}

BusyCursor::BusyCursor() {
    if (g_busy++ == 0) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
    }
}

BusyCursor::~BusyCursor() {
    if (--g_busy == 0) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    }
}

bool BusyCursor::Active() { return g_busy > 0 || g_hourglass; }

void SetHourglass(bool on) {
    g_hourglass = on;
    SetCursor(LoadCursor(nullptr, BusyCursor::Active() ? IDC_WAIT : IDC_ARROW));
}

void PumpMessagesIfDue(std::chrono::milliseconds interval) {
    if (std::chrono::steady_clock::now() - g_lastPump >= interval)
        PumpMessages();
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (BusyCursor::Active() && IsUserInput(msg) && IsOurWindow(msg.hwnd)) {
            continue;
        }
        if (!TranslateForActiveForm(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    g_lastPump = std::chrono::steady_clock::now();
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateForActiveForm(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

Form::Form(std::string name, Style style) : name_(std::move(name)), style_(style) {}

Form::~Form() {
    if (hwnd_) {
        DestroyWindow(hwnd_);
    }
    if (accelerators_) {
        DestroyAcceleratorTable(accelerators_);
    }
}

const std::vector<Form*>& Form::LoadedForms() { return g_loaded; }
Form* Form::ActiveForm() { return g_active; }

Form* Form::FindLoaded(const std::string& name) {
    for (Form* form : g_loaded) {
        if (form->name_ == name) {
            return form;
        }
    }
    return nullptr;
}

void Form::Load() {
    if (hwnd_) {
        return;
    }
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Form::WindowProc;
        wc.hInstance = AppInstance();
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = LoadIcon(AppInstance(), MAKEINTRESOURCE(1));
        if (!wc.hIcon) {
            wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        }
        wc.lpszClassName = kFormClass;
        RegisterClassExA(&wc);
        registered = true;
    }
    int width = width_.ToPixels(style_.widthTwips);
    int height = height_.ToPixels(style_.heightTwips);
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    if (style_.centred) {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = work.left + std::max(0L, (work.right - work.left - width) / 2);
        y = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
    }
    // Made without an owner: a modeless window stands alone, a modal one is given its owner
    // in ShowModal.
    hwnd_ = CreateWindowExA(style_.exStyle, kFormClass, name_.c_str(), style_.style & ~WS_VISIBLE,
                            x, y, width, height, nullptr, style_.menu, AppInstance(), this);
    if (!hwnd_) {
        return;
    }
    if (style_.background) {
        SetClassLongPtrA(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(style_.background));
    }
    g_loaded.push_back(this);
    nextId_ = kFirstReservedId;
    RunGuarded([this] { CreateControls(); });
    RunGuarded([this] { Form_Load(); });
}

void Form::Show() {
    Load();
    if (!hwnd_) {
        return;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

void Form::ShowModal() {
    Load();
    if (!hwnd_) {
        return;
    }
    Form* owner = g_active && g_active != this ? g_active : nullptr;
    std::vector<HWND> disabled;
    for (Form* form : g_loaded) {
        if (form != this && form->hwnd_ && IsWindowEnabled(form->hwnd_)) {
            EnableWindow(form->hwnd_, FALSE);
            disabled.push_back(form->hwnd_);
        }
    }
    if (owner && owner->hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner->hwnd_));
    }
    modal_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
    if (g_modalHook) {
        Post([this, hook = g_modalHook] { hook(*this); });
    }
    RunModalLoop();
    modal_ = false;
    for (HWND hwnd : disabled) {
        if (IsWindow(hwnd)) {
            EnableWindow(hwnd, TRUE);
        }
    }
    if (owner && owner->hwnd_ && IsWindow(owner->hwnd_)) {
        SetActiveWindow(owner->hwnd_);
    }
}

void Form::RunModalLoop() {
    MSG msg;
    while (hwnd_ && IsWindowVisible(hwnd_)) {
        int got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
            break;
        }
        if (!TranslateForActiveForm(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void Form::Hide() {
    if (hwnd_) {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

bool Form::Unload() {
    if (!hwnd_ || unloading_) {
        return true;
    }
    bool cancel = false;
    unloading_ = true;
    RunGuarded([&] { Form_Unload(cancel); });
    unloading_ = false;
    if (cancel) {
        return false;
    }
    leftForCancel_ = nullptr;  // closing, by Cancel or otherwise: the waiting check never runs
    if (hwnd_) {
        DestroyWindow(hwnd_);
    }
    return true;
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
void Form::SetEnabled(bool enabled) {
    if (hwnd_) {
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
}
bool Form::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Form::SetCaption(const std::string& text) {
    Load();
    SetWindowTextA(hwnd_, text.c_str());
}

std::string Form::Caption() const {
    if (!hwnd_) {
        return name_;
    }
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

namespace {
RECT WindowRect(HWND hwnd) {
    RECT r = {};
    if (hwnd) {
        GetWindowRect(hwnd, &r);
    }
    return r;
}
}  // namespace

int Form::Left() const { return left_.FromPixels(WindowRect(hwnd_).left); }
int Form::Top() const { return top_.FromPixels(WindowRect(hwnd_).top); }
int Form::Width() const {
    RECT r = WindowRect(hwnd_);
    return width_.FromPixels(r.right - r.left);
}
int Form::Height() const {
    RECT r = WindowRect(hwnd_);
    return height_.FromPixels(r.bottom - r.top);
}

void Form::Move(int left, int top, int width, int height) {
    if (hwnd_) {
        MoveWindow(hwnd_, left_.ToPixels(left), top_.ToPixels(top), width_.ToPixels(width),
                   height_.ToPixels(height), TRUE);
    }
}

void Form::SetSize(int width, int height) {
    if (hwnd_) {
        SetWindowPos(hwnd_, nullptr, 0, 0, width_.ToPixels(width), height_.ToPixels(height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int Form::ScaleWidth() const {
    RECT r = {};
    if (hwnd_) {
        GetClientRect(hwnd_, &r);
    }
    return PixelsToTwipsX(r.right);
}

int Form::ScaleHeight() const {
    RECT r = {};
    if (hwnd_) {
        GetClientRect(hwnd_, &r);
    }
    return PixelsToTwipsY(r.bottom);
}

bool Form::Minimized() const { return hwnd_ && IsIconic(hwnd_); }

void Form::SetAccelerators(const std::vector<ACCEL>& keys) {
    if (accelerators_)
        DestroyAcceleratorTable(accelerators_);
    std::vector<ACCEL> table = keys;
    accelerators_ = table.empty()
                        ? nullptr
                        : CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

void Form::Post(std::function<void()> call) {
    if (!hwnd_) {
        return;
    }
    posted_.push_back(std::move(call));
    PostMessageA(hwnd_, WM_FORM_POSTED_CALL, 0, 0);
}

Control* Form::FindControl(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

MenuItem* Form::FindMenuItem(int id) const {
    auto it = menuItems_.find(id);
    return it == menuItems_.end() ? nullptr : it->second;
}

int Form::ReserveIds(int count) {
    int first = nextId_;
    nextId_ += count;
    return first;
}

void Form::RouteNotifications(HWND sender, Control* control) {
    if (sender)
        notifiers_[sender] = control;
}

bool Form::PreviewDialogKey(const MSG& msg) {
    if (!keyPreview_ || msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !hwnd_ ||
        (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) || (ShiftState() & 2) == 0) {
        return false;
    }
    RunGuarded([this] { Form_KeyDown(VK_TAB, ShiftState()); });
    return true;
}

void Form::SetDefaultButton(Button* button) { defaultButton_ = button; }
void Form::SetCancelButton(Button* button) { cancelButton_ = button; }

bool Form::LeaveFocusedBox(Control& button) {
    if (!button.HasFocus() && button.Enabled())
        button.SetFocus();
    // A refusal met on the way (here, or as the button took the focus by its access key)
    // has posted its box's re-focus.
    return refocusing_ == 0;
}

void Form::ControlLeft(Control& control, HWND next) {
    if (cancelButton_ && next == cancelButton_->hwnd()) {
        if (&control != cancelButton_)
            leftForCancel_ = &control;
        return;
    }
    Control* waiting = std::exchange(leftForCancel_, nullptr);
    if (waiting && waiting->hwnd() != next)
        waiting->Raise(waiting->LostFocus);
    control.Raise(control.LostFocus);
}

void Form::ShowDefaultLook() {
    HWND focus = GetFocus();
    Button* focused = nullptr;
    for (auto& [id, control] : controls_) {
        if (control->hwnd() == focus)
            focused = dynamic_cast<Button*>(control);
    }
    Button* look = focused ? focused : defaultButton_;
    for (auto& [id, control] : controls_) {
        auto* button = dynamic_cast<Button*>(control);
        if (!button || !button->hwnd())
            continue;
        bool isDefault = (GetWindowLongPtrA(button->hwnd(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        if (isDefault != (button == look)) {
            SendMessageA(button->hwnd(), BM_SETSTYLE,
                         button == look ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        }
    }
}

void Form::RegisterMenuItem(MenuItem* item) { menuItems_[item->id()] = item; }

void Form::UnregisterMenuItem(MenuItem* item) {
    auto it = menuItems_.find(item->id());
    if (it != menuItems_.end() && it->second == item)
        menuItems_.erase(it);
}

void Form::Register(Control* control) { controls_[control->id()] = control; }

void Form::Unregister(Control* control) {
    auto it = controls_.find(control->id());
    if (it != controls_.end() && it->second == control) {
        controls_.erase(it);
    }
    if (leftForCancel_ == control)
        leftForCancel_ = nullptr;
}

void Form::RegisterTimer(Timer* timer) { timers_[timer->id_] = timer; }
void Form::UnregisterTimer(Timer* timer) { timers_.erase(timer->id_); }

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form* form = nullptr;
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
        form = static_cast<Form*>(create->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    } else {
        form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!form) {
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    const bool handled = RunGuarded([&] { result = form->HandleMessage(msg, wp, lp); });
    return handled ? result : DefWindowProcA(hwnd, msg, wp, lp);
}

void Form::OnActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        return;
    }
    // Activation returning from a message box or another program is not a new activation.
    if (g_active == this) {
        return;
    }
    Form* previous = g_active;
    g_active = this;
    if (previous && previous->hwnd_) {
        RunGuarded([previous] { previous->Form_Deactivate(); });
    }
    PostMessageA(hwnd_, WM_FORM_ACTIVATE, 0, 0);
}

void Form::OnDestroyed() {
    for (auto& [id, timer] : timers_) {
        KillTimer(hwnd_, id);
    }
    g_loaded.erase(std::remove(g_loaded.begin(), g_loaded.end(), this), g_loaded.end());
    if (g_active == this) {
        g_active = nullptr;
    }
    for (auto& [cid, control] : controls_) {
        control->hwnd_ = nullptr;  // destroyed with the window
    }
    hwnd_ = nullptr;
    posted_.clear();
    notifiers_.clear();
    defaultButton_ = nullptr;
    cancelButton_ = nullptr;
    leftForCancel_ = nullptr;
    refocusing_ = 0;
}

void Form::OnCommand(WPARAM wp, LPARAM lp) {
    int id = LOWORD(wp);
    int code = HIWORD(wp);
    if (lp == 0) {
        // A menu command or an accelerator.
        if (MenuItem* item = FindMenuItem(id)) {
            if (item->Enabled() && item->Click) {
                RunGuarded(item->Click);
            }
            return;
        }
        // Escape, or Enter for a default button the dialog navigation did not find.
        if (id == IDCANCEL && cancelButton_) {
            RunGuarded([this] { cancelButton_->PerformClick(); });
        } else if (defaultButton_ && id == defaultButton_->id()) {
            RunGuarded([this] { defaultButton_->PerformClick(); });
        }
        return;
    }
    if (Control* control = FindControl(id)) {
        if (reinterpret_cast<HWND>(lp) == control->hwnd()) {
            control->OnCommand(code);
            return;
        }
    }
    // A toolbar button reports the toolbar's window as the sender.
    for (auto& [cid, control] : controls_) {
        if (auto* toolbar = dynamic_cast<Toolbar*>(control)) {
            if (reinterpret_cast<HWND>(lp) == toolbar->hwnd() && toolbar->HandleCommand(id)) {
                return;
            }
        }
    }
}

bool Form::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (OnMessage(msg, wp, lp, result)) {
        return result;
    }
    switch (msg) {
    case WM_COMMAND:
        OnCommand(wp, lp);
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        // A tool tip of a toolbar or tab strip names the button or tab, not the control.
        auto routed = notifiers_.find(header->hwndFrom);
        Control* control = routed != notifiers_.end()
                               ? routed->second
                               : FindControl(static_cast<int>(header->idFrom));
        if (control) {
            if (control->OnNotify(header, result)) {
                return result;
            }
        }
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
    case WM_TIMER: {
        auto it = timers_.find(wp);
        if (it != timers_.end()) {
            it->second->Fire();
            return 0;
        }
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
    case WM_ACTIVATE:
        OnActivate(wp);
        return DefWindowProcA(hwnd_, msg, wp, lp);
    case WM_FORM_ACTIVATE:
        if (g_active == this) {
            Form_Activate();
        }
        return 0;
    case WM_FORM_REFOCUS:
        if (refocusing_ > 0)
            --refocusing_;
        if (Control* control = FindControl(static_cast<int>(wp))) {
            if (control->Enabled() && control->Visible()) {
                ::SetFocus(control->hwnd());
            }
        }
        return 0;
    case DM_GETDEFID:
        if (defaultButton_ && defaultButton_->hwnd()) {
            return MAKELRESULT(defaultButton_->id(), DC_HASDEFID);
        }
        return 0;
    case DM_SETDEFID:
        return TRUE;  // the default button is the one created as default
    case WM_FORM_DEFAULT_LOOK:
        ShowDefaultLook();
        return 0;
    case WM_FORM_POSTED_CALL:
        if (!posted_.empty()) {
            auto call = std::move(posted_.front());
            posted_.erase(posted_.begin());
            call();
        }
        return 0;
    case WM_SIZE:
        for (auto& [cid, control] : controls_) {
            if (auto* bar = dynamic_cast<StatusBar*>(control)) {
                bar->Reposition();
            }
            if (auto* toolbar = dynamic_cast<Toolbar*>(control)) {
                SendMessageA(toolbar->hwnd(), TB_AUTOSIZE, 0, 0);
            }
        }
        Form_Resize();
        return 0;
    case WM_SETCURSOR:
        if (BusyCursor::Active()) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        return DefWindowProcA(hwnd_, msg, wp, lp);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        Form_Paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_LBUTTONUP:
        Form_Click();
        return 0;
    case WM_KEYDOWN:
        Form_KeyDown(static_cast<int>(wp), ShiftState());
        return 0;
    case WM_CHAR:
        Form_KeyPress(static_cast<int>(wp));
        return 0;
    case WM_CTLCOLORSTATIC: {
        // Labels take the form's background.
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkMode(dc, TRANSPARENT);
        const HWND child = reinterpret_cast<HWND>(lp);
        Control* control = FindControl(GetDlgCtrlID(child));
        if (control && control->hwnd() == child && control->foreColor_ != CLR_INVALID) {
            SetTextColor(dc, control->foreColor_);
        }
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        OnDestroyed();
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

}  // namespace forms
