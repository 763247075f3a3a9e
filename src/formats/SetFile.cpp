#include "formats/SetFile.h"

#include <algorithm>
#include <utility>

#include "formats/Windows1252.h"

namespace stipple {

namespace {

void appendInt32(std::string& out, std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((bits >> shift) & 0xFF);
    }
}

class SetReader {
  public:
    explicit SetReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool int32(std::int32_t& value) {
        if (remaining() < 4) {
            return false;
        }
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i]))
                    << (8 * i);
        }
        pos_ += 4;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    std::string_view bytes(std::size_t count) {
        const std::string_view taken = bytes_.substr(pos_, count);
        pos_ += taken.size();
        return taken;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

std::string number(std::int64_t value) {
    return std::to_string(value);
}

// The set's fields before the frames into `content`, or why not.
std::string readHeader(SetReader& read, SetFileContent& content) {
    read.bytes(kSetFileMagic.size());
    std::int32_t version = 0;
    if (!read.int32(version)) {
        return "the file ends inside its header";
    }
    if (version == kFontSetFileVersion) {
        content.font.emplace();
    } else if (version != kSetFileVersion) {
        return "it is a set file of version " + number(version) + "; this program reads versions " +
               number(kSetFileVersion) + " and " + number(kFontSetFileVersion) + " (a font)";
    }
    std::int32_t nameLength = 0;
    if (!read.int32(nameLength)) {
        return "the file ends inside its header";
    }
    if (nameLength < 0) {
        return "the set's name length is negative (" + number(nameLength) + ")";
    }
    if (static_cast<std::size_t>(nameLength) > read.remaining()) {
        return "the set's name is said to be " + number(nameLength) +
               " bytes long, but the file ends after " + number(read.remaining()) + " of them";
    }
    if (nameLength > kMaxPictureNameLength) {
        return "the set's name is " + number(nameLength) + " bytes long; a name can have at most " +
               number(kMaxPictureNameLength) + " characters";
    }
    const std::string_view name = read.bytes(static_cast<std::size_t>(nameLength));
    content.nameBytes = std::string(name.substr(0, name.find('\0')));
    std::int32_t rate = 0;
    std::int32_t count = 0;
    if (!read.int32(rate) || !read.int32(count)) {
        return "the file ends before the frame rate and the number of frames";
    }
    if (rate < kMinFrameRate || rate > kMaxFrameRate) {
        return "the frame rate is " + number(rate) + "; a set plays at " + number(kMinFrameRate) +
               " to " + number(kMaxFrameRate) + " frames a second";
    }
    if (count < 1 || count > kMaxFrames) {
        return "the set is said to hold " + number(count) + " frames; a set holds 1 to " +
               number(kMaxFrames);
    }
    // Every frame takes at least its length field.
    if (static_cast<std::size_t>(count) > read.remaining() / 4) {
        return "the set is said to hold " + number(count) + " frames, but the " +
               number(static_cast<std::int64_t>(read.remaining())) +
               " bytes left cannot hold that many";
    }
    content.frameRate = rate;
    content.frames.resize(static_cast<std::size_t>(count));
    return {};
}

// What is wrong with frame `n` (from 1) read as `reading`, or "".
std::string frameProblem(int n, const PictureFileReading& reading) {
    const std::string frame = "frame " + number(n);
    if (reading.notPictureFile) {
        return frame + (reading.error == "it is empty" ? " is empty" : " is not a picture file");
    }
    if (!reading.error.empty()) {
        return frame + ": " + reading.error;
    }
    if (reading.cellsEndedEarly) {
        const PictureFileContent& c = reading.content;
        return frame + " is cut off: it ends after " + number(static_cast<int>(c.cells.size())) +
               " of its " + number(c.width * c.height) + " pixels";
    }
    return {};
}

std::string readFrames(SetReader& read, SetFileContent& content) {
    PictureFileReading reading;
    for (std::size_t i = 0; i < content.frames.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        std::int32_t length = 0;
        if (!read.int32(length)) {
            return "the file ends before frame " + number(n) + " of " +
                   number(static_cast<int>(content.frames.size()));
        }
        if (length < 0 || static_cast<std::size_t>(length) > kMaxPictureFileBytes) {
            return "frame " + number(n) + " is said to be " + number(length) +
                   " bytes long; a picture file has 0 to " + number(kMaxPictureFileBytes);
        }
        if (static_cast<std::size_t>(length) > read.remaining()) {
            return "frame " + number(n) + " is said to be " + number(length) +
                   " bytes long, but the file ends after " + number(read.remaining()) + " of them";
        }
        parsePictureFile(read.bytes(static_cast<std::size_t>(length)), reading);
        if (std::string problem = frameProblem(n, reading); !problem.empty()) {
            return problem;
        }
        content.frames[i] = std::move(reading.content);
    }
    return {};
}

// One metric into `value`, or why not.
std::string readMetric(SetReader& read, const std::string& what, int& value) {
    std::int32_t stored = 0;
    if (!read.int32(stored)) {
        return "the file ends inside the font, at " + what;
    }
    if (stored < -kMaxFontMetric || stored > kMaxFontMetric) {
        return what + " is " + number(stored) + "; a font's metrics are " +
               number(-kMaxFontMetric) + " to " + number(kMaxFontMetric);
    }
    value = stored;
    return {};
}

std::string readFont(SetReader& read, SetFileContent& content) {
    FontMetrics& font = *content.font;
    std::string problem = readMetric(read, "the ascent", font.ascent);
    if (problem.empty()) {
        problem = readMetric(read, "the descent", font.descent);
    }
    if (problem.empty()) {
        problem = readMetric(read, "the line height", font.lineHeight);
    }
    content.glyphs.resize(content.frames.size());
    std::vector<int> seen;
    for (std::size_t i = 0; i < content.glyphs.size() && problem.empty(); ++i) {
        Glyph& glyph = content.glyphs[i];
        const std::string n = "glyph " + number(static_cast<int>(i) + 1);
        std::int32_t code = 0;
        if (!read.int32(code)) {
            return "the file ends inside the font, at " + n;
        }
        if (code < 0 || code > kMaxCodePoint) {
            return n + ": the code point is " + number(code) + "; a code point is 0 to " +
                   number(kMaxCodePoint);
        }
        seen.push_back(code);
        glyph.codePoint = code;
        problem = readMetric(read, n + "'s advance", glyph.advance);
        if (problem.empty()) {
            problem = readMetric(read, n + "'s x offset", glyph.xOffset);
        }
        if (problem.empty()) {
            problem = readMetric(read, n + "'s y offset", glyph.yOffset);
        }
    }
    std::sort(seen.begin(), seen.end());
    if (const auto twice = std::adjacent_find(seen.begin(), seen.end());
        problem.empty() && twice != seen.end()) {
        return "two glyphs have the code point " + number(*twice);
    }
    return problem;
}

std::string readRest(SetReader& read, SetFileContent& content) {
    if (content.font) {
        if (std::string problem = readFont(read, content); !problem.empty()) {
            return problem;
        }
    }
    if (read.remaining() > 0) {
        const std::size_t more = read.remaining();
        return "the file goes on for " + number(static_cast<std::int64_t>(more)) +
               (more == 1 ? " byte" : " bytes") +
               (content.font ? " after its font" : " after its last frame");
    }
    return {};
}

}  // namespace

