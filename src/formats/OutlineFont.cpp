#include "formats/OutlineFont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include FT_FREETYPE_H

namespace stipple {

namespace {

std::string number(long value) {
    return std::to_string(value);
}

// fontconfig's best match for the pattern, when it is of the family asked for: fontconfig
// always answers with some font, so a family it does not know must be caught here.
std::string fileOfFamily(const std::string& family, std::string& error) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) {
        error = "fontconfig cannot be started, so no family can be found.";
        return {};
    }
    const std::unique_ptr<FcConfig, void (*)(FcConfig*)> configOwner(config, FcConfigDestroy);
    FcPattern* asked = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    if (asked == nullptr) {
        error = "\"" + family + "\" is not a family name fontconfig reads.";
        return {};
    }
    const std::unique_ptr<FcPattern, void (*)(FcPattern*)> askedOwner(asked, FcPatternDestroy);
    FcChar8* askedFamily = nullptr;
    if (FcPatternGetString(asked, FC_FAMILY, 0, &askedFamily) != FcResultMatch) {
        error = "\"" + family + "\" names no family.";
        return {};
    }
    FcConfigSubstitute(config, asked, FcMatchPattern);
    FcDefaultSubstitute(asked);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, asked, &result);
    if (match == nullptr) {
        error = "fontconfig finds no font at all.";
        return {};
    }
    const std::unique_ptr<FcPattern, void (*)(FcPattern*)> matchOwner(match, FcPatternDestroy);
    FcChar8* file = nullptr;
    FcChar8* found = nullptr;
    bool same = false;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &found) == FcResultMatch; ++i) {
        same = same || FcStrCmpIgnoreCase(found, askedFamily) == 0;
    }
    if (!same || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        FcChar8* nearest = nullptr;
        FcPatternGetString(match, FC_FAMILY, 0, &nearest);
        error = "fontconfig finds no font of the family \"" +
                std::string(reinterpret_cast<const char*>(askedFamily)) + "\"" +
                (nearest ? " (its nearest is \"" +
                               std::string(reinterpret_cast<const char*>(nearest)) + "\")"
                         : std::string()) +
                ".";
        return {};
    }
    return reinterpret_cast<const char*>(file);
}

std::string requestProblem(const OutlineFontRequest& request) {
    if (request.pixelSize < kMinOutlinePixels || request.pixelSize > kMaxOutlinePixels) {
        return "the pixel size " + number(request.pixelSize) + " is not within " +
               number(kMinOutlinePixels) + " to " + number(kMaxOutlinePixels) + ".";
    }
    if (request.first < 0 || request.last > kMaxCodePoint || request.first > request.last) {
        return "the range " + number(request.first) + " to " + number(request.last) +
               " is not one of code points 0 to " + number(kMaxCodePoint) + ".";
    }
    if (request.last - request.first + 1 > kMaxFrames) {
        return "the range holds " + number(request.last - request.first + 1) +
               " code points; a font set holds at most " + number(kMaxFrames) + " glyphs.";
    }
    if (request.grays != 2 && request.grays != 4) {
        return "a font is rendered in 2 or 4 grays, not " + number(request.grays) + ".";
    }
    if (request.file.empty() && request.family.empty()) {
        return "neither a font file nor a family is given.";
    }
    return {};
}

// A size's strike of a font that holds bitmaps only.
bool selectStrike(FT_Face face, int pixels, std::string& error) {
    std::string sizes;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        if (face->available_sizes[i].height == pixels ||
            (face->available_sizes[i].y_ppem + 32) / 64 == pixels) {
            return FT_Select_Size(face, i) == 0;
        }
        sizes += (i ? ", " : "") + number(face->available_sizes[i].height);
    }
    error = "the font holds bitmaps only, at " + (sizes.empty() ? "no size" : sizes) +
            " pixels, not at " + number(pixels) + ".";
    return false;
}

// The glyph's coverage of a cell as one of the levels asked for.
Pixel levelOf(const FT_Bitmap& bitmap, int x, int y, int grays) {
    const unsigned char* row = bitmap.buffer + static_cast<long>(y) * bitmap.pitch;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        return row[x / 8] & (0x80 >> (x % 8)) ? kBlack : kTransparent;
    }
    const int coverage = bitmap.num_grays > 1 ? row[x] * 255 / (bitmap.num_grays - 1) : row[x];
    if (grays == 2) {
        return coverage >= 128 ? kBlack : kTransparent;
    }
    static constexpr Pixel kLevels[] = {kTransparent, kGray33, kGray66, kBlack};
    return kLevels[(coverage * 3 + 127) / 255];
}

