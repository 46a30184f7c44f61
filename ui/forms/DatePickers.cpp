// Up-down buttons and the month calendar.
#include "ui/forms/Controls.h"

#include "core/Runtime.h"

namespace forms {
namespace {

SYSTEMTIME DayToSystemTime(double day) {
    runtime::Date date = runtime::DateOnly(day);
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(runtime::Year(date));
    st.wMonth = static_cast<WORD>(runtime::Month(date));
    st.wDay = static_cast<WORD>(runtime::Day(date));
    st.wDayOfWeek = static_cast<WORD>(runtime::Weekday(date) - 1);  // 0 is Sunday
    return st;
}

double SystemTimeToDay(const SYSTEMTIME& st) {
    return runtime::DateSerial(st.wYear, st.wMonth, st.wDay);
}

}  // namespace

void UpDown::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    CreateChild(form, id, UPDOWN_CLASSA, "", UDS_ARROWKEYS, 0, parent);
    SendMessageA(hwnd(), UDM_SETRANGE32, 0, 100);
    SendMessageA(hwnd(), UDM_SETPOS32, 0, 50);
}

bool UpDown::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code != UDN_DELTAPOS)
        return false;
    auto* change = reinterpret_cast<NMUPDOWN*>(header);
    if (Spin && change->iDelta != 0)
        Spin(change->iDelta > 0 ? 1 : -1);
    result = 1;  // keep the position: the control only reports presses
    return true;
}

void MonthCalendar::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    CreateChild(form, id, MONTHCAL_CLASSA, "", WS_TABSTOP, 0, parent);
    RECT fit = {};
    if (hwnd() && MonthCal_GetMinReqRect(hwnd(), &fit)) {
        SetWindowPos(hwnd(), nullptr, 0, 0, fit.right, fit.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
}

double MonthCalendar::Value() const {
    SYSTEMTIME st = {};
    if (!hwnd() || !MonthCal_GetCurSel(hwnd(), &st))
        return 0;
    return SystemTimeToDay(st);
}

void MonthCalendar::SetValue(double day) {
    if (!hwnd())
        return;
    SYSTEMTIME st = DayToSystemTime(day);
    settingValue_ = true;
    MonthCal_SetCurSel(hwnd(), &st);
    settingValue_ = false;
}

void MonthCalendar::SetRange(double first, double last) {
    if (!hwnd())
        return;
    SYSTEMTIME range[2] = {DayToSystemTime(first), DayToSystemTime(last)};
    MonthCal_SetRange(hwnd(), GDTR_MIN | GDTR_MAX, range);
}

bool MonthCalendar::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code == MCN_SELECT && !settingValue_) {
        Raise(Click);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace forms
