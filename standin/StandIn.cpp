// standin.exe: a stand-in for the chat client, for the demo and the end-to-end tests.
//
// It shows a frame of class "AOL Frame25" with an MDI client area and document windows of class
// "AOL Child". A chat room has direct children of the six classes "_AOL_Static", "RICHCNTLREADONLY"
// (the transcript), "_AOL_Combobox", "_AOL_Icon" (a Send button), "RICHCNTL" (the input box, an EDIT
// superclass) and "_AOL_Image". Enter (WM_CHAR 13) in an input box posts the box's text as a line of
// its window and empties the box; the transcript renders the line's font tags.
//
// Options (document windows are listed front to back: decoys, lacking, nested, then the rooms):
//   --rooms N        chat rooms "Chat Room 1".."Chat Room N", room 1 nearest the front (default 1)
//   --decoys N       N document windows in front, with only "_AOL_Static" and "RICHCNTLREADONLY"
//   --lacking        six document windows in front, lack1..lack6, each without one of the six
//                    classes in the order above (lack5 has no input box)
//   --grandchildren  one document window in front, "nested", with the six classes only among its
//                    grandchildren
//   --mixed-case     every class registered in another capitalisation ("aOl fRAME25", "richCntl", ...)
//   --no-frame       no frame, no MDI area and no document windows
//   --stray          a top-level window of class "RICHCNTL", "stray"
//   --typed TEXT     TEXT already stands in every input box (as if the user had typed it)
//   --log FILE       the log below; FILE is created anew
//
// Log: one entry a line, "<source> <kind>[ <payload>]", written through to the file as it happens,
// so that a reader sees every entry of a message once the sender's SendMessage has returned.
// Quoted payloads are byte strings: printable ASCII as it is, '"' and '\' after a backslash, any
// other byte as \xHH. Sources are the input boxes (room1.., lack1.., nested, stray) and "standin".
//   standin ready <pid>              every window exists and is shown
//   <box> settext "<bytes>"          WM_SETTEXT with this ANSI text ("settext null" for no pointer)
//   <box> char <code>                WM_CHAR, whoever sent or posted it
//   <box> msg 0x<msg> 0x<wp> 0x<lp>  any other message sent to the box from another thread
//   <box> line "<bytes>"             the box posted this text as a line (after Enter or Send)
//   standin error "<text>"           a failure; the stand-in ends with exit code 3
//   standin exit <code>              the stand-in ends (after WM_CLOSE to the frame or to the stray
//                                    window; 0 unless it failed)
#include "ChatMarkup.h"
#include "LogFormat.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <deque>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using standin::LogEntry;
using standin::MarkupRun;

enum ClassId { kFrame, kChild, kStatic, kTranscript, kCombobox, kIcon, kInput, kImage, kPane, kClassCount };

// The signature classes in the order of the options and of the children's creation.
constexpr ClassId kSignature[] = {kStatic, kTranscript, kCombobox, kIcon, kInput, kImage};

constexpr const char* kClassNames[2][kClassCount] = {
    {"AOL Frame25", "AOL Child", "_AOL_Static", "RICHCNTLREADONLY", "_AOL_Combobox", "_AOL_Icon", "RICHCNTL",
     "_AOL_Image", "StandInPane"},
    {"aOl fRAME25", "aol CHILD", "_aol_STATIC", "RichCntlReadOnly", "_Aol_ComboBox", "_aOL_iCON", "richCntl",
     "_AoL_ImAgE", "StandInPane"}};

constexpr std::size_t kShownLines = 200;
constexpr std::size_t kShownBytes = 64 * 1024;
constexpr std::size_t kShownCharacters = 2000;
constexpr char16_t kScreenName[] = u"Guest: ";

struct Options {
    int rooms = 1;
    int decoys = 0;
    bool lacking = false;
    bool grandchildren = false;
    bool mixedCase = false;
    bool noFrame = false;
    bool stray = false;
    std::wstring typed;
    std::wstring logPath;
};

