#include "Frame.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace practice_room {

namespace {

// The tool finds the frame by its class alone; the caption tells a user what the window is.
constexpr char kFrameCaption[] = "Quenlow practice room: a stand-in chat room";
// At 96 dpi: room for a line of about 80 characters beside the room's list.
constexpr int kFrameWidth = 720;
constexpr int kFrameHeight = 480;

// At a high dpi the frame could outgrow a small screen.
SIZE FrameSize(const Context& context) {
    SIZE size{context.Scaled(kFrameWidth), context.Scaled(kFrameHeight)};
    RECT work;
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        size.cx = std::min<LONG>(size.cx, work.right - work.left);
        size.cy = std::min<LONG>(size.cy, work.bottom - work.top);
    }
    return size;
}

}  // namespace

void Frame::Register(const Context& context) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = context.instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = context.classNames[kFrame];
    if (!RegisterClassExA(&wc)) throw std::runtime_error(std::string("cannot register ") + wc.lpszClassName);
}

Frame::Frame(Context& context, bool mixedCase) : context_(context), mixedCase_(mixedCase) {
    const SIZE size = FrameSize(context);
    // WM_NCCREATE stores window_.
    if (!CreateWindowExA(0, context.classNames[kFrame], kFrameCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, context.instance, this))
        throw std::runtime_error("cannot create the frame");
}

void Frame::CreateDocuments(std::vector<DocumentPlan> plans) {
    // Thousands of decoys would otherwise each repaint the area.
    SendMessageA(area_, WM_SETREDRAW, FALSE, 0);
    const std::size_t count = plans.size();
    for (std::size_t i = 0; i < count; ++i) {
        const bool room = plans[i].room;
        Document& document = *documents_.emplace_back(std::make_unique<Document>(context_, *this, std::move(plans[i])));
        const int at = context_.Scaled((room ? 10 : 40) + static_cast<int>((count - 1 - i) % 16) * 18);
        // A room alone fills the frame, as a user's practice room.
        const RECT place{at, at, at + context_.Scaled(room ? 600 : 320), at + context_.Scaled(room ? 400 : 220)};
        document.Create(area_, place, count == 1 ? DWORD{WS_MAXIMIZE} : 0);
    }
    SendMessageA(area_, WM_SETREDRAW, TRUE, 0);
    // The area shows its scroll bars from its creation until a document moves, a maximized one included.
    if (count == 1) ShowScrollBar(area_, SB_BOTH, FALSE);
}

void Frame::Show() {
    ShowWindow(window_, SW_SHOW);
    RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// The windows go with the process. Destroying them first would cost seconds under Wine without a window
// manager, which waits for each top-level window to be withdrawn.
void Frame::Close() { PostQuitMessage(0); }

void Frame::Forget(const Document& document) {
    std::erase_if(documents_, [&](const std::unique_ptr<Document>& held) { return held.get() == &document; });
}

bool Frame::TakeKeys(MSG& message) const {
    if (!area_) return false;
    if (TranslateMDISysAccel(area_, &message)) return true;
    const auto active = reinterpret_cast<HWND>(SendMessageW(area_, WM_MDIGETACTIVE, 0, 0));
    return active && IsDialogMessageW(active, &message);
}

LRESULT CALLBACK Frame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Frame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Frame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefFrameProcA(window, nullptr, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = self->area_ = nullptr;
        return DefFrameProcA(window, nullptr, message, wParam, lParam);
    }
    return Guarded(self->context_, message, [&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT Frame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_CLOSE: Close(); return 0;
    }
    return DefFrameProcA(window_, area_, message, wParam, lParam);
}

void Frame::OnCreate() {
    CLIENTCREATESTRUCT client{nullptr, 50000};
    area_ = CreateWindowExA(WS_EX_CLIENTEDGE, mixedCase_ ? "mdiCLIENT" : "MDIClient", nullptr,
                            WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(1), context_.instance, &client);
    if (!area_) throw std::runtime_error("cannot create the MDI client area");
}

}  // namespace practice_room
