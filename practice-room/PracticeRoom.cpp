// practice-room.exe: a stand-in for the chat client. Shipped as the practice room, where a user without the
// chat client sees the tool's lines as a chat room shows them; the demo and the tests drive it too.
//
// It shows a frame of class "AOL Frame25" with an MDI client area and document windows of class
// "AOL Child". A chat room has direct children of the six classes "_AOL_Static", "RICHCNTLREADONLY"
// (the transcript, a rich edit superclass), "_AOL_Combobox", "_AOL_Icon" (a Send button), "RICHCNTL" (the
// input box, an EDIT superclass) and "_AOL_Image". Enter (WM_CHAR 13) in an input box, or Send, submits the
// box's text as a line of its window and empties the box; the transcript shows the line's markup. Tab moves
// between the input box, Send and the transcript. Closing a room closes the practice room. The options are
// in Options.h, the log's format in LogFormat.h.
#include "PracticeRoom.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace practice_room {

App* app = nullptr;

void Fail(const char* what) noexcept {
    try {
        if (app->failure.empty()) app->failure = what;
    } catch (...) {
    }
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
constexpr char kBoxCaption[] = "Quenlow practice room";
// At 96 dpi: room for a line of about 80 characters beside the room's list.
constexpr int kFrameWidth = 720;
constexpr int kFrameHeight = 480;

Document* DocumentOf(HWND window) { return reinterpret_cast<Document*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void LayOutDocument(Document& doc, int width, int height) {
    if (doc.pane) MoveWindow(doc.pane, 0, 0, width, height, TRUE);
    // Each length scaled on its own, and the rest derived from them, so that the margins line up at any dpi.
    const int margin = Scaled(4), side = Scaled(130), send = Scaled(70), row = Scaled(26), caption = Scaled(20);
    const int top = caption + 2 * margin, bottom = row + 2 * margin, list = Scaled(22);
    const auto place = [&](ClassId id, int x, int y, int w, int h) {
        if (doc.children[id]) MoveWindow(doc.children[id], x, y, w > 0 ? w : 0, h > 0 ? h : 0, TRUE);
    };
    place(kStatic, margin, margin, width - 2 * margin, caption);
    place(kTranscript, margin, top, width - 3 * margin - side, height - top - bottom - margin);
    place(kCombobox, width - margin - side, top, side, list);
    place(kImage, width - margin - side, top + list + Scaled(6), side, Scaled(64));
    place(kInput, margin, height - bottom, width - 3 * margin - send, row);
    place(kIcon, width - margin - send, height - bottom, send, row);
}

// The order of creation is the order Tab follows: the input box, Send, the transcript.
constexpr ClassId kCreationOrder[] = {kStatic, kCombobox, kImage, kInput, kIcon, kTranscript};

DWORD ChildStyle(ClassId id) {
    switch (id) {
    case kInput: return WS_TABSTOP | ES_AUTOHSCROLL;
    case kIcon: return WS_TABSTOP;
    case kTranscript: return WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY;
    default: return 0;
    }
}

void CreateDocumentChildren(Document& doc) {
    HWND parent = doc.window;
    if (doc.nested) {
        parent = doc.pane = CreateWindowExA(WS_EX_CONTROLPARENT, app->classNames[kPane], "",
                                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, doc.window, nullptr,
                                            app->instance, nullptr);
        if (!parent) throw std::runtime_error("cannot create a pane");
    }
    for (ClassId id : kCreationOrder) {
        if (!(doc.classes & (1u << id))) continue;
        const char* text = id == kStatic ? doc.caption.c_str() : id == kIcon ? "Send" : id == kCombobox ? "Guest" : "";
        void* param = id == kInput ? &doc.input : nullptr;
        const DWORD exStyle = id == kInput || id == kTranscript ? WS_EX_CLIENTEDGE : 0;
        HWND child = CreateWindowExA(exStyle, app->classNames[id], text, WS_CHILD | WS_VISIBLE | ChildStyle(id), 0, 0, 0,
                                     0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + id)), app->instance,
                                     param);
        if (!child) throw std::runtime_error("cannot create a child window");
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(app->uiFont.get()), FALSE);
        doc.children[id] = child;
    }
    if (HWND input = doc.children[kInput]) SendMessageA(input, EM_SETLIMITTEXT, 0, 0);
    if (HWND transcript = doc.children[kTranscript]) SetUpTranscript(transcript, doc);
}

