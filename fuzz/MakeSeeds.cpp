// Writes the seed corpora of the fuzz targets into <folder>/picture, <folder>/set,
// <folder>/bitmap, <folder>/text and <folder>/png: picture files of several sizes, with and
// without expanded line ends, set files of such pictures, bitmaps of every depth and layout
// the import is meant to read, exported texts of every format, and the good PNG images of the
// tests. It encodes the picture and set files and bitmaps itself, so those seeds do not
// depend on the readers under test; the texts are the
// exporter's own, as users get them; the PNG images are written by the tests' own generator
// (tests/data/png/make_pngs.py), which uses no PNG library.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/ExportText.h"
#include "model/PixelView.h"

namespace {

class Bytes {
  public:
    void u8(unsigned v) { s_ += static_cast<char>(v & 0xFF); }
    void u16(unsigned v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void text(const std::string& t) { s_ += t; }
    std::size_t size() const { return s_.size(); }
    void patchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            s_[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    }
    const std::string& str() const { return s_; }

  private:
    std::string s_;
};

void save(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// ---- Picture files ----

// The field stream with every 0x0A stored as 0x0D 0x0A.
std::string expandLineEnds(const std::string& fields) {
    std::string out;
    for (const char c : fields) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string pictureFile(const std::string& name, int width, int height, int cellsWritten = -1) {
    Bytes f;
    f.u32(1);
    f.u32(static_cast<std::uint32_t>(name.size()));
    f.text(name);
    f.u32(static_cast<std::uint32_t>(width));
    f.u32(static_cast<std::uint32_t>(height));
    const int cells = cellsWritten < 0 ? width * height : cellsWritten;
    for (int i = 0; i < cells; ++i) {
        f.u32(static_cast<std::uint32_t>((i * 7 + i / width) % 5));
    }
    return expandLineEnds(f.str());
}

void writePictureSeeds(const std::filesystem::path& dir) {
    save(dir / "ab-3x2.stw", pictureFile("Ab", 3, 2));
    save(dir / "one-pixel.stw", pictureFile("", 1, 1));
    save(dir / "width-10.stw", pictureFile("Ten chars!", 10, 3));  // expanded length and width
    save(dir / "height-10.stw", pictureFile("x\ny", 4, 10));       // a line end in the name
    save(dir / "thirteen-26.stw", pictureFile("Name", 13, 26));    // 0x0D and 0x1A fields
    save(dir / "largest.stw", pictureFile("Largest", 96, 92));
    save(dir / "ends-early.stw", pictureFile("Cut", 8, 8, 20));
    save(dir / "trailing.stw", pictureFile("Tail", 2, 2) + "trailing bytes");
    save(dir / "high-bytes.stw", pictureFile("\x80\x81\xE4\xFF", 5, 5));
}

// ---- Set files ----

std::string setFile(const std::string& name, int rate, const std::vector<std::string>& frames) {
    Bytes f;
    f.text(std::string("\x89STWSET\x9A", 8));
    f.u32(1);
    f.u32(static_cast<std::uint32_t>(name.size()));
    f.text(name);
    f.u32(static_cast<std::uint32_t>(rate));
    f.u32(static_cast<std::uint32_t>(frames.size()));
    for (const std::string& frame : frames) {
        f.u32(static_cast<std::uint32_t>(frame.size()));
        f.text(frame);
    }
    return f.str();
}

void writeSetSeeds(const std::filesystem::path& dir) {
    const std::string two = setFile("Walk", 8, {pictureFile("a", 3, 2), pictureFile("b", 3, 2)});
    save(dir / "two-frames.stws", two);
    save(dir / "cut.stws", two.substr(0, two.size() - 7));
    save(dir / "one-frame.stws", setFile("", 60, {pictureFile("Ten chars!", 10, 3)}));
    save(dir / "sizes.stws", setFile("Sizes\x80", 12,
                                     {pictureFile("x", 1, 1), pictureFile("Largest", 96, 92),
                                      pictureFile("y\nz", 13, 26)}));
    save(dir / "picture.stw", pictureFile("Ab", 3, 2));  // a set of one
}

// ---- Bitmaps ----

enum class Header { Core = 12, Info = 40, V5 = 124 };
enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

std::uint32_t pixelColour(int x, int y) {
    const unsigned v = static_cast<unsigned>(x * 37 + y * 11) % 256;
    return (v << 16) | (((v * 3) % 256) << 8) | (255 - v);
}

int paletteIndex(int x, int y, int colours) {
    return (x + 2 * y) % colours;
}

std::vector<std::uint32_t> grayPalette(int colours) {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < colours; ++i) {
        const unsigned g = colours == 1 ? 0 : static_cast<unsigned>(i * 255 / (colours - 1));
        palette.push_back((g << 16) | (g << 8) | g);
    }
    return palette;
}

// Rows of pixel data in file order, each padded to four bytes (not for RLE).
std::string pixelRows(int w, int h, int bpp, Compression compression, bool topDown) {
    Bytes d;
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        if (compression == kRle8 || compression == kRle4) {
            // Runs of equal indexes, at most 255 pixels each, then the end of the line.
            const int colours = compression == kRle8 ? 256 : 16;
            for (int x = 0; x < w;) {
                const int index = paletteIndex(x / 3, y, colours);
                int run = 0;
                while (x < w && run < 255 && paletteIndex(x / 3, y, colours) == index) {
                    ++x;
                    ++run;
                }
                d.u8(static_cast<unsigned>(run));
                d.u8(compression == kRle8 ? static_cast<unsigned>(index)
                                          : static_cast<unsigned>(index << 4 | index));
            }
            d.u16(r + 1 == h ? 0x0100 : 0x0000);  // end of bitmap, or end of line
            continue;
        }
        const std::size_t start = d.size();
        if (bpp < 8) {
            const int perByte = 8 / bpp;
            for (int x = 0; x < w; x += perByte) {
                unsigned byte = 0;
                for (int k = 0; k < perByte; ++k) {
                    const int index = x + k < w ? paletteIndex(x + k, y, 1 << bpp) : 0;
                    byte |= static_cast<unsigned>(index) << (8 - bpp * (k + 1));
                }
                d.u8(byte);
            }
        } else {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t c = pixelColour(x, y);
                switch (bpp) {
                    case 8:
                        d.u8(static_cast<unsigned>(paletteIndex(x, y, 256)));
                        break;
                    case 16: {  // 5-5-5
                        const unsigned r5 = (c >> 19) & 31, g5 = (c >> 11) & 31, b5 = (c >> 3) & 31;
                        d.u16(r5 << 10 | g5 << 5 | b5);
                        break;
                    }
                    case 24:
                        d.u8(c);
                        d.u8(c >> 8);
                        d.u8(c >> 16);
                        break;
                    default:
                        d.u32(0xFF000000u | c);
                        break;
                }
            }
        }
        while ((d.size() - start) % 4 != 0) {
            d.u8(0);
        }
    }
    return d.str();
}

std::string bitmap(int w, int h, int bpp, bool topDown, Header header = Header::Info,
                   Compression compression = kRgb) {
    const int colours = bpp <= 8 ? 1 << bpp : 0;
    const std::string rows = pixelRows(w, h, bpp, compression, topDown);
    Bytes b;
    b.text("BM");
    b.u32(0);  // file size, set below
    b.u32(0);
    b.u32(0);  // offset of the pixels, set below
    b.u32(static_cast<std::uint32_t>(header));
    if (header == Header::Core) {
        b.u16(static_cast<unsigned>(w));
        b.u16(static_cast<unsigned>(h));
        b.u16(1);
        b.u16(static_cast<unsigned>(bpp));
    } else {
        b.u32(static_cast<std::uint32_t>(w));
        b.u32(static_cast<std::uint32_t>(topDown ? -h : h));
        b.u16(1);
        b.u16(static_cast<unsigned>(bpp));
        b.u32(compression);
        b.u32(static_cast<std::uint32_t>(rows.size()));
        b.u32(2835);  // 72 dpi
        b.u32(2835);
        b.u32(static_cast<std::uint32_t>(colours));
        b.u32(0);
        if (header == Header::V5) {
            b.u32(0x00FF0000);  // red, green, blue and alpha masks
            b.u32(0x0000FF00);
            b.u32(0x000000FF);
            b.u32(0xFF000000);
            b.u32(0x73524742);  // 'sRGB'
            for (int i = 0; i < 12; ++i) {
                b.u32(0);  // end points, gammas
            }
            b.u32(4);  // intent
            b.u32(0);
            b.u32(0);
            b.u32(0);
        } else if (compression == kBitfields) {
            b.u32(0x00FF0000);
            b.u32(0x0000FF00);
            b.u32(0x000000FF);
        }
    }
    for (const std::uint32_t c : grayPalette(colours)) {
        if (header == Header::Core) {
            b.u8(c);
            b.u8(c >> 8);
            b.u8(c >> 16);
        } else {
            b.u32(c);
        }
    }
    b.patchU32(10, static_cast<std::uint32_t>(b.size()));
    b.text(rows);
    b.patchU32(2, static_cast<std::uint32_t>(b.size()));
    return b.str();
}

void writeBitmapSeeds(const std::filesystem::path& dir) {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {7, 3}, {10, 5}};
    for (const int bpp : {1, 4, 8, 16, 24, 32}) {
        for (const bool topDown : {false, true}) {
            for (const Size s : sizes) {
                save(dir / ("bpp" + std::to_string(bpp) + (topDown ? "-topdown-" : "-") +
                            std::to_string(s.w) + "x" + std::to_string(s.h) + ".bmp"),
                     bitmap(s.w, s.h, bpp, topDown));
            }
        }
    }
    // Larger than a picture may be, and just below it.
    save(dir / "bpp24-100x100.bmp", bitmap(100, 100, 24, false));
    save(dir / "bpp8-95x95.bmp", bitmap(95, 95, 8, true));
    save(dir / "bpp1-96x92.bmp", bitmap(96, 92, 1, false));
    save(dir / "rle8-20x9.bmp", bitmap(20, 9, 8, false, Header::Info, kRle8));
    save(dir / "rle4-21x9.bmp", bitmap(21, 9, 4, false, Header::Info, kRle4));
    save(dir / "bitfields32-9x4.bmp", bitmap(9, 4, 32, false, Header::Info, kBitfields));
    save(dir / "core24-6x4.bmp", bitmap(6, 4, 24, false, Header::Core));
    save(dir / "core8-6x4.bmp", bitmap(6, 4, 8, false, Header::Core));
    save(dir / "v5-32-8x6.bmp", bitmap(8, 6, 32, true, Header::V5, kBitfields));
}

