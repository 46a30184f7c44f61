#include "ui/main/ProgramSetup.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "analysis/DUVAnalyse.h"
#include "analysis/Sound.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/GeneralFunctions.h"
#include "core/Locale.h"
#include "core/LogMaintenance.h"
#include "core/RegistryStore.h"
#include "core/Startup.h"
#include "core/UserFeedback.h"
#include "core/Warnings.h"
#include "core/win32/SystemSeams.h"
#include "ui/forms/Form.h"
#include "ui/logs/DUVOptimize.h"
#include "ui/main/frmAbout.h"
#include "ui/main/frmMain.h"
#include "ui/main/frmSplash.h"
#include "ui/options/frmPreConfigure.h"
#include "ui/options/frmSetup.h"
#include "ui/services/frmService.h"

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path, length);
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

// An exception escaping an event procedure goes to the central error handler; skipping or
// retrying is not possible there, so its answer only decides whether the program ends.
void HandleEventError() {
    try {
        throw;
    } catch (const runtime::RuntimeError& error) {
        runtime::HandleGuardedError(error);
    } catch (const runtime::ProgramEnded&) {
        std::exit(0);
    } catch (const std::bad_alloc&) {
        runtime::HandleGuardedError(runtime::RuntimeError(7, "Out of memory"));
    } catch (const std::exception& error) {
        runtime::HandleGuardedError(runtime::RuntimeError(51, error.what()));
    } catch (...) {
        runtime::HandleGuardedError(runtime::RuntimeError(51, "Internal error"));
    }
}

void ConnectAnalysisWindow() {
    DUVAnalyse::RunWindow window;
    window.Progress.Show = [](bool visible) {
        frmMain& main = frmMain::Get();
        main.ProgressBar1.SetMax(100);
        main.ProgressBar1.SetVisible(visible);
    };
    window.Progress.Set = [](int percent) { frmMain::Get().ProgressBar1.SetValue(percent); };
    window.SetStatusText = [](const std::string& text) {
        frmMain::Get().StatusBarMain.SetSimpleText(text);
    };
    window.WarnMaxServices = [] { DUVMain::WarnMaxServices(); };
    window.WarnMaxConnections = [] { DUVMain::WarnMaxConnections(); };
    window.WarnTariffsIncomplete = [] { DUVMain::WarnTariffsIncomplete(); };
    window.ShowReport = [] { frmMain::Get().RunCommand(MainCommand::ShowReport); };
    DUVAnalyse::Window = window;
    // Purge and optimize write the same status line and progress bar.
    LogMaintenance::SetMainWindowProgress({window.Progress, window.SetStatusText});
    DUVOptimize::SetDisableControls([] { frmMain::Get().DisableOptimizeControls(); });
}

}  // namespace

DUVMain::StartupEnvironment ProgramStartupEnvironment() {
    DUVMain::StartupEnvironment environment;
    environment.ProgramFolder = &ProgramFolder;
    environment.EnvironmentVariable = [](const std::string& name) {
        const char* value = std::getenv(name.c_str());
        return std::string(value ? value : "");
    };
    environment.StartSplashBlink = [] { frmSplash::Get().SplashTimer1.SetEnabled(true); };
    environment.ShowMainWindow = [] {
        frmMain& main = frmMain::Get();
        main.Show();
        SetFocus(main.hwnd());
    };
    environment.UnloadSplash = [] {
        if (frmSplash* splash = frmSplash::IfLoaded())
            splash->Unload();
    };
    return environment;
}

namespace {

void ConnectStartup() {
    DUVMain::SetStartupEnvironment(ProgramStartupEnvironment());

    UserFeedback feedback;
    feedback.ShowBusy = [](bool busy) { forms::SetHourglass(busy); };
    feedback.LetEventsRun = [] { forms::PumpMessages(); };
    // Twenty times a second is smooth enough for a percentage.
    feedback.LetEventsRunBetweenSteps = [] {
        forms::PumpMessagesIfDue(std::chrono::milliseconds(50));
    };
    feedback.SetSplashLabel = [](const std::string& text) {
        if (frmSplash* splash = frmSplash::IfLoaded())
            splash->SplashLabel1.SetText(text);
    };
    SetUserFeedback(feedback);
}

}  // namespace

void InstallProgramSeams() {
    INITCOMMONCONTROLSEX controls = {
        sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    LoadLibraryA("riched20.dll");
    regional::Install(regional::SystemLocaleSource());
    registry::InstallRegistry(&registry::SystemRegistry());
    InstallSystemMessageBox();
    InstallSystemClipboard();
    InstallSystemSafeWriteFiles();
    GeneralFunctions::InstallFileProbe(GeneralFunctions::SystemFileProbe());
    OSVersion::SetVersionQuery(&OSVersion::QueryWindowsVersion);
    sound::SetSoundPlayer(&sound::SystemSoundPlayer());
    ErrorHandler::InstallErrorHandling();
    forms::SetEventErrorHandler(&HandleEventError);
    ConnectAnalysisWindow();
    ConnectStartup();
    RegisterCommandWindows();
    RegisterPreConfigureWindow();
    // The options window's New and Edit open the service editor on its selected row.
    frmSetup::SetServiceEditor(
        [] { frmService::ShowEditor([] { return frmSetup::Get().SelectedServiceRow(); }); });
    // The program's end unloads its windows by name, in the order of the shutdown table.
    DUVMain::SetWindowCloser({
        [](const std::string& name) { return forms::Form::FindLoaded(name) != nullptr; },
        [](const std::string& name) {
            if (forms::Form* form = forms::Form::FindLoaded(name))
                form->Unload();
        },
    });
}
