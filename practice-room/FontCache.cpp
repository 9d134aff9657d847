#include "FontCache.h"

#include <algorithm>

namespace practice_room {

namespace {

constexpr wchar_t kDefaultFace[] = L"Arial";
// Names, not GDI objects: room for the faces of every line that a window shows.
constexpr std::size_t kDrawnFacesKept = 16384;

Font Create(const std::wstring& face, bool bold, int height) {
    return Font(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                            face.empty() ? kDefaultFace : face.c_str()));
}

}  // namespace

FontCache::FontCache(std::size_t capacity, int height)
    : capacity_(std::max<std::size_t>(capacity, 1)), height_(height) {}

void FontCache::Select(HDC dc, std::u16string_view face, bool bold) {
    face = face.substr(0, LF_FACESIZE - 1);
    const std::wstring drawnFace = DrawnFace(dc, std::wstring(face.begin(), face.end()), bold);
    auto& kept = kept_[bold];
    if (const auto found = kept.find(drawnFace); found != kept.end()) {
        fonts_.splice(fonts_.begin(), fonts_, found->second);
    } else {
        Font font = Create(drawnFace, bold, height_);
        if (!font) font = Create(kDefaultFace, bold, height_);
        if (!font) {
            SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            return;
        }
        fonts_.push_front(Entry{drawnFace, bold, std::move(font)});
        kept.emplace(drawnFace, fonts_.begin());
    }
    SelectObject(dc, fonts_.front().font.get());
    // A font may be deleted only when no DC holds it. The caller selects our fonts into one DC at a time
    // and restores that DC's own font before the DC goes, so the one just selected is the only one held,
    // and it is the first of the list.
    if (fonts_.size() > capacity_) {
        kept_[fonts_.back().bold].erase(fonts_.back().drawnFace);
        fonts_.pop_back();
    }
}

// Asking costs a font of its own; but faces the system lacks then share the one it draws them with.
std::wstring FontCache::DrawnFace(HDC dc, const std::wstring& face, bool bold) {
    auto& drawnFaces = drawnFaces_[bold];
    if (const auto known = drawnFaces.find(face); known != drawnFaces.end()) return known->second;
    const Font asked = Create(face, bold, height_);
    if (!asked) return face;
    wchar_t drawn[LF_FACESIZE] = {};
    {
        const SelectedObject selected(dc, asked.get());
        if (!GetTextFaceW(dc, LF_FACESIZE, drawn)) return face;
    }
    if (drawnFaces.size() >= kDrawnFacesKept) drawnFaces.clear();
    return drawnFaces.emplace(face, drawn).first->second;
}

}  // namespace practice_room
