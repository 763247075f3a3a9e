#include "editor/ExportPreview.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

#include "editor/ExportCommands.h"
#include "editor/ExportPreviewParts.h"
#include "formats/BdfFont.h"
#include "formats/FramesExport.h"
#include "formats/GfxFont.h"
#include "formats/PictureFile.h"

namespace stipple {

using namespace export_preview;

namespace {

// A word of a command line, quoted for a POSIX shell where it needs it.
std::string shellWord(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) {
        return std::isalnum(c) != 0 ||
               std::string_view("-_.,/=+:%").find(static_cast<char>(c)) != std::string_view::npos;
    });
    if (plain) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// What the numbers of a text come to: the device bytes, the assembler texts' bytes with
// the size line's two, the values of the C++ array.
constexpr std::string_view kSizeComment = "/* width, height */";

std::string countOf(ExportFormat id, std::size_t numbers) {
    if (exportFormatRow(id).family == FormatFamily::Device) {
        return std::to_string(numbers) + " bytes";
    }
    if (id == ExportFormat::CppArray) {
        return std::to_string(numbers) + " values";
    }
    return std::to_string(numbers + 2) + " bytes: 2 of size, " + std::to_string(numbers) +
           " of pixels";
}

// The UTF-16 code units of UTF-8 text: one per character, two beyond the first plane.
int utf16Length(std::string_view text) {
    int units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) == 0x80 ? 0 : byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

}  // namespace

ExportPreview::ExportPreview(Session& session) : session_(session) {
    chooseFormatNamed("gas");
    levelsFromLayout();
    mapBytes();
    session_.subscribe(*this);
}

ExportPreview::~ExportPreview() {
    session_.unsubscribe(*this);
}

void ExportPreview::setListener(std::function<void(unsigned)> listener) {
    listener_ = std::move(listener);
}

void ExportPreview::tell(unsigned what) {
    if (listener_ && what != 0) {
        listener_(what);
    }
}

void ExportPreview::setShown(bool shown) {
    active_ = shown;
    if (active_ && stale_) {
        mapBytes();
        remake();
        tell(kChoices | kText | kTrace);
    }
}

void ExportPreview::sessionChanged(const Session&, const Changes& changes) {
    using namespace changed;
    const unsigned shape = kSize | (fromBox_ ? kBox | kBuffer : 0u);
    const unsigned text = kCells | kSize | kName | kBox | kBuffer | kFrames;
    if (!active_) {
        stale_ = stale_ || changes.has(text);
        return;
    }
    if (changes.has(shape)) {
        mapBytes();
    }
    if (changes.has(text)) {
        remake();
        tell(kText | kTrace);
    } else if (changes.has(kView)) {
        tell(kTrace);
    }
}

// ---- What is shown ----

void ExportPreview::remake() {
    stale_ = false;
    const ExportFormatRow& row = format();
    const bool allFrames = source_ == kFramesSource;
    const Document& document = session_.document();
    // A set of one writes its frame's own text under the frame's name.
    const std::string& name =
        allFrames && document.frameCount() > 1 ? document.setName : session_.pictureName();
    std::string problem = exportableNameProblem(name);
    for (std::size_t i = 0; allFrames && problem.empty() && i < document.frames.size(); ++i) {
        if (const std::string framed = exportableNameProblem(document.frames[i].name);
            !framed.empty()) {
            problem = "Frame " + std::to_string(i + 1) + ": " + framed;
        }
    }
    if (fromBox_ && !session_.selection().bufferFilled) {
        problem = "No box has been copied yet: copy one with the box tool first.";
    }
    if (row.family == FormatFamily::Device && problem.empty()) {
        problem = layoutProblem(settings_.layout);
        problem = problem.empty() ? levelsProblem_ : problem;
    }
    written_ = problem.empty();
    bytes_.clear();
    shown_.clear();
    spans_.clear();
    if (fontSource()) {
        problem = writeFont();
        written_ = problem.empty();
        count_ = written_ ? std::to_string(bytes_.size()) + " bytes of text, " +
                                std::to_string(document.frameCount()) + " glyphs"
                          : problem;
        command_ = makeCommandLine();
        tracedByte_ = -1;
        return;
    }
    std::size_t numbers = 0;
    if (written_ && !allFrames) {
        bytes_ = row.write(source(), name, settings());
        shown_ = row.id == ExportFormat::Bin ? byteDump(bytes_) : bytes_;
        shown_.erase(std::remove(shown_.begin(), shown_.end(), '\r'), shown_.end());
        spans_ = valueSpans(shown_, row.id);
        numbers = spans_.size();
    } else if (written_) {
        numbers = writeAllFrames();
    }
    const std::size_t before = spans_.empty() ? 0 : spans_.front().offset;
    spanShift_ = utf16Length(std::string_view(shown_).substr(0, before)) - static_cast<int>(before);
    count_ = written_ ? countOf(row.id, numbers) : problem;
    // The sprite array's size bytes stand before its image, apart from the numbers traced.
    std::size_t sizeBytes = 0;
    for (std::size_t at = bytes_.find(kSizeComment);
         written_ && row.id == ExportFormat::Arduboy && at != std::string::npos;
         at = bytes_.find(kSizeComment, at + 1)) {
        sizeBytes += 2;
    }
    if (sizeBytes > 0) {
        count_ = std::to_string(numbers + sizeBytes) + " bytes: " + std::to_string(sizeBytes) +
                 " of size, " + std::to_string(numbers) + " of image";
    }
    if (written_ && allFrames && document.frameCount() > 1) {
        const std::size_t texts =
            row.family == FormatFamily::Device || row.id == ExportFormat::CppArray
                ? 0
                : document.frames.size();
        // Each frame's own text carries its two size bytes.
        count_ = texts == 0 ? count_
                            : std::to_string(numbers + 2 * texts) +
                                  " bytes: " + std::to_string(2 * texts) + " of size, " +
                                  std::to_string(numbers) + " of pixels";
        count_ += " in " + std::to_string(document.frameCount()) + " frames";
    }
    command_ = makeCommandLine();
    if (tracedByte_ >= static_cast<int>(spans_.size())) {
        tracedByte_ = -1;  // the number pointed at is gone
    }
}