void OnDocumentCreate(HWND window, const CREATESTRUCTA& create) {
    auto* doc = reinterpret_cast<Document*>(static_cast<const MDICREATESTRUCTA*>(create.lpCreateParams)->lParam);
    doc->window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(doc));
    CreateDocumentChildren(*doc);
}

void OnDocumentSize(HWND window, int width, int height) {
    if (Document* doc = DocumentOf(window)) LayOutDocument(*doc, width, height);
}

void OnDocumentFocus(HWND window) {
    if (Document* doc = DocumentOf(window); doc && doc->input.window) SetFocus(doc->input.window);
}

// Without a room the tool would send nothing anywhere and say nothing: the practice room goes with it.
bool OnDocumentClose(HWND window) {
    const Document* doc = DocumentOf(window);
    if (!doc || !doc->room) return false;
    SendMessageA(app->frame, WM_CLOSE, 0, 0);
    return true;
}

LRESULT CALLBACK DocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(message, [&]() -> LRESULT {
        switch (message) {
        case WM_CREATE: OnDocumentCreate(window, *reinterpret_cast<CREATESTRUCTA*>(lParam)); break;
        case WM_SIZE: OnDocumentSize(window, LOWORD(lParam), HIWORD(lParam)); break;
        case WM_SETFOCUS: OnDocumentFocus(window); break;
        case WM_CLOSE:
            if (OnDocumentClose(window)) return 0;
            break;
        }
        return DefMDIChildProcA(window, message, wParam, lParam);
    });
}

void OnFrameCreate(HWND window) {
    CLIENTCREATESTRUCT client{nullptr, 50000};
    app->area = CreateWindowExA(WS_EX_CLIENTEDGE, app->options.mixedCase ? "mdiCLIENT" : "MDIClient", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(1), app->instance, &client);
    if (!app->area) throw std::runtime_error("cannot create the MDI client area");
}

