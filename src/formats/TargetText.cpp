#include "formats/TargetText.h"

#include <cstdint>
#include <vector>

#include "formats/LayoutTextParts.h"

namespace stipple {

using namespace layout_text;

namespace {

struct FrameBytes {
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> mask;  // empty without the mask
};

FrameBytes bytesOf(const PixelView& view, const ByteLayout& layout) {
    std::vector<std::uint8_t> all = layoutBytes(view, layout);
    const auto imageCount =
        static_cast<std::ptrdiff_t>(imageByteCount(view.width(), view.height(), layout));
    return {{all.begin(), all.begin() + imageCount}, {all.begin() + imageCount, all.end()}};
}

// The framebuf format whose bytes the layout writes, or "".
std::string_view framebufFormat(const ByteLayout& layout) {
    if (layout.planes != Planes::Packed || (layout.depth != 1 && layout.depth != 8)) {
        return "";
    }
    if (layout.depth == 8) {
        return layout.scan == Scan::Rows ? "GS8" : "";
    }
    if (layout.scan == Scan::Pages) {
        return layout.order == BitOrder::Lsb ? "MONO_VLSB" : "";
    }
    if (layout.scan == Scan::Rows && layout.align) {
        return layout.order == BitOrder::Msb ? "MONO_HLSB" : "MONO_HMSB";
    }
    return "";
}

class LibraryWriter {
  public:
    LibraryWriter(Syntax syntax, std::string_view name, const ExportSettings& settings)
        : syntax_(syntax),
          settings_(settings),
          layout_(settings.layout),
          notation_(notationOf(syntax)),
          label_(identifierOf(name)),
          constant_(upper(label_)),
          base_(syntax == Syntax::Xbm ? Base::Hex : settings.base) {}

