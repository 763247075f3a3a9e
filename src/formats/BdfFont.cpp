#include "formats/BdfFont.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "formats/Windows1252.h"

namespace stipple {

namespace {

std::string number(long long value) {
    return std::to_string(value);
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        out.push_back(line.substr(at, end - at));
        at = end;
    }
    return out;
}

// What follows the keyword, without the blanks around it.
std::string_view rest(std::string_view line, std::string_view keyword) {
    line.remove_prefix(std::min(line.find(keyword) + keyword.size(), line.size()));
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t last = line.find_last_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{}
                                           : line.substr(first, last - first + 1);
}

// A property's string value without its quotes ("" stands for one quote), or the bare word.
std::string unquoted(std::string_view value) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
        return std::string(value);
    }
    std::string out;
    for (std::size_t i = 1; i + 1 < value.size(); ++i) {
        out += value[i];
        i += value[i] == '"' && value[i + 1] == '"' ? 1 : 0;
    }
    return out;
}

std::string asUtf8(std::string_view bytes) {
    std::size_t at = 0;
    char32_t c = 0;
    while (at < bytes.size() && nextUtf8Character(bytes, at, c)) {
    }
    return at == bytes.size() ? std::string(bytes) : fromWindows1252(bytes);
}

struct Box {
    int width = 0, height = 0, x = 0, y = 0;  // y: the bottom row's height over the baseline
};

struct GlyphBeingRead {
    std::string name;
    std::optional<int> code;  // empty: not yet read; -1: unencoded
    std::optional<int> advance;
    std::optional<Box> box;
    std::vector<Pixel> cells;  // row by row
    int rows = 0;
    int line = 0;  // of its STARTCHAR
};

class BdfParser {
  public:
    std::string run(std::string_view text, Document& font);

  private:
    std::string line(std::string_view text);
    std::string header(std::string_view text, const std::vector<std::string_view>& w);
    std::string glyphLine(std::string_view text, const std::vector<std::string_view>& w);
    std::string bitmapRow(std::string_view row);
    std::string endGlyph();
    std::string at(const std::string& what) const {
        return "line " + number(lineNumber_) + ": " + what;
    }
    // The integers after the keyword, exactly `count` of them.
    bool integers(const std::vector<std::string_view>& w, std::size_t count, int* out) const;

    enum class Part { Start, Header, Properties, Glyphs, Glyph, Bitmap, End };
    Part part_ = Part::Start;
    int lineNumber_ = 0;
    int propertiesLeft_ = 0;
    std::optional<int> declaredGlyphs_;
    std::optional<Box> fontBox_;
    std::optional<int> fontAdvance_;
    std::optional<int> ascent_, descent_;
    std::string fontName_, familyName_;
    GlyphBeingRead glyph_;
    std::map<int, int> codeLine_;  // code point -> line of its STARTCHAR
    int glyphsRead_ = 0;
    std::vector<Frame> frames_;
};

bool BdfParser::integers(const std::vector<std::string_view>& w, std::size_t count,
                         int* out) const {
    if (w.size() != count + 1) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view s = w[i + 1];
        const auto [end, fault] = std::from_chars(s.data(), s.data() + s.size(), out[i]);
        if (fault != std::errc() || end != s.data() + s.size()) {
            return false;
        }
    }
    return true;
}

std::string BdfParser::run(std::string_view text, Document& font) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view one = text.substr(start, end - start);
        if (one.ends_with('\r')) {
            one.remove_suffix(1);
        }
        ++lineNumber_;
        if (std::string problem = line(one); !problem.empty()) {
            return problem;
        }
        start = end + 1;
    }
    if (part_ != Part::End) {
        return "the file ends before ENDFONT";
    }
    if (frames_.empty()) {
        return "it holds no glyph with a code point";
    }
    const int top = fontBox_ ? fontBox_->height + fontBox_->y : 0;
    const int bottom = fontBox_ ? -fontBox_->y : 0;
    font.font = FontMetrics{ascent_.value_or(top), descent_.value_or(bottom), 0};
    font.font->lineHeight = font.font->ascent + font.font->descent;
    for (const int metric : {font.font->ascent, font.font->descent, font.font->lineHeight}) {
        if (metric < -kMaxFontMetric || metric > kMaxFontMetric) {
            return "its ascent and descent reach beyond " + number(kMaxFontMetric) + " pixels";
        }
    }
    font.setName = asUtf8(familyName_.empty() ? fontName_ : familyName_);
    font.frames = std::move(frames_);
    return {};
}

