// The transcript of a room: each submitted line as the chat client shows it, its screen name in bold,
// then each character in its colour, weight and face; the newest line at the bottom.
#include "FontCache.h"
#include "Gdi.h"
#include "PracticeRoom.h"

#include <iterator>
#include <stdexcept>
#include <utility>

namespace practice_room {

namespace {

constexpr std::size_t kShownLines = 200;
constexpr std::size_t kShownCharacters = 2000;
// Far below the 10,000 GDI objects that Windows allows a process, and more than a room's usual faces.
constexpr std::size_t kFontCapacity = 256;
constexpr char16_t kScreenName[] = u"Guest: ";
// Shown in an empty room, for whoever opened it to try the tool.
constexpr wchar_t kEmptyRoomHint[] = L"Start Quenlow and press Send: your line shows here as a chat room shows it.";

std::u16string FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (size <= 0) throw std::runtime_error("MultiByteToWideChar failed");
    std::u16string text(static_cast<std::size_t>(size), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), reinterpret_cast<wchar_t*>(text.data()),
                        size);
    return text;
}

// Every room's, 10 points at the system's dpi.
FontCache& Fonts() {
    static FontCache fonts(kFontCapacity, -MulDiv(10, app->dpi, 72));
    return fonts;
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
        Fonts().Select(dc, run.face, run.bold);
        const auto* text = reinterpret_cast<const wchar_t*>(run.text.data());
        const int length = static_cast<int>(run.text.size());
        for (int pos = 0; pos < length;) {
            int fit = 0;
            SIZE size{};
            GetTextExtentExPointW(dc, text + pos, length - pos, right - x, &fit, nullptr, &size);
            if (fit == 0 && x > left + Scaled(16)) {
                rows.emplace_back();
                x = left + Scaled(16);
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
void DrawTranscript(HDC dc, const RECT& client, const Document& room) {
    // The lines' fonts are selected in turn; the DC's own is back before the DC goes.
    const SelectedObject ownFont(dc, GetStockObject(DEFAULT_GUI_FONT));
    Fonts().Select(dc, {}, false);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const int rowHeight = metrics.tmHeight + 2;
    if (room.room && room.lines.empty()) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        const int margin = Scaled(8);
        RECT hint{client.left + margin, client.top + margin, client.right - margin, client.bottom - margin};
        DrawTextW(dc, kEmptyRoomHint, -1, &hint, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    }

    std::deque<Row> rows;
    for (auto line = room.lines.rbegin(); line != room.lines.rend(); ++line) {
        auto lineRows = LayOut(dc, *line, Scaled(4), client.right - Scaled(4));
        rows.insert(rows.begin(), lineRows.begin(), lineRows.end());
        if (static_cast<int>(rows.size()) * rowHeight >= client.bottom) break;
    }
    int y = client.bottom - 2 - static_cast<int>(rows.size()) * rowHeight;
    for (const Row& row : rows) {
        for (const Piece& piece : row) {
            const MarkupRun& run = *piece.run;
            Fonts().Select(dc, run.face, run.bold);
            SetTextColor(dc, RGB(run.color >> 16, (run.color >> 8) & 0xFF, run.color & 0xFF));
            TextOutW(dc, piece.x, y, reinterpret_cast<const wchar_t*>(run.text.data()) + piece.start, piece.count);
        }
        y += rowHeight;
    }
}

void PaintTranscript(HWND window, const Document& room) {
    const PaintDc target(window);
    if (!target.get()) return;
    RECT client;
    GetClientRect(window, &client);
    // Drawn off screen against flicker; without the GDI memory for that, straight onto the window.
    const Bitmap bitmap(CreateCompatibleBitmap(target.get(), client.right, client.bottom));
    const MemoryDc memory(target.get(), bitmap.get());
    if (!bitmap || !memory.get()) {
        DrawTranscript(target.get(), client, room);
        return;
    }
    DrawTranscript(memory.get(), client, room);
    BitBlt(target.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace

void AddLine(Document& room, std::string_view bytes) {
    // One character more than is shown tells whether anything is cut.
    std::vector<MarkupRun> text = ParseChatMarkup(FromAnsi(bytes), kShownCharacters + 1);
    std::size_t characters = 0;
    for (const MarkupRun& run : text) characters += run.text.size();
    const bool cut = characters > kShownCharacters;
    if (cut) {
        text.back().text.pop_back();
        if (text.back().text.empty()) text.pop_back();
    }
    std::vector<MarkupRun> runs{MarkupRun{kScreenName, 0, true, {}}};
    runs.insert(runs.end(), std::make_move_iterator(text.begin()), std::make_move_iterator(text.end()));
    if (cut) runs.push_back(MarkupRun{u"\u2026", 0, false, {}});
    room.lines.push_back(std::move(runs));
    if (room.lines.size() > kShownLines) room.lines.pop_front();
    if (HWND transcript = room.children[kTranscript]) InvalidateRect(transcript, nullptr, FALSE);
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

}  // namespace practice_room