class Log {
public:
    void Open(const std::wstring& path) {
        file_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create the log file");
    }
    ~Log() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    void Write(const LogEntry& entry, bool quoted) {
        if (file_ == INVALID_HANDLE_VALUE) return;
        const std::string line = standin::FormatLogEntry(entry, quoted) + '\n';
        // One unbuffered write per entry: a reader never sees half an entry before its line break.
        DWORD written = 0;
        if (!WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size())
            throw std::runtime_error("cannot write the log file");
    }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

struct Document;

struct InputBox {
    std::string name;
    Document* owner = nullptr;  // null for the stray window
    HWND window = nullptr;
    int ownEdits = 0;           // our own Get/SetWindowText on the box are not logged
};

struct Document {
    std::string caption;
    unsigned classes = 0;  // bit per ClassId among the (grand)children
    bool nested = false;
    bool room = false;
    HWND window = nullptr;
    HWND pane = nullptr;
    HWND children[kClassCount] = {};
    InputBox input;
    std::deque<std::vector<MarkupRun>> lines;
};

struct App {
    Options options;
    Log log;
    HINSTANCE instance = nullptr;
    const char* const* classNames = kClassNames[0];
    WNDPROC editProc = nullptr;
    HWND frame = nullptr;
    HWND area = nullptr;
    std::vector<std::unique_ptr<Document>> documents;
    InputBox stray;
    HFONT uiFont = nullptr;
    std::map<std::pair<std::u16string, bool>, HFONT> fonts;
    int exitCode = 0;
};

App* app = nullptr;

void Fail(const char* what) noexcept {
    try {
        app->log.Write({"standin", "error", what}, true);
    } catch (...) {
    }
    std::fprintf(stderr, "standin: %s\n", what);
    app->exitCode = 3;
    PostQuitMessage(3);
}

// No exception may cross a window procedure: user32 is C.
template <class Body>
LRESULT Guarded(Body body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        Fail(e.what());
    } catch (...) {
        Fail("unknown failure");
    }
    return 0;
}

std::u16string FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (size <= 0) throw std::runtime_error("MultiByteToWideChar failed");
    std::u16string text(static_cast<std::size_t>(size), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), reinterpret_cast<wchar_t*>(text.data()),
                        size);
    return text;
}

// --- the transcript -------------------------------------------------------------------------------

HFONT FontFor(const std::u16string& face, bool bold) {
    auto& font = app->fonts[{face, bold}];
    if (!font) {
        const std::wstring name = face.empty() ? std::wstring(L"Arial") : std::wstring(face.begin(), face.end());
        HDC screen = GetDC(nullptr);
        const int height = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, name.c_str());
        if (!font) throw std::runtime_error("CreateFont failed");
    }
    return font;
}

void AddLine(Document& room, std::string_view bytes) {
    const bool cut = bytes.size() > kShownBytes;
    std::vector<MarkupRun> runs{MarkupRun{kScreenName, 0, true, {}}};
    std::size_t shown = 0;
    for (auto& run : standin::ParseChatMarkup(FromAnsi(bytes.substr(0, kShownBytes)))) {
        if (shown + run.text.size() > kShownCharacters) run.text.resize(kShownCharacters - shown);
        shown += run.text.size();
        runs.push_back(std::move(run));
        if (shown == kShownCharacters) break;
    }
    if (cut || shown == kShownCharacters) runs.push_back(MarkupRun{u"\u2026", 0, false, {}});
    room.lines.push_back(std::move(runs));
    if (room.lines.size() > kShownLines) room.lines.pop_front();
    if (HWND transcript = room.children[kTranscript]) InvalidateRect(transcript, nullptr, FALSE);
}

struct Piece {
    const MarkupRun* run;
    std::size_t start;
    int count;
    int x;
};
using Row = std::vector<Piece>;

// Breaks a line into rows of the given width, between characters; continuation rows are indented.
std::vector<Row> LayOut(HDC dc, const std::vector<MarkupRun>& line, int left, int right) {
    std::vector<Row> rows(1);
    int x = left;
    for (const MarkupRun& run : line) {
        SelectObject(dc, FontFor(run.face, run.bold));
        const auto* text = reinterpret_cast<const wchar_t*>(run.text.data());
        const int length = static_cast<int>(run.text.size());
        for (int pos = 0; pos < length;) {
            int fit = 0;
            SIZE size{};
            GetTextExtentExPointW(dc, text + pos, length - pos, right - x, &fit, nullptr, &size);
            if (fit == 0 && x > left + 16) {
                rows.emplace_back();
                x = left + 16;
                continue;
            }
            fit = fit == 0 ? 1 : fit;
            GetTextExtentPoint32W(dc, text + pos, fit, &size);
            rows.back().push_back(Piece{&run, static_cast<std::size_t>(pos), fit, x});
            x += size.cx;
            pos += fit;
        }
    }
    return rows;
}

