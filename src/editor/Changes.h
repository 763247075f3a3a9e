#pragma once
// What one edit of the session changed, announced once at its end to the Host and to every
// other listener.

namespace stipple {

class Session;

namespace changed {
inline constexpr unsigned kCells = 1u << 0;      // cells of the picture
inline constexpr unsigned kSize = 1u << 1;       // the picture's width or height
inline constexpr unsigned kName = 1u << 2;       // the picture's name
inline constexpr unsigned kSelection = 1u << 3;  // the box being dragged or its frame
inline constexpr unsigned kBox = 1u << 4;        // a box was captured: its corners and cells
inline constexpr unsigned kBuffer = 1u << 5;     // the copied cells alone (turned, mirrored)
inline constexpr unsigned kView = 1u << 6;       // pixel size, grids, border
inline constexpr unsigned kTool = 1u << 7;       // the tool or the box tool's mode
inline constexpr unsigned kColours = 1u << 8;    // the left or right colour
inline constexpr unsigned kExport = 1u << 9;     // the export settings (align to byte)
inline constexpr unsigned kHistory = 1u << 10;   // what can be undone or redone
inline constexpr unsigned kDrag = 1u << 11;      // the mouse: buttons held, a box drag begun
inline constexpr unsigned kFile = 1u << 12;      // the document's file, or its state as written
// Which pictures the document holds, the current one, the set's name and rate, and a font's
// glyphs (their code points and metrics) and lines.
inline constexpr unsigned kFrames = 1u << 13;
inline constexpr unsigned kEverything = (1u << 14) - 1;
// What the surface shows: these bits are answered with a redraw.
inline constexpr unsigned kSurface = kCells | kSize | kSelection | kBox | kView | kTool | kFrames;
}  // namespace changed

struct Changes {
    unsigned what = 0;
    // With kCells: the one cell, 1-based, that changed, so that only it is repainted when
    // nothing else on the surface changed; 0 when any cells may have changed.
    int cellX = 0;
    int cellY = 0;

    bool has(unsigned bits) const { return (what & bits) != 0; }
    static Changes cell(int x, int y) { return {changed::kCells, x, y}; }
    // Both together; the cell stays one cell only where both name the same.
    Changes& operator|=(const Changes& other);
};

inline Changes& Changes::operator|=(const Changes& other) {
    if (other.has(changed::kCells)) {
        if (!has(changed::kCells)) {
            cellX = other.cellX;
            cellY = other.cellY;
        } else if (cellX != other.cellX || cellY != other.cellY) {
            cellX = cellY = 0;
        }
    }
    what |= other.what;
    return *this;
}

// Anything that shows the session: it reads what it shows when told what changed.
class SessionListener {
  public:
    virtual ~SessionListener() = default;
    virtual void sessionChanged(const Session& session, const Changes& changes) = 0;
};

}  // namespace stipple
