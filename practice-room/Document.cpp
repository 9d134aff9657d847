#include "Document.h"

#include "Controls.h"
#include "Frame.h"

#include <stdexcept>

namespace practice_room {

namespace {

// The order of creation is the order Tab follows: the input box, Send, the transcript, the people list.
constexpr ClassId kCreationOrder[] = {kStatic, kImage, kInput, kIcon, kTranscript, kCombobox};

int ControlId(ClassId id) { return 100 + id; }

// Stands between a nested room and its children: what they tell their parent goes on to the room.
LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_DRAWITEM) return SendMessageW(GetParent(window), message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void Document::Register(const Context& context) {
    const auto add = [&](const char* name, WNDPROC proc, UINT style) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = proc;
        wc.hInstance = context.instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = name;
        if (!RegisterClassExA(&wc)) throw std::runtime_error(std::string("cannot register ") + name);
    };
    add(context.classNames[kChild], WindowProc, CS_HREDRAW | CS_VREDRAW);
    add(context.classNames[kPane], PaneProc, 0);
}

Document::Document(Context& context, Frame& frame, DocumentPlan plan)
    : context_(context),
      frame_(frame),
      plan_(std::move(plan)),
      input_(context, plan_.inputName, [this](const std::string& line) { transcript_.Add(line); }),
      transcript_(context, plan_.room) {}

void Document::Create(HWND area, RECT place, DWORD style) {
    MDICREATESTRUCTA create{context_.classNames[kChild], plan_.caption.c_str(), context_.instance, place.left, place.top,
                            place.right - place.left, place.bottom - place.top, style, reinterpret_cast<LPARAM>(this)};
    if (!SendMessageA(area, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)))
        throw std::runtime_error("cannot create a document window");
    created_ = true;
}

LRESULT CALLBACK Document::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = static_cast<const MDICREATESTRUCTA*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        auto* self = reinterpret_cast<Document*>(create->lParam);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Document*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefMDIChildProcA(window, message, wParam, lParam);
    // A close inside one of its own handlers destroys the window under them: the document goes only once the
    // outermost has returned.
    ++self->depth_;
    const LRESULT result = Guarded(self->context_, message, [&] { return self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    if (--self->depth_ == 0 && !self->window_ && self->created_) self->frame_.Forget(*self);  // deletes it
    return result;
}

LRESULT Document::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(); break;
    case WM_SIZE: OnSize(LOWORD(lParam), HIWORD(lParam)); break;
    case WM_SETFOCUS: OnSetFocus(); break;
    case WM_CLOSE:
        if (OnClose()) return 0;
        break;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    }
    return DefMDIChildProcA(window_, message, wParam, lParam);
}

void Document::OnCreate() {
    HWND parent = window_;
    if (plan_.nested) {
        parent = pane_ = CreateWindowExA(WS_EX_CONTROLPARENT, context_.classNames[kPane], "",
                                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, window_, nullptr,
                                         context_.instance, nullptr);
        if (!parent) throw std::runtime_error("cannot create a pane");
    }
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    for (ClassId id : kCreationOrder) {
        if (!(plan_.classes & (1u << id))) continue;
        switch (id) {
        case kInput:
            input_.Create(WS_EX_CLIENTEDGE, kChild | WS_TABSTOP | ES_AUTOHSCROLL, {}, parent, ControlId(id));
            children_[id] = input_.Window();
            break;
        case kTranscript:
            transcript_.Create(kChild | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY, parent, ControlId(id));
            children_[id] = transcript_.Window();
            break;
        default: {
            const char* text = id == kStatic ? plan_.caption.c_str() : id == kIcon ? "Send" : "";
            const HWND child = CreateWindowExA(0, context_.classNames[id], text, kChild | ControlStyle(id), 0, 0, 0, 0,
                                               parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(id))),
                                               context_.instance, nullptr);
            if (!child) throw std::runtime_error("cannot create a child window");
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(context_.font.get()), FALSE);
            if (id == kCombobox) FillPeopleList(child);
            children_[id] = child;
        }
        }
    }
}

void Document::OnSize(int width, int height) {
    if (pane_) MoveWindow(pane_, 0, 0, width, height, TRUE);
    // Each length scaled on its own, and the rest derived from them, so that the margins line up at any dpi.
    const auto scaled = [&](int at96) { return context_.Scaled(at96); };
    const int margin = scaled(4), side = scaled(130), send = scaled(70), row = scaled(26), caption = scaled(20);
    const int top = caption + 2 * margin, bottom = row + 2 * margin;
    const auto place = [&](ClassId id, int x, int y, int w, int h) {
        if (children_[id]) MoveWindow(children_[id], x, y, w > 0 ? w : 0, h > 0 ? h : 0, TRUE);
    };
    // The caption's text stands in by two pixels from the margin.
    place(kStatic, margin + scaled(2), margin, width - 2 * margin - scaled(2), caption);
    place(kTranscript, margin, top, width - 3 * margin - side, height - top - bottom - margin);
    // A drop-down list is given the height of its field and its list together, and keeps its field's own.
    place(kCombobox, width - margin - side, top, side, height - top - bottom - margin);
    int list = scaled(22);
    if (RECT field; children_[kCombobox] && GetWindowRect(children_[kCombobox], &field)) list = field.bottom - field.top;
    place(kImage, width - margin - side, top + list + scaled(6), side, scaled(64));
    place(kInput, margin, height - bottom, width - 3 * margin - send, row);
    place(kIcon, width - margin - send, height - bottom, send, row);
}

void Document::OnSetFocus() {
    if (input_.Window()) SetFocus(input_.Window());
}

// Without a room the tool would send nothing anywhere and say nothing: the practice room goes with it.
bool Document::OnClose() {
    if (!plan_.room) return false;
    frame_.Close();
    return true;
}

// Send clicked, whatever clicked it: the mouse, Space, Enter, BM_CLICK.
void Document::OnCommand(int id, int code) {
    if (id == ControlId(kIcon) && code == BN_CLICKED && input_.Window()) input_.Submit();
}

void Document::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem == children_[kImage]) DrawEmblem(item, context_);
}

}  // namespace practice_room