std::string ExportPreview::writeFont() {
    const Document& document = session_.document();
    if (!document.font) {
        return "Only a font set exports as a font: make one with File > New Font... or open a "
               "BDF font.";
    }
    std::string problem;
    if (source_ == kBdfSource) {
        problem = exportableNameProblem(document.setName);
        bytes_ = problem.empty() ? encodeBdf(document, document.setName) : "";
    } else {
        FontText gfx = gfxFontText(document, document.setName);
        problem = std::move(gfx.problem);
        bytes_ = std::move(gfx.text);
    }
    shown_ = bytes_;
    shown_.erase(std::remove(shown_.begin(), shown_.end(), '\r'), shown_.end());
    return problem;
}

std::size_t ExportPreview::writeAllFrames() {
    const ExportFormatRow& row = format();
    const Document& document = session_.document();
    std::vector<NamedView> views;
    views.reserve(document.frames.size());
    for (const Frame& frame : document.frames) {
        views.push_back({frame.picture.view(), frame.name,
                         document.font && frame.glyph ? &*frame.glyph : nullptr});
    }
    FramesText set = writeFrames(row.id, views, document.setName, settings());
    bytes_ = std::move(set.text);
    const TextPart part = set.parts[static_cast<std::size_t>(document.current)];
    if (row.id == ExportFormat::Bin) {
        // One number a byte: the current frame's numbers are its bytes.
        shown_ = byteDump(bytes_);
        std::vector<ValueSpan> all = valueSpans(shown_, row.id);
        spans_.assign(all.begin() + static_cast<std::ptrdiff_t>(part.offset),
                      all.begin() + static_cast<std::ptrdiff_t>(part.offset + part.length));
        return all.size();
    }
    // The trace reads the current frame's part as a text of its own; the shown text has no
    // CR, so its part starts earlier by the CRs before it.
    std::size_t numbers = 0;
    std::size_t shownStart = 0;
    for (std::size_t i = 0; i < set.parts.size(); ++i) {
        const std::string_view written =
            std::string_view(bytes_).substr(set.parts[i].offset, set.parts[i].length);
        std::string text(written);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        std::vector<ValueSpan> spans = valueSpans(text, row.id);
        numbers += spans.size();
        if (i == static_cast<std::size_t>(document.current)) {
            shownStart =
                set.parts[i].offset -
                static_cast<std::size_t>(std::count(
                    bytes_.begin(),
                    bytes_.begin() + static_cast<std::ptrdiff_t>(set.parts[i].offset), '\r'));
            for (ValueSpan& span : spans) {
                span.offset += shownStart;
            }
            spans_ = std::move(spans);
        }
    }
    shown_ = bytes_;
    shown_.erase(std::remove(shown_.begin(), shown_.end(), '\r'), shown_.end());
    return numbers;
}

