// The transcript's fonts by face and weight, made when first asked for and kept while in use, so that a
// room flooded with faces stays within the system's quota of GDI objects and paints quickly.
#pragma once

#include "Gdi.h"

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace practice_room {

class FontCache {
public:
    // capacity: the most fonts kept; height: as LOGFONT's lfHeight.
    FontCache(std::size_t capacity, int height);

    // Selects into dc the font of this face (empty: the default face, Arial) and weight, in place of the
    // one selected before; the caller restores the DC's own font before the DC goes. A face is cut at
    // what the system's font lookup reads; faces that the system draws with one font share it; a face
    // that cannot be made is drawn with the default face.
    void Select(HDC dc, std::u16string_view face, bool bold);

    std::size_t Size() const { return fonts_.size(); }

private:
    struct Entry {
        std::wstring drawnFace;
        bool bold;
        Font font;
    };

    std::wstring DrawnFace(HDC dc, const std::wstring& face, bool bold);

    std::size_t capacity_;
    int height_;
    std::list<Entry> fonts_;  // the most recently used first
    std::unordered_map<std::wstring, std::list<Entry>::iterator> kept_[2];  // by drawn face, per weight
    std::unordered_map<std::wstring, std::wstring> drawnFaces_[2];         // by asked-for face, per weight
};

}  // namespace practice_room
