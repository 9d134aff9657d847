#include "Form1.h"

#include "chat/WindowManager.h"

#include <exception>
#include <string>

namespace {

// A desktop on which no chat client runs: every search finds nothing.
class EmptyDesktop final : public tarvix_aol8::WindowManager {
public:
    tarvix_aol8::WindowHandle FindTopLevel(std::u16string_view) override { return 0; }
    tarvix_aol8::WindowHandle FindChild(tarvix_aol8::WindowHandle, std::u16string_view) override { return 0; }
    tarvix_aol8::WindowHandle FirstSibling(tarvix_aol8::WindowHandle) override { return 0; }
    tarvix_aol8::WindowHandle NextSibling(tarvix_aol8::WindowHandle) override { return 0; }
    void YieldToPendingEvents() override {}
    void SetText(tarvix_aol8::WindowHandle, std::u16string_view) override {}
    void SendChar(tarvix_aol8::WindowHandle, char16_t) override {}
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    try {
        EmptyDesktop desktop;
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
