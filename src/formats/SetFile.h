#pragma once
// The set file (.stws): the frames of a set in one file. Eight bytes that no picture file
// starts with, then 32-bit little-endian fields: the form's version, the set's name (length,
// then one Windows-1252 byte per character), the frame rate, the number of frames, and for
// each frame its length and the bytes of its own picture file. Only the frames' bytes carry
// the picture file's line-end expansion; the fields around them are stored as they are.
// A font set is of version 3: after its last frame come the font's ascent, descent and
// line height, then each frame's code point, advance, x offset and y offset.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/PictureFile.h"
#include "model/Document.h"

namespace stipple {

inline constexpr std::string_view kSetFileMagic{"\x89STWSET\x9A", 8};
constexpr std::int32_t kSetFileVersion = 1;
constexpr std::int32_t kFontSetFileVersion = 3;

// No set file the writer makes from a set the document can hold is longer; the reader
// refuses a longer one unread.
constexpr std::size_t kMaxSetFileBytes = kSetFileMagic.size() + 4 * 4 + kMaxPictureNameLength +
                                         kMaxFrames * (4 + kMaxPictureFileBytes) + 3 * 4 +
                                         kMaxFrames * 4 * 4;

struct SetFileContent {
    std::string nameBytes;  // Windows-1252
    int frameRate = kDefaultFrameRate;
    std::vector<PictureFileContent> frames;
    std::optional<FontMetrics> font{};  // a font set's; then one glyph a frame
    std::vector<Glyph> glyphs{};
};

// The file's bytes, each frame as encodePictureFile writes it. Writes the fields as given.
std::string encodeSetFile(const SetFileContent& content);

struct SetFileReading {
    SetFileContent content;
    // Empty unless the file is refused; then one line saying what is wrong, e.g. "frame 3:
    // the width is 97; a picture is 1 to 96 pixels wide". Nothing else is then meaningful.
    std::string error;
    explicit operator bool() const { return error.empty(); }
};

// True when the bytes start as every set file does; a picture file never does.
bool startsLikeSetFile(std::string_view fileBytes);

// Reads the bytes, never past their end. Refuses a file longer than kMaxSetFileBytes, one
// that does not start like a set file, another version, a header or a frame cut off, a name
// as the picture file refuses it, a frame rate outside 1..60, a frame count outside
// 1..kMaxFrames, bytes after the last frame (after the font, of a font set), a frame that
// is not a whole picture file (with parsePictureFile's words after "frame N: "), a metric
// outside -kMaxFontMetric..kMaxFontMetric, a code point outside 0..kMaxCodePoint and one
// that two glyphs share. The name stops at its first zero byte.
SetFileReading parseSetFile(std::string_view fileBytes);

// Why a set file read as `reading` cannot be loaded, as the sentence to tell the user with
// the file shown as `shownName`; empty when it loads.
std::string setFileRefusal(std::string_view shownName, const SetFileReading& reading);

// A file of either kind: a set file, or a picture file as a set of one whose name is the
// picture's and whose rate is the default.
struct PictureOrSetReading {
    bool setFile = false;
    SetFileReading set;          // what loads, when it does
    PictureFileReading picture;  // for a picture file: parsePictureFile's reading
};
PictureOrSetReading parsePictureOrSet(std::string_view fileBytes);

// Why the file cannot be loaded, in the words of pictureFileRefusal or setFileRefusal;
// empty when it loads.
std::string pictureOrSetRefusal(std::string_view shownName, const PictureOrSetReading& reading);

// The document's frames as a set file holds them, or the first name that cannot be stored
// there ("The name of frame 2 ..." or "The set's name ..."), or of a font the first frame
// without a code point.
struct StorableSet {
    SetFileContent content;
    std::string problem;
    explicit operator bool() const { return problem.empty(); }
};
StorableSet storableSet(const Document& document);

// The document a loaded set file opens as: its frames with their names (and a font's
// glyphs), the first one current; the file is left empty. A content without frames gives one empty
// frame.
Document documentOfSet(const SetFileContent& content);

}  // namespace stipple
