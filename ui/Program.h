// What the program does from start to end, as a function: WinMain calls it, and tests run it in process.
#pragma once

#include "WindowManager.h"

// Creates and shows Form1 on desktop and runs the message loop until the window has gone; returns the exit
// code. A failed start is reported in a message box that stays until the user answers it, and gives 1.
int RunProgram(tarvix_aol8::WindowManager& desktop, int showCommand);

// Runs the thread's message loop until WM_QUIT and returns its exit code; keys move the focus as in a dialog.
int RunMessageLoop();