std::string ExportPreview::makeCommandLine() const {
    const Selection& box = session_.selection();
    const bool boxShown = fromBox_ && box.bufferFilled;
    if (boxShown && !boxInPlace()) {
        return "(a box turned, mirrored, cut off or drawn over since it was copied has no stipple "
               "export: save it as a picture of its own with Save select)";
    }
    std::string line = "stipple export";
    if (fontSource()) {
        return line + (source_ == kBdfSource ? " --font bdf" : " --font gfx") + " --name " +
               shellWord(session_.document().setName) + " FONT.stws";
    }
    for (const std::string& word : exportOptionWords(format().id, settings())) {
        line += ' ';
        line += shellWord(word);
    }
    // The name as the text holds it, whatever the file stores.
    const bool set = source_ == kFramesSource && session_.document().frameCount() > 1;
    line += " --name ";
    line += shellWord(set ? session_.document().setName : session_.pictureName());
    if (boxShown) {
        line += " --box " + std::to_string(box.boxLeft) + "," + std::to_string(box.boxTop) + "," +
                std::to_string(box.boxRight) + "," + std::to_string(box.boxBottom);
    }
    return line + (set ? " SET.stws" : " PICTURE.stw");
}

std::string ExportPreview::copyRefusal() const {
    return format().id == ExportFormat::Bin ? "Bytes go to a file only" : "";
}

bool ExportPreview::boxInPlace() const {
    const Selection& box = session_.selection();
    const Picture& picture = session_.picture();
    if (!box.bufferFilled || box.boxLeft < 1 || box.boxTop < 1 || box.boxRight > picture.width ||
        box.boxBottom > picture.height || box.selWidth != box.boxRight - box.boxLeft + 1 ||
        box.selHeight != box.boxBottom - box.boxTop + 1) {
        return false;
    }
    for (int x = 1; x <= box.selWidth; ++x) {
        for (int y = 1; y <= box.selHeight; ++y) {
            if (picture.pixels[box.boxLeft + x - 1][box.boxTop + y - 1] != box.selBuffer[x][y]) {
                return false;
            }
        }
    }
    return true;
}

// ---- Actions ----

void ExportPreview::copy() {
    remake();
    tell(kText | kTrace);
    if (applies(ExportOption::Copy)) {
        session_.host().setClipboardText(bytes_);
    }
}

void ExportPreview::save() {
    remake();
    tell(kText | kTrace);
    if (applies(ExportOption::Save)) {
        writeExportText(session_, bytes_, false);
    }
}

void ExportPreview::append() {
    remake();
    tell(kText | kTrace);
    if (applies(ExportOption::Append)) {
        writeExportText(session_, bytes_, true);
    }
}

// ---- Kept between runs ----

std::vector<std::pair<std::string, std::string>> ExportPreview::storedSettings() const {
    std::vector<std::pair<std::string, std::string>> stored = {
        {"format", std::string(format().commandName)},
        {"source", std::string(kSourceWords[source_])}};
    if (layoutProblem(settings_.layout).empty()) {
        stored.emplace_back("layout", layoutWords(settings_.layout));
    }
    stored.emplace_back("base", std::to_string(static_cast<int>(settings_.base)));
    stored.emplace_back("preview", settings_.preview ? "true" : "false");
    return stored;
}

void ExportPreview::restore(const std::vector<std::pair<std::string, std::string>>& stored) {
    for (const auto& [key, word] : stored) {
        if (key == "format") {
            if (!chooseFormatNamed(word)) {
                chooseFormatNamed("gas");
            }
        } else if (key == "source") {
            source_ = std::max(indexOf(kSourceWords, word), 0);
            fromBox_ = source_ == kBoxSource;
        } else if (key == "layout") {
            // The words of a text's first line; a pair not read keeps its default.
            ByteLayout layout;
            std::vector<std::string_view> words;
            for (std::size_t start = 0; start <= word.size();) {
                const std::size_t end = std::min(word.find(' ', start), word.size());
                words.emplace_back(std::string_view(word).substr(start, end - start));
                start = end + 1;
            }
            for (std::size_t i = 0; i + 1 < words.size(); i += 2) {
                setLayoutWord(layout, words[i], words[i + 1]);
            }
            if (layoutProblem(layout).empty()) {
                settings_.layout = layout;
            }
        } else if (key == "base") {
            int base = 0;
            std::from_chars(word.data(), word.data() + word.size(), base);
            settings_.base = static_cast<Base>(std::clamp(base, 0, 2));
        } else if (key == "preview") {
            settings_.preview = !word.empty() && word != "0" && word != "false";
        }
    }
    levelsFromLayout();
    settingsChanged();
}

}  // namespace stipple
