// What the modem set-up wizard shows and does, without the window: its four steps, the
// button captions, the page texts, the blinking recommendation, and the changes Finish writes
// to the modem's registry key and the log it creates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace PreConfigureModel {

inline constexpr const char* kCaption = " DUV Configuration Wizard";
inline constexpr const char* kNote =
    "NOTE: You will be asked to confirm the details of any recommended changes.";
inline constexpr const char* kModemsTitle = "Installed Modems";
inline constexpr const char* kModemsText =
    "The following installed modem(s) were detected on your system. Please select the modem "
    "you wish to configure for use with DUV and then click on the 'NEXT' button.";
inline constexpr const char* kFinishedTitle = "Finished";
inline constexpr const char* kCheckCaption = "Always perform this check.";

inline constexpr const char* kCancel = "&Cancel";
inline constexpr const char* kBack = "< &Back";
inline constexpr const char* kNext = "&Next >";
inline constexpr const char* kFinish = "&Finish";
inline constexpr const char* kOK = "&OK";

inline constexpr int kLastStep = 3;
inline constexpr int kTimerMilliseconds = 500;

// The page texts; lines are joined by LF alone.
std::string IntroductionText();
std::string ConfiguredText();
std::string NeedsChangeText();
std::string FinishedText(bool logCreated);

// The state of one wizard window (frmPreConfigure's fields and what its controls show).
struct Wizard {
    std::int16_t Step = 0;
    std::int16_t SelectedModem = 1;  // 1-based
    bool LogCreated = false;

    // Controls.
    std::vector<std::string> ModemLines;  // lstModems
    int SelectedLine = 0;                 // lstModems' selected line, 0-based
    bool AlwaysCheck = false;             // Check1
    std::string NextCaption = kNext;
    std::string CancelCaption = kCancel;
    bool CancelVisible = true;
    bool TimerEnabled = false;
    std::string SelModem;                              // lblSelModem
    bool CurrentLogging = false, CurrentEcho = false;  // the "Current" frame (image 1 when on)
    bool RecLoggingBold = false, RecEchoBold = false;  // the blinking recommendation
    std::string IntroText, ChangeText, FinishText;     // RichTextBox1 to 3

    // Form_Load: step 0, the introduction, the modem list with line 1 selected, Check1.
    void Load();
    // btnNext_Click; true when the window is to close.
    bool NextClicked();
    // btnCancel_Click; true when the window is to close.
    bool CancelClicked();
    // Check1_Click: the setting and its registry value "ModemCheck", at once.
    void CheckClicked(bool checked);
    // Timer1_Timer: toggles the bold face of each recommendation the modem lacks.
    void TimerTick();

    // "OFF" or "ON".
    static const char* OnOff(bool on) { return on ? "ON" : "OFF"; }

    void CheckStep();
    void DoChange();
    void CheckLogFile();
};

}  // namespace PreConfigureModel
