// practice-room.exe: a stand-in for the chat client. Shipped as the practice room, where a user without the
// chat client sees the tool's lines as a chat room shows them; the demo and the tests drive it too.
//
// It shows a frame of class "AOL Frame25" with an MDI client area and document windows of class
// "AOL Child". A chat room has direct children of the six classes "_AOL_Static", "RICHCNTLREADONLY"
// (the transcript), "_AOL_Combobox", "_AOL_Icon" (a Send button), "RICHCNTL" (the input box, an EDIT
// superclass) and "_AOL_Image". Enter (WM_CHAR 13) in an input box posts the box's text as a line of
// its window and empties the box; the transcript renders the line's font tags. The options and the
// log are in Options.h.
#include "PracticeRoom.h"

#include <shellapi.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace practice_room {

App* app = nullptr;

void Fail(const char* what) noexcept {
    try {
        app->log.Write({"practice-room", "error", what}, true);
    } catch (...) {
    }
    std::fprintf(stderr, "practice-room: %s\n", what);
    app->exitCode = 3;
    PostQuitMessage(3);
}

namespace {

// The tool finds the frame by its class alone; the caption tells a user what the window is.
constexpr char kFrameCaption[] = "Quenlow practice room: a stand-in chat room";
// At 96 dpi: room for a line of about 80 characters beside the room's list.
constexpr int kFrameWidth = 720;
constexpr int kFrameHeight = 480;

void LayOutDocument(Document& doc, int width, int height) {
    if (doc.pane) MoveWindow(doc.pane, 0, 0, width, height, TRUE);
    const int side = 130, bottom = 34;
    const auto place = [&](ClassId id, int x, int y, int w, int h) {
        if (doc.children[id]) MoveWindow(doc.children[id], x, y, w > 0 ? w : 0, h > 0 ? h : 0, TRUE);
    };
    place(kStatic, 4, 4, width - 8, 20);
    place(kTranscript, 4, 28, width - 12 - side, height - 28 - bottom - 4);
    place(kCombobox, width - 4 - side, 28, side, 22);
    place(kImage, width - 4 - side, 56, side, 64);
    place(kInput, 4, height - bottom, width - 12 - 70, 26);
    place(kIcon, width - 4 - 70, height - bottom, 70, 26);
}

void CreateDocumentChildren(Document& doc) {
    HWND parent = doc.window;
    if (doc.nested) {
        parent = doc.pane = CreateWindowExA(0, app->classNames[kPane], "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                            0, 0, doc.window, nullptr, app->instance, nullptr);
        if (!parent) throw std::runtime_error("cannot create a pane");
    }
    for (ClassId id : kSignature) {
        if (!(doc.classes & (1u << id))) continue;
        const char* text = id == kStatic ? doc.caption.c_str() : id == kIcon ? "Send" : id == kCombobox ? "Guest" : "";
        void* param = id == kInput ? static_cast<void*>(&doc.input) : id == kTranscript ? static_cast<void*>(&doc) : nullptr;
        const DWORD style = WS_CHILD | WS_VISIBLE | (id == kInput ? WS_TABSTOP | ES_AUTOHSCROLL : 0);
        const DWORD exStyle = id == kInput || id == kTranscript ? WS_EX_CLIENTEDGE : 0;
        HWND child = CreateWindowExA(exStyle, app->classNames[id], text, style, 0, 0, 0, 0, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + id)), app->instance, param);
        if (!child) throw std::runtime_error("cannot create a child window");
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(app->uiFont), FALSE);
        doc.children[id] = child;
    }
    if (HWND input = doc.children[kInput]) SendMessageA(input, EM_SETLIMITTEXT, 0, 0);
}

