#include "RichEditLine.h"

#include "Gdi.h"
#include "LineRtf.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace practice_room {

namespace {

// Room for all the lines kept, each cut at 2,000 characters; the control's default is 32,767.
constexpr LPARAM kTextLimit = 4 * 1024 * 1024;

LRESULT Send(HWND richEdit, UINT message, WPARAM wParam, const void* lParam) {
    return SendMessageW(richEdit, message, wParam, reinterpret_cast<LPARAM>(lParam));
}

// EM_STREAMIN's reader: the RTF a piece at a time.
DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto& rest = *reinterpret_cast<std::string_view*>(cookie);
    const std::size_t count = std::min(rest.size(), static_cast<std::size_t>(size));
    std::memcpy(buffer, rest.data(), count);
    rest.remove_prefix(count);
    *read = static_cast<LONG>(count);
    return 0;
}

// The face the system draws a face with. Faces it lacks share one, which keeps the control's formats few
// however many faces a room is sent.
std::u16string DrawnFace(const std::u16string& face) {
    static std::unordered_map<std::u16string, std::u16string> drawnFaces;
    if (const auto known = drawnFaces.find(face); known != drawnFaces.end()) return known->second;
    wchar_t drawn[LF_FACESIZE] = {};
    {
        const Font font(CreateFontW(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                    reinterpret_cast<const wchar_t*>(face.c_str())));
        const MemoryDc dc(nullptr, nullptr);
        if (!font || !dc.get()) return face;
        const SelectedObject selected(dc.get(), font.get());
        if (!GetTextFaceW(dc.get(), LF_FACESIZE, drawn)) return face;
    }
    // Names, not GDI objects: a bound on memory alone.
    if (drawnFaces.size() >= 16384) drawnFaces.clear();
    return drawnFaces.emplace(face, reinterpret_cast<const char16_t*>(drawn)).first->second;
}

// Whether the text's last row is in view. Positions, not the scroll bar: for a text taller than 65,535 pixels
// the bar's range stops at 65,535, and under Wine its page stays in pixels.
bool ShowsEnd(HWND transcript) {
    GETTEXTLENGTHEX characters{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto length = static_cast<LONG>(
        SendMessageW(transcript, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&characters), 0));
    if (length == 0) return true;
    POINTL last{};
    SendMessageW(transcript, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&last), length - 1);
    RECT view{};
    Send(transcript, EM_GETRECT, 0, &view);
    return last.y < view.bottom;
}

// Brings the row that holds character at to the top of the view, by EM_LINESCROLL, which has no limit where
// positions in EM_GETSCROLLPOS and EM_SETSCROLLPOS have 16 bits. It counts the control's rows on Windows, and
// rows of the default format's height under Wine: from the top of the text, a first step of the row's number,
// then steps sized by how far a row of the last one went. Under Wine a step can pass a row lower than the
// default: the last one goes back until the row shows.
void ScrollToTop(HWND transcript, LONG at) {
    RECT view{};
    Send(transcript, EM_GETRECT, 0, &view);
    const auto below = [&] {  // how far the row's top is below the view's
        POINTL where{};
        SendMessageW(transcript, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&where), at);
        return where.y - view.top;
    };
    LONG unit = 1;  // pixels a row of EM_LINESCROLL went, the last time
    const auto scroll = [&](LONG rows) {  // false when the view went nowhere: the end of the text is in view
        const LONG before = below();
        SendMessageW(transcript, EM_LINESCROLL, 0, rows);
        const LONG went = before - below();
        if (went != 0) unit = std::max<LONG>(went / rows, 1);
        return went != 0;
    };
    const auto rows = [&](LONG pixels) { return (pixels + (pixels > 0 ? unit - 1 : 1 - unit)) / unit; };  // away from 0
    const auto first = [&] { return SendMessageW(transcript, EM_GETFIRSTVISIBLELINE, 0, 0); };
    SendMessageW(transcript, WM_VSCROLL, SB_TOP, 0);
    const LRESULT row = SendMessageW(transcript, EM_EXLINEFROMCHAR, 0, at);
    if (row == 0 || !scroll(static_cast<LONG>(row))) return;
    for (int step = 0; step < 8 && first() != row; ++step)
        if (!scroll(rows(below()))) return;
    if (first() > row) scroll(rows(below()));
}

// What a line's RTF is written over: the transcript's own face at 10 points, black, no back colour, no effects.
// scope: SCF_SELECTION, or SCF_DEFAULT for the control's own.
void SetBaseFormat(HWND transcript, WPARAM scope = SCF_SELECTION) {
    CHARFORMAT2W base{};
    base.cbSize = sizeof base;
    base.dwMask = CFM_FACE | CFM_CHARSET | CFM_SIZE | CFM_COLOR | CFM_BACKCOLOR | CFM_BOLD | CFM_ITALIC |
                  CFM_UNDERLINE | CFM_STRIKEOUT;
    base.dwEffects = CFE_AUTOBACKCOLOR;
    base.yHeight = 10 * 20;
    base.bCharSet = DEFAULT_CHARSET;
    std::u16string_view(kBaseFace).copy(reinterpret_cast<char16_t*>(base.szFaceName), LF_FACESIZE - 1);
    Send(transcript, EM_SETCHARFORMAT, scope, &base);
}