std::string BdfParser::line(std::string_view text) {
    const std::vector<std::string_view> w = words(text);
    if (part_ == Part::Bitmap) {
        return w.size() == 1 && w[0] == "ENDCHAR" ? endGlyph()
                                                  : bitmapRow(w.size() == 1 ? w[0] : text);
    }
    if (w.empty() || w[0] == "COMMENT") {
        return {};
    }
    if (part_ == Part::Start) {
        if (w[0] != "STARTFONT") {
            return at("a BDF file starts with STARTFONT");
        }
        if (w.size() != 2 || (w[1] != "2.1" && w[1] != "2.2")) {
            return at("it is not BDF 2.1: " + printableText(text));
        }
        part_ = Part::Header;
        return {};
    }
    if (part_ == Part::Properties) {
        if (w[0] == "ENDPROPERTIES") {
            part_ = Part::Header;
            return propertiesLeft_ == 0
                       ? ""
                       : at(number(propertiesLeft_) + " properties fewer than said");
        }
        --propertiesLeft_;
        int value = 0;
        if (w[0] == "FONT_ASCENT" || w[0] == "FONT_DESCENT") {
            if (!integers(w, 1, &value)) {
                return at(std::string(w[0]) + " takes one integer");
            }
            (w[0] == "FONT_ASCENT" ? ascent_ : descent_) = value;
        } else if (w[0] == "FAMILY_NAME") {
            familyName_ = unquoted(rest(text, w[0]));
        }
        return {};
    }
    if (part_ == Part::End) {
        return at("the file goes on after ENDFONT");
    }
    return part_ == Part::Header || part_ == Part::Glyphs ? header(text, w) : glyphLine(text, w);
}

std::string BdfParser::header(std::string_view text, const std::vector<std::string_view>& w) {
    int v[4] = {};
    if (w[0] == "FONT") {
        fontName_ = rest(text, w[0]);
    } else if (w[0] == "FONTBOUNDINGBOX") {
        if (!integers(w, 4, v)) {
            return at("FONTBOUNDINGBOX takes four integers");
        }
        fontBox_ = Box{v[0], v[1], v[2], v[3]};
    } else if (w[0] == "DWIDTH") {
        if (!integers(w, 2, v)) {
            return at("DWIDTH takes two integers");
        }
        fontAdvance_ = v[0];
    } else if (w[0] == "STARTPROPERTIES") {
        if (!integers(w, 1, v) || v[0] < 0) {
            return at("STARTPROPERTIES takes the number of properties");
        }
        propertiesLeft_ = v[0];
        part_ = Part::Properties;
    } else if (w[0] == "CHARS") {
        if (!integers(w, 1, v) || v[0] < 0) {
            return at("CHARS takes the number of glyphs");
        }
        if (v[0] > kMaxFrames) {
            return at("the font has " + number(v[0]) + " glyphs; a font holds at most " +
                      number(kMaxFrames));
        }
        declaredGlyphs_ = v[0];
        part_ = Part::Glyphs;
    } else if (w[0] == "STARTCHAR") {
        if (part_ != Part::Glyphs) {
            return at("STARTCHAR before CHARS");
        }
        // Before a glyph is kept, so that a file of many small glyphs cannot fill memory.
        if (glyphsRead_ == *declaredGlyphs_) {
            return at("more glyphs than CHARS says (" + number(*declaredGlyphs_) + ")");
        }
        glyph_ = GlyphBeingRead{asUtf8(rest(text, w[0])), {}, fontAdvance_, {}, {}, 0, lineNumber_};
        part_ = Part::Glyph;
    } else if (w[0] == "ENDFONT") {
        if (!declaredGlyphs_) {
            return at("ENDFONT before CHARS");
        }
        if (glyphsRead_ != *declaredGlyphs_) {
            return at("the font has " + number(glyphsRead_) + " glyphs; CHARS says " +
                      number(*declaredGlyphs_));
        }
        part_ = Part::End;
    }
    // Every other keyword of the header (SIZE, CONTENTVERSION, METRICSSET, ...) says
    // nothing a set keeps.
    return {};
}

