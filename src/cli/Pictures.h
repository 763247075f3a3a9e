#pragma once
// Pictures read from files or standard input, and texts and files written, for the
// commands: every failure comes back as the message the editor would show, and a notice of
// the file access is told on standard error at once.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/Options.h"
#include "formats/PictureFile.h"
#include "io/ByteSource.h"
#include "model/Document.h"
#include "model/Picture.h"
#include "model/PixelView.h"

namespace stipple::cli {

// The operand that names standard input, and the output that stands for standard output.
inline constexpr const char* kStandardInput = "-";
inline constexpr const char* kStandardOutput = "-";

// How a file is named in messages: standard input as "standard input".
std::string shownName(const std::string& operand);

// The whole of a file, or of standard input for "-", at most maxBytes, into `bytes`, whose
// room is used again; false after setting `problem`.
bool readInput(const CommandSyntax& syntax, const std::string& operand, std::size_t maxBytes,
               std::string& bytes, std::string& problem);

// How much of standard input a kind of input may take, told from its first bytes, and the
// refusal when it holds more.
struct InputLimit {
    std::size_t maxBytes = 0;
    std::string overLimit;
};
using InputLimitFor = std::function<InputLimit(std::span<const std::uint8_t> firstBytes)>;

// Standard input is read this far before its kind is told (less when it ends sooner).
inline constexpr std::size_t kFirstInputBytes = 64 * 1024;

// A file, or standard input for "-", to read at any offset; nothing after setting
// `problem`. Standard input is read up to the limit its first bytes tell, in pieces that
// are never copied again, so that the peak stays near what it holds.
std::unique_ptr<ByteSource> openInput(const CommandSyntax& syntax, const std::string& operand,
                                      InputLimitFor limitFor, std::string& problem);

// The refusal to write `output` ("-": standard output) when it is the same file, by device
// and inode, as one of the inputs ("-": standard input), symbolic links followed; empty
// otherwise. Only an ordinary file that exists can be an input. Reads no input.
std::string outputOntoInput(const std::vector<std::string>& inputs, const std::string& output);

struct LoadedPicture {
    std::string name;  // UTF-8
    int width = 0;
    int height = 0;
    PictureFileReading file;  // the cells row by row; its room kept for the next file
    std::string fileBytes;    // the last file read, its room kept for the next

    PixelView view() const { return PixelView::rowByRow(file.content.cells.data(), width, height); }
};

// Reads a picture file into `into`, checked as Open Picture checks it; an incomplete file
// is refused too. False after setting `problem`.
bool loadPicture(const CommandSyntax& syntax, const std::string& operand, LoadedPicture& into,
                 std::string& problem);

// A set file that loadPicture refused as no picture file: the set, read whole, checked as
// Open Picture checks it. False after setting `problem`; also when `loaded` holds no set
// file, leaving `problem` as it was.
bool loadSet(const CommandSyntax& syntax, const std::string& operand, const LoadedPicture& loaded,
             Document& into, std::string& problem);

// The destinations of a text: standard output, a file replaced by a safe save, or the end
// of a file as Save to end adds it (never emptying or damaging what was there). Empty when
// written, else the message.
std::string writeToStandardOutput(const std::string& text);
std::string replaceWith(const CommandSyntax& syntax, const std::string& path,
                        const std::string& content);
std::string appendTo(const CommandSyntax& syntax, const std::string& path,
                     const std::string& content);

}  // namespace stipple::cli