LRESULT CALLBACK DocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&]() -> LRESULT {
        switch (message) {
        case WM_CREATE: {
            const auto* mdi = reinterpret_cast<MDICREATESTRUCTA*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            auto* doc = reinterpret_cast<Document*>(mdi->lParam);
            doc->window = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(doc));
            CreateDocumentChildren(*doc);
            break;
        }
        case WM_SIZE:
            if (auto* doc = reinterpret_cast<Document*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
                LayOutDocument(*doc, LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_SETFOCUS:
            if (auto* doc = reinterpret_cast<Document*>(GetWindowLongPtrA(window, GWLP_USERDATA)); doc && doc->input.window)
                SetFocus(doc->input.window);
            break;
        }
        return DefMDIChildProcA(window, message, wParam, lParam);
    });
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&]() -> LRESULT {
        switch (message) {
        case WM_CREATE: {
            CLIENTCREATESTRUCT client{nullptr, 50000};
            app->area = CreateWindowExA(WS_EX_CLIENTEDGE, app->options.mixedCase ? "mdiCLIENT" : "MDIClient", nullptr,
                                        WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                        window, reinterpret_cast<HMENU>(1), app->instance, &client);
            if (!app->area) throw std::runtime_error("cannot create the MDI client area");
            return 0;
        }
        case WM_CLOSE:
            // The windows go with the process. Destroying them first would cost seconds under Wine
            // without a window manager, which waits for each top-level window to be withdrawn.
            PostQuitMessage(0);
            return 0;
        }
        return DefFrameProcA(window, app->area, message, wParam, lParam);
    });
}

// --- start-up -------------------------------------------------------------------------------------

void RegisterClasses() {
    const char* const* names = app->classNames;
    const auto add = [&](ClassId id, WNDPROC proc, HBRUSH background, UINT style) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = proc;
        wc.hInstance = app->instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = names[id];
        if (!RegisterClassExA(&wc)) throw std::runtime_error(std::string("cannot register ") + names[id]);
    };
    const HBRUSH face = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    add(kFrame, FrameProc, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), 0);
    add(kChild, DocumentProc, face, CS_HREDRAW | CS_VREDRAW);
    add(kPane, DefWindowProcA, face, 0);
    add(kStatic, DecorationProc(kStatic), nullptr, CS_HREDRAW | CS_VREDRAW);
    add(kCombobox, DecorationProc(kCombobox), nullptr, CS_HREDRAW | CS_VREDRAW);
    add(kIcon, DecorationProc(kIcon), nullptr, CS_HREDRAW | CS_VREDRAW);
    add(kImage, DecorationProc(kImage), nullptr, CS_HREDRAW | CS_VREDRAW);
    add(kTranscript, TranscriptProc, nullptr, 0);

    // The input box is an EDIT with our class name: an ANSI class, so that the log gets the bytes as sent.
    WNDCLASSEXA edit{};
    edit.cbSize = sizeof edit;
    if (!GetClassInfoExA(nullptr, "EDIT", &edit)) throw std::runtime_error("no EDIT class");
    app->editProc = edit.lpfnWndProc;
    edit.lpfnWndProc = InputProc;
    edit.hInstance = app->instance;
    edit.lpszClassName = names[kInput];
    edit.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassExA(&edit)) throw std::runtime_error(std::string("cannot register ") + names[kInput]);
}

unsigned AllSignatureClasses() {
    unsigned all = 0;
    for (ClassId id : kSignature) all |= 1u << id;
    return all;
}

// Documents are listed back to front: the MDI area puts each new one in front.
void PlanDocuments() {
    const auto add = [&](std::string caption, std::string inputName, unsigned classes, bool nested, bool room = false) {
        auto doc = std::make_unique<Document>();
        doc->caption = std::move(caption);
        doc->classes = classes;
        doc->nested = nested;
        doc->room = room;
        doc->input.name = std::move(inputName);
        doc->input.owner = doc.get();
        app->documents.push_back(std::move(doc));
    };
    const Options& o = app->options;
    for (int k = o.rooms; k >= 1; --k)
        add("Chat Room " + std::to_string(k), "room" + std::to_string(k), AllSignatureClasses(), false, true);
    if (o.grandchildren) add("Nested", "nested", AllSignatureClasses(), true);
    if (o.lacking)
        for (int k = 6; k >= 1; --k)
            add(std::string("Without ") + app->classNames[kSignature[k - 1]], "lack" + std::to_string(k),
                AllSignatureClasses() & ~(1u << kSignature[k - 1]), false);
    for (int k = o.decoys; k >= 1; --k)
        add("Window " + std::to_string(k), "decoy" + std::to_string(k), (1u << kStatic) | (1u << kTranscript), false);
}