// The windows go with the process. Destroying them first would cost seconds under Wine without a window
// manager, which waits for each top-level window to be withdrawn.
void OnFrameClose() { PostQuitMessage(0); }

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(message, [&]() -> LRESULT {
        switch (message) {
        case WM_CREATE: OnFrameCreate(window); return 0;
        case WM_CLOSE: OnFrameClose(); return 0;
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
    RegisterTranscriptClass(names[kTranscript]);

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

// At a high dpi the frame could outgrow a small screen.
SIZE FrameSize() {
    SIZE size{Scaled(kFrameWidth), Scaled(kFrameHeight)};
    RECT work;
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        size.cx = std::min<LONG>(size.cx, work.right - work.left);
        size.cy = std::min<LONG>(size.cy, work.bottom - work.top);
    }
    return size;
}

void CreateDocuments() {
    // Thousands of decoys would otherwise each repaint the area.
    SendMessageA(app->area, WM_SETREDRAW, FALSE, 0);
    const std::size_t count = app->documents.size();
    for (std::size_t i = 0; i < count; ++i) {
        Document& doc = *app->documents[i];
        const int at = Scaled((doc.room ? 10 : 40) + static_cast<int>((count - 1 - i) % 16) * 18);
        // A room alone fills the frame, as a user's practice room.
        MDICREATESTRUCTA create{app->classNames[kChild], doc.caption.c_str(), app->instance, at, at,
                                Scaled(doc.room ? 600 : 320), Scaled(doc.room ? 400 : 220),
                                count == 1 ? DWORD{WS_MAXIMIZE} : 0, reinterpret_cast<LPARAM>(&doc)};
        if (!SendMessageA(app->area, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)))
            throw std::runtime_error("cannot create a document window");
    }
    SendMessageA(app->area, WM_SETREDRAW, TRUE, 0);
    // The area shows its scroll bars from its creation until a document moves, a maximized one included.
    if (count == 1) ShowScrollBar(app->area, SB_BOTH, FALSE);
}

void CreateWindows() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        throw std::runtime_error("cannot read the system's fonts");
    app->uiFont.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    if (!app->uiFont) throw std::runtime_error("cannot create the font");

    if (!app->options.noFrame) {
        const SIZE size = FrameSize();
        app->frame = CreateWindowExA(0, app->classNames[kFrame], kFrameCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                     CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, app->instance,
                                     nullptr);
        if (!app->frame) throw std::runtime_error("cannot create the frame");
        CreateDocuments();
        ShowWindow(app->frame, SW_SHOW);
        RedrawWindow(app->frame, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    if (app->options.stray) {
        app->stray.name = "stray";
        if (!CreateWindowExA(0, app->classNames[kInput], "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Scaled(810), Scaled(10),
                             Scaled(200), Scaled(80), nullptr, nullptr, app->instance, &app->stray))
            throw std::runtime_error("cannot create the stray window");
        SendMessageA(app->stray.window, WM_SETFONT, reinterpret_cast<WPARAM>(app->uiFont.get()), TRUE);
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

void StartUp() {
    if (!app->options.logPath.empty()) app->log.Open(app->options.logPath);
    {
        const WindowDc screen;
        if (!screen.get()) throw std::runtime_error("cannot read the screen's resolution");
        app->dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    }
    app->classNames = kClassNames[app->options.mixedCase ? 1 : 0];
    RegisterClasses();
    PlanDocuments();
    CreateWindows();
    // A failure inside a window procedure has been logged and ends the loop at once.
    if (app->failure.empty()) app->log.Write({"practice-room", "ready", std::to_string(GetCurrentProcessId())}, false);
}

int RunMessageLoop() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        if (app->area && TranslateMDISysAccel(app->area, &msg)) continue;
        // Tab and Shift+Tab move among the active room's controls, as in a dialog.
        const auto active = app->area ? reinterpret_cast<HWND>(SendMessageA(app->area, WM_MDIGETACTIVE, 0, 0)) : nullptr;
        if (active && IsDialogMessageA(active, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // -1: the queue failed (under Wine, a message of more than about 1 MiB sent to us); not a quiet end.
    // Its last error says nothing reliable there (0 or 5).
    if (got < 0) {
        Fail("GetMessage returned -1");
        return 3;
    }
    return static_cast<int>(msg.wParam);
}

// Shown once the message loop has ended: a box shown from a window procedure would run its loop inside
// ours. Started from Explorer the program has no console, so without the box a failure goes unseen.
void ShowErrorBox(const std::string& text) {
    // Fail posts WM_QUIT, which would end the box at once.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    // A hidden or minimized owner would keep the box hidden with it.
    const HWND frame = app->frame;
    const HWND owner = frame && IsWindowVisible(frame) && !IsIconic(frame) ? frame : nullptr;
    MessageBoxA(owner, text.c_str(), kBoxCaption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

// False when the options are bad: reported, with the usage, on stderr and (unless a test said not to) in a box.
bool ParseCommandLine() {
    int argc = 0;
    const std::unique_ptr<wchar_t*, decltype(&LocalFree)> argv(CommandLineToArgvW(GetCommandLineW(), &argc), LocalFree);
    if (!argv) throw std::runtime_error("CommandLineToArgvW failed");
    try {
        app->options = ParseOptions(argc, argv.get());
        return true;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "practice-room: %s\n%s\n", e.what(), kUsage);
        if (WantsErrorBox(argc, argv.get()))
            ShowErrorBox(std::string("The practice room cannot start:\n") + e.what() + ".\n\n" + kUsage);
        return false;
    }
}

// The exit code: 0, 2 for bad options, 3 after a failure.
int Run() noexcept {
    try {
        if (!ParseCommandLine()) return 2;
        StartUp();
        const int code = RunMessageLoop();
        if (app->exitCode == 0) app->exitCode = code;
    } catch (const std::exception& e) {
        Fail(e.what());
    } catch (...) {
        Fail("unknown failure");
    }
    try {
        app->log.Write({"practice-room", "exit", std::to_string(app->exitCode)}, false);
    } catch (...) {
        // A log that cannot be written takes nothing more.
    }
    if (app->exitCode == 3 && app->options.errorBox) {
        try {
            ShowErrorBox("The practice room has stopped:\n" + app->failure + ".");
        } catch (...) {
        }
    }
    return app->exitCode;
}

}  // namespace

}  // namespace practice_room

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Never deleted: windows that are never destroyed point into it until the process ends.
    practice_room::app = new practice_room::App;
    practice_room::app->instance = instance;
    return practice_room::Run();
}
