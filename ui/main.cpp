#include "Program.h"
#include "User32WindowManager.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    tarvix_aol8::User32WindowManager desktop;
    return RunProgram(desktop, showCommand);
}