std::string encodeSetFile(const SetFileContent& content) {
    std::string out(kSetFileMagic);
    appendInt32(out, content.font ? kFontSetFileVersion : kSetFileVersion);
    appendInt32(out, static_cast<std::int64_t>(content.nameBytes.size()));
    out += content.nameBytes;
    appendInt32(out, content.frameRate);
    appendInt32(out, static_cast<std::int64_t>(content.frames.size()));
    for (const PictureFileContent& frame : content.frames) {
        const std::string bytes = encodePictureFile(frame);
        appendInt32(out, static_cast<std::int64_t>(bytes.size()));
        out += bytes;
    }
    if (content.font) {
        appendInt32(out, content.font->ascent);
        appendInt32(out, content.font->descent);
        appendInt32(out, content.font->lineHeight);
        for (const Glyph& glyph : content.glyphs) {
            for (const int field : {glyph.codePoint, glyph.advance, glyph.xOffset, glyph.yOffset}) {
                appendInt32(out, field);
            }
        }
    }
    return out;
}

bool startsLikeSetFile(std::string_view fileBytes) {
    return fileBytes.starts_with(kSetFileMagic);
}

SetFileReading parseSetFile(std::string_view fileBytes) {
    SetFileReading reading;
    if (fileBytes.empty()) {
        reading.error = "it is empty";
    } else if (fileBytes.size() > kMaxSetFileBytes) {
        reading.error = "it is " + number(static_cast<std::int64_t>(fileBytes.size())) +
                        " bytes long; a set file has at most " + number(kMaxSetFileBytes);
    } else if (!startsLikeSetFile(fileBytes)) {
        reading.error = "it is not a set file";
    } else {
        SetReader read(fileBytes);
        reading.error = readHeader(read, reading.content);
        if (reading.error.empty()) {
            reading.error = readFrames(read, reading.content);
        }
        if (reading.error.empty()) {
            reading.error = readRest(read, reading.content);
        }
    }
    if (!reading.error.empty()) {
        reading.content = {};
    }
    return reading;
}