// Newest line at the bottom; older lines scroll off the top.
void PaintTranscript(HWND window, const Document& room) {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, FontFor({}, false));
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const int rowHeight = metrics.tmHeight + 2;

    std::deque<Row> rows;
    for (auto line = room.lines.rbegin(); line != room.lines.rend(); ++line) {
        auto lineRows = LayOut(dc, *line, 4, client.right - 4);
        rows.insert(rows.begin(), lineRows.begin(), lineRows.end());
        if (static_cast<int>(rows.size()) * rowHeight >= client.bottom) break;
    }
    int y = client.bottom - 2 - static_cast<int>(rows.size()) * rowHeight;
    for (const Row& row : rows) {
        for (const Piece& piece : row) {
            const MarkupRun& run = *piece.run;
            SelectObject(dc, FontFor(run.face, run.bold));
            SetTextColor(dc, RGB(run.color >> 16, (run.color >> 8) & 0xFF, run.color & 0xFF));
            TextOutW(dc, piece.x, y, reinterpret_cast<const wchar_t*>(run.text.data()) + piece.start, piece.count);
        }
        y += rowHeight;
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(window, &ps);
}

LRESULT CALLBACK TranscriptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&]() -> LRESULT {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* room = reinterpret_cast<Document*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: InvalidateRect(window, nullptr, FALSE); return 0;
        case WM_PAINT:
            if (room) {
                PaintTranscript(window, *room);
                return 0;
            }
            break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    });
}

// --- the input box --------------------------------------------------------------------------------

void PostLine(InputBox& box) {
    std::string text;
    ++box.ownEdits;
    try {
        text.resize(static_cast<std::size_t>(GetWindowTextLengthA(box.window)) + 1);
        text.resize(static_cast<std::size_t>(GetWindowTextA(box.window, text.data(), static_cast<int>(text.size()))));
        SetWindowTextA(box.window, "");
    } catch (...) {
        --box.ownEdits;
        throw;
    }
    --box.ownEdits;
    app->log.Write({box.name, "line", text}, true);
    if (box.owner) AddLine(*box.owner, text);
}

void LogInputMessage(const InputBox& box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        if (lParam)
            app->log.Write({box.name, "settext", reinterpret_cast<const char*>(lParam)}, true);
        else
            app->log.Write({box.name, "settext", "null"}, false);
    } else if (message == WM_CHAR) {
        app->log.Write({box.name, "char", std::to_string(wParam)}, false);
    } else if (InSendMessageEx(nullptr) != ISMEX_NOSEND) {
        char text[64];
        std::snprintf(text, sizeof text, "0x%04X 0x%llX 0x%llX", message, static_cast<unsigned long long>(wParam),
                      static_cast<unsigned long long>(lParam));
        app->log.Write({box.name, "msg", text}, false);
    }
}

LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* created = reinterpret_cast<InputBox*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
            created->window = window;
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
        auto* box = reinterpret_cast<InputBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (box && box->ownEdits == 0) {
            LogInputMessage(*box, message, wParam, lParam);
            if (message == WM_CHAR && wParam == '\r') {
                PostLine(*box);
                return 0;
            }
        }
        if (message == WM_CLOSE && box == &app->stray) {
            PostQuitMessage(0);  // as for the frame
            return 0;
        }
        if (message == WM_NCDESTROY && box) {
            box->window = nullptr;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        }
        return CallWindowProcA(app->editProc, window, message, wParam, lParam);
    });
}

// --- the other signature classes: painted, inert (the Send icon posts the room's input) -----------