    FramesText write(std::span<const NamedView> frames, std::string_view name, bool asSet) {
        std::vector<FrameBytes> bytes;
        bytes.reserve(frames.size());
        bool oneSize = true;
        for (const NamedView& frame : frames) {
            bytes.push_back(bytesOf(frame.view, layout_));
            oneSize = oneSize && frame.view.width() == frames[0].view.width() &&
                      frame.view.height() == frames[0].view.height();
        }
        const PixelView& first = frames[0].view;
        std::string head(kHeadTag);
        head += asSet ? std::string(kSetWord) + quotedName(name) + " frames " +
                            std::to_string(frames.size())
                      : "name " + quotedName(name) + " " + std::to_string(first.width()) + "x" +
                            std::to_string(first.height());
        text_ = commentLine(notation_, head + " " + layoutWords(layout_));
        text_ += commentLine(notation_, drawCall(asSet));
        if (settings_.preview) {
            appendPreviewLegend(text_, layout_, notation_);
            if (!asSet) {
                appendPreviewRows(text_, first, layout_, notation_, "");
            }
        }
        if (syntax_ == Syntax::AdafruitGfx || syntax_ == Syntax::Arduboy) {
            // Program memory on an AVR; elsewhere the word means nothing.
            text_ +=
                "#ifdef __AVR__\n#include <avr/pgmspace.h>\n#else\n#ifndef PROGMEM\n"
                "#define PROGMEM\n#endif\n#endif\n#include <stdint.h>\n\n";
        }
        if (asSet) {
            define(constant_ + "_FRAMES", frames.size());
        }
        if (oneSize) {
            // An X BitMap's own names are in lower case.
            const bool xbm = syntax_ == Syntax::Xbm;
            define(xbm ? label_ + "_width" : constant_ + "_WIDTH",
                   static_cast<std::size_t>(first.width()));
            define(xbm ? label_ + "_height" : constant_ + "_HEIGHT",
                   static_cast<std::size_t>(first.height()));
            if (asSet) {
                define(constant_ + "_FRAME_BYTES",
                       bytes[0].image.size() + inlineMask(bytes[0]).size());
            }
        }

        // The image array: each frame's bytes under its comment, the mask where it goes inline.
        const bool header = syntax_ == Syntax::Arduboy;
        std::vector<std::size_t> imageOffsets{header && oneSize ? std::size_t(2) : 0};
        std::vector<std::size_t> maskOffsets{0};
        for (const FrameBytes& frame : bytes) {
            const std::size_t own = header && !oneSize ? 2 : 0;
            imageOffsets.push_back(imageOffsets.back() + own + frame.image.size() +
                                   inlineMask(frame).size());
            maskOffsets.push_back(maskOffsets.back() + frame.mask.size());
        }
        // XBM readers take any hex digit inside the array for a byte: its frames are named
        // before it.
        const bool namedInside = syntax_ != Syntax::Xbm;
        if (asSet && !namedInside) {
            for (std::size_t i = 0; i < frames.size(); ++i) {
                text_ += commentLine(notation_, frameComment(frames, i) + ", from byte " +
                                                    std::to_string(imageOffsets[i]));
            }
        }
        const std::string imageArray = syntax_ == Syntax::Xbm ? label_ + "_bits" : label_;
        openArray(imageArray, imageOffsets.back());
        if (header && oneSize) {
            sizeLine(first);
        }
        FramesText out;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const std::size_t start = text_.size();
            if (asSet && namedInside) {
                text_ += indent();
                text_ += commentLine(notation_, frameComment(frames, i));
                if (settings_.preview) {
                    appendPreviewRows(text_, frames[i].view, layout_, notation_, indent());
                }
            }
            if (header && !oneSize) {
                sizeLine(frames[i].view);
            }
            std::vector<std::uint8_t> written = bytes[i].image;
            const std::vector<std::uint8_t> mask = inlineMask(bytes[i]);
            written.insert(written.end(), mask.begin(), mask.end());
            if (syntax_ == Syntax::Arduboy) {
                written = pairedWithMask(std::move(written), bytes[i].image.size());
            }
            byteLines(written);
            out.parts.push_back({start, text_.size() - start});
        }
        closeArray();
        if (separateMask()) {
            openArray(syntax_ == Syntax::Xbm ? label_ + "_mask_bits" : label_ + "_mask",
                      maskOffsets.back());
            for (const FrameBytes& frame : bytes) {
                byteLines(frame.mask);
            }
            closeArray();
        }
        if (asSet) {
            table(label_, imageOffsets);
            if (separateMask() && maskOffsets != imageOffsets) {
                table(label_ + "_mask", maskOffsets);
            }
            out.offsets = std::move(imageOffsets);
        }
        out.text = std::move(text_);
        return out;
    }

  private:
    bool separateMask() const {
        return layout_.mask && (syntax_ == Syntax::Xbm || syntax_ == Syntax::AdafruitGfx);
    }
    std::vector<std::uint8_t> inlineMask(const FrameBytes& frame) const {
        return separateMask() ? std::vector<std::uint8_t>() : frame.mask;
    }
    std::string_view indent() const { return "    "; }

    static std::string frameComment(std::span<const NamedView> frames, std::size_t i) {
        return "frame " + std::to_string(i + 1) + ": name " + quotedName(frames[i].name) + " " +
               std::to_string(frames[i].view.width()) + "x" +
               std::to_string(frames[i].view.height());
    }

    std::string drawCall(bool asSet) const {
        const std::string c = constant_;
        switch (syntax_) {
            case Syntax::Xbm:
                return "draw with drawXBMP(x, y, " + label_ + "_width, " + label_ + "_height, " +
                       label_ + "_bits" + (asSet ? " + " + label_ + "_offsets[frame]" : "") + ")";
            case Syntax::AdafruitGfx:
                return "draw with display.drawBitmap(x, y, " + label_ +
                       (asSet ? " + " + label_ + "_offsets[frame]" : "") + ", " + c + "_WIDTH, " +
                       c + "_HEIGHT, colour)" +
                       (layout_.mask ? "; " + label_ + "_mask: 1 for every cell not transparent"
                                     : "");
            case Syntax::Arduboy:
                return std::string("draw with Sprites::") +
                       (layout_.mask ? "drawPlusMask" : "drawOverwrite") + "(x, y, " + label_ +
                       ", frame)";
            default: {
                const std::string_view format = framebufFormat(layout_);
                if (format.empty()) {
                    return "the bytes of the layout above; no framebuf format takes them";
                }
                const std::string buffer =
                    asSet ? label_ + "[" + label_ + "_offsets[i]:" + label_ + "_offsets[i + 1]]"
                          : label_;
                return "draw with framebuf.FrameBuffer(bytearray(" + buffer + "), " + c +
                       "_WIDTH, " + c + "_HEIGHT, framebuf." + std::string(format) + ")";
            }
        }
    }

