#include "Program.h"

#include "DialogKeys.h"
#include "ExitCode.h"
#include "Form1.h"
#include "MessageLoop.h"

#include <exception>
#include <string>

int RunProgram(tarvix_aol8::WindowManager& desktop, int showCommand) {
    int exitCode = ExitCode::kFailedStart;
    std::string report;
    try {
        // Lives until the loop has ended, so it outlives every handler.
        Form1 form(desktop);
        form.Show(showCommand);
        exitCode = ExitCode::kQueueFailed;  // from here on the loop is what can fail
        return RunMessageLoop(TakeDialogKeys);
    } catch (const MessageQueueFailed&) {
        report = "Quenlow has stopped: its window messages could not be read";
    } catch (const std::exception& error) {
        report = (exitCode == ExitCode::kFailedStart ? "Quenlow could not start: " : "Quenlow has stopped: ") +
                 std::string(error.what());
    }
    // The window has gone with the form.
    ShowErrorBox(nullptr, Form1::kCaption, report);
    return exitCode;
}
