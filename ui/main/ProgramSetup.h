// Connects the core's seams to the system and to the program's windows. DUV calls it once at
// start; window tests call it too, then replace what they script.
#pragma once

void InstallProgramSeams();

#include "core/Startup.h"

// What the start-up asks of the system and the windows, as DUV connects it.
DUVMain::StartupEnvironment ProgramStartupEnvironment();