    void define(const std::string& name, std::size_t value) {
        const std::string number = std::to_string(value);
        text_ += syntax_ == Syntax::Python ? name + " = " + number + "\n"
                                           : "#define " + name + " " + number + "\n";
    }

    void openArray(const std::string& array, std::size_t count) {
        switch (syntax_) {
            case Syntax::Python:
                text_ += array + " = (\n";
                return;
            case Syntax::Xbm:
                text_ += "static unsigned char " + array + "[] = {\n";
                return;
            default:
                text_ += "const uint8_t " + array + "[" + std::to_string(count) + "] PROGMEM = {\n";
        }
    }

    void closeArray() { text_ += syntax_ == Syntax::Python ? ")\n" : "};\n"; }

    void sizeLine(const PixelView& view) {
        text_ += "    /* width, height */ " + std::to_string(view.width()) + ", " +
                 std::to_string(view.height()) + ",\n";
    }

    void byteLines(const std::vector<std::uint8_t>& bytes) {
        if (syntax_ != Syntax::Python) {
            appendByteLines(text_, bytes, indent(), ",", base_, notation_);
            return;
        }
        static constexpr char kDigits[] = "0123456789abcdef";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            text_ += i % 16 == 0 ? "    b'" : "";
            text_ += "\\x";
            text_ += kDigits[bytes[i] >> 4];
            text_ += kDigits[bytes[i] & 15];
            text_ += i + 1 == bytes.size() || (i + 1) % 16 == 0 ? "'\n" : "";
        }
    }

    void table(const std::string& array, const std::vector<std::size_t>& offsets) {
        if (syntax_ != Syntax::Python) {
            text_ += syntax_ == Syntax::Xbm ? "#include <stdint.h>\n" : "";
            appendTable(text_, Syntax::C, array, upper(array), offsets, settings_.base,
                        notationOf(Syntax::C));
            return;
        }
        text_ += commentLine(notation_, array + "_offsets: " + constant_ +
                                            "_FRAMES + 1 numbers: where each frame starts in " +
                                            array + " and, last, its length");
        text_ += array + "_offsets = (";
        for (std::size_t i = 0; i < offsets.size(); ++i) {
            text_ += (i == 0 ? "" : ", ") + std::to_string(offsets[i]);
        }
        text_ += ")\n";
    }

    Syntax syntax_;
    const ExportSettings& settings_;
    const ByteLayout& layout_;
    Notation notation_;
    std::string label_;
    std::string constant_;
    Base base_;
    std::string text_;
};

}  // namespace

std::size_t imageByteCount(int width, int height, const ByteLayout& layout) {
    ByteLayout plain = layout;
    plain.mask = false;
    return layoutByteCount(width, height, plain);
}

bool isLibrarySyntax(Syntax syntax) {
    return syntax == Syntax::Xbm || syntax == Syntax::AdafruitGfx || syntax == Syntax::Arduboy ||
           syntax == Syntax::Python;
}

std::string libraryText(Syntax syntax, const PixelView& view, std::string_view name,
                        const ExportSettings& settings) {
    const NamedView frame{view, name};
    return LibraryWriter(syntax, name, settings).write({&frame, 1}, name, false).text;
}

FramesText libraryFramesText(Syntax syntax, std::span<const NamedView> frames,
                             std::string_view setName, const ExportSettings& settings) {
    return LibraryWriter(syntax, setName, settings).write(frames, setName, true);
}

}  // namespace stipple
