#include "formats/FontSample.h"

#include <algorithm>
#include <unordered_map>

namespace stipple {

namespace {

// A line wider than this stops taking characters: only absurd advances get there.
constexpr int kMaxSampleWidth = 2048;

// The code points of `text`; a byte that starts no valid UTF-8 sequence stands for itself.
std::vector<int> codePoints(std::string_view text) {
    std::vector<int> out;
    for (std::size_t i = 0; i < text.size() && out.size() < kMaxSampleCharacters;) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        const unsigned lead = byte(i);
        const int extra = lead >= 0xF0 && lead < 0xF5   ? 3
                          : lead >= 0xE0                ? 2
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                                                        : 0;
        int code = static_cast<int>(extra == 0 ? lead : lead & (0x3Fu >> extra));
        bool valid = lead < 0x80 || extra > 0;
        for (int k = 1; valid && k <= extra; ++k) {
            valid = i + k < text.size() && (byte(i + k) & 0xC0) == 0x80;
            code = code << 6 | (valid ? byte(i + k) & 0x3F : 0);
        }
        // Overlong forms, surrogates and code points past the last are not UTF-8.
        valid = valid && !(extra == 2 && code < 0x800) && !(extra == 3 && code < 0x10000) &&
                !(code >= 0xD800 && code < 0xE000) && code <= kMaxCodePoint;
        out.push_back(valid ? code : static_cast<int>(lead));
        i += valid ? static_cast<std::size_t>(extra) + 1 : 1;
    }
    return out;
}

}  // namespace

SampleLine drawSampleLine(const Document& font, std::string_view text) {
    SampleLine line;
    std::vector<const Frame*> drawn;
    if (font.font) {
        std::unordered_map<int, const Frame*> glyphs;
        for (const Frame& frame : font.frames) {
            if (frame.glyph) {
                glyphs.emplace(frame.glyph->codePoint, &frame);
            }
        }
        for (const int code : codePoints(text)) {
            if (const auto found = glyphs.find(code); found != glyphs.end()) {
                drawn.push_back(found->second);
            }
        }
    }
    // First the extent: the pen's travel and every glyph's cells, around the font's line.
    const FontMetrics metrics = font.font.value_or(FontMetrics{});
    int left = 0;
    int right = 0;
    int top = -std::max(metrics.ascent, 0);
    int bottom = std::max(metrics.descent, 0);
    int pen = 0;
    std::size_t count = 0;
    for (const Frame* frame : drawn) {
        const Glyph& glyph = *frame->glyph;
        const int x = pen + glyph.xOffset;
        const int newLeft = std::min(left, x);
        const int newRight = std::max({right, pen + glyph.advance, x + frame->picture.width});
        if (newRight - newLeft > kMaxSampleWidth) {
            break;
        }
        left = newLeft;
        right = newRight;
        top = std::min(top, -glyph.yOffset);
        bottom = std::max(bottom, -glyph.yOffset + frame->picture.height);
        pen += glyph.advance;
        ++count;
    }
    line.width = std::max(right - left, 1);
    line.height = std::max(bottom - top, 1);
    line.baseline = -top;
    line.penX = -left;
    line.cells.assign(static_cast<std::size_t>(line.width) * static_cast<std::size_t>(line.height),
                      kTransparent);
    pen = line.penX;
    for (std::size_t i = 0; i < count; ++i) {
        const Frame& frame = *drawn[i];
        const Glyph& glyph = *frame.glyph;
        const PixelView cells = frame.picture.view();
        const int x0 = pen + glyph.xOffset;
        const int y0 = line.baseline - glyph.yOffset;
        for (int y = 1; y <= cells.height(); ++y) {
            for (int x = 1; x <= cells.width(); ++x) {
                if (const Pixel value = cells.at(x, y); value != kTransparent) {
                    line.cells[static_cast<std::size_t>((y0 + y - 1) * line.width + x0 + x - 1)] =
                        value;
                }
            }
        }
        pen += glyph.advance;
    }
    return line;
}

}  // namespace stipple
