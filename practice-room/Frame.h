// The practice room's frame (class "AOL Frame25"): its MDI client area and the document windows in it.
#pragma once

#include "Context.h"
#include "Document.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace practice_room {

class Frame {
public:
    static void Register(const Context& context);

    // Creates the frame, hidden, with its MDI area ("mdiCLIENT" under --mixed-case); throws std::runtime_error.
    Frame(Context& context, bool mixedCase);
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // Creates a document window for each plan, back to front: the area puts each new one in front.
    void CreateDocuments(std::vector<DocumentPlan> plans);
    void Show();
    // Ends the practice room, as a close of the frame does.
    void Close();
    // A document whose window has gone leaves the list, and is deleted.
    void Forget(const Document& document);

    HWND Window() const { return window_; }
    const std::vector<std::unique_ptr<Document>>& Documents() const { return documents_; }
    // The MDI keys, and Tab and Shift+Tab among the active document's controls as in a dialog: true when they
    // took the message.
    bool TakeKeys(MSG& message) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();

    Context& context_;
    const bool mixedCase_;
    HWND window_ = nullptr;
    HWND area_ = nullptr;
    std::vector<std::unique_ptr<Document>> documents_;
};

}  // namespace practice_room