void PaintDecoration(HWND window, ClassId id) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT rc;
    GetClientRect(window, &rc);
    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    HGDIOBJ oldFont = SelectObject(dc, app->uiFont);
    SetBkMode(dc, TRANSPARENT);
    switch (id) {
    case kStatic:
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        rc.left += 2;
        DrawTextA(dc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        break;
    case kCombobox: {
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
        RECT arrow{rc.right - 2 - (rc.bottom - 4), rc.top + 2, rc.right - 2, rc.bottom - 2};
        DrawFrameControl(dc, &arrow, DFC_SCROLL, DFCS_SCROLLDOWN);
        RECT label{rc.left + 4, rc.top, arrow.left, rc.bottom};
        DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        break;
    }
    case kIcon:
        DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        DrawTextA(dc, text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        break;
    default: {  // kImage: a small emblem
        HBRUSH blue = CreateSolidBrush(RGB(0, 51, 153));
        FillRect(dc, &rc, blue);
        DeleteObject(blue);
        HBRUSH gold = CreateSolidBrush(RGB(255, 204, 0));
        HGDIOBJ oldBrush = SelectObject(dc, gold);
        const int size = (rc.bottom < rc.right ? rc.bottom : rc.right) - 12;
        const int cx = rc.right / 2, cy = rc.bottom / 2;
        const POINT triangle[] = {{cx, cy - size / 2}, {cx + size / 2, cy + size / 2}, {cx - size / 2, cy + size / 2}};
        Polygon(dc, triangle, 3);
        SelectObject(dc, oldBrush);
        DeleteObject(gold);
        break;
    }
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

template <ClassId id>
LRESULT CALLBACK DecorationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&]() -> LRESULT {
        switch (message) {
        case WM_PAINT: PaintDecoration(window, id); return 0;
        case WM_SETTEXT: InvalidateRect(window, nullptr, TRUE); break;
        case WM_LBUTTONUP:
            if constexpr (id == kIcon) {
                HWND input = FindWindowExA(GetParent(window), nullptr, app->classNames[kInput], nullptr);
                if (auto* box = input ? reinterpret_cast<InputBox*>(GetWindowLongPtrA(input, GWLP_USERDATA)) : nullptr)
                    PostLine(*box);
                return 0;
            }
            break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    });
}

// --- document windows -----------------------------------------------------------------------------

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
    add(kStatic, DecorationProc<kStatic>, nullptr, CS_HREDRAW | CS_VREDRAW);
    add(kCombobox, DecorationProc<kCombobox>, nullptr, CS_HREDRAW | CS_VREDRAW);
    add(kIcon, DecorationProc<kIcon>, nullptr, CS_HREDRAW | CS_VREDRAW);
    add(kImage, DecorationProc<kImage>, nullptr, CS_HREDRAW | CS_VREDRAW);
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
        app->frame = CreateWindowExA(0, app->classNames[kFrame], "America Online (stand-in)",
                                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600, nullptr, nullptr,
                                     app->instance, nullptr);
        if (!app->frame) throw std::runtime_error("cannot create the frame");
        // Thousands of decoys would otherwise each repaint the area.
        SendMessageA(app->area, WM_SETREDRAW, FALSE, 0);
        const std::size_t count = app->documents.size();
        for (std::size_t i = 0; i < count; ++i) {
            Document& doc = *app->documents[i];
            const bool room = doc.room;
            const int offset = static_cast<int>((count - 1 - i) % 16) * 18;
            MDICREATESTRUCTA create{app->classNames[kChild], doc.caption.c_str(), app->instance,
                                    room ? 10 + offset : 40 + offset, room ? 10 + offset : 40 + offset,
                                    room ? 600 : 320, room ? 400 : 220, 0, reinterpret_cast<LPARAM>(&doc)};
            if (!SendMessageA(app->area, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)))
                throw std::runtime_error("cannot create a document window");
        }
        SendMessageA(app->area, WM_SETREDRAW, TRUE, 0);
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

int ParseCount(const wchar_t* text) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (*text == 0 || *end != 0 || value < 0 || value > 100000) throw std::invalid_argument("bad count");
    return static_cast<int>(value);
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        const auto value = [&]() -> const wchar_t* {
            if (i + 1 >= argc) throw std::invalid_argument("missing value");
            return argv[++i];
        };
        if (option == L"--rooms") o.rooms = ParseCount(value());
        else if (option == L"--decoys") o.decoys = ParseCount(value());
        else if (option == L"--lacking") o.lacking = true;
        else if (option == L"--grandchildren") o.grandchildren = true;
        else if (option == L"--mixed-case") o.mixedCase = true;
        else if (option == L"--no-frame") o.noFrame = true;
        else if (option == L"--stray") o.stray = true;
        else if (option == L"--typed") o.typed = value();
        else if (option == L"--log") o.logPath = value();
        else throw std::invalid_argument("unknown option");
    }
    return o;
}

int Run() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) throw std::runtime_error("CommandLineToArgvW failed");
    try {
        app->options = ParseOptions(argc, argv);
    } catch (const std::invalid_argument& e) {
        LocalFree(argv);
        std::fprintf(stderr,
                     "standin: %s\nusage: standin [--rooms N] [--decoys N] [--lacking] [--grandchildren] [--mixed-case]"
                     " [--no-frame] [--stray] [--typed TEXT] [--log FILE]\n",
                     e.what());
        return 2;
    }
    LocalFree(argv);
    if (!app->options.logPath.empty()) app->log.Open(app->options.logPath);
    app->classNames = kClassNames[app->options.mixedCase ? 1 : 0];
    RegisterClasses();
    PlanDocuments();
    CreateWindows();
    app->log.Write({"standin", "ready", std::to_string(GetCurrentProcessId())}, false);

    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        if (app->area && TranslateMDISysAccel(app->area, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // -1: the queue failed (under Wine, a message of more than about 1 MiB sent to us); not a quiet end.
    if (got < 0) Fail(("GetMessage failed (system error " + std::to_string(GetLastError()) + ")").c_str());
    if (app->exitCode == 0) app->exitCode = static_cast<int>(msg.wParam);
    app->log.Write({"standin", "exit", std::to_string(app->exitCode)}, false);
    return app->exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    App state;
    state.instance = instance;
    app = &state;
    try {
        return Run();
    } catch (const std::exception& e) {
        Fail(e.what());
        return 3;
    }
}
