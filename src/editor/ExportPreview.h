#pragma once
// What the Export window shows, without the window: the format, the source and the settings
// chosen, the words of every choice and which options apply, the text as written and as
// shown, its count or why there is none, the stipple command line, and the trace between
// the numbers of the text and the cells of the surface. It listens to the session and tells
// one listener of its own when what it shows changed; the window only shows it.
//
// Positions in the shown text count UTF-16 code units, as text widgets count them.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/DeviceView.h"
#include "editor/Session.h"
#include "formats/ExportFormats.h"

namespace stipple {

// The controls of the window: lists (Source .. Base), the Levels field, the three ticks and
// the three actions.
enum class ExportOption {
    Source,
    Format,
    Target,
    Depth,
    Order,
    Scan,
    Planes,
    Base,
    Levels,
    Align,
    Mask,
    Preview,
    Copy,
    Save,
    Append,
    DeviceColours,  // the list of colours the device view shows in
};

// A stretch of the shown text.
struct TextRange {
    int position;
    int length;
    bool operator==(const TextRange&) const = default;
};

class ExportPreview final : public SessionListener {
  public:
    // What changed, for the listener.
    static constexpr unsigned kChoices = 1;  // the lists, the ticks, the Levels field
    static constexpr unsigned kText = 2;     // text, count, command line; Copy, Save, Append
    static constexpr unsigned kTrace = 4;    // frames and highlights

    explicit ExportPreview(Session& session);
    ~ExportPreview() override;
    ExportPreview(const ExportPreview&) = delete;
    ExportPreview& operator=(const ExportPreview&) = delete;

    void sessionChanged(const Session& session, const Changes& changes) override;
    void setListener(std::function<void(unsigned what)> listener);
    // While not shown the text is not made; it is made when shown again.
    void setShown(bool shown);

    // ---- Choices ----
    // The words of a list's items. The target the command line starts from reads with
    // the options it adds ("gameboy + mask").
    std::vector<std::string> choices(ExportOption list) const;
    // The item chosen in a list.
    int choice(ExportOption list) const;
    // Whether a tick is on. A tick that does not apply reads as off.
    bool checked(ExportOption tick) const;
    // Whether the option can be used now (enabled) with this format and layout.
    bool applies(ExportOption option) const;

    // A choice of a list by its item; a Target item sets the target's whole layout, a
    // Depth brings that depth's plain levels.
    void choose(ExportOption list, int item);
    // A format by its command-line name (see exportFormats); false for none.
    bool chooseFormatNamed(std::string_view commandName);
    void check(ExportOption tick, bool on);
    // The Levels field as typed. Five codes within the depth take effect; anything else
    // stays as typed, with levelsProblem() saying why, and nothing is written meanwhile.
    void typeLevels(const std::string& text);
    const std::string& levelsText() const { return levelsText_; }
    const std::string& levelsProblem() const { return levelsProblem_; }

    const ExportFormatRow& format() const;
    // The settings as written: a tick only where it applies.
    ExportSettings settings() const;

    // ---- What is shown ----
    // The text as written (for bin: the bytes); empty when there is a problem.
    const std::string& bytes() const { return bytes_; }
    // The text as shown: line ends without CR, bin as a dump of hex bytes.
    const std::string& shownText() const { return shown_; }
    // The count of the numbers written, or why nothing is written.
    const std::string& countLine() const { return count_; }
    const std::string& commandLine() const { return command_; }
    // Why Copy does not apply to this format, or "".
    std::string copyRefusal() const;

    // What the device shows of the bytes written: the source's cells decoded back from the
    // bytes through the layout (the plain packing for the editor's texts), in the colours
    // chosen. Empty while nothing is written.
    DeviceImage deviceImage() const;

    // ---- Actions, each on a freshly made text; nothing where it does not apply ----
    void copy();    // onto the clipboard
    void save();    // into a file chosen, replacing it
    void append();  // after the last byte of a file chosen

    // ---- The trace ----
    // From a position of the shown text: the number there, and the cells whose bits it
    // holds framed; none elsewhere (-1 for none). The cell traced before lets go.
    std::vector<CellRect> traceFromText(int position);
    // From a 1-based cell of the picture: the numbers that hold its bits are highlighted;
    // (0, 0) or a cell off the source for none. Returns the highlights.
    std::vector<TextRange> traceFromCell(int x, int y);
    // The same from a position of the pointer on the surface, in surface pixels.
    std::vector<TextRange> traceFromSurface(int x, int y);
    // The cells framed on the surface, the number they come from, and the numbers
    // highlighted for the cell traced; each follows the text, the view and the box.
    std::vector<CellRect> frames() const;
    std::optional<TextRange> tracedNumber() const;
    std::vector<TextRange> highlights() const;

    // Whether the copied box still stands where it was copied: the picture holds its
    // cells there, so `stipple export --box` writes it and its frames fall on them.
    bool boxInPlace() const;

    // ---- Kept between runs, as key and word ----
    static constexpr std::string_view kStoredKeys[] = {"format", "source", "layout", "base",
                                                       "preview"};
    std::vector<std::pair<std::string, std::string>> storedSettings() const;
    // Takes what storedSettings gave; a key missing or a word not read keeps its default.
    void restore(const std::vector<std::pair<std::string, std::string>>& stored);

  private:
    // The target the command line starts from, and the options it adds (" + mask").
    std::optional<std::pair<std::string_view, std::string>> shownTarget() const;
    PixelView source() const;
    // A whole font in a font form, not the pictures in the format and layout chosen.
    bool fontSource() const;
    // The font's text in the form chosen, or why there is none.
    std::string writeFont();
    void levelsFromLayout();
    void settingsChanged();
    void remake();  // text, count, command line
    // The text of every frame; the trace follows the current one's part. The count of the
    // numbers written.
    std::size_t writeAllFrames();
    void mapBytes();
    std::string makeCommandLine() const;
    TextRange rangeOf(int number) const;
    void tell(unsigned what);

    Session& session_;
    std::function<void(unsigned)> listener_;
    bool active_ = false;
    bool stale_ = true;
    bool written_ = false;

    std::size_t formatRow_ = 0;
    DeviceColours deviceColours_ = DeviceColours::Target;
    int source_ = 0;  // an item of the Source list
    bool fromBox_ = false;
    ExportSettings settings_;  // layout.align: the tick, also where it does not apply
    std::string levelsText_;
    std::string levelsProblem_;

    std::string bytes_;
    std::string shown_;
    std::string count_;
    std::string command_;
    // Each number of the shown text by byte, and for each cell of the source the bytes that
    // hold its bits.
    std::vector<ValueSpan> spans_;
    int spanShift_ = 0;  // UTF-16 positions before the numbers minus their UTF-8 bytes
    std::vector<ByteCells> byteMap_;
    std::vector<std::vector<int>> bytesOfCell_;
    int mapWidth_ = 0;
    int mapHeight_ = 0;
    int tracedByte_ = -1;
    int tracedX_ = 0;
    int tracedY_ = 0;
};

}  // namespace stipple
