#include "formats/ExportFormats.h"

#include "formats/TargetText.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace stipple {

namespace {

template <ExportFormat F>
std::string clipboardText(const PixelView& view, std::string_view name,
                          const ExportSettings& settings) {
    return exportText(view, name, F, settings.layout.align);
}

std::string fileForm(const PixelView& view, std::string_view name, const ExportSettings&) {
    return asm8FileBlock(view, name);
}

template <Syntax S>
std::string deviceText(const PixelView& view, std::string_view name,
                       const ExportSettings& settings) {
    return layoutText(view, std::string(name), settings.layout, S, settings.base, settings.preview);
}

template <Syntax S>
std::string libraryDeviceText(const PixelView& view, std::string_view name,
                              const ExportSettings& settings) {
    return libraryText(S, view, name, settings);
}

std::string_view firstLine(std::string_view text) {
    std::string_view line = text.substr(0, text.find('\n'));
    return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
}

constexpr std::string_view kAuthorLine = "/*Created by VexlanImageMaker */";

// The frames of a set are written as their texts one after the other, and only one picture's
// text is read: a second text that starts after the first one's name line is refused, once
// the first reads, with the line where it starts.
template <typename Read>
TextReading readOneText(std::string_view text, std::string_view head, Read read) {
    const std::size_t afterName = text.find('\n', text.find('\n') + 1);
    std::size_t second = afterName;
    while (second != std::string_view::npos &&
           (second = text.find(head, second + 1)) != std::string_view::npos &&
           text[second - 1] != '\n' && text[second - 1] != '}') {
    }
    if (second == std::string_view::npos) {
        return read(text);
    }
    TextReading reading = read(text.substr(0, second));
    if (reading) {
        const auto line =
            std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(second), '\n');
        reading.error = "line " + std::to_string(line + 1) +
                        ": the text of another picture starts here; only the text of one "
                        "picture can be read";
    }
    return reading;
}

constexpr std::string_view kAsm8Line = "/* format 8 bits per pixel */";

std::optional<TextReading> asm8Reader(std::string_view text, bool) {
    return firstLine(text) == kAsm8Line ? std::optional(readOneText(text, kAsm8Line, readAsm8Text))
                                        : std::nullopt;
}

// The file form and the C++ array share their first line; the array's second ends in "={".
bool secondLineOpensArray(std::string_view text) {
    const std::size_t start = text.find('\n');
    return start != std::string_view::npos && firstLine(text.substr(start + 1)).ends_with("={");
}

std::optional<TextReading> fileFormReader(std::string_view text, bool) {
    return firstLine(text) == kAuthorLine && !secondLineOpensArray(text)
               ? std::optional(readOneText(text, kAuthorLine, readAsm8Text))
               : std::nullopt;
}

std::optional<TextReading> cppReader(std::string_view text, bool) {
    return firstLine(text) == kAuthorLine && secondLineOpensArray(text)
               ? std::optional(readOneText(text, kAuthorLine, readCppArrayText))
               : std::nullopt;
}

template <int Depth>
std::optional<TextReading> packedReader(std::string_view text, bool aligned) {
    const std::string head = Depth == 1
                                 ? "/* format 1 bit per pixel */"
                                 : "/* format " + std::to_string(Depth) + " bits per pixel */";
    const auto read = [aligned](std::string_view one) { return readPackedText(one, aligned); };
    return firstLine(text) == head ? std::optional(readOneText(text, head, read)) : std::nullopt;
}

// Every device syntax but bin names itself in its first line, so one reader serves them.
std::optional<TextReading> deviceReader(std::string_view text, bool) {
    if (!isLayoutText(text)) {
        return std::nullopt;
    }
    const LayoutTextReading read = readLayoutText(text);
    TextReading reading;
    reading.error = read.error;
    if (read) {
        LayoutReading cells = readLayoutBytes(read.bytes, read.width, read.height, read.layout);
        reading.error = cells.error;
        reading.picture = {read.name, read.width, read.height, std::move(cells.cells)};
    }
    return reading;
}

