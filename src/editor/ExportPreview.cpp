#include "editor/ExportPreview.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

#include "editor/ExportCommands.h"
#include "formats/FramesExport.h"
#include "formats/PictureFile.h"
#include "formats/TargetText.h"

namespace stipple {

namespace {

constexpr std::string_view kSources[] = {"Whole picture", "Copied box", "All frames"};
constexpr std::string_view kSourceWords[] = {"picture", "box", "frames"};
constexpr int kBoxSource = 1;
constexpr int kFramesSource = 2;

// The layout part a list chooses, for the lists of layout words.
std::string_view keyOf(ExportOption list) {
    switch (list) {
        case ExportOption::Depth:
            return "depth";
        case ExportOption::Order:
            return "order";
        case ExportOption::Scan:
            return "scan";
        case ExportOption::Planes:
            return "planes";
        default:
            return "";
    }
}

template <typename Words>
std::vector<std::string> strings(const Words& words) {
    return std::vector<std::string>(std::begin(words), std::end(words));
}

template <typename Words>
int indexOf(const Words& words, std::string_view word) {
    const auto at = std::find(std::begin(words), std::end(words), word);
    return at == std::end(words) ? -1 : static_cast<int>(at - std::begin(words));
}

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

// ---- Choices ----

const ExportFormatRow& ExportPreview::format() const {
    return exportFormats()[formatRow_];
}

PixelView ExportPreview::source() const {
    return fromBox_ ? session_.selection().view() : session_.picture().view();
}

ExportSettings ExportPreview::settings() const {
    ExportSettings settings = settings_;
    settings.layout.align = checked(ExportOption::Align);
    settings.preview = checked(ExportOption::Preview);
    return settings;
}

bool ExportPreview::applies(ExportOption option) const {
    const ExportFormatRow& row = format();
    const bool device = row.family == FormatFamily::Device;
    const bool bin = row.id == ExportFormat::Bin;
    switch (option) {
        case ExportOption::Target:
        case ExportOption::Depth:
        case ExportOption::Order:
        case ExportOption::Scan:
        case ExportOption::Planes:
        case ExportOption::Levels:
        case ExportOption::Mask:
            return device;
        case ExportOption::Base:
        case ExportOption::Preview:
            return device && !bin;
        case ExportOption::Align:
            // The packed texts and the rows scan start rows on a byte; nothing else does.
            return row.id == ExportFormat::Asm1 || row.id == ExportFormat::Asm2 ||
                   row.id == ExportFormat::Asm4 || (device && settings_.layout.scan == Scan::Rows);
        case ExportOption::Copy:
            return written_ && !bin;
        case ExportOption::Save:
        case ExportOption::Append:
            return written_;
        default:
            return true;
    }
}

bool ExportPreview::checked(ExportOption tick) const {
    switch (tick) {
        case ExportOption::Align:
            return settings_.layout.align && applies(tick);
        case ExportOption::Mask:
            return settings_.layout.mask && applies(tick);
        case ExportOption::Preview:
            return settings_.preview && applies(tick);
        default:
            return false;
    }
}

std::optional<std::pair<std::string_view, std::string>> ExportPreview::shownTarget() const {
    // The target is the one the command line starts from, with the options it adds.
    ExportSettings device = settings_;
    device.layout.align = device.layout.align && device.layout.scan == Scan::Rows;
    // The syntax chosen decides between targets that name the same layout.
    const ExportFormat id =
        format().family == FormatFamily::Device ? format().id : ExportFormat::Gas;
    const std::vector<std::string> words = exportOptionWords(id, device);
    if (words.size() < 2 || words[0] != "--target") {
        return std::nullopt;
    }
    const std::string_view* target =
        std::find(std::begin(kTargetNames), std::end(kTargetNames), words[1]);
    // A switch ("--mask", "--align") reads "mask", "align"; "--mask no" reads "no mask".
    std::string added;
    for (std::size_t i = 2; i < words.size() && words[i] != "--syntax"; ++i) {
        const std::string key = words[i].substr(2);
        const bool valued = i + 1 < words.size() && !words[i + 1].starts_with("--");
        const std::string value = valued ? words[++i] : "yes";
        added += " + " + (value == "yes" ? key : value == "no" ? "no " + key : key + " " + value);
    }
    return std::pair(*target, added);
}

std::vector<std::string> ExportPreview::choices(ExportOption list) const {
    switch (list) {
        case ExportOption::Source:
            return strings(kSources);
        case ExportOption::Format: {
            std::vector<std::string> labels;
            for (const ExportFormatRow& row : exportFormats()) {
                labels.emplace_back(row.label);
            }
            return labels;
        }
        case ExportOption::Target: {
            std::vector<std::string> targets = {"custom"};
            targets.insert(targets.end(), std::begin(kTargetNames), std::end(kTargetNames));
            if (const auto shown = shownTarget()) {
                targets[static_cast<std::size_t>(choice(list))] += shown->second;
            }
            return targets;
        }
        case ExportOption::Base:
            return strings(baseWords());
        case ExportOption::DeviceColours:
            return strings(deviceColourWords());
        default:
            return strings(layoutWordChoices(keyOf(list)));
    }
}

int ExportPreview::choice(ExportOption list) const {
    switch (list) {
        case ExportOption::Source:
            return source_;
        case ExportOption::Format:
            return static_cast<int>(formatRow_);
        case ExportOption::Target: {
            const auto shown = shownTarget();
            return shown ? indexOf(kTargetNames, shown->first) + 1 : 0;
        }
        case ExportOption::DeviceColours:
            return static_cast<int>(deviceColours_);
        case ExportOption::Base: {
            const std::span<const std::string_view> bases = baseWords();
            const auto at = std::find_if(bases.begin(), bases.end(), [this](std::string_view w) {
                return baseNamed(w) == settings_.base;
            });
            return static_cast<int>(at - bases.begin());
        }
        default:
            return indexOf(layoutWordChoices(keyOf(list)),
                           layoutWord(settings_.layout, keyOf(list)));
    }
}

void ExportPreview::levelsFromLayout() {
    levelsText_ = layoutWord(settings_.layout, "levels");
    levelsProblem_.clear();
}

void ExportPreview::choose(ExportOption list, int item) {
    const std::vector<std::string> words = choices(list);
    if (item < 0 || item >= static_cast<int>(words.size())) {
        return;
    }
    const std::string& word = words[static_cast<std::size_t>(item)];
    ByteLayout& layout = settings_.layout;
    switch (list) {
        case ExportOption::Source:
            source_ = item;
            fromBox_ = item == kBoxSource;
            break;
        case ExportOption::Format:
            formatRow_ = static_cast<std::size_t>(item);
            break;
        case ExportOption::Target:
            if (item == 0) {
                tell(kChoices);  // "custom" alone changes nothing
                return;
            }
            layout = *layoutForTarget(kTargetNames[item - 1]);
            levelsFromLayout();
            // A target named after a library brings its syntax.
            if (const std::string_view syntax = syntaxOfTarget(kTargetNames[item - 1]);
                !syntax.empty()) {
                formatRow_ = static_cast<std::size_t>(
                    exportFormatNamed(syntax, FormatFamily::Device) - exportFormats().data());
            }
            break;
        case ExportOption::DeviceColours:
            deviceColours_ = static_cast<DeviceColours>(item);
            tell(kText);
            return;
        case ExportOption::Depth:
            if (word != layoutWord(layout, "depth")) {
                setLayoutWord(layout, "depth", word);
                layout.levels = defaultLevels(layout.depth);  // as stipple's --depth does
                levelsFromLayout();
            }
            break;
        case ExportOption::Base:
            settings_.base = *baseNamed(word);
            break;
        default:
            setLayoutWord(layout, keyOf(list), word);
    }
    settingsChanged();
}

bool ExportPreview::chooseFormatNamed(std::string_view commandName) {
    const std::span<const ExportFormatRow> all = exportFormats();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].commandName == commandName) {
            choose(ExportOption::Format, static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void ExportPreview::check(ExportOption tick, bool on) {
    if (!applies(tick) || checked(tick) == on) {
        return;
    }
    if (tick == ExportOption::Align) {
        settings_.layout.align = on;
    } else if (tick == ExportOption::Mask) {
        settings_.layout.mask = on;
    } else if (tick == ExportOption::Preview) {
        settings_.preview = on;
    }
    settingsChanged();
}

void ExportPreview::typeLevels(const std::string& text) {
    levelsText_ = text;
    ByteLayout typed = settings_.layout;
    levelsProblem_ = setLayoutWord(typed, "levels", text);
    if (levelsProblem_.empty()) {
        // Only the codes against the depth: the planes have a say of their own.
        typed.planes = Planes::Packed;
        levelsProblem_ = layoutProblem(typed);
    }
    if (levelsProblem_.empty()) {
        settings_.layout.levels = typed.levels;
    }
    settingsChanged();
}

void ExportPreview::settingsChanged() {
    mapBytes();
    if (active_) {
        remake();
    } else {
        stale_ = true;
    }
    tell(kChoices | kText | kTrace);
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

std::size_t ExportPreview::writeAllFrames() {
    const ExportFormatRow& row = format();
    const Document& document = session_.document();
    std::vector<NamedView> views;
    views.reserve(document.frames.size());
    for (const Frame& frame : document.frames) {
        views.push_back({frame.picture.view(), frame.name});
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

// ---- The trace ----

void ExportPreview::mapBytes() {
    const PixelView view = source();
    const ByteLayout layout = tracedLayout(format().id, settings());
    mapWidth_ = view.width();
    mapHeight_ = view.height();
    byteMap_ = layoutProblem(layout).empty() ? byteMap(mapWidth_, mapHeight_, layout)
                                             : std::vector<ByteCells>();
    if (format().id == ExportFormat::Arduboy && layout.mask) {
        const std::size_t image = imageByteCount(mapWidth_, mapHeight_, layout);
        byteMap_ = pairedWithMask(std::move(byteMap_), image);
    }
    bytesOfCell_.assign(static_cast<std::size_t>(mapWidth_ * mapHeight_), {});
    for (std::size_t b = 0; b < byteMap_.size(); ++b) {
        for (const BitPlace& place : byteMap_[b]) {
            std::vector<int>& bytes =
                bytesOfCell_[static_cast<std::size_t>((place.y - 1) * mapWidth_ + place.x - 1)];
            if (bytes.empty() || bytes.back() != static_cast<int>(b)) {
                bytes.push_back(static_cast<int>(b));
            }
        }
    }
}

TextRange ExportPreview::rangeOf(int number) const {
    const ValueSpan& span = spans_[static_cast<std::size_t>(number)];
    return {static_cast<int>(span.offset) + spanShift_, static_cast<int>(span.length)};
}

std::vector<CellRect> ExportPreview::traceFromText(int position) {
    // One way at a time: the cell traced before lets go of its numbers.
    tracedX_ = tracedY_ = 0;
    tracedByte_ = -1;
    const auto after = std::upper_bound(
        spans_.begin(), spans_.end(), position,
        [this](int p, const ValueSpan& s) { return p < static_cast<int>(s.offset) + spanShift_; });
    if (position >= 0 && after != spans_.begin()) {
        const int number = static_cast<int>(after - 1 - spans_.begin());
        const TextRange range = rangeOf(number);
        if (position <= range.position + range.length) {
            tracedByte_ = number;
        }
    }
    tell(kTrace);
    return frames();
}

std::vector<CellRect> ExportPreview::frames() const {
    std::vector<CellRect> cells;
    // The copied box is framed where it was copied from, while it still stands there.
    if (tracedByte_ < 0 || tracedByte_ >= static_cast<int>(byteMap_.size()) ||
        (fromBox_ && !boxInPlace())) {
        return cells;
    }
    const Selection& box = session_.selection();
    const SurfaceGeometry geometry = session_.geometry();
    const int left = fromBox_ ? box.boxLeft - 1 : 0;
    const int top = fromBox_ ? box.boxTop - 1 : 0;
    for (const BitPlace& place : byteMap_[static_cast<std::size_t>(tracedByte_)]) {
        const CellRect cell = geometry.cell(left + place.x, top + place.y);
        if (std::none_of(cells.begin(), cells.end(), [&](const CellRect& c) {
                return c.left == cell.left && c.top == cell.top;
            })) {
            cells.push_back(cell);
        }
    }
    return cells;
}

std::optional<TextRange> ExportPreview::tracedNumber() const {
    if (tracedByte_ < 0 || tracedByte_ >= static_cast<int>(spans_.size())) {
        return std::nullopt;
    }
    return rangeOf(tracedByte_);
}

std::vector<TextRange> ExportPreview::traceFromCell(int x, int y) {
    if (fromBox_) {
        // The cells of a box moved since it was copied are not where the pointer is.
        const Selection& box = session_.selection();
        const bool inPlace = boxInPlace();
        x = inPlace ? x - (box.boxLeft - 1) : 0;
        y = inPlace ? y - (box.boxTop - 1) : 0;
    }
    const bool inside = x >= 1 && y >= 1 && x <= mapWidth_ && y <= mapHeight_;
    tracedX_ = inside ? x : 0;
    tracedY_ = inside ? y : 0;
    tell(kTrace);
    return highlights();
}

std::vector<TextRange> ExportPreview::traceFromSurface(int x, int y) {
    const SurfaceGeometry geometry = session_.geometry();
    const bool inside = geometry.inPicture(x, y);
    return traceFromCell(inside ? geometry.cellX(x) : 0, inside ? geometry.cellY(y) : 0);
}

std::vector<TextRange> ExportPreview::highlights() const {
    std::vector<TextRange> ranges;
    if (tracedX_ < 1 || tracedY_ < 1 || tracedX_ > mapWidth_ || tracedY_ > mapHeight_) {
        return ranges;
    }
    for (const int b :
         bytesOfCell_[static_cast<std::size_t>((tracedY_ - 1) * mapWidth_ + tracedX_ - 1)]) {
        if (b < static_cast<int>(spans_.size())) {
            ranges.push_back(rangeOf(b));
        }
    }
    return ranges;
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

DeviceImage ExportPreview::deviceImage() const {
    if (!written_) {
        return {};
    }
    const PixelView view = source();
    const ByteLayout layout = tracedLayout(format().id, settings());
    std::vector<std::uint8_t> bytes = layoutBytes(view, layout);
    if (format().id == ExportFormat::Arduboy && layout.mask) {
        const std::size_t image = imageByteCount(view.width(), view.height(), layout);
        bytes = pairedWithMask(std::move(bytes), image);
    }
    DeviceColours colours = deviceColours_;
    if (colours == DeviceColours::Target) {
        const auto shown = shownTarget();
        colours =
            coloursOfTarget(shown && format().family == FormatFamily::Device ? shown->first : "");
    }
    return stipple::deviceImage(bytes, byteMap_, mapWidth_, mapHeight_, layout, colours);
}

}  // namespace stipple