std::string BdfParser::glyphLine(std::string_view, const std::vector<std::string_view>& w) {
    int v[4] = {};
    if (w[0] == "ENCODING") {
        if (!(integers(w, 1, v) || integers(w, 2, v)) || v[0] < -1 || v[0] > kMaxCodePoint) {
            return at("ENCODING takes a code point of 0 to " + number(kMaxCodePoint) + ", or -1");
        }
        glyph_.code = v[0];
    } else if (w[0] == "DWIDTH") {
        if (!integers(w, 2, v)) {
            return at("DWIDTH takes two integers");
        }
        glyph_.advance = v[0];
    } else if (w[0] == "BBX") {
        if (!integers(w, 4, v) || v[0] < 0 || v[1] < 0) {
            return at("BBX takes a width and a height of 0 or more and two offsets");
        }
        if (v[0] > kMaxPictureWidth || v[1] > kMaxPictureHeight) {
            return at("the glyph \"" + printableText(glyph_.name) + "\" is " + number(v[0]) +
                      " x " + number(v[1]) + " pixels; a glyph is at most " +
                      number(kMaxPictureWidth) + " x " + number(kMaxPictureHeight));
        }
        glyph_.box = Box{v[0], v[1], v[2], v[3]};
    } else if (w[0] == "BITMAP") {
        if (!glyph_.code || !glyph_.box) {
            return at("the glyph \"" + printableText(glyph_.name) + "\" has no " +
                      (glyph_.code ? "BBX" : "ENCODING") + " before its BITMAP");
        }
        glyph_.cells.reserve(static_cast<std::size_t>(glyph_.box->width * glyph_.box->height));
        part_ = Part::Bitmap;
    } else if (w[0] == "ENDCHAR") {
        return at("ENDCHAR before BITMAP");
    } else if (w[0] == "STARTCHAR" || w[0] == "ENDFONT") {
        return at(std::string(w[0]) + " inside the glyph \"" + printableText(glyph_.name) + "\"");
    }
    return {};
}

std::string BdfParser::bitmapRow(std::string_view row) {
    if (row.empty()) {
        return {};
    }
    const Box& box = *glyph_.box;
    const std::size_t digits = static_cast<std::size_t>((box.width + 7) / 8 * 2);
    if (row.size() < digits || !std::all_of(row.begin(), row.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return at("a bitmap row of the glyph \"" + printableText(glyph_.name) + "\" takes " +
                  number(static_cast<long long>(digits)) + " hex digits: " + printableText(row));
    }
    if (++glyph_.rows > box.height) {
        return at("the glyph \"" + printableText(glyph_.name) + "\" has more bitmap rows than " +
                  number(box.height));
    }
    for (int x = 0; x < box.width; ++x) {
        const char c = row[static_cast<std::size_t>(x / 4)];
        const int nibble =
            std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10;
        glyph_.cells.push_back((nibble >> (3 - x % 4)) & 1 ? kBlack : kTransparent);
    }
    return {};
}

std::string BdfParser::endGlyph() {
    part_ = Part::Glyphs;
    ++glyphsRead_;
    const Box box = *glyph_.box;
    if (glyph_.rows != box.height) {
        return at("the glyph \"" + printableText(glyph_.name) + "\" has " + number(glyph_.rows) +
                  " bitmap rows; its BBX says " + number(box.height));
    }
    if (!glyph_.advance) {
        return at("the glyph \"" + printableText(glyph_.name) + "\" has no DWIDTH");
    }
    if (*glyph_.code < 0) {
        return {};
    }
    const int top = box.y + box.height;
    for (const int metric : {*glyph_.advance, box.x, top}) {
        if (metric < -kMaxFontMetric || metric > kMaxFontMetric) {
            return at("the glyph \"" + printableText(glyph_.name) + "\" reaches beyond " +
                      number(kMaxFontMetric) + " pixels");
        }
    }
    if (const auto [seen, fresh] = codeLine_.emplace(*glyph_.code, glyph_.line); !fresh) {
        return "line " + number(glyph_.line) + ": the code point " + number(*glyph_.code) +
               " has a glyph on line " + number(seen->second) + " too";
    }
    Frame& frame = frames_.emplace_back();
    frame.name = std::move(glyph_.name);
    frame.glyph = Glyph{*glyph_.code, *glyph_.advance, box.x, top};
    const Pixel blank = kTransparent;
    frame.picture.assign(box.width == 0 || box.height == 0
                             ? PixelView::rowByRow(&blank, 1, 1)
                             : PixelView::rowByRow(glyph_.cells.data(), box.width, box.height));
    return {};
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? "\"\"" : std::string(1, c);
    }
    return out + "\"";
}

