// A desktop held in memory for the chat bridge's tests: a window tree in z-order, what each window
// received, and a hook on every yield to change the desktop at exactly that moment.
#pragma once

#include "WindowManager.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix_aol8 {

// One message as a window received it: a text replacement or a character.
struct ReceivedMessage {
    enum class Kind { SetText, Char };
    Kind kind = Kind::SetText;
    std::u16string text;  // SetText only
    char16_t code = 0;    // Char only

    friend bool operator==(const ReceivedMessage&, const ReceivedMessage&) = default;
};

ReceivedMessage SetTextMessage(std::u16string_view text);
ReceivedMessage CharMessage(char16_t code);
std::string Describe(const ReceivedMessage& message);

// One class-name search the desktop was asked; parent 0 is a search among the top-level windows.
struct ClassSearch {
    WindowHandle parent = 0;
    std::u16string className;

    friend bool operator==(const ClassSearch&, const ClassSearch&) = default;
};

std::string Describe(const ClassSearch& search);

// Readable form of a UTF-16 text for test output: ASCII as it is, the rest as \uXXXX, long texts cut.
std::string Printable(std::u16string_view text);

// Class names match without regard to ASCII case (enough for the chat client's class names).
// Handles are never reused: a destroyed window stays gone, as a vanished window of another program.
class MemoryDesktop final : public WindowManager {
public:
    // Creates a window behind its existing siblings; parent 0 makes a top-level window.
    WindowHandle Create(WindowHandle parent, std::u16string_view className);
    // Destroys the window and all its descendants; their logs stay readable.
    void Destroy(WindowHandle window);
    // Brings the window in front of its siblings.
    void Raise(WindowHandle window);
    // Changes the window's text as a user typing would, without a message.
    void Type(WindowHandle window, std::u16string_view text);

    bool Exists(WindowHandle window) const;
    const std::u16string& Text(WindowHandle window) const;
    const std::vector<ReceivedMessage>& Received(WindowHandle window) const;
    // Every SetText and SendChar, including those addressed to no window.
    std::size_t MessagesSent() const { return messagesSent_; }
    std::size_t Yields() const { return yields_; }
    const std::vector<ClassSearch>& Searches() const { return searches_; }

    // Called on every yield, nested yields included.
    void OnYield(std::function<void()> hook) { onYield_ = std::move(hook); }

    WindowHandle FindTopLevel(std::u16string_view className) override;
    WindowHandle FindChild(WindowHandle parent, std::u16string_view className) override;
    WindowHandle FirstSibling(WindowHandle window) override;
    WindowHandle NextSibling(WindowHandle window) override;
    void YieldToPendingEvents() override;
    void SetText(WindowHandle window, std::u16string_view text) override;
    void SendChar(WindowHandle window, char16_t character) override;

private:
    struct Window {
        std::u16string className;
        WindowHandle parent = 0;
        std::vector<WindowHandle> children;  // front to back
        std::u16string text;
        std::vector<ReceivedMessage> received;
        bool alive = true;
    };

    const Window* Lookup(WindowHandle window) const;
    const Window& Known(WindowHandle window) const;
    Window& Live(WindowHandle window);
    Window* LiveOrNull(WindowHandle window);
    std::vector<WindowHandle>& SiblingsOf(const Window& window);
    void MarkDestroyed(WindowHandle window);

    std::vector<Window> windows_;
    std::vector<WindowHandle> topLevel_;  // front to back
    std::vector<ClassSearch> searches_;
    std::function<void()> onYield_;
    std::size_t messagesSent_ = 0;
    std::size_t yields_ = 0;
};

}  // namespace tarvix_aol8
