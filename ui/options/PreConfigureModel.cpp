#include "ui/options/PreConfigureModel.h"

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/LogFile.h"
#include "core/PreConfigure.h"
#include "core/Registry_Functions.h"
#include "core/UserFeedback.h"

namespace PreConfigureModel {
namespace {

constexpr char LF = '\n';

const ModemRecord& SelectedRecord(std::int16_t n) { return DUVMain::Modems.at(n); }

void WriteModemValue(std::int16_t n, const std::string& name,
                     const Registry_Functions::Variant& value, std::int32_t type) {
    Registry_Functions::SetKeyValue(DUVMain::ModemClassRoot, DUVPreConfigure::ModemKeyPath(n), name,
                                    value, type);
}

}  // namespace

std::string IntroductionText() {
    return std::string("This is DUV's Modem and Dial-up Networking") + LF +
           "Configuration Wizard." + LF + LF +
           "It will automatically detect the modems installed on your system and optionally "
           "configure them for use with DUV." +
           LF + LF +
           "Click the 'Next' button and the wizard will take you through a step by step process "
           "to configure your dial-up networking system for DUV.";
}

std::string ConfiguredText() {
    return std::string(
               "The wizard has determined that this modem and its dial-up networking "
               "settings are already configured correctly for DUV. ") +
           LF + LF + "Click the 'OK' button to continue.";
}

std::string NeedsChangeText() {
    return std::string(
               "The wizard needs to make some changes to your modem and dial-up "
               "networking settings in order for DUV to work as intended.") +
           LF + LF + "Click the 'Finish' button to have the wizard make these changes for you." +
           LF + LF;
}

std::string FinishedText(bool logCreated) {
    std::string text = std::string("C O N G R A T U L A T I O N S .") + LF + LF +
                       "You have finished configuring your modem and dial-up networking system "
                       "for use with DUV." +
                       LF + LF;
    if (logCreated)
        text += std::string(
                    "A new empty modem log file has been created for you. Reports will "
                    "not be available until after your next dial-up networking session.") +
                LF + LF;
    else
        text += std::string(
                    "DUV will check your settings each time you start but you will not "
                    "see this wizard again unless your system changes. You can disable "
                    "this start check by unchecking the option below.") +
                LF + LF;
    return text + "Click the 'OK' button to continue." + LF + LF;
}

void Wizard::Load() {
    runtime::SetContext("frmPreConfigure", "Form_Load");
    Step = 0;
    LogCreated = false;
    AlwaysCheck = DUVMain::ModemCheck;
    IntroText = IntroductionText();
    ModemLines.clear();
    for (std::int16_t i = 1; i <= DUVMain::ModemCount; ++i) {
        const ModemRecord& modem = DUVMain::Modems.at(i);
        ModemLines.push_back(modem.AttachedTo.empty()
                                 ? modem.DriverDesc
                                 : modem.DriverDesc + " on " + modem.AttachedTo);
    }
    SelectedLine = 0;
    NextCaption = kNext;
    CancelCaption = kCancel;
    CancelVisible = true;
    TimerEnabled = false;
    CheckStep();
}

bool Wizard::NextClicked() {
    runtime::SetContext("frmPreConfigure", "btnNext_Click");
    if (NextCaption == kOK) {
        TimerEnabled = false;
        return true;
    }
    if (Step >= kLastStep)
        return false;
    ++Step;
    CheckStep();
    return false;
}

bool Wizard::CancelClicked() {
    runtime::SetContext("frmPreConfigure", "btnCancel_Click");
    if (Step == 0)
        return true;
    --Step;
    CheckStep();
    return false;
}

void Wizard::CheckClicked(bool checked) {
    runtime::SetContext("frmPreConfigure", "Check1_Click");
    AlwaysCheck = checked;
    DUVMain::ModemCheck = checked;
    DUVPreConfigure::WriteGeneralValue("ModemCheck", checked);
}

void Wizard::TimerTick() {
    runtime::SetContext("frmPreConfigure", "Timer1_Timer");
    const ModemRecord& modem = SelectedRecord(SelectedModem);
    if (!modem.Logging)
        RecLoggingBold = !RecLoggingBold;
    if (!modem.HasEcho)
        RecEchoBold = !RecEchoBold;
}

void Wizard::CheckStep() {
    runtime::SetContext("frmPreConfigure", "CheckStep");
    if (Step == 0)
        CancelCaption = kCancel;
    else if (Step == 1)
        CancelCaption = kBack;

    if (Step == 2) {
        SelectedModem = static_cast<std::int16_t>(SelectedLine + 1);
        const ModemRecord& modem = SelectedRecord(SelectedModem);
        SelModem = modem.DriverDesc;
        CurrentLogging = modem.Logging;
        if (!modem.Logging)
            TimerEnabled = true;
        CurrentEcho = modem.HasEcho;
        if (!modem.LoggingPath.empty() && modem.Logging && modem.HasEcho) {
            ChangeText = ConfiguredText();
            NextCaption = kOK;
            DUVMain::ModemConfigOK = true;
            if (DUVMain::ModemCount > 1)
                DUVMain::PreferredModem = SelectedModem;
        } else {
            ChangeText = NeedsChangeText();
            NextCaption = kFinish;
            DUVMain::ModemConfigOK = false;
        }
    } else if (Step == 3) {
        TimerEnabled = false;
        NextCaption = kOK;
        CancelVisible = false;
        if (!DUVMain::ModemConfigOK)
            DoChange();
        runtime::SetContext("frmPreConfigure", "CheckStep");
        FinishText = FinishedText(LogCreated);
    }
}

void Wizard::DoChange() {
    runtime::SetContext("frmPreConfigure", "DoChange");
    ShowBusy(true);
    CheckLogFile();
    runtime::SetContext("frmPreConfigure", "DoChange");
    const ModemRecord& modem = SelectedRecord(SelectedModem);
    // A value stored in a form the program cannot read stays as it is: the commands are
    // extended, never replaced.
    if (!modem.Logging && !DUVPreConfigure::HoldsUnreadableValue(SelectedModem, "Logging", false))
        WriteModemValue(SelectedModem, "Logging", 1, Registry_Functions::REG_TYPE_BINARY);
    if (!modem.HasEcho && !DUVPreConfigure::HoldsUnreadableValue(SelectedModem, "UserInit", true))
        WriteModemValue(SelectedModem, "UserInit", modem.UserInit + "E1",
                        Registry_Functions::REG_TYPE_SZ);
    DUVPreConfigure::WriteGeneralValue("PreferredModem", static_cast<std::int32_t>(SelectedModem));
    DUVMain::ModemConfigOK = true;
    ShowBusy(false);
}

void Wizard::CheckLogFile() {
    runtime::SetContext("frmPreConfigure", "CheckLogFile");
    const ModemRecord& modem = SelectedRecord(SelectedModem);
    if (modem.LoggingPath.empty()) {
        if (DUVMain::OSVersionText.find("98") != std::string::npos)
            DUVMain::SystemLogName = modem.DriverDesc + ".log";
        if (!DUVPreConfigure::HoldsUnreadableValue(SelectedModem, "LoggingPath", true))
            WriteModemValue(SelectedModem, "LoggingPath",
                            DUVMain::SystemLogDir + DUVMain::SystemLogName,
                            Registry_Functions::REG_TYPE_SZ);
    } else {
        runtime::Guard([&] {
            DUVMain::SystemLogName = GeneralFunctions::FileNameOfPath(modem.LoggingPath);
            DUVMain::SystemLogDir =
                GeneralFunctions::TextBeforeSeparator(modem.LoggingPath, DUVMain::SystemLogName);
        });
    }
    const std::string path = DUVMain::SystemLogDir + DUVMain::SystemLogName;
    if (GeneralFunctions::FileExists(path))
        return;
    DUVMain::CreateModemLog(path);
    // Said to be created only when it is there.
    LogCreated = GeneralFunctions::FileExists(path);
}

}  // namespace PreConfigureModel