void CreateWindows() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    app->uiFont = CreateFontIndirectW(&metrics.lfMessageFont);

    if (!app->options.noFrame) {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        app->frame = CreateWindowExA(0, app->classNames[kFrame], kFrameCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                     CW_USEDEFAULT, CW_USEDEFAULT, MulDiv(kFrameWidth, dpi, 96),
                                     MulDiv(kFrameHeight, dpi, 96), nullptr, nullptr, app->instance, nullptr);
        if (!app->frame) throw std::runtime_error("cannot create the frame");
        // Thousands of decoys would otherwise each repaint the area.
        SendMessageA(app->area, WM_SETREDRAW, FALSE, 0);
        const std::size_t count = app->documents.size();
        for (std::size_t i = 0; i < count; ++i) {
            Document& doc = *app->documents[i];
            const bool room = doc.room;
            const int offset = static_cast<int>((count - 1 - i) % 16) * 18;
            // A room alone fills the frame, as a user's practice room.
            MDICREATESTRUCTA create{app->classNames[kChild], doc.caption.c_str(), app->instance,
                                    room ? 10 + offset : 40 + offset, room ? 10 + offset : 40 + offset,
                                    room ? 600 : 320, room ? 400 : 220, count == 1 ? DWORD{WS_MAXIMIZE} : 0,
                                    reinterpret_cast<LPARAM>(&doc)};
            if (!SendMessageA(app->area, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)))
                throw std::runtime_error("cannot create a document window");
        }
        SendMessageA(app->area, WM_SETREDRAW, TRUE, 0);
        // The area shows its scroll bars from its creation until a document moves, a maximized one included.
        if (count == 1) ShowScrollBar(app->area, SB_BOTH, FALSE);
        ShowWindow(app->frame, SW_SHOW);
        RedrawWindow(app->frame, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    if (app->options.stray) {
        app->stray.name = "stray";
        if (!CreateWindowExA(0, app->classNames[kInput], "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 810, 10, 200, 80, nullptr,
                             nullptr, app->instance, &app->stray))
            throw std::runtime_error("cannot create the stray window");
        SendMessageA(app->stray.window, WM_SETFONT, reinterpret_cast<WPARAM>(app->uiFont), TRUE);
    }
    if (!app->options.typed.empty()) {
        const auto type = [&](InputBox& box) {
            if (!box.window) return;
            ++box.ownEdits;
            SetWindowTextW(box.window, app->options.typed.c_str());
            --box.ownEdits;
        };
        for (auto& doc : app->documents) type(doc->input);
        type(app->stray);
    }
}

int Run() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) throw std::runtime_error("CommandLineToArgvW failed");
    try {
        app->options = ParseOptions(argc, argv);
    } catch (const std::invalid_argument& e) {
        LocalFree(argv);
        std::fprintf(stderr, "practice-room: %s\n%s\n", e.what(), kUsage);
        return 2;
    }
    LocalFree(argv);
    if (!app->options.logPath.empty()) app->log.Open(app->options.logPath);
    app->classNames = kClassNames[app->options.mixedCase ? 1 : 0];
    RegisterClasses();
    PlanDocuments();
    CreateWindows();
    app->log.Write({"practice-room", "ready", std::to_string(GetCurrentProcessId())}, false);

    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        if (app->area && TranslateMDISysAccel(app->area, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // -1: the queue failed (under Wine, a message of more than about 1 MiB sent to us); not a quiet end.
    // Its last error says nothing reliable there (0 or 5).
    if (got < 0) Fail("GetMessage returned -1");
    if (app->exitCode == 0) app->exitCode = static_cast<int>(msg.wParam);
    app->log.Write({"practice-room", "exit", std::to_string(app->exitCode)}, false);
    return app->exitCode;
}

}  // namespace

}  // namespace practice_room

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    practice_room::App state;
    state.instance = instance;
    practice_room::app = &state;
    try {
        return practice_room::Run();
    } catch (const std::exception& e) {
        practice_room::Fail(e.what());
        return 3;
    }
}
