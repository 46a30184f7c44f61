// Controls of the window layer. Each wraps one native control, raises its events through
// std::function members, and takes its position in twips. Setting a value from code raises
// the value's event once (and only when the value changes), never the native echo as well.
#pragma once

#include "ui/forms/Form.h"
#include "ui/forms/Gdi.h"
#include "ui/forms/MaskModel.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

// Key-state bits passed with KeyDown: 1 shift, 2 control, 4 alt.
int ShiftState();

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return hwnd_; }
    int id() const { return id_; }
    Form* form() const { return form_; }

    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetVisible(bool visible);
    bool Visible() const;
    // Window text (caption of a label or button, text of a box).
    virtual void SetText(const std::string& text);
    std::string Text() const;
    // Position and size in twips, relative to the parent's client area.
    void Move(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetFocus();
    bool HasFocus() const;
    // Gives the focus back to this control after the current message (for a refused entry;
    // until then the window's LeaveFocusedBox answers false).
    void RefocusLater();
    void SetToolTip(const std::string& text);
    void SetFont(const std::string& face, int pointSize, bool bold = false, bool italic = false);
    void SetBold(bool bold);
    // The text colour (labels, check boxes, option buttons); until set, the system's.
    void SetForeColor(COLORREF colour);
    COLORREF ForeColor() const { return foreColor_; }

    // Creates the native control as a window's declaration table asks (ui/forms/Declare.h):
    // caption is a label's or button's caption, a box's text or a masked box's mask; style
    // holds the class's optional bits (label alignment, BS_DEFPUSHBUTTON, WS_GROUP for the
    // first option button of a group, extra edit styles, CBS_DROPDOWNLIST).
    virtual void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                                HWND parent);

    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> Change;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(int key, int shift)> KeyDown;
    std::function<void(int& ascii)> KeyPress;
    std::function<void(int button, int shift, int x, int y)> MouseMove;

protected:
    Control() = default;
    // Creates the native window as a child of the form (or of a container control).
    void CreateChild(Form& form, int id, const char* className, const std::string& text,
                     DWORD style, DWORD exStyle = 0, HWND parent = nullptr);
    // Native notifications routed by the form.
    virtual void OnCommand(int code) { (void)code; }
    virtual bool OnNotify(NMHDR* header, LRESULT& result) {
        (void)header;
        (void)result;
        return false;
    }
    // Messages to the control itself (after subclassing); return true when handled.
    virtual bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The native control is gone (its last message has run): what it used may be freed.
    virtual void OnNativeDestroyed() {}
    void Raise(const std::function<void()>& event) const;
    // Passes a typed character to the form first when it previews keys.
    void PreviewKeyPress(int ascii) const;

    bool suppress_ = false;  // ignore the native echo of a value set from code

private:
    friend class Form;
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    // Raises the control's events for a message; true when the message is answered (result),
    // false when the native control still handles it (with wp as the events left it).
    bool RaiseEvents(UINT msg, WPARAM& wp, LPARAM lp, LRESULT& result);

    HWND hwnd_ = nullptr;
    int id_ = 0;
    Form* form_ = nullptr;
    OwnedFont font_;
    std::string fontFace_;
    int fontSize_ = 0;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    COLORREF foreColor_ = CLR_INVALID;
};

class Label : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;

protected:
    void OnCommand(int code) override;
};

class Button : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    // Presses the button as the user would (raises Click when enabled).
    void PerformClick();

protected:
    void OnCommand(int code) override;
};

class CheckBox : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    // 0 unchecked, 1 checked, 2 grayed. Setting a different value raises Click once.
    int Value() const;
    void SetValue(int value);

protected:
    void OnCommand(int code) override;
};

class OptionButton : public Control {
public:
    // Style WS_GROUP starts a new group of option buttons.
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    bool Value() const;
    // Setting True clears the others of the group and raises Click once.
    void SetValue(bool value);

protected:
    void OnCommand(int code) override;
};

class TextBox : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    // Raises Change once when the text differs.
    void SetText(const std::string& text) override;
    void SetLocked(bool locked);
    void SetMaxLength(int length);
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;

protected:
    void OnCommand(int code) override;
};

// An edit box with a fixed mask: '#' takes a digit, 'A' a letter or digit, '?' a letter,
// every other character is a literal shown in place. Empty places show the prompt character.
// The editing rules are forms::EditMask (ui/forms/MaskModel.h, tested natively).
class MaskedEdit : public TextBox {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    void SetMask(const std::string& mask);
    const std::string& Mask() const { return mask_.Mask(); }
    // The text with literals and prompts; setting it takes the characters that fit the mask
    // position by position (a literal is skipped over) and raises Change once.
    void SetText(const std::string& text) override;
    // The characters typed into the mask's places, without literals and prompts.
    std::string ClipText() const;
    char PromptChar() const { return mask_.Prompt(); }

protected:
    bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    EditMask::State State() const;
    // Shows an edited state; raises Change when the text was edited.
    void Show(const EditMask::State& state, bool changed);
    void TypeChar(char c);
    void Erase(bool backwards);
    // The clipboard's text over the selection, taken whole or refused with a beep; every way
    // of pasting comes here.
    void Paste();
    // The selection onto the clipboard, then its places emptied; every way of cutting comes here.
    void Cut();
    EditMask mask_;
};

