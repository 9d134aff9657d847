#include "Program.h"

#include "AnsiText.h"
#include "DialogKeys.h"
#include "Form1.h"

#include <exception>
#include <stdexcept>
#include <string>

namespace {

// Shown once the loop has ended and the window has gone: started from Explorer the tool has no console.
void ShowErrorBox(const std::string& text) {
    // The window's end posts WM_QUIT, which would end the box at once.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    const std::u16string wide = FromAnsi(text);
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(wide.c_str()), Form1::kCaption,
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace

int RunProgram(tarvix_aol8::WindowManager& desktop, int showCommand) {
    int exitCode = ExitCode::kFailedStart;
    std::string report;
    try {
        // Lives until the loop has ended, so it outlives every handler.
        Form1 form(desktop);
        form.Show(showCommand);
        exitCode = ExitCode::kQueueFailed;  // from here on the loop is what can fail
        return RunMessageLoop();
    } catch (const std::exception& error) {
        report = (exitCode == ExitCode::kFailedStart ? "Quenlow could not start: " : "Quenlow has stopped: ") +
                 std::string(error.what());
    }
    ShowErrorBox(report);
    return exitCode;
}

int RunMessageLoop() {
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) DispatchWithDialogKeys(message);
    // Under Wine, a message of more than about 1 MiB sent from another process breaks the queue. Its last
    // error says nothing reliable there.
    if (got < 0) throw std::runtime_error("its window messages could not be read");
    return static_cast<int>(message.wParam);
}
