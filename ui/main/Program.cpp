// DUV: starts in the splash window, which runs the start-up and hands over to the main window.
#include <windows.h>

#include "ui/forms/Form.h"
#include "ui/main/ProgramSetup.h"
#include "ui/main/frmSplash.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallProgramSeams();
    frmSplash::Get().Load();
    return forms::RunMessageLoop();
}