constexpr std::array kRows = {
    ExportFormatRow{ExportFormat::CppArray, "cpp", "C++ array format", FormatFamily::ClipboardText,
                    clipboardText<ExportFormat::CppArray>, cppReader},
    ExportFormatRow{ExportFormat::Asm1, "asm1", "ASM 1bpp format", FormatFamily::ClipboardText,
                    clipboardText<ExportFormat::Asm1>, packedReader<1>},
    ExportFormatRow{ExportFormat::Asm2, "asm2", "ASM 2bpp format", FormatFamily::ClipboardText,
                    clipboardText<ExportFormat::Asm2>, packedReader<2>},
    ExportFormatRow{ExportFormat::Asm4, "asm4", "ASM 4bpp format", FormatFamily::ClipboardText,
                    clipboardText<ExportFormat::Asm4>, packedReader<4>},
    ExportFormatRow{ExportFormat::Asm8, "asm8", "ASM 8bpp format", FormatFamily::ClipboardText,
                    clipboardText<ExportFormat::Asm8>, asm8Reader},
    ExportFormatRow{ExportFormat::FileForm, "file", "Picture block (Save to end)",
                    FormatFamily::FileForm, fileForm, fileFormReader},
    ExportFormatRow{ExportFormat::Gas, "gas", "GNU as", FormatFamily::Device,
                    deviceText<Syntax::Gas>, deviceReader},
    ExportFormatRow{ExportFormat::Ca65, "ca65", "ca65", FormatFamily::Device,
                    deviceText<Syntax::Ca65>, deviceReader},
    ExportFormatRow{ExportFormat::Db, "db", "db (z80, Game Boy)", FormatFamily::Device,
                    deviceText<Syntax::Db>, deviceReader},
    ExportFormatRow{ExportFormat::C, "c", "C (uint8_t array)", FormatFamily::Device,
                    deviceText<Syntax::C>, deviceReader},
    ExportFormatRow{ExportFormat::Bin, "bin", "Bytes alone (bin)", FormatFamily::Device,
                    deviceText<Syntax::Bin>, nullptr},
    ExportFormatRow{ExportFormat::Xbm, "xbm", "X BitMap (xbm)", FormatFamily::Device,
                    libraryDeviceText<Syntax::Xbm>, nullptr},
    ExportFormatRow{ExportFormat::AdafruitGfx, "adafruit-gfx", "C for drawBitmap (PROGMEM)",
                    FormatFamily::Device, libraryDeviceText<Syntax::AdafruitGfx>, nullptr},
    ExportFormatRow{ExportFormat::Arduboy, "arduboy", "C for Sprites (size, frames)",
                    FormatFamily::Device, libraryDeviceText<Syntax::Arduboy>, nullptr},
    ExportFormatRow{ExportFormat::Python, "python", "Python bytes (framebuf)", FormatFamily::Device,
                    libraryDeviceText<Syntax::Python>, nullptr},
};

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The numbers of one line between `from` and `to`, split at commas and spaces.
void addSpans(std::string_view text, std::size_t from, std::size_t to,
              std::vector<ValueSpan>& spans) {
    for (std::size_t i = from; i < to;) {
        if (text[i] == ',' || text[i] == ' ' || text[i] == '\r') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < to && text[i] != ',' && text[i] != ' ' && text[i] != '\r') {
            ++i;
        }
        spans.push_back({start, i - start});
    }
}

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

}  // namespace

std::span<const ExportFormatRow> exportFormats() {
    return kRows;
}

const ExportFormatRow& exportFormatRow(ExportFormat id) {
    for (const ExportFormatRow& row : kRows) {
        if (row.id == id) {
            return row;
        }
    }
    throw std::invalid_argument("no such export format");
}

const ExportFormatRow* exportFormatNamed(std::string_view commandName, FormatFamily family) {
    for (const ExportFormatRow& row : kRows) {
        // The file form goes by --format as the clipboard texts do.
        const bool familyFits = family == FormatFamily::Device ? row.family == family
                                                               : row.family != FormatFamily::Device;
        if (row.commandName == commandName && familyFits) {
            return &row;
        }
    }
    return nullptr;
}

const ExportFormatRow* exportFormatOf(std::string_view text) {
    for (const ExportFormatRow& row : kRows) {
        if (row.read != nullptr && row.read(text, false)) {
            return &row;
        }
    }
    return nullptr;
}

TextReading readExportText(std::string_view text, bool aligned) {
    for (const ExportFormatRow& row : kRows) {
        if (row.read != nullptr) {
            if (std::optional<TextReading> reading = row.read(text, aligned)) {
                return std::move(*reading);
            }
        }
    }
    return readAsm8Text(text);
}

ByteLayout tracedLayout(ExportFormat id, const ExportSettings& settings) {
    ByteLayout layout;  // one number per cell
    switch (id) {
        case ExportFormat::Asm1:
        case ExportFormat::Asm2:
        case ExportFormat::Asm4:
            layout.depth = id == ExportFormat::Asm1 ? 1 : id == ExportFormat::Asm2 ? 2 : 4;
            layout.levels = defaultLevels(layout.depth);
            layout.align = settings.layout.align;
            return layout;
        case ExportFormat::Asm8:
        case ExportFormat::CppArray:
        case ExportFormat::FileForm:
            return layout;
        default:
            return settings.layout;
    }
}

