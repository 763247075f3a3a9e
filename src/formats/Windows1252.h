#pragma once
// The picture file keeps the name one byte per character in Windows-1252; the rest of the
// program holds text in UTF-8.

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

}  // namespace stipple