// ---- Exported texts ----

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

void writeTextSeeds(const std::filesystem::path& dir) {
    struct Format {
        stipple::ExportFormat format;
        const char* label;
    };
    const Format formats[] = {{stipple::ExportFormat::Asm8, "asm8"},
                              {stipple::ExportFormat::CppArray, "cpp"},
                              {stipple::ExportFormat::Asm1, "asm1"},
                              {stipple::ExportFormat::Asm2, "asm2"},
                              {stipple::ExportFormat::Asm4, "asm4"}};
    struct Size {
        int w, h;
    };
    // Widths around the packed byte's edges, and the smallest and largest pictures.
    const Size sizes[] = {{1, 1}, {3, 2}, {8, 4}, {9, 5}, {17, 3}, {96, 92}};
    // Plain, empty, holding ": ", Windows-1252 letters in UTF-8, and letters it lacks.
    const char* const names[] = {"Ship", "", "a: b", "Zo\xC3\xAB \xE2\x82\xAC",
                                 "\xE6\x97\xA5\xE6\x9C\xAC"};
    std::vector<stipple::Pixel> cells;
    int n = 0;
    for (const Size s : sizes) {
        cells.clear();
        for (int i = 0; i < s.w * s.h; ++i) {
            cells.push_back((i * 7 + i / s.w) % 5);
        }
        const auto view = stipple::PixelView::rowByRow(cells.data(), s.w, s.h);
        const std::string name = names[n++ % std::size(names)];
        const std::string size = std::to_string(s.w) + "x" + std::to_string(s.h);
        const bool largest = s.w == 96;
        for (const Format& f : formats) {
            for (const bool align : {false, true}) {
                if (largest && align && f.format != stipple::ExportFormat::Asm1) {
                    continue;  // fewer of the largest texts: every run on one is slow
                }
                const std::string text = stipple::exportText(view, name, f.format, align);
                const std::string stem = std::string(f.label) + (align ? "-align-" : "-") + size;
                save(dir / (stem + ".txt"), text);
                if (!largest || f.format == stipple::ExportFormat::Asm8) {
                    save(dir / (stem + "-lf.txt"), withoutCarriageReturns(text));
                }
            }
        }
        const std::string block = stipple::asm8FileBlock(view, name);
        save(dir / ("file-" + size + ".txt"), block);
        save(dir / ("file-" + size + "-lf.txt"), withoutCarriageReturns(block));
    }
    // Empty lines may follow the block; a second block, as Save to end leaves, may not.
    cells.assign(6, stipple::kGray33);
    const auto view = stipple::PixelView::rowByRow(cells.data(), 3, 2);
    save(dir / "file-empty-lines.txt", stipple::asm8FileBlock(view, "Tail") + "\r\n\r\n");
    save(dir / "file-two-blocks.txt",
         stipple::asm8FileBlock(view, "One") + stipple::asm8FileBlock(view, "Two"));
}

// ---- PNG images ----

void copyPngSeeds(const std::filesystem::path& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(STIPPLE_PNG_TEST_DATA_DIR)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".png" && !name.starts_with("bad-")) {
            std::filesystem::copy_file(entry.path(), dir / name,
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "picture");
    std::filesystem::create_directories(root / "set");
    std::filesystem::create_directories(root / "bitmap");
    std::filesystem::create_directories(root / "text");
    std::filesystem::create_directories(root / "png");
    writePictureSeeds(root / "picture");
    writeSetSeeds(root / "set");
    writeBitmapSeeds(root / "bitmap");
    writeTextSeeds(root / "text");
    copyPngSeeds(root / "png");
    return 0;
}