std::string setFileRefusal(std::string_view shownName, const SetFileReading& reading) {
    return reading ? std::string()
                   : "Could not open \"" + printableText(shownName) + "\": " + reading.error + ".";
}

PictureOrSetReading parsePictureOrSet(std::string_view fileBytes) {
    PictureOrSetReading reading;
    reading.setFile = startsLikeSetFile(fileBytes);
    if (reading.setFile) {
        reading.set = parseSetFile(fileBytes);
        return reading;
    }
    parsePictureFile(fileBytes, reading.picture);
    if (reading.picture.error.empty() && !reading.picture.cellsEndedEarly) {
        reading.set.content.nameBytes = reading.picture.content.nameBytes;
        reading.set.content.frames.push_back(reading.picture.content);
    } else {
        reading.set.error =
            reading.picture.error.empty() ? "the file is cut off" : reading.picture.error;
    }
    return reading;
}

std::string pictureOrSetRefusal(std::string_view shownName, const PictureOrSetReading& reading) {
    return reading.setFile ? setFileRefusal(shownName, reading.set)
                           : pictureFileRefusal(shownName, reading.picture);
}

StorableSet storableSet(const Document& document) {
    StorableSet set;
    StorableName name = storablePictureName(document.setName);
    if (!name) {
        constexpr std::string_view kPictureFile = "in a picture file";
        if (const std::size_t at = name.problem.find(kPictureFile); at != std::string::npos) {
            name.problem.replace(at, kPictureFile.size(), "as the set's name");
        }
        set.problem = std::move(name.problem);
        return set;
    }
    set.content.nameBytes = std::move(name.bytes);
    set.content.frameRate = document.frameRate;
    set.content.frames.reserve(document.frames.size());
    for (std::size_t i = 0; i < document.frames.size(); ++i) {
        const Frame& frame = document.frames[i];
        StorableName frameName = storablePictureName(frame.name);
        if (!frameName) {
            set.problem = "Frame " + number(static_cast<int>(i) + 1) + ": " + frameName.problem;
            set.content = {};
            return set;
        }
        set.content.frames.push_back(pictureFileContent(
            frame.picture.fileVersion, std::move(frameName.bytes), frame.picture.view()));
        if (document.font && !frame.glyph) {
            set.problem = "Frame " + number(static_cast<int>(i) + 1) +
                          " has no code point; every frame of a font is a glyph.";
            set.content = {};
            return set;
        }
        if (document.font) {
            set.content.glyphs.push_back(*frame.glyph);
        }
    }
    set.content.font = document.font;
    return set;
}

Document documentOfSet(const SetFileContent& content) {
    Document document;
    document.setName = fromWindows1252(content.nameBytes);
    document.frameRate = content.frameRate;
    if (!content.frames.empty()) {
        document.frames.resize(content.frames.size());
    }
    for (std::size_t i = 0; i < content.frames.size(); ++i) {
        const PictureFileContent& stored = content.frames[i];
        Frame& frame = document.frames[i];
        frame.name = fromWindows1252(stored.nameBytes);
        frame.picture.fileVersion = stored.version;
        frame.picture.assign(PixelView::rowByRow(stored.cells.data(), stored.width, stored.height));
        if (content.font && i < content.glyphs.size()) {
            frame.glyph = content.glyphs[i];
        }
    }
    document.font = content.font;
    return document;
}

}  // namespace stipple