std::string codeName(int code) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
    return name;
}

std::string glyphName(FT_Face face, FT_UInt index, int code) {
    char name[64] = {};
    if (FT_HAS_GLYPH_NAMES(face) && FT_Get_Glyph_Name(face, index, name, sizeof name) == 0 &&
        name[0] != '\0' &&
        std::all_of(name, name + std::char_traits<char>::length(name),
                    [](char c) { return c > ' ' && c < 0x7F; })) {
        return name;
    }
    std::snprintf(name, sizeof name, code > 0xFFFF ? "u%05X" : "uni%04X",
                  static_cast<unsigned>(code));
    return name;
}

}  // namespace

OutlineFontResult renderOutlineFont(const OutlineFontRequest& request) {
    OutlineFontResult out;
    std::string& error = out.error;
    if (error = requestProblem(request); !error.empty()) {
        return out;
    }
    out.file = request.file.empty() ? fileOfFamily(request.family, error) : request.file;
    if (!error.empty()) {
        return out;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error = "FreeType cannot be started.";
        return out;
    }
    const std::unique_ptr<FT_LibraryRec_, FT_Error (*)(FT_Library)> libraryOwner(library,
                                                                                 FT_Done_FreeType);
    FT_Face face = nullptr;
    if (const FT_Error code = FT_New_Face(library, out.file.c_str(), 0, &face); code != 0) {
        error = "\"" + out.file + "\" is no font FreeType reads (error " + number(code) + ").";
        return out;
    }
    const std::unique_ptr<FT_FaceRec_, FT_Error (*)(FT_Face)> faceOwner(face, FT_Done_Face);
    if (FT_IS_SCALABLE(face)) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(request.pixelSize)) != 0) {
            error = "the font cannot be set to " + number(request.pixelSize) + " pixels.";
            return out;
        }
    } else if (!selectStrike(face, request.pixelSize, error)) {
        return out;
    }
    const FT_Size_Metrics& size = face->size->metrics;
    FontMetrics metrics;
    metrics.ascent = static_cast<int>((size.ascender + 63) / 64);
    metrics.descent = static_cast<int>((-size.descender + 63) / 64);
    metrics.lineHeight =
        std::max(static_cast<int>((size.height + 32) / 64), metrics.ascent + metrics.descent);

    const std::string family = face->family_name ? face->family_name : "Font";
    const std::string style = face->style_name ? face->style_name : "Regular";
    out.font.setName =
        family + (style == "Regular" || style == "Book" || style == "Normal" ? "" : " " + style) +
        " " + number(request.pixelSize);
    out.font.font = metrics;
    out.font.frames.clear();
    const FT_Int32 load = FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT;
    for (int code = request.first; code <= request.last; ++code) {
        const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
        if (index == 0 || FT_Load_Glyph(face, index, load) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int inkWidth = static_cast<int>(bitmap.width);
        const int inkHeight = static_cast<int>(bitmap.rows);
        const int advance = static_cast<int>((slot->advance.x + 32) / 64);
        const int left = std::min(0, slot->bitmap_left);
        const int right = std::max(advance, slot->bitmap_left + inkWidth);
        const int top = std::max(metrics.ascent, slot->bitmap_top);
        const int bottom = std::max(metrics.descent, inkHeight - slot->bitmap_top);
        const int width = std::max(right - left, 1);
        const int height = top + bottom;
        if (width > kMaxPictureWidth || height > kMaxPictureHeight) {
            error = "at " + number(request.pixelSize) + " pixels the glyph of " + codeName(code) +
                    " is " + number(width) + " x " + number(height) +
                    " pixels; a glyph is at most " + number(kMaxPictureWidth) + " x " +
                    number(kMaxPictureHeight) + ".";
            return out;
        }
        std::vector<Pixel> cells(static_cast<std::size_t>(width * height), kTransparent);
        for (int y = 0; y < inkHeight; ++y) {
            for (int x = 0; x < inkWidth; ++x) {
                const int cx = slot->bitmap_left - left + x;
                const int cy = top - slot->bitmap_top + y;
                cells[static_cast<std::size_t>(cy * width + cx)] =
                    levelOf(bitmap, x, y, request.grays);
            }
        }
        Frame& frame = out.font.frames.emplace_back();
        frame.name = glyphName(face, index, code);
        frame.glyph = Glyph{code, advance, left, top};
        frame.picture.assign(PixelView::rowByRow(cells.data(), width, height));
    }
    if (out.font.frames.empty()) {
        error = "the font has no glyph from " + number(request.first) + " to " +
                number(request.last) + ".";
        out.font.frames.resize(1);
    }
    return out;
}

}  // namespace stipple
