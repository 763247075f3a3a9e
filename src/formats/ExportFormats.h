#pragma once
// The one table of export formats: the editor's five clipboard texts in the order the
// Move to ClipBoard panel shows them, the file form of Save, and the device syntaxes of the
// byte layouts. The toolbar, the panel, the Export window and stipple all take their names,
// labels, writers and readers from it.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Asm8Text.h"
#include "formats/ByteLayout.h"
#include "formats/ExportText.h"
#include "formats/LayoutText.h"
#include "model/PixelView.h"

namespace stipple {

// What a writer takes besides the view and the name. The editor's packed texts follow
// layout.align (align up to byte) and nothing else of the layout; the device syntaxes take
// all of it.
struct ExportSettings {
    ByteLayout layout;
    Base base = Base::Dec;
    bool preview = false;
};

enum class FormatFamily {
    ClipboardText,  // a row of the panel and a toolbar button
    FileForm,       // what Save and Save to end write
    Device,         // a syntax of the byte layouts
};

struct ExportFormatRow {
    ExportFormat id;
    std::string_view commandName;  // stipple export --format, or --syntax for a device row
    std::string_view label;
    FormatFamily family;
    std::string (*write)(const PixelView& view, std::string_view name, const ExportSettings&);
    // Nothing when the text is not of this format (its first line tells); nullptr for bytes
    // that do not say their size. `aligned`: how to read packed rows the text leaves open.
    std::optional<TextReading> (*read)(std::string_view text, bool aligned);
};

std::span<const ExportFormatRow> exportFormats();
const ExportFormatRow& exportFormatRow(ExportFormat id);
const ExportFormatRow* exportFormatNamed(std::string_view commandName, FormatFamily family);

// The row whose reader takes `text` as its own, as its first lines tell, whether or not
// the rest reads; nullptr when none does (bin bytes among them). The device syntaxes share
// one reader, so a layout text gives the first device row.
const ExportFormatRow* exportFormatOf(std::string_view text);

// The picture of any text a row writes, or why it could not be read. A text that no row
// knows gets the file form's complaint about its first line. `aligned` as for a row's read.
TextReading readExportText(std::string_view text, bool aligned = false);

// The layout whose byte map matches the numbers of the text, in their order: the editor's
// texts hold one number per cell, or the bytes of the plain packing.
ByteLayout tracedLayout(ExportFormat id, const ExportSettings& settings);

// Where each number that tracedLayout maps stands in the text: its offset and length.
struct ValueSpan {
    std::size_t offset;
    std::size_t length;
};
std::vector<ValueSpan> valueSpans(std::string_view text, ExportFormat id);

// The options of stipple export that write `id` with `settings`, one word each: a target
// where that takes fewer words, the parts that differ from it or from the plain packing,
// and for a device syntax always --syntax.
std::vector<std::string> exportOptionWords(ExportFormat id, const ExportSettings& settings);

// Bytes shown as text, for the bin format: two hex digits each, 16 a line, LF line ends.
std::string byteDump(std::string_view bytes);

}  // namespace stipple
