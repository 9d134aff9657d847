#include "Program.h"

#include "DialogKeys.h"
#include "Form1.h"

#include <exception>
#include <string>

int RunProgram(tarvix_aol8::WindowManager& desktop, int showCommand) {
    try {
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

int RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchWithDialogKeys(message);
    return static_cast<int>(message.wParam);
}