// A name BDF keeps as one word of printable characters.
std::string glyphName(const Frame& frame) {
    const bool word =
        !frame.name.empty() && std::none_of(frame.name.begin(), frame.name.end(), [](char c) {
            return static_cast<unsigned char>(c) <= ' ' || c == 0x7F;
        });
    if (word) {
        return frame.name;
    }
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(frame.glyph->codePoint));
    return name;
}

void appendBitmap(std::string& out, const PixelView& cells) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int y = 1; y <= cells.height(); ++y) {
        for (int x = 1; x <= cells.width(); x += 4) {
            int nibble = 0;
            for (int i = 0; i < 4; ++i) {
                const bool set = x + i <= cells.width() && cells.at(x + i, y) <= kGray66;
                nibble |= set ? 8 >> i : 0;
            }
            out += kHex[nibble];
        }
        out += (cells.width() + 3) / 4 % 2 == 1 ? "0\n" : "\n";
    }
}

}  // namespace

std::string encodeBdf(const Document& font, std::optional<std::string_view> fontName) {
    const FontMetrics metrics = font.font.value_or(FontMetrics{});
    const int pixelSize = std::max(1, metrics.ascent + metrics.descent);
    // The union of all glyph boxes; its y is the lowest row's height over the baseline.
    int left = 0, right = 0, top = 0, bottom = 0;
    for (std::size_t i = 0; i < font.frames.size(); ++i) {
        const Frame& f = font.frames[i];
        const Glyph g = f.glyph.value_or(Glyph{});
        const int l = g.xOffset, r = g.xOffset + f.picture.width;
        const int t = g.yOffset, b = g.yOffset - f.picture.height;
        left = i == 0 ? l : std::min(left, l);
        right = i == 0 ? r : std::max(right, r);
        top = i == 0 ? t : std::max(top, t);
        bottom = i == 0 ? b : std::min(bottom, b);
    }
    std::string name(fontName.value_or(font.setName));
    name = name.empty() ? "Untitled" : name;
    std::string out = "STARTFONT 2.1\nFONT " + name + "\n";
    // At 72 dots an inch a point is a pixel.
    out += "SIZE " + number(pixelSize) + " 72 72\n";
    out += "FONTBOUNDINGBOX " + number(right - left) + " " + number(top - bottom) + " " +
           number(left) + " " + number(bottom) + "\n";
    out += "STARTPROPERTIES 10\n";
    out += "FAMILY_NAME " + quoted(name) + "\n";
    out += "PIXEL_SIZE " + number(pixelSize) + "\n";
    out += "POINT_SIZE " + number(pixelSize * 10) + "\n";
    out += "RESOLUTION_X 72\nRESOLUTION_Y 72\nSPACING \"P\"\n";
    out += "CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\n";
    out += "FONT_ASCENT " + number(metrics.ascent) + "\n";
    out += "FONT_DESCENT " + number(metrics.descent) + "\n";
    out += "ENDPROPERTIES\nCHARS " + number(static_cast<long long>(font.frames.size())) + "\n";
    for (const Frame& frame : font.frames) {
        const Glyph g = frame.glyph.value_or(Glyph{});
        const PixelView cells = frame.picture.view();
        // SWIDTH is the advance in thousandths of the size.
        const long long scalable = std::lround(g.advance * 1000.0 / pixelSize);
        out += "STARTCHAR " + glyphName(frame) + "\nENCODING " + number(g.codePoint) + "\n";
        out += "SWIDTH " + number(scalable) + " 0\nDWIDTH " + number(g.advance) + " 0\n";
        out += "BBX " + number(cells.width()) + " " + number(cells.height()) + " " +
               number(g.xOffset) + " " + number(g.yOffset - cells.height()) + "\nBITMAP\n";
        appendBitmap(out, cells);
        out += "ENDCHAR\n";
    }
    return out + "ENDFONT\n";
}

bool startsLikeBdf(std::string_view bytes) {
    return bytes.starts_with("STARTFONT ");
}

BdfReading parseBdf(std::string_view bytes) {
    BdfReading reading;
    if (bytes.size() > kMaxBdfBytes) {
        reading.error = "it is " + number(static_cast<long long>(bytes.size())) +
                        " bytes long; a BDF font has at most " +
                        number(static_cast<long long>(kMaxBdfBytes));
        return reading;
    }
    reading.error = BdfParser().run(bytes, reading.font);
    if (!reading.error.empty()) {
        reading.font = {};
    }
    return reading;
}

}  // namespace stipple