class ComboBox : public Control {
public:
    // Style CBS_DROPDOWNLIST: the user can only pick from the list.
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    void AddItem(const std::string& text);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    int ListIndex() const;
    // Selecting a different row raises Click once.
    void SetListIndex(int index);

protected:
    void OnCommand(int code) override;
};

class ListBox : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    int ListIndex() const;
    void SetListIndex(int index);

protected:
    void OnCommand(int code) override;
};

// A frame that groups controls: a container drawn with an etched border and its caption.
// Its children are created with the frame as parent (positions inside the frame); their
// notifications reach the form.
class Frame : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
};

// A picture: a bitmap drawn at the control's top-left corner.
class PictureBox : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    void SetBitmap(HBITMAP bitmap);  // takes ownership
    HBITMAP Bitmap() const { return bitmap_.Get(); }

protected:
    void OnCommand(int code) override;
    bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    OwnedBitmap bitmap_;
};

class ProgressBar : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    void SetMax(int max);
    void SetValue(int value);
    int Value() const;
    int Max() const;
};

// A status bar with one text (simple mode) or with panels.
class StatusBar : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    void SetSimpleText(const std::string& text);
    std::string SimpleText() const { return simpleText_; }
    void SetPanels(const std::vector<int>& rightEdgesTwips);
    void SetPanelText(int panel, const std::string& text);
    std::string PanelText(int panel) const;
    // Keeps the bar at the bottom of its parent.
    void Reposition();

private:
    std::string simpleText_;
};

class UpDown : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    // Raised with +1 for up and -1 for down.
    std::function<void(int delta)> Spin;

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;
};

class MonthCalendar : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    // The selected day as a day count (whole days since 30 December 1899).
    double Value() const;
    void SetValue(double day);
    void SetRange(double first, double last);

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    bool settingValue_ = false;
};

// A toolbar whose buttons are addressed by 1-based position, separators included.
class Toolbar : public Control {
public:
    struct ButtonSpec {
        std::string key;  // empty for a separator
        std::string toolTip;
        int image = -1;      // index in the image list
        bool check = false;  // a check button
        bool group = false;  // a check button of a group: pressing one releases the others
    };
    // The picture list and buttons the toolbar is created with, given before its table row.
    // The toolbar keeps the image list until its native window is gone.
    void SetButtons(OwnedImageList images, std::vector<ButtonSpec> buttons);
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    void SetButtonEnabled(int position, bool enabled);
    bool ButtonEnabled(int position) const;
    void SetButtonChecked(int position, bool checked);
    bool ButtonChecked(int position) const;
    const std::string& ButtonKey(int position) const;
    int ButtonCommandId(int position) const;
    // The tool tip the toolbar shows over a button, asked of the native tool tip as a hover
    // would (through the window's notification).
    std::string ShownToolTip(int position) const;
    // Raised with the button's key when it is pressed.
    std::function<void(const std::string& key)> ButtonClick;
    // Presses a button as the user would.
    void PerformClick(int position);

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    void OnNativeDestroyed() override { images_.Reset(); }

private:
    friend class Form;
    bool HandleCommand(int commandId);
    std::vector<ButtonSpec> buttons_;
    OwnedImageList images_;
    int firstCommand_ = 0;
};

// A window timer owned by a form; Interval in milliseconds.
class Timer {
public:
    Timer() = default;
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    void Create(Form& form, int interval, bool enabled);
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void SetInterval(int interval);
    int Interval() const { return interval_; }
    std::function<void()> Tick;
    // Runs the Tick event as the timer would.
    void Fire();

private:
    friend class Form;
    void Apply();
    Form* form_ = nullptr;
    UINT_PTR id_ = 0;
    int interval_ = 0;
    bool enabled_ = false;
};

// A menu item of a form's menu bar. Its command id is handed out by its window, which finds
// it by that id (each window has its own ids).
class MenuItem {
public:
    MenuItem() = default;
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    // A command item of this window: appended to popup.
    void Create(Form& form, HMENU popup, const std::string& caption);
    // A popup (top-level or sub) menu item: appended to parent.
    void CreatePopup(HMENU parent, HMENU popup, const std::string& caption);
    void CreateSeparator(HMENU popup);
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    void SetChecked(bool checked);
    bool Checked() const;
    void SetCaption(const std::string& caption);
    std::string Caption() const { return caption_; }
    // Win32 menus have no hidden items: hiding removes the item, showing puts it back in place.
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    int id() const { return id_; }
    HMENU Popup() const { return popup_; }
    std::function<void()> Click;

private:
    void Refresh();
    void Detach();
    int Position() const;
    Form* form_ = nullptr;
    HMENU parent_ = nullptr;
    HMENU popup_ = nullptr;  // for a popup item
    int id_ = 0;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool separator_ = false;
};

}  // namespace forms
