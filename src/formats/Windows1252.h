#pragma once
// The picture file keeps the name one byte per character in Windows-1252; the rest of the
// program holds text in UTF-8. Also how such text is shown safely on a terminal.

#include <cstddef>
#include <string>
#include <string_view>

namespace stipple {

struct Windows1252Text {
    std::string bytes;    // one byte per character
    std::string problem;  // empty when the whole text could be converted; else why not
    explicit operator bool() const { return problem.empty(); }
};

// Fails on invalid UTF-8 and on a character that Windows-1252 cannot hold; the problem
// then names the first such character.
Windows1252Text toWindows1252(std::string_view utf8);

// Every byte converts. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become U+0081 and so on, so that they convert back to themselves.
std::string fromWindows1252(std::string_view bytes);

// Never fails: each character Windows-1252 cannot hold, and each byte that is not part of
// valid UTF-8, becomes `replacement`.
std::string toWindows1252Replacing(std::string_view utf8, char replacement);

// The text as it may be shown to a person: control characters (C0, DEL and C1) become
// "\n", "\r", "\t" or "\x1b", and each byte that is not valid UTF-8 becomes "\xe9", so
// that a file's name or a picture's name can neither drive a terminal nor break a line.
// The invisible format characters (isFormatCharacter) become "\u{202E}", so that a name
// cannot show as another. Backslashes stay as they are. The result is valid UTF-8.
std::string printableText(std::string_view text);

// True for the bidi embeddings, overrides, isolates and marks, the zero-width characters
// and the line and paragraph separators: characters that change how a text shows without
// showing themselves.
bool isFormatCharacter(char32_t c);

// The UTF-8 character at `pos`, which moves past it; false, leaving `pos`, when the bytes
// there are not valid UTF-8 (cut short, overlong, a surrogate or beyond U+10FFFF).
bool nextUtf8Character(std::string_view text, std::size_t& pos, char32_t& c);

}  // namespace stipple