// Gives the runs whose faces LineRtf leaves out their faces, a stretch of runs in one face at a time; the
// line's text starts at at.
void SetFacesOutsideRtf(HWND transcript, const std::vector<MarkupRun>& line, LONG at) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_CHARSET;
    format.bCharSet = DEFAULT_CHARSET;
    for (auto run = line.begin(); run != line.end();) {
        const auto stretch = std::find_if(run, line.end(), [&](const MarkupRun& r) { return r.face != run->face; });
        LONG length = 0;
        for (auto in = run; in != stretch; ++in) length += static_cast<LONG>(in->text.size());
        if (!FaceInRtf(run->face)) {
            const CHARRANGE characters{at, at + length};
            Send(transcript, EM_EXSETSEL, 0, &characters);
            std::ranges::fill(format.szFaceName, L'\0');
            run->face.copy(reinterpret_cast<char16_t*>(format.szFaceName), LF_FACESIZE - 1);
            Send(transcript, EM_SETCHARFORMAT, SCF_SELECTION, &format);
        }
        at += length;
        run = stretch;
    }
}

}  // namespace

void InsertLine(HWND transcript, std::vector<MarkupRun> line, bool afterLine) {
    for (MarkupRun& run : line)
        if (!run.face.empty()) run.face = DrawnFace(run.face);
    const CHARRANGE end{-1, -1};
    Send(transcript, EM_EXSETSEL, 0, &end);
    CHARRANGE start{};
    Send(transcript, EM_EXGETSEL, 0, &start);
    SetBaseFormat(transcript);
    const std::string rtf = LineRtf(line, afterLine);
    std::string_view rest = rtf;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rest), 0, ReadRtf};
    Send(transcript, EM_STREAMIN, SF_RTF | SFF_SELECTION, &stream);
    if (stream.dwError != 0 || !rest.empty()) throw std::runtime_error("the transcript did not take a line");
    if (std::ranges::all_of(line, [](const MarkupRun& run) { return FaceInRtf(run.face); })) return;
    SetFacesOutsideRtf(transcript, line, start.cpMin + (afterLine ? 1 : 0));
    Send(transcript, EM_EXSETSEL, 0, &end);
}

void SetUpTranscriptControl(HWND transcript) {
    SendMessageW(transcript, EM_EXLIMITTEXT, 0, kTextLimit);
    // Nothing to undo in a read-only control: the undo stack would only grow with every line.
    SendMessageW(transcript, EM_SETUNDOLIMIT, 0, 0);
    // Its rows are the height of EM_LINESCROLL's steps under Wine.
    SetBaseFormat(transcript, SCF_DEFAULT);
    // Each line's paragraph takes its format from the one before: the first one's, with wrapped rows indented.
    PARAFORMAT2 paragraph{};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_STARTINDENT | PFM_OFFSET;
    paragraph.dxOffset = kWrapIndent;
    Send(transcript, EM_SETPARAFORMAT, 0, &paragraph);
}

// Every selection the control is given scrolls it to the caret: the view is put back afterwards.
void AppendLine(HWND transcript, KeptLines& kept, const std::vector<MarkupRun>& line) {
    const bool follow = ShowsEnd(transcript);
    CHARRANGE selection{};
    Send(transcript, EM_EXGETSEL, 0, &selection);
    // Reading back, the user keeps the view and the selection; else the caret waits at the end.
    const bool keepSelection = !follow || selection.cpMin != selection.cpMax;
    const auto top = static_cast<LONG>(
        SendMessageW(transcript, EM_LINEINDEX, SendMessageW(transcript, EM_GETFIRSTVISIBLELINE, 0, 0), 0));

    InsertLine(transcript, line, !kept.Empty());
    const auto dropped = static_cast<LONG>(kept.Add(ShownLength(line)));
    if (dropped > 0) {
        const CHARRANGE oldest{0, dropped};
        Send(transcript, EM_EXSETSEL, 0, &oldest);
        Send(transcript, EM_REPLACESEL, FALSE, L"");
    }
    selection = keepSelection ? CHARRANGE{std::max<LONG>(selection.cpMin - dropped, 0),
                                          std::max<LONG>(selection.cpMax - dropped, 0)}
                              : CHARRANGE{-1, -1};
    Send(transcript, EM_EXSETSEL, 0, &selection);
    if (follow)
        SendMessageW(transcript, WM_VSCROLL, SB_BOTTOM, 0);
    else
        ScrollToTop(transcript, std::max<LONG>(top - dropped, 0));  // the oldest lines took the top line up
}

}  // namespace practice_room