std::vector<ValueSpan> valueSpans(std::string_view text, ExportFormat id) {
    std::vector<ValueSpan> spans;
    const FormatFamily family = exportFormatRow(id).family;
    // The editor's texts: a head of three lines (two for the array), then the numbers. No
    // line of a device text but the byte lines starts as they do.
    const std::size_t head = family == FormatFamily::Device ? 0
                             : id == ExportFormat::CppArray ? 2
                                                            : 3;
    const bool cLike = id == ExportFormat::C || id == ExportFormat::Xbm ||
                       id == ExportFormat::AdafruitGfx || id == ExportFormat::Arduboy;
    const std::string_view prefix = id == ExportFormat::CppArray ? "{"
                                    : id == ExportFormat::Db     ? "db "
                                    : cLike                      ? "    "
                                    : id == ExportFormat::Python ? "    b'"
                                    : id == ExportFormat::Bin    ? ""
                                                                 : ".byte ";
    std::size_t number = 0;
    for (const std::string_view line : linesOf(text)) {
        if (++number <= head && id != ExportFormat::Bin) {
            continue;
        }
        // In the C array of a set's frames, the frames' comments stand as its lines do.
        if (!line.starts_with(prefix) || line.substr(prefix.size()).starts_with("/*")) {
            continue;
        }
        const std::size_t start = static_cast<std::size_t>(line.data() - text.data());
        if (id == ExportFormat::Python) {
            // b'\x00\x01...': four characters a byte.
            for (std::size_t at = prefix.size(); at + 4 <= line.size(); at += 4) {
                spans.push_back({start + at, 4});
            }
            continue;
        }
        std::size_t end = start + line.size();
        if (id == ExportFormat::CppArray) {
            end -= line.ends_with("}\r") ? 2 : line.ends_with('}') ? 1 : 0;
        }
        addSpans(text, start + prefix.size(), end, spans);
    }
    return spans;
}

std::vector<std::string> exportOptionWords(ExportFormat id, const ExportSettings& settings) {
    const ExportFormatRow& row = exportFormatRow(id);
    const ByteLayout& layout = settings.layout;
    std::vector<std::string> words;
    if (row.family != FormatFamily::Device) {
        words = {"--format", std::string(row.commandName)};
        if (layout.align &&
            (id == ExportFormat::Asm1 || id == ExportFormat::Asm2 || id == ExportFormat::Asm4)) {
            words.push_back("--align");
        }
        return words;
    }
    // The layout's words against those of the plain packing at its depth or of a target,
    // whichever needs the fewest options.
    const std::vector<std::string> have = wordsOf(layoutWords(layout));
    const auto optionsOver = [&](std::optional<std::string_view> target) {
        ByteLayout start = target ? *layoutForTarget(*target) : ByteLayout{};
        std::vector<std::string> options;
        if (target) {
            options = {"--target", std::string(*target)};
        }
        if (start.depth != layout.depth) {
            options.insert(options.end(), {"--depth", std::to_string(layout.depth)});
            start.depth = layout.depth;  // which brings its plain codes
            start.levels = defaultLevels(layout.depth);
        }
        const std::vector<std::string> usual = wordsOf(layoutWords(start));
        for (std::size_t i = 0; i + 1 < have.size(); i += 2) {
            if (have[i + 1] == usual[i + 1]) {
                continue;
            }
            const bool isSwitch = have[i] == "align" || have[i] == "mask";
            if (isSwitch && have[i + 1] == "no") {
                return std::vector<std::string>(100);  // a switch is not taken back
            }
            if (isSwitch) {
                options.push_back("--" + have[i]);
            } else {
                options.insert(options.end(), {"--" + have[i], have[i + 1]});
            }
        }
        return options;
    };
    words = optionsOver(std::nullopt);
    // A target that brings this syntax goes first: it wins where another names the same
    // layout.
    std::vector<std::string_view> targets(std::begin(kTargetNames), std::end(kTargetNames));
    std::stable_partition(targets.begin(), targets.end(), [&](std::string_view target) {
        return syntaxOfTarget(target) == row.commandName;
    });
    for (const std::string_view target : targets) {
        if (std::vector<std::string> over = optionsOver(target); over.size() < words.size()) {
            words = std::move(over);
        }
    }
    // Always said: without a layout option stipple would write the ASM 8bpp text.
    words.insert(words.end(), {"--syntax", std::string(row.commandName)});
    if (settings.base != Base::Dec && id != ExportFormat::Bin) {
        words.insert(words.end(), {"--base", settings.base == Base::Hex ? "hex" : "bin"});
    }
    if (settings.preview && id != ExportFormat::Bin) {
        words.push_back("--preview");
    }
    return words;
}

std::string byteDump(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string dump;
    dump.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        dump += kDigits[byte >> 4];
        dump += kDigits[byte & 15];
        dump += (i + 1) % 16 == 0 || i + 1 == bytes.size() ? '\n' : ' ';
    }
    return dump;
}

}  // namespace stipple
