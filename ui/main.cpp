#include "Form1.h"
#include "User32WindowManager.h"

#include <exception>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    try {
        tarvix_aol8::User32WindowManager desktop;
        // Lives until the loop has ended, so it outlives every handler.
        Form1 form(desktop);
        form.Show(showCommand);
        return RunMessageLoop();
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, (std::string("Quenlow could not start: ") + error.what()).c_str(), ".:[ Quenlow ]:.",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
}
