// What the program does from start to end, as a function: WinMain calls it, and tests run it in process.
#pragma once

#include "WindowManager.h"

// Creates and shows Form1 on desktop and runs the message loop until the window has gone; returns the exit
// code (ExitCode.h). A failed start or a failed queue is reported in a message box that stays until the user
// answers it.
int RunProgram(tarvix_aol8::WindowManager& desktop, int showCommand);
